#include "outreach/outreachplan.h"

#include <QTest>

Q_DECLARE_METATYPE(OutreachPlan)
Q_DECLARE_METATYPE(OutreachStep)

// The step the plan proposes after a contact, as a table of plans, current phases and actions taken.
class TestNextOutreachStep : public QObject
{
    Q_OBJECT

private slots:
    void proposal_data();
    void proposal();
    void weeksRoundHalvesToEven_data();
    void weeksRoundHalvesToEven();
};

namespace {

const QDate kContact(2021, 3, 1);

OutreachPlan threePhases()
{
    return {{"First Visit", "Visit", 1}, {"Pastor's Call", "Phone Call", 3}, {"Card", "Card", 2.5}};
}

} // namespace

void TestNextOutreachStep::proposal_data()
{
    QTest::addColumn<OutreachPlan>("plan");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("action");
    QTest::addColumn<OutreachStep>("expected");

    const OutreachPlan plan = threePhases();
    QTest::newRow("other action: stays, current weeks")
        << plan << "Pastor's Call"
        << "Visit" << OutreachStep{"Pastor's Call", QDate(2021, 3, 22), "Phone Call"};
    QTest::newRow("phase's action: advances, current weeks")
        << plan << "Pastor's Call"
        << "Phone Call" << OutreachStep{"Card", QDate(2021, 3, 22), "Card"};
    QTest::newRow("last phase done: wraps to the first, 2.5 weeks as 2")
        << plan << "Card"
        << "Card" << OutreachStep{"First Visit", QDate(2021, 3, 15), "Visit"};
    QTest::newRow("no phase: first phase a week later")
        << plan << ""
        << "Visit" << OutreachStep{"First Visit", QDate(2021, 3, 8), "Visit"};
    QTest::newRow("phase not in the plan: as no phase")
        << plan << "Removed Phase"
        << "Card" << OutreachStep{"First Visit", QDate(2021, 3, 8), "Visit"};
    QTest::newRow("empty plan: nothing, a week later") << OutreachPlan{} << "Card"
                                                       << "Card" << OutreachStep{"", QDate(2021, 3, 8), ""};
    QTest::newRow("empty plan, no phase") << OutreachPlan{} << ""
                                          << "" << OutreachStep{"", QDate(2021, 3, 8), ""};
    QTest::newRow("phase name in other capitals is the phase")
        << plan << "PASTOR'S CALL"
        << "Phone Call" << OutreachStep{"Card", QDate(2021, 3, 22), "Card"};
    QTest::newRow("accented name in other capitals")
        << OutreachPlan{{"Évangélisation", "Visit", 2}, {"Suite", "Card", 1}} << "ÉVANGÉLISATION"
        << "Visit" << OutreachStep{"Suite", QDate(2021, 3, 15), "Card"};
    QTest::newRow("action in other capitals is another action: stays")
        << plan << "Pastor's Call"
        << "phone call" << OutreachStep{"Pastor's Call", QDate(2021, 3, 22), "Phone Call"};

    // A phase without action (its action was removed from the list): no action taken equals it.
    const OutreachPlan withoutAction{{"Welcome", "Visit", 1}, {"Wait", "", 4}, {"Letter", "", 2}};
    QTest::newRow("NULL action, another taken: stays without action")
        << withoutAction << "Wait"
        << "Visit" << OutreachStep{"Wait", QDate(2021, 3, 29), ""};
    QTest::newRow("NULL action, none taken: advances into a phase without action")
        << withoutAction << "Wait"
        << "" << OutreachStep{"Letter", QDate(2021, 3, 29), ""};
    QTest::newRow("advancing into a phase without action") << withoutAction << "Welcome"
                                                           << "Visit" << OutreachStep{"Wait", QDate(2021, 3, 8), ""};

    // Two phases of one name (stored before names had to differ): the earlier one is his.
    const OutreachPlan twice{{"Visit", "Visit", 1}, {"Call", "Phone Call", 2}, {"VISIT", "Card", 5}};
    QTest::newRow("a name used twice: the lowest position")
        << twice << "visit"
        << "Visit" << OutreachStep{"Call", QDate(2021, 3, 8), "Phone Call"};
    QTest::newRow("3.5 weeks round to 4") << OutreachPlan{{"Long", "Visit", 3.5}} << "Long"
                                          << "Card" << OutreachStep{"Long", QDate(2021, 3, 29), "Visit"};
}

void TestNextOutreachStep::proposal()
{
    QFETCH(OutreachPlan, plan);
    QFETCH(QString, current);
    QFETCH(QString, action);
    QFETCH(OutreachStep, expected);
    const OutreachStep step = nextOutreachStep(plan, current, kContact, action);
    QCOMPARE(step.phase, expected.phase);
    QCOMPARE(step.date, expected.date);
    QCOMPARE(step.action, expected.action);
}

void TestNextOutreachStep::weeksRoundHalvesToEven_data()
{
    QTest::addColumn<double>("weeks");
    QTest::addColumn<int>("rounded");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("2.4") << 2.4 << 2;
    QTest::newRow("2.6") << 2.6 << 3;
    QTest::newRow("3") << 3.0 << 3;
    QTest::newRow("520") << 520.0 << 520;
}

void TestNextOutreachStep::weeksRoundHalvesToEven()
{
    QFETCH(double, weeks);
    QFETCH(int, rounded);
    QCOMPARE(roundedWeeks(weeks), rounded);
}

QTEST_GUILESS_MAIN(TestNextOutreachStep)
#include "tst_nextoutreachstep.moc"
