#include "members/memberstore.h"

#include "core/clock.h"
#include "core/textformat.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/namekey.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"
#include "members/memberpicture.h"
#include "services/lookupstore.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <utility>
#include <vector>

namespace {

using ColumnValues = std::vector<std::pair<QString, QVariant>>;

// Every column the screen writes, with its value. Picture and the audit columns are written apart.
ColumnValues columnValues(const MemberRecord& r)
{
    const auto date = [](const std::optional<QDate>& d) { return SqlValue::optionalDate(d); };
    return {
        {QStringLiteral("Status"), r.status},
        {QStringLiteral("First_Name"), r.firstName},
        {QStringLiteral("Middle_Name"), r.middleName},
        {QStringLiteral("Last_Name"), r.lastName},
        {QStringLiteral("Title"), r.title},
        {QStringLiteral("Address_1"), r.address1},
        {QStringLiteral("Address_2"), r.address2},
        {QStringLiteral("City"), r.city},
        {QStringLiteral("State"), r.state},
        {QStringLiteral("Zip"), r.zip},
        {QStringLiteral("Phone"), r.phone},
        {QStringLiteral("Cell"), r.cell},
        {QStringLiteral("Work_Phone"), r.workPhone},
        {QStringLiteral("Email"), r.email},
        {QStringLiteral("Place_Of_Work"), r.placeOfWork},
        {QStringLiteral("Occupation"), r.occupation},
        {QStringLiteral("Date_Of_Birth"), date(r.dateOfBirth)},
        {QStringLiteral("Gender"), r.gender},
        {QStringLiteral("Marital_Status"), r.maritalStatus},
        {QStringLiteral("Anniversary_Date"), date(r.anniversaryDate)},
        {QStringLiteral("Head_Of_Household"), r.headOfHousehold},
        {QStringLiteral("Map_Section"), r.mapSection},
        {QStringLiteral("Hobbies"), r.hobbies},
        {QStringLiteral("Organizations"), r.organizationsNote},
        {QStringLiteral("Notes"), r.notes},
        {QStringLiteral("Member_Active_Status"), r.churchStatus},
        {QStringLiteral("Member_Since"), date(r.memberSince)},
        {QStringLiteral("Previous_Church"), r.previousChurch},
        {QStringLiteral("Came_Forward"), date(r.cameForward)},
        {QStringLiteral("Baptized"), date(r.baptized)},
        {QStringLiteral("Letter_Out"), date(r.letterOut)},
        {QStringLiteral("Deceased_Date"), date(r.deceasedDate)},
        {QStringLiteral("Receive_Newsletter_Via_Mail"), r.newsletterByMail},
        {QStringLiteral("Receive_Newsletter_Via_EMail"), r.newsletterByEmail},
        {QStringLiteral("Sunday_School_Attendance_Level"), r.sundaySchoolAttendance},
        {QStringLiteral("Worship_Service_Attendance_Level"), r.worshipAttendance},
        {QStringLiteral("Discipleship_Training_Attendance_Level"), r.discipleshipAttendance},
        {QStringLiteral("Sunday_Evening_Service_Attendance_Level"), r.sundayEveningAttendance},
        {QStringLiteral("Wednesday_Night_Attendance_Level"), r.wednesdayNightAttendance},
        {QStringLiteral("Sunday_School_Class"), SqlValue::optionalId(r.sundaySchoolClass)},
        {QStringLiteral("Care_Group_Assigned"), SqlValue::optionalId(r.careGroup)},
        {QStringLiteral("Discipleship_Training_Class"), SqlValue::optionalId(r.discipleshipClass)},
        {QStringLiteral("Wednesday_Night_Class"), SqlValue::optionalId(r.wednesdayNightClass)},
        {QStringLiteral("DeaconID"), SqlValue::optionalId(r.deaconId)},
        {QStringLiteral("Prospect_Active_Status"), r.prospectStatus},
        {QStringLiteral("Prospect_Source"), r.prospectSource},
        {QStringLiteral("Prospect_Sunday_School_Class_Assigned"), SqlValue::optionalId(r.prospectSundaySchoolClass)},
        {QStringLiteral("Prospect_Care_Group_Assigned"), SqlValue::optionalId(r.prospectCareGroup)},
        {QStringLiteral("Prospect_Note"), r.prospectNote},
        {QStringLiteral("Prospect_Member_Of"), r.prospectMemberOf},
        {QStringLiteral("Prospect_Phase"), SqlValue::textOrNull(r.nextPhase)},
        {QStringLiteral("Prospect_Next_Contact_Date"), date(r.nextContactDate)},
        {QStringLiteral("Prospect_Next_Contact_Action"), SqlValue::textOrNull(r.nextContactAction)},
        // Stored as given (possibly empty) when the step is kept, null when it is not.
        {QStringLiteral("Prospect_Next_Contact_Type"),
         r.nextPhase.isEmpty() ? QVariant() : QVariant(r.nextContactType)},
        {QStringLiteral("Envelope"), r.envelope},
        // Null, not 0, stands for "not in the contribution list".
        {QStringLiteral("ShowInContributionList"), r.showInContributionList ? QVariant(1) : QVariant()},
    };
}

MemberRecord recordFrom(const Row& row)
{
    MemberRecord r;
    r.id = row.integer(u"ID");
    r.status = row.text(u"Status");
    r.firstName = row.text(u"First_Name");
    r.middleName = row.text(u"Middle_Name");
    r.lastName = row.text(u"Last_Name");
    r.title = row.text(u"Title");
    r.address1 = row.text(u"Address_1");
    r.address2 = row.text(u"Address_2");
    r.city = row.text(u"City");
    r.state = row.text(u"State");
    r.zip = row.text(u"Zip");
    r.phone = row.text(u"Phone");
    r.cell = row.text(u"Cell");
    r.workPhone = row.text(u"Work_Phone");
    r.email = row.text(u"Email");
    r.picture = row.text(u"Picture");
    r.placeOfWork = row.text(u"Place_Of_Work");
    r.occupation = row.text(u"Occupation");
    r.dateOfBirth = row.date(u"Date_Of_Birth");
    r.gender = row.text(u"Gender");
    r.maritalStatus = row.text(u"Marital_Status");
    r.anniversaryDate = row.date(u"Anniversary_Date");
    r.headOfHousehold = row.flag(u"Head_Of_Household");
    r.mapSection = row.text(u"Map_Section");
    r.hobbies = row.text(u"Hobbies");
    r.organizationsNote = row.text(u"Organizations");
    r.notes = row.text(u"Notes");
    r.churchStatus = row.text(u"Member_Active_Status");
    r.memberSince = row.date(u"Member_Since");
    r.previousChurch = row.text(u"Previous_Church");
    r.cameForward = row.date(u"Came_Forward");
    r.baptized = row.date(u"Baptized");
    r.letterOut = row.date(u"Letter_Out");
    r.deceasedDate = row.date(u"Deceased_Date");
    r.newsletterByMail = row.flag(u"Receive_Newsletter_Via_Mail");
    r.newsletterByEmail = row.flag(u"Receive_Newsletter_Via_EMail");
    r.sundaySchoolAttendance = row.text(u"Sunday_School_Attendance_Level");
    r.worshipAttendance = row.text(u"Worship_Service_Attendance_Level");
    r.discipleshipAttendance = row.text(u"Discipleship_Training_Attendance_Level");
    r.sundayEveningAttendance = row.text(u"Sunday_Evening_Service_Attendance_Level");
    r.wednesdayNightAttendance = row.text(u"Wednesday_Night_Attendance_Level");
    r.sundaySchoolClass = row.optionalInteger(u"Sunday_School_Class");
    r.careGroup = row.optionalInteger(u"Care_Group_Assigned");
    r.discipleshipClass = row.optionalInteger(u"Discipleship_Training_Class");
    r.wednesdayNightClass = row.optionalInteger(u"Wednesday_Night_Class");
    r.deaconId = row.optionalInteger(u"DeaconID");
    r.prospectStatus = row.text(u"Prospect_Active_Status");
    r.prospectSource = row.text(u"Prospect_Source");
    r.prospectMemberOf = row.text(u"Prospect_Member_Of");
    r.prospectNote = row.text(u"Prospect_Note");
    r.prospectSundaySchoolClass = row.optionalInteger(u"Prospect_Sunday_School_Class_Assigned");
    r.prospectCareGroup = row.optionalInteger(u"Prospect_Care_Group_Assigned");
    r.nextPhase = row.text(u"Prospect_Phase");
    r.nextContactDate = row.date(u"Prospect_Next_Contact_Date");
    r.nextContactAction = row.text(u"Prospect_Next_Contact_Action");
    r.nextContactType = row.text(u"Prospect_Next_Contact_Type");
    r.envelope = row.text(u"Envelope");
    r.showInContributionList = row.flag(u"ShowInContributionList");
    r.dateAdded = row.dateTime(u"Date_Added");
    r.addedBy = row.text(u"Added_By");
    r.dateEdited = row.dateTime(u"Date_Edited");
    r.editedBy = row.text(u"Edited_By");
    return r;
}

} // namespace

