// The managers' date tree: the distinct days of a data file read in one
// sorted query and turned into nodes, against the same tree built by
// searching the tree for every row and sorting it afterwards; and the task
// manager's whole opening over the main window.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDialog>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "bench_window.h"
#include "sample_datafile.h"
#include "storage/daydata.h"
#include "tasks/schedulemanage.h"
#include "uikit/datetree.h"
#include "uikit/modal.h"

namespace {

void tree_of(benchmark::State& state, SampleDataFile& file)
{
    uikit::DateTree tree;
    for (auto _ : state)
        tree.fill(daydata::daykeys(file.db(), daydata::DayTable::Tasks));
    state.counters["years"] = tree.topLevelItemCount();
}

void BM_date_tree_100k(benchmark::State& state) { tree_of(state, sample_data_file()); }
BENCHMARK(BM_date_tree_100k)->Unit(benchmark::kMillisecond);

void BM_date_tree_1m_150_years(benchmark::State& state) { tree_of(state, long_data_file()); }
BENCHMARK(BM_date_tree_1m_150_years)->Unit(benchmark::kMillisecond);

// From "管理" to the window on screen: the window made, its tree read from
// the data file and filled, the window shown and painted; then it is
// discarded.
void manager_open(benchmark::State& state, SampleDataFile& file)
{
    const auto window = bench_window(state, file, QDate(2021, 3, 15));
    if (!window)
        return;
    window->show();
    QCoreApplication::processEvents();
    int years = 0;
    uikit::set_modal_hook([&years](QDialog& manager) {
        manager.show();
        QCoreApplication::processEvents();
        years = manager.findChild<QTreeWidget*>(QStringLiteral("RzTreeView1"))->topLevelItemCount();
        return int(QDialog::Rejected);
    });
    for (auto _ : state)
        tasks::show_schedule_manage(*window);
    uikit::set_modal_hook({});
    state.counters["years"] = years;
}

void BM_task_manager_open(benchmark::State& state) { manager_open(state, sample_data_file()); }
BENCHMARK(BM_task_manager_open)->Unit(benchmark::kMillisecond);

void BM_task_manager_open_1m(benchmark::State& state) { manager_open(state, long_data_file()); }
BENCHMARK(BM_task_manager_open_1m)->Unit(benchmark::kMillisecond);

// The search the tree was first built with: for every row of the table the
// year is looked for among all nodes of the tree, in order, and the month
// and day among the children of the node found.
QTreeWidgetItem* find_year(QTreeWidget& tree, const QString& text)
{
    for (QTreeWidgetItemIterator it(&tree); *it; ++it)
        if (!(*it)->parent() && (*it)->text(0) == text)
            return *it;
    auto* node = new QTreeWidgetItem(QStringList{text});
    tree.addTopLevelItem(node);
    return node;
}

QTreeWidgetItem* find_child(QTreeWidgetItem* parent, const QString& text)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    auto* node = new QTreeWidgetItem(QStringList{text});
    parent->addChild(node);
    return node;
}

void BM_date_tree_by_search_100k(benchmark::State& state)
{
    TSQLiteDatabase& db = sample_data_file().db();
    for (auto _ : state) {
        QTreeWidget tree;
        TSQLiteTable rows = db.query("SELECT * FROM vk_schedule");
        const int date = rows.column_index("sDate");
        for (; !rows.at_end(); rows.next()) {
            const QString key = QString::fromStdString(rows.field_text(date));
            QTreeWidgetItem* year = find_year(tree, key.left(4) + QStringLiteral("年"));
            QTreeWidgetItem* month = find_child(year, key.mid(4, 2) + QStringLiteral("月"));
            find_child(month, key.mid(6, 2) + QStringLiteral("日"));
        }
        tree.sortItems(0, Qt::AscendingOrder);
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    }
}
BENCHMARK(BM_date_tree_by_search_100k)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
