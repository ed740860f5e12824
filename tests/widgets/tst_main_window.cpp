// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/day/second_timer.h"
#include "fakes/form1_fixture.h"
#include "modal.h"
#include "ui/viewer/show_text1.h"
#include "widgets/image_button.h"
#include "widgets/qt_translations.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>
#include <QThread>
#include <QTranslator>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>
#include <memory>

using namespace Qt::StringLiterals;
using Layer = WindowStacking::Layer;

namespace {

const QString kKeyHint = u" - 上下箭头键翻页，ESC/DEL/退格键关闭窗口"_s;

// The advice texts, as the window must show them.
const QString kWelcome = u"欢迎使用，本软件将从开盘前的竞价开始用语音对您进行提醒，请确保音箱已开启。"
                         "炒股不像其它行业，三分眼光七分赌，"
                         "在您想买入卖出时看一眼您可以自定义的“纪律”，"
                         "有时可以挽回巨大的损失，悬崖勒马，过关斩将，祝您财源滚滚！"_s;
const QString kAuction =
    u"注意：当前是开盘前十分钟的机构竞价时间。从机构竞价的情况可以知道机构今天是想看多还是看空，"
    "是想洗盘还是想出货，但机构也不能为所欲为，只能顺势而为 ... ..."_s;
const QString kMorning =
    u"注意：当前是上午开盘时间，中午11:30收盘，上午的走势将在9:40和10:30基本形成，注意量能 ... ..."_s;
const QString kKeyPointMorning =
    u"注意：盘中关键时间点，可预测走势，注意量能。如果是洗盘行情，10:30及14:00后有可能拉起来 ... ..."_s;
const QString kNearClose = u"注意：盘中关键时间点，五分钟后就收盘了，买卖要把握好时间 ... ..."_s;
const QString kMidday = u"注意：现在是中午休盘时间，下午12:50分机构开始竞价，13:00-15:00是开盘时间。"_s;
const QString kAfternoon =
    u"注意：当前是下午开盘时间，下午15:00收盘，下午的走势14:00基本形成，注意量能 ... ..."_s;
const QString kKeyPointAfternoon =
    u"注意：盘中关键时间点，可预测走势，注意量能。如果是洗盘行情，上午一直弱势振荡，"
    "14:00后有可能拉起来 ... ..."_s;
const QString kWeekendTomorrow = u"明天周末不开盘！"_s;
const QString kHolidayTomorrow = u"明天放假不开盘！"_s;

const QString kNoPathTitle = u"未设置软件路径 ..."_s;
const QString kNoPathText = u"系统提示：请到菜单的“编辑”“系统设置”里浏览找到您常用的炒股软件或者快捷方式，"
                            "保存设置才能使用这个按钮打开自己的炒股软件 ..."_s;

// 2010-02-12 is a Friday; 13 and 14 are the weekend; 15 to 19 February are listed holidays;
// 2010-09-22 is a listed holiday, so the 21st is the last trading day before it.
const QDate kFriday(2010, 2, 12);
const QDate kThursday(2010, 2, 11);
const QDate kSaturday(2010, 2, 13);
const QDate kSunday(2010, 2, 14);
const QDate kHoliday(2010, 2, 15);
const QDate kBeforeHoliday(2010, 9, 21);

struct Options {
    int qqnews = 0;
    int flashweb = 0;
    int ssoft = 0;
    int shutdown15 = 0;
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
                         u"qqnews:%1\r\nflashweb:%2\r\nssoft:%3\r\nshutdown15:%4\r\n"_s.arg(o.qqnews)
                             .arg(o.flashweb)
                             .arg(o.ssoft)
                             .arg(o.shutdown15) +
                         u"mysoft="_s + o.mysoft + u"\r\n\r\n"_s;
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

    explicit Window(const Options& options = {}, QDateTime at = QDateTime(kFriday, QTime(10, 0)))
    {
        f.clock.set(at);
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
    QString sound(const QString& file) const { return f.folder.path() + u"/sound/"_s + file; }
};

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
    void initTestCase()
    {
        // The rows below pick their days by weekday.
        QCOMPARE(kFriday.dayOfWeek(), int(Qt::Friday));
        QCOMPARE(kSunday.dayOfWeek(), int(Qt::Sunday));
    }

    // ---- the window as designed ----

