// The main window offscreen: its frame, the month view's cells, captions,
// colours and marks, navigation between dates, start-up and shutdown, and
// what it opens and starts: the anniversary list and reminders.
#include <QAction>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QFile>
#include <QMenu>
#include <QTableWidget>
#include <QTextCharFormat>
#include <QToolButton>
#include <QtTest>

#include "storage/paths.h"
#include "storage/settings.h"
#include "modal_answer.h"
#include "tasks/taskflags.h"
#include "uikit/clicklabel.h"
#include "uikit/modal.h"
#include "uikit/shape.h"
#include "windowfixture.h"

namespace {

const QColor red(0xFF, 0x00, 0x00);
const QColor black(0x00, 0x00, 0x00);
const QColor fuchsia(0xFF, 0x00, 0xFF);
const QColor term_blue(0x53, 0x53, 0xFF);
const QColor lunar_green(0x00, 0x40, 0x00);

uikit::ClickLabel* day_label(QWidget* w, int cell)
{
    return child<uikit::ClickLabel>(w, QStringLiteral("day_labels_%1").arg(cell));
}
uikit::ClickLabel* lunar_label(QWidget* w, int cell)
{
    return child<uikit::ClickLabel>(w, QStringLiteral("lunar_labels_%1").arg(cell));
}
uikit::Shape* mark(QWidget* w, const char* kind, int cell)
{
    return child<uikit::Shape>(w, QStringLiteral("%1_marks_%2").arg(QLatin1String(kind)).arg(cell));
}

QList<int> visible_cells(QWidget* w)
{
    QList<int> cells;
    for (int i = 1; i <= TFRM_Date::cell_count; ++i)
        if (day_label(w, i)->isVisibleTo(w))
            cells << i;
    return cells;
}

QList<int> range(int from, int to)
{
    QList<int> r;
    for (int i = from; i <= to; ++i)
        r << i;
    return r;
}

void trigger(QWidget* w, const QString& action) { child<QAction>(w, action)->trigger(); }

QString header(QWidget* w)
{
    return child<QLabel>(w, "label_year")->text() + "-" + child<QLabel>(w, "Label_month")->text();
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void frame_flags_and_fixed_size();
    void every_control_has_an_accessible_name();
    void start_up_resets_the_task_flags();
    void placement_and_opacity_data();
    void placement_and_opacity();

    void cells_fill_the_weekday_columns_data();
    void cells_fill_the_weekday_columns();
    void weekend_columns_are_red();
    void caption_priority_data();
    void caption_priority();
    void header_shows_year_cycle_and_star_sign();
    void months_outside_the_lunar_tables();
    void marks_follow_the_data_file();
    void marks_stay_clear_of_the_day_number();
    void failing_query_stops_the_cell_loop_quietly();

    void remembered_day_survives_short_months();
    void month_buttons_cross_years_without_bound();
    void year_menu_offers_exactly_the_table_years();
    void any_mouse_button_selects_a_day();
    void today_link_returns_to_today();

    void first_run_creates_the_data_file_and_settings_on_close();
    void unopenable_data_file_reports_and_ends();
    void data_file_of_another_kind_reports_and_ends();
    void failed_shutdown_save_reports_and_still_ends();
    void session_end_saves_and_keeps_the_data_file_open();

    void anniversaries_after_start_and_from_the_menu();
};

void TestMainWindow::frame_flags_and_fixed_size()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    QCOMPARE(w->windowTitle(), QStringLiteral("Velkin"));
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(flags.testFlag(Qt::Tool));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(w->frameGeometry().size(), QSize(328, 560));
    QCOMPARE(w->palette().color(QPalette::Window), QColor(Qt::white));

    w->resize(500, 300);
    QCoreApplication::processEvents();
    QCOMPARE(w->frameGeometry().size(), QSize(328, 560));

