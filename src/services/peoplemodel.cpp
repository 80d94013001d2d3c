#include "services/peoplemodel.h"

#include "core/textformat.h"
#include "data/database.h"
#include "data/namekey.h"

PeopleModel::PeopleModel(Database& db, QObject* parent)
    : QAbstractListModel(parent)
    , m_db(&db)
{}

PeopleModel::~PeopleModel() = default;

void PeopleModel::ensureLoaded()
{
    if (!m_loaded) {
        reload();
    }
}

void PeopleModel::useDatabase(Database& db)
{
    beginResetModel();
    m_db = &db;
    m_people.clear();
    m_rows.clear();
    m_loaded = false;
    endResetModel();
}

void PeopleModel::reload()
{
    std::vector<Person> people;
    QHash<qint64, int> rows;
    {
        Query q = m_db->query(QStringLiteral("SELECT ID, Last_Name, First_Name, Middle_Name, Title, Head_Of_Household "
                                             "FROM Member ORDER BY ") +
                              NameKey::personOrder());
        const auto text = [&q](int column) {
            const QVariant v = q.value(column);
            return v.isNull() ? QString() : v.toString();
        };
        while (q.next()) {
            Person person;
            person.id = q.value(0).toLongLong();
            const QString last = text(1);
            const QString first = text(2);
            const QString middle = text(3);
            person.name = personDisplayName(last, first, middle, text(4));
            person.nameWithoutTitle = personNameWithoutTitle(last, first, middle);
            person.headOfHousehold = q.value(5).toLongLong() != 0;
            rows.insert(person.id, int(people.size()));
            people.push_back(std::move(person));
        }
    }
    beginResetModel();
    m_people = std::move(people);
    m_rows = std::move(rows);
    m_loaded = true;
    endResetModel();
}

int PeopleModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_people.size());
}

QVariant PeopleModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_people.size())) {
        return {};
    }
    const Person& person = m_people[size_t(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return person.name;
        case IdRole:
            return person.id;
        case NameWithoutTitleRole:
            return person.nameWithoutTitle;
        case HeadOfHouseholdRole:
            return person.headOfHousehold;
        default:
            return {};
    }
}

int PeopleModel::rowOf(qint64 id) const
{
    return m_rows.value(id, -1);
}

qint64 PeopleModel::idAt(int row) const
{
    return row >= 0 && row < int(m_people.size()) ? m_people[size_t(row)].id : 0;
}
