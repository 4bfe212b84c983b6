#include "tasks/radiogroup.h"

#include <QAbstractButton>

namespace tasks {

namespace {

// Only the chosen item takes the focus by Tab; with none chosen, the first.
void tab_to_chosen_item(QButtonGroup* group)
{
    const auto follow_choice = [group] {
        const QList<QAbstractButton*> buttons = group->buttons();
        for (QAbstractButton* button : buttons) {
            const bool entry = group->checkedButton() ? button->isChecked() : button == buttons.first();
            button->setFocusPolicy(entry ? Qt::StrongFocus : Qt::ClickFocus);
        }
    };
    follow_choice();
    QObject::connect(group, &QButtonGroup::buttonToggled, group, follow_choice);
}

}  // namespace

QButtonGroup* radio_group(QObject* parent, std::initializer_list<QAbstractButton*> buttons)
{
    auto* group = new QButtonGroup(parent);
    int id = 0;
    for (QAbstractButton* button : buttons)
        group->addButton(button, id++);
    tab_to_chosen_item(group);
    return group;
}

void choose_item(QButtonGroup* group, int id)
{
    if (QAbstractButton* item = group->button(id)) {
        item->setChecked(true);
        return;
    }
    // An exclusive group keeps its choice; it lets go of it only while it
    // is not exclusive.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

}  // namespace tasks
