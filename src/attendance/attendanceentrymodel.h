#pragma once

#include "attendance/attendancestore.h"

#include <QAbstractTableModel>

// The entry grid of one listed week: seven check-box columns, one per category, then the person's ID, name,
// status and church status. Only the boxes change; every second row is grey. An empty model has no header
// either (no columns), as before the first Find.
class AttendanceEntryModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AttendanceEntryModel)

public:
    enum Column {
        IdColumn = AttendanceWeek::kCategoryCount,
        NameColumn,
        StatusColumn,
        ChurchStatusColumn,
        ColumnCount
    };

    explicit AttendanceEntryModel(QObject* parent = nullptr);

    // Shows the week's people with their marks.
    void setWeek(AttendanceWeekList list);
    // No rows and no header.
    void clear();
    bool hasHeader() const { return m_hasHeader; }
    // The Sunday of the listed week; invalid before Find.
    QDate week() const { return m_week; }
    const std::vector<AttendanceEntryRow>& rows() const { return m_rows; }
    qint64 memberId(int row) const { return m_rows.at(size_t(row)).memberId; }
    // Takes a person off the list (he was deleted on another screen); false when he was not listed.
    bool removeMember(qint64 memberId);
    // The marks of every row as they would be saved.
    std::vector<AttendanceSaveRow> saveRows() const;
    // A box was ticked or unticked since the week was listed or last saved.
    bool hasChangedMarks() const;
    // The marks on screen are now the saved ones.
    void marksSaved();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // A box was ticked or unticked, or the rows changed: the totals line follows.
    void marksChanged();

private:
    std::vector<AttendanceEntryRow> m_rows;
    // Each row's marks as listed or last saved, in the order of m_rows.
    std::vector<AttendanceMarks> m_savedMarks;
    QDate m_week;
    bool m_hasHeader = false;
};
