// DateWin: the main window FRM_Date.  It wires a few parts together: the
// session (instance, files, shutdown save), the month view, the popup menus,
// the window's placement and docking, and the pages of the task list and
// the note, and runs navigation between dates.
#pragma once

#include <QDate>
#include <QString>
#include <QWidget>
#include <memory>

#include "mainwindow/placement.h"
#include "mainwindow/selecteddate.h"
#include "mainwindow/session.h"
#include "uikit/dayhost.h"

class QTimer;
class DateMenus;
class MonthView;
namespace anniversaries {
class Reminders;
}
namespace tasks {
class DayTaskPage;
class TaskReminder;
}  // namespace tasks
namespace notes {
class NotePage;
}
namespace Ui {
class FRM_Date;
}

class TFRM_Date : public QWidget, public uikit::DayHost {
    Q_OBJECT

public:
    static constexpr int cell_count = 37;
    static constexpr int outer_width = WindowPlacement::outer_width;
    static constexpr int outer_height = WindowPlacement::outer_height;

    explicit TFRM_Date(StartOptions options = {}, QWidget* parent = nullptr);
    ~TFRM_Date() override;

    // True when this copy must not run: another instance is running, or the
    // start-up failed.  The window then closes without saving anything.
    bool refused() const { return session->refused(); }
    int exit_code() const { return session->exit_code(); }

    // The month view.
    void redraw_month(QDate date);
    static QDate clamp_date(int year, int month, int day) { return SelectedDate::clamp_date(year, month, day); }
    static int days_in_month(int year, int month) { return SelectedDate::days_in_month(year, month); }

    // The shutdown save, and its variant for the end of the session, which
    // leaves the data file open in case the log-off is cancelled.
    void doformclose();
    void winexit();

    // The selected year, month and remembered day, and the key of the day
    // whose pages are on show.
    quint16 sel_year() const { return sel.sel_year; }
    quint16 sel_month() const { return sel.sel_month; }
    quint16 sel_day() const { return sel.sel_day; }
    const QString& sel_daykey() const { return sel.sel_daykey; }
    // The date shown first: today, taken when the window is created.
    QDate start_date;

    // What the planner's windows ask of the main window.
    QDate selected_date() const override { return sel.shown(); }
    QString selected_daykey() const override { return sel.sel_daykey; }
    void redraw_selected_month() override { redraw_month(sel.shown()); }
    QWidget* host_window() override { return this; }

signals:
    void closed();

public slots:
    void N5Click();
    void N8Click();
    void N9Click();
    void N10Click();
    // "管理" on the task page and on the note page: the managers.
    void Button8Click();
    void Button9Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void apply_fonts_and_colours();
    void FormCreate();
    void FormShow();
    void FormResize();
    void initapp_fromlocalset();
    void initapp_fromfx();
    void save_session();
    void Timer_apprunTimer();

    // Navigation: every handler ends in show_date, the common tail.
    void select_pressed_day(int day, QPoint frame_position);
    void CnDayClick(int day);
    void sb_date_leftClick();
    void sb_date_rightClick();
    void MenuMonth_1Click(int month);
    void MenuYearClick(int year);
    void lb_todayClick();
    void step_month(int delta);
    void show_date(QDate date);
    bool savedata2fx_schedule();
    void load_day_pages();
    void Timer_taskhintTimer();
    void save_settings_file();
    void open_options(int page, QWidget* owner);

    std::unique_ptr<Ui::FRM_Date> ui;
    Session* session = nullptr;
    MonthView* month_view = nullptr;
    DateMenus* menus = nullptr;
    notes::NotePage* note_page = nullptr;
    WindowPlacement* placement = nullptr;
    SelectedDate sel;
    bool first_show_done = false;

    tasks::DayTaskPage* task_page = nullptr;
    tasks::TaskReminder* task_reminder = nullptr;

    QTimer* Timer_apprun = nullptr;
    anniversaries::Reminders* reminders = nullptr;
    QTimer* Timer_taskhint = nullptr;
};
