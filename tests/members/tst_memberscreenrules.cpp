#include "memberscreenfixture.h"

// The member screen's page rules: what the church status opens, the date switches, the newsletter, organizations, the
// next contact and the envelope check.
class TestMemberScreenRules : public MemberScreenFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void churchStatusRule_data();
    void churchStatusRule();
    void dateRuleOnShow_data();
    void dateRuleOnShow();
    void uncheckedDateSavesNoDate_data();
    void uncheckedDateSavesNoDate();
    void newsletterByEmailNeedsAnAddress_data();
    void newsletterByEmailNeedsAnAddress();
    void organizationButtonsMoveEntriesInReverse();
    void titleBlankEntryStoresABlank();
    void nextContactIsStoredWholeOrNotAtAll_data();
    void nextContactIsStoredWholeOrNotAtAll();
    void envelopeCheckOnLeaving_data();
    void envelopeCheckOnLeaving();
};

void TestMemberScreenRules::churchStatusRule_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("then");
    QTest::addColumn<bool>("open");
    QTest::newRow("active") << ""
                            << "Active" << true;
    QTest::newRow("inactive") << ""
                              << "InActive" << false;
    QTest::newRow("active then inactive") << "Active"
                                          << "InActive" << false;
    QTest::newRow("inactive then active") << "InActive"
                                          << "Active" << true;
}

void TestMemberScreenRules::churchStatusRule()
{
    QFETCH(QString, first);
    QFETCH(QString, then);
    QFETCH(bool, open);
    // By the user's choice: the date pickers open with their boxes although no box is ticked.
    if (!first.isEmpty()) {
        choose("cmbChurchStatus", first);
    }
    choose("cmbChurchStatus", then);
    for (const QString& name : kMemberFields) {
        QVERIFY2(find<QWidget>(name)->isEnabled() == open, qPrintable(name));
    }
    if (open) {
        // The box then switches its picker as before.
        auto* box = find<QCheckBox>("chkBaptized");
        auto* date = find<DateBox>("dtBaptized");
        QVERIFY(!box->isChecked());
        box->click();
        QVERIFY(box->isChecked());
        QVERIFY(date->isEnabled());
        box->click();
        QVERIFY(!box->isChecked());
        QVERIFY(!date->isEnabled());
    }
    // ... and by showing people with these statuses: the status opens the fields, then each shown date
    // switches its picker with its box, so only the dated picker is open.
    const qint64 a = TestDatabase::addPerson(db(), "Al", "Alpha", "Member", first.isEmpty() ? then : first);
    const qint64 b = TestDatabase::addPerson(db(), "Bo", "Beta", "Member", then);
    db().execute("UPDATE Member SET Member_Since = '2001-02-03' WHERE ID IN (?, ?)", {a, b});
    MessageLog::setNextAnswer(MessageAnswer::Discard); // the status chosen above is not kept
    m_screen->loadMember(a);
    m_screen->loadMember(b);
    for (const QString& name : kMemberFields) {
        QVERIFY2(find<QWidget>(name)->isEnabled() == (open && (!name.startsWith("dt") || name == "dtMemberSince")),
                 qPrintable(name));
    }
    // Choosing the status again on the shown person opens every picker, ticked or not.
    choose("cmbChurchStatus", "InActive");
    choose("cmbChurchStatus", then);
    for (const QString& name : kMemberFields) {
        QVERIFY2(find<QWidget>(name)->isEnabled() == open, qPrintable(name));
    }
    // Not part of the rule.
    QVERIFY(find<QWidget>("cmbDeacon")->isEnabled());
    QVERIFY(find<QWidget>("chkNewMail")->isEnabled());
    QVERIFY(find<QWidget>("chkNewEmail")->isEnabled());
}

void TestMemberScreenRules::dateRuleOnShow_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("with a birth date") << QVariant("1970-08-09");
    QTest::newRow("null") << QVariant();
    QTest::newRow("empty text") << QVariant("");
}

void TestMemberScreenRules::dateRuleOnShow()
{
    QFETCH(QVariant, stored);
    const qint64 id = TestDatabase::addPerson(db(), "Al", "Alpha");
    db().execute("UPDATE Member SET Date_Of_Birth = ? WHERE ID = ?", {stored, id});
    // Show someone with a birth date first, so that nothing is left over from him.
    const qint64 other = TestDatabase::addPerson(db(), "Bo", "Beta");
    db().execute("UPDATE Member SET Date_Of_Birth = '1950-01-01' WHERE ID = ?", {other});
    m_screen->loadMember(other);
    m_screen->loadMember(id);
    const bool has = !stored.toString().isEmpty();
    QCOMPARE(find<QCheckBox>("chkDOB")->isChecked(), has);
    QCOMPARE(find<DateBox>("dtDOB")->isEnabled(), has);
    QCOMPARE(find<DateBox>("dtDOB")->date(), has ? QDate(1970, 8, 9) : kToday);
}

