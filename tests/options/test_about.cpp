// The about window, the two home-page links, the program's icon and the
// home page beside the program, offscreen, each case in a folder of its own.
#include <QAction>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "modal_answer.h"
#include "options/about.h"
#include "options/autorun.h"
#include "options/homepage.h"
#include "platform/platform.h"
#include "storage/paths.h"
#include "uikit/clicklabel.h"
#include "uikit/modal.h"
#include "uikit/shape.h"
#include "uikit/style.h"
#include "windowfixture.h"

namespace {

const QString bin_dir = QStringLiteral(VELKIN_BIN_DIR);

bool underline_alone(const QLabel* label)
{
    const QFont f = label->font();
    return f.underline() && !f.bold() && !f.italic() && !f.strikeOut();
}

bool regular(const QLabel* label)
{
    const QFont f = label->font();
    return !f.underline() && !f.bold() && !f.italic() && !f.strikeOut();
}

void pointer_enters(QWidget* w)
{
    QEnterEvent event(QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), w->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(w, &event);
}

void pointer_leaves(QWidget* w)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(w, &event);
}

// Records the addresses the links hand to the desktop.
struct OpenedUrls {
    QList<QUrl> urls;
    OpenedUrls()
    {
        options::set_url_opener_hook([this](const QUrl& url) { urls << url; });
    }
    ~OpenedUrls() { options::set_url_opener_hook({}); }
};

