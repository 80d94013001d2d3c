#include "demoplanner.h"

#include "demolists.h"
#include "demorng.h"

#include "core/attendanceweek.h"
#include "data/database.h"
#include "outreach/outreachplanstore.h"

#include <algorithm>

using namespace Demo;
using namespace DemoLists;

namespace {

QDate randomDate(DemoRng& rng, const QDate& from, const QDate& to)
{
    if (!to.isValid() || to <= from) {
        return from;
    }
    return from.addDays(rng.below(int(from.daysTo(to)) + 1));
}

// Letters only, ASCII, lower case: José D'Angelo -> jose, dangelo.
QString mailName(const QString& name)
{
    QString out;
    for (const QChar c : name.normalized(QString::NormalizationForm_D).toLower()) {
        if (c.unicode() < 128 && c.isLetter()) {
            out += c;
        } else if (c == QChar(0x0142)) { // ł has no decomposition
            out += u'l';
        } else if (c == QChar(0x00F8)) { // ø
            out += u'o';
        } else if (c == QChar(0x0111) || c == QChar(0x00F0)) { // đ, ð
            out += u'd';
        }
    }
    return out;
}

} // namespace

DemoPlanner::DemoPlanner(Database& db, const DemoRollOptions& options)
    : m_db(db)
    , m_options(options)
{
    m_roll.seed = options.seed;
    m_roll.until = AttendanceWeek::sundayOf(options.until.isValid() ? options.until : QDate::currentDate());
    m_roll.windowStart = m_roll.until.addYears(-options.years);
    m_roll.setupDate = m_roll.until.addYears(-options.years - 2);
    for (QDate week = AttendanceWeek::sundayOf(m_roll.windowStart).addDays(7);
         week <= m_roll.until && options.years > 0; week = week.addDays(7)) {
        m_roll.weeks.push_back(week);
        m_roll.weekTexts.push_back(week.toString(Qt::ISODate));
        // Fewer come in summer and on a snowy January Sunday, more near Christmas and on Mother's Day.
        double factor = 1.0;
        if (week.month() >= 6 && week.month() <= 8) {
            factor = 0.88;
        } else if (week.month() == 12 && week.day() >= 15 && week.day() <= 24) {
            factor = 1.1;
        } else if (week.month() == 5 && week.day() >= 8 && week.day() <= 14) {
            factor = 1.12;
        } else if (week.month() == 1 &&
                   DemoRng::unitOf(DemoRng::hash(options.seed, kAwayStream, quint64(week.toJulianDay()))) < 0.15) {
            factor = 0.35;
        }
        m_roll.season.push_back(factor);
    }
    m_firstPersonId = m_db.scalar(QStringLiteral("SELECT coalesce(max(ID), 0) + 1 FROM Member")).toLongLong();
}

PlannedRoll DemoPlanner::plan()
{
    planHouseholds();
    planClasses();
    planCareGroupsAndDeacons();
    planResponsibilities();
    planOrganizations();
    planOutreach();
    planEnvelopes();
    return std::move(m_roll);
}

QString DemoPlanner::firstName(DemoRng& rng, const QString& gender)
{
    const bool female = gender == u"Female" || (gender != u"Male" && rng.chance(0.5));
    if (rng.chance(0.07)) {
        return rng.pick(female ? femaleFirstNamesAccented() : maleFirstNamesAccented());
    }
    return rng.pick(female ? femaleFirstNames() : maleFirstNames());
}

QString DemoPlanner::phoneNumber(DemoRng& rng, const QString& areaCode)
{
    return QStringLiteral("(%1) %2-%3")
        .arg(areaCode)
        .arg(rng.between(201, 989))
        .arg(rng.below(10000), 4, 10, QLatin1Char('0'));
}

int DemoPlanner::addPerson(DemoRng& rng, Household& household, int householdIndex, const QString& gender, int age,
                           const QString& relation)
{
    if (int(m_roll.people.size()) >= m_options.people) {
        return -1;
    }
    Person person;
    person.household = householdIndex;
    person.id = m_firstPersonId + qint64(m_roll.people.size());
    person.gender = gender;
    person.head = relation.isEmpty();
    person.relationship = relation;
    // Birthdays fall on any day of the year; the age is the one reached by the end of the roll.
    person.birth = m_roll.until.addYears(-age).addDays(-rng.below(365));
    household.people.push_back(int(m_roll.people.size()));
    m_roll.people.push_back(person);
    return household.people.back();
}

void DemoPlanner::planHouseholds()
{
    DemoRng rng(m_options.seed, kHouseholdStream, 0);
    m_roll.people.reserve(size_t(std::max(0, m_options.people)));
    while (int(m_roll.people.size()) < m_options.people) {
        planHousehold(rng, int(m_roll.households.size()));
    }
    for (size_t i = 0; i < m_roll.people.size(); ++i) {
        if (isActiveMemberAdult(m_roll.people[i])) {
            m_activeAdults.push_back(int(i));
        }
    }
}

