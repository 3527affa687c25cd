// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ranking window: one ranking table of five rows (rank, name, value, unit), two groups of
// option buttons that choose the table (story or drive; a STAGE button for each story stage of
// the stage table, one under the other), and とじる, which takes
// the name typed for a new row, saves every table and closes the window. This file declares
// the window and lays out its controls (form_rank.cpp); its handlers live with the rankings in
// scores/form_rank_handlers.cpp.
//
// How to open it. The window is always shown modally and is discarded once closed, so every
// opening gets a fresh one from form_Rank::create():
//
//     RankMode = 1;                    // the table to show: kind 1 story, 2 drive
//     RankStage = 1;                   // stage slot: 1 for STAGE1
//     form_Rank* rank = form_Rank::create(this);
//     rank->Set_Form();
//     rank->exec();                    // returns once the window is closed
//
// The pointer stays usable until control goes back to the event loop, then the window
// deletes itself. For a new result, form_Main::CheckRank shows one name box (txt_Nm[k]) before
// Set_Form. Closing the window by its title-bar close box or Escape does what とじる does.
#pragma once

#include <QDialog>
#include <QList>
#include <QSet>
#include <QStringList>

#include "view/controls.h"

class QLineEdit;
class QPushButton;

class form_Rank : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 329;
    // The rows of the table shown, one for each entry a ranking table keeps.
    static constexpr int Rows = 5;
    // Down to the foot of the last STAGE button: 185 with the story's two stages.
    int ClientHeight() const;

    // A fresh window, laid out and not yet shown, that deletes itself when closed.
    static form_Rank* create(QWidget* parent = nullptr);

    // Lays out the window with a STAGE button for each of stageNames, one under the other.
    explicit form_Rank(const QStringList& stageNames, QWidget* parent = nullptr);
    ~form_Rank() override;

    Label* Label1 = nullptr;  // "1st" .. "5th"
    Label* Label2 = nullptr;
    Label* Label3 = nullptr;
    Label* Label4 = nullptr;
    Label* Label5 = nullptr;
    Label* lbl_Nm[Rows] = {};
    QLineEdit* txt_Nm[Rows] = {};
    Label* lbl_Score[Rows] = {};
    Label* lbl_Tan[Rows] = {};
    Line* Line1 = nullptr;
    QWidget* Frame1 = nullptr;
    OptionButton* Option1[2] = {};  // in Frame1: "ストーリー", "ドライブ"
    QList<OptionButton*> Option2;   // on the window: "STAGE1", "STAGE2", one for each story stage
    QPushButton* cmd_Close = nullptr;

    // --- handlers and procedures ---
    // Shows the table chosen by RankMode and RankStage.
    void Set_Form();
    void Option1_Click(int Index);
    void Option2_Click(int Index);
    void txt_Nm_Change(int Index);
    void cmd_Close_Click();

    // True while a name box is shown: a new result is waiting for its name.
    bool NameEntryShown() const;
    // Takes the typed name of a new row for the next save, without saving or a sound: all the
    // game can still do when its display is gone. True when a row took a name. Once only: the
    // window's closing then saves nothing more.
    bool KeepTypedName();

    // The keys held down as the window opens (a key held through the wreck, Space still down
    // from the last message): the name boxes ignore them until they are let go. Repeats of a key
    // the window never saw pressed are ignored as well, so a name is only what the player types
    // once the window is there.
    void IgnoreKeysDownAtOpen(const QSet<int>& keys) { staleKeys_ = keys; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    // Takes the typed name, saves every table and plays the click: what とじる does before the
    // window goes. Runs once, however the window is closed.
    void FinishRanking();

    bool finished_ = false;
    QSet<int> staleKeys_;  // held since before the window opened
    QSet<int> freshKeys_;  // pressed in the window and not let go yet
};
