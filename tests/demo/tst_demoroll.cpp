#include "demoroll.h"

#include "data/database.h"
#include "data/schema.h"
#include "testdatabase.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestDemoRoll : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void everyWeekIsASundayOfTheYearCovered();
    void attendanceRowsHoldAMarkAndArePerPersonAndWeek();
    void referencesPointAtExistingRows_data();
    void referencesPointAtExistingRows();
    void lookupTextsComeFromTheirLists_data();
    void lookupTextsComeFromTheirLists();
    void envelopesAreUniqueAndGiftsUseTheirGiversEnvelope();
    void deaconsHoldTheDeaconResponsibility();
    void householdsAreLinkedToTheirHead();
    void namesWithQuotesAndAccentsArePresent_data();
    void namesWithQuotesAndAccentsArePresent();
    void everyPersonHasTheNameKeyOfHisNames();
    void prospectNextStepIsAllSetOrAllNull();
    void phoneNumbersFollowTheMask();
    void rollHasVariedPeopleAndEveryKindOfRecord();
    void churchRowAndOutreachPlan();
    void noLoginIsCreated();
    void sameSeedGivesSameRollAndOtherSeedAnother();
    void refusesAnExistingFile();

private:
    qint64 count(const QString& sql, const QVariantList& params = {});
    static QString digest(Database& db);

    QTemporaryDir m_dir;
    DemoRollOptions m_options;
    std::unique_ptr<Database> m_db;
};

void TestDemoRoll::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_options.people = 300;
    m_options.years = 1;
    m_options.seed = 7;
    m_options.until = QDate(2025, 6, 15);
    m_db = createDemoRoll(m_dir.filePath(QStringLiteral("demo.db")), m_options);
}

void TestDemoRoll::cleanupTestCase()
{
    m_db.reset();
}

qint64 TestDemoRoll::count(const QString& sql, const QVariantList& params)
{
    return m_db->scalar(sql, params).toLongLong();
}

void TestDemoRoll::everyWeekIsASundayOfTheYearCovered()
{
    const Rows weeks = m_db->select(QStringLiteral("SELECT DISTINCT WeekOf FROM AttendanceData ORDER BY WeekOf"));
    // Every Sunday of the year up to the last one has somebody there.
    size_t sundays = 0;
    for (QDate day = m_options.until.addYears(-1).addDays(1); day <= m_options.until; day = day.addDays(1)) {
        sundays += day.dayOfWeek() == Qt::Sunday ? 1 : 0;
    }
    QCOMPARE(weeks.size(), sundays);
    for (const Row& row : weeks) {
        const auto week = row.date(u"WeekOf");
        QVERIFY2(week.has_value(), qPrintable(row.text(u"WeekOf")));
        QVERIFY2(week->dayOfWeek() == Qt::Sunday, qPrintable(row.text(u"WeekOf")));
        QVERIFY(*week > m_options.until.addYears(-1));
        QVERIFY(*week <= m_options.until);
    }
}

void TestDemoRoll::attendanceRowsHoldAMarkAndArePerPersonAndWeek()
{
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM AttendanceData")) > 1000);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM AttendanceData WHERE SS + SL + RBD + WS + DT + SE + WN = 0")),
             0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM AttendanceData WHERE SS NOT IN (0, 1) OR SL NOT IN (0, 1) OR "
                                  "RBD NOT IN (0, 1) OR WS NOT IN (0, 1) OR DT NOT IN (0, 1) OR SE NOT IN (0, 1) OR "
                                  "WN NOT IN (0, 1)")),
             0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM (SELECT WeekOf, MemberID FROM AttendanceData GROUP BY WeekOf, "
                                  "MemberID HAVING count(*) > 1)")),
             0);
    // Nobody who left before the year began, and no prospect before his first visit, has a row.
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM AttendanceData a JOIN Member m ON m.ID = a.MemberID "
                                  "WHERE a.WeekOf > m.Letter_Out OR a.WeekOf > m.Deceased_Date OR a.WeekOf < "
                                  "m.Date_Of_Birth")),
             0);
}

