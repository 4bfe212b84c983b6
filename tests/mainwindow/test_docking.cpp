// Edge docking: the clamp, the edges, the poll's choice and every row of the
// slide table as pure functions; then the poll and the slide on a window
// offscreen, with a pointer the test moves, and on the main window.
#include <QTimer>
#include <QtTest>
#include <stdexcept>

#include "mainwindow/docking.h"
#include "mainwindow/placement.h"
#include "storage/settings.h"
#include "windowfixture.h"

using namespace docking;

namespace {

const QSize window_size(328, 560);
const QRect screen_1280(0, 0, 1280, 1024);
const QRect screen_1920(0, 0, 1920, 1080);

// `count` steps of `step` from `from`, then the places of `end`.
QList<QPoint> stepped(QPoint from, QPoint step, int count, const QList<QPoint>& end)
{
    QList<QPoint> places;
    for (int k = 1; k <= count; ++k)
        places << from + step * k;
    return places + end;
}

// Runs a slide from `from` to its end; the positions it passes through,
// the end last.  Stops after 100 ticks, which no slide needs.
QList<QPoint> walk(int slide, QPoint from, QRect screen)
{
    QList<QPoint> passed;
    QPoint at = from;
    for (int tick = 0; tick < 100; ++tick) {
        const SlideStep step = slide_step(slide, at, window_size, screen);
        at = step.position;
        passed << at;
        if (step.arrived)
            break;
    }
    return passed;
}

// A window offscreen with its placement and docking, and the pointer the
// docking reads, which the test moves.
struct DockedWindow : QObject {
    QWidget window;
    WindowPlacement* placement;
    EdgeDocking* docking;
    QPoint pointer{400, 300};
    int pointer_reads = 0;
    bool pointer_fails = false;
    QList<QPoint> moves;
    int paints = 0;

    DockedWindow()
    {
        window.setWindowFlags(Qt::Tool);
        placement = new WindowPlacement(window);
        docking = new EdgeDocking(*placement, [this] {
            ++pointer_reads;
            if (pointer_fails)
                throw std::runtime_error("no pointer");
            return pointer;
        });
        placement->move_to({200, 20});
        window.show();
        window.installEventFilter(this);
    }
    QTimer* timer(const char* name) { return docking->findChild<QTimer*>(QLatin1String(name)); }
    bool polling() { return timer("Timer1")->isActive() || timer("Timer_formhide")->isActive(); }
    // Where the frame stands, as the user sees it.
    QPoint at() const { return window.frameGeometry().topLeft(); }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move && (moves.isEmpty() || moves.last() != at()))
            moves << at();
        if (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest)
            ++paints;
        return false;
    }
    // The user (or another program) puts the window at `position`.
    void user_moves_to(QPoint position)
    {
        placement->move_to(position);
        docking->on_moving(position);
    }
    // Lets the poll read the pointer `reads` more times.
    bool wait_for_polls(int reads)
    {
        const int until = pointer_reads + reads;
        return QTest::qWaitFor([&] { return pointer_reads >= until; }, 5000);
    }
};

}  // namespace

class TestDocking : public QObject {
    Q_OBJECT

private slots:
    void clamp_and_edges_data();
    void clamp_and_edges();
    void clamp_keeps_every_place_inside_the_screen();
    void poll_chooses_the_later_edge_data();
    void poll_chooses_the_later_edge();
    void pointer_over_is_strict_but_for_the_frame();
    void slide_table_data();
    void slide_table();
    void slides_end_exactly_where_they_should_data();
    void slides_end_exactly_where_they_should();

    void a_move_past_an_edge_is_brought_back_and_arms_docking();
    void docked_window_slides_out_and_back_in_steps();
    void top_left_corner_slides_out_upwards();
    void docked_window_at_rest_is_neither_moved_nor_repainted();
    void errors_in_the_poll_are_silent();
    void a_move_by_the_user_ends_a_slide_under_way();

    void main_window_starts_undocked_at_an_edge();
    void closing_while_slid_out_saves_the_position_data();
    void closing_while_slid_out_saves_the_position();
};

// ---------------------------------------------------------------- pure functions

