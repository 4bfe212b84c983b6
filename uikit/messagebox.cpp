#include "uikit/messagebox.h"

#include <QApplication>
#include <QList>
#include <QPointer>
#include <QScreen>
#include <utility>

namespace uikit {

namespace {
MessageBoxHook& hook()
{
    static MessageBoxHook instance;
    return instance;
}

// The boxes on screen now, innermost last.
QList<QPointer<QMessageBox>>& open_boxes()
{
    static QList<QPointer<QMessageBox>> boxes;
    return boxes;
}

// A box without a parent still belongs over the main window: the visible
// window that stays on top, else any visible window.
QWidget* owner_for(QWidget* parent)
{
    if (parent)
        return parent->window();
    if (QWidget* active = QApplication::activeWindow())
        return active;
    QWidget* any = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || qobject_cast<QMessageBox*>(w) || w->windowType() == Qt::Popup)
            continue;
        if (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return w;
        if (!any)
            any = w;
    }
    return any;
}

// Above the always-on-top main window, and centred on it once its own size
// is known, which a message box settles only as it is shown.
class Box : public QMessageBox {
public:
    Box(Icon icon, const QString& caption, const QString& text, StandardButtons buttons, QWidget* owner)
        : QMessageBox(icon, caption, text, buttons, owner), owner_(owner)
    {
        setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        QRect area;
        if (owner_ && owner_->isVisible())
            area = owner_->frameGeometry();
        else if (QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
        if (area.isValid())
            move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }

private:
    QPointer<QWidget> owner_;
};

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

    Box box(icon, caption, shown, buttons, owner_for(parent));
    open_boxes().append(&box);
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    open_boxes().removeAll(&box);
    return answer;
}

void close_message_boxes()
{
    const auto boxes = open_boxes();
    for (auto it = boxes.rbegin(); it != boxes.rend(); ++it)
        if (*it)
            (*it)->done(QMessageBox::Cancel);
}

void report_error(const QString& text)
{
    message_box(QApplication::activeWindow(), text, QString(), QMessageBox::Critical);
}

}  // namespace uikit
