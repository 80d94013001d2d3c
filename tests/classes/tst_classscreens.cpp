#include "app/features.h"
#include "classes/caregroupentryscreen.h"
#include "classes/classentryscreen.h"
#include "classes/responsibilityentryscreen.h"
#include "data/database.h"
#include "reports/reportviewer.h"
#include "services/appcontext.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "widgets/typeahead.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionTitleBar>
#include <QTest>

// The class, care group and responsibility screens as the office uses them: typed, chosen, saved and
// deleted, checked on the screen and in the database.
class TestClassScreens : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aNewClassIsSavedAndOfferedEverywhere();
    void choosingAClassShowsItWithoutTheLastOnesTeacher();
    void choosingAnotherClassAsksAboutTypedChanges();
    void deletingAClassSaysWhoIsLeftWithoutOne();
    void careGroupNeedsALeaderAndCanLoseItsClass();
    void responsibilityDescriptionFollowsTheTypedName();
    void deletingDeaconAsksTwiceAndClearsTheirDeacons();
    void rollScreenPreviewsTheRollsOfTheTypedDate();
    void rollScreensShowTheirTitlesWhole_data();
    void rollScreensShowTheirTitlesWhole();
    void updateSheetScreenAsksPermissionThenAPerson();

private:
    template <typename T>
    T* find(QWidget* screen, const char* name) const
    {
        return GuiTest::find<T>(screen, QString::fromUtf8(name));
    }
    QWidget* open(ScreenId screen) { return m_window->openScreen(screen); }
    qint64 idOf(const QString& last) const
    {
        return m_context->db().scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }
    qint64 addClass(const QString& name, const QVariant& teacher)
    {
        return m_context->db().insert("INSERT INTO Sunday_School (Name, Teacher) VALUES (?, ?)", {name, teacher});
    }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void TestClassScreens::init()
{
    MessageLog::startRecording();
    ComboKeySearch::resetForTests();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    TestDatabase::addChurch(m_context->db(), 2.0);
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "clerk"});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->enableMenus();
    m_window->show();
}

void TestClassScreens::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestClassScreens::aNewClassIsSavedAndOfferedEverywhere()
{
    QWidget* screen = open(ScreenId::WednesdayNightClassEntry);
    QSignalSpy listsChanged(&m_context->changes(), &ChangeNotifier::listValuesChanged);

    // Blanks only count as no name: refused, nothing written, the screen stays.
    QTest::keyClicks(find<QLineEdit>(screen, "txtName"), "   ");
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(MessageLog::takeShown().value(0).text, "Name is Required.");
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Wednesday_Night").toInt(), 0);
    QVERIFY(m_window->findScreen(ScreenId::WednesdayNightClassEntry) != nullptr);

    find<QLineEdit>(screen, "txtName")->setText("Choir");
    QTest::keyClicks(find<QLineEdit>(screen, "txtLocation"), "Music Room");
    GuiTest::chooseAt(find<QComboBox>(screen, "cmbTeacher"), 2);
    find<QPushButton>(screen, "btnSave")->click();
    QTRY_VERIFY(m_window->findScreen(ScreenId::WednesdayNightClassEntry) == nullptr);
    QCOMPARE(MessageLog::takeShown().size(), 0);
    const Row row = *m_context->db().selectOne("SELECT Name, Location, Teacher, Asst_Teacher FROM Wednesday_Night");
    QCOMPARE(row.text(u"Name"), "Choir");
    QCOMPARE(row.text(u"Location"), "Music Room");
    QVERIFY(row.integer(u"Teacher") > 0);
    QVERIFY(row.isNull(u"Asst_Teacher"));
    QCOMPARE(listsChanged.size(), 1);
}

