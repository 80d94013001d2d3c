#include "services/prospectcontactmodel.h"

#include "core/textformat.h"

ProspectContactModel::ProspectContactModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

ProspectContactModel::~ProspectContactModel() = default;

void ProspectContactModel::setContacts(std::vector<ProspectContactRow> contacts)
{
    beginResetModel();
    m_rows = std::move(contacts);
    m_hasHeader = true;
    endResetModel();
}

void ProspectContactModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_hasHeader = false;
    endResetModel();
}

qint64 ProspectContactModel::contactId(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)].id : 0;
}

int ProspectContactModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ProspectContactModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_hasHeader ? 0 : ColumnCount;
}

QVariant ProspectContactModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        // The notes keep the usual alignment; the other columns are centred.
        return QVariant::fromValue(
            Qt::Alignment(index.column() == NotesColumn ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const ProspectContactRow& row = m_rows[size_t(index.row())];
    switch (index.column()) {
        case IdColumn:
            return QString::number(row.id);
        case DateColumn:
            return shortDate(QStringView(row.date));
        case ActionColumn:
            return row.action;
        case TypeColumn:
            return row.type;
        case RatingColumn:
            return row.rating;
        case Visitor1Column:
            return row.visitor1;
        case Visitor2Column:
            return row.visitor2;
        case NotesColumn:
            return row.notes;
        default:
            return {};
    }
}

QVariant ProspectContactModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case IdColumn:
            return tr("ID");
        case DateColumn:
            return tr("Date");
        case ActionColumn:
            return tr("Action");
        case TypeColumn:
            return tr("Type");
        case RatingColumn:
            return tr("Rating");
        case Visitor1Column:
            return tr("Visitor 1");
        case Visitor2Column:
            return tr("Visitor 2");
        case NotesColumn:
            return tr("Notes");
        default:
            return {};
    }
}
