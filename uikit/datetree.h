// The date tree of the task and note managers: years, months and days that
// have rows, in chronological order.  A year node reads "2010年", a month
// node "03月", a day node "05日" and carries the day's DayKey.  The tree is
// read-only, and expanding or collapsing a node also selects it.
#pragma once

#include <QTreeWidget>
#include <string>
#include <vector>

namespace uikit {

class DateTree : public QTreeWidget {
    Q_OBJECT

public:
    enum Level { Year = 0, Month = 1, Day = 2 };

    explicit DateTree(QWidget* parent = nullptr);

    // Replaces the tree by the nodes of `daykeys`, in any order, repeats
    // allowed.  A key that is not eight digits of a real date gets no node.
    void fill(std::vector<std::string> daykeys);

    static int level(const QTreeWidgetItem* item);
    // The DayKey a day node carries; empty for year and month nodes.
    static QString daykey(const QTreeWidgetItem* item);

    // Makes `item` the current node again, without reporting the change: for
    // a window that could not leave the node.  It happens once the event
    // that moved away is over, so a mouse press cannot select the node it hit
    // after it.
    void go_back_to(QTreeWidgetItem* item);

    // The 14 pictures of 20 x 20: 0 a small calendar (years), 1 to 12 calendar
    // pages numbered 1 to 12 (months), 13 a notepad with a pen (days).
    static const std::vector<QIcon>& icons();

private:
    void select_on_toggle(QTreeWidgetItem* item);
};

}  // namespace uikit
