// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/time/agreement.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Kind = ServerAnswer::Kind;
using Verdict = Agreement::Verdict;

ServerAnswer answered(qint64 offsetUs, qint64 accuracyUs, const QString& address = {})
{
    return {u"s"_s, address, Kind::Answered, offsetUs, accuracyUs, {}};
}
ServerAnswer silent()
{
    return {u"s"_s, {}, Kind::Silent, 0, 0, u"3 秒内没有应答"_s};
}

} // namespace

class TestAgreement : public QObject {
    Q_OBJECT

private slots:
    void majority_data()
    {
        QTest::addColumn<QList<ServerAnswer>>("answers");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("offsetUs");
        QTest::addColumn<qint64>("accuracyUs");
        QTest::addColumn<QList<Verdict>>("verdicts");
        // Two agree on 2.50 s within their accuracy, one is 3.7 s further: the two are taken,
        // where their intervals overlap (2.496..2.505).
        QTest::newRow("three, one 3.7 s off")
            << QList{answered(2'500'000, 5'000), answered(2'503'000, 7'000), answered(6'200'000, 4'000)}
            << true << qint64(2'500'500) << qint64(4'500)
            << QList{Verdict::Agrees, Verdict::Agrees, Verdict::Disagrees};
        QTest::newRow("two that disagree")
            << QList{answered(2'500'000, 5'000), answered(6'200'000, 4'000)} << false << qint64(0)
            << qint64(0) << QList{Verdict::Disagrees, Verdict::Disagrees};
        QTest::newRow("all silent") << QList{silent(), silent(), silent()} << false << qint64(0) << qint64(0)
                                    << QList{Verdict::Silent, Verdict::Silent, Verdict::Silent};
        // One server is not trusted alone, unless it is the whole list.
        QTest::newRow("one of three answers")
            << QList{answered(2'500'000, 5'000), silent(), silent()} << false << qint64(0) << qint64(0)
            << QList{Verdict::Disagrees, Verdict::Silent, Verdict::Silent};
        QTest::newRow("a list of one") << QList{answered(2'500'000, 5'000)} << true << qint64(2'500'000)
                                       << qint64(5'000) << QList{Verdict::Agrees};
        QTest::newRow("touching intervals")
            << QList{answered(0, 1'000), answered(2'000, 1'000)} << true << qint64(1'000) << qint64(0)
            << QList{Verdict::Agrees, Verdict::Agrees};
        // Two LAN servers 5 ms apart, each ±1 ms of round trip and 3 ms of root dispersion.
        QTest::newRow("honest servers with their dispersion")
            << QList{answered(0, 4'000), answered(5'000, 4'000)} << true << qint64(2'500) << qint64(1'500)
            << QList{Verdict::Agrees, Verdict::Agrees};
        // Two pairs of two among three: the tighter pair wins, not the first listed.
        QTest::newRow("equal groups")
            << QList{answered(5'000, 5'000), answered(17'500, 12'500), answered(21'000, 1'000)} << true
            << qint64(21'000) << qint64(1'000) << QList{Verdict::Disagrees, Verdict::Agrees, Verdict::Agrees};
        // Listed twice, counted once: one against one is no majority.
        QTest::newRow("a duplicate address")
            << QList{answered(2'500'000, 5'000, u"10.0.0.1"_s), answered(2'500'000, 5'000, u"10.0.0.1"_s),
                     answered(6'200'000, 5'000, u"10.0.0.2"_s)}
            << false << qint64(0) << qint64(0)
            << QList{Verdict::Disagrees, Verdict::SameAddress, Verdict::Disagrees};
    }
    void majority()
    {
        QFETCH(QList<ServerAnswer>, answers);
        const Agreement a = agree(answers);
        QTEST(a.ok, "ok");
        QTEST(a.verdicts, "verdicts");
        if (a.ok) {
            QTEST(a.offsetUs, "offsetUs");
            QTEST(a.accuracyUs, "accuracyUs");
        }
    }
};

QTEST_GUILESS_MAIN(TestAgreement)
#include "tst_agreement.moc"
