#include "data/database.h"
#include "fakeclock.h"
#include "reports/familylist.h"
#include "reports/memberreports.h"
#include "reports/reportdesign.h"
#include "reports/reportheading.h"
#include "reports/reportpainter.h"
#include "reports/textfitter.h"
#include "testdatabase.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Sets columns of a person's Member row; names are this file's own constants, values are bound.
void update(Database& db, qint64 id, const QVariantMap& values)
{
    QStringList sets;
    QVariantList params;
    for (auto it = values.begin(); it != values.end(); ++it) {
        sets << it.key() + " = ?";
        params << it.value();
    }
    params << id;
    db.execute("UPDATE Member SET " + sets.join(", ") + " WHERE ID = ?", params);
}

qint64 idOf(Database& db, const QString& last)
{
    return db.scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
}

QList<qint64> namedPeople(Database& db)
{
    // In a grid's order, which is not the report's.
    return {idOf(db, "Smithers"), idOf(db, QString::fromUtf8("Ölander")), idOf(db, "Sanders"), idOf(db, "O'Brien"),
            idOf(db, "Smith")};
}

// Every text of the report, page after page, in reading order.
QStringList allTexts(const ReportDocument& doc)
{
    QStringList out;
    for (const ReportPage& page : doc.pages) {
        out << page.texts();
    }
    return out;
}

// The texts of the report that equal one of the wanted texts, in the report's order.
QStringList textsAmong(const ReportDocument& doc, const QStringList& wanted)
{
    QStringList out;
    for (const QString& text : allTexts(doc)) {
        if (wanted.contains(text)) {
            out << text;
        }
    }
    return out;
}

// One line of a family list with its four columns filled to 25, 20, 10 and 12 characters.
QString familyLine(const QString& name, const QString& relationship, const QString& gender, const QString& born)
{
    return QString("%1 %2 %3 %4\r\n").arg(name, -25).arg(relationship, -20).arg(gender, -10).arg(born, -12);
}

bool overlaps(const QRectF& a, const QRectF& b)
{
    return a.intersected(b).width() > 0.01 && a.intersected(b).height() > 0.01;
}

} // namespace

class TestMemberReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void memberListIsInNameOrderGroupedByInitial();
    void memberListShowsAPersonsDetails();
    void everyPageCarriesChurchTitleDateAndPageNumber_data();
    void everyPageCarriesChurchTitleDateAndPageNumber();
    void memberListBreaksPagesAndRepeatsTheLetter();
    void emptyReportsShowTheirHeadings_data();
    void emptyReportsShowTheirHeadings();
    void birthdaysAndAnniversariesGoByMonthAndDay();
    void labelsFillTheSheetAcrossThenDown();
    void labelTextStartsExactlyAtItsPlaceOnTheSheet();
    void labelWithoutSecondAddressLineHasNoGap();
    void householdLabelsGoOnePerHouseholdAndListWhoIsLeftOut();
    void awkwardValuesStayInsideTheirItems();
    void longNameWrapsInItsColumnAndTheRowGrows_data();
    void longNameWrapsInItsColumnAndTheRowGrows();
    void tensOfThousandsOfIdsWork();
    void familyListOfHeadOfHousehold();
    void familyListOfRelativeNamesTheHead();
    void familyListCutsLongValues();
    void familyListIsEmptyWithoutRelatives();
    void headingFallsBackToTheChurchRow();

private:
    ReportHeading heading() const { return {"Grace Chapel", QDate(2026, 3, 15)}; }

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
};

void TestMemberReports::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    Database& db = *m_db;
    update(db, idOf(db, "Sanders"),
           {{"Address_1", "12 Elm St"},
            {"City", "Springfield"},
            {"State", "IL"},
            {"Zip", "62701"},
            {"Phone", "5551234567"},
            {"Date_Of_Birth", "1970-03-05"},
            {"Email", "sam@example.org"},
            {"Head_Of_Household", 1},
            {"Map_Section", "D8"}});
    update(db, idOf(db, "Smith"),
           {{"Address_1", "40 Oak Ave"},
            {"Address_2", "Apt 4"},
            {"City", "Springfield"},
            {"State", "IL"},
            {"Zip", "62702"},
            {"Anniversary_Date", "1990-03-05"},
            {"Middle_Name", "Q"},
            {"Title", "Jr."}});
    update(db, idOf(db, "Smithers"), {{"Date_Of_Birth", "1985-01-20"}, {"Cell", "5559876543"}});
    update(db, idOf(db, QString::fromUtf8("Ölander")),
           {{"Date_Of_Birth", "2001-12-31"},
            {"Anniversary_Date", "2020-06-01"},
            {"Title", "Dr."},
            {"Address_1", "1 Fjord Rd"},
            {"City", "Lund"}});
}

