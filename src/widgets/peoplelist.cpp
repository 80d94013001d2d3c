#include "widgets/peoplelist.h"

#include "services/peoplemodel.h"
#include "widgets/controls.h"
#include "widgets/pairedlist.h"

#include <QComboBox>
#include <QSignalBlocker>

PeopleListModel::PeopleListModel(PeopleModel& people, Options options, QObject* parent)
    : QAbstractListModel(parent)
    , m_people(people)
    , m_options(std::move(options))
{
    connect(&m_people, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&m_people, &QAbstractItemModel::modelReset, this, [this] {
        rebuild();
        endResetModel();
    });
    rebuild();
}

PeopleListModel::~PeopleListModel() = default;

void PeopleListModel::rebuild()
{
    m_rows.clear();
    if (!m_options.onlyNonHeads) {
        return;
    }
    const int count = m_people.rowCount();
    m_rows.reserve(size_t(count));
    for (int row = 0; row < count; ++row) {
        if (!m_people.data(m_people.index(row), PeopleModel::HeadOfHouseholdRole).toBool()) {
            m_rows.push_back(row);
        }
    }
}

int PeopleListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid()) {
        return 0;
    }
    const int people = m_options.onlyNonHeads ? int(m_rows.size()) : m_people.rowCount();
    return int(m_options.leadingEntries.size()) + people;
}

QVariant PeopleListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    const int leading = int(m_options.leadingEntries.size());
    if (index.row() < leading) {
        const NamedId& entry = m_options.leadingEntries.at(index.row());
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            return entry.name;
        }
        return role == Qt::UserRole ? QVariant(entry.id) : QVariant();
    }
    const int personRow = m_options.onlyNonHeads ? m_rows.at(size_t(index.row() - leading)) : index.row() - leading;
    const QModelIndex source = m_people.index(personRow);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return m_options.withoutTitle ? m_people.data(source, PeopleModel::NameWithoutTitleRole)
                                          : m_people.data(source, Qt::DisplayRole);
        case Qt::UserRole:
            return m_people.data(source, PeopleModel::IdRole);
        default:
            return {};
    }
}

int PeopleListModel::rowOf(qint64 id) const
{
    const int leading = int(m_options.leadingEntries.size());
    for (int row = 0; row < leading; ++row) {
        if (m_options.leadingEntries.at(row).id == id) {
            return row;
        }
    }
    const int personRow = m_people.rowOf(id);
    if (personRow < 0) {
        return -1;
    }
    if (!m_options.onlyNonHeads) {
        return leading + personRow;
    }
    const auto found = std::lower_bound(m_rows.begin(), m_rows.end(), personRow);
    return found != m_rows.end() && *found == personRow ? leading + int(found - m_rows.begin()) : -1;
}

namespace PeopleList {

PeopleListModel* attach(QComboBox* list, PeopleModel& people, const PeopleListModel::Options& options)
{
    auto* model = new PeopleListModel(people, options, list);
    list->setModel(model);
    list->setCurrentIndex(-1);
    Controls::dropDownBelow(list);
    // A refresh would leave the list on its first entry: it keeps the chosen person instead, or no choice,
    // without telling the listeners of user choices.
    auto chosen = std::make_shared<std::optional<qint64>>();
    QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, list, [list, chosen] {
        *chosen = PairedList::selectedId(list);
        list->blockSignals(true);
    });
    QObject::connect(model, &QAbstractItemModel::modelReset, list, [list, model, chosen] {
        list->setCurrentIndex(*chosen ? model->rowOf(**chosen) : -1);
        list->blockSignals(false);
    });
    return model;
}

void select(QComboBox* list, const std::optional<qint64>& id)
{
    auto* model = qobject_cast<PeopleListModel*>(list->model());
    const int row = !id ? -1 : model ? model->rowOf(*id) : PairedList::indexOfId(list, *id);
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(row);
}

void selectOrBlank(QComboBox* list, const std::optional<qint64>& id)
{
    select(list, id);
    if (list->currentIndex() < 0 && list->count() > 0) {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(0);
    }
}

} // namespace PeopleList
