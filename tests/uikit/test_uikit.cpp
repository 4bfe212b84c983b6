// The window kit: the program-wide error handler, the one message-box
// function, report_errors, the modal-window helper and the clickable label.
#include <QAbstractButton>
#include <QDialog>
#include <QPushButton>
#include <QtTest>
#include <stdexcept>

#include "modal_answer.h"
#include "uikit/application.h"
#include "uikit/clicklabel.h"
#include "uikit/errors.h"
#include "uikit/hintmessage.h"
#include "uikit/messagebox.h"
#include "uikit/modal.h"
#include "uikit/style.h"

namespace {

// An object whose events fail, as a handler that meets an error does.
class Failing : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Error executing SQL statement.\rError [1]: SQL error or missing database.");
        ++handled;
        return QObject::event(e);
    }
};

}  // namespace

class TestUikit : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        shown.clear();
        uikit::set_message_box_hook([this](const uikit::MessageBoxRequest& r) {
            shown << r;
            return QMessageBox::Ok;
        });
    }
    void cleanup() { uikit::set_message_box_hook({}); }

    void an_error_in_an_event_is_shown_and_the_program_goes_on()
    {
        Failing target;
        QEvent failing(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&target, &failing));
        QCOMPARE(shown.size(), 1);
        // The layer's carriage returns become line breaks in the box.
        QCOMPARE(shown[0].text,
                 QStringLiteral("Error executing SQL statement.\nError [1]: SQL error or missing database."));
        QCOMPARE(shown[0].icon, QMessageBox::Critical);

        QEvent next(static_cast<QEvent::Type>(QEvent::User + 1));
        QCoreApplication::sendEvent(&target, &next);
        QCOMPARE(target.handled, 1);
        QCOMPARE(shown.size(), 1);
    }

    void a_users_mistake_is_told_plainly()
    {
        QCOMPARE(uikit::message_box(nullptr, QStringLiteral("计划安排不能为空！")), QMessageBox::Ok);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString());
        QCOMPARE(shown[0].icon, QMessageBox::Information);
        QCOMPARE(shown[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void the_real_box_is_modal_and_answered()
    {
        uikit::set_message_box_hook({});
        testing::answer_modal<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->text(), QStringLiteral("“Velkin”已运行！"));
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(uikit::message_box(nullptr, QStringLiteral("“Velkin”已运行！")), QMessageBox::Ok);
    }

    void a_box_stays_above_the_main_window_centred_on_it()
    {
        uikit::set_message_box_hook({});
        QWidget main_window(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
        main_window.setGeometry(300, 200, 328, 560);
        main_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main_window));
        const auto check = [](QWidget* box, QRect area) {
            QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QCOMPARE(box->windowTitle(), QString());
            QVERIFY2((box->frameGeometry().center() - area.center()).manhattanLength() <= 2,
                     qPrintable(QStringLiteral("box at %1,%2").arg(box->x()).arg(box->y())));
        };
        // An error with no window active, as after a signal: over the main window.
        testing::answer_modal<QMessageBox>([&](QMessageBox* box) {
            check(box, main_window.frameGeometry());
            box->button(QMessageBox::Ok)->click();
        });
        QApplication::setActiveWindow(nullptr);
        uikit::report_error(QStringLiteral("Unable to write to /x/vkset.vki"));
        // A box for the main window itself.
        testing::answer_modal<QMessageBox>([&](QMessageBox* box) {
            check(box, main_window.frameGeometry());
            box->button(QMessageBox::Ok)->click();
        });
        uikit::message_box(&main_window, QStringLiteral("计划安排不能为空！"));
        // No window at all: the middle of the screen.
        main_window.hide();
        testing::answer_modal<QMessageBox>([&](QMessageBox* box) {
            check(box, QGuiApplication::primaryScreen()->availableGeometry());
            box->button(QMessageBox::Ok)->click();
        });
        uikit::report_error(QStringLiteral("Failed to open database"));
    }

    void open_boxes_can_be_closed_at_once()
    {
        uikit::set_message_box_hook({});
        testing::answer_modal<QMessageBox>([](QMessageBox*) { uikit::close_message_boxes(); });
        QCOMPARE(uikit::message_box(nullptr, QStringLiteral("x")), QMessageBox::Cancel);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void report_errors_shows_the_error_and_says_so()
    {
        QVERIFY(uikit::report_errors([] {}));
        QVERIFY(shown.isEmpty());
        QVERIFY(!uikit::report_errors([] { throw std::runtime_error("Unable to write to /x/vkset.vki"); }));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Unable to write to /x/vkset.vki"));
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
    }

    void a_modal_window_stays_above_the_main_window_centred_on_it()
    {
        QWidget owner;
        owner.setGeometry(100, 100, 328, 560);
        owner.show();
        QDialog dialog;
        dialog.resize(200, 100);
        QList<Qt::WindowFlags> seen;
        uikit::set_modal_hook([&](QDialog& d) {
            seen << d.windowFlags();
            return 7;
        });
        QCOMPARE(uikit::show_modal(dialog, &owner), 7);
        uikit::set_modal_hook({});
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(seen[0].testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!seen[0].testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!seen[0].testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(dialog.parentWidget(), &owner);
        QCOMPARE(dialog.isModal(), true);
        QVERIFY((dialog.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength() <= 2);
        QCOMPARE(dialog.font(), uikit::program_font());

        // Without the hook the real loop runs, and the answer ends it.
        testing::answer_modal<QDialog>([](QDialog* d) { d->done(3); });
        QCOMPARE(uikit::show_modal(dialog, &owner), 3);
    }

    void a_shaped_window_keeps_its_frame_and_place()
    {
        QWidget owner;
        owner.show();
        const Qt::WindowFlags own = Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
        QDialog dialog(nullptr, own);
        dialog.setGeometry(300, 200, 120, 80);
        QList<Qt::WindowFlags> seen;
        uikit::set_modal_hook([&](QDialog& d) {
            seen << d.windowFlags();
            return 5;
        });
        QCOMPARE(uikit::show_modal_as_is(dialog, &owner), 5);
        uikit::set_modal_hook({});
        QCOMPARE(seen, QList<Qt::WindowFlags>{own});
        QCOMPARE(dialog.parentWidget(), &owner);
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.pos(), QPoint(300, 200));
    }

    void a_label_tells_presses_from_clicks()
    {
        uikit::ClickLabel label;
        label.resize(40, 20);
        label.tag = 15;
        QList<Qt::MouseButton> pressed;
        int clicked = 0;
        connect(&label, &uikit::ClickLabel::pressed, [&](uikit::ClickLabel* self, Qt::MouseButton b, QPoint) {
            QCOMPARE(self->tag, 15);
            pressed << b;
        });
        connect(&label, &uikit::ClickLabel::clicked, [&] { ++clicked; });
        QTest::mouseClick(&label, Qt::RightButton);
        QTest::mouseClick(&label, Qt::MiddleButton);
        QCOMPARE(pressed, (QList<Qt::MouseButton>{Qt::RightButton, Qt::MiddleButton}));
        QCOMPARE(clicked, 0);  // only the left button clicks
        QTest::mouseClick(&label, Qt::LeftButton);
        QCOMPARE(clicked, 1);
        // Released outside the label: a press, no click.
        QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(100, 5));
        QCOMPARE(pressed.size(), 4);
        QCOMPARE(clicked, 1);
    }

    void a_hint_message_shows_without_blocking_and_tells_its_close()
    {
        QPointer<uikit::HintMessage> first =
            new uikit::HintMessage("frm_taskhintmess", "任务提醒", "今天尚有【2】项任务未完成");
        QPointer<uikit::HintMessage> second = new uikit::HintMessage("frm_taskhintmess", "任务提醒", "x");
        int closed = 0;
        for (auto* w : {first.data(), second.data()})
            connect(w, &uikit::HintMessage::closed, [&] { ++closed; });
        first->show_centred();
        second->show_centred();
        QVERIFY(first->isVisible() && !first->isModal());
        QCOMPARE(first->windowTitle(), QStringLiteral("任务提醒"));
        QVERIFY(first->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(first->size(), QSize(422, 212));
        auto* label = first->findChild<QLabel*>("RzLabel1");
        QCOMPARE(label->text(), QStringLiteral("今天尚有【2】项任务未完成"));
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
        QCOMPARE(label->geometry(), QRect(34, 24, 361, 134));
        QVERIFY(label->wordWrap());
        QCOMPARE(testing::controls_without_accessible_name(first), QStringList());

        // The button and the close box both close and say so.
        first->findChild<QPushButton*>("Button1")->click();
        second->close();
        QCOMPARE(closed, 2);
        QTRY_VERIFY(first.isNull() && second.isNull());  // deleted once closed
    }

private:
    QList<uikit::MessageBoxRequest> shown;
};

int main(int argc, char** argv)
{
    uikit::Application app(argc, argv);
    TestUikit test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_uikit.moc"
