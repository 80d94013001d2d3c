#include "data/database.h"
#include "reports/prospectreports.h"

#include "testdatabase.h"

#include <QTest>

// The prospect reports on a small roll: contacts under their own prospect, the order of each report, and a
// class without active prospects giving nothing.
class TestProspectReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void prospectListShowsEachProspectsContactsUnderHim();
    void shortListHasALinePerProspect();
    void visitationSheetListsContactsOldestFirstWithFamily();
    void visitationSheetsComeInTheOrderGiven();
    void listingPutsScheduledProspectsFirst();
    void listingOfAClassWithoutActiveProspectsIsNothing();

private:
    qint64 idOf(const QString& last) const
    {
        return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }
    ProspectReports reports() { return ProspectReports(*m_db, {"Grace Chapel", QDate(2026, 12, 10)}); }
    // The texts of every page, one after the other.
    static QStringList allTexts(const ReportDocument& doc);
    // Where the first text containing part is in texts, or -1.
    static qsizetype position(const QStringList& texts, const QString& part);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_class = 0;
    qint64 m_emptyClass = 0;
};

QStringList TestProspectReports::allTexts(const ReportDocument& doc)
{
    QStringList texts;
    for (const ReportPage& page : doc.pages) {
        texts << page.texts();
    }
    return texts;
}

qsizetype TestProspectReports::position(const QStringList& texts, const QString& part)
{
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (texts[i].contains(part)) {
            return i;
        }
    }
    return -1;
}

void TestProspectReports::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    Database& db = *m_db;
    const qint64 smith = idOf("Smith");
    const qint64 smithers = idOf("Smithers");
    const qint64 sanders = idOf("Sanders");
    const qint64 obrien = idOf("O'Brien");
    m_class = db.insert("INSERT INTO Sunday_School (Name) VALUES ('Young Couples')");
    m_emptyClass = db.insert("INSERT INTO Sunday_School (Name) VALUES ('Seniors')");
    db.execute(
        "UPDATE Member SET Status = 'Prospect', Prospect_Active_Status = 'Active', Prospect_Phase = 'First Visit', "
        "Prospect_Next_Contact_Date = '2026-03-10', Prospect_Next_Contact_Action = 'Visit', "
        "Prospect_Sunday_School_Class_Assigned = ?, Head_Of_Household = 1 WHERE ID = ?",
        {m_class, smith});
    db.execute("UPDATE Member SET Status = 'Prospect', Prospect_Active_Status = 'Active', "
               "Prospect_Phase = 'Pastor''s Call', Prospect_Sunday_School_Class_Assigned = ? WHERE ID = ?",
               {m_class, smithers});
    db.execute("UPDATE Member SET Prospect_Active_Status = 'Joined', Prospect_Next_Contact_Date = '2026-01-01', "
               "Prospect_Sunday_School_Class_Assigned = ? WHERE ID = ?",
               {m_class, obrien});
    db.execute("INSERT INTO Family_Connection (Member_ID, Relative_Member_ID, Relationship) VALUES (?, ?, 'Son')",
               {smith, sanders});
    db.execute("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Type, Visitor1, Visitor2, Rating, "
               "Notes) VALUES (?, '2026-02-01', 'Visit', 'Home', ?, NULL, 'Warm', 'smith first'), "
               "(?, '2026-02-05', 'Letter', 'Mail', ?, NULL, 'Warm', 'smith second'), "
               "(?, '2026-02-10', 'Letter', 'Mail', ?, ?, 'Cool', 'sent ''welcome'' letter'), "
               "(?, '2026-01-05', 'Visit', 'Home', ?, NULL, 'Warm', 'smithers old')",
               {smith, sanders, smith, sanders, smithers, sanders, smith, smithers, smith});
}

void TestProspectReports::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestProspectReports::prospectListShowsEachProspectsContactsUnderHim()
{
    const qint64 smith = idOf("Smith");
    const qint64 smithers = idOf("Smithers");
    const Rows rows = reports().prospectListRows({smithers, smith});
    QCOMPARE(rows.size(), std::size_t(2));
    QCOMPARE(rows[0].text(u"Last_Name"), "Smith"); // by name, not in the order given
    QCOMPARE(reports().prospectContactRows({smith}).size(), std::size_t(2));

    const QStringList texts = allTexts(reports().printProspectList({smithers, smith}));
    const qsizetype smithAt = position(texts, "Smith, John");
    const qsizetype smithersAt = position(texts, "Smithers, Wayne");
    QVERIFY(smithAt >= 0 && smithersAt > smithAt);
    // Smith's contacts, newest first, between him and Smithers; Smithers' after him.
    const qsizetype second = position(texts, "smith second");
    const qsizetype first = position(texts, "smith first");
    QVERIFY(smithAt < second && second < first && first < smithersAt);
    const qsizetype letter = position(texts, "sent 'welcome' letter");
    const qsizetype old = position(texts, "smithers old");
    QVERIFY(smithersAt < letter && letter < old);
    QVERIFY(position(texts, "Pastor's Call") > smithersAt);
    QVERIFY(texts.contains("Prospects listed: 2"));
}

