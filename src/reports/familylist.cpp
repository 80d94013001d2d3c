#include "reports/familylist.h"

#include "core/textformat.h"
#include "data/database.h"

#include <QCoreApplication>

QString buildFamilyList(Database& db, qint64 memberId, bool headOfHousehold)
{
    // The head's connections name his relatives; anyone else is found as the relative of his heads.
    const QString join = headOfHousehold ? QStringLiteral("Family_Connection.Relative_Member_ID = Member.ID")
                                         : QStringLiteral("Family_Connection.Member_ID = Member.ID");
    const QString filter = headOfHousehold ? QStringLiteral("Family_Connection.Member_ID = ?")
                                           : QStringLiteral("Family_Connection.Relative_Member_ID = ?");
    const Rows rows = db.select(
        QStringLiteral("SELECT Member.ID, Member.Status, Member.First_Name, Member.Middle_Name, Member.Last_Name, "
                       "Member.Title, Member.Phone, Member.Gender, Member.Date_Of_Birth, Member.Member_Active_Status, "
                       "Member.Prospect_Active_Status, Family_Connection.Relationship "
                       "FROM Family_Connection LEFT JOIN Member ON ") +
            join + QStringLiteral(" WHERE ") + filter + QStringLiteral(" ORDER BY ") +
            Database::sortText(QStringLiteral("Family_Connection.Relationship")) + QStringLiteral(", Member.ID"),
        {memberId});
    const QString headText = QCoreApplication::translate("Reports", "Head of Household");
    QString text;
    for (const Row& row : rows) {
        const auto born = row.date(u"Date_Of_Birth");
        text += padRight(row.text(u"First_Name") + u' ' + row.text(u"Last_Name"), 25) + u' ' +
                padRight(headOfHousehold ? row.text(u"Relationship") : headText, 20) + u' ' +
                padRight(row.text(u"Gender"), 10) + u' ' +
                padRight(born ? born->toString(QStringLiteral("MM/dd/yyyy")) : QString(), 12) + QStringLiteral("\r\n");
    }
    return text;
}