    void labelsAtStart()
    {
        Window win;
        Form1& w = *win.w;
        // Checked before the first tick of the schedule replaces them.
        QCOMPARE(w.Label1->text(), u"Tickbell"_s);
        QCOMPARE(w.Label3->text(), u"load .............."_s);
        QCOMPARE(w.Label3->text().count(u'.'), 14);
        QCOMPARE(w.Label4->text(), kWelcome);
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
        o.mysoft = u"/opt/trader/client"_s;
        Window win(o);
        // Only code clicks the hidden buttons; each runs the operation of its own number.
        QCOMPARE(observe(win, [&] { win.w->Command5->click(); }).addresses.size(), 1);
        QCOMPARE(observe(win, [&] { win.w->Command6->click(); }).paths,
                 QStringList{win.tool(u"clocktool.exe"_s)});
        QCOMPARE(observe(win, [&] { win.w->Command7->click(); }).paths, QStringList{u"/opt/trader/client"_s});
        const Outcome quotes = observe(win, [&] { win.w->Command8->click(); });
        QCOMPARE(quotes.addresses.size(), 1);
        QVERIFY(quotes.addresses[0].contains(u"/hq/dzh.swf"_s));
        const Outcome buy = observe(win, [&] { win.w->Command1->click(); });
        QVERIFY(buy.modalSeen);
        QCOMPARE(buy.modalTitle, u"买入纪律"_s + kKeyHint);
    }

    void timersAtStart()
    {
        Window win;
        Form1& w = *win.w;
        QCOMPARE(w.Timer2.interval(), 3000);
        QVERIFY(!w.Timer2.isActive());
        QCOMPARE(w.Timer3.interval(), 8000);
        // Stopped by design, but the welcome prompt of start-up has already started it.
        QVERIFY(w.Timer3.isActive());
        QCOMPARE(w.Timer4.interval(), 1000);
        QVERIFY(!w.Timer4.isActive());
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
              {"autoexit", u"收盘后退出软件"_s, Item::Marked}}},
            {"sgssfds",
             u"工具"_s,
             {{"dgsdfssf", u"常规计算器 9"_s, Item::Plain},
              {"fhdfsfs", u"时间校正器"_s, Item::Plain},
              {"dsfadsf", u"转仓计算器 0"_s, Item::Plain},
              {"sdfasr", u"涨停版计算"_s, Item::Plain},
              {"qshutdown", u"快速关机"_s, Item::Plain},
              {"", QString(), Item::Separator},
              {"tradingCalendar", u"交易日历"_s, Item::Plain}}},
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

    // ---- start-up ----

    void startUp()
    {
        Options o;
        o.law1 = u"回调到支撑位再买<br>不追涨停"_s;
        o.qqnews = 1;
        o.ssoft = 1;
        o.shutdown15 = 2;
        o.mysoft = u"/opt/交易/client"_s;
        Window win(o, QDateTime(kFriday, QTime(9, 25)));
        Form1& w = *win.w;
        QCOMPARE(w.windowTitle(), u"Tickbellv1.32 - Orro SOFT"_s);
        QCOMPARE(w.day().SoftVer1, u"1.32"_s);
        QCOMPARE(w.day().openall, qint16(0));
        QCOMPARE(w.day().c2exit, qint16(16));
        QCOMPARE(w.day().playok, u"Tickbell.wav"_s);
        QCOMPARE(win.f.audio.played, QStringList{win.sound(u"Tickbell.wav"_s)});
        QVERIFY(w.Timer3.isActive());
        QVERIFY(w.KeyPreview);
        QVERIFY(w.normal123->isChecked());

        // config.txt was missing: restored from plug/config.txt, byte for byte.
        QCOMPARE(readFile(win.f.path(u"config.txt"_s)), readFile(win.f.path(u"plug/config.txt"_s)));
        QCOMPARE(w.law1, u"回调到支撑位再买\r\n不追涨停"_s);
        QCOMPARE(w.law2, u"      卖出纪律     \r\n    内容内容...."_s);
        QCOMPARE(w.qqnews, qint16(1));
        QCOMPARE(w.flashweb, qint16(0));
        QCOMPARE(w.ssoft, qint16(1));
        QCOMPARE(w.shutdown15, qint16(2));
        QCOMPARE(w.mysoft, u"/opt/交易/client"_s);

        // Start-up depends on no time: inside the auction window, nothing has been
        // launched and the status is untouched until the first tick.
        QVERIFY(win.f.launcher.launches.isEmpty());
        QCOMPARE(w.Label1->text(), u"Tickbell"_s);

        // The real timer's first tick takes over about a second later.
        w.day().startTicking();
        QTRY_COMPARE_WITH_TIMEOUT(w.Label1->text(), u"还没开盘..."_s, 10000);
        QCOMPARE(w.Label3->text(), u"2010年2月12日 9:25:00"_s);
        QCOMPARE(w.day().openall, qint16(1));
        QCOMPARE(win.f.launcher.paths, QStringList{u"/opt/交易/client"_s});
        QCOMPARE(win.f.launcher.addresses.size(), 1);
    }

