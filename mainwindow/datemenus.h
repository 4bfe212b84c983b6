// The main window's popup menus: the program menu pm_menu behind the menu
// button, the month menu MenuMonth (12 months) and the year menu MenuYear
// (1901-2050 in groups of ten), which open on a right click on the month
// and year captions.
#pragma once

#include <QObject>

class QMenu;
namespace Ui {
class FRM_Date;
}

class DateMenus : public QObject {
    Q_OBJECT

public:
    DateMenus(Ui::FRM_Date& ui, QWidget* window);

    QMenu* pm_menu = nullptr;
    QMenu* MenuMonth = nullptr;
    QMenu* MenuYear = nullptr;

signals:
    void MenuMonth_1Click(int month);
    void MenuYearClick(int year);

private:
    void build_program_menu(Ui::FRM_Date& ui, QWidget* window);
    void build_month_menu(QWidget* window);
    void build_year_menu(QWidget* window);
    void open_on_right_click(QWidget* caption, QMenu* menu);
};
