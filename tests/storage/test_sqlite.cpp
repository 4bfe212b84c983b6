// The database access layer: results, errors, transactions and the texts
// it must carry unchanged.
#include <QTest>
#include <fstream>
#include <functional>

#include "program_folder_fixture.h"
#include "storage/sqlite.h"

namespace {

QString message_of(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ESQLiteException& e) {
        return QString::fromStdString(e.what());
    }
    return "(no error)";
}

SqlStatement insert(const char* day, const std::string& item)
{
    return {"INSERT INTO t(sDate,sItem) VALUES (?,?)", {std::string(day), item}};
}

}  // namespace

class TestSqlite : public QObject {
    Q_OBJECT

    ProgramFolderFixture folder_;
    std::unique_ptr<TSQLiteDatabase> db_;

    TSQLiteDatabase& db() { return *db_; }
    int rows() { return std::stoi(db().query("SELECT count(*) FROM t").field_text(0)); }

private slots:
    void init()
    {
        folder_.enter();
        db_ = std::make_unique<TSQLiteDatabase>(folder_.file("t.db"));
        db().execute("CREATE TABLE t ([ID] INTEGER PRIMARY KEY,[sDate] VARCHAR (8),[sItem] VARCHAR (255))");
    }
    void cleanup()
    {
        db_.reset();
        folder_.leave();
    }

    void open_failure()
    {
        // A parent that is a regular file fails for every user, root too.
        std::ofstream(folder_.file("plain")) << "x";
        const std::string path = folder_.file("plain/x.db");
        QCOMPARE(message_of([&] { TSQLiteDatabase bad(path); }),
                 QString::fromStdString("Failed to open database \"" + path + "\" : unable to open database file"));
    }

    void empty_result()
    {
        TSQLiteTable t = db().query("SELECT * FROM t where sDate=20240101");
        QCOMPARE(t.row_count(), 0);
        QVERIFY(t.at_end());
        QVERIFY(!t.next());
        QCOMPARE(message_of([&] { t.column_index("sDate"); }), "Field sDate Not found. Empty dataset");
    }

    void reading_rows()
    {
        db().execute(insert("20240101", "a"));
        db().execute("INSERT INTO t(sDate) VALUES ('20240102')");
        TSQLiteTable t = db().query("SELECT * FROM t ORDER BY ID");
        for (const char* name : {"sdate", "SDATE", "sDaTe"})
            QCOMPARE(t.column_index(name), 1);
        QCOMPARE(message_of([&] { t.column_index("sNote"); }), "Field not found in dataset: sNote");
        QCOMPARE(t.field_text(t.column_index("id")), std::string("1"));
        QVERIFY(t.next());
        QCOMPARE(t.field_text(2), std::string());  // NULL
        QVERIFY(t.next());
        QVERIFY(!t.next());
        QCOMPARE(message_of([&] { t.field_text(0); }), "Table is at End of File");
    }

