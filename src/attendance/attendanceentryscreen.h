#pragma once

#include "attendance/attendancestore.h"

#include <QWidget>

class AppContext;
class AttendanceEntryModel;
class DateBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableView;

// "Attendance Entry/Edit": lists the people of a week by the criteria, with a box per category to tick, and
// saves the week's marks all at once. Columns a configuration switch hides keep their stored marks.
class AttendanceEntryScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AttendanceEntryScreen)

public:
    explicit AttendanceEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~AttendanceEntryScreen() override;

    // Refills the five criterion lists (nothing chosen), empties the grid and sets the date to today.
    void loadSearchValues();
    // Lists the week of the picked date by the criteria.
    void updateGrids();
    // Writes the listed marks for the week of the picked date, in one transaction. When that is not the
    // listed week the user is asked first. False when nothing was written.
    bool save();
    AttendanceEntryCriteria criteria() const;

    AttendanceEntryModel* model() const { return m_model; }
    // The totals line under the grid.
    QString totalsText() const;

    QSize sizeHint() const override;

private:
    void buildControls();
    void clearCriteria();
    void hideSwitchedColumns();
    void resizeColumns();
    void showTotals();
    // The categories whose columns a switch hides.
    AttendanceColumns hiddenColumns() const;

    AppContext& m_context;
    AttendanceEntryModel* m_model;

    QGroupBox* m_criteriaFrame = nullptr;
    QGroupBox* m_gridFrame = nullptr;
    DateBox* m_weekOf = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_status = nullptr;
    QComboBox* m_churchStatus = nullptr;
    QComboBox* m_ssClass = nullptr;
    QComboBox* m_discClass = nullptr;
    QComboBox* m_wedClass = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_totals = nullptr;
};
