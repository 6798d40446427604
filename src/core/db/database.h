#pragma once
// The one engine layer every subsystem reaches the section database through. It reports
// failures as DbError (carrying the engine's own text, which the callers show in their
// "Fejl" boxes) and never shows a dialog itself.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/db/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vemora {

class DbError : public std::runtime_error {
public:
    DbError(const std::string& what, int code = 0) : std::runtime_error(what), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// A value refused for one field (a box that holds no number), so that a form can show the
// user that field.
class FieldError : public DbError {
public:
    FieldError(std::string field, const std::string& what) : DbError(what), field_(std::move(field)) {}
    const std::string& field() const { return field_; }

private:
    std::string field_;
};

class Statement;

struct ColumnInfo {
    std::string name;
    std::string declaredType;
    bool notNull = false;
    Value defaultValue;  // the default's SQL text, Null when there is none
    bool primaryKey = false;
};

// A materialised row set: the rows of a statement in its order, fields read by name
// (without regard to case, as the engine's field names are).
class RowSet {
public:
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;

    size_t size() const { return rows.size(); }
    bool empty() const { return rows.empty(); }
    int columnIndex(std::string_view name) const;  // -1 when absent
    const Value& get(size_t row, std::string_view name) const;
};

class Database {
public:
    // How long a statement waits for a file another program holds before it fails with a
    // Danish sentence saying so. Long enough for a second import to wait out the first one.
    static constexpr std::chrono::milliseconds kDefaultBusyTimeout{30000};

    // Called with true when a statement starts waiting for a file another program holds, and
    // with false when that statement has ended, however it ended. It must not use this
    // database: the waiting statement is still running.
    using WaitNotifier = std::function<void(bool waiting)>;

