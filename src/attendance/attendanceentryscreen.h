#pragma once

#include "attendance/attendancestore.h"
#include "widgets/unsavedchanges.h"

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
// saves the week's marks all at once. Columns a configuration switch hides keep their stored marks. Ticks not
// saved are asked about before they go: a new Find, Clear, and every way of closing the screen.
class AttendanceEntryScreen final
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AttendanceEntryScreen)

public:
    explicit AttendanceEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~AttendanceEntryScreen() override;

    // Refills the five criterion lists (nothing chosen), empties the grid and sets the date to today.
    void loadSearchValues();
    // Lists the week of the picked date by the criteria, once ticks not saved are saved or let go.
    void updateGrids();
    // Picks the day and lists its week.
    void showWeek(const QDate& day);
    // Writes the listed marks for the week of the picked date, in one transaction, and says in the status bar
    // how many people's marks it changed. When that is not the listed week the user is asked first. False
    // when nothing was written.
    bool save();
    AttendanceEntryCriteria criteria() const;

    AttendanceEntryModel* model() const { return m_model; }
    // The totals line under the grid.
    QString totalsText() const;

    QSize sizeHint() const override;

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    // "Save the attendance of the week of <Sunday>?"
    QString saveQuestion() const override;
    bool saveRecord() override;

private:
    void buildControls();
    void clearCriteria();
    void hideSwitchedColumns();
    void resizeColumns();
    void showTotals();
    void showPickedWeek();
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
    QLabel* m_pickedWeek = nullptr;
};
