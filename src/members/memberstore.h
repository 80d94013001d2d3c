#pragma once

#include "core/namedid.h"
#include "members/memberrecord.h"

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Clock;
class Database;

// Every lookup list the member screen offers (the people come from the shared people list).
struct MemberLookupLists
{
    QStringList memberStatuses;
    QStringList titles;
    QStringList states;
    QStringList churchStatuses;
    QStringList attendanceLevels;
    NamedIds sundaySchoolClasses;
    NamedIds discipleshipClasses;
    NamedIds wednesdayNightClasses;
    NamedIds deacons;
    NamedIds careGroups;
    QStringList prospectStatuses;
    QStringList outreachPhases;
    QStringList prospectActions;
    QStringList relationships;
    QStringList responsibilities;
    QStringList organizations;
    QStringList contributionDesignations;
};

// The stored person who already holds an envelope number.
struct EnvelopeHolder
{
    qint64 id = 0;
    QString firstName;
    QString lastName;
};

// A picture chosen for the person and not yet written: the scaled image and the extension of the
// file it came from.
struct PendingPicture
{
    QImage image;
    QString extension;
};

enum class SaveStatus {
    Saved,
    // Member status, first name, last name, church status or prospect status is empty.
    MissingRequiredFields,
    // Another person holds the envelope number; see SaveResult::envelopeHolder.
    EnvelopeInUse,
    // The person was deleted (on another screen) since he was shown.
    PersonMissing,
};

struct SaveResult
{
    SaveStatus status = SaveStatus::Saved;
    bool inserted = false;
    std::optional<EnvelopeHolder> envelopeHolder;
    // Set when the person was saved but his new picture could not be written.
    QString pictureError;
};

// Reads and writes one person of the roll with his organizations, and the lists the member screen
// chooses from. No widgets; every value is bound.
class MemberStore final
{
    Q_DECLARE_TR_FUNCTIONS(MemberStore)

public:
    // The picture folder is the prefix picture file names are appended to.
    MemberStore(Database& db, Clock& clock, QString pictureFolder = {});

    // The person with his organizations (sorted by name), or nothing when no such row exists.
    std::optional<MemberRecord> load(qint64 id);

    // Writes the person: a new row when record.id is 0 (Date_Added/Added_By), else an update of his
    // row (Date_Edited/Edited_By), then replaces his organizations; all in one transaction. Fills
    // record.id, the audit fields, and the next-contact fields as stored. Refuses, writing nothing,
    // when a required field is empty or another person holds a newly given envelope number (a number
    // the person already had stays, even when older data gave it to someone else too). A pending picture
    // is written after the person is saved; when the file cannot be written the person stays saved,
    // his Picture column keeps its old value and pictureError says why.
    SaveResult save(MemberRecord& record, const QString& userName, const PendingPicture* picture = nullptr);

    // True when member status, first and last name, church status and prospect status are all given.
    static bool hasRequiredFields(const MemberRecord& record);
    // The next outreach step is kept only as a whole: phase, action and date all given, or else all
    // four columns empty.
    static void applyNextContactRule(MemberRecord& record);

    // The first other person holding this envelope number; exceptId 0 (a new person) excepts nobody.
    // An empty number is held by nobody.
    std::optional<EnvelopeHolder> envelopeHolder(const QString& envelope, qint64 exceptId);

    // Every lookup list of the member screen.
    MemberLookupLists lookupLists();
    // Organizations the person does not belong to, by name.
    QStringList organizationsNotHeldBy(qint64 id);
    // Every organization, by name.
    QStringList allOrganizations();

    static QStringList genders();
    static QStringList maritalStatuses();

private:
    QString writePicture(qint64 id, const PendingPicture& picture, QString& storedName);

    Database& m_db;
    Clock& m_clock;
    QString m_pictureFolder;
};
