#include "report/docx.h"

#include <zip.h>

#include <cmath>
#include <functional>
#include <vector>

#include "core/base/text.h"
#include "report/document.h"

namespace vemora::report {

using reports::Align;
using reports::Band;
using reports::BandKind;
using reports::Definition;
using reports::Item;
using reports::ReportData;
using reports::YMode;

namespace {

const char* kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char* kW = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
                 "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

long twips(double mm) { return std::lround(mm * 1440.0 / 25.4); }
long halfPoints(double pt) { return std::lround(pt * 2); }

// Text for an XML element: the five special characters escaped, and control characters that
// XML 1.0 does not allow left out (a damaged club file may have put one into a name).
void escape(std::string& out, std::string_view s) {
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out.push_back(c);
        }
    }
}

// One run of text; tabs and line breaks in the text become Word's own.
struct Run {
    std::string text;
    bool bold = false, italic = false;
    long size = 0;  // half-points; 0: the Word file's default size
    enum Kind { Text, PageField, PagesField } kind = Text;
};

void runProps(std::string& out, const Run& r) {
    if (!r.bold && !r.italic && !r.size) return;
    out += "<w:rPr>";
    if (r.bold) out += "<w:b/>";
    if (r.italic) out += "<w:i/>";
    if (r.size) out += "<w:sz w:val=\"" + std::to_string(r.size) + "\"/><w:szCs w:val=\"" + std::to_string(r.size) + "\"/>";
    out += "</w:rPr>";
}

void writeRun(std::string& out, const Run& r) {
    if (r.kind != Run::Text) {
        out += std::string("<w:fldSimple w:instr=\" ") + (r.kind == Run::PageField ? "PAGE" : "NUMPAGES") + " \"><w:r>";
        runProps(out, r);
        out += "<w:t>1</w:t></w:r></w:fldSimple>";
        return;
    }
    out += "<w:r>";
    runProps(out, r);
    size_t start = 0;
    for (size_t i = 0; i <= r.text.size(); ++i) {
        if (i < r.text.size() && r.text[i] != '\n' && r.text[i] != '\t') continue;
        if (i > start) {
            out += "<w:t xml:space=\"preserve\">";
            escape(out, std::string_view(r.text).substr(start, i - start));
            out += "</w:t>";
        }
        if (i < r.text.size()) out += r.text[i] == '\n' ? "<w:br/>" : "<w:tab/>";
        start = i + 1;
    }
    out += "</w:r>";
}

const char* jc(Align a) { return a == Align::Right ? "right" : a == Align::Center ? "center" : "left"; }

// A paragraph of the body, the header or the footer.
struct Para {
    std::vector<Run> runs;
    Align align = Align::Left;
    std::string style;  // "Heading1" for the title

    bool blank() const {
        for (const auto& r : runs)
            if (r.kind != Run::Text || !isBlank(r.text)) return false;
        return true;
    }
};

void writePara(std::string& out, const Para& p, long rightTab = 0) {
    out += "<w:p>";
    if (!p.style.empty() || p.align != Align::Left || rightTab) {
        out += "<w:pPr>";
        if (!p.style.empty()) out += "<w:pStyle w:val=\"" + p.style + "\"/>";
        if (rightTab) out += "<w:tabs><w:tab w:val=\"right\" w:pos=\"" + std::to_string(rightTab) + "\"/></w:tabs>";
        if (p.align != Align::Left) out += std::string("<w:jc w:val=\"") + jc(p.align) + "\"/>";
        out += "</w:pPr>";
    }
    for (const auto& r : p.runs) writeRun(out, r);
    out += "</w:p>";
}

// What the body holds in print order: paragraphs and table rows. The table runs from the
// band that prints the column headings (or the first row) to the last row; paragraphs
// inside it become full-width rows.
struct Element {
    enum Kind { Paragraph, Row, TableStart } kind = Paragraph;
    Para para;
    std::vector<Run> cells;
};

class Builder {
public:
    Builder(const Definition& def, const ReportData& data) : def_(def), data_(data) {}

    std::map<std::string, std::string> parts() {
        std::map<std::string, std::string> p;
        p["[Content_Types].xml"] = contentTypes();
        p["_rels/.rels"] = packageRels();
        p["docProps/core.xml"] = coreProps();
        p["docProps/app.xml"] = std::string(kXmlHead) +
                                "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
                                "<Application>Vemora</Application></Properties>";
        p["word/_rels/document.xml.rels"] = documentRels();
        p["word/styles.xml"] = styles();
        p["word/settings.xml"] = std::string(kXmlHead) + "<w:settings " + kW +
                                 "><w:defaultTabStop w:val=\"709\"/><w:compat><w:compatSetting w:name=\"compatibilityMode\" "
                                 "w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/></w:compat></w:settings>";
        p["word/header1.xml"] = pageBand("hdr", def_.pageHeader, data_.pageHeaderTexts);
        p["word/footer1.xml"] = pageBand("ftr", def_.pageFooter, data_.pageFooterTexts);
        p["word/document.xml"] = document();
        return p;
    }

private:
    const Definition& def_;
    const ReportData& data_;

