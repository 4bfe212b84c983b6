#include "uikit/messagebox.h"

#include <QApplication>
#include <utility>

namespace uikit {

namespace {
MessageBoxHook& hook()
{
    static MessageBoxHook instance;
    return instance;
}
}  // namespace

void set_message_box_hook(MessageBoxHook h) { hook() = std::move(h); }

QMessageBox::StandardButton message_box(QWidget* parent, const QString& text, const QString& caption,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)
{
    // The database layer separates the lines of its messages with a bare
    // carriage return; a Qt label wants line feeds.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));

    const MessageBoxRequest request{parent, shown, caption, icon, buttons};
    if (hook())
        return hook()(request);

    QMessageBox box(icon, caption, shown, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void report_error(const QString& text)
{
    message_box(QApplication::activeWindow(), text, QString(), QMessageBox::Critical);
}

}  // namespace uikit
