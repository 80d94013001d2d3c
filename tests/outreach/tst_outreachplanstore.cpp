#include "data/database.h"
#include "data/databaseerror.h"
#include "outreach/outreachplanstore.h"

#include "testdatabase.h"

#include <QTest>

Q_DECLARE_METATYPE(TypedPhase)

// Saving the outreach plan: prospects follow their phase's position from the loaded plan to the new one, in
// one step and one transaction; plans that cannot be saved are refused with nothing written.
class TestOutreachPlanStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadKeepsThePlanOrder();
    void prospectsFollowTheirPosition_data();
    void prospectsFollowTheirPosition();
    void refusedPlansWriteNothing_data();
    void refusedPlansWriteNothing();
    void aFailedSaveIsRolledBackWhole();

private:
    // A plan of the names, each with action Visit and its position as weeks.
    static OutreachPlan planOf(const QStringList& names);
    void store(const OutreachPlan& plan);
    // One prospect per phase given ("" for none), in order; returns their IDs.
    QList<qint64> addProspects(const QStringList& phases);
    QStringList phasesOf(const QList<qint64>& ids);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
};

void TestOutreachPlanStore::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
}

void TestOutreachPlanStore::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

OutreachPlan TestOutreachPlanStore::planOf(const QStringList& names)
{
    OutreachPlan plan;
    for (const QString& name : names) {
        plan.push_back({name, "Visit", double(plan.size() + 1)});
    }
    return plan;
}

void TestOutreachPlanStore::store(const OutreachPlan& plan)
{
    // Written as it may already stand in a database, without the save's rules.
    for (size_t i = 0; i < plan.size(); ++i) {
        m_db->execute("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (?, ?, ?, ?)",
                      {qint64(i + 1), plan[i].name, plan[i].action, plan[i].weeks});
    }
}

QList<qint64> TestOutreachPlanStore::addProspects(const QStringList& phases)
{
    QList<qint64> ids;
    for (const QString& phase : phases) {
        const qint64 id = TestDatabase::addPerson(*m_db, "Pat", "Prospect" + QString::number(ids.size()), "Prospect");
        m_db->execute("UPDATE Member SET Prospect_Phase = ? WHERE ID = ?",
                      {phase.isEmpty() ? QVariant() : QVariant(phase), id});
        ids << id;
    }
    return ids;
}

QStringList TestOutreachPlanStore::phasesOf(const QList<qint64>& ids)
{
    QStringList phases;
    for (const qint64 id : ids) {
        phases << m_db->scalar("SELECT Prospect_Phase FROM Member WHERE ID = ?", {id}).toString();
    }
    return phases;
}

void TestOutreachPlanStore::loadKeepsThePlanOrder()
{
    m_db->execute("INSERT INTO Outreach_Phase VALUES (2, 'Call', NULL, 2.5)");
    m_db->execute("INSERT INTO Outreach_Phase VALUES (1, 'Welcome', 'Visit', 1)");
    const OutreachPlan plan = OutreachPlanStore(*m_db).load();
    QCOMPARE(plan.size(), size_t(2));
    QCOMPARE(plan[0], (OutreachPhase{"Welcome", "Visit", 1}));
    QCOMPARE(plan[1], (OutreachPhase{"Call", "", 2.5}));
}

void TestOutreachPlanStore::prospectsFollowTheirPosition_data()
{
    QTest::addColumn<QStringList>("loaded");
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");

    const QStringList five{"P1", "P2", "P3", "P4", "P5"};
    QTest::newRow("unchanged plan moves nobody") << five << five << five << five;
    QTest::newRow("row 2 of five deleted")
        << five << QStringList{"P1", "P3", "P4", "P5"} << five << QStringList{"P1", "P3", "P4", "P5", "P5"};
    QTest::newRow("phase 3 renamed") << QStringList{"P1", "P2", "P3"} << QStringList{"P1", "P2", "Third"}
                                     << QStringList{"P3", "p3", "P2"} << QStringList{"Third", "Third", "P2"};
    QTest::newRow("last two of five removed")
        << five << QStringList{"P1", "P2", "P3"} << five << QStringList{"P1", "P2", "P3", "P3", "P3"};
    QTest::newRow("two phases exchanged: each group keeps its position")
        << QStringList{"A", "B", "C"} << QStringList{"B", "A", "C"} << QStringList{"A", "B", "C"}
        << QStringList{"B", "A", "C"};
    QTest::newRow("a name moved down three places")
        << QStringList{"A", "B", "C", "D", "E"} << QStringList{"B", "C", "D", "A", "E"}
        << QStringList{"A", "B", "C", "D", "E"} << QStringList{"B", "C", "D", "A", "E"};
    QTest::newRow("empty plan leaves every phase")
        << QStringList{"A", "B"} << QStringList{} << QStringList{"A", "B", ""} << QStringList{"A", "B", ""};
    QTest::newRow("plan grown: nobody moves")
        << QStringList{"A", "B"} << QStringList{"A", "B", "C"} << QStringList{"A", "B"} << QStringList{"A", "B"};
    QTest::newRow("apostrophes and quotes") << QStringList{"Pastor's Call", "O'Brien's \"Visit\""}
                                            << QStringList{"Pastor's \"Home\" Call", "Deacons' Visit"}
                                            << QStringList{"Pastor's Call", "O'Brien's \"Visit\""}
                                            << QStringList{"Pastor's \"Home\" Call", "Deacons' Visit"};
    QTest::newRow("stored names in other capitals follow")
        << QStringList{"Welcome", "Ölander Call"} << QStringList{"Greeting", "Call"}
        << QStringList{"WELCOME", "ölander call"} << QStringList{"Greeting", "Call"};
    QTest::newRow("names outside the plan stay") << QStringList{"A", "B"} << QStringList{"X", "Y"}
                                                 << QStringList{"Gone", "", "B"} << QStringList{"Gone", "", "Y"};
    QTest::newRow("stored plan with a name twice maps by the lowest position")
        << QStringList{"A", "B", "a"} << QStringList{"X", "Y", "Z"} << QStringList{"a", "B"} << QStringList{"X", "Y"};
}