    void statement_errors_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("as_query");
        QTest::addColumn<QString>("expected");  // the whole message, or its start before "..."
        const QString sql_error = "Error executing SQL.\rError [1]: SQL error or missing database.\r\"";
        QTest::newRow("execute returning a row") << "SELECT 1" << false << "Error executing SQL statement...";
        QTest::newRow("syntax") << "SELEC 1" << false << sql_error + "SELEC 1\": near \"SELEC\": syntax error";
        QTest::newRow("missing table") << "SELECT * FROM vk_nope" << true
                                       << sql_error + "SELECT * FROM vk_nope\": no such table: vk_nope";
        QTest::newRow("empty text") << "" << false << "Could not prepare SQL statement";
        QTest::newRow("only a comment") << "-- nothing" << true << "Could not prepare SQL statement";
        QTest::newRow("failing while stepping")
            << "INSERT INTO t(ID) VALUES (1),(1) RETURNING ID" << true
            << "Could not retrieve data.\rError [19]: Abort due to contraint violation.\r\"INSERT INTO t(ID) VALUES "
               "(1),(1) RETURNING ID\": UNIQUE constraint failed: t.ID";
    }
    void statement_errors()
    {
        QFETCH(QString, sql);
        QFETCH(bool, as_query);
        QFETCH(QString, expected);
        const std::string s = sql.toStdString();
        const QString got = message_of([&] { as_query ? static_cast<void>(db().query(s)) : db().execute(s); });
        if (expected.endsWith("..."))
            QVERIFY2(got.startsWith(expected.chopped(3)), qPrintable(got));
        else
            QCOMPARE(got, expected);
        QCOMPARE(rows(), 0);
    }

    void execute_runs_only_the_first_statement()
    {
        db().execute("INSERT INTO t(sItem) VALUES ('a'); INSERT INTO t(sItem) VALUES ('b');");
        QCOMPARE(rows(), 1);
    }

    void has_table_ignores_case()
    {
        QVERIFY(db().has_table("T"));
        QVERIFY(!db().has_table("vk_jnr"));
        QVERIFY(!db().has_table("x' or '1'='1"));
    }

    void column_kinds_data()
    {
        QTest::addColumn<QString>("declared");  // empty: an expression column
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("BOOLEAN")          << "BOOLEAN"       << "1"          << 1 << "1";
        QTest::newRow("REAL")             << "REAL"          << "2.5"        << 2 << "2.5";
        QTest::newRow("NUMERIC")          << "NUMERIC"       << "3"          << 2 << "3";
        QTest::newRow("BLOB")             << "BLOB"          << "X'414243'"  << 4 << "ABC";
        QTest::newRow("empty BLOB")       << "BLOB"          << "X''"        << 4 << "";
        QTest::newRow("VARCHAR (8)")      << "VARCHAR (8)"   << "20240101"   << 3 << "20240101";
        QTest::newRow("case counts")      << "boolean"       << "7"          << 3 << "7";
        QTest::newRow("expression")       << ""              << "1+1"        << 1 << "2";
        QTest::newRow("expression null")  << ""              << "NULL"       << 5 << "";
        // clang-format on
    }
    void column_kinds()
    {
        QFETCH(QString, declared);
        QFETCH(QString, value);
        QFETCH(int, kind);
        QFETCH(QString, text);
        std::string select = "SELECT " + value.toStdString();
        if (!declared.isEmpty()) {
            db().execute("CREATE TABLE k (v " + declared.toStdString() + ")");
            db().execute("INSERT INTO k VALUES (" + value.toStdString() + ")");
            select = "SELECT v FROM k";
        }
        TSQLiteTable t = db().query(select);
        QCOMPARE(static_cast<int>(t.column_kind(0)), kind);
        QCOMPARE(QString::fromStdString(t.field_text(0)), text);
    }

    void repeated_query_follows_schema_changes()
    {
        QCOMPARE(db().query("SELECT * FROM t").row_count(), 0);
        db().execute("DROP TABLE t");
        QVERIFY(message_of([&] { db().query("SELECT * FROM t"); }).endsWith("\"SELECT * FROM t\": no such table: t"));
        db().execute("CREATE TABLE t (a, b REAL)");
        db().execute("INSERT INTO t VALUES (1, 2)");
        TSQLiteTable again = db().query("SELECT * FROM t");
        QCOMPARE(again.column_names(), (std::vector<std::string>{"A", "B"}));
        QCOMPARE(again.column_kind(1), ColumnKind::Float);
    }

    void transactions()
    {
        db().open_transaction();
        QCOMPARE(message_of([&] { db().open_transaction(); }), "Transaction already open");
        db().execute(insert("20240101", "lost"));
        db_ = std::make_unique<TSQLiteDatabase>(folder_.file("t.db"));  // destroyed while open
        QCOMPARE(rows(), 0);
    }

    void failed_statement_ends_transaction_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::newRow("execute") << "INSERT INTO nowhere VALUES (1)";
        QTest::newRow("query") << "SELECT * FROM nowhere";
    }
    void failed_statement_ends_transaction()
    {
        QFETCH(QString, failing);
        db().open_transaction();
        db().execute(insert("20240101", "half"));
        const std::string s = failing.toStdString();
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, s[0] == 'S' ? static_cast<void>(db().query(s)) : db().execute(s));
        QVERIFY(!db().transaction_open());
        QCOMPARE(rows(), 0);  // the half-written row went with the transaction
        db().open_transaction();
        db().execute(insert("20240101", "next"));
        db().commit_transaction();
        QCOMPARE(rows(), 1);
    }

    void busy_file_is_an_error_not_a_wait()
    {
        QCOMPARE(db().query("SELECT * FROM t").row_count(), 0);  // compiled once and kept
        TSQLiteDatabase other(folder_.file("t.db"));
        other.execute("BEGIN EXCLUSIVE");
        QCOMPARE(message_of([&] { db().query("SELECT * FROM t"); }), "Could not prepare SQL statement");
        db().open_transaction();
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, db().query("SELECT * FROM t"));
        QVERIFY(!db().transaction_open());
        other.execute("ROLLBACK");
        QCOMPARE(rows(), 0);
    }

    void hostile_texts_round_trip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << "say \"hi\" \"\" it's ''";
        QTest::newRow("statement end") << "a\"); DELETE FROM t; --";
        QTest::newRow("line breaks and tabs") << "one\r\ntwo\nthree\r\tx\t";
        QTest::newRow("outside the BMP") << QString::fromUtf8("任务 😀🀄 𠀀");
        QTest::newRow("long") << QString(5000, QChar(0x6587)) + QString(5000, 'x');
        QTest::newRow("empty") << "";
    }
    void hostile_texts_round_trip()
    {
        QFETCH(QString, text);
        const std::string s = text.toStdString();
        db().execute(insert("20240305", s));
        db().replace_rows({"DELETE FROM t where sDate=?", {std::string("20240306")}}, {insert("20240306", s)});
        TSQLiteTable t = db().query("SELECT sItem FROM t where sItem=?", {s});
        QCOMPARE(t.row_count(), 2);
        QCOMPARE(t.field_text(0), s);
        QCOMPARE(rows(), 2);
    }

    void replacement_failing_half_way_keeps_old_rows()
    {
        const SqlStatement scope{"DELETE FROM t where sDate=?", {std::string("20240305")}};
        db().replace_rows(scope, {insert("20240305", "old1"), insert("20240305", "old2")});
        db().execute("CREATE TRIGGER third BEFORE INSERT ON t WHEN (SELECT count(*) FROM t) >= 2 "
                     "BEGIN SELECT RAISE(ABORT,'third insert refused'); END");
        std::vector<SqlStatement> inserts;
        for (const char* item : {"new1", "new2", "new3", "new4"})
            inserts.push_back(insert("20240305", item));

        QVERIFY(message_of([&] { db().replace_rows(scope, inserts); }).endsWith(": third insert refused"));
        QVERIFY(!db().transaction_open());
        TSQLiteTable t = db().query("SELECT sItem FROM t ORDER BY ID");
        QCOMPARE(t.row_count(), 2);
        QCOMPARE(t.field_text(0), std::string("old1"));

        db().execute("DROP TRIGGER third");
        db().replace_rows(scope, inserts);
        QCOMPARE(rows(), 4);
    }
};

QTEST_APPLESS_MAIN(TestSqlite)
#include "test_sqlite.moc"
