#pragma once

// The lookup lists the screens offer, each kept as texts in a table of its own.
enum class LookupList {
    MemberStatuses,
    ChurchStatuses,
    ProspectStatuses,
    Titles,
    States,
    AttendanceLevels,
    Relationships,
    Responsibilities,
    Organizations,
    ContributionDesignations,
    ProspectActions,
    ProspectContactRatings,
    UserTypes,
};

// The three kinds of class a person can be placed in.
enum class ClassKind { SundaySchool, DiscipleshipTraining, WednesdayNight };
