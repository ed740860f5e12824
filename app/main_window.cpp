// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include "app/fonts.h"
#include "app/image_button.h"
#include "app/key_table.h"
#include "app/menu_style.h"
#include "app/program_icon.h"
#include "app/twips.h"
#include "commands/help_texts.h"
#include "commands/launch_targets.h"
#include "platform/audio_output.h"
#include "platform/clock.h"
#include "platform/key_codes.h"
#include "platform/launcher.h"
#include "platform/window_stacking.h"
#include "reminder/countdown.h"
#include "reminder/second_timer.h"
#include "reminder/voice_prompt.h"
#include "settings/form2.h"
#include "version.h"
#include "viewer/show_text1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

const QColor kCrimson(153, 0, 51);

QString designTitle()
{
    return u"Tickbell"_s;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                  const QColor& color, const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

Form1::Form1(Form1Services services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)),
      m_settingsFile(m_services.configPath, m_services.defaultConfigPath), m_schedule(m_services.calendar)
{
    Q_ASSERT(m_services.clock && m_services.audio && m_services.launcher && m_services.stacking);
    if (!m_services.tell)
        m_services.tell = [](const QString& line) { qWarning("%s", qUtf8Printable(line)); };
    setObjectName(u"Form1"_s);
    // Sizable with minimise and close boxes, no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(designTitle());
    setWindowIcon(programIcon());
    buildControls();
    buildMenus();
    // The client area is 418 x 301 below the menu bar.
    resize(px(6270), px(4515) + menuBar()->sizeHint().height());
    Form_Load();
}

