#pragma once

#include "core/lookuplist.h"

#include <QObject>

// Tells open screens what another screen changed, so they can refresh their lists.
class ChangeNotifier final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChangeNotifier)

public:
    ChangeNotifier() = default;

signals:
    // A person's row was inserted or updated (member screen save, contact or contribution entry).
    void memberSaved(qint64 memberId);
    void memberDeleted(qint64 memberId);
    // A person's responsibilities were added or removed; 0 stands for everyone's (a catalogue entry went).
    void responsibilitiesChanged(qint64 memberId);
    // Classes, care groups, responsibilities or lookup lists changed.
    void listValuesChanged();
    // An entry of a lookup list was renamed (newText) or deleted (newText empty), in the list and in every
    // stored row. Sent before listValuesChanged, so that a screen showing the old text can take the new one,
    // or read its record again, before it refills.
    void listEntryChanged(LookupList list, const QString& oldText, const QString& newText);
    // Many people's names changed at once (a title renamed or deleted): lists of every person read again.
    void namesChanged();
    // A prospect contact was saved or deleted.
    void contactsChanged(qint64 prospectId);
    // A contribution was saved or deleted.
    void contributionsChanged(qint64 memberId);
    // The church row was saved.
    void churchChanged();
};
