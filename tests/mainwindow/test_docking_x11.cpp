// Edge docking on a real X server, under fluxbox, which puts a window where
// it is asked to even partly off the screen: the window is dragged by its
// caption with xdotool, and its frame is read back with xwininfo.  Run with
// VELKIN_TEST_WM=openbox, whose windows keep a part on the screen, it checks
// that the slides end all the same.
#include <QCursor>
#include <QTimer>
#include <QtTest>
#include <cstdlib>

#include "mainwindow/docking.h"
#include "platform/platform.h"
#include "storage/settings.h"
#include "windowfixture.h"
#include "x11_main.h"
#include "xserver.h"

using namespace docking;

namespace {

constexpr int screen_width = 1280;
constexpr int screen_height = 1024;
constexpr int deadline_ms = 10000;
// Where the pointer goes to be away from a window at the left or top edge,
// from one at the right edge, and from one at the bottom.
const QPoint away_from_left(700, 600);
const QPoint away_from_right(300, 600);
const QPoint away_from_bottom(700, 200);

QRect frame_of(QWidget* w) { return testing::frame_by_xwininfo(id_of(w)); }

void xdotool(const QStringList& arguments) { testing::run_tool("xdotool", arguments); }

void pointer_to(QPoint p) { xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())}); }

// Waits until the window's frame stands at `corner`, whole; false when it
// does not before the deadline, and the frame is then in `seen`.
bool frame_comes_to(QWidget* w, QPoint corner, QRect& seen)
{
    return QTest::qWaitFor(
        [&] {
            seen = frame_of(w);
            return seen == QRect(corner, QSize(328, 560));
        },
        deadline_ms);
}

#define VERIFY_FRAME_AT(w, corner)                                                                                     \
    do {                                                                                                               \
        QRect seen_;                                                                                                   \
        QVERIFY2(frame_comes_to((w), (corner), seen_), qPrintable(frame_text(seen_)));                                 \
    } while (false)

// Drags the window by its caption as a user does: presses on the caption,
// moves the pointer in steps, waiting each time until the window is where
// the window manager puts it or where the program brings it back to, and
// lets go.  Without the program the frame would come to `corner`.
void drag_frame_to(QWidget* w, QPoint corner)
{
    const QPoint start = frame_of(w).topLeft();
    const QPoint press = start + QPoint(100, 10);
    pointer_to(press);
    xdotool({"mousedown", "1"});
    // fluxbox starts the move once the pointer has left a dead zone of a few
    // pixels around the press, and holds the window by the press or by the
    // first motion out of it: two nudges tell which.
    const QPoint way = corner - start;
    const QPoint nudge =
        std::abs(way.x()) >= std::abs(way.y()) ? QPoint(way.x() < 0 ? -8 : 8, 0) : QPoint(0, way.y() < 0 ? -8 : 8);
    pointer_to(press + nudge);
    pointer_to(press + 2 * nudge);
    QPoint grab = press;
    const bool moving = QTest::qWaitFor(
        [&] {
            const QPoint at = frame_of(w).topLeft();
            for (const QPoint held_by : {press, press + nudge})
                if (at == start + press + 2 * nudge - held_by) {
                    grab = held_by;
                    return true;
                }
            return false;
        },
        deadline_ms);
    if (!moving)
        qWarning("the window manager did not start moving the window");
    constexpr int steps = 4;
    for (int step = 1; step <= steps; ++step) {
        const QPoint dragged = start + way * step / steps;
        const QPoint inside = clamp_to_screen(dragged, {328, 560}, WindowPlacement::primary_screen());
        pointer_to(grab + dragged - start);
        const bool followed = QTest::qWaitFor(
            [&] {
                const QPoint at = frame_of(w).topLeft();
                return at == dragged || at == inside;
            },
            deadline_ms);
        if (!followed)
            qWarning("the window did not follow the pointer to %d,%d", dragged.x(), dragged.y());
    }
    xdotool({"mouseup", "1"});
}

EdgeDocking* docking_of(QWidget* w) { return w->findChild<EdgeDocking*>(); }

bool is_polling(QWidget* w)
{
    return child<QTimer>(w, "Timer1")->isActive() || child<QTimer>(w, "Timer_formhide")->isActive();
}

// The main window, opened at `position`, framed by the window manager and
// settled there.
std::unique_ptr<TFRM_Date> open_at(WindowFixture& f, QPoint position)
{
    f.write_settings_file(position_settings(position));
    auto w = f.open_window(QDate(2024, 2, 10));
    QRect seen;
    const bool settled = QTest::qWaitFor(
        [&] {
            bool framed = false;
            seen = testing::frame_by_xwininfo(id_of(w.get()), &framed);
            return framed && seen == QRect(position, QSize(328, 560));
        },
        deadline_ms);
    if (!settled)
        qWarning("the window opened at %s", qPrintable(frame_text(seen)));
    return w;
}

}  // namespace

