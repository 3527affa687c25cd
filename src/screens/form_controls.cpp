// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/form_controls.h"

#include <QGridLayout>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "view/controls.h"
#include "prefs/key_bindings.h"
#include "view/screen_fit.h"

namespace {
QPointer<form_Controls>& openWindow()
{
    static QPointer<form_Controls> window;
    return window;
}

QString keysOf(std::initializer_list<GameAction> actions)
{
    QStringList names;
    for (GameAction action : actions) names << KeyName(KeyOf(action));
    return names.join(QLatin1Char(' '));
}
} // namespace

form_Controls* form_Controls::Open(QWidget* over)
{
    if (form_Controls* old = openWindow()) {
        // Brought up afresh, so a language or key chosen meanwhile shows.
        old->fill();
        old->raise();
        old->activateWindow();
        return old;
    }
    auto* window = new form_Controls(over);
    openWindow() = window;
    window->show();
    window->activateWindow();
    return window;
}

form_Controls* form_Controls::current() { return openWindow(); }

form_Controls::form_Controls(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFont(GameFont(9.75));

    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    grid_ = new QGridLayout;
    grid_->setHorizontalSpacing(16);
    grid_->setVerticalSpacing(4);
    column->addLayout(grid_);
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("cmd_Close"));
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    column->addWidget(close_, 0, Qt::AlignRight);

    fill();
    adjustSize();
    PlaceOnScreen(this, parent);
}

form_Controls::~form_Controls() = default;

void form_Controls::fill()
{
    setWindowTitle(tr("操作方法"));
    close_->setText(tr("とじる"));
    const QString slash = QStringLiteral(" / ");
    rows_ = {
        {tr("アクセル"), keysOf({GameAction::Accelerate}), tr("下のボタン (A / ✕)")},
        {tr("ブレーキ"), keysOf({GameAction::Brake}), tr("右のボタン (B / ○)")},
        {tr("上下左右へ移動"),
         keysOf({GameAction::Left, GameAction::Right, GameAction::Up, GameAction::Down}),
         tr("十字キー、左スティック")},
        {tr("次のメッセージ"), keysOf({GameAction::Next}), tr("スタート、下のボタン")},
        {tr("START を押す"), KeyName(Qt::Key_Return), tr("スタート")},
        {tr("一時停止と再開"),
         QStringList{keysOf({GameAction::Pause}), KeyName(Qt::Key_Pause), KeyName(Qt::Key_Escape)}.join(slash),
         tr("スタート")},
        {tr("一時停止中にタイトル画面へ"), KeyName(Qt::Key_T), tr("バック")},
        {tr("全画面表示の切り替え"), QStringList{KeyName(Qt::Key_F11), KeyName((Qt::ALT | Qt::Key_Return).toCombined())}.join(slash),
         QStringLiteral("-")},
        {tr("タイトル画面のボタンを選ぶ"),
         tr("%1 のあと %2").arg(KeyName(Qt::Key_Tab), KeyName(Qt::Key_Return)), QStringLiteral("-")},
        {tr("この操作方法"), KeyName(Qt::Key_F1), QStringLiteral("-")},
    };

    while (QLayoutItem* item = grid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    auto put = [this](const QString& text, int row, int column, bool heading) {
        auto* label = new QLabel(text, this);
        if (heading) {
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
        }
        grid_->addWidget(label, row, column);
    };
    put(tr("操作"), 0, 0, true);
    put(tr("キーボード"), 0, 1, true);
    put(tr("ゲームパッド"), 0, 2, true);
    for (int i = 0; i < rows_.size(); ++i) {
        put(rows_[i].what, i + 1, 0, false);
        put(rows_[i].keys, i + 1, 1, false);
        put(rows_[i].pad, i + 1, 2, false);
    }
}
