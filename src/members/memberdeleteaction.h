#pragma once

#include <QObject>

class AppContext;
class MemberEntryScreen;

// The member screen's "Delete": after the question, the shown person is deleted with everything that is
// only his and his roles handed to person 1, all at once; then the screen is empty. Person 1 himself is
// never deleted.
class MemberDeleteAction final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberDeleteAction)

public:
    MemberDeleteAction(AppContext& context, MemberEntryScreen& screen);
    ~MemberDeleteAction() override;

    void deleteClicked();

private:
    AppContext& m_context;
    MemberEntryScreen& m_screen;
};
