// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows/shell_launcher.h"

#include "core/commands/launch_targets.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <windows.h>

#include <shellapi.h>

Q_LOGGING_CATEGORY(lcLaunch, "tickbell.launch")

using namespace Qt::StringLiterals;

namespace {

bool shellOpen(const QString& target, const QString& folder)
{
    const std::wstring file = target.toStdWString();
    const std::wstring directory = folder.toStdWString();
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, folder.isEmpty() ? nullptr : directory.c_str(),
                      SW_SHOWNORMAL));
    if (result > 32)
        return true;
    qCWarning(lcLaunch, "cannot open %s: %s", qUtf8Printable(target),
              qUtf8Printable(qt_error_string(int(GetLastError()))));
    return false;
}

} // namespace

bool ShellLauncher::openPath(const QString& path)
{
    if (path.isEmpty()) {
        qCWarning(lcLaunch, "cannot open: no path given");
        return false;
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        qCWarning(lcLaunch, "cannot open: %s does not exist", qUtf8Printable(path));
        return false;
    }
    // Everything starts in its own folder: trading clients look for their data beside themselves.
    // A shortcut's own start folder, where it has one, still wins.
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    return shellOpen(QDir::toNativeSeparators(info.absoluteFilePath()), QDir::toNativeSeparators(folder));
}

bool ShellLauncher::openAddress(const QString& address)
{
    // Only web pages: "open" would also start a program whose path were handed over here.
    const QUrl url = LaunchTargets::webUrl(address);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http"_s && scheme != u"https"_s)) {
        qCWarning(lcLaunch, "not a web address: %s", qUtf8Printable(address));
        return false;
    }
    return shellOpen(url.toString(QUrl::FullyEncoded), QString());
}
