// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/second_timer.h"
#include "fakes/form1_fixture.h"
#include "fakes/texts.h"
#include "modal.h"
#include "ui/viewer/show_text1.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QWindow>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using Texts::KeyHint;
const QSize kDesignSize(568, 318); // 8520 x 4770 twips

// A settings file with ASCII texts only, so its bytes are the same in any code page.
const QByteArray kConfig =
    "form1.law1:buy<br>rules\r\nform1.law2:sell\r\nform1.law3:hold\r\nform1.law4:out\r\n"
    "qqnews:0\r\nflashweb:0\r\nssoft:0\r\nshutdown15:0\r\nmysoft=\r\n\r\n";

// What the viewer showed while it was open.
struct Shown {
    bool seen = false;
    QString title;
    QString text;
    QSize size;
    bool modal = false;
};

// Calls ShowTextWord on a fresh viewer, records the open window and closes it with Escape.
Shown show(const QString& body, const QString& title, const std::function<void(ShowText1&)>& inside = {})
{
    Shown shown;
    auto* viewer = new ShowText1;
    QPointer<ShowText1> guard(viewer);
    ModalWatcher watcher([&](QWidget* modal) {
        auto* v = qobject_cast<ShowText1*>(modal);
        if (!v) {
            modal->close();
            return;
        }
        shown.title = v->windowTitle();
        shown.text = v->Text1()->toPlainText();
        shown.size = v->size();
        shown.modal = v->isModal();
        if (inside)
            inside(*v);
        if (v->isVisible())
            QTest::keyClick(v->Text1(), Qt::Key_Escape);
    });
    viewer->ShowTextWord(body, title);
    shown.seen = watcher.seen();
    if (!shown.seen)
        delete guard.data(); // never shown, so never closed
    return shown;
}

// "行1<br>行2..." with short lines that never wrap.
QString manyLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << u"行%1"_s.arg(i);
    return lines.join(u"<br>"_s);
}

} // namespace

class TestViewer : public QObject {
    Q_OBJECT

private slots:
    void designCaption()
    {
        ShowText1 viewer;
        QCOMPARE(viewer.windowTitle(), u"我的规则"_s + KeyHint);
        QCOMPARE(viewer.size(), kDesignSize);
        QCOMPARE(viewer.Text1()->toPlainText(), u"LOAD...\n"_s);
        QCOMPARE(viewer.Text1()->objectName(), u"Text1"_s);
        QCOMPARE(viewer.palette().color(QPalette::Window), QColor(255, 255, 255));
        QVERIFY(viewer.Text1()->font().bold());
        QCOMPARE(viewer.Text1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(viewer.Text1()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(viewer.windowFlags() & Qt::WindowMaximizeButtonHint);
        QVERIFY(!(viewer.windowFlags() & Qt::WindowMinimizeButtonHint));
    }

    void captions_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("caption");
        QTest::newRow("empty title") << QString() << u"我的规则"_s + KeyHint;
        QTest::newRow("buy discipline") << u"买入纪律"_s << u"买入纪律"_s + KeyHint;
        QTest::newRow("blanks are a title") << u"  "_s << u"  "_s + KeyHint;
    }

    void captions()
    {
        QFETCH(QString, title);
        QFETCH(QString, caption);
        const Shown shown = show(u"正文"_s, title);
        QVERIFY(shown.seen);
        QVERIFY(shown.modal);
        QCOMPARE(shown.title, caption);
        QCOMPARE(shown.size, kDesignSize);
    }

    void emptyBodyShowsNothing()
    {
        auto* viewer = new ShowText1;
        QPointer<ShowText1> guard(viewer);
        bool opened = false;
        ModalWatcher watcher([&](QWidget* modal) {
            opened = true;
            modal->close();
        });
        viewer->ShowTextWord(QString(), u"空仓理由"_s);
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QVERIFY(!watcher.seen());
        QVERIFY(guard);
        QVERIFY(!viewer->isVisible());
        // The caption is set all the same; the window stays hidden.
        QCOMPARE(viewer->windowTitle(), u"空仓理由"_s + KeyHint);
        QCOMPARE(viewer->Text1()->toPlainText(), u"LOAD...\n"_s);
        delete viewer;
    }

    void bodies_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("bb keeps the design text") << u"bb"_s << u"LOAD...\n"_s;
        QTest::newRow("BB is text") << u"BB"_s << u"BB"_s;
        QTest::newRow("bb and a blank is text") << u"bb "_s << u"bb "_s;
        QTest::newRow("<br>") << u"买入<br>卖出"_s << u"买入\n卖出"_s;
        QTest::newRow("<BR>") << u"买入<BR>卖出"_s << u"买入\n卖出"_s;
        QTest::newRow("BR") << u"买入BR卖出"_s << u"买入\n卖出"_s;
        QTest::newRow("BR twice") << u"买入BRBR卖出"_s << u"买入\n\n卖出"_s;
        QTest::newRow("<BR> before BR") << u"a<BR>b"_s << u"a\nb"_s;
        QTest::newRow("mixed case stays") << u"a<Br>b<bR>c br d Br e"_s << u"a<Br>b<bR>c br d Br e"_s;
        QTest::newRow("BR inside a word") << u"ABROAD"_s << u"A\nOAD"_s;
        QTest::newRow("CR LF stays a break") << u"一\r\n二"_s << u"一\n二"_s;
        QTest::newRow("all three") << u"1<br>2<BR>3BR4"_s << u"1\n2\n3\n4"_s;
        QTest::newRow("default law1")
            << u"      买入纪律     <br>    内容内容...."_s << u"      买入纪律     \n    内容内容...."_s;
    }

