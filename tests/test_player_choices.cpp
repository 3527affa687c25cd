// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The player's own ways through the game, played with real key events: a name box that takes
// only what is typed once it is there, leaving a paused race for the title, keys of the
// player's choice (the key dialog, and the race, the scenes and the pause following it), the
// volume reaching the mixer, and Return pressing the button that has the focus ring.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QWindow>

#include "app/race_screen_input.h"
#include "audio/media.h"
#include "audio/sound.h"
#include "flow/race_screen_wiring.h"
#include "prefs/key_bindings.h"
#include "prefs/language.h"
#include "screens/form_controls.h"
#include "storage/player_settings.h"
#include "runtime/scene_wait.h"
#include "runtime/sdl_library.h"
#include "screens/key_settings_dialog.h"
#include "window_fixture.h"

using namespace scores_test;

namespace {
// One key event through the window system, as the platform hands it over; repeat marks a
// key's automatic repeat while it is held.
void keyEvent(QWindow* window, bool press, Qt::Key key, const QString& text, bool repeat = false)
{
    QTest::simulateEvent(window, press, key, Qt::NoModifier, text, repeat);
}

// The [group] of the settings file as it is on disk.
QMap<QString, QString> groupOnDisk(const QString& group)
{
    QSettings settings(rankingFile(), QSettings::IniFormat);
    settings.beginGroup(group);
    QMap<QString, QString> keys;
    for (const QString& key : settings.childKeys()) keys.insert(key, settings.value(key).toString());
    return keys;
}

// Runs action once a modal dialog of type T is up, then leaves it to the action to close.
template <class T>
void whileModal(const std::function<void(T*)>& action)
{
    QTimer::singleShot(0, [action] {
        T* dialog = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((dialog = qobject_cast<T*>(QApplication::activeModalWidget())), 3000);
        action(dialog);
    });
}
} // namespace

class PlayerChoicesTest : public QObject
{
    Q_OBJECT
    WindowFixture f;
    int titlesOpened = 0;

    form_Main* openRace(int16_t mode)
    {
        GameMode = mode;
        auto* race = NewRaceScreen();
        race->Init_Car();
        race->show();
        [&] { QVERIFY(QTest::qWaitForWindowActive(race)); }();
        return race;
    }

    // A car parked on the hero at standstill: the crash plays out and the board is wrecked.
    static void wreck(form_Main* race)
    {
        QTest::keyClick(race->Text1, Qt::Key_Up);
        QTest::keyClick(race->Text1, Qt::Key_Up);
        race->timer_Main->fire();
        Speed = 0;
        CarFlag[5] = VbTrue;
        CarSpeed[5] = 0;
        race->img_Car5->move(race->img_JetR[0]->Left(), race->img_JetR[0]->Top());
        race->timer_Zenta->fire();
        for (int step = 0; step < 10 && race->timer_Crush->Enabled(); ++step) race->timer_Crush->fire();
    }

private slots:
    void init()
    {
        f.init();
        ResetPlayerSettings();
        titlesOpened = 0;
        form_Main::SetTitleScreenOpener([this] { ++titlesOpened; });
    }
    void cleanup()
    {
        f.cleanup();
        ResetPlayerSettings();
        ShowLanguage(QStringLiteral("ja"));
        form_Main::SetTitleScreenOpener({});
    }

