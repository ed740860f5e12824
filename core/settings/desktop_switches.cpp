// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/desktop_switches.h"

#include "core/settings/program_options.h"

#include <QLoggingCategory>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcSwitches, "tickbell.settings")

namespace {

constexpr auto kTrayIcon = "desktop/trayIcon";
constexpr auto kNotifications = "desktop/notifications";
constexpr auto kCloseToTray = "desktop/closeToTray";
constexpr auto kCalendarNoticeDay = "desktop/calendarNoticeDay";

} // namespace

bool DesktopSwitches::flag(const char* key, bool fallback) const
{
    return m_options.flag(QLatin1String(key), fallback);
}

void DesktopSwitches::set(const char* key, const QVariant& value)
{
    // The choice holds for this run even when the file cannot take it.
    QString why;
    if (!m_options.setValue(QLatin1String(key), value, &why))
        qCWarning(lcSwitches, "%s", qUtf8Printable(why));
}

bool DesktopSwitches::trayIcon() const
{
    return flag(kTrayIcon, true);
}

void DesktopSwitches::setTrayIcon(bool on)
{
    set(kTrayIcon, on);
}

bool DesktopSwitches::notifications() const
{
    return flag(kNotifications, true);
}

void DesktopSwitches::setNotifications(bool on)
{
    set(kNotifications, on);
}

bool DesktopSwitches::closeToTray() const
{
    return flag(kCloseToTray, false);
}

void DesktopSwitches::setCloseToTray(bool on)
{
    set(kCloseToTray, on);
}

bool DesktopSwitches::takeCalendarNotice(QDate today)
{
    const QString day = today.toString(Qt::ISODate);
    if (m_options.value(QLatin1String(kCalendarNoticeDay)).toString() == day)
        return false;
    set(kCalendarNoticeDay, day);
    return true;
}
