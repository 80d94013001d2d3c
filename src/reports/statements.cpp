#include "reports/statements.h"

#include "core/household.h"
#include "data/database.h"
#include "data/namekey.h"
#include "data/sqlvalue.h"
#include "reports/households.h"
#include "reports/reportidlist.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

const QString kDeleted = QStringLiteral("Deleted Member");

struct Person
{
    qint64 id = 0;
    QString firstName;
    QString lastName;
    QString address1;
    QString address2;
    QString city;
    QString state;
    QString zip;
    QString email;
    QString envelope;
    std::optional<QDate> born;
    bool deleted = false;
    bool deceased = false;
    bool childOfMember = false;

    QString sortName() const { return lastName.trimmed() + QStringLiteral(", ") + firstName.trimmed(); }
    QString fullName() const { return QString(firstName.trimmed() + u' ' + lastName.trimmed()).trimmed(); }

    HouseholdPerson asHouseholdPerson() const
    {
        HouseholdPerson person;
        person.id = id;
        person.firstName = firstName;
        person.lastName = lastName;
        person.born = born;
        person.childOfMember = childOfMember;
        return person;
    }
};

QHash<qint64, Person> readPeople(Database& db, const QList<qint64>& ids)
{
    QHash<qint64, Person> people;
    const ReportIdList list(db, ids);
    Query read = db.query(QStringLiteral("SELECT ID, First_Name, Last_Name, Address_1, Address_2, City, State, Zip, "
                                         "Email, Envelope, Status, Date_Of_Birth, Deceased_Date FROM Member WHERE ") +
                          ReportIdList::condition(QStringLiteral("ID")));
    while (read.next()) {
        const Row row = read.row();
        Person person;
        person.id = row.integer(u"ID");
        person.firstName = row.text(u"First_Name");
        person.lastName = row.text(u"Last_Name");
        person.address1 = row.text(u"Address_1");
        person.address2 = row.text(u"Address_2");
        person.city = row.text(u"City");
        person.state = row.text(u"State");
        person.zip = row.text(u"Zip");
        person.email = row.text(u"Email").trimmed();
        person.envelope = row.text(u"Envelope");
        person.born = row.date(u"Date_Of_Birth");
        const QString status = row.text(u"Status");
        person.deleted = status.compare(kDeleted, Qt::CaseInsensitive) == 0;
        person.childOfMember = status.compare(QLatin1String("Child Of Member"), Qt::CaseInsensitive) == 0;
        person.deceased = !row.text(u"Deceased_Date").isEmpty();
        people.insert(person.id, person);
    }
    return people;
}

QSet<qint64> peopleGivingWithHousehold(Database& db)
{
    QSet<qint64> ids;
    for (const Row& row :
         db.select(QStringLiteral("SELECT Member_ID FROM Member_Statement WHERE With_Household = ?"), {1})) {
        ids.insert(row.integer(u"Member_ID"));
    }
    return ids;
}

QSet<QString> notDeductibleDesignations(Database& db)
{
    QSet<QString> names;
    for (const QString& name :
         db.texts(QStringLiteral("SELECT Name FROM ContributionDesignation WHERE Not_Deductible = ?"), {1})) {
        names.insert(NameKey::fold(name.trimmed()));
    }
    return names;
}

// The gifts dated in the period of people on the roll, of the given people only when a list is given.
std::vector<StatementGift> readGifts(Database& db, const QDate& start, const QDate& end,
                                     const std::optional<QList<qint64>>& only)
{
    const QSet<QString> notDeductible = notDeductibleDesignations(db);
    std::optional<ReportIdList> list;
    QString sql = QStringLiteral("SELECT c.ID, c.MemberID, c.ContributionDate, c.EnvelopeNumber, c.Amount, "
                                 "c.RefNumber, c.Designation FROM Member_Contributions c "
                                 "JOIN Member ON Member.ID = c.MemberID "
                                 "WHERE c.ContributionDate >= ? AND c.ContributionDate < ?");
    if (only) {
        list.emplace(db, *only);
        sql += QStringLiteral(" AND ") + ReportIdList::condition(QStringLiteral("c.MemberID"));
    }
    std::vector<StatementGift> gifts;
    Query read = db.query(sql, {SqlValue::fromDate(start), SqlValue::fromDate(end.addDays(1))});
    while (read.next()) {
        StatementGift gift;
        gift.id = read.value(0).toLongLong();
        gift.giverId = read.value(1).toLongLong();
        gift.date = QDate::fromString(read.value(2).toString(), Qt::ISODate);
        gift.envelope = read.value(3).toString();
        gift.cents = read.value(4).toLongLong();
        gift.ref = read.value(5).toString();
        gift.designation = read.value(6).toString();
        gift.deductible = !notDeductible.contains(NameKey::fold(gift.designation.trimmed()));
        gifts.push_back(std::move(gift));
    }
    return gifts;
}