void TestDocking::clamp_and_edges_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("moved_to");
    QTest::addColumn<QPoint>("clamped");
    QTest::addColumn<int>("edges");
    const QRect s = screen_1280;
    QTest::newRow("middle") << s << QPoint(400, 300) << QPoint(400, 300) << 0;
    QTest::newRow("past the left edge") << s << QPoint(-80, 150) << QPoint(0, 150) << int(edge_left);
    QTest::newRow("on the left edge") << s << QPoint(0, 150) << QPoint(0, 150) << int(edge_left);
    QTest::newRow("one pixel in") << s << QPoint(1, 150) << QPoint(1, 150) << 0;
    QTest::newRow("past the top edge") << s << QPoint(300, -8) << QPoint(300, 0) << int(edge_top);
    QTest::newRow("past the right edge") << s << QPoint(1000, 200) << QPoint(952, 200) << int(edge_right);
    QTest::newRow("on the right edge") << s << QPoint(952, 200) << QPoint(952, 200) << int(edge_right);
    QTest::newRow("past the bottom edge") << s << QPoint(300, 520) << QPoint(300, 464) << int(edge_bottom);
    QTest::newRow("top-left corner") << s << QPoint(-60, -8) << QPoint(0, 0) << (edge_left | edge_top);
    QTest::newRow("bottom-right corner") << s << QPoint(5000, 5000) << QPoint(952, 464) << (edge_right | edge_bottom);
    QTest::newRow("slid out at the left") << s << QPoint(-324, 100) << QPoint(0, 100) << int(edge_left);
    QTest::newRow("1920: right edge") << screen_1920 << QPoint(1700, 100) << QPoint(1592, 100) << int(edge_right);
    // The primary monitor to the right of another: its own coordinates.
    const QRect right_monitor(1280, 0, 1280, 1024);
    QTest::newRow("primary on the right: past its left edge")
        << right_monitor << QPoint(1000, 100) << QPoint(1280, 100) << int(edge_left);
    QTest::newRow("primary on the right: past its right edge")
        << right_monitor << QPoint(2400, 100) << QPoint(2232, 100) << int(edge_right);
}

void TestDocking::clamp_and_edges()
{
    QFETCH(QRect, screen);
    QFETCH(QPoint, moved_to);
    QFETCH(QPoint, clamped);
    QFETCH(int, edges);
    QCOMPARE(clamp_to_screen(moved_to, window_size, screen), clamped);
    QCOMPARE(edges_touched(clamped, window_size, screen), edges);
}

// Wherever the window is put, it ends wholly on the screen, at the nearest
// place; a place on the screen stays, and the edges are those it touches.
void TestDocking::clamp_keeps_every_place_inside_the_screen()
{
    for (const QRect screen : {screen_1280, screen_1920, QRect(1280, 0, 1280, 1024)}) {
        for (int x = screen.x() - 2000; x <= screen.right() + 2000; x += 23) {
            for (int y = screen.y() - 1500; y <= screen.bottom() + 1500; y += 29) {
                const QPoint inside = clamp_to_screen({x, y}, window_size, screen);
                const QRect placed(inside, window_size);
                if (!screen.contains(placed))
                    QFAIL(qPrintable(QStringLiteral("%1,%2 left off the screen").arg(x).arg(y)));
                if (screen.contains(QRect(QPoint(x, y), window_size)) != (inside == QPoint(x, y)))
                    QFAIL(qPrintable(QStringLiteral("%1,%2 moved though on the screen").arg(x).arg(y)));
                if (clamp_to_screen(inside, window_size, screen) != inside)
                    QFAIL("clamping twice moves the window");
                const int edges = edges_touched(inside, window_size, screen);
                if (bool(edges & edge_left) != (placed.left() == screen.left()) ||
                    bool(edges & edge_right) != (placed.right() == screen.right()) ||
                    bool(edges & edge_top) != (placed.top() == screen.top()) ||
                    bool(edges & edge_bottom) != (placed.bottom() == screen.bottom()))
                    QFAIL(qPrintable(QStringLiteral("%1,%2: wrong edges %3").arg(x).arg(y).arg(edges)));
            }
        }
    }
}

void TestDocking::poll_chooses_the_later_edge_data()
{
    QTest::addColumn<int>("edges");
    QTest::addColumn<int>("over");
    QTest::addColumn<int>("away");
    QTest::newRow("no edge") << 0 << int(no_slide) << int(no_slide);
    QTest::newRow("left") << int(edge_left) << int(in_left) << int(out_left);
    QTest::newRow("top") << int(edge_top) << int(in_top) << int(out_top);
    QTest::newRow("right") << int(edge_right) << int(in_right) << int(out_right);
    QTest::newRow("bottom") << int(edge_bottom) << int(in_bottom) << int(out_bottom);
    QTest::newRow("top-left: top wins") << (edge_left | edge_top) << int(in_top) << int(out_top);
    QTest::newRow("top-right: right wins") << (edge_top | edge_right) << int(in_right) << int(out_right);
    QTest::newRow("bottom-left: bottom wins") << (edge_left | edge_bottom) << int(in_bottom) << int(out_bottom);
    QTest::newRow("bottom-right: bottom wins") << (edge_right | edge_bottom) << int(in_bottom) << int(out_bottom);
    QTest::newRow("left and right: right wins") << (edge_left | edge_right) << int(in_right) << int(out_right);
    QTest::newRow("all four: bottom wins") << 15 << int(in_bottom) << int(out_bottom);
}

