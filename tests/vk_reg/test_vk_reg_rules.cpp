// vk_reg's rules without running it: the Exec value for every kind of path,
// the entries' own key, the user-dirs.dirs lookup and the wishes.
#include <QTemporaryDir>
#include <QTest>

#include "exec_parser.h"
#include "files.h"
#include "vk_reg/desktopentry.h"
#include "vk_reg/setup.h"
#include "vk_reg/xdgplaces.h"

using namespace vkreg;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

std::optional<QString> qopt(const std::optional<std::string>& s)
{
    return s ? std::optional<QString>(q(*s)) : std::nullopt;
}

using testing::write_file;

}  // namespace

class TestVkRegRules : public QObject {
    Q_OBJECT

private slots:
    void exec_value_as_the_file_holds_it_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "/opt/velkin/velkin"
                               << "\"/opt/velkin/velkin\"";
        QTest::newRow("space") << "/opt/my apps/velkin"
                               << "\"/opt/my apps/velkin\"";
        QTest::newRow("quote") << "/opt/a\"b/velkin"
                               << "\"/opt/a\\\\\"b/velkin\"";
        QTest::newRow("dollar") << "/opt/$HOME/velkin"
                                << "\"/opt/\\\\$HOME/velkin\"";
        QTest::newRow("backtick") << "/opt/`id`/velkin"
                                  << "\"/opt/\\\\`id\\\\`/velkin\"";
        QTest::newRow("backslash") << "/opt/a\\b/velkin"
                                   << "\"/opt/a\\\\\\\\b/velkin\"";
        QTest::newRow("percent") << "/opt/100%/velkin"
                                 << "\"/opt/100%%/velkin\"";
        QTest::newRow("field code look-alike") << "/opt/%f/velkin"
                                               << "\"/opt/%%f/velkin\"";
        QTest::newRow("Chinese") << "/home/用户/日历 程序/velkin"
                                 << "\"/home/用户/日历 程序/velkin\"";
    }
    void exec_value_as_the_file_holds_it()
    {
        QFETCH(QString, program);
        QFETCH(QString, written);
        QCOMPARE(q(escaped_string(exec_argument(program.toStdString()))), written);
    }

    // Whatever the path, a session that reads the Exec line starts exactly
    // that program and nothing else.
    void every_path_survives_a_sessions_reading()
    {
        const QString specials = QStringLiteral(" \"'`$\\%&;|<>~*?#()=[]{}!日历");
        for (int i = 0; i < specials.size(); ++i)
            for (int j = 0; j < specials.size(); ++j) {
                const QString path = QStringLiteral("/tmp/a%1b%2/velkin").arg(specials[i], specials[j]);
                const auto args = testing::exec_arguments(q(escaped_string(exec_argument(path.toStdString()))));
                QVERIFY2(args, qPrintable(path));
                QCOMPARE(*args, QStringList{path});
            }
    }

    void control_characters_are_refused()
    {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, escaped_string("/tmp/a\nb/velkin"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, escaped_string("/tmp/a\tb/velkin"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, entry_text(EntryKind::launcher, "/tmp/a\x7f/velkin", ""));
    }

    void the_entries_carry_what_a_session_needs()
    {
        const QString autostart = q(entry_text(EntryKind::autostart, "/opt/v k/velkin", "/opt/v k/velkin.png"));
        const auto keys = testing::desktop_entry_keys(autostart);
        QVERIFY(autostart.startsWith("[Desktop Entry]\n"));
        QCOMPARE(keys.value("Type"), "Application");
        QCOMPARE(keys.value("Name"), "Velkin");
        QCOMPARE(keys.value("Icon"), "/opt/v k/velkin.png");
        QCOMPARE(keys.value("TryExec"), "/opt/v k/velkin");
        QCOMPARE(keys.value("X-Velkin-Made-By"), "vk_reg");
        QCOMPARE(keys.value("X-GNOME-Autostart-enabled"), "true");

        const QString launcher = q(entry_text(EntryKind::launcher, "/opt/velkin", ""));
        const auto launcher_keys = testing::desktop_entry_keys(launcher);
        QVERIFY(!launcher_keys.contains("Icon"));
        QVERIFY(!launcher_keys.contains("X-GNOME-Autostart-enabled"));
        QVERIFY(made_by_vk_reg(launcher.toStdString()));
    }

    void only_its_own_key_in_the_main_group_marks_an_entry()
    {
        QVERIFY(made_by_vk_reg("[Desktop Entry]\r\nName=Velkin\r\n X-Velkin-Made-By = vk_reg \r\n"));
        QVERIFY(!made_by_vk_reg("[Desktop Entry]\nName=Velkin\nExec=velkin\n"));
        QVERIFY(!made_by_vk_reg("[Desktop Entry]\nX-Velkin-Made-By=someone\n"));
        QVERIFY(!made_by_vk_reg("[Desktop Action x]\nX-Velkin-Made-By=vk_reg\n"));
        QVERIFY(!made_by_vk_reg("# X-Velkin-Made-By=vk_reg\n[Desktop Entry]\nName=Velkin\n"));
        QVERIFY(!made_by_vk_reg(""));
        QCOMPARE(qopt(entry_value("[Other]\nName=a\n[Desktop Entry]\nName=b\n", "Name")), "b");
    }

    void user_dirs_desktop_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("desktop");  // empty: not set
        QTest::newRow("under home") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n") << "/home/u/Desktop";
        QTest::newRow("Chinese") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/桌面\"\n") << "/home/u/桌面";
        QTest::newRow("absolute") << QByteArray("XDG_DESKTOP_DIR=\"/data/desk\"\n") << "/data/desk";
        QTest::newRow("escaped quote and dollar")
            << QByteArray("XDG_DESKTOP_DIR=\"$HOME/my \\\"desk\\\" \\$1\"") << "/home/u/my \"desk\" $1";
        QTest::newRow("comments and other keys") << QByteArray("# XDG_DESKTOP_DIR=\"/x\"\n"
                                                               "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                                                               "  XDG_DESKTOP_DIR = \"$HOME/D\"\r\n")
                                                 << "/home/u/D";
        QTest::newRow("last line counts") << QByteArray("XDG_DESKTOP_DIR=\"/a\"\nXDG_DESKTOP_DIR=\"/b\"\n") << "/b";
        QTest::newRow("trailing slash") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/Desktop/\"\n") << "/home/u/Desktop";
        QTest::newRow("home itself") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/\"\n") << "/home/u";
        QTest::newRow("relative path is not allowed") << QByteArray("XDG_DESKTOP_DIR=\"Desktop\"\n") << "";
        QTest::newRow("another variable") << QByteArray("XDG_DESKTOP_DIR=\"$HOMEX/D\"\n") << "";
        QTest::newRow("no closing quote") << QByteArray("XDG_DESKTOP_DIR=\"$HOME/D\n") << "";
        QTest::newRow("unquoted") << QByteArray("XDG_DESKTOP_DIR=$HOME/D\n") << "";
        QTest::newRow("longer key") << QByteArray("XDG_DESKTOP_DIRS=\"/a\"\n") << "";
        QTest::newRow("empty file") << QByteArray() << "";
    }
    void user_dirs_desktop()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, desktop);
        const auto found = vkreg::user_dirs_desktop(file.toStdString(), "/home/u");
        QCOMPARE(found.has_value(), !desktop.isEmpty());
        if (found)
            QCOMPARE(q(*found), desktop);
    }

    void the_desktop_folder_falls_back_or_is_off()
    {
        QCOMPARE(qopt(desktop_folder("/home/u", std::nullopt)), "/home/u/Desktop");
        QCOMPARE(qopt(desktop_folder("/home/u", "XDG_MUSIC_DIR=\"$HOME/M\"\n")), "/home/u/Desktop");
        QCOMPARE(qopt(desktop_folder("/home/u", "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n")), "/home/u/桌面");
        QVERIFY(!desktop_folder("/home/u", "XDG_DESKTOP_DIR=\"$HOME\"\n"));
        QVERIFY(!desktop_folder("/home/u", "XDG_DESKTOP_DIR=\"$HOME/\"\n"));
        QVERIFY(!desktop_folder("/home/u", "XDG_DESKTOP_DIR=\"/home/u\"\n"));
    }

    void config_home_must_be_absolute()
    {
        QCOMPARE(q(config_home("/home/u", nullptr)), "/home/u/.config");
        QCOMPARE(q(config_home("/home/u", "")), "/home/u/.config");
        QCOMPARE(q(config_home("/home/u", "relative/cfg")), "/home/u/.config");
        QCOMPARE(q(config_home("/home/u", "/srv/cfg/")), "/srv/cfg");
    }

    void wishes_from_the_settings_file()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("vkset.vki");
        const Wishes missing = read_wishes(path.toStdString());
        QVERIFY(missing.autorun && missing.desktoplink);  // the defaults are "1"

        write_file(path, "[option]\r\nautorun=0\r\ndesktoplink=1\r\n");
        Wishes w = read_wishes(path.toStdString());
        QVERIFY(!w.autorun && w.desktoplink);

        write_file(path, "[option]\r\nautorun=yes\r\ndesktoplink=0\r\n");
        w = read_wishes(path.toStdString());
        QVERIFY(!w.autorun && !w.desktoplink);  // only "1" is on, as the check boxes show it
    }
};

QTEST_GUILESS_MAIN(TestVkRegRules)
#include "test_vk_reg_rules.moc"
