#include "shell/mainwindow.h"

#include "shell/appcontext.h"

#include <QAction>
#include <QMdiArea>
#include <QMenuBar>

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_mdi(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDI"));
    setWindowTitle(tr("Kelvane"));
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdi);
    buildMenus();
    resize(1024, 768);
}

void MainWindow::buildMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_fileMenu->setObjectName(QStringLiteral("File"));
    m_exitAction = m_fileMenu->addAction(tr("E&xit"));
    m_exitAction->setObjectName(QStringLiteral("Exit"));
    connect(m_exitAction, &QAction::triggered, this, &MainWindow::exitRequested);
}

void MainWindow::disableMenus()
{
    for (QAction* action : findChildren<QAction*>()) {
        action->setEnabled(false);
    }
    m_fileMenu->menuAction()->setEnabled(true);
    m_exitAction->setEnabled(true);
}

void MainWindow::enableMenus()
{
    for (QAction* action : findChildren<QAction*>()) {
        action->setEnabled(true);
    }
}
