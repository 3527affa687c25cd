// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/form_rank.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "view/scaled_scene.h"
#include "view/screen_fit.h"

namespace {

constexpr int kRowTop = 8;
constexpr int kRowStep = 24;
constexpr int kGrey = 0x808080;

// The STAGE buttons, one under the other from the top of the kind buttons.
constexpr int kStageTop = 136;
constexpr int kStageStep = 24;
constexpr QSize kStageSize(89, 25);

// The window reaches down to the foot of its last STAGE button.
int clientHeight(int stageButtons) { return kStageTop + kStageStep * (stageButtons - 1) + kStageSize.height(); }

// The colours of the five rows, top to bottom.
QColor rowColor(int row)
{
    switch (row) {
    case 0: return QColor(255, 15, 123);
    case 1: return QColor(23, 64, 255);
    case 2: return QColor(2, 255, 97);
    default: return ColorFromBgr(0x404040);
    }
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

}  // namespace

form_Rank::form_Rank(const QStringList& stageNames, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("ランキング"));
    setModal(true);
    // Opens at its designed size; made larger or smaller (down to half), its layout follows.
    resize(ClientWidth, clientHeight(int(stageNames.size())));
    setMinimumSize(ClientWidth / 2, clientHeight(int(stageNames.size())) / 2);
    setFont(GameFont(12.0));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromBgr(kGrey));
    setPalette(palette);
    setAutoFillBackground(true);

    Label** rankLabels[Rows] = {&Label1, &Label2, &Label3, &Label4, &Label5};
    const char* rankCaptions[Rows] = {"1st", "2nd", "3rd", "4th", "5th"};
    for (int k = 0; k < Rows; ++k) {
        const int top = kRowTop + kRowStep * k;
        const QColor color = rowColor(k);

        Label* rankLabel = new Label(this, QLatin1String(rankCaptions[k]));
        setTextColor(rankLabel, color);
        rankLabel->move(8, top);
        rankLabel->adjustSize();
        *rankLabels[k] = rankLabel;

        lbl_Nm[k] = new Label(this, QStringLiteral("1st"));
        setTextColor(lbl_Nm[k], color);
        lbl_Nm[k]->setGeometry(48, top, 169, 16);

        lbl_Score[k] = new Label(this, QStringLiteral("1"));
        setTextColor(lbl_Score[k], color);
        lbl_Score[k]->setAlignment(Qt::AlignRight | Qt::AlignTop);
        lbl_Score[k]->setGeometry(240, top, 57, 16);

        lbl_Tan[k] = new Label(this, tr("秒"));
        lbl_Tan[k]->setFont(GameFont(9.75));
        setTextColor(lbl_Tan[k], Qt::white);
        lbl_Tan[k]->setGeometry(304, top, 15, 13);
    }

    // The name boxes lie over the name labels. No length limit, and the input method stays on,
    // so a name can be typed in Japanese.
    for (int k = 0; k < Rows; ++k) {
        txt_Nm[k] = new QLineEdit(this);
        txt_Nm[k]->setGeometry(48, kRowTop + kRowStep * k, 169, 18);
        txt_Nm[k]->setMaxLength(std::numeric_limits<int>::max());
        // A thin frame and no padding, so that a whole line of the game's font fits in 18 pixels.
        txt_Nm[k]->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid black; padding: 0px;"
                                                " background: white; color: black; }"));
        txt_Nm[k]->hide();
        txt_Nm[k]->raise();
        txt_Nm[k]->installEventFilter(this);
    }

    Line1 = new Line(this, QPoint(232, 8), QPoint(232, 120), 0x000000);

    cmd_Close = new QPushButton(tr("とじる"), this);
    cmd_Close->setGeometry(232, 136, 89, 41);

    // Option1 lies in Frame1 and Option2 on the window itself, so the two groups are independent.
    Frame1 = new QWidget(this);
    Frame1->setGeometry(8, 136, 97, 57);
    Option1[0] = new OptionButton(tr("ストーリー"), Frame1);
    Option1[0]->setGeometry(0, 0, 97, 25);
    Option1[1] = new OptionButton(tr("ドライブ"), Frame1);
    Option1[1]->setGeometry(0, 24, 89, 25);
    for (const QString& name : stageNames) {
        OptionButton* stage = new OptionButton(name, this);
        stage->setGeometry(QRect(QPoint(112, kStageTop + kStageStep * int(Option2.size())), kStageSize));
        Option2.append(stage);
    }
    // Auto-exclusive option buttons would also reach into Frame1 from the window, so each group
    // is made one explicitly.
    for (const QList<OptionButton*>& group : {QList<OptionButton*>{Option1[0], Option1[1]}, Option2}) {
        auto* buttons = new QButtonGroup(this);
        for (OptionButton* button : group) buttons->addButton(button);
    }

    // The name boxes come first, so a shown name box has the keyboard focus when the window opens.
    QList<QWidget*> tabOrder{txt_Nm[0], txt_Nm[1], txt_Nm[2], txt_Nm[3], txt_Nm[4], cmd_Close, Option1[0], Option1[1]};
    for (OptionButton* stage : std::as_const(Option2)) tabOrder.append(stage);
    for (int i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);

    (new ScaledScene(this, QSize(ClientWidth, ClientHeight())))->takeLayout();

    // Over the window that opened it, within the screen.
    PlaceOnScreen(this, parent ? parent->window() : nullptr);
}

form_Rank::~form_Rank() = default;

int form_Rank::ClientHeight() const { return clientHeight(int(Option2.size())); }

bool form_Rank::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key();
    if (event->type() == QEvent::KeyRelease) {
        if (!key->isAutoRepeat()) {
            staleKeys_.remove(k);
            freshKeys_.remove(k);
        }
        return QDialog::eventFilter(watched, event);
    }
    // A key held since before the window opened types nothing until it is let go, and neither
    // does the repeat of a key whose press the window never saw.
    if (staleKeys_.contains(k)) return true;
    if (key->isAutoRepeat() && !freshKeys_.contains(k)) return true;
    if (!key->isAutoRepeat()) freshKeys_.insert(k);
    return QDialog::eventFilter(watched, event);
}
