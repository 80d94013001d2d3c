#include "core/household.h"

#include <QTest>

namespace {

const QDate kRunDay(2026, 12, 23);

// "First Last", then optionally ":Relationship" and "@YYYY-MM-DD" (born) or "@child" (a child of a member
// without a birth date).
HouseholdPerson person(const QString& description)
{
    HouseholdPerson p;
    QString rest = description;
    if (const qsizetype at = rest.indexOf('@'); at >= 0) {
        const QString born = rest.mid(at + 1);
        if (born == "child") {
            p.childOfMember = true;
        } else {
            p.born = QDate::fromString(born, Qt::ISODate);
        }
        rest = rest.left(at);
    }
    if (const qsizetype colon = rest.indexOf(':'); colon >= 0) {
        p.relationship = rest.mid(colon + 1);
        rest = rest.left(colon);
    }
    p.firstName = rest.section(' ', 0, 0);
    p.lastName = rest.section(' ', 1);
    return p;
}

} // namespace

// The one rule that names a household on labels and statements.
class TestHousehold : public QObject
{
    Q_OBJECT

private slots:
    void householdName_data();
    void householdName();
};

void TestHousehold::householdName_data()
{
    QTest::addColumn<QStringList>("people");
    QTest::addColumn<QString>("name");
    QTest::newRow("nobody") << QStringList{} << "";
    QTest::newRow("the head alone") << QStringList{"John Baker"} << "John Baker";
    QTest::newRow("head and spouse of one last name")
        << QStringList{"John Baker", "Mary Baker:Spouse"} << "John and Mary Baker";
    QTest::newRow("last names compared in any capitals")
        << QStringList{"John Baker", "Mary BAKER:Spouse"} << "John and Mary Baker";
    QTest::newRow("head and spouse of two last names")
        << QStringList{"John Baker", "Mary Smith:Spouse"} << "John Baker and Mary Smith";
    QTest::newRow("young children are not named")
        << QStringList{"John Baker", "Mary Baker:Spouse", "Tim Baker:Son@2015-04-01", "Sue Baker:Daughter@child"}
        << "John and Mary Baker";
    QTest::newRow("a third adult makes it a family")
        << QStringList{"John Baker", "Mary Baker:Spouse", "Tom Baker:Son@1999-01-01"} << "The Baker Family";
    QTest::newRow("eighteen on the day counts as adult")
        << QStringList{"John Baker", "Mary Baker:Spouse", "Tom Baker:Son@2008-12-23"} << "The Baker Family";
    QTest::newRow("eighteen the day after does not")
        << QStringList{"John Baker", "Mary Baker:Spouse", "Tom Baker:Son@2008-12-24"} << "John and Mary Baker";
    QTest::newRow("no birth date and no child of a member: adult")
        << QStringList{"John Baker", "Mary Baker:Spouse", "Ann Cole:Other Relative"} << "The Baker Family";
    QTest::newRow("a parent and his one grown child")
        << QStringList{"Ruth Hale", "Sam Hale:Son@1990-06-01", "Amy Hale:Daughter@2012-02-02"} << "Ruth and Sam Hale";
    QTest::newRow("a spouse who is no adult is not named")
        << QStringList{"John Baker", "Mary Baker:Spouse@2010-01-01"} << "John Baker";
}

void TestHousehold::householdName()
{
    QFETCH(QStringList, people);
    QFETCH(QString, name);
    std::vector<HouseholdPerson> household;
    for (const QString& description : people) {
        household.push_back(person(description));
    }
    QCOMPARE(HouseholdName::of(household, kRunDay), name);
}

QTEST_MAIN(TestHousehold)
#include "tst_household.moc"
