// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "storage/settings_store.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Why a save failed: the words for standard error and the player's own.
struct Fault {
    const char* why;
    const char* told;
};
const Fault kNoFolder{"its folder cannot be made", QT_TRANSLATE_NOOP("SettingsStore", "設定のフォルダーを作れません")};
const Fault kLockBusy{"another program holds the lock file %1", QT_TRANSLATE_NOOP("SettingsStore", "ほかのプログラムが設定のロック（%1）を持ったままです")};
const Fault kLockDenied{"the lock file %1 cannot be made", QT_TRANSLATE_NOOP("SettingsStore", "設定のフォルダーに書き込めません")};
const Fault kLockNotAFile{"the lock file %1 is a folder, a link or a device",
                          QT_TRANSLATE_NOOP("SettingsStore", "設定のロック（%1）が、ふつうのファイルでなく、フォルダーかリンクになっています")};
const Fault kDiskFull{"the disk is full", QT_TRANSLATE_NOOP("SettingsStore", "ディスクがいっぱいです")};
const Fault kEnding{"the game ended before the lock was free", QT_TRANSLATE_NOOP("SettingsStore", "保存の順番を待つうちにゲームが終わりました")};
const Fault kLockOther{"the lock file %1 cannot be opened", QT_TRANSLATE_NOOP("SettingsStore", "設定のロック（%1）を開けません")};
const Fault kLinkNotAFile{"it is a link to something that is not a regular file",
                          QT_TRANSLATE_NOOP("SettingsStore", "設定のファイルが、ふつうのファイルでないもの（フォルダーや装置など）へのリンクになっています")};
const Fault kTooLarge{"the new file would be larger than the game reads back",
                      QT_TRANSLATE_NOOP("SettingsStore", "新しいファイルが、ゲームの読める大きさ（1 MiB）をこえてしまいます")};
const Fault kNotWritten{"the new file cannot be written", QT_TRANSLATE_NOOP("SettingsStore", "新しいファイルを書き込めません（ディスクがいっぱいか、書き込みが許されていません）")};
const Fault kNotMoved{"the new file cannot be moved", QT_TRANSLATE_NOOP("SettingsStore", "新しいファイルを置けません")};
const Fault kNotReadBack{"the new file cannot be read back", QT_TRANSLATE_NOOP("SettingsStore", "書き込んだファイルを読み返せません")};
const Fault kIncomplete{"the new file came out incomplete", QT_TRANSLATE_NOOP("SettingsStore", "書き込んだファイルが欠けています（ディスクがいっぱいかもしれません）")};
const Fault kDamaged{"the file is damaged past repair", QT_TRANSLATE_NOOP("SettingsStore", "設定のファイルが壊れていて、読めたところを書き戻せません")};
const Fault kNotSetAside{"the damaged file there cannot be set aside", QT_TRANSLATE_NOOP("SettingsStore", "壊れたファイルをよけておけません")};
const Fault kNotReplaced{"the old file cannot be replaced", QT_TRANSLATE_NOOP("SettingsStore", "前のファイルを置き換えられません")};

void tellFailure(const QString& appName, const QString& path, const QString& why)
{
    std::fprintf(stderr, "%s: could not save the settings to %s (%s); the file there is left as it was\n",
                 qPrintable(appName.toLower()), qPrintable(QDir::toNativeSeparators(path)), qPrintable(why));
    std::fflush(stderr);
}

QString keyPath(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

// Where a save puts the new file: where the old one really is, so that a symbolic link to it
// (as dotfile managers make) stays a link and the file it points to gets the new text.
QString writeTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    return info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
}

// Whether a file read back holds the same entries as were written. A value that does not even
// equal itself can only be checked for being there.
bool sameEntries(const QMap<QString, QVariant>& written, const QMap<QString, QVariant>& read)
{
    if (written.size() != read.size()) return false;
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
        if (!read.contains(it.key())) return false;
        if (it.value() == it.value() && read.value(it.key()) != it.value()) return false;
    }
    return true;
}

QMap<QString, QVariant> entriesOf(const QString& iniPath)
{
    QMap<QString, QVariant> entries;
    const QSettings settings(iniPath, QSettings::IniFormat);
    for (const QString& key : settings.allKeys()) entries.insert(key, settings.value(key));
    return entries;
}

