// The day's task list in the main window: its look, adding, editing,
// deleting and toggling, the write-back when the day is left or the
// program ends, and moving a task to another day.
#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "counting_host.h"
#include "../mainwindow/windowfixture.h"
#include "storage/settings.h"
#include "tasks/daylist.h"
#include "modal_answer.h"
#include "taskfixture.h"
#include "taskwindow.h"
#include "uikit/clicklabel.h"
#include "uikit/dayhost.h"

using daydata::Task;
using tasks::TaskRow;

using testing::CountingHost;

namespace {

const QColor header_yellow(0xFF, 0xFF, 0xCA);
const QColor open_orange(0xFF, 0xCE, 0x9D);
const QColor done_green(0x80, 0xFF, 0x80);
const QColor red(0xFF, 0x00, 0x00);
const QColor grey(0x80, 0x80, 0x80);

const std::string open = "进行中";
const std::string done = "已完成";

tasks::TaskGrid* grid_of(QWidget* w) { return child<tasks::TaskGrid>(w, "sg_mon_log"); }
void click(QWidget* w, const char* button) { child<QPushButton>(w, button)->click(); }

// Double-clicks the row as the user does: the press makes it current.
void double_click_row(tasks::TaskGrid* grid, int row)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, 2)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// The reschedule dialog answered with a date and the two boxes.
// "取消" with `button` "Button2", the close box with none.
ModalAnswers::Answer move_to(QDate date, bool delete_original = true, bool mark = true, const char* button = "Button1")
{
    return [=](QDialog& d) {
        child<QCheckBox>(&d, "cb_del")->setChecked(delete_original);
        child<QCheckBox>(&d, "cb_changebz")->setChecked(mark);
        child<QDateEdit>(&d, "RzDateTimePicker1")->setDate(date);
        if (button)
            child<QPushButton>(&d, button)->click();
        else
            d.close();
    };
}

std::string task_row_count() { return app_database->query("SELECT count(*) FROM vk_schedule").field_text(0); }

}  // namespace

class TestDayList : public QObject {
    Q_OBJECT

private slots:
    void the_page_holds_the_grid_above_its_button_bar();
    void rows_are_drawn_by_state_with_the_selected_row_underlined();
    void a_line_break_is_drawn_on_one_line_and_stored_as_typed();
    void an_empty_day_ignores_edit_delete_and_toggle();
    void added_tasks_fill_row_one_then_go_to_the_end();
    void edit_rewrites_the_current_row();
    void delete_moves_the_rows_below_up();
    void deleting_the_only_task_empties_the_day_when_left();
    void toggling_twice_rewrites_the_rows_unchanged();
    void the_save_operations_write_only_a_changed_list();
    void hostile_texts_round_trip_through_the_list();
    void a_write_back_failing_half_way_keeps_everything();
    void two_hundred_tasks_load_draw_and_save_in_order();
    void shutdown_writes_the_list_even_without_settings();
    void a_failed_load_locks_the_list();

    void a_moved_task_leaves_its_day_at_once();
    void a_copy_keeps_the_task_and_its_text_on_request();
    void the_mark_is_given_once();
    void moving_is_refused_for_finished_tasks_and_the_same_day();
    void cancel_and_close_box_move_nothing();
    void a_failed_move_leaves_the_task_on_its_day();
};

