// A thin layer over the SQLite 3 C library: one connection
// (TSQLiteDatabase), the complete in-memory result of one query
// (TSQLiteTable) and the error both raise (ESQLiteException).
// Every text crossing the layer is UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_stmt;

// One value bound to a `?` placeholder, or one stored field.
using SqlValue = std::variant<std::monostate, std::int64_t, double, std::string, std::vector<unsigned char>>;
using SqlParams = std::vector<SqlValue>;

// A statement with the values for its placeholders.
struct SqlStatement {
    std::string sql;
    SqlParams params;
};

class ESQLiteException : public std::runtime_error {
public:
    explicit ESQLiteException(const std::string& message, int code = 0) : std::runtime_error(message), code_(code) { }
    int code() const noexcept { return code_; }  // SQLite's result code, 0 when none

private:
    int code_;
};

// The fixed English description of an SQLite result code.
std::string sqlite_code_description(int code);

enum class ColumnKind { Integer = 1, Float = 2, Text = 3, Blob = 4, Null = 5 };

class TSQLiteTable {
public:
    int row_count() const noexcept { return row_count_; }
    int column_count() const noexcept { return static_cast<int>(names_.size()); }
    bool at_end() const noexcept { return current_ >= row_count(); }
    bool next() noexcept;
    int column_index(const std::string& name) const;
    std::string field_text(int index) const;
    const std::vector<std::string>& column_names() const noexcept { return names_; }
    ColumnKind column_kind(int index) const { return kinds_.at(static_cast<std::size_t>(index)); }

private:
    friend class TSQLiteDatabase;
    // Stores the value of `column` of the statement's current row.
    void append_field(sqlite3_stmt* stmt, int column);

    std::vector<std::string> names_;  // upper case, result order
    std::vector<ColumnKind> kinds_;
    // One stored value: a number in place, a text or blob as a range of
    // bytes_, so a table of many rows costs few allocations.
    struct Field {
        ColumnKind kind = ColumnKind::Null;  // Null for a NULL value
        std::int64_t integer = 0;
        double real = 0;
        std::size_t offset = 0;
        std::size_t size = 0;
    };
    std::vector<Field> fields_;  // row after row, column_count() per row
    std::string bytes_;
    int row_count_ = 0;
    int current_ = 0;
};

class TSQLiteDatabase {
public:
    explicit TSQLiteDatabase(const std::string& file_name);
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

    // Runs the first statement of `sql`, which must return no rows.  Values
    // for `?` placeholders come from `params`; user text always goes there.
    void execute(const std::string& sql, const SqlParams& params = {});
    void execute(const SqlStatement& statement) { execute(statement.sql, statement.params); }
    TSQLiteTable query(const std::string& sql, const SqlParams& params = {});
    bool has_table(const std::string& name);

    void open_transaction();
    void commit_transaction();
    void rollback_transaction();
    bool transaction_open() const noexcept { return transaction_open_; }

    // Writes a list back by replacement in one transaction: the delete of
    // its scope and all inserts commit together, or nothing changes.
    void replace_rows(const SqlStatement& delete_scope, const std::vector<SqlStatement>& inserts);

    sqlite3* handle() const noexcept { return db_; }

private:
    class Statement;
    class StatementCache;
    void prepare(Statement& stmt, const std::string& sql, const SqlParams& params);
    TSQLiteTable run_query(Statement& stmt, const std::string& sql, const SqlParams& params);
    static void read_columns(sqlite3_stmt* stmt, TSQLiteTable& table);
    // Raises the error for a failed statement (the layer error, or `message`
    // alone when `layer` is false), rolling back an open transaction first.
    [[noreturn]] void fail(const std::string& message, int code, const std::string& sql, bool layer = true);
    void abandon_transaction() noexcept;

    sqlite3* db_ = nullptr;
    bool transaction_open_ = false;
    // Compiled queries kept for reuse: the month view asks the same 62
    // questions every time a day of the month is chosen.
    std::unique_ptr<StatementCache> cache_;
};

// A transaction that rolls back when it leaves scope without commit().
class SqlTransaction {
public:
    explicit SqlTransaction(TSQLiteDatabase& db);
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;
    void commit();

private:
    TSQLiteDatabase& db_;
    bool done_ = false;
};