    QCOMPARE(child<QTabWidget>(w.get(), "RzPageControl_date")->count(), 2);
    QCOMPARE(child<QTabWidget>(w.get(), "RzPageControl_date")->tabText(0), QStringLiteral("计划任务"));
    QCOMPARE(child<QTabWidget>(w.get(), "RzPageControl_date")->tabText(1), QStringLiteral("记事便笺"));
    auto* grid = child<QTableWidget>(w.get(), "sg_mon_log");
    QCOMPARE(grid->horizontalHeaderItem(2)->text(), QStringLiteral("任务安排"));
    QCOMPARE(child<QWidget>(w.get(), "Panel1")->height(), 254);

    // The Windows fonts the window is designed with map to installed fonts
    // that hold Chinese, so no text shows as boxes.
    for (const char* name : {"label_year", "Label_china", "Label2", "lunar_labels_1"}) {
        const QFontMetrics metrics(child<QLabel>(w.get(), name)->font());
        QVERIFY2(metrics.inFont(QChar(0x6625)) && metrics.inFont(QChar(0x8282)), name);  // 春节
    }

    QStringList menu;
    for (QAction* a : child<QToolButton>(w.get(), "ToolButton1")->menu()->actions())
        menu << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(menu, (QStringList{"选项设置", "纪念日提醒", "-", "关于", "-", "关闭软件"}));
    QVERIFY(f.messages.isEmpty());
}

void TestMainWindow::every_control_has_an_accessible_name()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    const QStringList unnamed = testing::controls_without_accessible_name(w.get());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    QCOMPARE(child<QToolButton>(w.get(), "sb_date_left")->accessibleName(), QStringLiteral("上个月"));
    QCOMPARE(child<QToolButton>(w.get(), "sb_date_right")->accessibleName(), QStringLiteral("下个月"));
    QCOMPARE(child<QToolButton>(w.get(), "ToolButton1")->accessibleName(), QStringLiteral("菜单"));
}

void TestMainWindow::start_up_resets_the_task_flags()
{
    tasks::schedule_changed = true;
    tasks::taskhint_showing = "1";
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    QVERIFY(!tasks::schedule_changed);
    QCOMPARE(tasks::taskhint_showing, std::string("0"));
}

void TestMainWindow::placement_and_opacity_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<double>("opacity");
    QTest::newRow("no file") << QByteArray() << QPoint(0, 0) << 1.0;
    QTest::newRow("one negative value resets both")
        << QByteArray("[option]\r\npos_left=-5\r\npos_top=200\r\n") << QPoint(0, 0) << 1.0;
    QTest::newRow("stored place") << QByteArray("[option]\r\npos_left=40\r\npos_top=30\r\nform_blend=100\r\n")
                                  << QPoint(40, 30) << 100 / 255.0;
    QTest::newRow("invisible opacity raised")
        << QByteArray("[option]\r\nform_blend=0\r\n") << QPoint(0, 0) << 30 / 255.0;
}

void TestMainWindow::placement_and_opacity()
{
    QFETCH(QByteArray, settings);
    QFETCH(QPoint, position);
    QFETCH(double, opacity);
    WindowFixture f;
    if (!settings.isEmpty())
        f.write_settings_file(settings);
    auto w = f.open_window(QDate(2024, 2, 10));
    QCOMPARE(w->pos(), position);
    QVERIFY(qAbs(w->windowOpacity() - opacity) < 0.01);
}

void TestMainWindow::cells_fill_the_weekday_columns_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("first_cell");
    QTest::addColumn<int>("last_cell");
    QTest::newRow("31 days from a Saturday") << QDate(2025, 3, 1) << 7 << 37;
    QTest::newRow("28 days from a Sunday") << QDate(2015, 2, 1) << 1 << 28;
    QTest::newRow("leap February from a Thursday") << QDate(2024, 2, 10) << 5 << 33;
}