void TestDayList::the_page_holds_the_grid_above_its_button_bar()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    auto* grid = grid_of(w.get());
    QVERIFY(child<QWidget>(w.get(), "TabSheet5")->isAncestorOf(grid));
    QCOMPARE(grid->columnCount(), 3);
    QCOMPARE(grid->rowCount(), 1);
    const QStringList header{"类别", "状态", "任务安排"};
    const int widths[] = {28, 45, 254};
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(grid->horizontalHeaderItem(c)->text(), header[c]);
        QCOMPARE(grid->columnWidth(c), widths[c]);
    }
    QCOMPARE(grid->horizontalHeader()->height(), 20);
    QCOMPARE(grid->rowHeight(0), 20);
    QVERIFY(!grid->verticalHeader()->isVisible());
    QCOMPARE(grid->toolTip(), QStringLiteral("双击改变任务状态"));
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);

    auto* bar = child<QWidget>(w.get(), "Panel9");
    QCOMPARE(bar->height(), 33);
    QVERIFY(grid->geometry().bottom() < bar->geometry().top());
    const char* buttons[] = {"bt_plan_add", "bt_plan_del", "bt_plan_edit", "Button7", "Button8", "Button2"};
    const QStringList captions{"添加", "删除", "编辑", "提醒", "管理", "变更"};
    for (int i = 0; i < 6; ++i) {
        auto* b = child<QPushButton>(w.get(), buttons[i]);
        QCOMPARE(b->text(), captions[i]);
        QCOMPARE(b->geometry(), QRect(8 + 51 * i, 4, 45, 25));
    }
    // "提醒" opens the options dialog on its reminder page, "管理" the task
    // manager.
    QSignalSpy options(child<QObject>(w.get(), "TaskPage"), SIGNAL(reminder_options_requested()));
    QSignalSpy manager(child<QObject>(w.get(), "TaskPage"), SIGNAL(task_manager_requested()));
    QString opened;
    ModalAnswers answers;
    answers
        .then([&](QDialog& d) {
            opened = d.objectName() + ' ' + d.windowTitle();
            d.reject();
        })
        .then(close_box());
    click(w.get(), "Button7");
    QCOMPARE(opened, QStringLiteral("frm_option 任务提醒"));
    click(w.get(), "Button8");
    QCOMPARE(options.size(), 1);
    QCOMPARE(manager.size(), 1);
    QCOMPARE(answers.seen, (QStringList{"frm_option", "frm_schedule_manage"}));
    QCOMPARE(testing::controls_without_accessible_name(w.get()), QStringList());
}

void TestDayList::rows_are_drawn_by_state_with_the_selected_row_underlined()
{
    WindowFixture f;
    auto w =
        open_with_tasks(f, QDate(2024, 2, 10),
                        {{"20240210", {{"A", open, "open"}, {"B", done, "finished"}, {"C", "暂停", "other state"}}}});
    auto* grid = grid_of(w.get());
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(pixel(grid, QPoint(60, 10)), header_yellow);
    QCOMPARE(pixel(grid, in_row(grid, 0)), open_orange);
    QCOMPARE(pixel(grid, in_row(grid, 1, 2)), done_green);
    QCOMPARE(pixel(grid, in_row(grid, 2, 1)), done_green);  // neither state: green
    QCOMPARE(grid->palette().color(QPalette::Base), header_yellow);
    // Grid lines in grey, the header's too.
    const QRect first = grid->visualRect(grid->model()->index(0, 0));
    QCOMPARE(pixel(grid, grid->viewport()->mapTo(grid, QPoint(first.right() + 1, first.center().y()))), grey);
    QCOMPARE(pixel(grid, grid->viewport()->mapTo(grid, QPoint(first.center().x(), first.bottom() + 1))), grey);
    QCOMPARE(pixel(grid, QPoint(first.right() + 1, 10)), grey);

    // No row is underlined until one is chosen; then its bottom edge is red
    // across the row, and only its own.
    const auto bottom_of = [&](int row, int column) {
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        return grid->viewport()->mapTo(grid, QPoint(cell.left() + 5, cell.bottom()));
    };
    QVERIFY(pixel(grid, bottom_of(0, 0)) != red);
    select_row(grid, 1);
    QCOMPARE(grid->underlined_row(), 1);
    for (int column = 0; column < 3; ++column)
        QCOMPARE(pixel(grid, bottom_of(1, column)), red);
    QVERIFY(pixel(grid, bottom_of(0, 0)) != red);
    QVERIFY(pixel(grid, bottom_of(2, 0)) != red);
    // The keyboard moves the underline with the current row.
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->underlined_row(), 2);

    // An empty day: one green row, no underline.
    press_day(w.get(), 11);
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->underlined_row(), -1);
    QCOMPARE(pixel(grid, in_row(grid, 0)), done_green);
}

