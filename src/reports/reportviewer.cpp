#include "reports/reportviewer.h"

#include "reports/reportpainter.h"
#include "reports/reportprinting.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QList<int> kZoomSteps = {50, 75, 100, 125, 150, 200, 300};
// Room left around the page inside the viewing area, in pixels.
constexpr int kPageMargin = 12;

} // namespace

ReportViewer::ReportViewer(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Report Viewer"));
    buildControls();
    updateControls();
}

ReportViewer::~ReportViewer() = default;

void ReportViewer::buildControls()
{
    auto button = [this](const char* name, const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromUtf8(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        return b;
    };
    m_first = button("btnFirst", QStringLiteral("|<"), tr("First page"));
    m_previous = button("btnPrevious", QStringLiteral("<"), tr("Previous page"));
    m_next = button("btnNext", QStringLiteral(">"), tr("Next page"));
    m_last = button("btnLast", QStringLiteral(">|"), tr("Last page"));
    m_pageBox = new QSpinBox(this);
    m_pageBox->setObjectName(QStringLiteral("txtPage"));
    m_pageBox->setKeyboardTracking(false);
    m_pageCount = new QLabel(this);
    m_pageCount->setObjectName(QStringLiteral("lblPageCount"));
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("cmbZoom"));
    m_zoomBox->addItem(tr("Fit Width"), 0);
    for (int step : kZoomSteps) {
        m_zoomBox->addItem(QStringLiteral("%1%").arg(step), step);
    }
    m_fitWidthButton = button("btnFitWidth", tr("&Fit Width"), tr("Zoom so that the page fills the window's width"));
    m_print = button("btnPrint", tr("&Print..."), tr("Print the report (Ctrl+P)"));
    m_export = button("btnExportPdf", tr("&Export PDF..."), tr("Save the report as a PDF file"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_first);
    bar->addWidget(m_previous);
    bar->addWidget(new QLabel(tr("Page"), this));
    bar->addWidget(m_pageBox);
    bar->addWidget(m_pageCount);
    bar->addWidget(m_next);
    bar->addWidget(m_last);
    bar->addSpacing(16);
    bar->addWidget(new QLabel(tr("Zoom"), this));
    bar->addWidget(m_zoomBox);
    bar->addWidget(m_fitWidthButton);
    bar->addStretch(1);
    bar->addWidget(m_print);
    bar->addWidget(m_export);

    m_pageView = new QLabel;
    m_pageView->setObjectName(QStringLiteral("lblPageView"));
    m_pageView->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("CRViewer"));
    m_scroll->setWidget(m_pageView);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(m_scroll);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_first, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(m_previous, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(m_last, &QPushButton::clicked, this, [this] { showPage(m_document.pageCount() - 1); });
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int page) { showPage(page - 1); });
    connect(m_zoomBox, &QComboBox::activated, this, [this](int index) {
        const int percent = m_zoomBox->itemData(index).toInt();
        if (percent == 0) {
            fitToWidth();
        } else {
            setZoom(percent / 100.0);
        }
    });
    connect(m_fitWidthButton, &QPushButton::clicked, this, &ReportViewer::fitToWidth);
    connect(m_print, &QPushButton::clicked, this, &ReportViewer::printWithDialog);
    connect(m_export, &QPushButton::clicked, this, &ReportViewer::exportPdf);

    auto shortcut = [this](const QKeySequence& keys, auto slot) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::Key_PageDown), [this] { showPage(m_page + 1); });
    shortcut(QKeySequence(Qt::Key_PageUp), [this] { showPage(m_page - 1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { showPage(0); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { showPage(m_document.pageCount() - 1); });
    shortcut(QKeySequence::ZoomIn, [this] { zoomIn(); });
    shortcut(QKeySequence::ZoomOut, [this] { zoomOut(); });
    shortcut(QKeySequence::Print, [this] { printWithDialog(); });
}

QSize ReportViewer::sizeHint() const
{
    return {900, 700};
}

void ReportViewer::setDocument(ReportDocument document)
{
    m_document = std::move(document);
    m_page = 0;
    if (m_fitWidth) {
        fitToWidth();
    } else {
        renderPage();
    }
    m_scroll->verticalScrollBar()->setValue(0);
    m_scroll->horizontalScrollBar()->setValue(0);
    updateControls();
}

void ReportViewer::showPage(int index)
{
    if (m_document.isEmpty()) {
        return;
    }
    const int page = std::clamp(index, 0, m_document.pageCount() - 1);
    if (page != m_page) {
        m_page = page;
        renderPage();
        m_scroll->verticalScrollBar()->setValue(0);
    }
    updateControls();
}

void ReportViewer::setZoom(double zoom)
{
    m_fitWidth = false;
    m_zoom = std::clamp(zoom, 0.25, 4.0);
    renderPage();
    updateControls();
}

void ReportViewer::fitToWidth()
{
    m_fitWidth = true;
    const double paperInches = m_document.paperSize().width() / 72.0;
    const int scrollBar = m_scroll->verticalScrollBar()->sizeHint().width();
    const double room = std::max(100, m_scroll->viewport()->width() - scrollBar - 2 * kPageMargin);
    m_zoom = std::clamp(room / (paperInches * screenDpi()), 0.25, 4.0);
    renderPage();
    updateControls();
}

void ReportViewer::zoomIn()
{
    for (int step : kZoomSteps) {
        if (step > std::lround(m_zoom * 100)) {
            setZoom(step / 100.0);
            return;
        }
    }
}

void ReportViewer::zoomOut()
{
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
        if (*it < std::lround(m_zoom * 100)) {
            setZoom(*it / 100.0);
            return;
        }
    }
}

double ReportViewer::screenDpi() const
{
    return logicalDpiX() > 0 ? logicalDpiX() : 96.0;
}

void ReportViewer::renderPage()
{
    if (m_document.isEmpty()) {
        m_pageView->clear();
        return;
    }
    const double ratio = devicePixelRatioF();
    const int dpi = std::max(10, int(std::lround(m_zoom * screenDpi() * ratio)));
    QImage image = ReportPainter::pageImage(m_document, m_page, dpi);
    image.setDevicePixelRatio(ratio);
    m_pageView->setPixmap(QPixmap::fromImage(image));
}

void ReportViewer::updateControls()
{
    const int pages = m_document.pageCount();
    const bool any = pages > 0;
    {
        const QSignalBlocker blocker(m_pageBox);
        m_pageBox->setRange(any ? 1 : 0, std::max(pages, 0));
        m_pageBox->setValue(any ? m_page + 1 : 0);
    }
    m_pageBox->setEnabled(pages > 1);
    m_pageCount->setText(tr("of %1").arg(pages));
    m_first->setEnabled(m_page > 0);
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < pages);
    m_last->setEnabled(m_page + 1 < pages);
    m_print->setEnabled(any);
    m_export->setEnabled(any);
    const QSignalBlocker blocker(m_zoomBox);
    const int percent = int(std::lround(m_zoom * 100));
    const int index = m_fitWidth ? 0 : m_zoomBox->findData(percent);
    if (index >= 0) {
        m_zoomBox->setCurrentIndex(index);
    } else {
        m_zoomBox->setCurrentIndex(-1);
        m_zoomBox->setPlaceholderText(QStringLiteral("%1%").arg(percent));
    }
}

void ReportViewer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_fitWidth) {
        fitToWidth();
    }
}

void ReportViewer::printWithDialog()
{
    ReportOutput::printWithDialog(this, m_document);
}

void ReportViewer::exportPdf()
{
    const QString written = ReportOutput::exportPdf(this, m_document);
    if (!written.isEmpty()) {
        const int pages = m_document.pageCount();
        const QString name = QFileInfo(written).fileName();
        emit statusMessage(tr("Wrote %1 (%n page(s))", nullptr, pages).arg(name));
    }
}