void TestDemoRoll::referencesPointAtExistingRows_data()
{
    QTest::addColumn<QString>("orphans");
    const auto person = [](const char* table, const char* column) {
        return QStringLiteral("SELECT count(*) FROM \"%1\" t WHERE t.\"%2\" IS NOT NULL AND NOT EXISTS (SELECT 1 FROM "
                              "Member m WHERE m.ID = t.\"%2\")")
            .arg(QLatin1String(table), QLatin1String(column));
    };
    const auto row = [](const char* table, const char* column, const char* target) {
        return QStringLiteral("SELECT count(*) FROM \"%1\" t WHERE t.\"%2\" IS NOT NULL AND NOT EXISTS (SELECT 1 FROM "
                              "\"%3\" x WHERE x.ID = t.\"%2\")")
            .arg(QLatin1String(table), QLatin1String(column), QLatin1String(target));
    };
    QTest::newRow("family head") << person("Family_Connection", "Member_ID");
    QTest::newRow("family relative") << person("Family_Connection", "Relative_Member_ID");
    QTest::newRow("deacon") << person("Member", "DeaconID");
    QTest::newRow("Sunday School class") << row("Member", "Sunday_School_Class", "Sunday_School");
    QTest::newRow("Discipleship Training class")
        << row("Member", "Discipleship_Training_Class", "Discipleship_Training");
    QTest::newRow("Wednesday Night class") << row("Member", "Wednesday_Night_Class", "Wednesday_Night");
    QTest::newRow("care group") << row("Member", "Care_Group_Assigned", "Care_Group");
    QTest::newRow("prospect class") << row("Member", "Prospect_Sunday_School_Class_Assigned", "Sunday_School");
    QTest::newRow("prospect care group") << row("Member", "Prospect_Care_Group_Assigned", "Care_Group");
    QTest::newRow("care group's class") << row("Care_Group", "Sunday_School_Class", "Sunday_School");
    QTest::newRow("Sunday School teacher") << person("Sunday_School", "Teacher");
    QTest::newRow("Sunday School assistant") << person("Sunday_School", "Asst_Teacher");
    QTest::newRow("Discipleship Training teacher") << person("Discipleship_Training", "Teacher");
    QTest::newRow("Discipleship Training assistant") << person("Discipleship_Training", "Asst_Teacher");
    QTest::newRow("Wednesday Night teacher") << person("Wednesday_Night", "Teacher");
    QTest::newRow("Wednesday Night assistant") << person("Wednesday_Night", "Asst_Teacher");
    QTest::newRow("care group leader") << person("Care_Group", "Group_Leader");
    QTest::newRow("care group assistant") << person("Care_Group", "Asst_Group_Leader");
    QTest::newRow("contact's prospect") << person("Prospect_Contact", "Prospect_ID");
    QTest::newRow("first visitor") << person("Prospect_Contact", "Visitor1");
    QTest::newRow("second visitor") << person("Prospect_Contact", "Visitor2");
    QTest::newRow("attender") << person("AttendanceData", "MemberID");
    QTest::newRow("giver") << person("Member_Contributions", "MemberID");
    QTest::newRow("responsibility holder") << person("Member_Responsibility", "Member_ID");
    QTest::newRow("organization member") << person("Member_Organizations", "MemberID");
    QTest::newRow("care group without leader")
        << QStringLiteral("SELECT count(*) FROM Care_Group WHERE Group_Leader IS NULL");
    QTest::newRow("contact without first visitor")
        << QStringLiteral("SELECT count(*) FROM Prospect_Contact WHERE Visitor1 IS NULL");
    QTest::newRow("class without teacher")
        << QStringLiteral("SELECT (SELECT count(*) FROM Sunday_School WHERE Teacher IS NULL) + (SELECT count(*) FROM "
                          "Discipleship_Training WHERE Teacher IS NULL) + (SELECT count(*) FROM Wednesday_Night "
                          "WHERE Teacher IS NULL)");
}

void TestDemoRoll::referencesPointAtExistingRows()
{
    QFETCH(QString, orphans);
    QCOMPARE(count(orphans), 0);
}

