#include "classes/classstore.h"

#include "data/database.h"
#include "data/databaseerror.h"
#include "data/row.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"

ClassStore::ClassStore(Database& db, ClassKind kind)
    : m_db(db)
    , m_kind(kind)
    , m_table(LookupStore::classTable(kind))
{}

NamedIds ClassStore::classes()
{
    return LookupStore(m_db).classes(m_kind);
}

std::optional<ClassRecord> ClassStore::load(qint64 id)
{
    const std::optional<Row> row = m_db.selectOne(
        QStringLiteral("SELECT Name, Description, Teacher, Asst_Teacher, Location, Notes FROM %1 WHERE ID = ?")
            .arg(m_table),
        {id});
    if (!row) {
        return std::nullopt;
    }
    return ClassRecord{row->text(u"Name"),
                       row->text(u"Description"),
                       row->optionalInteger(u"Teacher"),
                       row->optionalInteger(u"Asst_Teacher"),
                       row->text(u"Location"),
                       row->text(u"Notes")};
}

qint64 ClassStore::save(std::optional<qint64> id, const ClassRecord& r)
{
    const QVariantList values = {
        r.name,     r.description, SqlValue::optionalId(r.teacher), SqlValue::optionalId(r.assistantTeacher),
        r.location, r.notes};
    if (!id) {
        return m_db.insert(QStringLiteral("INSERT INTO %1 (Name, Description, Teacher, Asst_Teacher, Location, Notes) "
                                          "VALUES (?, ?, ?, ?, ?, ?)")
                               .arg(m_table),
                           values);
    }
    const int changed = m_db.execute(QStringLiteral("UPDATE %1 SET Name = ?, Description = ?, Teacher = ?, "
                                                    "Asst_Teacher = ?, Location = ?, Notes = ? WHERE ID = ?")
                                         .arg(m_table),
                                     values + QVariantList{*id});
    if (changed == 0) {
        throw DatabaseError(tr("The class was deleted by someone else meanwhile; nothing was saved."));
    }
    return *id;
}

QStringList ClassStore::memberColumns() const
{
    switch (m_kind) {
        case ClassKind::SundaySchool:
            return {QStringLiteral("Sunday_School_Class"), QStringLiteral("Prospect_Sunday_School_Class_Assigned")};
        case ClassKind::DiscipleshipTraining:
            return {QStringLiteral("Discipleship_Training_Class")};
        case ClassKind::WednesdayNight:
            return {QStringLiteral("Wednesday_Night_Class")};
    }
    return {};
}

Assignments ClassStore::assignmentsOf(qint64 id)
{
    QStringList tests;
    QVariantList params;
    for (const QString& column : memberColumns()) {
        tests << column + QStringLiteral(" = ?");
        params << id;
    }
    Assignments a;
    a.people =
        m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM Member WHERE ") + tests.join(QStringLiteral(" OR ")), params)
            .toInt();
    if (m_kind == ClassKind::SundaySchool) {
        a.careGroups =
            m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM Care_Group WHERE Sunday_School_Class = ?"), {id}).toInt();
    }
    return a;
}

void ClassStore::remove(qint64 id)
{
    Transaction transaction(m_db);
    for (const QString& column : memberColumns()) {
        m_db.execute(QStringLiteral("UPDATE Member SET %1 = NULL WHERE %1 = ?").arg(column), {id});
    }
    if (m_kind == ClassKind::SundaySchool) {
        m_db.execute(QStringLiteral("UPDATE Care_Group SET Sunday_School_Class = NULL WHERE Sunday_School_Class = ?"),
                     {id});
    }
    m_db.execute(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(m_table), {id});
    transaction.commit();
}