void TestMemberScreenRules::uncheckedDateSavesNoDate_data()
{
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("column");
    // The church dates of an "Active" person are open before their box is ticked; the others are not.
    QTest::addColumn<bool>("openUnticked");
    QTest::newRow("birth") << "chkDOB"
                           << "dtDOB"
                           << "Date_Of_Birth" << false;
    QTest::newRow("anniversary") << "chkAnnivDate"
                                 << "dtAnnivDate"
                                 << "Anniversary_Date" << false;
    QTest::newRow("member since") << "chkMemberSince"
                                  << "dtMemberSince"
                                  << "Member_Since" << true;
    QTest::newRow("came forward") << "chkCameForward"
                                  << "dtCameForward"
                                  << "Came_Forward" << true;
    QTest::newRow("baptized") << "chkBaptized"
                              << "dtBaptized"
                              << "Baptized" << true;
    QTest::newRow("letter out") << "chkLetterOut"
                                << "dtLetterOut"
                                << "Letter_Out" << true;
    QTest::newRow("deceased") << "chkDeceased"
                              << "dtDeceased"
                              << "Deceased_Date" << true;
}

void TestMemberScreenRules::uncheckedDateSavesNoDate()
{
    QFETCH(QString, check);
    QFETCH(QString, picker);
    QFETCH(QString, column);
    QFETCH(bool, openUnticked);
    fillRequired("Ann", "Archer");
    auto* box = find<QCheckBox>(check);
    auto* date = find<DateBox>(picker);
    QVERIFY(!box->isChecked());
    QCOMPARE(date->isEnabled(), openUnticked);
    // A date on the picker of an unticked box is not saved.
    date->setDate(QDate(1999, 12, 31));
    click("btnSaveNew");
    const qint64 id = m_screen->shownMemberId();
    QVERIFY(id > 0);
    QVERIFY(db().scalar("SELECT " + column + " FROM Member WHERE ID = ?", {id}).isNull());

    box->click();
    QVERIFY(date->isEnabled());
    click("btnSaveNew");
    QCOMPARE(db().scalar("SELECT " + column + " FROM Member WHERE ID = ?", {id}).toString(), QString("1999-12-31"));

    box->click();
    QVERIFY(!date->isEnabled());
    QCOMPARE(date->date(), QDate(1999, 12, 31));
    click("btnSaveNew");
    QVERIFY(db().scalar("SELECT " + column + " FROM Member WHERE ID = ?", {id}).isNull());
}

void TestMemberScreenRules::newsletterByEmailNeedsAnAddress_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<bool>("stays");
    QTest::newRow("no address") << "" << false;
    QTest::newRow("with address") << "ann@example.org" << true;
}

void TestMemberScreenRules::newsletterByEmailNeedsAnAddress()
{
    QFETCH(QString, email);
    QFETCH(bool, stays);
    type("txtEmail", email);
    find<QCheckBox>("chkNewEmail")->click();
    QCOMPARE(find<QCheckBox>("chkNewEmail")->isChecked(), stays);
    const QStringList shown = messages(MessageLog::takeShown());
    if (stays) {
        QCOMPARE(shown, QStringList());
    } else {
        QCOMPARE(shown, QStringList{"No E-Mail Address | You cannot select Newsletter Via E-Mail unless the member has "
                                    "an E-Mail address entered on the Contact tab."});
        QCOMPARE(MessageLog::takeShown().size(), 0);
    }
    // The mail box has no rule.
    find<QCheckBox>("chkNewMail")->click();
    QVERIFY(find<QCheckBox>("chkNewMail")->isChecked());
}

void TestMemberScreenRules::organizationButtonsMoveEntriesInReverse()
{
    auto* all = find<QListWidget>("lstAllOrganizations");
    auto* member = find<QListWidget>("lstMemberOrganizations");
    // "< Rem" on an empty member list and "Add >" without a current entry move nothing.
    click("btnRemove");
    all->setCurrentRow(-1);
    click("btnAdd");
    QCOMPARE(member->count(), 0);

    click("btnAddAll");
    QCOMPARE(texts(member), (QStringList{"Youth Group", "Women's Ministry", "Men's Ministry", "Choir"}));
    QCOMPARE(all->count(), 0);

    // Two selected entries go back, the later one first.
    member->clearSelection();
    member->setCurrentRow(0, QItemSelectionModel::Select);
    member->item(2)->setSelected(true);
    click("btnRemove");
    QCOMPARE(texts(all), (QStringList{"Men's Ministry", "Youth Group"}));
    QCOMPARE(texts(member), (QStringList{"Women's Ministry", "Choir"}));

    all->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    click("btnAdd");
    QCOMPARE(texts(member), (QStringList{"Women's Ministry", "Choir", "Youth Group"}));

    click("btnRemoveAll");
    QCOMPARE(texts(all), (QStringList{"Men's Ministry", "Youth Group", "Choir", "Women's Ministry"}));
    QCOMPARE(member->count(), 0);
}

