// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The per-user settings store: text values addressed by application name, section and key,
// read with a default. Each application keeps its values in one INI file,
// $XDG_CONFIG_HOME/<app>/<app>.conf (~/.config/<app>/<app>.conf when the variable is unset),
// one INI group per section. Any text is stored as typed: Japanese, spaces, "=", ";", quotes,
// backslashes, line breaks and text of any length come back exactly; a stray half of a
// surrogate pair is stored as U+FFFD, so the file always holds valid UTF-8.
//
// A damaged file never stops the game: what can be read is read, and every other key answers
// its default, and the next save keeps everything that was read. Only a regular file of at most
// MaxFileSize bytes is read: a FIFO, a device or a folder at the path is never opened, and a
// larger file is not read at all, so neither can hang or swamp the start. A save never writes a
// file larger than that either: what would not be read back is never written.
//
// A save writes a new file beside the old one, reads it back and only then puts it in the old
// one's place (through a symbolic link to a regular file, to the link's target), so a save that
// fails (no folder, a read-only folder, a full disk) leaves the previous file as it was; the
// failure is told on standard error and by failure(). The new file must give back every entry
// that was read and every value set; one that comes back short (a disk that cuts it off
// unnoticed) or larger than the game reads is a failed save, so a save never leaves fewer of
// the entries read than it found. Only a file the game could not read (not a regular file, too
// large to read, or damaged so that what was read of it cannot be written back) is set aside
// beside itself as "<app>.conf.damaged-YYYYMMDD-HHMMSS", never deleted, and a fresh file holds
// the values set; the player is told (SetSetAsideNote).
// Nothing outside the application's folder is ever moved or replaced: when the path is a link,
// the link itself is what goes aside, and a link to anything but a regular file (a FIFO, a
// device, a folder) makes every save fail with the player told why.
//
// Copies of the game running at once save one after another: a save locks the file
// "<app>.conf.lock" beside the file (SettingsLock), and only then reads, changes and writes it.
// The lock goes with its process, so a save killed midway never holds up the next one, which
// clears the temporary files and the lock files the killed one and the settings library left
// behind.
#pragma once

#include <QMap>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>


class SettingsStore
{
public:
    // Files larger than this are never read.
    static constexpr qint64 MaxFileSize = 1 << 20;

    // Reads the application's file as it is now.
    explicit SettingsStore(const QString& appName);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The file the application's values live in.
    static QString filePath(const QString& appName);

    // The text stored under section/key, or defaultValue when the store holds none.
    QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) const;

    // The keys the store holds in a section, set since or read, in the file's order.
    QStringList keysOf(const QString& section) const;

    // Sets a value in memory; Save() writes every value set so far in one go.
    void SaveSetting(const QString& section, const QString& key, const QString& value);

    // Writes the file: every key it held, with the values set since over them. Returns false,
    // and says why on standard error and in failure(), when the file could not be written; the
    // file on disk is then the one from before.
    bool Save();

    // Why the last save failed, in the player's words (Japanese); empty after a success.
    const QString& failure() const { return failure_; }

private:
    enum class Read { Missing, Whole, NotAFile, TooLarge, Unreadable };
    bool writeFile(QString* why, QString* told);

    QString appName_;
    QString path_;
    Read read_ = Read::Missing;
    QMap<QString, QVariant> entries_;      // the file as it was read, by "section/key"
    QMap<QString, QVariant> pending_;      // values set since, by "section/key"
    QString failure_;
};

// The store's lock, held from construction to destruction; every copy of the game saves only
// while holding it. It waits up to waitMs for another program's save. With an application
// running on this thread the windows keep painting meanwhile (the player's input waits), the
// save-wait note (SetSaveWaitNote) is told after half a second, and the wait gives up at once
// when the game is ending (a signal, the last window closed). A wait of over half a second that
// gives up lets the player's input through before it returns, so that a window he closed
// meanwhile closes before the failure can be told. With waitMs 0 the lock is tried once.
class SettingsLock
{
public:
    static constexpr int WaitLimitMs = 10000;

    explicit SettingsLock(const QString& appName, int waitMs = WaitLimitMs);
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    bool held() const { return fd_ >= 0; }
    // Why the lock could not be taken, in the player's words (Japanese).
    const QString& failure() const { return failure_; }

private:
    // What stood in the way of the lock.
    enum class Trouble { None, Busy, Denied, NotAFile, DiskFull, Ending, Other };
    Trouble take(int waitMs);

    QString path_;
    int fd_ = -1;
    QString failure_;
};

// Told true while a save waits for another program's lock, at every moment of the wait once it
// has lasted half a second, and false once when that save stops waiting (whether it got the lock
// or not); the windows show the player a note meanwhile. Set once at start-up by the layer that
// owns the windows; the store itself shows nothing. An empty function tells no one.
using SaveWaitNote = std::function<void(bool waiting)>;
void SetSaveWaitNote(SaveWaitNote note);

// Told the new name of a settings file the store has set aside (see SettingsStore), once the
// fresh file is in place; the windows tell the player. Set once at start-up by the layer that
// owns the windows, like SetSaveWaitNote.
using SetAsideNote = std::function<void(const QString& asidePath)>;
void SetSetAsideNote(SetAsideNote note);

// Reads a regular file of at most SettingsStore::MaxFileSize bytes, without ever waiting on a
// FIFO or a device: false for anything else.
bool ReadSettingsSizedFile(const QString& path, QByteArray* bytes);

// Text as it will come back from the file: a lone half of a surrogate pair becomes U+FFFD.
QString StorableText(const QString& text);

// A whole decimal number in the 32-bit range ("-12", "3000", " 7 "), or nothing: false for
// anything else ("", "12.5", "1e3", "0x10", "3 000", "99999999999").
bool ParseWholeNumber(const QString& text, int32_t* value);
