// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/main_window.h"

#include "core/commands/key_table.h"
#include "core/commands/launch_targets.h"
#include "core/day/moment_notice.h"
#include "core/texts/help_texts.h"
#include "platform/window_stacking.h"
#include "ui/calendar/calendar_window.h"
#include "ui/reminders/reminders_window.h"
#include "ui/settings/form2.h"
#include "ui/viewer/show_text1.h"
#include "widgets/fonts.h"
#include "widgets/image_button.h"
#include "widgets/key_codes.h"
#include "widgets/menu_style.h"
#include "widgets/program_icon.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

const QColor kCrimson(153, 0, 51);
// The design's places of the clock line and the advice.
constexpr QRect kClockLine = twipsRect(1320, 1080, 3825, 285);
constexpr QRect kAdvice = twipsRect(360, 1440, 5655, 1935);

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

Form1::Form1(TradingDay& day, WindowStacking& stacking, QWidget* parent)
    : QMainWindow(parent), m_day(day), m_stacking(stacking)
{
    setObjectName(u"Form1"_s);
    // Sizable with minimise and close boxes, no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(m_day.title());
    setWindowIcon(programIcon());
    buildControls();
    buildMenus();
    showDay();
    // The client area is 418 x 301 below the menu bar.
    resize(px(6270), px(4515) + menuBar()->sizeHint().height());
    Form_Load();
}

void Form1::showDay()
{
    connect(&m_day, &TradingDay::statusChanged, Label1, &QLabel::setText);
    connect(&m_day, &TradingDay::clockChanged, this, &Form1::showClock);
    connect(&m_day, &TradingDay::adviceChanged, Label4, &QLabel::setText);
    connect(&m_day, &TradingDay::titleChanged, this, &QWidget::setWindowTitle);
    connect(&m_day, &TradingDay::pictureDown, this,
            [this](LaunchTarget target) { picture(target)->setTop(4000); });
    connect(&m_day, &TradingDay::picturesUp, this, [this] {
        for (ImageButton* p : {Picture8, Picture7, Picture6, Picture5})
            p->setTop(3980);
    });
    connect(&m_day, &TradingDay::programPathNeeded, this, &Form1::askForProgramPath);
    connect(&m_day, &TradingDay::voiceChanged, malert, &QAction::setChecked);
    connect(&m_day, &TradingDay::autoExitChanged, autoexit, &QAction::setChecked);
    connect(&m_day, &TradingDay::standardTimeChanged, standardTime, &QAction::setChecked);
    connect(&m_day, &TradingDay::reminderNotice, this, &Form1::showReminderNotice);
    connect(&m_day, &TradingDay::remindersFileNotice, this, &Form1::showRemindersFileNotice);
    connect(&m_day, &TradingDay::optionNotSaved, this, [this](const QString& why) {
        QMessageBox::warning(this, u"按标准时间提醒"_s,
                             why + u"。这次运行中照样有效，下次启动时不会记得。"_s);
    });
}

void Form1::showClock(const QString& text)
{
    if (Label3->text() == text)
        return;
    Label3->setText(text);
    // Its place changes with the date or the note, not with the seconds: measured again only
    // when the text with every digit made the widest one changes.
    const QFontMetrics metrics = Label3->fontMetrics();
    if (m_widestDigit.isNull()) {
        m_widestDigit = u'0';
        for (char16_t d = u'1'; d <= u'9'; ++d) {
            if (metrics.horizontalAdvance(QChar(d)) > metrics.horizontalAdvance(m_widestDigit))
                m_widestDigit = QChar(d);
        }
    }
    QString shape = text;
    for (QChar& c : shape) {
        if (c.isDigit())
            c = m_widestDigit;
    }
    if (shape == m_clockShape)
        return;
    m_clockShape = shape;
    // The design's place, as wide as the text needs up to the status line's right edge (the
    // Beijing time beside a foreign clock); a line longer still starts at the advice's left
    // edge. The standard-time note is a second line, and the advice moves down to make room.
    const QStringList lines = shape.split(u'\n');
    int widest = 0;
    for (const QString& line : lines)
        widest = qMax(widest, metrics.horizontalAdvance(line) + 2);
    const int right = px(6120);
    const int left = widest <= right - kClockLine.left() ? kClockLine.left() : kAdvice.left();
    const int below = int(lines.size() - 1) * metrics.lineSpacing();
    Label3->setGeometry(left, kClockLine.top(), qBound(kClockLine.width(), widest, right - left),
                        kClockLine.height() + below);
    Label4->setGeometry(kAdvice.adjusted(0, below, 0, 0));
}

void Form1::showCalendarNotice(const QString& notice)
{
    setNotice(Notice::Calendar, notice);
}

void Form1::closeCalendarNotice()
{
    setNotice(Notice::Calendar, {});
}

