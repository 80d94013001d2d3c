#include "members/memberdeleteaction.h"

#include "members/memberdeletion.h"
#include "members/memberscreenstate.h"
#include "services/appcontext.h"
#include "services/loginstore.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/permissioncheck.h"

#include <QPushButton>

MemberDeleteAction::MemberDeleteAction(AppContext& context, MemberScreenState& state, QPushButton* deleteButton)
    : QObject(deleteButton)
    , m_context(context)
    , m_state(state)
{
    Guard::connect(deleteButton, &QPushButton::clicked, this, deleteButton->text(), [this] { deleteClicked(); });
}

MemberDeleteAction::~MemberDeleteAction() = default;

void MemberDeleteAction::deleteClicked()
{
    const qint64 id = m_state.shownId();
    if (id <= 0) {
        return; // a new person: nothing stored to delete
    }
    if (!checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Remove)) {
        return;
    }
    if (!MemberDeletion::canDelete(id)) {
        showMessage(MemberDeletion::placeholderRefusal(), MessageStyle::Warning, tr("Delete Not Possible"));
        return;
    }
    if (const QString lockout = LoginStore(m_context.db()).checkMemberDeletion(id, m_context.user().memberId);
        !lockout.isEmpty()) {
        showMessage(lockout, MessageStyle::Warning, LoginStore::lockoutTitle());
        return;
    }
    MemberDeletion deletion(m_context.db());
    const std::optional<DeletionSummary> summary = deletion.summary(id);
    if (!summary) {
        return; // deleted elsewhere meanwhile
    }
    if (showMessage(summary->question(), MessageStyle::YesNo, tr("Delete Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    deletion.deleteMember(id);
    emit memberDeleted(id, summary->name);
    emit m_context.changes().memberDeleted(id);
    emit m_context.requests().showStatus(tr("Deleted %1").arg(summary->name));
}
