#include "options/homepage.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <utility>

#include "storage/paths.h"
#include "uikit/clicklabel.h"
#include "uikit/messagebox.h"

namespace options {

namespace {

UrlOpenerHook& hook()
{
    static UrlOpenerHook instance;
    return instance;
}

QString home_page_path() { return QString::fromStdString(program_folder()) + QLatin1String(home_page_file_name); }

bool underline_alone(const QFont& font)
{
    return font.underline() && !font.bold() && !font.italic() && !font.strikeOut();
}

}  // namespace

void set_url_opener_hook(UrlOpenerHook h) { hook() = std::move(h); }

QUrl home_page_url() { return QUrl::fromLocalFile(home_page_path()); }

void open_home_page(QWidget* holder)
{
    if (!QFileInfo(home_page_path()).isFile()) {
        uikit::message_box(holder, QStringLiteral("找不到软件主页：%1").arg(home_page_path()));
        return;
    }
    if (hook())
        hook()(home_page_url());
    else
        QDesktopServices::openUrl(home_page_url());
}

void link_mouse_enter(QLabel* link)
{
    QFont font = link->font();
    if (underline_alone(font))
        return;
    font.setUnderline(true);
    font.setBold(false);
    font.setItalic(false);
    font.setStrikeOut(false);
    link->setFont(font);
}

void link_mouse_leave(QLabel* link)
{
    QFont font = link->font();
    if (!underline_alone(font))
        return;
    font.setUnderline(false);
    link->setFont(font);
}

void make_home_page_link(uikit::ClickLabel* link)
{
    QObject::connect(link, &uikit::ClickLabel::entered, link, [link] { link_mouse_enter(link); });
    QObject::connect(link, &uikit::ClickLabel::left, link, [link] { link_mouse_leave(link); });
    QObject::connect(link, &uikit::ClickLabel::clicked, link, [link] { open_home_page(link->window()); });
}

}  // namespace options
