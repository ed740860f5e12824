// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/display_platform.h"

#include <QTest>

// Under a Wayland session the window layers need X11 (XWayland); the user's own choice stands;
// offscreen is the last resort of every list, so that no desktop never aborts the program.
class TestDisplayPlatform : public QObject {
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("X display, nothing chosen")
            << QByteArray() << QByteArray(":0") << QByteArray("wayland-0") << QByteArray("xcb;offscreen");
        QTest::newRow("user chose wayland")
            << QByteArray("wayland") << QByteArray(":0") << QByteArray() << QByteArray("wayland;offscreen");
        QTest::newRow("user chose offscreen")
            << QByteArray("offscreen") << QByteArray(":0") << QByteArray() << QByteArray("offscreen");
        QTest::newRow("user's list ends offscreen with arguments")
            << QByteArray("xcb;offscreen:fontengine=freetype") << QByteArray() << QByteArray()
            << QByteArray("xcb;offscreen:fontengine=freetype");
        QTest::newRow("Wayland alone")
            << QByteArray() << QByteArray() << QByteArray("wayland-0") << QByteArray("wayland;offscreen");
        QTest::newRow("no desktop at all")
            << QByteArray() << QByteArray() << QByteArray() << QByteArray("offscreen");
    }

    void choice()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, expected);
        QCOMPARE(preferredQtPlatform(chosen, display, wayland), expected);
    }
};

QTEST_GUILESS_MAIN(TestDisplayPlatform)
#include "tst_display_platform.moc"
