#include "app/features.h"
#include "data/database.h"
#include "services/appcontext.h"
#include "services/lookupstore.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

// The outreach phase screen as the office uses it: the plan numbered in the grid, edited in its cells, moved,
// added to and deleted from; Save And Close writes the plan and carries the prospects along, or refuses and
// stays open.
class TestOutreachPhaseScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithThePlanNumbered();
    void addedAndDeletedPhasesAreRenumbered();
    void movesStopAtTheEndsAndFollowThePhase();
    void escapeInACellTakesBackItsEdit();
    void aRenamedActionIsFollowedWithoutBeingAnEdit();
    void saveWritesThePlanAndMovesTheProspects();
    void refusedPlansKeepTheScreenOpen_data();
    void refusedPlansKeepTheScreenOpen();
    void aFailedSaveShowsAMessageAndKeepsTheEdits();

private:
    template <typename T>
    T* find(const char* name) const
    {
        return GuiTest::find<T>(m_screen, QString::fromUtf8(name));
    }
    QTableView* grid() const { return find<QTableView>("vsfgPhase"); }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }
    // The grid's column as shown, top to bottom.
    QStringList column(int column) const;
    void clickCell(int row, int column);
    // Types into a cell through its editor, opened with the edit key.
    void typeCell(int row, int column, const QString& text);
    void chooseAction(int row, const QString& action);
    bool screenOpen() const { return m_window->findScreen(ScreenId::OutreachPhaseEntry) != nullptr; }
    QStringList storedPlan() const
    {
        return m_context->db().texts("SELECT PhaseOrder || ' ' || Phase || ' ' || Action || ' ' || TimePeriod "
                                     "FROM Outreach_Phase ORDER BY PhaseOrder");
    }
    QStringList prospectPhases() const;

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    QList<qint64> m_prospects;
    QWidget* m_screen = nullptr;
};

void TestOutreachPhaseScreen::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    TestDatabase::addChurch(m_context->db());
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "clerk"});
    Database& db = m_context->db();
    // Five phases P1..P5 and one prospect in each.
    m_prospects.clear();
    for (int i = 1; i <= 5; ++i) {
        const QString name = "P" + QString::number(i);
        db.execute("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (?, ?, 'Visit', ?)",
                   {i, name, i});
        const qint64 id = TestDatabase::addPerson(db, "Pat", "Prospect " + name, "Prospect");
        db.execute("UPDATE Member SET Prospect_Phase = ? WHERE ID = ?", {name, id});
        m_prospects << id;
    }
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->enableMenus();
    m_window->show();
    m_screen = m_window->openScreen(ScreenId::OutreachPhaseEntry);
    QVERIFY(m_screen != nullptr);
}

void TestOutreachPhaseScreen::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

QStringList TestOutreachPhaseScreen::column(int column) const
{
    QStringList texts;
    for (int row = 0; row < grid()->model()->rowCount(); ++row) {
        texts << cell(row, column);
    }
    return texts;
}

void TestOutreachPhaseScreen::clickCell(int row, int column)
{
    QTableView* view = grid();
    const QModelIndex index = view->model()->index(row, column);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QCOMPARE(view->currentIndex(), index);
}

void TestOutreachPhaseScreen::typeCell(int row, int column, const QString& text)
{
    QTableView* view = grid();
    const QModelIndex index = view->model()->index(row, column);
    clickCell(row, column);
    QTest::keyClick(view, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(index));
    QVERIFY(editor != nullptr);
    GuiTest::type(editor, text);
}

void TestOutreachPhaseScreen::chooseAction(int row, const QString& action)
{
    QTableView* view = grid();
    const QModelIndex index = view->model()->index(row, 2);
    clickCell(row, 2);
    QTest::keyClick(view, Qt::Key_F2);
    auto* list = qobject_cast<QComboBox*>(view->indexWidget(index));
    QVERIFY(list != nullptr);
    GuiTest::choose(list, action);
}