void TestDayList::a_line_break_is_drawn_on_one_line_and_stored_as_typed()
{
    WindowFixture f;
    auto w =
        open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"A", open, "two\nlines"}, {"A", open, "two lines"}}}});
    auto* grid = grid_of(w.get());
    const QImage image = grid->grab().toImage();
    const QRect first = grid->visualRect(grid->model()->index(0, 2)).translated(grid->viewport()->pos());
    const QRect second = grid->visualRect(grid->model()->index(1, 2)).translated(grid->viewport()->pos());
    QCOMPARE(image.copy(first), image.copy(second));
    QCOMPARE(grid->rowHeight(0), 20);

    double_click_row(grid, 0);
    press_day(w.get(), 11);
    QCOMPARE(stored_on("20240210"), (std::vector<Task>{{"A", done, "two\nlines"}, {"A", open, "two lines"}}));
}

void TestDayList::an_empty_day_ignores_edit_delete_and_toggle()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    ModalAnswers answers;  // no window may open
    auto* grid = grid_of(w.get());
    double_click_row(grid, 0);
    click(w.get(), "bt_plan_edit");
    click(w.get(), "bt_plan_del");
    click(w.get(), "Button2");
    QVERIFY(!tasks::schedule_changed);
    QCOMPARE(rows_of(*grid), QList<TaskRow>{TaskRow{}});
    QVERIFY(answers.seen.isEmpty());
    QVERIFY(f.messages.isEmpty());
}

void TestDayList::added_tasks_fill_row_one_then_go_to_the_end()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    auto* grid = grid_of(w.get());
    ModalAnswers answers;
    answers.then(press("Button2")).then(close_box());
    click(w.get(), "bt_plan_add");
    click(w.get(), "bt_plan_add");
    QVERIFY(!tasks::schedule_changed);  // cancelled: nothing added

    answers.then(type_task("first", 1, 0)).then(type_task("second", 3, 1)).then(type_task("third"));
    click(w.get(), "bt_plan_add");
    QCOMPARE(rows_of(*grid), (QList<TaskRow>{{"B", "进行中", "first"}}));
    QVERIFY(tasks::schedule_changed);
    click(w.get(), "bt_plan_add");
    select_row(grid, 0);
    click(w.get(), "bt_plan_add");
    QCOMPARE(rows_of(*grid),
             (QList<TaskRow>{{"B", "进行中", "first"}, {"D", "已完成", "second"}, {"A", "进行中", "third"}}));
    QCOMPARE(grid->currentRow(), 0);  // new tasks go to the end; the current row stays
    QCOMPARE(answers.seen, QStringList(5, "frm_plan"));
    QVERIFY(stored_on("20240210").empty());  // nothing is written before the day is left

    press_day(w.get(), 12);
    QVERIFY(!tasks::schedule_changed);
    QCOMPARE(stored_on("20240210").size(), std::size_t{3});
    QVERIFY(task_mark_shown(w.get(), 10));
}

void TestDayList::edit_rewrites_the_current_row()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"A", open, "one"}, {"D", done, "two  "}}}});
    auto* grid = grid_of(w.get());
    ModalAnswers answers;
    answers.then(press("Button2"));
    select_row(grid, 1);
    click(w.get(), "bt_plan_edit");
    QVERIFY(!tasks::schedule_changed);  // cancelled

    answers.then([](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("编辑任务"));
        QCOMPARE(child<QPlainTextEdit>(&d, "Memo1")->toPlainText(), QStringLiteral("two"));
        QVERIFY(child<QRadioButton>(&d, "RadioGroup1_3")->isChecked());
        QVERIFY(child<QRadioButton>(&d, "RadioGroup2_1")->isChecked());
        type_task("changed", 2, 0)(d);
    });
    click(w.get(), "bt_plan_edit");
    QCOMPARE(rows_of(*grid), (QList<TaskRow>{{"A", "进行中", "one"}, {"C", "进行中", "changed"}}));
    QVERIFY(tasks::schedule_changed);

    // The close box writes the task back as it opened: trimmed, and the
    // list counts as changed.
    press_day(w.get(), 10);
    select_row(grid, 0);
    answers.then(close_box());
    click(w.get(), "bt_plan_edit");
    QVERIFY(tasks::schedule_changed);
    QCOMPARE(grid->task(0), (TaskRow{"A", "进行中", "one"}));
}

