#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "shell/screenid.h"

#include <functional>
#include <memory>

class AppContext;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
struct MenuEntry;

// The frame of the program: an MDI area holding every screen, and the menu bar built from the menu
// table. Screens are created by factories registered by name and opened at most once.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    using ScreenFactory = std::function<QWidget*(MainWindow&)>;

    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() { return m_context; }
    // Shows the window where it was left at the last close, or filled out over the screen on a first start.
    void showWhereLeft();
    QMdiArea* mdiArea() const { return m_mdi; }

    // Tells the window how to build the screen.
    void registerScreen(ScreenId screen, ScreenFactory factory);
    bool isRegistered(ScreenId screen) const;
    // Gives a menu entry without a screen (a report run at once) its action.
    void registerCommand(const QString& entryName, std::function<void()> action);

    // Opens the named screen as a child window placed at the top left, or brings the open one to the
    // front unchanged. Returns it, or nullptr when no such screen is registered.
    QWidget* openScreen(ScreenId screen);
    template <typename T>
    T* openScreen(ScreenId screen)
    {
        return qobject_cast<T*>(openScreen(screen));
    }
    // Builds the screen as openScreen does, without showing it or counting it as open, for reading what it
    // holds; nullptr when no such screen is registered.
    std::unique_ptr<QWidget> buildScreen(ScreenId screen);
    // The open screen, or nullptr.
    QWidget* findScreen(ScreenId screen) const;
    template <typename T>
    T* findScreen(ScreenId screen) const
    {
        return qobject_cast<T*>(findScreen(screen));
    }

    // What choosing a menu entry does: its permission test, then its screen or command.
    void runCommand(const QString& entryName);
    QAction* menuAction(const QString& entryName) const;

    // Disables every menu entry but File and File > Exit (logged out).
    void disableMenus();
    // Enables every menu entry (logged in).
    void enableMenus();
    // Log Off: every open screen closes (one with unsaved changes asks first; Cancel keeps the user logged
    // in), the current user is forgotten, the menus are disabled and the login screen opens. False when the
    // user kept a screen open.
    bool logOff();
    // Ends the program (File > Exit, the login's "Close") once every open screen has closed; a screen
    // with unsaved changes asks first, and Cancel keeps the program running.
    void closeAndExit();
    // Closes every open screen; false when one of them stayed open.
    bool closeAllScreens();

signals:
    // A login succeeded and the menus are open to the user.
    void loggedIn();
    // Asked to end the program (File > Exit, the login's "Close").
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The entries only "Admin" logins see.
    void showAdminEntries(bool shown);
    void addEntries(QMenu* menu, const QList<MenuEntry>& entries);

    AppContext& m_context;
    QMdiArea* m_mdi;
    QHash<QString, QAction*> m_actions;
    QHash<ScreenId, ScreenFactory> m_factories;
    QHash<QString, std::function<void()>> m_commands;
    QHash<ScreenId, QPointer<QMdiSubWindow>> m_open;
    bool m_placedBefore = false;
};
