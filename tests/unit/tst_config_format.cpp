// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/config_format.h"
#include "core/settings/gbk_text.h"
#include "core/settings/program_options.h"
#include "core/settings/settings_file.h"
#include "core/settings/text_file.h"
#include "fakes/system_code_page.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const CodePage& kCodePage = systemCodePage();

// Wine has code page 936 (GBK) but not 54936 (GB18030): there the characters beyond GBK (an
// emoji) cannot be kept. Windows itself and Linux keep them.
bool keepsCharactersBeyondGbk()
{
#ifdef Q_OS_WIN
    return IsValidCodePage(54936);
#else
    return true;
#endif
}

#define SKIP_UNLESS_BEYOND_GBK()                                                                             \
    do {                                                                                                     \
        if (!keepsCharactersBeyondGbk())                                                                     \
            QSKIP("needs code page 54936 (GB18030) for the characters beyond GBK; Wine has only 936");       \
    } while (false)

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A save device that fails at one step, as a full disk or a lost permission would.
class FailingDevice final : public TextFile::SaveDevice {
public:
    enum Step { Write, Flush, Commit };
    FailingDevice(Step failAt, int errorNumber) : m_failAt(failAt), m_errno(errorNumber) {}
    bool open() override { return true; }
    qint64 write(const QByteArray& bytes) override
    {
        return m_failAt == Write ? bytes.size() / 2 : bytes.size();
    }
    bool flush() override { return m_failAt != Flush; }
    bool commit() override { return committed = m_failAt != Commit; }
    void cancel() override { cancelled = true; }
    int errorNumber() const override { return m_errno; }
    QString errorString() const override { return u"device full"_s; }
    bool cancelled = false;
    bool committed = false;

private:
    Step m_failAt;
    int m_errno;
};

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

Settings sample()
{
    Settings s = Settings::defaults();
    s.law1 = u"回调到支撑位再买\r\n不追涨停的股票"_s;
    s.law2 = u"14:30 前不追高\r\nqqnews:1 只是说说\r\nlaw3:也不是记录"_s;
    s.law3 = u"趋势线不破就持有 📈"_s;
    s.law4 = u"指数下跌时空仓；a=b, c:d"_s;
    s.qqnews = 1;
    s.flashweb = 0;
    s.ssoft = 1;
    s.shutdown15 = 0;
    s.mysoft = u"/home/用户/交易/client=1.desktop"_s;
    return s;
}

} // namespace

class TestConfigFormat : public QObject {
    Q_OBJECT

private slots:
    void defaultsHoldThePlaceholderTexts()
    {
        const Settings s = Settings::defaults();
        QCOMPARE(s.law3, u"      持仓理由     <br>    内容内容...."_s);
        QCOMPARE(s.law1.size(), 31);
        QCOMPARE(s.qqnews, qint16(0));
        QVERIFY(s.mysoft.isEmpty());
    }

    void writesTheNineRecordsInOrder()
    {
        Settings s = Settings::defaults();
        s.law1 = u"a\r\nb"_s;
        s.qqnews = 1;
        s.mysoft = u"C:\\Trading\\client.exe"_s;
        const QString text = ConfigFormat::serialize(s);
        const QStringList lines = text.split(u"\r\n"_s);
        QCOMPARE(lines.size(), 11); // nine records, the empty line, and the empty tail
        QCOMPARE(lines[0], u"form1.law1:a<br>b"_s);
        QCOMPARE(lines[3], u"form1.law4:      空仓理由     <br>    内容内容...."_s);
        QCOMPARE(lines[4], u"qqnews:1"_s);
        QCOMPARE(lines[5], u"flashweb:0"_s);
        QCOMPARE(lines[6], u"ssoft:0"_s);
        QCOMPARE(lines[7], u"shutdown15:0"_s);
        QCOMPARE(lines[8], u"mysoft=C:\\Trading\\client.exe"_s);
        QVERIFY(text.endsWith(u"\r\n\r\n"_s));
    }