void TestMemberReports::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestMemberReports::memberListIsInNameOrderGroupedByInitial()
{
    MemberReports reports(*m_db, heading());
    const ReportDocument doc = reports.printMemberList(namedPeople(*m_db));
    QCOMPARE(doc.pageCount(), 1);
    const QStringList order =
        textsAmong(doc, {"O", "S", QString::fromUtf8("Ö"), "O'Brien, Pat", "Sanders, Sam", "Smith, John Q Jr.",
                         "Smithers, Wayne", QString::fromUtf8("Ölander, Åsa Dr.")});
    // Ölander files under O, with no heading of its own.
    QCOMPARE(order, (QStringList{"O", "O'Brien, Pat", QString::fromUtf8("Ölander, Åsa Dr."), "S", "Sanders, Sam",
                                 "Smith, John Q Jr.", "Smithers, Wayne"}));
    QVERIFY(allTexts(doc).contains("People listed: 5"));
}

void TestMemberReports::memberListShowsAPersonsDetails()
{
    MemberReports reports(*m_db, heading());
    const ReportDocument doc = reports.printMemberList({idOf(*m_db, "Smith"), idOf(*m_db, "Sanders")});
    const QStringList texts = allTexts(doc);
    QVERIFY2(texts.contains("12 Elm St\nSpringfield, IL 62701\nsam@example.org"), qPrintable(texts.join(" | ")));
    QVERIFY(texts.contains("40 Oak Ave\nApt 4\nSpringfield, IL 62702"));
    QVERIFY(texts.contains("Home (555) 123-4567"));
    QVERIFY(texts.contains("Born 03/05/1970"));
    QVERIFY(texts.contains("Married 03/05/1990"));
    QVERIFY(texts.contains("Member (Active)\nHead of household\nMap section D8"));
}

void TestMemberReports::everyPageCarriesChurchTitleDateAndPageNumber_data()
{
    QTest::addColumn<int>("report");
    QTest::addColumn<QString>("title");
    QTest::newRow("member list") << 0 << "Member List";
    QTest::newRow("birthdays and anniversaries") << 1 << "Birthdays and Anniversaries";
    QTest::newRow("mailing labels") << 2 << "Mailing Labels";
}

void TestMemberReports::everyPageCarriesChurchTitleDateAndPageNumber()
{
    QFETCH(int, report);
    QFETCH(QString, title);
    QList<qint64> ids;
    for (int i = 0; i < 70; ++i) {
        const qint64 id =
            TestDatabase::addPerson(*m_db, QString("First%1").arg(i), QString("Last%1").arg(i, 3, 10, QChar('0')));
        update(*m_db, id, {{"Date_Of_Birth", QString("1980-%1-10").arg(i % 12 + 1, 2, 10, QChar('0'))}});
        ids << id;
    }
    MemberReports reports(*m_db, heading());
    const ReportDocument doc = report == 0   ? reports.printMemberList(ids)
                               : report == 1 ? reports.printMemberListDOBAnniv(ids)
                                             : reports.printMailingLabels(ids);
    QVERIFY(doc.pageCount() >= 2);
    QCOMPARE(doc.title, title);
    for (int p = 0; p < doc.pageCount(); ++p) {
        const QString page = doc.pages[std::size_t(p)].texts().join('\n');
        QVERIFY2(page.contains("Grace Chapel"), qPrintable(QString("page %1").arg(p + 1)));
        QVERIFY(page.contains(title));
        QVERIFY(page.contains("03/15/2026") || page.contains("March 15, 2026"));
        QVERIFY2(page.contains(QString("Page %1 of %2").arg(p + 1).arg(doc.pageCount())), qPrintable(page));
    }
}

