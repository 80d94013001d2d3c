#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "widgets/screenhost.h"

#include <functional>
#include <memory>

class AppContext;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
struct MenuEntry;

// The frame of the program: an MDI area holding every screen, and the menu bar built from the menu
// table. Screens are created by the factories the features registered and opened at most once.
class MainWindow final
    : public QMainWindow
    , public ScreenHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppContext& context() override { return m_context; }
    QWidget* frame() override { return this; }
    // What About says of this build ("Kelvane 4.7, built …") below the version line.
    void setBuildDescription(const QString& text) { m_buildDescription = text; }
    // Shows the window where it was left at the last close, or filled out over the screen on a first start.
    void showWhereLeft();
    QMdiArea* mdiArea() const { return m_mdi; }

    void registerScreen(ScreenId screen, ScreenFactory factory) override;
    void registerCommand(CommandId command, std::function<void()> action) override;
    bool isRegistered(ScreenId screen) const override;
    bool isRegistered(CommandId command) const override;

    // Opens the screen as a child window placed at the top left, or brings the open one to the front.
    QWidget* openScreen(ScreenId screen) override;
    QWidget* findScreen(ScreenId screen) const override;
    using ScreenHost::findScreen;
    using ScreenHost::openScreen;
    // Builds the screen as openScreen does, without showing it or counting it as open, for reading what it
    // holds; nullptr when no such screen is registered.
    std::unique_ptr<QWidget> buildScreen(ScreenId screen);
    QSize screenRoom() const override;
    void addStatusWidget(QWidget* widget) override;
    void afterLogin(QObject* receiver, std::function<void()> action) override;

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
    bool logOff() override;
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
    QHash<CommandId, std::function<void()>> m_commands;
    QHash<ScreenId, QPointer<QMdiSubWindow>> m_open;
    bool m_placedBefore = false;
    QString m_buildDescription;
};