void TestDayList::delete_moves_the_rows_below_up()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10),
                             {{"20240210", {{"A", open, "1"}, {"B", open, "2"}, {"C", open, "3"}, {"D", open, "4"}}}});
    auto* grid = grid_of(w.get());
    const auto texts = [&] {
        QStringList t;
        for (const TaskRow& r : rows_of(*grid))
            t << r.category + r.text;
        return t;
    };
    select_row(grid, 3);
    click(w.get(), "bt_plan_del");  // the last row: nothing else moves
    QCOMPARE(texts(), (QStringList{"A1", "B2", "C3"}));
    QVERIFY(tasks::schedule_changed);
    select_row(grid, 0);
    click(w.get(), "bt_plan_del");  // row 1 of three: the others move up
    QCOMPARE(texts(), (QStringList{"B2", "C3"}));
    QCOMPARE(grid->underlined_row(), grid->currentRow());
    press_day(w.get(), 11);
    QCOMPARE(stored_on("20240210"), (std::vector<Task>{{"B", open, "2"}, {"C", open, "3"}}));
}

void TestDayList::deleting_the_only_task_empties_the_day_when_left()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"A", open, "only"}}}});
    QVERIFY(task_mark_shown(w.get(), 10));
    click(w.get(), "bt_plan_del");
    QCOMPARE(rows_of(*grid_of(w.get())), QList<TaskRow>{TaskRow{}});
    QVERIFY(tasks::schedule_changed);
    QCOMPARE(stored_on("20240210").size(), std::size_t{1});  // not yet written
    press_day(w.get(), 11);
    QVERIFY(stored_on("20240210").empty());
    QVERIFY(!task_mark_shown(w.get(), 10));
}

void TestDayList::toggling_twice_rewrites_the_rows_unchanged()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10),
                             {{"20240210", {{"A", open, "a"}, {"B", done, "b"}, {"C", "暂停", "c"}}}});
    auto* grid = grid_of(w.get());
    double_click_row(grid, 0);
    QCOMPARE(grid->task(0).state, QStringLiteral("已完成"));
    QVERIFY(tasks::schedule_changed);
    double_click_row(grid, 0);
    QCOMPARE(grid->task(0).state, QStringLiteral("进行中"));
    double_click_row(grid, 2);  // neither state: becomes finished
    QCOMPARE(grid->task(2).state, QStringLiteral("已完成"));
    double_click_row(grid, 2);
    QCOMPARE(grid->task(2).state, QStringLiteral("进行中"));
    press_day(w.get(), 11);
    QVERIFY(!tasks::schedule_changed);
    QCOMPARE(stored_on("20240210"), (std::vector<Task>{{"A", open, "a"}, {"B", done, "b"}, {"C", open, "c"}}));
}

