#include "tasks/taskgrid.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyledItemDelegate>

#include "uikit/style.h"

namespace tasks {

namespace {

constexpr int row_height = 20;
const QColor open_orange{0xFF, 0xCE, 0x9D};
const QColor done_green{0x80, 0xFF, 0x80};
const QColor text_navy{0x00, 0x00, 0x80};

enum Column { category_column, state_column, text_column };

// Every text starts 2 px right of and 4 px below the top left of its cell,
// on one line: a line break shows as a space.
void draw_cell_text(QPainter* painter, const QRect& cell, const QString& text)
{
    painter->setPen(text_navy);
    painter->drawText(cell.adjusted(2, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

// The header in the list's own colour, lettered like the rows below it.
class TaskGridHeader : public QHeaderView {
public:
    explicit TaskGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) { }
    QColor colour;

    QSize sizeHint() const override { return {QHeaderView::sizeHint().width(), row_height}; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override
    {
        painter->save();
        painter->fillRect(rect, colour);
        painter->setPen(uikit::colour::grey);
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->setFont(font());
        draw_cell_text(painter, rect, model()->headerData(section, orientation()).toString());
        painter->restore();
    }
};

// The grid lines in grey, whatever the desktop's style draws them in.
class GridLineStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_Table_GridLineColor)
            return static_cast<int>(uikit::colour::grey.rgba());
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

// One for every grid; it lives as long as the application.
QStyle* grid_line_style()
{
    static QPointer<GridLineStyle> style;
    if (!style) {
        style = new GridLineStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

// A row is orange while its task is open and green otherwise; the grid
// shows no selection or focus of its own, only the red underline of the
// selected row.
class TaskCellDelegate : public QStyledItemDelegate {
public:
    explicit TaskCellDelegate(TaskGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) { }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        painter->setClipRect(option.rect);
        const bool open = index.siblingAtColumn(state_column).data().toString() == state_open;
        painter->fillRect(option.rect, open ? open_orange : done_green);
        painter->setFont(option.font);
        draw_cell_text(painter, option.rect, index.data().toString());
        if (index.row() == grid_.underlined_row())
            painter->fillRect(QRect(option.rect.left(), option.rect.bottom() - 1, grid_.look().underline_length, 2),
                              uikit::colour::red);
        painter->restore();
    }

private:
    const TaskGrid& grid_;
};

}  // namespace

TaskGrid::Look TaskGrid::day_list_look() { return {{28, 45, 254}, uikit::colour::page_yellow, 320}; }

TaskGrid::Look TaskGrid::manager_look() { return {{28, 50, 379}, uikit::colour::silver, 380}; }

TaskGrid::TaskGrid(QWidget* parent) : QTableWidget(parent)
{
    setStyle(grid_line_style());
    setHorizontalHeader(new TaskGridHeader(this));
    setItemDelegate(new TaskCellDelegate(*this));
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(row_height);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(true);
    setWordWrap(false);
    configure(look_);
}

void TaskGrid::configure(const Look& look)
{
    look_ = look;
    setColumnCount(3);
    setHorizontalHeaderLabels({QStringLiteral("类别"), QStringLiteral("状态"), QStringLiteral("任务安排")});
    for (int column = 0; column < 3; ++column)
        setColumnWidth(column, look.column_widths[static_cast<std::size_t>(column)]);
    static_cast<TaskGridHeader*>(horizontalHeader())->colour = look.header_colour;
    const QFont font = uikit::point_font("微软雅黑", 9);
    setFont(font);
    horizontalHeader()->setFont(font);
    uikit::set_base_colour(this, uikit::colour::page_yellow);
    clear_list();
}

QString TaskGrid::cell(int row, int column) const
{
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

void TaskGrid::set_cell(int row, int column, const QString& text)
{
    if (QTableWidgetItem* it = item(row, column))
        it->setText(text);
    else
        setItem(row, column, new QTableWidgetItem(text));
}

bool TaskGrid::is_empty() const { return is_blank(cell(0, category_column)); }

TaskRow TaskGrid::task(int row) const
{
    return {cell(row, category_column), cell(row, state_column), cell(row, text_column)};
}

void TaskGrid::set_task(int row, const TaskRow& task)
{
    set_cell(row, category_column, task.category);
    set_cell(row, state_column, task.state);
    set_cell(row, text_column, task.text);
}

QList<TaskRow> TaskGrid::tasks() const
{
    QList<TaskRow> list;
    if (is_empty())
        return list;
    list.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row)
        list.append(task(row));
    return list;
}

void TaskGrid::clear_list() { set_tasks({}); }

void TaskGrid::set_tasks(const QList<TaskRow>& tasks)
{
    setRowCount(std::max(1, static_cast<int>(tasks.size())));
    if (tasks.isEmpty())
        set_task(0, {});
    for (int row = 0; row < tasks.size(); ++row)
        set_task(row, tasks[row]);
}

void TaskGrid::append_task(const TaskRow& task)
{
    if (!is_blank(cell(rowCount() - 1, category_column)))
        insertRow(rowCount());
    set_task(rowCount() - 1, task);
}

bool TaskGrid::delete_task(int row)
{
    if (rowCount() > 1) {
        for (int below = row; below + 1 < rowCount(); ++below)
            set_task(below, task(below + 1));
        setRowCount(rowCount() - 1);
        return true;
    }
    if (cell(0, category_column).isEmpty())
        return false;
    set_task(0, {});
    return true;
}

void TaskGrid::toggle_state(int row)
{
    set_cell(row, state_column, cell(row, state_column) == state_done ? state_open : state_done);
}

int TaskGrid::current_task_row() const { return std::clamp(currentRow(), 0, rowCount() - 1); }

void TaskGrid::set_underlined_row(int row)
{
    underlined_row_ = row;
    viewport()->update();
}

}  // namespace tasks
