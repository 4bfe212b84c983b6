// The task manager opened from the day list's "管理": its tree of the days
// that have tasks, the list of the day chosen, adding, changing and deleting
// there, the write-back on a change of node and at the close, what a failed
// write keeps, and the main window brought up to date afterwards.
#include <QButtonGroup>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <random>
#include <set>

#include "modal_answer.h"
#include "modal_window.h"
#include "tasks/schedulemanage.h"
#include "taskfixture.h"
#include "taskwindow.h"
#include "tree_paths.h"
#include "uikit/datetree.h"

using daydata::Task;
using tasks::TaskRow;

namespace {

const std::string open = "进行中";
const std::string done = "已完成";

// The manager's controls, in the window the modal hook hands over.
struct Manager {
    QDialog& d;

    uikit::DateTree* tree() const { return child<uikit::DateTree>(&d, "RzTreeView1"); }
    tasks::TaskGrid* grid() const { return child<tasks::TaskGrid>(&d, "sg_schedule_manage"); }
    QPlainTextEdit* memo() const { return child<QPlainTextEdit>(&d, "Memo1"); }
    QPushButton* button(const char* name) const { return child<QPushButton>(&d, name); }
    QRadioButton* item(const QString& name) const { return child<QRadioButton>(&d, name); }

    QTreeWidgetItem* node(const QString& path) const { return testing::node_at(tree(), path); }
    void choose(const QString& path) const { testing::choose_node(tree(), path); }
    // The task described by the radio groups (items 0-3 and 0-1) and `text`,
    // entered with "增加(&A)".
    void add(const QString& text, int category = 0, int state = 0) const
    {
        item(QStringLiteral("RadioGroup1_%1").arg(category))->setChecked(true);
        item(QStringLiteral("RadioGroup2_%1").arg(state))->setChecked(true);
        memo()->setPlainText(text);
        button("bt_add")->click();
    }
    bool buttons_enabled(bool add, bool edit_and_delete) const
    {
        return button("bt_add")->isEnabled() == add && button("bt_edit")->isEnabled() == edit_and_delete &&
               button("bt_del")->isEnabled() == edit_and_delete;
    }
    QStringList outline() const { return testing::outline(tree()); }
    QList<TaskRow> rows() const { return rows_of(*grid()); }
};

void click(QWidget* w, const char* button) { child<QPushButton>(w, button)->click(); }

// Opens the manager from the main window and hands it to `answer`, which
// closes it.
void with_manager(TFRM_Date* w, const std::function<void(Manager&)>& answer)
{
    testing::with_modal_window([w] { click(w, "Button8"); },
                               [&](QDialog& d) {
                                   Manager m{d};
                                   answer(m);
                               });
}

void close_manager(Manager& m) { m.button("Button1")->click(); }

// Makes every insert into vk_schedule fail, as a full disk would.
void fail_task_inserts()
{
    app_database->execute("CREATE TEMP TRIGGER no_insert BEFORE INSERT ON main.vk_schedule"
                          " BEGIN SELECT RAISE(ABORT, 'disk full'); END");
}
void heal_task_inserts() { app_database->execute("DROP TRIGGER no_insert"); }

std::string id_of_first_task(const char* day)
{
    return app_database->query("SELECT min(ID) FROM vk_schedule WHERE sDate = ?", {std::string(day)}).field_text(0);
}

// The tree that the given days make, built here from the sorted set.
QStringList outline_of(const std::set<std::string>& days)
{
    QStringList lines;
    std::string year, month;
    for (const std::string& d : days) {
        if (d.substr(0, 4) != year) {
            year = d.substr(0, 4);
            month.clear();
            lines << QString::fromStdString(year) + "年";
        }
        if (d.substr(4, 2) != month) {
            month = d.substr(4, 2);
            lines << " " + QString::fromStdString(month) + "月";
        }
        lines << "  " + QString::fromStdString(d.substr(6, 2)) + "日";
    }
    return lines;
}

}  // namespace

class TestScheduleManage : public QObject {
    Q_OBJECT

private slots:
    void the_window_and_its_controls();
    void no_tasks_give_an_empty_tree_and_no_buttons();
    void days_are_grouped_by_month_and_year_in_order();
    void days_over_the_whole_calendar_come_out_in_order();
    void a_stored_date_that_is_no_day_gets_no_node();

