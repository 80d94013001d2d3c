#include "members/familygridmodel.h"

#include "core/textformat.h"

#include <QDate>
#include <QLocale>

FamilyGridModel::FamilyGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

FamilyGridModel::~FamilyGridModel() = default;

void FamilyGridModel::setFamily(std::vector<FamilyMember> family)
{
    beginResetModel();
    m_family = std::move(family);
    endResetModel();
}

void FamilyGridModel::clear()
{
    setFamily({});
}

QList<qint64> FamilyGridModel::memberIds() const
{
    QList<qint64> ids;
    for (const FamilyMember& m : m_family) {
        ids << m.id;
    }
    return ids;
}

QString FamilyGridModel::cellText(const FamilyMember& m, int column)
{
    switch (column) {
        case IdColumn:
            return QString::number(m.id);
        case NameColumn:
            return personDisplayName(m.lastName, m.firstName, m.middleName, m.title);
        case RelationshipColumn:
            return m.isRelativeOfShown ? m.relationship : FamilyStore::headOfHouseholdText();
        case StatusColumn:
            return m.status;
        case MemberStatusColumn:
            return m.memberActiveStatus;
        case ProspectStatusColumn:
            return m.prospectActiveStatus;
        case PhoneColumn:
            return m.phone;
        case GenderColumn:
            return m.gender;
        case DobColumn:
            return shortDate(QDate::fromString(m.dateOfBirth, Qt::ISODate));
        default:
            return {};
    }
}

int FamilyGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_family.size());
}

int FamilyGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FamilyGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return cellText(m_family[size_t(index.row())], index.column());
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    }
    return {};
}

QVariant FamilyGridModel::headerData(int section, Qt::Orientation orientation, int role) const
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
    static const char* const kHeaders[ColumnCount] = {
        QT_TR_NOOP("ID"),     QT_TR_NOOP("Name"),          QT_TR_NOOP("Relationship"),
        QT_TR_NOOP("Status"), QT_TR_NOOP("Member Status"), QT_TR_NOOP("Prospect Status"),
        QT_TR_NOOP("Phone"),  QT_TR_NOOP("Gender"),        QT_TR_NOOP("DOB")};
    return tr(kHeaders[section]);
}