QStringList TestOutreachPhaseScreen::prospectPhases() const
{
    QStringList phases;
    for (const qint64 id : m_prospects) {
        phases << m_context->db().scalar("SELECT Prospect_Phase FROM Member WHERE ID = ?", {id}).toString();
    }
    return phases;
}

void TestOutreachPhaseScreen::opensWithThePlanNumbered()
{
    QCOMPARE(m_screen->windowTitle(), "Outreach Phase Entry");
    QAbstractItemModel* model = grid()->model();
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c) {
        headers << model->headerData(c, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, (QStringList{"Order", "Name", "Action", "Weeks"}));
    QCOMPARE(column(0), (QStringList{"1", "2", "3", "4", "5"}));
    QCOMPARE(column(1), (QStringList{"P1", "P2", "P3", "P4", "P5"}));
    QCOMPARE(cell(2, 2), "Visit");
    QCOMPARE(cell(2, 3), "3");
    // The order is the screen's, not the user's.
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
    QCOMPARE(find<QLabel>("Label1")->text(), "Make all changes before clicking Save and Close. Any phases that are "
                                             "deleted will affect Prospect Current Phases.");
    QCOMPARE(find<QPushButton>("btnSave")->text(), "&Save And Close");
}

void TestOutreachPhaseScreen::addedAndDeletedPhasesAreRenumbered()
{
    QAbstractItemModelTester tester(grid()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    find<QPushButton>("btnAddPhase")->click();
    find<QPushButton>("btnAddPhase")->click();
    QCOMPARE(column(0), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));

    // Saved with empty cells: refused, nothing written, still open.
    const QStringList stored = storedPlan();
    find<QPushButton>("btnSave")->click();
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).text, "All fields in the grid are required. Weeks collumn must be numeric. Please check your "
                               "data and try again.");
    QCOMPARE(shown.at(0).title, "Invalid Data Fields");
    QCOMPARE(storedPlan(), stored);
    QVERIFY(screenOpen());

    // Delete asks for the row's number; No keeps it, Yes removes it and the rows below move up.
    clickCell(1, 1);
    find<QPushButton>("btnDelete")->click();
    QCOMPARE(MessageLog::takeShown().value(0).text, "Are you sure you want to remove Phase 2?");
    QCOMPARE(grid()->model()->rowCount(), 7);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    find<QPushButton>("btnDelete")->click();
    const MessageLog::Shown question = MessageLog::takeShown().value(0);
    QCOMPARE(question.title, "Delete Confirmation");
    QCOMPARE(question.style, MessageStyle::YesNo);
    QCOMPARE(column(0), (QStringList{"1", "2", "3", "4", "5", "6"}));
    QCOMPARE(column(1), (QStringList{"P1", "P3", "P4", "P5", "", ""}));
    QCOMPARE(storedPlan(), stored);
}

void TestOutreachPhaseScreen::movesStopAtTheEndsAndFollowThePhase()
{
    auto* up = find<QPushButton>("btnMoveUp");
    auto* down = find<QPushButton>("btnMoveDown");
    // Arrows, with the old captions as their names.
    for (auto [button, caption] : {std::pair{up, QString("/\\")}, std::pair{down, QString("\\/")}}) {
        QVERIFY(!button->icon().isNull());
        QVERIFY(button->text().isEmpty());
        QCOMPARE(button->accessibleName(), caption);
    }
    clickCell(0, 1);
    up->click();
    QCOMPARE(column(1), (QStringList{"P1", "P2", "P3", "P4", "P5"}));
    clickCell(4, 3);
    down->click();
    QCOMPARE(column(1), (QStringList{"P1", "P2", "P3", "P4", "P5"}));

    // P2 goes down three places, its action and weeks with it; the numbers stay with the positions.
    clickCell(1, 1);
    down->click();
    down->click();
    down->click();
    QCOMPARE(column(1), (QStringList{"P1", "P3", "P4", "P5", "P2"}));
    QCOMPARE(column(3), (QStringList{"1", "3", "4", "5", "2"}));
    QCOMPARE(column(0), (QStringList{"1", "2", "3", "4", "5"}));
    QCOMPARE(grid()->currentIndex().row(), 4);
    down->click(); // at the bottom now
    QCOMPARE(column(1), (QStringList{"P1", "P3", "P4", "P5", "P2"}));
    up->click();
    QCOMPARE(column(1), (QStringList{"P1", "P3", "P4", "P2", "P5"}));
    QCOMPARE(grid()->currentIndex().row(), 3);
}

