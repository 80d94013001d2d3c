#include "dashboard/dashboardtile.h"

#include "widgets/chartpanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DashboardTile::DashboardTile(const QString& name, const QString& caption, QWidget* parent)
    : QFrame(parent)
    , m_open(new QPushButton(caption, this))
    , m_number(new QLabel(this))
    , m_what(new QLabel(this))
    , m_note(new QLabel(this))
{
    setObjectName(name);
    setFrameShape(QFrame::StyledPanel);
    m_open->setObjectName(name + QStringLiteral("Open"));
    m_open->setFlat(true);
    QFont captionFont = m_open->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.2);
    m_open->setFont(captionFont);
    m_open->setCursor(Qt::PointingHandCursor);
    m_number->setObjectName(name + QStringLiteral("Number"));
    QFont numberFont = m_number->font();
    numberFont.setBold(true);
    numberFont.setPointSizeF(numberFont.pointSizeF() * 2.2);
    m_number->setFont(numberFont);
    m_what->setWordWrap(true);
    m_note->setObjectName(name + QStringLiteral("Note"));
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::RichText);

    auto* top = new QHBoxLayout;
    top->addWidget(m_open);
    top->addStretch();
    auto* number = new QHBoxLayout;
    number->addWidget(m_number);
    number->addWidget(m_what, 1);
    m_body = new QVBoxLayout(this);
    m_body->addLayout(top);
    m_body->addLayout(number);
    m_body->addWidget(m_note);
    connect(m_open, &QPushButton::clicked, this, &DashboardTile::opened);
}

void DashboardTile::setNumber(const QString& number, const QString& what)
{
    m_number->setText(number);
    m_what->setText(what);
    m_number->setAccessibleName(what);
}

void DashboardTile::setNote(const QString& richText)
{
    m_note->setText(richText);
}

ChartPanel* DashboardTile::chart()
{
    if (!m_chart) {
        m_chart = new ChartPanel(this);
        m_chart->setObjectName(objectName() + QStringLiteral("Chart"));
        m_chart->setMinimumHeight(170);
        m_body->addWidget(m_chart, 1);
        connect(m_chart, &ChartPanel::activated, this, &DashboardTile::opened);
    }
    return m_chart;
}

QString DashboardTile::numberText() const
{
    return m_number->text();
}
