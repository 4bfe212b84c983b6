// The note page of the main window offscreen: loading a day's note, the
// editor opened from it, the save of a confirmed note and the mark it
// leaves on the day, and what a failed save keeps.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "counting_host.h"
#include "modal_answer.h"
#include "notes/noteedit.h"
#include "notes/noteops.h"
#include "notes/notepage.h"
#include "uikit/dayhost.h"
#include "uikit/modal.h"
#include "notehelpers.h"
#include "windowfixture.h"

using testing::CountingHost;

namespace {

// The editor as the user answers it: `answer` sees it, and the opening
// returns what the editor was left with.
struct EditorAnswer {
    int openings = 0;
    QString shown_text;
    QString date_text;
    QString title_text;

    explicit EditorAnswer(std::function<void(QDialog&)> answer = {})
    {
        uikit::set_modal_hook([this, answer](QDialog& editor) {
            ++openings;
            shown_text = child<QPlainTextEdit>(&editor, "Memo1")->toPlainText();
            date_text = child<QLabel>(&editor, "Label1")->text();
            title_text = child<QLabel>(&editor, "Label2")->text();
            if (answer)
                answer(editor);
            return editor.result();
        });
    }
    ~EditorAnswer() { uikit::set_modal_hook({}); }
};

// The user presses "确定(&S)" without a change.
void press_ok(QDialog& editor) { child<QPushButton>(&editor, "Button1")->click(); }

// The user types `text` in place of the note and presses "确定(&S)".
std::function<void(QDialog&)> typed(const QString& text)
{
    return [text](QDialog& editor) {
        child<QPlainTextEdit>(&editor, "Memo1")->setPlainText(text);
        press_ok(editor);
    };
}

void edit_note(TFRM_Date* w, const QString& text)
{
    EditorAnswer answer(typed(text));
    note_page(w)->Memo_noteDblClick();
    QCOMPARE(answer.openings, 1);
}

}  // namespace

class TestNotePage : public QObject {
    Q_OBJECT

private slots:
    void page_look_and_controls();
    void page_loads_after_every_change_of_date();
    void two_rows_of_a_day_show_the_first_and_the_next_save_leaves_one();
    void loading_signals_a_change_only_for_a_note();

    void double_click_and_edit_button_open_the_editor();
    void editor_gets_the_page_text_and_the_date_cut_to_the_month();
    void confirmed_note_is_stored_trimmed_and_shown_as_typed();
    void blank_note_leaves_no_row_and_no_mark_data();
    void blank_note_leaves_no_row_and_no_mark();
    void confirming_without_a_change_rewrites_the_row();
    void cancelling_changes_nothing();
    void awkward_text_round_trips();
    void failing_insert_keeps_the_old_note_and_the_typed_text();
    void save_without_a_day_touches_no_row_but_redraws();
    void nothing_about_notes_is_written_at_a_date_change_or_shutdown();
    void the_note_survives_a_restart();
};

void TestNotePage::page_look_and_controls()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 3, 5));
    auto* tabs = child<QTabWidget>(w.get(), "RzPageControl_date");
    tabs->setCurrentWidget(child<QWidget>(w.get(), "TabSheet6"));
    QCOMPARE(note_page(w.get())->parentWidget(), child<QWidget>(w.get(), "TabSheet6"));

    QPlainTextEdit* memo = note_memo(w.get());
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->frameShape(), QFrame::NoFrame);
    QCOMPARE(memo->toolTip(), QStringLiteral("双击编辑"));
    QCOMPARE(memo->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xCA));
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(0x00, 0x40, 0x80));
    QCOMPARE(memo->font().family(), QStringLiteral("微软雅黑"));
    QCOMPARE(memo->font().pointSize(), 9);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    auto* panel = child<QWidget>(w.get(), "Panel10");
    QCOMPARE(panel->height(), 34);
    QCOMPARE(panel->geometry().bottom(), note_page(w.get())->rect().bottom());
    QCOMPARE(memo->geometry().bottom() + 1, panel->geometry().top());
    auto* edit = child<QPushButton>(panel, "Button1");
    auto* manage = child<QPushButton>(panel, "Button9");
    QCOMPARE(edit->text(), QStringLiteral("编辑(&E)"));
    QCOMPARE(edit->geometry(), QRect(6, 4, 55, 25));
    QCOMPARE(manage->text(), QStringLiteral("管理"));
    QCOMPARE(manage->geometry(), QRect(67, 4, 55, 25));

    const QStringList unnamed = testing::controls_without_accessible_name(w.get());
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));

    // "管理" asks for the note manager, which the main window opens.
    QSignalSpy manager(note_page(w.get()), &notes::NotePage::note_manager_requested);
    QStringList opened;
    uikit::set_modal_hook([&opened](QDialog& window) {
        opened << window.objectName();
        return int(QDialog::Rejected);
    });
    manage->click();
    uikit::set_modal_hook({});
    QCOMPARE(manager.count(), 1);
    QCOMPARE(opened, QStringList{"frm_note_manage"});
}