void sortGifts(std::vector<StatementGift>& gifts)
{
    std::vector<std::pair<QString, std::size_t>> keys;
    keys.reserve(gifts.size());
    for (std::size_t i = 0; i < gifts.size(); ++i) {
        keys.emplace_back(NameKey::fold(gifts[i].designation), i);
    }
    std::vector<std::size_t> order(gifts.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const StatementGift& x = gifts[a];
        const StatementGift& y = gifts[b];
        if (x.deductible != y.deductible) {
            return x.deductible;
        }
        if (keys[a].first != keys[b].first) {
            return keys[a].first < keys[b].first;
        }
        if (x.designation != y.designation) {
            return x.designation < y.designation;
        }
        return x.date != y.date ? x.date < y.date : x.id < y.id;
    });
    std::vector<StatementGift> sorted;
    sorted.reserve(gifts.size());
    for (std::size_t i : order) {
        sorted.push_back(std::move(gifts[i]));
    }
    gifts = std::move(sorted);
}

void addressFrom(Statement& statement, const Person& person)
{
    statement.address1 = person.address1;
    statement.address2 = person.address2;
    statement.city = person.city;
    statement.state = person.state;
    statement.zip = person.zip;
}

Statement ownStatement(const Person& giver, const QDate& day)
{
    Statement statement;
    statement.addresseeId = giver.id;
    statement.name = HouseholdName::of({giver.asHouseholdPerson()}, day);
    statement.sortName = giver.sortName();
    statement.email = giver.email;
    statement.envelopeNumber = giver.envelope;
    statement.givers << std::pair{giver.id, giver.fullName()};
    addressFrom(statement, giver);
    return statement;
}

} // namespace

qint64 Statement::deductibleCents() const
{
    qint64 sum = 0;
    for (const StatementGift& gift : gifts) {
        sum += gift.deductible ? gift.cents : 0;
    }
    return sum;
}

qint64 Statement::netCents() const
{
    qint64 sum = 0;
    for (const StatementGift& gift : gifts) {
        sum += gift.cents;
    }
    return sum;
}

bool Statement::hasAddress() const
{
    const bool street = !address1.trimmed().isEmpty() || !address2.trimmed().isEmpty();
    const bool place = !city.trimmed().isEmpty() || !zip.trimmed().isEmpty();
    return street && place;
}

QString Statement::giverNameOf(qint64 giverId) const
{
    if (givers.size() < 2) {
        return {};
    }
    for (const auto& [id, name] : givers) {
        if (id == giverId) {
            return name;
        }
    }
    return {};
}