void TestClassScreens::choosingAClassShowsItWithoutTheLastOnesTeacher()
{
    const qint64 taught = addClass("Adults", idOf("Smith"));
    const qint64 untaught = addClass("Youth", QVariant());
    m_context->db().execute("UPDATE Member SET Sunday_School_Class = ? WHERE ID = ?", {untaught, idOf("Sanders")});
    QWidget* screen = open(ScreenId::SundaySchoolClassEntry);
    auto* select = find<QComboBox>(screen, "cmbName");
    auto* teacher = find<QComboBox>(screen, "cmbTeacher");

    GuiTest::chooseAt(select, 0);
    QCOMPARE(teacher->currentText().trimmed(), "Smith, John");
    GuiTest::chooseAt(select, 1);
    QCOMPARE(find<QLineEdit>(screen, "txtName")->text(), "Youth");
    QCOMPARE(teacher->currentIndex(), 0); // the blank: no teacher, not the last class's

    // Renaming keeps the row and its people.
    find<QLineEdit>(screen, "txtName")->setText("Youth Group");
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(m_context->db().scalar("SELECT Name FROM Sunday_School WHERE ID = ?", {untaught}).toString(),
             "Youth Group");
    QVERIFY(m_context->db().scalar("SELECT Teacher FROM Sunday_School WHERE ID = ?", {untaught}).isNull());
    QCOMPARE(
        m_context->db().scalar("SELECT Sunday_School_Class FROM Member WHERE ID = ?", {idOf("Sanders")}).toLongLong(),
        untaught);
    QCOMPARE(m_context->db().scalar("SELECT Teacher FROM Sunday_School WHERE ID = ?", {taught}).toLongLong(),
             idOf("Smith"));
}

void TestClassScreens::choosingAnotherClassAsksAboutTypedChanges()
{
    addClass("Adults", QVariant());
    addClass("Youth", QVariant());
    QWidget* screen = open(ScreenId::SundaySchoolClassEntry);
    auto* select = find<QComboBox>(screen, "cmbName");
    GuiTest::chooseAt(select, 0);
    find<QLineEdit>(screen, "txtDescription")->setText("Typed");

    MessageLog::setNextAnswer(MessageAnswer::Cancel);
    QTest::keyClick(select, Qt::Key_Down);
    QCOMPARE(MessageLog::takeShown().value(0).text, "Save changes to Adults?");
    QCOMPARE(select->currentText(), "Adults");
    QCOMPARE(find<QLineEdit>(screen, "txtDescription")->text(), "Typed");

    MessageLog::setNextAnswer(MessageAnswer::Save);
    QTest::keyClick(select, Qt::Key_Down);
    QCOMPARE(select->currentText(), "Youth");
    QCOMPARE(m_context->db().scalar("SELECT Description FROM Sunday_School WHERE Name = 'Adults'").toString(), "Typed");
}

void TestClassScreens::deletingAClassSaysWhoIsLeftWithoutOne()
{
    const qint64 adults = addClass("Adults", QVariant());
    m_context->db().execute("UPDATE Member SET Sunday_School_Class = ? WHERE ID IN (?, ?)",
                            {adults, idOf("Smith"), idOf("Sanders")});
    m_context->db().execute("INSERT INTO Care_Group (Group_Leader, Sunday_School_Class) VALUES (?, ?)",
                            {idOf("Smith"), adults});
    QWidget* screen = open(ScreenId::SundaySchoolClassEntry);
    auto* remove = find<QPushButton>(screen, "btnDelete");
    QVERIFY(!remove->isEnabled()); // nothing to delete while a new class is typed
    GuiTest::chooseAt(find<QComboBox>(screen, "cmbName"), 0);

    remove->click(); // answered No
    QCOMPARE(MessageLog::takeShown().value(0).text,
             "Delete Adults? 2 people and 1 care group are assigned to it and will be left without one.");
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Sunday_School").toInt(), 1);

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    remove->click();
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Sunday_School").toInt(), 0);
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Member WHERE Sunday_School_Class IS NOT NULL").toInt(), 0);
    QCOMPARE(find<QComboBox>(screen, "cmbName")->count(), 0);
    QVERIFY(find<QLineEdit>(screen, "txtName")->text().isEmpty());
    QVERIFY(!remove->isEnabled());
}

