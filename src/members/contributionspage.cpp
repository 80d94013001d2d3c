#include "members/contributionspage.h"

#include "contributions/contributiongridmodel.h"
#include "contributions/contributionstore.h"
#include "core/money.h"
#include "core/textformat.h"
#include "services/appcontext.h"
#include "widgets/chartpanel.h"
#include "widgets/guardedaction.h"

#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/inputchecks.h"
#include "widgets/listhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Controls;

ContributionsPage::ContributionsPage(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_model(new ContributionGridModel(this))
{
    setObjectName(QStringLiteral("pageContributions"));
    m_envelope = lineEdit(this, QStringLiteral("txtEnv"), kTextLength);
    m_envelope->installEventFilter(this);
    m_showInList = checkBox(this, QStringLiteral("chkShowInContributionsList"), tr("Show in Contribution Entry List"));
    m_statement = pickList(this, QStringLiteral("cmbStatement"));
    // In this order: the index is the stored choice.
    m_statement->addItems({tr("Individually"), tr("With household")});
    m_start = datePicker(this, QStringLiteral("dtContributionStartDate"));
    m_end = datePicker(this, QStringLiteral("dtContributionEndDate"));
    // The period's boxes have no caption of their own before them: messages name them by these.
    m_start->setAccessibleName(tr("Contributions From"));
    m_end->setAccessibleName(tr("Contributions To"));
    m_designation = pickList(this, QStringLiteral("cmbContributionDesignation"));
    showsLookupList(m_designation, LookupList::ContributionDesignations);
    auto* refresh = new QPushButton(tr("&Refresh"), this);
    refresh->setObjectName(QStringLiteral("btnRefreshContributions"));
    m_total = lineEdit(this, QStringLiteral("txtContributionTotal"));
    makeDisplayOnly(m_total);
    m_total->setAlignment(Qt::AlignRight);

    auto* envelopeRow = new QHBoxLayout;
    envelopeRow->addWidget(label(this, tr("Envelope No.")));
    envelopeRow->addWidget(m_envelope);
    envelopeRow->addWidget(m_showInList);
    envelopeRow->addSpacing(24);
    envelopeRow->addWidget(label(this, tr("Statement")));
    envelopeRow->addWidget(m_statement);
    envelopeRow->addStretch();

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(m_start);
    filterRow->addWidget(label(this, tr("to")));
    filterRow->addWidget(m_end);
    filterRow->addWidget(label(this, tr("Designation")));
    filterRow->addWidget(m_designation, 1);
    filterRow->addWidget(refresh);

    auto* totalRow = new QHBoxLayout;
    totalRow->addStretch();
    totalRow->addWidget(label(this, tr("Total")));
    totalRow->addWidget(m_total);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(envelopeRow);
    layout->addLayout(filterRow);
    m_grid = grid(this, QStringLiteral("vsfgMemberContributions"));
    m_grid->setModel(m_model);
    m_chart = new ChartPanel(this);
    m_chart->setObjectName(QStringLiteral("chartMonths"));
    m_chart->setMinimumWidth(240);
    auto* giftsRow = new QHBoxLayout;
    giftsRow->addWidget(m_grid, 3);
    giftsRow->addWidget(m_chart, 2);
    layout->addLayout(giftsRow, 1);
    layout->addLayout(totalRow);

    Guard::connect(refresh, &QPushButton::clicked, this, refresh->text(), [this] {
        // Dates typed but not yet left count, as the user sees them.
        if (acceptEntries(this)) {
            loadContributions();
        }
    });
    Guard::connect(m_grid, &QTableView::doubleClicked, this, tr("Open the contribution"),
                   [this](const QModelIndex& index) { openGift(index); });
    Guard::connect(&context.changes(), &ChangeNotifier::contributionsChanged, this, tr("Contributions"),
                   [this](qint64 memberId) {
                       if (memberId == m_memberId && m_memberId > 0) {
                           loadContributions();
                       }
                   });
}

void ContributionsPage::loadContributions()
{
    m_model->clear();
    if (m_memberId <= 0) {
        // An empty screen shows nobody's total, not the last person's.
        m_total->clear();
        m_chart->setData({});
        return;
    }
    // The first entry stands for every designation, whatever its text.
    const std::optional<QString> designation =
        m_designation->currentIndex() > 0 ? std::optional(m_designation->currentText()) : std::nullopt;
    ContributionList list = ContributionStore(m_context.db(), m_context.clock())
                                .memberContributions(m_memberId, m_start->date(), m_end->date(), designation);
    ChartData chart;
    chart.title = tr("Given per month");
    chart.kind = ChartData::Kind::Bars;
    chart.format = [](double dollars) { return formatAmount(qRound64(dollars * 100)); };
    ChartSeries given{tr("Given"), {}};
    for (const auto& [month, cents] : list.monthlyTotals(m_start->date(), m_end->date())) {
        chart.labels << shortMonth(month);
        given.values.push_back(double(cents) / 100.0);
    }
    chart.series.push_back(std::move(given));
    m_chart->setData(std::move(chart));
    m_model->setGifts(std::move(list.gifts));
    m_total->setText(formatAmount(list.totalCents, NegativeAmount::Parentheses));
    m_grid->resizeColumnsToContents();
}

void ContributionsPage::openGift(const QModelIndex& index)
{
    if (const qint64 id = m_model->idAt(index.row()); id > 0) {
        emit m_context.requests().showContribution(id);
    }
}

void ContributionsPage::setLists(const MemberLookupLists& lists)
{
    refill(m_designation, lists.contributionDesignations, tr("***All***"));
}

void ContributionsPage::clear()
{
    m_memberId = 0;
    m_envelope->clear();
    m_showInList->setChecked(false);
    m_statement->setCurrentIndex(0);
}

void ContributionsPage::show(const MemberRecord& r)
{
    m_memberId = r.id;
    m_envelope->setText(r.envelope);
    m_showInList->setChecked(r.showInContributionList);
    m_statement->setCurrentIndex(r.statementWithHousehold ? 1 : 0);
}

void ContributionsPage::readInto(MemberRecord& r) const
{
    r.envelope = m_envelope->text();
    r.showInContributionList = m_showInList->isChecked();
    r.statementWithHousehold = m_statement->currentIndex() == 1;
}

void ContributionsPage::resetFilter(const QDate& today)
{
    m_start->setDate(QDate(today.year(), 1, 1));
    m_end->setDate(today);
    m_designation->setCurrentIndex(m_designation->count() > 0 ? 0 : -1);
    loadContributions();
}

bool ContributionsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_envelope && event->type() == QEvent::FocusOut) {
        // Leaving for another window or a pop-up is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            emit envelopeLeft();
        }
    }
    return QWidget::eventFilter(watched, event);
}
