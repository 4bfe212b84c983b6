// Helpers for the main-window tests: a fresh program folder per test, a
// fixed "today", and a record of every message box that would have shown.
#pragma once

#include <QDate>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
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

    // A data file made before the program starts, for rows to be put in.
    std::unique_ptr<TSQLiteDatabase> prepared_data_file()
    {
        const std::string path = folder() + "velkin.db";
        create_data_file(path);
        return std::make_unique<TSQLiteDatabase>(path);
    }

    std::unique_ptr<TFRM_Date> open_window(QDate today, bool show = true)
    {
        StartOptions options;
        options.program_folder = folder();
        options.today = [today] { return today; };
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

inline QColor text_colour_of(QWidget* w) { return w->palette().color(QPalette::WindowText); }
