#pragma once

#include <QWidget>

class DateBox;
class ScreenHost;
class QComboBox;
class QListWidget;

// "Prospect Contact Sheet": one person chosen from everybody; Ok previews his visitation sheet and closes,
// Cancel closes.
class ProspectContactSheetScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProspectContactSheetScreen)

public:
    explicit ProspectContactSheetScreen(ScreenHost& host);

private:
    void run();

    ScreenHost& m_host;
    QComboBox* m_prospect = nullptr;
};

// "Sunday School Prospect Listing Report": Sunday School classes and, optionally, next actions with a period;
// Ok prints, class by class, the class's prospect listing and a visitation sheet for each of its active
// prospects whose next contact falls in the period with one of the chosen actions, then closes.
class ProspectListingReportScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProspectListingReportScreen)

public:
    explicit ProspectListingReportScreen(ScreenHost& host);

private:
    void run();

    ScreenHost& m_host;
    QListWidget* m_classes = nullptr;
    QListWidget* m_actions = nullptr;
    DateBox* m_start = nullptr;
    DateBox* m_end = nullptr;
};
