#pragma once

#include "services/lookupstore.h"

#include <QWidget>

class DateBox;
class QComboBox;
class ScreenHost;

// "Sunday School Roll Report" and its two siblings: the roll date (today to start with) and the class (every
// class to start with, or one of them), then Ok previews the rolls and closes; Cancel closes.
class RollReportScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RollReportScreen)

public:
    RollReportScreen(ScreenHost& host, ClassKind kind);

private:
    void run();

    ScreenHost& m_host;
    ClassKind m_kind;
    DateBox* m_date = nullptr;
    QComboBox* m_class = nullptr;
};
