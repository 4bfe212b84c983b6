// Helpers for the task tests: the modal windows the code opens answered in
// order through the modal hook, the task editor's answers, and the day
// list's controls in the main window.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <deque>
#include <functional>

#include "controls.h"
#include "storage/datafile.h"
#include "storage/daydata.h"
#include "tasks/plandialog.h"
#include "tasks/taskflags.h"
#include "tasks/taskgrid.h"
#include "uikit/modal.h"

// Answers the modal windows, one answer each, in the order they open.  A
// window without an answer fails the test and is cancelled.
class ModalAnswers {
public:
    using Answer = std::function<void(QDialog&)>;

    ModalAnswers()
    {
        uikit::set_modal_hook([this](QDialog& dialog) {
            seen << dialog.objectName();
            if (answers_.empty()) {
                QTest::qFail(qPrintable("no answer for " + dialog.objectName()), __FILE__, __LINE__);
                return int(QDialog::Rejected);
            }
            Answer answer = std::move(answers_.front());
            answers_.pop_front();
            dialog.setResult(QDialog::Rejected);
            dialog.show();
            answer(dialog);
            dialog.hide();
            return dialog.result();
        });
    }
    ~ModalAnswers() { uikit::set_modal_hook({}); }

    ModalAnswers& then(Answer answer)
    {
        answers_.push_back(std::move(answer));
        return *this;
    }
    bool all_used() const { return answers_.empty(); }

    QStringList seen;  // the object names of the windows opened

private:
    std::deque<Answer> answers_;
};

// The task editor answered with a text, a category (0-3) and a state (0-1),
// confirmed by "确定(&S)".
inline ModalAnswers::Answer type_task(const QString& text, int category = 0, int state = 0)
{
    return [=](QDialog& d) {
        child<QRadioButton>(&d, QStringLiteral("RadioGroup1_%1").arg(category))->setChecked(true);
        child<QRadioButton>(&d, QStringLiteral("RadioGroup2_%1").arg(state))->setChecked(true);
        child<QPlainTextEdit>(&d, "Memo1")->setPlainText(text);
        child<QPushButton>(&d, "Button1")->click();
    };
}

inline ModalAnswers::Answer press(const char* button)
{
    return [=](QDialog& d) { child<QPushButton>(&d, button)->click(); };
}

inline ModalAnswers::Answer close_box()
{
    return [](QDialog& d) { d.close(); };
}

inline std::vector<daydata::Task> stored_on(const char* day) { return daydata::load_tasks(*app_database, day); }

// The grid's rows as (category, state, text) triples.
inline QList<tasks::TaskRow> rows_of(const tasks::TaskGrid& grid)
{
    QList<tasks::TaskRow> rows;
    for (int r = 0; r < grid.rowCount(); ++r)
        rows << grid.task(r);
    return rows;
}

// Makes the third insert into vk_schedule fail, as a full disk would.
inline void fail_third_task_insert(TSQLiteDatabase& db)
{
    db.execute("CREATE TEMP TABLE inserts (n INTEGER)");
    db.execute("CREATE TEMP TRIGGER fail_third BEFORE INSERT ON main.vk_schedule"
               " BEGIN INSERT INTO inserts VALUES (1);"
               " SELECT RAISE(ABORT, 'disk full') WHERE (SELECT count(*) FROM inserts) = 3; END");
}