void TestMainWindow::cells_fill_the_weekday_columns()
{
    QFETCH(QDate, date);
    QFETCH(int, first_cell);
    QFETCH(int, last_cell);
    WindowFixture f;
    auto w = f.open_window(date);
    QCOMPARE(visible_cells(w.get()), range(first_cell, last_cell));
    for (int cell = first_cell; cell <= last_cell; ++cell) {
        QCOMPARE(day_label(w.get(), cell)->text(), QString::number(cell - first_cell + 1));
        QCOMPARE(day_label(w.get(), cell)->tag, cell - first_cell + 1);
        QVERIFY(lunar_label(w.get(), cell)->isVisibleTo(w.get()));
        // Row r, column c: day label at (14 + 42c, 56 + 32r), lunar label below.
        const int r = (cell - 1) / 7, c = (cell - 1) % 7;
        QCOMPARE(day_label(w.get(), cell)->pos(), QPoint(14 + 42 * c, 56 + 32 * r));
        QCOMPARE(lunar_label(w.get(), cell)->pos(), QPoint(13 + 42 * c, 74 + 32 * r));
    }
}

void TestMainWindow::weekend_columns_are_red()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 3, 1));
    // March 2024: the 2nd is a Saturday, the 3rd a Sunday, the 6th a Wednesday
    // showing a plain lunar day (廿六).
    const int saturday = cell_of(w.get(), 2), wednesday = cell_of(w.get(), 6), sunday = cell_of(w.get(), 3);
    QCOMPARE(saturday % 7, 0);
    QCOMPARE(text_colour_of(day_label(w.get(), saturday)), red);
    QCOMPARE(text_colour_of(lunar_label(w.get(), saturday)), red);
    QCOMPARE(text_colour_of(day_label(w.get(), sunday)), red);
    QCOMPARE(text_colour_of(day_label(w.get(), wednesday)), black);
    QCOMPARE(lunar_label(w.get(), wednesday)->text(), QStringLiteral("廿六"));
    QCOMPARE(text_colour_of(lunar_label(w.get(), wednesday)), lunar_green);
    QCOMPARE(day_label(w.get(), wednesday)->font().pointSize(), 11);
}

void TestMainWindow::caption_priority_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("festival beats day, month and observance") << QDate(2024, 2, 10) << "春节" << fuchsia;
    QTest::newRow("solar term") << QDate(2024, 2, 4) << "立春" << term_blue;
    QTest::newRow("term beats observance") << QDate(2024, 6, 5) << "芒种" << term_blue;
    QTest::newRow("lunar month on its first day") << QDate(2024, 3, 10) << "二月" << red;
    QTest::newRow("leap month") << QDate(2025, 7, 25) << "闰六" << red;
    QTest::newRow("observance") << QDate(2024, 3, 12) << "植树节" << fuchsia;
    QTest::newRow("new year's eve") << QDate(2025, 1, 28) << "除夕" << fuchsia;
}

void TestMainWindow::caption_priority()
{
    QFETCH(QDate, date);
    QFETCH(QString, caption);
    QFETCH(QColor, colour);
    WindowFixture f;
    auto w = f.open_window(date);
    const int cell = cell_of(w.get(), date.day());
    QCOMPARE(lunar_label(w.get(), cell)->text(), caption);
    QCOMPARE(text_colour_of(lunar_label(w.get(), cell)), colour);
    // The frame lies under the selected day's two labels.
    QCOMPARE(child<QWidget>(w.get(), "Shape2")->pos(), day_label(w.get(), cell)->pos() + QPoint(-1, 1));
}

void TestMainWindow::header_shows_year_cycle_and_star_sign()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 9));
    QCOMPARE(header(w.get()), QStringLiteral("2024-2"));
    QCOMPARE(child<QLabel>(w.get(), "Label_china")->text(), QStringLiteral("癸卯兔"));  // still the old lunar year
    QCOMPARE(child<QLabel>(w.get(), "Label_star")->text(), QStringLiteral("水瓶座"));
    QTest::mousePress(day_label(w.get(), cell_of(w.get(), 20)), Qt::LeftButton);
    QCOMPARE(child<QLabel>(w.get(), "Label_china")->text(), QStringLiteral("甲辰龙"));
    QCOMPARE(child<QLabel>(w.get(), "Label_star")->text(), QStringLiteral("双鱼座"));
}