void Form1::warnIfCalendarOutdated()
{
    const QString notice = m_services.calendar.outdatedNotice(m_services.clock->now().date());
    if (notice.isEmpty())
        return;
    m_services.tell(
        u"the holidays file ends in %1; add the exchanges' closed days of the years after it"_s.arg(
            m_services.calendar.lastCoveredYear()));
    mirror(u"notice"_s, notice);
    // Label4 is full with the welcome text and the advice replaces it later: the notice gets a
    // box of its own, once a run. Not modal, so the window and every reminder carry on.
    auto* box = new QMessageBox(QMessageBox::Information, u"休市日历提示"_s, notice, QMessageBox::Ok, this);
    box->setObjectName(u"CalendarNotice"_s);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // "load .............." stays for a moment before the first tick replaces it.
    if (!m_ticked)
        Timer1->start(kFirstTickDelayMs);
    // After the window is up, so that the box opens above it.
    QMetaObject::invokeMethod(this, &Form1::warnIfCalendarOutdated, Qt::QueuedConnection);
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(u"client"_s);
    client->setAutoFillBackground(true);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, Qt::black);
    client->setPalette(pal);
    // No layout: the controls keep their places, and a larger window only shows more black.
    setCentralWidget(client);

    Label1 = makeLabel(client, "Label1", twipsRect(240, 240, 5880, 840), u"Tickbell"_s, QColor(255, 0, 0),
                       Fonts::kai(42));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3 = makeLabel(client, "Label3", twipsRect(1320, 1080, 3825, 285), u"load .............."_s,
                       Qt::white, Fonts::song(12));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4 = makeLabel(client, "Label4", twipsRect(360, 1440, 5655, 1935), ScheduleText::Welcome, Qt::white,
                       Fonts::song(12, true));
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setWordWrap(true);

    struct PictureSpec {
        ImageButton** field;
        const char* name;
        QString caption;
        QColor color;
        int left;
        int top;
    };
    const PictureSpec pictures[] = {
        {&Picture1, "Picture1", u"买入纪律 1"_s, kCrimson, 90, 3510},
        {&Picture2, "Picture2", u"卖出纪律 2"_s, kCrimson, 1620, 3510},
        {&Picture3, "Picture3", u"持仓纪律 3"_s, Qt::black, 3150, 3510},
        {&Picture4, "Picture4", u"空仓纪律 4"_s, Qt::black, 4680, 3510},
        {&Picture8, "Picture8", u"滚动新闻 5"_s, Qt::black, 90, 3980},
        {&Picture7, "Picture7", u"时间校正 6"_s, Qt::black, 1620, 3980},
        {&Picture6, "Picture6", u"行情网页 7"_s, Qt::black, 3150, 3980},
        {&Picture5, "Picture5", u"炒股软件 8"_s, Qt::black, 4680, 3980},
    };
    for (const PictureSpec& p : pictures) {
        *p.field = new ImageButton(p.caption, p.color, p.left, p.top, client);
        (*p.field)->setObjectName(QLatin1String(p.name));
    }
    // Keyboard order follows the design's tab indexes: the first row, then Picture5 to Picture8.
    ImageButton* const tabOrder[] = {Picture1, Picture2, Picture3, Picture4,
                                     Picture5, Picture6, Picture7, Picture8};
    for (int i = 0; i + 1 < 8; ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);

    connect(Picture1, &ImageButton::clicked, this, &Form1::Command1_Click);
    connect(Picture2, &ImageButton::clicked, this, &Form1::Command2_Click);
    connect(Picture3, &ImageButton::clicked, this, &Form1::Command3_Click);
    connect(Picture4, &ImageButton::clicked, this, &Form1::Command4_Click);
    connect(Picture8, &ImageButton::clicked, this,
            [this] { pictureClick(Picture8, LaunchTarget::NewsPage); });
    connect(Picture7, &ImageButton::clicked, this,
            [this] { pictureClick(Picture7, LaunchTarget::ClockTool); });
    connect(Picture6, &ImageButton::clicked, this,
            [this] { pictureClick(Picture6, LaunchTarget::QuotesPage); });
    connect(Picture5, &ImageButton::clicked, this,
            [this] { pictureClick(Picture5, LaunchTarget::TradingProgram); });

    // The hidden buttons carry the actions; only code clicks them.
    struct CommandSpec {
        QString caption;
        int left;
        int top;
        void (Form1::*action)();
    };
    const CommandSpec commands[] = {
        {u"买入纪律 1"_s, 360, 3480, &Form1::Command1_Click},
        {u"卖出纪律 2"_s, 1800, 3480, &Form1::Command2_Click},
        {u"持仓纪律 3"_s, 3240, 3480, &Form1::Command3_Click},
        {u"空仓纪律 4"_s, 4680, 3480, &Form1::Command4_Click},
        {u"QQ滚动新闻 5"_s, 360, 4080, &Form1::Command5_Click},
        {u"时间校正 6"_s, 1800, 4080, &Form1::Command6_Click},
        {u"我的炒股软件"_s, 4635, 4080, &Form1::Command7_Click},
        {u"大智慧FLASH"_s, 3240, 4080, &Form1::Command8_Click},
    };
    for (int i = 0; i < 8; ++i) {
        auto* button = new QPushButton(commands[i].caption, client);
        button->setObjectName(u"Command%1"_s.arg(i + 1));
        button->setGeometry(twipsRect(commands[i].left, commands[i].top, 1335, 495));
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
        connect(button, &QPushButton::clicked, this, commands[i].action);
        Command[i + 1] = button;
    }

    Timer1 = new SecondTimer(*m_services.clock, this);
    Timer1->setObjectName(u"Timer1"_s);
    connect(Timer1, &SecondTimer::timeout, this, &Form1::Timer1_Timer);

    struct TimerSpec {
        QTimer* timer;
        const char* name;
        int interval;
        void (Form1::*handler)();
    };
    const TimerSpec timers[] = {
        {&Timer2, "Timer2", 3000, &Form1::Timer2_Timer},
        {&Timer3, "Timer3", 8000, &Form1::Timer3_Timer},
        {&Timer4, "Timer4", 1000, &Form1::Timer4_Timer},
    };
    for (const TimerSpec& t : timers) {
        t.timer->setParent(this);
        t.timer->setObjectName(QLatin1String(t.name));
        t.timer->setInterval(t.interval);
        t.timer->setTimerType(Qt::PreciseTimer);
        connect(t.timer, &QTimer::timeout, this, t.handler);
    }
    Timer1->start(kFirstTickDelayMs);
}

