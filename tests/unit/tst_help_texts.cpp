// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/texts/help_texts.h"
#include "core/texts/markup.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The fixed pieces of the instructions, in order; item 1's second sentence is free.
const QString kHeading = u"        使用说明"_s;
const QString kItem1 = u"BRBR1、本软件内存占用小，稳定实用。"_s;
const QString kItem2 = u"BRBR2、在开盘前就打开本软件，将会在关键时刻听到语音提醒，如 机构竞价时间，开盘提醒，"
                       u"开盘后10分钟提醒，开盘后1小时提醒，收盘前5分钟提醒，收盘提醒等等；"_s;
const QString kItem3 =
    u"BRBR3、在菜单“编辑”“系统设置”里，可以把“买入纪律”等等一系列按钮的内容和属性改为自己的；"_s;
const QString kItem4 = u"BRBR4、窗口右上角的关闭按钮也是最小化，退出时请选择菜单里的“文件”“退出”；"_s;
const QString kItem5 = u"BRBR5、有不少快捷键可用，数字键从1至8，对应买入纪律等等这8个键，9是常用计算器，"
                       u"0是转仓计算器，CTRL+Q退出软件，ESC是最小化。"_s;

QStringList viewerLines(const QString& body)
{
    return Markup::toViewerText(body).split(u"\r\n"_s);
}

} // namespace

class TestHelpTexts : public QObject {
    Q_OBJECT

private slots:
    void titles()
    {
        QCOMPARE(HelpTexts::instructions().title, u"使用说明"_s);
        QCOMPARE(HelpTexts::author().title, u"关于作者"_s);
        // The title has 本, the menu item does not.
        QCOMPARE(HelpTexts::software().title, u"关于本软件"_s);
    }

    void instructionsAreThePiecesInOrder()
    {
        const QString body = HelpTexts::instructions().body;
        QVERIFY(body.startsWith(kHeading + kItem1));
        const qsizetype afterItem1 = kHeading.size() + kItem1.size();
        const qsizetype item2At = body.indexOf(kItem2);
        QVERIFY(item2At > afterItem1);
        // Item 1's second sentence: who owns the software and where to report misuse.
        const QString ownership = body.mid(afterItem1, item2At - afterItem1);
        QVERIFY(ownership.size() > 1);
        QVERIFY(ownership.endsWith(u"；"_s));
        QVERIFY2(!ownership.contains(u"BR"_s), qPrintable(ownership));
        QVERIFY(!ownership.contains(u"<br>"_s));
        QVERIFY(!ownership.contains(u'\r') && !ownership.contains(u'\n'));
        QCOMPARE(body.mid(item2At), kItem2 + kItem3 + kItem4 + kItem5);
    }

    void instructionsShowAsElevenLines()
    {
        const QStringList lines = viewerLines(HelpTexts::instructions().body);
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[0], u"        使用说明"_s);
        for (const int empty : {1, 3, 5, 7, 9})
            QVERIFY2(lines[empty].isEmpty(), qPrintable(QString::number(empty)));
        QVERIFY(lines[2].startsWith(u"1、本软件内存占用小，稳定实用。"_s));
        QVERIFY(lines[2].endsWith(u"；"_s));
        QVERIFY(lines[4].startsWith(u"2、"_s));
        QVERIFY(lines[6].startsWith(u"3、"_s));
        QVERIFY(lines[8].startsWith(u"4、"_s));
        QCOMPARE(lines[10], u"5、有不少快捷键可用，数字键从1至8，对应买入纪律等等这8个键，9是常用计算器，"
                            u"0是转仓计算器，CTRL+Q退出软件，ESC是最小化。"_s);
    }

    void authorText()
    {
        const QString body = HelpTexts::author().body;
        static const QRegularExpression shape(u"^BR作者：(.+)BRBRQ Q：(.+)BR邮箱：(.+)BR主页：(.+)$"_s);
        const QRegularExpressionMatch m = shape.match(body);
        QVERIFY2(m.hasMatch(), qPrintable(body));
        for (int i = 1; i <= 4; ++i) {
            // The free details hold no marker of their own: every BR is one of the five above.
            QVERIFY2(!m.captured(i).contains(u"BR"_s), qPrintable(m.captured(i)));
            QVERIFY(!m.captured(i).contains(u"<br>"_s, Qt::CaseInsensitive));
            QVERIFY(!m.captured(i).trimmed().isEmpty());
        }
        QVERIFY(m.captured(3).contains(u'@'));
        QVERIFY(m.captured(4).startsWith(u"http"_s));
        QVERIFY(!body.endsWith(u"BR"_s));
        QCOMPARE(body.count(u"BR"_s), 5);

        const QStringList lines = viewerLines(body);
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[0].isEmpty());
        QVERIFY(lines[1].startsWith(u"作者："_s));
        QVERIFY(lines[2].isEmpty());
        QVERIFY(lines[3].startsWith(u"Q Q："_s));
        QVERIFY(lines[4].startsWith(u"邮箱："_s));
        QVERIFY(lines[5].startsWith(u"主页："_s));
    }

    void softwareText()
    {
        const QString body = HelpTexts::software().body;
        QCOMPARE(body.count(u"BR"_s), 1);
        const QStringList lines = viewerLines(body);
        QCOMPARE(lines.size(), 2);
        // Four blanks, the brand, the maker in parentheses, the product and "软件".
        static const QRegularExpression first(u"^    Orro[（(][^）)]+[）)] Tickbell 软件$"_s);
        QVERIFY2(first.match(lines[0]).hasMatch(), qPrintable(lines[0]));
        QVERIFY(lines[1].startsWith(u"    "_s));
        QVERIFY(!lines[1].at(4).isSpace());
        QVERIFY(lines[1].size() > 8);
    }

    // The program, the user guides and the Windows README state the same licence, which allows
    // commercial use.
    void licenceTermsAgree_data()
    {
        QTest::addColumn<QString>("text");
        auto file = [](const char* path) {
            QFile f(QString::fromUtf8(TICKBELL_SOURCE_DIR "/") + QString::fromUtf8(path));
            return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        };
        QTest::newRow("使用说明") << HelpTexts::instructions().body;
        QTest::newRow("关于本软件") << HelpTexts::software().body;
        QTest::newRow("README-user.md") << file("packaging/README-user.md");
        QTest::newRow("README-windows.txt") << file("packaging/windows/README-windows.txt");
    }
    void licenceTermsAgree()
    {
        QFETCH(QString, text);
        QVERIFY(text.contains(
            u"本软件版权归Tickbell 项目组所有，是自由软件，可按 GNU 通用公共许可证（第 3 版或更高版本）使用、复制、修改和传播"_s));
        QVERIFY(!text.contains(u"商业"_s));
    }

    void noBodyHoldsOtherLineBreaks_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("markers");
        QTest::newRow("instructions") << HelpTexts::instructions().body << 10;
        QTest::newRow("author") << HelpTexts::author().body << 5;
        QTest::newRow("software") << HelpTexts::software().body << 1;
    }
    void noBodyHoldsOtherLineBreaks()
    {
        QFETCH(QString, body);
        QFETCH(int, markers);
        QCOMPARE(body.count(u"BR"_s), markers);
        QVERIFY(!body.contains(u'\r'));
        QVERIFY(!body.contains(u'\n'));
        QVERIFY(!body.contains(u"<br>"_s, Qt::CaseInsensitive));
        QCOMPARE(Markup::toViewerText(body).count(u"\r\n"_s), markers);
    }
};

QTEST_GUILESS_MAIN(TestHelpTexts)
#include "tst_help_texts.moc"
