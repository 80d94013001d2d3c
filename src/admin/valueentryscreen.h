#pragma once

#include "admin/definedvaluestore.h"

#include <QWidget>

#include <map>

class AppContext;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QTabWidget;

// "Defined Value Entry/Edit": the eight lookup lists the other screens offer, a page each with the list, a
// box, Add and (where the list allows) Delete and Rename. Every change is written at once and announced,
// so that open screens refill their lists.
class ValueEntryScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ValueEntryScreen)

public:
    explicit ValueEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~ValueEntryScreen() override;

private:
    struct Page
    {
        QListWidget* list = nullptr;
        QLineEdit* box = nullptr;
    };

    void addPage(DefinedList list, const QString& caption, const QString& stem);
    // The designation page's "Not deductible" box, following the chosen entry and saved when clicked.
    QCheckBox* notDeductibleBox(QWidget* page, QListWidget* list);
    void reload(DefinedList list);
    void add(DefinedList list);
    void remove(DefinedList list);
    void rename(DefinedList list);
    // Tells the open screens that a list changed; a renamed or deleted entry (changedFrom; renamedTo empty
    // for a delete) is announced first, so that screens showing it follow before they refill.
    void announce(DefinedList list, const QString& changedFrom = {}, const QString& renamedTo = {});

    AppContext& m_context;
    DefinedValueStore m_store;
    QTabWidget* m_pages = nullptr;
    std::map<DefinedList, Page> m_lists;
};
