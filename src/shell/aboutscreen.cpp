#include "shell/aboutscreen.h"

#include "widgets/messages.h"
#include "widgets/screenhelpers.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

namespace {

QStringList& viewersForTests()
{
    static QStringList programs;
    return programs;
}

} // namespace

AboutScreen::AboutScreen(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(tr("About Screen"));

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(logo(96));
    auto* title = new QLabel(QStringLiteral("Kelvane"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* version = new QLabel(tr("Version 4.7 - 12/23/2020"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(tr("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(image, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    connect(ok, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(sysInfo, &QPushButton::clicked, this, &AboutScreen::startSysInfo);
}

QStringList AboutScreen::defaultViewers()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor"), QStringLiteral("xfce4-taskmanager")};
}

void AboutScreen::setViewersForTests(const QStringList& programs)
{
    viewersForTests() = programs;
}

void AboutScreen::startSysInfo()
{
    const QStringList candidates = viewersForTests().isEmpty() ? defaultViewers() : viewersForTests();
    for (const QString& program : candidates) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && QProcess::startDetached(path, {})) {
            return;
        }
    }
    showMessage(tr("System Information Is Unavailable At This Time"), MessageStyle::Plain);
}

QPixmap AboutScreen::logo(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 100.0, size / 100.0);

    // A rounded tile with an open book, and a small cross rising from its spine.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2e, 0x5c, 0x8a));
    painter.drawRoundedRect(QRectF(2, 2, 96, 96), 16, 16);

    QPainterPath left;
    left.moveTo(50, 46);
    left.cubicTo(40, 40, 26, 40, 14, 44);
    left.lineTo(14, 84);
    left.cubicTo(26, 80, 40, 80, 50, 86);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(50, 46);
    right.cubicTo(60, 40, 74, 40, 86, 44);
    right.lineTo(86, 84);
    right.cubicTo(74, 80, 60, 80, 50, 86);
    right.closeSubpath();
    painter.setBrush(QColor(0xf4, 0xf1, 0xe8));
    painter.drawPath(left);
    painter.setBrush(QColor(0xe6, 0xe1, 0xd3));
    painter.drawPath(right);

    painter.setPen(QPen(QColor(0xb8, 0xb0, 0x9a), 1.5));
    for (int i = 0; i < 4; ++i) {
        const double y = 52 + i * 7;
        painter.drawLine(QPointF(20, y), QPointF(44, y + 2));
        painter.drawLine(QPointF(56, y + 2), QPointF(80, y));
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
    painter.drawRect(QRectF(47, 10, 6, 30));
    painter.drawRect(QRectF(39, 17, 22, 6));
    return pixmap;
}
