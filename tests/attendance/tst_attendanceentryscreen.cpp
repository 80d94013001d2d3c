#include "app/features.h"
#include "attendance/attendanceentrymodel.h"
#include "attendance/attendanceentryscreen.h"
#include "core/textformat.h"
#include "data/database.h"
#include "fakeclock.h"
#include "guitest.h"
#include "members/memberentryscreen.h"
#include "services/appcontext.h"
#include "testdatabase.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

namespace {

const QDate kWednesday(2026, 3, 11);
const QDate kSunday(2026, 3, 8);

} // namespace

// The weekly attendance entry screen driven through its controls, checked against the database.
class TestAttendanceEntryScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingListsCriteriaAndNoGrid();
    void findListsTheWeekOfAnyDayWithItsMarks();
    void inactiveAndMissingChurchStatusAreLeftOut();
    void tickingAndSavingWritesOneRowPerMarkedPerson();
    void savingTwiceKeepsOneRowAndUntickingAllDeletes();
    void switchedOffColumnIsHiddenAndItsMarksSurvive();
    void anotherWeekIsSavedOnlyAfterTheQuestion();
    void failingSaveWritesNothingAndKeepsTheTicks();
    void deletedPersonLeavesTheGrid();
    void doubleClickOpensThePerson();
    void clearEmptiesEverything();
    void everyWayOfLeavingTicksAsksFirst_data();
    void everyWayOfLeavingTicksAsksFirst();

private:
    void open(const QString& wednesdayNightSwitch = QStringLiteral("Yes"));
    template <typename T>
    T* control(const char* name)
    {
        return GuiTest::find<T>(m_screen, QString::fromUtf8(name));
    }
    void click(const char* button) { GuiTest::click(control<QPushButton>(button)); }
    void pickDate(const QDate& date)
    {
        auto* box = control<DateBox>("dtWeekOf");
        box->lineEdit()->setText(date.toString(Qt::ISODate));
        box->commit();
    }
    qint64 id(const char* lastName)
    {
        return db().scalar("SELECT ID FROM Member WHERE Last_Name = ?", {QString::fromUtf8(lastName)}).toLongLong();
    }
    int rowOf(qint64 memberId)
    {
        AttendanceEntryModel* model = m_screen->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->memberId(row) == memberId) {
                return row;
            }
        }
        return -1;
    }
    // Ticks or unticks a box the way a user does: the cell made current, then Space.
    void toggle(qint64 memberId, int category)
    {
        auto* grid = control<QTableView>("vsfgMembers");
        const QModelIndex cell = m_screen->model()->index(rowOf(memberId), category);
        grid->setFocus();
        grid->setCurrentIndex(cell);
        QTest::keyClick(grid, Qt::Key_Space);
    }
    bool ticked(qint64 memberId, int category)
    {
        return m_screen->model()->index(rowOf(memberId), category).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
    void store(qint64 member, const QDate& week, const QString& marks)
    {
        QVariantList values{week.toString(Qt::ISODate), member};
        for (const QChar mark : marks) {
            values << (mark == u'1' ? 1 : 0);
        }
        db().execute("INSERT INTO AttendanceData (WeekOf, MemberID, SS, SL, RBD, WS, DT, SE, WN) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                     values);
    }
    // The person's stored marks of a week as seven digits; empty when he has no row.
    QString stored(qint64 member, const QDate& week)
    {
        const QVariant marks = db().scalar("SELECT CAST(SS AS INT) || CAST(SL AS INT) || CAST(RBD AS INT) || "
                                           "CAST(WS AS INT) || CAST(DT AS INT) || CAST(SE AS INT) || CAST(WN AS INT) "
                                           "FROM AttendanceData WHERE MemberID = ? AND WeekOf = ?",
                                           {member, week.toString(Qt::ISODate)});
        return marks.isNull() ? QString() : marks.toString();
    }
    int rowsOf(qint64 member)
    {
        return db().scalar("SELECT COUNT(*) FROM AttendanceData WHERE MemberID = ?", {member}).toInt();
    }
    Database& db() { return m_context->db(); }

    FakeClock m_clock{QDateTime(QDate(2026, 3, 18), QTime(10, 0))};
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    AttendanceEntryScreen* m_screen = nullptr;
};

void TestAttendanceEntryScreen::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    open();
}

