// The frame of the manager windows: a date tree RzTreeView1 beside what is
// shown of the day chosen there, one day at a time.  What is on screen is
// written back before another node is shown and before the window closes;
// a write that fails is shown and keeps the node, the window and what was
// typed, so that the next change or close writes again.
#pragma once

#include <QDialog>
#include <QString>

class QTreeWidgetItem;

namespace uikit {

class DateTree;

class DayTreeWindow : public QDialog {
    Q_OBJECT

public:
    // Writes back what the window holds, if it holds changes.  A failure is
    // shown and everything stays: returns false.
    virtual bool write_back() = 0;

    // The close box, "关闭" and Escape all end here.
    void reject() override;

    // Fills the tree and shows the window modally over `owner`, returning
    // when it has closed.  When the days cannot be read the error is shown
    // and the window does not open.
    void show_modally(QWidget* owner);

protected:
    // The managers' fixed size, font and text colour.
    explicit DayTreeWindow(QWidget* parent);

    // Follows the choices made in `tree`.
    void watch(DateTree* tree);

    // Fills the tree from the data file; errors propagate.
    virtual void fill_tree() = 0;

    // The day node of `day` was chosen.
    virtual void show_day(const QString& day) = 0;
    // A year or month node was chosen.
    virtual void show_no_day() = 0;

private slots:
    void RzTreeView1Change(QTreeWidgetItem* current, QTreeWidgetItem* previous);

private:
    DateTree* tree_ = nullptr;
};

}  // namespace uikit
