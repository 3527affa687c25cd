// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's input without a window: which keys and pad presses deliver which actions, which
// keys it keeps to itself, which keys are held down, and which arrow steps steadily.
#include <QDialog>
#include <QtTest>

#include "input/action_sink.h"

class ActionSinkTest : public QObject
{
    Q_OBJECT
private slots:
    // A script of steps: "+Key" press, "*Key" its system repeat, "-Key" release, "~Key" the
    // repeat's release (keys as QKeySequence writes them), "pad:65" a pad press, "!" the window
    // loses the keyboard, "x" it begins to close, "modal" a modal window opens over it; steps
    // come a second apart, or 5 ms after a "5ms". Each step
    // did: the codes delivered ("66/6": with shift 6), "full" for the whole screen, "-" a key
    // kept with nothing delivered, "." a key passed on or a pad press not delivered.
    void steps_data()
    {
        QTest::addColumn<bool>("steady");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("did");
        QTest::addColumn<int>("steering");  // the arrow that steps steadily at the end
        QTest::addColumn<QString>("held");  // the keys held down at the end
        QTest::newRow("the game's keys") << false << "+A +Shift+A +Ctrl+Alt+B +Right +Space +Return +Enter +P +Pause +Esc +T"
                                         << "65 65/1 66/6 39 32 13 13 80 19 27 84" << 0 << "A,B,Enter,Esc,P,Pause,Return,Right,Space,T";
        QTest::newRow("let go and pressed at once: still held") << false << "+Return -Return 5ms +Return -A 5ms +A"
                                                                << "13 . - . 65" << 0 << "A,Return";
        QTest::newRow("let go and pressed later") << false << "+Return -Return +Return" << "13 . 13" << 0 << "Return";
        QTest::newRow("tapped, pressed at once") << false << "+A 5ms -A 5ms +A" << "65 . 65" << 0 << "A";
        QTest::newRow("others pass") << false << "+C +Tab -A -Right" << ". . . ." << 0 << "C,Tab";
        QTest::newRow("repeats") << false << "*Return *P *Pause *Esc *T *A *Right" << "- - - - - 65 39" << 0 << "";
        QTest::newRow("whole screen") << false << "+F11 *F11 +Alt+Return +Alt+Enter" << "full - full full" << 0 << "Enter,F11,Return";
        QTest::newRow("closing") << false << "+A x +A +F11 -A pad:65" << "65 x . . . ." << 0 << "F11";
        QTest::newRow("pad") << false << "pad:65 pad:39 modal pad:32" << "65 39 modal ." << 0 << "";
        QTest::newRow("steady tap") << true << "+Right -Right" << "39 -" << 0 << "";
        QTest::newRow("steady, system repeats") << true << "+Right *Right ~Right *Right" << "39 - - -" << 39 << "Right";
        QTest::newRow("steady, latest arrow") << true << "+Right +Up" << "39 38" << 38 << "Right,Up";
        QTest::newRow("steady, let go of latest") << true << "+Right +Up -Up" << "39 38 -" << 39 << "Right";
        QTest::newRow("steady, let go of older") << true << "+Right +Up -Right" << "39 38 -" << 38 << "Up";
        QTest::newRow("steady, focus lost") << true << "+Right +Up ! -Right" << "39 38 ! -" << 0 << "Up";
        QTest::newRow("steady, held before focus lost") << true << "+Right +Up ! +Left -Left" << "39 38 ! 37 -" << 0 << "Right,Up";
        QTest::newRow("steady, other keys") << true << "+Right +A *A +Shift+B" << "39 65 65 66/1" << 39 << "A,B,Right";
        QTest::newRow("steady, closing") << true << "x +Right" << "x ." << 0 << "Right";
    }
    void steps()
    {
        QFETCH(bool, steady);
        QFETCH(QString, script);
        bool open = true;
        QStringList did, now;
        ActionSink sink([&](int16_t code, int16_t shift) { now << QString::number(code) + (shift ? QStringLiteral("/%1").arg(shift) : QString()); });
        sink.setOpen([&] { return open; });
        sink.setFullScreenToggle([&] { now << QStringLiteral("full"); });
        sink.setSteadySteering(steady);
        QDialog modal;
        qint64 at = 0, gap = 1000;
        for (const QString& step : script.split(' ')) {
            if (step == "5ms") {
                gap = 5;
                continue;
            }
            at += std::exchange(gap, 1000);
            bool kept = false;
            if (step == "!") sink.focusLost();
            if (step == "x") open = false;
            if (step == "modal") modal.setModal(true), modal.show();
            if (step.startsWith("pad:")) sink.padAction(int16_t(step.mid(4).toInt()));
            if (QStringLiteral("+*-~").contains(step[0]) && step.size() > 1) {
                const QKeyCombination key = QKeySequence::fromString(step.mid(1))[0];
                const bool down = step[0] == '+' || step[0] == '*', repeat = step[0] == '*' || step[0] == '~';
                const bool held = sink.keyHeld(key.key(), down, repeat, at);
                kept = down ? sink.keyPressed(key.key(), key.keyboardModifiers(), held) : sink.keyReleased(key.key(), repeat);
            }
            did << (!now.isEmpty() ? now.join(',') : kept ? QStringLiteral("-") : QStringLiteral("!x modal").contains(step) ? step : QStringLiteral("."));
            now.clear();
        }
        QTEST(did.join(' '), "did");
        QTEST(int(sink.steeringArrow()), "steering");
        QStringList held;
        for (int key : sink.keysDown()) held << QKeySequence(key).toString();
        held.sort();
        QTEST(held.join(','), "held");
    }