    void startUpKeepsAnExistingConfig()
    {
        Form1Fixture f;
        Options def;
        def.qqnews = 1;
        f.writeDefaultConfig(configBytes(def));
        Options own;
        own.flashweb = 1;
        own.law1 = u"只做强势股"_s;
        const QByteArray ownBytes = configBytes(own);
        {
            QFile file(f.path(u"config.txt"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ownBytes);
        }
        Form1& w = f.create();
        QCOMPARE(w.qqnews, qint16(0));
        QCOMPARE(w.flashweb, qint16(1));
        QCOMPARE(w.law1, u"只做强势股"_s);
        QCOMPARE(readFile(f.path(u"config.txt"_s)), ownBytes);
    }

    // ---- voice prompts ----

    void voiceOffStillFollowsTheSchedule()
    {
        Window win;
        Form1& w = *win.w;
        w.Timer3_Timer();
        win.f.audio.played.clear();
        w.malert->trigger();
        QVERIFY(!w.malert->isChecked());

        win.tickAt(kFriday, QTime(9, 40, 0));
        QCOMPARE(w.day().playok, u"盘中关键时间点1.wav"_s);
        QCOMPARE(w.Label1->text(), u"盘中关键点.."_s);
        QCOMPARE(w.Label4->text(), kKeyPointMorning);
        QVERIFY(win.f.audio.played.isEmpty());
        QVERIFY(!w.Timer3.isActive());

        // Voice back on inside the same window: the prompt is not repeated.
        w.malert->trigger();
        QVERIFY(w.malert->isChecked());
        win.tickAt(kFriday, QTime(9, 40, 20));
        QVERIFY(win.f.audio.played.isEmpty());
        QVERIFY(!w.Timer3.isActive());
        // The next window is heard again.
        win.tickAt(kFriday, QTime(10, 30, 0));
        QCOMPARE(win.f.audio.played, QStringList{win.sound(u"盘中关键时间点.wav"_s)});
        QVERIFY(w.Timer3.isActive());
    }

    void timer3ClosesTheDevice()
    {
        Window win;
        Form1& w = *win.w;
        QVERIFY(w.Timer3.isActive());
        QVERIFY(!win.f.audio.open.isEmpty());
        w.Timer3_Timer();
        QCOMPARE(win.f.audio.closes, 1);
        QVERIFY(win.f.audio.open.isEmpty());
        QVERIFY(!w.Timer3.isActive());
    }

    void schedule_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<bool>("autoexit");
        QTest::addColumn<QString>("clockLine");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("advice");
        QTest::addColumn<QString>("playok");
        QTest::addColumn<QString>("played"); // file in sound/, empty when nothing plays
        QTest::addColumn<bool>("armed");

        const QString welcome = u"Tickbell.wav"_s;
        QTest::newRow("auction on a Friday")
            << kFriday << QTime(9, 20) << true << u"2010年2月12日 9:20:00"_s << u"还没开盘..."_s
            << kAuction + kWeekendTomorrow << u"机构竞价.wav"_s << u"机构竞价.wav"_s << false;
        QTest::newRow("quiet session") << kFriday << QTime(10, 0) << true << u"2010年2月12日 10:00:00"_s
                                       << u"股市开盘中..."_s << kWelcome << welcome << QString() << false;
        QTest::newRow("the close") << kFriday << QTime(15, 0) << true << u"2010年2月12日 15:00:00"_s
                                   << u"今天已收盘..."_s << kWelcome << u"今天已收盘.wav"_s
                                   << u"今天已收盘.wav"_s << true;
    }

