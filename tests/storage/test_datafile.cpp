// The data file: creation on the first start, opening unchanged later, and
// the failures on the way.
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sqlite3.h>

#include "storage/datafile.h"
#include "program_folder_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string first_field(const std::string& sql) { return app_database->query(sql).field_text(0); }

// Installed as an auto extension, it makes every new connection refuse to
// create the table vk_jnr, so that a creation fails half-way.
int refuse_vk_jnr(void*, int action, const char* table, const char*, const char*, const char*)
{
    return action == SQLITE_CREATE_TABLE && table && std::string(table) == "vk_jnr" ? SQLITE_DENY : SQLITE_OK;
}
int install_refusal(sqlite3* db, const char**, const sqlite3_api_routines*)
{
    return sqlite3_set_authorizer(db, refuse_vk_jnr, nullptr);
}
auto refusal_entry() { return reinterpret_cast<void (*)()>(install_refusal); }

std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
void put_file(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The bytes of a real data file holding `tasks` tasks, built beside `path`.
std::string real_data_file(const std::string& path, int tasks)
{
    const std::string made = path + ".made";
    create_data_file(made);
    {
        TSQLiteDatabase db(made);
        SqlTransaction transaction(db);
        for (int i = 0; i < tasks; ++i)
            db.execute("INSERT INTO vk_schedule(sDate,lb,sState,sItem) VALUES (?,'A','进行中',?)",
                       {std::to_string(20240101 + i % 28), std::string(60, 'x')});
        transaction.commit();
    }
    std::string bytes = file_bytes(made);
    fs::remove(made);
    return bytes;
}

// The message open_data_file raises, empty when it raises none.
QString open_error()
{
    try {
        open_data_file();
    } catch (const ESQLiteException& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

}  // namespace

class TestDatafile : public QObject {
    Q_OBJECT

    ProgramFolderFixture folder_;

private slots:
    void init() { folder_.enter(); }
    void cleanup()
    {
        app_database.reset();
        folder_.leave();
    }

    void first_start_creates_schema()
    {
        open_data_file();
        QCOMPARE(data_file_path(), folder_.file("velkin.db"));
        QCOMPARE(first_field("SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master ORDER BY name)"),
                 std::string("note_date schedule_date vk_config vk_jnr vk_note vk_schedule"));
        QCOMPARE(
            first_field(
                "SELECT group_concat(ID||'|'||Code||typeof(Code)||'|'||Name||typeof(Name)||'|'||Desc) FROM vk_config"),
            std::string("1|1integer|1text|数据库版本"));
        QVERIFY(!fs::exists(data_file_path() + ".creating"));
    }

    void second_start_changes_nothing()
    {
        open_data_file();
        app_database->execute("INSERT INTO vk_schedule(sDate,sItem) VALUES ('20240305','写报告')");
        app_database->execute("CREATE TABLE user_extra (x)");
        open_data_file();
        QCOMPARE(first_field("SELECT count(*) FROM vk_config"), std::string("1"));
        QCOMPARE(first_field("SELECT sItem FROM vk_schedule"), std::string("写报告"));
        QVERIFY(app_database->has_table("user_extra"));
    }

    void day_key_as_bare_number_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<int>("rows");
        QTest::newRow("day with three tasks") << "20240305" << 3;
        QTest::newRow("neighbour day") << "20240306" << 1;
        QTest::newRow("empty day") << "20240307" << 0;
    }
    void day_key_as_bare_number()
    {
        QFETCH(QString, day);
        QFETCH(int, rows);
        open_data_file();
        for (const char* d : {"20240305", "20240305", "20240306", "20240305", "2024030", "020240305"})
            app_database->execute("INSERT INTO vk_schedule(sDate,sItem) VALUES (?,?)",
                                  {std::string(d), std::string(d)});
        TSQLiteTable t = app_database->query("SELECT * FROM vk_schedule where sDate=" + day.toStdString());
        QCOMPARE(t.row_count(), rows);
        for (; !t.at_end(); t.next())
            QCOMPARE(QString::fromStdString(t.field_text(t.column_index("sItem"))), day);
    }

    void day_key_lookups_use_the_indexes()
    {
        open_data_file();
        for (const char* table : {"vk_schedule", "vk_note"}) {
            TSQLiteTable plan =
                app_database->query(std::string("EXPLAIN QUERY PLAN SELECT * FROM ") + table + " where sDate=20240305");
            const QString detail = QString::fromStdString(plan.field_text(plan.column_index("detail")));
            QVERIFY2(detail.contains(table[3] == 's' ? "USING INDEX schedule_date" : "USING INDEX note_date"),
                     qPrintable(detail));
        }
    }

    void notice_days_keep_leading_zero()
    {
        open_data_file();
        for (const char* days : {"07", "30"})
            app_database->execute(
                "INSERT INTO vk_jnr(sDate,sourcebz,txDays,sState,Desc) VALUES ('2024-03-05','0',?,'开启','生日')",
                {std::string(days)});
        QCOMPARE(first_field("SELECT group_concat(txDays) FROM vk_jnr"), std::string("07,30"));
    }

    void leftover_temporary_file_removed_data()
    {
        QTest::addColumn<bool>("data_file_present");
        QTest::newRow("no data file yet") << false;
        QTest::newRow("data file present") << true;
    }
    void leftover_temporary_file_removed()
    {
        QFETCH(bool, data_file_present);
        if (data_file_present)
            open_data_file();
        app_database.reset();
        const std::string temp = data_file_path() + ".creating";
        std::ofstream(temp) << "half a database";
        std::ofstream(temp + "-journal") << "stale journal";
        open_data_file();
        QVERIFY(!fs::exists(temp));
        QVERIFY(!fs::exists(temp + "-journal"));
        QCOMPARE(first_field("SELECT count(*) FROM vk_config"), std::string("1"));
    }

    void creation_failing_half_way_leaves_no_data_file()
    {
        sqlite3_auto_extension(refusal_entry());
        QString message;
        try {
            open_data_file();
        } catch (const ESQLiteException& e) {
            message = QString::fromUtf8(e.what());
        }
        sqlite3_cancel_auto_extension(refusal_entry());
        QVERIFY2(message.startsWith("Error executing SQL.\rError [23]: Authorization denied."), qPrintable(message));
        QVERIFY(!app_database);
        QVERIFY(!fs::exists(data_file_path()));
        QVERIFY(!fs::exists(data_file_path() + ".creating"));

        open_data_file();  // the next start builds a complete file
        QVERIFY(app_database->has_table("vk_jnr"));
    }

    void unusable_file_is_named_and_left_unchanged_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("why");
        QTest::newRow("random bytes") << "random"
                                      << "file is not a database";
        QTest::newRow("foreign SQLite file") << "foreign"
                                             << "not a Velkin data file: the table vk_schedule is missing";
        QTest::newRow("a table without its columns") << "columns"
                                                     << "not a Velkin data file: the table vk_note has no column sNote";
        QTest::newRow("truncated copy of a real file") << "truncated"
                                                       << "database disk image is malformed";
    }
    void unusable_file_is_named_and_left_unchanged()
    {
        QFETCH(QString, kind);
        QFETCH(QString, why);
        const std::string path = data_file_path();
        if (kind == "random") {
            std::mt19937 random(14);
            std::string bytes(64 * 1024, '\0');
            for (char& c : bytes)
                c = static_cast<char>(random());
            put_file(path, bytes);
        } else if (kind == "foreign") {
            TSQLiteDatabase(path).execute("CREATE TABLE photos (name TEXT, taken TEXT)");
        } else if (kind == "columns") {
            create_data_file(path);
            TSQLiteDatabase db(path);
            db.execute("DROP TABLE vk_note");
            db.execute("CREATE TABLE vk_note (ID INTEGER PRIMARY KEY, sDate VARCHAR (8), body TEXT)");
        } else {
            const std::string real = real_data_file(path, 3000);
            put_file(path, real.substr(0, real.size() / 2));
        }
        const std::string before = file_bytes(path);
        const auto written = fs::last_write_time(path);

        QCOMPARE(open_error(), QString::fromStdString("Failed to open database \"" + path + "\" : ") + why);
        QVERIFY(!app_database);
        QVERIFY(file_bytes(path) == before);
        QVERIFY(fs::last_write_time(path) == written);
        // Nothing beside it either: no journal, no file under construction.
        int entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(program_folder()))
            ++entries;
        QCOMPARE(entries, 1);
    }

    void zero_length_file_becomes_a_new_data_file()
    {
        put_file(data_file_path(), "");
        QCOMPARE(open_error(), QString());
        QCOMPARE(first_field("SELECT count(*) FROM vk_config"), std::string("1"));
        QVERIFY(app_database->has_table("vk_jnr"));
        QVERIFY(!fs::exists(data_file_path() + ".creating"));
    }

    void file_locked_by_another_program_is_waited_for_then_named()
    {
        open_data_file();
        app_database.reset();
        QProcess holder;
        holder.start(QStringLiteral(LOCK_HELPER_EXE), {QString::fromStdString(data_file_path())});
        QVERIFY(holder.waitForReadyRead(20000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));
        const std::string before = file_bytes(data_file_path());

        QCOMPARE(open_error(),
                 QString::fromStdString("Failed to open database \"" + data_file_path() + "\" : database is locked"));
        QVERIFY(!app_database);
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(20000));
        QVERIFY(file_bytes(data_file_path()) == before);

        QCOMPARE(open_error(), QString());  // once free, it opens
    }

    void folder_that_cannot_hold_files()
    {
        // A program folder beneath a regular file fails for every user, root too.
        std::ofstream(folder_.file("not_a_folder")) << "x";
        set_program_folder(folder_.file("not_a_folder"));
        try {
            open_data_file();
            QFAIL("no error");
        } catch (const ESQLiteException& e) {
            const QString msg = QString::fromUtf8(e.what());
            // The message names velkin.db, not the name it is built under.
            QCOMPARE(msg, QString::fromStdString("Failed to open database \"" + data_file_path() +
                                                 "\" : unable to open database file"));
        }
        QVERIFY(!app_database);
    }
};

QTEST_APPLESS_MAIN(TestDatafile)
#include "test_datafile.moc"
