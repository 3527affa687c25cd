// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "prefs/choices.h"

#include <QCoreApplication>

#include "runtime/message_box.h"
#include "storage/player_settings.h"

namespace {
QList<OptionRow> makeOptionRows()
{
    static const char* const volumeNames[VolumeStepCount] = {
        QT_TRANSLATE_NOOP("Choices", "オフ"), QT_TRANSLATE_NOOP("Choices", "−18 dB"),
        QT_TRANSLATE_NOOP("Choices", "−12 dB"), QT_TRANSLATE_NOOP("Choices", "−6 dB"),
        QT_TRANSLATE_NOOP("Choices", "%1 %")};
    QList<ChoiceValue> volumeSteps;
    for (int k = 0; k < VolumeStepCount; ++k)
        volumeSteps.append({QString::number(VolumeSteps[k]), volumeNames[k],
                            VolumeSteps[k] == 100 ? QStringLiteral("75") : QString()});
    const int fullVolume = static_cast<int>(volumeSteps.size()) - 1;

    QList<OptionRow> rows;
    // Each language is named in its own words, so that it can be found in the other.
    rows.append({LanguageKey,
                 {{QStringLiteral("ja"), QT_TRANSLATE_NOOP("Choices", "日本語")},
                  {QStringLiteral("en"), QT_TRANSLATE_NOOP("Choices", "English")}},
                 0,
                 QStringLiteral("language"),
                 QStringLiteral("L"),
                 "Shows the game in Japanese (ja, as designed) or English (en),\n"
                 "and keeps that choice for the next start.",
                 nullptr,
                 ChoiceMenu::Help,
                 QT_TRANSLATE_NOOP("Choices", "言語 (Language)(&L)")});
    rows.append({MotionKey,
                 {{QStringLiteral("smooth"), nullptr}, {QStringLiteral("classic"), nullptr}},
                 0,
                 QStringLiteral("motion"),
                 QStringLiteral("M"),
                 "smooth (the race drawn at the screen's rate, a held arrow steering\n"
                 "at a steady pace) or classic (drawn twice a second, as the race\n"
                 "ticks); the choice is remembered for the next runs.",
                 "smooth or classic",
                 ChoiceMenu::None,
                 nullptr});
    rows.append({MusicVolumeKey, volumeSteps, fullVolume, QString(), QString(), nullptr, nullptr,
                 ChoiceMenu::Volume, QT_TRANSLATE_NOOP("Choices", "BGM")});
    rows.append({EffectsVolumeKey, volumeSteps, fullVolume, QString(), QString(), nullptr, nullptr,
                 ChoiceMenu::Volume, QT_TRANSLATE_NOOP("Choices", "効果音")});
    return rows;
}

const ControlRow controlRows[GameActionCount] = {
    {GameAction::Accelerate, QStringLiteral("Accelerate"), Qt::Key_A, KeyA,
     QT_TRANSLATE_NOOP("Choices", "アクセル"), QT_TRANSLATE_NOOP("Choices", "下のボタン (A / ✕)")},
    {GameAction::Brake, QStringLiteral("Brake"), Qt::Key_B, KeyB,
     QT_TRANSLATE_NOOP("Choices", "ブレーキ"), QT_TRANSLATE_NOOP("Choices", "右のボタン (B / ○)")},
    {GameAction::Left, QStringLiteral("Left"), Qt::Key_Left, KeyLeft,
     QT_TRANSLATE_NOOP("Choices", "左へ"), QT_TRANSLATE_NOOP("Choices", "十字キー左 / 左スティック")},
    {GameAction::Right, QStringLiteral("Right"), Qt::Key_Right, KeyRight,
     QT_TRANSLATE_NOOP("Choices", "右へ"), QT_TRANSLATE_NOOP("Choices", "十字キー右 / 左スティック")},
    {GameAction::Up, QStringLiteral("Up"), Qt::Key_Up, KeyUp,
     QT_TRANSLATE_NOOP("Choices", "上へ"), QT_TRANSLATE_NOOP("Choices", "十字キー上 / 左スティック")},
    {GameAction::Down, QStringLiteral("Down"), Qt::Key_Down, KeyDown,
     QT_TRANSLATE_NOOP("Choices", "下へ"), QT_TRANSLATE_NOOP("Choices", "十字キー下 / 左スティック")},
    {GameAction::Next, QStringLiteral("Next"), Qt::Key_Space, KeySpace,
     QT_TRANSLATE_NOOP("Choices", "次のメッセージ"), QT_TRANSLATE_NOOP("Choices", "Start / 下のボタン")},
    {GameAction::Pause, QStringLiteral("Pause"), Qt::Key_P, KeyP,
     QT_TRANSLATE_NOOP("Choices", "一時停止"),
     QT_TRANSLATE_NOOP("Choices", "Start (一時停止中の Back でタイトルへ)")},
};
} // namespace

