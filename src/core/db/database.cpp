#include "core/db/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <cstring>

#include "core/base/text.h"

namespace vemora {

namespace fs = std::filesystem;

int RowSet::columnIndex(std::string_view name) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (iequals(columns[i], name)) return static_cast<int>(i);
    return -1;
}

const Value& RowSet::get(size_t row, std::string_view name) const {
    int i = columnIndex(name);
    if (i < 0) throw DbError("Feltet '" + std::string(name) + "' findes ikke i denne samling.");
    return rows.at(row).at(static_cast<size_t>(i));
}

// ---- Danish collation ----------------------------------------------------------------

static uint32_t nextCodepoint(std::string_view s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra = (c >= 0xF0) ? 3 : (c >= 0xE0) ? 2 : (c >= 0xC0) ? 1 : 0;
    uint32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra && i < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return cp;
}

static uint32_t danishKey(uint32_t cp) {
    if (cp >= 'A' && cp <= 'Z') cp += 32;
    switch (cp) {
        case 0xC6: case 0xE6: case 0xC4: case 0xE4: return 'z' + 1;  // Æ æ (Ä ä sort with them)
        case 0xD8: case 0xF8: case 0xD6: case 0xF6: return 'z' + 2;  // Ø ø (Ö ö)
        case 0xC5: case 0xE5: return 'z' + 3;                        // Å å
        default: break;
    }
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) cp += 32;  // other Latin-1 capitals
    if (cp > 'z') cp += 3;  // keep everything else after the three Danish letters
    return cp;
}

int danishCompare(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        uint32_t x = danishKey(nextCodepoint(a, i)), y = danishKey(nextCodepoint(b, j));
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

static int danishCollation(void*, int na, const void* a, int nb, const void* b) {
    return danishCompare(std::string_view(static_cast<const char*>(a), static_cast<size_t>(na)),
                         std::string_view(static_cast<const char*>(b), static_cast<size_t>(nb)));
}

// ---- Database ------------------------------------------------------------------------

Database::Database(sqlite3* db, fs::path path) : db_(db), path_(std::move(path)) {}

Database::~Database() {
    if (db_) sqlite3_close_v2(db_);
}

std::unique_ptr<Database> Database::open(const fs::path& file, std::chrono::milliseconds busyTimeout, WaitNotifier onWait) {
    std::error_code ec;
    if (!fs::exists(file, ec)) throw DbError("Databasefilen '" + file.string() + "' findes ikke.");
    // The engine would wait on a pipe until someone writes to it, and take a device for a file.
    if (!fs::is_regular_file(file, ec))
        throw DbError("Databasen '" + file.string() + "' kan ikke åbnes: det er ikke en almindelig fil.");
    return openWith(file, SQLITE_OPEN_READWRITE, busyTimeout, std::move(onWait));
}

std::unique_ptr<Database> Database::create(const fs::path& file, std::chrono::milliseconds busyTimeout, WaitNotifier onWait) {
    std::error_code ec;
    if (fs::exists(file, ec) || fs::is_symlink(file, ec)) throw DbError("Filen '" + file.string() + "' findes allerede.");
    return openWith(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, busyTimeout, std::move(onWait));
}

std::unique_ptr<Database> Database::openReadOnly(const fs::path& file, std::string reason, std::chrono::milliseconds busyTimeout,
                                                 WaitNotifier onWait) {
    std::error_code ec;
    if (!fs::exists(file, ec)) throw DbError("Databasefilen '" + file.string() + "' findes ikke.");
    auto db = openWith(file, SQLITE_OPEN_READONLY, busyTimeout, std::move(onWait));
    db->readOnly_ = true;
    db->readOnlyReason_ = std::move(reason);
    return db;
}

std::unique_ptr<Database> Database::openWith(const fs::path& file, int flags, std::chrono::milliseconds busyTimeout,
                                             WaitNotifier onWait) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(file.string().c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
        if (raw) sqlite3_close_v2(raw);
        throw DbError("Databasen '" + file.string() + "' kan ikke åbnes: " + msg, rc);
    }
    std::unique_ptr<Database> db(new Database(raw, file));
    db->onWait_ = std::move(onWait);
    db->configure(busyTimeout);
    return db;
}

