// The anniversary list window and the reminders, offscreen, each case in a
// fresh program folder with its own data file and a clock of its own.
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "anniversaries/anniversary.h"
#include "anniversaries/datehint.h"
#include "anniversaries/reminders.h"
#include "controls.h"
#include "modal_answer.h"
#include "program_folder_fixture.h"
#include "storage/datafile.h"
#include "storage/daydata.h"
#include "uikit/hintmessage.h"
#include "uikit/messagebox.h"
#include "uikit/modal.h"

using anniversaries::Entry;
using daydata::Anniversary;

namespace {

const char* const on = "开启";
const char* const off = "关闭";

TSQLiteDatabase& db() { return *app_database; }

void store(const std::vector<Anniversary>& rows) { daydata::replace_anniversaries(db(), rows); }
std::vector<Anniversary> stored() { return daydata::load_anniversaries(db()); }

// Makes the second insert into vk_jnr fail, as a full disk would.
void fail_second_insert()
{
    db().execute("CREATE TEMP TABLE inserts (n INTEGER)");
    db().execute("CREATE TEMP TRIGGER fail_second BEFORE INSERT ON main.vk_jnr"
                 " BEGIN INSERT INTO inserts VALUES (1);"
                 " SELECT RAISE(ABORT, 'disk full') WHERE (SELECT count(*) FROM inserts) = 2; END");
}

// The open list window, through its controls.
struct ListWindow {
    QDialog& w;

    template <typename T>
    T* get(const char* name) const
    {
        return child<T>(&w, name);
    }
    QTableWidget* grid() const { return get<QTableWidget>("RzStringGrid1"); }
    QDateEdit* date() const { return get<QDateEdit>("RzDateTimePicker1"); }
    QSpinBox* days() const { return get<QSpinBox>("RzSpinEdit1"); }
    QComboBox* state() const { return get<QComboBox>("RzComboBox1"); }
    QPlainTextEdit* memo() const { return get<QPlainTextEdit>("RzMemo1"); }
    void click(const char* button) const { get<QPushButton>(button)->click(); }
    bool enabled(const char* button) const { return get<QPushButton>(button)->isEnabled(); }

    // The rows of the grid, each as "date|days|state|description".
    QStringList rows() const
    {
        QStringList all;
        for (int r = 0; r < grid()->rowCount(); ++r) {
            QStringList cells;
            for (int c = 1; c <= 4; ++c)
                cells << (grid()->item(r, c) ? grid()->item(r, c)->text() : QString());
            all << cells.join(QLatin1Char('|'));
        }
        return all;
    }

    // Fills the editors as a user would, typing the days.
    void fill(QDate d, const QString& days_typed, const char* state_text, const QString& description) const
    {
        date()->setDate(d);
        days()->selectAll();
        QTest::keyClicks(days(), days_typed);
        state()->setCurrentText(QString::fromUtf8(state_text));
        memo()->setPlainText(description);
    }
    void add(QDate d, const QString& days_typed, const char* state_text, const QString& description) const
    {
        fill(d, days_typed, state_text, description);
        click("Button3");
    }
    void select(int row) const { grid()->setCurrentCell(row, 1); }
};

QString row(const char* date, const char* days, const char* state, const QString& description)
{
    return QString::fromUtf8(date) + '|' + days + '|' + QString::fromUtf8(state) + '|' + description;
}

// Records the reminder windows in the order they are shown.
class ShownReminders : public QObject {
public:
    QList<QPointer<uikit::HintMessage>> windows;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && o->objectName() == QLatin1String("frm_datehintmess"))
            if (auto* hint = qobject_cast<uikit::HintMessage*>(o); hint && !windows.contains(hint))
                windows << hint;
        return false;
    }
};
ShownReminders* shown_reminders = nullptr;

// The reminder windows on screen, the oldest first.
QList<uikit::HintMessage*> reminder_windows()
{
    QList<uikit::HintMessage*> open;
    for (const QPointer<uikit::HintMessage>& w : shown_reminders->windows)
        if (w && w->isVisible())
            open << w;
    return open;
}

QStringList reminder_texts()
{
    QStringList texts;
    for (uikit::HintMessage* w : reminder_windows())
        texts << w->findChild<QLabel*>(QStringLiteral("RzLabel1"))->text();
    return texts;
}

void close_reminder_windows()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frm_datehintmess"))
            delete w;
}

