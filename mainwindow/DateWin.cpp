#include "mainwindow/DateWin.h"

#include <QCloseEvent>
#include <QIcon>
#include <QTimer>

#include "anniversaries/datehint.h"
#include "anniversaries/reminders.h"
#include "mainwindow/datemenus.h"
#include "mainwindow/docking.h"
#include "mainwindow/monthview.h"
#include "notes/noteedit.h"
#include "notes/notemanage.h"
#include "notes/notepage.h"
#include "options/about.h"
#include "options/homepage.h"
#include "options/option.h"
#include "platform/platform.h"
#include "storage/settings.h"
#include "tasks/daypage.h"
#include "tasks/reminder.h"
#include "tasks/schedulemanage.h"
#include "ui_FRM_Date.h"
#include "uikit/clicklabel.h"
#include "uikit/daykey.h"
#include "uikit/errors.h"
#include "uikit/style.h"

static_assert(TFRM_Date::cell_count == MonthView::cell_count);

TFRM_Date::TFRM_Date(StartOptions options, QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::FRM_Date>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("FRM_Date"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    session = new Session(
        std::move(options), [this] { save_session(); }, this);
    month_view = new MonthView(*ui, this);
    placement = new WindowPlacement(*this);
    new EdgeDocking(*placement);
    note_page = new notes::NotePage(*this, ui->TabSheet6);
    ui->layout_note->addWidget(note_page);
    connect(note_page, &notes::NotePage::note_manager_requested, this, &TFRM_Date::Button9Click);
    apply_fonts_and_colours();
    FormCreate();
}

// The note editor's "编辑器设置" must not reach a window that is gone.
TFRM_Date::~TFRM_Date() { notes::set_editor_settings_opener({}); }

void TFRM_Date::apply_fonts_and_colours()
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, uikit::colour::window_text);
    setPalette(palette);
    setFont(uikit::program_font());
    setWindowIcon(QIcon(QStringLiteral(":/images/velkin.png")));
    ui->l_info->setFont(uikit::point_font("微软雅黑", 9));
    uikit::set_text_colour(ui->l_info, uikit::colour::window_text);
}

// ---------------------------------------------------------------- start-up

void TFRM_Date::FormCreate()
{
    if (!session->start(this))
        return;
    initapp_fromlocalset();
    initapp_fromfx();
    sel.sel_daykey.clear();
    menus = new DateMenus(*ui, this);
    connect(ui->N5, &QAction::triggered, this, &TFRM_Date::N5Click);
    connect(ui->N8, &QAction::triggered, this, &TFRM_Date::N8Click);
    connect(ui->N9, &QAction::triggered, this, &TFRM_Date::N9Click);
    connect(ui->N10, &QAction::triggered, this, &TFRM_Date::N10Click);
    options::make_home_page_link(ui->l_info);
    connect(menus, &DateMenus::MenuMonth_1Click, this, &TFRM_Date::MenuMonth_1Click);
    connect(menus, &DateMenus::MenuYearClick, this, &TFRM_Date::MenuYearClick);
    connect(ui->sb_date_left, &QToolButton::clicked, this, &TFRM_Date::sb_date_leftClick);
    connect(ui->sb_date_right, &QToolButton::clicked, this, &TFRM_Date::sb_date_rightClick);
    connect(ui->lb_today, &uikit::ClickLabel::clicked, this, &TFRM_Date::lb_todayClick);
    month_view->build_day_cells();
    connect(month_view, &MonthView::day_pressed, this, &TFRM_Date::select_pressed_day);
    connect(month_view, &MonthView::day_clicked, this, &TFRM_Date::CnDayClick);
    start_date = session->today();
    connect(session, &Session::end_requested, this, &QWidget::close);
    connect(session, &Session::show_requested, placement, &WindowPlacement::bring_to_front);
    session->watch_session_end();
}

