#include "outreach/outreachplanmodel.h"

#include <QLocale>

#include <utility>

OutreachPlanModel::OutreachPlanModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

QString OutreachPlanModel::weeksText(double weeks)
{
    return QLocale().toString(weeks, 'g', 15);
}

void OutreachPlanModel::setPlan(const OutreachPlan& plan)
{
    beginResetModel();
    m_rows.clear();
    for (const OutreachPhase& phase : plan) {
        m_rows.append(Row{int(m_rows.size()) + 1, {phase.name, phase.action, weeksText(phase.weeks)}});
    }
    endResetModel();
}

QList<TypedPhase> OutreachPlanModel::phases() const
{
    QList<TypedPhase> phases;
    for (const Row& row : m_rows) {
        phases.append(row.phase);
    }
    return phases;
}

void OutreachPlanModel::renumber()
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].order != i + 1) {
            m_rows[i].order = i + 1;
            emit dataChanged(index(i, OrderColumn), index(i, OrderColumn));
        }
    }
}

int OutreachPlanModel::addPhase()
{
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(Row{row + 1, {}});
    endInsertRows();
    return row;
}

void OutreachPlanModel::removePhase(int row)
{
    if (row < 0 || row >= m_rows.size()) {
        return;
    }
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    renumber();
}

void OutreachPlanModel::exchange(int row, int other)
{
    if (row < 0 || other < 0 || row >= m_rows.size() || other >= m_rows.size() || row == other) {
        return;
    }
    std::swap(m_rows[row].phase, m_rows[other].phase);
    emit dataChanged(index(std::min(row, other), NameColumn), index(std::max(row, other), WeeksColumn));
}

void OutreachPlanModel::renameAction(const QString& from, const QString& to)
{
    const QString key = from.toLower();
    for (int i = 0; i < m_rows.size(); ++i) {
        if (!m_rows[i].phase.action.isEmpty() && m_rows[i].phase.action.toLower() == key) {
            m_rows[i].phase.action = to;
            emit dataChanged(index(i, ActionColumn), index(i, ActionColumn));
        }
    }
}

int OutreachPlanModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int OutreachPlanModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OutreachPlanModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    const Row& row = m_rows.at(index.row());
    const TypedPhase& phase = row.phase;
    switch (index.column()) {
        case OrderColumn:
            return row.order;
        case NameColumn:
            return phase.name;
        case ActionColumn:
            return phase.action;
        case WeeksColumn:
            return phase.weeks;
        default:
            return {};
    }
}

QVariant OutreachPlanModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case OrderColumn:
            return tr("Order");
        case NameColumn:
            return tr("Name");
        case ActionColumn:
            return tr("Action");
        case WeeksColumn:
            return tr("Weeks");
        default:
            return {};
    }
}

Qt::ItemFlags OutreachPlanModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == OrderColumn ? flags : flags | Qt::ItemIsEditable;
}

bool OutreachPlanModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) || index.column() == OrderColumn) {
        return false;
    }
    TypedPhase& phase = m_rows[index.row()].phase;
    QString& cell = index.column() == NameColumn     ? phase.name
                    : index.column() == ActionColumn ? phase.action
                                                     : phase.weeks;
    const QString text = value.toString();
    if (cell == text) {
        return true;
    }
    cell = text;
    emit dataChanged(index, index);
    return true;
}