QTimer* date_timer(anniversaries::Reminders& r) { return r.findChild<QTimer*>(QStringLiteral("Timer_datecheck")); }

void tick(QTimer* timer) { QVERIFY(QMetaObject::invokeMethod(timer, "timeout")); }

}  // namespace

class TestAnniversaries : public QObject {
    Q_OBJECT

    ProgramFolderFixture folder_;
    QStringList messages_;
    ShownReminders shown_;

    // Opens the window for `today` and hands it to `act`, which answers it;
    // returns the window's result.
    int open_list(QDate today, const std::function<void(ListWindow)>& act)
    {
        int result = -1;
        uikit::set_modal_hook([&](QDialog& dialog) {
            act(ListWindow{dialog});
            result = dialog.result();
            return result;
        });
        anniversaries::show_datehint(nullptr, today);
        uikit::set_modal_hook({});
        if (result < 0)
            QTest::qFail("the anniversary window did not open", __FILE__, __LINE__);
        return result;
    }

private slots:
    void initTestCase()
    {
        shown_reminders = &shown_;
        qApp->installEventFilter(&shown_);
    }
    void init()
    {
        folder_.enter();
        open_data_file();
        messages_.clear();
        uikit::set_message_box_hook([this](const uikit::MessageBoxRequest& r) {
            messages_ << r.text;
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        uikit::set_message_box_hook({});
        uikit::set_modal_hook({});
        close_reminder_windows();
        shown_.windows.clear();
        app_database.reset();
        folder_.leave();
    }

    void the_window_as_it_opens_on_an_empty_table();
    void add_change_and_delete_in_the_list();
    void only_the_confirm_button_writes();
    void days_are_stored_with_two_digits();
    void hostile_descriptions_round_trip();
    void a_failed_write_keeps_the_table_and_the_list();
    void unreadable_rows_open_listed_as_stored();

    void dates_and_days_are_read_strictly();
    void the_reminder_day_data();
    void the_reminder_day();
    void the_reminder_day_over_the_whole_calendar();

    void reminders_of_the_day();
    void unreadable_rows_are_skipped_and_named_once();
    void due_tomorrow_is_announced_after_midnight_once();
    void a_failing_query_shows_its_error_and_nothing_else();
};

// ---------------------------------------------------------------- the list window

void TestAnniversaries::the_window_as_it_opens_on_an_empty_table()
{
    const QDate today(2024, 2, 29);
    open_list(today, [&](ListWindow l) {
        QCOMPARE(l.w.objectName(), QStringLiteral("frm_datehint"));
        QCOMPARE(l.w.windowTitle(), QStringLiteral("纪念日提醒"));
        QCOMPARE(l.w.size(), QSize(563, 397));
        QVERIFY(l.w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!l.w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        l.w.show();  // the grid lays out its headers when shown
        QCoreApplication::processEvents();
        const QStringList unnamed = testing::controls_without_accessible_name(&l.w);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));

        // The grid: a fixed empty column, four headers, one blank row.
        QCOMPARE(l.grid()->columnCount(), 5);
        QStringList headers;
        QList<int> widths;
        for (int c = 0; c < 5; ++c) {
            headers << l.grid()->horizontalHeaderItem(c)->text();
            widths << l.grid()->columnWidth(c);
        }
        QCOMPARE(headers, (QStringList{"", "纪念日", "提前提醒天数", "状态", "纪念日说明"}));
        QCOMPARE(widths, (QList<int>{10, 81, 80, 51, 296}));
        QCOMPARE(l.grid()->horizontalHeader()->sectionResizeMode(2), QHeaderView::Interactive);
        QCOMPARE(l.grid()->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(l.rows(), QStringList{"|||"});
        QCOMPARE(l.grid()->geometry(), QRect(8, 28, 547, 208));

        // The editors: today's date, 3 days, "开启", no description.
        QCOMPARE(l.date()->date(), today);
        QCOMPARE(l.date()->displayFormat(), QStringLiteral("yyyy-MM-dd"));
        QVERIFY(l.date()->calendarPopup());
        QCOMPARE(l.date()->calendarWidget()->dateTextFormat(today).fontWeight(), int(QFont::Bold));
        QCOMPARE(l.date()->calendarWidget()->dateTextFormat(today.addDays(1)).fontWeight(), int(QFont::Normal));
        QCOMPARE(l.days()->value(), 3);
        QCOMPARE(l.days()->minimum(), 1);
        QCOMPARE(l.days()->maximum(), 99);
        QCOMPARE(l.state()->currentText(), QStringLiteral("开启"));
        QCOMPARE(l.state()->count(), 2);
        QCOMPARE(l.state()->itemText(1), QStringLiteral("关闭"));
        QVERIFY(!l.state()->isEditable());
        QVERIFY(l.memo()->toPlainText().isEmpty());

        QStringList captions;
        for (const char* b : {"Button3", "bt_edit", "bt_del", "Button1", "Button2"})
            captions << l.get<QPushButton>(b)->text();
        QCOMPARE(captions, (QStringList{"增加(&A)", "修改(&E)", "删除(&D)", "确定(&S)", "取消"}));
        QCOMPARE(l.get<QPushButton>("Button1")->geometry(), QRect(394, 359, 75, 25));
        QVERIFY(!l.enabled("bt_edit") && !l.enabled("bt_del"));

        // The first 增加 enables 修改 and 删除.
        l.add(QDate(2024, 3, 10), "3", on, "生日");
        QVERIFY(l.enabled("bt_edit") && l.enabled("bt_del"));
    });
    QVERIFY(messages_.isEmpty());
}

void TestAnniversaries::add_change_and_delete_in_the_list()
{
    open_list(QDate(2024, 5, 1), [&](ListWindow l) {
        // An empty description is refused, blanks and line breaks too.
        l.w.show();
        QApplication::setActiveWindow(&l.w);
        for (const QString& blank : {QString(), QStringLiteral(" \n\t\u3000 ")}) {
            l.get<QPushButton>("Button3")->setFocus();
            l.add(QDate(2024, 5, 20), "7", on, blank);
            QVERIFY(l.memo()->hasFocus());
        }
        QCOMPARE(messages_, QStringList(2, QStringLiteral("纪念日说明不能为空！")));
        QCOMPARE(l.rows(), QStringList{"|||"});
        QVERIFY(!l.enabled("bt_edit"));

        // Added at the end, trimmed at both ends, inner line break kept.
        l.add(QDate(2024, 5, 20), "5", off, QStringLiteral("  生日\n快乐 \n"));
        QVERIFY(l.memo()->toPlainText().isEmpty());
        l.add(QDate(2024, 5, 20), "5", off, QStringLiteral("生日\n快乐"));
        l.add(QDate(2024, 12, 31), "12", on, QStringLiteral("年终"));
        QCOMPARE(l.rows(),
                 (QStringList{row("2024-05-20", "5", off, "生日\n快乐"), row("2024-05-20", "5", off, "生日\n快乐"),
                              row("2024-12-31", "12", on, "年终")}));
        QCOMPARE(l.grid()->currentRow(), 0);  // adding does not move the current row

        // Choosing a row loads it into the editors; 修改 changes that row.
        l.select(2);
        QCOMPARE(l.date()->date(), QDate(2024, 12, 31));
        QCOMPARE(l.days()->value(), 12);
        QCOMPARE(l.state()->currentText(), QStringLiteral("开启"));
        QCOMPARE(l.memo()->toPlainText(), QStringLiteral("年终"));
        l.fill(QDate(2025, 1, 1), "99", off, QStringLiteral(" 元旦 "));
        l.click("bt_edit");
        QCOMPARE(l.rows().at(2), row("2025-01-01", "99", off, "元旦"));
        QCOMPARE(l.memo()->toPlainText(), QStringLiteral(" 元旦 "));  // the box keeps its text
        l.fill(QDate(2026, 1, 1), "1", on, QStringLiteral(" \n "));
        l.click("bt_edit");
        QCOMPARE(messages_.size(), 3);
        QCOMPARE(l.rows().at(2), row("2025-01-01", "99", off, "元旦"));
        l.select(0);
        QCOMPARE(l.memo()->toPlainText(), QStringLiteral("生日\n快乐"));

        // 删除 removes the current row without asking; the last one empties
        // the list and disables 修改 and 删除.
        l.select(1);
        l.click("bt_del");
        QCOMPARE(l.rows(),
                 (QStringList{row("2024-05-20", "5", off, "生日\n快乐"), row("2025-01-01", "99", off, "元旦")}));
        l.click("bt_del");
        l.click("bt_del");
        QCOMPARE(l.rows(), QStringList{"|||"});
        QVERIFY(!l.enabled("bt_edit") && !l.enabled("bt_del"));

        // The emptied list takes a new entry in its first row.
        l.add(QDate(2024, 6, 1), "1", on, QStringLiteral("新"));
        QCOMPARE(l.rows(), QStringList{row("2024-06-01", "1", on, "新")});
        l.click("Button1");
    });
    QCOMPARE(stored(), (std::vector<Anniversary>{{"2024-06-01", "01", on, "新"}}));
    QCOMPARE(messages_.size(), 3);
}

void TestAnniversaries::only_the_confirm_button_writes()
{
    const std::vector<Anniversary> before{{"2024-03-10", "03", on, "甲"}, {"2024-03-10", "03", on, "甲"}};
    store(before);
    const auto change_a_lot = [](ListWindow l) {
        QVERIFY(l.enabled("bt_edit") && l.enabled("bt_del"));
        QCOMPARE(l.rows().size(), 2);  // equal rows are both kept
        l.add(QDate(2030, 1, 1), "9", on, QStringLiteral("乙"));
        l.select(0);
        l.click("bt_del");
        l.fill(QDate(2031, 1, 1), "1", off, QStringLiteral("丙"));
        l.click("bt_edit");
    };
    QCOMPARE(open_list(QDate(2024, 3, 1),
                       [&](ListWindow l) {
                           change_a_lot(l);
                           l.click("Button2");
                           QCOMPARE(l.w.result(), int(QDialog::Rejected));
                       }),
             int(QDialog::Rejected));
    QCOMPARE(stored(), before);
    open_list(QDate(2024, 3, 1), [&](ListWindow l) {
        change_a_lot(l);
        l.w.close();  // the close box
        QCOMPARE(l.w.result(), int(QDialog::Rejected));
    });
    QCOMPARE(stored(), before);

    // 确定 on an emptied list empties the table.
    open_list(QDate(2024, 3, 1), [&](ListWindow l) {
        l.click("bt_del");
        l.click("bt_del");
        l.click("Button1");
        QCOMPARE(l.w.result(), int(QDialog::Accepted));
    });
    QVERIFY(stored().empty());
}

void TestAnniversaries::days_are_stored_with_two_digits()
{
    open_list(QDate(2024, 3, 1), [&](ListWindow l) {
        l.add(QDate(2024, 3, 10), "5", on, QStringLiteral("五"));
        l.add(QDate(2024, 3, 10), "30", on, QStringLiteral("三十"));
        // Typing past the range is held to it: the spin box refuses a third
        // digit and a 0 alone.
        l.add(QDate(2024, 3, 10), "150", on, QStringLiteral("上限"));
        l.add(QDate(2024, 3, 10), "0", on, QStringLiteral("下限"));
        QCOMPARE(l.rows().at(0), row("2024-03-10", "5", on, "五"));
        l.click("Button1");
    });
    const std::vector<Anniversary> rows = stored();
    QCOMPARE(rows.size(), std::size_t(4));
    QCOMPARE(rows[0].days, std::string("05"));
    QCOMPARE(rows[1].days, std::string("30"));
    for (const Anniversary& a : rows) {
        const int days = std::stoi(a.days);
        QVERIFY2(days >= 1 && days <= 99 && a.days.size() == 2, a.days.c_str());
    }
    open_list(QDate(2024, 3, 1), [&](ListWindow l) {
        QCOMPARE(l.rows().at(0), row("2024-03-10", "05", on, "五"));
        QCOMPARE(l.days()->value(), 5);
    });
}

void TestAnniversaries::hostile_descriptions_round_trip()
{
    const QStringList texts{QStringLiteral("say \"hi\""),
                            QStringLiteral("it's"),
                            QStringLiteral("a; DROP TABLE vk_jnr; --"),
                            QStringLiteral("-- \"); delete from vk_jnr; --"),
                            QStringLiteral("第一行\n第二行\n\n第三行"),
                            QStringLiteral("emoji \U0001F600"),
                            QString(2000, QLatin1Char('x'))};
    open_list(QDate(2024, 3, 1), [&](ListWindow l) {
        for (const QString& t : texts)
            l.add(QDate(2024, 3, 10), "3", on, QLatin1Char(' ') + t + QLatin1Char('\n'));
        l.click("Button1");
    });
    std::vector<Anniversary> rows = stored();
    QCOMPARE(rows.size(), std::size_t(texts.size()));
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(QString::fromStdString(rows[std::size_t(i)].description), texts[i]);
    // Rows written elsewhere, with Windows line breaks and blanks around,
    // go through the window as they are.
    rows.push_back({"2024-03-10", "03", on, " 第一行\r\n第二行 "});
    store(rows);
    open_list(QDate(2024, 3, 1), [&](ListWindow l) {
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(l.grid()->item(i, 4)->text(), texts[i]);
        l.click("Button1");  // written again unchanged
    });
    QCOMPARE(stored(), rows);
}

void TestAnniversaries::a_failed_write_keeps_the_table_and_the_list()
{
    const std::vector<Anniversary> before{{"2024-03-10", "03", on, "旧"}};
    store(before);
    fail_second_insert();
    open_list(QDate(2024, 3, 1), [&](ListWindow l) {
        l.add(QDate(2024, 4, 1), "4", on, QStringLiteral("新一"));
        l.add(QDate(2024, 4, 2), "5", off, QStringLiteral("新二"));
        const QStringList list = l.rows();
        l.click("Button1");
        QCOMPARE(l.w.result(), int(QDialog::Rejected));  // still open
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_.first().contains(QStringLiteral("disk full")), qPrintable(messages_.first()));
        QCOMPARE(l.rows(), list);
        QCOMPARE(stored(), before);

        // Once the disk has room again, the same window writes its list.
        db().execute("DROP TRIGGER fail_second");
        l.click("Button1");
        QCOMPARE(l.w.result(), int(QDialog::Accepted));
    });
    QCOMPARE(stored(),
             (std::vector<Anniversary>{
                 {"2024-03-10", "03", on, "旧"}, {"2024-04-01", "04", on, "新一"}, {"2024-04-02", "05", off, "新二"}}));
}

void TestAnniversaries::unreadable_rows_open_listed_as_stored()
{
    // Rows written by other means.
    const std::vector<Anniversary> rows{{"2024-02-30", "03", on, "二月三十"},
                                        {"abc", "03", off, "乱码"},
                                        {"2024-06-01", "x", on, "坏天数"},
                                        {"", "03", on, "无日期"},
                                        {"2024-06-10", "07", off, "好"}};
    store(rows);
    open_list(QDate(2024, 3, 1), [&](ListWindow l) {
        // One message, before the window, naming the four rows.
        QCOMPARE(messages_.size(), 1);
        for (const char* named : {"2024-02-30", "abc", "坏天数", "无日期"})
            QVERIFY2(messages_.first().contains(QString::fromUtf8(named)), named);
        QVERIFY(!messages_.first().contains(QStringLiteral("“好”")));
        QCOMPARE(l.rows().size(), 5);
        QCOMPARE(l.rows().at(0), row("2024-02-30", "03", on, "二月三十"));
        QCOMPARE(l.rows().at(2), row("2024-06-01", "x", on, "坏天数"));
        QCOMPARE(l.rows().at(3), row("", "03", on, "无日期"));
        QVERIFY(l.enabled("bt_edit"));
        // The current row cannot be read: the editors keep their first values.
        QCOMPARE(l.date()->date(), QDate(2024, 3, 1));
        QVERIFY(l.memo()->toPlainText().isEmpty());

        l.select(4);
        QCOMPARE(l.memo()->toPlainText(), QStringLiteral("好"));
        l.select(2);  // the editors keep the good row
        QCOMPARE(l.date()->date(), QDate(2024, 6, 10));
        QCOMPARE(l.memo()->toPlainText(), QStringLiteral("好"));
        l.click("Button1");
    });
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(stored(), rows);  // written back as they were, "x" not made "0x"
}

// ---------------------------------------------------------------- reading and the reminder day

void TestAnniversaries::dates_and_days_are_read_strictly()
{
    using anniversaries::parse_date;
    using anniversaries::parse_days;
    QCOMPARE(parse_date("2024-02-29"), std::optional<QDate>(QDate(2024, 2, 29)));
    QCOMPARE(parse_date("1901-01-01"), std::optional<QDate>(QDate(1901, 1, 1)));
    for (const char* bad : {"2023-02-29", "2024-02-30", "2024-13-01", "2024-00-10", "2024-2-05", "2024-02-5",
                            " 2024-02-05", "2024/02/05", "20240205", "abc", "", "2024-02-05x", "２０２４-02-05"})
        QVERIFY2(!parse_date(QString::fromUtf8(bad)), bad);
    QCOMPARE(parse_days("03"), std::optional<int>(3));
    QCOMPARE(parse_days("99"), std::optional<int>(99));
    QCOMPARE(parse_days(" 7 "), std::optional<int>(7));
    for (const char* bad : {"x", "", " ", "-3", "+3", "3.0", "0x1", "12345"})
        QVERIFY2(!parse_days(QString::fromUtf8(bad)), bad);
    QCOMPARE(anniversaries::stored_days("5"), QStringLiteral("05"));
    QCOMPARE(anniversaries::stored_days("05"), QStringLiteral("05"));
    QCOMPARE(anniversaries::stored_days("30"), QStringLiteral("30"));
    QCOMPARE(anniversaries::stored_days("x"), QStringLiteral("x"));
}

void TestAnniversaries::the_reminder_day_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QDate>("announced");
    const auto add = [](const char* name, const char* date, const char* days, QDate announced) {
        QTest::newRow(name) << QString::fromLatin1(date) << QString::fromLatin1(days) << announced;
    };
    add("3 days before the 10th", "2024-03-10", "03", QDate(2024, 3, 7));
    add("one digit as typed elsewhere", "2024-03-10", "3", QDate(2024, 3, 7));
    add("1 March, leap year", "2024-03-31", "30", QDate(2024, 3, 1));
    add("1 March, common year", "2023-03-31", "30", QDate(2023, 3, 1));
    add("across leap February", "2024-03-01", "01", QDate(2024, 2, 29));
    add("across common February", "2023-03-01", "01", QDate(2023, 2, 28));
    add("99 days across February, leap", "2024-05-01", "99", QDate(2024, 1, 23));
    add("99 days across February, common", "2023-05-01", "99", QDate(2023, 1, 22));
    add("into the year before", "2024-01-02", "05", QDate(2023, 12, 28));
}

