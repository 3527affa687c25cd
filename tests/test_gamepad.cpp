// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The gamepad plays the race screen through its key handler: buttons and directions arrive as
// the right keys, arrows repeat while held, nothing but the Space role acts while input is off,
// and controllers plugged in or pulled out mid-race never stop the race. The pads are SDL's
// virtual joysticks, so no hardware is needed.
#include <QDialog>
#include <QPushButton>
#include <QStyleHints>
#include <QtTest>
#include <SDL.h>

#include "app/race_screen_input.h"
#include "input/action_sink.h"
#include "input/gamepad.h"
#include "race_fixture.h"
#include "race/race_state.h"
#include "prefs/choices.h"
#include "storage/player_settings.h"
#include "runtime/scene_wait.h"

namespace {
// One virtual game controller with every standard button and axis.
class VirtualPad
{
public:
    VirtualPad()
    {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index >= 0) joystick_ = SDL_JoystickOpen(index);
    }
    ~VirtualPad() { unplug(); }

    bool plugged() const { return joystick_ != nullptr; }
    void press(SDL_GameControllerButton button) { SDL_JoystickSetVirtualButton(joystick_, button, 1); }
    void release(SDL_GameControllerButton button) { SDL_JoystickSetVirtualButton(joystick_, button, 0); }
    void stick(SDL_GameControllerAxis axis, int value)
    {
        SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
    }
    void unplug()
    {
        if (!joystick_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }

private:
    SDL_Joystick* joystick_ = nullptr;
};

// A control of the pad as a test row names it: a button, or the left stick pushed to a value.
struct Control {
    int button = -1;
    int axis = -1;
    int value = 0;
};

Control parseControl(const QString& name)
{
    static const QHash<QString, int> buttons = {
        {"south", SDL_CONTROLLER_BUTTON_A},        {"east", SDL_CONTROLLER_BUTTON_B},
        {"west", SDL_CONTROLLER_BUTTON_X},         {"north", SDL_CONTROLLER_BUTTON_Y},
        {"start", SDL_CONTROLLER_BUTTON_START},    {"back", SDL_CONTROLLER_BUTTON_BACK},
        {"guide", SDL_CONTROLLER_BUTTON_GUIDE},    {"shoulder", SDL_CONTROLLER_BUTTON_LEFTSHOULDER},
        {"up", SDL_CONTROLLER_BUTTON_DPAD_UP},     {"down", SDL_CONTROLLER_BUTTON_DPAD_DOWN},
        {"left", SDL_CONTROLLER_BUTTON_DPAD_LEFT}, {"right", SDL_CONTROLLER_BUTTON_DPAD_RIGHT}};
    Control c;
    if (buttons.contains(name)) {
        c.button = buttons.value(name);
        return c;
    }
    // "stick x -20000", "stick y 32767", "right stick x 30000"
    const QStringList parts = name.split(' ');
    const bool right = parts.first() == "right";
    const QString axis = parts.at(right ? 2 : 1);
    c.axis = right ? (axis == "x" ? SDL_CONTROLLER_AXIS_RIGHTX : SDL_CONTROLLER_AXIS_RIGHTY)
                   : (axis == "x" ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY);
    c.value = parts.last().toInt();
    return c;
}
} // namespace

class GamepadTest : public QObject
{
    Q_OBJECT
    RaceFixture f;
    std::unique_ptr<Gamepad> pad;
    std::unique_ptr<VirtualPad> stick;
    QList<int> codes;
    // Where the pad watches for new devices: a folder of the test's own, where a file that
    // appears stands for a device node the system adds.
    std::unique_ptr<QTemporaryDir> devices;

    void plugIn()
    {
        stick = std::make_unique<VirtualPad>();
        QVERIFY(stick->plugged());
        pad->poll();
        QCOMPARE(pad->controllerCount(), 1);
    }

    void act(const Control& c, bool on)
    {
        if (c.button >= 0) {
            if (on)
                stick->press(SDL_GameControllerButton(c.button));
            else
                stick->release(SDL_GameControllerButton(c.button));
        } else {
            stick->stick(SDL_GameControllerAxis(c.axis), on ? c.value : 0);
        }
        pad->poll();
    }

private slots:
    void init()
    {
        f.setUp();
        codes.clear();
        devices = std::make_unique<QTemporaryDir>();
        pad = std::make_unique<Gamepad>();
        pad->setDeviceFolders({devices->path()});
        QVERIFY(pad->start());
        ConnectToRaceScreen(*pad);
        pad->setKeySink([this](int16_t code) {
            codes << code;
            RaceScreenKeySink(code);
        });
        f.form->img_JetR[0]->move(200, 100);
        plugIn();
    }
    void cleanup()
    {
        stick.reset();
        pad.reset();
        f.tearDown();
    }