void TestDemoRoll::lookupTextsComeFromTheirLists_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("entry");
    QTest::newRow("relationship") << "Family_Connection"
                                  << "Relationship"
                                  << "Relationships"
                                  << "Relationships";
    QTest::newRow("member status") << "Member"
                                   << "Status"
                                   << "MemberStatus"
                                   << "Status";
    QTest::newRow("church status") << "Member"
                                   << "Member_Active_Status"
                                   << "ChurchStatus"
                                   << "Status";
    QTest::newRow("prospect status") << "Member"
                                     << "Prospect_Active_Status"
                                     << "ProspectStatus"
                                     << "Status";
    QTest::newRow("state") << "Member"
                           << "State"
                           << "State"
                           << "State";
    QTest::newRow("Sunday School level") << "Member"
                                         << "Sunday_School_Attendance_Level"
                                         << "AttendanceLevels"
                                         << "Levels";
    QTest::newRow("worship level") << "Member"
                                   << "Worship_Service_Attendance_Level"
                                   << "AttendanceLevels"
                                   << "Levels";
    QTest::newRow("Wednesday level") << "Member"
                                     << "Wednesday_Night_Attendance_Level"
                                     << "AttendanceLevels"
                                     << "Levels";
    QTest::newRow("next action") << "Member"
                                 << "Prospect_Next_Contact_Action"
                                 << "Prospect_Action"
                                 << "Action";
    QTest::newRow("phase") << "Member"
                           << "Prospect_Phase"
                           << "Outreach_Phase"
                           << "Phase";
    QTest::newRow("contact action") << "Prospect_Contact"
                                    << "Action"
                                    << "Prospect_Action"
                                    << "Action";
    QTest::newRow("rating") << "Prospect_Contact"
                            << "Rating"
                            << "Prospect_Contact_Rating"
                            << "Rating";
    QTest::newRow("phase action") << "Outreach_Phase"
                                  << "Action"
                                  << "Prospect_Action"
                                  << "Action";
    QTest::newRow("designation") << "Member_Contributions"
                                 << "Designation"
                                 << "ContributionDesignation"
                                 << "Name";
    QTest::newRow("organization") << "Member_Organizations"
                                  << "Organization"
                                  << "Church_Organizations"
                                  << "Name";
    QTest::newRow("responsibility") << "Member_Responsibility"
                                    << "Responsibility"
                                    << "Responsibilities"
                                    << "Name";
}

void TestDemoRoll::lookupTextsComeFromTheirLists()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, list);
    QFETCH(QString, entry);
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE \"%2\" IS NOT NULL").arg(table, column)) > 0);
    const QString strays = QStringLiteral("SELECT count(*) FROM \"%1\" t WHERE t.\"%2\" IS NOT NULL AND t.\"%2\" <> '' "
                                          "AND t.\"%2\" NOT IN (SELECT \"%4\" FROM \"%3\")")
                               .arg(table, column, list, entry);
    QCOMPARE(count(strays), 0);
}

void TestDemoRoll::envelopesAreUniqueAndGiftsUseTheirGiversEnvelope()
{
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member_Contributions")) > 100);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM (SELECT Envelope FROM Member WHERE Envelope <> '' GROUP BY "
                                  "Envelope HAVING count(*) > 1)")),
             0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member_Contributions c JOIN Member m ON m.ID = c.MemberID "
                                  "WHERE m.Envelope = '' OR c.EnvelopeNumber <> m.Envelope")),
             0);
    // Cents as whole numbers, every gift positive, entered by someone after it was given.
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member_Contributions WHERE typeof(Amount) <> 'integer' OR "
                                  "Amount <= 0 OR UserName = '' OR DateEntered < ContributionDate")),
             0);
    // The givers with a current envelope are offered in the contribution list.
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member WHERE Envelope <> '' AND Status IN ('Member', "
                                  "'Prospect') AND ShowInContributionList IS NULL")),
             0);
}

void TestDemoRoll::deaconsHoldTheDeaconResponsibility()
{
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member WHERE DeaconID IS NOT NULL")) > 0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member m WHERE m.DeaconID IS NOT NULL AND NOT EXISTS (SELECT 1 "
                                  "FROM Member_Responsibility r WHERE r.Member_ID = m.DeaconID AND r.Responsibility = "
                                  "'Deacon' AND r.\"Start\" <= ? AND r.\"End\" >= ?)"),
                   {m_options.until, m_options.until}),
             0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member WHERE DeaconID = ID")), 0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member_Responsibility WHERE \"Start\" IS NULL OR \"End\" IS "
                                  "NULL OR \"End\" < \"Start\"")),
             0);
}

