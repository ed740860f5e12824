// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/launch_plan.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The value escapes of desktop entries: \s \n \t \r \\ ; others are kept for the Exec rules.
// The Exec rules then unescape once more, so "\\\\" in a file is one literal backslash.
QString unescapeValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value[++i];
        switch (n.unicode()) {
        case 's': out += u' '; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'r': out += u'\r'; break;
        case '\\': out += u'\\'; break;
        default:
            out += u'\\';
            out += n;
            break;
        }
    }
    return out;
}

} // namespace

bool splitExecLine(const QString& exec, QStringList* argv)
{
    argv->clear();
    QString current;
    bool inArg = false;
    QChar quote;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (!quote.isNull()) {
            if (c == quote) {
                quote = QChar();
            } else if (quote == u'"' && c == u'\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else {
                current += c;
            }
            continue;
        }
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inArg)
                *argv << current;
            current.clear();
            inArg = false;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            inArg = true;
        } else if (c == u'\\' && i + 1 < exec.size()) {
            current += exec[++i];
            inArg = true;
        } else {
            current += c;
            inArg = true;
        }
    }
    if (!quote.isNull())
        return false;
    if (inArg)
        *argv << current;
    return true;
}

QStringList desktopEntryCommand(const QString& entryText, QString* error, QString* workingDirectory,
                                QUrl* link)
{
    QString type, exec, path, url;
    bool inEntry = false;
    const QStringList lines = entryText.split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == u"[Desktop Entry]";
            continue;
        }
        if (!inEntry || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == u"Type")
            type = value;
        else if (key == u"Exec")
            exec = unescapeValue(value);
        else if (key == u"Path")
            path = value;
        else if (key == u"URL")
            url = value;
    }
    if (type == u"Link") {
        if (link)
            *link = QUrl(url);
        if (url.isEmpty())
            *error = u"the link entry has no URL"_s;
        return {};
    }
    if (!type.isEmpty() && type != u"Application") {
        *error = u"a desktop entry of type %1 cannot be started"_s.arg(type);
        return {};
    }
    QStringList argv;
    if (exec.isEmpty() || !splitExecLine(exec, &argv) || argv.isEmpty()) {
        *error = u"the desktop entry has no usable Exec line"_s;
        return {};
    }
    // Field codes stand for files or URLs handed over; nothing is handed over here.
    QStringList command;
    for (const QString& arg : std::as_const(argv)) {
        if (arg.size() == 2 && arg[0] == u'%') {
            if (arg[1] == u'%')
                command << u"%"_s;
            continue;
        }
        QString a = arg;
        command << a.replace(u"%%"_s, u"%"_s);
    }
    if (command.isEmpty()) {
        *error = u"the desktop entry's Exec line names no program"_s;
        return {};
    }
    if (workingDirectory)
        *workingDirectory = path;
    return command;
}

LaunchPlan planOpenPath(const QString& path)
{
    LaunchPlan plan;
    if (path.isEmpty()) {
        plan.reason = u"no path given"_s;
        return plan;
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        plan.reason = u"%1 does not exist"_s.arg(path);
        return plan;
    }
    const QString absolute = info.absoluteFilePath();
    if (info.isFile() && info.suffix().compare(u"desktop"_s, Qt::CaseInsensitive) == 0) {
        QFile file(absolute);
        if (!file.open(QIODevice::ReadOnly) || file.size() > 1024 * 1024) {
            plan.reason = u"cannot read %1"_s.arg(absolute);
            return plan;
        }
        QString error, workDir;
        QUrl link;
        const QStringList command =
            desktopEntryCommand(QString::fromUtf8(file.readAll()), &error, &workDir, &link);
        if (!link.isEmpty()) {
            plan.kind = LaunchPlan::Kind::OpenWithDesktop;
            plan.url = link;
            return plan;
        }
        if (command.isEmpty()) {
            plan.reason = u"%1: %2"_s.arg(absolute, error);
            return plan;
        }
        plan.kind = LaunchPlan::Kind::StartProgram;
        plan.program = command.first();
        plan.arguments = command.mid(1);
        plan.workingDirectory = workDir;
        return plan;
    }
    if (info.isFile() && info.isExecutable()) {
        plan.kind = LaunchPlan::Kind::StartProgram;
        plan.program = absolute;
        // Trading clients look for their data beside themselves.
        plan.workingDirectory = info.absolutePath();
        return plan;
    }
    plan.kind = LaunchPlan::Kind::OpenWithDesktop;
    plan.url = QUrl::fromLocalFile(absolute);
    return plan;
}
