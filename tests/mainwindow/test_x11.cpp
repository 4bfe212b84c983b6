// The main window in a real X11 window (under Xvfb): stays on top, is a
// tool window and is left out of the taskbar and pager.
#include <QGuiApplication>
#include <QtTest>
#include <xcb/xcb.h>

#include "windowfixture.h"

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return a;
}

QList<xcb_atom_t> atoms_of(xcb_connection_t* c, xcb_window_t w, const char* property)
{
    auto* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, atom(c, property), XCB_ATOM_ATOM, 0, 64), nullptr);
    QList<xcb_atom_t> atoms;
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i)
            atoms << data[i];
    }
    free(reply);
    return atoms;
}

}  // namespace

class TestX11 : public QObject {
    Q_OBJECT

private slots:
    void window_is_a_tool_on_top_without_taskbar_entry()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        WindowFixture f;
        auto w = f.open_window(QDate(2024, 2, 10));
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(c));
        const auto window = static_cast<xcb_window_t>(w->winId());
        const QList<xcb_atom_t> states = atoms_of(c, window, "_NET_WM_STATE");
        QVERIFY(states.contains(atom(c, "_NET_WM_STATE_SKIP_TASKBAR")));
        QVERIFY(states.contains(atom(c, "_NET_WM_STATE_SKIP_PAGER")));
        QVERIFY(states.contains(atom(c, "_NET_WM_STATE_ABOVE")));
        QVERIFY(atoms_of(c, window, "_NET_WM_WINDOW_TYPE").contains(atom(c, "_NET_WM_WINDOW_TYPE_UTILITY")));
        xcb_disconnect(c);
        QCOMPARE(w->frameGeometry().size(), QSize(328, 560));
    }
};

QTEST_MAIN(TestX11)
#include "test_x11.moc"