void TestAttendanceEntryScreen::open(const QString& wednesdayNightSwitch)
{
    m_window.reset();
    m_context.reset();
    AppConfig config;
    config.databasePath = m_testDb->path();
    config.pictureFolder = m_testDb->folder() + QStringLiteral("/pictures/");
    config.attendanceSwitches.fill(QStringLiteral("Yes"));
    config.attendanceSwitches.at(AttendanceWeek::WN) = wednesdayNightSwitch;
    m_context = std::make_unique<AppContext>(m_testDb->open(), config, m_clock);
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "admin"});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->show();
    m_window->runCommand("AttendanceEntry");
    m_screen = m_window->findScreen<AttendanceEntryScreen>(ScreenId::AttendanceEntry);
    QVERIFY(m_screen);
}

void TestAttendanceEntryScreen::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestAttendanceEntryScreen::openingListsCriteriaAndNoGrid()
{
    QCOMPARE(m_screen->windowTitle(), QString("Attendance Entry/Edit"));
    QCOMPARE(control<QGroupBox>("Frame2")->title(), QString("Names"));
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->columnCount(), 0);
    QCOMPARE(control<DateBox>("dtWeekOf")->date(), m_clock.today());
    QVERIFY(control<QComboBox>("cmbChurchStatus")->count() > 0);
    for (const char* list : {"cmbStatus", "cmbChurchStatus", "cmbSSClass", "cmbDiscClass", "cmbWedClass"}) {
        QVERIFY2(control<QComboBox>(list)->currentIndex() == -1, list);
    }
}

void TestAttendanceEntryScreen::findListsTheWeekOfAnyDayWithItsMarks()
{
    const qint64 smith = id("Smith");
    store(smith, kSunday, "1001001");
    store(smith, kSunday.addDays(7), "1111111");
    pickDate(kWednesday);
    // The screen names the Sunday a save records, whichever day was picked.
    QCOMPARE(control<QLabel>("lblWeekOf")->text(), "Week of Sunday " + shortDate(kSunday));
    click("btnFind");
    AttendanceEntryModel* model = m_screen->model();
    QCOMPARE(model->columnCount(), 11);
    QCOMPARE(model->week(), kSunday);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("Sunday\nSchool"));
    QCOMPARE(model->headerData(10, Qt::Horizontal).toString(), QString("Member Status"));
    QCOMPARE(model->rowCount(), 5);
    QCOMPARE(model->index(rowOf(smith), AttendanceEntryModel::NameColumn).data().toString().left(12),
             QString("Smith, John "));
    const QList<bool> expected = {true, false, false, true, false, false, true};
    for (int c = 0; c < 7; ++c) {
        QCOMPARE(ticked(smith, c), expected.at(c));
        QVERIFY(!ticked(id("Sanders"), c));
    }
    // Every second row is grey; the totals line counts the listed marks.
    QVERIFY(!model->index(0, 8).data(Qt::BackgroundRole).isValid());
    QCOMPARE(model->index(1, 8).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(192, 192, 192));
    QVERIFY2(control<QLabel>("lblTotals")->text().contains("Sunday School 1, Studied Lesson 0"),
             qPrintable(control<QLabel>("lblTotals")->text()));
    toggle(id("Sanders"), AttendanceWeek::SS);
    QVERIFY(control<QLabel>("lblTotals")->text().contains("Sunday School 2,"));
    // A name narrows the list (the tick above is let go).
    control<QLineEdit>("txtName")->setText("smithe");
    MessageLog::setNextAnswer(MessageAnswer::Discard);
    click("btnFind");
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->memberId(0), id("Smithers"));
}

