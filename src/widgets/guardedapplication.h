#pragma once

#include <QApplication>

// The program's application object. As a last resort it catches what an event handler let escape (a
// database error outside every guarded action, an allocation failure), writes it to the log and shows it,
// instead of letting the program terminate.
class GuardedApplication final : public QApplication
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GuardedApplication)

public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