    // A key held through the wreck, or pressed again as the window opens, types nothing; nor
    // does the repeat of a key whose press the window never saw. What the player types once the
    // window is there is the name, repeats of a key held there included.
    void nameBoxTakesOnlyWhatIsTypedThere_data()
    {
        QTest::addColumn<bool>("holdA");     // A held down from the race on
        QTest::addColumn<QString>("inside"); // events in the window: a = press, r = repeat, u = release
        QTest::addColumn<QString>("name");
        QTest::newRow("held A repeats") << true << "rrrrru" << "Zed";
        QTest::newRow("held A pressed as it opens") << true << "aru" << "Zed";
        QTest::newRow("held A repeats as release and press") << true << "uaua" << "Zed";
        QTest::newRow("repeats of a key pressed before") << false << "rrrru" << "Zed";
        QTest::newRow("A typed and held there") << false << "arru" << "aaaZed";
    }
    void nameBoxTakesOnlyWhatIsTypedThere()
    {
        QFETCH(bool, holdA);
        QFETCH(QString, inside);
        QFETCH(QString, name);
        form_Main* race = openRace(ModeDrive);
        WindowFixture::pressStart(race);
        QVERIFY(race->RaceRunning());
        if (holdA) QTest::keyPress(race->Text1, Qt::Key_A), QTest::qWait(200);  // long enough to repeat
        Distance = 5000;
        QString inTheBox;
        WhileRankOpen whileOpen([&](form_Rank* rank) {
            QWindow* w = rank->windowHandle();
            QTRY_VERIFY(rank->txt_Nm[0]->hasFocus());
            for (const QChar c : inside)
                keyEvent(w, c != 'u', Qt::Key_A, QStringLiteral("a"), c == 'r');
            for (const char k : {'Z', 'e', 'd'}) QTest::keyClick(w, k);
            inTheBox = rank->txt_Nm[0]->text();
            QTest::mouseClick(rank->cmd_Close, Qt::LeftButton);
        });
        wreck(race);
        QVERIFY(whileOpen.opened && !whileOpen.timedOut);
        QCOMPARE(inTheBox, name);
        QCOMPARE(keysOnDisk().value(QStringLiteral("HScore_Nm_2_1_0")), name);
    }

