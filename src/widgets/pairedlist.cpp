#include "widgets/pairedlist.h"

#include "widgets/controls.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace PairedList {

NamedIds entriesFrom(const Rows& rows, QStringView nameColumn, QStringView idColumn)
{
    NamedIds entries;
    entries.reserve(qsizetype(rows.size()));
    for (const Row& row : rows) {
        entries.push_back({row.integer(idColumn), row.text(nameColumn)});
    }
    return entries;
}

void fill(QComboBox* list, const NamedIds& entries)
{
    const QSignalBlocker blocker(list);
    list->clear();
    for (const NamedId& entry : entries) {
        list->addItem(entry.name, QVariant::fromValue(entry.id));
    }
    list->setCurrentIndex(-1);
}

void fill(QComboBox* list, const Rows& rows, QStringView nameColumn, QStringView idColumn)
{
    fill(list, entriesFrom(rows, nameColumn, idColumn));
}

void add(QComboBox* list, const QString& name, qint64 id)
{
    list->addItem(name, QVariant::fromValue(id));
}

std::optional<qint64> selectedId(const QComboBox* list)
{
    const int index = list->currentIndex();
    if (index < 0) {
        return std::nullopt;
    }
    return list->itemData(index).toLongLong();
}

std::optional<qint64> selectedIdUnlessBlank(const QComboBox* list)
{
    const qint64 id = selectedIdOrZero(list);
    return id > 0 ? std::optional(id) : std::nullopt;
}

qint64 selectedIdOrZero(const QComboBox* list)
{
    return selectedId(list).value_or(0);
}

int indexOfId(const QComboBox* list, qint64 id)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemData(i).toLongLong() == id) {
            return i;
        }
    }
    return -1;
}

bool selectById(QComboBox* list, qint64 id)
{
    const int index = indexOfId(list, id);
    list->setCurrentIndex(index);
    return index >= 0;
}

void fill(QListWidget* list, const NamedIds& entries)
{
    const QSignalBlocker blocker(list);
    list->clear();
    list->setSortingEnabled(false);
    for (const NamedId& entry : entries) {
        add(list, entry.name, entry.id);
    }
    list->setCurrentRow(-1);
}

void fill(QListWidget* list, const Rows& rows, QStringView nameColumn, QStringView idColumn)
{
    fill(list, entriesFrom(rows, nameColumn, idColumn));
}

void add(QListWidget* list, const QString& name, qint64 id)
{
    auto* item = new QListWidgetItem(name, list);
    item->setData(Qt::UserRole, QVariant::fromValue(id));
}

qint64 idAt(const QListWidget* list, int row)
{
    const QListWidgetItem* item = list->item(row);
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

std::optional<qint64> selectedId(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    if (item == nullptr) {
        return std::nullopt;
    }
    return item->data(Qt::UserRole).toLongLong();
}

QList<qint64> selectedIds(const QListWidget* list)
{
    QList<qint64> ids;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) {
            ids.push_back(idAt(list, row));
        }
    }
    return ids;
}

bool selectById(QListWidget* list, qint64 id)
{
    for (int row = 0; row < list->count(); ++row) {
        if (idAt(list, row) == id) {
            list->setCurrentRow(row);
            list->item(row)->setSelected(true);
            return true;
        }
    }
    list->setCurrentRow(-1);
    return false;
}

void moveEntries(QListWidget* from, QListWidget* to, bool selectedOnly)
{
    if (selectedOnly && from->currentRow() < 0) {
        return;
    }
    for (int row = from->count() - 1; row >= 0; --row) {
        if (selectedOnly && !from->item(row)->isSelected()) {
            continue;
        }
        QListWidgetItem* item = from->takeItem(row);
        to->addItem(item);
        item->setSelected(false);
    }
}

QListWidget* multiSelectList(QWidget* parent, const QString& name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

QVBoxLayout* moveButtons(QWidget* parent, QListWidget* left, QListWidget* right)
{
    QPushButton* add =
        Controls::button(parent, QStringLiteral("btnAdd"), QCoreApplication::translate("PairedList", "&Add >"));
    QPushButton* remove =
        Controls::button(parent, QStringLiteral("btnRemove"), QCoreApplication::translate("PairedList", "< &Rem"));
    QPushButton* addAll =
        Controls::button(parent, QStringLiteral("btnAddAll"), QCoreApplication::translate("PairedList", "A&dd >>"));
    QPushButton* removeAll =
        Controls::button(parent, QStringLiteral("btnRemoveAll"), QCoreApplication::translate("PairedList", "<< Re&m"));
    QObject::connect(add, &QPushButton::clicked, left, [left, right] { moveEntries(left, right, true); });
    QObject::connect(remove, &QPushButton::clicked, left, [left, right] { moveEntries(right, left, true); });
    QObject::connect(addAll, &QPushButton::clicked, left, [left, right] { moveEntries(left, right, false); });
    QObject::connect(removeAll, &QPushButton::clicked, left, [left, right] { moveEntries(right, left, false); });
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {add, remove, addAll, removeAll}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    return buttons;
}

} // namespace PairedList