const QList<OptionRow>& OptionRows()
{
    static const QList<OptionRow> rows = makeOptionRows();
    return rows;
}

const OptionRow* OptionRowOf(const QString& key)
{
    for (const OptionRow& row : OptionRows())
        if (row.key == key) return &row;
    return nullptr;
}

int ValueOf(const OptionRow& row, const QString& text)
{
    const QString given = text.trimmed();
    bool givenIsNumber = false;
    const int number = given.toInt(&givenIsNumber);
    for (int i = 0; i < row.values.size(); ++i) {
        bool storedIsNumber = false;
        const int stored = row.values[i].stored.toInt(&storedIsNumber);
        if (givenIsNumber && storedIsNumber ? number == stored
                                            : given.compare(row.values[i].stored, Qt::CaseInsensitive) == 0)
            return i;
    }
    for (int i = 0; i < row.values.size(); ++i) {
        const QString& formerly = row.values[i].formerly;
        if (!formerly.isEmpty() && (givenIsNumber ? number == formerly.toInt() : given == formerly)) return i;
    }
    return -1;
}

int ChosenValue(const OptionRow& row)
{
    const int value = ValueOf(row, PlayerSetting(OptionsGroup, row.key, QString()));
    return value >= 0 ? value : row.byDefault;
}

QString ChosenText(const QString& key)
{
    const OptionRow* row = OptionRowOf(key);
    return row ? row->values[ChosenValue(*row)].stored : QString();
}

bool ChooseValue(const OptionRow& row, int value, QString* failure)
{
    if (value < 0 || value >= row.values.size()) value = row.byDefault;
    return SetPlayerSetting(OptionsGroup, row.key, row.values[value].stored, failure);
}

QString ShownValue(const OptionRow& row, int value)
{
    const ChoiceValue& v = row.values[value];
    if (!v.shown) return v.stored;
    QString shown = QCoreApplication::translate("Choices", v.shown);
    return shown.contains(QLatin1String("%1")) ? shown.arg(v.stored) : shown;
}

QString ChoiceTitle(const OptionRow& row)
{
    return row.title ? QCoreApplication::translate("Choices", row.title) : QString();
}

void TellChoiceNotKept(const QString& failure, QWidget* over)
{
    MsgBox(QCoreApplication::translate("Choices", "設定を保存できませんでした。\n%1。\n"
                                                  "この設定は、ゲームを終えるまで有効です。")
               .arg(failure),
           QStringLiteral("Tavolnik"), over);
}

Motion ChosenMotion() { return static_cast<Motion>(ChosenValue(*OptionRowOf(MotionKey))); }

bool ChooseMotion(Motion motion, QString* failure)
{
    return ChooseValue(*OptionRowOf(MotionKey), static_cast<int>(motion), failure);
}

int MusicVolume() { return ChosenText(MusicVolumeKey).toInt(); }
int EffectsVolume() { return ChosenText(EffectsVolumeKey).toInt(); }

const ControlRow& ControlRowOf(GameAction action) { return controlRows[static_cast<int>(action)]; }

QString ActionCaption(GameAction action)
{
    return QCoreApplication::translate("Choices", ControlRowOf(action).caption);
}

QString PadCaption(GameAction action) { return QCoreApplication::translate("Choices", ControlRowOf(action).pad); }
