// The main function of the tests of real windows: the test runs in the
// program's QApplication on a virtual display of its own.
#pragma once

#include <QObject>
#include <QSize>
#include <QtTest>
#include <cstdio>
#include <string>

#include "uikit/application.h"
#include "xserver.h"

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
