#include "mainwindow/DateWin.h"
#include "uikit/application.h"

int main(int argc, char** argv)
{
    uikit::Application app(argc, argv);
    // The main window is a tool window, which Qt does not count as the last
    // window; the program ends when it closes.
    app.setQuitOnLastWindowClosed(false);

    TFRM_Date window;
    if (window.refused())
        return window.exit_code();
    QObject::connect(&window, &TFRM_Date::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    window.show();
    return app.exec();
}
