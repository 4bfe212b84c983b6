// The database access layer over the SQLite 3 C library.
#include "storage/sqlite.h"

#include <charconv>
#include <list>
#include <string_view>
#include <unordered_map>
#include <sqlite3.h>

namespace {

// Raised inside the layer when a statement taken from the cache fails.
struct StaleStatement { };

std::string ascii_upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string ascii_lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The full text of a layer error: the message, and when SQLite reported a
// failure its code, the code's description, the statement and SQLite's text.
std::string layer_message(const std::string& message, int code, const std::string& sql, const char* sqlite_text)
{
    if (code == 0)
        return message;
    return message + ".\rError [" + std::to_string(code) + "]: " + sqlite_code_description(code) + ".\r\"" + sql +
           "\": " + (sqlite_text ? sqlite_text : "");
}

}  // namespace

// Compiled query statements by their text, least recently used dropped
// first.  A statement taken out is not in the cache while it runs.
class TSQLiteDatabase::StatementCache {
public:
    ~StatementCache()
    {
        for (auto& entry : entries_)
            sqlite3_finalize(entry.second);
    }

    sqlite3_stmt* take(const std::string& sql)
    {
        auto found = index_.find(sql);
        if (found == index_.end())
            return nullptr;
        sqlite3_stmt* stmt = found->second->second;
        entries_.erase(found->second);
        index_.erase(found);
        return stmt;
    }

    // Takes back a statement that ran to its end, ready for the next use.
    void give(const std::string& sql, sqlite3_stmt* stmt)
    {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        if (index_.count(sql)) {
            sqlite3_finalize(stmt);
            return;
        }
        entries_.emplace_front(sql, stmt);
        index_.emplace(entries_.front().first, entries_.begin());
        if (entries_.size() > capacity) {
            index_.erase(entries_.back().first);
            sqlite3_finalize(entries_.back().second);
            entries_.pop_back();
        }
    }

private:
    static constexpr std::size_t capacity = 128;
    using Entries = std::list<std::pair<std::string, sqlite3_stmt*>>;
    Entries entries_;  // most recently used first
    std::unordered_map<std::string_view, Entries::iterator> index_;  // keys point into entries_
};

// One compiled statement, finalised when it leaves scope unless it is
// handed back to the cache after a complete run.
class TSQLiteDatabase::Statement {
public:
    explicit Statement(StatementCache* cache = nullptr) : cache_(cache) { }
    ~Statement()
    {
        if (keep_ && cache_)
            cache_->give(sql_, stmt_);
        else
            sqlite3_finalize(stmt_);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Compiles the first statement of `sql`; the rest of the text is ignored.
    int prepare(sqlite3* db, const std::string& sql)
    {
        if (cache_) {
            sql_ = sql;
            stmt_ = cache_->take(sql);
            if (stmt_) {
                from_cache_ = true;
                return SQLITE_OK;
            }
        }
        return sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr);
    }
    sqlite3_stmt* get() const noexcept { return stmt_; }
    explicit operator bool() const noexcept { return stmt_ != nullptr; }
    bool from_cache() const noexcept { return from_cache_; }
    void keep() noexcept { keep_ = true; }

private:
    StatementCache* cache_;
    std::string sql_;
    sqlite3_stmt* stmt_ = nullptr;
    bool from_cache_ = false;
    bool keep_ = false;
};

