#include "reports/prospectreports.h"

#include "data/database.h"
#include "data/namekey.h"
#include "data/sqlvalue.h"
#include "reports/familylist.h"
#include "reports/memberreports.h"
#include "reports/reportdesign.h"
#include "reports/reportidlist.h"
#include "reports/reportrenderer.h"
#include "services/prospectcontactquery.h"

namespace {

// The prospect's care group leader and Sunday School class are those he is assigned to as a prospect.
QString prospectJoins()
{
    return QStringLiteral(" FROM Member "
                          "LEFT JOIN Care_Group ON Member.Prospect_Care_Group_Assigned = Care_Group.ID "
                          "LEFT JOIN Member AS CGLeaderTbl ON Care_Group.Group_Leader = CGLeaderTbl.ID "
                          "LEFT JOIN Sunday_School ON Member.Prospect_Sunday_School_Class_Assigned = "
                          "Sunday_School.ID");
}

QString cgLeader()
{
    return MemberReports::joinedName(QStringLiteral("CGLeaderTbl"), QStringLiteral("CGLeader"));
}

// "Last, First" of a contact's visitor, null when there is none.
QString visitorName(const QString& table, const QString& alias)
{
    return MemberReports::joinedName(table, alias);
}

} // namespace

ProspectReports::ProspectReports(Database& db, ReportHeading heading)
    : m_db(db)
    , m_heading(std::move(heading))
{}

Rows ProspectReports::prospectListRows(const QList<qint64>& ids)
{
    const ReportIdList list(m_db, ids);
    return m_db.select(
        QStringLiteral("SELECT Member.ID, Member.Status, Member.First_Name, Member.Middle_Name, Member.Last_Name, "
                       "Member.Title, Member.Address_1, Member.Address_2, Member.City, Member.State, Member.Zip, "
                       "Member.Phone, Member.Cell, Member.Work_Phone, Member.Email, Member.Prospect_Phase, "
                       "Member.Prospect_Next_Contact_Date, Member.Prospect_Next_Contact_Action, "
                       "Member.Place_Of_Work, Member.Occupation, Member.Date_Of_Birth, Member.Head_Of_Household, "
                       "Member.Gender, Member.Marital_Status, Member.Anniversary_Date, Member.Hobbies, "
                       "Member.Organizations, Member.Map_Section, Member.Notes, Member.Member_Active_Status, "
                       "Member.Member_Since, Member.Previous_Church, Member.Came_Forward, Member.Baptized, "
                       "Sunday_School.Name, ") +
        cgLeader() +
        QStringLiteral(", Member.Receive_Newsletter_Via_Mail, Member.Receive_Newsletter_Via_EMail, "
                       "Member.Prospect_Source, Member.Prospect_Active_Status, Member.Prospect_Note, "
                       "Member.Prospect_Member_Of") +
        prospectJoins() + QStringLiteral(" WHERE ") + ReportIdList::condition(QStringLiteral("Member.ID")) +
        QStringLiteral(" ORDER BY ") + NameKey::personOrder());
}

Rows ProspectReports::prospectContactRows(const QList<qint64>& ids)
{
    const ReportIdList list(m_db, ids);
    return m_db.select(ProspectContactQuery::select() + QStringLiteral(" WHERE ") +
                       ReportIdList::condition(QStringLiteral("Prospect_Contact.Prospect_ID")) +
                       ProspectContactQuery::newestFirst());
}