// On a grid of their own, as the task manager will use them.
void TestDayList::the_save_operations_write_only_a_changed_list()
{
    WindowFixture f;
    app_database = f.prepared_data_file();
    tasks::TaskGrid grid;
    grid.configure(tasks::TaskGrid::manager_look());
    QCOMPARE(grid.columnWidth(1), 50);
    QCOMPARE(grid.columnWidth(2), 379);
    QCOMPARE(grid.look().header_colour, QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(grid.look().underline_length, 380);
    CountingHost host;
    daydata::replace_tasks(*app_database, "20240305", {{"A", open, "stored"}});

    // Unchanged: nothing written, no redraw.
    tasks::schedule_changed = false;
    tasks::savedata2fx_schedule(grid, "20240305", host);
    QCOMPARE(host.redraws, 0);
    QCOMPARE(stored_on("20240305").size(), std::size_t{1});

    // An empty key writes nothing and clears the flag.
    grid.append_task({"B", "进行中", "x"});
    tasks::schedule_changed = true;
    tasks::savedata2fx_schedule(grid, "", host);
    QVERIFY(!tasks::schedule_changed);
    QCOMPARE(host.redraws, 1);
    QVERIFY(stored_on("").empty());

    // Changed: the day's rows are replaced and the month redrawn.
    tasks::schedule_changed = true;
    tasks::savedata2fx_schedule(grid, "20240305", host);
    QCOMPARE(stored_on("20240305"), (std::vector<Task>{{"B", open, "x"}}));
    QCOMPARE(host.redraws, 2);

    // Loading leaves the flag alone.
    tasks::schedule_changed = true;
    tasks::load_schedule(grid, "20240306");
    QVERIFY(tasks::schedule_changed);
    QVERIFY(grid.is_empty());
    app_database.reset();
}

void TestDayList::hostile_texts_round_trip_through_the_list()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    const QStringList texts{"say \"hi\"",
                            "it's",
                            "a; DROP TABLE vk_schedule; --",
                            "tab\there",
                            "emoji \U0001F600",
                            QString(4000, QChar(0x4EFB)),
                            "中文任务"};
    ModalAnswers answers;
    for (const QString& t : texts) {
        answers.then(type_task(t, 2, 0));
        click(w.get(), "bt_plan_add");
    }
    press_day(w.get(), 11);
    QVERIFY(grid_of(w.get())->is_empty());
    press_day(w.get(), 10);
    const QList<TaskRow> rows = rows_of(*grid_of(w.get()));
    QCOMPARE(rows.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(rows[i], (TaskRow{"C", "进行中", texts[i]}));
    QVERIFY(app_database->has_table("vk_schedule"));
    QVERIFY(f.messages.isEmpty());
}

// The third insert aborts: the day keeps its old rows, the list and its
// flag stay, the error is shown once, and the date does not change.  The
// next attempt writes the whole list.
void TestDayList::a_write_back_failing_half_way_keeps_everything()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"A", open, "old one"}, {"B", done, "old two"}}}});
    ModalAnswers answers;
    answers.then(type_task("new three")).then(type_task("new four"));
    click(w.get(), "bt_plan_add");
    click(w.get(), "bt_plan_add");
    const QList<TaskRow> list = rows_of(*grid_of(w.get()));
    fail_third_task_insert(*app_database);

    child<QToolButton>(w.get(), "sb_date_right")->click();
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages.first().contains("disk full"), qPrintable(f.messages.first()));
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240210"));
    QCOMPARE(w->sel_month(), 2);
    QCOMPARE(child<QLabel>(w.get(), "Label_month")->text(), QStringLiteral("2"));
    QVERIFY(tasks::schedule_changed);
    QCOMPARE(rows_of(*grid_of(w.get())), list);
    QCOMPARE(stored_on("20240210"), (std::vector<Task>{{"A", open, "old one"}, {"B", done, "old two"}}));

    press_day(w.get(), 11);  // every way of leaving is refused alike
    QCOMPARE(f.messages.size(), 2);
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240210"));

    app_database->execute("DROP TRIGGER fail_third");
    child<QToolButton>(w.get(), "sb_date_right")->click();
    QCOMPARE(f.messages.size(), 2);
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240310"));
    QVERIFY(!tasks::schedule_changed);
    QCOMPARE(stored_on("20240210").size(), std::size_t{4});
}

void TestDayList::two_hundred_tasks_load_draw_and_save_in_order()
{
    WindowFixture f;
    std::vector<Task> day;
    for (int i = 0; i < 200; ++i)
        day.push_back({std::string(1, "ABCD"[i % 4]), i % 3 ? open : done, "task " + std::to_string(i)});
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", day}});
    auto* grid = grid_of(w.get());
    QCOMPARE(grid->rowCount(), 200);
    for (int i = 0; i < 200; ++i)
        QCOMPARE(grid->task(i).text, QStringLiteral("task %1").arg(i));
    QVERIFY(grid->verticalScrollBar()->maximum() > 0);
    grid->scrollToBottom();
    QCOMPARE(pixel(grid, in_row(grid, 199)), open_orange);  // 199 % 3 != 0
    QCOMPARE(pixel(grid, in_row(grid, 198)), done_green);
    double_click_row(grid, 199);
    day[199].state = done;
    press_day(w.get(), 11);
    QCOMPARE(stored_on("20240210"), day);
}