void TestMemberReports::memberListBreaksPagesAndRepeatsTheLetter()
{
    QList<qint64> ids;
    for (int i = 0; i < 40; ++i) {
        ids << TestDatabase::addPerson(*m_db, QString("F%1").arg(i, 2, 10, QChar('0')), "Baker");
    }
    MemberReports reports(*m_db, heading());
    const ReportDocument doc = reports.printMemberList(ids);
    QVERIFY(doc.pageCount() >= 3);
    // Each person once, in order, never below the page footer's line.
    QStringList names;
    for (const ReportPage& page : doc.pages) {
        for (const PageItem* item : page.findTexts("Baker, F")) {
            names << item->text;
            QVERIFY(item->rect.bottom() <= 792 - 30 - 20 + 0.01);
        }
    }
    QCOMPARE(names.size(), 40);
    QCOMPARE(names.first(), QString("Baker, F00"));
    QCOMPARE(names.last(), QString("Baker, F39"));
    QVERIFY(std::is_sorted(names.begin(), names.end()));
    // The letter's heading goes on over the page break.
    QVERIFY(doc.pages[0].texts().contains("B"));
    for (std::size_t p = 1; p < doc.pages.size(); ++p) {
        QVERIFY(doc.pages[p].texts().contains("B (continued)"));
    }
    QVERIFY(doc.pages.back().texts().contains("People listed: 40"));
}

void TestMemberReports::emptyReportsShowTheirHeadings_data()
{
    QTest::addColumn<int>("report");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("member list") << 0 << QStringList{"Member List",      "Name",       "Address and e-mail", "Phone",
                                                     "People listed: 0", "Page 1 of 1"};
    QTest::newRow("birthdays") << 1
                               << QStringList{"Birthdays and Anniversaries", "Occasion",
                                              "Birthdays and anniversaries listed: 0", "Page 1 of 1"};
    QTest::newRow("labels") << 2 << QStringList{"Page 1 of 1"};
}

void TestMemberReports::emptyReportsShowTheirHeadings()
{
    QFETCH(int, report);
    QFETCH(QStringList, expected);
    MemberReports reports(*m_db, heading());
    const QList<qint64> nobody{987654};
    const ReportDocument doc = report == 0   ? reports.printMemberList(nobody)
                               : report == 1 ? reports.printMemberListDOBAnniv(nobody)
                                             : reports.printMailingLabels(nobody);
    QCOMPARE(doc.pageCount(), 1);
    const QStringList texts = doc.pages[0].texts();
    for (const QString& text : expected) {
        QVERIFY2(texts.contains(text), qPrintable(text + " not in " + texts.join(" | ")));
    }
    QVERIFY(texts.join('\n').contains("Grace Chapel"));
}

void TestMemberReports::birthdaysAndAnniversariesGoByMonthAndDay()
{
    MemberReports reports(*m_db, heading());
    const ReportDocument doc = reports.printMemberListDOBAnniv(namedPeople(*m_db));
    const QString asa = QString::fromUtf8("Ölander, Åsa Dr.");
    const QStringList order = textsAmong(doc, {"January", "March", "June", "December", "January 20", "March 5",
                                               "June 1", "December 31", "Smithers, Wayne", "Sanders, Sam",
                                               "Smith, John Q Jr.", asa, "O'Brien, Pat", "Birthday", "Anniversary"});
    QCOMPARE(order, (QStringList{"January", "January 20", "Smithers, Wayne", "Birthday", "March", "March 5",
                                 "Sanders, Sam", "Birthday", "Smith, John Q Jr.", "Anniversary", "June", "June 1", asa,
                                 "Anniversary", "December", "December 31", asa, "Birthday"}));
    QVERIFY(allTexts(doc).contains("Birthdays and anniversaries listed: 5"));
}

