// Helpers for the main-window tests: a fresh program folder per test, a
// fixed "today", and a record of every message box that would have shown.
#pragma once

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "../common/controls.h"
#include "mainwindow/DateWin.h"
#include "storage/datafile.h"
#include "uikit/messagebox.h"
#include "storage/sqlite.h"

struct WindowFixture {
    QTemporaryDir dir;
    QStringList messages;

    WindowFixture()
    {
        uikit::set_message_box_hook([this](const uikit::MessageBoxRequest& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
    }
    ~WindowFixture() { uikit::set_message_box_hook({}); }

    std::string folder() const { return QDir(dir.path()).absolutePath().toStdString() + "/"; }
    QString file(const QString& name) const { return dir.filePath(name); }

    // A settings file written before the program starts.
    void write_settings_file(const QByteArray& text) const
    {
        QFile settings(file("vkset.vki"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write(text);
    }

    // A data file made before the program starts, for rows to be put in.
    std::unique_ptr<TSQLiteDatabase> prepared_data_file()
    {
        const std::string path = folder() + "velkin.db";
        create_data_file(path);
        return std::make_unique<TSQLiteDatabase>(path);
    }

    std::unique_ptr<TFRM_Date> open_window(QDate today, bool show = true)
    {
        return open_window([today] { return today; }, show);
    }

    // The same on a clock the test moves.
    std::unique_ptr<TFRM_Date> open_window(std::function<QDate()> today, bool show = true)
    {
        StartOptions options;
        options.program_folder = folder();
        options.today = std::move(today);
        // Each test process claims a name of its own, so test runs in
        // parallel never refuse each other.
        options.instance_name = "velkin-test-" + std::to_string(QCoreApplication::applicationPid());
        auto window = std::make_unique<TFRM_Date>(options);
        if (show && !window->refused()) {
            window->show();
            QCoreApplication::processEvents();
        }
        return window;
    }
};

// The settings of a window stored at `position`.
inline QByteArray position_settings(QPoint position)
{
    return QStringLiteral("[option]\r\npos_left=%1\r\npos_top=%2\r\n").arg(position.x()).arg(position.y()).toLatin1();
}

inline QColor text_colour_of(QWidget* w) { return w->palette().color(QPalette::WindowText); }

// The cell that shows `day` of the month on show; 0 when none does.
inline int cell_of(QWidget* w, int day)
{
    for (int cell = 1; cell <= TFRM_Date::cell_count; ++cell) {
        auto* label = child<QLabel>(w, QStringLiteral("day_labels_%1").arg(cell));
        if (label->isVisibleTo(w) && label->text() == QString::number(day))
            return cell;
    }
    return 0;
}

// Whether the cell of `day` in the month on show has its mark of `kind`,
// "task" or "note".
inline bool mark_shown(QWidget* w, const char* kind, int day)
{
    const int cell = cell_of(w, day);
    return cell && child<QWidget>(w, QStringLiteral("%1_marks_%2").arg(QLatin1String(kind)).arg(cell))->isVisibleTo(w);
}
