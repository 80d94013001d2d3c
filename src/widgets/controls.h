#pragma once

#include "shell/lookupstore.h"

#include "shell/namedid.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QPushButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableView;
class QWidget;
class DateBox;
class DateSwitch;
class PhoneBox;

// Builders for the controls every screen uses, named by their object names, and the list helpers that go
// with them.
namespace Controls {

// The longest text the short text boxes accept.
constexpr int kTextLength = 50;

QLineEdit* lineEdit(QWidget* parent, const QString& name, int maxLength = 0);
QPlainTextEdit* textBox(QWidget* parent, const QString& name);
// A list to pick from, without free typing.
QComboBox* pickList(QWidget* parent, const QString& name);
QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& text = {});
// A date box: typed dates in the locale's short form or ISO, with a calendar button (see DateBox).
DateBox* datePicker(QWidget* parent, const QString& name);
// A phone box: any punctuation typed, stored and shown as "(615) 555-1234" (see PhoneBox).
PhoneBox* phoneBox(QWidget* parent, const QString& name);
// For a list of every person: the drop-down opens below the list showing a screenful of names, instead of
// being laid over the list around the chosen name, which measures every entry each time it opens.
void dropDownBelow(QComboBox* list);
// A date box with its "<--" check box; the switch is owned by the box. The check box comes before the box
// in the tab order, and typing a date on the check box ticks it and types into the box.
DateSwitch* switchedDate(QWidget* parent, const QString& dateName, const QString& checkName);
QTableView* grid(QWidget* parent, const QString& name);
// A grid for long results: as grid(), with one fixed row height (tens of thousands of rows stay cheap to lay
// out), no word wrap and centred headings.
QTableView* resultGrid(QWidget* parent, const QString& name);
// Sizes each column of the grid to its heading or to its longest cell, the row longestRow names (-1: none):
// one measurement a column instead of every row of a large result.
void fitColumnsToLongest(QTableView* grid, const std::function<int(int column)>& longestRow);
// The first control of the page that Tab stops at (enabled and shown with the page), or nothing.
QWidget* firstField(QWidget* page);
// Shows the page and puts the focus in its first field, as the page keys and a page's access key do: the
// keys typed next go where the eye goes, not to a field the page had the focus in before.
void showPage(QTabWidget* pages, int index);
// Ctrl+Tab / Ctrl+Shift+Tab and Ctrl+PgDn / Ctrl+PgUp change the pages wherever the focus is on the screen
// (showPage).
void addPageShortcuts(QTabWidget* pages);
// Adds a page inside a frameless scroll area: a page taller than the window scrolls inside itself instead of
// pushing the screen's buttons out of sight. The focus moving to a box out of view scrolls it into view.
void addScrollingPage(QTabWidget* pages, QWidget* page, const QString& caption);
// A box that shows a value the user cannot change: Tab passes it by, a click may still select its text.
void makeDisplayOnly(QLineEdit* box);
// Criteria laid out as label-field pairs, pairsPerRow to a row, each label right-aligned before its field
// and its buddy. Returns the first row left free below them.
int addLabelledFields(QGridLayout* grid, const QList<std::pair<QString, QWidget*>>& fields, int pairsPerRow);
// A push button known by its object name; the caption marks its access key with "&".
QPushButton* button(QWidget* parent, const QString& name, const QString& caption);
// The button row of a search screen: "&Find" (btnFind), "&Clear" (btnClear) and "E&xit" (btnExit) at the
// left, then at the right the print buttons, each given by object name and caption, in that order.
struct SearchButtons
{
    QPushButton* find = nullptr;
    QPushButton* clear = nullptr;
    QPushButton* exit = nullptr;
    QList<QPushButton*> prints;
    QHBoxLayout* row = nullptr;
};
SearchButtons searchButtons(QWidget* parent, const QList<std::pair<QString, QString>>& prints);

// The buttons a screen ends with: in a row at the right, in the order given.
QHBoxLayout* buttonRow(const QList<QPushButton*>& buttons);
QGroupBox* frame(QWidget* parent, const QString& name, const QString& title = {});
QLabel* label(QWidget* parent, const QString& text, const QString& name = {});
// The label of a required field, shown in blue.
QLabel* requiredLabel(QWidget* parent, const QString& text, const QString& name);

// A caption as messages quote it, without its access key marker and closing colon: "&Home Phone:" is
// "Home Phone".
QString plainCaption(QString text);
// The name messages give a field: its accessible name when it has one, else the text of the label whose
// buddy it is or that stands before it in its layout row, else its object name.
QString fieldName(const QWidget* field);

// A box on a screen whose text was not taken, with the message naming it.
struct BadEntry
{
    QWidget* box = nullptr;
    QString message;
    QString title;
};
// Takes what was typed into every date box (enabled ones) and phone box on the screen, in the order they
// were built: typed dates are set, phone numbers put in their stored form. Returns the first box whose text
// is no date or no phone number, without showing anything.
std::optional<BadEntry> checkEntries(QWidget* screen);
// For a save: checkEntries, and when a box is wrong its message is shown and the box gets the focus.
// True when every box holds what it should.
bool acceptEntries(QWidget* screen);

// Refills a text list with an optional first entry, keeping the chosen text chosen when it is
// still offered; otherwise the list ends without a selection.
void refill(QComboBox* list, const QStringList& items, const std::optional<QString>& firstEntry = std::nullopt);
// Refills a name/ID list, keeping the chosen ID chosen when it is still offered.
void refill(QComboBox* list, const NamedIds& entries);

// Marks the control (a drop-down or a list of entries) as showing entries of the lookup list, so that
// followRename can find it.
void showsLookupList(QWidget* control, LookupList list);
// After an entry of the lookup list was renamed everywhere it is stored: every marked control under the
// screen that shows the old text (any capitals) shows the new one instead, chosen as before. For screens
// whose unsaved entries must keep the renamed value. An empty newText (the entry was deleted) changes nothing.
void followRename(QWidget* screen, LookupList list, const QString& oldText, const QString& newText);

// Refills each text list and each name/ID list; with keepChoices a choice still offered stays chosen,
// otherwise every list ends without a selection (as a search screen opens or is cleared).
void refillAll(const QList<std::pair<QComboBox*, QStringList>>& texts,
               const QList<std::pair<QComboBox*, NamedIds>>& named, bool keepChoices);
// The twelve month names, January first, for lists that pick a month by its position.
QStringList monthNames();

// Chooses the entry with exactly this text; no selection when it is empty or not offered.
void selectText(QComboBox* list, const QString& text);
// Chooses the entry with this ID; no selection when there is none or it is not offered.
void selectId(QComboBox* list, const std::optional<qint64>& id);
// The ID behind the chosen entry of a name/ID list; nothing when no entry is chosen.
std::optional<qint64> chosenId(const QComboBox* list);

} // namespace Controls