// The settings are read by the session; then the task page gets its grid
// and the reminder's timer is armed from the settings.
void TFRM_Date::initapp_fromlocalset()
{
    const auto today = [this] { return session->today(); };
    task_page = new tasks::DayTaskPage(*this, today, ui->TabSheet5);
    ui->layout_tasks->addWidget(task_page);
    connect(task_page, &tasks::DayTaskPage::reminder_options_requested, this,
            [this] { open_options(options::reminder_page, this); });
    connect(task_page, &tasks::DayTaskPage::task_manager_requested, this, &TFRM_Date::Button8Click);
    notes::set_editor_settings_opener([this](QWidget* editor) { open_options(options::note_editor_page, editor); });
    task_reminder = new tasks::TaskReminder(task_page->grid(), *this, today, this);
    Timer_taskhint = new QTimer(this);
    Timer_taskhint->setObjectName(QStringLiteral("Timer_taskhint"));
    connect(Timer_taskhint, &QTimer::timeout, this, &TFRM_Date::Timer_taskhintTimer);
    tasks::configure_taskhint_timer(*Timer_taskhint, app_settings);
}

void TFRM_Date::Timer_taskhintTimer() { task_reminder->Timer_taskhintTimer(); }

// The data file is opened by the session; the anniversary check follows
// two seconds later, on the session's clock.
void TFRM_Date::initapp_fromfx()
{
    reminders = new anniversaries::Reminders([this] { return session->today(); }, this, this);
    Timer_apprun = new QTimer(this);
    Timer_apprun->setObjectName(QStringLiteral("Timer_apprun"));
    Timer_apprun->setInterval(2000);
    connect(Timer_apprun, &QTimer::timeout, this, &TFRM_Date::Timer_apprunTimer);
    Timer_apprun->start();
}

void TFRM_Date::Timer_apprunTimer()
{
    Timer_apprun->stop();
    reminders->check();
}

void TFRM_Date::N10Click() { anniversaries::show_datehint(this, session->today()); }

void TFRM_Date::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!first_show_done) {
        first_show_done = true;
        FormShow();
    }
}

