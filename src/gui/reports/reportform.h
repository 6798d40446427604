#pragma once
// The report viewer: a child window of the main window with the pages of one printout,
// its title as the caption, and the commands a print preview has (first, previous, a page
// number, next and last page; fit width, whole page and percentages; print; save as PDF).
// Several can be open at once.
#include <functional>
#include <memory>

#include "gui/app/form.h"

class QComboBox;
class QLabel;
class QSpinBox;
class QToolButton;

namespace vemora::report {
class ReportDocument;
}

namespace vemora::gui {

class MainWindow;
class PageView;

class ReportForm : public MdiForm {
    Q_OBJECT
public:
    ReportForm(AppState& app, std::shared_ptr<const report::ReportDocument> doc, QWidget* parent = nullptr);

    // Opens a new viewer in the main window, placed and sized to fill its inner area.
    static ReportForm* open(MainWindow& main, std::shared_ptr<const report::ReportDocument> doc);

    PageView* CR = nullptr;  // the pages
    QToolButton* cmdFirst = nullptr;
    QToolButton* cmdPrevious = nullptr;
    QSpinBox* txtPage = nullptr;
    QLabel* lblPages = nullptr;
    QToolButton* cmdNext = nullptr;
    QToolButton* cmdLast = nullptr;
    QComboBox* cboZoom = nullptr;
    QToolButton* cmdPrint = nullptr;
    QToolButton* cmdSavePdf = nullptr;

    const report::ReportDocument& document() const { return *doc_; }

    void cmdPrint_Click();
    void cmdSavePdf_Click();
    // Asks where the PDF file goes; an empty name is a cancelled dialog. Tests answer it.
    std::function<QString(const QString& suggested)> askPdfFileName;

private:
    void showPage(int index);
    void zoomChosen(int index);
    void showZoom();
    std::shared_ptr<const report::ReportDocument> doc_;
};

}  // namespace vemora::gui
