#include "mainwindow/session.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <exception>

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
        uikit::message_box(owner, QStringLiteral("“Velkin”已运行！"));
        return false;
    }
    // From here on a request to end the session waits in a queue until the
    // window can answer it.
    session_end_fd_ = platform::watch_session_end();
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

void Session::watch_session_end()
{
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { save_for_session_end(); });
    if (session_end_fd_ < 0)
        return;
    session_end_notifier_ = new QSocketNotifier(session_end_fd_, QSocketNotifier::Read, this);
    connect(session_end_notifier_, &QSocketNotifier::activated, this, [this] {
        if (!platform::take_session_end_request() || state_ != Lifecycle::Running)
            return;
        uikit::report_errors(save_);
        state_ = Lifecycle::Ending;
        emit end_requested();
    });
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
