#pragma once
// The operations the upgrade steps are made of, each carried out on SQLite so that running it
// again on a file that already has its object does no harm, and the table of steps itself.
#include <string>
#include <vector>

#include "core/base/ui.h"
#include "core/db/database.h"
#include "core/db/schema.h"

namespace vemora::upgrade {

constexpr int kLastStep = 34;

class Upgrader {
public:
    Upgrader(Database& db, Ui& ui) : db_(db), ui_(ui) {}

    // A field of the current schema (or the given definition) appended to a table.
    void addField(const std::string& table, const std::string& field);
    void addField(const std::string& table, const FieldDef& field);
    // A new table with the listed fields of the current schema, its key and its relations. A
    // table that is already there gets the listed fields it lacks.
    void createTable(const std::string& table, const std::vector<std::string>& fields);
    void createIndex(const std::string& table, const std::string& name);
    // A relation with cascading updates and deletes, by its name.
    void relation(const std::string& name);
    // Writes a stored query's text; the query must exist.
    void changeQuery(const std::string& name, const std::string& select);
    // Creates a stored query; one that already exists keeps its text.
    void createQuery(const std::string& name, const std::string& select);
    // An action statement; a duplicate key counts as a row that is already there.
    void execute(const std::string& sql);
    // Counts every race's entries per club from the birds and loft games into Regnskab.
    void fillRegnskab();
    // Replaces a text field by a wider one of the same name, keeping every value.
    void widenField(const std::string& table, const std::string& field, int size);
    // Brings every table into the current field order with its key and relations.
    void conformTables();

    bool failed() const { return failed_; }
    bool cancelled() const { return cancelled_; }

    // Runs one operation on its own savepoint: a failure undoes that operation only and is
    // reported (unless the user silenced further messages); Cancel stops every later one.
    template <class Op>
    void run(Op&& op) {
        if (cancelled_) return;
        try {
            Transaction t(db_);
            op();
            t.commit();
        } catch (const DbError& e) {
            fault(e.code(), e.what());
        } catch (const std::exception& e) {
            fault(0, e.what());
        }
    }

private:
    void fault(int code, const std::string& text);
    Database& db_;
    Ui& ui_;
    bool failed_ = false;
    bool silent_ = false;
    bool cancelled_ = false;
};

// Runs step `step` (0 to kLastStep) of the upgrade.
void runStep(Upgrader& u, int step);

// Rebuilds a table into its current definition: the fields it has, in the current order
// (fields the schema does not know after them), with the current key and relations and every
// row, index and trigger kept. Does nothing when the table already has that form. Needs the
// connection's foreign key enforcement off.
void rebuildTable(Database& db, const TableDef& def);

// Earlier texts of the stored queries that later steps replace. `step` is the step that
// writes the text.
std::string kapflyvningerQuery(int step);
std::string kapflyvningsregnskabQuery(int step);
std::string mesterskaberQuery(int step);

}  // namespace vemora::upgrade
