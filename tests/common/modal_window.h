// One modal window answered from inside the program's own call: the window
// that `open` shows through uikit::show_modal is handed to the answer in
// place of its event loop, on screen, and must be closed by it.
#pragma once

#include <QDialog>
#include <QtTest>
#include <functional>

#include "uikit/modal.h"

namespace testing {

inline void with_modal_window(const std::function<void()>& open, const std::function<void(QDialog&)>& answer)
{
    int openings = 0;
    uikit::set_modal_hook([&](QDialog& window) {
        ++openings;
        window.setResult(QDialog::Rejected);
        window.show();
        answer(window);
        const bool left_open = window.isVisible();
        window.hide();
        if (left_open)
            QTest::qFail("the window is still open", __FILE__, __LINE__);
        return window.result();
    });
    open();
    uikit::set_modal_hook({});
    QVERIFY2(openings == 1, "the window did not open once");
}

}  // namespace testing
