// The note editor on a real X11 desktop (Xvfb with openbox, started by
// x11_session), driven by real pointer and key events from xdotool: a
// double click on the note page opens it without a frame, a click on a
// cut-out corner reaches the window beneath, and "确定(&S)" stores what was
// typed.
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtTest>
#include <poll.h>
#include <xcb/xcb.h>

#include "modal_answer.h"
#include "notehelpers.h"
#include "notes/noteedit.h"
#include "windowfixture.h"

namespace {

bool xdotool(const QStringList& args) { return QProcess::execute(QStringLiteral("xdotool"), args) == 0; }

QStringList at(QPoint p) { return {QString::number(p.x()), QString::number(p.y())}; }

bool click(QPoint global, int count = 1)
{
    return xdotool(QStringList{"mousemove", "--sync"} + at(global) +
                   QStringList{"click", "--repeat", QString::number(count), "--delay", "60", "1"});
}

// A window of its own connection beneath every other window and covering
// the screen: whatever click no window above takes lands on it.
class Beneath {
public:
    Beneath() : c_(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(c_))
            return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        window_ = xcb_generate_id(c_);
        const uint32_t values[] = {1, XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, screen->width_in_pixels,
                          screen->height_in_pixels, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        xcb_map_window(c_, window_);
        const uint32_t bottom = XCB_STACK_MODE_BELOW;
        xcb_configure_window(c_, window_, XCB_CONFIG_WINDOW_STACK_MODE, &bottom);
        xcb_flush(c_);
        xcb_generic_event_t* mapped = next_event(XCB_MAP_NOTIFY, 5000);
        mapped_ = mapped != nullptr;
        free(mapped);
    }
    ~Beneath() { xcb_disconnect(c_); }

    bool ready() const { return mapped_; }

    // Where the next button press on this window happened, in screen
    // coordinates; (-1, -1) when none comes in time.
    QPoint next_press(int timeout_ms)
    {
        const std::unique_ptr<xcb_generic_event_t, decltype(&free)> event(next_event(XCB_BUTTON_PRESS, timeout_ms),
                                                                          &free);
        if (!event)
            return {-1, -1};
        const auto* press = reinterpret_cast<const xcb_button_press_event_t*>(event.get());
        return {press->root_x, press->root_y};
    }

private:
    // The next event of `type`, skipping others; null after the deadline.
    xcb_generic_event_t* next_event(uint8_t type, int timeout_ms)
    {
        QDeadlineTimer deadline(timeout_ms);
        while (true) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
                if ((event->response_type & 0x7F) == type)
                    return event;
                free(event);
            }
            pollfd waiting{xcb_get_file_descriptor(c_), POLLIN, 0};
            if (deadline.hasExpired() || poll(&waiting, 1, static_cast<int>(deadline.remainingTime())) <= 0)
                return nullptr;
        }
    }

    xcb_connection_t* c_;
    xcb_window_t window_ = 0;
    bool mapped_ = false;
};

// The size of the window the window manager put around `window`: the
// window's own size when it has no frame.
QSize outer_size(WId window)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    auto w = static_cast<xcb_window_t>(window);
    while (true) {
        auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
        if (!tree)
            break;
        const bool top = tree->parent == tree->root;
        const xcb_window_t parent = tree->parent;
        free(tree);
        if (top)
            break;
        w = parent;
    }
    QSize size;
    if (auto* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr)) {
        size = QSize(geometry->width + 2 * geometry->border_width, geometry->height + 2 * geometry->border_width);
        free(geometry);
    }
    xcb_disconnect(c);
    return size;
}

}  // namespace

class TestNoteEditX11 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server with a window manager: run it under x11_session");
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(), "xdotool is missing");
    }

    void a_note_typed_in_the_notepad_is_stored()
    {
        WindowFixture f;
        auto w = f.open_window(QDate(2024, 3, 5));
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        Beneath beneath;
        QVERIFY(beneath.ready());
        child<QTabWidget>(w.get(), "RzPageControl_date")->setCurrentWidget(child<QWidget>(w.get(), "TabSheet6"));
        QPlainTextEdit* page = note_memo(w.get());
        QTRY_VERIFY(page->isVisible());

        bool answered = false;
        testing::answer_modal<notes::NoteEditor>(
            [&](notes::NoteEditor* editor) {
                QVERIFY(QTest::qWaitForWindowExposed(editor));
                QTRY_COMPARE(outer_size(editor->winId()), QSize(697, 529));

                // The sheet takes its click; the cut-out corner lets it
                // through to the window beneath.
                const QPoint corner = editor->mapToGlobal(QPoint(692, 524));
                QVERIFY(click(editor->mapToGlobal(QPoint(300, 470))));
                QVERIFY(click(corner));
                QCOMPARE(beneath.next_press(5000), corner);

                QTRY_VERIFY(editor->isActiveWindow());
                auto* text = child<QPlainTextEdit>(editor, "Memo1");
                QTRY_COMPARE(QApplication::focusWidget(), text);
                QVERIFY(xdotool({"type", "--delay", "20", "typed on X11"}));
                QTRY_COMPARE(text->toPlainText(), QStringLiteral("typed on X11"));
                auto* ok = child<QPushButton>(editor, "Button1");
                QVERIFY(click(ok->mapToGlobal(ok->rect().center())));
                answered = true;
            },
            10000);
        QVERIFY(click(page->mapToGlobal(page->rect().center()), 2));
        QTRY_VERIFY_WITH_TIMEOUT(answered && !QApplication::activeModalWidget(), 15000);
        QCOMPARE(stored_notes("20240305"), QStringList{"typed on X11"});
        QCOMPARE(page->toPlainText(), QStringLiteral("typed on X11"));
        QVERIFY(note_mark_shown(w.get(), 5));
    }
};

QTEST_MAIN(TestNoteEditX11)
#include "test_noteedit_x11.moc"