    // Escape pauses; T, or the gamepad's Back, in the pause gives the race up for the title:
    // nothing ranked, the music stopped, the rankings file as it was. Outside a pause they do
    // nothing.
    void leavingAPausedRace_data()
    {
        QTest::addColumn<bool>("pad");
        QTest::addColumn<bool>("paused");
        QTest::newRow("T in the pause") << false << true;
        QTest::newRow("Back in the pause") << true << true;
        QTest::newRow("T in the race") << false << false;
        QTest::newRow("Back in the race") << true << false;
    }
    void leavingAPausedRace()
    {
        QFETCH(bool, pad);
        QFETCH(bool, paused);
        saveTablesAsTheyAre();
        const QByteArray before = readRaw(rankingFile());
        form_Main* race = openRace(ModeDrive);
        QPointer<form_Main> guarded(race);
        WindowFixture::pressStart(race);
        Distance = 99999;  // would top the drive table
        BgmOpen = VbTrue;  // as the drive's music plays
        if (paused) QTest::keyClick(race->Text1, Qt::Key_Escape);
        QCOMPARE(race->Paused(), paused);
        f.sound->calls.clear();
        if (pad)
            RaceScreenKeySink(KeyT);
        else
            QTest::keyClick(race->Text1, Qt::Key_T);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(titlesOpened, paused ? 1 : 0);
        QCOMPARE(guarded.isNull(), paused);
        if (!paused) {
            QVERIFY(race->RaceRunning());
            return;
        }
        QCOMPARE(f.sound->commands(), (QStringList{"stop bgm", "close bgm"}));
        QCOMPARE(f.effectNames(), QStringList{"Click"});
        QCOMPARE(readRaw(rankingFile()), before);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // In a pause the menus open. A choice made there, a window opened from them and closed, or
    // Esc out of a menu leaves the race paused; once it goes on the menus are off, none lit.
    void menusInAPauseLeaveItPaused_data()
    {
        QTest::addColumn<QString>("way");
        for (const char* way : {"language", "key dialog", "controls window", "Esc in a menu", "Esc on the bar"})
            QTest::newRow(way) << QString::fromLatin1(way);
    }
    void menusInAPauseLeaveItPaused()
    {
        QFETCH(QString, way);
        form_Main* race = openRace(ModeDrive);
        WindowFixture::pressStart(race);
        QTest::keyClick(race->Text1, Qt::Key_P);
        QVERIFY(race->mfile->menuAction()->isEnabled() && race->mhelp->menuAction()->isEnabled());
        if (way == "language") race->men->trigger();
        if (way == "key dialog") whileModal<KeySettingsDialog>([](KeySettingsDialog* dialog) { dialog->reject(); });
        if (way == "key dialog") race->mkeys->trigger();
        if (way == "controls window") {
            QTest::keyClick(race->Text1, Qt::Key_F1);
            QVERIFY(QTest::qWaitForWindowActive(form_Controls::current()));
            form_Controls::current()->close();
        }
        if (way == "Esc in a menu") race->menuBar()->setActiveAction(race->msound->menuAction());
        if (way.startsWith("Esc"))
            QTest::keyClick(way == "Esc in a menu" ? static_cast<QWidget*>(race->msound) : race->menuBar(), Qt::Key_Escape);
        QVERIFY(race->Paused() && race->timer_Main->Paused());
        QTest::keyClick(race->Text1, Qt::Key_P);
        QVERIFY(!race->Paused() && !race->mfile->menuAction()->isEnabled());
        QCOMPARE(race->menuBar()->activeAction(), nullptr);
    }

    // The key dialog: a key given to another action, one the game keeps or one with a modifier is
    // refused with a message; 標準に戻す brings the design's keys back; OK keeps those changed.
    void keyDialog()
    {
        form_Main* race = openRace(ModeDrive);
        QStringList refusals;
        SetMsgBoxHook([&](const QString& text, const QString&) { refusals << text; });
        QMap<QString, QString> shown;
        whileModal<KeySettingsDialog>([&](KeySettingsDialog* d) {
            QTest::mouseClick(d->field(GameAction::Accelerate), Qt::LeftButton);
            QTest::keyClick(d->field(GameAction::Accelerate), Qt::Key_B);  // brake's
            QTest::keyClick(d->field(GameAction::Accelerate), Qt::Key_T);  // the game's
            QTest::keyClick(d->field(GameAction::Accelerate), Qt::Key_R, Qt::AltModifier);
            shown.insert("refused", d->field(GameAction::Accelerate)->text());
            shown.insert("left", d->field(GameAction::Left)->text());
            QTest::keyClick(d->field(GameAction::Accelerate), Qt::Key_W);
            QTest::keyClick(d->field(GameAction::Brake), Qt::Key_S);
            QTest::mouseClick(d->restoreButton, Qt::LeftButton);
            shown.insert("restored", d->field(GameAction::Accelerate)->text());
            QTest::keyClick(d->field(GameAction::Accelerate), Qt::Key_W);
            QTest::keyClick(d->field(GameAction::Pause), Qt::Key_Q);
            QTest::keyClick(d->field(GameAction::Next), Qt::Key_N);
            QTest::mouseClick(d->okButton, Qt::LeftButton);
        });
        race->mkeys->trigger();
        QCOMPARE(refusals.size(), 3);
        QVERIFY(refusals[0].contains(QStringLiteral("ブレーキ")) && refusals[2].contains(QStringLiteral("「Alt+R」")));
        QCOMPARE(shown.value("refused"), QStringLiteral("A"));
        QCOMPARE(shown.value("restored"), QStringLiteral("A"));
        QCOMPARE(shown.value("left"), QStringLiteral("←"));
        const QMap<QString, QString> controls = groupOnDisk(ControlsGroup);
        QCOMPARE(controls, (QMap<QString, QString>{{"Accelerate", "W"}, {"Next", "N"}, {"Pause", "Q"}}));
    }

    // A choice the settings file cannot take holds for the run, and the player is told so in the
    // same box whichever choice it was, a new language's in that language.
    void choiceNotKeptIsTold_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("told");  // the box's opening, in the language chosen
        QTest::newRow("language") << "language" << "The setting could not be saved.\nThe settings folder cannot be made.";
        QTest::newRow("volume") << "volume" << "設定を保存できませんでした。\n設定のフォルダーを作れません。";
        QTest::newRow("keys") << "keys" << "設定を保存できませんでした。\n設定のフォルダーを作れません。";
    }
    void choiceNotKeptIsTold()
    {
        QFETCH(QString, choice);
        form_Main* race = openRace(ModeDrive);
        const QString folder = QFileInfo(rankingFile()).path();
        QVERIFY(QDir(folder).removeRecursively());
        writeRaw(folder, "a file, not a folder");
        QStringList boxes;
        SetMsgBoxHook([&](const QString& text, const QString& title) { boxes << title + '|' + text; });
        if (choice == "language") {
            race->men->trigger();
        } else if (choice == "volume") {
            race->mvolBgm[3]->trigger();
            QCOMPARE(MusicVolume(), 50);
        } else {
            whileModal<KeySettingsDialog>([](KeySettingsDialog* d) {
                QTest::keyClick(d->field(GameAction::Accelerate), Qt::Key_W);
                QTest::mouseClick(d->okButton, Qt::LeftButton);
            });
            race->mkeys->trigger();
            QCOMPARE(KeyOf(GameAction::Accelerate), int(Qt::Key_W));
        }
        SetMsgBoxHook({});
        QVERIFY(QFile::remove(folder));
        QCOMPARE(boxes.size(), 1);
        QFETCH(QString, told);
        QVERIFY2(boxes[0].startsWith("Tavolnik|" + told), qPrintable(boxes[0]));
    }

