// The note manager opened from the note page's "管理": its tree of the days
// that have a note, the note of the day chosen, the write-back of a changed
// note on a change of node and at the close, the text box that takes no
// typing without a day, what a failed write keeps, and the note page
// brought up to date afterwards.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "modal_answer.h"
#include "modal_window.h"
#include "notehelpers.h"
#include "notes/notemanage.h"
#include "storage/daydata.h"
#include "tree_paths.h"
#include "uikit/datetree.h"

namespace {

struct Manager {
    QDialog& d;

    uikit::DateTree* tree() const { return child<uikit::DateTree>(&d, "RzTreeView1"); }
    QPlainTextEdit* memo() const { return child<QPlainTextEdit>(&d, "Memo1"); }
    QTreeWidgetItem* node(const QString& path) const { return testing::node_at(tree(), path); }
    void choose(const QString& path) const { testing::choose_node(tree(), path); }
    void close() const { child<QPushButton>(&d, "Button1")->click(); }
    // Types at the end of the text, as the user does.
    void type(const QString& text) const
    {
        memo()->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo(), text);
    }
};

void with_manager(TFRM_Date* w, const std::function<void(Manager&)>& answer)
{
    testing::with_modal_window([w] { child<QPushButton>(w, "Button9")->click(); },
                               [&](QDialog& d) {
                                   Manager m{d};
                                   answer(m);
                               });
}

const char* four_notes = "('20240210','today'), ('20240212','the twelfth'), ('20240301','march'),"
                         " ('20231231','last year')";

std::string note_id(const char* day)
{
    return app_database->query("SELECT min(ID) FROM vk_note WHERE sDate = ?", {std::string(day)}).field_text(0);
}

void fail_note_inserts()
{
    app_database->execute("CREATE TEMP TRIGGER no_insert BEFORE INSERT ON main.vk_note"
                          " BEGIN SELECT RAISE(ABORT, 'disk full'); END");
}
void heal_note_inserts() { app_database->execute("DROP TRIGGER no_insert"); }

}  // namespace

class TestNoteManage : public QObject {
    Q_OBJECT

private slots:
    void the_window_and_its_controls();
    void no_notes_give_an_empty_tree();
    void days_are_in_order_and_a_stored_date_that_is_no_day_gets_no_node();
    void the_text_box_takes_no_typing_without_a_day();

    void a_day_shows_its_note_and_leaving_it_unchanged_writes_nothing();
    void a_typed_note_is_written_trimmed_when_another_day_is_chosen();
    void an_emptied_note_loses_its_row_and_mark_at_once();
    void every_way_of_closing_writes_back();

    void a_failed_write_at_the_close_keeps_the_window_open();
    void a_failed_write_on_a_change_of_node_keeps_the_day_on_screen();
    void a_note_that_cannot_be_read_stays_read_only();
    void days_that_cannot_be_read_leave_the_manager_shut();

    void the_note_page_shows_the_manager_s_changes();
    void a_session_ending_under_the_manager_writes_its_note();
};

void TestNoteManage::the_window_and_its_controls()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(m.d.objectName(), QStringLiteral("frm_note_manage"));
        QCOMPARE(m.d.windowTitle(), QStringLiteral("备忘录管理"));
        QCOMPARE(m.d.size(), QSize(662, 479));
        QVERIFY(m.d.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(m.d.parentWidget(), w.get());
        QCOMPARE(m.tree()->geometry(), QRect(7, 8, 185, 431));
        QCOMPARE(m.memo()->geometry(), QRect(198, 8, 456, 431));
        auto* close = child<QPushButton>(&m.d, "Button1");
        QCOMPARE(close->geometry(), QRect(579, 446, 75, 25));
        QCOMPARE(close->text(), QStringLiteral("关闭"));
        QCOMPARE(m.memo()->font().family(), QStringLiteral("微软雅黑"));
        QCOMPARE(m.memo()->font().pointSize(), 9);
        QCOMPARE(m.memo()->palette().color(QPalette::Text), QColor(0x00, 0x40, 0x80));
        QCOMPARE(m.memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(m.tree()->indentation(), 23);
        QVERIFY(m.tree()->selectedItems().isEmpty());
        QVERIFY(!m.node("2024年")->isExpanded());
        QCOMPARE(m.memo()->toPlainText(), QString());
        QVERIFY(m.memo()->isReadOnly());
        QCOMPARE(testing::controls_without_accessible_name(&m.d), QStringList());
        m.close();
    });
}

void TestNoteManage::no_notes_give_an_empty_tree()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(m.tree()->topLevelItemCount(), 0);
        QCOMPARE(m.memo()->toPlainText(), QString());
        m.close();
    });
    QVERIFY(f.messages.isEmpty());
}

