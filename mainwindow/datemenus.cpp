#include "mainwindow/datemenus.h"

#include <QMenu>

#include "ui_FRM_Date.h"
#include "uikit/clicklabel.h"

namespace {
constexpr int first_year_in_menu = 1901;
constexpr int last_year_in_menu = 2050;
}  // namespace

DateMenus::DateMenus(Ui::FRM_Date& ui, QWidget* window) : QObject(window)
{
    build_program_menu(ui, window);
    build_month_menu(window);
    build_year_menu(window);
    open_on_right_click(ui.label_year, MenuYear);
    open_on_right_click(ui.Label19, MenuYear);
    open_on_right_click(ui.Label_month, MenuMonth);
    open_on_right_click(ui.Label18, MenuMonth);
}

void DateMenus::build_program_menu(Ui::FRM_Date& ui, QWidget* window)
{
    pm_menu = new QMenu(window);
    pm_menu->setObjectName(QStringLiteral("pm_menu"));
    auto separator = [this](const char* name) {
        QAction* action = pm_menu->addSeparator();
        action->setObjectName(QString::fromLatin1(name));
    };
    pm_menu->addAction(ui.N5);
    pm_menu->addAction(ui.N10);
    separator("N1");
    pm_menu->addAction(ui.N8);
    separator("N6");
    pm_menu->addAction(ui.N9);
    ui.ToolButton1->setMenu(pm_menu);
}

void DateMenus::build_month_menu(QWidget* window)
{
    MenuMonth = new QMenu(window);
    MenuMonth->setObjectName(QStringLiteral("MenuMonth"));
    for (int n = 1; n <= 12; ++n) {
        QAction* item = MenuMonth->addAction(QString::number(n) + QStringLiteral("月"));
        item->setObjectName(QStringLiteral("MenuMonth_%1").arg(n));
        item->setData(n);
        connect(item, &QAction::triggered, this, [this, n] { emit MenuMonth_1Click(n); });
    }
}

// Group g - 1 holds the years g to g + 9: 1900 holds 1901-1910.
void DateMenus::build_year_menu(QWidget* window)
{
    MenuYear = new QMenu(window);
    MenuYear->setObjectName(QStringLiteral("MenuYear"));
    for (int g = first_year_in_menu; g <= last_year_in_menu; g += 10) {
        QMenu* group = MenuYear->addMenu(QString::number(g - 1));
        group->setObjectName(QStringLiteral("MenuYear_%1").arg(g - 1));
        group->menuAction()->setObjectName(group->objectName());
        for (int y = g; y <= g + 9; ++y) {
            QAction* item = group->addAction(QString::number(y));
            item->setObjectName(QStringLiteral("MenuYear_%1").arg(y));
            item->setData(y);
            connect(item, &QAction::triggered, this, [this, y] { emit MenuYearClick(y); });
        }
    }
}

void DateMenus::open_on_right_click(QWidget* caption, QMenu* menu)
{
    auto* label = qobject_cast<uikit::ClickLabel*>(caption);
    Q_ASSERT(label);
    connect(label, &uikit::ClickLabel::pressed, menu,
            [menu](uikit::ClickLabel*, Qt::MouseButton button, QPoint global_position) {
                if (button == Qt::RightButton)
                    menu->popup(global_position);
            });
}