void TestAnniversaries::the_reminder_day()
{
    QFETCH(QString, date);
    QFETCH(QString, days);
    QFETCH(QDate, announced);
    const Entry on_entry{date, days, QString::fromUtf8(on), QStringLiteral("生日")};
    const Entry off_entry{date, days, QString::fromUtf8(off), QStringLiteral("生日")};
    const std::vector<Entry> list{on_entry, off_entry};
    const anniversaries::DayCheck due = anniversaries::check_day(list, announced);
    QCOMPARE(due.due, std::vector<Entry>{on_entry});  // never one switched off
    QVERIFY(due.unreadable.empty());
    const int n = days.toInt();
    QCOMPARE(anniversaries::reminder_text(on_entry.description, n),
             QStringLiteral("今天距离【生日】还有%1天！").arg(n));
    // Not the day after, not the date itself, not a year later.
    const QDate stored_date = QDate::fromString(date, Qt::ISODate);
    for (QDate other : {announced.addDays(1), announced.addDays(-1), stored_date, announced.addYears(1)})
        QVERIFY2(anniversaries::check_day(list, other).due.empty(), qPrintable(other.toString(Qt::ISODate)));
}

// Every day from 1901 to 2050 with a short, a month's and the longest
// notice: the stored text of the date it counts back from leads to that
// day and to no other.
void TestAnniversaries::the_reminder_day_over_the_whole_calendar()
{
    for (QDate day(1901, 1, 1); day <= QDate(2050, 12, 31); day = day.addDays(1))
        for (int n : {1, 29, 99}) {
            const Entry e{day.addDays(n).toString("yyyy-MM-dd"), anniversaries::stored_days(QString::number(n)),
                          QString::fromUtf8(on), QStringLiteral("d")};
            if (anniversaries::reminder_day(e) != day)
                QFAIL(qPrintable(e.date + " " + e.days));
        }
}

