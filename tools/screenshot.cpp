// velkin_screenshot [--note-editor NOTE.txt] YYYYMMDD FOLDER OUT.png
// Renders the main window as it shows the given date, with FOLDER as the
// program folder (its velkin.db and vkset.vki are used, or created), and
// saves the picture.  With --note-editor it renders instead the note editor
// opened from that window, showing the text of NOTE.txt (UTF-8) as typed,
// with its cut-out background transparent; nothing is saved.  Runs on the
// offscreen platform.
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <cstdio>

#include "mainwindow/DateWin.h"
#include "notes/notepage.h"
#include "storage/datafile.h"
#include "uikit/application.h"
#include "uikit/modal.h"

namespace {

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
    if (args.size() == 6 && args[1] == QLatin1String("--note-editor")) {
        note_file = args[2];
        args.remove(1, 2);
    }
    const QDate date = args.size() == 4 ? QDate::fromString(args[1], QStringLiteral("yyyyMMdd")) : QDate();
    if (!date.isValid()) {
        std::fprintf(stderr, "usage: velkin_screenshot [--note-editor NOTE.txt] YYYYMMDD FOLDER OUT.png\n");
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
