#include "reports/memberreports.h"

#include "data/database.h"
#include "data/namekey.h"
#include "reports/households.h"
#include "reports/reportdesign.h"
#include "reports/reportidlist.h"
#include "reports/reportrenderer.h"

#include <algorithm>

QString MemberReports::joinedName(const QString& table, const QString& alias)
{
    return QStringLiteral("CASE WHEN %1.ID IS NULL THEN NULL ELSE COALESCE(%1.Last_Name, '') || ', ' || "
                          "COALESCE(%1.First_Name, '') END AS %2")
        .arg(table, alias);
}

MemberReports::MemberReports(Database& db, ReportHeading heading)
    : m_db(db)
    , m_heading(std::move(heading))
{}

Rows MemberReports::memberListRows(const QList<qint64>& ids)
{
    const ReportIdList list(m_db, ids);
    return m_db.select(memberListSql());
}

QString MemberReports::memberListSql(const QString& extraColumns, const QString& extraJoins)
{
    return QStringLiteral("SELECT Member.ID, Member.Status, Member.First_Name, Member.Middle_Name, Member.Last_Name, "
                          "Member.Title, Member.Address_1, Member.Address_2, Member.City, Member.State, Member.Zip, "
                          "Member.Phone, Member.Cell, Member.Work_Phone, Member.Email, Member.Place_Of_Work, "
                          "Member.Occupation, Member.Date_Of_Birth, Member.Head_Of_Household, Member.Gender, "
                          "Member.Marital_Status, Member.Anniversary_Date, Member.Hobbies, Member.Organizations, "
                          "Member.Map_Section, Member.Notes, Member.Member_Active_Status, Member.Member_Since, "
                          "Member.Previous_Church, Member.Came_Forward, Member.Baptized, Sunday_School.Name, "
                          "Discipleship_Training.Name, Wednesday_Night.Name, ") +
           joinedName(QStringLiteral("CGLeaderTbl"), QStringLiteral("CGLeader")) + QStringLiteral(", ") +
           joinedName(QStringLiteral("DeaconTbl"), QStringLiteral("Deacon")) +
           QStringLiteral(", Member.Receive_Newsletter_Via_Mail, Member.Receive_Newsletter_Via_EMail") + extraColumns +
           QStringLiteral(" FROM Member "
                          "LEFT JOIN Care_Group ON Member.Care_Group_Assigned = Care_Group.ID "
                          "LEFT JOIN Member AS CGLeaderTbl ON Care_Group.Group_Leader = CGLeaderTbl.ID "
                          "LEFT JOIN Sunday_School ON Member.Sunday_School_Class = Sunday_School.ID "
                          "LEFT JOIN Discipleship_Training ON Member.Discipleship_Training_Class = "
                          "Discipleship_Training.ID "
                          "LEFT JOIN Wednesday_Night ON Member.Wednesday_Night_Class = Wednesday_Night.ID "
                          "LEFT JOIN Member AS DeaconTbl ON Member.DeaconID = DeaconTbl.ID") +
           extraJoins + QStringLiteral(" WHERE ") + ReportIdList::condition(QStringLiteral("Member.ID")) +
           QStringLiteral(" ORDER BY ") + NameKey::personOrder();
}

Rows MemberReports::mailingLabelRows(const QList<qint64>& ids)
{
    const ReportIdList list(m_db, ids);
    return m_db.select(QStringLiteral("SELECT Member.First_Name, Member.Middle_Name, Member.Last_Name, Member.Title, "
                                      "Member.Address_1, Member.Address_2, Member.City, Member.State, Member.Zip "
                                      "FROM Member WHERE ") +
                       ReportIdList::condition(QStringLiteral("Member.ID")) + QStringLiteral(" ORDER BY ") +
                       NameKey::personOrder());
}

MemberReports::HouseholdLabelRows MemberReports::householdLabelRows(const QList<qint64>& ids)
{
    const QDate day = m_heading.printDate;
    auto labelColumns = std::make_shared<const ColumnIndex>(
        QStringList{QStringLiteral("Household_Name"), QStringLiteral("Address_1"), QStringLiteral("Address_2"),
                    QStringLiteral("City"), QStringLiteral("State"), QStringLiteral("Zip")});
    auto leftOutColumns =
        std::make_shared<const ColumnIndex>(QStringList{QStringLiteral("Name"), QStringLiteral("Reason")});
    HouseholdLabelRows out;
    std::vector<std::pair<QString, Row>> leftOut;
    for (const Household& household : householdsOf(m_db, ids)) {
        const bool hasAdult = std::any_of(household.people.cbegin(), household.people.cend(),
                                          [&day](const HouseholdPerson& p) { return p.isAdultOn(day); });
        if (hasAdult && household.hasAddress()) {
            out.labels.emplace_back(labelColumns, QVector<QVariant>{HouseholdName::of(household.people, day),
                                                                    household.address1, household.address2,
                                                                    household.city, household.state, household.zip});
            continue;
        }
        for (const auto& [id, name] : household.chosen) {
            QString reason;
            if (household.people.empty()) {
                reason = tr("Deceased");
            } else if (!hasAdult) {
                reason = tr("Child, with no adult in the household");
            } else if (id == household.headId) {
                reason = tr("No address");
            } else {
                reason = tr("No address for the household of %1").arg(household.headSortName);
            }
            leftOut.emplace_back(NameKey::fold(name), Row(leftOutColumns, QVector<QVariant>{name, reason}));
        }
    }
    std::stable_sort(leftOut.begin(), leftOut.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [key, row] : leftOut) {
        out.leftOut.push_back(std::move(row));
    }
    return out;
}

ReportDocument MemberReports::printHouseholdLabels(const QList<qint64>& ids)
{
    HouseholdLabelRows rows = householdLabelRows(ids);
    ReportData data;
    data.rows = std::move(rows.labels);
    data.subreportRows.insert(QStringLiteral("leftOut"), std::move(rows.leftOut));
    data.heading = m_heading;
    return ReportRenderer::render(ReportDesign::load(householdLabelsDesign()), data);
}

ReportDocument MemberReports::build(const QString& designName, Rows rows)
{
    const ReportDesign design = ReportDesign::load(designName);
    ReportData data;
    data.rows = std::move(rows);
    data.heading = m_heading;
    return ReportRenderer::render(design, data);
}

ReportDocument MemberReports::printMemberList(const QList<qint64>& ids)
{
    return build(memberListDesign(), memberListRows(ids));
}

ReportDocument MemberReports::printMemberListDOBAnniv(const QList<qint64>& ids)
{
    return build(memberListDOBAnnivDesign(), memberListRows(ids));
}

ReportDocument MemberReports::printMailingLabels(const QList<qint64>& ids)
{
    return build(mailingLabelsDesign(), mailingLabelRows(ids));
}
