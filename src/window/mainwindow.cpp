#include "window/mainwindow.h"

#include "services/appcontext.h"
#include "widgets/appicon.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenaccesskeys.h"
#include "window/aboutscreen.h"
#include "window/keyboardshortcutsscreen.h"
#include "window/loginscreen.h"
#include "window/menucommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

// The frame width at which the title bar shows the whole title: the frame's width grown by what the room the
// style leaves for the title lacks. The title is measured bold, as some styles draw it, with the margin they
// keep beside it and a letter to spare.
int widthForTitle(const QMdiSubWindow* window)
{
    const QStyle* style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    QStyleOptionTitleBar bar;
    bar.initFrom(window);
    bar.text = window->windowTitle();
    bar.subControls = QStyle::SC_All;
    bar.titleBarFlags = window->windowFlags();
    bar.titleBarState = window->windowState();
    bar.rect = QRect(border, border, window->width() - 2 * border,
                     style->pixelMetric(QStyle::PM_TitleBarHeight, &bar, window));
    const int room = style->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarLabel, window).width();
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int kStyleMargin = 14;
    const int needed = metrics.horizontalAdvance(bar.text) + kStyleMargin + metrics.averageCharWidth();
    return window->width() + std::max(0, needed - room);
}

} // namespace

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_mdi(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDI"));
    // Every window of the program, the dialogs and message boxes included, shows Kelvane's own icon.
    QApplication::setWindowIcon(appIcon());
    setWindowTitle(tr("Kelvane"));
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    new ScreenAccessKeys(m_mdi);
    addEntries(nullptr, menuTree());

    registerCommand(CommandId::LogOff, [this] { logOff(); });
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    connect(&m_context.requests(), &ScreenRequests::showStatus, this,
            [this](const QString& text) { showStatus(this, text); });
    registerCommand(CommandId::Exit, [this] { closeAndExit(); });
    registerScreen(ScreenId::Login, [this](ScreenHost&) { return new LoginScreen(*this); });
    registerScreen(ScreenId::About, [this](ScreenHost&) { return new AboutScreen(m_buildDescription); });
    registerScreen(ScreenId::KeyboardShortcuts,
                   [this](ScreenHost&) { return new KeyboardShortcutsScreen(*this, this); });

    resize(QSize(1200, 850).boundedTo(screen()->availableGeometry().size()));
    QSettings settings;
    m_placedBefore = restoreGeometry(settings.value(QStringLiteral("mainWindow/geometry")).toByteArray());
}

MainWindow::~MainWindow() = default;

void MainWindow::addEntries(QMenu* menu, const QList<MenuEntry>& entries)
{
    for (const MenuEntry& entry : entries) {
        if (entry.isSubmenu()) {
            QMenu* sub = menu ? menu->addMenu(entry.caption) : menuBar()->addMenu(entry.caption);
            sub->setObjectName(entry.name);
            sub->menuAction()->setObjectName(entry.name);
            m_actions.insert(entry.name, sub->menuAction());
            addEntries(sub, entry.children);
            continue;
        }
        QAction* action = menu->addAction(entry.caption);
        action->setObjectName(entry.name);
        m_actions.insert(entry.name, action);
        const QString name = entry.name;
        connect(action, &QAction::triggered, this, [this, name] { runCommand(name); });
    }
}

void MainWindow::registerScreen(ScreenId screen, ScreenFactory factory)
{
    if (m_factories.contains(screen)) {
        throw std::logic_error("screen registered twice: " + screenName(screen).toStdString());
    }
    m_factories.insert(screen, std::move(factory));
}

void MainWindow::registerCommand(CommandId command, std::function<void()> action)
{
    if (m_commands.contains(command)) {
        throw std::logic_error("command registered twice: " + commandName(command).toStdString());
    }
    m_commands.insert(command, std::move(action));
}

bool MainWindow::isRegistered(ScreenId screen) const
{
    return m_factories.contains(screen);
}

bool MainWindow::isRegistered(CommandId command) const
{
    return m_commands.contains(command);
}

QSize MainWindow::screenRoom() const
{
    return m_mdi->viewport()->size();
}

void MainWindow::addStatusWidget(QWidget* widget)
{
    statusBar()->addPermanentWidget(widget);
}

void MainWindow::afterLogin(QObject* receiver, std::function<void()> action)
{
    connect(this, &MainWindow::loggedIn, receiver, std::move(action), Qt::QueuedConnection);
}

QWidget* MainWindow::findScreen(ScreenId screenId) const
{
    const QPointer<QMdiSubWindow> window = m_open.value(screenId);
    return window ? window->widget() : nullptr;
}