void TFRM_Date::FormShow()
{
    if (refused()) {
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    // The window is not mapped yet: the taskbar leaves it out from the start.
    if (WindowPlacement::on_x11())
        platform::hide_from_taskbar(static_cast<std::uintptr_t>(winId()));
    sel.select(start_date);
    redraw_month(start_date);
    load_day_pages();

    placement->apply_opacity(app_settings.form_blend);
    placement->place_at_start(app_settings.pos_left, app_settings.pos_top);
    // The frame is known once the window is mapped; the placement follows it.
    FormResize();
}

void TFRM_Date::FormResize() { placement->keep_outer_size(); }

void TFRM_Date::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TFRM_Date::N5Click() { open_options(options::basic_page, this); }

// The options dialog changes the window's opacity, the reminder's timer
// and the settings file; everything else it changes lives in the Settings.
void TFRM_Date::open_options(int page, QWidget* owner)
{
    options::show_option(page, owner,
                         {[this](int form_blend) { placement->apply_opacity(form_blend); },
                          [this] { tasks::configure_taskhint_timer(*Timer_taskhint, app_settings); },
                          [this] { save_settings_file(); }});
}

void TFRM_Date::N8Click() { options::show_about(this); }

// ---------------------------------------------------------------- managers

// The day list goes back first, since the manager shares its flag; the
// manager may change the selected day, so the view and the list follow it.
// A session that ended under the manager has closed the data file.
void TFRM_Date::Button8Click()
{
    if (!savedata2fx_schedule())
        return;
    tasks::show_schedule_manage(*this);
    if (session->state() != Session::Lifecycle::Running)
        return;
    redraw_month(sel.shown());
    task_page->load_schedule(sel.sel_daykey);
}

// The note page holds nothing unsaved; it shows the selected day's note as
// the manager left it.
void TFRM_Date::Button9Click()
{
    notes::show_note_manage(*this);
    if (session->state() != Session::Lifecycle::Running)
        return;
    redraw_month(sel.shown());
    uikit::report_errors([this] { note_page->load_selected_day(); });
}

// ---------------------------------------------------------------- shutdown

void TFRM_Date::N9Click() { close(); }

void TFRM_Date::closeEvent(QCloseEvent* event)
{
    doformclose();
    event->accept();
    emit closed();
}

// A settings file that cannot be written must not cost the day's tasks:
// its error is shown and the tasks are still written, and so is a note
// changed in a note manager that a session end finds open.
void TFRM_Date::save_session()
{
    uikit::report_errors([this] { save_settings_file(); });
    savedata2fx_schedule();
    notes::save_open_note_manager();
}

void TFRM_Date::save_settings_file()
{
    const QPoint position = placement->position();
    save_local_vki(position.x(), position.y());
}

void TFRM_Date::doformclose() { session->shut_down(); }

void TFRM_Date::winexit() { session->save_for_session_end(); }

// ---------------------------------------------------------------- navigation

void TFRM_Date::redraw_month(QDate date) { month_view->redraw_month(date); }

// The common tail of every change of date.
void TFRM_Date::show_date(QDate date)
{
    redraw_month(date);
    sel.sel_daykey = uikit::daykey_of(date);
    load_day_pages();
}

// The shown task list goes back under the day being left.  When that
// fails the error has been shown and the caller stays on the day.
bool TFRM_Date::savedata2fx_schedule() { return task_page->savedata2fx_schedule(sel.sel_daykey); }

void TFRM_Date::load_day_pages()
{
    task_page->load_schedule(sel.sel_daykey);
    note_page->load_selected_day();
}

// A press on either label of a cell selects its day; the frame moves at
// once, and the redraw then puts it in its final place.
void TFRM_Date::select_pressed_day(int day, QPoint frame_position)
{
    if (!savedata2fx_schedule())
        return;
    month_view->move_frame(frame_position);
    sel.sel_day = static_cast<quint16>(day);
    const QDate d = sel.shown();
    month_view->show_star_sign(sel.sel_day, d);
    show_date(d);
}

// The release repeats the choice of the press, unless the press could not
// leave the day on show.
void TFRM_Date::CnDayClick(int day)
{
    if (sel.sel_daykey == uikit::daykey_of(SelectedDate::clamp_date(sel.sel_year, sel.sel_month, day)))
        sel.sel_day = static_cast<quint16>(day);
}

// From the month on show.  sel_year and sel_month take the new month before
// the write-back, whose redraw then already shows it; a write-back that
// fails leaves the selection on the day still on show.
void TFRM_Date::step_month(int delta)
{
    const QDate month = SelectedDate::month_from(month_view->month_on_show(), delta);
    if (!month.isValid())
        return;
    const SelectedDate before = sel;
    sel.sel_year = static_cast<quint16>(month.year());
    sel.sel_month = static_cast<quint16>(month.month());
    if (!savedata2fx_schedule()) {
        sel = before;  // the view still shows the day that could not be left
        return;
    }
    show_date(sel.shown());
}

void TFRM_Date::sb_date_leftClick() { step_month(-1); }

void TFRM_Date::sb_date_rightClick() { step_month(+1); }

void TFRM_Date::MenuMonth_1Click(int month)
{
    if (!savedata2fx_schedule())
        return;
    sel.sel_month = static_cast<quint16>(month);
    show_date(sel.shown());
}

void TFRM_Date::MenuYearClick(int year)
{
    if (!savedata2fx_schedule())
        return;
    sel.sel_year = static_cast<quint16>(year);
    show_date(sel.shown());
}

void TFRM_Date::lb_todayClick()
{
    if (!savedata2fx_schedule())
        return;
    const QDate now = session->today();
    redraw_month(now);
    sel.select(now);
    load_day_pages();
}
