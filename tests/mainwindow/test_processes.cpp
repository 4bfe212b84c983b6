// The program as separate processes: one instance per session, released
// when a process dies however it dies, and the shutdown save on SIGTERM.
#include <QFileInfo>
#include <QProcess>
#include <QtTest>
#include <csignal>
#include <fstream>
#include <string>

#include "mainwindow/session.h"

#include "windowfixture.h"

namespace {

// Starts a copy of the program that lives in `folder`, so that folder is
// its program folder, and waits until it runs; null when it does not.
std::unique_ptr<QProcess> start_program_in(const QString& folder)
{
    const QString exe = folder + "/velkin";
    QFile::remove(exe);
    if (!QFile::copy(QStringLiteral(VELKIN_EXE), exe))
        qFatal("cannot copy the program");
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process->setProcessEnvironment(env);
    process->start(exe, {});
    // It is running once it has opened its data file.
    if (!QTest::qWaitFor([&] { return QFile::exists(folder + "/velkin.db"); }, 30000))
        return nullptr;
    return process;
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries, QDir::Name);
}

}  // namespace

class TestProcesses : public QObject {
    Q_OBJECT

private slots:
    void copies_starting_together_elect_one();
    void second_copy_is_refused_and_touches_nothing();
    void signal_ends_the_start_up_error_box_at_once();
    void sigterm_runs_the_shutdown_save();
    void a_killed_instance_leaves_no_lock();
    // Last: these claim the copies' name in this process, for good.
    void second_copy_asks_the_running_copy_for_its_window();
};

void TestProcesses::copies_starting_together_elect_one()
{
    const QString name = QStringLiteral("velkin-race-%1").arg(QCoreApplication::applicationPid());
    std::vector<std::unique_ptr<QProcess>> copies;
    for (int i = 0; i < 6; ++i) {
        copies.push_back(std::make_unique<QProcess>());
        copies.back()->start(QStringLiteral(CLAIM_HELPER_EXE), {name});
    }
    int won = 0;
    for (auto& p : copies) {
        QVERIFY(p->waitForReadyRead(20000));
        won += p->readLine().trimmed() == "won";
    }
    QCOMPARE(won, 1);
    for (auto& p : copies) {
        p->closeWriteChannel();
        QVERIFY(p->waitForFinished(20000));
    }
}

void TestProcesses::second_copy_is_refused_and_touches_nothing()
{
    QTemporaryDir first_folder;
    auto first = start_program_in(first_folder.path());
    QVERIFY(first);
    const QDateTime written = QFileInfo(first_folder.filePath("velkin.db")).lastModified();

    WindowFixture second;
    StartOptions options;
    options.program_folder = second.folder();
    options.instance_name = VELKIN_TEST_INSTANCE_NAME;  // the name the running copy holds
    TFRM_Date refused(options);
    QVERIFY(refused.refused());
    QCOMPARE(refused.exit_code(), 0);
    QCOMPARE(second.messages, QStringList{"“Velkin”已运行！"});
    refused.show();
    refused.close();
    QVERIFY(entries(second.dir.path()).isEmpty());
    QCOMPARE(entries(first_folder.path()), (QStringList{"velkin", "velkin.db"}));
    QCOMPARE(QFileInfo(first_folder.filePath("velkin.db")).lastModified(), written);

    first->terminate();
    QVERIFY(first->waitForFinished(30000));
}

void TestProcesses::second_copy_asks_the_running_copy_for_its_window()
{
    WindowFixture running;
    StartOptions options;
    options.program_folder = running.folder();
    options.instance_name = VELKIN_TEST_INSTANCE_NAME;
    TFRM_Date window(options);
    QVERIFY(!window.refused());
    window.show();
    auto* session = window.findChild<Session*>();
    QVERIFY(session);
    QSignalSpy asked(session, &Session::show_requested);

    QTemporaryDir second_folder;
    const QString exe = second_folder.filePath("velkin");
    QVERIFY(QFile::copy(QStringLiteral(VELKIN_EXE), exe));
    QProcess second;
    second.start(exe, {});
    QVERIFY(asked.wait(30000));  // before it shows its message
    second.kill();
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(entries(second_folder.path()), QStringList{"velkin"});
    window.close();
}

void TestProcesses::signal_ends_the_start_up_error_box_at_once()
{
    QTemporaryDir folder;
    QFile data(folder.filePath("velkin.db"));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write(QByteArray(4096, 'x'));  // no database: the start fails with a box
    data.close();
    const QString exe = folder.filePath("velkin");
    QVERIFY(QFile::copy(QStringLiteral(VELKIN_EXE), exe));
    QProcess program;
    program.start(exe, {});
    QVERIFY(program.waitForStarted(30000));
    // Once it catches SIGTERM itself (the start has begun), the signal ends it.
    const QString status = QStringLiteral("/proc/%1/status").arg(program.processId());
    const auto catches_sigterm = [&] {
        std::ifstream in(status.toStdString());
        for (std::string line; std::getline(in, line);)
            if (line.rfind("SigCgt:", 0) == 0)
                return (std::stoull(line.substr(7), nullptr, 16) & (1ull << (SIGTERM - 1))) != 0;
        return false;
    };
    QVERIFY(QTest::qWaitFor(catches_sigterm, 30000));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(entries(folder.path()), (QStringList{"velkin", "velkin.db"}));
    QVERIFY(data.open(QIODevice::ReadOnly));
    QCOMPARE(data.readAll(), QByteArray(4096, 'x'));
}

void TestProcesses::sigterm_runs_the_shutdown_save()
{
    QTemporaryDir folder;
    auto program = start_program_in(folder.path());
    QVERIFY(program);
    QVERIFY(!QFile::exists(folder.filePath("vkset.vki")));
    ::kill(static_cast<pid_t>(program->processId()), SIGTERM);
    QVERIFY(program->waitForFinished(30000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 0);
    QFile settings(folder.filePath("vkset.vki"));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    const QByteArray text = settings.readAll();
    QVERIFY2(text.contains("[option]\r\n") && text.contains("form_blend=255\r\n"), text.constData());
}

void TestProcesses::a_killed_instance_leaves_no_lock()
{
    QTemporaryDir folder;
    auto program = start_program_in(folder.path());
    QVERIFY(program);
    program->kill();
    QVERIFY(program->waitForFinished(30000));

    // The name is free at once: this process can claim it.
    WindowFixture next;
    StartOptions options;
    options.program_folder = next.folder();
    options.instance_name = VELKIN_TEST_INSTANCE_NAME;
    TFRM_Date window(options);
    QVERIFY(!window.refused());
    QVERIFY(next.messages.isEmpty());
}

QTEST_MAIN(TestProcesses)
#include "test_processes.moc"
