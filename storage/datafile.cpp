// The data file velkin.db: creation of a missing file and the program's
// connection to it.
#include "storage/datafile.h"

#include <filesystem>
#include <system_error>

#include "storage/paths.h"

namespace fs = std::filesystem;

std::unique_ptr<TSQLiteDatabase> app_database;

namespace {

// A file is built under this name and renamed to velkin.db once complete,
// so a failed or interrupted creation never leaves a half-made velkin.db.
constexpr const char* creating_suffix = ".creating";

bool file_exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
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

    if (!file_exists(path)) {
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
    app_database = std::make_unique<TSQLiteDatabase>(path);
}
