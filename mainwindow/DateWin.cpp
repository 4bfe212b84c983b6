#include "mainwindow/DateWin.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <limits>
#include <optional>
#include <stdexcept>

#include "calendar/DateCn.h"
#include "storage/datafile.h"
#include "uikit/messagebox.h"
#include "storage/paths.h"
#include "platform/platform.h"
#include "storage/settings.h"
#include "uikit/shape.h"
#include "ui_FRM_Date.h"

namespace {

const QColor red(0xFF, 0x00, 0x00);
const QColor black(0x00, 0x00, 0x00);
const QColor green(0x00, 0x80, 0x00);
const QColor fuchsia(0xFF, 0x00, 0xFF);
const QColor term_blue(0x53, 0x53, 0xFF);
const QColor lunar_green(0x00, 0x40, 0x00);
const QColor window_text(0x00, 0x40, 0x80);

constexpr int first_year_in_menu = 1901;
constexpr int last_year_in_menu = 2050;
// QDate has no year 0; navigation stays inside the years it can name.
constexpr int first_navigable_year = 1;
constexpr int last_navigable_year = 9999;

QFont pixel_font(const char* family, int pixels, QFont::Weight weight = QFont::Normal)
{
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

void set_text_colour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QColor text_colour(const QWidget* widget) { return widget->palette().color(QPalette::WindowText); }

DateCn::Date to_cn(QDate date) { return DateCn::make_date(date.year(), date.month(), date.day()); }

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

QString daykey_of(QDate date) { return date.toString(QStringLiteral("yyyyMMdd")); }

QString two_digits(const QString& number) { return number.size() == 1 ? QLatin1Char('0') + number : number; }

}  // namespace

void CellLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    emit pressed(this);
}

void CellLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()))
        emit clicked(this);
}

TFRM_Date::TFRM_Date(StartOptions start_options, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::FRM_Date>()), options(std::move(start_options))
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("FRM_Date"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    apply_fonts_and_colours();
    FormCreate();
}

TFRM_Date::~TFRM_Date()
{
    // A window destroyed without being closed (tests, tools) still releases
    // the data file it opened.
    if (!refused() && !shut_down)
        app_database.reset();
}

void TFRM_Date::apply_fonts_and_colours()
{
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, window_text);
    setPalette(palette);
    const QFont plain = pixel_font("微软雅黑", 12);
    setFont(plain);

    const QFont heading = pixel_font("黑体", 16, QFont::Bold);
    for (QLabel* label : {ui->label_year, ui->Label19, ui->Label_month, ui->Label18}) {
        label->setFont(heading);
        set_text_colour(label, green);
    }
    for (QLabel* label : {ui->Label_china, ui->Label_star}) {
        label->setFont(plain);
        set_text_colour(label, fuchsia);
    }
    QFont link = plain;
    link.setUnderline(true);
    ui->lb_today->setFont(link);
    set_text_colour(ui->lb_today, green);

    const std::array weekdays{ui->Label2, ui->Label3, ui->Label4, ui->Label6, ui->Label5, ui->Label8, ui->Label7};
    for (QLabel* label : weekdays) {
        label->setFont(plain);
        set_text_colour(label, black);
    }
    set_text_colour(ui->Label2, red);
    set_text_colour(ui->Label7, red);

    ui->Shape2->setBrushColor(QColor(0xC0, 0xC0, 0xC0));
    ui->Shape2->setPenColor(QColor(0x80, 0x80, 0x80));
    ui->day1->setFont(pixel_font("Arial Black", 14, QFont::Black));
    set_text_colour(ui->day1, black);
    ui->Cnday->setFont(plain);
    set_text_colour(ui->Cnday, lunar_green);
    const QFont nine_points(QStringLiteral("微软雅黑"), 9);
    ui->l_info->setFont(nine_points);
    set_text_colour(ui->l_info, window_text);
    for (QWidget* page : {static_cast<QWidget*>(ui->sg_mon_log), static_cast<QWidget*>(ui->Memo_note)}) {
        QPalette p = page->palette();
        p.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xCA));
        if (page == ui->Memo_note)
            p.setColor(QPalette::Text, window_text);
        page->setPalette(p);
        page->setFont(nine_points);
    }
}

// ---------------------------------------------------------------- start-up

