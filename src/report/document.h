#pragma once
// A report laid out on pages and painted with QPainter. Every output uses the same pages:
// the PDF file, the printer and the preview window paint page n through paintPage, so what
// is previewed is what is printed. Needs a QGuiApplication (fonts are measured); no widgets.
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QString>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/reports/banddata.h"
#include "core/reports/definition.h"

namespace vemora::report {

class ReportDocument {
public:
    // Lays the band data out on pages of the definition's paper. Pictures named by the
    // definition are read from the program folder.
    ReportDocument(std::shared_ptr<const reports::Definition> def, std::shared_ptr<const reports::ReportData> data,
                   std::filesystem::path programFolder = {});
    ~ReportDocument();
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    int pageCount() const { return static_cast<int>(pages_.size()); }
    const std::string& title() const { return data_->title; }
    // The paper: size and orientation, no margins (the definition's margins are inside the page).
    QPageLayout pageLayout() const;
    QSizeF pageSizeMm() const;

    // Paints page `index` (0-based) so that the whole paper fills `target`, in the painter's
    // current coordinates (device pixels of a printer or PDF page, a widget's rectangle in a
    // preview).
    void paintPage(QPainter& painter, int index, const QRectF& target) const;

    // Paints every page onto a paged device (a QPrinter or QPdfWriter whose painting has not
    // begun), one device page per report page, at the definition's paper size. False with
    // a Danish text in `error` when the device cannot be painted on.
    bool render(QPagedPaintDevice& device, std::string& error) const;

    // Every text the page shows, with the font it is drawn in and its baseline start point
    // in millimetres from the paper's top left corner.
    struct PlacedText {
        QString text;
        QFont font;  // sized in hundredths of a millimetre
        QPointF pos;  // in hundredths of a millimetre
    };
    std::vector<PlacedText> pageTexts(int index) const;

    const reports::Definition& definition() const { return *def_; }
    const reports::ReportData& data() const { return *data_; }

private:
    struct Fonts;
    struct Placed {
        uint32_t instance;
        float x, y;  // top left of the band in hundredths of a millimetre, inside the margins
    };
    struct Page {
        uint32_t first = 0, count = 0;
        float pageHeaderY = 0;
    };
    struct TextSource;

    std::shared_ptr<const reports::Definition> def_;
    std::shared_ptr<const reports::ReportData> data_;
    std::filesystem::path folder_;
    std::unique_ptr<Fonts> fonts_;
    std::vector<Placed> placed_;
    std::vector<Page> pages_;
    std::vector<std::vector<int>> itemFont_;  // per band, per item: font index
    std::vector<double> fixedHeight_;         // per band: height when no text breaks lines; <0 when it can
    double pageHeaderHeight_ = 0, pageFooterHeight_ = 0;
    mutable std::map<std::string, QImage> images_;

    void prepareFonts();
    void paginate();
    void paginateLabels();
    double bandHeight(int band, const TextSource& texts) const;
    double instanceHeight(uint32_t instance) const;
    using TextSink = std::function<void(const QFont&, QPointF, const QString&)>;
    void drawBand(QPainter* painter, const TextSink* sink, int band, const TextSource& texts, double ox, double oy) const;
    void drawPage(QPainter* painter, const TextSink* sink, int index) const;
    const QImage& image(const std::string& name) const;
};

// Whether a file can be written at that path: its folder must exist and take new files.
// False with a Danish message that starts with `what` ("PDF-filen").
bool checkOutputFolder(const std::filesystem::path& file, const std::string& what, std::string& error);

// Writes the report as a PDF file. The file appears whole or not at all: it is written
// beside the target under another name and renamed when complete. False with a Danish
// message in `error`.
bool writePdf(const ReportDocument& doc, const std::filesystem::path& file, std::string& error);

}  // namespace vemora::report
