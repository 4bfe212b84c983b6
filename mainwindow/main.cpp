#include "mainwindow/DateWin.h"
#include "uikit/application.h"

int main(int argc, char** argv)
{
    uikit::Application app(argc, argv);
    // The main window is a tool window, which Qt does not count as the last
    // window; the program ends when it closes.
    app.setQuitOnLastWindowClosed(false);

    StartOptions options;
#ifdef VELKIN_TEST_INSTANCE_NAME
    // The copy the tests start claims a name of its own, so a Velkin running
    // on the same machine and the tests never refuse each other.
    options.instance_name = VELKIN_TEST_INSTANCE_NAME;
#endif
    TFRM_Date window(options);
    if (window.refused())
        return window.exit_code();
    QObject::connect(&window, &TFRM_Date::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    window.show();
    return app.exec();
}
