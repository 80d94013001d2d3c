#pragma once

#include "shell/lookupstore.h"

#include <QWidget>

class DateBox;
class MainWindow;

// "Sunday School Roll Report" and its two siblings: the roll date (today to start with), then Ok previews the
// rolls of every class of the kind and closes; Cancel closes.
class RollReportScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RollReportScreen)

public:
    RollReportScreen(MainWindow& window, ClassKind kind);

private:
    void run();

    MainWindow& m_window;
    ClassKind m_kind;
    DateBox* m_date = nullptr;
};
