// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "runtime/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

QString keyPath(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
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

}  // namespace

SettingsStore::SettingsStore(const QString& appName)
    : appName_(appName), path_(filePath(appName)),
      settings_(std::make_unique<QSettings>(path_, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::filePath(const QString& appName)
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + appName + QLatin1Char('/') + appName + QStringLiteral(".conf");
}

QString SettingsStore::GetSetting(const QString& section, const QString& key,
                                  const QString& defaultValue) const
{
    const QString path = keyPath(section, key);
    const QVariant value = pending_.contains(path) ? pending_.value(path) : settings_->value(path);
    if (!value.isValid()) return defaultValue;
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        // A value written by hand with bare commas is read by the INI parser as a list.
        return value.toStringList().join(QStringLiteral(", "));
    case QMetaType::QByteArray: {
        // Text that starts with a zero-width no-break space is kept as bytes (see SaveSetting).
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decode(value.toByteArray());
    }
    default:
        // Anything else the INI reader makes of a value (a number, a rectangle) is not text.
        return defaultValue;
    }
}

void SettingsStore::SaveSetting(const QString& section, const QString& key, const QString& value)
{
    // The INI reader drops a zero-width no-break space (U+FEFF) at the start of a value, taking it
    // for a byte-order mark; such text is written as its UTF-8 bytes so that it comes back whole.
    if (value.startsWith(QChar(0xFEFF)))
        pending_.insert(keyPath(section, key), value.toUtf8());
    else
        pending_.insert(keyPath(section, key), value);
}

bool SettingsStore::Save()
{
    QString why;
    if (writeFile(&why)) return true;
    std::fprintf(stderr, "%s: could not save the settings to %s (%s); the file there is left as it was\n",
                 qPrintable(appName_.toLower()), qPrintable(QDir::toNativeSeparators(path_)),
                 qPrintable(why));
    std::fflush(stderr);
    return false;
}

bool SettingsStore::writeFile(QString* why)
{
    // A file that is there but cannot be read is never written over: it may hold entries.
    const QFileInfo old(path_);
    if (old.exists() || old.isSymLink()) {
        QFile probe(path_);
        if (old.isDir() || !probe.open(QIODevice::ReadOnly)) {
            *why = QStringLiteral("the file there cannot be read");
            return false;
        }
    }
    // The new file goes where the old one really is, so a link to it stays a link.
    const QString target = old.exists() ? old.canonicalFilePath() : path_;
    if (!QDir().mkpath(QFileInfo(target).path())) {
        *why = QStringLiteral("its folder cannot be made");
        return false;
    }

    // Everything the file holds now, with the values set since over it.
    QMap<QString, QVariant> wanted;
    for (const QString& key : settings_->allKeys()) wanted.insert(key, settings_->value(key));
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it) wanted.insert(it.key(), it.value());

    static int serial = 0;
    const QString stem = target + QStringLiteral(".%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    const QString staged = stem + QStringLiteral(".new");
    const QString checked = stem + QStringLiteral(".check");
    auto fail = [&](const QString& reason) {
        QFile::remove(staged);
        QFile::remove(checked);
        *why = reason;
        return false;
    };

    // The settings library can miss a write that fails on its last flush (a full disk) and keep a
    // cut-off file. So the new file is read back, under a name of its own so that it is really
    // read from the disk, and compared entry by entry before it takes the old one's place. Keys
    // of a damaged file may not come back as they were read; then what did come back is written
    // once more, and that must come back unchanged. The values set since must come back exactly.
    for (int pass = 0; pass < 2; ++pass) {
        {
            QSettings out(staged, QSettings::IniFormat);
            out.setAtomicSyncRequired(true);
            for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) out.setValue(it.key(), it.value());
            out.sync();
            if (out.status() != QSettings::NoError) return fail(QStringLiteral("the new file cannot be written"));
        }
        if (!QFile::rename(staged, checked)) return fail(QStringLiteral("the new file cannot be moved"));
        QMap<QString, QVariant> got;
        {
            const QSettings back(checked, QSettings::IniFormat);
            if (back.status() != QSettings::NoError) return fail(QStringLiteral("the new file cannot be read back"));
            for (const QString& key : back.allKeys()) got.insert(key, back.value(key));
        }
        for (auto it = pending_.cbegin(); it != pending_.cend(); ++it)
            if (!got.contains(it.key()) || got.value(it.key()) != it.value())
                return fail(QStringLiteral("the new file came out incomplete"));
        if (sameEntries(wanted, got)) {
            if (old.exists()) QFile::setPermissions(checked, QFileInfo(target).permissions());
            if (std::rename(QFile::encodeName(checked).constData(), QFile::encodeName(target).constData()) != 0)
                return fail(QString::fromLocal8Bit(std::strerror(errno)));
            return true;
        }
        QFile::remove(checked);
        wanted = got;
    }
    return fail(QStringLiteral("the new file came out incomplete"));
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
