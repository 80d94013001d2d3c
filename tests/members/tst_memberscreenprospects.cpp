#include "memberscreenfixture.h"

#include "app/features.h"
#include "core/textformat.h"
#include "data/row.h"
#include "outreach/prospectcontactentryscreen.h"
#include "services/appcontext.h"

#include <QAbstractItemModel>
#include <QTableView>

// The contacts on the member screen's Prospect Info page: the grid of the person's contacts, New Contact
// (which opens contact entry on the person, saving a new one first) and the refresh after a contact is saved.
class TestMemberScreenProspects : public MemberScreenFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gridListsThePersonsContactsNewestFirst();
    void doubleClickOpensTheContact();
    void newContactSavesANewPersonFirst_data();
    void newContactSavesANewPersonFirst();
    void newContactTakesTheStepOnScreen_data();
    void newContactTakesTheStepOnScreen();
    void withoutContactPermissionNothingOpens_data();
    void withoutContactPermissionNothingOpens();
    void savedContactRefreshesOnlyContactsAndStep_data();
    void savedContactRefreshesOnlyContactsAndStep();

private:
    QTableView* grid() const { return find<QTableView>("vsfgProspectContacts"); }
    QStringList gridRow(int row) const;
    ProspectContactEntryScreen* contactScreen() const
    {
        return m_window->findScreen<ProspectContactEntryScreen>(ScreenId::ProspectContactEntry);
    }
    template <typename T>
    T* onContactScreen(const QString& name) const
    {
        return GuiTest::find<T>(contactScreen(), name);
    }
    qint64 addContact(const QString& date, const QString& action, qint64 visitor1, const QVariant& visitor2,
                      const QString& rating, const QString& notes);
    void doubleClickRow(int row);
    void typeDate(const QString& boxName, const QString& isoDate) const;

    std::unique_ptr<MainWindow> m_window;
    qint64 m_smith = 0;
    qint64 m_sanders = 0;
};

void TestMemberScreenProspects::init()
{
    setUp();
    m_smith = count("SELECT ID FROM Member WHERE Last_Name = 'Smith'");
    m_sanders = count("SELECT ID FROM Member WHERE Last_Name = 'Sanders'");
    // Smith is a prospect in the plan's first phase, due for a visit.
    db().execute("UPDATE Member SET Prospect_Active_Status = 'Active', Prospect_Phase = 'Welcome', "
                 "Prospect_Next_Contact_Date = '2026-03-20', Prospect_Next_Contact_Action = 'Visit', "
                 "Prospect_Next_Contact_Type = 'Home' WHERE ID = ?",
                 {m_smith});
    // The program's window answers the screen's requests by opening contact entry.
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->show();
}

void TestMemberScreenProspects::cleanup()
{
    m_window.reset();
    tearDown();
}

QStringList TestMemberScreenProspects::gridRow(int row) const
{
    const QAbstractItemModel* model = grid()->model();
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column) {
        cells << model->index(row, column).data().toString();
    }
    return cells;
}

qint64 TestMemberScreenProspects::addContact(const QString& date, const QString& action, qint64 visitor1,
                                             const QVariant& visitor2, const QString& rating, const QString& notes)
{
    return db().insert("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Type, Visitor1, Visitor2, "
                       "Rating, Notes) VALUES (?, ?, ?, 'Home', ?, ?, ?, ?)",
                       {m_smith, date, action, visitor1, visitor2, rating, notes});
}

void TestMemberScreenProspects::doubleClickRow(int row)
{
    m_screen->pages()->setCurrentIndex(MemberEntryScreen::TabProspectInfo);
    QTRY_VERIFY(grid()->isVisible());
    const QRect cell = grid()->visualRect(grid()->model()->index(row, 0));
    // A double-click is a click, then a second one.
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
}

void TestMemberScreenProspects::typeDate(const QString& boxName, const QString& isoDate) const
{
    auto* box = find<DateBox>(boxName);
    GuiTest::type(box, isoDate);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(box->date(), QDate::fromString(isoDate, Qt::ISODate));
}