void TestOutreachPhaseScreen::escapeInACellTakesBackItsEdit()
{
    // The name takes at most 50 characters.
    typeCell(2, 1, QString(60, u'n'));
    QCOMPARE(cell(2, 1), QString(50, u'n'));
    typeCell(2, 1, "Typed");
    QCOMPARE(cell(2, 1), "Typed");
    QTest::keyClick(grid()->indexWidget(grid()->model()->index(2, 1)), Qt::Key_Escape);
    QCOMPARE(cell(2, 1), "P3");
    QVERIFY(screenOpen());
    // Nothing changed, so Exit closes without a question.
    find<QPushButton>("btnExit")->click();
    QTRY_VERIFY(!screenOpen());
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestOutreachPhaseScreen::aRenamedActionIsFollowedWithoutBeingAnEdit()
{
    typeCell(0, 3, "7");
    // As the defined values screen announces a renamed prospect action.
    emit m_context->changes().listEntryChanged(LookupList::ProspectActions, "visit", "Home Visit");
    emit m_context->changes().listValuesChanged();
    QCOMPARE(column(2), (QStringList{"Home Visit", "Home Visit", "Home Visit", "Home Visit", "Home Visit"}));
    // Taking back the one edit leaves nothing to save.
    typeCell(0, 3, "1");

    // A deleted action leaves its phases without one, as stored: Save asks for an action.
    emit m_context->changes().listEntryChanged(LookupList::ProspectActions, "Home Visit", "");
    emit m_context->changes().listValuesChanged();
    QCOMPARE(column(2), (QStringList{"", "", "", "", ""}));
    find<QPushButton>("btnSave")->click();
    QCOMPARE(MessageLog::takeShown().value(0).title, "Invalid Data Fields");
    QVERIFY(screenOpen());
    find<QPushButton>("btnExit")->click();
    QTRY_VERIFY(!screenOpen());
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestOutreachPhaseScreen::saveWritesThePlanAndMovesTheProspects()
{
    // The member screen is open: its phase list follows the saved plan.
    QWidget* member = m_window->openScreen(ScreenId::MemberEntry);
    QVERIFY(member != nullptr);
    m_window->openScreen(ScreenId::OutreachPhaseEntry);
    QSignalSpy listsChanged(&m_context->changes(), &ChangeNotifier::listValuesChanged);

    // Phase 2 deleted, then P3 and P4 exchanged, P1 renamed with its action changed, a sixth phase added.
    clickCell(1, 1);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    find<QPushButton>("btnDelete")->click();
    clickCell(2, 1);
    find<QPushButton>("btnMoveUp")->click();
    typeCell(0, 1, "Pastor's Call");
    chooseAction(0, "Phone Call");
    find<QPushButton>("btnAddPhase")->click();
    typeCell(4, 1, "Card \"Welcome\"");
    chooseAction(4, "Card");
    typeCell(4, 3, "2.5");
    QCOMPARE(column(1), (QStringList{"Pastor's Call", "P4", "P3", "P5", "Card \"Welcome\""}));
    MessageLog::takeShown();

    find<QPushButton>("btnSave")->click();
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QTRY_VERIFY(!screenOpen());
    QCOMPARE(storedPlan(), (QStringList{"1 Pastor's Call Phone Call 1.0", "2 P4 Visit 4.0", "3 P3 Visit 3.0",
                                        "4 P5 Visit 5.0", "5 Card \"Welcome\" Card 2.5"}));
    // Each prospect keeps his position: P2's goes to the phase now second, P4's to the fourth, P5's to the fifth.
    QCOMPARE(prospectPhases(), (QStringList{"Pastor's Call", "P4", "P3", "P5", "Card \"Welcome\""}));
    QCOMPARE(listsChanged.size(), 1);
    auto* phases = GuiTest::find<QComboBox>(member, "cmbNextPhase");
    QStringList offered;
    for (int i = 0; i < phases->count(); ++i) {
        offered << phases->itemText(i);
    }
    QCOMPARE(offered, (QStringList{"", "Pastor's Call", "P4", "P3", "P5", "Card \"Welcome\""}));
}

void TestOutreachPhaseScreen::refusedPlansKeepTheScreenOpen_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    QTest::newRow("a name used twice") << 3 << 1 << "p2"
                                       << "Each phase needs its own name: p2 is used twice.";
    QTest::newRow("weeks above 520") << 1 << 3 << "521"
                                     << "Weeks must be between 0 and 520.";
    QTest::newRow("weeks below 0") << 0 << 3 << "-1"
                                   << "Weeks must be between 0 and 520.";
    QTest::newRow("weeks not a number")
        << 2 << 3 << "two"
        << "All fields in the grid are required. Weeks collumn must be numeric. Please check your data and try again.";
    QTest::newRow("empty name")
        << 4 << 1 << ""
        << "All fields in the grid are required. Weeks collumn must be numeric. Please check your data and try again.";
}

void TestOutreachPhaseScreen::refusedPlansKeepTheScreenOpen()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    const QStringList stored = storedPlan();
    typeCell(row, column, typed);
    find<QPushButton>("btnSave")->click();
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).text, message);
    QCOMPARE(shown.at(0).title, "Invalid Data Fields");
    QVERIFY(screenOpen());
    QCOMPARE(grid()->currentIndex().row(), row); // the row at fault
    QCOMPARE(cell(row, column), typed);
    QCOMPARE(storedPlan(), stored);
    QCOMPARE(prospectPhases(), (QStringList{"P1", "P2", "P3", "P4", "P5"}));

    // Exit asks about the edits; Discard closes without writing.
    MessageLog::setNextAnswer(MessageAnswer::Discard);
    find<QPushButton>("btnExit")->click();
    QCOMPARE(MessageLog::takeShown().value(0).text, "Save changes to the outreach plan?");
    QTRY_VERIFY(!screenOpen());
    QCOMPARE(storedPlan(), stored);
}