std::vector<Statement> Statements::collect(Database& db, const QDate& start, const QDate& end,
                                           const StatementScope& scope)
{
    const QSet<qint64> together = peopleGivingWithHousehold(db);

    // The people whose gifts may be asked for: everybody, or one household's people.
    std::optional<QList<qint64>> candidates;
    if (scope.kind != StatementScope::Kind::Everybody) {
        QList<qint64> ids{scope.personId};
        const bool wholeHousehold = scope.kind == StatementScope::Kind::Household || together.contains(scope.personId);
        if (wholeHousehold) {
            for (const Household& household : householdsOf(db, {scope.personId})) {
                for (const HouseholdPerson& person : household.people) {
                    if (scope.kind == StatementScope::Kind::Household || together.contains(person.id)) {
                        ids << person.id;
                    }
                }
                ids << household.headId;
            }
        }
        candidates = ids;
    }

    std::vector<StatementGift> gifts = readGifts(db, start, end, candidates);
    QList<qint64> giverIds;
    {
        QSet<qint64> seen;
        for (const StatementGift& gift : gifts) {
            if (!seen.contains(gift.giverId)) {
                seen.insert(gift.giverId);
                giverIds << gift.giverId;
            }
        }
    }
    QHash<qint64, Person> people = readPeople(db, giverIds);

    QList<qint64> givingTogether;
    for (const qint64 id : giverIds) {
        if (together.contains(id) && !people.value(id).deleted) {
            givingTogether << id;
        }
    }
    const std::vector<Household> households = householdsOf(db, givingTogether);
    // Everybody of those households who gives with them, gifts or not, is named on the envelope.
    QList<qint64> missing;
    for (const Household& household : households) {
        for (const HouseholdPerson& person : household.people) {
            if (!people.contains(person.id)) {
                missing << person.id;
            }
        }
        if (!people.contains(household.headId)) {
            missing << household.headId;
        }
    }
    if (!missing.isEmpty()) {
        people.insert(readPeople(db, missing));
    }

    std::vector<Statement> statements;
    QHash<qint64, std::size_t> statementOf; // by giver
    for (const Household& household : households) {
        Statement statement;
        statement.addresseeId = household.headId;
        statement.forHousehold = true;
        std::vector<HouseholdPerson> named;
        for (const HouseholdPerson& person : household.people) {
            if (together.contains(person.id)) {
                named.push_back(person);
            }
        }
        if (named.empty()) { // every giver of it has died
            for (const auto& [id, sortName] : household.chosen) {
                named.push_back(people.value(id).asHouseholdPerson());
            }
        }
        const Person& first = people.value(named.front().id);
        statement.name = HouseholdName::of(named, end);
        statement.sortName = first.sortName();
        const Person& head = people.value(household.headId);
        addressFrom(statement, head);
        for (const HouseholdPerson& person : named) {
            if (statement.email.isEmpty()) {
                statement.email = people.value(person.id).email;
            }
        }
        statement.envelopeNumber = first.envelope;
        for (const auto& [id, sortName] : household.chosen) {
            statementOf.insert(id, statements.size());
        }
        statements.push_back(std::move(statement));
    }
    for (const qint64 id : giverIds) {
        if (!statementOf.contains(id)) {
            statementOf.insert(id, statements.size());
            statements.push_back(ownStatement(people.value(id), end));
        }
    }

    for (StatementGift& gift : gifts) {
        Statement& statement = statements[statementOf.value(gift.giverId)];
        const bool known = std::any_of(statement.givers.cbegin(), statement.givers.cend(),
                                       [&gift](const auto& giver) { return giver.first == gift.giverId; });
        if (!known) {
            statement.givers << std::pair{gift.giverId, people.value(gift.giverId).fullName()};
        }
        statement.gifts.push_back(std::move(gift));
    }

    std::vector<Statement> kept;
    for (Statement& statement : statements) {
        const bool asked = scope.kind != StatementScope::Kind::Member ||
                           std::any_of(statement.givers.cbegin(), statement.givers.cend(),
                                       [&scope](const auto& giver) { return giver.first == scope.personId; });
        if (asked) {
            sortGifts(statement.gifts);
            kept.push_back(std::move(statement));
        }
    }
    // In name order (the folded sort name, then the addressee's ID for two of one name).
    std::vector<std::pair<QString, std::size_t>> order;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        order.emplace_back(NameKey::fold(kept[i].sortName), i);
    }
    std::stable_sort(order.begin(), order.end(), [&kept](const auto& a, const auto& b) {
        if (a.first != b.first) {
            return a.first < b.first;
        }
        return kept[a.second].addresseeId < kept[b.second].addresseeId;
    });
    std::vector<Statement> sorted;
    sorted.reserve(kept.size());
    for (const auto& [key, index] : order) {
        sorted.push_back(std::move(kept[index]));
    }
    return sorted;
}