    void schedule()
    {
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(bool, autoexit);
        QFETCH(QString, clockLine);
        QFETCH(QString, status);
        QFETCH(QString, advice);
        QFETCH(QString, playok);
        QFETCH(QString, played);
        QFETCH(bool, armed);

        Window win;
        Form1& w = *win.w;
        w.Timer3_Timer();
        win.f.audio.played.clear();
        if (!autoexit)
            w.autoexit->trigger();
        QCOMPARE(w.autoexit->isChecked(), autoexit);

        win.tickAt(date, time);
        QCOMPARE(w.Label3->text(), clockLine);
        QCOMPARE(w.Label1->text(), status);
        QCOMPARE(w.Label4->text(), advice);
        QCOMPARE(w.day().playok, playok);
        QCOMPARE(win.f.audio.played, played.isEmpty() ? QStringList() : QStringList{win.sound(played)});
        QCOMPARE(w.Timer3.isActive(), !played.isEmpty());
        QCOMPARE(w.Timer4.isActive(), armed);
        QVERIFY(win.f.launcher.launches.isEmpty()); // the options are off
        QCOMPARE(w.windowTitle(), u"Tickbellv1.32 - Orro SOFT"_s);
    }

    void autoOpenAtTheAuction()
    {
        Options o;
        o.qqnews = 1;
        o.flashweb = 1;
        o.ssoft = 1;
        o.mysoft = u"/opt/trader/client"_s;
        Window win(o);
        Form1& w = *win.w;
        win.tickAt(kFriday, QTime(9, 19, 59));
        QVERIFY(win.f.launcher.launches.isEmpty());
        win.tickAt(kFriday, QTime(9, 20, 0));
        const QStringList launches = win.f.launcher.launches;
        QCOMPARE(launches.size(), 3);
        // News page, quotes page, trading program, in that order.
        QVERIFY(launches[0].startsWith(u"http://"_s));
        QVERIFY(launches[0].endsWith(u"/scroll/now.htm"_s));
        static const QRegularExpression quotes(
            u"^http://([^/]+)/hq/dzh\\.swf\\?AutoIndexbar=2&resource_root=http://\\1/hq/$"_s);
        QVERIFY2(quotes.match(launches[1]).hasMatch(), qPrintable(launches[1]));
        QCOMPARE(launches[2], u"/opt/trader/client"_s);
        QCOMPARE(w.day().openall, qint16(1));
        // Launched as the commands would: the cool-down timer runs, no image is sunk.
        QVERIFY(w.Timer2.isActive());
        QCOMPARE(w.Picture8->Top(), 3980);

        // Once per run: not again at the midday auction.
        win.tickAt(kFriday, QTime(11, 30, 0));
        QCOMPARE(w.Label4->text(), kMidday);
        win.tickAt(kFriday, QTime(12, 50, 0));
        QCOMPARE(w.Label4->text(), kAuction + kWeekendTomorrow);
        QCOMPARE(win.f.launcher.launches.size(), 3);
    }

    void quickShutdownAtTheClose_data()
    {
        QTest::addColumn<int>("shutdown15");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<bool>("started");
        QTest::newRow("on, 15:00:08") << 1 << QTime(15, 0, 8) << true;
        QTest::newRow("off") << 0 << QTime(15, 0, 8) << false;
    }

    void quickShutdownAtTheClose()
    {
        QFETCH(int, shutdown15);
        QFETCH(QTime, time);
        QFETCH(bool, started);
        Options o;
        o.shutdown15 = shutdown15;
        Window win(o);
        win.tickAt(kFriday, time);
        QCOMPARE(win.f.launcher.paths, started ? QStringList{win.tool(u"poweroff.exe"_s)} : QStringList());
        QVERIFY(!win.w->Timer2.isActive()); // a Tools-menu launch: no cool-down
    }

    // ---- countdown and cool-down timers ----

