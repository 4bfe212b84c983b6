// What the task tests ask of the main window: a data file with tasks to
// start on, its day cells and task marks, and a row of a task grid
// chosen with the mouse.
#pragma once

#include <QImage>
#include <QtTest>
#include <initializer_list>
#include <utility>
#include <vector>

#include "../mainwindow/windowfixture.h"
#include "storage/daydata.h"
#include "tasks/taskgrid.h"

// The colour at a point of the grid as drawn.
inline QColor pixel(tasks::TaskGrid* grid, QPoint at) { return grid->grab().toImage().pixelColor(at); }
inline QPoint in_row(tasks::TaskGrid* grid, int row, int column = 0)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    return grid->viewport()->mapTo(grid, cell.topLeft() + QPoint(5, 2));  // above the text
}

inline void select_row(tasks::TaskGrid* grid, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 1)).center());
}

// Selects `day` of the month on show by pressing its day cell.
inline void press_day(TFRM_Date* w, int day)
{
    const int cell = cell_of(w, day);
    if (!cell)
        QFAIL("no cell for the day");
    QTest::mouseClick(child<QWidget>(w, QStringLiteral("day_labels_%1").arg(cell)), Qt::LeftButton);
}

inline bool task_mark_shown(TFRM_Date* w, int day) { return mark_shown(w, "task", day); }

// The main window on `today`, started on a data file holding the tasks of
// the days given.
inline std::unique_ptr<TFRM_Date>
open_with_tasks(WindowFixture& f, QDate today,
                std::initializer_list<std::pair<const char*, std::vector<daydata::Task>>> days)
{
    auto db = f.prepared_data_file();
    for (const auto& [day, list] : days)
        daydata::replace_tasks(*db, day, list);
    db.reset();
    return f.open_window(today);
}
