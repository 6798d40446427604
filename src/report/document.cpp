#include "report/document.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/base/text.h"

namespace vemora::report {

using reports::Align;
using reports::Band;
using reports::BandKind;
using reports::Definition;
using reports::Item;
using reports::ReportData;
using reports::YMode;

namespace {

// Pages are laid out in hundredths of a millimetre; fonts are sized in the same unit, so a
// measurement means the same on the screen, the printer and in the PDF.
constexpr double kPerMm = 100.0;
double u(double mm) { return mm * kPerMm; }

}  // namespace

// The fonts of a definition with their metrics. Kerning is off, so a text is as wide as the
// sum of its characters, and the widths of the characters are kept: right-aligned numbers
// on a season's statistics are measured without shaping every text twice.
struct ReportDocument::Fonts {
    struct Font {
        QFont font;
        QFontMetricsF metrics;
        double ascent, line;
        std::vector<float> advance;
        explicit Font(const QFont& f)
            : font(f), metrics(f), ascent(metrics.ascent()), line(metrics.lineSpacing()), advance(0x10000, -1.0f) {}
    };
    std::vector<Font> list;

    int index(const reports::FontSpec& wanted) {
        QFont f(QString::fromStdString(wanted.family));
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(wanted.size * 25.4 / 72.0 * kPerMm))));
        f.setBold(wanted.bold);
        f.setItalic(wanted.italic);
        f.setKerning(false);
        // Any letter spacing makes the shaper leave out ligatures: "fl" stays two letters, so
        // the text of a PDF reads back as it was written ("Kapflyvning", not "Kap\uFB02yvning").
        f.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
        f.setHintingPreference(QFont::PreferNoHinting);
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].font == f) return static_cast<int>(i);
        list.emplace_back(f);
        return static_cast<int>(list.size() - 1);
    }

    double width(int fi, const QString& s) {
        Font& f = list[fi];
        double w = 0;
        for (QChar c : s) {
            if (c.isSurrogate()) return f.metrics.horizontalAdvance(s);
            float& a = f.advance[c.unicode()];
            if (a < 0) a = static_cast<float>(f.metrics.horizontalAdvance(c));
            w += a;
        }
        return w;
    }
};

// Where the texts of a band come from: a band instance of the data, or the page header and
// footer, whose texts carry the page number.
struct ReportDocument::TextSource {
    const ReportData* data = nullptr;
    uint32_t first = 0;
    const std::vector<std::string>* strings = nullptr;
    std::string_view operator()(int textIndex) const {
        return strings ? std::string_view((*strings)[textIndex]) : data->text(first + textIndex);
    }
};

ReportDocument::ReportDocument(std::shared_ptr<const Definition> def, std::shared_ptr<const ReportData> data,
                               std::filesystem::path programFolder)
    : def_(std::move(def)), data_(std::move(data)), folder_(std::move(programFolder)), fonts_(std::make_unique<Fonts>()) {
    prepareFonts();
    paginate();
}

ReportDocument::~ReportDocument() = default;

QSizeF ReportDocument::pageSizeMm() const { return QSizeF(def_->pageWidth, def_->pageHeight); }

