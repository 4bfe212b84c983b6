// GBK <-> UTF-8, the settings file's code page.
#include <QTest>

#include "platform/platform.h"

class TestGbk : public QObject {
    Q_OBJECT

private slots:
    void conversions_data()
    {
        QTest::addColumn<bool>("both_ways");
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("gbk");
        QTest::newRow("empty") << true << QByteArray() << QByteArray();
        QTest::newRow("font name") << true << QByteArray("a微软雅黑\r\n")
                                   << QByteArray("a\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA\r\n");
        QTest::newRow("euro sign") << true << QByteArray("€") << QByteArray("\x80");
        QTest::newRow("fullwidth") << true << QByteArray("“Velkin”！") << QByteArray("\xA1\xB0Velkin\xA1\xB1\xA3\xA1");
        QTest::newRow("emoji has no GBK form") << false << QByteArray("a😀b") << QByteArray("a?b");
        QTest::newRow("invalid UTF-8 byte") << false
                                            << QByteArray("a\xFF"
                                                          "b")
                                            << QByteArray("a?b");
        QTest::newRow("UTF-8 cut at end") << false << QByteArray("a\xE5\xBE") << QByteArray("a?");
    }
    void conversions()
    {
        QFETCH(bool, both_ways);
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, gbk);
        QCOMPARE(QByteArray::fromStdString(platform::utf8_to_gbk(utf8.toStdString())), gbk);
        if (both_ways)
            QCOMPARE(QByteArray::fromStdString(platform::gbk_to_utf8(gbk.toStdString())), utf8);
    }

    void bad_gbk_becomes_question_mark()
    {
        QCOMPARE(platform::gbk_to_utf8("a\xFF"
                                       "b"),
                 std::string("a?b"));
        QCOMPARE(platform::gbk_to_utf8("a\xCE"), std::string("a?"));  // lead byte cut off
    }

    void long_text_converts_whole()
    {
        std::string utf8;  // far longer than the first output buffer guess
        for (int i = 0; i < 50000; ++i)
            utf8 += "雅a";
        const std::string gbk = platform::utf8_to_gbk(utf8);
        QCOMPARE(gbk.size(), std::size_t(150000));
        QCOMPARE(platform::gbk_to_utf8(gbk), utf8);
    }
};

QTEST_APPLESS_MAIN(TestGbk)
#include "test_gbk.moc"
