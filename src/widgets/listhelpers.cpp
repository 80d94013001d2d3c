#include "widgets/listhelpers.h"

#include "widgets/datebox.h"
#include "widgets/gridexport.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/phonebox.h"
#include "widgets/screenhelpers.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>

namespace Controls {

void refill(QComboBox* list, const QStringList& items, const std::optional<QString>& firstEntry)
{
    const bool hadChoice = list->currentIndex() >= 0;
    const QString chosen = list->currentText();
    const QSignalBlocker blocker(list);
    list->clear();
    if (firstEntry) {
        list->addItem(*firstEntry);
    }
    list->addItems(items);
    list->setCurrentIndex(hadChoice ? list->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive) : -1);
}

void refill(QComboBox* list, const NamedIds& entries)
{
    const std::optional<qint64> chosen = PairedList::selectedId(list);
    const QSignalBlocker blocker(list);
    PairedList::fill(list, entries);
    if (chosen) {
        PairedList::selectById(list, *chosen);
    }
}

void refillAll(const QList<std::pair<QComboBox*, QStringList>>& texts,
               const QList<std::pair<QComboBox*, NamedIds>>& named, bool keepChoices)
{
    for (const auto& [list, entries] : texts) {
        refill(list, entries);
        if (!keepChoices) {
            list->setCurrentIndex(-1);
        }
    }
    for (const auto& [list, entries] : named) {
        refill(list, entries);
        if (!keepChoices) {
            list->setCurrentIndex(-1);
        }
    }
}

QStringList monthNames()
{
    static const char* const names[] = {
        QT_TRANSLATE_NOOP("Controls", "January"),   QT_TRANSLATE_NOOP("Controls", "February"),
        QT_TRANSLATE_NOOP("Controls", "March"),     QT_TRANSLATE_NOOP("Controls", "April"),
        QT_TRANSLATE_NOOP("Controls", "May"),       QT_TRANSLATE_NOOP("Controls", "June"),
        QT_TRANSLATE_NOOP("Controls", "July"),      QT_TRANSLATE_NOOP("Controls", "August"),
        QT_TRANSLATE_NOOP("Controls", "September"), QT_TRANSLATE_NOOP("Controls", "October"),
        QT_TRANSLATE_NOOP("Controls", "November"),  QT_TRANSLATE_NOOP("Controls", "December"),
    };
    QStringList months;
    for (const char* name : names) {
        months << QCoreApplication::translate("Controls", name);
    }
    return months;
}

void selectText(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(text.isEmpty() ? -1 : list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void selectId(QComboBox* list, const std::optional<qint64>& id)
{
    if (!id) {
        list->setCurrentIndex(-1);
        return;
    }
    PairedList::selectById(list, *id);
}

std::optional<qint64> chosenId(const QComboBox* list)
{
    return PairedList::selectedId(list);
}

namespace {

const char* const kLookupListProperty = "kelvaneLookupList";

} // namespace

void showsLookupList(QWidget* control, LookupList list)
{
    control->setProperty(kLookupListProperty, int(list));
}

void followRename(QWidget* screen, LookupList list, const QString& oldText, const QString& newText)
{
    if (newText.isEmpty()) {
        return; // a deleted entry: the lists' refill drops it
    }
    const auto marked = [list](const QWidget* control) {
        const QVariant value = control->property(kLookupListProperty);
        return value.isValid() && value.toInt() == int(list);
    };
    for (QComboBox* combo : screen->findChildren<QComboBox*>()) {
        if (marked(combo)) {
            for (int i = 0; i < combo->count(); ++i) {
                if (combo->itemText(i).compare(oldText, Qt::CaseInsensitive) == 0) {
                    combo->setItemText(i, newText);
                }
            }
        }
    }
    for (QListWidget* entries : screen->findChildren<QListWidget*>()) {
        if (marked(entries)) {
            for (int i = 0; i < entries->count(); ++i) {
                if (entries->item(i)->text().compare(oldText, Qt::CaseInsensitive) == 0) {
                    entries->item(i)->setText(newText);
                }
            }
        }
    }
}

} // namespace Controls