void TestMainWindow::months_outside_the_lunar_tables()
{
    WindowFixture f;
    auto tasks = f.prepared_data_file();
    tasks->execute("insert into vk_schedule(sDate,lb,sState,sItem) values(?,?,?,?)",
                   {std::string("20510115"), std::string("A"), std::string("进行中"), std::string("x")});
    tasks.reset();
    auto w = f.open_window(QDate(2050, 12, 15));
    child<QToolButton>(w.get(), "sb_date_right")->click();
    QCOMPARE(header(w.get()), QStringLiteral("2051-1"));
    QCOMPARE(visible_cells(w.get()).size(), 31);
    const int first = cell_of(w.get(), 1);
    QCOMPARE(lunar_label(w.get(), first)->text(), QStringLiteral("元旦节"));
    QCOMPARE(lunar_label(w.get(), cell_of(w.get(), 2))->text(), QString());
    QVERIFY(mark(w.get(), "task", cell_of(w.get(), 15))->isVisibleTo(w.get()));
    QCOMPARE(child<QWidget>(w.get(), "Shape2")->pos(), day_label(w.get(), cell_of(w.get(), 15))->pos() + QPoint(-1, 1));

    trigger(w.get(), "MenuYear_1901");
    child<QToolButton>(w.get(), "sb_date_left")->click();
    QCOMPARE(header(w.get()), QStringLiteral("1900-12"));
    QCOMPARE(visible_cells(w.get()).size(), 31);
    QCOMPARE(lunar_label(w.get(), cell_of(w.get(), 24))->text(), QStringLiteral("平安夜"));
    QVERIFY(f.messages.isEmpty());
}

void TestMainWindow::marks_follow_the_data_file()
{
    WindowFixture f;
    auto db = f.prepared_data_file();
    const auto task = [&](const char* day) {
        db->execute("insert into vk_schedule(sDate,lb,sState,sItem) values(?,?,?,?)",
                    {std::string(day), std::string("A"), std::string("进行中"), std::string("t")});
    };
    const auto note = [&](const char* day) {
        db->execute("insert into vk_note(sDate,sNote) values(?,?)", {std::string(day), std::string("n")});
    };
    task("20240305");
    task("20240305");
    note("20240306");
    task("20240307");
    note("20240307");
    task("20240405");  // another month: no mark in March
    db.reset();

    auto w = f.open_window(QDate(2024, 3, 1));
    const auto shown = [&](const char* kind, int day) {
        return mark(w.get(), kind, cell_of(w.get(), day))->isVisibleTo(w.get());
    };
    QVERIFY(shown("task", 5) && !shown("note", 5));
    QVERIFY(!shown("task", 6) && shown("note", 6));
    QVERIFY(shown("task", 7) && shown("note", 7));
    for (int day : {1, 4, 8, 31})
        QVERIFY(!shown("task", day) && !shown("note", day));

    // The marks sit at the top left of their day label, note below task.
    const int cell = cell_of(w.get(), 7);
    QCOMPARE(mark(w.get(), "task", cell)->geometry(),
             QRect(day_label(w.get(), cell)->pos() + QPoint(2, 4), QSize(6, 6)));
    QCOMPARE(mark(w.get(), "note", cell)->geometry(),
             QRect(day_label(w.get(), cell)->pos() + QPoint(2, 11), QSize(6, 6)));

    // Nothing of March survives the move to April.
    child<QToolButton>(w.get(), "sb_date_right")->click();
    QVERIFY(shown("task", 5) && !shown("task", 7) && !shown("note", 7));
}

void TestMainWindow::marks_stay_clear_of_the_day_number()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 3, 1));  // 31 days, the 1st not selected below
    auto* panel = child<QWidget>(w.get(), "Panel1");
    QTest::mousePress(day_label(w.get(), cell_of(w.get(), 1)), Qt::LeftButton);
    for (int day = 2; day <= 31; ++day) {
        const int cell = cell_of(w.get(), day);
        // With the marks hidden, the place they take and one pixel around
        // it shows only the panel's white: no stroke of the number.
        mark(w.get(), "task", cell)->hide();
        mark(w.get(), "note", cell)->hide();
        const QRect marks = mark(w.get(), "task", cell)->geometry().united(mark(w.get(), "note", cell)->geometry());
        const QImage image = panel->grab(marks.adjusted(-1, -1, 1, 1)).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                QVERIFY2(QColor(image.pixel(x, y)) == QColor(Qt::white),
                         qPrintable(QStringLiteral("day %1 reaches the mark at %2,%3").arg(day).arg(x).arg(y)));
    }
}