QPageLayout ReportDocument::pageLayout() const {
    const bool landscape = def_->pageWidth > def_->pageHeight;
    QSizeF portrait = landscape ? QSizeF(def_->pageHeight, def_->pageWidth) : QSizeF(def_->pageWidth, def_->pageHeight);
    QPageSize size = std::abs(portrait.width() - 210) < 0.01 && std::abs(portrait.height() - 297) < 0.01
                         ? QPageSize(QPageSize::A4)
                         : QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

void ReportDocument::prepareFonts() {
    itemFont_.resize(def_->bandCount());
    fixedHeight_.assign(def_->bandCount(), -1);
    for (int b = 0; b < def_->bandCount(); ++b) {
        const Band& band = def_->band(b);
        bool wraps = false;
        for (const Item& it : band.items) {
            itemFont_[b].push_back(it.kind == Item::Text ? fonts_->index(it.font) : -1);
            wraps = wraps || it.wrap;
        }
        if (!wraps) {
            // Heights of bands whose texts are one line each do not depend on the texts.
            std::vector<std::string> empty(band.textCount);
            TextSource src;
            src.strings = &empty;
            fixedHeight_[b] = bandHeight(b, src);
        }
    }
    std::vector<std::string> header, footer;
    for (const auto& t : data_->pageHeaderTexts) header.push_back(ReportData::pageText(t, 1, 1));
    for (const auto& t : data_->pageFooterTexts) footer.push_back(ReportData::pageText(t, 1, 1));
    TextSource h, f;
    h.strings = &header;
    f.strings = &footer;
    pageHeaderHeight_ = def_->pageHeader.defined ? bandHeight(1, h) : 0;
    pageFooterHeight_ = def_->pageFooter.defined ? bandHeight(4, f) : 0;
}

namespace {

int lineCount(std::string_view s) {
    if (s.empty()) return 1;
    int n = 1;
    for (const char* p = s.data(); (p = static_cast<const char*>(std::memchr(p, '\n', s.data() + s.size() - p))); ++p)
        if (p + 1 < s.data() + s.size()) ++n;
    return n;
}

}  // namespace

double ReportDocument::bandHeight(int band, const TextSource& texts) const {
    const Band& b = def_->band(band);
    const double bandWidth = u(def_->contentWidth());
    double prevTop = 0, prevBottom = 0, bottom = u(b.minHeight);
    for (size_t i = 0; i < b.items.size(); ++i) {
        const Item& it = b.items[i];
        double top = u(it.y) + (it.ymode == YMode::Absolute ? 0 : it.ymode == YMode::Below ? prevBottom : prevTop);
        double h = 0;
        if (it.kind == Item::Text) {
            const auto& f = fonts_->list[itemFont_[band][i]];
            std::string_view s = texts(it.textIndex);
            if (it.wrap) {
                double w = it.width < 0 ? bandWidth - u(it.x) : u(it.width);
                h = s.empty() ? 0
                              : f.metrics
                                    .boundingRect(QRectF(0, 0, w, 1e9), Qt::TextWordWrap | Qt::AlignLeft,
                                                  QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())))
                                    .height();
            } else {
                h = lineCount(s) * f.line;
            }
        } else if (it.kind == Item::Line) {
            h = u(it.thickness);
        } else {
            h = u(it.height);
        }
        prevTop = top;
        prevBottom = std::max(prevBottom, top + h);
        bottom = std::max(bottom, prevBottom);
    }
    return bottom;
}

double ReportDocument::instanceHeight(uint32_t instance) const {
    const auto& inst = data_->instances[instance];
    const double fixed = fixedHeight_[inst.band];
    const Band& b = def_->band(inst.band);
    if (fixed >= 0) {
        bool multiLine = false;
        for (int t = 0; t < b.textCount && !multiLine; ++t) {
            std::string_view s = data_->text(inst.firstText + t);
            multiLine = std::memchr(s.data(), '\n', s.size()) != nullptr;
        }
        if (!multiLine) return fixed;
    }
    TextSource src;
    src.data = data_.get();
    src.first = inst.firstText;
    return bandHeight(inst.band, src);
}