void Database::setBusyTimeout(std::chrono::milliseconds timeout) {
    busyTimeout_ = timeout;
    sqlite3_busy_handler(db_, &Database::busyHandler, this);
}

bool Database::readOnly() const { return readOnly_ || sqlite3_db_readonly(db_, "main") == 1; }

// The engine's own busy wait, plus the notice that a wait has begun, so the user sees why
// nothing happens for a while.
int Database::busyHandler(void* self, int count) {
    auto& db = *static_cast<Database*>(self);
    auto now = std::chrono::steady_clock::now();
    if (count == 0) db.waitStart_ = now;
    auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(now - db.waitStart_);
    if (waited >= db.busyTimeout_) return 0;
    if (!db.waiting_) {
        db.waiting_ = true;
        if (db.onWait_) db.onWait_(true);
    }
    // Short naps first, so a lock held only for another program's commit costs little.
    static constexpr int kNaps[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
    int nap = count < static_cast<int>(std::size(kNaps)) ? kNaps[count] : 100;
    sqlite3_sleep(static_cast<int>(std::min<long long>(nap, (db.busyTimeout_ - waited).count())));
    return 1;
}

void Database::endWait() {
    if (!waiting_) return;
    waiting_ = false;
    try {
        if (onWait_) onWait_(false);
    } catch (...) {
        // The statement's own result is what the caller needs.
    }
}

Database::WaitEnd::~WaitEnd() { db->endWait(); }

// The engine's text, behind a Danish sentence when another program held the file for the
// whole busy wait.
static DbError engineError(sqlite3* db, int rc, std::string text) {
    if ((rc & 0xFF) == SQLITE_BUSY) {
        const char* file = sqlite3_db_filename(db, "main");
        std::string name = file && *file ? fs::path(file).filename().string() : std::string("databasen");
        text = "Et andet program bruger " + name + ". Prøv igen, når det andet program er færdigt (" + text + ").";
    }
    return DbError(text, rc);
}

// A DELETE statement removes its rows one by one, so that the row hook sees them: a DELETE
// without a WHERE would otherwise empty the table at once and tell nobody. Only while a
// DELETE is prepared: a DROP asks the same question, and the same answer skips the DROP.
int Database::deleteRowByRow(void* self, int action, const char*, const char*, const char*, const char*) {
    return action == SQLITE_DELETE && static_cast<Database*>(self)->deleting_ ? SQLITE_IGNORE : SQLITE_OK;
}

void Database::configure(std::chrono::milliseconds busyTimeout) {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_update_hook(db_, &Database::rowChanged, this);
    sqlite3_set_authorizer(db_, &Database::deleteRowByRow, this);
    setBusyTimeout(busyTimeout);
    sqlite3_create_collation(db_, "DANSK", SQLITE_UTF8, nullptr, danishCollation);
    // A misspelt "Field name" must be an error, not a text constant that quietly fills a column.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    // The first statement reads the header: a file that is not a database fails here, before
    // anything could be written to it.
    try {
        // A season holds hundreds of thousands of birds; with the default 2 MB of cache, writing
        // one race's results spills pages to the file before the commit.
        exec("PRAGMA foreign_keys = ON; PRAGMA cache_size = -32768;");
        scalar("SELECT count(*) FROM sqlite_master");
    } catch (const DbError& e) {
        throw DbError("Databasen '" + path_.string() + "' kan ikke åbnes: " + e.what(), e.code());
    }
}

void Database::fail(int rc, const std::string& engineText) const {
    if (readOnly_ && !readOnlyReason_.empty() && (rc & 0xff) == SQLITE_READONLY) throw DbError(readOnlyReason_, rc);
    throw engineError(db_, rc, engineText);
}

// Whether a statement's text is a DELETE (for the authorizer below).
static bool isDelete(const char* sql) {
    while (*sql == ' ' || *sql == '\t' || *sql == '\r' || *sql == '\n') ++sql;
    return iequals(std::string_view(sql, std::min<size_t>(6, std::strlen(sql))), "delete");
}

void Database::exec(const std::string& sql) {
    // Statement by statement, as the engine's own exec does, so each is prepared knowing
    // whether it is a DELETE.
    const char* tail = sql.c_str();
    while (*tail) {
        sqlite3_stmt* st = nullptr;
        deleting_ = isDelete(tail);
        int rc;
        {
            WaitEnd w{this};
            rc = sqlite3_prepare_v2(db_, tail, -1, &st, &tail);
            if (rc == SQLITE_OK && st) {
                while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                }
                if (rc == SQLITE_DONE) rc = SQLITE_OK;
            }
        }
        std::string msg = rc == SQLITE_OK ? std::string() : std::string(sqlite3_errmsg(db_));
        sqlite3_finalize(st);
        afterStatement(rc != SQLITE_OK);
        if (rc != SQLITE_OK) fail(rc, msg);
        if (!st) break;  // only blanks or a comment were left
    }
}