void TestDemoRoll::householdsAreLinkedToTheirHead()
{
    // A relative is never a head, each is linked once, and each link joins two different people.
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Family_Connection")) > 50);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Family_Connection f JOIN Member h ON h.ID = f.Member_ID JOIN "
                                  "Member r ON r.ID = f.Relative_Member_ID WHERE h.Head_Of_Household <> 1 OR "
                                  "r.Head_Of_Household <> 0 OR h.ID = r.ID")),
             0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM (SELECT Relative_Member_ID FROM Family_Connection GROUP BY "
                                  "Relative_Member_ID HAVING count(*) > 1)")),
             0);
    // Spouses share the anniversary and the address of their head.
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Family_Connection f JOIN Member h ON h.ID = f.Member_ID JOIN "
                                  "Member r ON r.ID = f.Relative_Member_ID WHERE f.Relationship = 'Spouse' AND "
                                  "(h.Anniversary_Date IS NOT r.Anniversary_Date OR h.Address_1 <> r.Address_1 OR "
                                  "h.Marital_Status <> 'Married')")),
             0);
    // Everyone but the placeholder is a head or somebody's relative.
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member m WHERE m.ID > 1 AND m.Head_Of_Household = 0 AND NOT "
                                  "EXISTS (SELECT 1 FROM Family_Connection f WHERE f.Relative_Member_ID = m.ID)")),
             0);
}

void TestDemoRoll::namesWithQuotesAndAccentsArePresent_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("name");
    QTest::newRow("O'Brien") << "Last_Name" << QStringLiteral("O'Brien");
    QTest::newRow("D'Angelo") << "Last_Name" << QStringLiteral("D'Angelo");
    QTest::newRow("Ölander") << "Last_Name" << QString::fromUtf8("Ölander");
    QTest::newRow("Müller") << "Last_Name" << QString::fromUtf8("Müller");
    QTest::newRow("José") << "First_Name" << QString::fromUtf8("José");
    QTest::newRow("Zoë") << "First_Name" << QString::fromUtf8("Zoë");
    QTest::newRow("Łukasz") << "First_Name" << QString::fromUtf8("Łukasz");
}

void TestDemoRoll::namesWithQuotesAndAccentsArePresent()
{
    QFETCH(QString, column);
    QFETCH(QString, name);
    QVERIFY2(count(QStringLiteral("SELECT count(*) FROM Member WHERE %1 = ?").arg(column), {name}) > 0,
             qPrintable(name));
}

void TestDemoRoll::everyPersonHasTheNameKeyOfHisNames()
{
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member")) > 300);
    QCOMPARE(TestDatabase::peopleWithWrongNameKey(*m_db), QList<qint64>());
}

void TestDemoRoll::prospectNextStepIsAllSetOrAllNull()
{
    const QString nulls =
        QStringLiteral("(Prospect_Phase IS NULL) + (Prospect_Next_Contact_Date IS NULL) + "
                       "(Prospect_Next_Contact_Action IS NULL) + (Prospect_Next_Contact_Type IS NULL)");
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member WHERE %1 NOT IN (0, 4)").arg(nulls)), 0);
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member WHERE Status = 'Prospect' AND %1 = 0").arg(nulls)) > 0);
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member WHERE Status = 'Prospect' AND %1 = 4").arg(nulls)) > 0);
    // Only prospects have a next step, and it comes after their last contact.
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member WHERE Status <> 'Prospect' AND %1 = 0").arg(nulls)), 0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member m WHERE m.Prospect_Next_Contact_Date <= (SELECT "
                                  "max(c.Contact_Date) FROM Prospect_Contact c WHERE c.Prospect_ID = m.ID)")),
             0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Prospect_Contact c JOIN Member m ON m.ID = c.Prospect_ID "
                                  "WHERE m.Status <> 'Prospect'")),
             0);
}

void TestDemoRoll::phoneNumbersFollowTheMask()
{
    static const QRegularExpression mask(QStringLiteral("^\\(\\d{3}\\) \\d{3}-\\d{4}$"));
    int checked = 0;
    for (const Row& row : m_db->select(QStringLiteral("SELECT Phone, Cell, Work_Phone FROM Member UNION ALL SELECT "
                                                      "Phone, Fax, Phone FROM Church"))) {
        for (const QString& column : {QStringLiteral("Phone"), QStringLiteral("Cell"), QStringLiteral("Work_Phone")}) {
            const QString number = row.text(column);
            if (!number.isEmpty()) {
                QVERIFY2(mask.match(number).hasMatch(), qPrintable(number));
                ++checked;
            }
        }
    }
    QVERIFY(checked > 100);
}

