#include "exchange/importrowsmodel.h"

#include <algorithm>

ImportRowsModel::ImportRowsModel(std::function<QString(qint64)> nameOf, QObject* parent)
    : QAbstractTableModel(parent)
    , m_nameOf(std::move(nameOf))
{}

void ImportRowsModel::setRows(const QList<ImportRow>& rows)
{
    beginResetModel();
    m_rows = rows;
    QSet<QString> stored;
    for (const ImportRow& row : std::as_const(m_rows)) {
        for (auto value = row.values.cbegin(); value != row.values.cend(); ++value) {
            stored.insert(value.key());
        }
    }
    m_fields.clear();
    for (const ImportFields::Field& field : ImportFields::all()) {
        if (stored.contains(field.key) && field.key != u"Last_Name" && field.key != u"First_Name") {
            m_fields << &field;
        }
    }
    endResetModel();
}

const ImportFields::Field* ImportRowsModel::fieldAt(int column) const
{
    const int at = column - ColCount;
    return at >= 0 && at < m_fields.size() ? m_fields.at(at) : nullptr;
}

QList<int> ImportRowsModel::skippedLines() const
{
    QList<int> lines(m_skipped.cbegin(), m_skipped.cend());
    std::sort(lines.begin(), lines.end());
    return lines;
}

void ImportRowsModel::clearSkipped()
{
    m_skipped.clear();
    if (!m_rows.isEmpty()) {
        emit dataChanged(index(0, ColSkip), index(int(m_rows.size()) - 1, ColSkip), {Qt::CheckStateRole});
    }
}

int ImportRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ImportRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColCount + int(m_fields.size());
}

QString ImportRowsModel::duplicateText(const ImportRow& row) const
{
    if (row.duplicateOf) {
        return row.changes.isEmpty()
                   ? tr("%1 in the roll (%2): unchanged").arg(m_nameOf(*row.duplicateOf).trimmed(), row.duplicateReason)
                   : tr("%1 in the roll (%2): updates %3")
                         .arg(m_nameOf(*row.duplicateOf).trimmed(), row.duplicateReason,
                              tr("%n field(s)", nullptr, int(row.changes.size())));
    }
    if (row.duplicateOfLine) {
        return tr("row %1 (%2)").arg(*row.duplicateOfLine).arg(row.duplicateReason);
    }
    return {};
}

QVariant ImportRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return {};
    }
    const ImportRow& row = m_rows.at(index.row());
    if (role == Qt::CheckStateRole && index.column() == ColSkip) {
        return m_skipped.contains(row.line) ? Qt::Checked : Qt::Unchecked;
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
        case ColLine:
            return QString::number(row.line);
        case ColLast:
            return row.values.value(QStringLiteral("Last_Name"));
        case ColFirst:
            return row.values.value(QStringLiteral("First_Name"));
        case ColProblems:
            return row.problems.join(QStringLiteral("; "));
        case ColWarnings:
            return row.warnings.join(QStringLiteral("; "));
        case ColDuplicate:
            return duplicateText(row);
        default: {
            // The value as it will be stored (a phone in the member screen's form, a date as yyyy-mm-dd).
            const ImportFields::Field* field = fieldAt(index.column());
            return field != nullptr ? row.values.value(field->key) : QString();
        }
    }
}

bool ImportRowsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != ColSkip || role != Qt::CheckStateRole || index.row() >= m_rows.size()) {
        return false;
    }
    const int line = m_rows.at(index.row()).line;
    if (value.value<Qt::CheckState>() == Qt::Checked) {
        m_skipped.insert(line);
    } else {
        m_skipped.remove(line);
    }
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ImportRowsModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == ColSkip ? shown | Qt::ItemIsUserCheckable : shown;
}

QVariant ImportRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case ColSkip:
            return tr("Skip");
        case ColLine:
            return tr("Row");
        case ColLast:
            return tr("Last Name");
        case ColFirst:
            return tr("First Name");
        case ColProblems:
            return tr("Problems");
        case ColWarnings:
            return tr("Warnings");
        case ColDuplicate:
            return tr("In the roll");
        default: {
            const ImportFields::Field* field = fieldAt(section);
            return field != nullptr ? field->label : QString();
        }
    }
}
