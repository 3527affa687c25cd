#include "app/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "app/form_title.h"
#include "audio/sound.h"
#include "runtime/random.h"

int RunTavolnik(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavolnik"));
    QApplication::setOrganizationName(QStringLiteral("Tavolnik"));
    QApplication::setApplicationVersion(QStringLiteral(TAVOLNIK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tavolnik: a jet-board race through town."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption seedOption(QStringLiteral("seed"),
                                  QStringLiteral("Makes every random draw of the run repeatable."),
                                  QStringLiteral("N"));
    parser.addOption(seedOption);
    parser.process(app);
    if (parser.isSet(seedOption)) {
        bool ok = false;
        const qulonglong seed = parser.value(seedOption).toULongLong(&ok);
        if (!ok) {
            std::fprintf(stderr, "tavolnik: --seed needs a whole number\n");
            return 2;
        }
        SetFixedSeed(seed);
    }

    // The game opens on the title screen and ends when its last window closes.
    QApplication::setQuitOnLastWindowClosed(true);
    auto* title = new form_Title;
    title->show();

    const int code = app.exec();
    ShutdownSound();
    return code;
}
