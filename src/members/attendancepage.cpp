#include "members/attendancepage.h"

#include "widgets/controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Controls;

AttendancePage::AttendancePage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pageAttendanceInfo"));
    m_previous = new QPushButton(QStringLiteral("<<"), this);
    m_previous->setObjectName(QStringLiteral("btnPrevMonth"));
    m_month = label(this, {}, QStringLiteral("lblDate"));
    m_month->setAlignment(Qt::AlignCenter);
    m_next = new QPushButton(QStringLiteral(">>"), this);
    m_next->setObjectName(QStringLiteral("btnNextMonth"));
    auto* monthRow = new QHBoxLayout;
    monthRow->addStretch();
    monthRow->addWidget(m_previous);
    monthRow->addWidget(m_month);
    monthRow->addWidget(m_next);
    monthRow->addStretch();

    const QStringList captions = {tr("Sunday School Attendance"), tr("Studied SS Lesson"),
                                  tr("Daily Bible Reading"),      tr("Worship Service Attendance"),
                                  tr("Discipleship Training"),    tr("Sunday Eve Service"),
                                  tr("Wednesday Night")};
    // cal to cal4 above, cal5 to cal7 below, each under its caption.
    auto* calendars = new QGridLayout;
    for (int i = 0; i < captions.size(); ++i) {
        const QString name = i == 0 ? QStringLiteral("cal") : QStringLiteral("cal%1").arg(i + 1);
        QTableView* calendar = grid(this, name);
        m_calendars << calendar;
        const int row = (i / 4) * 2;
        const int column = i % 4;
        calendars->addWidget(label(this, captions.at(i)), row, column);
        calendars->addWidget(calendar, row + 1, column);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(monthRow);
    layout->addLayout(calendars, 1);
}
