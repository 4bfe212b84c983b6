// Answering the modal windows a test opens, from inside their event loop.
// A window that does not come, or an answer whose checks fail, fails the
// test and closes every modal window, so the test ends instead of waiting
// for the runner's timeout.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace testing {

// Closes every modal window, innermost first.
inline void close_modal_windows()
{
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

// Waits from the event loop for a modal window of type W and hands it to
// `answer`, which may use QVERIFY and QCOMPARE.  Call it before the code
// that opens the window.
template <typename W>
void answer_modal(std::function<void(W*)> answer, int timeout_ms = 5000)
{
    auto deadline = std::make_shared<QDeadlineTimer>(timeout_ms);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, deadline, poll] {
        W* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!window) {
            if (!deadline->hasExpired()) {
                QTimer::singleShot(10, *poll);
                return;
            }
            QTest::qFail("the expected modal window did not open", __FILE__, __LINE__);
            close_modal_windows();
            *poll = nullptr;
            return;
        }
        answer(window);
        if (QTest::currentTestFailed())
            close_modal_windows();
        *poll = nullptr;  // breaks the cycle between the function and its copy
    };
    QTimer::singleShot(0, *poll);
}

// The controls of `window` whose accessible name is empty: a screen reader
// or a test robot could not find them.  Hidden controls and plain
// containers are left out.
QStringList controls_without_accessible_name(QWidget* window);

}  // namespace testing