void TestAttendanceEntryScreen::inactiveAndMissingChurchStatusAreLeftOut()
{
    db().execute("UPDATE Member SET Member_Active_Status = 'InActive' WHERE ID = ?", {id("Smith")});
    db().execute("UPDATE Member SET Member_Active_Status = NULL WHERE ID = ?", {id("Sanders")});
    db().execute("UPDATE Member SET Member_Active_Status = '' WHERE ID = ?", {id("Smithers")});
    db().execute("UPDATE Member SET Member_Active_Status = 'inactive' WHERE ID = ?", {id("O'Brien")});
    click("btnFind");
    QCOMPARE(m_screen->model()->rowCount(), 2);
    QVERIFY(rowOf(id("O'Brien")) >= 0);
    QVERIFY(rowOf(id("Smith")) < 0);
}

void TestAttendanceEntryScreen::tickingAndSavingWritesOneRowPerMarkedPerson()
{
    const qint64 smith = id("Smith");
    const qint64 sanders = id("Sanders");
    pickDate(kWednesday);
    click("btnFind");
    toggle(smith, AttendanceWeek::WS);
    toggle(smith, AttendanceWeek::WN);
    click("btnSave");
    QCOMPARE(stored(smith, kSunday), QString("0001001"));
    QCOMPARE(rowsOf(sanders), 0);
    QVERIFY(MessageLog::takeShown().isEmpty());
    // The grid stays as it was, and finding the week again shows the saved marks.
    QVERIFY(ticked(smith, AttendanceWeek::WS));
    click("btnClear");
    pickDate(kSunday.addDays(6));
    click("btnFind");
    QVERIFY(ticked(smith, AttendanceWeek::WS));
    QVERIFY(ticked(smith, AttendanceWeek::WN));
    QVERIFY(!ticked(smith, AttendanceWeek::SS));
}

void TestAttendanceEntryScreen::savingTwiceKeepsOneRowAndUntickingAllDeletes()
{
    const qint64 smith = id("Smith");
    const qint64 sanders = id("Sanders");
    // A person the criteria leave out is not touched by the save.
    db().execute("UPDATE Member SET Status = 'Visitor' WHERE ID = ?", {sanders});
    store(sanders, kSunday, "1000000");
    pickDate(kSunday);
    GuiTest::choose(control<QComboBox>("cmbStatus"), "Member");
    click("btnFind");
    QVERIFY(rowOf(sanders) < 0);
    toggle(smith, AttendanceWeek::SS);
    click("btnSave");
    click("btnSave");
    QCOMPARE(rowsOf(smith), 1);
    toggle(smith, AttendanceWeek::SS);
    click("btnSave");
    QCOMPARE(rowsOf(smith), 0);
    QCOMPARE(stored(sanders, kSunday), QString("1000000"));
}

void TestAttendanceEntryScreen::switchedOffColumnIsHiddenAndItsMarksSurvive()
{
    const qint64 smith = id("Smith");
    store(smith, kSunday, "0000001");
    open(QStringLiteral("No"));
    pickDate(kSunday);
    click("btnFind");
    auto* grid = control<QTableView>("vsfgMembers");
    QVERIFY(grid->isColumnHidden(AttendanceWeek::WN));
    QVERIFY(!grid->isColumnHidden(AttendanceWeek::SE));
    QVERIFY(!control<QLabel>("lblTotals")->text().contains("Wednesday"));
    toggle(smith, AttendanceWeek::SS);
    click("btnSave");
    QCOMPARE(stored(smith, kSunday), QString("1000001"));

    // Only the exact text "No" hides a column.
    open(QStringLiteral("no"));
    click("btnFind");
    QVERIFY(!control<QTableView>("vsfgMembers")->isColumnHidden(AttendanceWeek::WN));
}