void TestDayList::shutdown_writes_the_list_even_without_settings()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    ModalAnswers answers;
    answers.then(type_task("before closing"));
    click(w.get(), "bt_plan_add");
    QVERIFY(QDir(f.dir.path()).mkdir("vkset.vki"));  // the settings file cannot be written
    w->close();
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(f.messages.first().startsWith("Unable to write to"));
    QVERIFY(!app_database);

    QVERIFY(QDir(f.dir.path()).rmdir("vkset.vki"));
    auto again = f.open_window(QDate(2024, 2, 10));
    QCOMPARE(rows_of(*grid_of(again.get())), (QList<TaskRow>{{"A", "进行中", "before closing"}}));
}

// A day whose tasks cannot be read is not offered for editing, so nothing
// can be written over its stored tasks.
void TestDayList::a_failed_load_locks_the_list()
{
    WindowFixture f;
    auto db = f.prepared_data_file();
    daydata::replace_tasks(*db, "20240211", {{"A", open, "unreadable"}});
    // The texts of 11 February cannot be read; the month's marks can.
    db->execute("ALTER TABLE vk_schedule RENAME TO stored_tasks");
    db->execute("CREATE VIEW vk_schedule AS SELECT ID, sDate, lb, sState,"
                " CASE WHEN sDate = '20240211' THEN json('{') ELSE sItem END AS sItem FROM stored_tasks");
    db.reset();
    auto w = f.open_window(QDate(2024, 2, 10));
    press_day(w.get(), 11);
    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240211"));
    QVERIFY(grid_of(w.get())->is_empty());
    QVERIFY(!grid_of(w.get())->isEnabled());
    for (const char* button : {"bt_plan_add", "bt_plan_del", "bt_plan_edit", "Button2"})
        QVERIFY(!child<QPushButton>(w.get(), button)->isEnabled());
    press_day(w.get(), 12);
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(grid_of(w.get())->isEnabled());
    QVERIFY(child<QPushButton>(w.get(), "bt_plan_add")->isEnabled());
}

// ---------------------------------------------------------------- moving

void TestDayList::a_moved_task_leaves_its_day_at_once()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"A", open, "stay"}, {"B", open, "move me"}}}});
    auto* grid = grid_of(w.get());
    ModalAnswers answers;
    answers.then(type_task("unsaved"));
    click(w.get(), "bt_plan_add");
    answers.then([](QDialog& d) {
        QCOMPARE(d.objectName(), QStringLiteral("frm_taskchange"));
        // The editor opens on today.
        QCOMPARE(child<QDateEdit>(&d, "RzDateTimePicker1")->date(), QDate(2024, 2, 10));
        move_to(QDate(2024, 2, 20))(d);
    });
    select_row(grid, 1);
    click(w.get(), "Button2");

    // Both days are written at once, the day's unsaved addition included.
    QCOMPARE(stored_on("20240220"), (std::vector<Task>{{"B", open, "【变更】move me"}}));
    QCOMPARE(stored_on("20240210"), (std::vector<Task>{{"A", open, "stay"}, {"A", open, "unsaved"}}));
    QCOMPARE(rows_of(*grid), (QList<TaskRow>{{"A", "进行中", "stay"}, {"A", "进行中", "unsaved"}}));
    QVERIFY(!tasks::schedule_changed);
    // The view stays on the selected day and marks the new one.
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240210"));
    QCOMPARE(child<QLabel>(w.get(), "Label_month")->text(), QStringLiteral("2"));
    QCOMPARE(child<QWidget>(w.get(), "Shape2")->pos(),
             child<QWidget>(w.get(), "day_labels_14")->pos() + QPoint(-1, 1));  // 10 Feb 2024: cell 14
    QVERIFY(task_mark_shown(w.get(), 20));

    // Moving the only task left empties the day; to a year beyond the
    // lunar tables as well.
    click(w.get(), "bt_plan_del");
    answers.then(move_to(QDate(2051, 1, 15)));
    click(w.get(), "Button2");
    QVERIFY(stored_on("20240210").empty());
    QCOMPARE(stored_on("20510115"), (std::vector<Task>{{"A", open, "【变更】stay"}}));
    QVERIFY(grid->is_empty());
    QVERIFY(!task_mark_shown(w.get(), 10));
    QVERIFY(f.messages.isEmpty());
}