void TestMemberScreenRules::titleBlankEntryStoresABlank()
{
    fillRequired("Ann", "Archer");
    choose("cmbTitle", " ");
    click("btnSaveNew");
    const qint64 id = m_screen->shownMemberId();
    QCOMPARE(db().scalar("SELECT Title FROM Member WHERE ID = ?", {id}), QVariant(" "));
    m_screen->loadMember(id);
    QCOMPARE(find<QComboBox>("cmbTitle")->currentIndex(), 0);
    // No title chosen at all stores the empty text.
    find<QComboBox>("cmbTitle")->setCurrentIndex(-1);
    click("btnSaveNew");
    QCOMPARE(db().scalar("SELECT Title FROM Member WHERE ID = ?", {id}), QVariant(""));
}

void TestMemberScreenRules::nextContactIsStoredWholeOrNotAtAll_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("stored");
    QTest::newRow("phase and action") << "Welcome"
                                      << "Visit" << true;
    QTest::newRow("phase without action") << "Welcome"
                                          << "" << false;
    QTest::newRow("action without phase") << ""
                                          << "Letter" << false;
}

void TestMemberScreenRules::nextContactIsStoredWholeOrNotAtAll()
{
    QFETCH(QString, phase);
    QFETCH(QString, action);
    QFETCH(bool, stored);
    fillRequired("Ann", "Archer");
    choose("cmbNextPhase", phase);
    choose("cmbNextContactAction", action);
    find<DateBox>("dtNextContactDate")->setDate(QDate(2026, 4, 20));
    type("txtNextType", "Home visit");
    click("btnSaveNew");
    const auto row = db().selectOne("SELECT Prospect_Phase, Prospect_Next_Contact_Date, Prospect_Next_Contact_Action, "
                                    "Prospect_Next_Contact_Type FROM Member WHERE ID = ?",
                                    {m_screen->shownMemberId()});
    QVERIFY(row.has_value());
    if (stored) {
        QCOMPARE(row->text(u"Prospect_Phase"), phase);
        QCOMPARE(row->text(u"Prospect_Next_Contact_Date"), QString("2026-04-20"));
        QCOMPARE(row->text(u"Prospect_Next_Contact_Action"), action);
        QCOMPARE(row->text(u"Prospect_Next_Contact_Type"), QString("Home visit"));
    } else {
        for (int column = 0; column < 4; ++column) {
            QVERIFY(row->value(column).isNull());
        }
    }
}

void TestMemberScreenRules::envelopeCheckOnLeaving_data()
{
    QTest::addColumn<bool>("showOwner");
    QTest::addColumn<QString>("envelope");
    QTest::addColumn<QString>("expected");
    const QString warning = "Envelope Number In Use | A Member is already assigned this envelope: Ann Archer. Two "
                            "members cannot have the same envelope number.";
    QTest::newRow("another person's number") << false << "101" << warning;
    QTest::newRow("own number") << true << "101"
                                << "";
    QTest::newRow("new person") << false << "101" << warning;
    QTest::newRow("free number") << false << "999"
                                 << "";
    QTest::newRow("empty") << false << ""
                           << "";
}

void TestMemberScreenRules::envelopeCheckOnLeaving()
{
    QFETCH(bool, showOwner);
    QFETCH(QString, envelope);
    QFETCH(QString, expected);
    const qint64 ann = TestDatabase::addPerson(db(), "Ann", "Archer");
    db().execute("UPDATE Member SET Envelope = '101' WHERE ID = ?", {ann});
    const qint64 bob = TestDatabase::addPerson(db(), "Bob", "Baker");
    if (QByteArray(QTest::currentDataTag()) != "new person") {
        m_screen->loadMember(showOwner ? ann : bob);
    }
    auto* box = find<QLineEdit>("txtEnv");
    type("txtEnv", envelope);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &leave);
    QCOMPARE(messages(MessageLog::takeShown()), expected.isEmpty() ? QStringList() : QStringList{expected});
    // The box keeps the number.
    QCOMPARE(box->text(), envelope);
}

QTEST_MAIN(TestMemberScreenRules)
#include "tst_memberscreenrules.moc"
