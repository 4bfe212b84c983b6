// The periodic task reminder: the timer armed from the settings, the count
// of today's tasks, and the one reminder window at a time.
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "../mainwindow/windowfixture.h"
#include "storage/settings.h"
#include "tasks/reminder.h"
#include "taskfixture.h"
#include "taskwindow.h"
#include "uikit/hintmessage.h"

using daydata::Task;

namespace {

constexpr int hour = 3'600'000;

Settings reminder_settings(const char* use, int hours)
{
    Settings s;
    s.taskhint_use = use;
    s.taskhint_time = hours;
    return s;
}

QList<QWidget*> reminders()
{
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frm_taskhintmess" && w->isVisible())
            shown << w;
    return shown;
}

QString reminder_text(QWidget* w) { return child<QLabel>(w, "RzLabel1")->text(); }

QTimer* taskhint_timer(QWidget* w) { return child<QTimer>(w, "Timer_taskhint"); }

// One tick of the reminder's timer, as if its hours had passed.
void tick(QWidget* w) { QVERIFY(QMetaObject::invokeMethod(taskhint_timer(w), "timeout")); }

}  // namespace

class TestReminder : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frm_taskhintmess")
                delete w;
    }

    void the_timer_follows_the_settings()
    {
        QTimer timer;
        tasks::configure_taskhint_timer(timer, reminder_settings("0", 2));
        QVERIFY(!timer.isActive());
        tasks::configure_taskhint_timer(timer, reminder_settings("1", 2));
        QVERIFY(timer.isActive());
        QCOMPARE(timer.interval(), 2 * hour);
        QVERIFY(!timer.isSingleShot());

        // Within 1 to 24 hours, whatever the file says.
        tasks::configure_taskhint_timer(timer, reminder_settings("1", 0));
        QCOMPARE(timer.interval(), 1 * hour);
        tasks::configure_taskhint_timer(timer, reminder_settings("1", -7));
        QCOMPARE(timer.interval(), 1 * hour);
        tasks::configure_taskhint_timer(timer, reminder_settings("1", 30));
        QCOMPARE(timer.interval(), 24 * hour);
        tasks::configure_taskhint_timer(timer, reminder_settings("true", 3));
        QVERIFY(!timer.isActive());
    }

    // An unchanged interval keeps the running period; a changed one, or a
    // timer switched on, starts a full period.
    void only_a_new_interval_starts_a_new_period()
    {
        QTimer timer;
        tasks::configure_taskhint_timer(timer, reminder_settings("1", 3));
        // A restart stops the timer for a moment, which its active property
        // tells.
        int restarts = 0;
        const QPropertyNotifier watch = timer.bindableActive().addNotifier([&] { restarts += timer.isActive(); });
        tasks::configure_taskhint_timer(timer, reminder_settings("1", 3));
        QCOMPARE(restarts, 0);
        tasks::configure_taskhint_timer(timer, reminder_settings("1", 4));
        QCOMPARE(restarts, 1);
        QCOMPARE(timer.interval(), 4 * hour);
        tasks::configure_taskhint_timer(timer, reminder_settings("0", 4));
        QVERIFY(!timer.isActive());
        tasks::configure_taskhint_timer(timer, reminder_settings("1", 4));
        QCOMPARE(restarts, 2);
    }

    void the_main_window_arms_the_timer_at_start()
    {
        {
            WindowFixture f;
            auto w = f.open_window(QDate(2024, 2, 10));
            QVERIFY(taskhint_timer(w.get())->isActive());
            QCOMPARE(taskhint_timer(w.get())->interval(), 2 * hour);
        }
        {
            WindowFixture f;
            f.write_settings_file("[option]\r\ntaskhint_use=0\r\n");
            auto w = f.open_window(QDate(2024, 2, 10));
            QVERIFY(!taskhint_timer(w.get())->isActive());
        }
        {
            WindowFixture f;
            f.write_settings_file("[option]\r\ntaskhint_time=30\r\n");
            auto w = f.open_window(QDate(2024, 2, 10));
            QCOMPARE(taskhint_timer(w.get())->interval(), 24 * hour);
            QCOMPARE(app_settings.taskhint_time, 30);  // the stored value stays
        }
    }

    void nothing_is_shown_without_open_tasks()
    {
        WindowFixture f;
        auto db = f.prepared_data_file();
        daydata::replace_tasks(*db, "20240211", {{"A", "已完成", "done"}, {"B", "已完成", "done too"}});
        db.reset();
        auto today = std::make_shared<QDate>(2024, 2, 10);
        auto w = f.open_window([today] { return *today; });
        tick(w.get());  // an empty day
        QVERIFY(reminders().isEmpty());
        *today = QDate(2024, 2, 11);
        tick(w.get());  // all finished
        QVERIFY(reminders().isEmpty());
        QCOMPARE(tasks::taskhint_showing, std::string("0"));
    }

    // The list on screen counts, with its changes not yet written.
    void one_window_tells_the_open_and_finished_tasks_of_today()
    {
        WindowFixture f;
        auto db = f.prepared_data_file();
        daydata::replace_tasks(*db, "20240210", {{"A", "进行中", "one"}, {"B", "已完成", "two"}});
        db.reset();
        auto w = f.open_window(QDate(2024, 2, 10));
        ModalAnswers answers;
        answers.then(type_task("three"));
        child<QPushButton>(w.get(), "bt_plan_add")->click();

        tick(w.get());
        QCOMPARE(reminders().size(), 1);
        QWidget* first = reminders().first();
        QCOMPARE(reminder_text(first), QStringLiteral("今天尚有【2】项任务未完成；已完成【1】项任务。"));
        QCOMPARE(first->windowTitle(), QStringLiteral("任务提醒"));
        QVERIFY(!first->isModal());
        QCOMPARE(tasks::taskhint_showing, std::string("1"));

        tick(w.get());  // while one is on screen, ticks show nothing
        QCOMPARE(reminders().size(), 1);

        child<QPushButton>(first, "Button1")->click();
        QVERIFY(reminders().isEmpty());
        QCOMPARE(tasks::taskhint_showing, std::string("0"));
        tick(w.get());
        QCOMPARE(reminders().size(), 1);

        // The close box lets the next tick show a new one as well.
        reminders().first()->close();
        QCOMPARE(tasks::taskhint_showing, std::string("0"));
        tick(w.get());
        QCOMPARE(reminders().size(), 1);
        QVERIFY(f.messages.isEmpty());

        // The window goes with the main window.
        QPointer<QWidget> last = reminders().first();
        w.reset();
        QVERIFY(last.isNull());
    }

    void another_day_on_show_counts_the_tasks_stored_for_today()
    {
        WindowFixture f;
        auto db = f.prepared_data_file();
        daydata::replace_tasks(*db, "20240210", {{"A", "进行中", "today"}, {"B", "已完成", "today"}});
        daydata::replace_tasks(*db, "20240220",
                               {{"A", "进行中", "other"}, {"A", "进行中", "other"}, {"A", "进行中", "other"}});
        db.reset();
        auto today = std::make_shared<QDate>(2024, 2, 10);
        auto w = f.open_window([today] { return *today; });
        child<QAction>(w.get(), "MenuYear_2024")->trigger();  // stays on the 10th
        press_day(w.get(), 20);
        QCOMPARE(w->sel_daykey(), QStringLiteral("20240220"));
        tick(w.get());
        QCOMPARE(reminders().size(), 1);
        QCOMPARE(reminder_text(reminders().first()), QStringLiteral("今天尚有【1】项任务未完成；已完成【1】项任务。"));
        reminders().first()->close();

        // Past midnight the new day counts: now the day on show is today.
        *today = QDate(2024, 2, 20);
        tick(w.get());
        QCOMPARE(reminder_text(reminders().first()), QStringLiteral("今天尚有【3】项任务未完成；已完成【0】项任务。"));
    }
};

QTEST_MAIN(TestReminder)
#include "test_reminder.moc"