void DemoPlanner::planHousehold(DemoRng& rng, int index)
{
    Household household;
    const auto& featured = featuredFamilies();
    const bool isFeatured = size_t(index) < featured.size();
    household.kind = isFeatured ? Kind::Member : Kind(rng.weighted({70, 14, 13, 3}));
    household.lastName = isFeatured ? featured[size_t(index)].lastName
                                    : (rng.chance(0.12) ? rng.pick(lastNamesAccented()) : rng.pick(lastNames()));

    // Where they live.
    const auto& townList = towns();
    int townWeight = 0;
    for (const Town& town : townList) {
        townWeight += town.weight;
    }
    int roll = rng.below(townWeight);
    size_t townIndex = 0;
    while (roll >= townList[townIndex].weight) {
        roll -= townList[townIndex].weight;
        ++townIndex;
    }
    const Town& town = townList[townIndex];
    const int street = rng.below(int(streetNames().size()));
    household.address1 = QStringLiteral("%1 %2 %3")
                             .arg(rng.between(100, 9899))
                             .arg(streetNames().at(street), streetKinds().at((street * 7 + int(townIndex)) % 12));
    household.address2 = rng.chance(0.08)
                             ? QStringLiteral("Apt %1%2").arg(rng.between(1, 24)).arg(QChar(u'A' + rng.below(4)))
                             : QString();
    household.city = town.city;
    household.state = town.state;
    household.zip = town.zip;
    household.areaCode = town.areaCode;
    household.mapSection =
        QStringLiteral("%1%2").arg(QChar(u'A' + (street % 8))).arg(1 + (street * 3 + int(townIndex)) % 8);
    household.phone = rng.chance(0.8) ? phoneNumber(rng, town.areaCode) : QString();

    // Who lives there.
    const int shape = isFeatured ? 2 : rng.weighted({28, 24, 38, 10}); // single, couple, family, single parent
    const QString male = QStringLiteral("Male");
    const QString female = QStringLiteral("Female");
    int headAge = 0;
    QString headGender;
    switch (shape) {
        case 0: {
            const int band = rng.weighted({20, 20, 30, 30});
            const int bounds[][2] = {{19, 29}, {30, 44}, {45, 64}, {65, 92}};
            headAge = rng.between(bounds[band][0], bounds[band][1]);
            headGender = rng.chance(0.005) ? QStringLiteral("Unknown") : (rng.chance(0.6) ? female : male);
            break;
        }
        case 1: {
            const int band = rng.weighted({20, 15, 65});
            const int bounds[][2] = {{22, 34}, {35, 54}, {55, 90}};
            headAge = rng.between(bounds[band][0], bounds[band][1]);
            headGender = rng.chance(0.92) ? male : female;
            break;
        }
        case 2:
            headAge = rng.between(25, 55);
            headGender = rng.chance(0.92) ? male : female;
            break;
        default:
            headAge = rng.between(22, 50);
            headGender = rng.chance(0.8) ? female : male;
            break;
    }
    const int householdIndex = index;
    const int head = addPerson(rng, household, householdIndex, headGender, headAge, QString());
    int spouse = -1;
    if (shape == 1 || shape == 2) {
        const int spouseAge = std::max(19, headAge + rng.between(-6, 3));
        spouse = addPerson(rng, household, householdIndex, headGender == male ? female : male, spouseAge,
                           QStringLiteral("Spouse"));
    }
    if (shape >= 2) {
        int mothersAge = headAge;
        if (spouse >= 0 && m_roll.people[size_t(spouse)].gender == female) {
            mothersAge = ageOf(m_roll.people[size_t(spouse)]);
        }
        const int children = shape == 2 ? 1 + rng.weighted({30, 40, 20, 8, 2}) : rng.between(1, 3);
        const int oldest = std::clamp(mothersAge - 19, 0, 22);
        for (int c = 0; c < children; ++c) {
            const bool son = rng.chance(0.5);
            const bool step = shape == 2 && rng.chance(0.08);
            const QString relation = son ? (step ? QStringLiteral("Stepson") : QStringLiteral("Son"))
                                         : (step ? QStringLiteral("Stepdaughter") : QStringLiteral("Daughter"));
            const int child =
                addPerson(rng, household, householdIndex, son ? male : female, rng.between(0, oldest), relation);
            if (child >= 0 && step) {
                m_roll.people[size_t(child)].last = rng.pick(lastNames());
            }
        }
    }
    if ((shape == 1 || shape == 2) && rng.chance(0.04)) {
        const bool mother = rng.chance(0.7);
        addPerson(rng, household, householdIndex, mother ? female : male,
                  std::min(98, std::max(60, headAge + rng.between(22, 32))),
                  mother ? QStringLiteral("Mother") : QStringLiteral("Father"));
    }

    // Names. The featured families show off quotes and accents in the first households.
    for (const int i : household.people) {
        Person& person = m_roll.people[size_t(i)];
        if (person.last.isEmpty()) {
            person.last = household.lastName;
        }
        if (isFeatured && (i == head || i == spouse)) {
            person.first = person.gender == male ? featured[size_t(index)].husband : featured[size_t(index)].wife;
        } else {
            person.first = firstName(rng, person.gender);
        }
        person.middle = rng.chance(0.55) ? firstName(rng, person.gender) : QString();
        if (person.relationship == u"Mother" || person.relationship == u"Father") {
            person.last = rng.chance(0.6) ? household.lastName : rng.pick(lastNames());
        }
    }
    // Now and then the first son is named for his father.
    if (shape == 2 && headGender == male && household.people.size() > 2 && rng.chance(0.06)) {
        Person& son = m_roll.people[size_t(household.people[2])];
        if (son.relationship == u"Son") {
            son.first = m_roll.people[size_t(head)].first;
            son.title = QStringLiteral("Jr.");
            m_roll.people[size_t(head)].title = QStringLiteral("Sr.");
        }
    }
    // Marriage and marital status.
    if (spouse >= 0) {
        const Person& h = m_roll.people[size_t(head)];
        const Person& s = m_roll.people[size_t(spouse)];
        const QDate earliest = std::max(h.birth.addYears(20), s.birth.addYears(19));
        const QDate wedding =
            std::min(randomDate(rng, earliest, earliest.addYears(12)), m_roll.until.addDays(-rng.between(30, 400)));
        for (const int i : {head, spouse}) {
            m_roll.people[size_t(i)].anniversary = wedding;
            m_roll.people[size_t(i)].marital = QStringLiteral("Married");
        }
    }
    for (const int i : household.people) {
        Person& person = m_roll.people[size_t(i)];
        if (!person.marital.isEmpty()) {
            continue;
        }
        const int age = ageOf(person);
        if (age < 19) {
            person.marital = QStringLiteral("Single");
        } else if (person.relationship == u"Mother" || person.relationship == u"Father") {
            person.marital = QStringLiteral("Widowed");
        } else if (shape == 3) {
            person.marital =
                QStringList{QStringLiteral("Divorced"), QStringLiteral("Single"), QStringLiteral("Widowed")}.at(
                    rng.weighted({55, 30, 15}));
        } else if (age < 30) {
            person.marital = rng.chance(0.85) ? QStringLiteral("Single") : QStringLiteral("Divorced");
        } else if (age < 65) {
            person.marital =
                QStringList{QStringLiteral("Single"), QStringLiteral("Divorced"), QStringLiteral("Widowed")}.at(
                    rng.weighted({40, 45, 15}));
        } else {
            person.marital =
                QStringList{QStringLiteral("Widowed"), QStringLiteral("Single"), QStringLiteral("Divorced")}.at(
                    rng.weighted({60, 15, 25}));
        }
    }

    planChurchData(rng, household);
    m_roll.households.push_back(std::move(household));
}

