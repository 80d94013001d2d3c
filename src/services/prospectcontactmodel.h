#pragma once

#include "services/prospectcontactquery.h"

#include <QAbstractTableModel>

#include <vector>

// The contacts made with one prospect, newest first, in eight columns: ID, Date, Action, Type, Rating,
// Visitor 1, Visitor 2, Notes. Empty without columns (no header row) until a prospect's contacts are shown.
class ProspectContactModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProspectContactModel)

public:
    enum Column {
        IdColumn,
        DateColumn,
        ActionColumn,
        TypeColumn,
        RatingColumn,
        Visitor1Column,
        Visitor2Column,
        NotesColumn,
        ColumnCount
    };

    explicit ProspectContactModel(QObject* parent = nullptr);
    ~ProspectContactModel() override;

    // Shows these contacts under the header row (a prospect without contacts: the header alone).
    void setContacts(std::vector<ProspectContactRow> contacts);
    // No rows and no header.
    void clear();
    bool hasHeader() const { return m_hasHeader; }
    qint64 contactId(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<ProspectContactRow> m_rows;
    bool m_hasHeader = false;
};
