// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The race screen's TITLE button and its menu: back to the title, end the game, the version.
#include "app/form_title.h"
#include "audio/sound.h"
#include "runtime/message_box.h"
#include "screens/form_main.h"

void form_Main::cmd_Title_Click()
{
    PlayEffectWait(QStringLiteral("Click"));
    // A fresh title screen opens before this screen goes, so the game always has a window.
    auto* title = new form_Title;
    title->show();
    // The next race screen is created afresh: menus switched on, START enabled, everything
    // where it was laid out.
    close();
}

void form_Main::mtitle_Click() { cmd_Title_Click(); }

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
    MsgBox(VersionText(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), this);
}