void TestClassScreens::careGroupNeedsALeaderAndCanLoseItsClass()
{
    const qint64 adults = addClass("Adults", QVariant());
    const qint64 group = m_context->db().insert(
        "INSERT INTO Care_Group (Group_Leader, Sunday_School_Class) VALUES (?, ?)", {idOf("Smith"), adults});
    QWidget* screen = open(ScreenId::CareGroupEntry);
    GuiTest::chooseAt(find<QComboBox>(screen, "cmbName"), 0);
    auto* ssClass = find<QComboBox>(screen, "cmbSSClass");
    QCOMPARE(ssClass->currentText(), "Adults");

    GuiTest::chooseAt(find<QComboBox>(screen, "cmbTeacher"), 0);
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(MessageLog::takeShown().value(0).text, "Leader is Required.");
    QCOMPARE(m_context->db().scalar("SELECT Group_Leader FROM Care_Group WHERE ID = ?", {group}).toLongLong(),
             idOf("Smith"));

    GuiTest::chooseAt(find<QComboBox>(screen, "cmbTeacher"), 1);
    GuiTest::chooseAt(ssClass, 0); // the blank: no class
    find<QPushButton>(screen, "btnSave")->click();
    QVERIFY(m_context->db().scalar("SELECT Sunday_School_Class FROM Care_Group WHERE ID = ?", {group}).isNull());
    QVERIFY(m_context->db().scalar("SELECT Group_Leader FROM Care_Group WHERE ID = ?", {group}).toLongLong() > 0);
}

void TestClassScreens::responsibilityDescriptionFollowsTheTypedName()
{
    m_context->db().execute("INSERT INTO Responsibilities (Name, Description) VALUES ('Usher', 'At the door')");
    QWidget* screen = open(ScreenId::ResponsibilityEntry);
    auto* name = find<QComboBox>(screen, "cmbName");
    auto* description = find<QLineEdit>(screen, "txtDescription");
    name->setFocus();
    QTest::keyClicks(name->lineEdit(), "ushe");
    QVERIFY(description->text().isEmpty());
    QTest::keyClicks(name->lineEdit(), "r");
    QCOMPARE(description->text(), "At the door");

    description->setText("Hands out bulletins");
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM Responsibilities WHERE Name = 'Usher'").toInt(), 1);
    const Row row = *m_context->db().selectOne("SELECT Name, Description FROM Responsibilities WHERE Name = 'Usher'");
    QCOMPARE(row.text(u"Name"), "usher");
    QCOMPARE(row.text(u"Description"), "Hands out bulletins");
}

void TestClassScreens::deletingDeaconAsksTwiceAndClearsTheirDeacons()
{
    Database& db = m_context->db();
    db.execute("INSERT INTO Responsibilities (Name) VALUES ('Deacon')");
    db.execute("INSERT INTO Member_Responsibility (Member_ID, Responsibility) VALUES (?, 'Deacon')", {idOf("Smith")});
    db.execute("UPDATE Member SET DeaconID = ? WHERE ID = ?", {idOf("Smith"), idOf("Sanders")});
    QWidget* screen = open(ScreenId::ResponsibilityEntry);
    QSignalSpy everyone(&m_context->changes(), &ChangeNotifier::responsibilitiesChanged);
    find<QComboBox>(screen, "cmbName")->setCurrentText("Deacon");

    // No to the second question cancels the whole delete.
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    MessageLog::setNextAnswer(MessageAnswer::No);
    find<QPushButton>(screen, "btnDelete")->click();
    const QList<MessageLog::Shown> asked = MessageLog::takeShown();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked[0].text, "Are you sure you want to delete the selected Responsibility?");
    QCOMPARE(asked[1].text,
             "Deleting Deacon also removes the deacon of the 1 member assigned to its holders. Continue?");
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM Member_Responsibility").toInt(), 1);

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    find<QPushButton>(screen, "btnDelete")->click();
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM Member_Responsibility").toInt(), 0);
    QCOMPARE(db.scalar("SELECT COUNT(*) FROM Responsibilities WHERE Name = 'Deacon'").toInt(), 0);
    QVERIFY(db.scalar("SELECT DeaconID FROM Member WHERE ID = ?", {idOf("Sanders")}).isNull());
    QCOMPARE(everyone.size(), 1);
    QCOMPARE(everyone[0][0].toLongLong(), 0);
    QVERIFY(find<QLineEdit>(screen, "txtDescription")->text().isEmpty());
}

