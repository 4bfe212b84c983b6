// The program-wide error handler and the one message-box function.
#include <QAbstractButton>
#include <QtTest>
#include <stdexcept>

#include "uikit/application.h"
#include "uikit/messagebox.h"

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
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->text(), QStringLiteral("“Velkin”已运行！"));
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(uikit::message_box(nullptr, QStringLiteral("“Velkin”已运行！")), QMessageBox::Ok);
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
