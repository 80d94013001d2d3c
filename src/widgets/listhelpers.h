#pragma once

#include "services/lookupstore.h"

#include "core/namedid.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QComboBox;
class QWidget;

// Filling and choosing in the screens' lists, and following a lookup entry renamed elsewhere.
namespace Controls {

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