void Database::setCommitListener(CommitListener listener) { listener_ = std::move(listener); }

void Database::rowChanged(void* self, int, const char*, const char* table, long long) {
    auto* d = static_cast<Database*>(self);
    // A statement writes row after row of one table; the engine hands the same name each time.
    if (table == d->lastTable_) return;
    d->lastTable_ = table;
    d->changed_.insert(table);
}

void Database::afterStatement(bool failed) {
    if (changed_.empty() || !sqlite3_get_autocommit(db_)) return;
    if (failed) {
        discardChanges();
        return;
    }
    std::set<std::string> tables;
    tables.swap(changed_);
    lastTable_ = nullptr;
    if (listener_) listener_(tables);
}

void Database::discardChanges() {
    changed_.clear();
    lastTable_ = nullptr;
}

Statement Database::prepare(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    deleting_ = isDelete(sql.c_str());
    int rc;
    {
        // Reading the schema can wait for another program too.
        WaitEnd w{this};
        rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr);
    }
    if (rc != SQLITE_OK) fail(rc, sqlite3_errmsg(db_));
    if (!st) throw DbError("Tom SQL-sætning.");
    return Statement(this, db_, st, sql);
}

int Database::execute(const std::string& sql, const std::vector<Value>& params) {
    Statement st = prepare(sql);
    st.bindAll(params);
    st.run();
    return changes();
}

RowSet Database::query(const std::string& sql, const std::vector<Value>& params) {
    Statement st = prepare(sql);
    st.bindAll(params);
    RowSet rs;
    int n = st.columnCount();
    rs.columns.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) rs.columns.push_back(st.columnName(i));
    while (st.step()) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) row.push_back(st.column(i));
        rs.rows.push_back(std::move(row));
    }
    return rs;
}

RowSet Database::queryPage(const std::string& sql, const std::vector<Value>& params, size_t offset, size_t limit) {
    std::vector<Value> all = params;
    all.emplace_back(limit == std::string::npos ? -1LL : static_cast<long long>(limit));
    all.emplace_back(static_cast<long long>(offset));
    return query(sql + " LIMIT ? OFFSET ?", all);
}

Value Database::scalar(const std::string& sql, const std::vector<Value>& params) {
    Statement st = prepare(sql);
    st.bindAll(params);
    if (st.step() && st.columnCount() > 0) return st.column(0);
    return {};
}

int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }
int Database::changes() const { return sqlite3_changes(db_); }
bool Database::inTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

