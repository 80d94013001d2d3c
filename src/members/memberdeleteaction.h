#pragma once

#include <QObject>

class AppContext;
class MemberScreenState;
class QPushButton;

// The member screen's "Delete": asks "Member Entry/Edit", then a question naming the person and what goes
// with him; on Yes the person is deleted with everything that is only his and his roles handed to person 1,
// all at once. Person 1 himself is never deleted.
class MemberDeleteAction final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberDeleteAction)

public:
    MemberDeleteAction(AppContext& context, MemberScreenState& state, QPushButton* deleteButton);
    ~MemberDeleteAction() override;

    void deleteClicked();

signals:
    // The person is gone; the screen empties itself.
    void memberDeleted(qint64 memberId, const QString& name);

private:
    AppContext& m_context;
    MemberScreenState& m_state;
};
