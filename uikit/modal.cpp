#include "uikit/modal.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <utility>

#include "uikit/style.h"

namespace uikit {

namespace {

ModalHook& hook()
{
    static ModalHook instance;
    return instance;
}

int run_modal(QDialog& dialog)
{
    if (hook())
        return hook()(dialog);
    return dialog.exec();
}

QRect centre_area(QWidget* owner)
{
    if (owner && owner->isVisible())
        return owner->frameGeometry();
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

}  // namespace

void set_modal_hook(ModalHook h) { hook() = std::move(h); }

void prepare_modal(QDialog& dialog, QWidget* owner)
{
    if (owner && dialog.parentWidget() != owner)
        dialog.setParent(owner, dialog.windowFlags());
    // The main window stays on top; a window it opens must stay above it.
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (!dialog.testAttribute(Qt::WA_SetFont))
        dialog.setFont(program_font());
    dialog.adjustSize();
    const QRect area = centre_area(owner);
    if (area.isValid())
        dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

int show_modal(QDialog& dialog, QWidget* owner)
{
    prepare_modal(dialog, owner);
    return run_modal(dialog);
}

int show_modal_as_is(QDialog& dialog, QWidget* owner)
{
    if (owner && dialog.parentWidget() != owner)
        dialog.setParent(owner, dialog.windowFlags());
    dialog.setWindowModality(Qt::ApplicationModal);
    return run_modal(dialog);
}

}  // namespace uikit