void Database::createOrReplaceView(const std::string& name, const std::string& selectSql) {
    Transaction t(*this);
    exec("DROP VIEW IF EXISTS " + sqlIdent(name));
    exec("CREATE VIEW " + sqlIdent(name) + " AS " + selectSql);
    // A view is only checked when it is used; selecting from it now makes a wrong text fail
    // here, inside the transaction, and leaves the old query in place.
    prepare("SELECT * FROM " + sqlIdent(name) + " LIMIT 0");
    t.commit();
}

std::string Database::viewSql(const std::string& name) {
    Value v = scalar("SELECT sql FROM sqlite_master WHERE type = 'view' AND name = ? COLLATE NOCASE", {name});
    if (v.isNull()) return {};
    const std::string& s = v.text();
    // "CREATE VIEW name AS select": return the select.
    std::string caps = upper(s);
    size_t quoteEnd = s.find('"', s.find('"') + 1);
    size_t as = caps.find(" AS ", quoteEnd == std::string::npos ? 0 : quoteEnd);
    return as == std::string::npos ? s : s.substr(as + 4);
}

bool Database::viewExists(const std::string& name) {
    return scalar("SELECT count(*) FROM sqlite_master WHERE type = 'view' AND name = ? COLLATE NOCASE", {name})
               .toInt() > 0;
}

bool Database::tableExists(const std::string& name) {
    return scalar("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", {name})
               .toInt() > 0;
}

static std::vector<std::string> names(Database& db, const char* type) {
    RowSet rs = db.query(
        "SELECT name FROM sqlite_master WHERE type = ? AND name NOT LIKE 'sqlite_%' ORDER BY name", {type});
    std::vector<std::string> out;
    for (auto& r : rs.rows) out.push_back(r[0].toText());
    return out;
}

std::vector<std::string> Database::tableNames() { return names(*this, "table"); }
std::vector<std::string> Database::viewNames() { return names(*this, "view"); }

std::vector<ColumnInfo> Database::columns(const std::string& tableOrView) {
    RowSet rs = query("SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?)", {tableOrView});
    std::vector<ColumnInfo> out;
    for (auto& r : rs.rows)
        out.push_back({r[0].toText(), r[1].toText(), r[2].toBool(), r[3], r[4].toInt() > 0});
    return out;
}

bool Database::hasColumn(const std::string& table, const std::string& column) {
    for (auto& c : columns(table))
        if (iequals(c.name, column)) return true;
    return false;
}

std::string Database::integrityCheck() {
    RowSet rs = query("PRAGMA integrity_check");
    std::string out;
    for (auto& r : rs.rows) {
        if (!out.empty()) out += "\n";
        out += r[0].toText();
    }
    RowSet fk = query("PRAGMA foreign_key_check");
    if (!fk.empty()) {
        if (out == "ok") out.clear();
        for (auto& r : fk.rows) {
            if (!out.empty()) out += "\n";
            out += "foreign key: " + r[0].toText() + " -> " + r[2].toText();
        }
    }
    return out;
}

std::string Database::quickCheck() {
    // The value rules are held on every write; evaluating them again for every row was three
    // quarters of the check's time on a full season, and what the start-up must find is a
    // damaged file, which the page and record checks find.
    exec("PRAGMA ignore_check_constraints = ON");
    struct Restore {
        Database* db;
        ~Restore() {
            try {
                db->exec("PRAGMA ignore_check_constraints = OFF");
            } catch (...) {
            }
        }
    } restore{this};
    RowSet rs = query("PRAGMA quick_check");
    std::string out;
    for (auto& r : rs.rows) {
        if (!out.empty()) out += "\n";
        out += r[0].toText();
    }
    return out;
}

void Database::compactInto(const fs::path& target) {
    if (fs::exists(target)) throw DbError("Filen '" + target.string() + "' findes allerede.");
    execute("VACUUM INTO ?", {target.string()});
}

// ---- Statement -----------------------------------------------------------------------

Statement::Statement(Statement&& o) noexcept : owner_(o.owner_), db_(o.db_), st_(o.st_), sql_(std::move(o.sql_)) {
    o.st_ = nullptr;
}

