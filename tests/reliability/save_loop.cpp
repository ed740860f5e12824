// SPDX-License-Identifier: GPL-3.0-or-later
// Saves two different settings records to one config.txt, one after the other, until killed:
// the writer of the settings dialog (SettingsFile::save) under SIGKILL at random moments.
//
//   save_loop CONFIG_PATH          save A, B, A, B, ... to CONFIG_PATH; prints "saving" once
//                                  the first save is done; exits 1 on a failed save
//   save_loop --expected DIR       write what each record looks like on disk to DIR/a.txt and
//                                  DIR/b.txt, through the same writer
#include "core/settings/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

const QtCodePage kCodePage;

// Two records that differ in every field, and in length, so that a mix of both shows.
Settings recordA()
{
    Settings s = Settings::defaults();
    s.law1 = u"回调到支撑位才买<br>不追涨停的股票"_s;
    s.law2 = u"到目标价先卖一半<br>亏损百分之五止损"_s;
    s.law3 = u"趋势线不破就持有"_s;
    s.law4 = u"指数下跌时空仓"_s;
    s.qqnews = 1;
    s.flashweb = 0;
    s.ssoft = 1;
    s.shutdown15 = 0;
    s.mysoft = u"/opt/交易/client"_s;
    return s;
}

Settings recordB()
{
    Settings s = Settings::defaults();
    s.law1 = QString(2000, u'买') + u"<br>"_s + QString(2000, u'x');
    s.law2 = u"14:30 前不追高; mysoft=/tmp/not-a-record"_s;
    s.law3 = QString(3000, u'持');
    s.law4 = QString();
    s.qqnews = 0;
    s.flashweb = 1;
    s.ssoft = 0;
    s.shutdown15 = 1;
    s.mysoft = u"/home/user/My Trader/run=1.sh"_s;
    return s;
}

bool save(const QString& path, const Settings& settings)
{
    // The default file is only read by load(); the program passes plug/config.txt beside it.
    const SettingsFile file(path, QFileInfo(path).absolutePath() + u"/plug/config.txt"_s, kCodePage);
    QString why;
    if (file.save(settings, &why))
        return true;
    std::fprintf(stderr, "save_loop: cannot save %s: %s\n", qUtf8Printable(path), qUtf8Printable(why));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == u"--expected") {
        const QDir dir(args[2]);
        return save(dir.filePath(u"a.txt"_s), recordA()) && save(dir.filePath(u"b.txt"_s), recordB()) ? 0 : 1;
    }
    if (args.size() != 2) {
        std::fputs("usage: save_loop CONFIG_PATH | save_loop --expected DIR\n", stderr);
        return 2;
    }
    const Settings records[] = {recordA(), recordB()};
    for (unsigned long n = 0;; ++n) {
        if (!save(args[1], records[n % 2]))
            return 1;
        if (n == 0) {
            std::puts("saving");
            std::fflush(stdout);
        }
    }
}