void TFRM_Date::FormCreate()
{
    is_second_instance = false;
    if (!apponlyonetime()) {
        is_second_instance = true;
        return;
    }
    // From here on a request to end the session waits in a queue until the
    // window can answer it.
    const int session_end_fd = platform::watch_session_end();
    try {
        initvar();
        if (!options.program_folder.empty())
            set_program_folder(options.program_folder);
        initapp_fromlocalset();
        initapp_fromfx();
    } catch (const std::exception& e) {
        // Without its files the program cannot work: say why and end,
        // writing nothing.
        startup_failed = true;
        uikit::report_error(QString::fromUtf8(e.what()));
        return;
    }
    sel_daykey.clear();
    build_menus();
    build_day_cells();
    start_date = today();
    answer_session_end(session_end_fd);
}

bool TFRM_Date::apponlyonetime()
{
    if (platform::claim_single_instance(options.instance_name))
        return true;
    uikit::message_box(this, QStringLiteral("“Velkin”已运行！"));
    return false;
}

void TFRM_Date::initapp_fromlocalset()
{
    ::initapp_fromlocalset();

    QTableWidget* grid = ui->sg_mon_log;
    grid->setColumnCount(3);
    grid->setHorizontalHeaderLabels({QStringLiteral("类别"), QStringLiteral("状态"), QStringLiteral("任务安排")});
    grid->setRowCount(1);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(20);
    const int widths[] = {28, 45, 254};
    for (int column = 0; column < 3; ++column)
        grid->setColumnWidth(column, widths[column]);

    Timer_taskhint = new QTimer(this);
    Timer_taskhint->setObjectName(QStringLiteral("Timer_taskhint"));
    if (app_settings.taskhint_use == "1") {
        // Hours to milliseconds.  A hand-edited 0 would fire without pause,
        // and a timer holds no more than about 596 hours.
        constexpr int ms_per_hour = 3'600'000;
        const int hours = std::clamp(app_settings.taskhint_time, 1, std::numeric_limits<int>::max() / ms_per_hour);
        Timer_taskhint->setInterval(hours * ms_per_hour);
        Timer_taskhint->start();
    }
}

void TFRM_Date::initapp_fromfx()
{
    open_data_file();
    Timer_apprun = new QTimer(this);
    Timer_apprun->setObjectName(QStringLiteral("Timer_apprun"));
    Timer_apprun->setInterval(2000);
    connect(Timer_apprun, &QTimer::timeout, this, &TFRM_Date::Timer_apprunTimer);
    Timer_apprun->start();
}

void TFRM_Date::Timer_apprunTimer() { Timer_apprun->stop(); }

void TFRM_Date::build_menus()
{
    pm_menu = new QMenu(this);
    pm_menu->setObjectName(QStringLiteral("pm_menu"));
    auto separator = [this](const char* name) {
        QAction* action = pm_menu->addSeparator();
        action->setObjectName(QString::fromLatin1(name));
    };
    pm_menu->addAction(ui->N5);
    pm_menu->addAction(ui->N10);
    separator("N1");
    pm_menu->addAction(ui->N8);
    separator("N6");
    pm_menu->addAction(ui->N9);
    connect(ui->N9, &QAction::triggered, this, &TFRM_Date::N9Click);
    ui->ToolButton1->setMenu(pm_menu);

    MenuMonth = new QMenu(this);
    MenuMonth->setObjectName(QStringLiteral("MenuMonth"));
    for (int n = 1; n <= 12; ++n) {
        QAction* item = MenuMonth->addAction(QString::number(n) + QStringLiteral("月"));
        item->setObjectName(QStringLiteral("MenuMonth_%1").arg(n));
        item->setData(n);
        connect(item, &QAction::triggered, this, [this, n] { MenuMonth_1Click(n); });
    }

    MenuYear = new QMenu(this);
    MenuYear->setObjectName(QStringLiteral("MenuYear"));
    for (int g = first_year_in_menu; g <= last_year_in_menu; g += 10) {
        QMenu* group = MenuYear->addMenu(QString::number(g - 1));
        group->setObjectName(QStringLiteral("MenuYear_%1").arg(g - 1));
        group->menuAction()->setObjectName(group->objectName());
        for (int y = g; y <= g + 9; ++y) {
            QAction* item = group->addAction(QString::number(y));
            item->setObjectName(QStringLiteral("MenuYear_%1").arg(y));
            item->setData(y);
            connect(item, &QAction::triggered, this, [this, y] { MenuYearClick(y); });
        }
    }

    for (QWidget* w : {static_cast<QWidget*>(ui->label_year), static_cast<QWidget*>(ui->Label19),
                       static_cast<QWidget*>(ui->Label_month), static_cast<QWidget*>(ui->Label18),
                       static_cast<QWidget*>(ui->lb_today)})
        w->installEventFilter(this);
    connect(ui->sb_date_left, &QToolButton::clicked, this, &TFRM_Date::sb_date_leftClick);
    connect(ui->sb_date_right, &QToolButton::clicked, this, &TFRM_Date::sb_date_rightClick);
}

