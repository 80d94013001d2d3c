#include "demowriter.h"

#include "demolists.h"
#include "demorng.h"

#include "core/attendanceweek.h"
#include "data/attendancesummary.h"
#include "data/database.h"
#include "data/namekey.h"
#include "data/preparedstatement.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

using namespace Demo;
using namespace DemoLists;

namespace {

QVariant dateOrNull(const QDate& date)
{
    return date.isValid() ? QVariant(date) : QVariant();
}

QVariant idOrNull(qint64 id)
{
    return id > 0 ? QVariant(id) : QVariant();
}

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// "HH:MM:SS" of a second of the day; written by hand because it runs once per gift.
QString timeOfDay(int second)
{
    const int h = second / 3600;
    const int m = second / 60 % 60;
    const int s = second % 60;
    const char text[8] = {char('0' + h / 10), char('0' + h % 10), ':', char('0' + m / 10), char('0' + m % 10), ':',
                          char('0' + s / 10), char('0' + s % 10)};
    return QString::fromLatin1(text, 8);
}

const char* const kMemberColumns[] = {
    "ID",
    "Status",
    "First_Name",
    "Middle_Name",
    "Last_Name",
    "Title",
    "Address_1",
    "Address_2",
    "City",
    "State",
    "Zip",
    "Phone",
    "Cell",
    "Work_Phone",
    "Email",
    "Picture",
    "Place_Of_Work",
    "Occupation",
    "Date_Of_Birth",
    "Anniversary_Date",
    "Gender",
    "Marital_Status",
    "Head_Of_Household",
    "Map_Section",
    "Hobbies",
    "Organizations",
    "Notes",
    "Member_Active_Status",
    "Member_Since",
    "Came_Forward",
    "Baptized",
    "Letter_Out",
    "Deceased_Date",
    "Previous_Church",
    "Receive_Newsletter_Via_Mail",
    "Receive_Newsletter_Via_EMail",
    "Sunday_School_Attendance_Level",
    "Worship_Service_Attendance_Level",
    "Discipleship_Training_Attendance_Level",
    "Sunday_Evening_Service_Attendance_Level",
    "Wednesday_Night_Attendance_Level",
    "Sunday_School_Class",
    "Care_Group_Assigned",
    "Discipleship_Training_Class",
    "Wednesday_Night_Class",
    "DeaconID",
    "Prospect_Active_Status",
    "Prospect_Source",
    "Prospect_Member_Of",
    "Prospect_Note",
    "Prospect_Sunday_School_Class_Assigned",
    "Prospect_Care_Group_Assigned",
    "Prospect_Phase",
    "Prospect_Next_Contact_Date",
    "Prospect_Next_Contact_Action",
    "Prospect_Next_Contact_Type",
    "Envelope",
    "ShowInContributionList",
    "Date_Added",
    "Added_By",
    "Date_Edited",
    "Edited_By",
};

// INSERT INTO table (columns) VALUES (?, ...) with rows sets of values.
QString insertSql(const QString& table, const QStringList& columns, int rows = 1)
{
    QStringList quoted;
    QStringList marks;
    for (const QString& column : columns) {
        quoted << u'"' + column + u'"';
        marks << QStringLiteral("?");
    }
    const QString values = u'(' + marks.join(u", ") + u')';
    QStringList allValues;
    for (int row = 0; row < rows; ++row) {
        allValues << values;
    }
    return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES %3").arg(table, quoted.join(u", "), allValues.join(u", "));
}

// Adds rows to one table many at a time: an INSERT with a hundred rows of values costs little more to
// run than one with a single row. finish() writes the rows still pending.
class BatchInsert final
{
public:
    BatchInsert(Database& db, const QString& table, const QStringList& columns, int rowsPerStatement)
        : m_columns(int(columns.size()))
        , m_rowsPerStatement(rowsPerStatement)
        , m_many(db, insertSql(table, columns, rowsPerStatement))
        , m_one(db, insertSql(table, columns, 1))
    {
        m_pending.reserve(size_t(m_columns * m_rowsPerStatement));
    }
    BatchInsert(const BatchInsert&) = delete;
    BatchInsert& operator=(const BatchInsert&) = delete;

