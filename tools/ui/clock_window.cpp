// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/clock_window.h"

#include "core/day/key_moments.h"
#include "core/settings/program_options.h"
#include "core/settings/time_servers.h"
#include "core/time/standard_time.h"
#include "system/time_sync.h"
#include "tools/core/tools_log.h"
#include "tools/ui/tool_app.h"
#include "widgets/fonts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// 1234567 us -> "1.235"
QString seconds(qint64 us)
{
    const qint64 ms = ((us < 0 ? -us : us) + 500) / 1000;
    return u"%1.%2"_s.arg(ms / 1000).arg(ms % 1000, 3, 10, QChar(u'0'));
}

// 1234 us -> "1.2"
QString milliseconds(qint64 us)
{
    const qint64 tenths = (us + 50) / 100;
    return u"%1.%2"_s.arg(tenths / 10).arg(tenths % 10);
}

QString slowOrFast(qint64 offsetUs)
{
    return offsetUs > 0 ? u"慢"_s : u"快"_s;
}

QString waitText(qint64 ms)
{
    const qint64 h = ms / 3'600'000;
    const qint64 m = ms / 60'000 % 60;
    const qint64 s = ms / 1000 % 60;
    const QString sec = u"%1.%2 秒"_s.arg(s).arg(ms % 1000 / 100);
    if (h > 0)
        return u"%1 小时 %2 分 %3"_s.arg(h).arg(m).arg(sec);
    if (m > 0)
        return u"%1 分 %2"_s.arg(m).arg(sec);
    return sec;
}

// To the tenth of a second.
QString dateAndTime(const QDateTime& t)
{
    return t.toString(u"yyyy年M月d日 HH:mm:ss."_s) + QString::number(t.time().msec() / 100);
}

QString serverLine(const ServerAnswer& a, Agreement::Verdict verdict)
{
    // The address only where the list names the server otherwise.
    const QString name = a.address.isEmpty() || a.server.contains(a.address)
                             ? a.server
                             : u"%1（%2）"_s.arg(a.server, a.address);
    switch (verdict) {
    case Agreement::Verdict::Agrees:
    case Agreement::Verdict::Disagrees:
        return u"%1：本机%2 %3 秒，误差 ±%4 毫秒，%5"_s.arg(
            name, slowOrFast(a.offsetUs), seconds(a.offsetUs), milliseconds(a.accuracyUs),
            verdict == Agreement::Verdict::Agrees ? u"与多数一致"_s : u"与多数不一致，未采用"_s);
    case Agreement::Verdict::SameAddress: return u"%1：与上面一台是同一地址，只算一次"_s.arg(name);
    case Agreement::Verdict::Silent: return u"%1：没有应答（%2）"_s.arg(name, a.why);
    case Agreement::Verdict::Failed: return u"%1：%2"_s.arg(name, a.why);
    }
    return name;
}

} // namespace

