#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <functional>
#include <type_traits>

class DatabaseError;

// Runs what the user asked for (a button, a menu command, a double-click) so that a database error ends
// only that action: the error becomes the standard message naming what failed, and the program goes on.
namespace Guard {

// Shows the standard message for a failed action: what was being done, and the engine's reason.
void showDatabaseError(const QString& what, const DatabaseError& error);

// Runs the action; returns false when a database error stopped it (the message has been shown).
bool run(const QString& what, const std::function<void()>& action);

// Connects a signal to a functor that runs guarded. `what` names the action in the message, e.g.
// tr("Find").
template <typename Sender, typename Signal, typename Functor>
QMetaObject::Connection connect(Sender* sender, Signal signal, const QObject* context, const QString& what,
                                Functor functor)
{
    return QObject::connect(sender, signal, context, [what, functor](const auto&... args) {
        run(what, [&] {
            if constexpr (std::is_invocable_v<Functor, decltype(args)...>) {
                functor(args...);
            } else {
                functor();
            }
        });
    });
}

} // namespace Guard