void TestProspectReports::shortListHasALinePerProspect()
{
    const QStringList texts = allTexts(reports().printProspectListShort({idOf("Smithers"), idOf("Smith")}));
    QVERIFY(position(texts, "Smith, John") < position(texts, "Smithers, Wayne"));
    QVERIFY(texts.contains("03/10/2026 Visit"));
    QCOMPARE(position(texts, "smith first"), -1);
    QVERIFY(texts.contains("Prospects listed: 2"));
}

void TestProspectReports::visitationSheetListsContactsOldestFirstWithFamily()
{
    const qint64 smith = idOf("Smith");
    const Rows rows = reports().visitationSheetRows(smith);
    QCOMPARE(rows.size(), std::size_t(2));
    QCOMPARE(rows[0].text(u"Contact_Date"), "2026-02-01");
    const ReportDocument doc = reports().printVisitationSheet(smith);
    QCOMPARE(doc.pageCount(), 1);
    const QStringList texts = allTexts(doc);
    QVERIFY(position(texts, "Smith, John") >= 0);
    const qsizetype first = position(texts, "smith first");
    const qsizetype second = position(texts, "smith second");
    QVERIFY(first >= 0 && first < second);
    QCOMPARE(position(texts, "smithers old"), -1);
    QVERIFY(position(texts, "Sam Sanders") >= 0); // his family
    QVERIFY(position(texts, "Son") >= 0);
    // Visitor names without a second visitor leave the cell empty.
    QCOMPARE(position(texts, ", \n"), -1);
    QVERIFY(texts.contains("Sanders, Sam"));

    // Someone without contacts still gets his sheet, with no contact line.
    const QStringList none = allTexts(reports().printVisitationSheet(idOf("Ölander")));
    QVERIFY(position(none, "Ölander, Åsa") >= 0);
    QCOMPARE(position(none, "Home"), -1);
}

void TestProspectReports::visitationSheetsComeInTheOrderGiven()
{
    const ReportDocument doc = reports().printVisitationSheets({idOf("Smithers"), idOf("Smith")});
    QCOMPARE(doc.pageCount(), 2);
    QVERIFY(position(doc.pages[0].texts(), "Smithers, Wayne") >= 0);
    QVERIFY(position(doc.pages[1].texts(), "Smith, John") >= 0);
    QVERIFY(doc.pages[1].texts().contains("Page 1 of 1"));
    QVERIFY(reports()
                .printVisitationSheets({idOf("Smith"), idOf("Smithers")}, [](int done) { return done < 1; })
                .isEmpty());
}

void TestProspectReports::listingPutsScheduledProspectsFirst()
{
    const Rows rows = reports().listingRows(m_class);
    QCOMPARE(rows.size(), std::size_t(2)); // O'Brien has joined: not listed
    QCOMPARE(rows[0].text(u"Last_Name"), "Smith");
    QCOMPARE(rows[0].integer(u"SortOrder"), 1);
    QCOMPARE(rows[1].text(u"Last_Name"), "Smithers");
    QCOMPARE(rows[1].integer(u"SortOrder"), 2);

    const std::optional<ReportDocument> doc = reports().printSundaySchoolProspectListing(m_class);
    QVERIFY(doc.has_value());
    const QStringList texts = allTexts(*doc);
    QVERIFY(position(texts, "Young Couples") >= 0);
    const qsizetype smithAt = position(texts, "Smith, John");
    const qsizetype smithersAt = position(texts, "Smithers, Wayne");
    QVERIFY(smithAt >= 0 && smithAt < position(texts, "smith first") && position(texts, "smith first") < smithersAt);
    QVERIFY(smithersAt < position(texts, "smithers old"));
    QCOMPARE(position(texts, "O'Brien"), -1);
}

void TestProspectReports::listingOfAClassWithoutActiveProspectsIsNothing()
{
    QVERIFY(!reports().printSundaySchoolProspectListing(m_emptyClass).has_value());
    QVERIFY(reports().sundaySchoolClassExists(m_emptyClass));
    QVERIFY(!reports().sundaySchoolClassExists(m_emptyClass + 100));
    QCOMPARE(reports().sundaySchoolClassIds(), (QList<qint64>{m_emptyClass, m_class}));
}

QTEST_MAIN(TestProspectReports)
#include "tst_prospectreports.moc"
