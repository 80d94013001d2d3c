#pragma once

#include "navigators/attendancenavigatorstore.h"
#include "navigators/searchscreen.h"

class DateBox;
class QComboBox;
class QLineEdit;

// "Attendance Navigator": finds people by the member criteria and by who attended a category in a week or
// missed it N or more times in a period, and hands the listed people to the member list and the attendance
// count report.
class AttendanceNavigatorScreen final : public SearchScreen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AttendanceNavigatorScreen)

public:
    explicit AttendanceNavigatorScreen(AppContext& context, QWidget* parent = nullptr);
    ~AttendanceNavigatorScreen() override;

    // Refills the criterion lists (nothing chosen), empties the grid and sets the three dates to today.
    void loadSearchValues();
    AttendanceSearchCriteria criteria() const;

protected:
    // Searches after checking the "Missed" number and period; a refusal names the field and runs nothing.
    bool findPeople() override;
    void refillLists(bool keepChoices) override;
    void clearCriteria() override;
    QString countCaption(int count) const override;
    // The count report needs a good period.
    bool readyToPrint(PeopleReport report) override;
    PeopleReportRequest printRequest(PeopleReport report) const override;

private:
    void buildControls();
    void setDatesToToday();
    void refuse(const QString& message, QWidget* field);

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
};
