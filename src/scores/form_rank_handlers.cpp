// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ranking window's handlers: showing a table, switching tables with the option buttons,
// and とじる, which takes the typed name of a new row and saves every table.
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "audio/sound.h"
#include "race/stages.h"
#include "runtime/message_box.h"
#include "storage/settings_store.h"
#include "scores/high_scores.h"
#include "screens/form_rank.h"
#include "screens/modern_look.h"
#include "prefs/choices.h"

static_assert(form_Rank::Rows == RanksKept, "the ranking window shows a row for each entry a table keeps");

bool form_Rank::NameEntryShown() const
{
    // The window itself may not be on screen yet, so ask whether a box is hidden, not visible.
    for (const QLineEdit* box : txt_Nm)
        if (!box->isHidden()) return true;
    return false;
}

form_Rank* form_Rank::create(QWidget* parent)
{
    // A STAGE button for each story stage of the stage table.
    QStringList stages;
    for (int slot = 1; slot <= RankSlotsOf(RankStory); ++slot) stages << RankSlotName(slot);
    auto* window = new form_Rank(stages, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (ChosenStyle() == Style::Modern) DressRankWindow(*window);
    // The window lays out its controls; their handlers are here.
    for (int k = 0; k < RanksKept; ++k)
        connect(window->txt_Nm[k], &QLineEdit::textChanged, window, [window, k] { window->txt_Nm_Change(k); });
    connect(window->cmd_Close, &QPushButton::clicked, window, [window] { window->cmd_Close_Click(); });
    for (int k = 0; k < 2; ++k) window->Option1[k]->setOnClick([window, k] { window->Option1_Click(k); });
    for (int k = 0; k < window->Option2.size(); ++k)
        window->Option2[k]->setOnClick([window, k] { window->Option2_Click(k); });
    return window;
}

void form_Rank::Set_Form()
{
    // A kind without a button shows the story, a slot without a STAGE button stage 1.
    if (RankMode != RankStory && RankMode != RankDrive) RankMode = RankStory;
    if (RankStage < 1 || RankStage > Option2.size()) RankStage = SlotStage1;

    // Marking a button that was not marked runs its click handler, which may come back here;
    // the nested call finds both already marked and goes straight on to the rows.
    Option1[RankMode - 1]->setValue(true);
    Option2[RankStage - 1]->setValue(true);

    const QString unit = Option1[0]->Value() ? tr("秒") : QStringLiteral("M");
    for (int i = 0; i < RanksKept; ++i) {
        lbl_Nm[i]->setCaption(HScoreName[RankMode][RankStage][i]);
        lbl_Score[i]->setCaption(QString::number(HScoreVal[RankMode][RankStage][i]));
        lbl_Tan[i]->setCaption(unit);
    }

    // While a name is being entered the table cannot be switched.
    if (NameEntryShown()) {
        Option1[0]->hide();
        Option1[1]->hide();
        for (OptionButton* stage : std::as_const(Option2)) stage->hide();
    }
}

void form_Rank::Option1_Click(int Index)
{
    PlayEffectWait(QStringLiteral("Click"));
    if (NameEntryShown()) return;
    if (Index == 1) {
        RankMode = RankDrive;
        RankStage = SlotDrive;
    } else {
        RankMode = RankStory;
        RankStage = SlotStage1;
    }
    for (OptionButton* stage : std::as_const(Option2)) stage->setEnabled(RankMode == RankStory);
    Set_Form();
}

void form_Rank::Option2_Click(int Index)
{
    PlayEffectWait(QStringLiteral("Click"));
    if (NameEntryShown()) return;
    RankStage = int16_t(Index + 1);
    Set_Form();
}

void form_Rank::txt_Nm_Change(int Index)
{
    // Spaces count as a name; nothing is trimmed.
    cmd_Close->setEnabled(!txt_Nm[Index]->text().isEmpty());
}

void form_Rank::cmd_Close_Click()
{
    FinishRanking();
    done(QDialog::Accepted);
}

bool form_Rank::KeepTypedName()
{
    if (finished_) return false;
    finished_ = true;
    bool entered = false;
    for (int i = 0; i < RanksKept; ++i)
        if (!txt_Nm[i]->isHidden()) {
            HScoreName[RankMode][RankStage][i] = RankingName(txt_Nm[i]->text());
            KeepUnsavedResult(RankMode, RankStage, HScoreVal[RankMode][RankStage][i], txt_Nm[i]->text());
            entered = true;
        }
    return entered;
}

void form_Rank::FinishRanking()
{
    if (finished_) return;
    const bool entered = KeepTypedName();
    // A failed save is told over this window; the result stays in memory and goes into the next
    // save, or at the end of the game into a recovery file. When the game is already ending (a
    // signal), the box closes at once by itself.
    // While the save waits for the lock the windows go on, and a signal may close them all:
    // this window may be gone when the save comes back.
    const QPointer<form_Rank> self(this);
    QString failure;
    const bool saved = SaveScore(&failure);
    if (!self) return;
    if (!saved) {
        QString text = tr("ランキングを保存できませんでした。\n%1。\n%2")
                           .arg(failure, QDir::toNativeSeparators(SettingsStore::filePath(QStringLiteral("Tavolnik"))));
        if (entered)
            text += tr("\nこの記録は、次に保存するときにいっしょに保存します。");
        else if (HasUnsavedResults())
            text += tr("\nまだ保存していない記録は、次に保存するときにいっしょに保存します。");
        MsgBox(text, QStringLiteral("Tavolnik"), this);
    }
    PlayEffectWait(QStringLiteral("Click"));
}

// The title-bar close box and Escape close the window the way とじる does: the new row gets the
// typed name and every table is saved, so a new result never stays under the name of the entry
// it pushed down.
void form_Rank::closeEvent(QCloseEvent* event)
{
    FinishRanking();
    QDialog::closeEvent(event);
}

void form_Rank::reject()
{
    FinishRanking();
    QDialog::reject();
}