// Writes entries to a new file at `staged`, moves it to `checked` and reads it back from there:
// under a name of its own it is really read from the disk, not from the settings library's
// memory of what it wrote.
const Fault* writeAndReadBack(const QString& staged, const QString& checked,
                              const QMap<QString, QVariant>& entries, QMap<QString, QVariant>* got)
{
    {
        QSettings out(staged, QSettings::IniFormat);
        out.setAtomicSyncRequired(true);
        for (auto it = entries.cbegin(); it != entries.cend(); ++it) out.setValue(it.key(), it.value());
        out.sync();
        if (out.status() != QSettings::NoError) return &kNotWritten;
    }
    if (!QFile::rename(staged, checked)) return &kNotMoved;
    const QSettings back(checked, QSettings::IniFormat);
    if (back.status() != QSettings::NoError) return &kNotReadBack;
    got->clear();
    for (const QString& key : back.allKeys()) got->insert(key, back.value(key));
    return nullptr;
}

// Writes a new file beside target and reads it back: nullptr and the checked file's name when it
// holds every entry of wanted as it was meant, within what the next start reads.
//
// The settings library can miss a write that fails on its last flush (a full disk) and keep a
// cut-off file, so a file that comes back short is never put in place. Only the entries of a
// damaged file may come back otherwise than they were read: each entry that did not come back
// is written alone to a private file, and one that comes back whole from there was lost by the
// disk.
// When none does, the difference is the damage, and what came back is written once more
// (kDamaged when that fails, or a value of mustHave, set since, is not among it).
const Fault* stage(const QString& target, const QMap<QString, QVariant>& wanted,
                   const QMap<QString, QVariant>& mustHave, QString* checkedPath)
{
    // Each pass writes under names of its own, never read before.
    static int serial = 0;
    QString staged, checked;
    const auto newNames = [&] {
        const QString stem = target + QStringLiteral(".%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial);
        staged = stem + QStringLiteral(".new");
        checked = stem + QStringLiteral(".check");
    };
    newNames();
    const auto fail = [&](const Fault& fault) {
        QFile::remove(staged);
        QFile::remove(checked);
        return &fault;
    };
    // What the next start would not read is never put in place.
    const auto tooLarge = [&] { return QFileInfo(checked).size() > SettingsStore::MaxFileSize; };

    QMap<QString, QVariant> got;
    if (const Fault* fault = writeAndReadBack(staged, checked, wanted, &got)) return fail(*fault);
    if (tooLarge()) return fail(kTooLarge);
    if (sameEntries(wanted, got)) {
        *checkedPath = checked;
        return nullptr;
    }
    QFile::remove(checked);

    const QTemporaryDir alone(QDir::tempPath() + QStringLiteral("/tavolnik-check-XXXXXX"));
    int tried = 0;
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
        if (got.contains(it.key()) && (it.value() != it.value() || got.value(it.key()) == it.value())) continue;
        const QMap<QString, QVariant> one{{it.key(), it.value()}};
        QMap<QString, QVariant> back;
        const QString name = alone.filePath(QString::number(++tried));
        if (!alone.isValid()) return fail(kIncomplete);
        // An entry the settings library cannot write even alone (an empty key) is the damage.
        if (!writeAndReadBack(name + QStringLiteral(".new"), name, one, &back) && sameEntries(one, back))
            return fail(kIncomplete);
    }
    for (auto it = mustHave.cbegin(); it != mustHave.cend(); ++it)
        if (!got.contains(it.key()) || got.value(it.key()) != it.value()) return fail(kDamaged);
    QMap<QString, QVariant> again;
    newNames();
    if (const Fault* fault = writeAndReadBack(staged, checked, got, &again)) return fail(*fault);
    if (tooLarge() || !sameEntries(got, again)) return fail(kDamaged);
    *checkedPath = checked;
    return nullptr;
}

SetAsideNote& setAsideNote()
{
    static SetAsideNote note;
    return note;
}

// The files set aside and not told yet, and how many locks this process holds: the player is told
// once the save is over and its lock gone, so no other copy of the game waits on his click.
QStringList& asidesToTell()
{
    static QStringList asides;
    return asides;
}
int locksHeld = 0;

void tellAsides()
{
    if (locksHeld > 0) return;
    const QStringList asides = std::exchange(asidesToTell(), {});
    if (setAsideNote())
        for (const QString& aside : asides) setAsideNote()(aside);
}

}  // namespace