void TestMemberReports::labelsFillTheSheetAcrossThenDown()
{
    QList<qint64> ids;
    for (int i = 0; i < 32; ++i) {
        const qint64 id = TestDatabase::addPerson(*m_db, "Label", QString("L%1").arg(i, 2, 10, QChar('0')));
        update(
            *m_db, id,
            {{"Address_1", QString("%1 Main St").arg(i)}, {"City", "Springfield"}, {"State", "IL"}, {"Zip", "62701"}});
        ids << id;
    }
    MemberReports reports(*m_db, heading());
    const ReportDocument doc = reports.printMailingLabels(ids);
    QCOMPARE(doc.pageCount(), 2);
    QCOMPARE(doc.paperSize(), QSizeF(612, 792));
    for (int i = 0; i < 32; ++i) {
        const ReportPage& page = doc.pages[std::size_t(i / 30)];
        const auto found = page.findTexts(QString("Label L%1\n").arg(i, 2, 10, QChar('0')));
        QCOMPARE(found.size(), std::size_t(1));
        const int slot = i % 30;
        // 2 5/8" x 1" labels, three across with 1/8" between, ten down, 1/2" from the top.
        const QRectF label(13.5 + (slot % 3) * 198.0, 36 + (slot / 3) * 72.0, 189, 72);
        QVERIFY2(
            label.contains(found.front()->rect),
            qPrintable(QString("label %1 at %2,%3").arg(i).arg(found.front()->rect.x()).arg(found.front()->rect.y())));
        QCOMPARE(found.front()->text,
                 QString("Label L%1\n%2 Main St\nSpringfield, IL 62701").arg(i, 2, 10, QChar('0')).arg(i));
    }
}

void TestMemberReports::labelTextStartsExactlyAtItsPlaceOnTheSheet()
{
    // The 30-up letter sheet: 3/16" side margin, columns 2 3/4" apart, 1/2" top margin, rows 1" apart; the
    // text begins 10 points right of and 9 points below its label's top left corner.
    const double sideMargin = 72.0 * 3 / 16;
    const double columnPitch = 72.0 * 11 / 4;
    const double topMargin = 72.0 / 2;
    const double rowPitch = 72.0;
    const QPointF inset(10, 9);
    const auto expectedAt = [&](int slot) {
        return QPointF(sideMargin + (slot % 3) * columnPitch, topMargin + (slot / 3) * rowPitch) + inset;
    };
    const auto near = [](const QPointF& a, const QPointF& b) {
        return std::abs(a.x() - b.x()) <= 0.5 && std::abs(a.y() - b.y()) <= 0.5;
    };
    const auto where = [](const QPointF& p) { return QString("%1,%2").arg(p.x()).arg(p.y()); };

    QList<qint64> ids;
    for (int i = 0; i < 32; ++i) {
        const qint64 id = TestDatabase::addPerson(*m_db, "Label", QString("L%1").arg(i, 2, 10, QChar('0')));
        update(*m_db, id, {{"Address_1", QString("%1 Main St").arg(i)}, {"City", "Springfield"}});
        ids << id;
    }
    MemberReports reports(*m_db, heading());
    const ReportDocument doc = reports.printMailingLabels(ids);
    QCOMPARE(doc.pageCount(), 2);

    // In the page model.
    for (int i = 0; i < 32; ++i) {
        const auto found = doc.pages[std::size_t(i / 30)].findTexts(QString("Label L%1\n").arg(i, 2, 10, QChar('0')));
        QCOMPARE(found.size(), std::size_t(1));
        const QPointF at = found.front()->rect.topLeft();
        QVERIFY2(near(at, expectedAt(i % 30)),
                 qPrintable(QString("label %1 at %2, not %3").arg(i).arg(where(at), where(expectedAt(i % 30)))));
    }

    // In the PDF file: where each label's first word begins.
    QTemporaryDir dir;
    const QString pdf = dir.filePath("labels.pdf");
    ReportPainter::writePdf(doc, pdf);
    QProcess pdftotext;
    pdftotext.start(QStandardPaths::findExecutable("pdftotext"), {"-bbox", pdf, "-"});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString boxes = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const QStringList pages = boxes.split("<page ").mid(1);
    QCOMPARE(pages.size(), 2);
    const QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>Label</word>)re");
    for (int p = 0; p < 2; ++p) {
        QList<QPointF> starts;
        for (const QRegularExpressionMatch& match : word.globalMatch(pages.at(p))) {
            starts << QPointF(match.captured(1).toDouble(), match.captured(2).toDouble());
        }
        QCOMPARE(starts.size(), p == 0 ? 30 : 2);
        std::sort(starts.begin(), starts.end(), [](const QPointF& a, const QPointF& b) {
            return std::abs(a.y() - b.y()) > 0.5 ? a.y() < b.y() : a.x() < b.x();
        });
        for (int slot = 0; slot < starts.size(); ++slot) {
            QVERIFY2(near(starts.at(slot), expectedAt(slot)),
                     qPrintable(QString("page %1, label %2 at %3, not %4")
                                    .arg(p + 1)
                                    .arg(slot + 1)
                                    .arg(where(starts.at(slot)), where(expectedAt(slot)))));
        }
    }
}

