// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/window_placement.h"

#include <QTest>

// Where a window opens: near its owner, wholly inside the screen's available area. The area is a
// 1366 x 768 screen above a 40-pixel task bar unless a row says otherwise.
class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void placedFrame_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QRect>("placed");
        const QRect screen(0, 0, 1366, 728);
        QTest::newRow("centred over its owner") << screen << QSize(400, 300) << QSize(100, 100)
                                                << QRect(383, 164, 600, 400) << QRect(483, 214, 400, 300);
        QTest::newRow("owner at the right edge") << screen << QSize(600, 400) << QSize(100, 100)
                                                 << QRect(1100, 300, 420, 330) << QRect(766, 265, 600, 400);
        QTest::newRow("owner at the bottom left, over the task bar")
            << screen << QSize(600, 400) << QSize(100, 100) << QRect(-50, 600, 420, 330)
            << QRect(0, 328, 600, 400);
        QTest::newRow("taller than the screen: shrunk to it")
            << screen << QSize(990, 800) << QSize(300, 200) << QRect(383, 164, 600, 400)
            << QRect(188, 0, 990, 728);
        QTest::newRow("minimum larger than the screen: the top left stays on it")
            << screen << QSize(1500, 900) << QSize(1400, 800) << QRect(383, 164, 600, 400)
            << QRect(0, 0, 1400, 800);
        QTest::newRow("no owner: the middle of a second screen")
            << QRect(1366, 0, 1280, 760) << QSize(400, 300) << QSize(100, 100) << QRect()
            << QRect(1806, 230, 400, 300);
    }

    void placedFrame()
    {
        QFETCH(QRect, available);
        QFETCH(QSize, frame);
        QFETCH(QSize, minimum);
        QFETCH(QRect, owner);
        QTEST(::placedFrame(available, frame, minimum, owner), "placed");
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
