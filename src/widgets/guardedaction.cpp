#include "widgets/guardedaction.h"

#include "data/databaseerror.h"
#include "widgets/messages.h"

namespace {

class GuardText
{
    Q_DECLARE_TR_FUNCTIONS(Guard)
};

} // namespace

namespace Guard {

void showDatabaseError(const QString& what, const DatabaseError& error)
{
    QString name = what;
    name.remove(u'&');
    showMessage(GuardText::tr("\"%1\" could not be completed: the database reported an error. Nothing of it was "
                              "saved.\n\n%2")
                    .arg(name, error.message()),
                MessageStyle::Critical, GuardText::tr("Database Error"));
}

bool run(const QString& what, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const DatabaseError& error) {
        showDatabaseError(what, error);
        return false;
    }
}

} // namespace Guard