void ReportDocument::paginate() {
    if (def_->labels) return paginateLabels();
    const auto& inst = data_->instances;
    const size_t n = inst.size();
    const double top = u(def_->marginTop);
    const double bottom = u(def_->pageHeight - def_->marginBottom) - pageFooterHeight_;
    const int levels = static_cast<int>(def_->groups.size());
    std::vector<int64_t> open(levels, -1);  // the printed header of each group still running

    // The page header tops every page; on the first it is followed by the report header.
    Page page;
    page.pageHeaderY = static_cast<float>(top);
    double y = top + pageHeaderHeight_;
    // body: something is on the page that a full page may push off; content: a band of the
    // report's own rows is on it, so a group that starts on a new page must turn the page (the
    // report header alone does not make page 1 a page to leave).
    bool body = false, content = false;
    size_t i = 0;
    if (n > 0 && inst[0].band == 0) {
        placed_.push_back({0, 0, static_cast<float>(y)});
        y += instanceHeight(0);
        body = true;
        i = 1;
    }

    auto newPage = [&](int repeatBelow) {
        page.count = static_cast<uint32_t>(placed_.size() - page.first);
        pages_.push_back(page);
        page = Page{};
        page.first = static_cast<uint32_t>(placed_.size());
        page.pageHeaderY = static_cast<float>(top);
        y = top + pageHeaderHeight_;
        body = content = false;
        for (int l = 0; l < repeatBelow; ++l)
            if (open[l] >= 0 && def_->groups[l].header.repeat) {
                placed_.push_back({static_cast<uint32_t>(open[l]), 0, static_cast<float>(y)});
                y += instanceHeight(static_cast<uint32_t>(open[l]));
            }
    };

    // The height a group header needs on its page: itself with its first rows, or the whole
    // group when it is shorter.
    auto keepHeight = [&](size_t at, const Band& header) {
        double h = instanceHeight(static_cast<uint32_t>(at));
        int rows = 0;
        for (size_t k = at + 1; k < n && rows < header.keep; ++k) {
            const Band& b = def_->band(inst[k].band);
            if (b.kind == BandKind::GroupHeader && b.level <= header.level) break;
            h += instanceHeight(static_cast<uint32_t>(k));
            if (b.kind == BandKind::Detail) ++rows;
            if ((b.kind == BandKind::GroupFooter && b.level <= header.level) || b.kind == BandKind::ReportFooter) break;
        }
        return h;
    };

    bool breakAfter = false;
    for (; i < n; ++i) {
        const Band& b = def_->band(inst[i].band);
        const double h = instanceHeight(static_cast<uint32_t>(i));
        int repeatBelow = levels;
        if (b.kind == BandKind::GroupHeader) repeatBelow = b.level;
        if (b.kind == BandKind::GroupFooter) repeatBelow = b.level + 1;
        bool fresh = breakAfter && body;
        if (b.kind == BandKind::GroupHeader && b.newPage && content) fresh = true;
        const double want = b.kind == BandKind::GroupHeader ? keepHeight(i, b) : h;
        if (!fresh && body && y + want > bottom + 0.5) fresh = true;
        if (fresh) newPage(repeatBelow);
        placed_.push_back({static_cast<uint32_t>(i), 0, static_cast<float>(y)});
        y += h;
        body = content = true;
        breakAfter = b.newPage && b.kind != BandKind::GroupHeader;
        if (b.kind == BandKind::GroupHeader) {
            open[b.level] = static_cast<int64_t>(i);
            for (int l = b.level + 1; l < levels; ++l) open[l] = -1;
        } else if (b.kind == BandKind::GroupFooter) {
            open[b.level] = -1;
        }
    }
    page.count = static_cast<uint32_t>(placed_.size() - page.first);
    pages_.push_back(page);
}

void ReportDocument::paginateLabels() {
    const auto& g = *def_->labels;
    const double top = u(def_->marginTop) + pageHeaderHeight_;
    const double height = u(def_->pageHeight - def_->marginBottom) - pageFooterHeight_ - top;
    const double w = (u(def_->contentWidth()) - (g.across - 1) * u(g.gapX)) / g.across;
    const double h = (height - (g.down - 1) * u(g.gapY)) / g.down;
    const int perPage = g.across * g.down;
    Page page;
    page.pageHeaderY = static_cast<float>(u(def_->marginTop));
    int slot = 0;
    for (size_t i = 0; i < data_->instances.size(); ++i) {
        if (data_->instances[i].band != 2) continue;
        if (slot == perPage) {
            page.count = static_cast<uint32_t>(placed_.size() - page.first);
            pages_.push_back(page);
            page.first = static_cast<uint32_t>(placed_.size());
            slot = 0;
        }
        placed_.push_back({static_cast<uint32_t>(i), static_cast<float>((slot % g.across) * (w + u(g.gapX))),
                           static_cast<float>(top + (slot / g.across) * (h + u(g.gapY)))});
        ++slot;
    }
    page.count = static_cast<uint32_t>(placed_.size() - page.first);
    pages_.push_back(page);
}

const QImage& ReportDocument::image(const std::string& name) const {
    auto it = images_.find(name);
    if (it != images_.end()) return it->second;
    QImage img;
    if (auto path = findFileNoCase(folder_, name)) img.load(QString::fromStdString(path->string()));
    return images_.emplace(name, std::move(img)).first->second;
}

