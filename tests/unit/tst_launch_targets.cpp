// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/commands/launch_targets.h"

#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// "http://host/rest" -> host and rest ("/..."); empty host when the address is not of that shape.
struct SplitAddress {
    QString host;
    QString rest;
};

SplitAddress splitAddress(const QString& address)
{
    const QString scheme = u"http://"_s;
    if (!address.startsWith(scheme))
        return {};
    const qsizetype slash = address.indexOf(u'/', scheme.size());
    if (slash < 0)
        return {};
    return {address.mid(scheme.size(), slash - scheme.size()), address.mid(slash)};
}

} // namespace

class TestLaunchTargets : public QObject {
    Q_OBJECT

private slots:
    void webAddresses_data()
    {
        QTest::addColumn<QString>("SoftVer1");
        QTest::newRow("1.32") << u"1.32"_s;
        QTest::newRow("2.5") << u"2.5"_s;
    }
    void webAddresses()
    {
        QFETCH(QString, SoftVer1);

        const SplitAddress news = splitAddress(LaunchTargets::webAddress(LaunchTarget::NewsPage, SoftVer1));
        QVERIFY(!news.host.isEmpty());
        QCOMPARE(news.rest, u"/scroll/now.htm"_s);

        const SplitAddress quotes =
            splitAddress(LaunchTargets::webAddress(LaunchTarget::QuotesPage, SoftVer1));
        QVERIFY(!quotes.host.isEmpty());
        QCOMPARE(quotes.rest,
                 u"/hq/dzh.swf?AutoIndexbar=2&resource_root=http://"_s + quotes.host + u"/hq/"_s);

        const SplitAddress update =
            splitAddress(LaunchTargets::webAddress(LaunchTarget::UpdatePage, SoftVer1));
        QVERIFY(!update.host.isEmpty());
        QCOMPARE(update.rest, u"/showpluspic.asp?id=47&softver="_s + SoftVer1);

        const SplitAddress feedback =
            splitAddress(LaunchTargets::webAddress(LaunchTarget::FeedbackPage, SoftVer1));
        QCOMPARE(feedback.rest,
                 u"/first02.asp?content=就插件程序ID为47的说两句，程序名称为：OrroTickbellv"_s + SoftVer1 +
                     u"………………我说：&m=#3"_s);

        // The update and feedback pages are the maker's; the other two belong to outside sites.
        QCOMPARE(feedback.host, update.host);
        QVERIFY(news.host != update.host);
        QVERIFY(quotes.host != update.host);
        QVERIFY(news.host != quotes.host);
        for (const QString& host : {news.host, quotes.host, update.host})
            QVERIFY2(!host.contains(u':') && !host.contains(u'@') && host.contains(u'.'), qPrintable(host));
    }

    void updateAddressCarriesTheVersion()
    {
        QVERIFY(LaunchTargets::webAddress(LaunchTarget::UpdatePage, u"1.32"_s)
                    .endsWith(u"?id=47&softver=1.32"_s));
        QVERIFY(LaunchTargets::webAddress(LaunchTarget::FeedbackPage, u"1.32"_s)
                    .contains(u"OrroTickbellv1.32………………我说：&m=#3"_s));
    }

    void tools_data()
    {
        QTest::addColumn<LaunchTarget>("target");
        QTest::addColumn<QString>("relative");
        QTest::newRow("clock tool") << LaunchTarget::ClockTool << u"plug/clocktool.exe"_s;
        QTest::newRow("calculator") << LaunchTarget::Calculator << u"plug/abacus.exe"_s;
        QTest::newRow("switch calculator") << LaunchTarget::SwitchCalculator << u"plug/posmover.exe"_s;
        QTest::newRow("limit-up calculator") << LaunchTarget::LimitUpCalculator << u"plug/ceilprice.exe"_s;
        QTest::newRow("quick shutdown") << LaunchTarget::QuickShutdown << u"plug/poweroff.exe"_s;
    }
    void tools()
    {
        QFETCH(LaunchTarget, target);
        QFETCH(QString, relative);
        QVERIFY(!LaunchTargets::isWebPage(target));
        QCOMPARE(LaunchTargets::toolRelativePath(target), relative);
        QCOMPARE(LaunchTargets::toolPath(u"/opt/tickbell"_s, target), u"/opt/tickbell/"_s + relative);
        QVERIFY(LaunchTargets::webAddress(target, u"1.32"_s).isEmpty());
    }

