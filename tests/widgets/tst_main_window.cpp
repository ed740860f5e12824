// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/commands/launch_targets.h"
#include "fakes/form1_fixture.h"
#include "fakes/texts.h"
#include "modal.h"
#include "ui/viewer/show_text1.h"
#include "widgets/image_button.h"
#include "widgets/qt_translations.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTest>
#include <QTranslator>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <memory>

using namespace Qt::StringLiterals;
using Layer = WindowStacking::Layer;

namespace {

using Texts::KeyHint;

// 2010-02-12 is a Friday, the 13th a Saturday.
const QDate kFriday(2010, 2, 12);
const QDate kSaturday(2010, 2, 13);
const QString kTradingProgram = u"/opt/trader/client"_s;

// The settings file's options are off.
struct Options {
    QString mysoft;
    QString law1 = u"      买入纪律     <br>    内容内容...."_s;
};

QByteArray gbk(const QString& text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

QByteArray configBytes(const Options& o)
{
    const QString text = u"form1.law1:"_s + o.law1 + u"\r\n"_s +
                         u"form1.law2:      卖出纪律     <br>    内容内容....\r\n"
                         "form1.law3:      持仓理由     <br>    内容内容....\r\n"
                         "form1.law4:      空仓理由     <br>    内容内容....\r\n"_s +
                         u"qqnews:0\r\nflashweb:0\r\nssoft:0\r\nshutdown15:0\r\nmysoft="_s + o.mysoft +
                         u"\r\n\r\n"_s;
    return gbk(text);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A main window on fakes in its own program folder.
struct Window {
    Form1Fixture f;
    Form1* w = nullptr;

    explicit Window(const Options& options = {})
    {
        f.clock.set(QDateTime(kFriday, QTime(10, 0)));
        f.writeDefaultConfig(configBytes(options));
        w = &f.create();
    }

    void showActive()
    {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

    void tickAt(QDate d, QTime t)
    {
        f.clock.set(d, t);
        w->Timer1_Timer();
    }

    QString tool(const QString& file) const { return f.folder.path() + u"/plug/"_s + file; }
};

// What the day hands the launcher for target.
QString launchOf(const Window& win, LaunchTarget target)
{
    if (target == LaunchTarget::TradingProgram)
        return win.f.day->settings().mysoft;
    if (LaunchTargets::isWebPage(target))
        return LaunchTargets::webAddress(target, Texts::Version);
    return LaunchTargets::toolPath(win.f.folder.path(), target);
}

// What a key press, click or menu item led to.
struct Outcome {
    bool modalSeen = false;
    QString modalTitle;
    QString modalText;
    QStringList addresses;
    QStringList paths;
    bool minimised = false;
};

// Runs act and records the modal window it opened (closed again at once) and the launches.
Outcome observe(Window& win, const std::function<void()>& act)
{
    win.f.launcher.addresses.clear();
    win.f.launcher.paths.clear();
    win.f.launcher.launches.clear();
    if (win.w->isMinimized())
        win.w->showNormal();
    Outcome out;
    ModalWatcher watcher([&out](QWidget* modal) {
        out.modalTitle = modal->windowTitle();
        if (auto* viewer = qobject_cast<ShowText1*>(modal))
            out.modalText = viewer->Text1()->toPlainText();
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            out.modalText = box->text();
        modal->close();
    });
    act();
    out.modalSeen = watcher.seen();
    out.addresses = win.f.launcher.addresses;
    out.paths = win.f.launcher.paths;
    out.minimised = win.w->isMinimized();
    return out;
}

// Counts the pixels drawn in a crimson-like red, which no other caption or frame colour of
// the images comes near.
int crimsonPixels(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() >= 100 && c.red() - c.green() >= 80 && c.red() - c.blue() >= 40)
                ++count;
        }
    return count;
}

QList<QWidget*> controlsOf(Form1& w)
{
    return w.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    // ---- the window as designed ----

    void labelsAtStart()
    {
        Window win;
        Form1& w = *win.w;
        // Before the first tick: the day's texts, and the design's own clock line.
        QCOMPARE(w.Label1->text(), w.day().status());
        QCOMPARE(w.Label3->text(), u"load .............."_s);
        QCOMPARE(w.Label4->text(), w.day().advice());
        QVERIFY(w.Label4->wordWrap());
        QVERIFY(w.Label1->alignment() & Qt::AlignHCenter);
        QVERIFY(w.Label3->alignment() & Qt::AlignLeft);

        const struct {
            QLabel* label;
            QColor text;
        } looks[] = {{w.Label1, QColor(255, 0, 0)},
                     {w.Label3, QColor(255, 255, 255)},
                     {w.Label4, QColor(255, 255, 255)}};
        for (const auto& look : looks) {
            QCOMPARE(look.label->palette().color(QPalette::WindowText), look.text);
            QCOMPARE(look.label->palette().color(QPalette::Window), QColor(0, 0, 0));
            QVERIFY(look.label->autoFillBackground());
            QCOMPARE(look.label->focusPolicy(), Qt::NoFocus);
        }
        QCOMPARE(w.centralWidget()->palette().color(QPalette::Window), QColor(0, 0, 0));
        QVERIFY(w.Label4->font().bold());
        QVERIFY(!w.Label3->font().bold());
    }

    void controlGeometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        // The design in twips, 15 to a pixel.
        QTest::newRow("Label1 240,240,5880,840") << u"Label1"_s << QRect(16, 16, 392, 56);
        QTest::newRow("Label3 1320,1080,3825,285") << u"Label3"_s << QRect(88, 72, 255, 19);
        QTest::newRow("Label4 360,1440,5655,1935") << u"Label4"_s << QRect(24, 96, 377, 129);
        QTest::newRow("Picture1 90,3510") << u"Picture1"_s << QRect(6, 234, 100, 30);
        QTest::newRow("Picture2 1620,3510") << u"Picture2"_s << QRect(108, 234, 100, 30);
        QTest::newRow("Picture3 3150,3510") << u"Picture3"_s << QRect(210, 234, 100, 30);
        QTest::newRow("Picture4 4680,3510") << u"Picture4"_s << QRect(312, 234, 100, 30);
        QTest::newRow("Picture8 90,3980") << u"Picture8"_s << QRect(6, 265, 100, 30);
        QTest::newRow("Picture7 1620,3980") << u"Picture7"_s << QRect(108, 265, 100, 30);
        QTest::newRow("Picture6 3150,3980") << u"Picture6"_s << QRect(210, 265, 100, 30);
        QTest::newRow("Picture5 4680,3980") << u"Picture5"_s << QRect(312, 265, 100, 30);
        QTest::newRow("Command1 360,3480,1335,495") << u"Command1"_s << QRect(24, 232, 89, 33);
        QTest::newRow("Command7 4635,4080") << u"Command7"_s << QRect(309, 272, 89, 33);
        QTest::newRow("Command8 3240,4080") << u"Command8"_s << QRect(216, 272, 89, 33);
    }

    void controlGeometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        Window win;
        auto* control = win.w->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget(), win.w->centralWidget());
        QCOMPARE(control->geometry(), pixels);
    }

    void imageButtons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("crimson");
        QTest::newRow("Picture1") << u"Picture1"_s << u"买入纪律 1"_s << true;
        QTest::newRow("Picture2") << u"Picture2"_s << u"卖出纪律 2"_s << true;
        QTest::newRow("Picture3") << u"Picture3"_s << u"持仓纪律 3"_s << false;
        QTest::newRow("Picture4") << u"Picture4"_s << u"空仓纪律 4"_s << false;
        QTest::newRow("Picture8") << u"Picture8"_s << u"滚动新闻 5"_s << false;
        QTest::newRow("Picture7") << u"Picture7"_s << u"时间校正 6"_s << false;
        QTest::newRow("Picture6") << u"Picture6"_s << u"行情网页 7"_s << false;
        QTest::newRow("Picture5") << u"Picture5"_s << u"炒股软件 8"_s << false;
    }

    void imageButtons()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, crimson);
        Window win;
        auto* picture = win.w->findChild<ImageButton*>(name);
        QVERIFY(picture);
        QCOMPARE(picture->caption(), caption);
        QCOMPARE(picture->accessibleName(), caption);
        QVERIFY(picture->focusPolicy() & Qt::TabFocus);
        const int red = crimsonPixels(picture);
        if (crimson)
            QVERIFY2(red > 10, qPrintable(u"%1 crimson pixels"_s.arg(red)));
        else
            QCOMPARE(red, 0);
    }

    void hiddenCommands_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Command1") << 1 << u"买入纪律 1"_s;
        QTest::newRow("Command2") << 2 << u"卖出纪律 2"_s;
        QTest::newRow("Command3") << 3 << u"持仓纪律 3"_s;
        QTest::newRow("Command4") << 4 << u"空仓纪律 4"_s;
        QTest::newRow("Command5") << 5 << u"QQ滚动新闻 5"_s;
        QTest::newRow("Command6") << 6 << u"时间校正 6"_s;
        QTest::newRow("Command7") << 7 << u"我的炒股软件"_s;
        QTest::newRow("Command8") << 8 << u"大智慧FLASH"_s;
    }

    void hiddenCommands()
    {
        QFETCH(int, number);
        QFETCH(QString, caption);
        Window win;
        win.showActive();
        auto* button = win.w->findChild<QPushButton*>(u"Command%1"_s.arg(number));
        QVERIFY(button);
        QPushButton* const members[] = {nullptr,         win.w->Command1, win.w->Command2,
                                        win.w->Command3, win.w->Command4, win.w->Command5,
                                        win.w->Command6, win.w->Command7, win.w->Command8};
        QCOMPARE(button, members[number]);
        QCOMPARE(button->text(), caption);
        QVERIFY(button->isHidden());
        QVERIFY(!button->isVisible()); // also with the window shown
    }

    void hiddenCommandsRunTheirOperations()
    {
        Options o;
        o.mysoft = kTradingProgram;
        Window win(o);
        // Only code clicks the hidden buttons; each runs the operation of its own number.
        const std::pair<QPushButton*, LaunchTarget> launching[] = {
            {win.w->Command5, LaunchTarget::NewsPage},
            {win.w->Command6, LaunchTarget::ClockTool},
            {win.w->Command7, LaunchTarget::TradingProgram},
            {win.w->Command8, LaunchTarget::QuotesPage},
        };
        for (const auto& command : launching) {
            observe(win, [&] { command.first->click(); });
            QCOMPARE(win.f.launcher.launches, QStringList{launchOf(win, command.second)});
        }
        const Outcome buy = observe(win, [&] { win.w->Command1->click(); });
        QVERIFY(buy.modalSeen);
        QCOMPARE(buy.modalTitle, u"买入纪律"_s + KeyHint);
    }

    void menus()
    {
        struct Item {
            const char* name;
            QString caption;
            enum { Plain, Marked, Unmarked, Disabled, Separator } state;
        };
        struct Menu {
            const char* name;
            QString title;
            QList<Item> items;
        };
        const QList<Menu> design = {
            {"f123", u"文件"_s, {{"exit234", u"退出"_s, Item::Plain}}},
            {"edit234",
             u"编辑"_s,
             {{"systemset123", u"系统设置"_s, Item::Plain},
              {"malert", u"语音提醒"_s, Item::Marked},
              {"autoexit", u"收盘后退出软件"_s, Item::Marked},
              {"standardTime", u"按标准时间提醒"_s, Item::Unmarked}}},
            {"sgssfds",
             u"工具"_s,
             {{"dgsdfssf", u"常规计算器 9"_s, Item::Plain},
              {"fhdfsfs", u"时间校正器"_s, Item::Plain},
              {"dsfadsf", u"转仓计算器 0"_s, Item::Plain},
              {"sdfasr", u"涨停版计算"_s, Item::Plain},
              {"qshutdown", u"快速关机"_s, Item::Plain},
              {"", QString(), Item::Separator},
              {"tradingCalendar", u"交易日历"_s, Item::Plain},
              {"myReminders", u"我的提醒"_s, Item::Plain}}},
            {"win234",
             u"窗口"_s,
             {{"normal123", u"常规"_s, Item::Marked},
              {"top123", u"置顶"_s, Item::Unmarked},
              {"low123", u"低层"_s, Item::Unmarked},
              {"min123", u"最小化"_s, Item::Plain}}},
            {"help123",
             u"帮助"_s,
             {{"readme123", u"使用说明"_s, Item::Plain},
              {"disigner123", u"关于作者"_s, Item::Plain},
              {"forsoft123", u"关于软件"_s, Item::Plain},
              {"gffdte", u" ------"_s, Item::Disabled},
              {"softup", u"检查更新"_s, Item::Plain},
              {"sfasdaass", u"意见建议"_s, Item::Plain}}},
        };

        Window win;
        Form1& w = *win.w;
        const QList<QAction*> bar = w.menuBar()->actions();
        QCOMPARE(bar.size(), design.size());
        for (qsizetype m = 0; m < design.size(); ++m) {
            auto* menu = w.menuBar()->findChild<QMenu*>(QLatin1String(design[m].name));
            QVERIFY2(menu, design[m].name);
            QCOMPARE(bar[m], menu->menuAction());
            QCOMPARE(menu->title(), design[m].title);
            const QList<QAction*> items = menu->actions();
            QCOMPARE(items.size(), design[m].items.size());
            for (qsizetype i = 0; i < items.size(); ++i) {
                const Item& want = design[m].items[i];
                QAction* item = items[i];
                QCOMPARE(item->isSeparator(), want.state == Item::Separator);
                if (item->isSeparator())
                    continue;
                QCOMPARE(item->objectName(), QLatin1String(want.name));
                QCOMPARE(item->text(), want.caption);
                QVERIFY(item->icon().isNull());
                QCOMPARE(item->isEnabled(), want.state != Item::Disabled);
                QCOMPARE(item->isCheckable(), want.state == Item::Marked || want.state == Item::Unmarked);
                QCOMPARE(item->isChecked(), want.state == Item::Marked);
            }
        }
        QVERIFY(!w.min123->isCheckable());
        QCOMPARE(w.exit234->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        for (QAction* item : w.findChildren<QAction*>())
            if (item != w.exit234)
                QVERIFY2(item->shortcut().isEmpty(), qPrintable(item->objectName()));
    }

    void dividerCannotBeChosen()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        const Outcome out = observe(win, [&] { w.gffdte->trigger(); });
        QVERIFY(!w.gffdte->isEnabled());
        QVERIFY(!out.modalSeen);
        QVERIFY(out.addresses.isEmpty() && out.paths.isEmpty());
        QCOMPARE(win.f.exits, 0);
    }

    void clientArea()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        QCOMPARE(w.centralWidget()->size(), QSize(418, 301));
        QCOMPARE(w.centralWidget()->mapTo(&w, QPoint(0, 0)).y(), w.menuBar()->geometry().bottom() + 1);
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!w.windowIcon().isNull());
    }

    void resizingNeverMovesAControl()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        const QList<QWidget*> controls = controlsOf(w);
        QVERIFY(controls.size() >= 19); // three labels, eight images, eight hidden buttons
        QList<QRect> before;
        for (QWidget* c : controls)
            before << c->geometry();
        for (const QSize size : {QSize(900, 700), QSize(150, 120), QSize(418, 330)}) {
            w.resize(size);
            QCoreApplication::processEvents();
            for (qsizetype i = 0; i < controls.size(); ++i)
                QCOMPARE(controls[i]->geometry(), before[i]);
        }
        w.resize(900, 700);
        QCoreApplication::processEvents();
        // The client area grows with the window: more black background, nothing else.
        QVERIFY(w.centralWidget()->width() > 800);
    }

    void tabOrder()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        const QList<ImageButton*> expected = {w.Picture1, w.Picture2, w.Picture3, w.Picture4,
                                              w.Picture5, w.Picture6, w.Picture7, w.Picture8};
        w.Picture1->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), w.Picture1);
        for (qsizetype i = 1; i < expected.size() * 2; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected[i % expected.size()]);
        }
    }

    // The settings by their design names are the day's record itself, field by field.
    void designNamesReadTheDaysRecord()
    {
        Window win;
        Form1& w = *win.w;
        const Settings& r = w.day().settings();
        const QList<std::pair<const void*, const void*>> names = {
            {&w.law1, &r.law1},   {&w.law2, &r.law2},     {&w.law3, &r.law3},
            {&w.law4, &r.law4},   {&w.qqnews, &r.qqnews}, {&w.flashweb, &r.flashweb},
            {&w.ssoft, &r.ssoft}, {&w.mysoft, &r.mysoft}, {&w.shutdown15, &r.shutdown15},
        };
        for (qsizetype i = 0; i < names.size(); ++i)
            QVERIFY2(names[i].first == names[i].second, qPrintable(QString::number(i)));
    }

    // ---- what the day tells ----

    // Each of the day's signals reaches what shows it.
    void signalsReachTheWindow_data()
    {
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QString>("text");
        QTest::addColumn<LaunchTarget>("target"); // pictureDown's
        QTest::addColumn<QString>("picture");

        const QString text = u"一行字"_s;
        const auto row = [&](const char* name, const char* signal, const QString& t = {},
                             LaunchTarget target = LaunchTarget::NewsPage, const QString& picture = {}) {
            QTest::newRow(name) << QString::fromLatin1(signal) << t << target << picture;
        };
        row("status to Label1", "statusChanged", text);
        row("clock to Label3", "clockChanged", text);
        // Wider than the design's Label3: the line then reaches as far as Label1.
        row("clock with Beijing time to Label3", "clockChanged", u"2010年2月12日 2:20:00 北京时间 9:20:00"_s);
        row("advice to Label4", "adviceChanged", text);
        row("title", "titleChanged", text);
        row("news picture down", "pictureDown", {}, LaunchTarget::NewsPage, u"Picture8"_s);
        row("time tool picture down", "pictureDown", {}, LaunchTarget::ClockTool, u"Picture7"_s);
        row("quotes picture down", "pictureDown", {}, LaunchTarget::QuotesPage, u"Picture6"_s);
        row("trading program picture down", "pictureDown", {}, LaunchTarget::TradingProgram, u"Picture5"_s);
        row("pictures up", "picturesUp");
        row("voice off to 语音提醒", "voiceChanged");
        row("auto-exit off to 收盘后退出软件", "autoExitChanged");
    }

    void signalsReachTheWindow()
    {
        QFETCH(QString, signal);
        QFETCH(QString, text);
        QFETCH(LaunchTarget, target);
        QFETCH(QString, picture);
        Window win;
        Form1& w = *win.w;
        TradingDay& day = w.day();
        const QList<ImageButton*> launchers = {w.Picture5, w.Picture6, w.Picture7, w.Picture8};

        if (signal == u"statusChanged") {
            emit day.statusChanged(text);
            QCOMPARE(w.Label1->text(), text);
        } else if (signal == u"clockChanged") {
            emit day.clockChanged(text);
            QCOMPARE(w.Label3->text(), text);
            QVERIFY(w.Label3->width() >= w.Label3->fontMetrics().horizontalAdvance(text));
            QVERIFY(w.Label3->geometry().right() <= w.Label1->geometry().right());
        } else if (signal == u"adviceChanged") {
            emit day.adviceChanged(text);
            QCOMPARE(w.Label4->text(), text);
        } else if (signal == u"titleChanged") {
            emit day.titleChanged(text);
            QCOMPARE(w.windowTitle(), text);
        } else if (signal == u"pictureDown") {
            emit day.pictureDown(target);
            for (ImageButton* p : launchers) {
                const bool down = p->objectName() == picture;
                QCOMPARE(p->Top(), down ? 4000 : 3980);
                QCOMPARE(p->y(), down ? 267 : 265); // 20 twips below the row
            }
        } else if (signal == u"picturesUp") {
            for (const LaunchTarget t : {LaunchTarget::NewsPage, LaunchTarget::ClockTool,
                                         LaunchTarget::QuotesPage, LaunchTarget::TradingProgram})
                emit day.pictureDown(t);
            emit day.picturesUp();
            for (ImageButton* p : launchers) {
                QCOMPARE(p->Top(), 3980);
                QCOMPARE(p->y(), 265);
            }
            for (ImageButton* p : {w.Picture1, w.Picture2, w.Picture3, w.Picture4})
                QCOMPARE(p->Top(), 3510);
        } else if (signal == u"voiceChanged") {
            emit day.voiceChanged(false);
            QVERIFY(!w.malert->isChecked());
        } else if (signal == u"autoExitChanged") {
            emit day.autoExitChanged(false);
            QVERIFY(!w.autoexit->isChecked());
        } else {
            QFAIL("no such signal");
        }
    }

    // The design's timer handlers do the day's timers' work.
    void timerHandlersRunTheDay()
    {
        Window win;
        Form1& w = *win.w;
        QSignalSpy ticks(&w.day(), &TradingDay::clockChanged);
        w.Timer1_Timer();
        QCOMPARE(ticks.size(), 1);
        QSignalSpy lifts(&w.day(), &TradingDay::picturesUp);
        w.Timer2_Timer();
        QCOMPARE(lifts.size(), 1);
        w.Timer3_Timer();
        QCOMPARE(win.f.audio.closes, 1);
        w.Timer4_Timer();
        QCOMPARE(w.day().c2exit, qint16(15));
    }

    // ---- what the window tells the day ----

    // 语音提醒 and 收盘后退出软件 set the day's flags.
    void checkItemsSetTheDaysFlags()
    {
        Window win;
        Form1& w = *win.w;
        w.malert->trigger();
        QVERIFY(!w.day().voice());
        w.autoexit->trigger();
        QVERIFY(!w.day().autoExit());
        w.malert->trigger();
        QVERIFY(w.day().voice());
        w.autoexit->trigger();
        QVERIFY(w.day().autoExit());
    }

    // ---- image buttons and launchers ----

    void launcherImages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<LaunchTarget>("target");
        QTest::newRow("Picture8 news") << u"Picture8"_s << LaunchTarget::NewsPage;
        QTest::newRow("Picture7 time tool") << u"Picture7"_s << LaunchTarget::ClockTool;
        QTest::newRow("Picture6 quotes") << u"Picture6"_s << LaunchTarget::QuotesPage;
        QTest::newRow("Picture5 trading program") << u"Picture5"_s << LaunchTarget::TradingProgram;
    }

    void launcherImages()
    {
        QFETCH(QString, name);
        QFETCH(LaunchTarget, target);
        Options o;
        o.mysoft = kTradingProgram;
        Window win(o);
        win.showActive();
        auto* picture = win.w->findChild<ImageButton*>(name);
        QVERIFY(picture);
        // A right click does nothing; a left click is the picture's, with its cool-down.
        const Outcome right = observe(win, [&] { QTest::mouseClick(picture, Qt::RightButton); });
        QVERIFY(right.addresses.isEmpty() && right.paths.isEmpty());
        QCOMPARE(picture->Top(), 3980);
        const Outcome left = observe(win, [&] { QTest::mouseClick(picture, Qt::LeftButton); });
        QVERIFY(!left.modalSeen);
        QCOMPARE(win.f.launcher.launches, QStringList{launchOf(win, target)});
        QCOMPARE(picture->Top(), 4000);
    }

    void disciplineImagesHaveNoCoolDown()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        for (int round = 0; round < 2; ++round) {
            const Outcome out = observe(win, [&] { QTest::mouseClick(w.Picture3, Qt::LeftButton); });
            QVERIFY(out.modalSeen);
            QCOMPARE(out.modalTitle, u"持仓理由"_s + KeyHint);
            QCOMPARE(w.Picture3->Top(), 3510);
            QVERIFY(!w.Timer2.isActive());
        }
    }

    // The menus' launches: each choice starts its target, with no cool-down.
    void menuLaunches_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<LaunchTarget>("target");
        QTest::newRow("dgsdfssf") << u"dgsdfssf"_s << LaunchTarget::Calculator;
        QTest::newRow("fhdfsfs") << u"fhdfsfs"_s << LaunchTarget::ClockTool;
        QTest::newRow("dsfadsf") << u"dsfadsf"_s << LaunchTarget::SwitchCalculator;
        QTest::newRow("sdfasr") << u"sdfasr"_s << LaunchTarget::LimitUpCalculator;
        QTest::newRow("qshutdown") << u"qshutdown"_s << LaunchTarget::QuickShutdown;
        QTest::newRow("softup") << u"softup"_s << LaunchTarget::UpdatePage;
        QTest::newRow("sfasdaass") << u"sfasdaass"_s << LaunchTarget::FeedbackPage;
    }

    void menuLaunches()
    {
        QFETCH(QString, item);
        QFETCH(LaunchTarget, target);
        Window win;
        Form1& w = *win.w;
        auto* action = w.findChild<QAction*>(item);
        QVERIFY(action);
        action->trigger();
        action->trigger();
        QCOMPARE(win.f.launcher.launches, QStringList(2, launchOf(win, target)));
        QVERIFY(!w.Timer2.isActive());
    }

    // The day's ask for the trading program's path: a message box, from the key and from the
    // picture.
    void tradingProgramNotSet()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        struct Seen {
            QString title;
            QString text;
            int icon = -1;
            int buttons = 0;
        } seen;
        const auto watch = [&] {
            return std::make_unique<ModalWatcher>([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (!box) {
                    modal->close();
                    return;
                }
                seen = {box->windowTitle(), box->text(), int(box->icon()), int(box->standardButtons())};
                box->button(QMessageBox::Ok)->click();
            });
        };

        {
            const auto watcher = watch();
            QTest::keyClick(&w, Qt::Key_8);
            QVERIFY(watcher->seen());
        }
        QCOMPARE(seen.title, Texts::NoPathTitle);
        QCOMPARE(seen.text, Texts::NoPathText);
        QCOMPARE(seen.icon, int(QMessageBox::NoIcon));
        QCOMPARE(seen.buttons, int(QMessageBox::Ok));

        seen = {};
        {
            const auto watcher = watch();
            QTest::mouseClick(w.Picture5, Qt::LeftButton);
            QVERIFY(watcher->seen());
        }
        QCOMPARE(seen.title, Texts::NoPathTitle);
        QCOMPARE(seen.text, Texts::NoPathText);
    }

    // ---- window layer ----

    void windowLayer_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QList<bool>>("marks"); // normal123, top123, low123
        QTest::addColumn<QList<int>>("requests");
        QTest::addColumn<bool>("minimised");
        const int normal = int(Layer::Normal);
        const int top = int(Layer::TopMost);
        const int bottom = int(Layer::Bottom);
        QTest::newRow("start") << QStringList() << QList<bool>{true, false, false} << QList<int>{} << false;
        QTest::newRow("top") << QStringList{u"top123"_s} << QList<bool>{false, true, false} << QList<int>{top}
                             << false;
        QTest::newRow("low") << QStringList{u"low123"_s} << QList<bool>{false, false, true}
                             << QList<int>{bottom} << false;
        QTest::newRow("normal again")
            << QStringList{u"normal123"_s} << QList<bool>{true, false, false} << QList<int>{normal} << false;
        QTest::newRow("top, minimise") << QStringList{u"top123"_s, u"min123"_s}
                                       << QList<bool>{false, true, false} << QList<int>{top} << true;
        QTest::newRow("top, normal") << QStringList{u"top123"_s, u"normal123"_s}
                                     << QList<bool>{true, false, false} << QList<int>{top, normal} << false;
        QTest::newRow("top, low") << QStringList{u"top123"_s, u"low123"_s} << QList<bool>{false, false, true}
                                  << QList<int>{top, bottom} << false;
        QTest::newRow("low, top") << QStringList{u"low123"_s, u"top123"_s} << QList<bool>{false, true, false}
                                  << QList<int>{bottom, top} << false;
        QTest::newRow("low, normal") << QStringList{u"low123"_s, u"normal123"_s}
                                     << QList<bool>{true, false, false} << QList<int>{bottom, normal}
                                     << false;
        QTest::newRow("low twice") << QStringList{u"low123"_s, u"low123"_s} << QList<bool>{false, false, true}
                                   << QList<int>{bottom, bottom} << false;
        QTest::newRow("normal twice")
            << QStringList{u"normal123"_s, u"normal123"_s} << QList<bool>{true, false, false}
            << QList<int>{normal, normal} << false;
        QTest::newRow("top twice") << QStringList{u"top123"_s, u"top123"_s} << QList<bool>{false, true, false}
                                   << QList<int>{top, top} << false;
        QTest::newRow("minimise only")
            << QStringList{u"min123"_s} << QList<bool>{true, false, false} << QList<int>{} << true;
    }

    void windowLayer()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QList<bool>, marks);
        QFETCH(QList<int>, requests);
        QFETCH(bool, minimised);
        Window win;
        win.showActive();
        Form1& w = *win.w;
        const QSize size = w.geometry().size();
        const QPoint place = w.geometry().topLeft();
        for (const QString& name : clicks) {
            auto* item = w.findChild<QAction*>(name);
            QVERIFY(item);
            item->trigger();
            QVERIFY(!w.min123->isChecked());
        }
        QCOMPARE((QList<bool>{w.normal123->isChecked(), w.top123->isChecked(), w.low123->isChecked()}),
                 marks);
        QList<int> got;
        for (Layer l : win.f.stacking.requests)
            got << int(l);
        QCOMPARE(got, requests);
        if (!requests.isEmpty())
            QCOMPARE(win.f.stacking.lastWindow, w.windowHandle());
        QCOMPARE(w.isMinimized(), minimised);
        QVERIFY(w.isVisible());
        QCOMPARE(w.geometry().size(), size); // no request moves or resizes the window
        QCOMPARE(w.geometry().topLeft(), place);
    }

    // ---- keys, close and exit ----

    void keyTable_data()
    {
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Escape") << 27 << int(Qt::Key_Escape) << u"minimise"_s << QString();
        QTest::newRow("1") << 49 << int(Qt::Key_1) << u"viewer"_s << u"买入纪律"_s;
        QTest::newRow("2") << 50 << int(Qt::Key_2) << u"viewer"_s << u"卖出纪律"_s;
        QTest::newRow("3") << 51 << int(Qt::Key_3) << u"viewer"_s << u"持仓理由"_s;
        QTest::newRow("4") << 52 << int(Qt::Key_4) << u"viewer"_s << u"空仓理由"_s;
        QTest::newRow("5") << 53 << int(Qt::Key_5) << u"address"_s << u"/scroll/now.htm"_s;
        QTest::newRow("6") << 54 << int(Qt::Key_6) << u"tool"_s << u"clocktool.exe"_s;
        QTest::newRow("7") << 55 << int(Qt::Key_7) << u"address"_s << u"/hq/dzh.swf?"_s;
        QTest::newRow("8") << 56 << int(Qt::Key_8) << u"path"_s << kTradingProgram;
        QTest::newRow("9") << 57 << int(Qt::Key_9) << u"tool"_s << u"abacus.exe"_s;
        QTest::newRow("0") << 48 << int(Qt::Key_0) << u"tool"_s << u"posmover.exe"_s;
        QTest::newRow("A") << 65 << int(Qt::Key_A) << u"none"_s << QString();
        QTest::newRow("Enter") << 13 << int(Qt::Key_Return) << u"none"_s << QString();
        QTest::newRow("F1") << 112 << int(Qt::Key_F1) << u"none"_s << QString();
        QTest::newRow("Space") << 32 << int(Qt::Key_Space) << u"none"_s << QString();
    }

    void keyTable()
    {
        QFETCH(int, virtualKey);
        QFETCH(int, qtKey);
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        Options o;
        o.mysoft = kTradingProgram;
        Window win(o);
        win.showActive();
        Form1& w = *win.w;

        const auto check = [&](const Outcome& out, const QString& how) {
            const QByteArray what = how.toUtf8();
            QVERIFY2(out.modalSeen == (kind == u"viewer"), what);
            QVERIFY2(out.minimised == (kind == u"minimise"), what);
            // A rule's own text holds its title.
            if (kind == u"viewer")
                QVERIFY2(out.modalTitle == expected + KeyHint && out.modalText.contains(expected), what);
            if (kind == u"address")
                QVERIFY2(out.addresses.size() == 1 && out.addresses[0].contains(expected), what);
            else
                QVERIFY2(out.addresses.isEmpty(), what);
            if (kind == u"tool" || kind == u"path")
                QVERIFY2(out.paths == QStringList{kind == u"tool" ? win.tool(expected) : expected}, what);
            else
                QVERIFY2(out.paths.isEmpty(), what);
        };

        check(observe(win, [&] { w.Form_KeyDown(virtualKey); }), u"key code"_s);
        if (QTest::currentTestFailed())
            return;
        // Shift, Ctrl and Alt are ignored. Offscreen has no scan codes, so the shifted digit
        // is sent as the digit key itself (a real keyboard reports Shift+1 as "!").
        const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                                   Qt::AltModifier};
        for (const Qt::KeyboardModifiers m : modifiers) {
            check(observe(win, [&] { QTest::keyClick(&w, Qt::Key(qtKey), m); }),
                  u"key press, modifiers %1"_s.arg(int(m)));
            if (QTest::currentTestFailed())
                return;
        }
        // A key reaches the table whichever image has the focus.
        w.Picture6->setFocus();
        check(observe(win, [&] { QTest::keyClick(w.Picture6, Qt::Key(qtKey)); }), u"focus on an image"_s);
        QCOMPARE(win.f.exits, 0);
    }

    void keypadDigitsDoNothing()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        for (int digit = 0; digit <= 9; ++digit) {
            const Outcome out =
                observe(win, [&] { QTest::keyClick(&w, Qt::Key(Qt::Key_0 + digit), Qt::KeypadModifier); });
            QVERIFY(!out.modalSeen);
            QVERIFY(out.addresses.isEmpty() && out.paths.isEmpty());
            QVERIFY(!out.minimised);
        }
        QVERIFY(!w.Timer2.isActive());
    }

    void escapeMinimisesAndKeepsTheLayer()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        w.top123->trigger();
        const qsizetype requests = win.f.stacking.requests.size();
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isMinimized());
        QVERIFY(w.top123->isChecked());
        QVERIFY(!w.normal123->isChecked() && !w.low123->isChecked() && !w.min123->isChecked());
        QCOMPARE(win.f.stacking.requests.size(), requests);
        QCOMPARE(win.f.exits, 0);
    }

    void ctrlQExitsAtOnce()
    {
        Options o;
        o.law1 = u"规则<br>第二行"_s;
        Window win(o);
        win.showActive();
        Form1& w = *win.w;
        const QByteArray config = readFile(win.f.path(u"config.txt"_s));
        QVERIFY(!config.isEmpty());

        // Also in the middle of the countdown, and wherever the focus is in the window.
        win.tickAt(kSaturday, QTime(10, 0));
        w.Timer4_Timer();
        w.Picture3->setFocus();
        QTest::keyClick(w.Picture3, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(win.f.exits, 1);
        QVERIFY(!w.isMinimized()); // no close request was raised
        QCOMPARE(readFile(win.f.path(u"config.txt"_s)), config);

        QTest::keyClick(&w, Qt::Key_Q); // plain Q is nothing
        QCOMPARE(win.f.exits, 1);
        w.exit234->trigger();
        QCOMPARE(win.f.exits, 2);
        QCOMPARE(readFile(win.f.path(u"config.txt"_s)), config);
    }

    void userCloseMinimises()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        // The window system's close (close box, Alt+F4) arrives as a spontaneous event.
        QCloseEvent userClose;
        QSpontaneKeyEvent::setSpontaneous(&userClose);
        QApplication::instance()->notify(&w, &userClose);
        QVERIFY(!userClose.isAccepted());
        QVERIFY(w.isMinimized());
        QVERIFY(w.isVisible());
        QCOMPARE(win.f.exits, 0);
        QVERIFY(w.normal123->isChecked());
    }

    void qtTextsInChinese()
    {
        QVERIFY(loadQtChinese(*QCoreApplication::instance(), QString()));
        QMessageBox box(QMessageBox::NoIcon, u"t"_s, u"x"_s, QMessageBox::Ok);
        const QString ok = box.button(QMessageBox::Ok)->text();
        for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>())
            QCoreApplication::removeTranslator(t);
        QCOMPARE(ok, u"确定"_s);
    }

    void programCloseIsAccepted()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        QCloseEvent programClose;
        QCoreApplication::sendEvent(&w, &programClose);
        QVERIFY(programClose.isAccepted());
        QVERIFY(!w.isMinimized());
        QVERIFY(w.close());
        QVERIFY(!w.isVisible());
        QCOMPARE(win.f.exits, 0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
