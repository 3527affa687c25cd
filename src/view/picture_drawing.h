// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one way the game's pictures are drawn from their SVG sources: by the running game, and by
// the build, which draws every picture ahead at its own size (see RenderPicture).
#pragma once

#include <QImage>
#include <QString>

// Draws a picture source at the given size in logical pixels, sharp at the given device-pixel
// ratio, into a transparent image. An unreadable source gives a magenta box, so a missing
// picture is plain to see instead of crashing.
QImage DrawPicture(const QString& source, int width, int height, qreal dpr);

// The file name under which the build keeps a picture drawn ahead at a whole ratio:
// "<name>@<ratio>x.png", the name being the source's without ".svg".
QString PrerenderedFileName(const QString& name, int ratio);