void TestMemberReports::labelWithoutSecondAddressLineHasNoGap()
{
    MemberReports reports(*m_db, heading());
    const ReportDocument doc = reports.printMailingLabels(namedPeople(*m_db));
    const QStringList texts = doc.pages[0].texts();
    QVERIFY2(texts.contains("Sam Sanders\n12 Elm St\nSpringfield, IL 62701"), qPrintable(texts.join(" | ")));
    QVERIFY(texts.contains("John Q Smith Jr.\n40 Oak Ave\nApt 4\nSpringfield, IL 62702"));
    QVERIFY(texts.contains(QString::fromUtf8("Dr. Åsa Ölander\n1 Fjord Rd\nLund")));
    // Ordered by last name, then first and middle name.
    const auto obrien = doc.pages[0].findTexts("Pat O'Brien");
    const auto sanders = doc.pages[0].findTexts("Sam Sanders");
    QCOMPARE(obrien.size(), std::size_t(1));
    QVERIFY(obrien.front()->rect.left() < sanders.front()->rect.left());
}

void TestMemberReports::householdLabelsGoOnePerHouseholdAndListWhoIsLeftOut()
{
    Database& db = *m_db;
    const QVariantMap address{{"Address_1", "1 Oak St"}, {"City", "Springfield"}, {"State", "IL"}, {"Zip", "62701"}};
    const auto person = [&db, &address](const QString& first, const QString& last, const QVariantMap& values = {},
                                        const QString& status = "Member") {
        const qint64 id = TestDatabase::addPerson(db, first, last, status);
        update(db, id, address);
        if (!values.isEmpty()) {
            update(db, id, values);
        }
        return id;
    };
    const auto link = [&db](qint64 head, qint64 relative, const QString& relationship) {
        db.execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, ?, ?)",
                   {head, relationship, relative});
    };
    const QVariantMap head{{"Head_Of_Household", 1}};
    // The head's address goes on the label, whatever his relatives' say; the dead and the deleted count for
    // nothing.
    const qint64 john = person("John", "Baker", {{"Head_Of_Household", 1}, {"Address_1", "9 Baker Rd"}});
    const qint64 mary = person("Mary", "Baker", {{"Address_1", "elsewhere"}});
    const qint64 tim = person("Tim", "Baker", {{"Date_Of_Birth", "2015-01-01"}}, "Child Of Member");
    const qint64 grandpa = person("Old", "Baker", {{"Deceased_Date", "2020-01-01"}});
    link(john, mary, "Spouse");
    link(john, tim, "Son");
    link(john, grandpa, "Father");
    const qint64 ann = person("Ann", "Cole", head);
    const qint64 bob = person("Bob", "Dunn");
    const qint64 zed = person("Zed", "Cole", {}, "Deleted Member");
    link(ann, bob, "Spouse");
    link(ann, zed, "Brother");
    const qint64 fay = person("Fay", "Fox", head);
    const qint64 gus = person("Gus", "Fox");
    const qint64 hal = person("Hal", "Fox", {{"Date_Of_Birth", "2000-01-01"}});
    link(fay, gus, "Spouse");
    link(fay, hal, "Son");
    // Both marked as heads, each linked to the other: one household.
    const qint64 ike = person("Ike", "Ives", head);
    const qint64 ivy = person("Ivy", "Ives", head);
    link(ike, ivy, "Spouse");
    link(ivy, ike, "Spouse");
    const qint64 kid = person("Kid", "Loner", {}, "Child Of Member");
    const qint64 ned = person("Ned", "Nomad", {{"Head_Of_Household", 1}, {"Address_1", ""}, {"City", ""}, {"Zip", ""}});
    const qint64 pia = person("Pia", "Page", {{"Date_Of_Birth", "2016-05-05"}});
    link(ned, pia, "Daughter");

    const QList<qint64> chosen{tim, mary, bob, hal, ivy, ike, kid, ned, pia, idOf(db, "Sanders"), fay};
    MemberReports reports(db, heading());
    const MemberReports::HouseholdLabelRows rows = reports.householdLabelRows(chosen);
    QStringList labels;
    for (const Row& row : rows.labels) {
        labels << row.text(u"Household_Name") + " / " + row.text(u"Address_1");
    }
    QCOMPARE(labels,
             (QStringList{"John and Mary Baker / 9 Baker Rd", "Ann Cole and Bob Dunn / 1 Oak St",
                          "The Fox Family / 1 Oak St", "Ike and Ivy Ives / 1 Oak St", "Sam Sanders / 12 Elm St"}));
    QStringList leftOut;
    for (const Row& row : rows.leftOut) {
        leftOut << row.text(u"Name") + ": " + row.text(u"Reason");
    }
    QCOMPARE(leftOut, (QStringList{"Loner, Kid: Child, with no adult in the household", "Nomad, Ned: No address",
                                   "Page, Pia: No address for the household of Nomad, Ned"}));

    // The labels fill the sheet; those left out follow on a page of their own, counted with the labels'.
    const ReportDocument doc = reports.printHouseholdLabels(chosen);
    QCOMPARE(doc.pageCount(), 2);
    QVERIFY(doc.pages[0].texts().contains("John and Mary Baker\n9 Baker Rd\nSpringfield, IL 62701"));
    const QStringList last = doc.pages[1].texts();
    QVERIFY2(last.contains("Left out of the household labels") && last.contains("Loner, Kid") &&
                 last.contains("Page 2 of 2"),
             qPrintable(last.join(" | ")));
}

