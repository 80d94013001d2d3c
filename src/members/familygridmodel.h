#pragma once

#include "members/familystore.h"

#include <QAbstractTableModel>

#include <vector>

// The family grid of the member screen: the shown person's relatives or heads of household, nine columns.
class FamilyGridModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FamilyGridModel)

public:
    enum Column {
        IdColumn,
        NameColumn,
        RelationshipColumn,
        StatusColumn,
        MemberStatusColumn,
        ProspectStatusColumn,
        PhoneColumn,
        GenderColumn,
        DobColumn,
        ColumnCount
    };

    explicit FamilyGridModel(QObject* parent = nullptr);
    ~FamilyGridModel() override;

    void setFamily(std::vector<FamilyMember> family);
    void clear();
    const FamilyMember& member(int row) const { return m_family.at(size_t(row)); }
    QList<qint64> memberIds() const;

    static QString cellText(const FamilyMember& member, int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<FamilyMember> m_family;
};