void DemoPlanner::planChurchData(DemoRng& rng, Household& household)
{
    const Person& head = m_roll.people[size_t(household.people.front())];
    const QDate adultHood = head.birth.addYears(18);
    switch (household.kind) {
        case Kind::Member:
            household.active = rng.chance(0.88);
            if (rng.chance(0.12) && m_options.years > 0) {
                household.joined = randomDate(rng, std::max(m_roll.windowStart, adultHood), m_roll.until.addDays(-14));
            } else {
                household.joined = randomDate(rng, std::max(adultHood, m_roll.until.addYears(-45)), m_roll.windowStart);
            }
            if (!household.active) {
                household.left = randomDate(rng, std::max(household.joined, m_roll.windowStart.addYears(-2)),
                                            m_roll.until.addDays(-140));
            }
            break;
        case Kind::Prospect:
            household.prospectStatus =
                QStringList{QStringLiteral("Active"), QStringLiteral("InActive"), QStringLiteral("Joined")}.at(
                    rng.weighted({70, 20, 10}));
            household.joined = AttendanceWeek::sundayOf(m_roll.until.addDays(-7 * rng.between(0, 104)));
            if (household.prospectStatus == u"InActive") {
                household.left = std::min(m_roll.until, household.joined.addDays(7 * rng.between(2, 20)));
            }
            break;
        case Kind::Previous:
        case Kind::Deleted:
            household.active = false;
            household.joined =
                randomDate(rng, std::max(adultHood, m_roll.until.addYears(-40)), m_roll.until.addYears(-2));
            household.left = std::min(
                m_roll.until.addDays(-14),
                randomDate(rng, std::max(household.joined.addYears(1), m_roll.until.addYears(-m_options.years - 3)),
                           m_roll.until.addDays(-14)));
            household.headDied = household.kind == Kind::Previous && household.people.size() == 1 &&
                                 ageOf(head) >= 70 && rng.chance(0.4);
            break;
    }

    std::array<int, kActivityCount> householdLevels{};
    for (int a = 0; a < kActivityCount; ++a) {
        const auto& w = kLevelWeights[a];
        householdLevels[size_t(a)] = rng.weighted({w[0], w[1], w[2], w[3]});
    }
    for (const int i : household.people) {
        Person& person = m_roll.people[size_t(i)];
        planPersonDetails(rng, household, person);
        planLevels(rng, household, person, householdLevels);
    }
}

