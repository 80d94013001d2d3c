#include "members/memberdeleteaction.h"

#include "data/databaseerror.h"
#include "members/memberdeletion.h"
#include "members/memberentryscreen.h"
#include "shell/appcontext.h"
#include "shell/messages.h"

#include <QPushButton>

MemberDeleteAction::MemberDeleteAction(AppContext& context, MemberEntryScreen& screen)
    : QObject(&screen)
    , m_context(context)
    , m_screen(screen)
{
    connect(screen.deleteButton(), &QPushButton::clicked, this, &MemberDeleteAction::deleteClicked);
}

MemberDeleteAction::~MemberDeleteAction() = default;

void MemberDeleteAction::deleteClicked()
{
    const qint64 id = m_screen.shownMemberId();
    if (id <= 0) {
        return; // a new person: nothing stored to delete
    }
    if (!MemberDeletion::canDelete(id)) {
        showMessage(MemberDeletion::placeholderRefusal(), MessageStyle::Warning, tr("Delete Not Possible"));
        return;
    }
    if (showMessage(tr("Are you sure you want to delete the selected member?"), MessageStyle::YesNo,
                    tr("Delete Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    try {
        MemberDeletion(m_context.db()).deleteMember(id);
    } catch (const DatabaseError& error) {
        showMessage(tr("The person could not be deleted; nothing was changed.\n\n%1").arg(error.message()),
                    MessageStyle::Critical, tr("Delete Failed"));
        return;
    }
    // The chooser no longer offers the deleted person; the screen is ready for a new one.
    m_screen.reloadNames();
    m_screen.clearMember();
    emit m_context.changes().memberDeleted(id);
}
