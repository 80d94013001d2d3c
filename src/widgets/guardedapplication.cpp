#include "widgets/guardedapplication.h"

#include "data/databaseerror.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"

#include <QtGlobal>

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DatabaseError& error) {
        qWarning("Unhandled database error: %s", qUtf8Printable(error.message()));
        Guard::showDatabaseError(tr("The last action"), error);
    } catch (const std::exception& error) {
        qWarning("Unhandled error: %s", error.what());
        showMessage(tr("The last action could not be completed: %1").arg(QString::fromLocal8Bit(error.what())),
                    MessageStyle::Critical, tr("Unexpected Error"));
    }
    return false;
}