    // Keys the player chose drive the scene, the race and the pause; the design's keys they
    // replaced do nothing any more. The controls help names the new keys.
    void remappedKeysDriveTheRace()
    {
        SetPlayerSetting(ControlsGroup, "Accelerate", "W");
        SetPlayerSetting(ControlsGroup, "Next", "N");
        SetPlayerSetting(ControlsGroup, "Pause", "Q");
        SetPlayerSetting(ControlsGroup, "Up", "I");
        form_Main* race = openRace(ModeDrive);
        bool spaceWent = true;
        QString nextbox;
        QTimer::singleShot(50, race, [&] {
            nextbox = race->Nextbox->Caption();
            QTest::keyClick(race->Text1, Qt::Key_Space);
            spaceWent = race->Nextbox->isHidden();
            QTest::keyClick(race->Text1, Qt::Key_N);
        });
        QTimer safety;
        safety.setSingleShot(true);
        connect(&safety, &QTimer::timeout, this, [] { SceneWait::cutOff(); });
        safety.start(5000);
        QTest::keyClick(race->Text1, Qt::Key_Return);
        QVERIFY(safety.isActive());
        QVERIFY(!spaceWent);
        QCOMPARE(nextbox, QStringLiteral("Click or NKey to Next"));
        QVERIFY(race->RaceRunning());
        QVERIFY(race->lbl_Msg->Caption().startsWith(QStringLiteral("アクセルは「W」")));

        const double top = race->img_JetR[0]->Top();
        QTest::keyClick(race->Text1, Qt::Key_A);
        QCOMPARE(int(Speed), 0);
        QTest::keyClick(race->Text1, Qt::Key_W);  // the player's accelerator cuts the countdown short
        QVERIFY(!race->CountingDown());
        QTest::keyClick(race->Text1, Qt::Key_W);
        QCOMPARE(int(Speed), 1);
        QTest::keyClick(race->Text1, Qt::Key_Up);
        QCOMPARE(race->img_JetR[0]->Top(), top);
        QTest::keyClick(race->Text1, Qt::Key_I);
        QCOMPARE(race->img_JetR[0]->Top(), top - 5);
        QTest::keyClick(race->Text1, Qt::Key_P);
        QVERIFY(!race->Paused());
        QTest::keyClick(race->Text1, Qt::Key_Q);
        QVERIFY(race->Paused());
        QTest::keyClick(race->Text1, Qt::Key_Q);
        QVERIFY(!race->Paused());
    }

    // A file edited by hand that gives one key to two actions, or a key the game keeps, reads
    // as the design's keys for those actions.
    void sharedOrReservedKeysInTheFileFallBack()
    {
        SetPlayerSetting(ControlsGroup, "Accelerate", "B");
        SetPlayerSetting(ControlsGroup, "Left", "Return");
        SetPlayerSetting(ControlsGroup, "Right", "D");
        const KeyBindings keys = CurrentKeyBindings();
        QCOMPARE(keys.of(GameAction::Accelerate), int(Qt::Key_A));
        QCOMPARE(keys.of(GameAction::Brake), int(Qt::Key_B));
        QCOMPARE(keys.of(GameAction::Left), int(Qt::Key_Left));
        QCOMPARE(keys.of(GameAction::Right), int(Qt::Key_D));
    }