// Cell i (1-37) lies in row (i-1) div 7 and column (i-1) mod 7, Sunday
// first; the templates day1 and Cnday give cell 1's place, size and font.
void TFRM_Date::build_day_cells()
{
    QWidget* panel = ui->Panel1;
    const QRect day_template = ui->day1->geometry();
    const QRect lunar_template = ui->Cnday->geometry();
    for (int i = 0; i < cell_count; ++i) {
        const int row = i / 7;
        const int column = i % 7;
        const QPoint day_pos(day_template.left() + 42 * column, day_template.top() + 32 * row);
        const QPoint lunar_pos(lunar_template.left() + 42 * column, lunar_template.top() + 32 * row);
        const QString number = QString::number(i + 1);

        auto* task_mark = new uikit::Shape(panel);
        task_mark->setObjectName(QStringLiteral("task_marks_") + number);
        task_mark->setGeometry(day_pos.x() + 2, day_pos.y() + 4, 6, 6);
        task_mark->setBrushColor(QColor(0x00, 0xFF, 0x00));
        task_mark->setPenColor(green);
        task_mark->hide();

        auto* note_mark = new uikit::Shape(panel);
        note_mark->setObjectName(QStringLiteral("note_marks_") + number);
        note_mark->setGeometry(day_pos.x() + 2, day_pos.y() + 11, 6, 6);
        note_mark->setBrushColor(QColor(0xA6, 0xCA, 0xF0));
        note_mark->setPenColor(QColor(0x00, 0x00, 0xFF));
        note_mark->hide();

        auto* day_label = new CellLabel(panel);
        day_label->setObjectName(QStringLiteral("day_labels_") + number);
        day_label->setGeometry(QRect(day_pos, day_template.size()));
        day_label->setAlignment(ui->day1->alignment());
        // The template's font, at the 11 points every month is drawn in.
        QFont day_font = ui->day1->font();
        day_font.setPointSize(11);
        day_label->setFont(day_font);
        set_text_colour(day_label, black);
        day_label->hide();
        connect(day_label, &CellLabel::pressed, this, &TFRM_Date::CnDayMouseDown);
        connect(day_label, &CellLabel::clicked, this, &TFRM_Date::CnDayClick);

        auto* lunar_label = new CellLabel(panel);
        lunar_label->setObjectName(QStringLiteral("lunar_labels_") + number);
        lunar_label->setGeometry(QRect(lunar_pos, lunar_template.size()));
        lunar_label->setAlignment(ui->Cnday->alignment());
        lunar_label->setFont(ui->Cnday->font());
        set_text_colour(lunar_label, text_colour(ui->Cnday));
        lunar_label->hide();
        connect(lunar_label, &CellLabel::pressed, this, &TFRM_Date::ChnDateMouseDown);
        connect(lunar_label, &CellLabel::clicked, this, &TFRM_Date::CnDayClick);

        task_marks[i] = task_mark;
        note_marks[i] = note_mark;
        day_labels[i] = day_label;
        lunar_labels[i] = lunar_label;
    }
}

void TFRM_Date::answer_session_end(int fd)
{
    // The desktop session manager asks before a log-off; agreeing means
    // saving now, and the data file stays open in case the log-off is
    // cancelled.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { winexit(); });

    if (fd < 0)
        return;
    session_end_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(session_end_notifier, &QSocketNotifier::activated, this, [this] {
        if (!platform::take_session_end_request())
            return;
        winexit();
        session_saved = true;
        close();
    });
}

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
    const QDate start = start_date;
    sel_year = static_cast<quint16>(start.year());
    sel_month = static_cast<quint16>(start.month());
    sel_day = static_cast<quint16>(start.day());
    redraw_month(start);
    sel_daykey = daykey_of(start);
    load_day_pages();

    // A hand-edited opacity outside what the options offer (0 would make the
    // window invisible) is brought back into range here; the stored value
    // stays as it is.
    setWindowOpacity(std::clamp(app_settings.form_blend, 30, 255) / 255.0);
    if (app_settings.pos_top < 0 || app_settings.pos_left < 0)
        move(0, 0);
    else
        move(app_settings.pos_left, app_settings.pos_top);
    FormResize();
    // The window manager adds its frame only after the window is mapped.
    QTimer::singleShot(0, this, &TFRM_Date::FormResize);
}

