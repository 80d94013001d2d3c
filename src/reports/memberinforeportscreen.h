#pragma once

#include <QWidget>

class ScreenHost;
class QComboBox;

// "Member Information Update Report": one person, every member heading a household, or every active member
// and child of a member; Ok prints their update sheets as one job and closes, Cancel closes.
class MemberInfoReportScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberInfoReportScreen)

public:
    explicit MemberInfoReportScreen(ScreenHost& host);

private:
    void run();

    ScreenHost& m_host;
    QComboBox* m_person = nullptr;
};