    void add(std::initializer_list<QVariant> row)
    {
        Q_ASSERT(int(row.size()) == m_columns);
        m_pending.insert(m_pending.end(), row);
        if (int(m_pending.size()) == m_columns * m_rowsPerStatement) {
            for (int i = 0; i < int(m_pending.size()); ++i) {
                m_many.bind(i, m_pending[size_t(i)]);
            }
            m_many.execute();
            m_pending.clear();
        }
    }

    void finish()
    {
        for (size_t row = 0; row < m_pending.size(); row += size_t(m_columns)) {
            for (int c = 0; c < m_columns; ++c) {
                m_one.bind(c, m_pending[row + size_t(c)]);
            }
            m_one.execute();
        }
        m_pending.clear();
    }

private:
    int m_columns;
    int m_rowsPerStatement;
    PreparedStatement m_many;
    PreparedStatement m_one;
    std::vector<QVariant> m_pending;
};

// Drops the indexes of one table until restore() builds them again from their stored definitions:
// filling millions of rows and then indexing them once is much faster than keeping the indexes up to
// date row by row. Runs inside the caller's transaction; should that roll back, the indexes come back
// with it.
class IndexesSetAside final
{
public:
    IndexesSetAside(Database& db, const QString& table)
        : m_db(db)
    {
        const Rows indexes = db.select(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND "
                                                      "tbl_name = ? AND sql IS NOT NULL"),
                                       {table});
        for (const Row& index : indexes) {
            m_definitions << index.text(u"sql");
            db.executeScript(QStringLiteral("DROP INDEX \"%1\"").arg(index.text(u"name")));
        }
    }
    IndexesSetAside(const IndexesSetAside&) = delete;
    IndexesSetAside& operator=(const IndexesSetAside&) = delete;

    void restore()
    {
        for (const QString& definition : std::exchange(m_definitions, {})) {
            m_db.executeScript(definition);
        }
    }

private:
    Database& m_db;
    QStringList m_definitions;
};

void ensureEntries(Database& db, const QString& table, const QString& column, const QStringList& values)
{
    QSet<QString> present;
    for (const Row& row : db.select(QStringLiteral("SELECT \"%1\" FROM \"%2\"").arg(column, table))) {
        present.insert(row.text(column).toCaseFolded());
    }
    PreparedStatement insert(db, insertSql(table, {column}));
    for (const QString& value : values) {
        if (!present.contains(value.toCaseFolded())) {
            insert.execute({value});
            present.insert(value.toCaseFolded());
        }
    }
}

void ensureLookups(Database& db)
{
    ensureEntries(db, QStringLiteral("Relationships"), QStringLiteral("Relationships"),
                  {QStringLiteral("Spouse"), QStringLiteral("Son"), QStringLiteral("Daughter"),
                   QStringLiteral("Stepson"), QStringLiteral("Stepdaughter"), QStringLiteral("Mother"),
                   QStringLiteral("Father")});
    QStringList levels;
    for (const Level& level : kLevels) {
        levels << utf8(level.name);
    }
    ensureEntries(db, QStringLiteral("AttendanceLevels"), QStringLiteral("Levels"), levels);
    ensureEntries(db, QStringLiteral("Prospect_Action"), QStringLiteral("Action"),
                  {QStringLiteral("Visit"), QStringLiteral("Phone Call"), QStringLiteral("Letter"),
                   QStringLiteral("Card"), QStringLiteral("E-mail")});
    ensureEntries(db, QStringLiteral("Prospect_Contact_Rating"), QStringLiteral("Rating"),
                  {QStringLiteral("Very Interested"), QStringLiteral("Interested"), QStringLiteral("Undecided"),
                   QStringLiteral("Not Interested")});
    ensureEntries(db, QStringLiteral("ContributionDesignation"), QStringLiteral("Name"),
                  {QStringLiteral("General Fund"), QStringLiteral("Building Fund"), QStringLiteral("Missions"),
                   QStringLiteral("Benevolence")});
    QStringList organizationNames;
    for (const OrganizationRule& rule : organizations()) {
        organizationNames << utf8(rule.name);
    }
    ensureEntries(db, QStringLiteral("Church_Organizations"), QStringLiteral("Name"), organizationNames);
    ensureEntries(db, QStringLiteral("Titles"), QStringLiteral("Title"),
                  {QStringLiteral("Jr."), QStringLiteral("Sr."), QStringLiteral("Dr."), QStringLiteral("Rev.")});
}