void DemoPlanner::planPersonDetails(DemoRng& rng, const Household& household, Person& person)
{
    const int age = ageOf(person);
    const bool adult = age >= 18;

    // Statuses.
    switch (household.kind) {
        case Kind::Member:
            if (person.head) {
                person.status = QStringLiteral("Member");
            } else if (adult) {
                person.status = person.relationship == u"Spouse" && rng.chance(0.07) ? QStringLiteral("Prospect")
                                                                                     : QStringLiteral("Member");
            } else if (age >= 9) {
                // Baptized between nine and thirteen, or not yet.
                const QDate baptism = person.birth.addYears(rng.between(9, 13)).addDays(rng.below(300));
                person.status = baptism <= m_roll.until ? QStringLiteral("Member") : QStringLiteral("Child Of Member");
                if (person.status == u"Member") {
                    person.memberSince = std::max(baptism, household.joined);
                }
            } else {
                person.status = QStringLiteral("Child Of Member");
            }
            person.churchStatus = household.active ? QStringLiteral("Active") : QStringLiteral("InActive");
            break;
        case Kind::Prospect:
            person.status = QStringLiteral("Prospect");
            person.churchStatus =
                household.prospectStatus == u"InActive" ? QStringLiteral("InActive") : QStringLiteral("Active");
            break;
        case Kind::Previous:
            person.status = QStringLiteral("Previous Member");
            person.churchStatus = QStringLiteral("InActive");
            break;
        case Kind::Deleted:
            person.status = QStringLiteral("Deleted Member");
            person.churchStatus = QStringLiteral("InActive");
            break;
    }
    if (person.status == u"Prospect") {
        person.prospectStatus = household.kind == Kind::Prospect ? household.prospectStatus : QStringLiteral("Active");
    } else if (person.status == u"Member") {
        person.prospectStatus = QStringLiteral("Joined");
    } else {
        person.prospectStatus = QStringLiteral("InActive");
    }

    // Church dates of those who joined: with their household, or when baptized if that came later.
    const bool joins =
        person.status == u"Member" || person.status == u"Previous Member" || person.status == u"Deleted Member";
    if (joins && !person.memberSince.isValid()) {
        QDate since = household.joined;
        if (!person.head && rng.chance(0.2)) {
            since = since.addDays(rng.between(0, 400));
        }
        since = std::max(since, person.birth.addYears(rng.between(9, 13)));
        const QDate latest = household.left.isValid() ? household.left : m_roll.until.addDays(-7);
        if (since <= latest) {
            person.memberSince = since;
        }
    }
    if (person.memberSince.isValid()) {
        if (rng.chance(0.45) && ageOn(person.birth, person.memberSince) >= 18) {
            person.previousChurch = rng.pick(previousChurches());
            person.cameForward = person.memberSince;
            if (rng.chance(0.7)) {
                person.baptized = randomDate(rng, person.birth.addYears(10), person.memberSince.addDays(-30));
            }
        } else {
            person.cameForward = person.memberSince.addDays(-rng.between(0, 14));
            const QDate baptized = person.memberSince.addDays(rng.between(7, 28));
            person.baptized = baptized <= m_roll.until ? baptized : QDate();
        }
    }
    if (household.kind == Kind::Previous || household.kind == Kind::Deleted) {
        if (household.headDied && person.head) {
            person.deceased = household.left;
        } else if (household.kind == Kind::Previous) {
            person.letterOut = household.left;
        }
    }

    // When they come: members from a couple of months before joining, children from a few weeks old,
    // prospects from their first visit, until they moved, died or stopped coming.
    QDate from = household.joined;
    if (person.memberSince.isValid() && person.head) {
        from = person.memberSince.addDays(-56);
    }
    from = std::max(from, person.birth.addDays(14));
    person.attendFrom = from;
    person.attendUntil = household.left.isValid() ? household.left : m_roll.until;

    // Contact details.
    if (age >= 14 && rng.chance(adult ? 0.75 : 0.4)) {
        person.cell =
            phoneNumber(rng, rng.chance(0.7) ? household.areaCode : QStringLiteral("%1").arg(rng.between(201, 989)));
    }
    const double emailChance = person.head ? 0.7 : (adult ? 0.6 : (age >= 13 ? 0.3 : 0.0));
    if (rng.chance(emailChance)) {
        QString local = mailName(person.first) + u'.' + mailName(person.last);
        if (rng.chance(0.3)) {
            local += QString::number(rng.between(1, 99));
        }
        person.email = local + u'@' + rng.pick(emailDomains());
    }
    if (age >= 23 && age <= 66 && rng.chance(0.85)) {
        const Job& job = jobs().at(size_t(rng.below(int(jobs().size()))));
        person.occupation = job.occupation;
        person.placeOfWork = job.placeOfWork;
        if (!job.placeOfWork.isEmpty() && rng.chance(0.35)) {
            person.workPhone = phoneNumber(rng, household.areaCode);
        }
    } else if (age >= 18 && age <= 22 && rng.chance(0.5)) {
        person.occupation = QStringLiteral("Student");
        person.placeOfWork = QStringLiteral("Cumberland Valley College");
    } else if (age >= 67 && rng.chance(0.75)) {
        person.occupation = QStringLiteral("Retired");
    }
    if (adult && ageOf(person) >= 30 && rng.chance(0.02) && person.title == u" ") {
        person.title = rng.chance(0.8) ? QStringLiteral("Dr.") : QStringLiteral("Rev.");
    }
    if (adult && rng.chance(0.35)) {
        QStringList chosen;
        const int count = rng.between(1, 3);
        for (int h = 0; h < count; ++h) {
            const QString hobby = rng.pick(hobbies());
            if (!chosen.contains(hobby)) {
                chosen << hobby;
            }
        }
        person.hobbies = chosen.join(QStringLiteral(", "));
    }
    if (adult && rng.chance(0.04)) {
        person.organizationsNote = rng.pick(outsideOrganizations());
    }
    if (rng.chance(0.06)) {
        person.notes = rng.pick(personNotes());
    }
    person.newsByMail = person.head && rng.chance(0.6);
    person.newsByEmail = !person.email.isEmpty() && rng.chance(0.45);

    // Prospect information.
    if (person.status == u"Prospect") {
        person.prospectSource = rng.pick(prospectSources());
        person.prospectMemberOf = rng.chance(0.5) ? QStringLiteral("None") : rng.pick(previousChurches());
        person.prospectNote = person.head ? rng.pick(prospectNotes()) : QString();
    }

    // Who entered the person, and when.
    const QDate known = person.status == u"Prospect"
                            ? household.joined
                            : (person.memberSince.isValid() ? person.memberSince : person.birth);
    const QDate addedOn = std::min(m_roll.until, std::max(m_roll.setupDate, known.addDays(rng.between(1, 20))));
    person.added = QDateTime(addedOn, QTime(rng.between(8, 16), rng.below(60), rng.below(60)));
    person.addedBy = utf8(kOfficeUsers[rng.below(3)]);
    if (rng.chance(0.35) && addedOn < m_roll.until) {
        person.edited = QDateTime(randomDate(rng, addedOn.addDays(1), m_roll.until),
                                  QTime(rng.between(8, 16), rng.below(60), rng.below(60)));
        person.editedBy = utf8(kOfficeUsers[rng.below(3)]);
    }
}