    void a_day_shows_its_tasks_and_a_month_or_year_none();
    void leaving_an_edited_day_writes_it_first_and_the_marks_follow();
    void adding_fills_the_blank_row_then_appends();
    void a_blank_text_is_refused();
    void a_row_click_shows_its_task_in_the_radio_groups_and_text();
    void change_rewrites_the_current_row();
    void a_text_is_stored_as_typed_and_drawn_on_one_line();
    void delete_moves_rows_up_and_the_last_empties_the_list();
    void every_way_of_closing_writes_back();

    void a_failed_write_at_the_close_keeps_the_window_open();
    void a_failed_write_on_a_change_of_node_keeps_the_day_on_screen();
    void a_day_that_cannot_be_read_cannot_be_edited();
    void the_manager_stays_shut_when_the_data_file_fails();

    void the_main_window_shows_the_manager_s_changes();
    void the_day_is_kept_between_openings();
    void a_session_ending_under_the_manager_writes_its_list();
};

void TestScheduleManage::the_window_and_its_controls()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240210", {{"A", open, "one"}, {"B", done, "two"}}}});
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(m.d.objectName(), QStringLiteral("frm_schedule_manage"));
        QCOMPARE(m.d.windowTitle(), QStringLiteral("计划任务管理"));
        QCOMPARE(m.d.size(), QSize(662, 479));
        QVERIFY(m.d.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(m.d.parentWidget(), w.get());
        QCOMPARE(m.d.font().family(), QStringLiteral("微软雅黑"));
        QCOMPARE(text_colour_of(&m.d), QColor(0x00, 0x40, 0x80));

        const std::pair<const char*, QRect> places[] = {
            {"RzTreeView1", {7, 8, 185, 463}},    {"sg_schedule_manage", {198, 8, 456, 242}},
            {"RadioGroup2", {198, 260, 211, 65}}, {"RadioGroup1", {422, 260, 232, 65}},
            {"Memo1", {198, 351, 456, 88}},       {"bt_add", {198, 446, 75, 25}},
            {"bt_edit", {279, 446, 75, 25}},      {"bt_del", {360, 446, 75, 25}},
            {"Button1", {579, 446, 75, 25}},
        };
        for (const auto& [name, place] : places)
            QCOMPARE(child<QWidget>(&m.d, name)->geometry(), place);
        QCOMPARE(child<QWidget>(&m.d, "Label4")->pos(), QPoint(205, 328));
        QCOMPARE(child<QLabel>(&m.d, "Label4")->text(), QStringLiteral("内容："));
        QCOMPARE(m.button("bt_add")->text(), QStringLiteral("增加(&A)"));
        QCOMPARE(m.button("bt_edit")->text(), QStringLiteral("修改(&E)"));
        QCOMPARE(m.button("bt_del")->text(), QStringLiteral("删除"));
        QCOMPARE(m.button("Button1")->text(), QStringLiteral("关闭"));
        QVERIFY(m.buttons_enabled(false, false));

        const QStringList states{"进行中", "已完成"};
        const QStringList categories{"重要，急", "重要，不急", "不重要，急", "不重要，不急"};
        for (int i = 0; i < 2; ++i)
            QCOMPARE(m.item(QStringLiteral("RadioGroup2_%1").arg(i))->text(), states[i]);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(m.item(QStringLiteral("RadioGroup1_%1").arg(i))->text(), categories[i]);
        QVERIFY(m.item("RadioGroup2_0")->isChecked());
        QVERIFY(m.item("RadioGroup1_0")->isChecked());
        // Two columns: the second item of each group stands right of the first
        // (states) or below it (categories, filled column by column).
        QVERIFY(m.item("RadioGroup2_1")->x() > m.item("RadioGroup2_0")->x());
        QVERIFY(m.item("RadioGroup1_1")->y() > m.item("RadioGroup1_0")->y());
        QVERIFY(m.item("RadioGroup1_2")->x() > m.item("RadioGroup1_0")->x());
        QCOMPARE(m.memo()->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(m.memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        auto* grid = m.grid();
        const int widths[] = {28, 50, 379};
        const QStringList header{"类别", "状态", "任务安排"};
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(grid->columnWidth(c), widths[c]);
            QCOMPARE(grid->horizontalHeaderItem(c)->text(), header[c]);
        }
        QCOMPARE(grid->rowCount(), 1);
        QVERIFY(grid->is_empty());
        QCOMPARE(pixel(grid, QPoint(60, 10)), QColor(0xC0, 0xC0, 0xC0));

        // Nothing chosen, every node collapsed.
        QVERIFY(m.tree()->selectedItems().isEmpty());
        QVERIFY(!m.node("2024年")->isExpanded());
        QCOMPARE(m.tree()->indentation(), 23);
        QCOMPARE(m.tree()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(testing::controls_without_accessible_name(&m.d), QStringList());
        close_manager(m);
    });
    QVERIFY(f.messages.isEmpty());
}