void TestDocking::poll_chooses_the_later_edge()
{
    QFETCH(int, edges);
    QFETCH(int, over);
    QFETCH(int, away);
    QCOMPARE(slide_for(edges, true), over);
    QCOMPARE(slide_for(edges, false), away);
}

void TestDocking::pointer_over_is_strict_but_for_the_frame()
{
    const QRect frame(-324, 100, 328, 560);  // slid out at the left: x -324 .. 3
    QVERIFY(pointer_over({0, 300}, frame, false));
    QVERIFY(pointer_over({3, 300}, frame, false));
    QVERIFY(!pointer_over({4, 300}, frame, false));
    QVERIFY(!pointer_over({-324, 300}, frame, false));
    QVERIFY(!pointer_over({0, 100}, frame, false));
    QVERIFY(!pointer_over({0, 660}, frame, false));
    QVERIFY(pointer_over({0, 659}, frame, false));
    // The window's own caption and border count wherever they are.
    QVERIFY(pointer_over({-324, 100}, frame, true));
}

void TestDocking::slide_table_data()
{
    QTest::addColumn<int>("slide");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("arrived");
    // Each row of the table on a 1280 x 1024 screen, once while it moves
    // and once when it arrives.
    QTest::newRow("1 moves") << int(in_left) << QPoint(-324, 50) << QPoint(-294, 50) << false;
    QTest::newRow("1 arrives") << int(in_left) << QPoint(6, 50) << QPoint(0, 50) << true;
    QTest::newRow("2 moves") << int(in_top) << QPoint(50, -556) << QPoint(50, -506) << false;
    QTest::newRow("2 arrives") << int(in_top) << QPoint(50, 44) << QPoint(50, 0) << true;
    QTest::newRow("3 moves") << int(in_right) << QPoint(1276, 50) << QPoint(1246, 50) << false;
    QTest::newRow("3 arrives") << int(in_right) << QPoint(946, 50) << QPoint(952, 50) << true;
    QTest::newRow("4 moves") << int(in_bottom) << QPoint(50, 1020) << QPoint(50, 970) << false;
    QTest::newRow("4 arrives") << int(in_bottom) << QPoint(50, 420) << QPoint(50, 464) << true;
    QTest::newRow("5 moves") << int(out_left) << QPoint(0, 50) << QPoint(-30, 50) << false;
    QTest::newRow("5 arrives") << int(out_left) << QPoint(-330, 50) << QPoint(-324, 50) << true;
    QTest::newRow("6 moves") << int(out_top) << QPoint(50, 0) << QPoint(50, -50) << false;
    QTest::newRow("6 arrives") << int(out_top) << QPoint(50, -600) << QPoint(50, -556) << true;
    QTest::newRow("7 moves") << int(out_right) << QPoint(952, 50) << QPoint(982, 50) << false;
    QTest::newRow("7 arrives") << int(out_right) << QPoint(1282, 50) << QPoint(1276, 50) << true;
    QTest::newRow("8 moves") << int(out_bottom) << QPoint(50, 464) << QPoint(50, 514) << false;
    QTest::newRow("8 arrives") << int(out_bottom) << QPoint(50, 1064) << QPoint(50, 1020) << true;
    // At the end already: the slide arrives where it is.
    QTest::newRow("5 at rest") << int(out_left) << QPoint(-324, 50) << QPoint(-324, 50) << true;
    QTest::newRow("1 at rest") << int(in_left) << QPoint(0, 50) << QPoint(0, 50) << true;
    QTest::newRow("no slide") << int(no_slide) << QPoint(7, 9) << QPoint(7, 9) << true;
}

void TestDocking::slide_table()
{
    QFETCH(int, slide);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(bool, arrived);
    const SlideStep step = slide_step(slide, from, window_size, screen_1280);
    QCOMPARE(step.position, to);
    QCOMPARE(step.arrived, arrived);
}