void TestMainWindow::failing_query_stops_the_cell_loop_quietly()
{
    WindowFixture f;
    auto db = f.prepared_data_file();
    // vk_note becomes a view over a note on every day of March whose row for
    // 10 March raises an error when it is looked at: the index on the days
    // leads a query for one day to that day's row only.
    db->execute("DROP TABLE vk_note");
    db->execute("CREATE TABLE days (sDate VARCHAR (8))");
    db->execute("CREATE INDEX days_date ON days(sDate)");
    for (int day = 1; day <= 31; ++day)
        db->execute("insert into days(sDate) values(?)",
                    {std::string(QString::asprintf("202403%02d", day).toStdString())});
    db->execute("CREATE VIEW vk_note AS SELECT rowid AS ID, sDate, 'n' AS sNote FROM days "
                "WHERE CASE WHEN sDate = '20240310' THEN json('{') ELSE 1 END");
    db.reset();

    auto w = f.open_window(QDate(2024, 3, 20));
    for (int day = 1; day <= 9; ++day) {
        const int cell = 5 + day;  // 1 March 2024 is a Friday: cell 6
        QVERIFY(day_label(w.get(), cell)->isVisibleTo(w.get()));
        QVERIFY(lunar_label(w.get(), cell)->isVisibleTo(w.get()));
        QVERIFY(mark(w.get(), "note", cell)->isVisibleTo(w.get()));
    }
    for (int cell = 15; cell <= 36; ++cell) {
        QVERIFY(!day_label(w.get(), cell)->isVisibleTo(w.get()));
        QVERIFY(!lunar_label(w.get(), cell)->isVisibleTo(w.get()));
    }
    QCOMPARE(header(w.get()), QStringLiteral("2024-3"));
    QVERIFY(f.messages.isEmpty());
}

void TestMainWindow::remembered_day_survives_short_months()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2023, 1, 31));
    trigger(w.get(), "MenuMonth_2");
    QCOMPARE(header(w.get()), QStringLiteral("2023-2"));
    QCOMPARE(w->sel_day(), 31);
    QCOMPARE(w->sel_daykey(), QStringLiteral("20230228"));
    const int last = cell_of(w.get(), 28);
    QCOMPARE(child<QWidget>(w.get(), "Shape2")->pos(), day_label(w.get(), last)->pos() + QPoint(-1, 1));
    trigger(w.get(), "MenuMonth_3");
    QCOMPARE(w->sel_daykey(), QStringLiteral("20230331"));

    // The month buttons do the same: 31 January, then February, then March.
    trigger(w.get(), "MenuMonth_1");
    child<QToolButton>(w.get(), "sb_date_right")->click();
    QCOMPARE(w->sel_daykey(), QStringLiteral("20230228"));
    child<QToolButton>(w.get(), "sb_date_right")->click();
    QCOMPARE(w->sel_daykey(), QStringLiteral("20230331"));
}

void TestMainWindow::month_buttons_cross_years_without_bound()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 1, 15));
    auto* left = child<QToolButton>(w.get(), "sb_date_left");
    auto* right = child<QToolButton>(w.get(), "sb_date_right");
    left->click();
    QCOMPARE(header(w.get()), QStringLiteral("2023-12"));
    QCOMPARE(w->sel_daykey(), QStringLiteral("20231215"));
    trigger(w.get(), "MenuYear_2024");
    right->click();
    QCOMPARE(header(w.get()), QStringLiteral("2025-1"));
    QCOMPARE(w->sel_year(), 2025);
    QCOMPARE(w->sel_month(), 1);
    trigger(w.get(), "MenuYear_2050");
    trigger(w.get(), "MenuMonth_12");
    right->click();
    QCOMPARE(header(w.get()), QStringLiteral("2051-1"));
    QCOMPARE(w->sel_daykey(), QStringLiteral("20510115"));
}

