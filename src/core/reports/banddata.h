#pragma once
// The band data of one printout: every band instance in print order (report header, group
// headers, detail rows, group footers with their totals, report footer) with the finished
// strings of its text items. It is read through a statement row by row and kept as one
// block of text, so a season's statistics of some hundred thousand birds stays small; the
// page layout and the painting (src/report) and the Word export read only these strings.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/db/database.h"
#include "core/reports/definition.h"

namespace vemora::reports {

// Stand-ins in the texts of the page header and footer for the page number and the page
// count, which only the layout knows.
constexpr char kPageMarker = '\x01';
constexpr char kPagesMarker = '\x02';

class ReportData {
public:
    struct Instance {
        uint16_t band;       // Definition::band(id)
        uint32_t firstText;  // text of item k is text(firstText + item.textIndex)
    };

    std::string title;
    std::vector<Instance> instances;  // page header and footer are not among them
    size_t rowCount = 0;              // data rows read (hidden details included)
    std::vector<std::string> pageHeaderTexts, pageFooterTexts;
    std::vector<std::string> columnNames;  // the data's columns, duplicates named "F1:1" as the engine does
    // The headings of the definition's table, with their fields taken from the first row; a
    // detail band made with "kolonnefelter" has the row's values as its first texts, in the
    // same order. The Word export builds its table from these.
    std::vector<std::string> columnHeadings;

    std::string_view text(uint32_t index) const {
        uint32_t end = index + 1 < starts_.size() ? starts_[index + 1] : static_cast<uint32_t>(arena_.size());
        return std::string_view(arena_).substr(starts_[index], end - starts_[index]);
    }
    // A column of the first row as plain text (the criteria text of a championship for the
    // Word export); "" when there is no row or no such column.
    std::string firstRowValue(std::string_view column) const;

    // Page band texts with the page number and count put in.
    static std::string pageText(std::string_view text, int page, int pages);

private:
    friend class ReportDataBuilder;
    std::string arena_;
    std::vector<uint32_t> starts_;
    std::vector<std::string> firstRow_;
};

// Runs the SQL (re-ordered when the definition sorts), resolves the definition's fields
// against the data's columns and evaluates every band for every row. Throws
// DefinitionError when the definition names a field the data does not have, DbError when
// the SQL fails.
ReportData buildReportData(Database& db, Definition& def, const std::string& sql, const std::string& title);

// The SQL the rows are read with: the text itself, or wrapped in an ORDER BY of the
// definition's sort fields.
std::string orderedSql(const Definition& def, const std::string& sql);

}  // namespace vemora::reports
