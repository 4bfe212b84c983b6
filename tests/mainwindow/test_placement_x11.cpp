// The main window's place under a window manager that frames it: the same
// place after every restart, the top-left corner on a first start, a place
// off the screen brought back, and a window that cannot get lost.
#include <QtTest>

#include "storage/settings.h"
#include "windowfixture.h"
#include "x11_main.h"
#include "xserver.h"

namespace {

constexpr int screen_width = 1280;
constexpr int screen_height = 1024;
constexpr int deadline_ms = 10000;

}  // namespace

class TestPlacementX11 : public QObject {
    Q_OBJECT

private slots:
    void position_survives_ten_restarts();
    void window_opens_at_the_corner_data();
    void window_opens_at_the_corner();
    void position_off_the_screen_is_brought_back_data();
    void position_off_the_screen_is_brought_back();
    void minimised_window_restores_itself();
};

void TestPlacementX11::position_survives_ten_restarts()
{
    WindowFixture f;
    f.write_settings_file(position_settings({200, 150}));
    const QRect expected(200, 150, 328, 560);
    for (int start = 1; start <= 10; ++start) {
        auto w = f.open_window(QDate(2024, 2, 10));
        QVERIFY(QTest::qWaitFor([&] { return testing::frame_geometry(id_of(w.get())) == expected; }, deadline_ms));
        w->close();
        const Settings saved = read_settings(f.file("vkset.vki").toStdString());
        QVERIFY2(saved.pos_left == 200 && saved.pos_top == 150,
                 qPrintable(QStringLiteral("start %1 saved %2,%3").arg(start).arg(saved.pos_left).arg(saved.pos_top)));
    }
    QVERIFY(f.messages.isEmpty());
}

void TestPlacementX11::window_opens_at_the_corner_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("first start") << QByteArray();
    QTest::newRow("negative left") << QByteArray("[option]\r\npos_left=-5\r\npos_top=200\r\n");
    QTest::newRow("negative top") << QByteArray("[option]\r\npos_left=300\r\npos_top=-1\r\n");
    QTest::newRow("unreadable") << QByteArray("[option]\r\npos_left=abc\r\npos_top=x\r\n");
}

void TestPlacementX11::window_opens_at_the_corner()
{
    QFETCH(QByteArray, settings);
    WindowFixture f;
    if (!settings.isEmpty())
        f.write_settings_file(settings);
    auto w = f.open_window(QDate(2024, 2, 10));
    QRect frame;
    QVERIFY2(QTest::qWaitFor(
                 [&] {
                     frame = testing::frame_geometry(id_of(w.get()));
                     return frame == QRect(0, 0, 328, 560);
                 },
                 deadline_ms),
             qPrintable(frame_text(frame)));
}

void TestPlacementX11::position_off_the_screen_is_brought_back_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<QPoint>("shown");
    const int right = screen_width - 328, bottom = screen_height - 560;
    QTest::newRow("far away") << QPoint(9000, 9000) << QPoint(right, bottom);
    QTest::newRow("past the right edge") << QPoint(1100, 100) << QPoint(right, 100);
    QTest::newRow("past the bottom edge") << QPoint(100, 800) << QPoint(100, bottom);
    QTest::newRow("just inside") << QPoint(right, bottom) << QPoint(right, bottom);
}

void TestPlacementX11::position_off_the_screen_is_brought_back()
{
    QFETCH(QPoint, stored);
    QFETCH(QPoint, shown);
    WindowFixture f;
    f.write_settings_file(position_settings(stored));
    auto w = f.open_window(QDate(2024, 2, 10));
    QRect frame;
    QVERIFY2(QTest::qWaitFor(
                 [&] {
                     frame = testing::frame_geometry(id_of(w.get()));
                     return frame == QRect(shown, QSize(328, 560));
                 },
                 deadline_ms),
             qPrintable(frame_text(frame)));
}

void TestPlacementX11::minimised_window_restores_itself()
{
    WindowFixture f;
    f.write_settings_file(position_settings({60, 70}));
    auto w = f.open_window(QDate(2024, 2, 10));
    const unsigned long id = id_of(w.get());
    QVERIFY(QTest::qWaitFor([&] { return testing::frame_geometry(id) == QRect(60, 70, 328, 560); }, deadline_ms));
    testing::run_tool("xdotool", {"windowminimize", QString::number(id)});
    // It was minimised, and it comes back by itself.
    QVERIFY(QTest::qWaitFor([&] { return w->isMinimized() || !testing::is_viewable(id); }, deadline_ms));
    QVERIFY(QTest::qWaitFor([&] { return !w->isMinimized() && testing::is_viewable(id); }, deadline_ms));
    // Where the window manager shows it again is its business; on the screen.
    QVERIFY(QRect(0, 0, screen_width, screen_height).contains(testing::frame_geometry(id)));
}

int main(int argc, char** argv)
{
    TestPlacementX11 test;
    return exec_on_virtual_display(test, argc, argv, {screen_width, screen_height}, "openbox");
}

#include "test_placement_x11.moc"
