// DateWin: the main window FRM_Date.  Start-up and shutdown, the month view
// with its day cells, and navigation between dates.
#pragma once

#include <QDate>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "mainwindow/celllabel.h"

class QMenu;
class QTimer;
class QSocketNotifier;

namespace uikit {
class Shape;
}
namespace Ui {
class FRM_Date;
}

// How the window starts.  The program uses the defaults; tests, tools and
// benchmarks choose their own folder, date and instance name.
struct StartOptions {
    std::string program_folder;  // empty: the executable's folder
    std::function<QDate()> today;  // empty: the system's date
    std::string instance_name = "scr_dorvane_vk";
};

class TFRM_Date : public QWidget {
    Q_OBJECT

public:
    static constexpr int cell_count = 37;
    static constexpr int outer_width = 328;
    static constexpr int outer_height = 560;

    explicit TFRM_Date(StartOptions options = {}, QWidget* parent = nullptr);
    ~TFRM_Date() override;

    // True when this copy must not run: another instance is running, or the
    // start-up failed.  The window then closes without saving anything.
    bool refused() const { return is_second_instance || startup_failed; }
    int exit_code() const { return startup_failed ? 1 : 0; }

    // The month view.
    void redraw_month(QDate date);
    static QDate clamp_date(int year, int month, int day);
    static int days_in_month(int year, int month);
    static int days_in_month(QDate date);

    // The shutdown save, and its variant for the end of the session, which
    // leaves the data file open in case the log-off is cancelled.
    void doformclose();
    void winexit();

    // Date state: the selected year, month and remembered day, the key of
    // the day whose pages are on show, and the date shown first.
    quint16 sel_year = 0;
    quint16 sel_month = 0;
    quint16 sel_day = 0;
    QString sel_daykey;
    QDate start_date;

signals:
    void closed();

public slots:
    void N9Click();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormResize();
    bool apponlyonetime();
    void initapp_fromlocalset();
    void initapp_fromfx();
    void build_menus();
    void build_day_cells();
    void apply_fonts_and_colours();
    void answer_session_end(int fd);
    void save_session();

    void redraw_header(QDate date);
    void reset_cells();
    void draw_day(int cell, int day, QDate date);
    bool has_rows(const char* table, const QString& daykey);

    // Navigation: every handler ends in select_date's common tail.
    void CnDayMouseDown(CellLabel* label);
    void ChnDateMouseDown(CellLabel* label);
    void select_pressed_day(CellLabel* label, QPoint frame_pos);
    void CnDayClick(CellLabel* label);
    void sb_date_leftClick();
    void sb_date_rightClick();
    void MenuMonth_1Click(int month);
    void MenuYearClick(int year);
    void lb_todayClick();
    void Timer_apprunTimer();
    void show_date(QDate date);
    void step_month(int delta);
    void savedata2fx_schedule();
    void load_day_pages();
    QDate today() const;

    std::unique_ptr<Ui::FRM_Date> ui;
    StartOptions options;
    bool is_second_instance = false;
    bool startup_failed = false;
    bool first_show_done = false;
    bool shut_down = false;
    bool session_saved = false;

    QMenu* pm_menu = nullptr;
    QMenu* MenuMonth = nullptr;
    QMenu* MenuYear = nullptr;
    QTimer* Timer_apprun = nullptr;
    QTimer* Timer_taskhint = nullptr;
    QSocketNotifier* session_end_notifier = nullptr;

    std::array<CellLabel*, cell_count> day_labels{};
    std::array<CellLabel*, cell_count> lunar_labels{};
    std::array<uikit::Shape*, cell_count> task_marks{};
    std::array<uikit::Shape*, cell_count> note_marks{};
};
