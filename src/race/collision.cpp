// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Do two pictures touch or overlap? The hero only counts with a thin strip near his feet, so he
// can brush past a car's roof without a crash.
#include "race/collision.h"

#include "screens/form_main.h"

VBool form_Main::IsClossed(const Picture* first, const Picture* second) const
{
    HitBox a = BoxAt(first->Left(), first->Top(), first->Width(), first->Height());
    const HitBox b = BoxAt(second->Left(), second->Top(), second->Width(), second->Height());

    if (first == img_JetR[0]) {
        // The hero's hit box: 62 x 2 px, 60 px below the top of his sprite.
        a.left += 5;
        a.right -= 10;
        a.top += 60;
        a.bottom -= 15;
    }

    return Touching(a, b) ? VbTrue : VbFalse;
}
