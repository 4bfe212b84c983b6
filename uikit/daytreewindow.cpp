#include "uikit/daytreewindow.h"

#include "uikit/datetree.h"
#include "uikit/errors.h"
#include "uikit/modal.h"
#include "uikit/style.h"

namespace uikit {

DayTreeWindow::DayTreeWindow(QWidget* parent) : QDialog(parent)
{
    setFixedSize(662, 479);
    setFont(program_font());
    set_text_colour(this, colour::window_text);
}

void DayTreeWindow::watch(DateTree* tree)
{
    tree_ = tree;
    connect(tree, &QTreeWidget::currentItemChanged, this, &DayTreeWindow::RzTreeView1Change);
}

// What cannot be written stays on screen with its day's node.
void DayTreeWindow::RzTreeView1Change(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (!write_back()) {
        tree_->go_back_to(previous);
        return;
    }
    const QString day = DateTree::daykey(current);
    if (day.isEmpty())
        show_no_day();
    else
        show_day(day);
}

void DayTreeWindow::reject()
{
    if (write_back())
        QDialog::reject();
}

void DayTreeWindow::show_modally(QWidget* owner)
{
    if (report_errors([this] { fill_tree(); }))
        show_modal(*this, owner);
}

}  // namespace uikit
