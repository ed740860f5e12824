// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/desktop_channels.h"

#include "core/day/trading_day.h"
#include "core/settings/desktop_switches.h"
#include "platform/desktop_notifier.h"
#include "platform/desktop_tray.h"
#include "ui/mainwindow/main_window.h"
#include "ui/tray/tray_icon.h"

#include <QMenu>
#include <QSignalBlocker>
#include <QSystemTrayIcon>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

void show(QAction* item, bool enabled, bool checked)
{
    const QSignalBlocker quiet(item);
    item->setEnabled(enabled);
    item->setChecked(checked);
}

} // namespace

DesktopChannels::DesktopChannels(TradingDay& day, Form1& window, DesktopSwitches& switches,
                                 DesktopNotifier* notifier, std::function<bool()> hasTray, QObject* parent)
    : DesktopChannels(day, window, switches, notifier, std::move(hasTray), nullptr, parent)
{
}

DesktopChannels::DesktopChannels(TradingDay& day, Form1& window, DesktopSwitches& switches,
                                 DesktopNotifier* notifier, DesktopTray* tray)
    : DesktopChannels(day, window, switches, notifier, {}, tray, nullptr)
{
}

DesktopChannels::DesktopChannels(TradingDay& day, Form1& window, DesktopSwitches& switches,
                                 DesktopNotifier* notifier, std::function<bool()> hasTray, DesktopTray* tray,
                                 QObject* parent)
    : QObject(parent), m_day(day), m_window(window), m_switches(switches), m_notifier(notifier),
      m_hasTray(std::move(hasTray)), m_desktopTray(tray)
{
    // Where the platform watches the tray, Qt is not asked before a tray is there: Qt binds its
    // icons to the kind of tray it finds first.
    if (!m_hasTray && m_desktopTray)
        m_hasTray = [tray] { return tray->notifierWatcher() || tray->x11Tray(); };
    else if (!m_hasTray)
        m_hasTray = &QSystemTrayIcon::isSystemTrayAvailable;
    // At the end of 编辑, after the design's own items.
    QMenu* edit = m_window.editMenu();
    menu = edit->addMenu(u"提醒方式"_s);
    menu->setObjectName(u"reminderChannels"_s);
    menu->setStyle(edit->style()); // the design's check marks
    // The setter as a function, not a pointer to member: one captured in a slot's lambda reads
    // outside its frame under GCC 12's AddressSanitizer.
    const auto addSwitch = [this](const char* name, const QString& caption, std::function<void(bool)> set) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, set = std::move(set)](bool on) {
            set(on);
            refresh();
        });
        return item;
    };
    trayItem = addSwitch("trayIconItem", u"托盘图标"_s, [this](bool on) { m_switches.setTrayIcon(on); });
    notificationsItem =
        addSwitch("notificationsItem", u"桌面通知"_s, [this](bool on) { m_switches.setNotifications(on); });
    menu->addSeparator();
    closeToTrayItem = addSwitch("closeToTrayItem", u"关闭时隐藏到托盘"_s,
                                [this](bool on) { m_switches.setCloseToTray(on); });
    connect(menu, &QMenu::aboutToShow, this, &DesktopChannels::refresh);

    connect(&m_day, &TradingDay::keyMoment, this, &DesktopChannels::notify);
    connect(&m_day, &TradingDay::clockWarning, this, &DesktopChannels::notify);
    connect(&m_day, &TradingDay::ownReminder, this, [this](const QString& text) {
        notify({u"我的提醒"_s, text});
    });
    connect(&m_day, &TradingDay::calendarNotice, this, [this](const QString& text) {
        if (!m_switches.takeCalendarNotice(m_day.exchangeToday()))
            return;
        m_window.showCalendarNotice(text);
        notify({u"休市日历提示"_s, text});
    });

    m_lookAgain = new QTimer(this);
    m_lookAgain->setInterval(60 * 1000);
    connect(m_lookAgain, &QTimer::timeout, this, &DesktopChannels::refresh);
    m_retray = new QTimer(this);
    m_retray->setSingleShot(true);
    m_retray->setInterval(500);
    connect(m_retray, &QTimer::timeout, this, [this] {
        m_tray.reset(); // made again by refresh, where a tray is and it is switched on
        refresh();
    });
    if (m_desktopTray)
        connect(m_desktopTray, &DesktopTray::changed, m_retray, qOverload<>(&QTimer::start));
    refresh();
}

DesktopChannels::~DesktopChannels() = default;

TrayIcon& DesktopChannels::makeTray()
{
    if (m_tray)
        return *m_tray;
    DesktopTray* dockInto = nullptr;
    if (m_desktopTray) {
        if (!m_qtOnBus)
            m_qtOnBus = m_desktopTray->notifierWatcher();
        // Qt's icon is bound to a status-notifier tray that has gone: one of our own for the X11 tray.
        if (*m_qtOnBus && !m_desktopTray->notifierWatcher() && m_desktopTray->x11Tray())
            dockInto = m_desktopTray;
    }
    m_tray = std::make_unique<TrayIcon>(m_day, m_window, dockInto);
    return *m_tray;
}

bool DesktopChannels::notificationsHere()
{
    if (m_notifier)
        return m_notifier->available();
    return m_hasTray() && QSystemTrayIcon::supportsMessages();
}

void DesktopChannels::refresh()
{
    const bool trayHere = m_hasTray();
    const bool trayOn = trayHere && m_switches.trayIcon();
    if (trayOn)
        makeTray().setVisible(true);
    else if (m_tray)
        m_tray->setVisible(false);
    show(trayItem, trayHere, trayOn);
    show(closeToTrayItem, trayOn, trayOn && m_switches.closeToTray());
    m_window.setCloseToTray(trayOn && m_switches.closeToTray());
    const bool notificationsOn = notificationsHere();
    show(notificationsItem, notificationsOn, notificationsOn && m_switches.notifications());
    // Wanted: a tray may come with a panel started after the program, or go with it, and a
    // window hidden in it must come back.
    if (!m_switches.trayIcon())
        m_lookAgain->stop();
    else if (!m_lookAgain->isActive())
        m_lookAgain->start();
}

void DesktopChannels::notify(const DesktopNotice& notice)
{
    if (!m_switches.notifications())
        return;
    if (m_notifier) {
        if (m_notifier->available())
            m_notifier->notify(notice.summary, notice.body);
    } else if (m_hasTray() && QSystemTrayIcon::supportsMessages()) {
        makeTray().showMessage(notice.summary, notice.body);
    }
}