class TestDockingX11 : public QObject {
    Q_OBJECT

public:
    // The window manager puts windows exactly where they are asked to be.
    bool exact_manager = true;

private slots:
    void init();
    void initTestCase();
    void a_move_past_the_left_edge_docks_there();
    void the_top_left_corner_slides_out_upwards();
    void slid_out_at_the_right_edge_of_1280_pixels();
    void the_window_cannot_be_dragged_off_below();
    void closing_while_slid_out_saves_the_position_data();
    void closing_while_slid_out_saves_the_position();
    void slides_end_under_a_manager_that_keeps_windows_on_the_screen();
    void the_pointer_read_follows_every_move();
};

void TestDockingX11::init()
{
    const bool for_keeping_manager =
        QLatin1String(QTest::currentTestFunction()) == "slides_end_under_a_manager_that_keeps_windows_on_the_screen";
    if (for_keeping_manager == exact_manager)
        QSKIP("for the other kind of window manager");
}

namespace {

QPoint pointer_read()
{
    int x = -1, y = -1;
    if (!platform::pointer_position(x, y))
        return {-1, -1};
    return {x, y};
}

}  // namespace

// The poll's reading of the pointer is kept between moves: a move of the
// pointing device shows in the very next reading, and a warp by a program
// (what xdotool mousemove does), which no device reports, soon after.
void TestDockingX11::the_pointer_read_follows_every_move()
{
    for (const QPoint p : {QPoint(5, 5), QPoint(1200, 900), QPoint(640, 500)}) {
        pointer_to(p);
        QTRY_COMPARE_WITH_TIMEOUT(pointer_read(), p, 2000);
    }
    QPoint before = pointer_read();
    for (int i = 0; i < 20; ++i) {
        // Moved as a device moves it, through the XTest device.
        xdotool({"mousemove_relative", "--", QString::number(i % 2 ? -3 : 4), QString::number(i % 3 ? 2 : -1)});
        const QPoint now = pointer_read();
        QCOMPARE(now, QCursor::pos());
        QVERIFY(now != before);
        before = now;
    }
}

void TestDockingX11::initTestCase()
{
    QCOMPARE(WindowPlacement::primary_screen(), QRect(0, 0, screen_width, screen_height));
}

// Docked at the left: away slides it out, the strip slides it back, and a
// drag into the middle disarms it.
void TestDockingX11::a_move_past_the_left_edge_docks_there()
{
    WindowFixture f;
    auto w = open_at(f, {200, 150});
    QVERIFY(!is_polling(w.get()));

    drag_frame_to(w.get(), {-80, 150});
    VERIFY_FRAME_AT(w.get(), QPoint(0, 150));
    QCOMPARE(docking_of(w.get())->dock_edges(), int(edge_left));

    pointer_to(away_from_left);
    VERIFY_FRAME_AT(w.get(), QPoint(-324, 150));

    pointer_to({2, 400});
    VERIFY_FRAME_AT(w.get(), QPoint(0, 150));

    drag_frame_to(w.get(), {400, 300});
    VERIFY_FRAME_AT(w.get(), QPoint(400, 300));
    QTRY_COMPARE_WITH_TIMEOUT(docking_of(w.get())->dock_edges(), 0, deadline_ms);
    pointer_to(away_from_left);
    QTRY_VERIFY_WITH_TIMEOUT(!is_polling(w.get()), deadline_ms);
    QCOMPARE(frame_of(w.get()), QRect(400, 300, 328, 560));
    QVERIFY(f.messages.isEmpty());
}

void TestDockingX11::the_top_left_corner_slides_out_upwards()
{
    WindowFixture f;
    auto w = open_at(f, {200, 150});
    // The pointer cannot leave the screen: the caption goes up to its top.
    drag_frame_to(w.get(), {-60, -8});
    VERIFY_FRAME_AT(w.get(), QPoint(0, 0));
    QCOMPARE(docking_of(w.get())->dock_edges(), edge_left | edge_top);

    pointer_to(away_from_left);
    VERIFY_FRAME_AT(w.get(), QPoint(0, 4 - 560));

    pointer_to({150, 1});  // the strip along the top
    VERIFY_FRAME_AT(w.get(), QPoint(0, 0));
}

