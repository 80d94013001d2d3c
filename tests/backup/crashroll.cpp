#include "crashroll.h"

#include "data/database.h"
#include "data/databasesetup.h"
#include "data/preparedstatement.h"
#include "data/transaction.h"

#include <QDate>
#include <QStringList>

namespace CrashRoll {

void create(const QString& path)
{
    auto db = openOrCreateDatabase(path, Database::defaultKey());
    for (int serial = 0; serial < kPeople; ++serial) {
        addPerson(*db, serial);
    }
}

qint64 addPerson(Database& db, int serial)
{
    Transaction transaction(db);
    const qint64 id = db.insert(QStringLiteral("INSERT INTO Member (Status, First_Name, Last_Name, Head_Of_Household) "
                                               "VALUES ('Member', ?, 'Crash', 0)"),
                                {QStringLiteral("Person %1").arg(serial)});
    PreparedStatement week(db,
                           QStringLiteral("INSERT INTO AttendanceData (WeekOf, MemberID, SS, WS) VALUES (?, ?, 1, 1)"));
    PreparedStatement gift(db, QStringLiteral("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, "
                                              "Designation) VALUES (?, ?, ?, 'General')"));
    const QDate first(2000, 1, 2);
    for (int i = 0; i < kWeeksPerPerson; ++i) {
        const QString sunday = first.addDays(7 * i).toString(Qt::ISODate);
        week.execute({sunday, id});
        gift.execute({id, sunday, 1000 + i});
    }
    db.execute(QStringLiteral("INSERT INTO Member_Responsibility (Member_ID, Responsibility) VALUES (?, 'Usher')"),
               {id});
    transaction.commit();
    return id;
}

QString problems(Database& db)
{
    QStringList found;
    const auto countsOf = [&db](const QString& sql) {
        QMap<qint64, qint64> counts;
        for (const Row& row : db.select(sql)) {
            counts.insert(row.integer(u"ID"), row.integer(u"N"));
        }
        return counts;
    };
    const QMap<qint64, qint64> weeks =
        countsOf(QStringLiteral("SELECT MemberID AS ID, count(*) AS N FROM AttendanceData GROUP BY MemberID"));
    const QMap<qint64, qint64> gifts =
        countsOf(QStringLiteral("SELECT MemberID AS ID, count(*) AS N FROM Member_Contributions GROUP BY MemberID"));
    const QMap<qint64, qint64> duties =
        countsOf(QStringLiteral("SELECT Member_ID AS ID, count(*) AS N FROM Member_Responsibility GROUP BY Member_ID"));
    QSet<qint64> people;
    for (const Row& row : db.select(QStringLiteral("SELECT ID FROM Member WHERE Last_Name = 'Crash'"))) {
        people.insert(row.integer(u"ID"));
    }
    for (const qint64 id : people) {
        if (weeks.value(id) != kWeeksPerPerson || gifts.value(id) != kWeeksPerPerson || duties.value(id) != 1) {
            found << QStringLiteral("person %1 has %2 weeks, %3 gifts, %4 responsibilities")
                         .arg(id)
                         .arg(weeks.value(id))
                         .arg(gifts.value(id))
                         .arg(duties.value(id));
        }
    }
    for (const QMap<qint64, qint64>* table : {&weeks, &gifts, &duties}) {
        for (auto it = table->cbegin(); it != table->cend(); ++it) {
            if (!people.contains(it.key())) {
                found << QStringLiteral("%1 rows of the missing person %2").arg(it.value()).arg(it.key());
            }
        }
    }
    return found.join(QStringLiteral("; "));
}

} // namespace CrashRoll