void DemoPlanner::planLevels(DemoRng& rng, const Household& household, Person& person,
                             const std::array<int, kActivityCount>& householdLevels)
{
    const int age = ageOf(person);
    std::array<int, kActivityCount> drawn{};
    for (int a = 0; a < kActivityCount; ++a) {
        const auto& w = kLevelWeights[a];
        const bool followFamily = rng.chance(age < 18 ? 0.8 : 0.5);
        drawn[size_t(a)] = followFamily ? householdLevels[size_t(a)] : rng.weighted({w[0], w[1], w[2], w[3]});
    }
    if (person.status == u"Prospect") {
        // Prospects visit now and then; their levels are seldom recorded.
        const double weekly[kActivityCount] = {0.15, 0.35, 0.03, 0.05, 0.06};
        for (int a = 0; a < kActivityCount; ++a) {
            person.weekly[size_t(a)] = weekly[a] * (0.6 + rng.unit() * 0.8);
        }
        if (rng.chance(0.25)) {
            person.level[kWorship] = 1;
            person.level[kSundaySchool] = 2;
        }
    } else {
        for (int a = 0; a < kActivityCount; ++a) {
            const double jitter = 0.9 + rng.unit() * 0.18;
            person.weekly[size_t(a)] = std::min(0.97, kLevels[drawn[size_t(a)]].weekly * jitter);
        }
        if (household.kind == Kind::Member && household.active) {
            person.level = drawn;
        } else if (household.kind == Kind::Member) {
            // They used to come; the office now records them as seldom or never there.
            for (int a = 0; a < kActivityCount; ++a) {
                person.level[size_t(a)] = rng.chance(a == kWorship ? 0.6 : 0.4) ? 2 : kNever;
            }
        } else if (rng.chance(0.6)) {
            person.level = drawn;
        }
    }
    person.studiesLesson = age >= 6 ? 0.3 + rng.unit() * 0.5 : 0.0;
    person.readsDaily = age >= 8 ? (rng.chance(0.35) ? 0.5 + rng.unit() * 0.45 : 0.02) : 0.0;
}

bool DemoPlanner::isActiveMemberAdult(const Person& person) const
{
    return person.status == u"Member" && person.churchStatus == u"Active" && ageOf(person) >= 21;
}

qint64 DemoPlanner::takeLeader(DemoRng& rng, bool preferMen)
{
    if (m_leaderPool.empty()) {
        // Small rolls run out of fresh leaders; then people serve twice.
        if (m_activeAdults.empty()) {
            return 0;
        }
        return m_roll.people[size_t(m_activeAdults[size_t(rng.below(int(m_activeAdults.size())))])].id;
    }
    size_t chosen = m_leaderPool.size() - 1;
    if (preferMen && rng.chance(0.85)) {
        for (size_t look = 0; look < std::min<size_t>(12, m_leaderPool.size()); ++look) {
            const size_t at = m_leaderPool.size() - 1 - look;
            if (m_roll.people[size_t(m_leaderPool[at])].gender == u"Male") {
                chosen = at;
                break;
            }
        }
    }
    const int index = m_leaderPool[chosen];
    m_leaderPool.erase(m_leaderPool.begin() + std::ptrdiff_t(chosen));
    return m_roll.people[size_t(index)].id;
}