    // Opens an existing regular file (fails when it is missing, locked, not a database, or a
    // folder, pipe or device).
    static std::unique_ptr<Database> open(const std::filesystem::path& file,
                                          std::chrono::milliseconds busyTimeout = kDefaultBusyTimeout,
                                          WaitNotifier onWait = {});
    // Creates a new, empty database file; fails when the file already exists.
    static std::unique_ptr<Database> create(const std::filesystem::path& file,
                                            std::chrono::milliseconds busyTimeout = kDefaultBusyTimeout,
                                            WaitNotifier onWait = {});
    // Opens an existing file for reading only: every statement that would write fails with
    // `reason` as its text, so a file that must not be changed cannot be changed by accident.
    static std::unique_ptr<Database> openReadOnly(const std::filesystem::path& file, std::string reason,
                                                  std::chrono::milliseconds busyTimeout = kDefaultBusyTimeout,
                                                  WaitNotifier onWait = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::filesystem::path& path() const { return path_; }
    const std::string& readOnlyReason() const { return readOnlyReason_; }

    // Runs one or more statements without parameters.
    void exec(const std::string& sql);
    // Runs one statement with bound values; returns the number of rows changed.
    int execute(const std::string& sql, const std::vector<Value>& params = {});
    Statement prepare(const std::string& sql);
    RowSet query(const std::string& sql, const std::vector<Value>& params = {});
    // The rows of a query from offset, at most limit of them (npos: all), for grids that
    // read as they scroll. The query's ORDER BY must leave no ties, or pages may overlap.
    RowSet queryPage(const std::string& sql, const std::vector<Value>& params, size_t offset,
                     size_t limit = std::string::npos);
    // First column of the first row, Null when there is no row.
    Value scalar(const std::string& sql, const std::vector<Value>& params = {});
    int64_t lastInsertId() const;
    int changes() const;

    // Stored queries are views; replacing one drops and creates it in one transaction so a
    // failed text leaves the old query in place.
    void createOrReplaceView(const std::string& name, const std::string& selectSql);
    std::string viewSql(const std::string& name);  // the SELECT text, "" when missing
    bool viewExists(const std::string& name);
    bool tableExists(const std::string& name);
    std::vector<std::string> tableNames();
    std::vector<std::string> viewNames();
    std::vector<ColumnInfo> columns(const std::string& tableOrView);
    bool hasColumn(const std::string& table, const std::string& column);

    // "ok" when the file is sound, else the engine's findings.
    std::string integrityCheck();
    // The engine's quick check of the file's structure (pages, records, Null rules, but not
    // the value rules, which every write holds, nor whether every index matches its table):
    // "ok", else the findings.
    std::string quickCheck();
    // Writes a compacted copy of this database into a new file.
    void compactInto(const std::filesystem::path& target);

    bool inTransaction() const;
    void setBusyTimeout(std::chrono::milliseconds timeout);
    void setWaitNotifier(WaitNotifier onWait) { onWait_ = std::move(onWait); }
    // True when the engine could open the file for reading only (the file is write-protected).
    bool readOnly() const;
    sqlite3* handle() const { return db_; }

    // Called after every commit with the tables the commit wrote to (an action statement
    // outside a transaction commits by itself; a Transaction when the outermost one commits).
    using CommitListener = std::function<void(const std::set<std::string>& tables)>;
    void setCommitListener(CommitListener listener);
    bool hasCommitListener() const { return static_cast<bool>(listener_); }

private:
    friend class Statement;
    friend class Transaction;
    static void rowChanged(void* self, int op, const char* db, const char* table, long long rowid);
    static int deleteRowByRow(void* self, int action, const char*, const char*, const char*, const char*);
    // After a statement: a finished commit reports its tables; a failed statement outside a
    // transaction changed nothing.
    void afterStatement(bool failed);
    void discardChanges();

    Database(sqlite3* db, std::filesystem::path path);
    static std::unique_ptr<Database> openWith(const std::filesystem::path& file, int flags,
                                              std::chrono::milliseconds busyTimeout, WaitNotifier onWait);
    void configure(std::chrono::milliseconds busyTimeout);
    [[noreturn]] void fail(int rc, const std::string& engineText) const;
    static int busyHandler(void* self, int count);
    // Reports the end of a wait once the call into the engine that waited has returned, by
    // any road.
    void endWait();
    struct WaitEnd {
        Database* db;
        ~WaitEnd();
    };
    sqlite3* db_;
    std::filesystem::path path_;
    std::chrono::milliseconds busyTimeout_{kDefaultBusyTimeout};
    std::chrono::steady_clock::time_point waitStart_;
    bool waiting_ = false;
    WaitNotifier onWait_;
    CommitListener listener_;
    std::set<std::string> changed_;  // tables written since the last commit
    const char* lastTable_ = nullptr;
    bool deleting_ = false;  // a DELETE statement is being prepared
    bool readOnly_ = false;
    std::string readOnlyReason_;
};

// A prepared statement with bound values; parameters are 1-based like the engine's.
class Statement {
public:
    Statement(Statement&& o) noexcept;
    Statement& operator=(Statement&& o) noexcept;
    ~Statement();

    Statement& bind(int index, const Value& v);
    Statement& bindAll(const std::vector<Value>& values);
    // Steps once; true while a row is available.
    bool step();
    // Runs to completion (for action statements) and resets for the next use.
    void run();
    void reset();
    int columnCount() const;
    std::string columnName(int i) const;
    int columnIndex(std::string_view name) const;  // -1 when absent
    Value column(int i) const;
    Value operator[](std::string_view name) const;

private:
    friend class Database;
    Statement(Database* owner, sqlite3* db, sqlite3_stmt* st, std::string sql)
        : owner_(owner), db_(db), st_(st), sql_(std::move(sql)) {}
    [[noreturn]] void fail(int rc) const;
    Database* owner_ = nullptr;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* st_ = nullptr;
    std::string sql_;
};

// RAII transaction: the outermost one is a transaction that holds the write lock from its
// start, nested ones are savepoints. Rolls back on an exception or an early return unless
// commit() was called.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();
    void rollback();

private:
    Database& db_;
    bool outermost_ = false;  // no transaction was open when this one began
    std::string name_;
    bool open_ = true;
};

// Quotes a text as an SQL literal, doubling single quotes (O'Brien -> 'O''Brien').
std::string sqlQuote(std::string_view text);
// Quotes an identifier in double quotes ("Meter / min").
std::string sqlIdent(std::string_view name);

// Danish order for names shown to people: case-insensitive, æ ø å after z. Registered on
// every connection the program opens as the collation "DANSK".
int danishCompare(std::string_view a, std::string_view b);

}  // namespace vemora
