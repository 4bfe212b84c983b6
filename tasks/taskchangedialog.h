// The dialog frm_taskchange: the date a task moves to, whether the task
// leaves its day, and whether its copy carries the mark "【变更】".
#pragma once

#include <QDate>
#include <QDialog>
#include <memory>
#include <optional>

class QWidget;
namespace Ui {
class frm_taskchange;
}

namespace tasks {

struct TaskChange {
    QDate date;
    bool delete_original = true;  // "删除原任务"
    bool mark_change = true;  // "设置变更标识"
};

class TaskChangeDialog : public QDialog {
    Q_OBJECT

public:
    // Opens on `date`.  Any real date of the years 1 to 9999 can be chosen,
    // as the month view can show them.
    explicit TaskChangeDialog(QDate date, QWidget* parent = nullptr);
    ~TaskChangeDialog() override;

    TaskChange choice() const;

private slots:
    void Button1Click();
    void Button2Click();

private:
    std::unique_ptr<Ui::frm_taskchange> ui;
};

// Shows the dialog modally over `owner`, opening on `date`; nothing when it
// is cancelled or closed by its close box.
std::optional<TaskChange> show_taskchange(QDate date, QWidget* owner);

}  // namespace tasks
