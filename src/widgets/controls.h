#pragma once

#include "shell/namedid.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableView;
class QWidget;
class DateSwitch;

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
QDateEdit* datePicker(QWidget* parent, const QString& name);
// For a list of every person: the drop-down opens below the list showing a screenful of names, instead of
// being laid over the list around the chosen name, which measures every entry each time it opens.
void dropDownBelow(QComboBox* list);
// A date picker with its "<--" check box; the switch is owned by the picker.
DateSwitch* switchedDate(QWidget* parent, const QString& dateName, const QString& checkName);
QTableView* grid(QWidget* parent, const QString& name);
QGroupBox* frame(QWidget* parent, const QString& name, const QString& title = {});
QLabel* label(QWidget* parent, const QString& text, const QString& name = {});
// The label of a required field, shown in blue.
QLabel* requiredLabel(QWidget* parent, const QString& text, const QString& name);

// Refills a text list with an optional first entry, keeping the chosen text chosen when it is
// still offered; otherwise the list ends without a selection.
void refill(QComboBox* list, const QStringList& items, const std::optional<QString>& firstEntry = std::nullopt);
// Refills a name/ID list, keeping the chosen ID chosen when it is still offered.
void refill(QComboBox* list, const NamedIds& entries);

// Chooses the entry with exactly this text; no selection when it is empty or not offered.
void selectText(QComboBox* list, const QString& text);
// Chooses the entry with this ID; no selection when there is none or it is not offered.
void selectId(QComboBox* list, const std::optional<qint64>& id);
// The ID behind the chosen entry of a name/ID list; nothing when no entry is chosen.
std::optional<qint64> chosenId(const QComboBox* list);

} // namespace Controls
