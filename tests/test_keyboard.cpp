// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Steering: the arrows move the hero within the road, "A" and "B" step the speed and the
// gauge, Space asks for the next message; real key presses reach the handler whatever has
// the focus.
#include <QLineEdit>
#include <QRandomGenerator>
#include <QtTest>

#include "race/race_state.h"
#include "race_fixture.h"

namespace {
constexpr int Lit = 0x0000FF;
constexpr int Dark = 0x404040;
} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT
    RaceFixture f;

    QString litBars() const
    {
        QString s;
        for (Shape* bar : f.form->bar_Speed)
            s += bar->FillColor() == Lit ? QLatin1Char('#')
                 : bar->FillColor() == Dark ? QLatin1Char('.') : QLatin1Char('?');
        return s;
    }

private slots:
    void init()
    {
        f.setUp();
        f.startRace(2, 0, 0);
    }
    void cleanup() { f.tearDown(); }

    // From a dark gauge at speed 0, "A" leaves bars 0..Speed lit and "B" bars 0..Speed-1,
    // whatever came before.
    void gaugeAfterKeys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("AAA") << "AAA";
        QTest::newRow("AAAB") << "AAAB";
        QTest::newRow("AAABA") << "AAABA";
        QTest::newRow("ten A") << "AAAAAAAAAA";
        QTest::newRow("B at 0") << "B";
        QTest::newRow("A then B") << "AB";
        QTest::newRow("B from 9") << "AAAAAAAAAAAB";
        QTest::newRow("brakes first") << "BBBA";
        QRandomGenerator random(2024);
        for (int i = 0; i < 20; ++i) {
            QString keys;
            const int n = 1 + random.bounded(40);
            for (int k = 0; k < n; ++k) keys += random.bounded(3) ? QLatin1Char('A') : QLatin1Char('B');
            QTest::addRow("random %d", i) << keys;
        }
    }
    void gaugeAfterKeys()
    {
        QFETCH(QString, keys);
        int speed = 0;
        for (QChar key : keys) {
            f.form->Form_KeyDown(key == 'A' ? 65 : 66, 0);
            speed = qBound(0, speed + (key == 'A' ? 1 : -1), 9);
        }
        QCOMPARE(int(Speed), speed);
        const int lit = keys.endsWith('A') ? speed + 1 : speed;
        QCOMPARE(litBars(), QString(lit, '#') + QString(10 - lit, '.'));
        QStringList expected;
        for (QChar key : keys) expected << (key == 'A' ? "Up" : "Down");
        QCOMPARE(f.effectNames(), expected);
    }

    void arrows_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("right") << 39 << QPoint(100, 100) << QPoint(105, 100);
        QTest::newRow("right clamps at 520") << 39 << QPoint(518, 100) << QPoint(520, 100);
        QTest::newRow("right at 520 stays") << 39 << QPoint(520, 100) << QPoint(520, 100);
        QTest::newRow("left") << 37 << QPoint(100, 100) << QPoint(95, 100);
        QTest::newRow("left clamps at 0") << 37 << QPoint(2, 100) << QPoint(0, 100);
        QTest::newRow("up") << 38 << QPoint(100, 100) << QPoint(100, 95);
        QTest::newRow("up clamps at 0") << 38 << QPoint(100, 3) << QPoint(100, 0);
        QTest::newRow("down") << 40 << QPoint(100, 100) << QPoint(100, 105);
        QTest::newRow("down clamps at 176") << 40 << QPoint(100, 174) << QPoint(100, 176);
        QTest::newRow("down at 176 stays") << 40 << QPoint(100, 176) << QPoint(100, 176);
        QTest::newRow("other key") << 67 << QPoint(100, 100) << QPoint(100, 100);
    }
    void arrows()
    {
        QFETCH(int, key);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        Picture* hero = f.form->img_JetR[0];
        hero->move(from.x(), from.y());
        f.form->Form_KeyDown(static_cast<int16_t>(key), 0);
        QCOMPARE(hero->Left(), double(to.x()));
        QCOMPARE(hero->Top(), double(to.y()));
        QCOMPARE(Speed, int16_t(0)); // the hero moves while standing still
    }

    // Only exactly True lets the steering keys act; Space asks for the next message always.
    void keysWhileInputOff_data()
    {
        QTest::addColumn<int>("input");
        QTest::newRow("false") << 0;
        QTest::newRow("not exactly true") << 1;
    }
    void keysWhileInputOff()
    {
        QFETCH(int, input);
        InputEnabled = static_cast<VBool>(input);
        NextFlag = VbFalse;
        Picture* hero = f.form->img_JetR[0];
        for (int key : {37, 38, 39, 40, 65, 66}) f.form->Form_KeyDown(static_cast<int16_t>(key), 0);
        QCOMPARE(hero->Left(), 448.0);
        QCOMPARE(hero->Top(), 112.0);
        QCOMPARE(Speed, int16_t(0));
        QVERIFY(f.effectNames().isEmpty());
        QCOMPARE(NextFlag, VbFalse);
        f.form->Form_KeyDown(32, 0);
        QCOMPARE(NextFlag, VbTrue);
    }

    void spaceDuringRace()
    {
        NextFlag = VbFalse;
        f.form->Form_KeyDown(32, 0);
        QCOMPARE(NextFlag, VbTrue);
        QCOMPARE(Speed, int16_t(0));
    }

    // Real key presses: the window sees them before the focused control, by the key and not by
    // the character, with or without Shift or Caps Lock.
    void realKeyPresses()
    {
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form));
        f.form->Text1->setFocus();
        QTest::keyClick(f.form->Text1, 'a'); // lower case
        QCOMPARE(Speed, int16_t(1));
        QTest::keyClick(f.form->Text1, 'A'); // upper case without Shift, as with Caps Lock
        QCOMPARE(Speed, int16_t(2));
        QTest::keyClick(f.form->Text1, Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(Speed, int16_t(3));
        QTest::keyClick(f.form->Text1, 'b');
        QCOMPARE(Speed, int16_t(2));
        QTest::keyClick(f.form->Text1, Qt::Key_Left);
        QTest::keyClick(f.form->Text1, Qt::Key_Up);
        QCOMPARE(f.form->img_JetR[0]->Left(), 443.0);
        QCOMPARE(f.form->img_JetR[0]->Top(), 107.0);
        // The hidden text box never types the game's keys.
        QCOMPARE(f.form->Text1->text(), QString());
        QCOMPARE(f.effectNames(), (QStringList{"Up", "Up", "Up", "Down"}));

        NextFlag = VbFalse;
        QTest::keyClick(f.form, Qt::Key_Space);
        QCOMPARE(NextFlag, VbTrue);
        QTest::keyClick(f.form, Qt::Key_Right);
        QCOMPARE(f.form->img_JetR[0]->Left(), 448.0);
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