    // What each control sends into the race screen's key handler, in a race, with input off,
    // and while a scene waits for the next message (input off too, as in every scene).
    void controlsSendKeys_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QList<int>>("sent");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QPoint>("hero");
        QTest::addColumn<bool>("next");
        const QPoint still(200, 100);
        using L = QList<int>;
        QTest::newRow("south is A") << "south" << "race" << L{65} << 1 << still << false;
        QTest::newRow("east is B") << "east" << "race" << L{66} << 0 << still << false;
        QTest::newRow("d-pad up") << "up" << "race" << L{38} << 0 << QPoint(200, 95) << false;
        QTest::newRow("d-pad down") << "down" << "race" << L{40} << 0 << QPoint(200, 105) << false;
        QTest::newRow("d-pad left") << "left" << "race" << L{37} << 0 << QPoint(195, 100) << false;
        QTest::newRow("d-pad right") << "right" << "race" << L{39} << 0 << QPoint(205, 100) << false;
        QTest::newRow("stick left") << "stick x -32768" << "race" << L{37} << 0 << QPoint(195, 100) << false;
        QTest::newRow("stick right") << "stick x 20000" << "race" << L{39} << 0 << QPoint(205, 100) << false;
        QTest::newRow("stick up") << "stick y -17000" << "race" << L{38} << 0 << QPoint(200, 95) << false;
        QTest::newRow("stick down") << "stick y 32767" << "race" << L{40} << 0 << QPoint(200, 105) << false;
        QTest::newRow("stick inside dead zone") << "stick x 9000" << "race" << L{} << 0 << still << false;
        QTest::newRow("stick short of a push") << "stick y -15000" << "race" << L{} << 0 << still << false;
        QTest::newRow("right stick") << "right stick x 32767" << "race" << L{} << 0 << still << false;
        QTest::newRow("start in a race") << "start" << "race" << L{19, 13} << 0 << still << false;
        QTest::newRow("west") << "west" << "race" << L{} << 0 << still << false;
        QTest::newRow("north") << "north" << "race" << L{} << 0 << still << false;
        QTest::newRow("back") << "back" << "race" << L{84} << 0 << still << false;
        QTest::newRow("guide") << "guide" << "race" << L{} << 0 << still << false;
        QTest::newRow("shoulder") << "shoulder" << "race" << L{} << 0 << still << false;

        QTest::newRow("off: south") << "south" << "off" << L{65} << 0 << still << false;
        QTest::newRow("off: east") << "east" << "off" << L{66} << 0 << still << false;
        QTest::newRow("off: d-pad") << "right" << "off" << L{39} << 0 << still << false;
        QTest::newRow("off: stick") << "stick y 30000" << "off" << L{40} << 0 << still << false;
        QTest::newRow("off: start") << "start" << "off" << L{19, 13} << 0 << still << false;

