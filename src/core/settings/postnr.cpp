#include "core/settings/postnr.h"

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/db/database.h"

namespace vemora {

PostnrLookup LookupPostnr(Database& db, const std::string& code) {
    if (code.empty()) return {PostnrLookup::Empty, {}};
    if (utf8Length(code) != 4) return {PostnrLookup::WrongLength, {}};
    RowSet r = db.query("SELECT \"By\" FROM Postnr WHERE Postnr = ?", {Value(code)});
    if (r.empty()) {
        db.execute("INSERT INTO Postnr (Postnr) VALUES (?)", {Value(code)});
        return {PostnrLookup::Added, {}};
    }
    return {PostnrLookup::Found, r.get(0, "By").toText()};
}

void StoreTown(Database& db, const std::string& code, const std::string& town) {
    if (utf8Length(code) != 4) return;
    Value by = NullIfEmpty(Value(town));
    Transaction tr(db);
    if (db.execute("UPDATE Postnr SET \"By\" = ? WHERE Postnr = ?", {by, Value(code)}) == 0)
        db.execute("INSERT INTO Postnr (Postnr, \"By\") VALUES (?, ?)", {Value(code), by});
    tr.commit();
}

}  // namespace vemora
