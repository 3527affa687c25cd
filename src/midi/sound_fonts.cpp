// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "midi/sound_fonts.h"

#include <QFileInfo>
#include <QString>

#include <climits>

namespace {

struct SoundFont {
    const char* path;
    int live;       // its place in each order, 1 first
    int recording;
};

// FluidR3's instruments are sampled far more richly than TimGM6mb's (148 MB of samples against
// 6 MB), and the recordings keep their cymbals and brass up to 19 kHz; without it the tunes are
// recorded with the small font. For the rare tune the game synthesises live, TimGM6mb comes
// first: FluidR3 takes half a second and 140 MB to load, while a recording costs the game nothing
// whichever font made it. default-GM is whichever font the system names its default.
constexpr SoundFont kSoundFonts[] = {
    {"/usr/share/sounds/sf2/TimGM6mb.sf2", 1, 2},
    {"/usr/share/sounds/sf2/default-GM.sf2", 2, 3},
    {"/usr/share/sounds/sf2/FluidR3_GM.sf2", 3, 1},
};

}  // namespace

const char* FindSoundFont(SoundFontUse use)
{
    const char* found = nullptr;
    int best = INT_MAX;
    for (const SoundFont& font : kSoundFonts) {
        const int place = use == SoundFontUse::Live ? font.live : font.recording;
        if (place < best && QFileInfo(QString::fromLatin1(font.path)).isFile()) {
            found = font.path;
            best = place;
        }
    }
    return found;
}
