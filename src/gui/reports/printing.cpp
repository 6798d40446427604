#include "gui/reports/printing.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "report/document.h"

namespace vemora::gui {

namespace {

const char* kNoPrinter =
    "Der er ikke installeret nogen printer på denne computer. Installér en printer, eller vis udskriften og gem "
    "den som PDF-fil.";

}  // namespace

ReportPrinter& ReportPrinter::instance() {
    static ReportPrinter p;
    return p;
}

ReportPrinter::ReportPrinter() = default;

QPrinter& ReportPrinter::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void ReportPrinter::printToFile(const QString& pdfFile) {
    file_ = pdfFile;
    printer_.reset();
}

bool ReportPrinter::available(Ui& ui) const {
    if (!file_.isEmpty() || !QPrinterInfo::availablePrinterNames().isEmpty()) return true;
    ui.message(kNoPrinter, "Fejl", Icon::Exclamation);
    return false;
}

bool ReportPrinter::setup(QWidget* parent, Ui& ui) {
    if (!available(ui)) return false;
    QPrintDialog dlg(&printer(), parent);
    dlg.setWindowTitle("Definer printer");
    // Only the printer and its settings are chosen here; the pages follow the printout.
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
    return dlg.exec() == QDialog::Accepted;
}

bool ReportPrinter::print(const report::ReportDocument& doc, Ui& ui) {
    if (!available(ui)) return false;
    QPrinter& p = printer();
    if (!file_.isEmpty()) p.setOutputFileName(file_);
    p.setDocName(QString::fromStdString(doc.title()));
    // The whole printout, whatever range a dialog chose before.
    p.setPrintRange(QPrinter::AllPages);
    p.setFromTo(0, 0);
    std::string error;
    if (!doc.render(p, error)) {
        ui.message(error, "Error", Icon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace vemora::gui