// ---------------------------------------------------------------- reminders

void TestAnniversaries::reminders_of_the_day()
{
    const QDate today(2024, 3, 7);
    anniversaries::Reminders reminders([&] { return today; }, nullptr);
    reminders.check();  // an empty table shows nothing
    QVERIFY(reminder_windows().isEmpty());

    store({{"2024-03-10", "03", on, "甲"},
           {"2024-03-10", "03", off, "关掉的"},
           {"2024-03-11", "03", on, "不是今天"},
           {"2025-03-10", "03", on, "明年"},
           {"2024-03-17", "10", on, "乙"},
           {"2024-03-17", "10", on, "乙"}});
    reminders.check();
    QCOMPARE(reminder_texts(),
             (QStringList{"今天距离【甲】还有3天！", "今天距离【乙】还有10天！", "今天距离【乙】还有10天！"}));
    for (uikit::HintMessage* w : reminder_windows()) {
        QCOMPARE(w->windowTitle(), QStringLiteral("纪念日提醒"));
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowModality(), Qt::NonModal);
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }
    QVERIFY(!QApplication::activeModalWidget());

    // The same day again announces nothing twice, also after one is closed.
    reminder_windows().first()->close();
    reminders.check();
    QCOMPARE(reminder_texts().size(), 2);
    QVERIFY(messages_.isEmpty());
}

