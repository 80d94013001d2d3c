#include "members/responsibilitygridmodel.h"

#include "core/textformat.h"

#include <QLocale>

ResponsibilityGridModel::ResponsibilityGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

ResponsibilityGridModel::~ResponsibilityGridModel() = default;

void ResponsibilityGridModel::setResponsibilities(std::vector<HeldResponsibility> held)
{
    beginResetModel();
    m_held = std::move(held);
    endResetModel();
}

void ResponsibilityGridModel::clear()
{
    setResponsibilities({});
}

int ResponsibilityGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_held.size());
}

int ResponsibilityGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResponsibilityGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const HeldResponsibility& r = m_held[size_t(index.row())];
    switch (index.column()) {
        case NameColumn:
            return r.name;
        case StartColumn:
            return shortDate(r.start);
        case EndColumn:
            return shortDate(r.end);
        case DescriptionColumn:
            return r.description;
        default:
            return {};
    }
}

QVariant ResponsibilityGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    static const char* const kHeaders[ColumnCount] = {QT_TR_NOOP("Name"), QT_TR_NOOP("Start"), QT_TR_NOOP("End"),
                                                      QT_TR_NOOP("Description")};
    return tr(kHeaders[section]);
}
