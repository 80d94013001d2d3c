#pragma once

#include "core/commandid.h"
#include "core/screenid.h"

#include <QObject>
#include <QSize>

#include <functional>

class AppContext;
class QWidget;

// What a feature's screens and commands see of the program's frame: the application context, the screens
// and commands registered by every feature, the room screens are shown in and the status bar. The main
// window implements it; a feature installs itself through it and never names the window.
class ScreenHost
{
public:
    using ScreenFactory = std::function<QWidget*(ScreenHost&)>;

    virtual ~ScreenHost() = default;

    virtual AppContext& context() = 0;
    // The window screens, dialogs and messages are shown over.
    virtual QWidget* frame() = 0;

    // Tells the host how to build the screen. Registering a screen or a command twice is a fault of the
    // program: it throws std::logic_error and keeps the first.
    virtual void registerScreen(ScreenId screen, ScreenFactory factory) = 0;
    // Gives a menu command (one that opens no screen) its action.
    virtual void registerCommand(CommandId command, std::function<void()> action) = 0;
    virtual bool isRegistered(ScreenId screen) const = 0;
    virtual bool isRegistered(CommandId command) const = 0;

    // Opens the screen, or brings the open one to the front unchanged. Returns it, or nullptr when no such
    // screen is registered.
    virtual QWidget* openScreen(ScreenId screen) = 0;
    // The open screen, or nullptr.
    virtual QWidget* findScreen(ScreenId screen) const = 0;
    template <typename T>
    T* openScreen(ScreenId screen)
    {
        return qobject_cast<T*>(openScreen(screen));
    }
    template <typename T>
    T* findScreen(ScreenId screen) const
    {
        return qobject_cast<T*>(findScreen(screen));
    }
    // The room a screen may fill (a full-size screen such as the report viewer takes all of it).
    virtual QSize screenRoom() const = 0;

    // Puts a lasting widget (a label, a progress bar) at the right of the status bar.
    virtual void addStatusWidget(QWidget* widget) = 0;
    // Log Off: every screen closes (one with unsaved changes asks first), the user is forgotten and the login
    // screen opens. False when the user kept a screen open.
    virtual bool logOff() = 0;
    // Runs the action after each successful login, once the login has finished (queued on the event loop);
    // the connection ends with the receiver.
    virtual void afterLogin(QObject* receiver, std::function<void()> action) = 0;

protected:
    ScreenHost() = default;
    ScreenHost(const ScreenHost&) = default;
    ScreenHost& operator=(const ScreenHost&) = default;
};

// Registers a screen built from the context alone, as most are: new T(context, frame).
template <typename T>
void registerScreenOf(ScreenHost& host, ScreenId screen)
{
    host.registerScreen(screen, [](ScreenHost& h) -> QWidget* { return new T(h.context(), h.frame()); });
}