// Rows written by other means: two rows of one day give one node, and a
// date that is no day gets none; the window opens all the same.
void TestNoteManage::days_are_in_order_and_a_stored_date_that_is_no_day_gets_no_node()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10),
                             "('20241201','december'), ('20240105','first'), ('20240105','second row'),"
                             " ('19011231','old'), ('2024-1-5','x'), ('20240230','x'), (NULL,'x'), ('','x'),"
                             " ('abcdefgh','x'), (20240131,'a number')");
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(testing::outline(m.tree()),
                 (QStringList{"1901年", " 12月", "  31日", "2024年", " 01月", "  05日", "  31日", " 12月", "  01日"}));
        m.choose("2024年/01月/05日");
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("first"));
        m.choose("2024年/01月/31日");
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("a number"));
        m.close();
    });
    QVERIFY(f.messages.isEmpty());
}

// Nothing typed can land on a day that is not on screen: manage_note_day
// still names the day of an earlier opening.
void TestNoteManage::the_text_box_takes_no_typing_without_a_day()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/02月/12日");
        m.close();
    });
    QCOMPARE(notes::manage_note_day, QStringLiteral("20240212"));
    const std::string id = note_id("20240212");
    with_manager(w.get(), [&](Manager& m) {
        QVERIFY(!notes::note_modified);
        m.type("at the opening");
        QCOMPARE(m.memo()->toPlainText(), QString());
        m.choose("2024年/03月/01日");
        m.type(" more");
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("march more"));
        QVERIFY(!m.memo()->isReadOnly());
        m.choose("2024年/03月");  // writes 1 March, then shows nothing
        QCOMPARE(m.memo()->toPlainText(), QString());
        QVERIFY(m.memo()->isReadOnly());
        m.type("after a month");
        m.choose("2023年");
        m.type("after a year");
        QCOMPARE(m.memo()->toPlainText(), QString());
        QVERIFY(!notes::note_modified);
        m.close();
    });
    QCOMPARE(notes::manage_note_day, QStringLiteral("20240301"));
    QCOMPARE(stored_notes("20240301"), QStringList{"march more"});
    QCOMPARE(note_id("20240212"), id);
    QCOMPARE(stored_notes("20240212"), QStringList{"the twelfth"});
}

void TestNoteManage::a_day_shows_its_note_and_leaving_it_unchanged_writes_nothing()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    const std::string id = note_id("20240212");
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/02月/12日");
        QCOMPARE(notes::manage_note_day, QStringLiteral("20240212"));
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("the twelfth"));
        QVERIFY(!notes::note_modified);
        QVERIFY(!m.memo()->isReadOnly());
        m.choose("2024年/02月/12日");  // the node already chosen: no change
        m.choose("2024年/02月/10日");
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("today"));
        m.close();
    });
    QCOMPARE(note_id("20240212"), id);
    QVERIFY(f.messages.isEmpty());
}

void TestNoteManage::a_typed_note_is_written_trimmed_when_another_day_is_chosen()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        m.memo()->selectAll();
        QTest::keyClick(m.memo(), Qt::Key_Return);
        m.type("  line one");
        QTest::keyClick(m.memo(), Qt::Key_Return);
        m.type("line \"two\"  ");
        QTest::keyClick(m.memo(), Qt::Key_Return);
        QVERIFY(notes::note_modified);
        QCOMPARE(stored_notes("20240301"), QStringList{"march"});
        m.choose("2024年/02月/12日");
        QCOMPARE(stored_notes("20240301"), QStringList{"line one\r\nline \"two\""});
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("the twelfth"));
        QVERIFY(!notes::note_modified);
        m.choose("2024年/03月/01日");
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("line one\nline \"two\""));
        m.close();
    });
}

// The month view follows each write at once, while the manager is open;
// the emptied day keeps its node until the next opening.
void TestNoteManage::an_emptied_note_loses_its_row_and_mark_at_once()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    QVERIFY(note_mark_shown(w.get(), 12));
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/02月/12日");
        m.memo()->selectAll();
        QTest::keyClick(m.memo(), Qt::Key_Delete);
        m.type(" \t ");
        m.choose("2024年/02月");
        QVERIFY(stored_notes("20240212").isEmpty());
        QVERIFY(!note_mark_shown(w.get(), 12));
        m.choose("2024年/02月/12日");
        QCOMPARE(m.memo()->toPlainText(), QString());
        QVERIFY(!m.memo()->isReadOnly());
        m.close();
    });
    with_manager(w.get(), [&](Manager& m) {
        QCOMPARE(m.node("2024年/02月/12日"), nullptr);
        m.close();
    });
}

void TestNoteManage::every_way_of_closing_writes_back()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    const std::vector<std::pair<QString, std::function<void(Manager&)>>> ways{
        {"by 关闭", [](Manager& m) { m.close(); }},
        {"by the close box", [](Manager& m) { m.d.close(); }},
        {"by Escape", [](Manager& m) { QTest::keyClick(&m.d, Qt::Key_Escape); }},
    };
    for (const auto& [way, close] : ways) {
        with_manager(w.get(), [&](Manager& m) {
            m.choose("2024年/03月/01日");
            m.memo()->setPlainText(way);
            close(m);
        });
        QCOMPARE(stored_notes("20240301"), QStringList{way});
        QVERIFY(!notes::note_modified);
    }
    QVERIFY(f.messages.isEmpty());
}

