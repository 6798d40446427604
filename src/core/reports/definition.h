#pragma once
// A report definition (.RPT file): the page, the fonts, a table of columns and the bands
// (report header, page header, group headers and footers, detail, report footer, page
// footer) with their items, read from a small line-based text format that a section can
// edit to get another layout. The file format is described in README.md.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/reports/format.h"

namespace vemora::reports {

// A definition that cannot be used; the text is the Danish message shown to the user and
// names the file (and the line, where there is one).
class DefinitionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Align { Left, Center, Right };
enum class Aggregate { Sum, Count, Min, Max, Average };

// A text with fields: {Felt}, {Felt|format}, {sum Felt|format}, {antal}, {side}, {sider}, {titel}.
struct Segment {
    enum Kind { Literal, Field, Aggregated, Page, Pages, Title };
    Kind kind = Literal;
    std::string text;   // the literal, or the field's name
    Format format;
    Aggregate aggregate = Aggregate::Sum;
    int slot = -1;       // resolved field (data column or formula); -1 for {antal} over rows
    int accumulator = -1;  // resolved aggregate
};

struct Template {
    std::vector<Segment> segments;
    bool hasFields() const;
};

// A calculated field: + - * / and parentheses over numbers and fields ([Felt med mellemrum]).
// Null counts as 0, so sums of accounts carry on over clubs without a payment.
struct Formula {
    struct Op {
        enum Kind { Number, Field, Add, Sub, Mul, Div, Neg };
        Kind kind = Number;
        double number = 0;
        std::string field;
        int slot = -1;
    };
    std::string name;
    std::vector<Op> rpn;
};

struct FontSpec {
    std::string family = "DejaVu Sans";
    double size = 9;  // points
    bool bold = false;
    bool italic = false;
};

enum class YMode { Absolute, Below, SameLine };

struct Item {
    enum Kind { Text, Line, Box, Image };
    Kind kind = Text;
    double x = 0, y = 0;   // mm from the band's top left corner (inside the margins)
    YMode ymode = YMode::Absolute;
    double width = -1;     // mm; negative: to the right margin
    double height = 0;     // boxes and images
    Align align = Align::Left;
    FontSpec font;
    bool wrap = false;     // text breaks into lines within its width and makes its band taller
    double thickness = 0.3;  // mm, for lines and boxes
    Template text;
    std::string image;     // file in the program folder
    std::string ifField;   // shown only when this field is not blank
    int ifSlot = -1;
    int textIndex = -1;    // index among the band's text items
    // The table column the text stands in (kolonneoverskrifter, kolonnefelter, kolonnetekst),
    // -1 for a free text; the Word export puts such texts into the cells of its table.
    int column = -1;
    bool columnHeading = false;  // one of the table's headings
};

enum class BandKind { ReportHeader, PageHeader, GroupHeader, Detail, GroupFooter, ReportFooter, PageFooter };

struct Band {
    BandKind kind = BandKind::Detail;
    int level = -1;          // group level for group headers and footers
    bool defined = false;
    std::vector<Item> items;
    int textCount = 0;
    double minHeight = 0;    // mm
    bool newPage = false;    // headers: start on a new page; detail and footers: new page after
    bool repeat = false;     // group headers: printed again at the top of a page the group runs onto
    bool hidden = false;     // not printed (its rows still count in totals)
    int keep = 1;            // group headers: kept on one page with this many detail rows
    std::string ifField;     // the band is printed only when this field is not blank
    int ifSlot = -1;
};

struct Group {
    std::vector<std::string> fields;
    std::vector<int> keySlots;
    Band header, footer;
};

struct Column {
    Template value;
    std::string heading;        // as written
    Template headingTemplate;   // the heading may hold fields too ("{F1:1}")
    double width = 20;  // mm
    Align align = Align::Left;
};

struct SortKey {
    std::string field;
    bool descending = false;
};

struct LabelGrid {
    int across = 1, down = 1;
    double gapX = 0, gapY = 0;  // mm between labels
};

struct Definition {
    std::string fileName;
    double pageWidth = 210, pageHeight = 297;  // mm, as printed (landscape already turned)
    bool landscape = false;
    double marginLeft = 15, marginTop = 12, marginRight = 15, marginBottom = 12;
    FontSpec font;
    double columnGap = 2;
    std::vector<Column> columns;
    std::vector<SortKey> sort;
    std::vector<Formula> formulas;
    std::optional<LabelGrid> labels;
    Band reportHeader, pageHeader, detail, reportFooter, pageFooter;
    std::vector<Group> groups;

    double contentWidth() const { return pageWidth - marginLeft - marginRight; }
    double contentHeight() const { return pageHeight - marginTop - marginBottom; }

    // Bands by a small number, so a band instance can name its band compactly: 0 report
    // header, 1 page header, 2 detail, 3 report footer, 4 page footer, then two per group
    // level (header, footer).
    int bandCount() const { return 5 + 2 * static_cast<int>(groups.size()); }
    const Band& band(int id) const;
    Band& band(int id);
    static int groupHeaderId(int level) { return 5 + 2 * level; }
    static int groupFooterId(int level) { return 6 + 2 * level; }
};

// Reads a definition; throws DefinitionError naming the file and line.
Definition parseDefinition(std::string_view text, const std::string& fileName);
// Finds the file in the folder without regard to case and reads it; throws DefinitionError
// when it is missing, unreadable or wrong.
// Where the definitions are read from: the program folder, or, when it holds none at all (a
// data folder given to the command-line tool, a new section), the definitions delivered
// beside the running program. A folder with some definitions is taken as the section's own
// choice, so one it lacks is reported rather than replaced by the delivered one.
std::filesystem::path definitionFolder(const std::filesystem::path& programFolder);
Definition loadDefinition(const std::filesystem::path& folder, const std::string& fileName);

}  // namespace vemora::reports