    void countdownEndsTheProgram()
    {
        Window win;
        Form1& w = *win.w;
        win.tickAt(kSaturday, QTime(10, 0));
        QVERIFY(w.Timer4.isActive());
        QStringList shown;
        for (int left = 15; left >= 1; --left) {
            w.Timer4_Timer();
            QCOMPARE(w.windowTitle(), u" "_s + QString::number(left) + u" 秒后自动退出 ... "_s);
            QCOMPARE(w.day().c2exit, qint16(left));
            QCOMPARE(win.f.exits, 0);
            shown << w.windowTitle();
            win.tickAt(kSaturday, QTime(10, 0).addSecs(16 - left)); // the schedule re-arms every second
        }
        QCOMPARE(shown.first(), u" 15 秒后自动退出 ... "_s);
        QCOMPARE(shown.last(), u" 1 秒后自动退出 ... "_s);
        w.Timer4_Timer();
        QCOMPARE(win.f.exits, 1);
        QCOMPARE(w.windowTitle(), u" 1 秒后自动退出 ... "_s);
    }

    void countdownCancelled()
    {
        Window win;
        Form1& w = *win.w;
        win.tickAt(kFriday, QTime(15, 0, 0));
        QVERIFY(w.Timer4.isActive());
        for (int i = 0; i < 9; ++i)
            w.Timer4_Timer();
        QCOMPARE(w.windowTitle(), u" 7 秒后自动退出 ... "_s);
        w.autoexit->trigger();
        QVERIFY(!w.autoexit->isChecked());
        QVERIFY(w.Timer4.isActive()); // the click itself changes nothing else
        w.Timer4_Timer();
        QCOMPARE(w.windowTitle(), u"OrroTickbellv1.32 - Orro SOFT"_s);
        QCOMPARE(w.day().c2exit, qint16(16));
        QVERIFY(!w.Timer4.isActive());
        QCOMPARE(win.f.exits, 0);

        // Unchecked, the schedule leaves it at rest.
        win.tickAt(kFriday, QTime(15, 0, 10));
        QVERIFY(!w.Timer4.isActive());
        // Checked again, the count starts from 15.
        w.autoexit->trigger();
        win.tickAt(kFriday, QTime(15, 0, 11));
        QVERIFY(w.Timer4.isActive());
        w.Timer4_Timer();
        QCOMPARE(w.windowTitle(), u" 15 秒后自动退出 ... "_s);
    }

    void timer2LiftsTheLauncherRow()
    {
        Options o;
        o.mysoft = u"/opt/trader/client"_s;
        Window win(o);
        Form1& w = *win.w;
        for (ImageButton* p : {w.Picture5, w.Picture6, w.Picture7, w.Picture8})
            emit p->clicked();
        const qsizetype launched = win.f.launcher.launches.size();
        for (ImageButton* p : {w.Picture5, w.Picture6, w.Picture7, w.Picture8})
            QCOMPARE(p->Top(), 4000);
        w.Timer2_Timer();
        for (ImageButton* p : {w.Picture5, w.Picture6, w.Picture7, w.Picture8}) {
            QCOMPARE(p->Top(), 3980);
            QCOMPARE(p->y(), 265);
        }
        for (ImageButton* p : {w.Picture1, w.Picture2, w.Picture3, w.Picture4})
            QCOMPARE(p->Top(), 3510);
        QVERIFY(!w.Timer2.isActive());
        QCOMPARE(win.f.launcher.launches.size(), launched);
    }

    // ---- image buttons and launchers ----