ClockWindow::ClockWindow(TimeSync& sync, NetworkTime& network, const Clock& computer,
                         const TradingCalendar& calendar, QSettings& settings, ProgramOptions& options,
                         QWidget* parent)
    : ToolWindow(parent), m_sync(sync), m_network(network), m_clock(computer), m_calendar(calendar),
      m_settings(settings), m_options(options), m_offset(new QLabel(this)), m_servers(new QLabel(this)),
      m_corrected(new QLabel(this)), m_computer(new QLabel(this)), m_next(new QLabel(this)),
      m_status(new QLabel(this)), m_again(new QPushButton(u"再查一次(&R)"_s, this)),
      m_correct(new QPushButton(u"校正系统时间(&S)"_s, this)),
      m_standard(new QCheckBox(u"按标准时间提醒(&T)"_s, this)), m_list(new QPlainTextEdit(this))
{
    setObjectName(u"clocktool"_s);
    setWindowTitle(u"时间校正"_s);
    m_offset->setObjectName(u"offset"_s);
    m_servers->setObjectName(u"serverAnswers"_s);
    m_corrected->setObjectName(u"corrected"_s);
    m_computer->setObjectName(u"computer"_s);
    m_next->setObjectName(u"nextMoment"_s);
    m_status->setObjectName(u"status"_s);
    m_list->setObjectName(u"servers"_s);
    m_correct->setObjectName(u"correct"_s);
    m_standard->setObjectName(u"standardTime"_s);

    QFont big = Fonts::sans(16);
    big.setBold(true);
    m_offset->setFont(big);
    QFont clock = Fonts::sans(13);
    m_corrected->setFont(clock);
    m_computer->setFont(clock);
    m_next->setFont(clock);
    m_next->setWordWrap(true);
    m_servers->setWordWrap(true);
    m_status->setWordWrap(true);
    for (QLabel* l : {m_offset, m_servers, m_corrected, m_computer, m_next, m_status})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_correct->setToolTip(u"请系统自己从网络校准时钟（需要管理员同意）"_s);
    m_standard->setToolTip(
        u"与 Tickbell“编辑”菜单中的同一开关：勾选后，Tickbell 启动时和每 30 分钟向下面的"
        "时间服务器对时，语音、倒计时和收盘后的关机都按校正后的北京时间；不勾选时不向网络发送任何东西。"_s);

    m_list->setPlainText(TimeServers::read(m_settings).join(u'\n'));
    m_list->setTabChangesFocus(true);
    m_list->setMaximumHeight(110);
    m_list->setMinimumHeight(m_list->fontMetrics().lineSpacing() * 4); // the advice must not squeeze it
    auto* reset = new QPushButton(u"恢复默认"_s, this);
    auto* listBox = new QGroupBox(u"时间服务器（每行一个，可写端口：主机:端口）"_s, this);
    auto* listLayout = new QHBoxLayout(listBox);
    listLayout->addWidget(m_list, 1);
    listLayout->addWidget(reset, 0, Qt::AlignTop);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_again);
    buttons->addWidget(m_correct);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_offset);
    layout->addWidget(m_servers);
    layout->addSpacing(4);
    layout->addWidget(m_corrected);
    layout->addWidget(m_computer);
    layout->addWidget(m_next);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    layout->addWidget(m_standard);
    layout->addWidget(listBox);
    setMinimumWidth(560);

    connect(m_again, &QPushButton::clicked, this, &ClockWindow::query);
    connect(m_correct, &QPushButton::clicked, this, &ClockWindow::synchronise);
    connect(reset, &QPushButton::clicked, this,
            [this] { m_list->setPlainText(TimeServers::defaults().join(u'\n')); });

    // The switch is Tickbell's own, in its tickbell.ini: a running Tickbell sees the change.
    followOptions();
    connect(&m_options, &ProgramOptions::changedOnDisk, this, &ClockWindow::followOptions);
    m_options.watch();
    connect(m_standard, &QCheckBox::toggled, this, [this](bool on) {
        if (m_options.flag(QLatin1String(ProgramOptions::kStandardTime), false) == on)
            return;
        QString why;
        if (!m_options.setValue(QLatin1String(ProgramOptions::kStandardTime), on, &why))
            m_status->setText(why);
    });

    m_tick.setInterval(100);
    connect(&m_tick, &QTimer::timeout, this, &ClockWindow::showClock);
    m_tick.start();
    showClock();
}

void ClockWindow::followOptions()
{
    m_standard->setChecked(m_options.flag(QLatin1String(ProgramOptions::kStandardTime), false));
}

QStringList ClockWindow::serverLines() const
{
    QStringList lines;
    for (const QString& line : m_list->toPlainText().split(u'\n')) {
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    }
    return lines;
}

void ClockWindow::saveServers()
{
    m_settings.setValue(QLatin1String(TimeServers::kKey), serverLines());
    m_settings.sync();
    if (const QString problem = ToolApp::saveProblem(m_settings); !problem.isEmpty())
        qCWarning(lcTools, "%s", qUtf8Printable(problem));
}

void ClockWindow::query()
{
    if (m_asking)
        return;
    const QStringList lines = serverLines();
    saveServers();
    if (lines.isEmpty()) {
        showResult({});
        m_status->setText(u"没有时间服务器：请在列表里填写至少一个"_s);
        emit queryFinished();
        return;
    }
    m_asking = true;
    m_offset->setText(u"正在询问时间服务器..."_s);
    m_servers->clear();
    m_status->clear();
    m_again->setEnabled(false);
    m_network.measure(lines, this, [this](const QList<ServerAnswer>& answers) {
        m_asking = false;
        m_again->setEnabled(true);
        showResult(answers);
        emit queryFinished();
    });
}

