// The note editor offscreen: its window and controls, the outline cut from
// its picture, dragging, the buttons and keys, and the note font taken from
// the Settings, including settings edited by hand.
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <functional>

#include "controls.h"
#include "modal_answer.h"
#include "notes/formshape.h"
#include "notes/noteedit.h"
#include "notes/noteops.h"
#include "storage/settings.h"
#include "uikit/modal.h"

namespace {

QPlainTextEdit* text_of(QWidget* editor) { return child<QPlainTextEdit>(editor, "Memo1"); }
QPushButton* button(QWidget* editor, const char* name) { return child<QPushButton>(editor, name); }

// Opens the editor on `note_memo` and hands it, shown and active, to
// `answer`; returns what show_noteedit returned.
int open_editor(QPlainTextEdit& note_memo, const std::function<void(QDialog&)>& answer,
                const QString& date_text = QStringLiteral("2024-03-05"))
{
    uikit::set_modal_hook([&answer](QDialog& editor) {
        editor.show();
        if (!QTest::qWaitForWindowActive(&editor))
            qWarning("the editor did not become active");
        answer(editor);
        const int result = editor.result();
        editor.hide();
        return result;
    });
    const int result = notes::show_noteedit(date_text, QStringLiteral("Velkin备忘录"), &note_memo, nullptr);
    uikit::set_modal_hook({});
    return result;
}

// The mask drawn as a picture: white inside, black outside.
QImage painted(const QRegion& region, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    for (const QRect& r : region)
        painter.fillRect(r, Qt::white);
    return image;
}

void send_mouse(QWidget* target, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, target->mapFromGlobal(global), global, button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

class TestNoteEdit : public QObject {
    Q_OBJECT

private slots:
    void init() { app_settings = Settings{}; }
    void cleanup()
    {
        notes::set_editor_settings_opener({});
        app_settings = Settings{};
    }

    void window_is_borderless_on_top_and_centred()
    {
        QPlainTextEdit note_memo;
        QList<QRect> geometries;
        const int result = open_editor(note_memo, [&](QDialog& editor) {
            QCOMPARE(editor.objectName(), QStringLiteral("frm_noteedit"));
            const Qt::WindowFlags flags = editor.windowFlags();
            QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
            QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
            QVERIFY(editor.isModal());
            QCOMPARE(editor.size(), QSize(697, 529));
            QCOMPARE(editor.minimumSize(), editor.maximumSize());
            const QPoint centre = QGuiApplication::primaryScreen()->geometry().center();
            QVERIFY((editor.geometry().center() - centre).manhattanLength() <= 2);
            for (const char* name : {"RzFormShape1", "Label2", "Label1", "Memo1", "Button1", "Button2", "Button3"})
                geometries << child<QWidget>(&editor, name)->geometry();
            QCOMPARE(button(&editor, "Button1")->text(), QStringLiteral("确定(&S)"));
            QCOMPARE(button(&editor, "Button2")->text(), QStringLiteral("取消"));
            QCOMPARE(button(&editor, "Button3")->text(), QStringLiteral("编辑器设置"));
            for (const char* name : {"Button1", "Button2", "Button3"})
                QVERIFY(!button(&editor, name)->autoDefault() && !button(&editor, name)->isDefault());

            auto* title = child<QLabel>(&editor, "Label2");
            auto* date = child<QLabel>(&editor, "Label1");
            QCOMPARE(title->text(), QStringLiteral("Velkin备忘录"));
            QCOMPARE(date->text(), QStringLiteral("2024-03-05"));
            QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0x80));
            QCOMPARE(date->palette().color(QPalette::WindowText), QColor(0xFF, 0x00, 0x00));
            for (QLabel* label : {title, date}) {
                QVERIFY(label->autoFillBackground());
                QCOMPARE(label->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xB0));
                QCOMPARE(label->font().family(), QStringLiteral("微软雅黑"));
                QCOMPARE(label->font().pointSize(), 9);
            }
            QVERIFY(date->alignment().testFlag(Qt::AlignRight));
            QCOMPARE(text_of(&editor)->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xB0));
            QCOMPARE(text_of(&editor)->frameShape(), QFrame::NoFrame);
            QCOMPARE(text_of(&editor)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
            const QStringList unnamed = testing::controls_without_accessible_name(&editor);
            QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
        });
        QCOMPARE(result, 0);
        QCOMPARE(geometries, (QList<QRect>{QRect(0, 0, 697, 529), QRect(115, 42, 110, 17), QRect(546, 46, 91, 13),
                                           QRect(80, 84, 553, 370), QRect(481, 460, 75, 25), QRect(562, 460, 75, 25),
                                           QRect(74, 460, 75, 25)}));
    }

    void focus_starts_in_the_text_and_follows_the_buttons()
    {
        QPlainTextEdit note_memo;
        QStringList chain;
        open_editor(note_memo, [&](QDialog& editor) {
            QCOMPARE(QApplication::focusWidget(), text_of(&editor));
            QWidget* w = text_of(&editor);
            do {
                if (w->isVisibleTo(&editor) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
                    chain << w->objectName();
                w = w->nextInFocusChain();
            } while (w != text_of(&editor));
        });
        QCOMPARE(chain, (QStringList{"Memo1", "Button1", "Button2", "Button3"}));
    }

    void outline_is_the_picture_without_its_background()
    {
        const notes::ShapedPicture& notepad = notes::notepad_picture();
        QCOMPARE(&notes::notepad_picture(), &notepad);  // built once
        const QImage picture = notepad.picture.toImage();
        QCOMPARE(picture.size(), QSize(697, 529));
        const QRgb background = qRgb(0x00, 0x80, 0xFF);
        QCOMPARE(picture.pixel(0, picture.height() - 1), background);
        QCOMPARE(picture.pixel(300, 300), qRgb(0xFF, 0xFF, 0xB0));

        // Every pixel of the background colour is outside, every other one
        // inside.
        const QImage outline = painted(notepad.outline, picture.size());
        int inside = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const bool is_background = picture.pixel(x, y) == background;
                const bool in_outline = outline.pixel(x, y) == qRgb(255, 255, 255);
                if (is_background == in_outline)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
                inside += in_outline;
            }
        }
        // The sheet spans (19, 25) to (673, 506), its last pixel at (672,
        // 505); the rings and the pen reach beyond it to the left and the
        // top, and the corners are cut off.
        QVERIFY(notepad.outline.contains(QRect(22, 28, 645, 472)));
        QCOMPARE(notepad.outline.boundingRect().bottomRight(), QPoint(672, 505));
        QVERIFY(notepad.outline.boundingRect().contains(QRect(QPoint(19, 25), QPoint(672, 505))));
        QVERIFY(QRect(0, 0, 697, 529).contains(notepad.outline.boundingRect()));
        for (QPoint corner : {QPoint(0, 0), QPoint(696, 0), QPoint(0, 528), QPoint(696, 528), QPoint(680, 10)})
            QVERIFY(!notepad.outline.contains(corner));
        QVERIFY(inside > 650 * 470);

        // The editor's window has exactly that outline.
        QPlainTextEdit note_memo;
        QRegion mask;
        open_editor(note_memo, [&](QDialog& editor) { mask = editor.mask(); });
        QCOMPARE(mask, notepad.outline);
    }

    void an_outline_takes_the_colour_of_the_bottom_left_pixel()
    {
        QImage picture(4, 3, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.setPixel(1, 1, qRgb(0, 0, 0));
        picture.setPixel(3, 0, qRgb(0, 0, 0));
        const QRegion outline = notes::outline_of(picture);
        QCOMPARE(outline, QRegion(1, 1, 1, 1) + QRegion(3, 0, 1, 1));
        QCOMPARE(notes::outline_of(QImage()), QRegion());
    }

    void dragging_the_picture_moves_the_window()
    {
        QPlainTextEdit note_memo;
        QList<QPoint> moves;
        open_editor(note_memo, [&](QDialog& editor) {
            editor.move(100, 80);
            QWidget* picture = child<QWidget>(&editor, "RzFormShape1");
            const QPoint start = picture->mapToGlobal(QPoint(300, 470));  // on the sheet, beside the buttons
            send_mouse(picture, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
            send_mouse(picture, QEvent::MouseMove, start + QPoint(37, -21), Qt::NoButton, Qt::LeftButton);
            moves << editor.pos();
            send_mouse(picture, QEvent::MouseMove, start + QPoint(-50, 12), Qt::NoButton, Qt::LeftButton);
            moves << editor.pos();
            send_mouse(picture, QEvent::MouseButtonRelease, start + QPoint(-50, 12), Qt::LeftButton, Qt::NoButton);
            // Without a held button the pointer moves alone.
            send_mouse(picture, QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
            moves << editor.pos();
            // The right button does not drag, nor does a press on a control.
            send_mouse(picture, QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
            send_mouse(picture, QEvent::MouseMove, start + QPoint(9, 9), Qt::NoButton, Qt::RightButton);
            moves << editor.pos();
            QWidget* ok = button(&editor, "Button1");
            const QPoint on_button = ok->mapToGlobal(QPoint(5, 5));
            send_mouse(ok, QEvent::MouseButtonPress, on_button, Qt::LeftButton, Qt::LeftButton);
            send_mouse(ok, QEvent::MouseMove, on_button + QPoint(30, 30), Qt::NoButton, Qt::LeftButton);
            moves << editor.pos();
        });
        // The window follows the pointer, which keeps its place on the
        // picture.
        const QPoint dropped(50, 92);
        QCOMPARE(moves, (QList<QPoint>{QPoint(137, 59), dropped, dropped, dropped, dropped}));
    }

    void confirming_hands_back_the_text_as_typed()
    {
        QPlainTextEdit note_memo;
        // Whatever the page shows, untrimmed and with a non-breaking space.
        const QString page = QStringLiteral("\n  earlier\u00A0text  \n\n");
        note_memo.setPlainText(page);
        QString shown;
        const QString typed = QStringLiteral("  new\n\nlines\t\n");
        const int result = open_editor(note_memo, [&](QDialog& editor) {
            shown = notes::memo_text(text_of(&editor));
            text_of(&editor)->setPlainText(typed);
            button(&editor, "Button1")->click();
        });
        QCOMPARE(shown, page);
        QCOMPARE(result, 1);
        QCOMPARE(notes::memo_text(&note_memo), typed);
    }

    void cancelling_or_closing_keeps_the_page_text()
    {
        QPlainTextEdit note_memo;
        note_memo.setPlainText(QStringLiteral("kept"));
        const QList<std::function<void(QDialog&)>> ways_out = {
            [](QDialog& editor) { button(&editor, "Button2")->click(); },
            [](QDialog& editor) { editor.close(); },
        };
        for (const auto& way_out : ways_out) {
            const int result = open_editor(note_memo, [&](QDialog& editor) {
                text_of(&editor)->setPlainText(QStringLiteral("thrown away"));
                way_out(editor);
            });
            QCOMPARE(result, 0);
            QCOMPARE(note_memo.toPlainText(), QStringLiteral("kept"));
        }
    }

    void keys_escape_enter_and_ctrl_enter()
    {
        QPlainTextEdit note_memo;
        bool stayed_open = false;
        int result = open_editor(note_memo, [&](QDialog& editor) {
            QPlainTextEdit* text = text_of(&editor);
            QTest::keyClicks(text, QStringLiteral("ab"));
            QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, QStringLiteral("c"));
            QTest::keyClick(text, Qt::Key_Escape);
            QTest::keyClick(&editor, Qt::Key_Escape);
            // Enter on a button that has the focus presses nothing.
            button(&editor, "Button2")->setFocus();
            QTest::keyClick(button(&editor, "Button2"), Qt::Key_Return);
            stayed_open = editor.isVisible() && editor.result() == 0;
        });
        QVERIFY(stayed_open);
        QCOMPARE(result, 0);

        for (Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
            note_memo.clear();
            result = open_editor(note_memo, [&](QDialog& editor) {
                QTest::keyClicks(text_of(&editor), QStringLiteral("ab"));
                const Qt::KeyboardModifiers keypad = enter == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
                QTest::keyClick(text_of(&editor), enter, Qt::ControlModifier | keypad);
            });
            QCOMPARE(result, 1);
            QCOMPARE(note_memo.toPlainText(), QStringLiteral("ab"));
        }
    }

    void note_font_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("expected_family");
        QTest::addColumn<QColor>("expected_colour");
        QTest::addColumn<int>("expected_size");
        const QString installed = QFontDatabase::families().value(0);
        const QColor blue(0, 0, 255);
        QTest::newRow("defaults") << "微软雅黑"
                                  << "16711680" << 9 << "微软雅黑" << blue << 9;
        QTest::newRow("installed family, red in the lowest byte")
            << installed << "255" << 14 << installed << QColor(255, 0, 0) << 14;
        QTest::newRow("bytes in their places") << "no such family"
                                               << "1193046" << 6 << "微软雅黑" << QColor(0x56, 0x34, 0x12) << 6;
        QTest::newRow("largest size") << ""
                                      << "0" << 72 << "微软雅黑" << QColor(0, 0, 0) << 72;
        QTest::newRow("garbage colour") << "微软雅黑"
                                        << "clBlue" << 9 << "微软雅黑" << blue << 9;
        QTest::newRow("hexadecimal colour") << "微软雅黑"
                                            << "0xFF" << 9 << "微软雅黑" << blue << 9;
        QTest::newRow("empty colour") << "微软雅黑"
                                      << "" << 9 << "微软雅黑" << blue << 9;
        QTest::newRow("negative colour") << "微软雅黑"
                                         << "-1" << 9 << "微软雅黑" << blue << 9;
        QTest::newRow("colour beyond 24 bits") << "微软雅黑"
                                               << "16777216" << 9 << "微软雅黑" << blue << 9;
        QTest::newRow("size 0") << "微软雅黑"
                                << "16711680" << 0 << "微软雅黑" << blue << 9;
        QTest::newRow("size 5") << "微软雅黑"
                                << "16711680" << 5 << "微软雅黑" << blue << 9;
        QTest::newRow("size 73") << "微软雅黑"
                                 << "16711680" << 73 << "微软雅黑" << blue << 9;
        QTest::newRow("size 5000") << "微软雅黑"
                                   << "16711680" << 5000 << "微软雅黑" << blue << 9;
    }

    void note_font()
    {
        QFETCH(QString, family);
        QFETCH(QString, colour);
        QFETCH(int, size);
        QFETCH(QString, expected_family);
        QFETCH(QColor, expected_colour);
        QFETCH(int, expected_size);
        app_settings.note_fontname = family.toStdString();
        app_settings.note_fontcolor = colour.toStdString();
        app_settings.note_fontsize = size;
        QPlainTextEdit note_memo;
        QFont font;
        QColor shown_colour;
        open_editor(note_memo, [&](QDialog& editor) {
            font = text_of(&editor)->font();
            shown_colour = text_of(&editor)->palette().color(QPalette::Text);
        });
        QCOMPARE(font.family(), expected_family);
        QCOMPARE(font.pointSize(), expected_size);
        QCOMPARE(font.weight(), QFont::Normal);
        QVERIFY(!font.italic());
        QCOMPARE(shown_colour, expected_colour);
        // The stored values are left as they are.
        QCOMPARE(app_settings.note_fontcolor, colour.toStdString());
        QCOMPARE(app_settings.note_fontsize, size);
    }

    void editor_settings_apply_the_changed_font_at_once()
    {
        QPlainTextEdit note_memo;
        note_memo.setPlainText(QStringLiteral("being edited"));
        // Without the options dialog the button changes nothing.
        open_editor(note_memo, [&](QDialog& editor) {
            text_of(&editor)->setPlainText(QStringLiteral("typed"));
            button(&editor, "Button3")->click();
            QVERIFY(editor.isVisible());
            QCOMPARE(text_of(&editor)->toPlainText(), QStringLiteral("typed"));
            QCOMPARE(text_of(&editor)->font().pointSize(), 9);
        });

        QWidget* opened_over = nullptr;
        notes::set_editor_settings_opener([&](QWidget* editor) {
            opened_over = editor;
            app_settings.note_fontsize = 20;
            app_settings.note_fontcolor = "65280";
        });
        QWidget* editor_seen = nullptr;
        open_editor(note_memo, [&](QDialog& editor) {
            editor_seen = &editor;
            text_of(&editor)->setPlainText(QStringLiteral("typed"));
            button(&editor, "Button3")->click();
            QCOMPARE(text_of(&editor)->font().pointSize(), 20);
            QCOMPARE(text_of(&editor)->palette().color(QPalette::Text), QColor(0, 255, 0));
            QCOMPARE(text_of(&editor)->toPlainText(), QStringLiteral("typed"));
            QVERIFY(editor.isVisible());
        });
        QCOMPARE(opened_over, editor_seen);
    }
};

QTEST_MAIN(TestNoteEdit)
#include "test_noteedit.moc"