void writeChurch(Database& db)
{
    if (db.scalar(QStringLiteral("SELECT count(*) FROM Church")).toLongLong() > 0) {
        return;
    }
    const Town& home = towns().front();
    db.execute(QStringLiteral("INSERT INTO Church (Name, Address1, Address2, City, State, Zip, Phone, Fax, Email, "
                              "Website, KeyPressDelay) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {QStringLiteral("Cedar Grove Community Church"), QStringLiteral("400 Church Street"),
                QStringLiteral("P.O. Box 118"), home.city, home.state, home.zip,
                QStringLiteral("(%1) 555-0140").arg(home.areaCode), QStringLiteral("(%1) 555-0141").arg(home.areaCode),
                QStringLiteral("office@cedargrove.example"), QStringLiteral("www.cedargrove.example"), 2});
}

void writeCatalogues(Database& db)
{
    QSet<QString> present;
    for (const Row& row : db.select(QStringLiteral("SELECT Name FROM Responsibilities"))) {
        present.insert(row.text(u"Name").toCaseFolded());
    }
    PreparedStatement insert(db, QStringLiteral("INSERT INTO Responsibilities (Name, Description) VALUES (?, ?)"));
    if (!present.contains(QStringLiteral("deacon"))) {
        insert.execute({QStringLiteral("Deacon"), QStringLiteral("Serves as a deacon")});
    }
    for (const Responsibility& responsibility : responsibilities()) {
        if (!present.contains(utf8(responsibility.name).toCaseFolded())) {
            insert.execute({utf8(responsibility.name), utf8(responsibility.description)});
        }
    }

    if (db.scalar(QStringLiteral("SELECT count(*) FROM Outreach_Phase")).toLongLong() == 0) {
        PreparedStatement phase(
            db,
            QStringLiteral("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (?, ?, ?, ?)"));
        const std::initializer_list<std::tuple<const char*, const char*, int>> plan = {
            {"First Visit", "Visit", 1},      {"Thank-You Letter", "Letter", 1},  {"Follow-Up Call", "Phone Call", 2},
            {"Home Visit", "Visit", 3},       {"Pastor's Call", "Phone Call", 4}, {"Invitation Card", "Card", 6},
            {"Check-In E-mail", "E-mail", 8},
        };
        int order = 0;
        for (const auto& [name, action, weeks] : plan) {
            phase.execute({++order, utf8(name), utf8(action), weeks});
        }
    }
}

void writeClasses(Database& db, const PlannedRoll& roll)
{
    for (size_t k = 0; k < classKinds().size(); ++k) {
        PreparedStatement insert(db, QStringLiteral("INSERT INTO \"%1\" (ID, Name, Description, Teacher, Asst_Teacher, "
                                                    "Location, Notes) VALUES (?, ?, ?, ?, ?, ?, ?)")
                                         .arg(utf8(classKinds()[k].table)));
        for (const PlannedClass& planned : roll.classes[k]) {
            insert.execute({planned.id, planned.name, planned.description, idOrNull(planned.teacher),
                            idOrNull(planned.assistant), planned.location, planned.notes});
        }
    }
    PreparedStatement group(db, QStringLiteral("INSERT INTO Care_Group (ID, Group_Leader, Asst_Group_Leader, "
                                               "Sunday_School_Class, Notes) VALUES (?, ?, ?, ?, ?)"));
    for (const CareGroup& planned : roll.careGroups) {
        group.execute(
            {planned.id, planned.leader, idOrNull(planned.assistant), idOrNull(planned.sundaySchool), planned.notes});
    }
}