Statement& Statement::operator=(Statement&& o) noexcept {
    if (this != &o) {
        if (st_) sqlite3_finalize(st_);
        owner_ = o.owner_;
        db_ = o.db_;
        st_ = o.st_;
        sql_ = std::move(o.sql_);
        o.st_ = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    if (st_) sqlite3_finalize(st_);
}

void Statement::fail(int rc) const { owner_->fail(rc, sqlite3_errmsg(db_)); }

Statement& Statement::bind(int index, const Value& v) {
    int rc;
    if (v.isNull()) rc = sqlite3_bind_null(st_, index);
    else if (v.isInt()) rc = sqlite3_bind_int64(st_, index, v.toInt());
    else if (v.isDouble()) rc = sqlite3_bind_double(st_, index, v.toDouble());
    else rc = sqlite3_bind_text(st_, index, v.text().data(), static_cast<int>(v.text().size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) fail(rc);
    return *this;
}

Statement& Statement::bindAll(const std::vector<Value>& values) {
    for (size_t i = 0; i < values.size(); ++i) bind(static_cast<int>(i + 1), values[i]);
    return *this;
}

bool Statement::step() {
    int rc;
    {
        Database::WaitEnd w{owner_};
        rc = sqlite3_step(st_);
    }
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
        owner_->afterStatement(false);
        return false;
    }
    sqlite3_reset(st_);
    owner_->afterStatement(true);
    fail(rc);
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}

int Statement::columnCount() const { return sqlite3_column_count(st_); }
std::string Statement::columnName(int i) const { return sqlite3_column_name(st_, i); }

int Statement::columnIndex(std::string_view name) const {
    int n = columnCount();
    for (int i = 0; i < n; ++i)
        if (iequals(sqlite3_column_name(st_, i), name)) return i;
    return -1;
}

Value Statement::column(int i) const {
    switch (sqlite3_column_type(st_, i)) {
        case SQLITE_INTEGER: return Value(static_cast<long long>(sqlite3_column_int64(st_, i)));
        case SQLITE_FLOAT: return Value(sqlite3_column_double(st_, i));
        case SQLITE_NULL: return Value();
        default: {
            auto p = reinterpret_cast<const char*>(sqlite3_column_text(st_, i));
            return Value(std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st_, i))));
        }
    }
}

Value Statement::operator[](std::string_view name) const {
    int i = columnIndex(name);
    if (i < 0) throw DbError("Feltet '" + std::string(name) + "' findes ikke i denne samling.");
    return column(i);
}

// ---- Transaction ---------------------------------------------------------------------

Transaction::Transaction(Database& db) : db_(db), outermost_(!db.inTransaction()) {
    static std::atomic<int> counter{0};
    name_ = "vemora_sp" + std::to_string(++counter);
    // The outermost one takes the write lock at once, waiting for another program's writer
    // if need be. A transaction that had read first could not wait for it later: the engine
    // refuses at once where two readers would each wait for the other to let go.
    db_.exec(outermost_ ? "BEGIN IMMEDIATE" : "SAVEPOINT " + name_);
}

Transaction::~Transaction() {
    if (open_) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    if (!open_) return;
    db_.exec(outermost_ ? "COMMIT" : "RELEASE " + name_);
    open_ = false;
}

void Transaction::rollback() {
    if (!open_) return;
    open_ = false;
    // A commit that failed because another program held the file leaves the transaction open;
    // the rollback must end it, or the file would stay locked. Undone work changed nothing; an
    // inner rollback may still report its tables with the outer commit, which only costs an
    // open list a needless refresh.
    if (outermost_) {
        db_.discardChanges();
        if (db_.inTransaction()) db_.exec("ROLLBACK");
    } else {
        db_.exec("ROLLBACK TO " + name_ + "; RELEASE " + name_);
    }
}

// ---- helpers -------------------------------------------------------------------------

std::string sqlQuote(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

std::string sqlIdent(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace vemora