void TestAnniversaries::unreadable_rows_are_skipped_and_named_once()
{
    QDate today(2024, 3, 7);
    store({{"2024-02-30", "03", on, "二月三十"},
           {"2024-03-10", "03", on, "甲"},
           {"abc", "03", off, "关掉的乱码"},
           {"2024-03-10", "x", on, "坏天数"},
           {"2024-03-17", "10", on, "乙"},
           {"2024-03-11", "03", on, "明天"}});
    anniversaries::Reminders reminders([&] { return today; }, nullptr);
    reminders.check();
    QCOMPARE(reminder_texts(), (QStringList{"今天距离【甲】还有3天！", "今天距离【乙】还有10天！"}));
    QCOMPARE(messages_.size(), 1);
    for (const char* named : {"2024-02-30", "关掉的乱码", "坏天数"})
        QVERIFY2(messages_.first().contains(QString::fromUtf8(named)), named);
    QVERIFY(!messages_.first().contains(QStringLiteral("“甲”")));

    // The next day's check announces its own and does not name them again.
    today = today.addDays(1);
    reminders.check_date_change();
    QCOMPARE(reminder_texts().size(), 3);
    QCOMPARE(reminder_texts().last(), QStringLiteral("今天距离【明天】还有3天！"));
    QCOMPARE(messages_.size(), 1);
}