        QTest::newRow("wait: south") << "south" << "wait" << L{32, 65} << 0 << still << true;
        QTest::newRow("wait: start") << "start" << "wait" << L{32} << 0 << still << true;
        QTest::newRow("wait: east") << "east" << "wait" << L{66} << 0 << still << false;
        QTest::newRow("wait: d-pad") << "up" << "wait" << L{38} << 0 << still << false;
    }
    void controlsSendKeys()
    {
        QFETCH(QString, control);
        QFETCH(QString, state);
        QFETCH(QList<int>, sent);
        QFETCH(int, speed);
        QFETCH(QPoint, hero);
        QFETCH(bool, next);
        if (state == "race") InputEnabled = VbTrue;
        if (state == "wait") f.form->Nextbox->setVisible(true);
        // START and TITLE are not there to be pressed in a race, a crash or a scene.
        f.form->cmd_Start->setEnabled(false);
        f.form->cmd_Title->setEnabled(false);

        const Control c = parseControl(control);
        act(c, true);
        act(c, false);
        QCOMPARE(codes, sent);
        QCOMPARE(int(Speed), speed);
        QCOMPARE(f.form->img_JetR[0]->rect().topLeft(), hero);
        QCOMPARE(NextFlag == VbTrue, next);
        QCOMPARE(f.effectNames().size(), state == "race" ? sent.count(65) + sent.count(66) : 0);
    }

    // A real scene wait: Start on the pad lets it go on, as Space would.
    void startAnswersASceneWait()
    {
        bool pressed = false;
        QTimer::singleShot(50, this, [&] {
            pressed = true;
            stick->press(SDL_CONTROLLER_BUTTON_START);
        });
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, this, [] { SceneWait::cutOff(); });
        safety.start(5000);
        f.form->Waitfun();
        QVERIFY(safety.isActive());
        QVERIFY(pressed);
        QVERIFY(f.form->Nextbox->isHidden());
        QCOMPARE(codes, QList<int>{32});
    }

    // Start pauses a running race and lets it go on, the pad steering nothing meanwhile; after
    // a game over it presses START, and then lets the opening message go on.
    void startPausesAndStarts()
    {
        form_Main* form = f.form;
        f.startRace(ModeDrive, 0, 0);
        form->cmd_Start->setEnabled(false);
        form->img_JetR[0]->move(200, 100);
        act(parseControl("start"), true);
        act(parseControl("start"), false);
        QVERIFY(form->Paused());
        act(parseControl("right"), true);
        act(parseControl("right"), false);
        act(parseControl("south"), true);
        act(parseControl("south"), false);
        QCOMPARE(form->img_JetR[0]->rect().topLeft(), QPoint(200, 100));
        QCOMPARE(int(Speed), 0);
        act(parseControl("start"), true);
        act(parseControl("start"), false);
        QVERIFY(!form->Paused());
        QVERIFY(form->RaceRunning());

        form->GameOver(GameOverTimeUp);
        // The opening message waits inside the press; the next press of Start lets it go on.
        QTimer::singleShot(50, this, [&] { stick->release(SDL_CONTROLLER_BUTTON_START); });
        QTimer::singleShot(250, this, [&] { stick->press(SDL_CONTROLLER_BUTTON_START); });
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, this, [] { SceneWait::cutOff(); });
        safety.start(5000);
        act(parseControl("start"), true);
        QVERIFY(safety.isActive());
        QVERIFY(form->RaceRunning());
        QVERIFY(!form->cmd_Start->isEnabled());
        QCOMPARE(f.effectNames().count(QStringLiteral("Click")), 1);
    }

    // The arrows repeat while held: one step at once, then none for the hold delay, then one
    // per repeat interval, until let go.
    void heldArrowRepeats_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("d-pad") << "right";
        QTest::newRow("stick") << "stick x 32767";
    }
    void heldArrowRepeats()
    {
        QFETCH(QString, control);
        InputEnabled = VbTrue;
        pad->setRepeat(300, 40);
        const Control c = parseControl(control);
        QElapsedTimer clock;
        act(c, true);
        clock.start();
        QCOMPARE(codes.size(), 1);
        QTest::qWait(150);
        if (clock.elapsed() < 290) QCOMPARE(codes.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(codes.size() >= 6, 3000);
        QVERIFY(clock.elapsed() >= 300 + 3 * 40);
        act(c, false);
        const int atRelease = codes.size();
        QTest::qWait(200);
        QCOMPARE(codes.size(), atRelease);
        QCOMPARE(codes, QList<int>(atRelease, 39));
        QCOMPARE(f.form->img_JetR[0]->Left(), qMin(520.0, 200.0 + 5 * atRelease));
    }

    // The modern way: a held arrow steps at the press, then 30 times a second from the steady
    // delay on, and a tap of a person's length steps once; classic waits for the keyboard's
    // repeat delay.
    void steadySteering_data()
    {
        QTest::addColumn<bool>("smooth");
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<int>("steps");
        QTest::newRow("modern tap") << true << 0 << 1;
        QTest::newRow("modern tap of 130 ms") << true << 130 << 1;
        QTest::newRow("modern, held 800 ms") << true << 800 << 20;
        QTest::newRow("modern, held 1 s") << true << 1000 << 26;
        QTest::newRow("classic, held 0.4 s") << false << 400 << 1;
    }
    void steadySteering()
    {
        QFETCH(bool, smooth);
        QFETCH(int, holdMs);
        QFETCH(int, steps);
        QVERIFY(ChooseStyle(smooth ? Style::Modern : Style::Classic));
        ConnectToRaceScreen(*pad);
        pad->setKeySink([this](int16_t code) {
            codes << code;
            RaceScreenKeySink(code);
        });
        InputEnabled = VbTrue;
        const Control right = parseControl("right");
        QElapsedTimer held;
        act(right, true);
        held.start();
        while (held.elapsed() < holdMs) QTest::qWait(1);
        const double ms = held.nsecsElapsed() / 1e6;
        act(right, false);
        QTest::qWait(100);
        ResetPlayerSettings();
        QVERIFY2(std::abs(codes.size() - steps) <= 1, qPrintable(QStringLiteral("%1 in %2 ms").arg(codes.size()).arg(ms)));
        if (smooth) QVERIFY(std::abs(codes.size() - SteadyStepsHeld(ms)) <= 1);
        QCOMPARE(f.form->img_JetR[0]->Left(), 200.0 + 5 * codes.size());
    }

    // The repeat follows the keyboard: after its usual delay, at its repeat rate.
    void repeatFollowsTheKeyboard()
    {
        Gamepad fresh;
        QCOMPARE(fresh.repeatDelay(), Gamepad::RepeatDelayMs);
        QCOMPARE(fresh.repeatInterval(), 1000 / QGuiApplication::styleHints()->keyboardAutoRepeatRate());
    }

    // Only the latest arrow repeats; when it is let go, one still held takes over. An arrow
    // held on both d-pad and stick stays held until both let go.
    void latestArrowRepeats()
    {
        InputEnabled = VbTrue;
        pad->setRepeat(100, 20);
        act(parseControl("right"), true);
        act(parseControl("stick y -30000"), true);
        QCOMPARE(codes, (QList<int>{39, 38}));
        QCOMPARE(int(pad->heldArrow()), 38);
        QTRY_VERIFY_WITH_TIMEOUT(codes.size() >= 5, 2000);
        QCOMPARE(codes.mid(2), QList<int>(codes.size() - 2, 38));

        act(parseControl("stick y -30000"), false);
        QCOMPARE(int(pad->heldArrow()), 39);
        const int before = codes.size();
        QTRY_VERIFY_WITH_TIMEOUT(codes.size() >= before + 3, 2000);
        QCOMPARE(codes.last(), 39);

        // The stick pushes right as well: nothing new is pressed; the d-pad lets go, the stick
        // still holds it.
        act(parseControl("stick x 30000"), true);
        act(parseControl("right"), false);
        QCOMPARE(int(pad->heldArrow()), 39);
        act(parseControl("stick x 30000"), false);
        QCOMPARE(int(pad->heldArrow()), 0);
        const int after = codes.size();
        QTest::qWait(150);
        QCOMPARE(codes.size(), after);
    }

    // The stick counts as pushed past StickPress and as let go inside StickRelease; in between
    // it keeps what it was, so it does not flutter.
    void stickDeadZone()
    {
        InputEnabled = VbTrue;
        pad->setRepeat(60000, 60000);
        const auto at = [this](int value) {
            stick->stick(SDL_CONTROLLER_AXIS_LEFTX, value);
            pad->poll();
            return int(pad->heldArrow());
        };
        QCOMPARE(at(Gamepad::StickPress - 1), 0);
        QCOMPARE(at(Gamepad::StickPress), 39);
        QCOMPARE(at(Gamepad::StickRelease + 1), 39);
        QCOMPARE(at(Gamepad::StickPress + 5000), 39);
        QCOMPARE(at(Gamepad::StickRelease - 1), 0);
        QCOMPARE(at(-Gamepad::StickPress), 37);
        QCOMPARE(at(Gamepad::StickPress), 39);
        QCOMPARE(codes, (QList<int>{39, 37, 39}));
    }

    // Pulled out with an arrow held, in the middle of a race, plugged in again: the repeat
    // stops with it, the race runs on, the new pad plays at once.
    void hotPlugMidRace()
    {
        // A drive with real timers; the hero rides far above the road, where nothing can hit
        // him, so the race cannot end by itself.
        f.startRace(ModeDrive, 0, 0);
        f.heroAway();
        ConnectToRaceScreen(*pad);  // the real race screen, as the game has it
        pad->setRepeat(100, 20);
        act(parseControl("south"), true);
        act(parseControl("south"), false);
        QCOMPARE(int(Speed), 1);
        act(parseControl("right"), true);
        QTRY_VERIFY_WITH_TIMEOUT(f.form->img_JetR[0]->Left() >= -1980, 2000);

        stick->unplug();
        QTRY_COMPARE_WITH_TIMEOUT(pad->controllerCount(), 0, 2000);  // the poll timer sees it
        QCOMPARE(int(pad->heldArrow()), 0);
        const double left = f.form->img_JetR[0]->Left();
        const int32_t distance = Distance;
        QTest::qWait(600);
        QCOMPARE(f.form->img_JetR[0]->Left(), left);
        QVERIFY(f.form->timer_Main->Enabled());
        QVERIFY(f.form->timer_Zenta->Enabled());
        QCOMPARE(InputEnabled, VbTrue);
        QVERIFY(Distance > distance);  // the race tick ran on

        // With no controller the pad does not poll at all, until a device appears.
        QCOMPARE(pad->pollInterval(), 0);
        stick = std::make_unique<VirtualPad>();
        QVERIFY(stick->plugged());
        QFile node(devices->filePath(QStringLiteral("event7")));
        QVERIFY(node.open(QIODevice::WriteOnly));
        QTRY_COMPARE_WITH_TIMEOUT(pad->controllerCount(), 1, 2000);
        QCOMPARE(pad->pollInterval(), Gamepad::FastPollMs);
        act(parseControl("south"), true);
        QCOMPARE(int(Speed), 2);
        QVERIFY(f.form->timer_Zenta->Enabled());
    }

    // The poll runs often only while it steers: a race taking input, or an arrow held.
    void pollRate_data()
    {
        QTest::addColumn<bool>("input");
        QTest::addColumn<QString>("held");
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<int>("interval");
        QTest::newRow("race") << true << "" << true << int(Gamepad::FastPollMs);
        QTest::newRow("message waits") << false << "" << true << int(Gamepad::IdlePollMs);
        QTest::newRow("arrow held, input off") << false << "left" << true << int(Gamepad::FastPollMs);
        QTest::newRow("stick held, input off") << false << "stick y 30000" << true
                                               << int(Gamepad::FastPollMs);
        QTest::newRow("no controller, race") << true << "" << false << 0;
        QTest::newRow("no controller") << false << "" << false << 0;
        QTest::newRow("no controller, no device folder") << false << "" << false << int(Gamepad::SlowPollMs);
    }
    void pollRate()
    {
        QFETCH(bool, input);
        QFETCH(QString, held);
        QFETCH(bool, plugged);
        QFETCH(int, interval);
        InputEnabled = input ? VbTrue : VbFalse;
        if (!held.isEmpty()) act(parseControl(held), true);
        if (!plugged) stick->unplug();
        pad->poll();
        if (QByteArray(QTest::currentDataTag()).endsWith("no device folder")) {
            // Where nothing tells of new devices, the pad looks for one now and then.
            Gamepad unwatched;
            unwatched.setDeviceFolders({devices->filePath(QStringLiteral("missing"))});
            QVERIFY(unwatched.start());
            QCOMPARE(unwatched.pollInterval(), interval);
            return;
        }
        QCOMPARE(pad->pollInterval(), interval);
    }

    // A modal window above the race screen holds the pad's input as it holds the keyboard's;
    // with no race screen at all the presses go nowhere.
    void modalWindowAndNoRaceScreen()
    {
        InputEnabled = VbTrue;
        {
            QDialog box(f.form);
            box.setModal(true);
            box.show();
            QVERIFY(QApplication::activeModalWidget() == &box);
            act(parseControl("south"), true);
            act(parseControl("south"), false);
            QCOMPARE(int(Speed), 0);
        }
        act(parseControl("south"), true);
        act(parseControl("south"), false);
        QCOMPARE(int(Speed), 1);

        delete f.form;
        f.form = nullptr;
        QVERIFY(!form_Main::current());
        act(parseControl("south"), true);
        act(parseControl("right"), true);
        QCOMPARE(codes.size(), 4);
        QVERIFY(!RaceScreenWaits());
    }
};

QTEST_MAIN(GamepadTest)
#include "test_gamepad.moc"