void ReportDocument::drawBand(QPainter* painter, const TextSink* sink, int band, const TextSource& texts, double ox,
                              double oy) const {
    const Band& b = def_->band(band);
    double bandWidth = u(def_->contentWidth());
    if (def_->labels) {
        const auto& g = *def_->labels;
        bandWidth = (bandWidth - (g.across - 1) * u(g.gapX)) / g.across;
    }
    int currentFont = -1;
    double prevTop = 0, prevBottom = 0;
    for (size_t i = 0; i < b.items.size(); ++i) {
        const Item& it = b.items[i];
        const double top = u(it.y) + (it.ymode == YMode::Absolute ? 0 : it.ymode == YMode::Below ? prevBottom : prevTop);
        const double x = ox + u(it.x);
        const double w = it.width < 0 ? bandWidth - u(it.x) : u(it.width);
        double h = 0;
        if (it.kind == Item::Line) {
            h = u(it.thickness);
            if (painter) {
                painter->setPen(QPen(Qt::black, h));
                painter->drawLine(QPointF(x, oy + top + h / 2), QPointF(x + w, oy + top + h / 2));
            }
        } else if (it.kind == Item::Box) {
            h = u(it.height);
            if (painter) {
                const double t = u(it.thickness);
                painter->setPen(QPen(Qt::black, t));
                painter->setBrush(Qt::NoBrush);
                painter->drawRect(QRectF(x + t / 2, oy + top + t / 2, w - t, h - t));
            }
        } else if (it.kind == Item::Image) {
            h = u(it.height);
            const QImage& img = image(it.image);
            if (painter && !img.isNull()) {
                QSizeF s = QSizeF(img.size()).scaled(QSizeF(w, h), Qt::KeepAspectRatio);
                painter->drawImage(QRectF(x + (w - s.width()) / 2, oy + top + (h - s.height()) / 2, s.width(), s.height()), img);
            }
        } else {
            const int fi = itemFont_[band][i];
            const auto& f = fonts_->list[fi];
            std::string_view sv = texts(it.textIndex);
            QString s = QString::fromUtf8(sv.data(), static_cast<qsizetype>(sv.size()));
            if (it.wrap) {
                const int flags = Qt::TextWordWrap | (it.align == Align::Right    ? Qt::AlignRight
                                                      : it.align == Align::Center ? Qt::AlignHCenter
                                                                                  : Qt::AlignLeft);
                QRectF r = s.isEmpty() ? QRectF() : f.metrics.boundingRect(QRectF(0, 0, w, 1e9), flags, s);
                h = r.height();
                if (!s.isEmpty()) {
                    if (painter) {
                        if (currentFont != fi) painter->setFont(f.font), currentFont = fi;
                        painter->setPen(Qt::black);
                        painter->drawText(QRectF(x, oy + top, w, h), flags, s);
                    }
                    if (sink) (*sink)(f.font, QPointF(x, oy + top + f.ascent), s);
                }
            } else {
                const QStringList lines = sv.find('\n') == std::string_view::npos ? QStringList{s} : s.split('\n');
                h = lineCount(sv) * f.line;
                for (qsizetype k = 0; k < lines.size(); ++k) {
                    QString line = lines[k];
                    if (line.endsWith('\r')) line.chop(1);
                    if (line.isEmpty()) continue;
                    double lw = fonts_->width(fi, line);
                    // Data too long for its place is cut with an ellipsis; a definition's own
                    // words (headings, labels) are printed whole, and so are right-aligned
                    // numbers, which a cut would falsify.
                    if (lw > w + 1 && it.align != Align::Right && it.text.hasFields()) {
                        line = f.metrics.elidedText(line, Qt::ElideRight, w);
                        lw = fonts_->width(fi, line);
                    }
                    const double lx = it.align == Align::Left ? x : it.align == Align::Right ? x + w - lw : x + (w - lw) / 2;
                    const QPointF at(lx, oy + top + k * f.line + f.ascent);
                    if (painter) {
                        if (currentFont != fi) {
                            painter->setFont(f.font);
                            painter->setPen(Qt::black);
                            currentFont = fi;
                        }
                        painter->drawText(at, line);
                    }
                    if (sink) (*sink)(f.font, at, line);
                }
            }
        }
        prevTop = top;
        prevBottom = std::max(prevBottom, top + h);
    }
}

