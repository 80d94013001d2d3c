#include "contributions/contributiongridmodel.h"

#include "core/money.h"
#include "core/textformat.h"

ContributionGridModel::ContributionGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

void ContributionGridModel::setGifts(std::vector<Contribution> gifts)
{
    beginResetModel();
    m_gifts = std::move(gifts);
    endResetModel();
}

void ContributionGridModel::clear()
{
    setGifts({});
}

qint64 ContributionGridModel::idAt(int row) const
{
    return row >= 0 && row < int(m_gifts.size()) ? m_gifts[std::size_t(row)].id : 0;
}

int ContributionGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_gifts.size());
}

int ContributionGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ContributionGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return int(Qt::AlignCenter);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const Contribution& gift = m_gifts[std::size_t(index.row())];
    switch (index.column()) {
        case IdColumn:
            return QString::number(gift.id);
        case DateColumn:
            return shortDate(gift.date);
        case EnvelopeColumn:
            return gift.envelopeNumber;
        case AmountColumn:
            return formatAmount(gift.amountCents);
        case RefColumn:
            return gift.refNumber;
        case DesignationColumn:
            return gift.designation;
        case UserColumn:
            return gift.userName;
        case EnteredColumn:
            return shortDateTime(gift.dateEntered);
        default:
            return {};
    }
}

QVariant ContributionGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return int(Qt::AlignCenter);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    static const char* const kHeaders[ColumnCount] = {
        QT_TR_NOOP("ID"),       QT_TR_NOOP("Date"),        QT_TR_NOOP("Env. No."), QT_TR_NOOP("Amount"),
        QT_TR_NOOP("Ref. No."), QT_TR_NOOP("Designation"), QT_TR_NOOP("User"),     QT_TR_NOOP("Date/Time")};
    return section >= 0 && section < ColumnCount ? tr(kHeaders[section]) : QVariant();
}
