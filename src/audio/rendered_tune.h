// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A tune's rendering: soundgen renders every tune it writes to Ogg Vorbis beside the MIDI file
// (BGM1.mid -> BGM1.ogg), tagged near its start with the SHA-1 of the MIDI bytes it was made
// from. Playing the rendering costs the mixer's thread a fraction of what synthesising the MIDI
// does, and sounds the same.
#pragma once

#include <QByteArray>
#include <QString>

// The path of the rendering made from exactly these MIDI bytes, or an empty string. A MIDI file
// changed since, or a player's own sound font in SDL_SOUNDFONTS, has none: it is synthesised.
QString RenderingOf(const QString& midiPath, const QByteArray& midiBytes);