void TestDocking::slides_end_exactly_where_they_should_data()
{
    QTest::addColumn<int>("slide");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QList<QPoint>>("passed");
    QTest::newRow("in at the left, overshooting to 6")
        << int(in_left) << screen_1280 << QPoint(-324, 100)
        << stepped({-324, 100}, {30, 0}, 11, {{0, 100}});  // -294 ... -24, 6, then 0
    QTest::newRow("out at the top") << int(out_top) << screen_1280 << QPoint(0, 0)
                                    << stepped({0, 0}, {0, -50}, 12, {{0, -556}});  // ... -550, -600, then -556
    QTest::newRow("out at the right of 1920 pixels")
        << int(out_right) << screen_1920 << QPoint(1592, 100)
        << stepped({1592, 100}, {30, 0}, 11, {{1916, 100}});  // ... 1892, 1922, then 1916
    QTest::newRow("out at the right of 1280 pixels")
        << int(out_right) << screen_1280 << QPoint(952, 100)
        << stepped({952, 100}, {30, 0}, 11, {{1276, 100}});  // ... 1252, 1282, then 1276
    QTest::newRow("in at the bottom") << int(in_bottom) << screen_1280 << QPoint(100, 1020)
                                      << stepped({100, 1020}, {0, -50}, 12, {{100, 464}});  // ... 470, 420, then 464
}

void TestDocking::slides_end_exactly_where_they_should()
{
    QFETCH(int, slide);
    QFETCH(QRect, screen);
    QFETCH(QPoint, from);
    QFETCH(QList<QPoint>, passed);
    QCOMPARE(walk(slide, from, screen), passed);
}

// ---------------------------------------------------------------- the poll and the slide

void TestDocking::a_move_past_an_edge_is_brought_back_and_arms_docking()
{
    DockedWindow d;
    const QRect screen = WindowPlacement::primary_screen();
    d.user_moves_to({-80, 20});
    QCOMPARE(d.placement->logical_position(), QPoint(0, 20));
    QTRY_COMPARE(d.at(), QPoint(0, 20));
    QCOMPARE(d.docking->dock_edges(), int(edge_left));
    QVERIFY(d.timer("Timer1")->isActive());

    d.user_moves_to({screen.width(), 20});
    QTRY_COMPARE(d.at(), QPoint(screen.width() - 328, 20));
    QCOMPARE(d.docking->dock_edges(), int(edge_right));

    // Back in the middle: disarmed, and nothing runs.
    d.user_moves_to({100, 20});
    QTRY_COMPARE(d.at(), QPoint(100, 20));
    QCOMPARE(d.docking->dock_edges(), 0);
    QVERIFY(!d.polling());
}

void TestDocking::docked_window_slides_out_and_back_in_steps()
{
    DockedWindow d;
    d.user_moves_to({-80, 20});
    d.pointer = {600, 300};
    QTRY_COMPARE_WITH_TIMEOUT(d.at(), QPoint(-324, 20), 5000);
    QCOMPARE(d.docking->slide_direction(), int(out_left));

    d.moves.clear();
    d.pointer = {2, 300};  // on the strip
    QTRY_COMPARE_WITH_TIMEOUT(d.at(), QPoint(0, 20), 5000);
    QCOMPARE(d.moves, stepped({-324, 20}, {30, 0}, 11, {{0, 20}}));
    QVERIFY(d.timer("Timer1")->isActive() || d.timer("Timer_formhide")->isActive());
}

void TestDocking::top_left_corner_slides_out_upwards()
{
    DockedWindow d;
    d.user_moves_to({-60, -8});
    QCOMPARE(d.docking->dock_edges(), edge_left | edge_top);
    d.pointer = {600, 300};
    QTRY_COMPARE_WITH_TIMEOUT(d.at(), QPoint(0, 4 - 560), 5000);
    QCOMPARE(d.docking->slide_direction(), int(out_top));
    d.pointer = {150, 1};  // on the strip along the top
    QTRY_COMPARE_WITH_TIMEOUT(d.at(), QPoint(0, 0), 5000);
    QCOMPARE(d.docking->slide_direction(), int(in_top));
}

