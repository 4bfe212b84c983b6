// The task editor frm_plan and the reschedule dialog frm_taskchange on
// their own, and the plan string between the editor and the lists.
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "modal_answer.h"
#include "tasks/taskchangedialog.h"
#include "taskfixture.h"
#include "uikit/messagebox.h"

using tasks::TaskRow;

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        messages.clear();
        uikit::set_message_box_hook([this](const uikit::MessageBoxRequest& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
    }
    void cleanup() { uikit::set_message_box_hook({}); }

    void plan_strings_carry_every_category_and_state()
    {
        const QStringList states{"进行中", "已完成"};
        for (int c = 0; c < 4; ++c)
            for (int s = 0; s < 2; ++s) {
                const TaskRow task{QString("ABCD")[c], states[s], " text with ; and \" "};
                const QString plan = tasks::plan_of(task);
                QCOMPARE(plan, QString::number(c) + QString::number(s) + task.text);
                QCOMPARE(tasks::task_of_plan(plan), task);
            }
        // Any state but "进行中" is offered as finished, any state digit but
        // "0" read as finished; a category the editor does not know is
        // offered as the first.
        QCOMPARE(tasks::plan_of({"B", "暂停", "x"}), QStringLiteral("11x"));
        QCOMPARE(tasks::task_of_plan("17x").state, QStringLiteral("已完成"));
        QCOMPARE(tasks::plan_of({"Z", "进行中", "x"}), QStringLiteral("00x"));
        QCOMPARE(tasks::plan_of({"", "进行中", "x"}), QStringLiteral("00x"));
        QCOMPARE(tasks::task_of_plan("90x").category, QStringLiteral("A"));
    }

    void blanks_are_spaces_and_control_characters()
    {
        QVERIFY(tasks::is_blank(""));
        QVERIFY(tasks::is_blank(" \t\r\n\x01 "));
        QVERIFY(!tasks::is_blank(" x "));
        QVERIFY(!tasks::is_blank(QStringLiteral("\u3000")));  // an ideographic space is text
        QCOMPARE(tasks::trim_blanks("\t 31 a b \x02\n"), QStringLiteral("31 a b"));
    }

    void a_new_task_opens_empty_with_the_first_choices()
    {
        tasks::PlanDialog d("");
        QCOMPARE(d.objectName(), QStringLiteral("frm_plan"));
        QCOMPARE(d.windowTitle(), QStringLiteral("新建任务"));
        QCOMPARE(d.size(), QSize(325, 315));
        QVERIFY(child<QRadioButton>(&d, "RadioGroup2_0")->isChecked());
        QVERIFY(child<QRadioButton>(&d, "RadioGroup1_0")->isChecked());
        QCOMPARE(child<QPlainTextEdit>(&d, "Memo1")->toPlainText(), QString());
        QCOMPARE(child<QGroupBox>(&d, "RadioGroup2")->title(), QStringLiteral("状态"));
        QCOMPARE(child<QGroupBox>(&d, "RadioGroup1")->title(), QStringLiteral("类别"));
        QCOMPARE(child<QLabel>(&d, "Label4")->text(), QStringLiteral("内容："));
        QCOMPARE(child<QPushButton>(&d, "Button1")->text(), QStringLiteral("确定(&S)"));
        QCOMPARE(child<QPushButton>(&d, "Button2")->text(), QStringLiteral("取消"));
        QCOMPARE(testing::controls_without_accessible_name(&d), QStringList());
    }

    // Column by column: the left column holds the first items.
    void radio_items_fill_their_columns_column_by_column()
    {
        tasks::PlanDialog d("");
        const auto at = [&](const char* name) { return child<QRadioButton>(&d, name)->geometry(); };
        QCOMPARE(child<QRadioButton>(&d, "RadioGroup2_0")->text(), QStringLiteral("进行中"));
        QVERIFY(at("RadioGroup2_0").left() < at("RadioGroup2_1").left());
        QCOMPARE(at("RadioGroup2_0").top(), at("RadioGroup2_1").top());
        const QStringList items{"重要，急", "重要，不急", "不重要，急", "不重要，不急"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(child<QRadioButton>(&d, QStringLiteral("RadioGroup1_%1").arg(i))->text(), items[i]);
        QCOMPARE(at("RadioGroup1_0").left(), at("RadioGroup1_1").left());
        QVERIFY(at("RadioGroup1_0").top() < at("RadioGroup1_1").top());
        QCOMPARE(at("RadioGroup1_2").left(), at("RadioGroup1_3").left());
        QVERIFY(at("RadioGroup1_0").left() < at("RadioGroup1_2").left());
        QCOMPARE(child<QGroupBox>(&d, "RadioGroup1")->geometry(), QRect(19, 61, 290, 65));
        QCOMPARE(child<QPlainTextEdit>(&d, "Memo1")->geometry(), QRect(23, 157, 282, 108));
    }

    // The text box has the focus; Tab goes on to the category, the state
    // and the two buttons, entering each group at its chosen item.
    void focus_starts_in_the_text_and_tabs_through_the_groups()
    {
        ModalAnswers answers;
        QStringList order;
        answers.then([&](QDialog& d) {
            QApplication::setActiveWindow(&d);
            QVERIFY(QTest::qWaitForWindowActive(&d));
            child<QRadioButton>(&d, "RadioGroup1_2")->setChecked(true);
            for (int i = 0; i < 5; ++i) {
                order << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
        });
        tasks::show_plan("", nullptr);
        QCOMPARE(order, (QStringList{"Memo1", "RadioGroup1_2", "RadioGroup2_0", "Button1", "Button2"}));
    }

    void a_blank_text_is_refused_and_the_dialog_stays()
    {
        tasks::PlanDialog d("");
        d.show();
        child<QPlainTextEdit>(&d, "Memo1")->setPlainText("   \n\t ");
        child<QPushButton>(&d, "Button1")->click();
        QCOMPARE(messages, QStringList{"计划安排不能为空！"});
        QVERIFY(d.isVisible());
        QCOMPARE(d.result_plan(), QString());
        child<QPlainTextEdit>(&d, "Memo1")->setPlainText("x");
        child<QPushButton>(&d, "Button1")->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result_plan(), QStringLiteral("00x"));
    }

    void lines_run_together_and_leading_spaces_stay()
    {
        ModalAnswers answers;
        answers.then(type_task("a\nb", 1, 1)).then(type_task("  lead\r\nand\u2029end  ", 3, 0));
        QCOMPARE(tasks::show_plan("", nullptr), QStringLiteral("11ab"));
        QCOMPARE(tasks::show_plan("", nullptr), QStringLiteral("30  leadandend  "));
    }

    void an_edited_task_opens_as_it_stands_and_comes_back_unchanged()
    {
        ModalAnswers answers;
        answers.then([](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("编辑任务"));
            QVERIFY(child<QRadioButton>(&d, "RadioGroup1_3")->isChecked());
            QVERIFY(child<QRadioButton>(&d, "RadioGroup2_1")->isChecked());
            QCOMPARE(child<QPlainTextEdit>(&d, "Memo1")->toPlainText(), QStringLiteral("x"));
            child<QPushButton>(&d, "Button1")->click();
        });
        QCOMPARE(tasks::show_plan("31x", nullptr), QStringLiteral("31x"));
    }

    void cancel_gives_nothing_and_the_close_box_the_trimmed_input()
    {
        ModalAnswers answers;
        answers.then(press("Button2")).then(close_box()).then(close_box()).then([](QDialog& d) {
            // The trailing spaces of an edited text are gone when it opens.
            QCOMPARE(child<QPlainTextEdit>(&d, "Memo1")->toPlainText(), QStringLiteral("  x"));
            child<QPushButton>(&d, "Button1")->click();
        });
        QCOMPARE(tasks::show_plan("10text", nullptr), QString());
        QCOMPARE(tasks::show_plan(" 10text  ", nullptr), QStringLiteral("10text"));
        QCOMPARE(tasks::show_plan("", nullptr), QString());
        QCOMPARE(tasks::show_plan("00  x  ", nullptr), QStringLiteral("00  x"));
        QVERIFY(answers.all_used());
    }

    void the_reschedule_dialog_opens_on_the_given_date_with_both_boxes()
    {
        tasks::TaskChangeDialog d(QDate(2024, 2, 10));
        QCOMPARE(d.objectName(), QStringLiteral("frm_taskchange"));
        QCOMPARE(d.windowTitle(), QStringLiteral("计划变更"));
        QCOMPARE(d.size(), QSize(265, 191));
        auto* picker = child<QDateEdit>(&d, "RzDateTimePicker1");
        QCOMPARE(picker->text(), QStringLiteral("2024-02-10"));
        QVERIFY(picker->calendarPopup());
        QCOMPARE(child<QLabel>(&d, "Label1")->text(), QStringLiteral("将当前任务变更到如下日期："));
        QCOMPARE(child<QCheckBox>(&d, "cb_del")->text(), QStringLiteral("删除原任务"));
        QCOMPARE(child<QCheckBox>(&d, "cb_changebz")->text(), QStringLiteral("设置变更标识"));
        const tasks::TaskChange choice = d.choice();
        QCOMPARE(choice.date, QDate(2024, 2, 10));
        QVERIFY(choice.delete_original && choice.mark_change);
        QCOMPARE(testing::controls_without_accessible_name(&d), QStringList());
    }

    // Only real dates: no 30 February, no year 0; years beyond the lunar
    // tables as far as the month view goes.
    void the_date_editor_takes_only_real_dates()
    {
        tasks::TaskChangeDialog d(QDate(2023, 2, 10));
        auto* picker = child<QDateEdit>(&d, "RzDateTimePicker1");
        QCOMPARE(picker->minimumDate(), QDate(1, 1, 1));
        QCOMPARE(picker->maximumDate(), QDate(9999, 12, 31));
        d.show();
        QApplication::setActiveWindow(&d);
        picker->setFocus();
        const auto keys = [&](Qt::Key place, Qt::Key erase, int count, const char* typed) {
            QTest::keyClick(picker, place);
            for (int i = 0; i < count; ++i)
                QTest::keyClick(picker, erase);
            QTest::keyClicks(picker, typed);
            picker->interpretText();
            return picker->date();
        };
        const QDate day = keys(Qt::Key_End, Qt::Key_Backspace, 2, "30");  // the day of February
        QVERIFY(day.isValid());
        QCOMPARE(day.month(), 2);
        QVERIFY(day.day() <= 28);
        QVERIFY(keys(Qt::Key_Home, Qt::Key_Delete, 4, "0000").year() >= 1);
        picker->setDate(QDate(2051, 1, 15));
        child<QPushButton>(&d, "Button1")->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.choice().date, QDate(2051, 1, 15));
    }

    void the_reschedule_dialog_answers_only_when_confirmed()
    {
        ModalAnswers answers;
        answers.then(press("Button2")).then(close_box()).then([](QDialog& d) {
            child<QCheckBox>(&d, "cb_del")->setChecked(false);
            child<QDateEdit>(&d, "RzDateTimePicker1")->setDate(QDate(2024, 3, 1));
            child<QPushButton>(&d, "Button1")->click();
        });
        QVERIFY(!tasks::show_taskchange(QDate(2024, 2, 10), nullptr));
        QVERIFY(!tasks::show_taskchange(QDate(2024, 2, 10), nullptr));
        const auto choice = tasks::show_taskchange(QDate(2024, 2, 10), nullptr);
        QVERIFY(choice);
        QCOMPARE(choice->date, QDate(2024, 3, 1));
        QVERIFY(!choice->delete_original);
        QVERIFY(choice->mark_change);
    }

private:
    QStringList messages;
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