void TestScheduleManage::no_tasks_give_an_empty_tree_and_no_buttons()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(m.tree()->topLevelItemCount(), 0);
        QVERIFY(m.buttons_enabled(false, false));
        close_manager(m);
    });
}

void TestScheduleManage::days_are_grouped_by_month_and_year_in_order()
{
    WindowFixture f;
    // Rows in an order of their own: the tree is in the calendar's.
    auto w = open_with_tasks(f, QDate(2024, 2, 10),
                             {{"20100320", {{"A", open, "late"}}},
                              {"20101201", {{"A", open, "december"}}},
                              {"20100305", {{"A", open, "1"}, {"B", open, "2"}, {"C", done, "3"}}},
                              {"20100131", {{"A", open, "end of january"}}},
                              {"20091231", {{"A", open, "new year's eve"}}},
                              {"20100101", {{"A", open, "new year"}}}});
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(m.outline(), (QStringList{"2009年", " 12月", "  31日", "2010年", " 01月", "  01日", "  31日", " 03月",
                                           "  05日", "  20日", " 12月", "  01日"}));
        const auto& icons = uikit::DateTree::icons();
        QCOMPARE(m.node("2010年")->icon(0).cacheKey(), icons[0].cacheKey());
        QCOMPARE(m.node("2010年/03月")->icon(0).cacheKey(), icons[3].cacheKey());
        QCOMPARE(m.node("2010年/12月")->icon(0).cacheKey(), icons[12].cacheKey());
        QCOMPARE(m.node("2010年/03月/05日")->icon(0).cacheKey(), icons[13].cacheKey());
        QCOMPARE(uikit::DateTree::daykey(m.node("2010年/03月/05日")), QStringLiteral("20100305"));
        close_manager(m);
    });
}

void TestScheduleManage::days_over_the_whole_calendar_come_out_in_order()
{
    WindowFixture f;
    auto db = f.prepared_data_file();
    std::mt19937 random(1901);
    std::set<std::string> days{"19010101", "20501231", "20240229"};
    while (days.size() < 400)
        days.insert(QDate(1901, 1, 1)
                        .addDays(std::uniform_int_distribution<int>(0, 54786)(random))
                        .toString("yyyyMMdd")
                        .toStdString());
    std::vector<std::string> rows(days.begin(), days.end());
    rows.insert(rows.end(), rows.begin(), rows.begin() + 100);  // days of several rows
    std::shuffle(rows.begin(), rows.end(), random);
    db->execute("PRAGMA synchronous = OFF");  // no wait for the disk at each of the many commits
    for (const std::string& day : rows)
        daydata::append_task(*db, day, {"A", open, "task of " + day});
    db.reset();
    auto w = f.open_window(QDate(2024, 2, 10));
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(m.outline(), outline_of(days));
        close_manager(m);
    });
}

// Rows written by other means: only real dates of eight digits get nodes,
// and the window opens all the same.
void TestScheduleManage::a_stored_date_that_is_no_day_gets_no_node()
{
    WindowFixture f;
    auto db = f.prepared_data_file();
    db->execute("INSERT INTO vk_schedule(sDate,lb,sState,sItem) VALUES"
                " ('2024-3-5','A','进行中','x'), ('abcdefgh','A','进行中','x'), ('20240230','A','进行中','x'),"
                " ('','A','进行中','x'), (NULL,'A','进行中','x'), ('2024030','A','进行中','x'),"
                " (' 20240305','A','进行中','x'), ('20241301','A','进行中','x'),"
                " ('20240305','B','进行中','fifth'), (20240306,'C','已完成','a number')");
    db.reset();
    auto w = f.open_window(QDate(2024, 2, 10));
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(m.outline(), (QStringList{"2024年", " 03月", "  05日", "  06日"}));
        m.choose("2024年/03月/06日");
        QCOMPARE(m.rows(), (QList<TaskRow>{{"C", "已完成", "a number"}}));
        close_manager(m);
    });
    QVERIFY(f.messages.isEmpty());
}

