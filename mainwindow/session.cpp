#include "mainwindow/session.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <exception>
#ifdef Q_OS_WIN
#include <QWinEventNotifier>
#include <windows.h>
#endif

#include "platform/platform.h"
#include "storage/datafile.h"
#include "storage/paths.h"
#include "storage/settings.h"
#include "tasks/taskflags.h"
#include "uikit/errors.h"
#include "uikit/messagebox.h"

Session::Session(StartOptions options, std::function<void()> save, QObject* parent)
    : QObject(parent), options_(std::move(options)), save_(std::move(save))
{
}

Session::~Session()
{
    // A window destroyed without being closed (tests, tools) still releases
    // the data file it opened.
    if (open())
        app_database.reset();
}

bool Session::start(QWidget* owner)
{
    if (!platform::claim_single_instance(options_.instance_name)) {
        state_ = Lifecycle::Refusing;
        // The running copy's window may be minimised or on another desktop,
        // where the user cannot find it: it comes to the front first.
        platform::ask_instance_to_show(options_.instance_name);
        uikit::message_box(owner, QStringLiteral("“Velkin”已运行！"));
        return false;
    }
    watch_show_requests();
    // From here on a request to end the session is heard by the event loop:
    // the start-up error box's, or the program's once it runs.
    watch_signals();
    try {
        initvar();
        if (!options_.program_folder.empty())
            set_program_folder(options_.program_folder);
        tasks::reset_flags();
        initapp_fromlocalset();
        open_data_file();
    } catch (const std::exception& e) {
        // Without its files the program cannot work: say why and end,
        // writing nothing.
        state_ = Lifecycle::Failed;
        uikit::report_error(QString::fromUtf8(e.what()));
        return false;
    }
    state_ = Lifecycle::Running;
    return true;
}

QDate Session::today() const { return options_.today ? options_.today() : QDate::currentDate(); }

void Session::watch_show_requests()
{
    const std::intptr_t handle = platform::watch_show_requests(options_.instance_name);
    if (handle < 0)
        return;
#ifdef Q_OS_WIN
    auto* notifier = new QWinEventNotifier(reinterpret_cast<HANDLE>(handle), this);
    connect(notifier, &QWinEventNotifier::activated, this, [this] {
#else
    auto* notifier = new QSocketNotifier(static_cast<qintptr>(handle), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
#endif
        if (platform::take_show_requests() && state_ == Lifecycle::Running)
            emit show_requested();
    });
}

void Session::watch_signals()
{
    const int fd = platform::watch_session_end();
    if (fd < 0)
        return;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        if (!platform::take_session_end_request())
            return;
        if (state_ == Lifecycle::Failed) {
            // The start-up error box is open: the program ends at once,
            // having written nothing, as a log-off needs.
            uikit::close_message_boxes();
            return;
        }
        if (state_ != Lifecycle::Running)
            return;
        uikit::report_errors(save_);
        state_ = Lifecycle::Ending;
        emit end_requested();
    });
}

void Session::watch_session_end()
{
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { save_for_session_end(); });
}

void Session::shut_down()
{
    if (!open())
        return;
    // A failed save is reported, and the program still ends.
    if (state_ == Lifecycle::Running)
        uikit::report_errors(save_);
    state_ = Lifecycle::ShutDown;
    app_database.reset();
}

void Session::save_for_session_end()
{
    if (state_ == Lifecycle::Running)
        uikit::report_errors(save_);
}
