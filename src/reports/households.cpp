#include "reports/households.h"

#include "data/database.h"
#include "data/namekey.h"
#include "reports/reportidlist.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

const QString kDeleted = QStringLiteral("Deleted Member");

struct Link
{
    qint64 other = 0;
    QString relationship;
};

// The family links of the whole roll, read once, and the household head each person resolves to.
class FamilyLinks final
{
public:
    explicit FamilyLinks(Database& db)
    {
        const Rows rows =
            db.select(QStringLiteral("SELECT f.Member_ID, f.Relative_Member_ID, f.Relationship, h.Head_Of_Household AS "
                                     "Head_Marked, r.Head_Of_Household AS Relative_Marked FROM Family_Connection f "
                                     "JOIN Member h ON h.ID = f.Member_ID JOIN Member r ON r.ID = f.Relative_Member_ID "
                                     "WHERE coalesce(h.Status, '') <> ? AND coalesce(r.Status, '') <> ? "
                                     "ORDER BY f.Member_ID, f.Relative_Member_ID"),
                      {kDeleted, kDeleted});
        for (const Row& row : rows) {
            const qint64 head = row.integer(u"Member_ID");
            const qint64 relative = row.integer(u"Relative_Member_ID");
            if (head == relative) {
                continue;
            }
            m_relatives[head].push_back({relative, row.text(u"Relationship")});
            m_linkers[relative].push_back({head, {}});
            if (row.flag(u"Head_Marked")) {
                m_marked.insert(head);
            }
            if (row.flag(u"Relative_Marked")) {
                m_marked.insert(relative);
            }
        }
    }

    // The head of the person's household, following heads that belong to another household in turn.
    qint64 headOf(qint64 person) const
    {
        qint64 head = person;
        QSet<qint64> seen;
        while (!seen.contains(head)) {
            seen.insert(head);
            const qint64 next = directHead(head);
            if (next == head) {
                break;
            }
            head = next;
        }
        return head;
    }

    // The people of a head's household: the relatives he linked, and theirs, who resolve to him.
    QList<std::pair<qint64, QString>> relativesOf(qint64 head) const
    {
        QList<std::pair<qint64, QString>> found;
        QSet<qint64> seen{head};
        QList<qint64> queue{head};
        while (!queue.isEmpty()) {
            const qint64 member = queue.takeFirst();
            for (const Link& link : m_relatives.value(member)) {
                if (seen.contains(link.other) || headOf(link.other) != head) {
                    continue;
                }
                seen.insert(link.other);
                queue << link.other;
                found << std::pair{link.other, member == head ? link.relationship : QString()};
            }
        }
        return found;
    }

private:
    bool links(qint64 from, qint64 to) const
    {
        const QList<Link> relatives = m_relatives.value(from);
        return std::any_of(relatives.cbegin(), relatives.cend(), [to](const Link& link) { return link.other == to; });
    }

    qint64 directHead(qint64 person) const
    {
        const QList<Link> linkers = m_linkers.value(person);
        if (m_marked.contains(person)) {
            qint64 head = person;
            for (const Link& linker : linkers) {
                if (m_marked.contains(linker.other) && links(person, linker.other)) {
                    head = std::min(head, linker.other);
                }
            }
            return head;
        }
        std::optional<qint64> marked;
        std::optional<qint64> any;
        for (const Link& linker : linkers) {
            any = std::min(any.value_or(linker.other), linker.other);
            if (m_marked.contains(linker.other)) {
                marked = std::min(marked.value_or(linker.other), linker.other);
            }
        }
        return marked.value_or(any.value_or(person));
    }

    QHash<qint64, QList<Link>> m_relatives;
    QHash<qint64, QList<Link>> m_linkers;
    QSet<qint64> m_marked;
};

} // namespace

bool Household::hasAddress() const
{
    const bool street = !address1.trimmed().isEmpty() || !address2.trimmed().isEmpty();
    const bool place = !city.trimmed().isEmpty() || !zip.trimmed().isEmpty();
    return street && place;
}

std::vector<Household> householdsOf(Database& db, const QList<qint64>& ids)
{
    const FamilyLinks links(db);
    QHash<qint64, qint64> headOfChosen;
    QHash<qint64, QString> relationshipOf;
    QHash<qint64, qint64> householdOf; // every person read, by the household head he belongs to
    QList<qint64> heads;
    for (const qint64 id : ids) {
        const qint64 head = links.headOf(id);
        headOfChosen.insert(id, head);
        if (householdOf.contains(head)) {
            continue;
        }
        heads << head;
        householdOf.insert(head, head);
        for (const auto& [relative, relationship] : links.relativesOf(head)) {
            householdOf.insert(relative, head);
            relationshipOf.insert(relative, relationship);
        }
    }

    const ReportIdList list(db, householdOf.keys());
    const Rows rows = db.select(QStringLiteral("SELECT ID, First_Name, Last_Name, Status, Date_Of_Birth, "
                                               "Deceased_Date, Address_1, Address_2, City, State, Zip FROM Member "
                                               "WHERE ") +
                                ReportIdList::condition(QStringLiteral("ID")) + QStringLiteral(" ORDER BY ") +
                                NameKey::personOrder());
    QHash<qint64, std::size_t> indexOfHead;
    std::vector<Household> households;
    for (const Row& row : rows) {
        const qint64 id = row.integer(u"ID");
        if (householdOf.value(id) == id) {
            indexOfHead.insert(id, households.size());
            Household& household = households.emplace_back();
            household.headId = id;
            household.headSortName = row.text(u"Last_Name") + QStringLiteral(", ") + row.text(u"First_Name");
            household.address1 = row.text(u"Address_1");
            household.address2 = row.text(u"Address_2");
            household.city = row.text(u"City");
            household.state = row.text(u"State");
            household.zip = row.text(u"Zip");
        }
    }
    for (const Row& row : rows) {
        const qint64 id = row.integer(u"ID");
        Household& household = households[indexOfHead.value(householdOf.value(id))];
        if (headOfChosen.contains(id)) {
            household.chosen << std::pair{id, row.text(u"Last_Name") + QStringLiteral(", ") + row.text(u"First_Name")};
        }
        if (row.text(u"Status").compare(kDeleted, Qt::CaseInsensitive) == 0 || !row.text(u"Deceased_Date").isEmpty()) {
            continue;
        }
        HouseholdPerson person;
        person.id = id;
        person.firstName = row.text(u"First_Name");
        person.lastName = row.text(u"Last_Name");
        person.born = row.date(u"Date_Of_Birth");
        person.childOfMember = row.text(u"Status").compare(QLatin1String("Child Of Member"), Qt::CaseInsensitive) == 0;
        person.relationship = relationshipOf.value(id);
        household.people.push_back(person);
    }
    // The head first, then his spouse, then the others from the oldest (no birth date last), by ID.
    for (Household& household : households) {
        const qint64 head = household.headId;
        std::stable_sort(household.people.begin(), household.people.end(),
                         [head](const HouseholdPerson& a, const HouseholdPerson& b) {
                             const auto rank = [head](const HouseholdPerson& p) {
                                 return p.id == head ? 0 : (p.isSpouse() ? 1 : 2);
                             };
                             if (rank(a) != rank(b)) {
                                 return rank(a) < rank(b);
                             }
                             const QDate aBorn = a.born.value_or(QDate(9999, 12, 31));
                             const QDate bBorn = b.born.value_or(QDate(9999, 12, 31));
                             return aBorn != bBorn ? aBorn < bBorn : a.id < b.id;
                         });
    }
    return households;
}
