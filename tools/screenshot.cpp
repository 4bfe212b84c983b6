// velkin_screenshot [--note-editor NOTE.txt] YYYYMMDD FOLDER OUT.png [TASKS.tsv]
// Renders the main window as it shows the given date, with FOLDER as the
// program folder (its velkin.db and vkset.vki are used, or created), and
// saves the picture.  TASKS.tsv, when given, replaces the stored tasks of
// the days it names first: one task a line, "yyyymmdd", category, state and
// text separated by tabs, in list order.  With --note-editor it renders
// instead the note editor opened from that window, showing the text of
// NOTE.txt (UTF-8) as typed, with its cut-out background transparent;
// nothing is saved.  Runs on the offscreen platform.
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <cstdio>
#include <map>

#include "mainwindow/DateWin.h"
#include "notes/notepage.h"
#include "storage/datafile.h"
#include "storage/daydata.h"
#include "uikit/application.h"
#include "uikit/modal.h"

namespace {

// The tasks of each day named in the file; false when it cannot be read or
// a line is not four fields.
bool read_tasks(const QString& path, std::map<std::string, std::vector<daydata::Task>>& days)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 4)
            return false;
        days[fields[0].toStdString()].push_back(
            {fields[1].toStdString(), fields[2].toStdString(), fields[3].toStdString()});
    }
    return true;
}

bool store_tasks(const QString& tasks_file, const std::string& folder)
{
    std::map<std::string, std::vector<daydata::Task>> days;
    if (!read_tasks(tasks_file, days)) {
        std::fprintf(stderr, "cannot read the tasks in %s\n", qPrintable(tasks_file));
        return false;
    }
    const std::string path = folder + "velkin.db";
    if (!QFile::exists(QString::fromStdString(path)))
        create_data_file(path);
    TSQLiteDatabase db(path);
    for (const auto& [day, tasks] : days)
        daydata::replace_tasks(db, day, tasks);
    return true;
}

// The window as it is on screen: what its mask cuts out is transparent.
QPixmap shaped_grab(QWidget& window)
{
    const QPixmap grabbed = window.grab();
    QPixmap shaped(grabbed.size());
    shaped.fill(Qt::transparent);
    QPainter painter(&shaped);
    if (!window.mask().isEmpty())
        painter.setClipRegion(window.mask());
    painter.drawPixmap(0, 0, grabbed);
    return shaped;
}

QPixmap note_editor_grab(TFRM_Date& window, const QString& note)
{
    auto* page = window.findChild<notes::NotePage*>();
    page->memo()->setPlainText(note);
    QPixmap picture;
    uikit::set_modal_hook([&picture](QDialog& editor) {
        editor.show();
        QCoreApplication::processEvents();
        picture = shaped_grab(editor);
        return 0;
    });
    page->Memo_noteDblClick();
    uikit::set_modal_hook({});
    return picture;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    uikit::Application app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    QString note_file;
    if (args.size() >= 3 && args[1] == QLatin1String("--note-editor")) {
        note_file = args[2];
        args.remove(1, 2);
    }
    const bool usage_ok = args.size() == 4 || args.size() == 5;
    const QDate date = usage_ok ? QDate::fromString(args[1], QStringLiteral("yyyyMMdd")) : QDate();
    if (!date.isValid()) {
        std::fprintf(stderr, "usage: velkin_screenshot [--note-editor NOTE.txt] YYYYMMDD FOLDER OUT.png [TASKS.tsv]\n");
        return 2;
    }
    QString note;
    if (!note_file.isEmpty()) {
        QFile file(note_file);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(note_file));
            return 1;
        }
        note = QString::fromUtf8(file.readAll());
    }
    QDir().mkpath(args[2]);

    StartOptions options;
    options.program_folder = QDir(args[2]).absolutePath().toStdString() + "/";
    options.today = [date] { return date; };
    options.instance_name = "velkin-screenshot";
    if (args.size() == 5 && !store_tasks(args[4], options.program_folder))
        return 1;
    TFRM_Date window(options);
    if (window.refused())
        return 1;
    window.show();
    QCoreApplication::processEvents();
    const QPixmap picture = note_file.isEmpty() ? window.grab() : note_editor_grab(window, note);
    const bool saved = picture.save(args[3], "PNG");
    app_database.reset();
    if (!saved) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