MemberStore::MemberStore(Database& db, Clock& clock, QString pictureFolder)
    : m_db(db)
    , m_clock(clock)
    , m_pictureFolder(std::move(pictureFolder))
{}

std::optional<MemberRecord> MemberStore::load(qint64 id)
{
    const auto row = m_db.selectOne(QStringLiteral("SELECT * FROM Member WHERE ID = ?"), {id});
    if (!row) {
        return std::nullopt;
    }
    MemberRecord record = recordFrom(*row);
    record.organizations =
        m_db.texts(QStringLiteral("SELECT Organization FROM Member_Organizations WHERE MemberID = ? ORDER BY ") +
                       Database::sortText(QStringLiteral("Organization")),
                   {id});
    record.statementWithHousehold =
        m_db.scalar(QStringLiteral("SELECT With_Household FROM Member_Statement WHERE Member_ID = ?"), {id}).toInt() ==
        1;
    return record;
}

bool MemberStore::hasRequiredFields(const MemberRecord& r)
{
    for (const QString* field : {&r.status, &r.firstName, &r.lastName, &r.churchStatus, &r.prospectStatus}) {
        if (field->trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

void MemberStore::applyNextContactRule(MemberRecord& r)
{
    const bool complete = !r.nextPhase.isEmpty() && !r.nextContactAction.isEmpty() && r.nextContactDate.has_value() &&
                          r.nextContactDate->isValid();
    if (!complete) {
        r.nextPhase.clear();
        r.nextContactDate.reset();
        r.nextContactAction.clear();
        r.nextContactType.clear();
    }
}

std::optional<EnvelopeHolder> MemberStore::envelopeHolder(const QString& envelope, qint64 exceptId)
{
    if (envelope.isEmpty()) {
        return std::nullopt;
    }
    const auto row = m_db.selectOne(QStringLiteral("SELECT ID, First_Name, Last_Name FROM Member "
                                                   "WHERE Envelope = ? AND ID <> ? ORDER BY ID LIMIT 1"),
                                    {envelope, exceptId});
    if (!row) {
        return std::nullopt;
    }
    return EnvelopeHolder{row->integer(u"ID"), row->text(u"First_Name"), row->text(u"Last_Name")};
}

SaveResult MemberStore::save(MemberRecord& record, const QString& userName, const PendingPicture* picture)
{
    SaveResult result;
    if (!hasRequiredFields(record)) {
        result.status = SaveStatus::MissingRequiredFields;
        return result;
    }
    // A number shared before (older data) does not stop other changes; a newly given one must be free.
    const bool envelopeChanged =
        record.id == 0 ||
        m_db.scalar(QStringLiteral("SELECT Envelope FROM Member WHERE ID = ?"), {record.id}).toString() !=
            record.envelope;
    if (auto holder = envelopeChanged ? envelopeHolder(record.envelope, record.id) : std::nullopt) {
        result.status = SaveStatus::EnvelopeInUse;
        result.envelopeHolder = std::move(holder);
        return result;
    }
    MemberRecord written = record;
    applyNextContactRule(written);
    QDateTime now = m_clock.now();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    ColumnValues values = columnValues(written);
    values.emplace_back(NameKey::column(), NameKey::personKey(written.lastName, written.firstName, written.middleName));

    Transaction transaction(m_db);
    if (written.id == 0) {
        QStringList names;
        QStringList marks;
        QVariantList params;
        for (const auto& [name, value] : values) {
            names << name;
            marks << QStringLiteral("?");
            params << value;
        }
        names << QStringLiteral("Date_Added") << QStringLiteral("Added_By");
        marks << QStringLiteral("?") << QStringLiteral("?");
        params << SqlValue::fromDateTime(now) << userName;
        written.id = m_db.insert(QStringLiteral("INSERT INTO Member (") + names.join(u',') +
                                     QStringLiteral(") VALUES (") + marks.join(u',') + u')',
                                 params);
        written.dateAdded = now;
        written.addedBy = userName;
        result.inserted = true;
    } else {
        QStringList assignments;
        QVariantList params;
        for (const auto& [name, value] : values) {
            assignments << name + QStringLiteral(" = ?");
            params << value;
        }
        assignments << QStringLiteral("Date_Edited = ?") << QStringLiteral("Edited_By = ?");
        params << SqlValue::fromDateTime(now) << userName << written.id;
        const int changed = m_db.execute(
            QStringLiteral("UPDATE Member SET ") + assignments.join(u',') + QStringLiteral(" WHERE ID = ?"), params);
        if (changed == 0) {
            result.status = SaveStatus::PersonMissing;
            return result;
        }
        // The screen does not carry who added the person; it shows the stored pair again after the save.
        const auto added =
            m_db.selectOne(QStringLiteral("SELECT Date_Added, Added_By FROM Member WHERE ID = ?"), {written.id});
        written.dateAdded = added->dateTime(u"Date_Added");
        written.addedBy = added->text(u"Added_By");
        written.dateEdited = now;
        written.editedBy = userName;
    }

    m_db.execute(QStringLiteral("DELETE FROM Member_Organizations WHERE MemberID = ?"), {written.id});
    for (auto it = written.organizations.crbegin(); it != written.organizations.crend(); ++it) {
        m_db.execute(QStringLiteral("INSERT INTO Member_Organizations (MemberID, Organization) VALUES (?, ?)"),
                     {written.id, *it});
    }
    // Only the choice that differs from the default is kept.
    m_db.execute(QStringLiteral("DELETE FROM Member_Statement WHERE Member_ID = ?"), {written.id});
    if (written.statementWithHousehold) {
        m_db.execute(QStringLiteral("INSERT INTO Member_Statement (Member_ID, With_Household) VALUES (?, ?)"),
                     {written.id, 1});
    }
    transaction.commit();
    record = std::move(written);

    if (picture != nullptr && !picture->image.isNull()) {
        QString storedName;
        result.pictureError = writePicture(record.id, *picture, storedName);
        if (result.pictureError.isEmpty()) {
            // The person is saved whatever happens here; a failure is reported as the picture's alone.
            try {
                m_db.execute(QStringLiteral("UPDATE Member SET Picture = ? WHERE ID = ?"), {storedName, record.id});
                record.picture = storedName;
            } catch (const DatabaseError& error) {
                result.pictureError =
                    tr("The picture file %1 was written, but the person's record could not be pointed at it: %2")
                        .arg(storedName, error.message());
            }
        }
    }
    return result;
}

QString MemberStore::writePicture(qint64 id, const PendingPicture& picture, QString& storedName)
{
    if (m_pictureFolder.isEmpty()) {
        return tr("No picture folder is set in config.txt.");
    }
    const QString extension = MemberPicture::storedExtension(picture.extension);
    storedName = MemberPicture::fileName(id, extension);
    const QString path = m_pictureFolder + storedName;
    // Written beside the target and renamed into place, so a failed write leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return tr("The picture could not be written to %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    }
    QImageWriter writer(&file, extension.toLower().toLatin1());
    if (!writer.write(picture.image)) {
        file.cancelWriting();
        return tr("The picture could not be written to %1: %2")
            .arg(QDir::toNativeSeparators(path), writer.errorString());
    }
    if (!file.commit()) {
        return tr("The picture could not be written to %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    }
    return {};
}

QStringList MemberStore::organizationsNotHeldBy(qint64 id)
{
    return m_db.texts(QStringLiteral("SELECT Name FROM Church_Organizations WHERE Name NOT IN "
                                     "(SELECT Organization FROM Member_Organizations WHERE MemberID = ? "
                                     "AND Organization IS NOT NULL) ORDER BY ") +
                          Database::sortText(QStringLiteral("Name")),
                      {id});
}

QStringList MemberStore::allOrganizations()
{
    return LookupStore(m_db).texts(LookupList::Organizations);
}

QStringList MemberStore::genders()
{
    return {QStringLiteral("Male"), QStringLiteral("Female"), QStringLiteral("Unknown")};
}

QStringList MemberStore::maritalStatuses()
{
    return {QStringLiteral("Single"), QStringLiteral("Married"), QStringLiteral("Divorced"), QStringLiteral("Widowed")};
}

MemberLookupLists MemberStore::lookupLists()
{
    LookupStore lookups(m_db);
    MemberLookupLists l;
    l.memberStatuses = lookups.texts(LookupList::MemberStatuses);
    l.titles = lookups.texts(LookupList::Titles);
    l.states = lookups.texts(LookupList::States);
    l.churchStatuses = lookups.texts(LookupList::ChurchStatuses);
    l.attendanceLevels = lookups.texts(LookupList::AttendanceLevels);
    l.sundaySchoolClasses = lookups.classes(ClassKind::SundaySchool);
    l.discipleshipClasses = lookups.classes(ClassKind::DiscipleshipTraining);
    l.wednesdayNightClasses = lookups.classes(ClassKind::WednesdayNight);
    l.deacons = lookups.deacons();
    l.careGroups = lookups.careGroups();
    l.prospectStatuses = lookups.texts(LookupList::ProspectStatuses);
    l.outreachPhases = lookups.outreachPhases();
    l.prospectActions = lookups.texts(LookupList::ProspectActions);
    l.relationships = lookups.texts(LookupList::Relationships);
    l.responsibilities = lookups.texts(LookupList::Responsibilities);
    l.organizations = lookups.texts(LookupList::Organizations);
    l.contributionDesignations = lookups.texts(LookupList::ContributionDesignations);
    return l;
}
