#include "core/import/importfejl.h"

namespace vemora {

namespace {

const char* kOrder = " Order By Uge, Forening, Farvekode, Slag, Ringnummer";

// The WHERE clause with its values bound, so a club typed in the box never becomes SQL.
std::string where(const ImportFejlFilter& f, std::vector<Value>& params) {
    std::string c;
    if (!f.week.empty()) {
        c = "Uge = ?";
        params.push_back(Value::fromNumberText(f.week).value_or(Value(f.week)));
    }
    if (!f.club.empty()) {
        c += (c.empty() ? "" : " And ") + std::string("Forening = ?");
        params.emplace_back(f.club);
    }
    return c.empty() ? c : " Where " + c;
}

}  // namespace

std::string importFejlRecordSource(const ImportFejlFilter& f) {
    std::string c;
    if (!f.week.empty()) c = "Uge = " + f.week;
    if (!f.club.empty()) c += (c.empty() ? "" : " And ") + std::string("Forening = ") + sqlQuote(f.club);
    if (!c.empty()) c = "Where " + c;
    return "Select * From ImportFejl " + c + kOrder;
}

RowSet ListImportFejl(Database& db, const ImportFejlFilter& f, size_t offset, size_t limit) {
    std::vector<Value> params;
    std::string w = where(f, params);
    return db.queryPage("Select * From ImportFejl" + w + kOrder + ", rowid", params, offset, limit);
}

void DeleteImportFejl(Database& db, const ImportFejlFilter& f) {
    std::vector<Value> params;
    std::string w = where(f, params);
    db.execute("Delete From ImportFejl" + w, params);
}

}  // namespace vemora
