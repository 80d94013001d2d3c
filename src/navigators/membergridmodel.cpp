#include "navigators/membergridmodel.h"

#include "shell/textformat.h"

#include <QDate>
#include <QLocale>

namespace {

// The length of a cell's text without composing it; used only to pick the widest candidate.
qsizetype cellLength(const MemberListRow& r, int column)
{
    using F = MemberListRow;
    switch (column) {
        case MemberGridModel::IdColumn:
            return QString::number(r.id()).size();
        case MemberGridModel::NameColumn:
            return r.length(F::LastName) + r.length(F::FirstName) + r.length(F::MiddleName) + r.length(F::Title) + 4;
        case MemberGridModel::StatusColumn:
            return r.length(F::Status);
        case MemberGridModel::PhoneColumn:
            return r.length(F::Phone);
        case MemberGridModel::CellColumn:
            return r.length(F::Cell);
        case MemberGridModel::WorkColumn:
            return r.length(F::WorkPhone);
        case MemberGridModel::EmailColumn:
            return r.length(F::Email);
        case MemberGridModel::AddressColumn:
            return r.length(F::Address1) + r.length(F::Address2) + r.length(F::City) + r.length(F::State) +
                   r.length(F::Zip) + 7;
        case MemberGridModel::DobColumn:
            return r.length(F::DateOfBirth);
        case MemberGridModel::AnnivColumn:
            return r.length(F::Anniversary);
        case MemberGridModel::MemberStatusColumn:
            return r.length(F::MemberActiveStatus);
        case MemberGridModel::ProspectStatusColumn:
            return r.length(F::ProspectActiveStatus);
        default:
            return 0;
    }
}

} // namespace

MemberGridModel::MemberGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    m_longest.fill(-1);
}

MemberGridModel::~MemberGridModel() = default;

void MemberGridModel::setRows(std::vector<MemberListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_hasHeader = true;
    findLongestRows();
    endResetModel();
}

void MemberGridModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_hasHeader = false;
    m_longest.fill(-1);
    endResetModel();
}

void MemberGridModel::findLongestRows()
{
    std::array<qsizetype, ColumnCount> lengths{};
    m_longest.fill(-1);
    for (int row = 0; row < int(m_rows.size()); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            const qsizetype length = cellLength(m_rows[size_t(row)], column);
            if (m_longest[size_t(column)] < 0 || length > lengths[size_t(column)]) {
                lengths[size_t(column)] = length;
                m_longest[size_t(column)] = row;
            }
        }
    }
}

qint64 MemberGridModel::memberId(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)].id() : 0;
}

QList<qint64> MemberGridModel::memberIds() const
{
    QList<qint64> ids;
    ids.reserve(qsizetype(m_rows.size()));
    for (const MemberListRow& row : m_rows) {
        ids << row.id();
    }
    return ids;
}

int MemberGridModel::longestRow(int column) const
{
    return column >= 0 && column < ColumnCount ? m_longest[size_t(column)] : -1;
}

QString MemberGridModel::addressText(const MemberListRow& r)
{
    using F = MemberListRow;
    return r.field(F::Address1) + QStringLiteral(", ") + r.field(F::Address2) + QStringLiteral(", ") +
           r.field(F::City) + QStringLiteral(", ") + r.field(F::State) + u' ' + r.field(F::Zip);
}

QString MemberGridModel::cellText(const MemberListRow& r, int column)
{
    using F = MemberListRow;
    switch (column) {
        case IdColumn:
            return QString::number(r.id());
        case NameColumn:
            return personDisplayName(r.text(F::LastName), r.text(F::FirstName), r.text(F::MiddleName),
                                     r.text(F::Title));
        case StatusColumn:
            return r.text(F::Status);
        case PhoneColumn:
            return formatPhone(r.text(F::Phone));
        case CellColumn:
            return formatPhone(r.text(F::Cell));
        case WorkColumn:
            return formatPhone(r.text(F::WorkPhone));
        case EmailColumn:
            return r.text(F::Email);
        case AddressColumn:
            return addressText(r);
        case DobColumn:
            return shortDate(r.field(F::DateOfBirth));
        case AnnivColumn:
            return shortDate(r.field(F::Anniversary));
        case MemberStatusColumn:
            return r.text(F::MemberActiveStatus);
        case ProspectStatusColumn:
            return r.text(F::ProspectActiveStatus);
        default:
            return {};
    }
}

int MemberGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MemberGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_hasHeader ? 0 : ColumnCount;
}

QVariant MemberGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return cellText(m_rows[size_t(index.row())], index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    return {};
}

QVariant MemberGridModel::headerData(int section, Qt::Orientation orientation, int role) const
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
        case NameColumn:
            return tr("Name");
        case StatusColumn:
            return tr("Status");
        case PhoneColumn:
            return tr("Phone");
        case CellColumn:
            return tr("Cell");
        case WorkColumn:
            return tr("Work");
        case EmailColumn:
            return tr("Email");
        case AddressColumn:
            return tr("Address");
        case DobColumn:
            return tr("DOB");
        case AnnivColumn:
            return tr("Anniv");
        case MemberStatusColumn:
            return tr("Member Status");
        case ProspectStatusColumn:
            return tr("Prospect Status");
        default:
            return {};
    }
}