void TestDockingX11::slid_out_at_the_right_edge_of_1280_pixels()
{
    WindowFixture f;
    auto w = open_at(f, {700, 200});
    drag_frame_to(w.get(), {1000, 200});
    VERIFY_FRAME_AT(w.get(), QPoint(screen_width - 328, 200));
    QCOMPARE(docking_of(w.get())->dock_edges(), int(edge_right));

    pointer_to(away_from_right);
    VERIFY_FRAME_AT(w.get(), QPoint(1276, 200));

    pointer_to({screen_width - 2, 400});
    VERIFY_FRAME_AT(w.get(), QPoint(screen_width - 328, 200));
}

void TestDockingX11::the_window_cannot_be_dragged_off_below()
{
    WindowFixture f;
    auto w = open_at(f, {300, 200});
    drag_frame_to(w.get(), {300, 520});
    VERIFY_FRAME_AT(w.get(), QPoint(300, screen_height - 560));
    QCOMPARE(docking_of(w.get())->dock_edges(), int(edge_bottom));
    pointer_to(away_from_bottom);
    VERIFY_FRAME_AT(w.get(), QPoint(300, screen_height - 4));
}

void TestDockingX11::closing_while_slid_out_saves_the_position_data()
{
    QTest::addColumn<QPoint>("dragged_to");
    QTest::addColumn<QPoint>("away");
    QTest::addColumn<QPoint>("slid_out");
    QTest::addColumn<QPoint>("next_start");
    QTest::newRow("left: opens at the corner")
        << QPoint(-80, 150) << away_from_left << QPoint(-324, 150) << QPoint(0, 0);
    QTest::newRow("right: opens on the screen, undocked")
        << QPoint(1000, 150) << away_from_right << QPoint(1276, 150) << QPoint(screen_width - 328, 150);
}

void TestDockingX11::closing_while_slid_out_saves_the_position()
{
    QFETCH(QPoint, dragged_to);
    QFETCH(QPoint, away);
    QFETCH(QPoint, slid_out);
    QFETCH(QPoint, next_start);
    WindowFixture f;
    {
        auto w = open_at(f, {600, 150});
        drag_frame_to(w.get(), dragged_to);
        QTRY_VERIFY_WITH_TIMEOUT(docking_of(w.get())->dock_edges() != 0, deadline_ms);
        pointer_to(away);
        VERIFY_FRAME_AT(w.get(), slid_out);
        w->close();
    }
    const Settings stored = read_settings(f.file("vkset.vki").toStdString());
    QCOMPARE(QPoint(stored.pos_left, stored.pos_top), slid_out);

    auto again = f.open_window(QDate(2024, 2, 10));
    VERIFY_FRAME_AT(again.get(), next_start);
    QCOMPARE(docking_of(again.get())->dock_edges(), 0);
    QVERIFY(!is_polling(again.get()));
    QVERIFY(f.messages.isEmpty());
}

// openbox keeps a tenth of a window on the screen: the slide out at the
// left stops short of -324, and must end there all the same, at rest and
// ready to slide back in.
void TestDockingX11::slides_end_under_a_manager_that_keeps_windows_on_the_screen()
{
    WindowFixture f;
    auto w = open_at(f, {200, 150});
    drag_frame_to(w.get(), {-80, 150});
    VERIFY_FRAME_AT(w.get(), QPoint(0, 150));
    QTRY_COMPARE_WITH_TIMEOUT(docking_of(w.get())->dock_edges(), int(edge_left), deadline_ms);

    pointer_to(away_from_left);
    // Out as far as the manager lets it, and its slide over: the poll runs.
    QTRY_VERIFY_WITH_TIMEOUT(frame_of(w.get()).x() < -200 && child<QTimer>(w.get(), "Timer1")->isActive(), deadline_ms);
    const QRect out = frame_of(w.get());
    QVERIFY2(out.x() >= -324, qPrintable(frame_text(out)));
    for (int look = 0; look < 20; ++look) {
        QCoreApplication::processEvents();
        QCOMPARE(frame_of(w.get()), out);
    }
    QCOMPARE(docking_of(w.get())->dock_edges(), int(edge_left));
    QCOMPARE(docking_of(w.get())->slide_direction(), int(out_left));

    pointer_to({2, 400});
    VERIFY_FRAME_AT(w.get(), QPoint(0, 150));
    pointer_to(away_from_left);
    QTRY_COMPARE_WITH_TIMEOUT(frame_of(w.get()), out, deadline_ms);
}

int main(int argc, char** argv)
{
    const QByteArray manager = qEnvironmentVariableIsSet("VELKIN_TEST_WM") ? qgetenv("VELKIN_TEST_WM") : "fluxbox";
    TestDockingX11 test;
    test.exact_manager = manager == "fluxbox";
    return exec_on_virtual_display(test, argc, argv, {screen_width, screen_height}, manager.toStdString());
}

#include "test_docking_x11.moc"