void DemoPlanner::planClasses()
{
    DemoRng rng(m_options.seed, kClassStream, 0);
    for (const int i : m_activeAdults) {
        const int age = ageOf(m_roll.people[size_t(i)]);
        if (age <= 75) {
            m_leaderPool.push_back(i);
        }
    }
    rng.shuffle(m_leaderPool);

    const QStringList rooms = {QStringLiteral("Fellowship Hall"), QStringLiteral("Chapel"),
                               QStringLiteral("Youth Building"),  QStringLiteral("Choir Room"),
                               QStringLiteral("Library"),         QStringLiteral("Gym")};
    int roomNumber = 100;
    for (const ClassKind& kind : classKinds()) {
        const qint64 firstId =
            m_db.scalar(QStringLiteral("SELECT coalesce(max(ID), 0) + 1 FROM \"%1\"").arg(utf8(kind.table)))
                .toLongLong();
        // Each attender picks one band he fits; the bands then get as many classes as their attenders need.
        std::vector<std::vector<int>> bandPeople(kind.bands.size());
        for (size_t i = 0; i < m_roll.people.size(); ++i) {
            const Person& person = m_roll.people[i];
            const bool attends = (person.status == u"Member" || person.status == u"Child Of Member") &&
                                 person.churchStatus == u"Active" && person.level[kind.activity] != kNoLevel &&
                                 person.level[kind.activity] != kNever;
            if (!attends) {
                continue;
            }
            const int age = ageOf(person);
            std::vector<size_t> fits;
            for (size_t b = 0; b < kind.bands.size(); ++b) {
                if (bandFits(kind.bands[b], age, person.gender)) {
                    fits.push_back(b);
                }
            }
            if (!fits.empty()) {
                bandPeople[fits[size_t(rng.below(int(fits.size())))]].push_back(int(i));
            }
        }
        std::vector<PlannedClass> classes;
        for (size_t b = 0; b < kind.bands.size(); ++b) {
            const ClassBand& band = kind.bands[b];
            const int count = int((bandPeople[b].size() + size_t(kind.capacity) - 1) / size_t(kind.capacity));
            std::vector<qint64> ids;
            for (int n = 0; n < count; ++n) {
                PlannedClass planned;
                planned.id = firstId + qint64(classes.size());
                planned.band = int(b);
                planned.name = utf8(band.name);
                if (count > 1) {
                    planned.name +=
                        count <= 26 ? QStringLiteral(" %1").arg(QChar(u'A' + n)) : QStringLiteral(" #%1").arg(n + 1);
                }
                planned.description = band.maxAge >= 200
                                          ? QStringLiteral("Ages %1 and up").arg(band.minAge)
                                          : QStringLiteral("Ages %1-%2").arg(band.minAge).arg(band.maxAge);
                planned.location = rng.chance(0.8) ? QStringLiteral("Room %1").arg(++roomNumber) : rng.pick(rooms);
                planned.teacher = takeLeader(rng);
                planned.assistant = rng.chance(0.7) ? takeLeader(rng) : 0;
                if (rng.chance(0.1)) {
                    planned.notes = QStringLiteral("Meets in the \"annex\" during the remodel.");
                }
                ids.push_back(planned.id);
                classes.push_back(planned);
            }
            for (const int i : bandPeople[b]) {
                const qint64 id = ids[size_t(rng.below(int(ids.size())))];
                Person& person = m_roll.people[size_t(i)];
                if (kind.activity == kSundaySchool) {
                    person.sundaySchool = id;
                } else if (kind.activity == kDiscipleship) {
                    person.discipleship = id;
                } else {
                    person.wednesdayNight = id;
                }
            }
        }
        // Prospects are offered the Sunday School class of their age.
        if (kind.activity == kSundaySchool && !classes.empty()) {
            for (Person& person : m_roll.people) {
                if (person.status != u"Prospect" || !rng.chance(0.5)) {
                    continue;
                }
                const int age = ageOf(person);
                std::vector<qint64> fits;
                for (const PlannedClass& planned : classes) {
                    if (bandFits(kind.bands[size_t(planned.band)], age, person.gender)) {
                        fits.push_back(planned.id);
                    }
                }
                if (!fits.empty()) {
                    person.prospectSundaySchool = fits[size_t(rng.below(int(fits.size())))];
                }
            }
        }
        m_roll.classes.push_back(std::move(classes));
    }
}

void DemoPlanner::planCareGroupsAndDeacons()
{
    DemoRng rng(m_options.seed, kRoleStream, 0);
    std::vector<int> memberHouseholds;
    for (size_t h = 0; h < m_roll.households.size(); ++h) {
        if (m_roll.households[h].kind == Kind::Member) {
            memberHouseholds.push_back(int(h));
        }
    }
    if (m_activeAdults.empty()) {
        return;
    }
    const qint64 firstGroupId =
        m_db.scalar(QStringLiteral("SELECT coalesce(max(ID), 0) + 1 FROM Care_Group")).toLongLong();
    const int groups = std::max(1, int(memberHouseholds.size()) / 10);
    std::vector<qint64> adultClasses;
    for (const PlannedClass& planned : m_roll.classes.front()) {
        if (classKinds().front().bands[size_t(planned.band)].minAge >= 18) {
            adultClasses.push_back(planned.id);
        }
    }
    for (int g = 0; g < groups; ++g) {
        CareGroup group;
        group.id = firstGroupId + g;
        group.leader = takeLeader(rng);
        group.assistant = rng.chance(0.6) ? takeLeader(rng) : 0;
        if (!adultClasses.empty() && rng.chance(0.5)) {
            group.sundaySchool = adultClasses[size_t(rng.below(int(adultClasses.size())))];
        }
        if (rng.chance(0.15)) {
            group.notes = QStringLiteral("Meets the second Sunday evening at the leader's home.");
        }
        m_roll.careGroups.push_back(group);
    }

    const int deacons = std::max(1, int(memberHouseholds.size()) / 15);
    for (int d = 0; d < deacons; ++d) {
        const qint64 id = takeLeader(rng, true);
        if (id > 0 && std::find(m_roll.deacons.begin(), m_roll.deacons.end(), id) == m_roll.deacons.end()) {
            m_roll.deacons.push_back(id);
        }
    }
    // Deacons serve three-year terms; every current one is in the middle of his, some served before.
    for (const qint64 deacon : m_roll.deacons) {
        const QDate start = m_roll.until.addDays(-rng.between(0, 3 * 365 - 30));
        m_roll.terms.push_back({deacon, QStringLiteral("Deacon"), start, start.addYears(3).addDays(-1)});
        if (rng.chance(0.4)) {
            m_roll.terms.push_back({deacon, QStringLiteral("Deacon"), start.addYears(-3), start.addDays(-1)});
        }
    }
    for (int d = 0; d < std::max(1, deacons / 2); ++d) {
        const qint64 former = takeLeader(rng, true);
        if (former <= 0 || std::find(m_roll.deacons.begin(), m_roll.deacons.end(), former) != m_roll.deacons.end()) {
            continue;
        }
        const QDate end = m_roll.until.addDays(-rng.between(30, 1500));
        m_roll.terms.push_back({former, QStringLiteral("Deacon"), end.addYears(-3).addDays(1), end});
    }

    for (const int h : memberHouseholds) {
        const Household& household = m_roll.households[size_t(h)];
        const qint64 group = household.active && rng.chance(0.85)
                                 ? m_roll.careGroups[size_t(rng.below(int(m_roll.careGroups.size())))].id
                                 : 0;
        const qint64 deacon = rng.chance(0.95) && !m_roll.deacons.empty()
                                  ? m_roll.deacons[size_t(rng.below(int(m_roll.deacons.size())))]
                                  : 0;
        for (const int i : household.people) {
            Person& person = m_roll.people[size_t(i)];
            if (person.status != u"Member" && person.status != u"Child Of Member") {
                continue;
            }
            person.careGroup = group;
            if (person.id != deacon) {
                person.deacon = deacon;
            }
        }
    }
    for (Person& person : m_roll.people) {
        if (person.status == u"Prospect" && rng.chance(0.35)) {
            person.prospectCareGroup = m_roll.careGroups[size_t(rng.below(int(m_roll.careGroups.size())))].id;
        }
    }
}