void TestOutreachPlanStore::prospectsFollowTheirPosition()
{
    QFETCH(QStringList, loaded);
    QFETCH(QStringList, saved);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    store(planOf(loaded));
    const QList<qint64> prospects = addProspects(before);

    OutreachPlanStore plans(*m_db);
    const OutreachPlan plan = planOf(saved);
    int moved = -1;
    QVERIFY(!plans.save(plans.load(), plan, &moved));

    QCOMPARE(phasesOf(prospects), after);
    int changed = 0;
    for (int i = 0; i < before.size(); ++i) {
        changed += before.at(i) != after.at(i) ? 1 : 0;
    }
    QCOMPARE(moved, changed);
    // The plan is written as given, numbered from 1.
    QCOMPARE(plans.load(), plan);
    QCOMPARE(m_db->texts("SELECT PhaseOrder FROM Outreach_Phase ORDER BY PhaseOrder").size(), saved.size());
    if (!saved.isEmpty()) {
        QCOMPARE(m_db->scalar("SELECT MAX(PhaseOrder) FROM Outreach_Phase").toInt(), saved.size());
    }
}

void TestOutreachPlanStore::refusedPlansWriteNothing_data()
{
    QTest::addColumn<QList<TypedPhase>>("rows");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("position");

    const QString required =
        "All fields in the grid are required. Weeks collumn must be numeric. Please check your data and try again.";
    const QString range = "Weeks must be between 0 and 520.";
    const TypedPhase welcome{"Welcome", "Visit", "1"};
    QTest::newRow("empty name") << QList<TypedPhase>{welcome, {" ", "Visit", "2"}} << required << 2;
    QTest::newRow("empty action") << QList<TypedPhase>{{"Call", "", "2"}} << required << 1;
    QTest::newRow("empty weeks") << QList<TypedPhase>{welcome, {"Call", "Visit", ""}} << required << 2;
    QTest::newRow("weeks not a number") << QList<TypedPhase>{{"Call", "Visit", "two"}, welcome} << required << 1;
    QTest::newRow("weeks below 0") << QList<TypedPhase>{welcome, {"Call", "Visit", "-1"}} << range << 2;
    QTest::newRow("weeks above 520") << QList<TypedPhase>{{"Call", "Visit", "520.5"}} << range << 1;
    QTest::newRow("a name used twice, in other capitals")
        << QList<TypedPhase>{welcome, {"Call", "Visit", "2"}, {"WELCOME", "Card", "3"}}
        << "Each phase needs its own name: WELCOME is used twice." << 3;
}

void TestOutreachPlanStore::refusedPlansWriteNothing()
{
    QFETCH(QList<TypedPhase>, rows);
    QFETCH(QString, message);
    QFETCH(int, position);
    const OutreachPlan loaded = planOf({"Welcome", "Call"});
    store(loaded);
    const QList<qint64> prospects = addProspects({"Welcome", "Call"});

    const auto read = OutreachPlanStore::read(rows);
    QVERIFY(std::holds_alternative<PlanRefusal>(read));
    const PlanRefusal refusal = std::get<PlanRefusal>(read);
    QCOMPARE(refusal.message, message);
    QCOMPARE(refusal.title, QString("Invalid Data Fields"));
    QCOMPARE(refusal.position, position);

    // Saving a plan read without the rules is refused the same way, for the rules read() applies after reading.
    OutreachPlan unchecked;
    for (const TypedPhase& row : rows) {
        unchecked.push_back({row.name, row.action, row.weeks.toDouble()});
    }
    OutreachPlanStore plans(*m_db);
    if (!message.startsWith("All fields")) {
        const std::optional<PlanRefusal> refused = plans.save(loaded, unchecked);
        QVERIFY(refused);
        QCOMPARE(refused->message, message);
    }
    QCOMPARE(plans.load(), loaded);
    QCOMPARE(phasesOf(prospects), (QStringList{"Welcome", "Call"}));
}

void TestOutreachPlanStore::aFailedSaveIsRolledBackWhole()
{
    const OutreachPlan loaded = planOf({"A", "B", "C"});
    store(loaded);
    const QList<qint64> prospects = addProspects({"A", "B", "C"});
    // The last statement of the save (the third phase's row) fails.
    m_db->execute("CREATE TEMP TRIGGER refuse_last BEFORE INSERT ON Outreach_Phase WHEN NEW.PhaseOrder = 3 "
                  "BEGIN SELECT RAISE(ABORT, 'refused for the test'); END");

    OutreachPlanStore plans(*m_db);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, plans.save(loaded, planOf({"B", "A", "Third"})));
    QVERIFY(!m_db->inTransaction());
    QCOMPARE(phasesOf(prospects), (QStringList{"A", "B", "C"}));
    QCOMPARE(plans.load(), loaded);

    // Without the fault the same save goes through.
    m_db->execute("DROP TRIGGER refuse_last");
    QVERIFY(!plans.save(loaded, planOf({"B", "A", "Third"})));
    QCOMPARE(phasesOf(prospects), (QStringList{"B", "A", "Third"}));
}

QTEST_GUILESS_MAIN(TestOutreachPlanStore)
#include "tst_outreachplanstore.moc"
