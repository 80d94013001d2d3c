#include "reports/rollreports.h"

#include "data/database.h"
#include "data/namekey.h"
#include "reports/reportdesign.h"
#include "reports/reporterror.h"
#include "reports/reportrenderer.h"

namespace {

QString classColumn(ClassKind kind)
{
    switch (kind) {
        case ClassKind::SundaySchool:
            return QStringLiteral("Sunday_School_Class");
        case ClassKind::DiscipleshipTraining:
            return QStringLiteral("Discipleship_Training_Class");
        case ClassKind::WednesdayNight:
            break;
    }
    return QStringLiteral("Wednesday_Night_Class");
}

} // namespace

RollReports::RollReports(Database& db, ReportHeading heading)
    : m_db(db)
    , m_heading(std::move(heading))
{}

QString RollReports::design(ClassKind kind)
{
    switch (kind) {
        case ClassKind::SundaySchool:
            return QStringLiteral("crptSundaySchoolRollReport2");
        case ClassKind::DiscipleshipTraining:
            return QStringLiteral("crptDiscipleshipTrainingRollReport");
        case ClassKind::WednesdayNight:
            break;
    }
    return QStringLiteral("crptWednesdayNightRollReport");
}

Rows RollReports::rollRows(ClassKind kind, const QList<qint64>& classIds)
{
    const QString column = classColumn(kind);
    const QString table = LookupStore::classTable(kind);
    QVariantList params;
    QString chosenClasses;
    if (!classIds.isEmpty()) {
        QStringList marks;
        for (const qint64 id : classIds) {
            marks << QStringLiteral("?");
            params << id;
        }
        chosenClasses = QStringLiteral("AND %1.ID IN (%2) ").arg(table, marks.join(u','));
    }
    // Active people who are neither former nor deleted members, in a class of the kind that still exists. The
    // placeholder that takes over a deleted teacher's classes is no teacher to show.
    return m_db.select(
        QStringLiteral("SELECT Member.ID, Member.First_Name, Member.Middle_Name, Member.Last_Name, Member.Title, "
                       "Member.Phone, Member.Cell, %2.ID AS ClassID, %2.Name AS ClassName, "
                       "CASE WHEN CGLeaderTbl.ID IS NULL THEN '' "
                       "ELSE CGLeaderTbl.Last_Name || ', ' || CGLeaderTbl.First_Name END AS CGLeader, "
                       "CASE WHEN TeacherTbl.ID IS NULL OR TeacherTbl.ID = 1 THEN '' ELSE "
                       "trim(coalesce(TeacherTbl.First_Name, '') || ' ' || coalesce(TeacherTbl.Last_Name, '')) END "
                       "AS Teacher, coalesce(%2.Location, '') AS Room "
                       "FROM Member JOIN %2 ON Member.%1 = %2.ID "
                       "LEFT JOIN Care_Group ON Member.Care_Group_Assigned = Care_Group.ID "
                       "LEFT JOIN Member AS CGLeaderTbl ON Care_Group.Group_Leader = CGLeaderTbl.ID "
                       "LEFT JOIN Member AS TeacherTbl ON %2.Teacher = TeacherTbl.ID "
                       "WHERE Member.Member_Active_Status = 'Active' AND Member.Status <> 'Previous Member' "
                       "AND Member.Status <> 'Deleted Member' %4"
                       "ORDER BY %2.ID, %3")
            .arg(column, table, NameKey::personOrder(), chosenClasses),
        params);
}

bool RollReports::classExists(ClassKind kind, qint64 classId)
{
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE ID = ?").arg(LookupStore::classTable(kind)),
                       {classId})
               .toLongLong() > 0;
}

ReportDocument RollReports::printRoll(ClassKind kind, const QDate& rollDate, const QList<qint64>& classIds)
{
    if (!rollDate.isValid()) {
        throw ReportError(tr("A roll needs the date it is for."));
    }
    ReportData data;
    data.rows = rollRows(kind, classIds);
    data.heading = m_heading;
    data.namedTexts.insert(QStringLiteral("RollDate"), rollDate.toString(QStringLiteral("MMMM d, yyyy")));
    return ReportRenderer::render(ReportDesign::load(design(kind)), data);
}
