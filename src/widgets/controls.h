#pragma once

#include "services/lookupstore.h"

#include "core/namedid.h"

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
class QScrollArea;
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
// A frameless scroll area around the page, asking for the room the page needs: taller than the window, the
// page scrolls inside itself. The focus moving to a box out of view scrolls it into view.
QScrollArea* scrollingArea(QWidget* parent, QWidget* page);
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

} // namespace Controls