namespace {

int bind_value(sqlite3_stmt* stmt, int index, const SqlValue& value)
{
    struct Binder {
        sqlite3_stmt* s;
        int i;
        int operator()(std::monostate) const { return sqlite3_bind_null(s, i); }
        int operator()(std::int64_t v) const { return sqlite3_bind_int64(s, i, v); }
        int operator()(double v) const { return sqlite3_bind_double(s, i, v); }
        int operator()(const std::string& v) const
        {
            return sqlite3_bind_text64(s, i, v.data(), v.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        int operator()(const std::vector<unsigned char>& v) const
        {
            // An empty vector has no data pointer; SQLite would bind NULL then.
            return v.empty() ? sqlite3_bind_zeroblob(s, i, 0)
                             : sqlite3_bind_blob64(s, i, v.data(), v.size(), SQLITE_TRANSIENT);
        }
    };
    return std::visit(Binder{stmt, index}, value);
}

ColumnKind kind_of_declared_type(const char* declared, int first_value_type)
{
    if (declared == nullptr)
        return static_cast<ColumnKind>(first_value_type);
    std::string_view t(declared);
    if (t == "INTEGER" || t == "BOOLEAN")
        return ColumnKind::Integer;
    if (t == "NUMERIC" || t == "FLOAT" || t == "DOUBLE" || t == "REAL")
        return ColumnKind::Float;
    if (t == "BLOB")
        return ColumnKind::Blob;
    return ColumnKind::Text;
}

std::string double_text(double v)
{
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, result.ptr);
}

}  // namespace

std::string sqlite_code_description(int code)
{
    switch (code) {
    case 0: return "Successful result";
    case 1: return "SQL error or missing database";
    case 2: return "An internal logic error in SQLite";
    case 3: return "Access permission denied";
    case 4: return "Callback routine requested an abort";
    case 5: return "The database file is locked";
    case 6: return "A table in the database is locked";
    case 7: return "A malloc() failed";
    case 8: return "Attempt to write a readonly database";
    case 9: return "Operation terminated by sqlite3_interrupt()";
    case 10: return "Some kind of disk I/O error occurred";
    case 11: return "The database disk image is malformed";
    case 12: return "(Internal Only) Table or record not found";
    case 13: return "Insertion failed because database is full";
    case 14: return "Unable to open the database file";
    case 15: return "Database lock protocol error";
    case 16: return "Database is empty";
    case 17: return "The database schema changed";
    case 18: return "Too much data for one row of a table";
    case 19: return "Abort due to contraint violation";
    case 20: return "Data type mismatch";
    case 21: return "Library used incorrectly";
    case 22: return "Uses OS features not supported on host";
    case 23: return "Authorization denied";
    case 24: return "Auxiliary database format error";
    case 25: return "2nd parameter to sqlite3_bind out of range";
    case 26: return "File opened that is not a database file";
    case 100: return "sqlite3_step() has another row ready";
    case 101: return "sqlite3_step() has finished executing";
    default: return "Unknown SQLite Error Code \"" + std::to_string(code) + "\"";
    }
}

// ---------------------------------------------------------------- table

bool TSQLiteTable::next() noexcept
{
    if (at_end())
        return false;
    ++current_;
    return true;
}

int TSQLiteTable::column_index(const std::string& name) const
{
    if (names_.empty())
        throw ESQLiteException("Field " + name + " Not found. Empty dataset");
    const std::string wanted = ascii_upper(name);
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == wanted)
            return static_cast<int>(i);
    throw ESQLiteException("Field not found in dataset: " + name);
}

// Stored by the column's kind; texts and blobs go to the end of bytes_.
void TSQLiteTable::append_field(sqlite3_stmt* stmt, int column)
{
    const ColumnKind kind = kinds_[static_cast<std::size_t>(column)];
    Field field;
    if (sqlite3_column_type(stmt, column) != SQLITE_NULL) {
        switch (kind) {
        case ColumnKind::Integer:
            field.kind = kind;
            field.integer = sqlite3_column_int64(stmt, column);
            break;
        case ColumnKind::Float:
            field.kind = kind;
            field.real = sqlite3_column_double(stmt, column);
            break;
        default: {
            // The pointer first, then its length: the order SQLite asks for.
            const void* data = kind == ColumnKind::Blob ? sqlite3_column_blob(stmt, column)
                                                        : static_cast<const void*>(sqlite3_column_text(stmt, column));
            const int size = sqlite3_column_bytes(stmt, column);
            if (kind == ColumnKind::Blob && size <= 0)
                break;  // an empty blob is stored as null
            field.kind = kind == ColumnKind::Blob ? ColumnKind::Blob : ColumnKind::Text;
            field.offset = bytes_.size();
            field.size = data ? static_cast<std::size_t>(size) : 0;
            bytes_.append(static_cast<const char*>(data), field.size);
        }
        }
    }
    fields_.push_back(field);
}

