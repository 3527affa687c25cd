// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The title screen: the first window of the game and the one the player comes back to. Four
// buttons (story, drive, ranking, end) and a speech bubble in which 烈 gives a hint for
// whatever the pointer is over.
#pragma once

#include <QWidget>
#include <cstdint>

#include "view/controls.h"
#include "view/picture.h"

class QPushButton;
class ScaledScene;

class form_Title : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 305;
    static constexpr int ClientHeight = 231;

    explicit form_Title(QWidget* parent = nullptr);
    ~form_Title() override;

    // The title screen that exists now, or null.
    static form_Title* current();
    // Writes the title screen's texts once, in its fonts, onto a scratch image. Any thread may
    // call it once the application object exists: done beside the start-up, it spares the
    // first paint the loading of the fonts.
    static void WarmUpFonts();

    // The window's layout, scaled to whatever size the window takes.
    ScaledScene* scene = nullptr;
    // The window's own surface: the pictures lie on it, every control above them.
    PictureLayer* surface = nullptr;
    Picture* Image1 = nullptr;  // 烈, full figure
    Picture* Image2 = nullptr;  // the title logo
    Picture* Image3 = nullptr;  // the credit line
    Shape* Shape1 = nullptr;    // the speech bubble behind lbl_Msg
    Label* lbl_Msg = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    // A small link below the bubble to the other language ("English", or "日本語"), off the
    // designed buttons. On a system whose language is not Japanese it stands out until the
    // player has chosen a language once.
    QPushButton* cmd_Language = nullptr;

    // --- handlers ---
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void cmd_Language_Click();
    void Command1_MouseMove();
    void Command2_MouseMove();
    void Command3_MouseMove();
    void Command4_MouseMove();
    void Image1_MouseMove();
    void Image2_MouseMove();
    void Image3_MouseMove();
    void Form_MouseMove();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A language newly shown: the captions and the hint are told again in it.
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOut();
    // The language link's text, and whether it stands out.
    void showLanguageLink();
    // Opens the race screen in the mode just chosen and lets the title screen go.
    void openRace(const QString& modeCaption);
    // The picture under a point of the surface, topmost first; null over bare surface.
    const Picture* pictureAt(const QPoint& point) const;

    // Set when a handler of this screen closes it on purpose (a race screen took over).
    bool handingOver_ = false;
};