void TestMemberReports::awkwardValuesStayInsideTheirItems()
{
    const qint64 id = idOf(*m_db, "O'Brien");
    QString note;
    while (note.size() < 5000) {
        note += QString::fromUtf8("Prays for the \"choir\"; visits Zoë's café weekly. ");
    }
    update(*m_db, id,
           {{"Notes", note},
            {"Address_1", QString::fromUtf8("\"The Old Manse\", Rue de l'Église 7\nsecond line of the first")},
            {"Address_2", QString(300, 'x')},
            {"Email", "a.very.long.address.without.any.blanks.at.all@an-extremely-long-domain-name.example.org"},
            {"Middle_Name", QString::fromUtf8("Seán Ó Súilleabháin-Mac Giolla Phádraig")}});
    MemberReports reports(*m_db, heading());
    TextFitter fitter;
    for (int report = 0; report < 3; ++report) {
        const ReportDocument doc = report == 0   ? reports.printMemberList({id})
                                   : report == 1 ? reports.printMemberListDOBAnniv({id})
                                                 : reports.printMailingLabels({id});
        for (const ReportPage& page : doc.pages) {
            std::vector<const PageItem*> texts;
            for (const PageItem& item : page.items) {
                if (item.kind != PageItem::Kind::Text) {
                    continue;
                }
                const QStringList lines = item.text.split('\n');
                QVERIFY(lines.size() * item.lineHeight <= item.rect.height() + 0.01);
                for (const QString& line : lines) {
                    QVERIFY2(fitter.width(line, item.font) <= item.rect.width() + 0.01, qPrintable(line));
                }
                QVERIFY(item.rect.bottom() <= doc.paperSize().height());
                for (const PageItem* other : texts) {
                    QVERIFY2(!overlaps(other->rect, item.rect), qPrintable(other->text + " / " + item.text));
                }
                texts.push_back(&item);
            }
        }
        if (report == 0) {
            std::vector<const PageItem*> notes;
            for (const ReportPage& page : doc.pages) {
                for (const PageItem* item : page.findTexts("Notes: Prays")) {
                    notes.push_back(item);
                }
            }
            // Five thousand characters fit on a page: wrapped, with nothing lost.
            QCOMPARE(notes.size(), std::size_t(1));
            QCOMPARE(notes.front()->text.split('\n').join(' ').trimmed(), "Notes: " + note.trimmed());
            QVERIFY(!doc.pages[0].findTexts(QString::fromUtf8("Rue de l'Église 7")).empty());
        }
    }
    // A note longer than a page is cut at the page's end, marked with an ellipsis.
    update(*m_db, id, {{"Notes", note.repeated(5)}});
    const ReportDocument doc = reports.printMemberList({id});
    std::vector<const PageItem*> notes;
    for (const ReportPage& page : doc.pages) {
        for (const PageItem* item : page.findTexts("Notes: Prays")) {
            notes.push_back(item);
        }
    }
    QCOMPARE(notes.size(), std::size_t(1));
    QVERIFY(notes.front()->text.endsWith(QChar(0x2026)));
    QVERIFY(notes.front()->rect.bottom() <= 792 - 30 - 20 + 0.01);
    QVERIFY(doc.pages.back().texts().contains("People listed: 1"));
}