void Form1::showRemindersFileNotice(const QString& notice)
{
    setNotice(Notice::RemindersFile, notice);
}

void Form1::showReminderNotice(const QString& text)
{
    setNotice(Notice::Reminder, text);
}

void Form1::setNotice(Notice kind, const QString& text)
{
    const bool had =
        std::any_of(m_notices.cbegin(), m_notices.cend(), [kind](const auto& n) { return n.first == kind; });
    m_notices.removeIf([kind](const auto& n) { return n.first == kind; });
    if (!text.isEmpty())
        m_notices.append({kind, text});
    // A holiday's exit waits while its notice is there to be read.
    if (kind == Notice::Calendar && !had && !text.isEmpty())
        m_day.holdCountdown();
    else if (kind == Notice::Calendar && had && text.isEmpty())
        m_day.releaseCountdown();
    showLatestNotice();
}

void Form1::showLatestNotice()
{
    if (m_notices.isEmpty()) {
        if (!m_notice)
            return;
        const int line = m_notice->height();
        setStatusBar(nullptr); // deletes it
        m_notice = nullptr;
        resize(width(), height() - line);
        return;
    }
    // Label4 is full with the welcome text and the advice replaces it later: the notice gets a
    // line of its own under the controls, and the window grows by it, so that nothing of the
    // day is covered. Its first sentence says what it is; the whole text is its tooltip.
    if (!m_notice) {
        m_notice = new QStatusBar(this);
        m_notice->setObjectName(u"CalendarNotice"_s);
        m_notice->setSizeGripEnabled(false);
        m_notice->setAutoFillBackground(true);
        QPalette pal = m_notice->palette();
        pal.setColor(QPalette::Window, Qt::black);
        pal.setColor(QPalette::WindowText, QColor(255, 215, 0));
        m_notice->setPalette(pal);
        auto* text = new QLabel(m_notice);
        text->setObjectName(u"noticeText"_s);
        text->setFont(Fonts::song(9));
        text->setContentsMargins(4, 0, 0, 0);
        text->setWordWrap(true);
        text->setTextFormat(Qt::PlainText);
        text->setFixedHeight(2 * text->fontMetrics().lineSpacing() + 2);
        auto* open = new QPushButton(u"交易日历"_s, m_notice);
        open->setObjectName(u"openCalendar"_s);
        open->setFocusPolicy(Qt::NoFocus); // the number keys stay the window's
        auto* openReminders = new QPushButton(u"我的提醒"_s, m_notice);
        openReminders->setObjectName(u"openReminders"_s);
        openReminders->setFocusPolicy(Qt::NoFocus);
        auto* close = new QToolButton(m_notice);
        close->setObjectName(u"closeNotice"_s);
        close->setText(u"×"_s);
        close->setToolTip(u"关闭提示"_s);
        close->setAutoRaise(true);
        pal.setColor(QPalette::ButtonText, pal.color(QPalette::WindowText));
        close->setPalette(pal);
        close->setFocusPolicy(Qt::NoFocus);
        m_notice->addWidget(text, 1);
        m_notice->addPermanentWidget(open);
        m_notice->addPermanentWidget(openReminders);
        m_notice->addPermanentWidget(close);
        connect(open, &QPushButton::clicked, this, &Form1::openCalendar);
        connect(openReminders, &QPushButton::clicked, this, &Form1::openReminders);
        connect(close, &QToolButton::clicked, this, [this] {
            if (!m_notices.isEmpty())
                setNotice(m_notices.constLast().first, {});
        });
        setStatusBar(m_notice);
        resize(width(), height() + m_notice->sizeHint().height());
    }
    const auto& [kind, notice] = m_notices.constLast();
    auto* text = m_notice->findChild<QLabel*>(u"noticeText"_s);
    text->setText(kind == Notice::Reminder ? u"我的提醒：%1"_s.arg(notice) : firstSentence(notice));
    text->setToolTip(notice);
    m_notice->findChild<QPushButton*>(u"openCalendar"_s)->setVisible(kind == Notice::Calendar);
    m_notice->findChild<QPushButton*>(u"openReminders"_s)->setVisible(kind != Notice::Calendar);
    m_notice->show();
}

void Form1::setCloseToTray(bool on)
{
    m_closeToTray = on;
    if (!on && m_hiddenInTray) {
        m_hiddenInTray = false;
        showMinimized();
    }
}