void ReportDocument::drawPage(QPainter* painter, const TextSink* sink, int index) const {
    if (index < 0 || index >= pageCount()) return;
    const Page& page = pages_[index];
    const double left = u(def_->marginLeft);
    if (def_->pageHeader.defined) {
        std::vector<std::string> texts;
        for (const auto& t : data_->pageHeaderTexts) texts.push_back(ReportData::pageText(t, index + 1, pageCount()));
        TextSource src;
        src.strings = &texts;
        drawBand(painter, sink, 1, src, left, page.pageHeaderY);
    }
    for (uint32_t k = page.first; k < page.first + page.count; ++k) {
        const Placed& p = placed_[k];
        TextSource src;
        src.data = data_.get();
        src.first = data_->instances[p.instance].firstText;
        drawBand(painter, sink, data_->instances[p.instance].band, src, left + p.x, p.y);
    }
    if (def_->pageFooter.defined) {
        std::vector<std::string> texts;
        for (const auto& t : data_->pageFooterTexts) texts.push_back(ReportData::pageText(t, index + 1, pageCount()));
        TextSource src;
        src.strings = &texts;
        drawBand(painter, sink, 4, src, left, u(def_->pageHeight - def_->marginBottom) - pageFooterHeight_);
    }
}

void ReportDocument::paintPage(QPainter& painter, int index, const QRectF& target) const {
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / u(def_->pageWidth), target.height() / u(def_->pageHeight));
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    drawPage(&painter, nullptr, index);
    painter.restore();
}

std::vector<ReportDocument::PlacedText> ReportDocument::pageTexts(int index) const {
    std::vector<PlacedText> out;
    TextSink sink = [&out](const QFont& f, QPointF p, const QString& s) { out.push_back({s, f, p}); };
    drawPage(nullptr, &sink, index);
    return out;
}

bool ReportDocument::render(QPagedPaintDevice& device, std::string& error) const {
    device.setPageLayout(pageLayout());
    QPainter painter;
    if (!painter.begin(&device)) {
        error = "Udskriften kan ikke begyndes.";
        return false;
    }
    const int dpi = device.logicalDpiX();
    const QPageLayout layout = device.pageLayout();
    const QRectF full = layout.fullRectPixels(dpi);
    const QRectF paint = layout.paintRectPixels(dpi);
    const QRectF target = full.translated(-paint.topLeft());
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            error = "Udskriften kan ikke fortsætte på en ny side.";
            return false;
        }
        paintPage(painter, i, target);
    }
    if (!painter.end()) {
        error = "Udskriften kan ikke afsluttes.";
        return false;
    }
    return true;
}

bool checkOutputFolder(const std::filesystem::path& file, const std::string& what, std::string& error) {
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    if (file.empty() || std::filesystem::is_directory(file, ec)) {
        error = what + " " + file.string() + " kan ikke skrives: der er ikke angivet et filnavn.";
        return false;
    }
    if (!std::filesystem::is_directory(folder, ec)) {
        error = what + " " + file.string() + " kan ikke skrives: mappen " + folder.string() + " findes ikke.";
        return false;
    }
    if (!QFileInfo(QString::fromStdString(folder.string())).isWritable()) {
        error = what + " " + file.string() + " kan ikke skrives: der er ikke adgang til at skrive i mappen " + folder.string() + ".";
        return false;
    }
    return true;
}

bool writePdf(const ReportDocument& doc, const std::filesystem::path& file, std::string& error) {
    if (!checkOutputFolder(file, "PDF-filen", error)) return false;
    const std::string name = file.string();
    QSaveFile out(QString::fromStdString(name));
    if (!out.open(QIODevice::WriteOnly)) {
        error = "PDF-filen " + name + " kan ikke skrives: " + out.errorString().toStdString();
        return false;
    }
    {
        QPdfWriter writer(&out);
        writer.setResolution(1200);
        writer.setCreator("Vemora");
        writer.setTitle(QString::fromStdString(doc.title()));
        if (!doc.render(writer, error)) {
            out.cancelWriting();
            return false;
        }
    }
    if (!out.commit()) {
        error = "PDF-filen " + name + " kan ikke skrives: " + out.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace vemora::report
