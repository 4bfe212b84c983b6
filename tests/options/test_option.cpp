// The options dialog offscreen, each case in a program folder of its own:
// the pages and their controls, the values loaded from the Settings and
// stored on confirmation, the live opacity, the note font preview, the
// reminder interval, the order of the confirmation's steps and its
// failures, and the three ways the main window opens it.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include "exec_parser.h"
#include "files.h"
#include "modal_answer.h"
#include "notes/notepage.h"
#include "options/autorun.h"
#include "options/option.h"
#include "storage/paths.h"
#include "storage/settings.h"
#include "uikit/modal.h"
#include "uikit/style.h"
#include "windowfixture.h"

namespace {

constexpr int hour = 3'600'000;

QColor rgb(QRgb value) { return QColor::fromRgb(value); }

// What the dialog did outside itself, in order.
struct Effects {
    QStringList steps;
    QList<int> opacities;
    std::function<void()> on_save;  // a failing write, for instance

    options::OptionTargets targets()
    {
        return {[this](int blend) { opacities << blend; },
                [this] { steps << QStringLiteral("reminder ") + QString::fromStdString(app_settings.taskhint_use); },
                [this] {
                    steps << QStringLiteral("save");
                    if (on_save)
                        on_save();
                }};
    }
};

QComboBox* font_list(QWidget* d) { return child<QComboBox>(d, "RzFontComboBox1"); }
QComboBox* colour_list(QWidget* d) { return child<QComboBox>(d, "RzColorComboBox1"); }
QComboBox* size_list(QWidget* d) { return child<QComboBox>(d, "RzComboBox1"); }
QPlainTextEdit* preview(QWidget* d) { return child<QPlainTextEdit>(d, "Memo1"); }
QSlider* slider(QWidget* d) { return child<QSlider>(d, "TrackBar1"); }
QLineEdit* hours_field(QWidget* d) { return child<QLineEdit>(d, "Edit_taskhint"); }
QColor preview_colour(QWidget* d) { return preview(d)->palette().color(QPalette::Text); }
void confirm(QWidget* d) { QTest::mouseClick(child<QPushButton>(d, "Button1"), Qt::LeftButton); }
void cancel(QWidget* d) { QTest::mouseClick(child<QPushButton>(d, "Button2"), Qt::LeftButton); }

void choose(QComboBox* list, const QString& entry)
{
    const int index = list->findText(entry);
    QVERIFY2(index >= 0, qPrintable(entry));
    list->setCurrentIndex(index);
}

// A family the font list offers, other than the preview's own.
QString installed_family(QWidget* d)
{
    for (int i = 0; i < font_list(d)->count(); ++i)
        if (font_list(d)->itemText(i) != preview(d)->font().family())
            return font_list(d)->itemText(i);
    return {};
}

// The user leaves the field: what loses the focus gets the event.
void leave_field(QLineEdit* field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

// Types `text` a character at a time, as an input method commits it.
void type_into(QLineEdit* field, const QString& text)
{
    for (const QChar c : text) {
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QApplication::sendEvent(field, &commit);
    }
}

using testing::write_file;

// Sets an environment variable for one test and puts the old value back.
struct ScopedEnv {
    const char* name;
    QByteArray old;
    bool had;
    ScopedEnv(const char* n, const QString& value) : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n))
    {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnv() { had ? qputenv(name, old) : qunsetenv(name); }
};

}  // namespace

class TestOption : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    Effects effects;
    QStringList messages;