void TestNotePage::page_loads_after_every_change_of_date()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 3, 5), "('20240305','March'),('20240405','April')");
    QCOMPARE(note_memo(w.get())->toPlainText(), QStringLiteral("March"));
    QVERIFY(note_mark_shown(w.get(), 5));

    child<QToolButton>(w.get(), "sb_date_right")->click();
    QCOMPARE(w->sel_daykey(), QStringLiteral("20240405"));
    QCOMPARE(note_memo(w.get())->toPlainText(), QStringLiteral("April"));

    // A day without a row shows an empty page.
    child<QToolButton>(w.get(), "sb_date_right")->click();
    QCOMPARE(note_memo(w.get())->toPlainText(), QString());

    QTest::mouseClick(child<QLabel>(w.get(), "lb_today"), Qt::LeftButton);
    QCOMPARE(note_memo(w.get())->toPlainText(), QStringLiteral("March"));
}

void TestNotePage::two_rows_of_a_day_show_the_first_and_the_next_save_leaves_one()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 3, 5), "('20240305','first'),('20240305','second')");
    QCOMPARE(note_memo(w.get())->toPlainText(), QStringLiteral("first"));
    edit_note(w.get(), QStringLiteral("only"));
    QCOMPARE(stored_notes("20240305"), QStringList{"only"});
}

void TestNotePage::loading_signals_a_change_only_for_a_note()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 3, 1), "('20240305','note'),('20240306',NULL)");
    QPlainTextEdit memo;
    memo.setPlainText(QStringLiteral("old"));
    QSignalSpy changed(&memo, &QPlainTextEdit::textChanged);
    notes::load_note(&memo, QStringLiteral("20240301"));  // no row: emptied quietly
    QCOMPARE(memo.toPlainText(), QString());
    QCOMPARE(changed.count(), 0);
    notes::load_note(&memo, QStringLiteral("20240306"));  // a NULL note is an empty one
    QCOMPARE(changed.count(), 0);
    notes::load_note(&memo, QStringLiteral("20240305"));
    QCOMPARE(memo.toPlainText(), QStringLiteral("note"));
    QVERIFY(changed.count() >= 1);

    // A load that fails after emptying leaves the memo empty.
    app_database->execute("DROP TABLE vk_note");
    QVERIFY_THROWS_EXCEPTION(ESQLiteException, notes::load_note(&memo, QStringLiteral("20240305")));
    QCOMPARE(memo.toPlainText(), QString());
}

void TestNotePage::double_click_and_edit_button_open_the_editor()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 3, 5));
    child<QTabWidget>(w.get(), "RzPageControl_date")->setCurrentWidget(child<QWidget>(w.get(), "TabSheet6"));
    EditorAnswer answer;
    QWidget* text_area = note_memo(w.get())->viewport();
    QTest::mouseDClick(text_area, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(answer.openings, 1);
    QTest::mouseDClick(text_area, Qt::RightButton, {}, QPoint(20, 20));
    QCOMPARE(answer.openings, 1);
    child<QPushButton>(w.get(), "Button1")->click();
    QCOMPARE(answer.openings, 2);
    QCOMPARE(answer.title_text, QStringLiteral("Velkin备忘录"));
    QCOMPARE(answer.date_text, QStringLiteral("2024-03-05"));
}

