// vk_reg as the program starts it: a process with HOME, XDG_CONFIG_HOME and
// user-dirs.dirs in a temporary folder, in a program folder of its own.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "exec_parser.h"
#include "files.h"

namespace {

QByteArray read_all(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

using testing::write_file;

struct Run {
    int exit_code = -1;
    QString errors;
};

// A user's home, configuration and a copy of the program in one temporary
// folder.  The program is a script that leaves a file "ran" beside itself.
class Sandbox {
public:
    explicit Sandbox(const QString& program_folder_name = QStringLiteral("velkin"))
    {
        program = dir.filePath(program_folder_name);
        for (const QString& folder : {home(), config(), program, desktop()})
            QDir().mkpath(folder);
        write_file(config() + "/user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/桌面\"\n");
        QFile::copy(QStringLiteral(VK_REG_EXE), program + "/vk_reg");
        QFile::copy(QStringLiteral(VELKIN_ICON), program + "/velkin.png");
        write_file(program + "/velkin", "#!/bin/sh\nprintf '%s' \"$0\" > \"$(dirname \"$0\")/ran\"\n");
        QFile::setPermissions(program + "/velkin", QFile::permissions(program + "/velkin") | QFileDevice::ExeOwner);
    }

    QString home() const { return dir.filePath("home"); }
    QString config() const { return dir.filePath("config"); }
    QString desktop() const { return home() + "/桌面"; }
    QString autostart_entry() const { return config() + "/autostart/velkin.desktop"; }
    QString launcher() const { return desktop() + "/velkin.desktop"; }

    void wish(bool autorun, bool desktoplink) const
    {
        write_file(program + "/vkset.vki", QByteArray("[option]\r\npos_top=10\r\nautorun=") + (autorun ? "1" : "0") +
                                               "\r\ndesktoplink=" + (desktoplink ? "1" : "0") + "\r\n");
    }

    Run run(const QStringList& arguments = {QString()}, bool with_config_home = true) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home());
        if (with_config_home)
            env.insert("XDG_CONFIG_HOME", config());
        else
            env.remove("XDG_CONFIG_HOME");
        process.setProcessEnvironment(env);
        process.start(program + "/vk_reg", arguments);
        if (!process.waitForFinished(30000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

    QTemporaryDir dir;
    QString program;
};

// desktop-file-validate's verdict: empty when the file passes without a word.
QString validation_of(const QString& file)
{
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty())
        return "desktop-file-validate is not installed (Debian's desktop-file-utils)";
    QProcess p;
    p.start(validator, {file});
    if (!p.waitForFinished(30000))
        return "desktop-file-validate did not finish";
    const QString said = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
    return p.exitCode() == 0 ? said : QStringLiteral("exit %1: %2").arg(p.exitCode()).arg(said);
}

QStringList files_in(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

#define CHECK_VALID(file) QVERIFY2(validation_of(file).isEmpty(), qPrintable(file + ": " + validation_of(file)))

class TestVkRegProcess : public QObject {
    Q_OBJECT

private slots:
    void wishes_on_off_then_on_twice()
    {
        Sandbox box;
        box.wish(true, true);
        Run r = box.run();
        QCOMPARE(r.exit_code, 0);
        QCOMPARE(r.errors, QString());
        QVERIFY(QFile::exists(box.autostart_entry()));
        QVERIFY(QFileInfo(box.launcher()).isExecutable());
        QVERIFY(!QFileInfo(box.autostart_entry()).isExecutable());
        CHECK_VALID(box.autostart_entry());
        CHECK_VALID(box.launcher());

        box.wish(false, false);
        r = box.run();
        QCOMPARE(r.exit_code, 0);
        QCOMPARE(r.errors, QString());
        QVERIFY(!QFile::exists(box.autostart_entry()));
        QVERIFY(!QFile::exists(box.launcher()));

        box.wish(true, true);
        QCOMPARE(box.run().exit_code, 0);
        const QByteArray autostart = read_all(box.autostart_entry());
        const QByteArray launcher = read_all(box.launcher());
        const auto launcher_permissions = QFile::permissions(box.launcher());
        r = box.run();
        QCOMPARE(r.exit_code, 0);
        QCOMPARE(r.errors, QString());
        QCOMPARE(read_all(box.autostart_entry()), autostart);
        QCOMPARE(read_all(box.launcher()), launcher);
        QCOMPARE(QFile::permissions(box.launcher()), launcher_permissions);
        QCOMPARE(files_in(box.desktop()), QStringList{"velkin.desktop"});  // nothing left over
        QCOMPARE(files_in(box.config() + "/autostart"), QStringList{"velkin.desktop"});

        box.wish(true, false);
        QCOMPARE(box.run().exit_code, 0);
        QVERIFY(QFile::exists(box.autostart_entry()));
        QVERIFY(!QFile::exists(box.launcher()));
    }

    // The Exec line, read as a session reads it, starts exactly this copy.
    void a_path_with_space_quote_percent_and_chinese_starts_this_copy()
    {
        Sandbox box(QStringLiteral("我的 \"程序\" 100% $HOME `x` \\ 日历"));
        box.wish(true, true);
        const Run r = box.run();
        QCOMPARE(r.exit_code, 0);
        const QString program = box.program + "/velkin";
        for (const QString& entry : {box.autostart_entry(), box.launcher()}) {
            CHECK_VALID(entry);
            const auto keys = testing::desktop_entry_keys(QString::fromUtf8(read_all(entry)));
            const auto args = testing::exec_arguments(keys.value("Exec"));
            QVERIFY2(args, qPrintable(keys.value("Exec")));
            QCOMPARE(*args, QStringList{program});
            QCOMPARE(testing::unescape_string(keys.value("TryExec")), program);
            QCOMPARE(testing::unescape_string(keys.value("Icon")), box.program + "/velkin.png");

            QFile::remove(box.program + "/ran");
            QProcess session;
            session.start(args->first(), args->mid(1));
            QVERIFY(session.waitForFinished(30000));
            QCOMPARE(QString::fromUtf8(read_all(box.program + "/ran")), program);
        }
    }

    void an_entry_of_another_copy_is_pointed_at_this_one()
    {
        Sandbox old_copy(QStringLiteral("old"));
        old_copy.wish(true, true);
        QCOMPARE(old_copy.run().exit_code, 0);

        Sandbox box(QStringLiteral("new"));
        QDir().mkpath(box.config() + "/autostart");
        QFile::copy(old_copy.autostart_entry(), box.autostart_entry());
        box.wish(true, false);
        QCOMPARE(box.run().exit_code, 0);
        const auto keys = testing::desktop_entry_keys(QString::fromUtf8(read_all(box.autostart_entry())));
        QCOMPARE(*testing::exec_arguments(keys.value("Exec")), QStringList{box.program + "/velkin"});
    }

    void entries_it_did_not_make_are_left_alone()
    {
        Sandbox box;
        const QByteArray users_own = "[Desktop Entry]\nType=Application\nName=My Velkin\nExec=/usr/bin/velkin\n";
        QDir().mkpath(box.config() + "/autostart");
        write_file(box.autostart_entry(), users_own);
        write_file(box.launcher(), users_own);
        for (bool wanted : {true, false}) {
            box.wish(wanted, wanted);
            const Run r = box.run();
            QCOMPARE(r.exit_code, 0);
            QVERIFY2(r.errors.contains(box.autostart_entry()) && r.errors.contains(box.launcher()),
                     qPrintable(r.errors));
            QCOMPARE(read_all(box.autostart_entry()), users_own);
            QCOMPARE(read_all(box.launcher()), users_own);
        }
    }

    void no_desktop_folder_makes_no_launcher()
    {
        Sandbox box;
        QVERIFY(QDir(box.desktop()).removeRecursively());
        box.wish(true, true);
        Run r = box.run();
        QCOMPARE(r.exit_code, 0);
        QVERIFY2(r.errors.contains("没有桌面文件夹 " + box.desktop()), qPrintable(r.errors));
        QVERIFY(!QFile::exists(box.desktop()));
        QVERIFY(QFile::exists(box.autostart_entry()));

        // The user turned the desktop folder off by pointing it at home.
        write_file(box.config() + "/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/\"\n");
        r = box.run();
        QCOMPARE(r.exit_code, 0);
        QVERIFY2(r.errors.contains("XDG_DESKTOP_DIR"), qPrintable(r.errors));
        QCOMPARE(files_in(box.home()), QStringList());
    }

    void without_user_dirs_and_config_home_the_defaults_apply()
    {
        Sandbox box;
        QFile::remove(box.config() + "/user-dirs.dirs");
        QDir().mkpath(box.home() + "/Desktop");
        box.wish(true, true);
        QCOMPARE(box.run({QString()}, false).exit_code, 0);
        QVERIFY(QFile::exists(box.home() + "/.config/autostart/velkin.desktop"));
        QVERIFY(QFile::exists(box.home() + "/Desktop/velkin.desktop"));
        QVERIFY(!QFile::exists(box.autostart_entry()));
    }

    void arguments_other_than_the_empty_one_are_refused()
    {
        Sandbox box;
        box.wish(true, true);
        for (const QStringList& args : {QStringList{"--help"}, QStringList{"", ""}}) {
            const Run r = box.run(args);
            QCOMPARE(r.exit_code, 2);
            QVERIFY(r.errors.contains("vkset.vki"));
        }
        QCOMPARE(box.run({}).exit_code, 0);  // started by hand, without the empty argument
        QVERIFY(QFile::exists(box.launcher()));
    }

    void a_missing_program_fails_and_makes_nothing()
    {
        Sandbox box;
        box.wish(true, true);
        QCOMPARE(box.run().exit_code, 0);
        QVERIFY(QFile::remove(box.program + "/velkin"));

        QVERIFY(QFile::remove(box.launcher()));
        Run r = box.run();
        QCOMPARE(r.exit_code, 1);
        QVERIFY2(r.errors.contains(box.program + "/velkin"), qPrintable(r.errors));
        QVERIFY(!QFile::exists(box.launcher()));

        box.wish(false, false);  // removing needs no program
        r = box.run();
        QCOMPARE(r.exit_code, 0);
        QVERIFY(!QFile::exists(box.autostart_entry()));
    }
};

QTEST_GUILESS_MAIN(TestVkRegProcess)
#include "test_vk_reg_process.moc"