Rows ProspectReports::visitationSheetRows(qint64 id)
{
    return m_db.select(
        QStringLiteral("SELECT Member.ID, Member.Status, Member.First_Name, Member.Middle_Name, Member.Last_Name, "
                       "Member.Title, Member.Address_1, Member.Address_2, Member.City, Member.State, Member.Zip, "
                       "Member.Phone, Member.Cell, Member.Work_Phone, Member.Email, Member.Place_Of_Work, "
                       "Member.Occupation, Member.Date_Of_Birth, Member.Head_Of_Household, Member.Gender, "
                       "Member.Marital_Status, Member.Anniversary_Date, Member.Hobbies, Member.Organizations, "
                       "Member.Map_Section, Member.Notes, Member.Member_Active_Status, Member.Prospect_Source, "
                       "Member.Prospect_Active_Status, Member.Prospect_Note, Sunday_School.Name, ") +
            cgLeader() +
            QStringLiteral(", Member.Prospect_Member_Of, Member.Prospect_Next_Contact_Date, "
                           "Member.Prospect_Next_Contact_Action, Member.Prospect_Next_Contact_Type, "
                           "Prospect_Contact.ID, Prospect_Contact.Contact_Date, Prospect_Contact.Action, "
                           "Prospect_Contact.Type, ") +
            visitorName(QStringLiteral("Visitor1Tbl"), QStringLiteral("Visitor1Name")) + QStringLiteral(", ") +
            visitorName(QStringLiteral("Visitor2Tbl"), QStringLiteral("Visitor2Name")) +
            QStringLiteral(", Prospect_Contact.Notes, Prospect_Contact.Rating") + prospectJoins() +
            QStringLiteral(" LEFT JOIN Prospect_Contact ON Member.ID = Prospect_Contact.Prospect_ID "
                           "LEFT JOIN Member AS Visitor1Tbl ON Visitor1Tbl.ID = Prospect_Contact.Visitor1 "
                           "LEFT JOIN Member AS Visitor2Tbl ON Visitor2Tbl.ID = Prospect_Contact.Visitor2 "
                           "WHERE Member.ID = ?") +
            ProspectContactQuery::oldestFirst(),
        {id});
}

Rows ProspectReports::listingRows(qint64 classId)
{
    // Those with a next contact date come first (sort order 1), by date and action; then those without (2).
    return m_db.select(
        QStringLiteral("SELECT Member.ID, Member.Status, Member.First_Name, Member.Middle_Name, Member.Last_Name, "
                       "Member.Title, Member.Address_1, Member.Address_2, Member.City, Member.State, Member.Zip, "
                       "Member.Phone, Member.Cell, Member.Work_Phone, Member.Email, Member.Prospect_Phase, "
                       "Member.Prospect_Next_Contact_Date, Member.Prospect_Next_Contact_Action, "
                       "Member.Prospect_Source, Member.Place_Of_Work, Member.Occupation, Member.Date_Of_Birth, "
                       "Member.Head_Of_Household, Member.Gender, Member.Marital_Status, Member.Anniversary_Date, "
                       "Member.Hobbies, Member.Organizations, Member.Map_Section, Member.Notes, "
                       "Member.Member_Active_Status, Sunday_School.Name, ") +
            cgLeader() +
            QStringLiteral(", Member.Receive_Newsletter_Via_Mail, Member.Receive_Newsletter_Via_EMail, "
                           "CASE WHEN COALESCE(Member.Prospect_Next_Contact_Date, '') = '' THEN 2 ELSE 1 END "
                           "AS SortOrder, Member.Prospect_Sunday_School_Class_Assigned") +
            prospectJoins() +
            QStringLiteral(" WHERE Member.Prospect_Active_Status = ? AND "
                           "Member.Prospect_Sunday_School_Class_Assigned = ? "
                           "ORDER BY SortOrder, Member.Prospect_Next_Contact_Date, ") +
            Database::sortText(QStringLiteral("Member.Prospect_Next_Contact_Action")) + QStringLiteral(", ") +
            NameKey::personOrder(),
        {QStringLiteral("Active"), classId});
}

Rows ProspectReports::listingContactRows(qint64 classId)
{
    return m_db.select(ProspectContactQuery::select() +
                           QStringLiteral(" WHERE Prospect_Contact.Prospect_ID IN (SELECT ID FROM Member WHERE "
                                          "Prospect_Sunday_School_Class_Assigned = ?)") +
                           ProspectContactQuery::newestFirst(),
                       {classId});
}

bool ProspectReports::sundaySchoolClassExists(qint64 classId)
{
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM Sunday_School WHERE ID = ?"), {classId}).toLongLong() > 0;
}

QList<qint64> ProspectReports::sundaySchoolClassIds()
{
    QList<qint64> ids;
    for (const Row& row : m_db.select(QStringLiteral("SELECT ID FROM Sunday_School ORDER BY ") +
                                      Database::sortText(QStringLiteral("Name")) + QStringLiteral(", ID"))) {
        ids << row.integer(u"ID");
    }
    return ids;
}

