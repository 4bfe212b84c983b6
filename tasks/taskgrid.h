// The task grid: the three columns "类别", "状态" and "任务安排" of a task
// list, drawn by the tasks' states.  The day list and the task manager
// show the same rows, each with a look of its own.
//
// The header stands for the fixed row 0 of the list; the rows below it hold
// the tasks.  An empty list is one blank row, and the list is empty exactly
// when the category cell of its first row is blank.  Rows are numbered from
// 0, the first row under the header.
#pragma once

#include <QColor>
#include <QList>
#include <QTableWidget>
#include <array>

#include "tasks/taskrow.h"

namespace tasks {

class TaskGrid : public QTableWidget {
    Q_OBJECT

public:
    struct Look {
        std::array<int, 3> column_widths;
        QColor header_colour;
        // How far the underline of the selected row reaches from the left
        // of each cell.
        int underline_length;
    };
    static Look day_list_look();
    static Look manager_look();

    explicit TaskGrid(QWidget* parent = nullptr);

    // Header, widths, colours and font; the list is left empty.
    void configure(const Look& look);
    const Look& look() const { return look_; }

    bool is_empty() const;
    // The tasks in list order; none when the list is empty.
    QList<TaskRow> tasks() const;
    TaskRow task(int row) const;
    void set_task(int row, const TaskRow& task);
    // Back to one blank row.
    void clear_list();
    // The list becomes `tasks`, row for row.
    void set_tasks(const QList<TaskRow>& tasks);
    // Fills the blank last row, or appends a row; the current row stays.
    void append_task(const TaskRow& task);
    // Removes `row`, moving the rows below it up; the only task is emptied
    // instead.  Returns false when there was nothing to remove.
    bool delete_task(int row);
    // Switches the state of `row` between open and finished; a state of
    // any other text becomes finished.
    void toggle_state(int row);

    // The row the user works on; the first row when none is chosen.
    int current_task_row() const;
    // The row drawn with the red underline; -1 for none.
    int underlined_row() const { return underlined_row_; }
    void set_underlined_row(int row);

private:
    QString cell(int row, int column) const;
    void set_cell(int row, int column, const QString& text);

    Look look_ = day_list_look();
    int underlined_row_ = -1;
};

}  // namespace tasks
