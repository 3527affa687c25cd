// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/key_settings_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "prefs/choices.h"
#include "view/controls.h"
#include "runtime/message_box.h"
#include "view/screen_fit.h"

namespace {
// Why a key the game keeps cannot be chosen, in the dialog's words.
QString Refusal(KeptFor kept, const QString& key)
{
    QString use;
    switch (kept) {
    case KeptFor::None: return QString();
    case KeptFor::Modifier: return KeySettingsDialog::tr("「%1」はほかのキーと組み合わせるキーなので、それだけでは操作に使えません。").arg(key);
    case KeptFor::Combination: return KeySettingsDialog::tr("「%1」のように Shift・Ctrl・Alt などと組み合わせたキーは使えません。キーをひとつだけ押してください。").arg(key);
    case KeptFor::Leave: use = KeySettingsDialog::tr("一時停止中にタイトルへ戻るキー"); break;
    case KeptFor::Pause: use = KeySettingsDialog::tr("一時停止のキー"); break;
    case KeptFor::Buttons: use = KeySettingsDialog::tr("ボタンを押すキー"); break;
    case KeptFor::Focus: use = KeySettingsDialog::tr("フォーカスを移すキー"); break;
    case KeptFor::Controls: use = KeySettingsDialog::tr("操作方法の画面を開くキー"); break;
    case KeptFor::FullScreen: use = KeySettingsDialog::tr("全画面表示を切り替えるキー"); break;
    }
    return KeySettingsDialog::tr("「%1」は%2なので、ほかの操作には使えません。").arg(key, use);
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
    if (k == 0 || k == Qt::Key_unknown || event->isAutoRepeat()) return;
    // A modifier is offered when it is let go with no other key pressed meanwhile: held for a
    // key, it is that key's.
    lonelyModifier_ = ModifierKey(k) ? k : 0;
    if (!lonelyModifier_) emit keyPressed(event->keyCombination().toCombined());
}

void KeyField::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == lonelyModifier_ && !event->isAutoRepeat()) emit keyPressed(std::exchange(lonelyModifier_, 0));
    QLineEdit::keyReleaseEvent(event);
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

void KeySettingsDialog::offer(GameAction action, int pressed)
{
    KeyField* target = field(action);
    const QKeyCombination combination = QKeyCombination::fromCombined(pressed);
    const KeptFor kept = KeptKeyFor(action, combination);
    if (const QString refusal = Refusal(kept, KeyName(kept == KeptFor::Modifier ? combination.key() : pressed));
        !refusal.isEmpty()) {
        MsgBox(refusal, tr("キー設定"), this);
        return;
    }
    const int qtKey = combination.key();
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