void TestAttendanceEntryScreen::anotherWeekIsSavedOnlyAfterTheQuestion()
{
    const qint64 smith = id("Smith");
    const QDate nextWeek = kSunday.addDays(7);
    store(smith, nextWeek, "0100000");
    pickDate(kSunday);
    click("btnFind");
    toggle(smith, AttendanceWeek::SS);
    pickDate(nextWeek.addDays(3));

    MessageLog::setNextAnswer(MessageAnswer::No);
    click("btnSave");
    const QList<MessageLog::Shown> asked = MessageLog::takeShown();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().style, MessageStyle::YesNo);
    QVERIFY(asked.first().text.contains(shortDate(kSunday)));
    QVERIFY(asked.first().text.contains(shortDate(nextWeek)));
    QCOMPARE(rowsOf(smith), 1);
    QCOMPARE(stored(smith, nextWeek), QString("0100000"));

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnSave");
    QCOMPARE(MessageLog::takeShown().size(), 1);
    QCOMPARE(stored(smith, nextWeek), QString("1000000"));
    QCOMPARE(stored(smith, kSunday), QString());
    // That week is now the listed one: saving again asks nothing.
    QCOMPARE(m_screen->model()->week(), nextWeek);
    click("btnSave");
    QVERIFY(MessageLog::takeShown().isEmpty());
}

void TestAttendanceEntryScreen::failingSaveWritesNothingAndKeepsTheTicks()
{
    const qint64 smith = id("Smith");
    const qint64 smithers = id("Smithers");
    store(smith, kSunday, "0000010");
    pickDate(kSunday);
    click("btnFind");
    toggle(smith, AttendanceWeek::SS);
    toggle(smithers, AttendanceWeek::SS);
    // The insert of the later of the two fails: the earlier one is rolled back with it.
    db().execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON AttendanceData WHEN NEW.MemberID = %1 "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END")
                     .arg(smithers));
    click("btnSave");
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().text.contains("refused"));
    QCOMPARE(stored(smith, kSunday), QString("0000010"));
    QCOMPARE(rowsOf(smithers), 0);
    QVERIFY(ticked(smith, AttendanceWeek::SS));
    QVERIFY(ticked(smithers, AttendanceWeek::SS));
}

void TestAttendanceEntryScreen::deletedPersonLeavesTheGrid()
{
    const qint64 smith = id("Smith");
    click("btnFind");
    toggle(smith, AttendanceWeek::SS);
    db().execute("DELETE FROM Member WHERE ID = ?", {smith});
    emit m_context->changes().memberDeleted(smith);
    QCOMPARE(rowOf(smith), -1);
    QCOMPARE(m_screen->model()->rowCount(), 4);
    click("btnSave");
    QCOMPARE(rowsOf(smith), 0);
}

void TestAttendanceEntryScreen::doubleClickOpensThePerson()
{
    click("btnFind");
    QSignalSpy shown(&m_context->requests(), &ScreenRequests::showMember);
    auto* grid = control<QTableView>("vsfgMembers");
    const int row = rowOf(id("Smithers"));
    const QModelIndex name = m_screen->model()->index(row, AttendanceEntryModel::NameColumn);
    grid->scrollTo(name);
    const QRect cell = grid->visualRect(name);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().first().toLongLong(), id("Smithers"));
    auto* entry = m_window->findScreen<MemberEntryScreen>(ScreenId::MemberEntry);
    QVERIFY(entry);
    QCOMPARE(entry->shownMemberId(), id("Smithers"));
}

void TestAttendanceEntryScreen::clearEmptiesEverything()
{
    control<QLineEdit>("txtName")->setText("Smith");
    auto* status = control<QComboBox>("cmbStatus");
    GuiTest::chooseAt(status, 0);
    pickDate(kWednesday);
    click("btnFind");
    click("btnClear");
    QVERIFY(control<QLineEdit>("txtName")->text().isEmpty());
    QCOMPARE(status->currentIndex(), -1);
    QCOMPARE(control<DateBox>("dtWeekOf")->date(), m_clock.today());
    QCOMPARE(m_screen->model()->columnCount(), 0);
    QCOMPARE(m_screen->model()->rowCount(), 0);
}