void DemoPlanner::planResponsibilities()
{
    DemoRng rng(m_options.seed, kRoleStream, 1);
    if (m_activeAdults.empty()) {
        return;
    }
    int memberHouseholds = 0;
    for (const Household& household : m_roll.households) {
        memberHouseholds += household.kind == Kind::Member ? 1 : 0;
    }
    for (const Responsibility& responsibility : responsibilities()) {
        const int holders =
            std::max(responsibility.minimum, memberHouseholds * responsibility.perHundredHouseholds / 100);
        for (int n = 0; n < holders; ++n) {
            const qint64 person =
                m_roll.people[size_t(m_activeAdults[size_t(rng.below(int(m_activeAdults.size())))])].id;
            const int years = rng.between(1, 3);
            QDate start;
            if (rng.chance(0.75)) {
                start = m_roll.until.addDays(-rng.between(0, years * 365 - 1));
            } else {
                start = m_roll.until.addYears(-years).addDays(-rng.between(30, 1500));
            }
            m_roll.terms.push_back({person, utf8(responsibility.name), start, start.addYears(years).addDays(-1)});
        }
    }
}

void DemoPlanner::planOrganizations()
{
    DemoRng rng(m_options.seed, kOrganizationStream, 0);
    for (const Person& person : m_roll.people) {
        const bool belongs =
            (person.status == u"Member" || person.status == u"Child Of Member") && person.churchStatus == u"Active";
        if (!belongs) {
            continue;
        }
        const int age = ageOf(person);
        for (const OrganizationRule& rule : organizations()) {
            const bool genderFits = rule.gender == 0 || (rule.gender == 'M' && person.gender == u"Male") ||
                                    (rule.gender == 'F' && person.gender == u"Female");
            if (age >= rule.minAge && age <= rule.maxAge && genderFits && rng.chance(rule.chance)) {
                m_roll.memberships.emplace_back(person.id, utf8(rule.name));
            }
        }
    }
}

namespace {

// How a contact with this action is usually made.
QString contactTypeFor(DemoRng& rng, const QString& action)
{
    if (action == u"Visit") {
        return rng.chance(0.8) ? QStringLiteral("Home visit") : QStringLiteral("Church visit");
    }
    if (action == u"Phone Call") {
        return QStringLiteral("Telephone");
    }
    if (action == u"Letter" || action == u"Card") {
        return QStringLiteral("Mail");
    }
    if (action == u"E-mail") {
        return QStringLiteral("E-mail");
    }
    return QStringLiteral("Other");
}

} // namespace

