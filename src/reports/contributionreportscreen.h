#pragma once

#include <QDate>
#include <QWidget>

#include <optional>

class DateBox;
class ScreenHost;
class QComboBox;

// "Contributions Entry Control Report" and "Member Contributions Report": a period (a start "Date" and an
// end "to", today to begin with) and, for the statements, "***All***" or one person and a "Year" that sets
// both dates. Ok refuses a start after the end, else previews the report and closes; Cancel closes. The
// statements also go as one PDF file each into a folder (Save as Files) or by e-mail through the mail server of
// Setup (Send by E-mail, asking its password each time), each telling what it did.
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
    // The period on screen, or nothing after telling what is wrong with it.
    std::optional<std::pair<QDate, QDate>> chosenPeriod();
    void saveFiles();
    void sendEmail();

    ScreenHost& m_host;
    Report m_report;
    QComboBox* m_member = nullptr;
    QComboBox* m_year = nullptr;
    DateBox* m_start = nullptr;
    DateBox* m_end = nullptr;
};