void TestMemberScreenProspects::gridListsThePersonsContactsNewestFirst()
{
    const qint64 first = addContact("2026-01-10", "Visit", m_deacon, {}, "Interested", "First visit");
    const qint64 letter = addContact("2026-02-01", "Letter", m_deacon, m_sanders, "Undecided", "");
    // The same day, entered later: listed before the letter.
    const qint64 call = addContact("2026-02-01", "Phone Call", m_sanders, {}, "Very Interested", "Called back");
    db().insert("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Visitor1, Rating) "
                "VALUES (?, '2026-03-01', 'Visit', ?, 'Interested')",
                {m_sanders, m_deacon});

    m_screen->loadMember(m_smith);
    const QAbstractItemModel* model = grid()->model();
    QStringList headers;
    for (int column = 0; column < model->columnCount(); ++column) {
        headers << model->headerData(column, Qt::Horizontal).toString();
    }
    QCOMPARE(headers, QStringList({"ID", "Date", "Action", "Type", "Rating", "Visitor 1", "Visitor 2", "Notes"}));
    QCOMPARE(model->rowCount(), 3);
    const QString february = shortDate(QDate(2026, 2, 1));
    QCOMPARE(gridRow(0), QStringList({QString::number(call), february, "Phone Call", "Home", "Very Interested",
                                      "Sanders, Sam", "", "Called back"}));
    QCOMPARE(gridRow(1), QStringList({QString::number(letter), february, "Letter", "Home", "Undecided", "Deacon, Dan",
                                      "Sanders, Sam", ""}));
    QCOMPARE(gridRow(2), QStringList({QString::number(first), shortDate(QDate(2026, 1, 10)), "Visit", "Home",
                                      "Interested", "Deacon, Dan", "", "First visit"}));
    QCOMPARE(grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
    // The notes take the wide column.
    QVERIFY(grid()->columnWidth(7) > grid()->columnWidth(0));

    // A new person has no contacts.
    click("btnNew");
    QCOMPARE(model->rowCount(), 0);
}

void TestMemberScreenProspects::doubleClickOpensTheContact()
{
    addContact("2026-01-10", "Visit", m_deacon, {}, "Interested", "");
    const qint64 later = addContact("2026-02-01", "Letter", m_deacon, {}, "Undecided", "");
    m_screen->loadMember(m_smith);
    m_screen->pages()->setCurrentIndex(MemberEntryScreen::TabProspectInfo);
    doubleClickRow(0);
    QVERIFY(contactScreen() != nullptr);
    QCOMPARE(onContactScreen<QLineEdit>("txtID")->text(), QString::number(later));
    QCOMPARE(onContactScreen<QComboBox>("cmbAction")->currentText(), "Letter");
    QCOMPARE(messages(MessageLog::takeShown()), QStringList());
}

void TestMemberScreenProspects::newContactSavesANewPersonFirst_data()
{
    QTest::addColumn<bool>("complete");
    QTest::newRow("prospect status missing") << false;
    QTest::newRow("required fields filled") << true;
}

void TestMemberScreenProspects::newContactSavesANewPersonFirst()
{
    QFETCH(bool, complete);
    // The contact permission alone: the person is saved without the save buttons' permission test.
    grantOnly({"Prospect Contact Entry/Edit"});
    const qint64 people = count("SELECT COUNT(*) FROM Member");
    choose("cmbMemberStatus", "Member");
    type("txtFName", "Nina");
    type("txtLName", "Newcomer");
    choose("cmbChurchStatus", "Active");
    if (complete) {
        choose("cmbProspectStatus", "Active");
    }
    m_screen->pages()->setCurrentIndex(MemberEntryScreen::TabProspectInfo);
    typeDate("dtNextContactDate", "2026-04-20");
    choose("cmbNextContactAction", "Letter");
    click("btnNewContact");

    if (!complete) {
        QCOMPARE(messages(MessageLog::takeShown()),
                 QStringList({"Required Fields | All fields in blue are required."}));
        QVERIFY(contactScreen() == nullptr);
        QCOMPARE(count("SELECT COUNT(*) FROM Member"), people);
        QCOMPARE(m_screen->shownMemberId(), 0);
        return;
    }
    QCOMPARE(messages(MessageLog::takeShown()), QStringList());
    const qint64 nina = count("SELECT ID FROM Member WHERE Last_Name = 'Newcomer'");
    QVERIFY(nina > 0);
    QCOMPARE(count("SELECT COUNT(*) FROM Member"), people + 1);
    QCOMPARE(m_screen->shownMemberId(), nina);
    QVERIFY(!m_screen->hasUnsavedChanges());
    QVERIFY(contactScreen() != nullptr);
    QCOMPARE(PairedList::selectedId(onContactScreen<QComboBox>("cmbProspect")), std::optional(nina));
    QCOMPARE(onContactScreen<DateBox>("dtDate")->date(), QDate(2026, 4, 20));
    QCOMPARE(onContactScreen<QComboBox>("cmbAction")->currentText(), "Letter");
}

void TestMemberScreenProspects::newContactTakesTheStepOnScreen_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("proposedAction");
    // Smith's stored step is a visit on 20 March.
    QTest::newRow("action changed") << "Letter"
                                    << "Letter";
    QTest::newRow("no action on screen keeps the stored one") << ""
                                                              << "Visit";
}

