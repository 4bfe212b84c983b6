// Showing a secondary window modally, the way every window of the program
// is shown: a dialog with a close box only, above the always-on-top main
// window, centred on its owner, in the program's font.  Tests install a hook
// that sees each window instead of running its event loop, in the manner of
// the message-box hook.
#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace uikit {

// Runs `dialog` modally over `owner` (may be null) and returns its result.
int show_modal(QDialog& dialog, QWidget* owner);

// The window flags and placement show_modal gives, without showing; for
// windows that run their own loop.
void prepare_modal(QDialog& dialog, QWidget* owner);

// Runs `dialog` modally over `owner` through the same hook, keeping the
// frame, place and font the dialog gave itself: for a borderless, shaped
// window.
int show_modal_as_is(QDialog& dialog, QWidget* owner);

// Replaces the modal loop with `hook`, which gets the prepared dialog and
// returns the result (an empty hook restores the real loop).
using ModalHook = std::function<int(QDialog&)>;
void set_modal_hook(ModalHook hook);

}  // namespace uikit
