#pragma once

#include "print/preparedreport.h"
#include "print/reportengine.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;
class PreviewPageWidget;

// The print preview: one page at a time, zoom, page navigation, print to the
// default printer, save as PDF, export (PDF, PNG, HTML, CSV, text) and page setup.
class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    explicit ReportPreview(const ReportEngine& engine, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const PreparedReport& prepared() const { return m_prepared; }
    int currentPage() const { return m_page; } // 0-based
    double zoom() const { return m_zoom; } // 1.0 = actual size
    const ReportEngine& engine() const { return m_engine; }

public slots:
    void firstPage();
    void priorPage();
    void nextPage();
    void lastPage();
    void setPage(int page);
    void setZoom(double zoom);
    void printReport();
    // Save and export ask for a file (PrintFileDialogs) and write it; true when written.
    bool saveAsPdf();
    bool exportAs(const QString& kind); // "pdf", "png", "html", "csv", "txt"
    void pageSetup();
    // Prepares the pages anew (after page setup).
    void refresh();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void updateView();
    void applyZoomChoice();

    ReportEngine m_engine;
    PreparedReport m_prepared;
    int m_page = 0;
    double m_zoom = 1.0;
    int m_fitMode = 0; // 0 fixed, 1 page width, 2 whole page
    QScrollArea* m_scroll = nullptr;
    PreviewPageWidget* m_view = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QLabel* m_pageLabel = nullptr;
};
