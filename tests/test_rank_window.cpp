// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ranking window: its layout, the three clicks when it opens from the title's button, the two
// independent groups of option buttons, the close button following the name box, Japanese
// typed through an input method, and every way of closing it taking the name and saving.
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "app/form_title.h"
#include "race/stages.h"
#include "prefs/choices.h"
#include "scores/high_scores.h"
#include "screens/modern_look.h"
#include "scores_test_support.h"

using namespace scores_test;

namespace {

// Every table gets values and names of its own: value kind*1000 + slot*100 + rank.
void fillTables()
{
    for (int kind = 1; kind <= RankKinds(); ++kind)
        for (int slot = 1; slot <= RankSlots(); ++slot)
            for (int rank = 0; rank < RanksKept; ++rank) {
                HScoreName[kind][slot][rank] = QStringLiteral("名%1%2%3").arg(kind).arg(slot).arg(rank);
                HScoreVal[kind][slot][rank] = kind * 1000 + slot * 100 + rank;
            }
}

// Opens the ranking with a title screen's ランキング button, as the player does, runs action
// while the window is up, then closes it with とじる. The title reads the tables from the file
// as it opens, so the tables in memory are saved first.
void throughTitle(const std::function<void(form_Rank*)>& action)
{
    saveTablesAsTheyAre();
    QPointer<form_Title> title = new form_Title;
    title->show();
    WhileRankOpen whileOpen([&](form_Rank* window) {
        action(window);
        if (window->isVisible()) window->cmd_Close->click();
    });
    QTest::mouseClick(title->Command3, Qt::LeftButton);
    QVERIFY(whileOpen.opened && !whileOpen.timedOut);
    // The title screen holds on, usable again, until the test lets it go.
    QVERIFY(title && title->isVisible());
    QCOMPARE(form_Title::current(), title.data());
    title->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The rows as shown: the first name and value and the unit.
// A ranking window wired to its handlers, as the game makes one, that the test deletes itself.
form_Rank* unownedRankWindow()
{
    form_Rank* window = form_Rank::create();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    return window;
}

QString shownTable(const form_Rank* window)
{
    return window->lbl_Nm[0]->Caption() + QLatin1Char(' ') + window->lbl_Score[4]->Caption() +
           window->lbl_Tan[2]->Caption();
}

}  // namespace

class TestRankWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        freshConfig();
        ResetHighScores();
        fillTables();
        saveTablesAsTheyAre();
    }

    // The modern window: a medal in place of the place of each of the top three, and the row of
    // a new result lit while its name box shows.
    void modernRowsShowMedalsAndTheNewEntry_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("medal");
        QTest::newRow("1st") << 0 << int(Medal::Gold);
        QTest::newRow("2nd") << 1 << int(Medal::Silver);
        QTest::newRow("3rd") << 2 << int(Medal::Bronze);
        QTest::newRow("4th") << 3 << int(Medal::None);
        QTest::newRow("5th") << 4 << int(Medal::None);
    }

    void modernRowsShowMedalsAndTheNewEntry()
    {
        QFETCH(int, row);
        QFETCH(int, medal);
        QCOMPARE(int(MedalOfRow(row)), medal);
        std::unique_ptr<form_Rank> window(unownedRankWindow());
        QCOMPARE(EntryRowOf(*window), -1);
        window->txt_Nm[row]->show();
        QCOMPARE(EntryRowOf(*window), row);
        const Label* places[5] = {window->Label1, window->Label2, window->Label3, window->Label4, window->Label5};
        QCOMPARE(places[row]->isHidden(), medal != int(Medal::None));
    }

    void cleanup()
    {
        // Windows that deleted themselves are gone before the next test starts.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void laidOutAsDesigned()
    {
        // The designed look is the classic way's.
        QVERIFY(ChooseStyle(Style::Classic));
        const auto modernAgain = qScopeGuard([] { ChooseStyle(Style::Modern); });
        std::unique_ptr<form_Rank> window(unownedRankWindow());
        QCOMPARE(window->windowTitle(), QStringLiteral("ランキング"));
        // It opens at its designed size; the player may make it larger.
        QCOMPARE(window->size(), QSize(329, 185));
        QCOMPARE(window->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
        const QColor rowColors[5] = {QColor(255, 15, 123), QColor(23, 64, 255), QColor(2, 255, 97),
                                     QColor(0x40, 0x40, 0x40), QColor(0x40, 0x40, 0x40)};
        const Label* rankLabels[5] = {window->Label1, window->Label2, window->Label3, window->Label4,
                                      window->Label5};
        for (int k = 0; k < 5; ++k) {
            const int top = 8 + 24 * k;
            QCOMPARE(rankLabels[k]->pos(), QPoint(8, top));
            const char* ordinals[5] = {"1st", "2nd", "3rd", "4th", "5th"};
            QCOMPARE(rankLabels[k]->Caption(), QLatin1String(ordinals[k]));
            QCOMPARE(window->lbl_Nm[k]->geometry(), QRect(48, top, 169, 16));
            QCOMPARE(window->txt_Nm[k]->geometry(), QRect(48, top, 169, 18));
            QCOMPARE(window->lbl_Score[k]->geometry(), QRect(240, top, 57, 16));
            QCOMPARE(window->lbl_Tan[k]->geometry(), QRect(304, top, 15, 13));
            const QList<const Label*> coloured{rankLabels[k], window->lbl_Nm[k], window->lbl_Score[k]};
            for (const Label* label : coloured)
                QCOMPARE(label->palette().color(QPalette::WindowText), rowColors[k]);
            QCOMPARE(window->lbl_Tan[k]->palette().color(QPalette::WindowText), QColor(Qt::white));
            QVERIFY(window->lbl_Score[k]->alignment() & Qt::AlignRight);
            // Design captions until Set_Form fills the rows.
            QCOMPARE(window->lbl_Nm[k]->Caption(), QStringLiteral("1st"));
            QCOMPARE(window->lbl_Score[k]->Caption(), QStringLiteral("1"));
            QCOMPARE(window->lbl_Tan[k]->Caption(), QStringLiteral("秒"));
            // Name boxes: hidden, empty, over their labels, no length limit, input method on.
            QVERIFY(window->txt_Nm[k]->isHidden());
            QVERIFY(window->txt_Nm[k]->text().isEmpty());
            QVERIFY(window->txt_Nm[k]->maxLength() >= 1000000);
            QVERIFY(window->txt_Nm[k]->testAttribute(Qt::WA_InputMethodEnabled));
            QVERIFY(window->children().indexOf(window->txt_Nm[k]) > window->children().indexOf(window->lbl_Nm[k]));
        }
        QCOMPARE(window->Frame1->geometry(), QRect(8, 136, 97, 57));
        QCOMPARE(window->Option1[0]->parentWidget(), window->Frame1);
        QCOMPARE(window->Option1[1]->geometry(), QRect(0, 24, 89, 25));
        QCOMPARE(window->Option2[0]->parentWidget(), window.get());
        QCOMPARE(window->Option2[1]->geometry(), QRect(112, 160, 89, 25));
        QCOMPARE(window->cmd_Close->geometry(), QRect(232, 136, 89, 41));
        QCOMPARE(window->cmd_Close->text(), QStringLiteral("とじる"));
        QVERIFY(window->cmd_Close->isEnabled());
        for (const OptionButton* option :
             {window->Option1[0], window->Option1[1], window->Option2[0], window->Option2[1]})
            QVERIFY(!option->Value() && !option->isHidden() && option->isEnabled());
        // Tab order: the five name boxes, とじる, the kinds, then the stages.
        QWidget* next = window->txt_Nm[0];
        const QList<QWidget*> order{window->txt_Nm[1], window->txt_Nm[2], window->txt_Nm[3], window->txt_Nm[4],
                                    window->cmd_Close, window->Option1[0], window->Option1[1],
                                    window->Option2[0], window->Option2[1]};
        for (QWidget* expected : order) {
            do next = next->nextInFocusChain();
            while (!(next->focusPolicy() & Qt::TabFocus));
            QCOMPARE(next, expected);
        }
    }

    // The title's button clicks, then marking story and STAGE1 clicks twice more; the window
    // opens on story stage 1, whatever table was shown last, over the title.
    void openingFromTheTitleClicksThreeTimes()
    {
        MediaRecorder recorder;
        RankMode = RankDrive;
        RankStage = SlotStage2;
        QStringList clicksAtOpening;
        QPointer<form_Rank> window;
        bool titleShown = false;
        throughTitle([&](form_Rank* w) {
            window = w;
            clicksAtOpening = effectNames(recorder);
            titleShown = form_Title::current() && form_Title::current()->isVisible();
            QVERIFY(w->Option1[0]->Value() && w->Option2[0]->Value());
            QCOMPARE(shownTable(w), QStringLiteral("名110 1104秒"));
            QCOMPARE(w->lbl_Tan[0]->Caption(), QStringLiteral("秒"));
            QVERIFY(w->Option2[1]->isEnabled());
            QVERIFY(!w->Option1[0]->isHidden());
            QVERIFY(!w->NameEntryShown());
        });
        QCOMPARE(clicksAtOpening, QStringList({"Click", "Click", "Click"}));
        QVERIFY(titleShown);
        QCOMPARE(RankMode, int16_t(1));
        QCOMPARE(RankStage, int16_t(1));

        // A second opening starts from the laid-out window again.
        QVERIFY(window.isNull());
        std::unique_ptr<form_Rank> fresh(unownedRankWindow());
        QVERIFY(!fresh->Option1[0]->Value() && fresh->lbl_Nm[0]->Caption() == QStringLiteral("1st"));
    }

    void optionButtonsChooseTheTable_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("marks");  // story, drive, STAGE1, STAGE2: 1 marked, 0 not
        QTest::addColumn<bool>("stagesEnabled");
        QTest::addColumn<QString>("shown");
        QTest::newRow("drive") << QStringList{"drive"} << "0110" << false << "名210 2104M";
        QTest::newRow("story stage 2") << QStringList{"stage2"} << "1001" << true << "名120 1204秒";
        QTest::newRow("stage 2, drive, story: stage 1 again")
            << QStringList{"stage2", "drive", "story"} << "1010" << true << "名110 1104秒";
        QTest::newRow("stage buttons do nothing in drive")
            << QStringList{"drive", "stage2"} << "0110" << false << "名210 2104M";
        QTest::newRow("the marked button again") << QStringList{"story", "stage1"} << "1010" << true
                                                 << "名110 1104秒";
    }

    void optionButtonsChooseTheTable()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, marks);
        QFETCH(bool, stagesEnabled);
        QFETCH(QString, shown);
        throughTitle([&](form_Rank* window) {
            const QMap<QString, OptionButton*> buttons{{"story", window->Option1[0]}, {"drive", window->Option1[1]},
                                                       {"stage1", window->Option2[0]}, {"stage2", window->Option2[1]}};
            for (const QString& click : clicks)
                QTest::mouseClick(buttons[click], Qt::LeftButton, {}, QPoint(8, 12));
            QString marked;
            for (const OptionButton* option : {window->Option1[0], window->Option1[1], window->Option2[0], window->Option2[1]})
                marked += option->Value() ? QLatin1Char('1') : QLatin1Char('0');
            QCOMPARE(marked, marks);
            QCOMPARE(window->Option2[0]->isEnabled(), stagesEnabled);
            QCOMPARE(window->Option2[1]->isEnabled(), stagesEnabled);
            QCOMPARE(shownTable(window), shown);
        });
        QCOMPARE(RankMode, int16_t(marks[1] == QLatin1Char('1') ? 2 : 1));
        QCOMPARE(RankStage, int16_t(marks[3] == QLatin1Char('1') ? 2 : 1));
    }

    // Every table a row of the stage table enters is in memory, in the file, and shown by the
    // window with its kind and its STAGE button marked, a button that lies inside the window.
    void everyStageHasItsTable_data()
    {
        QTest::addColumn<int>("mode");
        for (const RaceMode& row : RaceModes()) QTest::newRow(qPrintable(row.caption)) << int(row.mode);
    }

    void everyStageHasItsTable()
    {
        QFETCH(int, mode);
        const RaceMode& row = RaceModeOf(int16_t(mode));
        const int kind = row.rankKind, slot = row.rankSlot;
        RankMode = row.rankKind;
        RankStage = row.rankSlot;
        // As a result of the stage opens it: with a name box, so that marking the kind keeps the slot.
        std::unique_ptr<form_Rank> window(unownedRankWindow());
        window->txt_Nm[0]->show();
        window->Set_Form();
        QVERIFY(window->Option1[kind - 1]->Value());
        QVERIFY(slot <= window->Option2.size() && window->Option2[slot - 1]->Value());
        QCOMPARE(window->Option2[slot - 1]->text(), QStringLiteral("STAGE%1").arg(slot));
        QCOMPARE(window->Option2[slot - 1]->geometry(), QRect(112, 136 + 24 * (slot - 1), 89, 25));
        QVERIFY(window->ClientHeight() >= window->Option2.constLast()->geometry().bottom() + 1);
        QCOMPARE(shownTable(window.get()), QStringLiteral("名%1%2%3 %4%5")
                                               .arg(kind).arg(slot).arg(0).arg(kind * 1000 + slot * 100 + 4)
                                               .arg(row.story ? QStringLiteral("秒") : QStringLiteral("M")));
        QVERIFY(SaveScore());
        const QMap<QString, QString> keys = keysOnDisk();
        for (int rank = 0; rank < RanksKept; ++rank)
            QCOMPARE(keys.value(ScoreValKey(kind, slot, rank)), QString::number(HScoreVal[kind][slot][rank]));
    }

    void optionHandlersOnlyClickDuringNameEntry()
    {
        MediaRecorder recorder;
        RankMode = RankStory;
        RankStage = SlotStage2;
        std::unique_ptr<form_Rank> window(unownedRankWindow());
        window->txt_Nm[1]->show();
        window->Set_Form();
        QVERIFY(window->Option1[0]->isHidden() && window->Option2[1]->isHidden());
        window->Option1_Click(1);
        window->Option2_Click(0);
        QCOMPARE(RankMode, int16_t(1));
        QCOMPARE(RankStage, int16_t(2));
        QVERIFY(window->Option2[0]->isEnabled());
        QCOMPARE(effectNames(recorder).size(), 4);  // two while marking, one per handler
    }

    void closeButtonFollowsTheNameBox_data()
    {
        QTest::addColumn<QStringList>("steps");  // text to type, or "<" to erase one character
        QTest::addColumn<bool>("enabled");
        QTest::newRow("nothing typed yet") << QStringList{} << true;
        QTest::newRow("a name") << QStringList{"ぜんた"} << true;
        QTest::newRow("typed, then erased") << QStringList{"ab", "<", "<"} << false;
        QTest::newRow("partly erased") << QStringList{"ab", "<"} << true;
        QTest::newRow("spaces only") << QStringList{"  "} << true;
        QTest::newRow("erased, then typed again") << QStringList{"a", "<", "烈"} << true;
    }

    void closeButtonFollowsTheNameBox()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, enabled);
        RankMode = RankStory;
        RankStage = SlotStage1;
        std::unique_ptr<form_Rank> window(unownedRankWindow());
        window->txt_Nm[2]->show();
        window->Set_Form();
        for (const QString& step : steps) {
            if (step == QLatin1String("<")) QTest::keyClick(window->txt_Nm[2], Qt::Key_Backspace);
            else typeText(window->txt_Nm[2], step);
        }
        QCOMPARE(window->cmd_Close->isEnabled(), enabled);
    }

    void japaneseInputMethodTypesIntoTheNameBox()
    {
        RankMode = RankDrive;
        RankStage = SlotStage1;
        std::unique_ptr<form_Rank> window(unownedRankWindow());
        window->txt_Nm[0]->show();
        window->Set_Form();
        QLineEdit* box = window->txt_Nm[0];
        QVERIFY(!(box->inputMethodHints() & (Qt::ImhLatinOnly | Qt::ImhDigitsOnly)));
        typeText(box, QStringLiteral("a"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QVERIFY(!window->cmd_Close->isEnabled());

        QInputMethodEvent composing(QStringLiteral("ぜんた"), {});
        QApplication::sendEvent(box, &composing);
        QVERIFY(box->text().isEmpty());  // still being composed
        QInputMethodEvent committed;
        committed.setCommitString(QStringLiteral("ゼンタ"));
        QApplication::sendEvent(box, &committed);
        QCOMPARE(box->text(), QStringLiteral("ゼンタ"));
        QVERIFY(window->cmd_Close->isEnabled());
    }

    void everyWayOfClosingTakesTheNameAndSaves_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("entry");  // a new result waits for its name
        for (const char* way : {"とじる", "close box", "Escape"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, name entry").arg(QString::fromUtf8(way))))
                << QString::fromUtf8(way) << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, viewing").arg(QString::fromUtf8(way))))
                << QString::fromUtf8(way) << false;
        }
    }

    void everyWayOfClosingTakesTheNameAndSaves()
    {
        QFETCH(QString, way);
        QFETCH(bool, entry);
        MediaRecorder recorder;
        RankMode = RankStory;
        RankStage = SlotStage2;
        QPointer<form_Rank> window = form_Rank::create();
        if (entry) {
            // As a time of 1202 would enter: below the 1202 there, above 1203.
            HScoreVal[1][2][3] = 1202;
            window->txt_Nm[3]->show();
        }
        window->Set_Form();
        const QString typed = QStringLiteral("烈 と ぜんた");
        bool focused = false;
        WhileRankOpen whileOpen([&](form_Rank* w) {
            focused = w->focusWidget() == (entry ? static_cast<QWidget*>(w->txt_Nm[3]) : w->cmd_Close);
            if (entry) typeText(w->txt_Nm[3], typed);
            if (way == QLatin1String("とじる")) QTest::mouseClick(w->cmd_Close, Qt::LeftButton);
            else if (way == QLatin1String("Escape")) QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, Qt::Key_Escape);
            else w->windowHandle()->close();
        });
        window->exec();
        QVERIFY(whileOpen.opened && !whileOpen.timedOut);
        QVERIFY(focused);
        QCOMPARE(HScoreName[1][2][3], entry ? typed : QStringLiteral("名123"));
        const QMap<QString, QString> keys = keysOnDisk();
        QCOMPARE(keys.size(), 40);
        QCOMPARE(keys.value(QStringLiteral("HScore_Nm_1_2_3")), HScoreName[1][2][3]);
        QCOMPARE(keys.value(QStringLiteral("HScore_Val_2_2_4")), QStringLiteral("2204"));
        QCOMPARE(effectNames(recorder).constLast(), QStringLiteral("Click"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }
};

int main(int argc, char* argv[])
{
    // Away from the player's settings before anything can look at them.
    scores_test::pointConfigAt(scores_test::configRoot().path());
    QApplication app(argc, argv);
    TestRankWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_rank_window.moc"
