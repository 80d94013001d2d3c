#include "core/changenotifier.h"
#include "data/database.h"
#include "services/peoplemodel.h"

#include "testdatabase.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

// The shared list of every person: the display rule, the name order, and refreshing on save and delete.
class TestPeopleModel : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void everyPersonByTheDisplayRuleInNameOrder();
    void followsSavesAndDeletesOnceRead();

private:
    QStringList names() const;

    TestDatabase m_testDb;
    std::unique_ptr<AppContext> m_context;
};

void TestPeopleModel::init()
{
    m_context = m_testDb.makeContext();
    TestDatabase::addNamedPeople(m_context->db());
}

QStringList TestPeopleModel::names() const
{
    PeopleModel& people = m_context->people();
    QStringList out;
    for (int row = 0; row < people.rowCount(); ++row) {
        out << people.index(row).data().toString();
    }
    return out;
}

void TestPeopleModel::everyPersonByTheDisplayRuleInNameOrder()
{
    const qint64 abe = TestDatabase::addPerson(m_context->db(), "Abe", "Adams");
    m_context->db().execute("UPDATE Member SET Title = 'Jr.', Head_Of_Household = 1 WHERE ID = ?", {abe});
    TestDatabase::setMiddleName(m_context->db(), abe, "B");
    PeopleModel& people = m_context->people();
    QAbstractItemModelTester tester(&people, QAbstractItemModelTester::FailureReportingMode::QtTest);

    const QStringList shown = names();
    QCOMPARE(shown.first(), "Adams, Abe B Jr.");
    QCOMPARE(people.index(0).data(PeopleModel::NameWithoutTitleRole).toString(), "Adams, Abe B");
    QCOMPARE(people.index(0).data(PeopleModel::IdRole).toLongLong(), abe);
    QCOMPARE(people.index(0).data(PeopleModel::HeadOfHouseholdRole).toBool(), true);
    QCOMPARE(people.rowOf(abe), 0);
    QCOMPARE(people.idAt(0), abe);
    QCOMPARE(people.rowOf(999999), -1);
    // No middle name and no title: the separators stay. Accented names sort among their base letters.
    QVERIFY(shown.indexOf("Sanders, Sam  ") < shown.indexOf("Smith, John  "));
    QVERIFY(shown.indexOf("Smith, John  ") < shown.indexOf("Smithers, Wayne  "));
    QVERIFY(shown.indexOf("O'Brien, Pat  ") < shown.indexOf("Ölander, Åsa  "));
    QVERIFY(shown.indexOf("Ölander, Åsa  ") < shown.indexOf("Sanders, Sam  "));
}

void TestPeopleModel::followsSavesAndDeletesOnceRead()
{
    PeopleModel& people = m_context->people();
    QSignalSpy resets(&people, &QAbstractItemModel::modelReset);
    const int before = people.rowCount();

    const qint64 zoe = TestDatabase::addPerson(m_context->db(), "Zoë", "Young");
    emit m_context->changes().memberSaved(zoe);
    QCOMPARE(resets.size(), 1);
    QCOMPARE(people.rowCount(), before + 1);
    QVERIFY(names().contains("Young, Zoë  "));

    m_context->db().execute("DELETE FROM Member WHERE ID = ?", {zoe});
    emit m_context->changes().memberDeleted(zoe);
    QCOMPARE(people.rowCount(), before);
    QCOMPARE(people.rowOf(zoe), -1);
}

QTEST_MAIN(TestPeopleModel)
#include "tst_peoplemodel.moc"
