// Times the lookups that the screens lean on, straight through the data layer, on a large demo roll:
// people by name, one week's attendance, one person's year of gifts and his family.
// Usage: bench_datalookups [PEOPLE]   (default 25000; the roll is built once and cached)

#include "benchutil.h"

#include "data/database.h"
#include "data/preparedstatement.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int people = Bench::peopleArgument(argc, argv);
    try {
        const DemoRollOptions options = Bench::rollOptions(people);
        auto db = Database::open(Bench::cachedDemoRoll(options));
        const QString lastWeek = options.until.toString(Qt::ISODate);
        const qint64 person = db->scalar(QStringLiteral("SELECT MemberID FROM Member_Contributions ORDER BY "
                                                        "ID DESC LIMIT 1"))
                                  .toLongLong();

        Bench::report(Bench::measure(QStringLiteral("people whose last name starts with \"mil\""), 20, [&] {
            db->select(QStringLiteral("SELECT ID, Last_Name, First_Name FROM Member WHERE Last_Name LIKE ? ESCAPE "
                                      "'\\' ORDER BY Last_Name, First_Name"),
                       {Database::wildcardPattern(QStringLiteral("mil*"))});
        }));
        Bench::report(Bench::measure(QStringLiteral("attendance of the last week"), 20, [&] {
            db->select(QStringLiteral("SELECT m.ID, m.Last_Name, m.First_Name, a.SS, a.SL, a.RBD, a.WS, a.DT, a.SE, "
                                      "a.WN FROM Member m LEFT JOIN AttendanceData a ON a.MemberID = m.ID AND "
                                      "a.WeekOf = ? WHERE m.Member_Active_Status <> 'InActive' ORDER BY m.Last_Name, "
                                      "m.First_Name"),
                       {lastWeek});
        }));
        Bench::report(Bench::measure(QStringLiteral("one giver's gifts of the last year"), 50, [&] {
            db->select(QStringLiteral("SELECT * FROM Member_Contributions WHERE MemberID = ? AND ContributionDate > ? "
                                      "ORDER BY ContributionDate"),
                       {person, options.until.addYears(-1)});
        }));
        PreparedStatement family(*db, QStringLiteral("SELECT f.Relationship, m.Last_Name, m.First_Name FROM "
                                                     "Family_Connection f JOIN Member m ON m.ID = f.Relative_Member_ID "
                                                     "WHERE f.Member_ID = ?"));
        Bench::report(Bench::measure(QStringLiteral("family of 1000 heads, one prepared statement"), 10, [&] {
            for (qint64 id = 2; id < 1002; ++id) {
                family.select({id});
            }
        }));
    } catch (const DatabaseError& error) {
        qCritical("%s", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
