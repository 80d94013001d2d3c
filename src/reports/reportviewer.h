#pragma once

#include "reports/pagemodel.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;

// "Report Viewer": shows one report page by page, with paging, zoom, fit-to-width, printing through the
// system's print dialog and export to a PDF file. A later report replaces the one it shows.
class ReportViewer final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReportViewer)

public:
    explicit ReportViewer(QWidget* parent = nullptr);
    ~ReportViewer() override;

    // Shows this report from its first page; the zoom stays as the user set it.
    void setDocument(ReportDocument document);
    const ReportDocument& document() const { return m_document; }

    // The page shown, counted from 0.
    int currentPage() const { return m_page; }
    void showPage(int index);
    // 1.0 shows the page at its printed size.
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    // Zooms so that the page's width fills the window.
    void fitToWidth();
    void zoomIn();
    void zoomOut();

    // The system print dialog, then the chosen pages to the chosen printer.
    void printWithDialog();
    // Asks for a file name and writes the report there as PDF.
    void exportPdf();

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

signals:
    // Tells the user what happened, in the main window's status bar ("Wrote members.pdf (12 pages)").
    void statusMessage(const QString& text);

private:
    void buildControls();
    void renderPage();
    void updateControls();
    double screenDpi() const;

    ReportDocument m_document;
    int m_page = 0;
    double m_zoom = 1.0;
    bool m_fitWidth = true;

    QPushButton* m_first = nullptr;
    QPushButton* m_previous = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageCount = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_last = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QPushButton* m_fitWidthButton = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_export = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_pageView = nullptr;
};
