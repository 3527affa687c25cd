// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race screen's TITLE button and its menu: back to the title, end the game, the version;
// and what closing the window does to the race.
#include <QCloseEvent>
#include <QDialog>

#include "audio/sound.h"
#include "race/race_state.h"
#include "runtime/message_box.h"
#include "runtime/scene_wait.h"
#include "screens/form_main.h"
#include "screens/key_settings_dialog.h"

namespace {
// Set by the title screen, which lies above the race screen.
std::function<void()>& titleScreenOpener()
{
    static std::function<void()> open;
    return open;
}
} // namespace

void form_Main::SetTitleScreenOpener(std::function<void()> open) { titleScreenOpener() = std::move(open); }

void form_Main::cmd_Title_Click()
{
    PlayEffectWait(QStringLiteral("Click"));
    // A fresh title screen opens before this screen goes, so the game always has a window.
    if (titleScreenOpener()) titleScreenOpener()();
    // The next race screen is created afresh: menus switched on, START enabled, everything
    // where it was laid out.
    close();
}

void form_Main::mtitle_Click() { cmd_Title_Click(); }

void form_Main::LeaveRace()
{
    if (!paused_ || closing_) return;
    // The race is given up where it stands: nothing enters the ranking, and the window's close
    // stops its timers and its music before the title screen takes over.
    cmd_Title_Click();
}

void form_Main::mkeys_Click()
{
    KeySettingsDialog dialog(this);
    NestedLoop nested(this);
    dialog.exec();
}

void form_Main::mend_Click()
{
    // The title screen went when this screen opened, so this is the last window: the game ends.
    close();
}

namespace {
// "Tavolnik Ver." then major "." minor and revision, with nothing between the last two.
QString VersionText()
{
    return QStringLiteral("Tavolnik Ver.%1.%2%3")
        .arg(TAVOLNIK_VERSION_MAJOR)
        .arg(TAVOLNIK_VERSION_MINOR)
        .arg(TAVOLNIK_VERSION_PATCH);
}
} // namespace

void form_Main::mabout_Click()
{
    MsgBox(VersionText(), tr("ﾊﾞｰｼﾞｮﾝ情報"), this);
}

void form_Main::closeEvent(QCloseEvent* event)
{
    // However the window is closed, the race winds down first: every timer stops, a waiting
    // scene is cut off and the music ends; a handler that comes back from a wait sees
    // closing() and returns at once.
    closing_ = true;
    stopEverything();
    InputEnabled = VbFalse;
    SceneWait::cutOff();
    // A ranking window still asking for a name is closed as its close box closes it: the new
    // row takes what was typed and the tables are saved.
    for (QDialog* dialog : findChildren<QDialog*>())
        if (dialog->isVisible()) dialog->close();
    BgmControl(BgmStop);
    event->accept();
    // Closed from inside a wait or a modal window of one of its own handlers: discarded now,
    // the window would be deleted inside that nested loop, under the handler's feet.
    if (nestedLoops_ > 0) {
        setAttribute(Qt::WA_DeleteOnClose, false);
        discardWhenUnwound_ = true;
    }
}