void ClockWindow::showResult(const QList<ServerAnswer>& answers)
{
    m_agreement = agree(answers);
    qCInfo(lcTools, "measured: %s, %d of %d answers agree, %lld us",
           m_agreement.ok ? "taken" : "nothing taken", m_agreement.agreeing, m_agreement.answered,
           qlonglong(m_agreement.offsetUs));
    QStringList lines;
    for (qsizetype i = 0; i < answers.size(); ++i)
        lines << serverLine(answers[i], m_agreement.verdicts[i]);
    m_servers->setText(lines.join(u'\n'));
    if (!m_agreement.ok) {
        m_clock.setOffsetMs(0);
        if (m_agreement.answered == 1) {
            m_offset->setText(u"只有一台服务器应答，没有采用"_s);
            m_status->setText(u"列表里有几台服务器时，至少两台一致才采用，以免被一台出错的服务器带偏。"
                              "请检查网络，或换用别的服务器（可点“恢复默认”）。"_s);
        } else if (m_agreement.answered > 0) {
            m_offset->setText(u"服务器说法不一，没有采用"_s);
            m_status->setText(u"应答的服务器之间相差太多，没有过半数一致的结果，无法判断哪个对。"
                              "请换用可靠的服务器（可点“恢复默认”）。"_s);
        } else {
            m_offset->setText(u"没有查到标准时间"_s);
            m_status->setText(u"没有服务器给出可用的时间：请检查网络，或换用别的服务器。"_s);
        }
        showClock();
        return;
    }
    const qint64 offset = m_agreement.offsetUs;
    m_clock.setOffsetMs((offset + (offset < 0 ? -500 : 500)) / 1000);
    if (qAbs(offset) < 500)
        m_offset->setText(u"本机时钟与标准时间相差不到 1 毫秒"_s);
    else
        m_offset->setText(u"本机时钟比标准时间%1 %2 秒（±%3 毫秒）"_s.arg(
            slowOrFast(offset), seconds(offset), milliseconds(m_agreement.accuracyUs)));
    if (qAbs(offset) > ExchangeClock::kMostOffsetMs * 1000)
        m_status->setText(u"相差%1，太大了：Tickbell 不会按这个结果提醒，请先校正本机时钟（点“校正系统时间”，"
                          "或在系统设置里改正日期和时间）。"_s.arg(roughDuration(offset / 1000)));
    else if (qAbs(offset) >= 1'000'000)
        m_status->setText(u"相差一秒以上，建议点“校正系统时间”。"_s);
    showClock();
}

void ClockWindow::showClock()
{
    const QDateTime computer = ExchangeClock::beijing(m_clock.computer().now());
    QString local;
    if (const QDateTime here = m_clock.computer().now(); here.offsetFromUtc() != computer.offsetFromUtc())
        local = u"（本地 %1）"_s.arg(here.toString(u"HH:mm:ss"_s));
    m_computer->setText(u"按本机时钟：北京时间 %1%2"_s.arg(dateAndTime(computer), local));
    const bool corrected = m_agreement.ok;
    const QDateTime now = corrected ? m_clock.beijingNow() : computer;
    m_corrected->setText(corrected ? u"标准时间：北京时间 %1"_s.arg(dateAndTime(now))
                                   : u"标准时间：没有查到"_s);
    const KeyMoment next = nextKeyMoment(now, m_calendar);
    if (!next.at.isValid()) {
        m_next->clear();
        return;
    }
    const QString when =
        next.at.date() == now.date() ? next.at.toString(u"H:mm"_s) : next.at.toString(u"M月d日 H:mm"_s);
    m_next->setText(
        u"下一个关键时刻（北京时间）：%1 %2，还有 %3"_s.arg(when, next.name, waitText(now.msecsTo(next.at))));
}

void ClockWindow::synchronise()
{
    m_correct->setEnabled(false);
    m_status->setText(u"正在询问系统..."_s);
    // Switching on what is on already changes nothing: then the time service itself is the fault.
    m_sync.isSyncOn(this, [this](std::optional<bool> on) {
        if (!on.value_or(false)) {
            askSystem();
            return;
        }
        m_correct->setEnabled(true);
        const QString stays = m_agreement.ok && qAbs(m_agreement.offsetUs) >= 1'000'000
                                  ? u"本机仍比标准时间%1 %2 秒，说明系统的对时服务没有在正常工作："_s.arg(
                                        slowOrFast(m_agreement.offsetUs), seconds(m_agreement.offsetUs))
                                  : u"如果本机时间仍然不准，说明系统的对时服务没有在正常工作："_s;
        m_status->setText(u"系统的网络对时本来就已开启，这个按钮不会改变什么。"_s + stays +
                          u"请确认 systemd-timesyncd 或 chrony 正在运行、能连上时间服务器"
                          "（终端里 timedatectl timesync-status 可查看）。在此之前可勾选“按标准时间提醒”，"
                          "让 Tickbell 按标准时间提醒。"_s);
    });
}

void ClockWindow::askSystem()
{
    m_status->setText(u"正在请系统校正时间..."_s);
    m_sync.requestSync(this, [this](const QString& failure) {
        m_correct->setEnabled(true);
        m_status->setText(failure.isEmpty() ? u"系统已开始从网络校正时间，稍后点“再查一次”看结果。"_s
                                            : u"没能校正：%1"_s.arg(failure));
    });
}

void ClockWindow::closeEvent(QCloseEvent* event)
{
    saveServers();
    event->accept();
}
