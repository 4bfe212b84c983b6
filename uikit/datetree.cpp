#include "uikit/datetree.h"

#include <QDate>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

namespace uikit {

namespace {

constexpr int daykey_role = Qt::UserRole;
constexpr int icon_size = 20;

QPixmap blank_picture()
{
    QPixmap picture(icon_size, icon_size);
    picture.fill(Qt::transparent);
    return picture;
}

// The same picture whether the node is selected or not: the style would
// tint a selected one.
QIcon icon_of(const QPixmap& picture)
{
    QIcon icon(picture);
    icon.addPixmap(picture, QIcon::Selected);
    return icon;
}

// A page with a red binding strip, as a desk calendar; `number` on the
// page, or two rows of dots for the year picture.
QIcon calendar_picture(int number)
{
    QPixmap picture = blank_picture();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2.5, 3.5, 15, 15), 2, 2);
    p.fillRect(QRectF(3, 4, 14, 4), QColor(0xD0, 0x30, 0x30));
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawLine(QPointF(6.5, 2), QPointF(6.5, 5));
    p.drawLine(QPointF(13.5, 2), QPointF(13.5, 5));
    if (number == 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0x30, 0x80));
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column)
                p.drawRect(QRectF(5 + 4 * column, 10 + 4 * row, 2, 2));
    } else {
        QFont font;
        font.setPixelSize(number >= 10 ? 8 : 10);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0x30, 0x30, 0x80));
        p.drawText(QRectF(3, 8, 14, 10), Qt::AlignCenter, QString::number(number));
    }
    return icon_of(picture);
}

// A yellow pad with ruled lines and a pen across it.
QIcon notepad_picture()
{
    QPixmap picture = blank_picture();
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x80, 0x80, 0x40));
    p.setBrush(QColor(0xFF, 0xFF, 0xB0));
    p.drawRect(QRectF(3.5, 2.5, 11, 15));
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    for (int y = 7; y <= 15; y += 3)
        p.drawLine(QPointF(5, y + 0.5), QPointF(13, y + 0.5));
    QPen pen(QColor(0x20, 0x50, 0xC0), 2.5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(9, 15), QPointF(17, 5));
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 16.5), QPointF(9, 15));
    return icon_of(picture);
}

QTreeWidgetItem* new_node(const QString& text, const QIcon& icon)
{
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setIcon(0, icon);
    return node;
}

bool is_daykey_of_a_real_date(const std::string& key)
{
    if (key.size() != 8)
        return false;
    for (char c : key)
        if (c < '0' || c > '9')
            return false;
    return QDate(std::stoi(key.substr(0, 4)), std::stoi(key.substr(4, 2)), std::stoi(key.substr(6, 2))).isValid();
}

}  // namespace

DateTree::DateTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(23);
    setIconSize(QSize(icon_size, icon_size));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, &DateTree::select_on_toggle);
    connect(this, &QTreeWidget::itemCollapsed, this, &DateTree::select_on_toggle);
}

void DateTree::select_on_toggle(QTreeWidgetItem* item) { setCurrentItem(item); }

void DateTree::go_back_to(QTreeWidgetItem* item)
{
    const QPersistentModelIndex node = indexFromItem(item);
    QTimer::singleShot(0, this, [this, node] {
        if (!node.isValid())
            return;
        const QSignalBlocker quiet(this);
        setCurrentItem(itemFromIndex(node));
    });
}

const std::vector<QIcon>& DateTree::icons()
{
    static const std::vector<QIcon> pictures = [] {
        std::vector<QIcon> list;
        for (int n = 0; n <= 12; ++n)
            list.push_back(calendar_picture(n));
        list.push_back(notepad_picture());
        return list;
    }();
    return pictures;
}

// With the keys sorted, each node is the next child of the last node of the
// level above: no node is ever searched for, and the order is the
// chronological order the keys' fixed width gives their text.  The data
// file hands them over sorted already.
void DateTree::fill(std::vector<std::string> daykeys)
{
    clear();
    if (!std::is_sorted(daykeys.begin(), daykeys.end()))
        std::sort(daykeys.begin(), daykeys.end());
    daykeys.erase(std::unique(daykeys.begin(), daykeys.end()), daykeys.end());
    const std::vector<QIcon>& pictures = icons();
    QList<QTreeWidgetItem*> years;
    QTreeWidgetItem* year = nullptr;
    QTreeWidgetItem* month = nullptr;
    std::string year_text, month_text;
    for (const std::string& key : daykeys) {
        if (!is_daykey_of_a_real_date(key))
            continue;
        if (!year || key.compare(0, 4, year_text) != 0) {
            year_text = key.substr(0, 4);
            year = new_node(QString::fromStdString(year_text) + QStringLiteral("年"), pictures[0]);
            years.append(year);
            month = nullptr;
        }
        if (!month || key.compare(4, 2, month_text) != 0) {
            month_text = key.substr(4, 2);
            month = new_node(QString::fromStdString(month_text) + QStringLiteral("月"),
                             pictures[static_cast<std::size_t>(std::stoi(month_text))]);
            year->addChild(month);
        }
        QTreeWidgetItem* day = new_node(QString::fromStdString(key.substr(6, 2)) + QStringLiteral("日"), pictures[13]);
        day->setData(0, daykey_role, QString::fromStdString(key));
        month->addChild(day);
    }
    addTopLevelItems(years);
}

int DateTree::level(const QTreeWidgetItem* item)
{
    int depth = 0;
    for (const QTreeWidgetItem* p = item ? item->parent() : nullptr; p; p = p->parent())
        ++depth;
    return depth;
}

QString DateTree::daykey(const QTreeWidgetItem* item)
{
    return item && level(item) == Day ? item->data(0, daykey_role).toString() : QString();
}

}  // namespace uikit