std::string TSQLiteTable::field_text(int index) const
{
    if (at_end())
        throw ESQLiteException("Table is at End of File");
    if (index < 0 || index >= column_count())
        throw ESQLiteException("Field index out of range: " + std::to_string(index));
    const std::size_t at = static_cast<std::size_t>(current_) * names_.size() + static_cast<std::size_t>(index);
    const Field& field = fields_[at];
    switch (field.kind) {
    case ColumnKind::Null: return {};
    case ColumnKind::Integer: return std::to_string(field.integer);
    case ColumnKind::Float: return double_text(field.real);
    default: return bytes_.substr(field.offset, field.size);
    }
}

// ---------------------------------------------------------------- connection

namespace {

// SQLite's memory statistics take a global mutex on every allocation; the
// program never reads them.  The setting must come before the library's
// first use, so it is made once, before the first connection.
void configure_library_once()
{
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)configured;
}

}  // namespace

TSQLiteDatabase::TSQLiteDatabase(const std::string& file_name)
{
    configure_library_once();
    // Read-write, created when missing, as the plain open call; without the
    // connection mutex, since only the GUI thread ever uses a connection.
    int rc = sqlite3_open_v2(file_name.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    if (rc == SQLITE_OK) {
        cache_ = std::make_unique<StatementCache>();
        sqlite3_exec(db_, "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
        return;
    }
    if (db_ == nullptr)
        throw ESQLiteException("Failed to open database \"" + file_name + "\" : unknown error", rc);
    std::string message = "Failed to open database \"" + file_name + "\" : " + sqlite3_errmsg(db_);
    sqlite3_close(db_);
    db_ = nullptr;
    throw ESQLiteException(message, rc);
}

TSQLiteDatabase::~TSQLiteDatabase()
{
    if (transaction_open_) {
        try {
            rollback_transaction();
        } catch (...) {
            // Closing the connection discards the transaction anyway.
        }
    }
    cache_.reset();  // finalises the kept statements, so the close succeeds
    sqlite3_close_v2(db_);
}

void TSQLiteDatabase::fail(const std::string& message, int code, const std::string& sql, bool layer)
{
    const char* sqlite_text = sqlite3_errmsg(db_);
    std::string text = layer ? layer_message(message, code, sql, sqlite_text) : message;
    abandon_transaction();
    throw ESQLiteException(text, code);
}

// A statement failed while a transaction was open: roll it back so that the
// connection is usable again instead of refusing every later transaction.
void TSQLiteDatabase::abandon_transaction() noexcept
{
    if (!transaction_open_)
        return;
    transaction_open_ = false;
    if (sqlite3_get_autocommit(db_) == 0)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void TSQLiteDatabase::prepare(Statement& stmt, const std::string& sql, const SqlParams& params)
{
    if (stmt.prepare(db_, sql) != SQLITE_OK)
        fail("Error executing SQL", sqlite3_errcode(db_), sql);
    if (!stmt)
        fail("Could not prepare SQL statement", sqlite3_errcode(db_), sql);
    const int expected = sqlite3_bind_parameter_count(stmt.get());
    if (static_cast<std::size_t>(expected) != params.size()) {
        abandon_transaction();
        throw ESQLiteException(
            layer_message(
                "Error executing SQL", SQLITE_RANGE, sql,
                (std::to_string(params.size()) + " values for " + std::to_string(expected) + " placeholders").c_str()),
            SQLITE_RANGE);
    }
    for (std::size_t i = 0; i < params.size(); ++i)
        if (bind_value(stmt.get(), static_cast<int>(i) + 1, params[i]) != SQLITE_OK)
            fail("Error executing SQL", sqlite3_errcode(db_), sql);
}

void TSQLiteDatabase::execute(const std::string& sql, const SqlParams& params)
{
    Statement stmt;
    prepare(stmt, sql, params);
    int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_DONE)
        return;
    sqlite3_reset(stmt.get());
    fail("Error executing SQL statement", sqlite3_errcode(db_), sql);
}

TSQLiteTable TSQLiteDatabase::query(const std::string& sql, const SqlParams& params)
{
    try {
        Statement stmt(cache_.get());
        return run_query(stmt, sql, params);
    } catch (const StaleStatement&) {
        // A kept statement failed (its table may have gone since it was
        // compiled): compile afresh, so the error is the one a new
        // statement gives.  The failed run changed nothing.
    }
    Statement fresh;
    return run_query(fresh, sql, params);
}

TSQLiteTable TSQLiteDatabase::run_query(Statement& stmt, const std::string& sql, const SqlParams& params)
{
    prepare(stmt, sql, params);
    TSQLiteTable table;
    for (;;) {
        int rc = sqlite3_step(stmt.get());
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW && stmt.from_cache() && (!transaction_open_ || sqlite3_get_autocommit(db_) == 0)) {
            sqlite3_reset(stmt.get());
            throw StaleStatement{};
        }
        if (rc == SQLITE_BUSY)
            fail("Could not prepare SQL statement", rc, sql, false);
        if (rc != SQLITE_ROW) {
            sqlite3_reset(stmt.get());
            fail("Could not retrieve data", sqlite3_errcode(db_), sql);
        }
        if (table.row_count_ == 0) {
            read_columns(stmt.get(), table);
            table.fields_.reserve(table.kinds_.size() * 32);
        }
        for (std::size_t c = 0; c < table.kinds_.size(); ++c)
            table.append_field(stmt.get(), static_cast<int>(c));
        ++table.row_count_;
    }
    table.current_ = 0;
    stmt.keep();
    return table;
}

// Names and kinds come from the first row; an expression column without a
// declared type takes the storage class of its first value.
void TSQLiteDatabase::read_columns(sqlite3_stmt* stmt, TSQLiteTable& table)
{
    const int count = sqlite3_column_count(stmt);
    for (int c = 0; c < count; ++c) {
        const char* name = sqlite3_column_name(stmt, c);
        table.names_.push_back(ascii_upper(name ? name : ""));
        table.kinds_.push_back(kind_of_declared_type(sqlite3_column_decltype(stmt, c), sqlite3_column_type(stmt, c)));
    }
}

bool TSQLiteDatabase::has_table(const std::string& name)
{
    // The name is bound rather than spliced in, so no name can break the text.
    return query("select [sql] from sqlite_master where [type] = 'table' and lower(name) = ? ", {ascii_lower(name)})
               .row_count() > 0;
}

void TSQLiteDatabase::open_transaction()
{
    if (transaction_open_)
        throw ESQLiteException("Transaction already open");
    execute("BEGIN TRANSACTION");
    transaction_open_ = true;
}

void TSQLiteDatabase::commit_transaction()
{
    execute("COMMIT");
    transaction_open_ = false;
}

void TSQLiteDatabase::rollback_transaction()
{
    execute("ROLLBACK");
    transaction_open_ = false;
}

void TSQLiteDatabase::replace_rows(const SqlStatement& delete_scope, const std::vector<SqlStatement>& inserts)
{
    SqlTransaction transaction(*this);
    execute(delete_scope);
    for (const SqlStatement& insert : inserts)
        execute(insert);
    transaction.commit();
}

// ---------------------------------------------------------------- transaction

SqlTransaction::SqlTransaction(TSQLiteDatabase& db) : db_(db) { db_.open_transaction(); }

SqlTransaction::~SqlTransaction()
{
    if (done_ || !db_.transaction_open())
        return;
    try {
        db_.rollback_transaction();
    } catch (...) {
        // A destructor must not throw; the connection has cleared its flag.
    }
}

void SqlTransaction::commit()
{
    db_.commit_transaction();
    done_ = true;
}
