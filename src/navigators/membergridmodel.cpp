#include "navigators/membergridmodel.h"

#include "shell/textformat.h"

#include <QDate>
#include <QLocale>

namespace {

QString shortDate(const QString& iso)
{
    if (iso.isEmpty()) {
        return {};
    }
    const QDate date = QDate::fromString(iso, Qt::ISODate);
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : iso;
}

// The length of a cell's text without composing it; used only to pick the widest candidate.
qsizetype cellLength(const MemberListRow& r, int column)
{
    switch (column) {
        case MemberGridModel::IdColumn:
            return QString::number(r.id).size();
        case MemberGridModel::NameColumn:
            return r.lastName.size() + r.firstName.size() + r.middleName.size() + r.title.size() + 4;
        case MemberGridModel::StatusColumn:
            return r.status.size();
        case MemberGridModel::PhoneColumn:
            return r.phone.size();
        case MemberGridModel::CellColumn:
            return r.cell.size();
        case MemberGridModel::WorkColumn:
            return r.workPhone.size();
        case MemberGridModel::EmailColumn:
            return r.email.size();
        case MemberGridModel::AddressColumn:
            return r.address1.size() + r.address2.size() + r.city.size() + r.state.size() + r.zip.size() + 7;
        case MemberGridModel::DobColumn:
            return r.dateOfBirth.size();
        case MemberGridModel::AnnivColumn:
            return r.anniversary.size();
        case MemberGridModel::MemberStatusColumn:
            return r.memberActiveStatus.size();
        case MemberGridModel::ProspectStatusColumn:
            return r.prospectActiveStatus.size();
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
    return row >= 0 && row < int(m_rows.size()) ? m_rows[size_t(row)].id : 0;
}

QList<qint64> MemberGridModel::memberIds() const
{
    QList<qint64> ids;
    ids.reserve(qsizetype(m_rows.size()));
    for (const MemberListRow& row : m_rows) {
        ids << row.id;
    }
    return ids;
}

int MemberGridModel::longestRow(int column) const
{
    return column >= 0 && column < ColumnCount ? m_longest[size_t(column)] : -1;
}

QString MemberGridModel::addressText(const MemberListRow& r)
{
    return r.address1 + QStringLiteral(", ") + r.address2 + QStringLiteral(", ") + r.city + QStringLiteral(", ") +
           r.state + u' ' + r.zip;
}

QString MemberGridModel::cellText(const MemberListRow& r, int column)
{
    switch (column) {
        case IdColumn:
            return QString::number(r.id);
        case NameColumn:
            return personDisplayName(r.lastName, r.firstName, r.middleName, r.title);
        case StatusColumn:
            return r.status;
        case PhoneColumn:
            return formatPhone(r.phone);
        case CellColumn:
            return formatPhone(r.cell);
        case WorkColumn:
            return formatPhone(r.workPhone);
        case EmailColumn:
            return r.email;
        case AddressColumn:
            return addressText(r);
        case DobColumn:
            return shortDate(r.dateOfBirth);
        case AnnivColumn:
            return shortDate(r.anniversary);
        case MemberStatusColumn:
            return r.memberActiveStatus;
        case ProspectStatusColumn:
            return r.prospectActiveStatus;
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