void TestNoteManage::a_failed_write_at_the_close_keeps_the_window_open()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        m.type(", typed");
        fail_note_inserts();
        m.close();
        QCOMPARE(f.messages.size(), 1);
        QVERIFY2(f.messages.first().contains("disk full"), qPrintable(f.messages.first()));
        QVERIFY(m.d.isVisible());
        QVERIFY(notes::note_modified);
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("march, typed"));
        QCOMPARE(stored_notes("20240301"), QStringList{"march"});
        m.d.close();  // the close box tries again
        QCOMPARE(f.messages.size(), 2);
        QVERIFY(m.d.isVisible());
        heal_note_inserts();
        m.close();
    });
    QCOMPARE(stored_notes("20240301"), QStringList{"march, typed"});
}

void TestNoteManage::a_failed_write_on_a_change_of_node_keeps_the_day_on_screen()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        m.type(", typed");
        fail_note_inserts();
        m.choose("2024年/02月");
        QCOMPARE(f.messages.size(), 1);
        QCoreApplication::processEvents();  // the tree goes back once the click is over
        QCOMPARE(m.tree()->currentItem(), m.node("2024年/03月/01日"));
        QCOMPARE(m.tree()->selectedItems(), QList<QTreeWidgetItem*>{m.node("2024年/03月/01日")});
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("march, typed"));
        QCOMPARE(notes::manage_note_day, QStringLiteral("20240301"));
        QVERIFY(notes::note_modified);
        QVERIFY(!m.memo()->isReadOnly());
        heal_note_inserts();
        m.choose("2024年/02月/12日");
        QCOMPARE(m.memo()->toPlainText(), QStringLiteral("the twelfth"));
        m.close();
    });
    QCOMPARE(stored_notes("20240301"), QStringList{"march, typed"});
}

void TestNoteManage::a_note_that_cannot_be_read_stays_read_only()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    app_database->execute("ALTER TABLE vk_note RENAME TO stored_notes");
    app_database->execute("CREATE VIEW vk_note AS SELECT ID, sDate,"
                          " CASE WHEN sDate = '20240301' THEN json('{') ELSE sNote END AS sNote FROM stored_notes");
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        QCOMPARE(f.messages.size(), 1);
        QVERIFY(m.memo()->isReadOnly());
        m.type("over it");
        QCOMPARE(m.memo()->toPlainText(), QString());
        m.choose("2024年/02月/12日");
        QVERIFY(!m.memo()->isReadOnly());
        m.close();
    });
    QCOMPARE(app_database->query("SELECT sNote FROM stored_notes WHERE sDate = '20240301'").field_text(0),
             std::string("march"));
}

void TestNoteManage::days_that_cannot_be_read_leave_the_manager_shut()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    app_database->execute("CREATE TEMP VIEW vk_note AS SELECT json('{') AS sDate");
    QStringList opened;
    uikit::set_modal_hook([&](QDialog& d) {
        opened << d.objectName();
        return int(QDialog::Rejected);
    });
    child<QPushButton>(w.get(), "Button9")->click();
    uikit::set_modal_hook({});
    QVERIFY(opened.isEmpty());
    QVERIFY(!f.messages.isEmpty());
    QVERIFY2(f.messages.first().contains("JSON"), qPrintable(f.messages.first()));
    app_database->execute("DROP VIEW temp.vk_note");
}

void TestNoteManage::the_note_page_shows_the_manager_s_changes()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/02月/10日");
        m.memo()->setPlainText("\n  today, changed  \n");
        m.choose("2024年/02月/12日");
        m.memo()->clear();
        m.close();
    });
    QCOMPARE(note_memo(w.get())->toPlainText(), QStringLiteral("today, changed"));
    QVERIFY(note_mark_shown(w.get(), 10));
    QVERIFY(!note_mark_shown(w.get(), 12));
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240210"));
    QVERIFY(f.messages.isEmpty());
}

// A session that ends while the manager is open writes its note, and the
// main window does not reach for the closed data file afterwards.
void TestNoteManage::a_session_ending_under_the_manager_writes_its_note()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 2, 10), four_notes);
    with_manager(w.get(), [&](Manager& m) {
        m.choose("2024年/03月/01日");
        m.type(" at the end");
        w->winexit();
        QCOMPARE(stored_notes("20240301"), QStringList{"march at the end"});
        QVERIFY(!notes::note_modified);
        m.type(", closing");
        w->close();
        QVERIFY(!app_database);
        m.close();
    });
    QVERIFY(f.messages.isEmpty());
    TSQLiteDatabase file(f.folder() + "velkin.db");
    QCOMPARE(daydata::load_note(file, "20240301"), std::optional<std::string>("march at the end, closing"));
}

QTEST_MAIN(TestNoteManage)
#include "test_notemanage.moc"
