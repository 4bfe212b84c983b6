// Starting the autorun and shortcut program: the Windows version names and
// the choice of start, which are the same code on every system, and the
// plain start on this system with its failures named.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/platform.h"
#include "platform/startrules.h"

using platform::rules::StartWay;
using platform::rules::WindowsVersion;

namespace {

int administrator_questions = 0;
bool answer_yes()
{
    ++administrator_questions;
    return true;
}
bool answer_no()
{
    ++administrator_questions;
    return false;
}

// A program that writes how many arguments it got, and the first one, to
// the file `out` beside it.
QString write_recorder(const QString& path)
{
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    script.write("#!/bin/sh\nprintf '%s:[%s]' \"$#\" \"$1\" > \"$(dirname \"$0\")/out.tmp\"\n"
                 "mv \"$(dirname \"$0\")/out.tmp\" \"$(dirname \"$0\")/out\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return path;
}

QByteArray wait_for_output(const QString& folder)
{
    const QString out = folder + "/out";
    if (!QTest::qWaitFor([&] { return QFile::exists(out); }, 20000))
        return "(the program did not run)";
    QFile f(out);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

std::string start_error_of(const std::function<void()>& start)
{
    try {
        start();
    } catch (const platform::StartError& e) {
        return e.what();
    }
    return {};
}

}  // namespace

class TestStart : public QObject {
    Q_OBJECT

private slots:
    void windows_version_names_data()
    {
        QTest::addColumn<bool>("nt");
        QTest::addColumn<unsigned>("major");
        QTest::addColumn<unsigned>("minor");
        QTest::addColumn<QString>("pack");
        QTest::addColumn<QString>("name");
        QTest::newRow("NT 3.51") << true << 3u << 51u << ""
                                 << "osNT3";
        QTest::newRow("NT 4.0") << true << 4u << 0u << "Service Pack 6"
                                << "osNT4";
        QTest::newRow("2000") << true << 5u << 0u << ""
                              << "os2K";
        QTest::newRow("XP") << true << 5u << 1u << "Service Pack 3"
                            << "osXP";
        QTest::newRow("Server 2003") << true << 5u << 2u << ""
                                     << "os2K";
        QTest::newRow("Vista") << true << 6u << 0u << ""
                               << "osUnknown";
        QTest::newRow("8 and later as reported") << true << 6u << 2u << ""
                                                 << "osUnknown";
        QTest::newRow("10") << true << 10u << 0u << ""
                            << "osUnknown";
        QTest::newRow("95") << false << 4u << 0u << ""
                            << "os95";
        QTest::newRow("95 OSR2, blanks removed") << false << 4u << 0u << " B "
                                                 << "os95OSR2";
        QTest::newRow("95 with another letter") << false << 4u << 0u << "C"
                                                << "os95";
        QTest::newRow("98") << false << 4u << 10u << ""
                            << "os98";
        QTest::newRow("98 SE, blanks removed") << false << 4u << 10u << " A"
                                               << "os98SE";
        QTest::newRow("ME") << false << 4u << 90u << ""
                            << "osME";
        QTest::newRow("95 family, unknown minor") << false << 4u << 20u << ""
                                                  << "osUnknown";
        QTest::newRow("95 family, unknown major") << false << 5u << 0u << ""
                                                  << "osUnknown";
        QTest::newRow("NT 95-like numbers") << true << 4u << 10u << "A"
                                            << "osNT4";
    }
    void windows_version_names()
    {
        QFETCH(bool, nt);
        QFETCH(unsigned, major);
        QFETCH(unsigned, minor);
        QFETCH(QString, pack);
        QFETCH(QString, name);
        const WindowsVersion v{nt, major, minor, pack.toStdString()};
        QCOMPARE(QString::fromStdString(platform::rules::os_name_of(v)), name);
    }

    void after_xp_always_elevated_without_asking()
    {
        administrator_questions = 0;
        QCOMPARE(platform::rules::start_way("osUnknown", answer_yes), StartWay::elevated);
        QCOMPARE(platform::rules::start_way("osUnknown", answer_no), StartWay::elevated);
        QCOMPARE(administrator_questions, 0);
    }

    void older_windows_asks_who_the_user_is()
    {
        for (const char* version : {"osXP", "os2K", "osNT4", "os98SE"}) {
            administrator_questions = 0;
            QCOMPARE(platform::rules::start_way(version, answer_yes), StartWay::plain);
            QCOMPARE(platform::rules::start_way(version, answer_no), StartWay::notice_then_elevated);
            QCOMPARE(administrator_questions, 2);
        }
    }

    void quoting_and_names()
    {
        QCOMPARE(platform::rules::quoted(""), std::string("\"\""));
        QCOMPARE(platform::rules::quoted("C:\\Program Files\\vk_reg.exe"),
                 std::string("\"C:\\Program Files\\vk_reg.exe\""));
        QCOMPARE(platform::rules::lower_ascii("Kestrel_MessageBox 提醒"), std::string("kestrel_messagebox 提醒"));
        QCOMPARE(platform::rules::file_name_of("C:\\a b\\vk_reg.exe"), std::string_view("vk_reg.exe"));
        QCOMPARE(platform::rules::file_name_of("/opt/日历/vk_reg"), std::string_view("vk_reg"));
        QCOMPARE(platform::rules::system_error_message(1223, "The operation was canceled by the user."),
                 std::string("System Error.  Code: 1223.\nThe operation was canceled by the user."));
    }

    void this_system_starts_plainly_without_a_language_file()
    {
        QCOMPARE(platform::os_name(), std::string("osLinux"));
        QCOMPARE(platform::vk_reg_file_name(), std::string("vk_reg"));
        QTemporaryDir dir;
        QFile lang(dir.filePath("ks_lanset.dll"));
        QVERIFY(lang.open(QIODevice::WriteOnly));
        lang.write("[kestrel_messagebox]\nmessage_caption_alter=x\n");
        lang.close();
        QCOMPARE(platform::lang_text(dir.path().toStdString() + "/", "kestrel_messagebox", "message_caption_alter"),
                 std::string());
    }

    void the_program_gets_exactly_one_empty_argument()
    {
        QTemporaryDir dir;
        const QString program = write_recorder(dir.filePath("vk_reg"));
        platform::start_program(dir.path().toStdString() + "/", 0, program.toStdString(), "", platform::os_name());
        QCOMPARE(wait_for_output(dir.path()), QByteArray("1:[]"));
    }

    void regautoandlink_starts_vk_reg_of_the_folder()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("程序 folder \"1\" 100%");
        QVERIFY(QDir().mkpath(folder));
        write_recorder(folder + "/vk_reg");
        platform::regautoandlink(folder.toStdString() + "/");
        QCOMPARE(wait_for_output(folder), QByteArray("1:[]"));
    }

    void a_missing_or_unstartable_vk_reg_is_named()
    {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString() + "/";
        const std::string missing = start_error_of([&] { platform::regautoandlink(folder); });
        QVERIFY2(missing.find("找不到程序“vk_reg”：" + folder + "vk_reg") != std::string::npos, missing.c_str());

        QFile plain(dir.filePath("vk_reg"));  // there, but not executable
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("not a program");
        plain.close();
        plain.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const std::string refused = start_error_of([&] { platform::regautoandlink(folder); });
        QVERIFY2(refused.find("无法启动程序“vk_reg”：" + folder + "vk_reg") != std::string::npos, refused.c_str());
        QVERIFY2(refused.find("开机启动和桌面快捷方式未能设置") != std::string::npos, refused.c_str());

        QVERIFY(QDir(dir.path()).mkpath("sub/vk_reg"));  // a folder of that name is no program either
        const std::string folder_named = start_error_of([&] { platform::regautoandlink(folder + "sub/"); });
        QVERIFY2(folder_named.find("找不到程序“vk_reg”") != std::string::npos, folder_named.c_str());
    }
};

QTEST_GUILESS_MAIN(TestStart)
#include "test_start.moc"
