#pragma once
// The section database's current schema as data: the tables with their fields in their
// stored order, the indexes, the relations and the stored queries. A new database is built
// from it, and the tests and the upgrade read it to know what a current file must hold.
#include <optional>
#include <string>
#include <vector>

namespace vemora {

class Database;

constexpr int kSchemaVersion = 35;

enum class FieldType { Counter, Boolean, Integer, Long, Double, Text, DateText, TimeText };

struct FieldDef {
    std::string name;
    FieldType type;
    int size = 0;                     // Text(n); 0 for other types
    std::optional<std::string> def;   // default as SQL literal
    bool required = false;
};

struct TableDef {
    std::string name;
    std::vector<FieldDef> fields;
    std::vector<std::string> primaryKey;  // empty: none
    std::vector<std::string> constraints; // foreign keys and the like, as SQL
};

struct IndexDef {
    std::string table;
    std::string name;  // the engine name is table + "_" + name, since SQLite's index names are global
    std::vector<std::string> fields;  // "Meter / min DESC" for a descending field
    bool unique = false;
};

struct ViewDef {
    std::string name;
    std::string select;
};

const std::vector<TableDef>& schemaTables();
const std::vector<IndexDef>& schemaIndexes();
// The stored queries in creation order (queries that read other queries come after them).
const std::vector<ViewDef>& schemaViews();
const ViewDef* findView(const std::string& name);
const TableDef* findTable(const std::string& name);

// The declared SQLite type for a field, e.g. "VARCHAR(3)" or "BOOLEAN".
std::string declaredType(const FieldDef& f);
// The full column definition used in CREATE TABLE and ALTER TABLE ADD COLUMN.
std::string columnDefinition(const FieldDef& f);

// The statements that create a table (fields, key and relations), an index, and the
// triggers through which deleting or renumbering a club reaches its accounts.
std::string createTableSql(const TableDef& t);
std::string createIndexSql(const IndexDef& ix);
const std::vector<std::string>& clubAccountTriggers();

// Builds every table, index, relation, stored query and the delivered rows into an empty
// database, in one transaction.
void createSchema(Database& db);

// The race kinds of the point table fields of Markering, in their order.
const std::vector<std::string>& pointTableKinds();

// The columns of the championship page layout query: the standing, then the page tables'
// columns named after their table ("CrosstabResult.F1", "CrosstabHeaders.F1").
std::string mesterskabCrosstabColumns();

// The select text of the race accounts, optionally restricted to one race.
std::string kapflyvningsregnskabSql(std::optional<long long> race = std::nullopt);
// The same with a condition on the accounts' sources (Regnskab, Kapflyvninger, ...); empty
// for none.
std::string kapflyvningsregnskabSql(const std::string& where);
// The prize summary of a Deltagere row ("A3/E"), as an SQL expression.
std::string prizeSummarySql();

}  // namespace vemora
