#include "app/startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "audio/sound.h"
#include "race/race_state.h"
#include "runtime/random.h"
#include "screens/form_main.h"

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

    // Until the title screen exists the game opens the race screen in story stage 1.
    GameMode = 0;
    auto* main = new form_Main;
    main->Init_Car();
    main->lbl_Mode->setCaption(QStringLiteral("ストーリー STAGE1"));
    main->show();

    const int code = app.exec();
    ShutdownSound();
    return code;
}