void Form1::buildMenus()
{
    auto* menuStyle = new MenuCheckStyle(); // a proxy of the application's style
    menuStyle->setParent(this);
    auto addMenu = [this, menuStyle](const char* name, const QString& title) {
        QMenu* menu = menuBar()->addMenu(title);
        menu->setObjectName(QLatin1String(name));
        menu->setStyle(menuStyle);
        return menu;
    };
    auto addItem = [this](QMenu* menu, const char* name, const QString& caption, void (Form1::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto addCheck = [&](QMenu* menu, const char* name, const QString& caption, bool checked) {
        QAction* action = addItem(menu, name, caption, nullptr);
        action->setCheckable(true); // plain check marks: an exclusive group would draw radio dots
        action->setChecked(checked);
        return action;
    };

    QMenu* f123 = addMenu("f123", u"文件"_s);
    exit234 = addItem(f123, "exit234", u"退出"_s, nullptr);
    exit234->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    exit234->setShortcutContext(Qt::WindowShortcut);
    connect(exit234, &QAction::triggered, this, [this] { m_services.exitProgram(); });

    QMenu* edit234 = addMenu("edit234", u"编辑"_s);
    systemset123 = addItem(edit234, "systemset123", u"系统设置"_s, &Form1::openSettings);
    malert = addCheck(edit234, "malert", u"语音提醒"_s, true);
    autoexit = addCheck(edit234, "autoexit", u"收盘后退出软件"_s, true);

    QMenu* sgssfds = addMenu("sgssfds", u"工具"_s);
    dgsdfssf = addItem(sgssfds, "dgsdfssf", u"常规计算器 9"_s, &Form1::dgsdfssf_Click);
    fhdfsfs = addItem(sgssfds, "fhdfsfs", u"时间校正器"_s, nullptr);
    connect(fhdfsfs, &QAction::triggered, this, [this] { launch(LaunchTarget::ClockTool); });
    dsfadsf = addItem(sgssfds, "dsfadsf", u"转仓计算器 0"_s, &Form1::dsfadsf_Click);
    sdfasr = addItem(sgssfds, "sdfasr", u"涨停版计算"_s, nullptr);
    connect(sdfasr, &QAction::triggered, this, [this] { launch(LaunchTarget::LimitUpCalculator); });
    qshutdown = addItem(sgssfds, "qshutdown", u"快速关机"_s, &Form1::qshutdown_Click);

    QMenu* win234 = addMenu("win234", u"窗口"_s);
    normal123 = addCheck(win234, "normal123", u"常规"_s, true);
    top123 = addCheck(win234, "top123", u"置顶"_s, false);
    low123 = addCheck(win234, "low123", u"低层"_s, false);
    min123 = addItem(win234, "min123", u"最小化"_s, nullptr);
    for (QAction* item : {normal123, top123, low123})
        connect(item, &QAction::triggered, this, [this, item] { setLayer(item); });
    connect(min123, &QAction::triggered, this, &QWidget::showMinimized);

    QMenu* help123 = addMenu("help123", u"帮助"_s);
    readme123 = addItem(help123, "readme123", u"使用说明"_s, nullptr);
    disigner123 = addItem(help123, "disigner123", u"关于作者"_s, nullptr);
    forsoft123 = addItem(help123, "forsoft123", u"关于软件"_s, nullptr);
    connect(readme123, &QAction::triggered, this, [this] { showHelp(0); });
    connect(disigner123, &QAction::triggered, this, [this] { showHelp(1); });
    connect(forsoft123, &QAction::triggered, this, [this] { showHelp(2); });
    gffdte = addItem(help123, "gffdte", u" ------"_s, nullptr);
    gffdte->setEnabled(false);
    softup = addItem(help123, "softup", u"检查更新"_s, nullptr);
    connect(softup, &QAction::triggered, this, [this] { launch(LaunchTarget::UpdatePage); });
    sfasdaass = addItem(help123, "sfasdaass", u"意见建议"_s, nullptr);
    connect(sfasdaass, &QAction::triggered, this, [this] { launch(LaunchTarget::FeedbackPage); });
}

void Form1::Form_Load()
{
    SoftVer1 = u"%1.%2"_s.arg(TICKBELL_VERSION_MAJOR).arg(TICKBELL_VERSION_MINOR);
    openall = 0;
    setCaption(windowTitle() + u"v"_s + SoftVer1 + u" - Orro SOFT"_s);
    playok = u"Tickbell.wav"_s;
    playsound();
    c2exit = 16;
    LoadSettings();
    KeyPreview = true;
}

void Form1::LoadSettings()
{
    const SettingsFile::Loaded loaded = m_settingsFile.load();
    m_settings = loaded.settings;
    for (const QString& problem : loaded.problems)
        m_services.tell(problem);
}

bool Form1::SaveSettings(QString* error)
{
    QString why;
    if (m_settingsFile.save(m_settings, &why))
        return true;
    m_services.tell(u"cannot save %1: %2"_s.arg(m_settingsFile.configPath(), why));
    if (error)
        *error = why;
    return false;
}

void Form1::mirror(const QString& what, const QString& text)
{
    if (m_services.mirror)
        m_services.mirror(what, text);
}

void Form1::setLabel(QLabel* label, const QString& text)
{
    if (label->text() == text)
        return;
    label->setText(text);
    if (label != Label3)
        mirror(label == Label1 ? u"status"_s : u"advice"_s, text);
}

void Form1::setCaption(const QString& title)
{
    if (windowTitle() == title)
        return;
    setWindowTitle(title);
    mirror(u"title"_s, title);
}

void Form1::playsound()
{
    mirror(u"prompt"_s, malert->isChecked() ? playok : playok + u" (voice off)"_s);
    if (!malert->isChecked())
        return;
    m_services.audio->play(promptFilePath(m_services.programFolder, playok));
    enableTimer(Timer3);
}

void Form1::Timer1_Timer()
{
    m_ticked = true;
    const TickResult result =
        m_schedule.tick(m_services.clock->now(), {playok, openall}, m_settings, autoexit->isChecked());
    setLabel(Label3, result.clockLine);
    for (const ScheduleEffect& effect : result.effects)
        applyEffect(effect);
}

void Form1::applyEffect(const ScheduleEffect& effect)
{
    using Kind = ScheduleEffect::Kind;
    using Launch = LaunchTarget;
    switch (effect.kind) {
    case Kind::SetStatus: setLabel(Label1, effect.text); break;
    case Kind::SetAdvice: setLabel(Label4, effect.text); break;
    case Kind::AppendAdvice: setLabel(Label4, Label4->text() + effect.text); break;
    case Kind::RequestPrompt:
        playok = effect.text;
        playsound();
        break;
    case Kind::MarkOpened: openall = 1; break;
    case Kind::ArmCountdown: enableTimer(Timer4); break;
    case Kind::Launch:
        switch (effect.launch) {
        case Launch::NewsPage: Command5_Click(); break;
        case Launch::QuotesPage: Command8_Click(); break;
        case Launch::TradingProgram: Command7_Click(); break;
        case Launch::QuickShutdown: qshutdown_Click(); break;
        default: break;
        }
        break;
    }
}

void Form1::Timer2_Timer()
{
    for (ImageButton* picture : {Picture8, Picture7, Picture6, Picture5})
        picture->setTop(3980);
    Timer2.stop();
}

void Form1::Timer3_Timer()
{
    m_services.audio->close();
    Timer3.stop();
}

void Form1::Timer4_Timer()
{
    const CountdownStep step = countdownTick(autoexit->isChecked(), c2exit, SoftVer1);
    switch (step.action) {
    case CountdownStep::Action::ShowTitle: setCaption(step.title); break;
    case CountdownStep::Action::Exit: m_services.exitProgram(); break;
    case CountdownStep::Action::Cancel:
        setCaption(step.title);
        Timer4.stop();
        break;
    }
}

ShowText1& Form1::viewer()
{
    if (!m_viewer)
        m_viewer = new ShowText1(this);
    return *m_viewer;
}

void Form1::showDiscipline(const QString& body, const QString& title)
{
    viewer().ShowTextWord(body, title);
}

void Form1::Command1_Click()
{
    showDiscipline(law1, u"买入纪律"_s);
}

void Form1::Command2_Click()
{
    showDiscipline(law2, u"卖出纪律"_s);
}

void Form1::Command3_Click()
{
    showDiscipline(law3, u"持仓理由"_s);
}

void Form1::Command4_Click()
{
    showDiscipline(law4, u"空仓理由"_s);
}

void Form1::showHelp(int which)
{
    const HelpTexts::Entry entry = which == 0   ? HelpTexts::instructions()
                                   : which == 1 ? HelpTexts::author()
                                                : HelpTexts::software();
    viewer().ShowTextWord(entry.body, entry.title);
}

void Form1::launch(LaunchTarget target)
{
    if (target == LaunchTarget::TradingProgram) {
        openTradingProgram();
    } else if (LaunchTargets::isWebPage(target)) {
        m_services.launcher->openAddress(LaunchTargets::webAddress(target, SoftVer1));
    } else {
        m_services.launcher->openPath(LaunchTargets::toolPath(m_services.programFolder, target));
    }
}

void Form1::openTradingProgram()
{
    if (!mysoft.isEmpty()) {
        m_services.launcher->openPath(mysoft);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, u"未设置软件路径 ..."_s,
                    u"系统提示：请到菜单的“编辑”“系统设置”里浏览找到您常用的炒股软件或者快捷方式，"
                    "保存设置才能使用这个按钮打开自己的炒股软件 ..."_s,
                    QMessageBox::Ok, this);
    box.setObjectName(u"NoSoftwarePath"_s);
    box.exec();
}

void Form1::pictureClick(ImageButton* picture, LaunchTarget target)
{
    if (picture->Top() != 3980)
        return;
    enableTimer(Timer2);
    // Sunk before the launch: the not-set message box may stay open past Timer2's tick,
    // and the picture must not be left down after it.
    picture->setTop(4000);
    launch(target);
}

void Form1::Command5_Click()
{
    enableTimer(Timer2);
    launch(LaunchTarget::NewsPage);
}

void Form1::Command6_Click()
{
    enableTimer(Timer2);
    launch(LaunchTarget::ClockTool);
}

void Form1::Command7_Click()
{
    enableTimer(Timer2);
    launch(LaunchTarget::TradingProgram);
}

void Form1::Command8_Click()
{
    enableTimer(Timer2);
    launch(LaunchTarget::QuotesPage);
}

void Form1::dgsdfssf_Click()
{
    launch(LaunchTarget::Calculator);
}

void Form1::dsfadsf_Click()
{
    launch(LaunchTarget::SwitchCalculator);
}

void Form1::qshutdown_Click()
{
    launch(LaunchTarget::QuickShutdown);
}

void Form1::openSettings()
{
    // Owned by the main window, so that it opens above it in every layer (置顶 included);
    // destroyed when it closes.
    Form2 dialog(m_settings, m_settingsFile, this);
    dialog.exec();
}

void Form1::setLayer(QAction* item)
{
    for (QAction* a : {normal123, top123, low123})
        a->setChecked(a == item);
    const WindowStacking::Layer layer = item == top123   ? WindowStacking::Layer::TopMost
                                        : item == low123 ? WindowStacking::Layer::Bottom
                                                         : WindowStacking::Layer::Normal;
    winId(); // the native window must exist for the request
    m_services.stacking->setLayer(windowHandle(), layer);
    // Keep the widget's own record of the flag in step without re-creating the window.
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, layer == WindowStacking::Layer::TopMost);
    overrideWindowFlags(flags);
}

void Form1::Form_KeyDown(int KeyCode)
{
    switch (keyTableAction(KeyCode)) {
    case KeyAction::None: break;
    case KeyAction::Minimise: showMinimized(); break;
    case KeyAction::Command1: Command1_Click(); break;
    case KeyAction::Command2: Command2_Click(); break;
    case KeyAction::Command3: Command3_Click(); break;
    case KeyAction::Command4: Command4_Click(); break;
    case KeyAction::Command5: Command5_Click(); break;
    case KeyAction::Command6: Command6_Click(); break;
    case KeyAction::Command7: Command7_Click(); break;
    case KeyAction::Command8: Command8_Click(); break;
    case KeyAction::Calculator: dgsdfssf_Click(); break;
    case KeyAction::SwitchCalculator: dsfadsf_Click(); break;
    }
}

void Form1::keyPressEvent(QKeyEvent* event)
{
    if (KeyPreview)
        Form_KeyDown(windowsVirtualKey(*event));
    QMainWindow::keyPressEvent(event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // The user's close (close box, window menu, Alt+F4) only minimises: the reminders must
    // go on. A close the program or the session asks for goes through.
    if (event->spontaneous()) {
        event->ignore();
        showMinimized();
        return;
    }
    event->accept();
}

void Form1::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}
