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
        volumeSteps.append({QString::number(VolumeSteps[k]), volumeNames[k], QString(),
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
    // The way to play was once the motion alone: Motion=smooth or classic.
    rows.append({StyleKey,
                 {{QStringLiteral("modern"), QT_TRANSLATE_NOOP("Choices", "モダン"), QStringLiteral("smooth")},
                  {QStringLiteral("classic"), QT_TRANSLATE_NOOP("Choices", "クラシック"), QStringLiteral("classic")}},
                 0,
                 QStringLiteral("play"),
                 QStringLiteral("S"),
                 "modern (the race drawn at the screen's rate, one step a tap,\n"
                 "cars marked before they come in, a crash you can see) or classic\n"
                 "(the race as designed, drawn twice a second, as the race ticks);\n"
                 "the choice is remembered for the next runs. --motion smooth or\n"
                 "classic, as before, means modern or classic.",
                 "modern or classic",
                 ChoiceMenu::Help,
                 QT_TRANSLATE_NOOP("Choices", "遊び方 (Style)(&S)"),
                 QStringLiteral("Motion"),
                 QStringLiteral("motion")});
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
        if (row.key == key || (!row.formerKey.isEmpty() && row.formerKey == key)) return &row;
    return nullptr;
}

int ValueOf(const OptionRow& row, const QString& text, bool former)
{
    const QString given = text.trimmed();
    bool givenIsNumber = false;
    const int number = given.toInt(&givenIsNumber);
    for (int i = 0; i < row.values.size(); ++i) {
        bool storedIsNumber = false;
        const QString& name = former ? row.values[i].formerly : row.values[i].stored;
        const int stored = name.toInt(&storedIsNumber);
        if (givenIsNumber && storedIsNumber ? number == stored : given.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    for (int i = 0; i < row.values.size() && !former; ++i) {
        const QString& older = row.values[i].alsoRead;
        if (!older.isEmpty() && (givenIsNumber ? number == older.toInt() : given == older)) return i;
    }
    return -1;
}

int ChosenValue(const OptionRow& row)
{
    int value = ValueOf(row, PlayerSetting(OptionsGroup, row.key, QString()));
    if (value < 0 && !row.formerKey.isEmpty())
        value = ValueOf(row, PlayerSetting(OptionsGroup, row.formerKey, QString()), true);
    return value >= 0 ? value : row.byDefault;
}

QString ChosenText(const QString& key)
{
    const OptionRow* row = OptionRowOf(key);
    return row ? row->values[ChosenValue(*row)].stored : QString();
}

PlayerChoices HoldValue(const OptionRow& row, int value)
{
    if (value < 0 || value >= row.values.size()) value = row.byDefault;
    return HoldPlayerSettings({{OptionsGroup, row.key, row.values[value].stored}});
}

bool ChooseValue(const OptionRow& row, int value, QString* failure)
{
    return WritePlayerSettings(HoldValue(row, value), failure);
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

Style ChosenStyle() { return static_cast<Style>(ChosenValue(*OptionRowOf(StyleKey))); }

bool ChooseStyle(Style style, QString* failure)
{
    return ChooseValue(*OptionRowOf(StyleKey), static_cast<int>(style), failure);
}

int MusicVolume() { return ChosenText(MusicVolumeKey).toInt(); }
int EffectsVolume() { return ChosenText(EffectsVolumeKey).toInt(); }

const ControlRow& ControlRowOf(GameAction action) { return controlRows[static_cast<int>(action)]; }

QString ActionCaption(GameAction action)
{
    return QCoreApplication::translate("Choices", ControlRowOf(action).caption);
}

QString PadCaption(GameAction action) { return QCoreApplication::translate("Choices", ControlRowOf(action).pad); }
