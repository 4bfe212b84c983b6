// The home page and its two links "访问软件主页" (the about window's
// Label_url and the main window's l_info).  The home page is velkin.html
// beside the program, opened with the desktop's default handler, so there
// is no web address to go stale.
#pragma once

#include <QUrl>
#include <functional>

class QLabel;
class QWidget;
namespace uikit {
class ClickLabel;
}

namespace options {

inline constexpr const char* home_page_file_name = "velkin.html";

// The file address of program_folder() + "velkin.html".
QUrl home_page_url();

// A click on a link: hands the home page to the desktop's default handler
// and does not look at the result.  A home page that is missing is told in
// a message box over `holder`, the window that holds the link.
void open_home_page(QWidget* holder);

// The pointer enters a link: its font becomes underline alone.
void link_mouse_enter(QLabel* link);
// The pointer leaves a link: an underline alone becomes regular.
void link_mouse_leave(QLabel* link);

// Gives a label the link behaviour: underline under the pointer, and a
// click opens the home page.  The cursor stays as the label has it.
void make_home_page_link(uikit::ClickLabel* link);

// Replaces the desktop's handler (tests see the address instead of a
// browser opening); an empty hook restores it.
using UrlOpenerHook = std::function<void(const QUrl&)>;
void set_url_opener_hook(UrlOpenerHook hook);

}  // namespace options
