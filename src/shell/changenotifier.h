#pragma once

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
    // A prospect contact was saved or deleted.
    void contactsChanged(qint64 prospectId);
    // A contribution was saved or deleted.
    void contributionsChanged(qint64 memberId);
    // The church row was saved.
    void churchChanged();
};
