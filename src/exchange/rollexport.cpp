#include "exchange/rollexport.h"

#include "core/money.h"
#include "data/database.h"
#include "data/sqlvalue.h"

#include <QSet>

namespace RollExport {

QList<QStringList> people(Database& db, const QList<qint64>& ids)
{
    // A relative has one link from his head; a head none to himself.
    Query query = db.query(
        QStringLiteral("SELECT Member.*, ifnull(f.Member_ID, CASE WHEN Member.Head_Of_Household <> 0 THEN Member.ID "
                       "END) AS Household, CASE WHEN Member.Head_Of_Household <> 0 THEN 'Yes' ELSE '' END AS "
                       "\"Head of Household\", f.Relationship AS Relationship FROM Member LEFT JOIN (SELECT "
                       "Relative_Member_ID, min(Member_ID) AS Member_ID, Relationship FROM Family_Connection GROUP BY "
                       "Relative_Member_ID) f ON f.Relative_Member_ID = Member.ID WHERE Member.ID <> 1 AND "
                       "(Member.Status IS NULL OR Member.Status <> ?) ORDER BY Member.ID"),
        {QStringLiteral("Deleted Member")});
    const QSet<qint64> chosen(ids.cbegin(), ids.cend());
    QList<QStringList> rows;
    QStringList headings;
    for (int c = 0; c < query.columnCount(); ++c) {
        headings << query.columnName(c);
    }
    rows << headings;
    while (query.next()) {
        if (!chosen.isEmpty() && !chosen.contains(query.value(0).toLongLong())) {
            continue;
        }
        QStringList cells;
        cells.reserve(headings.size());
        for (int c = 0; c < headings.size(); ++c) {
            cells << query.value(c).toString();
        }
        rows << cells;
    }
    return rows;
}

QList<QStringList> contributions(Database& db, const QDate& from, const QDate& to)
{
    QList<QStringList> rows = {{QStringLiteral("ID"), QStringLiteral("Date"), QStringLiteral("Member ID"),
                                QStringLiteral("Last"), QStringLiteral("First"), QStringLiteral("Envelope"),
                                QStringLiteral("Amount"), QStringLiteral("Ref No."), QStringLiteral("Designation"),
                                QStringLiteral("Entered By")}};
    for (const Row& row :
         db.select(QStringLiteral("SELECT c.ID, c.ContributionDate, c.MemberID, m.Last_Name, m.First_Name, "
                                  "c.EnvelopeNumber, c.Amount, c.RefNumber, c.Designation, c.UserName FROM "
                                  "Member_Contributions c LEFT JOIN Member m ON m.ID = c.MemberID WHERE "
                                  "c.ContributionDate >= ? AND c.ContributionDate <= ? ORDER BY c.ContributionDate, "
                                  "c.ID"),
                   {SqlValue::fromDate(from), SqlValue::fromDate(to)})) {
        rows << QStringList{row.text(u"ID"),
                            row.text(u"ContributionDate"),
                            row.text(u"MemberID"),
                            row.text(u"Last_Name"),
                            row.text(u"First_Name"),
                            row.text(u"EnvelopeNumber"),
                            formatAmount(row.integer(u"Amount")),
                            row.text(u"RefNumber"),
                            row.text(u"Designation"),
                            row.text(u"UserName")};
    }
    return rows;
}

} // namespace RollExport
