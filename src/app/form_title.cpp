// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/form_title.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QtMath>

#include "audio/sound.h"
#include "race/race_state.h"
#include "view/controls.h"
#include "view/scaled_scene.h"
#include "view/screen_fit.h"
#include "race/stages.h"
#include "scores/high_scores.h"
#include "flow/race_screen_wiring.h"
#include "prefs/choices.h"
#include "prefs/language.h"
#include "storage/player_settings.h"
#include "screens/form_main.h"
#include "screens/form_rank.h"

namespace {
form_Title* currentTitle = nullptr;

QString questionHint() { return form_Title::tr("「ストーリー」と「ドライブ」のどっちで遊ぶ？"); }

// The buttons' captions, from the top.
QStringList buttonCaptions()
{
    return {form_Title::tr("ストーリー"), form_Title::tr("ドライブ"), form_Title::tr("ランキング"),
            form_Title::tr("終了")};
}

QString pic(const char* name) { return QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name)); }
} // namespace

form_Title* form_Title::current() { return currentTitle; }

form_Title::form_Title(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
{
    currentTitle = this;
    // TITLE on the race screen comes back to a fresh title screen.
    form_Main::SetTitleScreenOpener([] { (new form_Title)->show(); });
    setAttribute(Qt::WA_DeleteOnClose);
    // The game's name, for the title bar, the task bar and the window lists.
    setWindowTitle(QStringLiteral("Tavolnik"));
    setFont(GameFont());
    // Opens at its designed size; made larger or smaller (down to half), its scene follows.
    resize(ClientWidth, ClientHeight);
    setMinimumSize(ClientWidth / 2, ClientHeight / 2);

    scene = new ScaledScene(this, QSize(ClientWidth, ClientHeight));
    layOut();
    scene->takeLayout();

    PlaceOnScreen(this);

    Form_Load();
}

form_Title::~form_Title()
{
    if (currentTitle == this) currentTitle = nullptr;
}

void form_Title::layOut()
{
    surface = new PictureLayer(this);
    surface->setGeometry(0, 0, ClientWidth, ClientHeight);
    surface->setMouseTracking(true);
    surface->installEventFilter(this);

    // From the lowest to the topmost: the pictures, the bubble, its text, the buttons.
    Image1 = surface->add(QStringLiteral("Image1"), 108, 32, 81, 171, true);
    Image2 = surface->add(QStringLiteral("Image2"), 0, 5, 307, 19, true);
    Image3 = surface->add(QStringLiteral("Image3"), 17, 213, 271, 12, true);
    const struct { Picture* picture; const char* source; } drawn[] = {
        {Image1, "retsu_full"}, {Image2, "logo"}, {Image3, "credit"}};
    for (const auto& d : drawn) {
        const int w = d.picture->Width(), h = d.picture->Height();
        scene->showDrawn(d.picture, [resource = pic(d.source), w, h](qreal dpr) { return RenderPicture(resource, w, h, dpr); });
    }

    // The bubble takes no mouse input: over it the pointer is over the window's surface.
    Shape1 = new Shape(surface, 0xFFFFFF, 12);
    Shape1->setGeometry(192, 32, 105, 169);

    lbl_Msg = new Label(surface);
    lbl_Msg->setGeometry(200, 40, 89, 153);
    lbl_Msg->setFont(GameFont(9.75));
    // Black text straight on the white bubble (a palette, not a style sheet: a style sheet would
    // cost the title screen a few milliseconds before it first shows).
    QPalette ink = lbl_Msg->palette();
    ink.setColor(QPalette::WindowText, Qt::black);
    lbl_Msg->setPalette(ink);
    lbl_Msg->setAutoFillBackground(false);
    lbl_Msg->setWordWrap(true);
    // Over the hint itself the hint stays as it is.
    lbl_Msg->setAttribute(Qt::WA_NoMousePropagation);

    auto button = [this](const QString& caption, int top, void (form_Title::*click)()) {
        auto* b = new QPushButton(caption, surface);
        b->setGeometry(8, top, 97, 33);
        b->setFont(GameFont());
        b->setMouseTracking(true);
        // The button's own hint, not the surface's, answers a move over it.
        b->setAttribute(Qt::WA_NoMousePropagation);
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, click] { (this->*click)(); });
        return b;
    };
    // Created in tab order; the last one made lies on top.
    const QStringList captions = buttonCaptions();
    Command1 = button(captions[0], 32, &form_Title::Command1_Click);
    Command2 = button(captions[1], 72, &form_Title::Command2_Click);
    Command3 = button(captions[2], 120, &form_Title::Command3_Click);
    Command4 = button(captions[3], 168, &form_Title::Command4_Click);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);

    // Below the bubble, right of 烈's feet and above the credit line: the one free strip.
    cmd_Language = new QPushButton(surface);
    cmd_Language->setObjectName(QStringLiteral("cmd_Language"));
    cmd_Language->setGeometry(226, 202, 72, 11);
    cmd_Language->setCursor(Qt::PointingHandCursor);
    // Reached by Tab; a click leaves the focus where it was.
    cmd_Language->setFocusPolicy(Qt::TabFocus);
    connect(cmd_Language, &QPushButton::clicked, this, &form_Title::cmd_Language_Click);
    setTabOrder(Command4, cmd_Language);
    showLanguageLink();
    // START has the focus from the first moment (and the ring, showEvent): Return presses it.
    Command1->setFocus();
}