void TestScheduleManage::a_day_shows_its_tasks_and_a_month_or_year_none()
{
    WindowFixture f;
    auto w =
        open_with_tasks(f, QDate(2024, 2, 10),
                        {{"20240305", {{"A", open, "one"}, {"D", done, "two"}}}, {"20240401", {{"C", open, "x"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月");
        m.memo()->setPlainText("typed before");
        m.item("RadioGroup1_2")->setChecked(true);
        m.choose("2024年/03月/05日");
        QCOMPARE(tasks::manage_task_day, QStringLiteral("20240305"));
        QCOMPARE(m.rows(), (QList<TaskRow>{{"A", "进行中", "one"}, {"D", "已完成", "two"}}));
        QVERIFY(m.buttons_enabled(true, true));
        // The radio groups and the text keep what they held.
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("typed before"));
        QVERIFY(m.item("RadioGroup1_2")->isChecked());
        QCOMPARE(m.grid()->underlined_row(), -1);

        m.choose("2024年/04月");
        QVERIFY(m.grid()->is_empty());
        QCOMPARE(m.grid()->rowCount(), 1);
        QCOMPARE(m.memo()->toPlainText(), QString());
        QVERIFY(m.buttons_enabled(false, false));
        QCOMPARE(tasks::manage_task_day, QStringLiteral("20240305"));

        m.choose("2024年/04月/01日");
        QCOMPARE(m.rows(), (QList<TaskRow>{{"C", "进行中", "x"}}));
        m.choose("2024年");
        QVERIFY(m.grid()->is_empty());
        QVERIFY(m.buttons_enabled(false, false));
        QVERIFY(!tasks::schedule_changed);
        close_manager(m);
    });
    QVERIFY(f.messages.isEmpty());
}

// Each write-back redraws the month view at once, while the manager is
// still open.
void TestScheduleManage::leaving_an_edited_day_writes_it_first_and_the_marks_follow()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10),
                             {{"20240211", {{"A", open, "stays"}}}, {"20240212", {{"B", open, "goes"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/02月/12日");
        m.button("bt_del")->click();
        QVERIFY(tasks::schedule_changed);
        QCOMPARE(stored_on("20240212").size(), std::size_t{1});
        QVERIFY(task_mark_shown(w.get(), 12));
        // Collapsing the month chooses it.
        m.node("2024年/02月")->setExpanded(false);
        QCOMPARE(m.tree()->currentItem(), m.node("2024年/02月"));
        QVERIFY(stored_on("20240212").empty());
        QVERIFY(!tasks::schedule_changed);
        QVERIFY(!task_mark_shown(w.get(), 12));
        QVERIFY(m.grid()->is_empty());
        QVERIFY(m.buttons_enabled(false, false));

        // By the mouse, on a node on screen.
        m.node("2024年/02月")->setExpanded(true);
        QTreeWidgetItem* day = m.node("2024年/02月/11日");
        QTest::mouseClick(m.tree()->viewport(), Qt::LeftButton, {}, m.tree()->visualItemRect(day).center());
        QCOMPARE(m.tree()->currentItem(), day);
        m.add("added", 1, 1);
        m.choose("2024年/02月/12日");  // its node stays, with an empty list
        QCOMPARE(stored_on("20240211"), (std::vector<Task>{{"A", open, "stays"}, {"B", done, "added"}}));
        QVERIFY(m.grid()->is_empty());
        QVERIFY(m.buttons_enabled(true, true));
        close_manager(m);
    });
    QVERIFY(f.messages.isEmpty());
}

void TestScheduleManage::adding_fills_the_blank_row_then_appends()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240301", {{"A", open, "only"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        m.button("bt_del")->click();
        QVERIFY(m.buttons_enabled(true, false));
        m.add("first", 3, 1);
        QCOMPARE(m.rows(), (QList<TaskRow>{{"D", "已完成", "first"}}));
        QCOMPARE(m.memo()->toPlainText(), QString());
        QVERIFY(m.buttons_enabled(true, true));
        m.add("second", 0, 0);
        QCOMPARE(m.rows(), (QList<TaskRow>{{"D", "已完成", "first"}, {"A", "进行中", "second"}}));
        QCOMPARE(m.grid()->currentRow(), 0);
        QVERIFY(stored_on("20240301") == (std::vector<Task>{{"A", open, "only"}}));  // not yet written
        close_manager(m);
    });
    QCOMPARE(stored_on("20240301"), (std::vector<Task>{{"D", done, "first"}, {"A", open, "second"}}));
}

