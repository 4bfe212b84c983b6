// velkin_screenshot YYYYMMDD FOLDER OUT.png
// Renders the main window as it shows the given date, with FOLDER as the
// program folder (its velkin.db and vkset.vki are used, or created), and
// saves the picture.  Runs on the offscreen platform.
#include <QDate>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "mainwindow/DateWin.h"
#include "uikit/application.h"
#include "storage/datafile.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    uikit::Application app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QDate date = args.size() == 4 ? QDate::fromString(args[1], QStringLiteral("yyyyMMdd")) : QDate();
    if (!date.isValid()) {
        std::fprintf(stderr, "usage: velkin_screenshot YYYYMMDD FOLDER OUT.png\n");
        return 2;
    }
    QDir().mkpath(args[2]);

    StartOptions options;
    options.program_folder = QDir(args[2]).absolutePath().toStdString() + "/";
    options.today = [date] { return date; };
    options.instance_name = "velkin-screenshot";
    TFRM_Date window(options);
    if (window.refused())
        return 1;
    window.show();
    QCoreApplication::processEvents();
    const bool saved = window.grab().save(args[3], "PNG");
    app_database.reset();
    if (!saved) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
