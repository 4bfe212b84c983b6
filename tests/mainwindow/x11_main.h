// What the tests of real windows share: the main function, which runs the
// test in the program's QApplication on a virtual display of its own, and
// the window's id and frame as the X server helpers take and give them.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <QtTest>
#include <cstdio>
#include <string>

#include "uikit/application.h"
#include "xserver.h"

inline unsigned long id_of(QWidget* w) { return static_cast<unsigned long>(w->winId()); }

// A frame as "x,y wxh", for the messages of failed checks.
inline QString frame_text(QRect r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

inline int exec_on_virtual_display(QObject& test, int argc, char** argv, QSize screen, const std::string& manager)
{
    testing::VirtualDisplay display;
    const std::string trouble = display.start(screen.width(), screen.height(), manager);
    if (!trouble.empty()) {
        std::fprintf(stderr, "%s\n", trouble.c_str());
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    uikit::Application app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    return QTest::qExec(&test, argc, argv);
}
