#pragma once

#include "dashboard/dashboardstore.h"

#include <QWidget>

#include <optional>

class AppContext;
class DashboardTile;
class QCheckBox;
class QPushButton;

// "Dashboard": the church at a glance in four tiles (attendance, the roll, giving for logins with "Member
// Contributions", people to care for), each opening the screen that holds its detail. The figures are read
// when the screen opens and again on Refresh.
class DashboardScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DashboardScreen)

public:
    explicit DashboardScreen(AppContext& context, QWidget* parent = nullptr);
    ~DashboardScreen() override;

    // Reads every tile's figures again and shows them.
    void refresh();

    // Whether the login opens the dashboard right after logging in (kept per login in the settings).
    static bool showsAfterLogin(const QString& userName);
    static void setShowsAfterLogin(const QString& userName, bool show);

    DashboardTile* attendanceTile() const { return m_attendance; }
    DashboardTile* rollTile() const { return m_roll; }
    DashboardTile* givingTile() const { return m_giving; }
    DashboardTile* careTile() const { return m_care; }

private:
    void buildControls();
    void showAttendance(const AttendanceTileFigures& f);
    void showRoll(const RollTileFigures& f);
    void showGiving(const GivingTileFigures& f);
    void showCare(const CareTileFigures& f);
    QList<int> shownCategories() const;

    AppContext& m_context;
    bool m_showsGiving = false;
    std::optional<AttendanceTileFigures> m_attendanceFigures;
    std::optional<CareTileFigures> m_careFigures;
    DashboardTile* m_attendance = nullptr;
    DashboardTile* m_roll = nullptr;
    DashboardTile* m_giving = nullptr;
    DashboardTile* m_care = nullptr;
    QPushButton* m_absent = nullptr;
    QPushButton* m_due = nullptr;
    QPushButton* m_occasions = nullptr;
    QCheckBox* m_afterLogin = nullptr;
};
