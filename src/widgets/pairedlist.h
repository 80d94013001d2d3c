#pragma once

#include "core/namedid.h"
#include "data/row.h"

#include <QList>
#include <QString>

#include <optional>

class QComboBox;
class QListWidget;
class QVBoxLayout;
class QWidget;

// Lists that show names and give back the ID of the chosen entry. Each entry keeps its ID in its item data
// (Qt::UserRole), so names and IDs can never drift apart. Entries stay in the order they were added (the
// query's order); the controls never sort them.
namespace PairedList {

// The entries of a result: the display text from nameColumn and the key from idColumn.
NamedIds entriesFrom(const Rows& rows, QStringView nameColumn, QStringView idColumn);

// Empties the list and fills it with the entries, in order; nothing is selected afterwards.
void fill(QComboBox* list, const NamedIds& entries);
void fill(QComboBox* list, const Rows& rows, QStringView nameColumn, QStringView idColumn);
void add(QComboBox* list, const QString& name, qint64 id);
// The ID of the chosen entry; nothing when no entry is chosen.
std::optional<qint64> selectedId(const QComboBox* list);
// The same with 0 for "nothing chosen" (IDs start at 1).
qint64 selectedIdOrZero(const QComboBox* list);
// The ID of the chosen entry; nothing when none is chosen or the chosen one is the blank entry (ID 0) that
// stands for nobody.
std::optional<qint64> selectedIdUnlessBlank(const QComboBox* list);
// Chooses the entry with this ID (currentIndexChanged fires, activated does not: this is not the user's
// choice). Returns false and leaves the list without a selection when no entry has it.
bool selectById(QComboBox* list, qint64 id);
// Position of the entry with this ID, or -1.
int indexOfId(const QComboBox* list, qint64 id);

void fill(QListWidget* list, const NamedIds& entries);
void fill(QListWidget* list, const Rows& rows, QStringView nameColumn, QStringView idColumn);
void add(QListWidget* list, const QString& name, qint64 id);
// The ID of the current entry; nothing when there is none.
std::optional<qint64> selectedId(const QListWidget* list);
// The IDs of all selected entries of a multiple-selection list, in list order.
QList<qint64> selectedIds(const QListWidget* list);
// Makes the entry with this ID current and selected; false (and no current entry) when none has it.
bool selectById(QListWidget* list, qint64 id);
qint64 idAt(const QListWidget* list, int row);
// Moves entries (with their IDs) from the last to the first; each is appended to the other list, so a block
// of entries arrives in reverse order. With selectedOnly only the selected ones move, and nothing moves when
// the source has no current entry.
void moveEntries(QListWidget* from, QListWidget* to, bool selectedOnly);
// A list whose entries can be selected several at a time (Shift, Ctrl).
QListWidget* multiSelectList(QWidget* parent, const QString& name);
// The four buttons between two such lists, stacked and wired: "&Add >" (btnAdd) and "A&dd >>" (btnAddAll)
// move the selected or all entries from left to right, "< &Rem" (btnRemove) and "<< Re&m" (btnRemoveAll)
// back. Returns the buttons' layout; the buttons are children of the parent.
QVBoxLayout* moveButtons(QWidget* parent, QListWidget* left, QListWidget* right);

} // namespace PairedList