    void kindsOfTargets_data()
    {
        QTest::addColumn<LaunchTarget>("target");
        QTest::addColumn<bool>("web");
        QTest::addColumn<bool>("tool");
        QTest::newRow("news page") << LaunchTarget::NewsPage << true << false;
        QTest::newRow("quotes page") << LaunchTarget::QuotesPage << true << false;
        QTest::newRow("update page") << LaunchTarget::UpdatePage << true << false;
        QTest::newRow("feedback page") << LaunchTarget::FeedbackPage << true << false;
        QTest::newRow("trading program") << LaunchTarget::TradingProgram << false << false;
        QTest::newRow("clock tool") << LaunchTarget::ClockTool << false << true;
    }
    void kindsOfTargets()
    {
        QFETCH(LaunchTarget, target);
        QFETCH(bool, web);
        QFETCH(bool, tool);
        QCOMPARE(LaunchTargets::isWebPage(target), web);
        QCOMPARE(!LaunchTargets::toolRelativePath(target).isEmpty(), tool);
        QCOMPARE(LaunchTargets::webAddress(target, u"1.32"_s).isEmpty(), !web);
    }

    // The browser gets the feedback address UTF-8 percent-encoded, the fragment kept apart.
    void feedbackUrlIsEncoded()
    {
        const QString address = LaunchTargets::webAddress(LaunchTarget::FeedbackPage, u"1.32"_s);
        const QUrl url = LaunchTargets::webUrl(address);
        QVERIFY(url.isValid());
        QCOMPARE(url.scheme(), u"http"_s);
        QCOMPARE(url.path(), u"/first02.asp"_s);
        QCOMPARE(url.fragment(), u"3"_s);
        QCOMPARE(url.query(QUrl::FullyDecoded),
                 u"content=就插件程序ID为47的说两句，程序名称为：OrroTickbellv1.32………………我说：&m="_s);

        const QByteArray encoded = url.toEncoded();
        for (const char c : encoded)
            QVERIFY2(static_cast<unsigned char>(c) < 0x80, encoded.constData());
        const QByteArray pathAndQuery = encoded.mid(encoded.indexOf("/first02.asp"));
        QVERIFY2(pathAndQuery.startsWith("/first02.asp?content=%E5%B0%B1%E6%8F%92%E4%BB%B6"),
                 pathAndQuery.constData());
        QVERIFY(
            pathAndQuery.contains("OrroTickbellv1.32%E2%80%A6%E2%80%A6%E2%80%A6%E2%80%A6%E2%80%A6%E2%80%A6"));
        QVERIFY2(pathAndQuery.endsWith("%E6%88%91%E8%AF%B4%EF%BC%9A&m=#3"), pathAndQuery.constData());
        QVERIFY(!url.query(QUrl::FullyEncoded).contains(u'#'));
    }

    void plainAddressesStayPlain()
    {
        for (const LaunchTarget t :
             {LaunchTarget::NewsPage, LaunchTarget::QuotesPage, LaunchTarget::UpdatePage}) {
            const QString address = LaunchTargets::webAddress(t, u"1.32"_s);
            QCOMPARE(LaunchTargets::webUrl(address).toString(QUrl::FullyEncoded), address);
        }
    }
};

QTEST_GUILESS_MAIN(TestLaunchTargets)
#include "tst_launch_targets.moc"
