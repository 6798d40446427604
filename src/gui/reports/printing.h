#pragma once
// The printer the printouts go to, shared by the print dialog and every report viewer: the
// platform's default printer until "Definer printer" chooses another, kept for the rest of
// the session. Without any printer installed the commands say so instead of doing nothing.
#include <QString>

#include <memory>

#include "core/base/ui.h"

class QPrinter;
class QWidget;

namespace vemora::report {
class ReportDocument;
}

namespace vemora::gui {

class ReportPrinter {
public:
    static ReportPrinter& instance();

    // True when a printer can be printed on; otherwise the Danish message is shown.
    bool available(Ui& ui) const;
    // "Definer printer": the platform's printer dialog on the session's printer. True when
    // the user accepted it.
    bool setup(QWidget* parent, Ui& ui);
    // Prints every page of the report with the printer's settings (no dialog). False after a
    // message.
    bool print(const report::ReportDocument& doc, Ui& ui);

    // Sends the printouts to a PDF file instead of a printer, as a printer that writes files
    // would; an empty name returns to the real printers.
    void printToFile(const QString& pdfFile);

private:
    ReportPrinter();
    QPrinter& printer();
    std::unique_ptr<QPrinter> printer_;
    QString file_;
};

}  // namespace vemora::gui
