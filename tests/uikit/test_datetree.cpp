// The date tree of the managers: one node per year, month and day, in
// chronological order whatever the order of the keys, the DayKey on day
// nodes, no node for a key that is no date, and a node selected when it is
// expanded or collapsed.
#include <QtTest>
#include <algorithm>
#include <random>

#include "tree_paths.h"
#include "uikit/datetree.h"

using testing::outline;
using uikit::DateTree;

namespace {

// The tree built by looking up every node by its text, one key at a time,
// then sorted by text at every level: the slow way, to compare with.
QStringList outline_by_search(const std::vector<std::string>& keys)
{
    QTreeWidget tree;
    auto find_or_add = [](auto children, auto add, const QString& text) {
        for (QTreeWidgetItem* c : children)
            if (c->text(0) == text)
                return c;
        return add(text);
    };
    for (const std::string& key : keys) {
        const QString k = QString::fromStdString(key);
        QList<QTreeWidgetItem*> tops;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            tops << tree.topLevelItem(i);
        QTreeWidgetItem* year = find_or_add(
            tops,
            [&](const QString& t) {
                auto* n = new QTreeWidgetItem(QStringList{t});
                tree.addTopLevelItem(n);
                return n;
            },
            k.left(4) + "年");
        auto child_adder = [](QTreeWidgetItem* parent) {
            return [parent](const QString& t) {
                auto* n = new QTreeWidgetItem(QStringList{t});
                parent->addChild(n);
                return n;
            };
        };
        auto children = [](QTreeWidgetItem* parent) {
            QList<QTreeWidgetItem*> list;
            for (int i = 0; i < parent->childCount(); ++i)
                list << parent->child(i);
            return list;
        };
        QTreeWidgetItem* month = find_or_add(children(year), child_adder(year), k.mid(4, 2) + "月");
        find_or_add(children(month), child_adder(month), k.mid(6, 2) + "日");
    }
    tree.sortItems(0, Qt::AscendingOrder);
    return outline(&tree);
}

}  // namespace

class TestDateTree : public QObject {
    Q_OBJECT

private slots:
    void no_rows_no_nodes()
    {
        DateTree tree;
        tree.fill({});
        QCOMPARE(tree.topLevelItemCount(), 0);
    }

    void one_node_per_year_month_and_day()
    {
        DateTree tree;
        tree.fill({"20100320", "20100305", "20100305", "20100305"});
        QCOMPARE(outline(&tree), (QStringList{"2010年", " 03月", "  05日", "  20日"}));
        QTreeWidgetItem* day = tree.topLevelItem(0)->child(0)->child(0);
        QCOMPARE(DateTree::level(day), int(DateTree::Day));
        QCOMPARE(DateTree::daykey(day), QStringLiteral("20100305"));
        QCOMPARE(DateTree::daykey(day->parent()), QString());
        QCOMPARE(DateTree::level(day->parent()->parent()), int(DateTree::Year));
    }

    void order_is_chronological_for_days_across_the_calendar()
    {
        std::vector<std::string> keys;
        std::mt19937 random(2024);
        for (int i = 0; i < 600; ++i) {
            const QDate d = QDate(1901, 1, 1).addDays(std::uniform_int_distribution<int>(0, 54787)(random));
            keys.push_back(d.toString("yyyyMMdd").toStdString());
        }
        for (const char* edge : {"19010101", "20501231", "20240101", "20241231", "20240229"})
            keys.push_back(edge);
        std::shuffle(keys.begin(), keys.end(), random);
        DateTree tree;
        tree.fill(keys);
        QCOMPARE(outline(&tree), outline_by_search(keys));
        QCOMPARE(tree.topLevelItem(0)->text(0), QStringLiteral("1901年"));
        QCOMPARE(tree.topLevelItem(tree.topLevelItemCount() - 1)->text(0), QStringLiteral("2050年"));
    }

    void keys_that_are_no_date_get_no_node()
    {
        DateTree tree;
        tree.fill({"2024031", "202403051", "abcdefgh", "20240230", "20241301", "2024-3-5", "", "20240305"});
        QCOMPARE(outline(&tree), (QStringList{"2024年", " 03月", "  05日"}));
    }

    void pictures_by_level()
    {
        const auto& icons = DateTree::icons();
        QCOMPARE(icons.size(), std::size_t{14});
        for (const QIcon& icon : icons) {
            QCOMPARE(icon.availableSizes().value(0), QSize(20, 20));
            // A selected node shows the same picture.
            QCOMPARE(icon.pixmap(20, QIcon::Selected).toImage(), icon.pixmap(20, QIcon::Normal).toImage());
        }
        DateTree tree;
        tree.fill({"20101205", "20100105"});
        QTreeWidgetItem* year = tree.topLevelItem(0);
        QCOMPARE(year->icon(0).cacheKey(), icons[0].cacheKey());
        QCOMPARE(year->child(0)->icon(0).cacheKey(), icons[1].cacheKey());
        QCOMPARE(year->child(1)->icon(0).cacheKey(), icons[12].cacheKey());
        QCOMPARE(year->child(1)->child(0)->icon(0).cacheKey(), icons[13].cacheKey());
    }

    void expanding_or_collapsing_selects_the_node()
    {
        DateTree tree;
        tree.fill({"20100305", "20110401"});
        QCOMPARE(tree.currentItem(), nullptr);
        QTreeWidgetItem* second_year = tree.topLevelItem(1);
        second_year->setExpanded(true);
        QCOMPARE(tree.currentItem(), second_year);
        QTreeWidgetItem* first_year = tree.topLevelItem(0);
        first_year->setExpanded(true);
        QCOMPARE(tree.currentItem(), first_year);
        second_year->setExpanded(false);
        QCOMPARE(tree.currentItem(), second_year);
        QCOMPARE(tree.editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(tree.indentation(), 23);
    }
};

QTEST_MAIN(TestDateTree)
#include "test_datetree.moc"
