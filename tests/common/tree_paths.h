// The nodes of a tree view named by their path of texts, such as
// "2010年/03月/05日", and the whole tree as an outline.
#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

namespace testing {

// The node at `path`; null when there is none.
inline QTreeWidgetItem* node_at(const QTreeWidget* tree, const QString& path)
{
    QTreeWidgetItem* found = nullptr;
    for (const QString& text : path.split(QLatin1Char('/'))) {
        const int count = found ? found->childCount() : tree->topLevelItemCount();
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem* candidate = found ? found->child(i) : tree->topLevelItem(i);
            if (candidate->text(0) == text)
                next = candidate;
        }
        if (!next)
            return nullptr;
        found = next;
    }
    return found;
}

// Chooses the node at `path` as the user does: its collapsed parents are
// expanded first, then the node is clicked.
inline void choose_node(QTreeWidget* tree, const QString& path)
{
    QTreeWidgetItem* node = node_at(tree, path);
    if (!node)
        QFAIL(qPrintable("no node " + path));
    QList<QTreeWidgetItem*> parents;
    for (QTreeWidgetItem* p = node->parent(); p; p = p->parent())
        parents.prepend(p);
    for (QTreeWidgetItem* p : parents)
        p->setExpanded(true);
    tree->setCurrentItem(node);
}

// One line per node, indented by one space per level.
inline QStringList outline(const QTreeWidget* tree)
{
    QStringList lines;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* node, int depth) {
        lines << QString(depth, QLatin1Char(' ')) + node->text(0);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), depth + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
    return lines;
}

}  // namespace testing