SettingsStore::SettingsStore(const QString& appName) : appName_(appName), path_(filePath(appName))
{
    // Only a regular file is opened, and without waiting: a FIFO or a device at the path would
    // otherwise hold the game before any window opens.
    const QByteArray name = QFile::encodeName(path_);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) {
        read_ = errno == ENOENT || errno == ENOTDIR ? Read::Missing : Read::Unreadable;
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        read_ = Read::NotAFile;
        return;
    }
    if (st.st_size > MaxFileSize) {
        read_ = Read::TooLarge;
        return;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        read_ = Read::Unreadable;
        return;
    }
    QByteArray bytes;
    read_ = Read::Whole;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) read_ = Read::NotAFile;
    char buffer[65536];
    while (read_ == Read::Whole) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) read_ = Read::Unreadable;
        if (got <= 0) break;
        bytes.append(buffer, got);
        if (bytes.size() > MaxFileSize) read_ = Read::TooLarge;  // it grew while being read
    }
    ::close(fd);
    if (read_ != Read::Whole) return;

    // The settings library remembers the files it has read and may answer from that memory for
    // a file another copy of the game has changed since. The bytes just read are parsed from a
    // private copy of their own, which it has never seen.
    QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/tavolnik-settings-XXXXXX.conf"));
    if (copy.open() && copy.write(bytes) == bytes.size() && copy.flush())
        entries_ = entriesOf(copy.fileName());
    else
        entries_ = entriesOf(path_);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::filePath(const QString& appName)
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    // Without HOME the base is "//.config": the path told to the player is the one really used.
    return QDir::cleanPath(base + QLatin1Char('/') + appName + QLatin1Char('/') + appName + QStringLiteral(".conf"));
}

QString SettingsStore::GetSetting(const QString& section, const QString& key,
                                  const QString& defaultValue) const
{
    const QString path = keyPath(section, key);
    const QVariant value = pending_.contains(path) ? pending_.value(path) : entries_.value(path);
    if (!value.isValid()) return defaultValue;
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        // A value written by hand with bare commas is read by the INI parser as a list.
        return value.toStringList().join(QStringLiteral(", "));
    case QMetaType::QByteArray: {
        // Text holding a zero-width no-break space is kept as bytes (see SaveSetting).
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decode(value.toByteArray());
    }
    default:
        // Anything else the INI reader makes of a value (a number, a rectangle) is not text.
        return defaultValue;
    }
}

QStringList SettingsStore::keysOf(const QString& section) const
{
    const QString prefix = section + QLatin1Char('/');
    QStringList keys;
    QSet<QString> seen;  // a list's own look-up would cost the square of the keys
    for (const auto* map : {&entries_, &pending_})
        for (auto it = map->lowerBound(prefix); it != map->constEnd() && it.key().startsWith(prefix); ++it)
            if (const QString key = it.key().mid(prefix.size()); !seen.contains(key)) {
                seen.insert(key);
                keys << key;
            }
    return keys;
}

void SettingsStore::SaveSetting(const QString& section, const QString& key, const QString& text)
{
    const QString value = StorableText(text);
    // The INI reader drops a zero-width no-break space (U+FEFF) at the start of a value, and
    // after any character written as an escape, taking it for a byte-order mark; text holding
    // one is written as its UTF-8 bytes so that it comes back whole.
    if (value.contains(QChar(0xFEFF)))
        pending_.insert(keyPath(section, key), value.toUtf8());
    else
        pending_.insert(keyPath(section, key), value);
}

bool SettingsStore::Save()
{
    QString why;
    failure_.clear();
    const bool written = writeFile(&why, &failure_);
    tellAsides();
    if (written) return true;
    tellFailure(appName_, path_, why);
    return false;
}

