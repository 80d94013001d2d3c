#pragma once

#include "core/namedid.h"

#include <QAbstractListModel>

#include <vector>

class PeopleModel;
class QComboBox;

// A drop-down's view of the shared people list: optional fixed first entries (a blank, "***All***"), then
// every person, or only those who head no household; shown with or without title. It follows every refresh
// of the shared list. The ID of each entry is its Qt::UserRole data, as in every name/ID list.
class PeopleListModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PeopleListModel)

public:
    struct Options
    {
        // Entries before the people, e.g. a blank with ID 0.
        NamedIds leadingEntries;
        // "Last, First Middle" instead of "Last, First Middle Title".
        bool withoutTitle = false;
        // Only people whose Head of Household box is not ticked.
        bool onlyNonHeads = false;
    };

    PeopleListModel(PeopleModel& people, Options options, QObject* parent = nullptr);
    ~PeopleListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The row showing this ID, or -1.
    int rowOf(qint64 id) const;

private:
    void rebuild();

    PeopleModel& m_people;
    Options m_options;
    // The shared list's rows this one shows, in order; empty when it shows every row.
    std::vector<int> m_rows;
};

namespace PeopleList {

// Makes the drop-down show the shared people list as the options say. The drop-down opens below itself a
// screenful high (it need not measure every name) and keeps its chosen person across refreshes.
PeopleListModel* attach(QComboBox* list, PeopleModel& people, const PeopleListModel::Options& options = {});

// Chooses the entry with this ID without telling the list's user-choice listeners; no selection when
// there is no ID or it is not listed.
void select(QComboBox* list, const std::optional<qint64>& id);
// The same, but a list with a leading blank entry shows the blank when there is no ID or it is not listed,
// so that no earlier choice stays behind.
void selectOrBlank(QComboBox* list, const std::optional<qint64>& id);

} // namespace PeopleList
