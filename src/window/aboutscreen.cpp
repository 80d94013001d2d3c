#include "window/aboutscreen.h"

#include "widgets/appicon.h"

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

AboutScreen::AboutScreen(const QString& build, QWidget* parent)
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
    auto* buildLine = new QLabel(build, this);
    buildLine->setObjectName(QStringLiteral("lblBuild"));
    buildLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* sysInfo = new QPushButton(tr("&System Info..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(image, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1, Qt::AlignTop);
    layout->addWidget(buildLine, 2, 1, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    layout->addLayout(buttons, 3, 0, 1, 2);
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
    return appLogo(size);
}