private slots:
    void init()
    {
        app_settings = Settings{};
        effects = Effects{};
        messages.clear();
        set_program_folder(QDir(folder.path()).absolutePath().toStdString() + "/");
        options::set_vk_reg_start_hook([this] { effects.steps << QStringLiteral("vk_reg"); });
        uikit::set_message_box_hook([this](const uikit::MessageBoxRequest& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        options::set_vk_reg_start_hook({});
        uikit::set_message_box_hook({});
        uikit::set_modal_hook({});
        app_settings = Settings{};
    }

    // ------------------------------------------------------------ the window

    void the_window_as_designed()
    {
        options::Tfrm_option d(options::basic_page, effects.targets());
        QCOMPARE(d.objectName(), QStringLiteral("frm_option"));
        QCOMPARE(d.size(), QSize(307, 276));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(d.font().pointSize(), 9);
        QCOMPARE(uikit::text_colour(&d), QColor(0x00, 0x40, 0x80));
        auto* pages = child<QTabWidget>(&d, "RzPageControl1");
        QCOMPARE(pages->geometry(), QRect(8, 8, 291, 217));
        QCOMPARE(child<QWidget>(&d, "TabSheet7")->palette().color(QPalette::Window), QColor(0xE3, 0xEE, 0xFD));
        const QList<std::pair<const char*, QRect>> places{
            {"Button1", {131, 238, 75, 25}},
            {"Button2", {214, 238, 75, 25}},
            {"cb_desktoplink", {9, 18, 144, 17}},
            {"cb_autorun", {9, 39, 136, 17}},
            {"TrackBar1", {9, 137, 264, 39}},
            {"RzFontComboBox1", {107, 23, 145, 22}},
            {"RzColorComboBox1", {107, 54, 145, 22}},
            {"RzComboBox1", {107, 85, 145, 25}},
            {"Memo1", {32, 114, 220, 63}},
            {"Label15", {25, 28, 232, 42}},
            {"cb_taskhint", {24, 102, 131, 17}},
            {"Edit_taskhint", {24, 158, 65, 25}},
        };
        for (const auto& [name, place] : places)
            QCOMPARE(child<QWidget>(&d, name)->geometry(), place);
        const QList<std::pair<const char*, const char*>> texts{
            {"Button1", "确定(&S)"},
            {"Button2", "取消"},
            {"cb_desktoplink", "在桌面上创建快捷方式"},
            {"cb_autorun", "开机时启动软件"},
            {"Label2", "主窗体透明度："},
            {"Label12", "字体类型："},
            {"Label13", "字体颜色："},
            {"Label14", "字体大小："},
            {"cb_taskhint", "启用任务提醒功能"},
            {"Label16", "时间间隔："},
            {"Label1", "小时"},
            {"Label15", "    开启该功能后，将以设置的时间间隔为周期，对当天任务完成情况进行实时提醒。"},
        };
        for (const auto& [name, text] : texts) {
            QWidget* w = child<QWidget>(&d, name);
            QCOMPARE(w->property("text").toString(), QString::fromUtf8(text));
        }
        QCOMPARE(pages->tabText(pages->indexOf(child<QWidget>(&d, "TabSheet1"))), QStringLiteral("基本设置"));
        QCOMPARE(pages->tabText(pages->indexOf(child<QWidget>(&d, "TabSheet6"))), QStringLiteral("备忘录编辑器"));
        QCOMPARE(pages->tabText(pages->indexOf(child<QWidget>(&d, "TabSheet7"))), QStringLiteral("任务提醒"));
        QCOMPARE(slider(&d)->minimum(), 30);
        QCOMPARE(slider(&d)->maximum(), 255);
        QCOMPARE(slider(&d)->tickInterval(), 10);
        QVERIFY(hours_field(&d)->alignment() & Qt::AlignRight);
        QCOMPARE(preview(&d)->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xB0));
        QVERIFY(!size_list(&d)->isEditable());
        QVERIFY(!colour_list(&d)->isEditable());
        QVERIFY(!font_list(&d)->isEditable());
        QStringList sizes;
        for (int i = 0; i < size_list(&d)->count(); ++i)
            sizes << size_list(&d)->itemText(i);
        QCOMPARE(sizes, QString("9 10 11 12 14 16 18 20").split(' '));
    }

    // The 17 entries in order: name, stored value and a swatch of the colour.
    void the_colour_list()
    {
        options::Tfrm_option d(options::note_editor_page, effects.targets());
        const QList<std::tuple<const char*, int, QColor>> entries{
            {"Default", 0, rgb(0x000000)},        {"Black", 0, rgb(0x000000)},
            {"Maroon", 128, rgb(0x800000)},       {"Green", 32768, rgb(0x008000)},
            {"Olive", 32896, rgb(0x808000)},      {"Navy", 8388608, rgb(0x000080)},
            {"Purple", 8388736, rgb(0x800080)},   {"Teal", 8421376, rgb(0x008080)},
            {"Gray", 8421504, rgb(0x808080)},     {"Silver", 12632256, rgb(0xC0C0C0)},
            {"Red", 255, rgb(0xFF0000)},          {"Lime", 65280, rgb(0x00FF00)},
            {"Yellow", 65535, rgb(0xFFFF00)},     {"Blue", 16711680, rgb(0x0000FF)},
            {"Fuchsia", 16711935, rgb(0xFF00FF)}, {"Aqua", 16776960, rgb(0x00FFFF)},
            {"White", 16777215, rgb(0xFFFFFF)},
        };
        QCOMPARE(colour_list(&d)->count(), int(entries.size()));
        for (int i = 0; i < colour_list(&d)->count(); ++i) {
            const auto& [name, value, colour] = entries[i];
            QCOMPARE(colour_list(&d)->itemText(i), QString::fromLatin1(name));
            QCOMPARE(colour_list(&d)->itemData(i).toInt(), value);
            const QImage swatch = colour_list(&d)->itemIcon(i).pixmap(16, 12).toImage();
            QCOMPARE(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), colour);
        }
    }

    void pages_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("menu") << options::basic_page << "选项设置"
                              << "TabSheet1";
        QTest::newRow("note editor") << options::note_editor_page << "编辑器设置"
                                     << "TabSheet6";
        QTest::newRow("task page") << options::reminder_page << "任务提醒"
                                   << "TabSheet7";
    }

    // Only the chosen page's tab can be seen, so the user cannot switch.
    void pages()
    {
        QFETCH(int, page);
        QFETCH(QString, caption);
        QFETCH(QString, sheet);
        options::Tfrm_option d(page, effects.targets());
        QCOMPARE(d.windowTitle(), caption);
        auto* pages = child<QTabWidget>(&d, "RzPageControl1");
        QCOMPARE(pages->currentWidget()->objectName(), sheet);
        for (int i = 0; i < pages->count(); ++i)
            QCOMPARE(pages->isTabVisible(i), pages->widget(i)->objectName() == sheet);
        d.show();
        const QStringList unnamed = testing::controls_without_accessible_name(&d);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    }

    void an_unknown_page_opens_nothing()
    {
        for (int page : {0, 2, 7, -1}) {
            bool shown = false;
            uikit::set_modal_hook([&](QDialog&) { return shown = true; });
            QVERIFY_THROWS_EXCEPTION(std::invalid_argument, options::show_option(page, nullptr, effects.targets()));
            QVERIFY(!shown);
        }
        QVERIFY(effects.opacities.isEmpty());
    }

    // ------------------------------------------------------------ loading

    void the_defaults()
    {
        options::Tfrm_option d(options::basic_page, effects.targets());
        QVERIFY(child<QCheckBox>(&d, "cb_desktoplink")->isChecked());
        QVERIFY(child<QCheckBox>(&d, "cb_autorun")->isChecked());
        QCOMPARE(slider(&d)->value(), 255);
        QCOMPARE(effects.opacities, QList<int>{255});
        // "微软雅黑" is chosen where it is installed; elsewhere nothing is.
        QCOMPARE(font_list(&d)->currentText(), QFontDatabase::families().contains("微软雅黑") ? "微软雅黑" : "");
        QCOMPARE(colour_list(&d)->currentText(), QStringLiteral("Blue"));
        QCOMPARE(size_list(&d)->currentText(), QStringLiteral("9"));
        QVERIFY(child<QCheckBox>(&d, "cb_taskhint")->isChecked());
        QCOMPARE(hours_field(&d)->text(), QStringLiteral("2"));
        QCOMPARE(preview(&d)->toPlainText(), QStringLiteral("Velkin是一款绿色免费、小巧实用的日历计划管理软件！"));
        QCOMPARE(preview_colour(&d), QColor(0, 0, 255));
        QCOMPARE(preview(&d)->font().pointSize(), 9);
    }

    void stored_values_are_shown()
    {
        app_settings.desktoplink = "0";
        app_settings.autorun = "yes";  // only "1" ticks
        app_settings.taskhint_use = "0";
        app_settings.taskhint_time = 24;
        app_settings.note_fontcolor = "0";  // the first entry of that value
        app_settings.note_fontsize = 20;
        options::Tfrm_option d(options::reminder_page, effects.targets());
        QVERIFY(!child<QCheckBox>(&d, "cb_desktoplink")->isChecked());
        QVERIFY(!child<QCheckBox>(&d, "cb_autorun")->isChecked());
        QVERIFY(!child<QCheckBox>(&d, "cb_taskhint")->isChecked());
        QCOMPARE(hours_field(&d)->text(), QStringLiteral("24"));
        QCOMPARE(colour_list(&d)->currentText(), QStringLiteral("Default"));
        QCOMPARE(preview_colour(&d), QColor(0, 0, 0));
        QCOMPARE(size_list(&d)->currentText(), QStringLiteral("20"));
        QCOMPARE(preview(&d)->font().pointSize(), 20);

        const QString family = installed_family(&d);
        QVERIFY(!family.isEmpty());
        app_settings.note_fontname = family.toStdString();
        options::Tfrm_option again(options::reminder_page, effects.targets());
        QCOMPARE(font_list(&again)->currentText(), family);
        QCOMPARE(preview(&again)->font().family(), family);
    }

    // The slider's range holds whatever the file says; the window's opacity
    // follows the slider from the start, even at the slider's own position.
    void the_opacity_at_opening_data()
    {
        QTest::addColumn<int>("form_blend");
        QTest::addColumn<int>("position");
        QTest::newRow("opaque") << 255 << 255;
        QTest::newRow("the slider's own start") << 50 << 50;
        QTest::newRow("lowest") << 30 << 30;
        QTest::newRow("below the range") << 0 << 30;
        QTest::newRow("above the range") << 300 << 255;
    }

    void the_opacity_at_opening()
    {
        QFETCH(int, form_blend);
        QFETCH(int, position);
        app_settings.form_blend = form_blend;
        options::Tfrm_option d(options::note_editor_page, effects.targets());
        QCOMPARE(slider(&d)->value(), position);
        QCOMPARE(effects.opacities, QList<int>{position});
        QCOMPARE(app_settings.form_blend, form_blend);
    }

    // A stored colour that the list does not hold: nothing is selected, the
    // preview shows the stored colour (blue when it is no colour number),
    // and it is kept unless a colour is chosen.
    void a_colour_the_list_does_not_hold_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("another colour") << "1193046" << QColor(0x56, 0x34, 0x12);
        QTest::newRow("no number") << "clBlue" << QColor(0, 0, 255);
        QTest::newRow("empty") << "" << QColor(0, 0, 255);
        QTest::newRow("hexadecimal") << "0xFF" << QColor(0, 0, 255);
        QTest::newRow("negative") << "-255" << QColor(0, 0, 255);
        QTest::newRow("beyond 24 bits") << "16777471" << QColor(0, 0, 255);
    }

    void a_colour_the_list_does_not_hold()
    {
        QFETCH(QString, stored);
        QFETCH(QColor, shown);
        app_settings.note_fontcolor = stored.toStdString();
        {
            options::Tfrm_option d(options::note_editor_page, effects.targets());
            QCOMPARE(colour_list(&d)->currentIndex(), -1);
            QCOMPARE(preview_colour(&d), shown);
            choose(size_list(&d), "12");  // another list's change leaves the colour
            QCOMPARE(preview_colour(&d), shown);
            d.show();
            confirm(&d);
            QVERIFY(!d.isVisible());
        }
        QCOMPARE(app_settings.note_fontcolor, stored.toStdString());
        QCOMPARE(app_settings.note_fontsize, 12);

        options::Tfrm_option d(options::note_editor_page, effects.targets());
        choose(colour_list(&d), "Teal");
        QCOMPARE(preview_colour(&d), QColor(0x00, 0x80, 0x80));
        confirm(&d);
        QCOMPARE(app_settings.note_fontcolor, std::string("8421376"));
    }

    // A font that is not installed, or a size the list does not offer,
    // selects nothing and is kept unless one is chosen.
    void a_font_or_size_the_lists_do_not_hold()
    {
        app_settings.note_fontname = "No Such Family";
        app_settings.note_fontsize = 13;
        QString own_family;
        {
            options::Tfrm_option d(options::note_editor_page, effects.targets());
            QCOMPARE(font_list(&d)->currentIndex(), -1);
            QCOMPARE(size_list(&d)->currentIndex(), -1);
            own_family = preview(&d)->font().family();
            QCOMPARE(own_family, QFont(QStringLiteral("微软雅黑")).family());
            QCOMPARE(preview(&d)->font().pointSize(), 13);
            confirm(&d);
        }
        QCOMPARE(app_settings.note_fontname, std::string("No Such Family"));
        QCOMPARE(app_settings.note_fontsize, 13);

        options::Tfrm_option d(options::note_editor_page, effects.targets());
        const QString family = installed_family(&d);
        choose(font_list(&d), family);
        QCOMPARE(preview(&d)->font().family(), family);
        QCOMPARE(preview(&d)->font().weight(), QFont::Normal);
        QVERIFY(!preview(&d)->font().italic());
        confirm(&d);
        QCOMPARE(app_settings.note_fontname, family.toStdString());
    }

    void red_at_16_points()
    {
        options::Tfrm_option d(options::note_editor_page, effects.targets());
        choose(colour_list(&d), "Red");
        choose(size_list(&d), "16");
        QCOMPARE(preview_colour(&d), QColor(255, 0, 0));
        QCOMPARE(preview(&d)->font().pointSize(), 16);
        confirm(&d);
        QCOMPARE(app_settings.note_fontcolor, std::string("255"));
        QCOMPARE(app_settings.note_fontsize, 16);
    }

    // ------------------------------------------------------------ the interval

    void the_interval_field_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << ""
                               << "1";
        QTest::newRow("zero") << "0"
                              << "1";
        QTest::newRow("in range") << "7"
                                  << "7";
        QTest::newRow("leading zeros") << "0024"
                                       << "24";
        QTest::newRow("above") << "25"
                               << "24";
        QTest::newRow("far above") << "99999999999999999999"
                                   << "24";
        QTest::newRow("letters are not taken") << "a1b2-"
                                               << "12";
        QTest::newRow("full-width digits") << "１２"
                                           << "12";
    }

    void the_interval_field()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        options::Tfrm_option d(options::reminder_page, effects.targets());
        QLineEdit* field = hours_field(&d);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        type_into(field, typed);
        leave_field(field);
        QCOMPARE(field->text(), shown);
        confirm(&d);
        QCOMPARE(app_settings.taskhint_time, shown.toInt());
    }

    // The confirmation reads the field within 1 to 24 even when the focus
    // never left it; a hand-edited interval shows as the reminder runs it.
    void the_interval_always_lies_in_range()
    {
        app_settings.taskhint_time = -3;
        {
            options::Tfrm_option d(options::reminder_page, effects.targets());
            QCOMPARE(hours_field(&d)->text(), QStringLiteral("1"));
            hours_field(&d)->setText(QStringLiteral("40"));
            confirm(&d);
        }
        QCOMPARE(app_settings.taskhint_time, 24);
        app_settings.taskhint_time = 100;
        options::Tfrm_option d(options::reminder_page, effects.targets());
        QCOMPARE(hours_field(&d)->text(), QStringLiteral("24"));
    }

    // ------------------------------------------------------------ confirming

    // Every page writes all values back: a confirmation on the basic page
    // keeps the reminder at 5 hours and the note font as stored.
    void a_confirmation_from_one_page_keeps_the_others()
    {
        app_settings.taskhint_time = 5;
        app_settings.taskhint_use = "0";
        app_settings.note_fontcolor = "255";
        app_settings.note_fontsize = 16;
        app_settings.note_fontname = "No Such Family";
        app_settings.desktoplink = "0";
        const Settings before = app_settings;
        options::Tfrm_option d(options::basic_page, effects.targets());
        confirm(&d);
        QCOMPARE(app_settings.taskhint_time, 5);
        QCOMPARE(app_settings.taskhint_use, before.taskhint_use);
        QCOMPARE(app_settings.note_fontcolor, before.note_fontcolor);
        QCOMPARE(app_settings.note_fontsize, before.note_fontsize);
        QCOMPARE(app_settings.note_fontname, before.note_fontname);
        QCOMPARE(app_settings.desktoplink, std::string("0"));
        QCOMPARE(app_settings.autorun, std::string("1"));
        QCOMPARE(app_settings.form_blend, 255);
    }

    // The wishes reach vk_reg through the settings file: the file is
    // written after the Settings and the reminder, and before vk_reg starts.
    void the_steps_in_order()
    {
        options::Tfrm_option d(options::basic_page, effects.targets());
        d.show();
        child<QCheckBox>(&d, "cb_autorun")->setChecked(false);
        QTest::keyClick(slider(&d), Qt::Key_Home);
        QCOMPARE(effects.opacities.last(), 30);
        QCOMPARE(app_settings.form_blend, 255);
        effects.on_save = [] { QCOMPARE(app_settings.autorun, std::string("0")); };
        confirm(&d);
        QCOMPARE(effects.steps, (QStringList{"reminder 1", "save", "vk_reg"}));
        QCOMPARE(app_settings.form_blend, 30);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(!d.isVisible());
        QVERIFY(messages.isEmpty());
    }

    // Even with nothing changed vk_reg starts on every confirmation.
    void every_confirmation_starts_vk_reg()
    {
        for (int page : {options::basic_page, options::note_editor_page, options::reminder_page}) {
            options::Tfrm_option d(page, effects.targets());
            confirm(&d);
        }
        QCOMPARE(effects.steps.count(QStringLiteral("vk_reg")), 3);
    }

    // "取消", the close box and Escape change no Setting and put the main
    // window back at form_blend at once.
    void cancelling_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("取消") << "button";
        QTest::newRow("close box") << "close";
        QTest::newRow("Escape") << "escape";
    }

    void cancelling()
    {
        QFETCH(QString, way);
        app_settings.form_blend = 200;
        options::Tfrm_option d(options::basic_page, effects.targets());
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        slider(&d)->setValue(100);
        child<QCheckBox>(&d, "cb_autorun")->setChecked(false);
        QCOMPARE(effects.opacities, (QList<int>{200, 100}));
        if (way == "button")
            cancel(&d);
        else if (way == "close")
            d.close();
        else
            QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(effects.opacities, (QList<int>{200, 100, 200}));
        QCOMPARE(app_settings.form_blend, 200);
        QCOMPARE(app_settings.autorun, std::string("1"));
        QVERIFY(effects.steps.isEmpty());
    }

    // A settings file that cannot be written, or a vk_reg that cannot be
    // started, is told; the dialog stays open and a later confirmation
    // runs every step again.
    void a_failure_keeps_the_dialog_open()
    {
        options::Tfrm_option d(options::basic_page, effects.targets());
        d.show();
        child<QCheckBox>(&d, "cb_autorun")->setChecked(false);
        effects.on_save = [] { throw std::runtime_error("Unable to write to /x/vkset.vki"); };
        confirm(&d);
        QCOMPARE(messages, QStringList{"Unable to write to /x/vkset.vki"});
        QCOMPARE(effects.steps, (QStringList{"reminder 1", "save"}));
        QVERIFY(d.isVisible());
        QCOMPARE(app_settings.autorun, std::string("0"));  // the Settings changed already

        // Without the seam: no vk_reg in the program folder.
        options::set_vk_reg_start_hook({});
        effects.on_save = nullptr;
        messages.clear();
        confirm(&d);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(QString::fromStdString(program_folder()) + "vk_reg"), qPrintable(messages[0]));
        QVERIFY(messages[0].contains(QStringLiteral("找不到程序")));
        QVERIFY(d.isVisible());

        // A vk_reg that cannot be run.
        write_file(folder.filePath("vk_reg"), "not a program");
        QFile::setPermissions(folder.filePath("vk_reg"), QFile::ReadOwner | QFile::WriteOwner);
        messages.clear();
        confirm(&d);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(QStringLiteral("无法启动程序")), qPrintable(messages[0]));
        QVERIFY(d.isVisible());
        QFile::remove(folder.filePath("vk_reg"));

        options::set_vk_reg_start_hook([this] { effects.steps << QStringLiteral("vk_reg"); });
        effects.steps.clear();
        confirm(&d);
        QCOMPARE(effects.steps, (QStringList{"reminder 1", "save", "vk_reg"}));
        QVERIFY(!d.isVisible());
    }

    // ------------------------------------------------------------ the main window

    // From the menu: the slider changes the window at once, cancelling puts
    // it back, and a confirmed 30 is kept.
    void the_menu_item_and_the_live_opacity()
    {
        WindowFixture f;
        auto w = f.open_window(QDate(2024, 2, 10));
        QCOMPARE(w->windowOpacity(), 1.0);
        testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("选项设置"));
            QCOMPARE(d->parentWidget(), w.get());
            slider(d)->setValue(30);
            QVERIFY(qAbs(w->windowOpacity() - 30 / 255.0) < 0.001);
            cancel(d);
        });
        child<QAction>(w.get(), "N5")->trigger();
        QCOMPARE(w->windowOpacity(), 1.0);
        QCOMPARE(app_settings.form_blend, 255);

        testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
            QTest::keyClick(slider(d), Qt::Key_Home);
            confirm(d);
        });
        child<QAction>(w.get(), "N5")->trigger();
        QVERIFY(qAbs(w->windowOpacity() - 30 / 255.0) < 0.001);
        QCOMPARE(app_settings.form_blend, 30);
        QVERIFY(f.messages.isEmpty());
    }

    // The settings file holds the new wishes, and the window's position,
    // by the time vk_reg starts.
    void the_settings_file_is_written_before_vk_reg_starts()
    {
        WindowFixture f;
        auto w = f.open_window(QDate(2024, 2, 10));
        Settings seen;
        options::set_vk_reg_start_hook([&] { seen = read_settings(f.folder() + "vkset.vki"); });
        testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
            child<QCheckBox>(d, "cb_autorun")->setChecked(false);
            confirm(d);
        });
        child<QAction>(w.get(), "N5")->trigger();
        QCOMPARE(seen.autorun, std::string("0"));
        QCOMPARE(seen.desktoplink, std::string("1"));
        QVERIFY(seen.pos_left >= 0);
    }

    // Without vk_reg beside the program the message names it and the dialog
    // stays open until the user cancels.
    void a_missing_vk_reg_from_the_menu()
    {
        WindowFixture f;
        auto w = f.open_window(QDate(2024, 2, 10));
        options::set_vk_reg_start_hook({});
        bool stayed_open = false;
        testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
            confirm(d);
            stayed_open = QApplication::activeModalWidget() == d && d->isVisible();
            cancel(d);
        });
        child<QAction>(w.get(), "N5")->trigger();
        QVERIFY(stayed_open);
        QCOMPARE(f.messages.size(), 1);
        QVERIFY2(f.messages[0].contains(f.file("vk_reg")), qPrintable(f.messages[0]));
    }

    // "提醒" opens the reminder page; switching off stops the timer at
    // once, a new interval starts a full period.
    void the_reminder_button_and_the_timer()
    {
        WindowFixture f;
        auto w = f.open_window(QDate(2024, 2, 10));
        auto* timer = child<QTimer>(w.get(), "Timer_taskhint");
        QVERIFY(timer->isActive());
        testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("任务提醒"));
            child<QCheckBox>(d, "cb_taskhint")->setChecked(false);
            confirm(d);
        });
        child<QPushButton>(w.get(), "Button7")->click();
        QVERIFY(!timer->isActive());

        testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
            child<QCheckBox>(d, "cb_taskhint")->setChecked(true);
            hours_field(d)->setText(QStringLiteral("5"));
            confirm(d);
        });
        child<QPushButton>(w.get(), "Button7")->click();
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 5 * hour);
        QVERIFY(timer->remainingTime() > 5 * hour - 60'000);
        QVERIFY(f.messages.isEmpty());
    }

    // "编辑器设置" opens the note-editor page over the open editor, whose
    // text takes the confirmed font at once and keeps it after "取消".
    void the_note_editor_takes_the_font_at_once()
    {
        WindowFixture f;
        auto w = f.open_window(QDate(2024, 2, 10));
        auto* page = w->findChild<notes::NotePage*>();
        QVERIFY(page);
        QFont after_confirm, after_cancel;
        QColor colour_after_confirm;
        testing::answer_modal<QDialog>([&](QDialog* editor) {
            QCOMPARE(editor->objectName(), QStringLiteral("frm_noteedit"));
            auto* memo = child<QPlainTextEdit>(editor, "Memo1");
            memo->setPlainText(QStringLiteral("typed"));
            testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
                QCOMPARE(d->windowTitle(), QStringLiteral("编辑器设置"));
                QCOMPARE(d->parentWidget(), editor);
                choose(colour_list(d), "Red");
                choose(size_list(d), "16");
                confirm(d);
            });
            child<QPushButton>(editor, "Button3")->click();
            after_confirm = memo->font();
            colour_after_confirm = memo->palette().color(QPalette::Text);

            testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
                choose(size_list(d), "20");
                cancel(d);
            });
            child<QPushButton>(editor, "Button3")->click();
            after_cancel = memo->font();
            QCOMPARE(memo->toPlainText(), QStringLiteral("typed"));
            child<QPushButton>(editor, "Button2")->click();
        });
        page->Memo_noteDblClick();
        QCOMPARE(after_confirm.pointSize(), 16);
        QCOMPARE(colour_after_confirm, QColor(255, 0, 0));
        QCOMPARE(after_cancel.pointSize(), 16);
        QCOMPARE(app_settings.note_fontsize, 16);
        QVERIFY(f.messages.isEmpty());
    }

    // The whole way: ticking "开机时启动软件" and confirming makes, through
    // the real vk_reg, an autostart entry whose Exec line, run as a session
    // runs it, starts the program of this folder; unticking removes it.
    void autorun_through_vk_reg()
    {
        WindowFixture f;
        QTemporaryDir user;
        const QString config = user.filePath("config");
        QDir().mkpath(config);
        ScopedEnv home("HOME", user.filePath("home"));
        ScopedEnv xdg("XDG_CONFIG_HOME", config);
        QVERIFY(QFile::copy(QStringLiteral(VK_REG_EXE), f.file("vk_reg")));
        QVERIFY(QFile::copy(QStringLiteral(VELKIN_BIN_DIR "/velkin.png"), f.file("velkin.png")));
        write_file(f.file("velkin"), "#!/bin/sh\nprintf '%s' \"$0\" > \"$(dirname \"$0\")/ran\"\n");
        QFile::setPermissions(f.file("velkin"), QFile::permissions(f.file("velkin")) | QFile::ExeOwner);
        write_file(f.file("vkset.vki"), "[option]\r\nautorun=0\r\ndesktoplink=0\r\n");
        auto w = f.open_window(QDate(2024, 2, 10));
        options::set_vk_reg_start_hook({});
        const QString entry = config + "/autostart/velkin.desktop";

        testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
            QVERIFY(!child<QCheckBox>(d, "cb_autorun")->isChecked());
            child<QCheckBox>(d, "cb_autorun")->setChecked(true);
            confirm(d);
        });
        child<QAction>(w.get(), "N5")->trigger();
        QVERIFY(f.messages.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(entry), 10000);
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto args =
            testing::exec_arguments(testing::desktop_entry_keys(QString::fromUtf8(file.readAll())).value("Exec"));
        QVERIFY(args && !args->isEmpty());
        QCOMPARE(args->first(), f.file("velkin"));
        QCOMPARE(QProcess::execute(args->first(), args->mid(1)), 0);
        QFile ran(f.file("ran"));
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(ran.readAll()), f.file("velkin"));

        testing::answer_modal<options::Tfrm_option>([&](options::Tfrm_option* d) {
            child<QCheckBox>(d, "cb_autorun")->setChecked(false);
            confirm(d);
        });
        child<QAction>(w.get(), "N5")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(entry), 10000);
    }
};

QTEST_MAIN(TestOption)
#include "test_option.moc"
