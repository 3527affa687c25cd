// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/media.h"

#include "runtime/message_box.h"

#include <QCoreApplication>

namespace {
MediaBackend* installed = nullptr;

MediaBackend& backend() { return installed ? *installed : SdlMediaBackend(); }
}  // namespace

int32_t mciSendString(const QString& command, QString* reply)
{
    return backend().sendCommand(command, reply, false);
}

bool mciExecute(const QString& command)
{
    const int32_t error = backend().sendCommand(command, nullptr, true);
    if (error == MCIERR_NONE) return true;
    QString title = QCoreApplication::applicationName();
    if (title.isEmpty()) title = QStringLiteral("Tavolnik");
    MsgBox(mciGetErrorString(error) + QCoreApplication::translate("Media", "\n\nコマンド: ") + command, title);
    return false;
}

bool sndPlaySound(const QString& path, uint32_t flags) { return backend().playSound(path, flags); }

void SetMediaVolume(int musicPercent, int effectsPercent) { backend().setVolume(musicPercent, effectsPercent); }

QString mciGetErrorString(int32_t error)
{
    switch (error) {
    case MCIERR_NONE: return QCoreApplication::translate("Media", "エラーはありません。");
    case MCIERR_INVALID_DEVICE_ID: return QCoreApplication::translate("Media", "指定されたデバイス ID は無効です。");
    case MCIERR_UNRECOGNIZED_KEYWORD:
        return QCoreApplication::translate("Media", "コマンドに認識できないパラメータが含まれています。");
    case MCIERR_UNRECOGNIZED_COMMAND: return QCoreApplication::translate("Media", "認識できないコマンドです。");
    case MCIERR_HARDWARE:
        return QCoreApplication::translate("Media", "サウンド デバイスを使用できません。音声出力の設定を確認してください。");
    case MCIERR_INVALID_DEVICE_NAME:
        return QCoreApplication::translate("Media", "指定されたデバイスは開かれていないか、認識されていません。");
    case MCIERR_CANNOT_LOAD_DRIVER: return QCoreApplication::translate("Media", "デバイス ドライバを読み込めません。");
    case MCIERR_MISSING_COMMAND_STRING: return QCoreApplication::translate("Media", "コマンドが指定されていません。");
    case MCIERR_MISSING_STRING_ARGUMENT:
        return QCoreApplication::translate("Media", "コマンドに必要な文字列のパラメータがありません。");
    case MCIERR_MISSING_PARAMETER: return QCoreApplication::translate("Media", "コマンドに必要なパラメータがありません。");
    case MCIERR_UNSUPPORTED_FUNCTION:
        return QCoreApplication::translate("Media", "このデバイスは指定された機能をサポートしていません。");
    case MCIERR_FILE_NOT_FOUND: return QCoreApplication::translate("Media", "指定されたファイルが見つかりません。");
    case MCIERR_OUTOFRANGE: return QCoreApplication::translate("Media", "指定された値が範囲外です。");
    case MCIERR_DUPLICATE_ALIAS: return QCoreApplication::translate("Media", "指定された別名は既に使われています。");
    case MCIERR_MISSING_DEVICE_NAME: return QCoreApplication::translate("Media", "デバイス名が指定されていません。");
    case MCIERR_INVALID_FILE:
        return QCoreApplication::translate("Media", "ファイルを再生できません。ファイルが壊れているか、形式が正しくありません。");
    case MCIERR_SEQ_NOMIDIPRESENT:
        return QCoreApplication::translate("Media", "MIDI 音源がありません。サウンド フォントを確認してください。");
    default: return QCoreApplication::translate("Media", "不明なエラーです (コード %1)。").arg(error);
    }
}

void SetMediaBackend(MediaBackend* b) { installed = b; }
