// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/commands/launch_targets.h"
#include "platform/linux/desktop_launcher.h"
#include "platform/linux/launch_plan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool writeFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return false;
    if (executable)
        return f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
    return true;
}

class FakeStarter final : public ProcessStarter {
public:
    bool startDetached(const QString& startedProgram, const QStringList& startedArguments,
                       const QString& startedIn, QString* error) override
    {
        calls << u"start"_s;
        program = startedProgram;
        arguments = startedArguments;
        workingDirectory = startedIn;
        if (!succeed)
            *error = u"refused"_s;
        return succeed;
    }
    bool openUrl(const QUrl& opened) override
    {
        calls << u"open"_s;
        url = opened;
        return succeed;
    }

    bool succeed = true;
    QStringList calls;
    QString program;
    QStringList arguments;
    QString workingDirectory;
    QUrl url;
};

const QString kWineExec =
    u"env WINEPREFIX=\"/home/u/.wine\" wine C:\\\\\\\\windows\\\\\\\\command\\\\\\\\start.exe "
    u"/Unix /home/u/.wine/dosdevices/c:/x.lnk"_s;

} // namespace

// How a path or address is started on Linux: the plan, then the launcher that follows it.
class TestLaunchPlan : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void executableStartsInItsOwnFolder()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(u"trader"_s));
        const QString exe = path(u"trader/client"_s);
        QVERIFY(writeFile(exe, "#!/bin/sh\n", true));
        const LaunchPlan plan = planOpenPath(exe);
        QCOMPARE(plan.kind, LaunchPlan::Kind::StartProgram);
        QCOMPARE(plan.program, exe);
        QVERIFY(plan.arguments.isEmpty());
        QCOMPARE(plan.workingDirectory, path(u"trader"_s));
    }

    void shellMetacharactersAreOnePlainProgram()
    {
        const QString name = u"a b;$(rm -rf x)'\"\\`.sh"_s;
        const QString exe = path(name);
        QVERIFY(writeFile(exe, "#!/bin/sh\n", true));
        const LaunchPlan plan = planOpenPath(exe);
        QCOMPARE(plan.kind, LaunchPlan::Kind::StartProgram);
        QCOMPARE(plan.program, exe);
        QVERIFY(plan.program.endsWith(u"/a b;$(rm -rf x)'\"\\`.sh"_s));
        QVERIFY(plan.arguments.isEmpty());
        QCOMPARE(plan.workingDirectory, m_dir.path());
    }

    void plainFileOpensWithTheDesktop()
    {
        const QString doc = path(u"规则 1.txt"_s);
        QVERIFY(writeFile(doc, "x"));
        const LaunchPlan plan = planOpenPath(doc);
        QCOMPARE(plan.kind, LaunchPlan::Kind::OpenWithDesktop);
        QCOMPARE(plan.url, QUrl::fromLocalFile(doc));
        QVERIFY(plan.url.isLocalFile());
        QCOMPARE(plan.url.toLocalFile(), doc);
    }

    void missingOrEmptyPathFails_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("empty") << QString();
        QTest::newRow("missing") << u"/nonexistent/tickbell/client.exe"_s;
        QTest::newRow("Windows path") << u"C:\\Trading\\client.exe"_s;
    }
    void missingOrEmptyPathFails()
    {
        QFETCH(QString, target);
        const LaunchPlan plan = planOpenPath(target);
        QCOMPARE(plan.kind, LaunchPlan::Kind::Fail);
        QVERIFY(!plan.reason.isEmpty());
    }

    void desktopEntries_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("workingDirectory");

        QTest::newRow("quoted program, %U removed, Path")
            << u"trader.desktop"_s
            << u"[Desktop Entry]\nType=Application\nName=交易\n"
               u"Exec=\"/opt/my trader/client\" --data \"/home/u/my data\" %U\nPath=/opt/my trader\n"_s
            << u"/opt/my trader/client"_s << QStringList{u"--data"_s, u"/home/u/my data"_s}
            << u"/opt/my trader"_s;
        QTest::newRow("%f removed between arguments")
            << u"f.desktop"_s << u"[Desktop Entry]\nExec=client -a %f -b\n"_s << u"client"_s
            << QStringList{u"-a"_s, u"-b"_s} << QString();
        QTest::newRow("%% is a percent sign")
            << u"pct.desktop"_s << u"[Desktop Entry]\nType=Application\nExec=tool 100%% %i\n"_s << u"tool"_s
            << QStringList{u"100%"_s} << QString();
        QTest::newRow("escaped quote inside quotes")
            << u"q.desktop"_s << u"[Desktop Entry]\nExec=\"/opt/a \\\\\"b\\\\\"/run\"\n"_s
            << u"/opt/a \"b\"/run"_s << QStringList() << QString();
        QTest::newRow("Wine shortcut")
            << u"x.desktop"_s
            << u"[Desktop Entry]\nName=x\nExec="_s + kWineExec +
                   u"\nType=Application\nStartupNotify=true\nPath=/home/u/.wine/dosdevices/c:/Program "
                   u"Files/x\n"
                   u"Icon=1A2B_x.0\nStartupWMClass=x.exe\n"_s
            << u"env"_s
            << QStringList{u"WINEPREFIX=/home/u/.wine"_s, u"wine"_s, u"C:\\windows\\command\\start.exe"_s,
                           u"/Unix"_s, u"/home/u/.wine/dosdevices/c:/x.lnk"_s}
            << u"/home/u/.wine/dosdevices/c:/Program Files/x"_s;
        QTest::newRow("other groups ignored, CR LF lines, upper-case suffix")
            << u"grp.DESKTOP"_s
            << u"# made by hand\r\n[Desktop Entry]\r\nExec=client --main\r\n\r\n[Desktop Action new]\r\n"
               u"Exec=client --new\r\nPath=/elsewhere\r\n"_s
            << u"client"_s << QStringList{u"--main"_s} << QString();
    }
    void desktopEntries()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, entry);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, workingDirectory);

        const QString file = path(fileName);
        QVERIFY(writeFile(file, entry.toUtf8()));
        const LaunchPlan plan = planOpenPath(file);
        QCOMPARE(plan.kind, LaunchPlan::Kind::StartProgram);
        QCOMPARE(plan.program, program);
        QCOMPARE(plan.arguments, arguments);
        QCOMPARE(plan.workingDirectory, workingDirectory);
    }

    void linkEntryOpensItsUrl()
    {
        const QString file = path(u"page.desktop"_s);
        QVERIFY(writeFile(file, "[Desktop Entry]\nType=Link\nName=Quotes\nURL=http://quotes.example/hq/\n"));
        const LaunchPlan plan = planOpenPath(file);
        QCOMPARE(plan.kind, LaunchPlan::Kind::OpenWithDesktop);
        QCOMPARE(plan.url, QUrl(u"http://quotes.example/hq/"_s));
    }

    void unusableEntriesFail_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("no Exec") << u"[Desktop Entry]\nType=Application\nName=x\n"_s;
        QTest::newRow("empty Exec") << u"[Desktop Entry]\nExec=\n"_s;
        QTest::newRow("unbalanced quote") << u"[Desktop Entry]\nExec=\"/opt/client --x\n"_s;
        QTest::newRow("only field codes") << u"[Desktop Entry]\nExec=%U %f\n"_s;
        QTest::newRow("a directory entry") << u"[Desktop Entry]\nType=Directory\nExec=client\n"_s;
        QTest::newRow("link without URL") << u"[Desktop Entry]\nType=Link\nName=x\n"_s;
        QTest::newRow("Exec outside the entry group") << u"[Desktop Action x]\nExec=client\n"_s;
    }
    void unusableEntriesFail()
    {
        QFETCH(QString, entry);
        const QString file = path(u"bad.desktop"_s);
        QVERIFY(writeFile(file, entry.toUtf8()));
        const LaunchPlan plan = planOpenPath(file);
        QCOMPARE(plan.kind, LaunchPlan::Kind::Fail);
        QVERIFY(!plan.reason.isEmpty());
    }

    void launcherFollowsThePlan_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("succeed");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("result");
        QTest::newRow("program started") << u"program"_s << true << QStringList{u"start"_s} << true;
        QTest::newRow("program refused") << u"program"_s << false << QStringList{u"start"_s} << false;
        QTest::newRow("desktop entry started") << u"entry"_s << true << QStringList{u"start"_s} << true;
        QTest::newRow("file opened") << u"file"_s << true << QStringList{u"open"_s} << true;
        QTest::newRow("file not opened") << u"file"_s << false << QStringList{u"open"_s} << false;
        QTest::newRow("missing path") << u"missing"_s << true << QStringList() << false;
        QTest::newRow("empty path") << u"empty"_s << true << QStringList() << false;
    }
    void launcherFollowsThePlan()
    {
        QFETCH(QString, kind);
        QFETCH(bool, succeed);
        QFETCH(QStringList, calls);
        QFETCH(bool, result);

        QString target;
        if (kind == u"program") {
            target = path(u"run.sh"_s);
            QVERIFY(writeFile(target, "#!/bin/sh\n", true));
        } else if (kind == u"entry") {
            target = path(u"run.desktop"_s);
            QVERIFY(writeFile(target, "[Desktop Entry]\nExec=/opt/client --x %U\nPath=/opt\n"));
        } else if (kind == u"file") {
            target = path(u"notes.txt"_s);
            QVERIFY(writeFile(target, "x"));
        } else if (kind == u"missing") {
            target = path(u"nothing-here"_s);
        }

        FakeStarter starter;
        starter.succeed = succeed;
        DesktopLauncher launcher(starter);
        QCOMPARE(launcher.openPath(target), result);
        QCOMPARE(starter.calls, calls);
        if (kind == u"program") {
            QCOMPARE(starter.program, target);
            QVERIFY(starter.arguments.isEmpty());
            QCOMPARE(starter.workingDirectory, m_dir.path());
        } else if (kind == u"entry") {
            QCOMPARE(starter.program, u"/opt/client"_s);
            QCOMPARE(starter.arguments, QStringList{u"--x"_s});
            QCOMPARE(starter.workingDirectory, u"/opt"_s);
        } else if (kind == u"file") {
            QCOMPARE(starter.url, QUrl::fromLocalFile(target));
        }
    }

    void launcherOpensAddresses_data()
    {
        QTest::addColumn<bool>("succeed");
        QTest::newRow("browser opens") << true;
        QTest::newRow("no browser") << false;
    }
    void launcherOpensAddresses()
    {
        QFETCH(bool, succeed);
        FakeStarter starter;
        starter.succeed = succeed;
        DesktopLauncher launcher(starter);
        const QString address = LaunchTargets::webAddress(LaunchTarget::FeedbackPage, u"1.32"_s);
        QCOMPARE(launcher.openAddress(address), succeed);
        QCOMPARE(starter.calls, QStringList{u"open"_s});
        QCOMPARE(starter.url, LaunchTargets::webUrl(address));
        QCOMPARE(starter.url.fragment(), u"3"_s);
    }
};

QTEST_GUILESS_MAIN(TestLaunchPlan)
#include "tst_launch_plan.moc"
