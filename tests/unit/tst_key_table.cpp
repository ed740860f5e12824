// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/commands/key_table.h"

#include <QHash>
#include <QTest>

using namespace Qt::StringLiterals;

class TestKeyTable : public QObject {
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<KeyAction>("action");
        QTest::newRow("Escape 27") << 27 << KeyAction::Minimise;
        QTest::newRow("1 (49)") << 49 << KeyAction::Command1;
        QTest::newRow("2 (50)") << 50 << KeyAction::Command2;
        QTest::newRow("3 (51)") << 51 << KeyAction::Command3;
        QTest::newRow("4 (52)") << 52 << KeyAction::Command4;
        QTest::newRow("5 (53)") << 53 << KeyAction::Command5;
        QTest::newRow("6 (54)") << 54 << KeyAction::Command6;
        QTest::newRow("7 (55) is Command8") << 55 << KeyAction::Command8;
        QTest::newRow("8 (56) is Command7") << 56 << KeyAction::Command7;
        QTest::newRow("9 (57) calculator") << 57 << KeyAction::Calculator;
        QTest::newRow("0 (48) switch calculator") << 48 << KeyAction::SwitchCalculator;
        for (int code = 96; code <= 105; ++code)
            QTest::addRow("keypad %d (%d)", code - 96, code) << code << KeyAction::None;
        QTest::newRow("Enter 13") << 13 << KeyAction::None;
        QTest::newRow("Backspace 8") << 8 << KeyAction::None;
        QTest::newRow("Delete 46") << 46 << KeyAction::None;
        QTest::newRow("Space 32") << 32 << KeyAction::None;
        QTest::newRow("Up 38") << 38 << KeyAction::None;
        QTest::newRow("Down 40") << 40 << KeyAction::None;
        QTest::newRow("Q 81") << 81 << KeyAction::None;
        QTest::newRow("F1 112") << 112 << KeyAction::None;
        QTest::newRow("just below 0 (47)") << 47 << KeyAction::None;
        QTest::newRow("just above 9 (58)") << 58 << KeyAction::None;
        QTest::newRow("zero") << 0 << KeyAction::None;
        QTest::newRow("negative") << -1 << KeyAction::None;
        QTest::newRow("Qt::Key_Escape is not 27") << 0x01000000 << KeyAction::None;
    }
    void rows()
    {
        QFETCH(int, code);
        QFETCH(KeyAction, action);
        QCOMPARE(keyTableAction(code), action);
    }

    // Eleven keys act, each with its own action; every other code of a byte does nothing.
    void onlyTheTableActs()
    {
        QHash<KeyAction, int> seen;
        for (int code = 0; code < 256; ++code) {
            const KeyAction a = keyTableAction(code);
            if (a == KeyAction::None)
                continue;
            QVERIFY2(code == 27 || (code >= 48 && code <= 57), qPrintable(QString::number(code)));
            ++seen[a];
        }
        QCOMPARE(seen.size(), 11);
        for (auto it = seen.cbegin(); it != seen.cend(); ++it)
            QCOMPARE(it.value(), 1);
    }
};

QTEST_GUILESS_MAIN(TestKeyTable)
#include "tst_key_table.moc"