void TestDayList::a_copy_keeps_the_task_and_its_text_on_request()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"C", open, "copy me"}}}});
    ModalAnswers answers;
    answers.then(move_to(QDate(2024, 2, 11), false, true)).then(move_to(QDate(2024, 2, 12), false, false));
    click(w.get(), "Button2");
    click(w.get(), "Button2");
    QCOMPARE(rows_of(*grid_of(w.get())), (QList<TaskRow>{{"C", "进行中", "copy me"}}));
    QVERIFY(!tasks::schedule_changed);
    QCOMPARE(stored_on("20240210"), (std::vector<Task>{{"C", open, "copy me"}}));
    QCOMPARE(stored_on("20240211"), (std::vector<Task>{{"C", open, "【变更】copy me"}}));
    QCOMPARE(stored_on("20240212"), (std::vector<Task>{{"C", open, "copy me"}}));
    QVERIFY(task_mark_shown(w.get(), 11) && task_mark_shown(w.get(), 12));
}

void TestDayList::the_mark_is_given_once()
{
    WindowFixture f;
    auto w =
        open_with_tasks(f, QDate(2024, 3, 1),
                        {{"20240310", {{"A", open, "already 【变更】 once"}}}, {"20240301", {{"D", done, "there"}}}});
    press_day(w.get(), 10);  // today is 1 March: the editor opens there
    ModalAnswers answers;
    answers.then(press("Button1"));
    click(w.get(), "Button2");
    QCOMPARE(stored_on("20240301"), (std::vector<Task>{{"D", done, "there"}, {"A", open, "already 【变更】 once"}}));
}

void TestDayList::moving_is_refused_for_finished_tasks_and_the_same_day()
{
    WindowFixture f;
    auto w =
        open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"A", open, "open"}, {"B", " 已完成 ", "finished"}}}});
    ModalAnswers answers;
    select_row(grid_of(w.get()), 1);
    click(w.get(), "Button2");
    QCOMPARE(f.messages, QStringList{"已完成的任务无法变更！"});
    QVERIFY(answers.seen.isEmpty());  // the dialog does not open

    select_row(grid_of(w.get()), 0);
    answers.then(press("Button1"));  // today, the day on show
    click(w.get(), "Button2");
    QCOMPARE(f.messages.last(), QStringLiteral("变更日期不能为任务当前日期！"));
    QCOMPARE(task_row_count(), std::string("2"));
    QCOMPARE(grid_of(w.get())->rowCount(), 2);
    QVERIFY(!tasks::schedule_changed);
}

void TestDayList::cancel_and_close_box_move_nothing()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"A", open, "x"}}}});
    ModalAnswers answers;
    answers.then(move_to(QDate(2024, 2, 20), true, true, "Button2"))
        .then(move_to(QDate(2024, 2, 20), true, true, nullptr));
    click(w.get(), "Button2");
    click(w.get(), "Button2");
    QCOMPARE(task_row_count(), std::string("1"));
    QCOMPARE(grid_of(w.get())->rowCount(), 1);
    QVERIFY(!tasks::schedule_changed);
    QVERIFY(f.messages.isEmpty());
}

// The copy's insert fails inside the one transaction: the task is on
// exactly one day, its own, and stays in the list.
void TestDayList::a_failed_move_leaves_the_task_on_its_day()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"A", open, "one"}, {"B", open, "two"}}}});
    app_database->execute("CREATE TEMP TRIGGER no_target BEFORE INSERT ON main.vk_schedule"
                          " WHEN new.sDate = '20240220' BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    ModalAnswers answers;
    answers.then(move_to(QDate(2024, 2, 20)));
    click(w.get(), "Button2");
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(f.messages.first().contains("disk full"));
    QCOMPARE(stored_on("20240210"), (std::vector<Task>{{"A", open, "one"}, {"B", open, "two"}}));
    QVERIFY(stored_on("20240220").empty());
    QCOMPARE(grid_of(w.get())->rowCount(), 2);
    QVERIFY(!tasks::schedule_changed);
}

QTEST_MAIN(TestDayList)
#include "test_daylist.moc"
