// Finding a window's controls by their object name, as the tests do.
#pragma once

#include <QWidget>
#include <QtGlobal>

// The control named `name` below `window`; the test ends when there is none.
template <typename T>
T* child(QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no control named %s", qPrintable(name));
    return found;
}