void TestNotePage::editor_gets_the_page_text_and_the_date_cut_to_the_month()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 1, 31));
    // Text typed earlier and not yet trimmed is what the editor starts from.
    edit_note(w.get(), QStringLiteral("\n  kept as typed  \n\n"));
    EditorAnswer answer;
    note_page(w.get())->Memo_noteDblClick();
    QCOMPARE(answer.shown_text, QStringLiteral("\n  kept as typed  \n\n"));

    // 31 January, then the next month: the editor shows the last day of
    // February, and the note is saved under it.
    child<QToolButton>(w.get(), "sb_date_right")->click();
    edit_note(w.get(), QStringLiteral("leap day"));
    EditorAnswer again;
    note_page(w.get())->Memo_noteDblClick();
    QCOMPARE(again.date_text, QStringLiteral("2024-02-29"));
    QCOMPARE(stored_notes("20240229"), QStringList{"leap day"});
    QVERIFY(note_mark_shown(w.get(), 29));
}

void TestNotePage::confirmed_note_is_stored_trimmed_and_shown_as_typed()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 3, 5));
    QVERIFY(!note_mark_shown(w.get(), 5));
    const QString typed = QStringLiteral("\n\n  first line\nsecond line\t\n\n");
    edit_note(w.get(), typed);
    // Stored at once, trimmed, with the lines separated by CR LF; the mark
    // follows without a change of date.
    QCOMPARE(stored_notes("20240305"), QStringList{"first line\r\nsecond line"});
    QVERIFY(note_mark_shown(w.get(), 5));
    // The page keeps what was typed until the day is loaded again.
    QCOMPARE(note_memo(w.get())->toPlainText(), typed);
    child<QToolButton>(w.get(), "sb_date_right")->click();
    child<QToolButton>(w.get(), "sb_date_left")->click();
    QCOMPARE(note_memo(w.get())->toPlainText(), QStringLiteral("first line\nsecond line"));
    QVERIFY(f.messages.isEmpty());
}

void TestNotePage::blank_note_leaves_no_row_and_no_mark_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces and empty lines") << QStringLiteral("   \n\n \n  ");
    QTest::newRow("tabs and control characters") << QStringLiteral("\t\x01\x1f \n\t");
}

void TestNotePage::blank_note_leaves_no_row_and_no_mark()
{
    QFETCH(QString, typed);
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 3, 5), "('20240305','earlier')");
    QVERIFY(note_mark_shown(w.get(), 5));
    edit_note(w.get(), typed);
    QCOMPARE(stored_notes("20240305"), QStringList());
    QVERIFY(!note_mark_shown(w.get(), 5));
}

void TestNotePage::confirming_without_a_change_rewrites_the_row()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 3, 5), "('20240305','same')");
    // The row changes behind the page's back: the confirmation writes the
    // page's text again.
    app_database->execute("UPDATE vk_note SET sNote = 'stale'");
    EditorAnswer answer(press_ok);
    note_page(w.get())->Memo_noteDblClick();
    QCOMPARE(stored_notes("20240305"), QStringList{"same"});
}

void TestNotePage::cancelling_changes_nothing()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 3, 5), "('20240305','kept')");
    const QList<std::function<void(QDialog&)>> ways_out = {
        [](QDialog& editor) {
            child<QPlainTextEdit>(&editor, "Memo1")->setPlainText(QStringLiteral("changed"));
            child<QPushButton>(&editor, "Button2")->click();
        },
        [](QDialog& editor) {
            child<QPlainTextEdit>(&editor, "Memo1")->setPlainText(QStringLiteral("changed"));
            editor.close();
        },
    };
    for (const auto& way_out : ways_out) {
        EditorAnswer answer(way_out);
        note_page(w.get())->Memo_noteDblClick();
        QCOMPARE(note_memo(w.get())->toPlainText(), QStringLiteral("kept"));
        QCOMPARE(stored_notes("20240305"), QStringList{"kept"});
        QVERIFY(note_mark_shown(w.get(), 5));
    }
}