void TestOutreachPhaseScreen::aFailedSaveShowsAMessageAndKeepsTheEdits()
{
    const QStringList stored = storedPlan();
    m_context->db().execute("CREATE TEMP TRIGGER refuse_last BEFORE INSERT ON Outreach_Phase WHEN NEW.PhaseOrder = 4 "
                            "BEGIN SELECT RAISE(ABORT, 'refused for the test'); END");
    // Four phases left, the last two exchanged.
    clickCell(4, 1);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    find<QPushButton>("btnDelete")->click();
    clickCell(3, 1);
    find<QPushButton>("btnMoveUp")->click();
    MessageLog::takeShown();

    find<QPushButton>("btnSave")->click();
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).title, "Database Error");
    QVERIFY(shown.at(0).text.contains("refused for the test"));
    QVERIFY(screenOpen());
    QCOMPARE(column(1), (QStringList{"P1", "P2", "P4", "P3"}));
    QCOMPARE(storedPlan(), stored);
    QCOMPARE(prospectPhases(), (QStringList{"P1", "P2", "P3", "P4", "P5"}));

    // The fault gone, the same edits save.
    m_context->db().execute("DROP TRIGGER refuse_last");
    find<QPushButton>("btnSave")->click();
    QTRY_VERIFY(!screenOpen());
    QCOMPARE(prospectPhases(), (QStringList{"P1", "P2", "P4", "P3", "P3"}));
}

QTEST_MAIN(TestOutreachPhaseScreen)
#include "tst_outreachphasescreen.moc"
