#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextEdit>

#include "modal_answer.h"

namespace testing {

namespace {
// A table's header is part of its table, which names it, and so are the
// scroll bars of a text box, a list or a table.
bool is_control(QWidget* w)
{
    if (qobject_cast<QHeaderView*>(w))
        return false;
    if (qobject_cast<QAbstractSlider*>(w) && w->parentWidget() &&
        w->parentWidget()->objectName().startsWith(QLatin1String("qt_scrollarea_")))
        return false;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) || qobject_cast<QAbstractItemView*>(w) ||
           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QTabWidget*>(w) ||
           qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
           qobject_cast<QAbstractSlider*>(w);
}
}  // namespace

QStringList controls_without_accessible_name(QWidget* window)
{
    QStringList missing;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!is_control(w) || !w->isVisibleTo(window) || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            missing << w->objectName() + QLatin1Char(':') + QLatin1String(w->metaObject()->className()) +
                           QLatin1Char('<') + (w->parentWidget() ? w->parentWidget()->objectName() : QString());
    }
    return missing;
}

}  // namespace testing