    // Each step of サウンド > 音量 reaches the mixer at once, is kept in [Options] and is the
    // one checked on the next race screen.
    void volumeStepsReachTheMixer_data()
    {
        QTest::addColumn<bool>("music");
        QTest::addColumn<int>("step");
        for (int k = 0; k < VolumeStepCount; ++k) {
            QTest::addRow("BGM %d %%", VolumeSteps[k]) << true << k;
            QTest::addRow("effects %d %%", VolumeSteps[k]) << false << k;
        }
    }
    void volumeStepsReachTheMixer()
    {
        QFETCH(bool, music);
        QFETCH(int, step);
        form_Main* race = openRace(ModeDrive);
        const int percent = VolumeSteps[step];
        (music ? race->mvolBgm : race->mvolEff)[step]->trigger();
        const QPair<int, int> expected = music ? qMakePair(percent, 100) : qMakePair(100, percent);
        QCOMPARE(f.sound->volumes.size(), 1);
        QCOMPARE(f.sound->volumes.first(), expected);
        QCOMPARE(groupOnDisk(OptionsGroup).value(music ? "MusicVolume" : "EffectsVolume"),
                 QString::number(percent));
        race->close();
        form_Main* next = openRace(ModeDrive);
        for (int k = 0; k < VolumeStepCount; ++k) {
            QCOMPARE(next->mvolBgm[k]->isChecked(), k == (music ? step : VolumeStepCount - 1));
            QCOMPARE(next->mvolEff[k]->isChecked(), k == (music ? VolumeStepCount - 1 : step));
        }
        QVERIFY(next->mon1->isChecked() && next->mon2->isChecked());
    }

    // The real mixer takes the chosen share of the game's levels.
    void volumeReachesSdlMixer()
    {
        f.sound.reset();
        SetMusicVolume(50);
        SetEffectsVolume(25);
        sndPlaySound(EffectPath("Click"), SND_ASYNC | SND_NODEFAULT);
        const MixerLibrary* mix = Mixer();
        if (!mix) QSKIP("no SDL2_mixer");
        const int musicFull = mix->Mix_VolumeMusic(-1) * 2;
        SetMusicVolume(100);
        SetEffectsVolume(100);
        QCOMPARE(mix->Mix_VolumeMusic(-1), musicFull);
        // The effects are mixed by the game's own mix, after the mixer's.
        QCOMPARE(EffectsShareInTheMix(), 1.0f);
        SetEffectsVolume(25);
        QCOMPARE(EffectsShareInTheMix(), 0.25f);
        SetEffectsVolume(100);
        ShutdownMedia();
    }

    // Return presses the button with the focus ring: START after a game over, TITLE after the
    // happy end, TITLE when the player has moved the focus there.
    void returnPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("end");
        QTest::newRow("game over") << "game over";
        QTest::newRow("game over, Tab to TITLE") << "tab";
        QTest::newRow("happy end") << "happy end";
    }
    void returnPressesTheFocusedButton()
    {
        QFETCH(QString, end);
        form_Main* race = openRace(end == "happy end" ? ModeStage2 : ModeStage1);
        race->cmd_Start->setEnabled(false);
        race->cmd_Title->setEnabled(false);
        if (end == "happy end") {
            race->ClearStep = 19;
            race->timer_Clear_Timer();
        } else {
            race->GameOver(GameOverTimeUp);
        }
        QPushButton* ringed = end == "game over" ? race->cmd_Start : race->cmd_Title;
        if (end == "tab") QTest::keyClick(race->focusWidget(), Qt::Key_Tab);
        QCOMPARE(race->focusWidget(), ringed);
        QVERIFY(race->testAttribute(Qt::WA_KeyboardFocusChange));  // the ring is drawn
        QCOMPARE(race->ReturnButton(), ringed);
        if (ringed == race->cmd_Start) {
            QTimer::singleShot(50, race, [race] { QTest::keyClick(race->Text1, Qt::Key_Space); });
            QTest::keyClick(race->focusWidget(), Qt::Key_Return);
            QVERIFY(race->RaceRunning());
            QCOMPARE(titlesOpened, 0);
        } else {
            QTest::keyClick(race->focusWidget(), Qt::Key_Return);
            QCOMPARE(titlesOpened, 1);
        }
    }
};

WINDOW_TEST_MAIN(PlayerChoicesTest)
#include "test_player_choices.moc"
