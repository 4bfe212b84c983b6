#include "mainwindow/DateWin.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QTimer>

#include "mainwindow/datemenus.h"
#include "mainwindow/monthview.h"
#include "notes/notepage.h"
#include "options/about.h"
#include "options/homepage.h"
#include "platform/platform.h"
#include "storage/settings.h"
#include "tasks/daylist.h"
#include "tasks/reminder.h"
#include "tasks/taskflags.h"
#include "ui_FRM_Date.h"
#include "uikit/clicklabel.h"
#include "uikit/daykey.h"
#include "uikit/style.h"

static_assert(TFRM_Date::cell_count == MonthView::cell_count);

TFRM_Date::TFRM_Date(StartOptions options, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::FRM_Date>()), placement(*this)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("FRM_Date"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    session = new Session(
        std::move(options), [this] { save_session(); }, this);
    month_view = new MonthView(*ui, this);
    apply_fonts_and_colours();
    FormCreate();
}

TFRM_Date::~TFRM_Date() = default;

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
    notes::setup_note_page(ui->Memo_note);
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
    connect(ui->N8, &QAction::triggered, this, &TFRM_Date::N8Click);
    connect(ui->N9, &QAction::triggered, this, &TFRM_Date::N9Click);
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
    session->watch_session_end();
}

// The settings are read by the session; the window takes from them the
// task grid's header and the reminder's timer.
void TFRM_Date::initapp_fromlocalset()
{
    tasks::setup_day_grid(ui->sg_mon_log);
    Timer_taskhint = new QTimer(this);
    Timer_taskhint->setObjectName(QStringLiteral("Timer_taskhint"));
    tasks::configure_taskhint_timer(*Timer_taskhint, app_settings);
}

// The data file is opened by the session; the anniversary check follows
// two seconds later.
void TFRM_Date::initapp_fromfx()
{
    Timer_apprun = new QTimer(this);
    Timer_apprun->setObjectName(QStringLiteral("Timer_apprun"));
    Timer_apprun->setInterval(2000);
    connect(Timer_apprun, &QTimer::timeout, this, &TFRM_Date::Timer_apprunTimer);
    Timer_apprun->start();
}

void TFRM_Date::Timer_apprunTimer() { Timer_apprun->stop(); }

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
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        platform::hide_from_taskbar(static_cast<std::uintptr_t>(winId()));
    sel.select(start_date);
    redraw_month(start_date);
    load_day_pages();

    placement.apply_opacity(app_settings.form_blend);
    placement.place_at_start(app_settings.pos_left, app_settings.pos_top);
    FormResize();
    // The window manager adds its frame only after the window is mapped.
    QTimer::singleShot(0, this, &TFRM_Date::FormResize);
}

void TFRM_Date::FormResize() { placement.keep_outer_size(); }

void TFRM_Date::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TFRM_Date::N8Click() { options::show_about(this); }

// ---------------------------------------------------------------- shutdown

void TFRM_Date::N9Click() { close(); }

void TFRM_Date::closeEvent(QCloseEvent* event)
{
    doformclose();
    event->accept();
    emit closed();
}

void TFRM_Date::save_session()
{
    const QPoint position = placement.position();
    save_local_vki(position.x(), position.y());
    savedata2fx_schedule();
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

void TFRM_Date::savedata2fx_schedule()
{
    // The day's task list writes itself back here once it holds changes;
    // until the list can be edited there is nothing to write.
    if (!tasks::schedule_changed)
        return;
}

void TFRM_Date::load_day_pages()
{
    // The task and note pages are filled here for sel_daykey.
}

// A press on either label of a cell selects its day; the frame moves at
// once, and the redraw then puts it in its final place.
void TFRM_Date::select_pressed_day(int day, QPoint frame_position)
{
    savedata2fx_schedule();
    month_view->move_frame(frame_position);
    sel.sel_day = static_cast<quint16>(day);
    const QDate d = sel.shown();
    month_view->show_star_sign(sel.sel_day, d);
    show_date(d);
}

void TFRM_Date::CnDayClick(int day) { sel.sel_day = static_cast<quint16>(day); }

// From the month on show; sel_year and sel_month take the new month before
// the write-back, as the other handlers set them.
void TFRM_Date::step_month(int delta)
{
    const QDate month = SelectedDate::month_from(month_view->month_on_show(), delta);
    if (!month.isValid())
        return;
    sel.sel_year = static_cast<quint16>(month.year());
    sel.sel_month = static_cast<quint16>(month.month());
    savedata2fx_schedule();
    show_date(sel.shown());
}

void TFRM_Date::sb_date_leftClick() { step_month(-1); }

void TFRM_Date::sb_date_rightClick() { step_month(+1); }

void TFRM_Date::MenuMonth_1Click(int month)
{
    savedata2fx_schedule();
    sel.sel_month = static_cast<quint16>(month);
    show_date(sel.shown());
}

void TFRM_Date::MenuYearClick(int year)
{
    savedata2fx_schedule();
    sel.sel_year = static_cast<quint16>(year);
    show_date(sel.shown());
}

void TFRM_Date::lb_todayClick()
{
    savedata2fx_schedule();
    const QDate now = session->today();
    redraw_month(now);
    sel.select(now);
    load_day_pages();
}