void writeMembers(Database& db, const PlannedRoll& roll)
{
    QStringList columns;
    for (const char* column : kMemberColumns) {
        columns << utf8(column);
    }
    columns << NameKey::column();
    PreparedStatement insert(db, insertSql(QStringLiteral("Member"), columns));
    const auto levelOf = [](int level) { return level == kNoLevel ? QVariant() : QVariant(utf8(kLevels[level].name)); };
    for (const Person& p : roll.people) {
        const Household& h = roll.households[size_t(p.household)];
        QVariantList values = {
            p.id,
            p.status,
            p.first,
            p.middle,
            p.last,
            p.title,
            h.address1,
            h.address2,
            h.city,
            h.state,
            h.zip,
            h.phone,
            p.cell,
            p.workPhone,
            p.email,
            QString(), // Picture: the demo roll has none
            p.placeOfWork,
            p.occupation,
            dateOrNull(p.birth),
            dateOrNull(p.anniversary),
            p.gender,
            p.marital,
            p.head,
            h.mapSection,
            p.hobbies,
            p.organizationsNote,
            p.notes,
            p.churchStatus,
            dateOrNull(p.memberSince),
            dateOrNull(p.cameForward),
            dateOrNull(p.baptized),
            dateOrNull(p.letterOut),
            dateOrNull(p.deceased),
            p.previousChurch,
            p.newsByMail,
            p.newsByEmail,
            levelOf(p.level[kSundaySchool]),
            levelOf(p.level[kWorship]),
            levelOf(p.level[kDiscipleship]),
            levelOf(p.level[kSundayEvening]),
            levelOf(p.level[kWednesdayNight]),
            idOrNull(p.sundaySchool),
            idOrNull(p.careGroup),
            idOrNull(p.discipleship),
            idOrNull(p.wednesdayNight),
            idOrNull(p.deacon),
            p.prospectStatus,
            p.prospectSource,
            p.prospectMemberOf,
            p.prospectNote,
            idOrNull(p.prospectSundaySchool),
            idOrNull(p.prospectCareGroup),
            textOrNull(p.phase),
            p.phase.isEmpty() ? QVariant() : dateOrNull(p.nextDate),
            p.phase.isEmpty() ? QVariant() : QVariant(p.nextAction),
            p.phase.isEmpty() ? QVariant() : QVariant(p.nextType),
            p.envelope,
            p.showInContributionList < 0 ? QVariant() : QVariant(p.showInContributionList == 1),
            p.added,
            p.addedBy,
            p.edited.isValid() ? QVariant(p.edited) : QVariant(),
            textOrNull(p.editedBy),
        };
        values << NameKey::personKey(p.last, p.first, p.middle);
        Q_ASSERT(values.size() == columns.size());
        insert.execute(values);
    }
}

void writeFamilies(Database& db, const PlannedRoll& roll)
{
    PreparedStatement insert(
        db,
        QStringLiteral("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, ?, ?)"));
    for (const Household& household : roll.households) {
        const qint64 head = roll.people[size_t(household.people.front())].id;
        for (size_t i = 1; i < household.people.size(); ++i) {
            const Person& relative = roll.people[size_t(household.people[i])];
            insert.execute({head, relative.relationship, relative.id});
        }
    }
}

void writeResponsibilities(Database& db, const PlannedRoll& roll)
{
    PreparedStatement insert(db, QStringLiteral("INSERT INTO Member_Responsibility (Member_ID, Responsibility, "
                                                "\"Start\", \"End\") VALUES (?, ?, ?, ?)"));
    for (const Term& term : roll.terms) {
        insert.execute({term.person, term.responsibility, term.start, term.end});
    }
}

void writeOrganizations(Database& db, const PlannedRoll& roll)
{
    PreparedStatement insert(db,
                             QStringLiteral("INSERT INTO Member_Organizations (MemberID, Organization) VALUES (?, ?)"));
    for (const auto& [person, organization] : roll.memberships) {
        insert.execute({person, organization});
    }
}

void writeContacts(Database& db, const PlannedRoll& roll)
{
    PreparedStatement insert(db,
                             QStringLiteral("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Type, "
                                            "Visitor1, Visitor2, Rating, Notes) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const Contact& contact : roll.contacts) {
        insert.execute({contact.prospect, contact.date, textOrNull(contact.action), contact.type, contact.visitor1,
                        idOrNull(contact.visitor2), textOrNull(contact.rating), contact.notes});
    }
}

} // namespace

DemoWriter::DemoWriter(Database& db, const PlannedRoll& roll)
    : m_db(db)
    , m_roll(roll)
{}

void DemoWriter::writeLists(Database& db)
{
    ensureLookups(db);
    writeChurch(db);
    writeCatalogues(db);
}

void DemoWriter::writePeople()
{
    writeClasses(m_db, m_roll);
    writeMembers(m_db, m_roll);
    writeFamilies(m_db, m_roll);
    writeResponsibilities(m_db, m_roll);
    writeOrganizations(m_db, m_roll);
    writeContacts(m_db, m_roll);
}

