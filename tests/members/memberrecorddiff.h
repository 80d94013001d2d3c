#pragma once

#include "members/memberrecord.h"

#include <QStringList>

#include <optional>

namespace MemberRecordDiff {

inline QString shown(const QString& v)
{
    return u'"' + v + u'"';
}
inline QString shown(const QStringList& v)
{
    return u'[' + v.join(QStringLiteral(", ")) + u']';
}
inline QString shown(bool v)
{
    return v ? QStringLiteral("true") : QStringLiteral("false");
}
inline QString shown(qint64 v)
{
    return QString::number(v);
}
inline QString shown(const QDate& v)
{
    return v.toString(Qt::ISODate);
}
inline QString shown(const QDateTime& v)
{
    return v.toString(Qt::ISODate);
}
template <typename T>
QString shown(const std::optional<T>& v)
{
    return v ? shown(*v) : QStringLiteral("(none)");
}

} // namespace MemberRecordDiff

// The fields in which two member records differ, each as "field: first / second", so that a failed
// comparison of a whole record says which field it was. Tests follow it with a check of the whole
// records, which fails for a field this list lacks.
inline QStringList memberRecordDifferences(const MemberRecord& a, const MemberRecord& b)
{
    QStringList out;
    const auto field = [&out](const char* name, const auto& first, const auto& second) {
        if (!(first == second)) {
            out << QString::fromLatin1(name) + QStringLiteral(": ") + MemberRecordDiff::shown(first) +
                       QStringLiteral(" / ") + MemberRecordDiff::shown(second);
        }
    };
    field("id", a.id, b.id);
    field("status", a.status, b.status);
    field("firstName", a.firstName, b.firstName);
    field("middleName", a.middleName, b.middleName);
    field("lastName", a.lastName, b.lastName);
    field("title", a.title, b.title);
    field("address1", a.address1, b.address1);
    field("address2", a.address2, b.address2);
    field("city", a.city, b.city);
    field("state", a.state, b.state);
    field("zip", a.zip, b.zip);
    field("phone", a.phone, b.phone);
    field("cell", a.cell, b.cell);
    field("workPhone", a.workPhone, b.workPhone);
    field("email", a.email, b.email);
    field("picture", a.picture, b.picture);
    field("placeOfWork", a.placeOfWork, b.placeOfWork);
    field("occupation", a.occupation, b.occupation);
    field("dateOfBirth", a.dateOfBirth, b.dateOfBirth);
    field("gender", a.gender, b.gender);
    field("maritalStatus", a.maritalStatus, b.maritalStatus);
    field("anniversaryDate", a.anniversaryDate, b.anniversaryDate);
    field("headOfHousehold", a.headOfHousehold, b.headOfHousehold);
    field("mapSection", a.mapSection, b.mapSection);
    field("hobbies", a.hobbies, b.hobbies);
    field("organizationsNote", a.organizationsNote, b.organizationsNote);
    field("notes", a.notes, b.notes);
    field("churchStatus", a.churchStatus, b.churchStatus);
    field("memberSince", a.memberSince, b.memberSince);
    field("previousChurch", a.previousChurch, b.previousChurch);
    field("cameForward", a.cameForward, b.cameForward);
    field("baptized", a.baptized, b.baptized);
    field("letterOut", a.letterOut, b.letterOut);
    field("deceasedDate", a.deceasedDate, b.deceasedDate);
    field("newsletterByMail", a.newsletterByMail, b.newsletterByMail);
    field("newsletterByEmail", a.newsletterByEmail, b.newsletterByEmail);
    field("sundaySchoolAttendance", a.sundaySchoolAttendance, b.sundaySchoolAttendance);
    field("worshipAttendance", a.worshipAttendance, b.worshipAttendance);
    field("discipleshipAttendance", a.discipleshipAttendance, b.discipleshipAttendance);
    field("sundayEveningAttendance", a.sundayEveningAttendance, b.sundayEveningAttendance);
    field("wednesdayNightAttendance", a.wednesdayNightAttendance, b.wednesdayNightAttendance);
    field("sundaySchoolClass", a.sundaySchoolClass, b.sundaySchoolClass);
    field("careGroup", a.careGroup, b.careGroup);
    field("discipleshipClass", a.discipleshipClass, b.discipleshipClass);
    field("wednesdayNightClass", a.wednesdayNightClass, b.wednesdayNightClass);
    field("deaconId", a.deaconId, b.deaconId);
    field("prospectStatus", a.prospectStatus, b.prospectStatus);
    field("prospectSource", a.prospectSource, b.prospectSource);
    field("prospectMemberOf", a.prospectMemberOf, b.prospectMemberOf);
    field("prospectNote", a.prospectNote, b.prospectNote);
    field("prospectSundaySchoolClass", a.prospectSundaySchoolClass, b.prospectSundaySchoolClass);
    field("prospectCareGroup", a.prospectCareGroup, b.prospectCareGroup);
    field("nextPhase", a.nextPhase, b.nextPhase);
    field("nextContactDate", a.nextContactDate, b.nextContactDate);
    field("nextContactAction", a.nextContactAction, b.nextContactAction);
    field("nextContactType", a.nextContactType, b.nextContactType);
    field("envelope", a.envelope, b.envelope);
    field("showInContributionList", a.showInContributionList, b.showInContributionList);
    field("statementWithHousehold", a.statementWithHousehold, b.statementWithHousehold);
    field("dateAdded", a.dateAdded, b.dateAdded);
    field("addedBy", a.addedBy, b.addedBy);
    field("dateEdited", a.dateEdited, b.dateEdited);
    field("editedBy", a.editedBy, b.editedBy);
    field("organizations", a.organizations, b.organizations);
    return out;
}