void TestScheduleManage::a_blank_text_is_refused()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240301", {{"A", open, "only"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        for (const QString& blank : {QString(), QStringLiteral(" \n\t \r\n  ")}) {
            m.memo()->setPlainText(blank);
            m.button("bt_add")->click();
            m.button("bt_edit")->click();
        }
        QCOMPARE(f.messages, QStringList(4, QStringLiteral("请填写计划任务的内容！")));
        QCOMPARE(m.rows(), (QList<TaskRow>{{"A", "进行中", "only"}}));
        QVERIFY(!tasks::schedule_changed);
        close_manager(m);
    });
}

void TestScheduleManage::a_row_click_shows_its_task_in_the_radio_groups_and_text()
{
    WindowFixture f;
    auto w = open_with_tasks(
        f, QDate(2024, 2, 10),
        {{"20240301",
          {{"A", open, "first"}, {"E", "暂停", "odd letter"}, {"", open, "no letter"}, {"B", open, "last"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        m.add("not urgent", 3, 1);
        select_row(m.grid(), 4);
        QVERIFY(m.item("RadioGroup1_3")->isChecked());
        QVERIFY(m.item("RadioGroup2_1")->isChecked());
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("not urgent"));
        QCOMPARE(tasks::manage_task_row, 4);
        QCOMPARE(m.grid()->underlined_row(), 4);

        // A letter outside "ABCD" chooses no category, and a state other than
        // "进行中" chooses "已完成"; adding then takes "A".
        select_row(m.grid(), 1);
        QCOMPARE(m.item("RadioGroup1_0")->group()->checkedButton(), nullptr);
        QVERIFY(m.item("RadioGroup2_1")->isChecked());
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("odd letter"));
        m.memo()->setPlainText("no category");
        m.button("bt_add")->click();
        QCOMPARE(m.grid()->task(5), (TaskRow{"A", "已完成", "no category"}));

        // The keys move the row, its underline and what the groups show.
        select_row(m.grid(), 0);
        QVERIFY(m.item("RadioGroup1_0")->isChecked());
        QVERIFY(m.item("RadioGroup2_0")->isChecked());
        QTest::keyClick(m.grid(), Qt::Key_Down);
        QTest::keyClick(m.grid(), Qt::Key_Down);
        QCOMPARE(m.grid()->currentRow(), 2);
        QCOMPARE(tasks::manage_task_row, 2);
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("no letter"));
        QCOMPARE(m.item("RadioGroup1_0")->group()->checkedButton(), nullptr);
        QVERIFY(m.item("RadioGroup2_0")->isChecked());
        // The underline runs along the bottom of the row, across all three
        // columns, in red.
        const QRect cell = m.grid()->visualRect(m.grid()->model()->index(2, 2));
        const QPoint under = m.grid()->viewport()->mapTo(m.grid(), QPoint(cell.left() + 300, cell.bottom()));
        QCOMPARE(pixel(m.grid(), under), QColor(0xFF, 0x00, 0x00));
        close_manager(m);
    });
}

