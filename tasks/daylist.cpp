#include "tasks/daylist.h"

#include <QHeaderView>
#include <QTableWidget>

#include "uikit/style.h"

namespace tasks {

void setup_day_grid(QTableWidget* grid)
{
    grid->setColumnCount(3);
    grid->setHorizontalHeaderLabels({QStringLiteral("类别"), QStringLiteral("状态"), QStringLiteral("任务安排")});
    grid->setRowCount(1);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(20);
    const int widths[] = {28, 45, 254};
    for (int column = 0; column < 3; ++column)
        grid->setColumnWidth(column, widths[column]);
    uikit::set_base_colour(grid, uikit::colour::page_yellow);
    grid->setFont(uikit::point_font("微软雅黑", 9));
}

}  // namespace tasks