void TestClassScreens::rollScreenPreviewsTheRollsOfTheTypedDate()
{
    const qint64 choir =
        m_context->db().insert("INSERT INTO Wednesday_Night (Name, Location) VALUES ('Choir', 'Loft')");
    const qint64 youth = m_context->db().insert("INSERT INTO Wednesday_Night (Name) VALUES ('Youth')");
    m_context->db().execute("UPDATE Member SET Wednesday_Night_Class = ?, Member_Active_Status = 'Active' WHERE ID = ?",
                            {choir, idOf("Smith")});
    m_context->db().execute("UPDATE Member SET Wednesday_Night_Class = ?, Member_Active_Status = 'Active' WHERE ID = ?",
                            {youth, idOf("Sanders")});
    QWidget* screen = open(ScreenId::WednesdayNightRollReport);
    auto* date = find<DateBox>(screen, "dtDate");
    QCOMPARE(date->date(), m_clock.today());
    date->lineEdit()->selectAll();
    QTest::keyClicks(date->lineEdit(), "2026-12-16");
    // Every class to start with; one chosen, its roll alone.
    auto* classes = find<QComboBox>(screen, "cmbClass");
    QCOMPARE(classes->currentText(), "(All classes)");
    GuiTest::choose(classes, "Choir");
    find<QPushButton>(screen, "btnOK")->click();

    QTRY_VERIFY(m_window->findScreen(ScreenId::WednesdayNightRollReport) == nullptr);
    auto* viewer = m_window->findScreen<ReportViewer>(ScreenId::ReportViewer);
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->document().pageCount(), 1);
    const QStringList texts = viewer->document().pages.front().texts();
    QVERIFY(texts.contains("Choir"));
    QVERIFY(texts.contains("Room: Loft"));
    QVERIFY(texts.contains("December 16, 2026"));
    QVERIFY(texts.contains("Smith, John"));
    QVERIFY(!texts.contains("Sanders, Sam"));
}

void TestClassScreens::rollScreensShowTheirTitlesWhole_data()
{
    QTest::addColumn<int>("screen");
    QTest::addColumn<QString>("title");
    QTest::newRow("Sunday School") << int(ScreenId::SundaySchoolRollReport) << "Sunday School Roll Report";
    QTest::newRow("Discipleship Training")
        << int(ScreenId::DiscipleshipTrainingRollReport) << "Discipleship Training Roll Report";
    QTest::newRow("Wednesday Night") << int(ScreenId::WednesdayNightRollReport) << "Wednesday Night Roll Report";
}

void TestClassScreens::rollScreensShowTheirTitlesWhole()
{
    QFETCH(int, screen);
    QFETCH(QString, title);
    auto* frame = qobject_cast<QMdiSubWindow*>(open(ScreenId(screen))->parentWidget());
    QVERIFY(frame != nullptr);
    QCOMPARE(frame->windowTitle(), title);
    // The title as the frame's style paints it: cut to the room beside the buttons, less the style's margin.
    const int border = frame->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, frame);
    QStyleOptionTitleBar bar;
    bar.initFrom(frame);
    bar.text = title;
    bar.subControls = QStyle::SC_All;
    bar.titleBarFlags = frame->windowFlags();
    bar.rect = QRect(border, border, frame->width() - 2 * border,
                     frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, frame));
    const int room =
        frame->style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarLabel, frame).width() - 14;
    QCOMPARE(QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).elidedText(title, Qt::ElideRight, room), title);
}

void TestClassScreens::updateSheetScreenAsksPermissionThenAPerson()
{
    QWidget* screen = open(ScreenId::MemberInformationUpdateReport);
    auto* person = find<QComboBox>(screen, "cmbProspect");
    QCOMPARE(person->currentIndex(), -1);
    QCOMPARE(person->itemText(0), "***All Head of Household***");
    QCOMPARE(person->itemText(1), "***All Members & Child of Members***");

    // A login without the report's permission is refused at Ok, the screen stays.
    m_context->setUser({idOf("Smith"), "User", "john"});
    find<QPushButton>(screen, "btnOK")->click();
    QCOMPARE(MessageLog::takeShown().value(0).text, "You do not have permission to run this report.");
    QVERIFY(m_window->findScreen(ScreenId::MemberInformationUpdateReport) != nullptr);

    m_context->setUser({1, "Admin", "clerk"});
    find<QPushButton>(screen, "btnOK")->click();
    const MessageLog::Shown shown = MessageLog::takeShown().value(0);
    QCOMPARE(shown.text, "You must select a Prospect.");
    QCOMPARE(shown.title, "Invalid Selection");
    QVERIFY(m_window->findScreen(ScreenId::MemberInformationUpdateReport) != nullptr);
}

QTEST_MAIN(TestClassScreens)
#include "tst_classscreens.moc"