    void newsImageCoolDown()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        QTest::mouseClick(w.Picture8, Qt::LeftButton);
        QCOMPARE(w.Picture8->Top(), 4000);
        QCOMPARE(w.Picture8->y(), 267); // 4000 twips, 20 below the row
        QCOMPARE(win.f.launcher.addresses.size(), 1);
        QVERIFY(win.f.launcher.addresses[0].endsWith(u"/scroll/now.htm"_s));
        QVERIFY(w.Timer2.isActive());
        w.Timer2_Timer();
        QCOMPARE(w.Picture8->Top(), 3980);
    }

    void launcherImages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("target");
        QTest::newRow("Picture8 news") << u"Picture8"_s << u"address"_s << u"/scroll/now.htm"_s;
        QTest::newRow("Picture7 time tool") << u"Picture7"_s << u"tool"_s << u"clocktool.exe"_s;
        QTest::newRow("Picture6 quotes")
            << u"Picture6"_s << u"address"_s << u"/hq/dzh.swf?AutoIndexbar=2&resource_root="_s;
        QTest::newRow("Picture5 trading program") << u"Picture5"_s << u"path"_s << u"/opt/trader/client"_s;
    }

    void launcherImages()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, target);
        Options o;
        o.mysoft = u"/opt/trader/client"_s;
        Window win(o);
        win.showActive();
        auto* picture = win.w->findChild<ImageButton*>(name);
        const Outcome out = observe(win, [&] { QTest::mouseClick(picture, Qt::LeftButton); });
        QVERIFY(!out.modalSeen);
        if (kind == u"address") {
            QCOMPARE(out.addresses.size(), 1);
            QVERIFY2(out.addresses[0].contains(target), qPrintable(out.addresses[0]));
            QVERIFY(out.paths.isEmpty());
        } else {
            QCOMPARE(out.paths, QStringList{kind == u"tool" ? win.tool(target) : target});
            QVERIFY(out.addresses.isEmpty());
        }
        QCOMPARE(picture->Top(), 4000);
        QVERIFY(win.w->Timer2.isActive());
        // A right click or a click on a sunk image does nothing.
        const Outcome again = observe(win, [&] {
            QTest::mouseClick(picture, Qt::LeftButton);
            QTest::mouseClick(picture, Qt::RightButton);
        });
        QVERIFY(again.addresses.isEmpty() && again.paths.isEmpty());
    }

    void disciplineImagesHaveNoCoolDown()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        for (int round = 0; round < 2; ++round) {
            const Outcome out = observe(win, [&] { QTest::mouseClick(w.Picture3, Qt::LeftButton); });
            QVERIFY(out.modalSeen);
            QCOMPARE(out.modalTitle, u"持仓理由"_s + kKeyHint);
            QCOMPARE(w.Picture3->Top(), 3510);
            QVERIFY(!w.Timer2.isActive());
        }
    }

    void digitKeysHaveNoGate()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        QTest::mouseClick(w.Picture8, Qt::LeftButton); // sunk: keys do not care
        QTest::keyClick(&w, Qt::Key_5);
        QTest::keyClick(&w, Qt::Key_5);
        QCOMPARE(win.f.launcher.addresses.size(), 3);
        QCOMPARE(w.Picture8->Top(), 4000);
        QVERIFY(w.Timer2.isActive());
        // A key never sinks an image.
        w.Timer2_Timer();
        QTest::keyClick(&w, Qt::Key_6);
        QCOMPARE(w.Picture7->Top(), 3980);
        QVERIFY(w.Timer2.isActive());
    }

    void toolsMenu_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("file");
        QTest::newRow("dgsdfssf") << u"dgsdfssf"_s << u"abacus.exe"_s;
        QTest::newRow("fhdfsfs") << u"fhdfsfs"_s << u"clocktool.exe"_s;
        QTest::newRow("dsfadsf") << u"dsfadsf"_s << u"posmover.exe"_s;
        QTest::newRow("sdfasr") << u"sdfasr"_s << u"ceilprice.exe"_s;
        QTest::newRow("qshutdown") << u"qshutdown"_s << u"poweroff.exe"_s;
    }

    void toolsMenu()
    {
        QFETCH(QString, item);
        QFETCH(QString, file);
        Window win;
        Form1& w = *win.w;
        auto* action = w.findChild<QAction*>(item);
        QVERIFY(action);
        action->trigger();
        action->trigger();
        // No cool-down: every choice launches, nothing sinks, Timer2 stays off.
        QCOMPARE(win.f.launcher.paths, (QStringList{win.tool(file), win.tool(file)}));
        QVERIFY(!w.Timer2.isActive());
        for (ImageButton* p : {w.Picture5, w.Picture6, w.Picture7, w.Picture8})
            QCOMPARE(p->Top(), 3980);
    }

    void helpMenuPages()
    {
        Window win;
        Form1& w = *win.w;
        w.softup->trigger();
        w.sfasdaass->trigger();
        w.softup->trigger();
        const QStringList a = win.f.launcher.addresses;
        QCOMPARE(a.size(), 3);
        static const QRegularExpression site(u"^http://([^/]+)/"_s);
        const QString updateHost = site.match(a[0]).captured(1);
        QVERIFY(!updateHost.isEmpty());
        QCOMPARE(a[0], u"http://"_s + updateHost + u"/showpluspic.asp?id=47&softver=1.32"_s);
        QCOMPARE(a[1], u"http://"_s + updateHost +
                           u"/first02.asp?content=就插件程序ID为47的说两句，程序名称为：OrroTickbellv1.32"
                           "………………我说：&m=#3"_s);
        QCOMPARE(a[2], a[0]);
        QVERIFY(!w.Timer2.isActive());
    }

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
            qsizetype launches = -1;
            int top = 0;
        } seen;
        const auto watch = [&] {
            return std::make_unique<ModalWatcher>([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (!box) {
                    modal->close();
                    return;
                }
                seen = {box->windowTitle(),
                        box->text(),
                        int(box->icon()),
                        int(box->standardButtons()),
                        win.f.launcher.launches.size(),
                        w.Picture5->Top()};
                box->button(QMessageBox::Ok)->click();
            });
        };

        {
            const auto watcher = watch();
            QTest::keyClick(&w, Qt::Key_8);
            QVERIFY(watcher->seen());
        }
        QCOMPARE(seen.title, kNoPathTitle);
        QCOMPARE(seen.text, kNoPathText);
        QCOMPARE(seen.icon, int(QMessageBox::NoIcon));
        QCOMPARE(seen.buttons, int(QMessageBox::Ok));
        QCOMPARE(seen.launches, 0);
        QCOMPARE(seen.top, 3980); // a key does not sink the image
        QVERIFY(win.f.launcher.launches.isEmpty());
        QVERIFY(w.Timer2.isActive());

        // The same box from the image, which is already down while the box is open, so it
        // cannot be left down by a Timer2 tick that comes before the box is closed.
        w.Timer2_Timer();
        seen = {};
        {
            const auto watcher = watch();
            QTest::mouseClick(w.Picture5, Qt::LeftButton);
            QVERIFY(watcher->seen());
        }
        QCOMPARE(seen.title, kNoPathTitle);
        QCOMPARE(seen.text, kNoPathText);
        QCOMPARE(seen.top, 4000);
        QVERIFY(win.f.launcher.launches.isEmpty());
        QCOMPARE(w.Picture5->Top(), 4000);
        QVERIFY(w.Timer2.isActive());
        w.Timer2_Timer();
        QCOMPARE(w.Picture5->Top(), 3980);
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
        QTest::newRow("8") << 56 << int(Qt::Key_8) << u"path"_s << u"/opt/trader/client"_s;
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
        o.mysoft = u"/opt/trader/client"_s;
        Window win(o);
        win.showActive();
        Form1& w = *win.w;

        const auto check = [&](const Outcome& out, const QString& how) {
            const QByteArray what = how.toUtf8();
            QVERIFY2(out.modalSeen == (kind == u"viewer"), what);
            QVERIFY2(out.minimised == (kind == u"minimise"), what);
            if (kind == u"viewer")
                QVERIFY2(out.modalTitle == expected + kKeyHint, what);
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
            const Outcome byCode = observe(win, [&] { w.Form_KeyDown(96 + digit); });
            const Outcome byKey =
                observe(win, [&] { QTest::keyClick(&w, Qt::Key(Qt::Key_0 + digit), Qt::KeypadModifier); });
            for (const Outcome& out : {byCode, byKey}) {
                QVERIFY(!out.modalSeen);
                QVERIFY(out.addresses.isEmpty() && out.paths.isEmpty());
                QVERIFY(!out.minimised);
            }
        }
        QVERIFY(!w.Timer2.isActive());
    }

    void disciplineShownAndKept()
    {
        Window win;
        win.showActive();
        Form1& w = *win.w;
        const QString before = w.law1;
        const Outcome out = observe(win, [&] { QTest::keyClick(&w, Qt::Key_1); });
        QVERIFY(out.modalSeen);
        QCOMPARE(out.modalTitle, u"买入纪律 - 上下箭头键翻页，ESC/DEL/退格键关闭窗口"_s);
        // The default text: a title line and a placeholder line.
        QCOMPARE(out.modalText, u"      买入纪律     \n    内容内容...."_s);
        QCOMPARE(w.law1, before);

        // An empty text shows nothing at all.
        Settings emptied = w.day().settings();
        emptied.law2.clear();
        QVERIFY(w.day().SaveSettings(emptied));
        const Outcome empty = observe(win, [&] { QTest::keyClick(&w, Qt::Key_2); });
        QVERIFY(!empty.modalSeen);
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
        QVERIFY(w.Timer4.interval() == 1000 && w.Timer2.interval() == 3000);
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
