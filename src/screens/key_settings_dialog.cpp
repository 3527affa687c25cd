// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/key_settings_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "prefs/choices.h"
#include "view/controls.h"
#include "runtime/message_box.h"
#include "view/screen_fit.h"

namespace {
// What a key the game keeps for itself does, for the refusal.
QString ReservedUse(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_T: return KeySettingsDialog::tr("一時停止中にタイトルへ戻るキー");
    case Qt::Key_Pause:
    case Qt::Key_Escape: return KeySettingsDialog::tr("一時停止のキー");
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeySettingsDialog::tr("ボタンを押すキー");
    default: return KeySettingsDialog::tr("フォーカスを移すキー");
    }
}

bool ModifierOnly(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_unknown:
    case 0: return true;
    default: return false;
    }
}
} // namespace

KeyField::KeyField(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setMinimumWidth(96);
}

void KeyField::setKey(int qtKey)
{
    key_ = qtKey;
    setText(KeyName(qtKey));
}

void KeyField::keyPressEvent(QKeyEvent* event)
{
    const int k = event->key();
    // Escape and Return belong to the dialog (cancel, OK); Tab never gets here.
    if (k == Qt::Key_Escape || k == Qt::Key_Return || k == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    event->accept();
    if (ModifierOnly(k) || event->isAutoRepeat()) return;
    emit keyPressed(k);
}

KeySettingsDialog::KeySettingsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("キー設定"));
    setModal(true);
    setFont(GameFont(10.5));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("操作")), 0, 0);
    grid->addWidget(new QLabel(tr("キー")), 0, 1);
    grid->addWidget(new QLabel(tr("ゲームパッド")), 0, 2);
    const KeyBindings keys = CurrentKeyBindings();
    int row = 1;
    for (GameAction action : AllGameActions) {
        auto* caption = new QLabel(ActionCaption(action));
        auto* keyField = new KeyField;
        keyField->setKey(keys.of(action));
        keyField->setObjectName(ControlsKeyOf(action));
        caption->setBuddy(keyField);
        fields_[static_cast<int>(action)] = keyField;
        connect(keyField, &KeyField::keyPressed, this, [this, action](int k) { offer(action, k); });
        grid->addWidget(caption, row, 0);
        grid->addWidget(keyField, row, 1);
        grid->addWidget(new QLabel(PadCaption(action)), row, 2);
        ++row;
    }

    auto* hint = new QLabel(tr("欄をクリックして、使いたいキーを押してください。"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::RestoreDefaults);
    okButton = buttons->button(QDialogButtonBox::Ok);
    cancelButton = buttons->button(QDialogButtonBox::Cancel);
    restoreButton = buttons->button(QDialogButtonBox::RestoreDefaults);
    okButton->setText(tr("OK"));
    cancelButton->setText(tr("キャンセル"));
    restoreButton->setText(tr("標準に戻す"));
    // Return in a key field presses OK, never 標準に戻す.
    restoreButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);
    okButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(restoreButton, &QPushButton::clicked, this, [this] { restoreDesign(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(hint);
    layout->addWidget(buttons);

    adjustSize();
    PlaceOnScreen(this, parent ? parent->window() : nullptr);
}

KeyBindings KeySettingsDialog::chosenKeys() const
{
    KeyBindings keys;
    for (int i = 0; i < GameActionCount; ++i) keys.key[i] = fields_[i]->key();
    return keys;
}

void KeySettingsDialog::offer(GameAction action, int qtKey)
{
    KeyField* target = field(action);
    if (ReservedKey(qtKey)) {
        MsgBox(tr("「%1」は%2なので、ほかの操作には使えません。").arg(KeyName(qtKey), ReservedUse(qtKey)),
               tr("キー設定"), this);
        return;
    }
    for (GameAction other : AllGameActions) {
        if (other != action && field(other)->key() == qtKey) {
            MsgBox(tr("「%1」はもう「%2」に使われています。ほかのキーを選んでください。")
                       .arg(KeyName(qtKey), ActionCaption(other)),
                   tr("キー設定"), this);
            return;
        }
    }
    target->setKey(qtKey);
}

void KeySettingsDialog::restoreDesign()
{
    for (GameAction action : AllGameActions) field(action)->setKey(DesignKeyOf(action));
}

void KeySettingsDialog::accept()
{
    QString failure;
    if (!StoreKeyBindings(chosenKeys(), &failure)) TellChoiceNotKept(failure, this);
    QDialog::accept();
}