// The poll and the slide go on alternating, but a slide already at its end
// touches nothing: slid out with the pointer away, and in at the edge with
// the pointer on it.
void TestDocking::docked_window_at_rest_is_neither_moved_nor_repainted()
{
    DockedWindow d;
    d.user_moves_to({-80, 20});
    const struct {
        QPoint pointer, rest;
        int slide;
    } rests[] = {{{600, 300}, {-324, 20}, out_left}, {{2, 300}, {0, 20}, in_left}};
    for (const auto& rest : rests) {
        d.pointer = rest.pointer;
        QTRY_COMPARE_WITH_TIMEOUT(d.at(), rest.rest, 5000);
        QVERIFY(d.wait_for_polls(2));
        QCoreApplication::processEvents();
        d.moves.clear();
        d.paints = 0;
        QVERIFY(d.wait_for_polls(30));
        QVERIFY(d.moves.isEmpty());
        QCOMPARE(d.paints, 0);
        QCOMPARE(d.docking->slide_direction(), rest.slide);
    }
}

void TestDocking::errors_in_the_poll_are_silent()
{
    WindowFixture f;  // records message boxes
    DockedWindow d;
    d.user_moves_to({-80, 20});
    d.pointer_fails = true;
    QVERIFY(d.wait_for_polls(20));
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(d.at(), QPoint(0, 20));
    // The poll goes on, and answers the pointer once it can be read.
    d.pointer_fails = false;
    d.pointer = {600, 300};
    QTRY_COMPARE_WITH_TIMEOUT(d.at(), QPoint(-324, 20), 5000);
}

void TestDocking::a_move_by_the_user_ends_a_slide_under_way()
{
    DockedWindow d;
    d.user_moves_to({-80, 20});
    d.pointer = {600, 300};
    QTRY_VERIFY_WITH_TIMEOUT(d.at().x() < -100, 5000);
    d.user_moves_to({150, 20});
    QVERIFY(!d.polling());
    QCOMPARE(d.docking->dock_edges(), 0);
    QTRY_COMPARE(d.at(), QPoint(150, 20));
    const QPoint left_at = d.at();
    QVERIFY(!QTest::qWaitFor([&] { return d.at() != left_at; }, 100));
}

// ---------------------------------------------------------------- the main window

void TestDocking::main_window_starts_undocked_at_an_edge()
{
    WindowFixture f;
    auto w = f.open_window(QDate(2024, 2, 10));
    QCOMPARE(w->frameGeometry().topLeft(), QPoint(0, 0));
    auto* docking = w->findChild<EdgeDocking*>();
    QVERIFY(docking);
    QCOMPARE(docking->dock_edges(), 0);
    auto* poll = child<QTimer>(w.get(), "Timer1");
    auto* slide = child<QTimer>(w.get(), "Timer_formhide");
    QCOMPARE(poll->interval(), 10);
    QCOMPARE(slide->interval(), 5);
    QVERIFY(!poll->isActive());
    QVERIFY(!slide->isActive());
}

void TestDocking::closing_while_slid_out_saves_the_position_data()
{
    const QRect screen = WindowPlacement::primary_screen();
    QTest::addColumn<QPoint>("moved_to");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("saved");
    QTest::addColumn<QPoint>("next_start");
    QTest::newRow("left") << QPoint(-40, 30) << QPoint(600, 300) << QPoint(-324, 30) << QPoint(0, 0);
    QTest::newRow("top") << QPoint(100, -40) << QPoint(600, 300) << QPoint(100, -556) << QPoint(0, 0);
    // Saved as it is; the next start brings the window onto the screen.
    QTest::newRow("right") << QPoint(screen.width(), 30) << QPoint(100, 300) << QPoint(screen.width() - 4, 30)
                           << QPoint(screen.width() - 328, 30);
}

void TestDocking::closing_while_slid_out_saves_the_position()
{
    QFETCH(QPoint, moved_to);
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, saved);
    QFETCH(QPoint, next_start);
    WindowFixture f;
    f.write_settings_file(position_settings({100, 30}));
    {
        auto w = f.open_window(QDate(2024, 2, 10));
        w->findChild<EdgeDocking*>()->on_moving(moved_to);
        QCursor::setPos(pointer);
        QTRY_COMPARE_WITH_TIMEOUT(w->frameGeometry().topLeft(), saved, 5000);
        w->close();
    }
    const Settings stored = read_settings(f.file("vkset.vki").toStdString());
    QCOMPARE(QPoint(stored.pos_left, stored.pos_top), saved);
    auto again = f.open_window(QDate(2024, 2, 10));
    QCOMPARE(again->frameGeometry().topLeft(), next_start);
    QCOMPARE(again->findChild<EdgeDocking*>()->dock_edges(), 0);
    QVERIFY(!child<QTimer>(again.get(), "Timer1")->isActive());
    QVERIFY(f.messages.isEmpty());
}

QTEST_MAIN(TestDocking)
#include "test_docking.moc"