int DemoWriter::weekIndexOnOrAfter(const QDate& date) const
{
    if (m_roll.weeks.empty() || date <= m_roll.weeks.front()) {
        return 0;
    }
    return int((m_roll.weeks.front().daysTo(date) + 6) / 7);
}

void DemoWriter::writeAttendance()
{
    if (m_roll.weeks.empty()) {
        return;
    }
    IndexesSetAside indexes(m_db, QStringLiteral("AttendanceData"));
    QStringList columns = {QStringLiteral("WeekOf"), QStringLiteral("MemberID")};
    for (const AttendanceCategory& category : AttendanceWeek::categories()) {
        columns << category.column;
    }
    BatchInsert insert(m_db, QStringLiteral("AttendanceData"), columns, 100);
    struct Attender
    {
        const Person* person;
        int firstWeek;
        int lastWeek;
        DemoRng rng;
    };
    std::vector<Attender> attenders;
    for (size_t i = 0; i < m_roll.people.size(); ++i) {
        const Person& p = m_roll.people[i];
        if (!p.attendFrom.isValid() || p.attendFrom > m_roll.until) {
            continue;
        }
        const int first = weekIndexOnOrAfter(p.attendFrom);
        const int last = std::min(int(m_roll.weeks.size()) - 1, weekIndexOnOrAfter(p.attendUntil.addDays(1)) - 1);
        if (first <= last) {
            attenders.push_back({&p, first, last, DemoRng(m_roll.seed, kAttendanceStream, i)});
        }
    }
    // Week by week, as the office enters it. Each person draws from his own stream, so what he gets does
    // not depend on the order of writing.
    for (int w = 0; w < int(m_roll.weeks.size()); ++w) {
        const double f = m_roll.season[size_t(w)];
        for (Attender& attender : attenders) {
            if (w < attender.firstWeek || w > attender.lastWeek) {
                continue;
            }
            const Person& p = *attender.person;
            DemoRng& rng = attender.rng;
            // The whole household is away some weeks; anyone may be ill.
            if (DemoRng::unitOf(DemoRng::hash(m_roll.seed ^ kAwayStream, quint64(p.household), quint64(w))) < 0.06 ||
                rng.chance(0.04)) {
                continue;
            }
            const bool ss = rng.unit() < p.weekly[kSundaySchool] * f;
            const bool ws = rng.unit() < std::min(0.98, p.weekly[kWorship] * f * (ss ? 1.1 : 1.0));
            const bool dt = rng.unit() < p.weekly[kDiscipleship] * f;
            const bool se = rng.unit() < p.weekly[kSundayEvening] * f;
            const bool wn = rng.unit() < p.weekly[kWednesdayNight] * f;
            const bool sl = rng.unit() < (ss ? p.studiesLesson : p.studiesLesson * 0.2);
            const bool rbd = rng.unit() < p.readsDaily;
            if (!(ss || sl || rbd || ws || dt || se || wn)) {
                continue;
            }
            insert.add(
                {m_roll.weekTexts[size_t(w)], p.id, int(ss), int(sl), int(rbd), int(ws), int(dt), int(se), int(wn)});
        }
    }
    insert.finish();
    indexes.restore();
    AttendanceSummary::recountAll(m_db);
}