    void readsTheExampleFile()
    {
        const QString file =
            u"form1.law1:Buy only after a pullback to support<br>Never chase a stock that has jumped\r\n"
            "form1.law2:Sell half when the target price is reached<br>Cut the loss at minus five percent\r\n"
            "form1.law3:Hold while the trend line is intact\r\n"
            "form1.law4:Stay out while the index keeps falling\r\n"
            "qqnews:1\r\nflashweb:0\r\nssoft:1\r\nshutdown15:0\r\nmysoft=C:\\Trading\\client.exe\r\n\r\n"_s;
        const Settings s = ConfigFormat::parse(file, Settings::defaults());
        QCOMPARE(s.law1, u"Buy only after a pullback to support\r\nNever chase a stock that has jumped"_s);
        QCOMPARE(s.law4, u"Stay out while the index keeps falling"_s);
        QCOMPARE(s.qqnews, qint16(1));
        QCOMPARE(s.flashweb, qint16(0));
        QCOMPARE(s.ssoft, qint16(1));
        QCOMPARE(s.mysoft, u"C:\\Trading\\client.exe"_s);
    }

    void records_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("law2");
        QTest::addColumn<qint16>("qqnews");
        QTest::addColumn<QString>("mysoft");

        const QString law2 = Settings::defaultLaw(2);
        QTest::newRow("no form1. prefix") << u"law2:abc\r\n"_s << u"abc"_s << qint16(0) << QString();
        QTest::newRow("last match wins") << u"qqnews:0\r\nqqnews:1\r\n"_s << law2 << qint16(1) << QString();
        QTest::newRow("no colon at all") << u"hello"_s << law2 << qint16(0) << QString();
        QTest::newRow("no colon, path only") << u"mysoft=/x\r\n"_s << law2 << qint16(0) << QString();
        QTest::newRow("empty text value") << u"form1.law2:\r\n"_s << QString() << qint16(0) << QString();
        QTest::newRow("no trailing newline") << u"law2:x\r\nqqnews:1"_s << u"x"_s << qint16(1) << QString();
        QTest::newRow("lone CR ends a line") << u"law2:x\rqqnews:1\r"_s << u"x"_s << qint16(1) << QString();
        QTest::newRow("lone LF is ordinary")
            << u"law2:x\nqqnews:1\r\n"_s << u"x\nqqnews:1"_s << qint16(0) << QString();
        QTest::newRow("blanks before key") << u"  \tqqnews: 1 \r\n"_s << law2 << qint16(1) << QString();
        QTest::newRow("case matters") << u"QQNEWS:1\r\nLaw2:x\r\n"_s << law2 << qint16(0) << QString();
        QTest::newRow("drive letter colon")
            << u"a:b\r\nmysoft=C:\\x\\y.exe\r\n"_s << law2 << qint16(0) << u"C:\\x\\y.exe"_s;
        QTest::newRow("path with equals")
            << u"k:v\r\nmysoft=/opt/a=b/c\r\n"_s << law2 << qint16(0) << u"/opt/a=b/c"_s;
        QTest::newRow("path kept untrimmed")
            << u"k:v\r\nmysoft= /a b \r\n"_s << law2 << qint16(0) << u" /a b "_s;
        QTest::newRow("key inside a rule is not a record")
            << u"form1.law2:先看qqnews:1再说 mysoft=/bin/x\r\n"_s << u"先看qqnews:1再说 mysoft=/bin/x"_s
            << qint16(0) << QString();
        QTest::newRow("time in a rule")
            << u"form1.law2:14:30 前不追高\r\n"_s << u"14:30 前不追高"_s << qint16(0) << QString();
        QTest::newRow("literal <br> becomes a break")
            << u"law2:a<br>b<br>\r\n"_s << u"a\r\nb\r\n"_s << qint16(0) << QString();
        QTest::newRow("key not at line start") << u"x law2:abc\r\n"_s << law2 << qint16(0) << QString();
    }

    void records()
    {
        QFETCH(QString, file);
        const Settings s = ConfigFormat::parse(file, Settings::defaults());
        QTEST(s.law2, "law2");
        QTEST(s.qqnews, "qqnews");
        QTEST(s.mysoft, "mysoft");
    }

    void optionValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<qint16>("expected");
        QTest::newRow("one") << u"1"_s << qint16(1);
        QTest::newRow("two is kept") << u"2"_s << qint16(2);
        QTest::newRow("spaces") << u"  1  "_s << qint16(1);
        QTest::newRow("empty") << u""_s << qint16(0);
        QTest::newRow("word") << u"yes"_s << qint16(0);
        QTest::newRow("trailing junk") << u"1x"_s << qint16(0);
        QTest::newRow("fraction") << u"1.5"_s << qint16(0);
        QTest::newRow("16-bit max") << u"32767"_s << qint16(32767);
        QTest::newRow("above 16 bits") << u"32768"_s << qint16(0);
        QTest::newRow("huge") << u"99999999999999999999"_s << qint16(0);
        QTest::newRow("negative") << u"-1"_s << qint16(-1);
        QTest::newRow("full-width digit") << u"１"_s << qint16(0);
    }

    void optionValues()
    {
        QFETCH(QString, value);
        QTEST(ConfigFormat::parseOption(value), "expected");
    }

    void roundTripKeepsEveryField()
    {
        SKIP_UNLESS_BEYOND_GBK();
        const Settings s = sample();
        const Settings back =
            ConfigFormat::fromBytes(ConfigFormat::toBytes(s, kCodePage), Settings::defaults(), kCodePage);
        QCOMPARE(back, s);
    }

    void roundTripWithDialogLineBreaks()
    {
        // Texts saved from the dialog hold "<br>"; they come back as CR LF.
        Settings s = Settings::defaults();
        s.law1 = u"第一行<br>第二行"_s;
        const Settings back =
            ConfigFormat::fromBytes(ConfigFormat::toBytes(s, kCodePage), Settings::defaults(), kCodePage);
        QCOMPARE(back.law1, u"第一行\r\n第二行"_s);
    }

    void loneCrInARuleDoesNotSplitTheRecord()
    {
        Settings s = Settings::defaults();
        s.law1 = u"a\rqqnews:1"_s;
        const Settings back =
            ConfigFormat::fromBytes(ConfigFormat::toBytes(s, kCodePage), Settings::defaults(), kCodePage);
        QCOMPARE(back.qqnews, qint16(0));
        QCOMPARE(back.law1, u"a\r\nqqnews:1"_s);
    }

    void bytesOnDiskAreGbk()
    {
        Settings s = Settings::defaults();
        s.law1 = u"买入纪律"_s;
        const QByteArray bytes = ConfigFormat::toBytes(s, kCodePage);
        QVERIFY(bytes.startsWith(QByteArray("form1.law1:\xC2\xF2\xC8\xEB\xBC\xCD\xC2\xC9\r\n")));
        QVERIFY(bytes.contains(QByteArray("form1.law4:      \xBF\xD5\xB2\xD6\xC0\xED\xD3\xC9     <br>")));
    }

    void gbkDecoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("gbk") << QByteArray("\xC2\xF2\xC8\xEB") << u"买入"_s;
        QTest::newRow("full-width colon") << QByteArray("\xA3\xBA") << u"："_s;
        QTest::newRow("euro single byte") << QByteArray("a\x80z") << u"a€z"_s;
        QTest::newRow("0x80 as trail byte") << QByteArray("\x81\x80") << u"亐"_s;
        QTest::newRow("gb18030 four bytes") << QByteArray("\x94\x39\xFC\x36") << u"😀"_s;
        QTest::newRow("truncated four bytes") << QByteArray("a\x94\x39") << u"a\uFFFD"_s;
        QTest::newRow("truncated lead byte") << QByteArray("ab\xC2") << u"ab\uFFFD"_s;
        QTest::newRow("unmapped four bytes, then good ones")
            << QByteArray("\x86\x39\xFC\x36\xC2\xF2\xC8\xEB") << u"\uFFFD买入"_s;
        QTest::newRow("ascii") << QByteArray("qqnews:1") << u"qqnews:1"_s;
    }

    void gbkDecoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); }))
            SKIP_UNLESS_BEYOND_GBK();
        QCOMPARE(GbkText::decode(bytes, kCodePage), text);
    }

    // Bytes held back at the end would be lost: a cut-off character is not UTF-8.
    void cutOffUtf8IsNotUtf8()
    {
        const TextFile::Decoded decoded = TextFile::decode(QByteArray("law1:\xE4\xB9"), kCodePage);
        QCOMPARE(decoded.encoding, TextFile::Encoding::Gbk);
        QCOMPARE(decoded.text, u"law1:涔"_s);
    }

    // GBK bytes that happen to be valid UTF-8 must not come back as other characters.
    void savedTextReadsBackWhenItsGbkLooksLikeUtf8()
    {
        Settings s = Settings::defaults();
        s.law1 = u"一时"_s;
        s.law2 = u"为之"_s;
        s.law3 = u"说要"_s;
        s.law4 = u"小学"_s;
        QCOMPARE(
            ConfigFormat::fromBytes(ConfigFormat::toBytes(s, kCodePage), Settings::defaults(), kCodePage), s);
    }

    void emojiSurvivesOnDisk()
    {
        SKIP_UNLESS_BEYOND_GBK();
        QCOMPARE(GbkText::encode(u"😀"_s, kCodePage), QByteArray("\x94\x39\xFC\x36"));
    }
};

class TestSettingsFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path() + u"/plug"_s);
    }

    void missingConfigIsRestoredFromTheDefault()
    {
        Settings d = Settings::defaults();
        d.flashweb = 1;
        writeAll(path(u"plug/config.txt"_s), ConfigFormat::toBytes(d, kCodePage));
        SettingsFile file(path(u"config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        const SettingsFile::Loaded loaded = file.load();
        QVERIFY(loaded.problems.isEmpty());
        QCOMPARE(loaded.settings.flashweb, qint16(1));
        QCOMPARE(readAll(path(u"config.txt"_s)), readAll(path(u"plug/config.txt"_s)));
    }

    void existingConfigWinsOverTheDefault()
    {
        writeAll(path(u"plug/config.txt"_s), "qqnews:0\r\n");
        writeAll(path(u"config.txt"_s), "qqnews:1\r\n");
        SettingsFile file(path(u"config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        QCOMPARE(file.load().settings.qqnews, qint16(1));
        QCOMPARE(readAll(path(u"config.txt"_s)), QByteArray("qqnews:1\r\n"));
    }

    void neitherFileRunsOnDefaults()
    {
        SettingsFile file(path(u"config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        const SettingsFile::Loaded loaded = file.load();
        QCOMPARE(loaded.settings, Settings::defaults());
        QCOMPARE(loaded.problems.size(), 1);
        QVERIFY(!QFile::exists(path(u"config.txt"_s)));
    }

    void configThatIsADirectoryRunsOnDefaults()
    {
        QDir().mkpath(path(u"config.txt"_s));
        SettingsFile file(path(u"config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        const SettingsFile::Loaded loaded = file.load();
        QCOMPARE(loaded.settings, Settings::defaults());
        QCOMPARE(loaded.problems.size(), 1);
        QString error;
        QVERIFY(!file.save(sample(), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(QFileInfo(path(u"config.txt"_s)).isDir());
    }

    void saveThenLoad()
    {
        SKIP_UNLESS_BEYOND_GBK();
        SettingsFile file(path(u"config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        QString error;
        QVERIFY2(file.save(sample(), &error), qPrintable(error));
        QCOMPARE(file.load().settings, sample());
        QVERIFY(readAll(path(u"config.txt"_s)).endsWith("\r\n\r\n"));
    }

    void failedSaveLeavesTheOldFileWhole()
    {
        // A folder that cannot be written, even by root: the parent is a plain file.
        writeAll(path(u"blocker"_s), "not a folder");
        SettingsFile blocked(path(u"blocker/config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        QString error;
        QVERIFY(!blocked.save(sample(), &error));
        // Windows' calls leave errno at 0, which reads "Success".
        QVERIFY2(!error.isEmpty() && !error.contains(u"Success"_s), qPrintable(error));
        QCOMPARE(readAll(path(u"blocker"_s)), QByteArray("not a folder"));
    }

    void leftoversOfAKilledSaveAreRemoved()
    {
        // Only the staging name, alone or with QSaveFile's six random characters, is ours to remove.
        const QStringList ours = {u"config.txt.tickbell-saving"_s, u"config.txt.tickbell-saving.aB3dE9"_s};
        const QStringList others = {u"config.txt.backup"_s, u"config.txt.aB3dE9"_s, u"config.txt.bak"_s,
                                    u"holidays.txt.tickbell-saving"_s};
        const auto plant = [&] {
            for (const QString& name : ours + others)
                writeAll(path(name), "x");
        };
        const auto remaining = [&] {
            QStringList left;
            for (const QString& name : ours + others)
                if (QFile::exists(path(name)))
                    left << name;
            return left;
        };
        writeAll(path(u"plug/config.txt"_s), ConfigFormat::toBytes(sample(), kCodePage));
        SettingsFile file(path(u"config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        plant();
        file.load(); // the next start
        QCOMPARE(remaining(), others);
        plant();
        QVERIFY(file.save(sample()));
        QCOMPARE(remaining(), others);
    }

    // Each step of a save failing: the user is told why, and the new file is dropped.
    void failingDevice_data()
    {
        QTest::addColumn<int>("failAt");
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("short write") << int(FailingDevice::Write) << ENOSPC << u"磁盘空间不足"_s << true;
        QTest::newRow("failed flush") << int(FailingDevice::Flush) << EIO << u"读写磁盘出错"_s << true;
        QTest::newRow("failed commit") << int(FailingDevice::Commit) << EACCES << u"没有写入权限"_s << false;
        QTest::newRow("no error number")
            << int(FailingDevice::Flush) << 0 << u"无法写入（device full）"_s << true;
    }

    void failingDevice()
    {
        QFETCH(int, failAt);
        QFETCH(int, errorNumber);
        FailingDevice device(FailingDevice::Step(failAt), errorNumber);
        QString error;
        QVERIFY(!TextFile::save(device, "qqnews:1\r\n", &error));
        QTEST(error, "reason");
        QTEST(device.cancelled, "cancelled");
        QVERIFY(!device.committed);
    }

    void programOptionsLiveBesideConfigAndSayWhenUnsaved()
    {
        QVERIFY(ProgramOptions(m_dir.path()).setValue(u"reminders/standardTime"_s, true));
        QCOMPARE(ProgramOptions(m_dir.path()).value(u"reminders/standardTime"_s).toBool(), true);
        QCOMPARE(QFileInfo(ProgramOptions(m_dir.path()).path()).dir(), QDir(m_dir.path()));
        writeAll(path(u"blocker"_s), "not a folder");
        QString error;
        QVERIFY(!ProgramOptions(path(u"blocker"_s)).setValue(u"reminders/standardTime"_s, true, &error));
        QVERIFY(error.contains(u"tickbell.ini"_s));
    }

    // A switch is true or false alone; anything else, also in a garbled file, is its default
    // (off for standard time, which sends), said once on standard error.
    void switchValues_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("fallback");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("warns");
        QTest::newRow("true") << QByteArray("[reminders]\nstandardTime=true\n") << false << true << false;
        QTest::newRow("False, spaced")
            << QByteArray("[reminders]\nstandardTime = False \n") << true << false << false;
        QTest::newRow("absent") << QByteArray("[reminders]\n") << true << true << false;
        QTest::newRow("banana under a broken section")
            << QByteArray("[reminders\nstandardTime=banana\n") << false << false << true;
        QTest::newRow("1") << QByteArray("[reminders]\nstandardTime=1\n") << false << false << true;
        QTest::newRow("0, default on") << QByteArray("[reminders]\nstandardTime=0\n") << true << true << true;
        QTest::newRow("empty") << QByteArray("[reminders]\nstandardTime=\n") << false << false << true;
        QTest::newRow("a list") << QByteArray("[reminders]\nstandardTime=true, false\n") << false << false
                                << true;
    }
    void switchValues()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, fallback);
        QFETCH(bool, warns);
        writeAll(path(u"tickbell.ini"_s), file);
        ProgramOptions options(m_dir.path());
        const QString key = QLatin1String(ProgramOptions::kStandardTime);
        if (warns)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"standardTime=.* is neither true nor false"_s));
        QTEST(options.flag(key, fallback), "on");
        QTEST(options.flag(key, fallback), "on"); // warned once
    }

    // A garbled file keeps QSettings' load error; the first save rewrites it and says so truly.
    void aSwitchSavedOverAGarbledFileIsSaved()
    {
        writeAll(path(u"tickbell.ini"_s), "[reminders\nstandardTime=banana\n");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"tickbell.ini is garbled"_s));
        ProgramOptions options(m_dir.path());
        QVERIFY(options.setValue(QLatin1String(ProgramOptions::kStandardTime), true));
        QCOMPARE(ProgramOptions(m_dir.path()).flag(QLatin1String(ProgramOptions::kStandardTime), false),
                 true);
    }

    // A save writes through a link to its target, and the file keeps its mode.
    void aSaveWritesThroughLinksAndKeepsTheMode_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("a private file behind a link") << true;
        QTest::newRow("a link to a file not made yet") << false;
    }
    void aSaveWritesThroughLinksAndKeepsTheMode()
    {
#ifdef Q_OS_WIN
        QSKIP("symbolic links need a privilege on Windows");
#endif
        QFETCH(bool, targetExists);
        QDir().mkpath(path(u"real"_s));
        const QString target = path(u"real/config.txt"_s);
        const auto privateMode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        if (targetExists) {
            writeAll(target, "old");
            QVERIFY(QFile::setPermissions(target, privateMode));
        }
        QVERIFY(QFile::link(target, path(u"config.txt"_s)));
        QString error;
        QVERIFY2(TextFile::save(path(u"config.txt"_s), "new", &error), qPrintable(error));
        QVERIFY(QFileInfo(path(u"config.txt"_s)).isSymLink());
        QCOMPARE(readAll(target), QByteArray("new"));
        if (targetExists)
            QCOMPARE(QFileInfo(target).permissions(), privateMode);
        QCOMPARE(QDir(path(u"real"_s)).entryList(QDir::Files | QDir::Hidden), QStringList{u"config.txt"_s});
    }

    void saveReplacesNotAppends()
    {
        SettingsFile file(path(u"config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        writeAll(path(u"config.txt"_s), QByteArray(100000, 'x'));
        QVERIFY(file.save(Settings::defaults()));
        QCOMPARE(readAll(path(u"config.txt"_s)), ConfigFormat::toBytes(Settings::defaults(), kCodePage));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).size(), 1); // no temporary left behind
    }

    // Notepad on Windows 10 and Linux editors save UTF-8: read so, said once, saved as GBK again.
    void utf8ConfigIsReadAndSavedAsGbk_data()
    {
        QTest::addColumn<QByteArray>("mark");
        QTest::newRow("with the byte-order mark") << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("without it") << QByteArray();
    }

    void utf8ConfigIsReadAndSavedAsGbk()
    {
        QFETCH(QByteArray, mark);
        writeAll(path(u"config.txt"_s), mark + u"form1.law1:买入纪律\r\nqqnews:1\r\n"_s.toUtf8());
        SettingsFile file(path(u"config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        const SettingsFile::Loaded loaded = file.load();
        QCOMPARE(loaded.settings.law1, u"买入纪律"_s);
        QCOMPARE(loaded.settings.qqnews, qint16(1));
        QCOMPARE(loaded.problems.size(), 1);
        QVERIFY(loaded.problems[0].contains(u"UTF-8"_s));
        QVERIFY(file.save(loaded.settings));
        QVERIFY(readAll(path(u"config.txt"_s)).startsWith("form1.law1:\xC2\xF2\xC8\xEB\xBC\xCD\xC2\xC9\r\n"));
    }

    void hugeFileIsReadOnlyInPart()
    {
        QByteArray big("qqnews:1\r\n");
        big += QByteArray(SettingsFile::kMaxBytes, 'x');
        big += "\r\nflashweb:1\r\n";
        writeAll(path(u"config.txt"_s), big);
        SettingsFile file(path(u"config.txt"_s), path(u"plug/config.txt"_s), kCodePage);
        const SettingsFile::Loaded loaded = file.load();
        QCOMPARE(loaded.settings.qqnews, qint16(1));
        QCOMPARE(loaded.settings.flashweb, qint16(0));
        QCOMPARE(loaded.problems.size(), 1);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int status = 0;
    {
        TestConfigFormat t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestSettingsFile t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "tst_config_format.moc"
