// The program's session: the single-instance claim, the files it opens at
// start-up (settings and data file), the requests to end the session, and
// the shutdown save that closes them again.  It owns app_database from
// start-up to shutdown.
#pragma once

#include <QDate>
#include <QObject>
#include <functional>
#include <string>

class QWidget;

// The name the running copy claims for the session.
inline constexpr const char* program_instance_name = "scr_dorvane_vk";

// How the window starts.  The program uses the defaults; tests, tools and
// benchmarks choose their own folder, date and instance name.
struct StartOptions {
    std::string program_folder;  // empty: the executable's folder
    std::function<QDate()> today;  // empty: the system's date
    std::string instance_name = program_instance_name;
};

class Session : public QObject {
    Q_OBJECT

public:
    enum class Lifecycle {
        Starting,  // created, files not yet open
        Refusing,  // another copy runs: nothing is read or written
        Failed,  // a file could not be opened: the error was shown
        Running,  // files open
        Ending,  // saved because a signal ends the session; the close follows
        ShutDown,  // saved and closed
    };

    // `save` is the window's part of the shutdown save.
    Session(StartOptions options, std::function<void()> save, QObject* parent);
    ~Session() override;

    // The start-up sequence's part of the files: claims the instance name
    // (a second copy shows "“Velkin”已运行！" over `owner`), resets the
    // process-wide state, reads the settings file and opens the data file.
    // Returns true when the program can run.
    bool start(QWidget* owner);
    Lifecycle state() const { return state_; }
    bool refused() const { return state_ == Lifecycle::Refusing || state_ == Lifecycle::Failed; }
    int exit_code() const { return state_ == Lifecycle::Failed ? 1 : 0; }

    QDate today() const;

    // From now on the desktop session manager asking before a log-off gets
    // the save.  A signal (SIGTERM, SIGHUP, SIGINT) is answered from the
    // start: with the save followed by end_requested once the program runs,
    // by closing the start-up error box at once when the start failed.
    void watch_session_end();

    // The shutdown save: runs the save unless a signal's save just ran,
    // shows its error if it fails, and closes the data file.  Does nothing
    // the second time, or when the program never ran.
    void shut_down();
    // The save before a log-off: the data file stays open, since the log-off
    // may be cancelled, and the shutdown save runs again at the close.
    void save_for_session_end();

signals:
    // A signal asked the program to end; the save has run: close the window.
    void end_requested();
    // A second copy was started: the window comes to the front.
    void show_requested();

private:
    bool open() const { return state_ == Lifecycle::Running || state_ == Lifecycle::Ending; }
    void watch_show_requests();
    void watch_signals();

    StartOptions options_;
    std::function<void()> save_;
    Lifecycle state_ = Lifecycle::Starting;
};