    Run runOf(const Item& it, std::string text) const {
        Run r;
        r.text = std::move(text);
        r.bold = it.font.bold;
        r.italic = it.font.italic;
        if (std::abs(it.font.size - def_.font.size) > 0.01) r.size = halfPoints(it.font.size);
        return r;
    }

    // The free texts of a band as paragraphs: an item on the line of the one before ("=")
    // joins its paragraph after a tab, as it stands beside it on paper.
    void freeTexts(const Band& band, const std::function<std::string(const Item&)>& textOf, std::vector<Para>& out,
                   bool pageBand) const {
        bool joinable = false;
        for (const Item& it : band.items) {
            if (it.kind != Item::Text || it.column >= 0) {
                if (it.kind != Item::Text) joinable = false;
                continue;
            }
            std::string text = textOf(it);
            bool sameLine = it.ymode == YMode::SameLine && joinable;
            if (isBlank(text) && !pageBand) {
                joinable = joinable && sameLine;
                continue;
            }
            std::vector<Run> runs;
            if (pageBand) {
                // The page number and count only the word processor knows.
                std::string part;
                for (char c : text) {
                    if (c == reports::kPageMarker || c == reports::kPagesMarker) {
                        runs.push_back(runOf(it, part));
                        part.clear();
                        Run f = runOf(it, "");
                        f.kind = c == reports::kPageMarker ? Run::PageField : Run::PagesField;
                        runs.push_back(f);
                    } else {
                        part.push_back(c);
                    }
                }
                runs.push_back(runOf(it, part));
            } else {
                runs.push_back(runOf(it, text));
            }
            if (sameLine && !out.empty()) {
                out.back().runs.push_back(Run{"\t"});
                for (auto& r : runs) out.back().runs.push_back(std::move(r));
            } else {
                Para p;
                p.runs = std::move(runs);
                // A text across the whole line keeps its alignment; others start at the left.
                if (it.width < 0 || it.width >= def_.contentWidth() - 0.5) p.align = it.align;
                out.push_back(std::move(p));
            }
            joinable = true;
        }
    }

    std::vector<Element> elements() const {
        std::vector<Element> out;
        const int columns = static_cast<int>(def_.columns.size());
        bool headingsSeen = false;
        for (const auto& inst : data_.instances) {
            const Band& band = def_.band(inst.band);
            auto textOf = [&](const Item& it) { return std::string(data_.text(inst.firstText + it.textIndex)); };
            std::vector<Para> paras;
            freeTexts(band, textOf, paras, false);
            for (auto& p : paras) out.push_back({Element::Paragraph, std::move(p), {}});
            std::vector<Run> cells(columns);
            bool row = false, headings = false;
            for (const Item& it : band.items) {
                if (it.kind != Item::Text || it.column < 0 || it.column >= columns) continue;
                if (it.columnHeading) {
                    headings = true;
                    continue;
                }
                std::string text = textOf(it);
                Run& cell = cells[it.column];
                if (cell.text.empty()) cell = runOf(it, text);
                else if (!text.empty()) cell.text += " " + text;
                row = row || band.kind == BandKind::Detail || !isBlank(text);
            }
            if (headings && !headingsSeen) {
                headingsSeen = true;
                out.push_back({Element::TableStart, {}, {}});
            }
            if (row) out.push_back({Element::Row, {}, std::move(cells)});
        }
        return out;
    }

    std::vector<long> columnWidths() const {
        std::vector<long> w;
        for (const auto& c : def_.columns) w.push_back(twips(c.width + def_.columnGap));
        return w;
    }

    void tableStart(std::string& out) const {
        const std::vector<long> widths = columnWidths();
        long total = 0;
        for (long w : widths) total += w;
        out += "<w:tbl><w:tblPr><w:tblW w:w=\"" + std::to_string(total) +
               "\" w:type=\"dxa\"/><w:tblBorders>";
        for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"})
            out += std::string("<w:") + side + " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"A0A0A0\"/>";
        out += "</w:tblBorders><w:tblLayout w:type=\"fixed\"/><w:tblCellMar><w:left w:w=\"57\" w:type=\"dxa\"/>"
               "<w:right w:w=\"57\" w:type=\"dxa\"/></w:tblCellMar><w:tblLook w:val=\"0020\" w:firstRow=\"1\" "
               "w:lastRow=\"0\" w:firstColumn=\"0\" w:lastColumn=\"0\" w:noHBand=\"1\" w:noVBand=\"1\"/></w:tblPr><w:tblGrid>";
        for (long w : widths) out += "<w:gridCol w:w=\"" + std::to_string(w) + "\"/>";
        out += "</w:tblGrid>";
        // The headings are the table's heading row, repeated on every page as on paper.
        out += "<w:tr><w:trPr><w:tblHeader/></w:trPr>";
        for (size_t c = 0; c < def_.columns.size(); ++c) {
            Run r;
            r.text = c < data_.columnHeadings.size() ? data_.columnHeadings[c] : def_.columns[c].heading;
            r.bold = true;
            cell(out, r, widths[c], def_.columns[c].align);
        }
        out += "</w:tr>";
    }