QWidget* MainWindow::openScreen(ScreenId screenId)
{
    if (QWidget* open = findScreen(screenId)) {
        m_mdi->setActiveSubWindow(m_open.value(screenId));
        return open;
    }
    const auto factory = m_factories.constFind(screenId);
    if (factory == m_factories.constEnd()) {
        return nullptr;
    }
    QWidget* screen = (*factory)(*this);
    if (screen == nullptr) {
        return nullptr;
    }
    screen->setObjectName(screenName(screenId));
    // A screen may ask for a frame without some buttons by setting window hints on itself.
    const Qt::WindowFlags hints = screen->windowFlags() & ~Qt::WindowType_Mask;
    QMdiSubWindow* window = m_mdi->addSubWindow(screen, hints ? Qt::SubWindow | hints : Qt::WindowFlags());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(screen->windowTitle());
    window->move(0, 0);
    m_open.insert(screenId, window);
    window->show();
    // A screen narrower than its title is widened to show the title whole. A screen larger than the room the
    // main window gives is cut to fit; its pages scroll inside it.
    window->resize(QSize(widthForTitle(window), window->height()).boundedTo(m_mdi->viewport()->size()));
    m_mdi->setActiveSubWindow(window);
    return screen;
}

std::unique_ptr<QWidget> MainWindow::buildScreen(ScreenId screenId)
{
    const auto factory = m_factories.constFind(screenId);
    if (factory == m_factories.constEnd()) {
        return nullptr;
    }
    std::unique_ptr<QWidget> screen((*factory)(*this));
    if (screen) {
        screen->setObjectName(screenName(screenId));
    }
    return screen;
}

void MainWindow::showWhereLeft()
{
    if (m_placedBefore) {
        show();
    } else {
        showMaximized();
    }
}

void MainWindow::runCommand(const QString& entryName)
{
    const MenuEntry* entry = findMenuEntry(entryName);
    if (entry == nullptr || entry->isSubmenu()) {
        return;
    }
    Guard::run(entry->caption, [this, entry] {
        if (!entry->permissions.isEmpty() && !checkPermission(m_context, entry->permissions, entry->refusal)) {
            return;
        }
        if (entry->adminOnly && !Permissions::isAdmin(m_context.user())) {
            showMessage(Permissions::refusalText(entry->refusal), MessageStyle::Warning, Permissions::refusalTitle());
            return;
        }
        if (entry->command) {
            if (const auto command = m_commands.constFind(*entry->command); command != m_commands.constEnd()) {
                (*command)();
            }
            return;
        }
        if (entry->screen) {
            openScreen(*entry->screen);
        }
    });
}

QAction* MainWindow::menuAction(const QString& entryName) const
{
    return m_actions.value(entryName);
}

void MainWindow::disableMenus()
{
    showAdminEntries(false);
    for (QAction* action : std::as_const(m_actions)) {
        action->setEnabled(false);
    }
    m_actions.value(QStringLiteral("File"))->setEnabled(true);
    m_actions.value(QStringLiteral("Exit"))->setEnabled(true);
}

void MainWindow::enableMenus()
{
    for (QAction* action : std::as_const(m_actions)) {
        action->setEnabled(true);
    }
    showAdminEntries(Permissions::isAdmin(m_context.user()));
    emit loggedIn();
}

void MainWindow::showAdminEntries(bool shown)
{
    const std::function<void(const QList<MenuEntry>&)> walk = [&](const QList<MenuEntry>& entries) {
        for (const MenuEntry& entry : entries) {
            if (entry.adminOnly) {
                m_actions.value(entry.name)->setVisible(shown);
            }
            walk(entry.children);
        }
    };
    walk(menuTree());
}

bool MainWindow::closeAllScreens()
{
    QMdiSubWindow* login = m_open.value(ScreenId::Login);
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        // The login screen closes only by logging in; it never holds anything to save.
        if (window != login && !window->close()) {
            return false;
        }
    }
    return true;
}

bool MainWindow::logOff()
{
    if (!closeAllScreens()) {
        return false;
    }
    m_context.setUser({});
    disableMenus();
    openScreen(ScreenId::Login);
    return true;
}

void MainWindow::closeAndExit()
{
    if (closeAllScreens()) {
        emit exitRequested();
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!closeAllScreens()) {
        event->ignore();
        return;
    }
    QSettings settings;
    settings.setValue(QStringLiteral("mainWindow/geometry"), saveGeometry());
    event->accept();
}
