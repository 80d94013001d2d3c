#include "classes/caregroupstore.h"

#include "data/database.h"
#include "data/databaseerror.h"
#include "data/row.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"
#include "services/lookupstore.h"

NamedIds CareGroupStore::groups()
{
    return LookupStore(m_db).careGroups();
}

std::optional<CareGroupRecord> CareGroupStore::load(qint64 id)
{
    const std::optional<Row> row = m_db.selectOne(
        QStringLiteral(
            "SELECT Group_Leader, Asst_Group_Leader, Sunday_School_Class, Notes FROM Care_Group WHERE ID = ?"),
        {id});
    if (!row) {
        return std::nullopt;
    }
    return CareGroupRecord{row->integer(u"Group_Leader"), row->optionalInteger(u"Asst_Group_Leader"),
                           row->optionalInteger(u"Sunday_School_Class"), row->text(u"Notes")};
}

qint64 CareGroupStore::save(std::optional<qint64> id, const CareGroupRecord& r)
{
    const QVariantList values = {r.leader, SqlValue::optionalId(r.assistantLeader),
                                 SqlValue::optionalId(r.sundaySchoolClass), r.notes};
    if (!id) {
        return m_db.insert(QStringLiteral("INSERT INTO Care_Group (Group_Leader, Asst_Group_Leader, "
                                          "Sunday_School_Class, Notes) VALUES (?, ?, ?, ?)"),
                           values);
    }
    const int changed = m_db.execute(QStringLiteral("UPDATE Care_Group SET Group_Leader = ?, Asst_Group_Leader = ?, "
                                                    "Sunday_School_Class = ?, Notes = ? WHERE ID = ?"),
                                     values + QVariantList{*id});
    if (changed == 0) {
        throw DatabaseError(tr("The care group was deleted by someone else meanwhile; nothing was saved."));
    }
    return *id;
}

int CareGroupStore::peopleIn(qint64 id)
{
    return m_db
        .scalar(QStringLiteral("SELECT COUNT(*) FROM Member WHERE Care_Group_Assigned = ? OR "
                               "Prospect_Care_Group_Assigned = ?"),
                {id, id})
        .toInt();
}

void CareGroupStore::remove(qint64 id)
{
    Transaction transaction(m_db);
    m_db.execute(QStringLiteral("UPDATE Member SET Care_Group_Assigned = NULL WHERE Care_Group_Assigned = ?"), {id});
    m_db.execute(
        QStringLiteral("UPDATE Member SET Prospect_Care_Group_Assigned = NULL WHERE Prospect_Care_Group_Assigned = ?"),
        {id});
    m_db.execute(QStringLiteral("DELETE FROM Care_Group WHERE ID = ?"), {id});
    transaction.commit();
}