    static void cell(std::string& out, const Run& r, long width, Align align) {
        out += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(width) + "\" w:type=\"dxa\"/></w:tcPr>";
        Para p;
        p.align = align;
        if (!r.text.empty()) p.runs.push_back(r);
        writePara(out, p);
        out += "</w:tc>";
    }

    void row(std::string& out, const std::vector<Run>& cells) const {
        const std::vector<long> widths = columnWidths();
        out += "<w:tr><w:trPr><w:cantSplit/></w:trPr>";
        for (size_t c = 0; c < cells.size(); ++c) cell(out, cells[c], widths[c], def_.columns[c].align);
        out += "</w:tr>";
    }

    void spanningRow(std::string& out, const Para& p) const {
        long total = 0;
        for (long w : columnWidths()) total += w;
        out += "<w:tr><w:trPr><w:cantSplit/></w:trPr><w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(total) +
               "\" w:type=\"dxa\"/><w:gridSpan w:val=\"" + std::to_string(def_.columns.size()) + "\"/></w:tcPr>";
        writePara(out, p);
        out += "</w:tc></w:tr>";
    }

    std::string document() const {
        std::string out = std::string(kXmlHead) + "<w:document " + kW + "><w:body>";
        Para title;
        title.style = "Heading1";
        title.runs.push_back(Run{data_.title});
        writePara(out, title);

        std::vector<Element> els = elements();
        int first = -1, last = -1;
        for (int i = 0; i < static_cast<int>(els.size()); ++i) {
            if (first < 0 && els[i].kind != Element::Paragraph) first = i;
            if (els[i].kind == Element::Row) last = i;
        }
        if (last < 0 || def_.columns.empty()) first = last = -1;
        bool open = false;
        for (int i = 0; i < static_cast<int>(els.size()); ++i) {
            const Element& e = els[i];
            if (i == first) {
                tableStart(out);
                open = true;
            }
            if (e.kind == Element::Row && open) row(out, e.cells);
            if (e.kind == Element::Paragraph) {
                if (open) spanningRow(out, e.para);
                else writePara(out, e.para);
            }
            if (i == last) {
                out += "</w:tbl>";
                open = false;
            }
        }
        // A paragraph after the table: Word wants the body to end in one, and it separates
        // the table from the end of the section.
        writePara(out, Para{});
        out += "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader\"/>"
               "<w:footerReference w:type=\"default\" r:id=\"rIdFooter\"/>";
        out += "<w:pgSz w:w=\"" + std::to_string(twips(def_.pageWidth)) + "\" w:h=\"" +
               std::to_string(twips(def_.pageHeight)) + "\"" + (def_.landscape ? " w:orient=\"landscape\"" : "") + "/>";
        // The header and footer stand where the printout has its margins; the text keeps
        // clear of them.
        out += "<w:pgMar w:top=\"" + std::to_string(twips(def_.marginTop + 12)) + "\" w:right=\"" +
               std::to_string(twips(def_.marginRight)) + "\" w:bottom=\"" + std::to_string(twips(def_.marginBottom + 10)) +
               "\" w:left=\"" + std::to_string(twips(def_.marginLeft)) + "\" w:header=\"" +
               std::to_string(twips(def_.marginTop)) + "\" w:footer=\"" + std::to_string(twips(def_.marginBottom)) +
               "\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>";
        return out;
    }

    std::string pageBand(const char* tag, const Band& band, const std::vector<std::string>& texts) const {
        std::string out = std::string(kXmlHead) + "<w:" + tag + " " + kW + ">";
        std::vector<Para> paras;
        if (band.defined)
            freeTexts(band, [&](const Item& it) { return it.textIndex < static_cast<int>(texts.size()) ? texts[it.textIndex] : std::string(); },
                      paras, true);
        bool any = false;
        for (const auto& p : paras) {
            if (p.blank()) continue;
            writePara(out, p, twips(def_.contentWidth()));
            any = true;
        }
        if (!any) writePara(out, Para{});
        out += std::string("</w:") + tag + ">";
        return out;
    }