void TestScheduleManage::change_rewrites_the_current_row()
{
    WindowFixture f;
    auto w =
        open_with_tasks(f, QDate(2024, 2, 10),
                        {{"20240301", {{"A", open, "one"}, {"B", open, "two"}}}, {"20240302", {{"C", open, "x"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        select_row(m.grid(), 1);
        m.item("RadioGroup1_2")->setChecked(true);
        m.item("RadioGroup2_1")->setChecked(true);
        m.memo()->setPlainText("two, changed");
        m.button("bt_edit")->click();
        QCOMPARE(m.rows(), (QList<TaskRow>{{"A", "进行中", "one"}, {"C", "已完成", "two, changed"}}));
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("two, changed"));
        QVERIFY(tasks::schedule_changed);

        // A day emptied in this opening keeps its node; chosen again, its
        // empty list takes a first task from "修改(&E)".
        m.choose("2024年/03月/02日");
        m.button("bt_del")->click();
        m.choose("2024年/03月/01日");
        m.choose("2024年/03月/02日");
        QVERIFY(m.grid()->is_empty());
        QVERIFY(m.buttons_enabled(true, true));
        m.memo()->setPlainText("first again");
        m.button("bt_edit")->click();
        QCOMPARE(m.rows(), (QList<TaskRow>{{"C", "已完成", "first again"}}));
        close_manager(m);
    });
    QCOMPARE(stored_on("20240301"), (std::vector<Task>{{"A", open, "one"}, {"C", done, "two, changed"}}));
    QCOMPARE(stored_on("20240302"), (std::vector<Task>{{"C", done, "first again"}}));
}

void TestScheduleManage::a_text_is_stored_as_typed_and_drawn_on_one_line()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240301", {{"A", open, "two lines"}}}});
    const QString typed = QStringLiteral("  two\nlines \"quoted\"\u00A0 ");
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        QTest::keyClicks(m.memo(), "  two");
        QTest::keyClick(m.memo(), Qt::Key_Return);
        QTest::keyClicks(m.memo(), QStringLiteral("lines \"quoted\"\u00A0 "));
        m.button("bt_add")->click();
        QCOMPARE(m.grid()->task(1).text, typed);
        QCOMPARE(m.grid()->rowHeight(1), 20);

        // Drawn on one line, as the same text with a space would be.
        m.memo()->setPlainText("two lines");
        select_row(m.grid(), 0);
        m.memo()->setPlainText("two\nlines");
        m.button("bt_edit")->click();
        m.memo()->setPlainText("two lines");
        m.button("bt_add")->click();
        select_row(m.grid(), 1);
        const QImage image = m.grid()->grab().toImage();
        const auto text_cell = [&](int row) {
            return m.grid()->visualRect(m.grid()->model()->index(row, 2)).translated(m.grid()->viewport()->pos());
        };
        QCOMPARE(image.copy(text_cell(0)), image.copy(text_cell(2)));
        close_manager(m);
    });
    QCOMPARE(
        stored_on("20240301"),
        (std::vector<Task>{{"A", open, "two\nlines"}, {"A", open, typed.toStdString()}, {"A", open, "two lines"}}));
}

void TestScheduleManage::delete_moves_rows_up_and_the_last_empties_the_list()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10),
                             {{"20240212", {{"A", open, "1"}, {"B", open, "2"}, {"C", open, "3"}, {"D", open, "4"}}}});
    QVERIFY(task_mark_shown(w.get(), 12));
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/02月/12日");
        const auto texts = [&] {
            QStringList t;
            for (const TaskRow& r : m.rows())
                t << r.category + r.text;
            return t;
        };
        select_row(m.grid(), 3);
        m.button("bt_del")->click();  // the last row: nothing else moves
        QCOMPARE(texts(), (QStringList{"A1", "B2", "C3"}));
        select_row(m.grid(), 0);
        m.button("bt_del")->click();  // the first: the others move up
        QCOMPARE(texts(), (QStringList{"B2", "C3"}));
        QVERIFY(m.buttons_enabled(true, true));
        m.button("bt_del")->click();
        m.button("bt_del")->click();
        QVERIFY(m.grid()->is_empty());
        QCOMPARE(m.grid()->rowCount(), 1);
        QVERIFY(m.buttons_enabled(true, false));
        QVERIFY(tasks::schedule_changed);
        QCOMPARE(stored_on("20240212").size(), std::size_t{4});
        close_manager(m);
    });
    QVERIFY(stored_on("20240212").empty());
    QVERIFY(!task_mark_shown(w.get(), 12));
}

void TestScheduleManage::every_way_of_closing_writes_back()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240301", {{"A", open, "kept"}}}});
    const std::vector<std::pair<QString, std::function<void(Manager&)>>> ways{
        {"by 关闭", close_manager},
        {"by the close box", [](Manager& m) { m.d.close(); }},
        {"by Escape", [](Manager& m) { QTest::keyClick(&m.d, Qt::Key_Escape); }},
    };
    std::vector<Task> expected{{"A", open, "kept"}};
    for (const auto& [way, close] : ways) {
        with_manager(w.get(), [&](Manager& m) {
            m.choose("2024年/03月/01日");
            m.add(way);
            close(m);
        });
        expected.push_back({"A", open, way.toStdString()});
        QCOMPARE(stored_on("20240301"), expected);
        QVERIFY(!tasks::schedule_changed);
    }
    QVERIFY(f.messages.isEmpty());
}