void TestAnniversaries::due_tomorrow_is_announced_after_midnight_once()
{
    QDate today(2024, 12, 31);
    store({{"2025-01-03", "02", on, "新年后"}});
    anniversaries::Reminders reminders([&] { return today; }, nullptr);
    QTimer* timer = date_timer(reminders);
    QVERIFY(timer && !timer->isActive());  // watching starts with the first check
    reminders.check();
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), anniversaries::Reminders::date_poll_ms);
    tick(timer);
    QVERIFY(reminder_windows().isEmpty());

    today = QDate(2025, 1, 1);  // past midnight
    tick(timer);
    QCOMPARE(reminder_texts(), QStringList{"今天距离【新年后】还有2天！"});
    tick(timer);
    reminders.check();
    QCOMPARE(reminder_texts().size(), 1);

    // A clock set back and forward again does not repeat the day's reminder.
    today = QDate(2024, 12, 31);
    tick(timer);
    today = QDate(2025, 1, 1);
    tick(timer);
    QCOMPARE(reminder_texts().size(), 1);
    QVERIFY(messages_.isEmpty());
}

void TestAnniversaries::a_failing_query_shows_its_error_and_nothing_else()
{
    const QDate today(2024, 3, 7);
    store({{"2024-03-10", "03", on, "甲"}});
    db().execute("ALTER TABLE vk_jnr RENAME TO vk_jnr_gone");
    anniversaries::Reminders reminders([&] { return today; }, nullptr);
    reminders.check();
    QVERIFY(reminder_windows().isEmpty());
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_.first().contains(QStringLiteral("vk_jnr")), qPrintable(messages_.first()));

    // The window does not open either; its error reaches the caller.
    uikit::set_modal_hook([](QDialog&) {
        QTest::qFail("the window opened", __FILE__, __LINE__);
        return 0;
    });
    QVERIFY_THROWS_EXCEPTION(ESQLiteException, anniversaries::show_datehint(nullptr, today));

    // With the data file closed at shutdown, a late check does nothing.
    app_database.reset();
    reminders.check();
    QVERIFY(reminder_windows().isEmpty());
    QCOMPARE(messages_.size(), 1);
}

QTEST_MAIN(TestAnniversaries)
#include "test_anniversaries.moc"
