// The data file velkin.db: creation of a missing file and the program's
// connection to it.
#include "storage/datafile.h"

#include <algorithm>
#include <filesystem>
#include <sqlite3.h>
#include <system_error>
#include <utility>
#include <vector>

#include "storage/paths.h"

namespace fs = std::filesystem;

std::unique_ptr<TSQLiteDatabase> app_database;

TSQLiteDatabase& open_app_database()
{
    if (!app_database)
        throw ESQLiteException("The data file is not open");
    return *app_database;
}

namespace {

// A file is built under this name and renamed to velkin.db once complete,
// so a failed or interrupted creation never leaves a half-made velkin.db.
constexpr const char* creating_suffix = ".creating";

bool file_exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

// A zero-length file holds no data: SQLite would take it for an empty
// database, and the program would run on a file without its tables.
bool is_empty_file(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec) && fs::file_size(fs::path(path), ec) == 0 && !ec;
}

// How long start-up waits for a file that another program holds locked.
constexpr int locked_file_wait_ms = 3000;

// The tables and columns the program reads and writes.
struct RequiredTable {
    const char* name;
    std::vector<const char*> columns;
};
const std::vector<RequiredTable>& required_tables()
{
    static const std::vector<RequiredTable> tables{
        {"vk_schedule", {"sDate", "lb", "sState", "sItem"}},
        {"vk_note", {"sDate", "sNote"}},
        {"vk_jnr", {"sDate", "sourcebz", "txDays", "sState", "Desc"}},
    };
    return tables;
}

// A table, or a view in its place, that the program can read.
bool readable(TSQLiteDatabase& db, const char* name)
{
    return db.query("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND lower(name) = lower(?)",
                    {std::string(name)})
               .row_count() > 0;
}

std::vector<std::string> column_names(TSQLiteDatabase& db, const char* table)
{
    TSQLiteTable info = db.query(std::string("PRAGMA table_info(") + table + ")");
    std::vector<std::string> names;
    for (; !info.at_end(); info.next())
        names.push_back(info.field_text(info.column_index("name")));
    return names;
}

[[noreturn]] void unusable(const std::string& path, const std::string& why, int code = 0)
{
    throw ESQLiteException("Failed to open database \"" + path + "\" : " + why, code);
}

// What is wrong with the file behind `db`, raised as the open error that
// names it; nothing when it is a data file of the program.  Only reads.
void check_data_file(TSQLiteDatabase& db, const std::string& path)
{
    sqlite3_busy_timeout(db.handle(), locked_file_wait_ms);
    try {
        // The first read of the schema finds a file that is no database, a
        // truncated one, and a lock that outlasts the wait.
        db.query("SELECT name FROM sqlite_master");
        for (const RequiredTable& table : required_tables()) {
            if (!readable(db, table.name))
                unusable(path, std::string("not a Velkin data file: the table ") + table.name + " is missing");
            const std::vector<std::string> present = column_names(db, table.name);
            for (const char* column : table.columns)
                if (std::none_of(present.begin(), present.end(),
                                 [&](const std::string& name) { return sqlite3_stricmp(name.c_str(), column) == 0; }))
                    unusable(path, std::string("not a Velkin data file: the table ") + table.name + " has no column " +
                                       column);
        }
    } catch (const ESQLiteException& e) {
        sqlite3_busy_timeout(db.handle(), 0);
        if (e.code() == 0)
            throw;
        unusable(path, sqlite3_errstr(e.code()), e.code());
    }
    // While the program runs, a busy file is an error at once, not a wait.
    sqlite3_busy_timeout(db.handle(), 0);
}

void remove_quietly(const std::string& path)
{
    std::error_code ec;
    fs::remove(fs::path(path), ec);
}

// The temporary file together with the journal SQLite may have left beside it.
void remove_creation_leftovers(const std::string& temp)
{
    remove_quietly(temp);
    remove_quietly(temp + "-journal");
}

void drop_if_present(TSQLiteDatabase& db, const char* table)
{
    if (db.has_table(table))
        db.execute(std::string("DROP TABLE ") + table);
}

}  // namespace

std::string data_file_path() { return program_folder() + "velkin.db"; }

void create_data_file(const std::string& path)
{
    TSQLiteDatabase db(path);

    drop_if_present(db, "vk_config");
    db.execute("CREATE TABLE vk_config ([ID] INTEGER PRIMARY KEY,[Code] INTEGER NULL,"
               "[Name] VARCHAR (255),[Desc] VARCHAR (255) COLLATE NOCASE);");
    {
        // The values are bound, so nothing relies on double-quoted literals;
        // the column affinities store them exactly as the quoted text would.
        SqlTransaction transaction(db);
        db.execute("INSERT INTO vk_config(Code,Name,Desc) VALUES (?,?,?);",
                   {std::string("1"), std::string("1"), std::string("数据库版本")});
        transaction.commit();
    }

    drop_if_present(db, "vk_schedule");
    db.execute("CREATE TABLE vk_schedule ([ID] INTEGER PRIMARY KEY,[sDate] VARCHAR (8),"
               "[lb] VARCHAR (1),[sState] VARCHAR (10),[sItem] VARCHAR (255),"
               "[beizhu1] VARCHAR (10) NULL,[beizhu2] VARCHAR (30) NULL,[beizhu3] INTEGER NULL COLLATE NOCASE);");
    db.execute("CREATE INDEX schedule_date ON [vk_schedule]([sDate]);");

    drop_if_present(db, "vk_note");
    db.execute("CREATE TABLE vk_note ([ID] INTEGER PRIMARY KEY,[sDate] VARCHAR (8),"
               "[sNote] VARCHAR (2000),"
               "[beizhu1] VARCHAR (10) NULL,[beizhu2] VARCHAR (30) NULL,[beizhu3] INTEGER NULL COLLATE NOCASE);");
    db.execute("CREATE INDEX note_date ON [vk_note]([sDate]);");

    drop_if_present(db, "vk_jnr");
    db.execute("CREATE TABLE vk_jnr ([ID] INTEGER PRIMARY KEY,[sDate] VARCHAR (10),"
               "[sourcebz] VARCHAR (1),[txDays] VARCHAR (2),[sState] VARCHAR (4),[Desc] VARCHAR (255),"
               "[beizhu1] VARCHAR (10) NULL,[beizhu2] VARCHAR (30) NULL,[beizhu3] INTEGER NULL COLLATE NOCASE);");
}

void open_data_file()
{
    const std::string path = data_file_path();
    const std::string temp = path + creating_suffix;
    remove_creation_leftovers(temp);

    if (!file_exists(path) || is_empty_file(path)) {
        try {
            create_data_file(temp);  // the connection is closed on return, also on error
        } catch (const ESQLiteException& e) {
            remove_creation_leftovers(temp);
            // The user knows the file as velkin.db, not by its name while
            // it is being built.
            std::string message = e.what();
            for (auto at = message.find(temp); at != std::string::npos; at = message.find(temp, at + path.size()))
                message.replace(at, temp.size(), path);
            throw ESQLiteException(message, e.code());
        } catch (...) {
            remove_creation_leftovers(temp);
            throw;
        }
        std::error_code ec;
        fs::rename(fs::path(temp), fs::path(path), ec);
        if (ec) {
            remove_creation_leftovers(temp);
            throw ESQLiteException("Failed to open database \"" + path + "\" : " + ec.message());
        }
    }
    auto db = std::make_unique<TSQLiteDatabase>(path);
    check_data_file(*db, path);
    app_database = std::move(db);
}
