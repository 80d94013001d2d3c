#pragma once

#include <QMainWindow>

class AppContext;
class QMdiArea;
class QMenu;

// The frame of the program: an MDI area holding every screen, and the menu bar.
class MainWindow final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);

    AppContext& context() { return m_context; }
    QMdiArea* mdiArea() const { return m_mdi; }

    // Disables every menu entry but File and File > Exit (logged out).
    void disableMenus();
    // Enables every menu entry (logged in).
    void enableMenus();

signals:
    // Asked to end the program (File > Exit).
    void exitRequested();

private:
    void buildMenus();

    AppContext& m_context;
    QMdiArea* m_mdi;
    QMenu* m_fileMenu = nullptr;
    QAction* m_exitAction = nullptr;
};
