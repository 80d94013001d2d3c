#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// One person of the roll as the member screen edits him: every column of his Member row plus the
// organizations he belongs to. Text columns are never null here: a missing value is the empty text.
struct MemberRecord
{
    // 0 for a person not saved yet.
    qint64 id = 0;

    // Contact info
    QString status;
    QString firstName;
    QString middleName;
    QString lastName;
    // A single blank when the blank first entry of the title list was chosen.
    QString title;
    QString address1;
    QString address2;
    QString city;
    QString state;
    QString zip;
    QString phone;
    QString cell;
    QString workPhone;
    QString email;
    // File name of the picture inside the picture folder (ID + "." + extension); empty when none.
    QString picture;

    // Demographic info
    QString placeOfWork;
    QString occupation;
    std::optional<QDate> dateOfBirth;
    QString gender;
    QString maritalStatus;
    std::optional<QDate> anniversaryDate;
    bool headOfHousehold = false;
    QString mapSection;
    QString hobbies;
    // Free note, apart from the organization memberships below.
    QString organizationsNote;
    QString notes;

    // Church info
    QString churchStatus;
    std::optional<QDate> memberSince;
    QString previousChurch;
    std::optional<QDate> cameForward;
    std::optional<QDate> baptized;
    std::optional<QDate> letterOut;
    std::optional<QDate> deceasedDate;
    bool newsletterByMail = false;
    bool newsletterByEmail = false;
    QString sundaySchoolAttendance;
    QString worshipAttendance;
    QString discipleshipAttendance;
    QString sundayEveningAttendance;
    QString wednesdayNightAttendance;
    std::optional<qint64> sundaySchoolClass;
    std::optional<qint64> careGroup;
    std::optional<qint64> discipleshipClass;
    std::optional<qint64> wednesdayNightClass;
    std::optional<qint64> deaconId;

    // Prospect info
    QString prospectStatus;
    QString prospectSource;
    QString prospectMemberOf;
    QString prospectNote;
    std::optional<qint64> prospectSundaySchoolClass;
    std::optional<qint64> prospectCareGroup;
    // The next outreach step: stored only as a whole (see MemberStore::save).
    QString nextPhase;
    std::optional<QDate> nextContactDate;
    QString nextContactAction;
    QString nextContactType;

    // Contributions
    QString envelope;
    bool showInContributionList = false;
    // His giving statement: false for one of his own, true for one with his household (Member_Statement).
    bool statementWithHousehold = false;

    // Audit columns, written by the store on save.
    std::optional<QDateTime> dateAdded;
    QString addedBy;
    std::optional<QDateTime> dateEdited;
    QString editedBy;

    // Member_Organizations of the person, in the order shown.
    QStringList organizations;

    bool operator==(const MemberRecord&) const = default;
};
