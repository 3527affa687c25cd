// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "prefs/key_bindings.h"
#include "runtime/random.h"
#include "screens/form_main.h"

#include <QAction>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <cstdlib>
#include <QStyle>

#include "audio/sound.h"
#include "prefs/choices.h"
#include "runtime/frame_clock.h"
#include "prefs/choices.h"
#include "view/scaled_scene.h"
#include "view/screen_fit.h"

namespace {
form_Main* currentMain = nullptr;

QString pic(const char* name) { return QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name)); }

void styleLabel(Label* label, const QColor& text, const QColor& back, bool border, double points)
{
    label->setFont(GameFont(points));
    QString css = QStringLiteral("color: %1;").arg(text.name());
    css += back.isValid() ? QStringLiteral("background-color: %1;").arg(back.name())
                          : QStringLiteral("background: transparent;");
    if (border) css += QStringLiteral("border: 1px solid black;");
    label->setStyleSheet(css);
}
} // namespace

form_Main* form_Main::current() { return currentMain; }

Picture* form_Main::car(int n) const
{
    Picture* const cars[7] = {nullptr, img_Car1, img_Car2, img_Car3, img_Car4, img_Car5, img_Car6};
    return n >= 1 && n <= 6 ? cars[n] : nullptr;
}

const Picture* form_Main::PortraitOf(int face) const
{
    if (face >= FaceCalm && face <= FacePanic) return img_Zenta[face];
    if (face > FacePanic && face <= FaceCount) return img_Face[face - FacePanic - 1];
    return img_Zenta[FaceCalm];
}

form_Main::form_Main(QWidget* parent) : QMainWindow(parent)
{
    currentMain = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Tavolnik"));
    setFont(GameFont());

    // The client area below the menu bar holds the scene, scaled to whatever size the window
    // takes, on bars of the window's background colour.
    auto* stage = new QWidget(this);
    stage->setAutoFillBackground(true);
    setCentralWidget(stage);
    scene = new ScaledScene(stage, QSize(ClientWidth, ClientHeight));
    roadLayer = new PictureLayer(stage);
    roadLayer->setGeometry(0, 0, ClientWidth, ClientHeight);
    roadLayer->setBackground(Qt::black);

    layOutRoad();
    layOutPanel();
    scene->takeLayout();
    buildMenu();

    // Their handlers are set by the wiring (flow/race_screen_wiring.cpp).
    timer_Main = new Timer(this, 1000, false, {});
    timer_Zenta = new Timer(this, 500, false, {});
    timer_Crush = new Timer(this, 200, false, {});
    timer_Clear = new Timer(this, 200, false, {});
    timer_BGM = new Timer(this, 100, true, {});
    timer_Count = new Timer(this, 0, false, {});  // its steps' length is the countdown's own

    SetEffectsSwitch([this] { return mon2->isChecked(); });

    // The window opens with its client area below the menu bar exactly 601 x 425, centred on
    // the screen it opens on; the player may then make it any size, down to half of that.
    stage->setMinimumSize(ClientWidth, ClientHeight);
    adjustSize();
    stage->setMinimumSize(ClientWidth / 2, ClientHeight / 2);
    // Set now, not when the window first shows.
    layout()->invalidate();
    setMinimumSize(layout()->minimumSize());
    PlaceOnScreen(this);
    // START has the focus, and shows it (showEvent), from the first moment.
    FocusReturnButton();

    Form_Load();
}

// The window's load: every race screen seeds the random draws afresh.
void form_Main::Form_Load()
{
    Randomize();
}

form_Main::~form_Main()
{
    stopEverything();
    if (currentMain == this) {
        currentMain = nullptr;
        SetEffectsSwitch({});
    }
}

