#include "reports/rollreportscreen.h"

#include "reports/reportheading.h"
#include "reports/reportoutput.h"
#include "reports/rollreports.h"
#include "services/appcontext.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/pairedlist.h"
#include "widgets/screenhelpers.h"
#include "widgets/screenhost.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* titleOf(ClassKind kind)
{
    switch (kind) {
        case ClassKind::SundaySchool:
            return QT_TRANSLATE_NOOP("RollReportScreen", "Sunday School Roll Report");
        case ClassKind::DiscipleshipTraining:
            return QT_TRANSLATE_NOOP("RollReportScreen", "Discipleship Training Roll Report");
        case ClassKind::WednesdayNight:
            break;
    }
    return QT_TRANSLATE_NOOP("RollReportScreen", "Wednesday Night Roll Report");
}

} // namespace

RollReportScreen::RollReportScreen(ScreenHost& host, ClassKind kind)
    : QWidget(host.frame())
    , m_host(host)
    , m_kind(kind)
{
    setWindowTitle(tr(titleOf(kind)));
    m_date = Controls::datePicker(this, QStringLiteral("dtDate"));
    m_date->setDate(host.context().clock().today());
    m_class = Controls::pickList(this, QStringLiteral("cmbClass"));
    PairedList::fill(m_class, NamedIds{{0, tr("(All classes)")}} + LookupStore(host.context().db()).classes(kind));
    m_class->setCurrentIndex(0);
    m_class->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* form = new QFormLayout;
    form->addRow(Controls::label(this, tr("Date")), m_date);
    form->addRow(Controls::label(this, tr("Class")), m_class);

    auto* ok = Controls::button(this, QStringLiteral("btnOK"), tr("&Ok"));
    auto* cancel = Controls::button(this, QStringLiteral("btnCancel"), tr("&Cancel"));
    auto* buttons = Controls::buttonRow({ok, cancel});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    Guard::connect(ok, &QPushButton::clicked, this, tr("Roll"), [this] { run(); });
    connect(cancel, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void RollReportScreen::run()
{
    if (!Controls::acceptEntries(this)) {
        return;
    }
    const QDate rollDate = m_date->date();
    const qint64 chosen = PairedList::selectedIdOrZero(m_class);
    const QList<qint64> classes = chosen > 0 ? QList<qint64>{chosen} : QList<qint64>{};
    ReportOutput::run(
        m_host,
        [this, rollDate, classes] {
            AppContext& context = m_host.context();
            return RollReports(context.db(), reportHeading(context)).printRoll(m_kind, rollDate, classes);
        },
        true);
    closeScreen(this);
}
