// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the tests of whole windows share: a settings folder of its own for every test (never the
// player's), the race globals and rankings as the program starts them, a recorder in place of
// the sound card, and every window of a test closed and discarded after it. A test class holds
// one and calls its init() and cleanup() from its own; the program's main points the settings
// away before the application object exists (WINDOW_TEST_MAIN).
//
// It also plays the player's part at START: a click on the button, then Space at the opening
// message, both as real input events.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "audio/media_recorder.h"
#include "race/race_state.h"
#include "runtime/message_box.h"
#include "runtime/random.h"
#include "scores/high_scores.h"
#include "scores_test_support.h"
#include "screens/form_main.h"

struct WindowFixture {
    std::unique_ptr<MediaRecorder> sound;

    void init()
    {
        scores_test::freshConfig();
        ResetRaceState();
        ResetHighScores();
        sound = std::make_unique<MediaRecorder>();
    }

    void cleanup()
    {
        discardWindows();
        SetMsgBoxHook({});
        ClearFixedSeed();
        sound.reset();
    }

    // The names of the effects played so far ("Click", "Claps"), in order.
    QStringList effectNames() const { return scores_test::effectNames(*sound); }

    static void discardWindows()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QList<QWidget*> shownWindows()
    {
        QList<QWidget*> list;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) list << w;
        return list;
    }

    // Clicks START and, once the opening message waits, runs whileWaiting and presses Space.
    // Returns when START has come back: the race runs (or the window was closed meanwhile).
    static void pressStart(form_Main* race, const std::function<void()>& whileWaiting = {})
    {
        QPointer<form_Main> guarded(race);
        QTimer answer;
        answer.setInterval(1);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (!guarded || !guarded->Nextbox->isVisible()) return;
            answer.stop();
            if (whileWaiting) whileWaiting();
            if (guarded) QTest::keyClick(guarded->Text1, Qt::Key_Space);
        });
        answer.start();
        QTest::mouseClick(race->cmd_Start, Qt::LeftButton);
    }
};

#define WINDOW_TEST_MAIN(TestClass)                                                       \
    int main(int argc, char** argv)                                                       \
    {                                                                                     \
        scores_test::pointConfigAt(scores_test::configRoot().path());                     \
        QApplication app(argc, argv);                                                     \
        TestClass test;                                                                   \
        return QTest::qExec(&test, argc, argv);                                           \
    }
