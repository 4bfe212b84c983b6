// The settings file: defaults, what a Windows profile reader takes from
// the file, and what writing it keeps.
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "program_folder_fixture.h"
#include "storage/settings.h"

namespace fs = std::filesystem;

namespace {

void put_file(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool is_default(const Settings& s)
{
    return s.pos_top == -1 && s.pos_left == -1 && s.form_blend == 255 && s.desktoplink == "1" && s.autorun == "1" &&
           s.note_fontname == "微软雅黑" && s.note_fontcolor == "16711680" && s.note_fontsize == 9 &&
           s.taskhint_use == "1" && s.taskhint_time == 2;
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT

    ProgramFolderFixture folder_;

private slots:
    void init()
    {
        folder_.enter();
        app_settings = Settings{};
    }
    void cleanup() { folder_.leave(); }

    void program_folder_is_the_executables()
    {
        initvar();
        QCOMPARE(program_folder().back(), '/');
        QVERIFY(fs::is_regular_file(program_folder() + "test_settings"));
        set_program_folder("/some/where");
        QCOMPARE(program_folder(), std::string("/some/where/"));
    }

    void defaults_when_nothing_to_read()
    {
        initapp_fromlocalset();  // no file
        QVERIFY(is_default(app_settings));
        fs::create_directory(settings_file_path());
        QVERIFY(is_default(read_settings(settings_file_path())));
        put_file(folder_.file("only"), "[option]\r\ntaskhint_use=0\r\n");
        Settings s = read_settings(folder_.file("only"));
        QCOMPARE(s.taskhint_use, std::string("0"));
        s.taskhint_use = "1";
        QVERIFY(is_default(s));
    }

    void values_as_read_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("form_blend");
        QTest::addColumn<QString>("fontcolor");
        const QString head = "[option]\r\nnote_fontcolor=7\r\nform_blend=";
        QTest::newRow("decimal") << head + "100" << 100 << "7";
        QTest::newRow("negative") << head + "-5" << -5 << "7";
        QTest::newRow("0x") << head + "0x1F" << 31 << "7";
        QTest::newRow("dollar") << head + "$1f" << 31 << "7";
        QTest::newRow("eight hex digits wrap") << head + "$FFFFFFFF" << -1 << "7";
        QTest::newRow("blanks around") << head + "  42\t " << 42 << "7";
        for (const char* bad : {"abc", "12abc", "", "0x", "$", "1F", "2.5", "2147483648", "0x100000000"})
            QTest::newRow(bad[0] ? bad : "empty") << head + bad << 255 << "7";
        QTest::newRow("text trimmed, quotes dropped") << "[option]\r\n  note_fontcolor = \"255\" " << 255 << "255";
        QTest::newRow("text not a number") << "[option]\nnote_fontcolor=red" << 255 << "red";
        QTest::newRow("commented out") << "[option]\n;note_fontcolor=1" << 255 << "16711680";
        QTest::newRow("first key counts") << "[option]\nnote_fontcolor=1\nnote_fontcolor=2" << 255 << "1";
        QTest::newRow("upper section, mixed key") << "[OPTION]\r\nForm_Blend=100" << 100 << "16711680";
        QTest::newRow("blanks in brackets, LF") << "[ Option ]\nFORM_BLEND = 100\n" << 100 << "16711680";
        QTest::newRow("CR only") << "[option]\rform_blend=100\rnote_fontcolor=3\r" << 100 << "3";
        QTest::newRow("foreign section first")
            << "[other]\nform_blend=7\n[option]\nform_blend=100" << 100 << "16711680";
    }
    void values_as_read()
    {
        QFETCH(QString, file);
        QFETCH(int, form_blend);
        QFETCH(QString, fontcolor);
        put_file(settings_file_path(), file.toStdString());
        const Settings s = read_settings(settings_file_path());
        QCOMPARE(s.form_blend, form_blend);
        QCOMPARE(QString::fromStdString(s.note_fontcolor), fontcolor);

        // Writing changes the line found, so the file never holds the key twice.
        write_settings(settings_file_path(), s, 0, 0);
        const QString written = QString::fromStdString(file_bytes(settings_file_path()));
        QCOMPARE(written.count("form_blend=", Qt::CaseInsensitive), file.contains("[other]") ? 2 : 1);
        QCOMPARE(read_settings(settings_file_path()).form_blend, form_blend);
    }

    void font_name_is_gbk_on_disk()
    {
        save_local_vki(0, 0);
        QVERIFY(file_bytes(settings_file_path()).find("note_fontname=\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA\r\n") !=
                std::string::npos);
        QCOMPARE(read_settings(settings_file_path()).note_fontname, std::string("微软雅黑"));
    }

    void write_keeps_everything_else()
    {
        put_file(settings_file_path(),
                 "; by hand\r\n[kestrel]\r\ncaption=\xC4\xFA\xBA\xC3\r\nodd=\xFF\xFE bytes\r\n\r\n"
                 "[Option]\r\n; keep me\r\nform_blend=200\r\nextra_key=x\r\n\r\n[tail]\nk=v");
        app_settings = read_settings(settings_file_path());
        app_settings.taskhint_time = 24;
        save_local_vki(33, 44);
        QCOMPARE(file_bytes(settings_file_path()),
                 std::string("; by hand\r\n[kestrel]\r\ncaption=\xC4\xFA\xBA\xC3\r\nodd=\xFF\xFE bytes\r\n\r\n"
                             "[Option]\r\n; keep me\r\nform_blend=200\r\nextra_key=x\r\npos_top=44\r\npos_left=33\r\n"
                             "desktoplink=1\r\nautorun=1\r\nnote_fontname=\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA\r\n"
                             "note_fontcolor=16711680\r\nnote_fontsize=9\r\ntaskhint_use=1\r\ntaskhint_time=24\r\n"
                             "\r\n[tail]\r\nk=v\r\n"));
        QVERIFY(!fs::exists(settings_file_path() + ".new"));
    }

    void file_with_a_utf8_mark_is_read_and_written_back_in_gbk()
    {
        put_file(settings_file_path(), "\xEF\xBB\xBF[option]\r\nform_blend=120\r\nnote_fontname=宋体\r\n"
                                       "; 备注\r\n\r\n[other]\r\nk=值\r\n");
        app_settings = read_settings(settings_file_path());
        QCOMPARE(app_settings.form_blend, 120);
        QCOMPARE(app_settings.note_fontname, std::string("宋体"));
        save_local_vki(5, 6);
        // One section "option", no mark, every line in GBK.
        QCOMPARE(file_bytes(settings_file_path()),
                 std::string("[option]\r\nform_blend=120\r\nnote_fontname=\xCB\xCE\xCC\xE5\r\npos_top=6\r\n"
                             "pos_left=5\r\ndesktoplink=1\r\nautorun=1\r\nnote_fontcolor=16711680\r\n"
                             "note_fontsize=9\r\ntaskhint_use=1\r\ntaskhint_time=2\r\n; \xB1\xB8\xD7\xA2\r\n\r\n"
                             "[other]\r\nk=\xD6\xB5\r\n"));
        QCOMPARE(read_settings(settings_file_path()).note_fontname, std::string("宋体"));
    }

    void read_only_file_is_left_as_it_is()
    {
        const std::string pinned = "[option]\r\npos_top=10\r\npos_left=20\r\nform_blend=90\r\n";
        put_file(settings_file_path(), pinned);
        fs::permissions(settings_file_path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        app_settings = read_settings(settings_file_path());
        try {
            save_local_vki(300, 400);
            QFAIL("no error");
        } catch (const std::runtime_error& e) {
            QCOMPARE(std::string(e.what()), "Unable to write to " + settings_file_path());
        }
        QCOMPARE(file_bytes(settings_file_path()), pinned);
        QCOMPARE(fs::status(settings_file_path()).permissions() & fs::perms::all,
                 fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        QVERIFY(!fs::exists(settings_file_path() + ".new"));

        // Made writable again, it is written as before.
        fs::permissions(settings_file_path(), fs::perms::owner_write, fs::perm_options::add);
        save_local_vki(300, 400);
        QCOMPARE(read_settings(settings_file_path()).pos_left, 300);
    }

    void unwritable_file_data()
    {
        QTest::addColumn<bool>("folder_is_file");
        QTest::newRow("settings path is a folder") << false;
        QTest::newRow("program folder is a file") << true;
    }
    void unwritable_file()
    {
        // Both fail for every user, root included.
        QFETCH(bool, folder_is_file);
        if (folder_is_file) {
            put_file(folder_.file("plain"), "x");
            set_program_folder(folder_.file("plain"));
        } else {
            fs::create_directory(settings_file_path());
        }
        try {
            save_local_vki(1, 2);
            QFAIL("no error");
        } catch (const std::runtime_error& e) {
            QCOMPARE(std::string(e.what()), "Unable to write to " + settings_file_path());
        }
        QVERIFY(!fs::exists(settings_file_path() + ".new"));
    }
};

QTEST_APPLESS_MAIN(TestSettings)
#include "test_settings.moc"