void TestMemberScreenProspects::newContactTakesTheStepOnScreen()
{
    QFETCH(QString, action);
    QFETCH(QString, proposedAction);
    m_screen->loadMember(m_smith);
    m_screen->pages()->setCurrentIndex(MemberEntryScreen::TabProspectInfo);
    typeDate("dtNextContactDate", "2026-04-01");
    if (action.isEmpty()) {
        GuiTest::chooseAt(find<QComboBox>("cmbNextContactAction"), 0);
    } else {
        choose("cmbNextContactAction", action);
    }
    click("btnNewContact");

    QCOMPARE(messages(MessageLog::takeShown()), QStringList());
    QVERIFY(contactScreen() != nullptr);
    QCOMPARE(PairedList::selectedId(onContactScreen<QComboBox>("cmbProspect")), std::optional(m_smith));
    QCOMPARE(onContactScreen<DateBox>("dtDate")->date(), QDate(2026, 4, 1));
    QCOMPARE(onContactScreen<QComboBox>("cmbAction")->currentText(), proposedAction);
    // The stored person is not saved by New Contact: his step stays as stored, the edit unsaved.
    QCOMPARE(db().scalar("SELECT Prospect_Next_Contact_Date FROM Member WHERE ID = ?", {m_smith}).toString(),
             "2026-03-20");
    QVERIFY(m_screen->hasUnsavedChanges());
}

void TestMemberScreenProspects::withoutContactPermissionNothingOpens_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("message");
    QTest::newRow("new contact") << false << "Invalid Permission | You do not have permission to view this record.";
    QTest::newRow("double-click") << true << "Invalid Permission | You do not have permission to edit this record.";
}

void TestMemberScreenProspects::withoutContactPermissionNothingOpens()
{
    QFETCH(bool, doubleClick);
    QFETCH(QString, message);
    grantOnly({"Member Entry/Edit"});
    addContact("2026-01-10", "Visit", m_deacon, {}, "Interested", "");
    m_screen->loadMember(m_smith);
    m_screen->pages()->setCurrentIndex(MemberEntryScreen::TabProspectInfo);
    QSignalSpy newContact(&m_context->requests(), &ScreenRequests::newContact);
    QSignalSpy showContact(&m_context->requests(), &ScreenRequests::showContact);
    if (doubleClick) {
        doubleClickRow(0);
    } else {
        click("btnNewContact");
    }
    QCOMPARE(messages(MessageLog::takeShown()), QStringList({message}));
    QCOMPARE(newContact.count(), 0);
    QCOMPARE(showContact.count(), 0);
    QVERIFY(contactScreen() == nullptr);
}

void TestMemberScreenProspects::savedContactRefreshesOnlyContactsAndStep_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("nothing else typed") << "";
    QTest::newRow("unsaved source kept") << "Neighbour";
}

void TestMemberScreenProspects::savedContactRefreshesOnlyContactsAndStep()
{
    QFETCH(QString, source);
    m_screen->loadMember(m_smith);
    if (!source.isEmpty()) {
        type("txtProspectSource", source);
    }
    m_screen->pages()->setCurrentIndex(MemberEntryScreen::TabProspectInfo);
    QCOMPARE(grid()->model()->rowCount(), 0);
    click("btnNewContact");
    QVERIFY(contactScreen() != nullptr);
    auto* visitor = onContactScreen<QComboBox>("cmbVisitor1");
    GuiTest::chooseAt(visitor, visitor->findText("Deacon, ", Qt::MatchStartsWith));
    GuiTest::choose(onContactScreen<QComboBox>("cmbRating"), "Interested");
    GuiTest::click(onContactScreen<QPushButton>("btnSave"));
    QCOMPARE(messages(MessageLog::takeShown()), QStringList());

    // The visit moved Smith on in the plan; the member screen shows the contact and the new step.
    const Row stored = *db().selectOne("SELECT * FROM Member WHERE ID = ?", {m_smith});
    QCOMPARE(stored.text(u"Prospect_Phase"), "Follow Up");
    QCOMPARE(grid()->model()->rowCount(), 1);
    QCOMPARE(gridRow(0).at(2), "Visit");
    QCOMPARE(find<QComboBox>("cmbNextPhase")->currentText(), "Follow Up");
    QCOMPARE(find<QComboBox>("cmbNextContactAction")->currentText(), stored.text(u"Prospect_Next_Contact_Action"));
    QCOMPARE(find<DateBox>("dtNextContactDate")->date(),
             QDate::fromString(stored.text(u"Prospect_Next_Contact_Date"), Qt::ISODate));
    // What else was typed stays on screen and unsaved; an untouched person is not marked changed.
    QCOMPARE(find<QLineEdit>("txtProspectSource")->text(), source);
    QCOMPARE(m_screen->hasUnsavedChanges(), !source.isEmpty());
    QVERIFY(stored.isNull(u"Prospect_Source") || stored.text(u"Prospect_Source").isEmpty());
}

QTEST_MAIN(TestMemberScreenProspects)
#include "tst_memberscreenprospects.moc"