    // The steady repeat in time: a script of presses and releases of the arrows ("+Right",
    // "-Right") and waits in milliseconds, each counted from the script's start; the steps the
    // arrows made, within a few for the time the event loop takes.
    void steadyTiming_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("fewest");
        QTest::addColumn<int>("most");
        for (int tapMs : {40, 90, 130}) QTest::addRow("tap of %d ms", tapMs) << QStringLiteral("+Right %1 -Right 300").arg(tapMs) << 1 << 1;
        QTest::newRow("held 800 ms") << "+Right 800 -Right 100" << 18 << 22;
        // The window system's own repeat, from its delay on, as a release and a press 5 ms apart.
        for (int everyMs : {30, 50}) {
            QString pairs = QStringLiteral("+Right 200");
            for (int at = 200 + everyMs; at <= 800; at += everyMs) pairs += QStringLiteral(" %1 -Right 5 +Right").arg(everyMs - 5);
            QTest::addRow("held 800 ms, repeated every %d ms by release and press", everyMs) << pairs + QStringLiteral(" %1 -Right 100").arg(800 - 200 - (600 / everyMs) * everyMs) << 18 << 22;
        }
        QTest::newRow("tapped twice") << "+Right 60 -Right 60 +Right 60 -Right 100" << 2 << 2;
    }
    void steadyTiming()
    {
        QFETCH(QString, script);
        int steps = 0;
        ActionSink sink([&](int16_t, int16_t) { ++steps; });
        sink.setSteadySteering(true);
        QElapsedTimer clock;
        clock.start();
        double at = 0;
        for (const QString& step : script.split(' ')) {
            bool isWait = false;
            const double ms = step.toDouble(&isWait);
            if (isWait) {
                for (at += ms; clock.nsecsElapsed() / 1e6 < at;) QTest::qWait(1);
                continue;
            }
            const int key = QKeySequence::fromString(step.mid(1))[0].key();
            step[0] == '+' ? sink.keyPressed(key, Qt::NoModifier, false) : sink.keyReleased(key, false);
        }
        QFETCH(int, fewest);
        QFETCH(int, most);
        QVERIFY2(steps >= fewest && steps <= most, qPrintable(QStringLiteral("%1 steps").arg(steps)));
    }
};

QTEST_MAIN(ActionSinkTest)
#include "test_action_sink.moc"
