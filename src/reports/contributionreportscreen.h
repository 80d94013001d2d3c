#pragma once

#include <QDate>
#include <QWidget>

class DateBox;
class ScreenHost;
class QComboBox;

// "Contributions Entry Control Report" and "Member Contributions Report": a period (a start "Date" and an
// end "to", today to begin with) and, for the statements, "***All***" or one person and a "Year" that sets
// both dates. Ok refuses a start after the end, else previews the report and closes; Cancel closes.
class ContributionReportScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContributionReportScreen)

public:
    enum class Report { EntryControl, MemberContributions };

    ContributionReportScreen(ScreenHost& host, Report report);

    // Puts the period in both date boxes (another screen's request).
    void setPeriod(const QDate& from, const QDate& to);

private:
    void yearChosen();
    void run();

    ScreenHost& m_host;
    Report m_report;
    QComboBox* m_member = nullptr;
    QComboBox* m_year = nullptr;
    DateBox* m_start = nullptr;
    DateBox* m_end = nullptr;
};