// Contacts follow the plan the way contact entry schedules them, so that every prospect's next step is
// what the program itself would have proposed after his last contact.
void DemoPlanner::planOutreach()
{
    DemoRng rng(m_options.seed, kOutreachStream, 0);
    m_roll.phases = OutreachPlanStore(m_db).load();
    QStringList actions;
    for (const Row& row : m_db.select(QStringLiteral("SELECT Action FROM Prospect_Action ORDER BY Action"))) {
        actions << row.text(u"Action");
    }
    const QStringList ratings = {QStringLiteral("Very Interested"), QStringLiteral("Interested"),
                                 QStringLiteral("Undecided"), QStringLiteral("Not Interested")};

    std::vector<qint64> visitors;
    for (const int i : m_activeAdults) {
        visitors.push_back(m_roll.people[size_t(i)].id);
    }
    for (Person& person : m_roll.people) {
        if (person.status != u"Prospect" || ageOf(person) < 18) {
            continue;
        }
        const Household& household = m_roll.households[size_t(person.household)];
        const bool adultContact = person.head || rng.chance(0.3);
        int count = 0;
        if (adultContact && !visitors.empty()) {
            if (person.prospectStatus == u"Active") {
                count = rng.weighted({15, 25, 20, 15, 10, 6, 4, 3, 2});
            } else if (person.prospectStatus == u"InActive") {
                count = rng.between(1, 3);
            } else {
                count = rng.between(2, 5);
            }
        }
        // A spouse in a member household came to notice some time in the last two years.
        const QDate firstVisit = household.kind == Kind::Prospect
                                     ? household.joined
                                     : AttendanceWeek::sundayOf(m_roll.until.addDays(-7 * rng.between(0, 104)));
        QString current;
        OutreachStep step;
        QDate date = firstVisit.addDays(rng.between(1, 10));
        int made = 0;
        for (int c = 0; c < count && date <= m_roll.until; ++c) {
            Contact contact;
            contact.prospect = person.id;
            contact.date = date;
            const QString expected =
                made == 0 ? (m_roll.phases.empty() ? QString() : m_roll.phases.front().action) : step.action;
            contact.action =
                !expected.isEmpty() && rng.chance(0.8) ? expected : (actions.isEmpty() ? QString() : rng.pick(actions));
            contact.type = contactTypeFor(rng, contact.action);
            const bool deaconVisits = !m_roll.deacons.empty() && rng.chance(0.4);
            contact.visitor1 = deaconVisits ? m_roll.deacons[size_t(rng.below(int(m_roll.deacons.size())))]
                                            : visitors[size_t(rng.below(int(visitors.size())))];
            if (rng.chance(0.5)) {
                const qint64 second = visitors[size_t(rng.below(int(visitors.size())))];
                contact.visitor2 = second != contact.visitor1 ? second : 0;
            }
            if (rng.chance(0.85)) {
                contact.rating = ratings.at(rng.weighted({25, 35, 25, 15}));
            }
            contact.notes = rng.pick(contactNotes());
            m_roll.contacts.push_back(contact);
            ++made;
            step = nextOutreachStep(m_roll.phases, current, contact.date, contact.action);
            current = step.phase;
            date = step.date.addDays(rng.chance(0.75) ? rng.between(-3, 3) : rng.between(4, 25));
        }
        // Only active prospects keep a scheduled next step; the four columns are set together or not at all.
        if (person.prospectStatus == u"Active" && !m_roll.phases.empty()) {
            if (made > 0) {
                person.phase = step.phase;
                person.nextDate = step.date;
                person.nextAction = step.action;
            } else if (adultContact && rng.chance(0.5)) {
                const OutreachStep first = nextOutreachStep(m_roll.phases, QString(), firstVisit, QString());
                person.phase = first.phase;
                person.nextDate = first.date;
                person.nextAction = first.action;
            }
            if (!person.phase.isEmpty()) {
                person.nextType = contactTypeFor(rng, person.nextAction);
            }
        }
    }
}

// Envelopes: one giver per household as a rule, a few grown children give on their own.
void DemoPlanner::planEnvelopes()
{
    DemoRng rng(m_options.seed, kEnvelopeStream, 0);
    for (const Household& household : m_roll.households) {
        const int head = household.people.front();
        switch (household.kind) {
            case Kind::Member:
                if (rng.chance(0.9)) {
                    m_roll.givers.push_back(head);
                }
                for (size_t i = 1; i < household.people.size(); ++i) {
                    const Person& person = m_roll.people[size_t(household.people[i])];
                    if (person.status == u"Member" && ageOf(person) >= 18 && person.relationship != u"Spouse" &&
                        rng.chance(0.2)) {
                        m_roll.givers.push_back(household.people[i]);
                    }
                }
                break;
            case Kind::Prospect:
                if (household.prospectStatus == u"Active" && rng.chance(0.05)) {
                    m_roll.givers.push_back(head);
                }
                break;
            case Kind::Previous:
                if (rng.chance(0.8)) {
                    m_roll.givers.push_back(head);
                }
                break;
            case Kind::Deleted:
                if (rng.chance(0.5)) {
                    m_roll.givers.push_back(head);
                }
                break;
        }
    }
    std::vector<int> numbers(m_roll.givers.size());
    for (size_t i = 0; i < numbers.size(); ++i) {
        numbers[i] = int(101 + i);
    }
    rng.shuffle(numbers);
    for (size_t g = 0; g < m_roll.givers.size(); ++g) {
        Person& person = m_roll.people[size_t(m_roll.givers[g])];
        const Household& household = m_roll.households[size_t(person.household)];
        person.envelope = QString::number(numbers[g]);
        const bool current = household.kind == Kind::Member || household.kind == Kind::Prospect;
        person.showInContributionList = current ? 1 : 0;
        person.giveFrom =
            std::max(person.memberSince.isValid() ? person.memberSince : household.joined, m_roll.windowStart);
        person.giveUntil = household.left.isValid() ? household.left : m_roll.until;
        // Some who stopped coming still give.
        if (household.kind == Kind::Member && !household.active && rng.chance(0.3)) {
            person.giveUntil = m_roll.until;
        }
    }
    std::sort(m_roll.givers.begin(), m_roll.givers.end());
    for (Person& person : m_roll.people) {
        if (person.envelope.isEmpty() && person.status == u"Member" && rng.chance(0.03)) {
            person.showInContributionList = 0;
        }
    }
}
