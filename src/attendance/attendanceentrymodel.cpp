#include "attendance/attendanceentrymodel.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

AttendanceEntryModel::AttendanceEntryModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

void AttendanceEntryModel::setWeek(AttendanceWeekList list)
{
    beginResetModel();
    m_rows = std::move(list.rows);
    m_week = list.week;
    m_hasHeader = true;
    marksSaved();
    endResetModel();
    emit marksChanged();
}

void AttendanceEntryModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_savedMarks.clear();
    m_week = {};
    m_hasHeader = false;
    endResetModel();
    emit marksChanged();
}

bool AttendanceEntryModel::removeMember(qint64 memberId)
{
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [memberId](const AttendanceEntryRow& row) { return row.memberId == memberId; });
    if (found == m_rows.end()) {
        return false;
    }
    const int row = int(found - m_rows.begin());
    beginRemoveRows({}, row, row);
    m_savedMarks.erase(m_savedMarks.begin() + row);
    m_rows.erase(found);
    endRemoveRows();
    // The grey stripes move with the rows below.
    if (row < rowCount()) {
        emit dataChanged(index(row, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::BackgroundRole});
    }
    emit marksChanged();
    return true;
}

std::vector<AttendanceSaveRow> AttendanceEntryModel::saveRows() const
{
    std::vector<AttendanceSaveRow> out;
    out.reserve(m_rows.size());
    for (const AttendanceEntryRow& row : m_rows) {
        out.push_back({row.memberId, row.marks});
    }
    return out;
}

bool AttendanceEntryModel::hasChangedMarks() const
{
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row].marks != m_savedMarks[row]) {
            return true;
        }
    }
    return false;
}

void AttendanceEntryModel::marksSaved()
{
    m_savedMarks.clear();
    m_savedMarks.reserve(m_rows.size());
    for (const AttendanceEntryRow& row : m_rows) {
        m_savedMarks.push_back(row.marks);
    }
}

int AttendanceEntryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int AttendanceEntryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_hasHeader ? 0 : ColumnCount;
}

QVariant AttendanceEntryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const AttendanceEntryRow& row = m_rows.at(size_t(index.row()));
    const int column = index.column();
    switch (role) {
        case Qt::CheckStateRole:
            if (column < AttendanceWeek::kCategoryCount) {
                return row.marks.at(size_t(column)) ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        case Qt::DisplayRole:
            switch (column) {
                case IdColumn:
                    return row.memberId;
                case NameColumn:
                    return row.name;
                case StatusColumn:
                    return row.status;
                case ChurchStatusColumn:
                    return row.churchStatus;
                default:
                    return {};
            }
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::BackgroundRole:
            // Every second row grey, counting from the first.
            if (index.row() % 2 == 1) {
                return QBrush(QColor(192, 192, 192));
            }
            return {};
        default:
            return {};
    }
}

bool AttendanceEntryModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.column() >= AttendanceWeek::kCategoryCount) {
        return false;
    }
    bool& mark = m_rows.at(size_t(index.row())).marks.at(size_t(index.column()));
    const bool ticked = value.toInt() == Qt::Checked;
    if (mark != ticked) {
        mark = ticked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        emit marksChanged();
    }
    return true;
}

Qt::ItemFlags AttendanceEntryModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() < AttendanceWeek::kCategoryCount) {
        f |= Qt::ItemIsUserCheckable;
    }
    return f;
}

QVariant AttendanceEntryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return int(Qt::AlignCenter);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (section < AttendanceWeek::kCategoryCount) {
        return AttendanceWeek::category(section).entryHeader;
    }
    switch (section) {
        case IdColumn:
            return tr("ID");
        case NameColumn:
            return tr("Name");
        case StatusColumn:
            return tr("Status");
        default:
            return tr("Member Status");
    }
}
