// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/texts/markup.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestMarkup : public QObject {
    Q_OBJECT

private slots:
    void toViewerText_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("shown");

        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("no markup") << u"买入纪律"_s << u"买入纪律"_s;
        QTest::newRow("<br>") << u"甲<br>乙"_s << u"甲\r\n乙"_s;
        QTest::newRow("<BR>") << u"甲<BR>乙"_s << u"甲\r\n乙"_s;
        QTest::newRow("BR") << u"甲BR乙"_s << u"甲\r\n乙"_s;
        QTest::newRow("BRBR gives an empty line") << u"甲BRBR乙"_s << u"甲\r\n\r\n乙"_s;
        QTest::newRow("<BR> whole, not its BR") << u"a<BR>b"_s << u"a\r\nb"_s;
        QTest::newRow("<BR><BR>") << u"a<BR><BR>b"_s << u"a\r\n\r\nb"_s;
        QTest::newRow("<br><br>") << u"a<br><br>b"_s << u"a\r\n\r\nb"_s;
        QTest::newRow("all three markers") << u"a<BR>bBRc<br>d"_s << u"a\r\nb\r\nc\r\nd"_s;
        QTest::newRow("<Br> left alone") << u"a<Br>b"_s << u"a<Br>b"_s;
        QTest::newRow("<bR> left alone") << u"a<bR>b"_s << u"a<bR>b"_s;
        QTest::newRow("br left alone") << u"abrb"_s << u"abrb"_s;
        QTest::newRow("Br left alone") << u"aBrb"_s << u"aBrb"_s;
        QTest::newRow("bR left alone") << u"abRb"_s << u"abRb"_s;
        QTest::newRow("capitals inside a word split") << u"ABRC"_s << u"A\r\nC"_s;
        QTest::newRow("BREAK") << u"BREAK"_s << u"\r\nEAK"_s;
        QTest::newRow("BBRR") << u"BBRR"_s << u"B\r\nR"_s;
        QTest::newRow("BRR") << u"BRR"_s << u"\r\nR"_s;
        QTest::newRow("<BRBR> is two BR") << u"<BRBR>"_s << u"<\r\n\r\n>"_s;
        QTest::newRow("< BR > with blanks") << u"< BR >"_s << u"< \r\n >"_s;
        QTest::newRow("full-width letters are not BR") << u"ＢＲ"_s << u"ＢＲ"_s;
        QTest::newRow("CR LF kept") << u"a\r\nb"_s << u"a\r\nb"_s;
        QTest::newRow("lone CR untouched") << u"a\rb"_s << u"a\rb"_s;
        QTest::newRow("lone LF untouched") << u"a\nb"_s << u"a\nb"_s;
        QTest::newRow("CR LF next to BR") << u"a\r\nBRb"_s << u"a\r\n\r\nb"_s;
        QTest::newRow("marker at both ends") << u"BRa<br>"_s << u"\r\na\r\n"_s;
        QTest::newRow("only a marker") << u"<br>"_s << u"\r\n"_s;
        QTest::newRow("default rule text")
            << u"      买入纪律     <br>    内容内容...."_s << u"      买入纪律     \r\n    内容内容...."_s;
        QTest::newRow("bb is text here") << u"bb"_s << u"bb"_s;
    }
    void toViewerText()
    {
        QFETCH(QString, body);
        QFETCH(QString, shown);
        const QString before = body;
        QCOMPARE(Markup::toViewerText(body), shown);
        QCOMPARE(body, before); // the caller's text stays as it was
    }

    // What the settings dialog shows: only the exact "<br>" becomes a line break.
    void brToLineBreaks_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("edited");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("<br>") << u"甲<br>乙"_s << u"甲\r\n乙"_s;
        QTest::newRow("two in a row") << u"a<br><br>b"_s << u"a\r\n\r\nb"_s;
        QTest::newRow("<BR> kept") << u"a<BR>b"_s << u"a<BR>b"_s;
        QTest::newRow("BR kept") << u"aBRb"_s << u"aBRb"_s;
        QTest::newRow("<Br> kept") << u"a<Br>b"_s << u"a<Br>b"_s;
        QTest::newRow("CR LF kept") << u"a\r\nb"_s << u"a\r\nb"_s;
        QTest::newRow("default rule text")
            << u"      持仓理由     <br>    内容内容...."_s << u"      持仓理由     \r\n    内容内容...."_s;
    }
    void brToLineBreaks()
    {
        QFETCH(QString, stored);
        QFETCH(QString, edited);
        QCOMPARE(Markup::brToLineBreaks(stored), edited);
    }

    // What the settings dialog saves: every line break becomes "<br>", so no value of the
    // settings file can carry a CR or LF of its own.
    void lineBreaksToBr_data()
    {
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("CR LF") << u"甲\r\n乙"_s << u"甲<br>乙"_s;
        QTest::newRow("LF from a text box") << u"甲\n乙"_s << u"甲<br>乙"_s;
        QTest::newRow("lone CR") << u"甲\r乙"_s << u"甲<br>乙"_s;
        QTest::newRow("empty line") << u"a\r\n\r\nb"_s << u"a<br><br>b"_s;
        QTest::newRow("LF CR is two breaks") << u"a\n\rb"_s << u"a<br><br>b"_s;
        QTest::newRow("trailing break") << u"a\n"_s << u"a<br>"_s;
        QTest::newRow("markers typed stay") << u"a<br>b BR <BR>"_s << u"a<br>b BR <BR>"_s;
    }
    void lineBreaksToBr()
    {
        QFETCH(QString, edited);
        QFETCH(QString, stored);
        const QString out = Markup::lineBreaksToBr(edited);
        QCOMPARE(out, stored);
        QVERIFY(!out.contains(u'\r'));
        QVERIFY(!out.contains(u'\n'));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("edited");
        QTest::newRow("two lines") << u"回调到支撑位再买\r\n不追涨停的股票"_s;
        QTest::newRow("empty line between") << u"a\r\n\r\nb"_s;
        QTest::newRow("leading and trailing breaks") << u"\r\na\r\n"_s;
        QTest::newRow("one line") << u"趋势线不破就持有"_s;
    }
    void roundTrip()
    {
        QFETCH(QString, edited);
        QCOMPARE(Markup::brToLineBreaks(Markup::lineBreaksToBr(edited)), edited);
        // The viewer shows the stored form with the same lines.
        QCOMPARE(Markup::toViewerText(Markup::lineBreaksToBr(edited)), edited);
    }
};

QTEST_GUILESS_MAIN(TestMarkup)
#include "tst_markup.moc"