void form_Main::layOutRoad()
{
    auto add = [&](const QString& name, const char* source, int left, int top, int w, int h,
                   bool visible) {
        Picture* p = roadLayer->add(name, left, top, w, h, visible);
        if (source)
            scene->showDrawn(p, [resource = pic(source), w, h](qreal dpr) { return RenderPicture(resource, w, h, dpr); });
        return p;
    };

    // From the lowest picture to the topmost.
    img_Road = roadLayer->add(QStringLiteral("img_Road"), -344, 0, 1202, 303, true);
    scene->showDrawn(img_Road, [](qreal dpr) { return RenderRoadStrip(pic("road"), 601, 303, dpr); });
    img_Retsu[0] = add(QStringLiteral("img_Retsu(0)"), "retsu1", 216, 0, 36, 66, false);
    img_Shogai[1] = add(QStringLiteral("img_Shogai(1)"), "cones", -72, 200, 79, 36, true);
    img_Shogai[0] = add(QStringLiteral("img_Shogai(0)"), "puddle", -56, 216, 66, 38, true);
    img_Shogai[3] = add(QStringLiteral("img_Shogai(3)"), nullptr, -64, 56, 79, 36, true);
    img_Shogai[3]->takePictureOf(*img_Shogai[1]);
    img_Shogai[2] = add(QStringLiteral("img_Shogai(2)"), nullptr, -48, 216, 66, 38, true);
    img_Shogai[2]->takePictureOf(*img_Shogai[0]);
    img_Car3 = add(QStringLiteral("img_Car3"), "car3", -152, 48, 164, 96, true);
    img_Zenta[1] = add(QStringLiteral("img_Zenta(1)"), "zenta1", 0, 512, 100, 120, false);
    img_Zenta[2] = add(QStringLiteral("img_Zenta(2)"), "zenta2", 104, 512, 100, 120, false);
    img_Zenta[3] = add(QStringLiteral("img_Zenta(3)"), "zenta3", 208, 512, 100, 120, false);
    img_Zenta[4] = add(QStringLiteral("img_Zenta(4)"), "zenta4", 312, 512, 100, 120, false);
    img_JetR[1] = add(QStringLiteral("img_JetR(1)"), "jetr1", 0, 432, 77, 77, false);
    img_JetR[2] = add(QStringLiteral("img_JetR(2)"), "jetr2", 80, 432, 77, 77, false);
    img_JetR[3] = add(QStringLiteral("img_JetR(3)"), "jetr3", 160, 432, 77, 77, false);
    img_JetR[4] = add(QStringLiteral("img_JetR(4)"), "jetr4", 240, 432, 77, 77, false);
    img_JetR[5] = add(QStringLiteral("img_JetR(5)"), "jetr5", 320, 432, 77, 77, false);
    img_Car1 = add(QStringLiteral("img_Car1"), "car1", -104, 72, 117, 50, true);
    img_Car5 = add(QStringLiteral("img_Car5"), "car5", 524, -114, 63, 114, true);
    img_Car6 = add(QStringLiteral("img_Car6"), "car6", 524, 307, 63, 114, true);
    img_JetR[0] = add(QStringLiteral("img_JetR(0)"), nullptr, 448, 112, 77, 77, false);
    img_JetR[0]->takePictureOf(*img_JetR[1]);
    img_Retsu[1] = add(QStringLiteral("img_Retsu(1)"), nullptr, 416, 512, 36, 66, false);
    img_Retsu[1]->takePictureOf(*img_Retsu[0]);
    img_Retsu[2] = add(QStringLiteral("img_Retsu(2)"), "retsu2", 456, 512, 36, 66, false);
    img_JetR[6] = add(QStringLiteral("img_JetR(6)"), "jetr6", 408, 432, 77, 77, false);
    img_Car2 = add(QStringLiteral("img_Car2"), "car2", 592, 184, 117, 50, true);
    img_Car4 = add(QStringLiteral("img_Car4"), "car4", 600, 152, 164, 96, true);
    img_Clear = add(QStringLiteral("img_Clear"), "clear", 128, 24, 344, 254, false);
    img_HappyEnd = add(QStringLiteral("img_HappyEnd"), "happyend", 128, 24, 344, 254, false);
    const char* faces[] = {"zenta5", "zenta6", "retsu_face"};
    for (int k = 0; k < FaceCount - FacePanic; ++k)
        img_Face[k] = add(QStringLiteral("img_Face(%1)").arg(k + FacePanic + 1), faces[k], 416 + 104 * k, 512, 100, 120, false);
}

