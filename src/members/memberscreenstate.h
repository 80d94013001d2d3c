#pragma once

#include "members/memberstore.h"

#include <QObject>

#include <optional>

// What the parts of the member screen share about the record on screen: the shown person's ID and the
// picture waiting to be saved. The pages and frames take this object instead of the screen, and hear
// through it when a person is shown or the screen is emptied.
class MemberScreenState final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberScreenState)

public:
    explicit MemberScreenState(QObject* parent = nullptr);
    ~MemberScreenState() override;

    // The shown person's ID; 0 while the screen holds a new person.
    qint64 shownId() const { return m_shownId; }
    // A new person was saved and is now the shown one.
    void setShownId(qint64 id) { m_shownId = id; }

    // The picture chosen with "Load Picture" since the person was shown, waiting to be saved.
    const std::optional<PendingPicture>& pendingPicture() const { return m_pendingPicture; }
    void setPendingPicture(PendingPicture picture) { m_pendingPicture = std::move(picture); }
    void clearPendingPicture() { m_pendingPicture.reset(); }

    // A stored person is now shown: the grids of the pages refresh.
    void announceShown(qint64 id);
    // The screen was emptied for a new person.
    void announceCleared();

signals:
    void memberShown(qint64 memberId);
    void memberCleared();

private:
    qint64 m_shownId = 0;
    std::optional<PendingPicture> m_pendingPicture;
};