bool SettingsStore::writeFile(QString* why, QString* told)
{
    const auto fail = [&](const Fault& fault) {
        *why = QString::fromUtf8(fault.why);
        *told = QCoreApplication::translate("SettingsStore", fault.told);
        return false;
    };
    // A link is written through to a regular file only; whatever else it names is not the
    // game's to touch, and the store cannot be used until the player sees to it.
    const QFileInfo at(path_);
    if (at.isSymLink() && at.exists() && !at.isFile()) return fail(kLinkNotAFile);

    // Everything the file holds now, with the values set since over them; when the file was
    // not read as a whole, the values set alone.
    bool asRead = read_ == Read::Missing || read_ == Read::Whole;
    QMap<QString, QVariant> wanted = asRead ? entries_ : QMap<QString, QVariant>();
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it) wanted.insert(it.key(), it.value());

    // A file that is set aside goes aside in the game's own folder: when the path is a link, the
    // link moves and what it names stays as it is.
    QString target = asRead ? writeTarget(path_) : path_;
    if (!QDir().mkpath(QFileInfo(target).path())) return fail(kNoFolder);
    QString checked;
    const Fault* fault = stage(target, wanted, pending_, &checked);
    if (fault == &kDamaged && asRead) {
        // What was read of a damaged file cannot be written back: the file goes aside.
        asRead = false;
        target = path_;
        fault = stage(target, pending_, pending_, &checked);
    }
    if (fault) return fail(*fault);

    if (!asRead && read_ != Read::Missing) {
        // The old file (or whatever is at the path) goes aside under a dated name, never deleted.
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString aside = target + QStringLiteral(".damaged-") + stamp;
        for (int n = 2; QFileInfo(aside).exists() || QFileInfo(aside).isSymLink(); ++n)
            aside = target + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
        if (std::rename(QFile::encodeName(target).constData(), QFile::encodeName(aside).constData()) != 0) {
            QFile::remove(checked);
            return fail(kNotSetAside);
        }
        std::fprintf(stderr, "%s: the settings file could not be kept as it was; it is set aside as %s\n",
                     qPrintable(appName_.toLower()), qPrintable(QDir::toNativeSeparators(aside)));
        asidesToTell() << aside;
    } else if (read_ == Read::Whole) {
        QFile::setPermissions(checked, QFileInfo(target).permissions());
    }
    if (std::rename(QFile::encodeName(checked).constData(), QFile::encodeName(target).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(checked);
        fail(kNotReplaced);
        *why = reason;
        return false;
    }
    return true;
}

namespace {

SaveWaitNote& saveWaitNote()
{
    static SaveWaitNote note;
    return note;
}

// While the game waits for the lock its windows go on painting and its signals are heard; the
// player's clicks and keys wait, so nothing can start another save meanwhile. After half a
// second the save-wait note tells the player why the game is busy, until the wait ends.
class LockWait
{
public:
    LockWait()
        : loop_(QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread())
    {
    }
    ~LockWait() { endNote(); }

    // The wait gave up. What the window system held back meanwhile goes through now: a window
    // closed during the wait closes (and, the last one, ends the game) as its close box would,
    // before a box about the failed save could stand in front of it and swallow the close.
    void gaveUp()
    {
        if (!noted_) return;
        endNote();
        QCoreApplication::processEvents();
        // The end of the game that the last window's close asks for comes as an event of its own.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::Quit);
    }

    // Waits a moment; false when the game is ending and the wait must stop.
    bool pause(qint64 waited)
    {
        if (!loop_) {
            ::usleep(2000);
            return true;
        }
        if (waited >= 500) {
            noted_ = true;
            if (saveWaitNote()) saveWaitNote()(true);
        }
        QEventLoop loop;
        QTimer::singleShot(10, &loop, [&loop] { loop.exit(1); });
        // Any other answer means QCoreApplication::exit: a signal, or the last window closed.
        return loop.exec(QEventLoop::ExcludeUserInputEvents) == 1;
    }

private:
    void endNote()
    {
        if (noted_ && saveWaitNote()) saveWaitNote()(false);
        noted_ = false;
    }

    bool loop_;
    bool noted_ = false;
};

}  // namespace

