#include "services/lookupstore.h"

#include "data/database.h"
#include "data/namekey.h"

namespace {

struct TextList
{
    const char* table;
    const char* column;
};

TextList textList(LookupList list)
{
    switch (list) {
        case LookupList::MemberStatuses:
            return {"MemberStatus", "Status"};
        case LookupList::ChurchStatuses:
            return {"ChurchStatus", "Status"};
        case LookupList::ProspectStatuses:
            return {"ProspectStatus", "Status"};
        case LookupList::Titles:
            return {"Titles", "Title"};
        case LookupList::States:
            return {"State", "State"};
        case LookupList::AttendanceLevels:
            return {"AttendanceLevels", "Levels"};
        case LookupList::Relationships:
            return {"Relationships", "Relationships"};
        case LookupList::Responsibilities:
            return {"Responsibilities", "Name"};
        case LookupList::Organizations:
            return {"Church_Organizations", "Name"};
        case LookupList::ContributionDesignations:
            return {"ContributionDesignation", "Name"};
        case LookupList::ProspectActions:
            return {"Prospect_Action", "Action"};
        case LookupList::ProspectContactRatings:
            return {"Prospect_Contact_Rating", "Rating"};
        case LookupList::UserTypes:
            return {"UserType", "Name"};
    }
    return {"MemberStatus", "Status"};
}

// "Last, First" of a person in a result whose columns are Last_Name, First_Name, ID.
NamedIds lastFirstEntries(Database& db, const QString& sql, const QVariantList& params = {})
{
    NamedIds out;
    Query query = db.query(sql, params);
    while (query.next()) {
        out.push_back({query.value(2).toLongLong(),
                       query.value(0).toString() + QStringLiteral(", ") + query.value(1).toString()});
    }
    return out;
}

} // namespace

QStringList LookupStore::texts(LookupList list)
{
    // Table and column names are our own constants.
    const TextList t = textList(list);
    const QString column = QString::fromLatin1(t.column);
    return m_db.texts(QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY ").arg(column, QString::fromLatin1(t.table)) +
                      Database::sortText(u'"' + column + u'"'));
}

QString LookupStore::tableOf(LookupList list)
{
    return QString::fromLatin1(textList(list).table);
}

QString LookupStore::columnOf(LookupList list)
{
    return QString::fromLatin1(textList(list).column);
}

QStringList LookupStore::outreachPhases()
{
    return m_db.texts(QStringLiteral("SELECT Phase FROM Outreach_Phase ORDER BY PhaseOrder"));
}

QString LookupStore::classTable(ClassKind kind)
{
    switch (kind) {
        case ClassKind::SundaySchool:
            return QStringLiteral("Sunday_School");
        case ClassKind::DiscipleshipTraining:
            return QStringLiteral("Discipleship_Training");
        case ClassKind::WednesdayNight:
            return QStringLiteral("Wednesday_Night");
    }
    return {};
}

NamedIds LookupStore::classes(ClassKind kind)
{
    NamedIds out;
    for (const Row& row : m_db.select(QStringLiteral("SELECT ID, Name FROM %1 ORDER BY ").arg(classTable(kind)) +
                                      Database::sortText(QStringLiteral("Name")) + QStringLiteral(", ID"))) {
        out.push_back({row.integer(u"ID"), row.text(u"Name")});
    }
    return out;
}

NamedIds LookupStore::careGroups()
{
    return lastFirstEntries(m_db, QStringLiteral("SELECT Last_Name, First_Name, Care_Group.ID FROM Care_Group "
                                                 "LEFT JOIN Member ON Care_Group.Group_Leader = Member.ID "
                                                 "ORDER BY ") +
                                      NameKey::personOrder() + QStringLiteral(", Care_Group.ID"));
}

NamedIds LookupStore::deacons()
{
    return lastFirstEntries(m_db,
                            QStringLiteral("SELECT Last_Name, First_Name, Member.ID FROM Member_Responsibility "
                                           // The few rows of the responsibility lead; without CROSS JOIN the
                                           // planner walks the whole roll in name order to avoid a sort.
                                           "CROSS JOIN Member ON Member_Responsibility.Member_ID = Member.ID "
                                           "WHERE Responsibility = ? ORDER BY ") +
                                NameKey::personOrder(),
                            {deaconResponsibility()});
}

QString LookupStore::deaconResponsibility()
{
    return QStringLiteral("Deacon");
}
