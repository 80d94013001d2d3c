#include "members/memberdeletion.h"

#include "data/attendancesummary.h"
#include "data/database.h"
#include "data/transaction.h"

namespace {

// In this order; each takes the deleted person's ID. Roles go to person 1 before the person's own rows go.
const char* const kStatements[] = {
    "DELETE FROM AttendanceData WHERE MemberID = ?",
    "UPDATE Care_Group SET Group_Leader = 1 WHERE Group_Leader = ?",
    "UPDATE Care_Group SET Asst_Group_Leader = 1 WHERE Asst_Group_Leader = ?",
    "UPDATE Discipleship_Training SET Teacher = 1 WHERE Teacher = ?",
    "UPDATE Discipleship_Training SET Asst_Teacher = 1 WHERE Asst_Teacher = ?",
    "DELETE FROM Family_Connection WHERE Member_ID = ?",
    "DELETE FROM Family_Connection WHERE Relative_Member_ID = ?",
    "DELETE FROM Member_Responsibility WHERE Member_ID = ?",
    "DELETE FROM Prospect_Contact WHERE Prospect_ID = ?",
    "UPDATE Prospect_Contact SET Visitor1 = 1 WHERE Visitor1 = ?",
    "UPDATE Prospect_Contact SET Visitor2 = 1 WHERE Visitor2 = ?",
    "UPDATE Sunday_School SET Teacher = 1 WHERE Teacher = ?",
    "UPDATE Sunday_School SET Asst_Teacher = 1 WHERE Asst_Teacher = ?",
    "DELETE FROM \"User\" WHERE Member_ID = ?",
    "DELETE FROM UserPermission WHERE MemberID = ?",
    "UPDATE Wednesday_Night SET Teacher = 1 WHERE Teacher = ?",
    "UPDATE Wednesday_Night SET Asst_Teacher = 1 WHERE Asst_Teacher = ?",
    "DELETE FROM Member_Contributions WHERE MemberID = ?",
    "DELETE FROM Member_Statement WHERE Member_ID = ?",
    "DELETE FROM Member WHERE ID = ?",
};

} // namespace

QString DeletionSummary::question() const
{
    QStringList goes;
    if (contributions > 0) {
        goes << MemberDeletion::tr("%n contribution(s)", nullptr, int(contributions));
    }
    if (attendanceRecords > 0) {
        goes << MemberDeletion::tr("%n attendance record(s)", nullptr, int(attendanceRecords));
    }
    if (prospectContacts > 0) {
        goes << MemberDeletion::tr("%n prospect contact(s)", nullptr, int(prospectContacts));
    }
    const QString question = MemberDeletion::tr("Delete %1?").arg(name);
    if (goes.isEmpty()) {
        return question;
    }
    return question + u' ' + MemberDeletion::tr("These go with him: %1.").arg(goes.join(QStringLiteral(", ")));
}

std::optional<DeletionSummary> MemberDeletion::summary(qint64 memberId)
{
    const auto person =
        m_db.selectOne(QStringLiteral("SELECT Last_Name, First_Name FROM Member WHERE ID = ?"), {memberId});
    if (!person) {
        return std::nullopt;
    }
    DeletionSummary summary;
    summary.name = person->text(u"Last_Name") + QStringLiteral(", ") + person->text(u"First_Name");
    const auto count = [this, memberId](const char* sql) {
        return m_db.scalar(QString::fromUtf8(sql), {memberId}).toLongLong();
    };
    summary.contributions = count("SELECT count(*) FROM Member_Contributions WHERE MemberID = ?");
    summary.attendanceRecords = count("SELECT count(*) FROM AttendanceData WHERE MemberID = ?");
    summary.prospectContacts = count("SELECT count(*) FROM Prospect_Contact WHERE Prospect_ID = ?");
    return summary;
}

QString MemberDeletion::placeholderRefusal()
{
    return tr("This record stands in for the teachers, leaders and visitors of deleted people and cannot be "
              "deleted.");
}

bool MemberDeletion::deleteMember(qint64 memberId)
{
    if (!canDelete(memberId)) {
        return false;
    }
    Transaction transaction(m_db);
    AttendanceSummary::removePerson(m_db, memberId);
    for (const char* statement : kStatements) {
        m_db.execute(QString::fromUtf8(statement), {memberId});
    }
    transaction.commit();
    return true;
}
