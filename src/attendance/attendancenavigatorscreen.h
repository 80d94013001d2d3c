#pragma once

#include "navigators/attendancenavigatorstore.h"

#include <QDate>
#include <QList>
#include <QWidget>

class AppContext;
class DateBox;
class MemberGridModel;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QTableView;

// "Attendance Navigator": finds people by the member criteria and by who attended a category in a week or
// missed it N or more times in a period, and hands the listed people to the member list and the attendance
// count report.
class AttendanceNavigatorScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AttendanceNavigatorScreen)

public:
    enum class Report { MemberList, AttendanceCount };

    explicit AttendanceNavigatorScreen(AppContext& context, QWidget* parent = nullptr);
    ~AttendanceNavigatorScreen() override;

    // Refills the criterion lists (nothing chosen), empties the grid and sets the three dates to today.
    void loadSearchValues();
    // Runs the search after checking the "Missed" number and period; a refusal names the field and runs
    // nothing. False when refused.
    bool updateGrids();
    AttendanceSearchCriteria criteria() const;

    MemberGridModel* model() const { return m_model; }

    QSize sizeHint() const override;

signals:
    // A print button passed its permission and checks with people listed: the report, the IDs in grid
    // order and the "Missed" period (used by the count report).
    void reportRequested(AttendanceNavigatorScreen::Report report, const QList<qint64>& memberIds, const QDate& from,
                         const QDate& to);

private:
    void buildControls();
    void clearCriteria();
    void setDatesToToday();
    void showCount();
    void print(Report report);
    void refuse(const QString& message, QWidget* field);

    AppContext& m_context;
    MemberGridModel* m_model;

    QGroupBox* m_criteriaFrame = nullptr;
    QGroupBox* m_gridFrame = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_status = nullptr;
    QComboBox* m_churchStatus = nullptr;
    QComboBox* m_ssClass = nullptr;
    QComboBox* m_discClass = nullptr;
    QComboBox* m_wedClass = nullptr;
    QComboBox* m_attended = nullptr;
    DateBox* m_attendDay = nullptr;
    QComboBox* m_missed = nullptr;
    QLineEdit* m_missedCount = nullptr;
    DateBox* m_start = nullptr;
    DateBox* m_end = nullptr;
    QTableView* m_grid = nullptr;
};