void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    m_hiddenInTray = false;
    if (m_shown)
        return;
    m_shown = true;
    // Once the window manager has put the window up, so that the notice opens over it.
    windowHandle()->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        QMetaObject::invokeMethod(&m_day, &TradingDay::checkCalendar, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
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

    Label1 = makeLabel(client, "Label1", twipsRect(240, 240, 5880, 840), m_day.status(), QColor(255, 0, 0),
                       Fonts::kai(42));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3 = makeLabel(client, "Label3", kClockLine, u"load .............."_s, Qt::white, Fonts::song(12));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4 = makeLabel(client, "Label4", kAdvice, m_day.advice(), Qt::white, Fonts::song(12, true));
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
    for (const LaunchTarget target : {LaunchTarget::NewsPage, LaunchTarget::ClockTool,
                                      LaunchTarget::QuotesPage, LaunchTarget::TradingProgram})
        connect(picture(target), &ImageButton::clicked, this, [this, target] { m_day.pictureClick(target); });

    // The hidden buttons carry the actions; only code clicks them.
    struct CommandSpec {
        QPushButton** field;
        const char* name;
        QString caption;
        int left;
        int top;
        void (Form1::*action)();
    };
    const CommandSpec commands[] = {
        {&Command1, "Command1", u"买入纪律 1"_s, 360, 3480, &Form1::Command1_Click},
        {&Command2, "Command2", u"卖出纪律 2"_s, 1800, 3480, &Form1::Command2_Click},
        {&Command3, "Command3", u"持仓纪律 3"_s, 3240, 3480, &Form1::Command3_Click},
        {&Command4, "Command4", u"空仓纪律 4"_s, 4680, 3480, &Form1::Command4_Click},
        {&Command5, "Command5", u"QQ滚动新闻 5"_s, 360, 4080, &Form1::Command5_Click},
        {&Command6, "Command6", u"时间校正 6"_s, 1800, 4080, &Form1::Command6_Click},
        {&Command7, "Command7", u"我的炒股软件"_s, 4635, 4080, &Form1::Command7_Click},
        {&Command8, "Command8", u"大智慧FLASH"_s, 3240, 4080, &Form1::Command8_Click},
    };
    for (const CommandSpec& c : commands) {
        auto* button = new QPushButton(c.caption, client);
        button->setObjectName(QLatin1String(c.name));
        button->setGeometry(twipsRect(c.left, c.top, 1335, 495));
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
        connect(button, &QPushButton::clicked, this, c.action);
        *c.field = button;
    }
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
    connect(exit234, &QAction::triggered, &m_day, &TradingDay::exitProgram);

    QMenu* edit234 = m_editMenu = addMenu("edit234", u"编辑"_s);
    systemset123 = addItem(edit234, "systemset123", u"系统设置"_s, &Form1::openSettings);
    // The check marks show the day's flags; a click sets the flag.
    malert = addCheck(edit234, "malert", u"语音提醒"_s, m_day.voice());
    autoexit = addCheck(edit234, "autoexit", u"收盘后退出软件"_s, m_day.autoExit());
    standardTime = addCheck(edit234, "standardTime", u"按标准时间提醒"_s, m_day.standardTimeOn());
    connect(malert, &QAction::toggled, &m_day, &TradingDay::setVoice);
    connect(autoexit, &QAction::toggled, &m_day, &TradingDay::setAutoExit);
    connect(standardTime, &QAction::toggled, &m_day, &TradingDay::setStandardTime);

    QMenu* sgssfds = addMenu("sgssfds", u"工具"_s);
    dgsdfssf = addItem(sgssfds, "dgsdfssf", u"常规计算器 9"_s, &Form1::dgsdfssf_Click);
    fhdfsfs = addItem(sgssfds, "fhdfsfs", u"时间校正器"_s, nullptr);
    connect(fhdfsfs, &QAction::triggered, this, [this] { m_day.launch(LaunchTarget::ClockTool); });
    dsfadsf = addItem(sgssfds, "dsfadsf", u"转仓计算器 0"_s, &Form1::dsfadsf_Click);
    sdfasr = addItem(sgssfds, "sdfasr", u"涨停版计算"_s, nullptr);
    connect(sdfasr, &QAction::triggered, this, [this] { m_day.launch(LaunchTarget::LimitUpCalculator); });
    qshutdown = addItem(sgssfds, "qshutdown", u"快速关机"_s, &Form1::qshutdown_Click);
    sgssfds->addSeparator();
    tradingCalendar = addItem(sgssfds, "tradingCalendar", u"交易日历"_s, &Form1::openCalendar);
    myReminders = addItem(sgssfds, "myReminders", u"我的提醒"_s, &Form1::openReminders);

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
    connect(softup, &QAction::triggered, this, [this] { m_day.launch(LaunchTarget::UpdatePage); });
    sfasdaass = addItem(help123, "sfasdaass", u"意见建议"_s, nullptr);
    connect(sfasdaass, &QAction::triggered, this, [this] { m_day.launch(LaunchTarget::FeedbackPage); });
}

void Form1::Form_Load()
{
    // The day's own start (version, title, welcome prompt, settings) is the composition root's
    // to call; the window's part is the key preview.
    KeyPreview = true;
}

