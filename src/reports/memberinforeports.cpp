#include "reports/memberinforeports.h"

#include "data/database.h"
#include "data/namekey.h"
#include "data/row.h"
#include "reports/familylist.h"
#include "reports/memberreports.h"
#include "reports/reportdesign.h"
#include "reports/reportidlist.h"
#include "reports/reportrenderer.h"

MemberInfoReports::MemberInfoReports(Database& db, ReportHeading heading)
    : m_db(db)
    , m_heading(std::move(heading))
{}

QList<qint64> MemberInfoReports::peopleOf(Run run)
{
    const QString where = run == Run::HeadsOfHousehold
                              ? QStringLiteral("Status = 'Member' AND Head_Of_Household <> 0")
                              : QStringLiteral("(Status = 'Member' OR Status = 'Child Of Member') AND "
                                               "Member_Active_Status = 'Active'");
    QList<qint64> ids;
    for (const Row& row :
         m_db.select(QStringLiteral("SELECT ID FROM Member WHERE %1 ORDER BY %2").arg(where, NameKey::personOrder()))) {
        ids << row.integer(u"ID");
    }
    return ids;
}

Rows MemberInfoReports::sheetRows(qint64 id)
{
    const ReportIdList list(m_db, {id});
    // The member list's query ends with its ORDER BY terms; the responsibilities follow, latest term first.
    return m_db.select(MemberReports::memberListSql(QStringLiteral(", Member_Responsibility.Responsibility, "
                                                                   "Member_Responsibility.\"Start\", "
                                                                   "Member_Responsibility.\"End\""),
                                                    QStringLiteral(" LEFT JOIN Member_Responsibility "
                                                                   "ON Member.ID = Member_Responsibility.Member_ID")) +
                       QStringLiteral(", Member_Responsibility.\"End\" DESC, Member_Responsibility.Responsibility"));
}

ReportDocument MemberInfoReports::printSheet(qint64 id)
{
    ReportData data;
    data.rows = sheetRows(id);
    data.heading = m_heading;
    if (!data.rows.empty()) {
        const Row& person = data.rows.front();
        data.namedTexts.insert(QStringLiteral("Family"),
                               buildFamilyList(m_db, id, person.integer(u"Head_Of_Household") != 0));
    }
    return ReportRenderer::render(ReportDesign::load(design()), data);
}

ReportDocument MemberInfoReports::printSheets(const QList<qint64>& ids, const std::function<bool(int done)>& progress)
{
    ReportDocument all;
    int done = 0;
    for (const qint64 id : ids) {
        ReportDocument sheet = printSheet(id);
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