void form_Main::layOutPanel()
{
    Frame1 = new PictureLayer(roadLayer);
    Frame1->setGeometry(0, 304, 601, 121);
    Frame1->setBackground(Qt::black);

    // The captions' boxes reach to the control beside them (the divider, the value boxes) and
    // hold a whole line: they were fitted to their text in a narrower face, and the stand-in
    // face, set a few pixels wider and taller and more so at some sizes, lost the last letter in
    // a box of the design's size. The text stays where it was laid out, at the box's top left.
    Label2 = new Label(Frame1, QStringLiteral("SPEED"));
    Label2->setGeometry(3, 3, 56, 18);
    styleLabel(Label2, QColor(255, 255, 0), QColor(), false, 12);

    for (int k = 0; k < 10; ++k) {
        bar_Speed[k] = new Shape(Frame1, GaugeDark);
        bar_Speed[k]->setGeometry(8, 96 - 8 * k, 41, 9);
    }
    // Bar k + 1 is drawn over the top row of bar k, as the gauge was laid out.
    for (int k = 9; k >= 0; --k) bar_Speed[k]->lower();

    Line2 = new Line(Frame1, QPoint(63, 8), QPoint(63, 111), 0x404040);
    Line1 = new Line(Frame1, QPoint(64, 9), QPoint(64, 112), 0xC0C0C0);

    Label3 = new Label(Frame1, QStringLiteral("MODE"));
    Label3->setGeometry(104, 3, 53, 18);
    styleLabel(Label3, QColor(255, 15, 123), QColor(), false, 12);
    lbl_Mode = new Label(Frame1);
    lbl_Mode->setGeometry(160, 0, 137, 25);
    styleLabel(lbl_Mode, Qt::white, Qt::black, true, 9.75);
    lbl_Mode->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Label5 = new Label(Frame1, QStringLiteral("TIME"));
    Label5->setGeometry(112, 35, 45, 18);
    styleLabel(Label5, QColor(23, 64, 255), QColor(), false, 12);
    lbl_Time = new Label(Frame1);
    lbl_Time->setGeometry(160, 32, 137, 25);
    styleLabel(lbl_Time, Qt::white, Qt::black, true, 12);
    lbl_Time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label7 = new Label(Frame1, QStringLiteral("DISTANCE"));
    Label7->setGeometry(70, 67, 87, 18);
    styleLabel(Label7, QColor(2, 255, 97), QColor(), false, 12);
    lbl_Dist = new Label(Frame1);
    lbl_Dist->setGeometry(160, 64, 137, 25);
    styleLabel(lbl_Dist, Qt::white, Qt::black, true, 12);
    lbl_Dist->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    cmd_Start = new QPushButton(QStringLiteral("START"), Frame1);
    cmd_Start->setGeometry(72, 96, 97, 25);
    cmd_Start->setFont(GameFont());
    cmd_Title = new QPushButton(QStringLiteral("TITLE"), Frame1);
    cmd_Title->setGeometry(200, 96, 97, 25);
    cmd_Title->setFont(GameFont());

    lbl_Msg = new Label(Frame1);
    lbl_Msg->setGeometry(304, 0, 193, 121);
    styleLabel(lbl_Msg, Qt::black, Qt::white, true, 12);
    lbl_Msg->setWordWrap(true);

    // A pixel taller above and below than laid out, about the same middle, so that the stand-in
    // face's line is whole.
    Nextbox = new Label(Frame1, QStringLiteral("Click or SpaceKey to Next"));
    Nextbox->setGeometry(320, 103, 175, 15);
    styleLabel(Nextbox, QColor(0, 0, 255), QColor(), false, 9.75);
    Nextbox->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Nextbox->setVisible(false);
    Nextbox->setCursor(Qt::PointingHandCursor);

    img_Zenta[0] = Frame1->add(QStringLiteral("img_Zenta(0)"), 500, 0, 100, 120, true);
    img_Zenta[0]->takePictureOf(*img_Zenta[1]);

    // Takes the focus while a scene waits; it lies below the visible client area.
    Text1 = new QLineEdit(roadLayer);
    Text1->setGeometry(480, 432, 10, 25);
    Text1->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void form_Main::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setFont(GameFont(9.75));
    mfile = bar->addMenu(QString());
    mtitle = mfile->addAction(QString());
    mkeys = mfile->addAction(QString());
    mend = mfile->addAction(QString());

    msound = bar->addMenu(QString());
    mbgm = msound->addMenu(QStringLiteral("BGM"));
    meff = msound->addMenu(QString());
    auto checkItem = [](QMenu* menu, bool checked) {
        QAction* a = menu->addAction(QString());
        a->setCheckable(true);
        a->setChecked(checked);
        return a;
    };
    mon1 = checkItem(mbgm, true);
    moff1 = checkItem(mbgm, false);
    mon2 = checkItem(meff, true);
    moff2 = checkItem(meff, false);

    mvolume = msound->addMenu(QString());
    addChoiceMenus(mvolume, ChoiceMenu::Volume);

    mhelp = bar->addMenu(QString());
    // The controls, and the language of every text, before the version.
    mcontrols = mhelp->addAction(QString());
    mcontrols->setShortcut(QKeySequence(Qt::Key_F1));
    // F1 answers while a race holds the menus too: the window owns the item as well.
    addAction(mcontrols);
    addChoiceMenus(mhelp, ChoiceMenu::Help);
    mhelp->addSeparator();
    mabout = mhelp->addAction(QString());

    for (int k = 0; k < VolumeStepCount; ++k) {
        mvolBgm[k] = choiceItem(MusicVolumeKey, k);
        mvolEff[k] = choiceItem(EffectsVolumeKey, k);
    }
    mja = choiceItem(LanguageKey, 0);
    men = choiceItem(LanguageKey, 1);
    translateMenu();
    markChoices();
}

