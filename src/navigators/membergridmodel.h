#pragma once

#include "navigators/membernavigatorstore.h"

#include <QAbstractTableModel>

#include <array>
#include <functional>
#include <vector>

// The navigators' grid of people: one row per person found, its columns composed from the stored values when
// they are shown; the member navigator's twelve columns, or the prospect navigator's sixteen (its Layout).
// Before the first search and after Clear it has no columns at all (no header row). A search hands over the
// IDs of everyone found; their rows are read a page at a time as the view scrolls to them, so that a search
// that finds the whole roll shows its first screen at once.
class MemberGridModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberGridModel)

public:
    enum Column {
        IdColumn,
        NameColumn,
        StatusColumn,
        PhoneColumn,
        CellColumn,
        WorkColumn,
        EmailColumn,
        AddressColumn,
        DobColumn,
        AnnivColumn,
        MemberStatusColumn,
        ProspectStatusColumn,
        ColumnCount
    };
    // The prospect navigator's columns.
    struct Prospect
    {
        enum Column {
            Id,
            Name,
            Status,
            Phase,
            NextDate,
            NextAction,
            NextType,
            Phone,
            Cell,
            Work,
            Email,
            Address,
            Dob,
            Anniv,
            MemberStatus,
            ProspectStatus,
            ColumnCount
        };
    };
    enum class Layout { Members, Prospects };

    // Reads the rows of the given people in the order given, leaving out anyone no longer on the roll
    // (MemberNavigatorStore::rowsOf). May throw DatabaseError.
    using RowReader = std::function<std::vector<MemberListRow>(const QList<qint64>& ids)>;
    // How many rows one read brings: more than a screen shows at once.
    static constexpr int kPageSize = 200;

    explicit MemberGridModel(QObject* parent = nullptr, Layout layout = Layout::Members);
    ~MemberGridModel() override;

    // Shows the people found, in this order, under the header row: the first page is read now (a DatabaseError
    // leaves the grid as it was), the others when the view asks for more.
    void setResult(QList<qint64> ids, RowReader reader);
    // Shows these people, all read already.
    void setRows(std::vector<MemberListRow> rows);
    // No rows and no header.
    void clear();
    // Shows the person's row as now stored, where his row has been read already.
    void replaceRow(const MemberListRow& row);
    // A person saved elsewhere while rows are listed: his row, where read already, is read again as stored.
    void followSaved(Database& db, qint64 id);
    // Takes the person out of the result (deleted elsewhere); false when he was not in it.
    bool removeMember(qint64 id);
    bool hasHeader() const { return m_hasHeader; }

    // How many people the search found, their rows read or not.
    int matchCount() const { return int(m_ids.size()); }
    qint64 memberId(int row) const;
    // The IDs of everyone found, in grid order, including those whose rows are not read yet.
    QList<qint64> memberIds() const { return m_ids; }
    // The row read so far whose cell in this column is likely the widest (the longest text), or -1 when there
    // are none.
    int longestRow(int column) const;

    // The composed cell texts of the member navigator's columns; the screen, the tests and the reports see
    // the same.
    static QString cellText(const MemberListRow& row, int column);
    // The same for the prospect navigator's columns.
    static QString prospectCellText(const MemberListRow& row, int column);
    static QString addressText(const MemberListRow& row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent = {}) const override;
    void fetchMore(const QModelIndex& parent = {}) override;

signals:
    // The rows of the next page could not be read; no more are read for this search.
    void fetchFailed(const QString& message);

private:
    // What a column shows, as a column of the prospect layout (which holds every kind).
    int kindOf(int column) const;
    void resetLongest();
    void noteLongest(int from);

    QList<qint64> m_ids;
    RowReader m_reader;
    std::vector<MemberListRow> m_rows;
    Layout m_layout;
    std::array<int, Prospect::ColumnCount> m_longest{};
    std::array<qsizetype, Prospect::ColumnCount> m_longestLength{};
    bool m_hasHeader = false;
};