ReportDocument ProspectReports::build(const QString& designName, ReportData data)
{
    data.heading = m_heading;
    return ReportRenderer::render(ReportDesign::load(designName), data);
}

ReportDocument ProspectReports::printProspectList(const QList<qint64>& ids)
{
    ReportData data;
    data.rows = prospectListRows(ids);
    data.subreportRows.insert(contactsSubreport(), prospectContactRows(ids));
    return build(prospectListDesign(), std::move(data));
}

ReportDocument ProspectReports::printProspectListShort(const QList<qint64>& ids)
{
    ReportData data;
    data.rows = prospectListRows(ids);
    return build(prospectListShortDesign(), std::move(data));
}

ReportDocument ProspectReports::printVisitationSheet(qint64 id)
{
    ReportData data;
    data.rows = visitationSheetRows(id);
    if (!data.rows.empty()) {
        data.namedTexts.insert(QStringLiteral("Family"),
                               buildFamilyList(m_db, id, data.rows.front().integer(u"Head_Of_Household") != 0));
    }
    return build(visitationSheetDesign(), std::move(data));
}

ReportDocument ProspectReports::printVisitationSheets(const QList<qint64>& ids,
                                                      const std::function<bool(int done)>& progress)
{
    ReportDocument all;
    int done = 0;
    for (const qint64 id : ids) {
        ReportDocument sheet = printVisitationSheet(id);
        if (done == 0) {
            // The run takes the first sheet's design, title and paper.
            all = sheet;
            all.pages.clear();
        }
        for (ReportPage& page : sheet.pages) {
            all.pages.push_back(std::move(page));
        }
        ++done;
        if (progress && !progress(done)) {
            return {};
        }
    }
    return all;
}

std::optional<ReportDocument> ProspectReports::printSundaySchoolProspectListing(qint64 classId)
{
    ReportData data;
    data.rows = listingRows(classId);
    if (data.rows.empty()) {
        return std::nullopt;
    }
    data.subreportRows.insert(contactsSubreport(), listingContactRows(classId));
    return build(sundaySchoolProspectListingDesign(), std::move(data));
}

QList<qint64> ProspectReports::sheetProspects(qint64 classId, const QDate& from, const QDate& to,
                                              const QStringList& actions)
{
    if (actions.isEmpty()) {
        return {};
    }
    QStringList marks;
    QVariantList params{QStringLiteral("Active"), classId, SqlValue::fromDate(from), SqlValue::fromDate(to)};
    for (const QString& action : actions) {
        marks << QStringLiteral("?");
        params << action;
    }
    QList<qint64> ids;
    for (const Row& row :
         m_db.select(QStringLiteral("SELECT Member.ID FROM Member WHERE Member.Prospect_Active_Status = "
                                    "? AND Member.Prospect_Sunday_School_Class_Assigned = ? AND "
                                    "Member.Prospect_Next_Contact_Date >= ? AND "
                                    "Member.Prospect_Next_Contact_Date <= ? AND "
                                    "Member.Prospect_Next_Contact_Action IN (") +
                         marks.join(u',') + QStringLiteral(") ORDER BY Member.Prospect_Next_Contact_Date, ") +
                         Database::sortText(QStringLiteral("Member.Prospect_Next_Contact_Action")) +
                         QStringLiteral(", ") + NameKey::personOrder(),
                     params)) {
        ids << row.integer(u"ID");
    }
    return ids;
}

std::vector<ReportDocument> ProspectReports::printListingRun(const QList<qint64>& classIds, const QDate& from,
                                                             const QDate& to, const QStringList& actions)
{
    std::vector<ReportDocument> run;
    for (const qint64 classId : classIds) {
        if (std::optional<ReportDocument> listing = printSundaySchoolProspectListing(classId)) {
            run.push_back(std::move(*listing));
        }
        for (const qint64 id : sheetProspects(classId, from, to, actions)) {
            run.push_back(printVisitationSheet(id));
        }
    }
    return run;
}