    void bodies()
    {
        QFETCH(QString, body);
        QFETCH(QString, text);
        const QString given = body;
        const Shown shown = show(body, u"标题"_s);
        QVERIFY(shown.seen);
        QCOMPARE(shown.text, text);
        QCOMPARE(body, given); // the caller's string is input only
    }

    void closingKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Backspace") << int(Qt::Key_Backspace);
        QTest::newRow("Delete") << int(Qt::Key_Delete);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void closingKeys()
    {
        QFETCH(int, key);
        auto* viewer = new ShowText1;
        QPointer<ShowText1> guard(viewer);
        QString before;
        QString after;
        bool hiddenByKey = false;
        ModalWatcher watcher([&](QWidget* modal) {
            auto* v = qobject_cast<ShowText1*>(modal);
            if (!v) {
                modal->close();
                return;
            }
            QPlainTextEdit* text = v->Text1();
            text->moveCursor(QTextCursor::End);
            text->setFocus();
            before = text->toPlainText();
            QTest::keyClick(text, Qt::Key(key));
            after = text->toPlainText();
            hiddenByKey = !v->isVisible();
            if (v->isVisible())
                v->close();
        });
        viewer->ShowTextWord(u"第一行<br>第二行"_s, u"卖出纪律"_s);
        QVERIFY(watcher.seen());
        QVERIFY(hiddenByKey);
        QCOMPARE(before, u"第一行\n第二行"_s);
        QCOMPARE(after, before);
        QVERIFY(!guard); // every close destroys the viewer
    }

