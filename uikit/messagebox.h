// The one way the program shows a message box.  Tests install a hook that
// sees every box that would have been shown and answers it.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace uikit {

struct MessageBoxRequest {
    QWidget* parent = nullptr;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

using MessageBoxHook = std::function<QMessageBox::StandardButton(const MessageBoxRequest&)>;

// Shows a modal box and returns the button pressed.  The user's mistakes are
// told with an empty caption, the information icon and an OK button.  The
// box stays above the main window and is centred on its owner: `parent`, or
// when there is none the active window or the main window, or else the
// screen.
QMessageBox::StandardButton message_box(QWidget* parent, const QString& text, const QString& caption = {},
                                        QMessageBox::Icon icon = QMessageBox::Information,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Shows the text of an error that reached the top of an event.
void report_error(const QString& text);

// Closes every box on screen, as if cancelled: for an end that cannot wait
// for the user.
void close_message_boxes();

// Replaces the box with `hook` (an empty hook restores the real box).
void set_message_box_hook(MessageBoxHook hook);

}  // namespace uikit
