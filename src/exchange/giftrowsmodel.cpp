#include "exchange/giftrowsmodel.h"

#include "core/money.h"
#include "core/textformat.h"

void GiftRowsModel::setRows(const QList<GiftRow>& rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int GiftRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GiftRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColCount;
}

QVariant GiftRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || role != Qt::DisplayRole) {
        return {};
    }
    const GiftRow& row = m_rows.at(index.row());
    switch (index.column()) {
        case ColLine:
            return QString::number(row.line);
        case ColDate:
            return shortDate(QStringView(row.date));
        case ColGiver:
            return row.giver;
        case ColAmount:
            return row.problems.isEmpty() ? formatAmount(row.cents) : QString();
        case ColDesignation:
            return row.designation;
        case ColReference:
            return row.reference;
        case ColProblems:
            return row.problems.join(QStringLiteral("; "));
        case ColWarnings:
            return row.warnings.join(QStringLiteral("; "));
        default:
            return {};
    }
}

QVariant GiftRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case ColLine:
            return tr("Row");
        case ColDate:
            return tr("Date");
        case ColGiver:
            return tr("Giver");
        case ColAmount:
            return tr("Amount");
        case ColDesignation:
            return tr("Designation");
        case ColReference:
            return tr("Ref No.");
        case ColProblems:
            return tr("Problems");
        case ColWarnings:
            return tr("Warnings");
        default:
            return {};
    }
}