void TestNotePage::awkward_text_round_trips()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 3, 5));
    QString body = QStringLiteral("say \"hi\"; it's -- not SQL\tcolumn\r\nnext line 🎉 月饼\r\n");
    while (body.size() < 20000)
        body += QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyz\r\n");
    body += QStringLiteral("end");
    edit_note(w.get(), QStringLiteral(" \t\r\n") + body + QStringLiteral("\r\n \t"));
    QCOMPARE(stored_notes("20240305"), QStringList{body});

    QString shown = body;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    notes::load_note(note_memo(w.get()), w->sel_daykey());
    QCOMPARE(note_memo(w.get())->toPlainText(), shown);
    // Saving what was loaded changes nothing.
    edit_note(w.get(), note_memo(w.get())->toPlainText());
    QCOMPARE(stored_notes("20240305"), QStringList{body});
}

void TestNotePage::failing_insert_keeps_the_old_note_and_the_typed_text()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 3, 5), "('20240305','old')");
    app_database->execute("CREATE TEMP TRIGGER no_notes BEFORE INSERT ON main.vk_note "
                          "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    edit_note(w.get(), QStringLiteral("new text"));
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages[0].contains(QStringLiteral("disk full")), qPrintable(f.messages[0]));
    QCOMPARE(stored_notes("20240305"), QStringList{"old"});
    QCOMPARE(note_memo(w.get())->toPlainText(), QStringLiteral("new text"));
    QVERIFY(note_mark_shown(w.get(), 5));
    QVERIFY(!app_database->transaction_open());

    // Once the cause is gone, the text on the page is saved by the next
    // confirmation.
    app_database->execute("DROP TRIGGER no_notes");
    EditorAnswer answer(press_ok);
    note_page(w.get())->Memo_noteDblClick();
    QCOMPARE(answer.shown_text, QStringLiteral("new text"));
    QCOMPARE(stored_notes("20240305"), QStringList{"new text"});
}

void TestNotePage::save_without_a_day_touches_no_row_but_redraws()
{
    WindowFixture f;
    auto w = open_with_notes(f, QDate(2024, 3, 5), "('20240305','kept'),('','odd')");
    CountingHost host;
    QPlainTextEdit memo;
    memo.setPlainText(QStringLiteral("text"));
    notes::savedata2fx_note(&memo, QString(), host);
    QCOMPARE(host.redraws, 1);
    QCOMPARE(app_database->query("SELECT count(*) FROM vk_note").field_text(0), std::string("2"));

    // A failed save is not followed by a redraw.
    app_database->execute("DROP TABLE vk_note");
    QVERIFY_THROWS_EXCEPTION(ESQLiteException, notes::savedata2fx_note(&memo, QStringLiteral("20240305"), host));
    QCOMPARE(host.redraws, 1);
}

void TestNotePage::nothing_about_notes_is_written_at_a_date_change_or_shutdown()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 3, 5));
    note_memo(w.get())->setPlainText(QStringLiteral("not confirmed"));
    child<QToolButton>(w.get(), "sb_date_right")->click();
    QCOMPARE(app_database->query("SELECT count(*) FROM vk_note").field_text(0), std::string("0"));
    note_memo(w.get())->setPlainText(QStringLiteral("not confirmed"));
    w->close();
    TSQLiteDatabase db(f.folder() + "velkin.db");
    QCOMPARE(db.query("SELECT count(*) FROM vk_note").field_text(0), std::string("0"));
}

void TestNotePage::the_note_survives_a_restart()
{
    WindowFixture f;
    {
        auto w = f.open_window(QDate(2024, 3, 5));
        edit_note(w.get(), QStringLiteral("remember me"));
        w->close();
    }
    auto w = f.open_window(QDate(2024, 3, 5));
    QCOMPARE(note_memo(w.get())->toPlainText(), QStringLiteral("remember me"));
    QVERIFY(note_mark_shown(w.get(), 5));
}

QTEST_MAIN(TestNotePage)
#include "test_notepage.moc"
