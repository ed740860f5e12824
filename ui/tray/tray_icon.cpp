// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/tray_icon.h"

#include "core/day/trading_day.h"
#include "core/services/clock.h"
#include "platform/desktop_notifier.h"
#include "platform/desktop_tray.h"
#include "ui/mainwindow/main_window.h"
#include "ui/tray/docked_icon.h"
#include "ui/tray/tray_pictures.h"

#include <QMenu>
#include <QTimer>

using namespace Qt::StringLiterals;

TrayIcon::TrayIcon(TradingDay& day, Form1& window, DesktopTray* dockInto, QObject* parent)
    : QObject(parent), m_day(day), m_window(window), m_menu(std::make_unique<QMenu>()), m_dockInto(dockInto)
{
    m_icon.setObjectName(u"TrayIcon"_s);
    m_menu->setObjectName(u"trayMenu"_s);
    showWindow = m_menu->addAction(u"显示主窗口"_s, &m_window, &Form1::bringToFront);
    voice = m_menu->addAction(u"语音提醒"_s);
    voice->setCheckable(true);
    voice->setChecked(m_day.voice());
    connect(voice, &QAction::toggled, &m_day, &TradingDay::setVoice);
    connect(&m_day, &TradingDay::voiceChanged, voice, &QAction::setChecked);
    calendar = m_menu->addAction(u"交易日历"_s, &m_window, &Form1::openCalendar);
    m_menu->addSeparator();
    exit = m_menu->addAction(u"退出"_s, &m_day, &TradingDay::exitProgram);
    m_icon.setContextMenu(m_menu.get());

    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            m_window.bringToFront();
    });
    // The day's status changes after the tick's clock line: the view follows both.
    connect(&m_day, &TradingDay::clockChanged, this, &TrayIcon::update);
    connect(&m_day, &TradingDay::statusChanged, this, &TrayIcon::update);

    if (m_dockInto) {
        m_docked = std::make_unique<DockedIcon>(*m_menu);
        connect(m_docked.get(), &DockedIcon::clicked, &m_window, &Form1::bringToFront);
    }

    m_messageEnd = new QTimer(this);
    m_messageEnd->setSingleShot(true);
    connect(m_messageEnd, &QTimer::timeout, this, [this] {
        if (!m_wanted)
            m_icon.hide();
    });
    update();
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setVisible(bool on)
{
    m_wanted = on;
    if (!m_docked) {
        m_icon.setVisible(on || m_messageEnd->isActive());
        return;
    }
    if (on == m_docked->isVisible())
        return;
    // Asked for before it is shown, as Qt's own icon is.
    if (on) {
        m_docked->createWinId();
        m_dockInto->dock(m_docked->windowHandle());
    }
    m_docked->setVisible(on);
}

bool TrayIcon::isVisible() const
{
    return m_docked ? m_docked->isVisible() : m_icon.isVisible();
}

void TrayIcon::update()
{
    const QDateTime now = m_day.clock().now();
    const TrayView view =
        trayView(now, m_day.status(), marketPhase(now, m_day.calendar()), m_day.nextMoment(now));
    if (!m_pictureSet || view.picture != m_view.picture) {
        m_icon.setIcon(trayPicture(view.picture));
        if (m_docked)
            m_docked->setIcon(trayPicture(view.picture));
    }
    if (view.toolTip != m_view.toolTip) {
        m_icon.setToolTip(view.toolTip);
        if (m_docked)
            m_docked->setToolTip(view.toolTip);
    }
    m_pictureSet = true;
    m_view = view;
}

void TrayIcon::showMessage(const QString& summary, const QString& body)
{
    if (!m_icon.isVisible())
        m_icon.show();
    m_messageEnd->start(kNotificationShownMs);
    // A message without text is not shown at all in Windows' notification area.
    if (body.isEmpty())
        m_icon.showMessage(u"Tickbell"_s, summary, QSystemTrayIcon::Information, kNotificationShownMs);
    else
        m_icon.showMessage(summary, body, QSystemTrayIcon::Information, kNotificationShownMs);
}