    std::string styles() const {
        std::string out = std::string(kXmlHead) + "<w:styles " + kW + "><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"";
        escape(out, def_.font.family);
        out += "\" w:hAnsi=\"";
        escape(out, def_.font.family);
        out += "\" w:cs=\"";
        escape(out, def_.font.family);
        out += "\"/><w:sz w:val=\"" + std::to_string(halfPoints(def_.font.size)) + "\"/><w:szCs w:val=\"" +
               std::to_string(halfPoints(def_.font.size)) +
               "\"/><w:lang w:val=\"da-DK\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after=\"0\" "
               "w:line=\"240\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>"
               "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
               "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/><w:basedOn w:val=\"Normal\"/>"
               "<w:next w:val=\"Normal\"/><w:qFormat/><w:pPr><w:keepNext/><w:spacing w:before=\"0\" w:after=\"120\"/>"
               "<w:outlineLvl w:val=\"0\"/></w:pPr><w:rPr><w:b/><w:sz w:val=\"32\"/><w:szCs w:val=\"32\"/></w:rPr></w:style>"
               "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/>"
               "<w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/>"
               "<w:left w:w=\"108\" w:type=\"dxa\"/><w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/>"
               "</w:tblCellMar></w:tblPr></w:style></w:styles>";
        return out;
    }

    std::string coreProps() const {
        std::string out = std::string(kXmlHead) +
                          "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                          "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
                          "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>";
        escape(out, data_.title);
        out += "</dc:title><dc:creator>Vemora</dc:creator></cp:coreProperties>";
        return out;
    }

    static std::string contentTypes() {
        const std::string wml = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
        return std::string(kXmlHead) +
               "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
               "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
               "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
               "<Override PartName=\"/word/document.xml\" ContentType=\"" + wml + "document.main+xml\"/>"
               "<Override PartName=\"/word/styles.xml\" ContentType=\"" + wml + "styles+xml\"/>"
               "<Override PartName=\"/word/settings.xml\" ContentType=\"" + wml + "settings+xml\"/>"
               "<Override PartName=\"/word/header1.xml\" ContentType=\"" + wml + "header+xml\"/>"
               "<Override PartName=\"/word/footer1.xml\" ContentType=\"" + wml + "footer+xml\"/>"
               "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
               "<Override PartName=\"/docProps/app.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
               "</Types>";
    }

    static std::string packageRels() {
        return std::string(kXmlHead) +
               "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
               "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
               "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>"
               "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties\" Target=\"docProps/app.xml\"/>"
               "</Relationships>";
    }

    static std::string documentRels() {
        const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
        return std::string(kXmlHead) +
               "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
               "<Relationship Id=\"rIdStyles\" Type=\"" + rel + "styles\" Target=\"styles.xml\"/>"
               "<Relationship Id=\"rIdSettings\" Type=\"" + rel + "settings\" Target=\"settings.xml\"/>"
               "<Relationship Id=\"rIdHeader\" Type=\"" + rel + "header\" Target=\"header1.xml\"/>"
               "<Relationship Id=\"rIdFooter\" Type=\"" + rel + "footer\" Target=\"footer1.xml\"/>"
               "</Relationships>";
    }
};

}  // namespace

std::map<std::string, std::string> docxParts(const Definition& def, const ReportData& data) {
    return Builder(def, data).parts();
}

bool writeDocx(const Definition& def, const ReportData& data, const std::filesystem::path& file, std::string& error) {
    if (!checkOutputFolder(file, "Word-filen", error)) return false;
    const std::string name = file.string();
    const std::map<std::string, std::string> parts = docxParts(def, data);
    int code = 0;
    // libzip writes the archive into a temporary file beside the target and renames it when
    // zip_close has written everything, so a failure leaves no half-written document.
    zip_t* za = zip_open(name.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!za) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, code);
        error = "Word-filen " + name + " kan ikke skrives: " + zip_error_strerror(&ze);
        zip_error_fini(&ze);
        return false;
    }
    auto fail = [&](const std::string& what) {
        error = "Word-filen " + name + " kan ikke skrives: " + what;
        zip_discard(za);
        return false;
    };
    // The content types come first, where readers that stream the package look for them.
    std::vector<std::string> order{"[Content_Types].xml"};
    for (const auto& [n, _] : parts)
        if (n != order.front()) order.push_back(n);
    for (const std::string& n : order) {
        const std::string& bytes = parts.at(n);
        zip_source_t* src = zip_source_buffer(za, bytes.data(), bytes.size(), 0);
        if (!src) return fail(zip_strerror(za));
        if (zip_file_add(za, n.c_str(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(src);
            return fail(zip_strerror(za));
        }
    }
    if (zip_close(za) < 0) return fail(zip_strerror(za));
    return true;
}

}  // namespace vemora::report