void TestAttendanceEntryScreen::everyWayOfLeavingTicksAsksFirst_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    const QStringList ways = {"Find",       "Enter in the name box", "Clear", "Exit", "Escape", "close box", "Log Off",
                              "program end"};
    for (const QString& way : ways) {
        const QByteArray w = way.toUtf8();
        QTest::newRow(QByteArray(w + ", nothing ticked").constData()) << way << false << int(MessageAnswer::Cancel);
        QTest::newRow(QByteArray(w + ", Cancel").constData()) << way << true << int(MessageAnswer::Cancel);
        QTest::newRow(QByteArray(w + ", Discard").constData()) << way << true << int(MessageAnswer::Discard);
        QTest::newRow(QByteArray(w + ", Save").constData()) << way << true << int(MessageAnswer::Save);
    }
}

void TestAttendanceEntryScreen::everyWayOfLeavingTicksAsksFirst()
{
    QFETCH(QString, way);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    const qint64 smith = id("Smith");
    const qint64 sanders = id("Sanders");
    store(sanders, kSunday, "0001000");
    pickDate(kWednesday);
    click("btnFind");
    if (edited) {
        toggle(smith, AttendanceWeek::SS);
        toggle(sanders, AttendanceWeek::WS); // his stored mark taken away
        // Ticked and unticked again: no change.
        toggle(id("O'Brien"), AttendanceWeek::SL);
        toggle(id("O'Brien"), AttendanceWeek::SL);
    }
    MessageLog::setNextAnswer(MessageAnswer(answer));

    if (way == "Find") {
        click("btnFind");
    } else if (way == "Enter in the name box") {
        QTest::keyClick(control<QLineEdit>("txtName"), Qt::Key_Return);
    } else if (way == "Clear") {
        click("btnClear");
    } else if (way == "Exit") {
        click("btnExit");
    } else if (way == "Escape") {
        QTest::keyClick(control<QTableView>("vsfgMembers"), Qt::Key_Escape);
    } else if (way == "close box") {
        qobject_cast<QMdiSubWindow*>(m_screen->parentWidget())->close();
    } else if (way == "Log Off") {
        m_window->logOff();
    } else if (way == "program end") {
        m_window->close();
    }

    QStringList questions;
    for (const MessageLog::Shown& shown : MessageLog::takeShown()) {
        questions << shown.text;
        QCOMPARE(shown.style, MessageStyle::SaveDiscardCancel);
    }
    QCOMPARE(questions,
             edited ? QStringList{"Save the attendance of the week of " + shortDate(kSunday) + "?"} : QStringList());
    const bool saved = edited && answer == int(MessageAnswer::Save);
    const bool left = !edited || answer != int(MessageAnswer::Cancel);
    QCOMPARE(stored(smith, kSunday), saved ? QString("1000000") : QString());
    QCOMPARE(stored(sanders, kSunday), saved ? QString() : QString("0001000"));
    if (saved) {
        QCOMPARE(m_window->statusBar()->currentMessage(),
                 "Saved the week of Sunday " + shortDate(kSunday) + ": 2 people changed");
    }

    const QStringList closingWays = {"Exit", "Escape", "close box", "Log Off", "program end"};
    if (closingWays.contains(way)) {
        QTRY_COMPARE(m_window->findScreen<AttendanceEntryScreen>(ScreenId::AttendanceEntry) == nullptr, left);
    } else if (left) {
        // Listed again from the database, or cleared.
        QVERIFY(!m_screen->hasUnsavedChanges());
        QCOMPARE(m_screen->model()->hasHeader(), way != "Clear");
        if (way != "Clear") {
            QCOMPARE(ticked(smith, AttendanceWeek::SS), saved);
        }
    }
    if (!left) {
        QVERIFY(ticked(smith, AttendanceWeek::SS));
        QVERIFY(!ticked(sanders, AttendanceWeek::WS));
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_context->user().userName, QString("admin"));
    }
}

QTEST_MAIN(TestAttendanceEntryScreen)
#include "tst_attendanceentryscreen.moc"