void TestMemberReports::longNameWrapsInItsColumnAndTheRowGrows_data()
{
    QTest::addColumn<int>("report");
    // The whole name as the report prints it, and a text of the same row that lies below it in its column
    // (none for labels, which cannot grow: their address follows the name's lines).
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("below");
    const QString last = "Robert'); DROP TABLE Members;--";
    QTest::newRow("member list") << 0 << last + ", Bobby Tables-Featherstonehaugh Jr."
                                 << "Member (Active)";
    QTest::newRow("birthdays and anniversaries") << 1 << last + ", Bobby Tables-Featherstonehaugh Jr."
                                                 << "";
    QTest::newRow("mailing labels") << 2 << "Bobby Tables-Featherstonehaugh " + last + " Jr."
                                    << "";
}

void TestMemberReports::longNameWrapsInItsColumnAndTheRowGrows()
{
    QFETCH(int, report);
    QFETCH(QString, name);
    QFETCH(QString, below);
    const qint64 id = TestDatabase::addPerson(*m_db, "Bobby", "Robert'); DROP TABLE Members;--");
    update(*m_db, id,
           {{"Middle_Name", "Tables-Featherstonehaugh"},
            {"Title", "Jr."},
            {"Date_Of_Birth", "1990-01-02"},
            {"Address_1", "1 Long Rd"},
            {"City", "Springfield"}});
    // Someone listed right after him, to show that his row grew instead of running into the next one.
    const qint64 next = TestDatabase::addPerson(*m_db, "Zed", "Robinson");
    update(*m_db, next, {{"Date_Of_Birth", "1990-01-02"}, {"Address_1", "2 Short Rd"}});
    MemberReports reports(*m_db, heading());
    const ReportDocument doc = report == 0   ? reports.printMemberList({id, next})
                               : report == 1 ? reports.printMemberListDOBAnniv({id, next})
                                             : reports.printMailingLabels({id, next});
    QCOMPARE(doc.pageCount(), 1);
    const ReportPage& page = doc.pages[0];
    const auto found = page.findTexts("Robert');");
    QCOMPARE(found.size(), std::size_t(1));
    const PageItem& item = *found.front();
    const QStringList lines = item.text.split('\n');
    // The name takes two lines of its column, nothing of it cut.
    QVERIFY2(lines.size() >= 2, qPrintable(item.text));
    QVERIFY2(!item.text.contains(QChar(0x2026)), qPrintable(item.text));
    const qsizetype nameLines = report == 2 ? lines.size() - 2 : lines.size();
    QCOMPARE(lines.mid(0, nameLines).join(' '), name);
    TextFitter fitter;
    for (const QString& line : lines) {
        QVERIFY2(fitter.width(line, item.font) <= item.rect.width() + 0.01, qPrintable(line));
    }
    QVERIFY(lines.size() * item.lineHeight <= item.rect.height() + 0.01);
    if (!below.isEmpty()) {
        // His own row's comes first (his name files before Robinson).
        const auto under = page.findTexts(below);
        QCOMPARE(under.size(), std::size_t(2));
        QVERIFY2(under.front()->rect.top() >= item.rect.bottom() - 0.01,
                 qPrintable(QString("%1 starts at %2, the name ends at %3")
                                .arg(below)
                                .arg(under.front()->rect.top())
                                .arg(item.rect.bottom())));
    }
    if (report != 2) {
        // The next person's row starts below the whole name.
        const auto robinson = page.findTexts("Robinson, Zed");
        QCOMPARE(robinson.size(), std::size_t(1));
        QVERIFY(robinson.front()->rect.top() >= item.rect.bottom() - 0.01);
    }

    // The PDF holds the whole name, line after line.
    QTemporaryDir dir;
    const QString pdf = dir.filePath("names.pdf");
    ReportPainter::writePdf(doc, pdf);
    QProcess pdftotext;
    pdftotext.start(QStandardPaths::findExecutable("pdftotext"), {"-raw", pdf, "-"});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    QVERIFY2(text.contains(name), qPrintable(text));
}

