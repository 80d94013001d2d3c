#include "navigators/resultfollowing.h"

#include "navigators/membergridmodel.h"
#include "shell/appcontext.h"
#include "shell/changenotifier.h"
#include "widgets/guardedaction.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(ResultFollowing)
};

} // namespace

void followRollChanges(QWidget* screen, AppContext& context, MemberGridModel* model,
                       const std::function<void()>& refillLists, const std::function<void()>& showCount)
{
    ChangeNotifier& changes = context.changes();
    const QString refill = Text::tr("Refill the search lists");
    Guard::connect(&changes, &ChangeNotifier::memberSaved, screen, refill,
                   [&context, model, refillLists](qint64 memberId) {
                       refillLists();
                       model->followSaved(context.db(), memberId);
                   });
    Guard::connect(&changes, &ChangeNotifier::memberDeleted, screen, refill,
                   [model, refillLists, showCount](qint64 memberId) {
                       refillLists();
                       if (model->removeMember(memberId)) {
                           showCount();
                       }
                   });
    Guard::connect(&changes, &ChangeNotifier::listValuesChanged, screen, refill, refillLists);
}
