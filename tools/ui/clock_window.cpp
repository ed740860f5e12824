// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/clock_window.h"

#include "core/day/key_moments.h"
#include "system/time_sync.h"
#include "tools/core/tools_log.h"
#include "tools/ui/tool_app.h"
#include "widgets/fonts.h"

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

const QString kServersKey = u"clocktool/servers"_s;

// 1234567 us -> "1.235"
QString seconds(qint64 us)
{
    const qint64 ms = ((us < 0 ? -us : us) + 500) / 1000;
    return u"%1.%2"_s.arg(ms / 1000).arg(ms % 1000, 3, 10, QChar(u'0'));
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

} // namespace

QStringList ClockWindow::defaultServers()
{
    // Public servers in China: Alibaba's and Tencent's, the National Time Service Center's, and
    // the NTP pool's Chinese zone.
    return {u"ntp.aliyun.com"_s, u"ntp.tencent.com"_s, u"ntp.ntsc.ac.cn"_s, u"cn.pool.ntp.org"_s};
}

ClockWindow::ClockWindow(TimeSync& sync, const TradingCalendar& calendar, QSettings& settings,
                         QWidget* parent)
    : ToolWindow(parent), m_sync(sync), m_calendar(calendar), m_settings(settings),
      m_offset(new QLabel(this)), m_detail(new QLabel(this)), m_corrected(new QLabel(this)),
      m_next(new QLabel(this)), m_status(new QLabel(this)), m_again(new QPushButton(u"再查一次(&R)"_s, this)),
      m_correct(new QPushButton(u"校正系统时间(&S)"_s, this)), m_list(new QPlainTextEdit(this))
{
    setObjectName(u"clocktool"_s);
    setWindowTitle(u"时间校正"_s);
    m_offset->setObjectName(u"offset"_s);
    m_detail->setObjectName(u"detail"_s);
    m_corrected->setObjectName(u"corrected"_s);
    m_next->setObjectName(u"nextMoment"_s);
    m_status->setObjectName(u"status"_s);
    m_list->setObjectName(u"servers"_s);
    m_correct->setObjectName(u"correct"_s);

    QFont big = Fonts::sans(16);
    big.setBold(true);
    m_offset->setFont(big);
    QFont clock = Fonts::sans(13);
    m_corrected->setFont(clock);
    m_next->setFont(clock);
    m_next->setWordWrap(true);
    m_status->setWordWrap(true);
    for (QLabel* l : {m_offset, m_detail, m_corrected, m_next, m_status})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_correct->setToolTip(u"请系统自己从网络校准时钟（需要管理员同意）"_s);

    const QStringList saved = m_settings.value(kServersKey, defaultServers()).toStringList();
    m_list->setPlainText(saved.join(u'\n'));
    m_list->setTabChangesFocus(true);
    m_list->setMaximumHeight(110);
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
    layout->addWidget(m_detail);
    layout->addSpacing(4);
    layout->addWidget(m_corrected);
    layout->addWidget(m_next);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    layout->addWidget(listBox);
    setMinimumWidth(520);

    connect(m_again, &QPushButton::clicked, this, &ClockWindow::query);
    connect(m_correct, &QPushButton::clicked, this, &ClockWindow::synchronise);
    connect(reset, &QPushButton::clicked, this,
            [this] { m_list->setPlainText(defaultServers().join(u'\n')); });
    m_clock.setInterval(100);
    connect(&m_clock, &QTimer::timeout, this, &ClockWindow::showClock);
    m_clock.start();
    showClock();
}

QList<SntpServer> ClockWindow::servers(QStringList* problems) const
{
    QList<SntpServer> list;
    const QStringList lines = m_list->toPlainText().split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        QString error;
        if (const std::optional<SntpServer> s = parseSntpServer(lines[i], &error))
            list << *s;
        else
            *problems << u"第 %1 行：%2"_s.arg(i + 1).arg(error);
        if (list.size() == 16) // enough, and a pasted page does not become a flood
            break;
    }
    return list;
}

void ClockWindow::saveServers()
{
    QStringList lines;
    for (const QString& line : m_list->toPlainText().split(u'\n')) {
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    }
    m_settings.setValue(kServersKey, lines);
    m_settings.sync();
    if (const QString problem = ToolApp::saveProblem(m_settings); !problem.isEmpty())
        qCWarning(lcTools, "%s", qUtf8Printable(problem));
}

void ClockWindow::query()
{
    if (m_query)
        return;
    QStringList problems;
    const QList<SntpServer> list = servers(&problems);
    saveServers();
    m_offset->setText(u"正在询问时间服务器..."_s);
    m_detail->clear();
    m_status->setText(problems.join(u'\n'));
    m_again->setEnabled(false);
    m_query = new SntpQuery(list, kTimeLimitMs, this);
    connect(m_query, &SntpQuery::finished, this, [this](const SntpResult& result) {
        m_query->deleteLater();
        m_query = nullptr;
        m_again->setEnabled(true);
        showResult(result);
        emit queryFinished();
    });
    m_query->start();
}

void ClockWindow::showResult(const SntpResult& r)
{
    if (!r.ok) {
        m_offsetUs.reset();
        m_offset->setText(u"没有查到标准时间"_s);
        const QString problems = m_status->text();
        m_status->setText(r.message + (problems.isEmpty() ? QString() : u'\n' + problems));
        showClock();
        return;
    }
    m_offsetUs = r.offsetUs;
    if (qAbs(r.offsetUs) < 500)
        m_offset->setText(u"本机时钟与标准时间相差不到 1 毫秒"_s);
    else
        m_offset->setText(
            u"本机时钟比标准时间%1 %2 秒"_s.arg(r.offsetUs > 0 ? u"慢"_s : u"快"_s, seconds(r.offsetUs)));
    const QString where = r.address == r.server ? r.server : u"%1（%2）"_s.arg(r.server, r.address);
    m_detail->setText(u"服务器 %1，往返 %2 毫秒"_s.arg(where).arg((r.roundTripUs + 500) / 1000));
    if (qAbs(r.offsetUs) >= 1'000'000)
        m_status->setText(u"相差一秒以上，建议点“校正系统时间”。"_s);
    showClock();
}

void ClockWindow::showClock()
{
    const QDateTime local = QDateTime::currentDateTime();
    const QDateTime now =
        m_offsetUs ? local.addMSecs((*m_offsetUs + (*m_offsetUs < 0 ? -500 : 500)) / 1000) : local;
    const QString time = now.toString(u"yyyy年M月d日 HH:mm:ss.zzz"_s);
    m_corrected->setText(m_offsetUs ? u"校正后的时间：%1"_s.arg(time)
                                    : u"本机时间（未校正）：%1"_s.arg(time));
    const KeyMoment next = nextKeyMoment(now, m_calendar);
    if (!next.at.isValid()) {
        m_next->clear();
        return;
    }
    const QString when =
        next.at.date() == now.date() ? next.at.toString(u"H:mm"_s) : next.at.toString(u"M月d日 H:mm"_s);
    m_next->setText(u"下一个关键时刻：%1 %2，还有 %3"_s.arg(when, next.name, waitText(now.msecsTo(next.at))));
}

void ClockWindow::synchronise()
{
    m_correct->setEnabled(false);
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
