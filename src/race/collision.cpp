// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Do two pictures touch or overlap? The hero only counts with the thin strip near his feet.
#include "race/collision.h"

#include "screens/form_main.h"

VBool form_Main::IsClossed(const Picture* first, const Picture* second) const
{
    HitBox a = BoxAt(first->Left(), first->Top(), first->Width(), first->Height());
    const HitBox b = BoxAt(second->Left(), second->Top(), second->Width(), second->Height());
    if (first == img_JetR[0]) a = HeroStrip(a);

    return Touching(a, b) ? VbTrue : VbFalse;
}