void TestDemoRoll::rollHasVariedPeopleAndEveryKindOfRecord()
{
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Member WHERE ID > 1")), m_options.people);
    for (const char* status : {"Member", "Child Of Member", "Prospect", "Previous Member"}) {
        QVERIFY2(count(QStringLiteral("SELECT count(*) FROM Member WHERE Status = ?"), {QString::fromUtf8(status)}) > 0,
                 status);
    }
    const qint64 active = count(QStringLiteral("SELECT count(*) FROM Member WHERE Member_Active_Status = 'Active'"));
    const qint64 inactive =
        count(QStringLiteral("SELECT count(*) FROM Member WHERE Member_Active_Status = 'InActive'"));
    QVERIFY(inactive > 0);
    QVERIFY(active > 2 * inactive);
    QVERIFY(count(QStringLiteral("SELECT count(DISTINCT City || State) FROM Member WHERE ID > 1")) >= 3);
    QVERIFY(count(QStringLiteral("SELECT count(DISTINCT State) FROM Member WHERE ID > 1")) >= 2);
    for (const char* table : {"Sunday_School", "Discipleship_Training", "Wednesday_Night", "Care_Group",
                              "Member_Organizations", "Prospect_Contact", "Member_Responsibility"}) {
        QVERIFY2(count(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QLatin1String(table))) > 0, table);
    }
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member WHERE Email LIKE '%@%'")) > 0);
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member WHERE Date_Of_Birth IS NOT NULL")) == m_options.people);
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member WHERE Anniversary_Date IS NOT NULL")) > 0);
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member WHERE Member_Since IS NOT NULL AND Baptized IS NOT "
                                 "NULL")) > 0);
    QVERIFY(count(QStringLiteral("SELECT count(*) FROM Member WHERE Letter_Out IS NOT NULL")) > 0);
    QVERIFY(count(QStringLiteral("SELECT count(DISTINCT Worship_Service_Attendance_Level) FROM Member")) >= 3);
}

void TestDemoRoll::churchRowAndOutreachPlan()
{
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Church")), 1);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT KeyPressDelay FROM Church")).toDouble(), 2.0);
    const Rows phases = m_db->select(QStringLiteral("SELECT PhaseOrder, Phase, Action, TimePeriod FROM Outreach_Phase "
                                                    "ORDER BY PhaseOrder"));
    QVERIFY(phases.size() >= 3);
    for (size_t i = 0; i < phases.size(); ++i) {
        QCOMPARE(phases[i].integer(u"PhaseOrder"), qint64(i + 1));
        QVERIFY(!phases[i].text(u"Phase").isEmpty());
        QVERIFY(phases[i].real(u"TimePeriod") >= 1);
    }
}

void TestDemoRoll::noLoginIsCreated()
{
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM \"User\"")), 0);
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM UserPermission")), 0);
}

QString TestDemoRoll::digest(Database& db)
{
    QStringList parts;
    for (const QString& table : Schema::tableNames()) {
        parts << db.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toString();
    }
    parts << db.scalar(QStringLiteral("SELECT group_concat(First_Name || ' ' || Last_Name || Envelope, ',') FROM "
                                      "Member"))
                 .toString();
    parts << db.scalar(QStringLiteral("SELECT sum(Amount) FROM Member_Contributions")).toString();
    parts << db.scalar(QStringLiteral("SELECT sum(MemberID * (SS + 2 * WS + 4 * WN)) FROM AttendanceData")).toString();
    return parts.join(u'|');
}

void TestDemoRoll::sameSeedGivesSameRollAndOtherSeedAnother()
{
    auto again = createDemoRoll(m_dir.filePath(QStringLiteral("again.db")), m_options);
    QCOMPARE(digest(*again), digest(*m_db));
    DemoRollOptions other = m_options;
    other.seed = m_options.seed + 1;
    auto different = createDemoRoll(m_dir.filePath(QStringLiteral("other.db")), other);
    QVERIFY(digest(*different) != digest(*m_db));
    QCOMPARE(different->scalar(QStringLiteral("SELECT count(*) FROM Member WHERE ID > 1")).toLongLong(), other.people);
}

void TestDemoRoll::refusesAnExistingFile()
{
    const QString path = m_dir.filePath(QStringLiteral("kept.db"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not to be touched");
    file.close();
    try {
        createDemoRoll(path, m_options);
        QFAIL("an existing file must be refused");
    } catch (const DatabaseError& error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("not to be touched"));
}

QTEST_GUILESS_MAIN(TestDemoRoll)
#include "tst_demoroll.moc"