void TestMemberReports::tensOfThousandsOfIdsWork()
{
    QList<qint64> ids;
    for (qint64 id = 100000; id < 125000; ++id) {
        ids << id;
    }
    ids << idOf(*m_db, "Smith") << idOf(*m_db, "Sanders");
    MemberReports reports(*m_db, heading());
    const Rows rows = reports.mailingLabelRows(ids);
    QCOMPARE(rows.size(), std::size_t(2));
    QCOMPARE(rows[0].text(u"Last_Name"), QString("Sanders"));
    QCOMPARE(rows[1].text(u"Last_Name"), QString("Smith"));
    // The list does not linger into the next report.
    QCOMPARE(reports.memberListRows({idOf(*m_db, "Smithers")}).size(), std::size_t(1));
}

void TestMemberReports::familyListOfHeadOfHousehold()
{
    Database& db = *m_db;
    const qint64 head = idOf(db, "Smith");
    const qint64 son = TestDatabase::addPerson(db, "Tom", "Smith");
    update(db, son, {{"Gender", "Male"}, {"Date_Of_Birth", "2010-07-04"}});
    const qint64 wife = TestDatabase::addPerson(db, "Mary", "Smith");
    update(db, wife, {{"Gender", "Female"}, {"Date_Of_Birth", "1972-11-30"}});
    const qint64 daughter = TestDatabase::addPerson(db, "Ann", "Smith");
    for (const auto& [relative, relationship] :
         {std::pair{son, "Son"}, std::pair{wife, "Spouse"}, std::pair{daughter, "Daughter"}}) {
        db.execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, ?, ?)",
                   {head, QString::fromUtf8(relationship), relative});
    }
    const QString text = buildFamilyList(db, head, true);
    QCOMPARE(text, familyLine("Ann Smith", "Daughter", "", "") + familyLine("Tom Smith", "Son", "Male", "07/04/2010") +
                       familyLine("Mary Smith", "Spouse", "Female", "11/30/1972"));
    const QStringList lines = text.split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    for (const QString& line : lines) {
        // Columns start at positions 1, 27, 48 and 59.
        QCOMPARE(line.size(), 25 + 1 + 20 + 1 + 10 + 1 + 12);
        QVERIFY(line.at(25) == ' ' && line.at(46) == ' ' && line.at(57) == ' ');
    }
    QCOMPARE(lines[1].mid(26, 3), QString("Son"));
    QCOMPARE(lines[1].mid(47, 4), QString("Male"));
    QCOMPARE(lines[1].mid(58, 10), QString("07/04/2010"));
}

void TestMemberReports::familyListOfRelativeNamesTheHead()
{
    Database& db = *m_db;
    const qint64 head = idOf(db, "Smith");
    const qint64 son = TestDatabase::addPerson(db, "Tom", "Smith");
    db.execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, ?, ?)",
               {head, "Son", son});
    QCOMPARE(buildFamilyList(db, son, false), familyLine("John Smith", "Head of Household", "", ""));
}

void TestMemberReports::familyListCutsLongValues()
{
    Database& db = *m_db;
    const qint64 head = idOf(db, "Smith");
    const qint64 relative = TestDatabase::addPerson(db, "Bartholomew-Alexander", "Featherstonehaugh");
    update(db, relative, {{"Gender", "Not recorded"}});
    db.execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, ?, ?)",
               {head, "Grandson by marriage, twice removed", relative});
    QCOMPARE(buildFamilyList(db, head, true),
             familyLine("Bartholomew-Alexander Fea", "Grandson by marriage", "Not record", ""));
}

void TestMemberReports::familyListIsEmptyWithoutRelatives()
{
    QCOMPARE(buildFamilyList(*m_db, idOf(*m_db, "Sanders"), true), QString());
    QCOMPARE(buildFamilyList(*m_db, idOf(*m_db, "Sanders"), false), QString());
}

void TestMemberReports::headingFallsBackToTheChurchRow()
{
    TestDatabase testDb;
    FakeClock clock;
    auto context = testDb.makeContext(clock);
    QCOMPARE(reportHeading(*context).churchName, QString());
    TestDatabase::addChurch(context->db());
    const ReportHeading heading = reportHeading(*context);
    QCOMPARE(heading.churchName, QString("Grace Chapel"));
    QCOMPARE(heading.printDate, QDate(2026, 3, 15));
}

QTEST_MAIN(TestMemberReports)
#include "tst_memberreports.moc"