void TestScheduleManage::a_failed_write_at_the_close_keeps_the_window_open()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240301", {{"A", open, "old"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        m.add("new");
        m.memo()->setPlainText("being typed");
        const QList<TaskRow> list = m.rows();
        fail_task_inserts();
        close_manager(m);
        QCOMPARE(f.messages.size(), 1);
        QVERIFY2(f.messages.first().contains("disk full"), qPrintable(f.messages.first()));
        QVERIFY(m.d.isVisible());
        QVERIFY(tasks::schedule_changed);
        QCOMPARE(m.rows(), list);
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("being typed"));
        QCOMPARE(stored_on("20240301"), (std::vector<Task>{{"A", open, "old"}}));

        m.d.close();  // the close box tries again
        QCOMPARE(f.messages.size(), 2);
        QVERIFY(m.d.isVisible());

        heal_task_inserts();
        close_manager(m);
    });
    QCOMPARE(f.messages.size(), 2);
    QCOMPARE(stored_on("20240301"), (std::vector<Task>{{"A", open, "old"}, {"A", open, "new"}}));
    QCOMPARE(rows_of(*child<tasks::TaskGrid>(w.get(), "sg_mon_log")), QList<TaskRow>{TaskRow{}});
}

void TestScheduleManage::a_failed_write_on_a_change_of_node_keeps_the_day_on_screen()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10),
                             {{"20240301", {{"A", open, "old"}}}, {"20240302", {{"B", done, "other"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        m.add("new");
        fail_task_inserts();
        m.choose("2024年/03月/02日");
        QCOMPARE(f.messages.size(), 1);
        QCoreApplication::processEvents();  // the tree goes back once the click is over
        QCOMPARE(m.tree()->currentItem(), m.node("2024年/03月/01日"));
        QVERIFY(m.node("2024年/03月/01日")->isSelected());
        QVERIFY(!m.node("2024年/03月/02日")->isSelected());
        QCOMPARE(m.rows(), (QList<TaskRow>{{"A", "进行中", "old"}, {"A", "进行中", "new"}}));
        QCOMPARE(tasks::manage_task_day, QStringLiteral("20240301"));
        QVERIFY(tasks::schedule_changed);
        QVERIFY(m.buttons_enabled(true, true));
        QCOMPARE(f.messages.size(), 1);  // going back writes nothing

        // By the mouse, too.
        QTreeWidgetItem* other = m.node("2024年/03月/02日");
        QTest::mouseClick(m.tree()->viewport(), Qt::LeftButton, {}, m.tree()->visualItemRect(other).center());
        QCoreApplication::processEvents();
        QCOMPARE(f.messages.size(), 2);
        QCOMPARE(m.tree()->currentItem(), m.node("2024年/03月/01日"));
        QCOMPARE(m.tree()->selectedItems(), QList<QTreeWidgetItem*>{m.node("2024年/03月/01日")});

        heal_task_inserts();
        m.choose("2024年/03月/02日");
        QCOMPARE(m.rows(), (QList<TaskRow>{{"B", "已完成", "other"}}));
        close_manager(m);
    });
    QCOMPARE(stored_on("20240301"), (std::vector<Task>{{"A", open, "old"}, {"A", open, "new"}}));
}

void TestScheduleManage::a_day_that_cannot_be_read_cannot_be_edited()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10),
                             {{"20240301", {{"A", open, "unreadable"}}}, {"20240302", {{"B", open, "fine"}}}});
    app_database->execute("ALTER TABLE vk_schedule RENAME TO stored_tasks");
    app_database->execute("CREATE VIEW vk_schedule AS SELECT ID, sDate, lb, sState,"
                          " CASE WHEN sDate = '20240301' THEN json('{') ELSE sItem END AS sItem FROM stored_tasks");
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        QCOMPARE(f.messages.size(), 1);
        QVERIFY(m.grid()->is_empty());
        QVERIFY(m.buttons_enabled(false, false));
        m.choose("2024年/03月/02日");
        QVERIFY(m.buttons_enabled(true, true));
        close_manager(m);
    });
    QCOMPARE(app_database->query("SELECT count(*) FROM stored_tasks").field_text(0), std::string("2"));
}