void TestMainWindow::year_menu_offers_exactly_the_table_years()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 1, 31));
    auto* menu = child<QMenu>(w.get(), "MenuYear");
    QList<int> years;
    QStringList groups;
    for (QAction* group : menu->actions()) {
        groups << group->text();
        QCOMPARE(group->objectName(), QStringLiteral("MenuYear_") + group->text());
        for (QAction* item : group->menu()->actions()) {
            QCOMPARE(item->objectName(), QStringLiteral("MenuYear_") + item->text());
            years << item->data().toInt();
        }
    }
    QCOMPARE(groups.size(), 15);
    QCOMPARE(groups.first(), QStringLiteral("1900"));
    QCOMPARE(groups.last(), QStringLiteral("2040"));
    QCOMPARE(years, range(1901, 2050));

    // Choosing a year keeps the month and the remembered day.
    trigger(w.get(), "MenuYear_1949");
    QCOMPARE(w->sel_daykey(), QStringLiteral("19490131"));
    auto* months = child<QMenu>(w.get(), "MenuMonth");
    QCOMPARE(months->actions().size(), 12);
    QCOMPARE(months->actions().at(11)->text(), QStringLiteral("12月"));
}

void TestMainWindow::any_mouse_button_selects_a_day()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 5, 1));
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton}) {
        const int day = button == Qt::RightButton ? 20 : button == Qt::MiddleButton ? 21 : 22;
        const int cell = cell_of(w.get(), day);
        QTest::mouseClick(button == Qt::MiddleButton ? lunar_label(w.get(), cell) : day_label(w.get(), cell), button);
        QCOMPARE(w->sel_day(), day);
        QCOMPARE(w->sel_daykey(), QStringLiteral("202405%1").arg(day));
        QCOMPARE(child<QWidget>(w.get(), "Shape2")->pos(), day_label(w.get(), cell)->pos() + QPoint(-1, 1));
    }
    // A left click on the year changes nothing.
    QTest::mousePress(child<QLabel>(w.get(), "label_year"), Qt::LeftButton);
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240522"));
}

void TestMainWindow::today_link_returns_to_today()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    trigger(w.get(), "MenuYear_1988");
    trigger(w.get(), "MenuMonth_7");
    QCOMPARE(w->sel_daykey(), QStringLiteral("19880710"));
    QTest::mouseClick(child<QLabel>(w.get(), "lb_today"), Qt::LeftButton);
    QCOMPARE(header(w.get()), QStringLiteral("2024-2"));
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240210"));
    QCOMPARE(w->sel_year(), 2024);
    QCOMPARE(w->sel_month(), 2);
    QCOMPARE(w->sel_day(), 10);
}

void TestMainWindow::first_run_creates_the_data_file_and_settings_on_close()
{
    WindowFixture f;
    QVERIFY(QDir(f.dir.path()).isEmpty());
    auto w = f.open_window(QDate(2024, 2, 10));
    QVERIFY(QFile::exists(f.file("velkin.db")));
    QVERIFY(!QFile::exists(f.file("vkset.vki")));
    QSignalSpy closed(w.get(), &TFRM_Date::closed);
    trigger(w.get(), "N9");
    QCOMPARE(closed.size(), 1);
    QVERIFY(QFile::exists(f.file("vkset.vki")));
    const Settings saved = read_settings(f.file("vkset.vki").toStdString());
    QCOMPARE(saved.pos_left, 0);
    QCOMPARE(saved.pos_top, 0);
    QCOMPARE(saved.form_blend, 255);
    QVERIFY(!app_database);
    QVERIFY(f.messages.isEmpty());
}

