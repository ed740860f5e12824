// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/countdown.h"
#include "fakes/texts.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Action = CountdownStep::Action;
using Texts::restoredTitle;
using Texts::secondsLeftTitle;

} // namespace

class TestCountdown : public QObject {
    Q_OBJECT

private slots:
    void countsFifteenDownToOneThenExits()
    {
        qint16 c2exit = 16;
        for (int left = 15; left >= 1; --left) {
            const CountdownStep step = countdownTick(true, c2exit, u"1.32"_s);
            QCOMPARE(step.action, Action::ShowTitle);
            QCOMPARE(step.title, secondsLeftTitle(left));
            QCOMPARE(c2exit, qint16(left));
        }
        const CountdownStep last = countdownTick(true, c2exit, u"1.32"_s);
        QCOMPARE(last.action, Action::Exit);
        QCOMPARE(c2exit, qint16(0));
    }

    void cancel_data()
    {
        QTest::addColumn<int>("ticksBefore");
        QTest::addColumn<QString>("SoftVer1");
        QTest::addColumn<QString>("title");
        QTest::newRow("at rest") << 0 << u"1.32"_s << restoredTitle(u"1.32"_s);
        QTest::newRow("showing 7") << 9 << u"1.32"_s << restoredTitle(u"1.32"_s);
        QTest::newRow("showing 1") << 15 << u"1.32"_s << restoredTitle(u"1.32"_s);
        QTest::newRow("another version") << 3 << u"2.5"_s << restoredTitle(u"2.5"_s);
    }
    void cancel()
    {
        QFETCH(int, ticksBefore);
        QFETCH(QString, SoftVer1);
        QFETCH(QString, title);
        qint16 c2exit = 16;
        for (int i = 0; i < ticksBefore; ++i)
            QCOMPARE(countdownTick(true, c2exit, SoftVer1).action, Action::ShowTitle);
        const CountdownStep step = countdownTick(false, c2exit, SoftVer1);
        QCOMPARE(step.action, Action::Cancel);
        QCOMPARE(step.title, title);
        QCOMPARE(c2exit, qint16(16));
        QCOMPARE(cancelledTitle(SoftVer1), title);
    }
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"