// The window keeps its outer size of 328 x 560, frame included.
void TFRM_Date::FormResize()
{
    const QSize frame_extra = frameGeometry().size() - geometry().size();
    const QSize client(outer_width - frame_extra.width(), outer_height - frame_extra.height());
    if (size() != client || minimumSize() != client || maximumSize() != client)
        setFixedSize(client);
}

void TFRM_Date::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

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
    save_local_vki(x(), y());
    savedata2fx_schedule();
}

void TFRM_Date::doformclose()
{
    if (refused() || shut_down)
        return;
    shut_down = true;
    if (!session_saved) {
        // A failed save is reported, and the program still ends.
        try {
            save_session();
        } catch (const std::exception& e) {
            uikit::report_error(QString::fromUtf8(e.what()));
        }
    }
    app_database.reset();
}

void TFRM_Date::winexit()
{
    if (refused() || shut_down)
        return;
    try {
        save_session();
    } catch (const std::exception& e) {
        uikit::report_error(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- month view

int TFRM_Date::days_in_month(int year, int month) { return DateCn::days_in_month(year, month); }

int TFRM_Date::days_in_month(QDate date) { return days_in_month(date.year(), date.month()); }

QDate TFRM_Date::clamp_date(int year, int month, int day)
{
    return QDate(year, month, std::min(day, days_in_month(year, month)));
}

void TFRM_Date::redraw_month(QDate date)
{
    redraw_header(date);
    reset_cells();

    const QDate first(date.year(), date.month(), 1);
    const int first_cell = first.dayOfWeek() % 7;  // Sunday is column 0
    const int days = days_in_month(first);
    // A failed query or conversion ends the loop without a message: the days
    // drawn so far stay, the rest stay hidden.
    try {
        if (!app_database)
            throw std::runtime_error("no data file");
        // One read transaction for the whole month: the file is locked once
        // instead of once per query, and the marks come from one state.
        std::optional<SqlTransaction> snapshot;
        if (!app_database->transaction_open())
            snapshot.emplace(*app_database);
        for (int k = 1; k <= days; ++k)
            draw_day(first_cell + k - 1, k, date);
        if (snapshot)
            snapshot->commit();
    } catch (...) {
    }
}

void TFRM_Date::redraw_header(QDate date)
{
    ui->Label_month->setText(QString::number(date.month()));
    ui->label_year->setText(QString::number(date.year()));
    const auto cn = to_cn(date);
    ui->Label_china->setText(text(DateCn::year_stem(cn) + DateCn::year_branch_animal(cn)));
}

void TFRM_Date::reset_cells()
{
    for (int i = 0; i < cell_count; ++i) {
        day_labels[i]->hide();
        lunar_labels[i]->hide();
        task_marks[i]->hide();
        note_marks[i]->hide();
        const bool weekend = i % 7 == 0 || i % 7 == 6;
        set_text_colour(day_labels[i], weekend ? red : black);
        set_text_colour(lunar_labels[i], weekend ? red : text_colour(ui->Cnday));
    }
}

bool TFRM_Date::has_rows(const char* table, const QString& daykey)
{
    const std::string sql = std::string("SELECT * FROM ") + table + " where sDate=" + daykey.toStdString();
    return app_database->query(sql).row_count() >= 1;
}

void TFRM_Date::draw_day(int cell, int day, QDate date)
{
    CellLabel* day_label = day_labels[cell];
    CellLabel* lunar_label = lunar_labels[cell];
    const QString caption = QString::number(day);
    day_label->setText(caption);
    day_label->tag = day;

    // The cell's key comes from the captions, as the marks are looked up by.
    const QString daykey = ui->label_year->text() + two_digits(ui->Label_month->text()) + two_digits(caption);
    if (has_rows("vk_schedule", daykey))
        task_marks[cell]->show();
    if (has_rows("vk_note", daykey))
        note_marks[cell]->show();

    // Calendar text, weakest first; each stronger one overwrites.
    const auto cell_date = DateCn::make_date(date.year(), date.month(), day);
    lunar_label->tag = day;
    QString lunar = text(DateCn::lunar_day_name(cell_date));
    QColor colour = text_colour(lunar_label);
    if (lunar == QStringLiteral("初一")) {
        lunar = text(DateCn::lunar_month_name(cell_date));
        colour = red;
    }
    if (auto s = DateCn::gregorian_observance(day, to_cn(date)); !s.empty()) {
        lunar = text(s);
        colour = fuchsia;
    }
    if (auto s = DateCn::solar_term_name(cell_date); !s.empty()) {
        lunar = text(s);
        colour = term_blue;
    }
    if (auto s = DateCn::lunar_festival(cell_date); !s.empty()) {
        lunar = text(s);
        colour = fuchsia;
    }
    lunar_label->setText(lunar);
    set_text_colour(lunar_label, colour);

    if (day == date.day()) {
        ui->Shape2->move(day_label->x() - 1, day_label->y() + 1);
        ui->Label_star->setText(text(DateCn::star_sign_for_day(day, to_cn(date))));
    }
    day_label->show();
    lunar_label->show();
}

// ---------------------------------------------------------------- navigation

QDate TFRM_Date::today() const { return options.today ? options.today() : QDate::currentDate(); }

// The common tail of every change of date.
void TFRM_Date::show_date(QDate date)
{
    redraw_month(date);
    sel_daykey = daykey_of(date);
    load_day_pages();
}

void TFRM_Date::savedata2fx_schedule()
{
    // The day's task list writes itself back here once it holds changes;
    // until the list can be edited there is nothing to write.
    if (!schedule_changed)
        return;
}

void TFRM_Date::load_day_pages()
{
    // The task and note pages are filled here for sel_daykey.
}

void TFRM_Date::CnDayMouseDown(CellLabel* label) { select_pressed_day(label, label->pos() + QPoint(-1, 1)); }

void TFRM_Date::ChnDateMouseDown(CellLabel* label) { select_pressed_day(label, label->pos() + QPoint(0, -18)); }

// A press on either label of a cell selects its day; the frame moves at
// once, and the redraw then puts it in its final place.
void TFRM_Date::select_pressed_day(CellLabel* label, QPoint frame_pos)
{
    savedata2fx_schedule();
    ui->Shape2->move(frame_pos);
    sel_day = static_cast<quint16>(label->tag);
    const QDate d = clamp_date(sel_year, sel_month, sel_day);
    ui->Label_star->setText(text(DateCn::star_sign_for_day(sel_day, to_cn(d))));
    show_date(d);
}

void TFRM_Date::CnDayClick(CellLabel* label) { sel_day = static_cast<quint16>(label->tag); }

void TFRM_Date::step_month(int delta)
{
    // The month on show is read back from the header captions.
    const int month = ui->Label_month->text().trimmed().toInt();
    const int year = ui->label_year->text().trimmed().toInt();
    const int index = year * 12 + (month - 1) + delta;
    const int new_year = index / 12;
    if (new_year < first_navigable_year || new_year > last_navigable_year)
        return;
    sel_year = static_cast<quint16>(new_year);
    sel_month = static_cast<quint16>(index % 12 + 1);
    savedata2fx_schedule();
    show_date(clamp_date(sel_year, sel_month, sel_day));
}

void TFRM_Date::sb_date_leftClick() { step_month(-1); }

void TFRM_Date::sb_date_rightClick() { step_month(+1); }

void TFRM_Date::MenuMonth_1Click(int month)
{
    savedata2fx_schedule();
    sel_month = static_cast<quint16>(month);
    show_date(clamp_date(sel_year, sel_month, sel_day));
}

void TFRM_Date::MenuYearClick(int year)
{
    savedata2fx_schedule();
    sel_year = static_cast<quint16>(year);
    show_date(clamp_date(sel_year, sel_month, sel_day));
}

void TFRM_Date::lb_todayClick()
{
    savedata2fx_schedule();
    const QDate now = today();
    redraw_month(now);
    sel_year = static_cast<quint16>(ui->label_year->text().toInt());
    sel_month = static_cast<quint16>(ui->Label_month->text().toInt());
    sel_daykey = daykey_of(now);
    sel_day = static_cast<quint16>(sel_daykey.mid(6, 2).toInt());
    load_day_pages();
}

bool TFRM_Date::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            if (watched == ui->label_year || watched == ui->Label19) {
                MenuYear->popup(mouse->globalPosition().toPoint());
                return true;
            }
            if (watched == ui->Label_month || watched == ui->Label18) {
                MenuMonth->popup(mouse->globalPosition().toPoint());
                return true;
            }
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == ui->lb_today) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && ui->lb_today->rect().contains(mouse->position().toPoint())) {
            lb_todayClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
