// The radio groups of the task windows: the items of a group as one
// button group, numbered in item order.
#pragma once

#include <QButtonGroup>
#include <initializer_list>

class QAbstractButton;

namespace tasks {

// The buttons as one exclusive group, numbered from 0.  Tab enters the
// group at its chosen item, as in a radio group; the arrow keys move within
// it.
QButtonGroup* radio_group(QObject* parent, std::initializer_list<QAbstractButton*> buttons);

// Chooses item `id` of the group; an id that names no item leaves no item
// chosen.
void choose_item(QButtonGroup* group, int id);

}  // namespace tasks