SettingsLock::SettingsLock(const QString& appName, int waitMs)
    : path_(SettingsStore::filePath(appName) + QStringLiteral(".lock"))
{
    const Fault* fault = nullptr;
    if (!QDir().mkpath(QFileInfo(path_).path())) {
        fault = &kNoFolder;
    } else {
        switch (take(waitMs)) {
        case Trouble::None: break;
        case Trouble::Busy: fault = &kLockBusy; break;
        case Trouble::Denied: fault = &kLockDenied; break;
        case Trouble::NotAFile: fault = &kLockNotAFile; break;
        case Trouble::DiskFull: fault = &kDiskFull; break;
        case Trouble::Ending: fault = &kEnding; break;
        case Trouble::Other: fault = &kLockOther; break;
        }
    }
    if (fault) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        const QString lockName = QFileInfo(path_).fileName();
        failure_ = QCoreApplication::translate("SettingsStore", fault->told).replace(QStringLiteral("%1"), lockName);
        tellFailure(appName, SettingsStore::filePath(appName),
                    QString::fromUtf8(fault->why).replace(QStringLiteral("%1"), QDir::toNativeSeparators(path_)));
        return;
    }
    ++locksHeld;

    // No other copy is saving: the temporary files beside the file are a killed save's
    // leftovers, with the settings library's own lock and temporary files of each, which would
    // otherwise hold up a later copy that happens to get the same process number. They are made
    // beside the file a save writes (a link's target, see writeTarget), and only their exact
    // names go: "<file>.<process>-<count>.new" and ".check", with the ".lock" and the six-letter
    // temporary name the settings library adds to the first. Anything else there, however alike,
    // is the player's.
    const QFileInfo target(writeTarget(SettingsStore::filePath(appName)));
    const QRegularExpression leftover(QStringLiteral("^%1\\.[0-9]+-[0-9]+\\.(new(\\.lock|\\.[A-Za-z0-9]{6})?|check)$")
                                          .arg(QRegularExpression::escape(target.fileName())));
    QDir folder = target.dir();
    for (const QString& left : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (leftover.match(left).hasMatch()) folder.remove(left);
}

SettingsLock::Trouble SettingsLock::take(int waitMs)
{
    // The lock is the system's lock on the lock file: it goes with its process, so a save that
    // was killed never holds up the next one. The holder removes the file when it is done; a
    // copy that got the lock on a file removed meanwhile tries again on the new one. Only a
    // regular file is a lock: a link is never followed, a FIFO never waited on.
    const QByteArray name = QFile::encodeName(path_);
    QElapsedTimer waited;
    waited.start();
    LockWait wait;
    while (true) {
        fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        if (fd_ < 0) {
            switch (errno) {
            case EACCES: case EPERM: case EROFS: return Trouble::Denied;
            case ELOOP: case EISDIR: case ENXIO: return Trouble::NotAFile;
            case ENOSPC: case EDQUOT: return Trouble::DiskFull;
            default: return Trouble::Other;
            }
        }
        struct stat held {}, named {};
        if (::fstat(fd_, &held) != 0 || !S_ISREG(held.st_mode)) return Trouble::NotAFile;
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) return Trouble::Other;
            if (waited.elapsed() >= waitMs) {
                wait.gaveUp();
                return Trouble::Busy;
            }
            if (!wait.pause(waited.elapsed())) return Trouble::Ending;
        }
        if (::stat(name.constData(), &named) == 0 && held.st_ino == named.st_ino && held.st_dev == named.st_dev)
            return Trouble::None;
        ::close(fd_);
    }
}

SettingsLock::~SettingsLock()
{
    if (fd_ < 0) return;
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
    --locksHeld;
    tellAsides();
}

void SetSaveWaitNote(SaveWaitNote note)
{
    saveWaitNote() = std::move(note);
}

void SetSetAsideNote(SetAsideNote note)
{
    setAsideNote() = std::move(note);
}

bool ReadSettingsSizedFile(const QString& path, QByteArray* bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= SettingsStore::MaxFileSize;
    bytes->clear();
    char buffer[65536];
    while (ok) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) ok = false;
        if (got <= 0) break;
        bytes->append(buffer, got);
        if (bytes->size() > SettingsStore::MaxFileSize) ok = false;
    }
    ::close(fd);
    return ok;
}

QString StorableText(const QString& text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i].isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate()) ++i;
        else if (out[i].isSurrogate()) out[i] = QChar(QChar::ReplacementCharacter);
    }
    return out;
}

bool ParseWholeNumber(const QString& text, int32_t* value)
{
    const QString t = text.trimmed();
    const bool negative = t.startsWith(QLatin1Char('-'));
    QString digits = (negative || t.startsWith(QLatin1Char('+'))) ? t.mid(1) : t;
    if (digits.isEmpty()) return false;
    for (const QChar c : std::as_const(digits))
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0'))) digits.remove(0, 1);
    if (digits.size() > 10) return false;  // beyond any 32-bit number
    qlonglong n = digits.toLongLong();
    if (negative) n = -n;
    if (n < INT32_MIN || n > INT32_MAX) return false;
    if (value) *value = int32_t(n);
    return true;
}
