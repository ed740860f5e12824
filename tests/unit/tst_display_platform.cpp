// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/display_platform.h"

#include <QTest>

// Under a Wayland session the window layers need X11 (XWayland); the user's own choice stands.
class TestDisplayPlatform : public QObject {
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("X display, nothing chosen") << QByteArray() << QByteArray(":0") << QByteArray("xcb");
        QTest::newRow("user chose wayland") << QByteArray("wayland") << QByteArray(":0") << QByteArray();
        QTest::newRow("user chose offscreen") << QByteArray("offscreen") << QByteArray(":0") << QByteArray();
        QTest::newRow("no X display") << QByteArray() << QByteArray() << QByteArray();
    }

    void choice()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, expected);
        QCOMPARE(preferredQtPlatform(chosen, display), expected);
    }
};

QTEST_GUILESS_MAIN(TestDisplayPlatform)
#include "tst_display_platform.moc"
