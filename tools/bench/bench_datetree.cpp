// The managers' date tree: the distinct days of a data file read in one
// sorted query and turned into nodes, against the same tree built by
// searching the tree for every row and sorting it afterwards.
#include <benchmark/benchmark.h>

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "sample_datafile.h"
#include "storage/daydata.h"
#include "uikit/datetree.h"

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