    void otherKeysLeaveItOpen()
    {
        bool stillOpen = false;
        QString text;
        const Shown shown = show(u"正文"_s, u"标题"_s, [&](ShowText1& v) {
            for (const Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Space, Qt::Key_1, Qt::Key_Left})
                QTest::keyClick(v.Text1(), key);
            stillOpen = v.isVisible();
            text = v.Text1()->toPlainText();
        });
        QVERIFY(shown.seen);
        QVERIFY(stillOpen);
        QCOMPARE(text, u"正文"_s);
    }

    void closeBoxDestroysIt()
    {
        auto* viewer = new ShowText1;
        QPointer<ShowText1> guard(viewer);
        ModalWatcher watcher([](QWidget* modal) { modal->close(); });
        viewer->ShowTextWord(u"x"_s, u"y"_s);
        QVERIFY(watcher.seen());
        QVERIFY(!guard);
    }

    void pagingNeverSkipsALine_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("design") << kDesignSize;
        QTest::newRow("larger") << QSize(900, 700);
    }

    void pagingNeverSkipsALine()
    {
        QFETCH(QSize, size);
        QList<int> down;
        QList<int> up;
        QString skipped;
        const Shown shown = show(manyLines(100), u"翻页"_s, [&](ShowText1& v) {
            v.resize(size);
            QPlainTextEdit* text = v.Text1();
            QScrollBar* bar = text->verticalScrollBar();
            const auto firstLine = [&] { return text->cursorForPosition(QPoint(4, 4)).blockNumber(); };
            const auto lastWholeLine = [&] {
                int last = -1;
                for (QTextBlock b = text->document()->findBlockByNumber(firstLine()); b.isValid();
                     b = b.next()) {
                    if (text->cursorRect(QTextCursor(b)).bottom() >= text->viewport()->height())
                        break;
                    last = b.blockNumber();
                }
                return last;
            };
            down << firstLine();
            while (bar->value() < bar->maximum() && down.size() < 100) {
                const int lastShown = lastWholeLine();
                QTest::keyClick(text, Qt::Key_Down);
                const int first = firstLine();
                if (first > lastShown + 1 || first <= down.last())
                    skipped += u"%1..%2 then %3; "_s.arg(down.last()).arg(lastShown).arg(first);
                down << first;
            }
            up << firstLine();
            for (int i = 1; i < down.size(); ++i) {
                QTest::keyClick(&v, Qt::Key_Up); // from the window itself too
                up << firstLine();
            }
        });
        QVERIFY(shown.seen);
        QVERIFY2(skipped.isEmpty(), qPrintable(skipped));
        QVERIFY2(down.size() > 2, "a hundred lines fill more than two pages");
        // Up goes back page by page to the top (the last page may have stopped at the end).
        QCOMPARE(up.last(), 0);
        QVERIFY(std::is_sorted(up.rbegin(), up.rend()));
    }

    void firstLayoutUsesTheOuterSize()
    {
        // Before the window manager frames the viewer, the owner's frame stands in for its own.
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        const QMargins frame = owner.windowHandle()->frameMargins();
        if (frame.isNull())
            QSKIP("this platform draws no window frames");
        ShowText1 viewer(&owner);
        QCOMPARE(viewer.Text1()->height(), viewer.height() + frame.top() + frame.bottom() - 47);
        QCOMPARE(viewer.Text1()->width(), viewer.width() + frame.left() + frame.right() - 27);
    }

    void scrollText()
    {
        int after = -1;
        bool onText = false;
        bool onWindow = true;
        show(manyLines(60), u"滚动"_s, [&](ShowText1& v) {
            onText = v.ScrollText(v.Text1(), 0, 3);
            after = v.Text1()->verticalScrollBar()->value();
            onWindow = v.ScrollText(&v, 0, 3);
        });
        QVERIFY(onText);
        QCOMPARE(after, 3);
        QVERIFY(!onWindow);
    }

    void resizeRule_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("design") << kDesignSize;
        QTest::newRow("larger") << QSize(900, 640);
        QTest::newRow("narrow") << QSize(30, 300);
        QTest::newRow("tiny") << QSize(12, 20);
    }

    void resizeRule()
    {
        QFETCH(QSize, size);
        QRect textGeometry;
        QSize outer;
        show(u"尺寸"_s, u"尺寸"_s, [&](ShowText1& v) {
            v.resize(size);
            QCoreApplication::processEvents();
            outer = v.frameGeometry().size();
            textGeometry = v.Text1()->geometry();
        });
        QVERIFY(outer.width() >= size.width() && outer.height() >= size.height());
        QCOMPARE(textGeometry.topLeft(), QPoint(8, 8));
        // The outer size (frame and title included) less 405 x 700 twips, never below zero.
        QCOMPARE(textGeometry.size(), QSize(qMax(0, outer.width() - 27), qMax(0, outer.height() - 47)));
        if (size.width() < 20)
            QCOMPARE(textGeometry.size(), QSize(0, 0));
    }

    void freshViewerAfterClose()
    {
        Form1Fixture f;
        f.writeDefaultConfig(kConfig);
        Form1& w = f.create();
        QPointer<ShowText1> first = &w.viewer();
        QCOMPARE(&w.viewer(), first.data()); // one viewer at a time
        ModalWatcher resizeAndClose([](QWidget* modal) {
            modal->resize(900, 650);
            modal->move(300, 200);
            modal->close();
        });
        first->ShowTextWord(u"第一次"_s, u"一"_s);
        QVERIFY(resizeAndClose.seen());
        QVERIFY(!first);

        ShowText1& second = w.viewer();
        QCOMPARE(second.size(), kDesignSize);
        QCOMPARE(second.Text1()->toPlainText(), u"LOAD...\n"_s);
        QSize size;
        QString text;
        QString title;
        ModalWatcher look([&](QWidget* modal) {
            size = modal->size();
            title = modal->windowTitle();
            if (auto* v = qobject_cast<ShowText1*>(modal))
                text = v->Text1()->toPlainText();
            modal->close();
        });
        second.ShowTextWord(u"bb"_s, QString());
        QVERIFY(look.seen());
        QCOMPARE(size, kDesignSize);
        QCOMPARE(text, u"LOAD...\n"_s);
        QCOMPARE(title, u"我的规则"_s + KeyHint);
    }

    void timersRunWhileModal()
    {
        QTimer outside;
        outside.setInterval(20);
        int ticks = 0;
        connect(&outside, &QTimer::timeout, this, [&] { ++ticks; });
        outside.start();
        bool ticked = false;
        show(u"等待"_s, u"计时"_s,
             [&](ShowText1&) { ticked = QTest::qWaitFor([&] { return ticks >= 3; }, 10000); });
        QVERIFY(ticked);
    }

    void mainWindowTimersRunWhileModal()
    {
        Form1Fixture f;
        f.writeDefaultConfig(kConfig);
        f.clock.set(QDate(2010, 2, 12), QTime(9, 39, 59));
        Form1& w = f.create();
        w.show();
        w.day().startTicking();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE_WITH_TIMEOUT(w.Label1->text(), Texts::InSession, 10000);
        QStringList counting;
        for (int left = 15; left >= 1; --left)
            counting << Texts::secondsLeftTitle(left);

        QString status;
        QString title;
        ModalWatcher watcher([&](QWidget* modal) {
            // The schedule's timer keeps ticking: the key minute arrives while the viewer is open.
            f.clock.set(QDate(2010, 2, 12), QTime(9, 40, 0));
            (void)QTest::qWaitFor([&] { return w.Label1->text() == Texts::KeyPoint; }, 10000);
            status = w.Label1->text();
            // And the after-close countdown counts in the title.
            f.clock.set(QDate(2010, 2, 13), QTime(10, 0, 0));
            (void)QTest::qWaitFor([&] { return counting.contains(w.windowTitle()); }, 10000);
            title = w.windowTitle();
            modal->close();
        });
        QTest::keyClick(&w, Qt::Key_1);
        QVERIFY(watcher.seen());
        QCOMPARE(status, Texts::KeyPoint);
        QVERIFY2(counting.contains(title), qPrintable(title));
        QCOMPARE(f.exits, 0);
    }
};

QTEST_MAIN(TestViewer)
#include "tst_viewer.moc"