void form_Title::WarmUpFonts()
{
    QImage scratch(ClientWidth, ClientHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    painter.setFont(GameFont());
    painter.drawText(scratch.rect(), buttonCaptions().join(QLatin1Char(' ')));
    painter.setFont(GameFont(9.75));
    painter.drawText(scratch.rect(), Qt::TextWordWrap, questionHint());
}

void form_Title::Form_Load()
{
    // The rankings are read afresh every time a title screen opens.
    LoadScore();
    lbl_Msg->setCaption(questionHint());
}

// --- hints ---

void form_Title::Command1_MouseMove()
{
    lbl_Msg->setCaption(tr("車や障害物を避けながら、制限時間内に走るんだよ！"));
}

void form_Title::Command2_MouseMove()
{
    lbl_Msg->setCaption(tr("時間の制限はないけど、走るほど難しくなるよ！"));
}

void form_Title::Command3_MouseMove()
{
    lbl_Msg->setCaption(QStringList{tr("「ストーリー」はクリア時間の短い順"),
                                    tr("「ドライブ」は走行距離の長い順"),
                                    tr("に上位5名が記録されるんだ")}
                            .join(CRLF));
}

void form_Title::Command4_MouseMove()
{
    lbl_Msg->setCaption(tr("あんまり遊びすぎないようにね"));
}

void form_Title::Image1_MouseMove()
{
    lbl_Msg->setCaption(tr("僕は烈！このゲームで活躍するゼンタは友達だよ"));
}

void form_Title::Image2_MouseMove()
{
    lbl_Msg->setCaption(tr("「Tavolnik」が正式なタイトルみたいだね"));
}

void form_Title::Image3_MouseMove()
{
    lbl_Msg->setCaption(tr("タルベ君が作ったんだって"));
}

void form_Title::Form_MouseMove() { lbl_Msg->setCaption(questionHint()); }

const Picture* form_Title::pictureAt(const QPoint& point) const
{
    // The pictures lie in the designed pixels, whatever size the scene is drawn at.
    const qreal factor = surface->drawScale();
    const QPoint designed(qFloor(point.x() / factor), qFloor(point.y() / factor));
    const auto& pictures = surface->pictures();
    for (auto it = pictures.rbegin(); it != pictures.rend(); ++it)
        if ((*it)->Visible() && (*it)->rect().contains(designed)) return *it;
    return nullptr;
}

bool form_Title::eventFilter(QObject* watched, QEvent* event)
{
    // Return presses the button that has the keyboard, as Space does, so that a game can be
    // chosen and played without the mouse.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && !key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    // The hint follows the keyboard's focus (Tab, Shift+Tab) as it follows the pointer.
    const auto* focus = event->type() == QEvent::FocusIn ? static_cast<QFocusEvent*>(event) : nullptr;
    const bool keyboardFocus =
        focus && (focus->reason() == Qt::TabFocusReason || focus->reason() == Qt::BacktabFocusReason);
    if (event->type() == QEvent::MouseMove || keyboardFocus) {
        if (watched == surface && event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            const Picture* over = pictureAt(at);
            if (over == Image1)
                Image1_MouseMove();
            else if (over == Image2)
                Image2_MouseMove();
            else if (over == Image3)
                Image3_MouseMove();
            else
                Form_MouseMove();
        } else if (watched == Command1) {
            Command1_MouseMove();
        } else if (watched == Command2) {
            Command2_MouseMove();
        } else if (watched == Command3) {
            Command3_MouseMove();
        } else if (watched == Command4) {
            Command4_MouseMove();
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- buttons ---

void form_Title::openRace(const QString& modeCaption)
{
    form_Main* race = form_Main::current();
    if (!race || race->closing()) race = NewRaceScreen();
    race->Init_Car();
    race->lbl_Mode->setCaption(modeCaption);
    // The race screen is up before the title goes, so the game never is without a window.
    race->show();
    handingOver_ = true;
    close();
}

void form_Title::Command1_Click()
{
    PlayEffectWait(QStringLiteral("Click"));
    GameMode = ModeStage1;
    openRace(StageText(RaceModeOf(GameMode).caption));
}

void form_Title::Command2_Click()
{
    PlayEffectWait(QStringLiteral("Click"));
    GameMode = ModeDrive;
    openRace(StageText(RaceModeOf(GameMode).caption));
}

void form_Title::Command3_Click()
{
    PlayEffectWait(QStringLiteral("Click"));
    RankMode = RankStory;
    RankStage = SlotStage1;
    // The ranking opens on story stage 1 and holds the title screen until it is closed.
    form_Rank* rank = form_Rank::create(this);
    rank->Set_Form();
    rank->exec();
}

void form_Title::showLanguageLink()
{
    const bool english = ShownLanguage() == QLatin1String("en");
    cmd_Language->setText(english ? QStringLiteral("日本語") : QStringLiteral("English"));
    // Until a language is chosen once, a player whose system speaks another language than
    // Japanese is shown the way to English: a yellow button instead of a plain link.
    const bool chosen = ValueOf(*OptionRowOf(LanguageKey), PlayerSetting(OptionsGroup, LanguageKey, QString())) >= 0;
    const bool standOut = !chosen && QLocale::system().language() != QLocale::Japanese;
    QFont font = GameFont(7);
    font.setUnderline(!standOut);
    font.setBold(standOut);
    cmd_Language->setFont(font);
    cmd_Language->setFlat(!standOut);
    QPalette colours = cmd_Language->palette();
    colours.setColor(QPalette::ButtonText, standOut ? Qt::black : QColor(0, 0, 255));
    colours.setColor(QPalette::Button, QColor(255, 255, 0));
    cmd_Language->setPalette(colours);
}

void form_Title::cmd_Language_Click()
{
    PlayEffect(QStringLiteral("Click"));
    const OptionRow& row = *OptionRowOf(LanguageKey);
    const QString other = ShownLanguage() == QLatin1String("en") ? QStringLiteral("ja") : QStringLiteral("en");
    const PlayerChoices changed = HoldValue(row, ValueOf(row, other));
    // Every open window is told the language anew (changeEvent below), before the file is
    // written: a wait or a failure is told in the language chosen.
    ShowLanguage(ChosenLanguage());
    if (QString failure; !WritePlayerSettings(changed, &failure)) TellChoiceNotKept(failure, this);
}

void form_Title::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && cmd_Language) {
        const QStringList captions = buttonCaptions();
        const QList<QPushButton*> buttons{Command1, Command2, Command3, Command4};
        for (int i = 0; i < buttons.size(); ++i) buttons[i]->setText(captions[i]);
        lbl_Msg->setCaption(questionHint());
        showLanguageLink();
    }
    QWidget::changeEvent(event);
}

void form_Title::Command4_Click()
{
    PlayEffect(QStringLiteral("Click"));
    close();
    // Every window goes and the game ends at once.
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void form_Title::showEvent(QShowEvent* event)
{
    // The ring the style draws once the keyboard has moved the focus shows from the first
    // moment: showing a window clears it.
    setAttribute(Qt::WA_KeyboardFocusChange);
    QWidget::showEvent(event);
}

void form_Title::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (handingOver_) return;
    // Closed by the end button or the window's close box: the game ends with it. It is the
    // last window as a rule; should another still be open, it goes too.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w != this && w->isVisible()) w->close();
}