void Form1::playsound()
{
    m_day.playsound();
}

void Form1::Timer1_Timer()
{
    m_day.tick();
}

void Form1::Timer2_Timer()
{
    m_day.liftPictures();
}

void Form1::Timer3_Timer()
{
    m_day.closePrompt();
}

void Form1::Timer4_Timer()
{
    m_day.countdownTick();
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

void Form1::askForProgramPath()
{
    QMessageBox box(QMessageBox::NoIcon, u"未设置软件路径 ..."_s,
                    u"系统提示：请到菜单的“编辑”“系统设置”里浏览找到您常用的炒股软件或者快捷方式，"
                    "保存设置才能使用这个按钮打开自己的炒股软件 ..."_s,
                    QMessageBox::Ok, this);
    box.setObjectName(u"NoSoftwarePath"_s);
    box.exec();
}

ImageButton* Form1::picture(LaunchTarget target) const
{
    switch (target) {
    case LaunchTarget::NewsPage: return Picture8;
    case LaunchTarget::ClockTool: return Picture7;
    case LaunchTarget::QuotesPage: return Picture6;
    case LaunchTarget::TradingProgram: return Picture5;
    default: break;
    }
    Q_UNREACHABLE();
    return nullptr;
}

void Form1::Command5_Click()
{
    m_day.runCommand(LaunchTarget::NewsPage);
}

void Form1::Command6_Click()
{
    m_day.runCommand(LaunchTarget::ClockTool);
}

void Form1::Command7_Click()
{
    m_day.runCommand(LaunchTarget::TradingProgram);
}

void Form1::Command8_Click()
{
    m_day.runCommand(LaunchTarget::QuotesPage);
}

void Form1::dgsdfssf_Click()
{
    m_day.launch(LaunchTarget::Calculator);
}

void Form1::dsfadsf_Click()
{
    m_day.launch(LaunchTarget::SwitchCalculator);
}

void Form1::qshutdown_Click()
{
    m_day.launch(LaunchTarget::QuickShutdown);
}

void Form1::openSettings()
{
    // Owned by the main window, so that it opens above it in every layer (置顶 included);
    // destroyed when it closes.
    Form2 dialog(m_day, this);
    dialog.exec();
}

void Form1::openCalendar()
{
    if (!m_calendar) {
        // Owned by the main window, so that it opens above it in every layer.
        m_calendar = new CalendarWindow(m_day, this);
        m_calendar->setAttribute(Qt::WA_DeleteOnClose);
        TradingDay* day = &m_day;
        connect(m_calendar, &QObject::destroyed, day, [day] { day->releaseCountdown(); });
        // Once the year is complete, its notice has done its work.
        connect(m_calendar, &QObject::destroyed, this, [this] {
            if (m_day.calendar().outdatedNotice(m_day.exchangeToday()).isEmpty())
                closeCalendarNotice();
        });
        m_day.holdCountdown();
    }
    m_calendar->show();
    m_calendar->raise();
    m_calendar->activateWindow();
}

void Form1::openReminders()
{
    if (!m_reminders) {
        // Owned by the main window, so that it opens above it in every layer.
        m_reminders = new RemindersWindow(m_day.reminders(), m_day.calendar(), m_day.clock(), this);
        m_reminders->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_reminders->show();
    m_reminders->raise();
    m_reminders->activateWindow();
}

bool Form1::hasUnsavedChanges() const
{
    return (m_calendar && m_calendar->hasChanges()) || (m_reminders && m_reminders->hasChanges());
}

bool Form1::settleUnsavedChanges()
{
    if (!hasUnsavedChanges())
        return true;
    bringToFront();
    if (m_calendar && m_calendar->hasChanges()) {
        openCalendar();
        if (!m_calendar->close())
            return false;
    }
    if (m_reminders && m_reminders->hasChanges()) {
        openReminders();
        return m_reminders->close();
    }
    return true;
}

void Form1::setLayer(QAction* item)
{
    for (QAction* a : {normal123, top123, low123})
        a->setChecked(a == item);
    const WindowStacking::Layer layer = item == top123   ? WindowStacking::Layer::TopMost
                                        : item == low123 ? WindowStacking::Layer::Bottom
                                                         : WindowStacking::Layer::Normal;
    winId(); // the native window must exist for the request
    m_stacking.setLayer(windowHandle(), layer);
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
    // The user's close (close box, window menu, Alt+F4) only minimises, or hides the window in
    // the tray when he chose so: the reminders must go on. A close the program or the session
    // asks for goes through.
    if (event->spontaneous()) {
        event->ignore();
        if (m_closeToTray) {
            m_hiddenInTray = true;
            hide();
        } else {
            showMinimized();
        }
        return;
    }
    event->accept();
}

void Form1::bringToFront()
{
    m_hiddenInTray = false;
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}