// The manager does not open while the day list cannot be written (it
// shares the list's flag), nor when the days cannot be read.
void TestScheduleManage::the_manager_stays_shut_when_the_data_file_fails()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240301", {{"A", open, "x"}}}});
    ModalAnswers answers;
    answers.then(type_task("in the day list"));
    click(w.get(), "bt_plan_add");
    fail_task_inserts();
    click(w.get(), "Button8");
    QCOMPARE(answers.seen, QStringList{"frm_plan"});
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(tasks::schedule_changed);
    QCOMPARE(rows_of(*child<tasks::TaskGrid>(w.get(), "sg_mon_log")),
             (QList<TaskRow>{{"A", "进行中", "in the day list"}}));
    heal_task_inserts();

    tasks::schedule_changed = false;
    app_database->execute("CREATE TEMP VIEW vk_schedule AS SELECT json('{') AS sDate");
    click(w.get(), "Button8");
    QCOMPARE(answers.seen, QStringList{"frm_plan"});
    QVERIFY2(f.messages.value(1).contains("JSON"), qPrintable(f.messages.value(1)));
    app_database->execute("DROP VIEW temp.vk_schedule");
}

// The day list is written before the manager opens and shows the selected
// day as stored after it closes; the month view's marks follow.
void TestScheduleManage::the_main_window_shows_the_manager_s_changes()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10),
                             {{"20240210", {{"A", open, "stored"}}}, {"20240213", {{"B", open, "gone soon"}}}});
    ModalAnswers answers;
    answers.then(type_task("from the day list", 1, 0));
    click(w.get(), "bt_plan_add");
    with_manager(w.get(), [&](Manager& m) {
        QVERIFY(!tasks::schedule_changed);
        QCOMPARE(stored_on("20240210"), (std::vector<Task>{{"A", open, "stored"}, {"B", open, "from the day list"}}));
        m.choose("2024年/02月/10日");
        QCOMPARE(m.rows().size(), 2);
        select_row(m.grid(), 0);
        m.button("bt_del")->click();
        m.add("from the manager", 2, 1);
        m.choose("2024年/02月/13日");
        m.button("bt_del")->click();
        close_manager(m);
    });
    QCOMPARE(rows_of(*child<tasks::TaskGrid>(w.get(), "sg_mon_log")),
             (QList<TaskRow>{{"B", "进行中", "from the day list"}, {"C", "已完成", "from the manager"}}));
    QVERIFY(!tasks::schedule_changed);
    QVERIFY(task_mark_shown(w.get(), 10));
    QVERIFY(!task_mark_shown(w.get(), 13));
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240210"));
    QVERIFY(f.messages.isEmpty());
}

void TestScheduleManage::the_day_is_kept_between_openings()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10), {{"20240301", {{"A", open, "1"}, {"B", open, "2"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        select_row(m.grid(), 1);
        close_manager(m);
    });
    QCOMPARE(tasks::manage_task_day, QStringLiteral("20240301"));
    QCOMPARE(tasks::manage_task_row, 1);
    const std::string id = id_of_first_task("20240301");
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(tasks::manage_task_day, QStringLiteral("20240301"));
        QVERIFY(m.tree()->selectedItems().isEmpty());
        QVERIFY(m.grid()->is_empty());
        QVERIFY(m.buttons_enabled(false, false));
        close_manager(m);
    });
    QCOMPARE(id_of_first_task("20240301"), id);  // nothing was written
}

// A session that ends while the manager is open writes the manager's list;
// the day list, saved before the manager opened, is not written over the
// selected day the manager has changed.  The main window does not reach for
// the closed data file when the manager returns.
void TestScheduleManage::a_session_ending_under_the_manager_writes_its_list()
{
    WindowFixture f;
    auto w = open_with_tasks(f, QDate(2024, 2, 10),
                             {{"20240210", {{"A", open, "today"}}}, {"20240301", {{"B", open, "march"}}}});
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/02月/10日");
        m.add("added today");
        m.choose("2024年/03月/01日");
        m.add("added in march");
        w->winexit();
        QVERIFY(!tasks::schedule_changed);
        QCOMPARE(stored_on("20240301"), (std::vector<Task>{{"B", open, "march"}, {"A", open, "added in march"}}));
        QCOMPARE(stored_on("20240210"), (std::vector<Task>{{"A", open, "today"}, {"A", open, "added today"}}));
        // The close that ends the session writes again, and the data file
        // closes under the manager, which then closes without a word.
        m.button("bt_del")->click();
        w->close();
        QVERIFY(!app_database);
        close_manager(m);
    });
    QVERIFY(f.messages.isEmpty());
    TSQLiteDatabase file(f.folder() + "velkin.db");
    QCOMPARE(daydata::load_tasks(file, "20240301"), (std::vector<Task>{{"A", open, "added in march"}}));
}

QTEST_MAIN(TestScheduleManage)
#include "test_schedulemanage.moc"