void form_Main::addChoiceMenus(QMenu* into, ChoiceMenu place)
{
    for (const OptionRow& row : OptionRows()) {
        if (row.menu != place) continue;
        ChoiceItems choice{&row, into->addMenu(QString()), {}};
        for (int value = 0; value < row.values.size(); ++value) {
            QAction* item = choice.menu->addAction(QString());
            item->setCheckable(true);
            choice.items << item;
        }
        choiceMenus << choice;
    }
}

QAction* form_Main::choiceItem(const QString& key, int value) const
{
    for (const ChoiceItems& choice : choiceMenus)
        if (choice.row->key == key) return choice.items.value(value);
    return nullptr;
}

void form_Main::markChoices()
{
    for (const ChoiceItems& choice : choiceMenus)
        for (int value = 0; value < choice.items.size(); ++value)
            choice.items[value]->setChecked(value == ChosenValue(*choice.row));
}

void form_Main::translateMenu()
{
    mfile->setTitle(tr("ファイル(&F)"));
    mtitle->setText(tr("タイトル画面へ(&T)"));
    mkeys->setText(tr("キー設定…(&K)"));
    mend->setText(tr("終了(&X)"));
    msound->setTitle(tr("サウンド(&S)"));
    meff->setTitle(tr("効果音"));
    for (QAction* on : {mon1, mon2}) on->setText(tr("オン"));
    for (QAction* off : {moff1, moff2}) off->setText(tr("オフ"));
    mvolume->setTitle(tr("音量"));
    mhelp->setTitle(tr("ヘルプ(&H)"));
    mcontrols->setText(tr("操作方法(&C)"));
    mabout->setText(tr("バージョン情報(&A)"));
    for (const ChoiceItems& choice : choiceMenus) {
        choice.menu->setTitle(ChoiceTitle(*choice.row));
        for (int value = 0; value < choice.items.size(); ++value)
            choice.items[value]->setText(ShownValue(*choice.row, value));
    }
}

void form_Main::toggleFullScreen()
{
    settling_ = isFullScreen();
    if (!settling_) askedSize_ = size();
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void form_Main::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // A Wayland compositor hands the window's size back through the frame Qt draws around it, in
    // the compositor's pixels: at a fractional scale a pixel off, when the window opens and each
    // time it leaves full screen. Such a pixel is taken back; a real change of size (the
    // player's, a tiling desktop's) stands.
    if (!settling_ || isFullScreen() || event->size() == askedSize_) return;
    settling_ = false;
    const QSize off = event->size() - askedSize_;
    if (std::abs(off.width()) <= 2 && std::abs(off.height()) <= 2) resize(askedSize_);
}

void form_Main::setTopMenusEnabled(bool enabled)
{
    mfile->menuAction()->setEnabled(enabled);
    msound->menuAction()->setEnabled(enabled);
    mhelp->menuAction()->setEnabled(enabled);
    if (enabled) return;
    // A menu title the keyboard had reached (Alt, or Esc out of an open menu) is let go, so
    // it does not stay lit through the race.
    menuBar()->setActiveAction(nullptr);
    if (menuBar()->hasFocus()) Text1->setFocus();
}

QPushButton* form_Main::ReturnButton() const
{
    QWidget* focus = focusWidget();
    for (QPushButton* button : {cmd_Start, cmd_Title})
        if (focus == button && button->isEnabled()) return button;
    if (cmd_Start->isEnabled()) return cmd_Start;
    if (cmd_Title->isEnabled()) return cmd_Title;
    return nullptr;
}

void form_Main::FocusReturnButton()
{
    // START when it can be pressed, else TITLE, with the ring the style draws once the keyboard
    // has moved the focus: the player sees which button Return presses.
    QPushButton* button = cmd_Start->isEnabled() ? cmd_Start : cmd_Title->isEnabled() ? cmd_Title : nullptr;
    if (!button) return;
    setAttribute(Qt::WA_KeyboardFocusChange);
    button->setFocus(Qt::OtherFocusReason);
}

void form_Main::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        askedSize_ = size();
        settling_ = true;
    }
    // Showing a window clears the ring of the focused button: it shows from the first moment.
    setAttribute(Qt::WA_KeyboardFocusChange);
    QMainWindow::showEvent(event);
}

void form_Main::stopEverything()
{
    for (Timer* t : {timer_Main, timer_Zenta, timer_Crush, timer_Clear, timer_BGM, timer_Count})
        if (t) t->setEnabled(false);
}

form_Main::NestedLoop::NestedLoop(form_Main* window) : window_(window)
{
    if (window_) ++window_->nestedLoops_;
}

form_Main::NestedLoop::~NestedLoop()
{
    if (!window_) return;
    if (--window_->nestedLoops_ == 0 && window_->discardWhenUnwound_) {
        window_->discardWhenUnwound_ = false;
        // Requested from the handler's own level: it goes once the handler has returned.
        window_->deleteLater();
    }
}