// The home page as the build places it, copied into the test's folder.
void place_home_page(const WindowFixture& f)
{
    QFile::remove(f.file("velkin.html"));
    QVERIFY(QFile::copy(bin_dir + "/velkin.html", f.file("velkin.html")));
}

}  // namespace

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { uikit::set_modal_hook({}); }

    void the_about_window_as_designed()
    {
        options::Tfrm_about about;
        QCOMPARE(about.objectName(), QStringLiteral("frm_about"));
        QCOMPARE(about.windowTitle(), QStringLiteral("关于"));
        QCOMPARE(about.size(), QSize(310, 175));
        QCOMPARE(uikit::text_colour(&about), QColor(0x00, 0x40, 0x80));
        QCOMPARE(about.font().pointSize(), 9);

        auto* line = child<uikit::Shape>(&about, "Shape1");
        QCOMPARE(line->geometry(), QRect(8, 4, 292, 1));
        QCOMPARE(line->brushColor(), QColor(0x86, 0xA2, 0xC8));
        auto* name = child<QLabel>(&about, "Label4");
        QCOMPARE(name->text(), QStringLiteral("Velkin"));
        QCOMPARE(uikit::text_colour(name), QColor(0x80, 0x00, 0x00));
        QVERIFY(name->font().bold());
        QCOMPARE(name->font().pixelSize(), 29);
        QCOMPARE(child<QLabel>(&about, "Label_ver")->text(), QStringLiteral("版本：2020"));
        QCOMPARE(child<QLabel>(&about, "Label5")->text(), QStringLiteral("绿色/免安装/无插件/免费"));
        QCOMPARE(uikit::text_colour(child<QLabel>(&about, "Label5")), QColor(0x00, 0x80, 0x00));
        auto* link = child<uikit::ClickLabel>(&about, "Label_url");
        QCOMPARE(link->text(), QStringLiteral("访问软件主页"));
        QCOMPARE(uikit::text_colour(link), QColor(0x80, 0x00, 0x80));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(child<QPushButton>(&about, "Button1")->text(), QStringLiteral("确定(&S)"));
        QCOMPARE(testing::controls_without_accessible_name(&about), QStringList());
    }

    void a_link_is_underlined_only_under_the_pointer()
    {
        options::Tfrm_about about;
        auto* link = child<uikit::ClickLabel>(&about, "Label_url");
        QVERIFY(regular(link));
        pointer_enters(link);
        QVERIFY(underline_alone(link));
        pointer_enters(link);  // entering twice changes nothing
        QVERIFY(underline_alone(link));
        pointer_leaves(link);
        QVERIFY(regular(link));

        // Any other style becomes underline alone; leaving undoes only that.
        QFont styled = link->font();
        styled.setBold(true);
        styled.setItalic(true);
        styled.setUnderline(true);
        link->setFont(styled);
        pointer_enters(link);
        QVERIFY(underline_alone(link));
        styled = link->font();
        styled.setUnderline(false);
        styled.setStrikeOut(true);
        link->setFont(styled);
        pointer_leaves(link);
        QVERIFY(link->font().strikeOut());
    }

    void both_links_open_the_home_page_and_leave_the_windows_open()
    {
        WindowFixture f;
        place_home_page(f);
        OpenedUrls opened;
        auto w = f.open_window(QDate(2024, 2, 10));
        const QUrl home = QUrl::fromLocalFile(f.file("velkin.html"));
        QCOMPARE(options::home_page_url(), home);

        auto* l_info = child<uikit::ClickLabel>(w.get(), "l_info");
        QCOMPARE(l_info->cursor().shape(), Qt::ArrowCursor);
        pointer_enters(l_info);
        QVERIFY(underline_alone(l_info));
        pointer_leaves(l_info);
        QVERIFY(regular(l_info));
        QTest::mouseClick(l_info, Qt::LeftButton);
        QCOMPARE(opened.urls, QList<QUrl>{home});
        QVERIFY(w->isVisible());

        bool still_open_after_click = false;
        testing::answer_modal<QDialog>([&](QDialog* about) {
            QCOMPARE(about->objectName(), QStringLiteral("frm_about"));
            QTest::mouseClick(child<QLabel>(about, "Label_url"), Qt::LeftButton);
            still_open_after_click = about->isVisible() && QApplication::activeModalWidget() == about;
            QTest::mouseClick(child<QPushButton>(about, "Button1"), Qt::LeftButton);
        });
        child<QAction>(w.get(), "N8")->trigger();
        QVERIFY(still_open_after_click);
        QCOMPARE(opened.urls, (QList<QUrl>{home, home}));
        QVERIFY(f.messages.isEmpty());
    }

    void the_close_box_closes_the_about_window()
    {
        QString shown;
        Qt::WindowFlags flags;
        uikit::set_modal_hook([&](QDialog& d) {
            shown = d.objectName();
            flags = d.windowFlags();
            return 0;
        });
        options::show_about(nullptr);
        QCOMPARE(shown, QStringLiteral("frm_about"));
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));

        uikit::set_modal_hook({});
        testing::answer_modal<QDialog>([](QDialog* about) { about->close(); });
        options::show_about(nullptr);  // returns once the close box closed it
        QVERIFY(!QApplication::activeModalWidget());
    }

    void a_missing_home_page_is_told_and_nothing_opens()
    {
        WindowFixture f;
        OpenedUrls opened;
        set_program_folder(f.folder());
        options::Tfrm_about about;
        QTest::mouseClick(child<QLabel>(&about, "Label_url"), Qt::LeftButton);
        QVERIFY(opened.urls.isEmpty());
        QCOMPARE(f.messages, QStringList{QStringLiteral("找不到软件主页：") + f.file("velkin.html")});
    }

    // What the options dialog will show when vk_reg is not there to start.
    void a_missing_vk_reg_is_named_in_the_error()
    {
        WindowFixture f;
        set_program_folder(f.folder());
        try {
            options::regautoandlink();
            QFAIL("no error for a missing vk_reg");
        } catch (const platform::StartError& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(f.file("vk_reg")), e.what());
        }
    }

    void the_program_icon_is_the_window_icon_and_lies_beside_the_program()
    {
        WindowFixture f;
        auto w = f.open_window(QDate(2024, 2, 10), false);
        QVERIFY(!w->windowIcon().isNull());
        const QImage beside(bin_dir + "/velkin.png");
        QCOMPARE(beside.size(), QSize(256, 256));
        QCOMPARE(w->windowIcon().pixmap(256, 256).toImage().convertToFormat(beside.format()), beside);
    }

    // The home page says what the about window says, and every link leads
    // to a part of the page or to a file beside it: no address to go stale.
    void the_home_page_links_only_to_what_exists()
    {
        QFile page(bin_dir + "/velkin.html");
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        options::Tfrm_about about;
        QVERIFY(html.contains(child<QLabel>(&about, "Label_ver")->text()));
        for (const char* part : {"velkin.db", "vkset.vki", "备份", "计划任务", "记事便笺", "纪念日提醒", "选项设置"})
            QVERIFY2(html.contains(QString::fromUtf8(part)), part);

        QStringList ids;
        for (const auto& m : QRegularExpression("\\bid=\"([^\"]*)\\\"").globalMatch(html))
            ids << m.captured(1);
        int links = 0;
        for (const auto& m : QRegularExpression("\\b(?:href|src)=\"([^\"]*)\\\"").globalMatch(html)) {
            const QString target = m.captured(1);
            ++links;
            if (target.startsWith('#'))
                QVERIFY2(ids.contains(target.mid(1)), qPrintable(target));
            else
                QVERIFY2(!target.contains(':') && QFile::exists(bin_dir + "/" + target), qPrintable(target));
        }
        QVERIFY(links > 5);
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
