// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// prerender: draws every picture of the game ahead, at its own size (the SVG's width and height)
// at 1x and 2x, into PNG files that the build compiles into the program beside the SVGs.
//
//   prerender <output folder> <picture.svg>...
//
// The drawing is the game's own (DrawPicture), so a picture taken from here is the one the game
// would have drawn.
#include <QDir>
#include <QFileInfo>
#include <QSvgRenderer>

#include <cstdio>

#include "view/picture_drawing.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output folder> <picture.svg>...\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "prerender: cannot create %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const QString source = QString::fromLocal8Bit(argv[i]);
        const QSize size = QSvgRenderer(source).defaultSize();
        if (size.isEmpty()) {
            std::fprintf(stderr, "prerender: %s has no size of its own\n", argv[i]);
            return 1;
        }
        const QString name = QFileInfo(source).completeBaseName();
        for (int ratio : {1, 2}) {
            const QString path = out.filePath(PrerenderedFileName(name, ratio));
            if (!DrawPicture(source, size.width(), size.height(), ratio).save(path, "PNG")) {
                std::fprintf(stderr, "prerender: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