void DemoWriter::writeContributions()
{
    if (m_roll.weeks.empty()) {
        return;
    }
    IndexesSetAside indexes(m_db, QStringLiteral("Member_Contributions"));
    BatchInsert insert(m_db, QStringLiteral("Member_Contributions"),
                       {QStringLiteral("MemberID"), QStringLiteral("ContributionDate"),
                        QStringLiteral("EnvelopeNumber"), QStringLiteral("Amount"), QStringLiteral("RefNumber"),
                        QStringLiteral("Designation"), QStringLiteral("UserName"), QStringLiteral("DateEntered")},
                       100);
    // Dates as text, from the Sunday before the first week to a few days after the last.
    const QDate firstDay = m_roll.weeks.front().addDays(-7);
    std::vector<QString> dayTexts;
    for (QDate day = firstDay; day <= m_roll.until.addDays(3); day = day.addDays(1)) {
        dayTexts.push_back(day.toString(Qt::ISODate));
    }
    const auto dayText = [&](const QDate& day) -> const QString& { return dayTexts[size_t(firstDay.daysTo(day))]; };
    QStringList clerks;
    for (const char* user : kOfficeUsers) {
        clerks << utf8(user);
    }
    const QString general = QStringLiteral("General Fund");
    const QStringList extras = {QStringLiteral("Building Fund"), QStringLiteral("Missions"),
                                QStringLiteral("Benevolence")};
    for (const int index : m_roll.givers) {
        const Person& p = m_roll.people[size_t(index)];
        DemoRng rng(m_roll.seed, kGivingStream, quint64(index));
        const int pattern =
            rng.weighted({35, 15, 25, 8, 12, 5}); // weekly, twice a month, monthly, quarterly, now and then, never
        if (pattern == 5) {
            continue;
        }
        const double spans[] = {1.0, 2.17, 4.33, 13.0, 2.0};
        const int band = rng.weighted({30, 35, 25, 10});
        const int bounds[][2] = {{10, 30}, {30, 80}, {80, 200}, {200, 600}};
        const double weeklyDollars = rng.between(bounds[band][0], bounds[band][1]);
        const bool paysByCheck = rng.chance(0.6);
        const bool exactAmounts = paysByCheck && rng.chance(0.2);
        int checkNumber = rng.between(1000, 5000);
        const int first = weekIndexOnOrAfter(p.giveFrom);
        const int last = std::min(int(m_roll.weeks.size()) - 1, weekIndexOnOrAfter(p.giveUntil.addDays(1)) - 1);
        const auto give = [&](const QDate& date, qint64 cents, const QString& designation) {
            // Entered on the next working days during office hours; gifts of the last Sunday that same
            // afternoon, so that nothing is entered after the end of the roll.
            QDate enteredOn = date.addDays(rng.between(1, 2));
            int second = 9 * 3600 + rng.below(7 * 3600);
            if (enteredOn > m_roll.until) {
                enteredOn = m_roll.until;
                second = 14 * 3600 + rng.below(3600);
            }
            // One clerk enters a whole week's envelopes.
            const QString& clerk = clerks.at(int(
                DemoRng::hash(m_roll.seed, kGivingStream, quint64(AttendanceWeek::sundayOf(date).toJulianDay())) % 3));
            insert.add({p.id, dayText(date), p.envelope, cents,
                        paysByCheck ? QString::number(checkNumber++) : QString(), designation, clerk,
                        QString(dayText(enteredOn) + u' ' + timeOfDay(second))});
        };

        for (int w = first; w <= last; ++w) {
            const QDate week = m_roll.weeks[size_t(w)];
            bool due = false;
            switch (pattern) {
                case 0:
                    due = true;
                    break;
                case 1:
                    due = week.day() <= 7 || (week.day() >= 15 && week.day() <= 21);
                    break;
                case 2:
                    due = week.day() <= 7;
                    break;
                case 3:
                    due = week.day() <= 7 && week.month() % 3 == 1;
                    break;
                default:
                    due = rng.chance(0.12);
                    break;
            }
            if (!due || rng.chance(0.06)) {
                continue;
            }
            const double growth = 1.0 + 0.025 * (double(m_roll.weeks.front().daysTo(week)) / 365.0);
            const double dollars = weeklyDollars * spans[pattern] * growth * (0.9 + rng.unit() * 0.2);
            qint64 cents = 0;
            if (exactAmounts) {
                cents = qint64(std::llround(dollars * 100.0));
            } else if (dollars >= 50) {
                cents = qint64(std::llround(dollars / 5.0)) * 500;
            } else {
                cents = std::max<qint64>(1, std::llround(dollars)) * 100;
            }
            // A few gifts come by mail during the week.
            const QDate date = rng.chance(0.05) ? week.addDays(-4) : week;
            give(date, cents, general);
            if (rng.chance(0.05) || (week.month() == 12 && week.day() >= 8 && week.day() <= 14 && rng.chance(0.3))) {
                const QString designation = week.month() == 12 ? extras.at(1) : extras.at(rng.weighted({50, 30, 20}));
                give(date, std::max<qint64>(1, std::llround(dollars * (0.1 + rng.unit() * 0.3) / 5.0)) * 500,
                     designation);
            }
        }
    }
    insert.finish();
    indexes.restore();
}