void TestMainWindow::unopenable_data_file_reports_and_ends()
{
    WindowFixture f;
    // A folder that cannot exist, even for root: its parent is a file.
    QFile blocker(f.file("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    StartOptions options;
    options.program_folder = f.file("not-a-folder").toStdString() + "/";
    options.instance_name = "velkin-test-" + std::to_string(QCoreApplication::applicationPid());
    TFRM_Date w(options);
    QVERIFY(w.refused());
    QCOMPARE(w.exit_code(), 1);
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages.first().startsWith("Failed to open database"), qPrintable(f.messages.first()));
    QVERIFY(!app_database);
    w.close();
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"not-a-folder"});
}

void TestMainWindow::data_file_of_another_kind_reports_and_ends()
{
    WindowFixture f;
    QFile file(f.file("velkin.db"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray bytes = QByteArray("Velkin? no: ").repeated(1000);
    file.write(bytes);
    file.close();
    auto w = f.open_window(QDate(2024, 2, 10), false);
    QVERIFY(w->refused());
    QCOMPARE(w->exit_code(), 1);
    QCOMPARE(f.messages,
             QStringList{"Failed to open database \"" + f.file("velkin.db") + "\" : file is not a database"});
    w->close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"velkin.db"});
}

void TestMainWindow::failed_shutdown_save_reports_and_still_ends()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    QVERIFY(QDir(f.dir.path()).mkdir("vkset.vki"));  // the settings file cannot be written
    QSignalSpy closed(w.get(), &TFRM_Date::closed);
    w->close();
    QCOMPARE(closed.size(), 1);
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages.first().startsWith("Unable to write to"), qPrintable(f.messages.first()));
    QVERIFY(!app_database);
}

void TestMainWindow::session_end_saves_and_keeps_the_data_file_open()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    w->winexit();
    QVERIFY(QFile::exists(f.file("vkset.vki")));
    QVERIFY(app_database);  // a cancelled log-off goes on as before
    trigger(w.get(), "MenuMonth_5");
    QCOMPARE(header(w.get()), QStringLiteral("2024-5"));
    QVERIFY(visible_cells(w.get()).size() == 31);
    QVERIFY(QFile::remove(f.file("vkset.vki")));
    w->close();
    QVERIFY(QFile::exists(f.file("vkset.vki")));  // the later close saves again
    QVERIFY(!app_database);
    w->doformclose();  // a second shutdown does nothing
    QVERIFY(f.messages.isEmpty());
}

void TestMainWindow::anniversaries_after_start_and_from_the_menu()
{
    WindowFixture f;
    auto db = f.prepared_data_file();
    db->execute("insert into vk_jnr(sDate,sourcebz,txDays,sState,Desc) values(?,'0',?,?,?)",
                {std::string("2024-02-13"), std::string("03"), std::string("开启"), std::string("元宵")});
    db.reset();
    const auto reminders = [] {
        QStringList texts;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("frm_datehintmess") && top->isVisible())
                texts << child<QLabel>(top, "RzLabel1")->text();
        return texts;
    };
    auto w = f.open_window(QDate(2024, 2, 10));
    auto* timer = child<QTimer>(w.get(), "Timer_apprun");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 2000);
    QVERIFY(reminders().isEmpty());
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));  // two seconds later
    QVERIFY(!timer->isActive());
    QCOMPARE(reminders(), QStringList{"今天距离【元宵】还有3天！"});

    // The menu item opens the list, with the session's today marked.
    QString opened;
    QDate shown;
    int today_weight = 0;
    uikit::set_modal_hook([&](QDialog& d) {
        opened = d.objectName();
        auto* date = child<QDateEdit>(&d, "RzDateTimePicker1");
        shown = date->date();
        today_weight = date->calendarWidget()->dateTextFormat(QDate(2024, 2, 10)).fontWeight();
        return int(QDialog::Rejected);
    });
    trigger(w.get(), "N10");
    uikit::set_modal_hook({});
    QCOMPARE(opened, QStringLiteral("frm_datehint"));
    QCOMPARE(shown, QDate(2024, 2, 13));
    QCOMPARE(today_weight, int(QFont::Bold));
    QVERIFY(f.messages.isEmpty());
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("frm_datehintmess"))
            delete top;
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
