// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/settings_file.h"
#include "core/settings/settings_keeper.h"
#include "fakes/form1_fixture.h"
#include "fakes/system_code_page.h"
#include "ui/settings/form2.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

const CodePage& kCodePage = systemCodePage();

QByteArray gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    QByteArray bytes = encoder.encode(text);
    return bytes;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The file that the untouched default record must be written as: nine records, CR LF after
// each, an empty line at the end, GBK.
QByteArray defaultFileBytes()
{
    return gbk(u"form1.law1:      买入纪律     <br>    内容内容....\r\n"
               "form1.law2:      卖出纪律     <br>    内容内容....\r\n"
               "form1.law3:      持仓理由     <br>    内容内容....\r\n"
               "form1.law4:      空仓理由     <br>    内容内容....\r\n"
               "qqnews:0\r\nflashweb:0\r\nssoft:0\r\nshutdown15:0\r\nmysoft=\r\n\r\n"_s);
}

// A user's file as the program writes it: options mixed, a path with a drive colon.
QByteArray userFileBytes()
{
    return gbk(
        u"form1.law1:回调到支撑位再买<br>不追涨停的股票\r\n"
        "form1.law2:目标价卖一半<br>亏损百分之五止损\r\n"
        "form1.law3:趋势线不破就持有\r\n"
        "form1.law4:指数下跌时空仓\r\n"
        "qqnews:1\r\nflashweb:0\r\nssoft:1\r\nshutdown15:0\r\nmysoft=C:\\Trading\\client.exe\r\n\r\n"_s);
}

// Calls answer with the first message box that opens (polling, so it works whichever event
// loop shows it) and gives up after a generous while.
void onMessageBox(std::function<void(QMessageBox*)> answer, int triesLeft = 500)
{
    QTimer::singleShot(10, qApp, [answer = std::move(answer), triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                answer(box);
                return;
            }
        }
        if (triesLeft > 0)
            onMessageBox(answer, triesLeft - 1);
    });
}

// The same for the settings dialog itself, when something else opens it modally.
void onForm2(std::function<void(Form2*)> act, int triesLeft = 500)
{
    QTimer::singleShot(10, qApp, [act = std::move(act), triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<Form2*>(w); dialog && dialog->isVisible()) {
                act(dialog);
                return;
            }
        }
        if (triesLeft > 0)
            onForm2(act, triesLeft - 1);
    });
}

QString focusName()
{
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : u"(none)"_s;
}

// Pixels for design units: 15 to a pixel, rounded.
QRect fromTwips(int left, int top, int width, int height)
{
    auto p = [](int twips) { return qRound(twips / 15.0); };
    return QRect(p(left), p(top), p(width), p(height));
}

} // namespace

// The day's part in the dialog: the record for the run, written to config.txt on save.
struct Keeper final : SettingsKeeper {
    Keeper(Settings& r, const SettingsFile& f) : record(r), file(f) {}
    const Settings& settings() const override { return record; }
    bool SaveSettings(const Settings& s, QString* error) override
    {
        record = s;
        return file.save(s, error);
    }
    QString settingsPath() const override { return file.configPath(); }
    Settings& record;
    const SettingsFile& file;
};

class TestForm2 : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsFile> m_file;

    QString configPath() const { return m_dir->filePath(u"config.txt"_s); }

    template <typename W> static W* control(Form2& dialog, const QString& name)
    {
        W* w = dialog.findChild<W*>(name);
        if (!w)
            qWarning("no control %s", qPrintable(name));
        return w;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_file =
            std::make_unique<SettingsFile>(configPath(), m_dir->filePath(u"plug/config.txt"_s), kCodePage);
    }

    void cleanup()
    {
        // A failed check must not leave a modal window behind for the next case.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                w->close();
        m_file.reset();
        m_dir.reset();
    }

    void theWindow()
    {
        Settings record = Settings::defaults();
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        QCOMPARE(dialog.windowTitle(), u"系统设置"_s);
        QCOMPARE(dialog.parentWidget(), nullptr);
        QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
        const Qt::WindowFlags flags = dialog.windowFlags();
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!dialog.windowIcon().isNull());
        QVERIFY(dialog.windowIcon().availableSizes().contains(QSize(32, 32)));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.size(), QSize(608, 374)); // 9120 x 5610 twips
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());

        // White behind the group boxes, labels and check boxes; the text boxes stay as styled.
        const QImage shot = dialog.grab().toImage();
        for (const QPoint at : {QPoint(4, 4), QPoint(300, 4), QPoint(600, 370)})
            QCOMPARE(shot.pixelColor(at), QColor(Qt::white));
        for (const char* name : {"Frame1", "Frame5", "Label1_0", "Label2", "Check1"}) {
            auto* w = dialog.findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(w, name);
            QVERIFY2(w->palette().color(w->backgroundRole()) == QColor(Qt::white), name);
        }
    }

    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("Frame1") << u"Frame1"_s << u" 买入纪律 "_s;
        QTest::newRow("Frame2") << u"Frame2"_s << u" 卖出纪律 "_s;
        QTest::newRow("Frame3") << u"Frame3"_s << u" 持仓纪律 "_s;
        QTest::newRow("Frame4") << u"Frame4"_s << u" 空仓纪律 "_s;
        QTest::newRow("Frame5") << u"Frame5"_s << u" 开盘时自动启动 "_s;
        QTest::newRow("Label1(0)") << u"Label1_0"_s << u"QQ滚动新闻"_s;
        QTest::newRow("Label1(1)") << u"Label1_1"_s << u"行情网页"_s;
        QTest::newRow("Label1(2)") << u"Label1_2"_s << u"下午收盘关机"_s;
        QTest::newRow("Label1(3)") << u"Label1_3"_s << u"炒股软件"_s;
        QTest::newRow("Label2") << u"Label2"_s << u"我的炒股软件："_s;
        QTest::newRow("Command1") << u"Command1"_s << u"保存设置"_s;
        QTest::newRow("Command2") << u"Command2"_s << u"取消"_s;
        QTest::newRow("Command3") << u"Command3"_s << u"..."_s;
        QTest::newRow("Check1") << u"Check1"_s << QString();
        QTest::newRow("Check2") << u"Check2"_s << QString();
        QTest::newRow("Check3") << u"Check3"_s << QString();
        QTest::newRow("Check4") << u"Check4"_s << QString();
    }

    void captions()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        Settings record = Settings::defaults();
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        auto* w = dialog.findChild<QWidget*>(name);
        QVERIFY(w);
        if (auto* box = qobject_cast<QGroupBox*>(w))
            QCOMPARE(box->title(), text);
        else if (auto* label = qobject_cast<QLabel*>(w))
            QCOMPARE(label->text(), text);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            QCOMPARE(button->text(), text);
        else
            QFAIL("unexpected kind of control");
        QVERIFY(!w->accessibleName().isEmpty());
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("twips"); // left, top, width, height
        QTest::newRow("Frame1") << u"Frame1"_s << u"Form2"_s << QRect(120, 120, 4335, 2055);
        QTest::newRow("Text1") << u"Text1"_s << u"Frame1"_s << QRect(120, 240, 4095, 1695);
        QTest::newRow("Frame2") << u"Frame2"_s << u"Form2"_s << QRect(4560, 120, 4455, 2055);
        QTest::newRow("Text2") << u"Text2"_s << u"Frame2"_s << QRect(120, 240, 4215, 1695);
        QTest::newRow("Frame3") << u"Frame3"_s << u"Form2"_s << QRect(120, 2280, 4335, 2055);
        QTest::newRow("Text3") << u"Text3"_s << u"Frame3"_s << QRect(120, 240, 4095, 1695);
        QTest::newRow("Frame4") << u"Frame4"_s << u"Form2"_s << QRect(4560, 2280, 4455, 2055);
        QTest::newRow("Text4") << u"Text4"_s << u"Frame4"_s << QRect(120, 240, 4215, 1695);
        QTest::newRow("Frame5") << u"Frame5"_s << u"Form2"_s << QRect(120, 4440, 4335, 975);
        QTest::newRow("Label1(0)") << u"Label1_0"_s << u"Frame5"_s << QRect(120, 280, 975, 255);
        QTest::newRow("Check1") << u"Check1"_s << u"Frame5"_s << QRect(1440, 240, 255, 255);
        QTest::newRow("Label1(1)") << u"Label1_1"_s << u"Frame5"_s << QRect(2280, 280, 1215, 255);
        QTest::newRow("Check2") << u"Check2"_s << u"Frame5"_s << QRect(3600, 240, 255, 255);
        QTest::newRow("Label1(3)") << u"Label1_3"_s << u"Frame5"_s << QRect(120, 650, 1215, 255);
        QTest::newRow("Check3") << u"Check3"_s << u"Frame5"_s << QRect(1440, 600, 255, 255);
        QTest::newRow("Label1(2)") << u"Label1_2"_s << u"Frame5"_s << QRect(2250, 650, 1215, 255);
        QTest::newRow("Check4") << u"Check4"_s << u"Frame5"_s << QRect(3600, 585, 255, 255);
        QTest::newRow("Label2") << u"Label2"_s << u"Form2"_s << QRect(4680, 4485, 1335, 255);
        QTest::newRow("myssoft") << u"myssoft"_s << u"Form2"_s << QRect(6000, 4440, 2415, 270);
        QTest::newRow("Command3") << u"Command3"_s << u"Form2"_s << QRect(8520, 4440, 495, 255);
        QTest::newRow("Command1") << u"Command1"_s << u"Form2"_s << QRect(5520, 4920, 1695, 495);
        QTest::newRow("Command2") << u"Command2"_s << u"Form2"_s << QRect(7320, 4920, 1695, 495);
    }

    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, twips);
        Settings record = Settings::defaults();
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* w = dialog.findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(w->parentWidget()->objectName(), container);
        QCOMPARE(w->geometry(), fromTwips(twips.x(), twips.y(), twips.width(), twips.height()));
        QVERIFY(w->isVisible());
    }

    void textBoxes()
    {
        Settings record = Settings::defaults();
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        for (QPlainTextEdit* text : {dialog.Text1, dialog.Text2, dialog.Text3, dialog.Text4}) {
            QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QVERIFY(text->lineWrapMode() != QPlainTextEdit::NoWrap);
            QVERIFY(!text->isReadOnly());
        }
        QVERIFY(!dialog.myssoft->isReadOnly());
    }

    void fillShowsTheDefaultTextsOnTwoLines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("Text1") << u"Text1"_s << u"买入纪律"_s;
        QTest::newRow("Text2") << u"Text2"_s << u"卖出纪律"_s;
        QTest::newRow("Text3") << u"Text3"_s << u"持仓理由"_s;
        QTest::newRow("Text4") << u"Text4"_s << u"空仓理由"_s;
    }

    void fillShowsTheDefaultTextsOnTwoLines()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        Settings record = Settings::defaults();
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        auto* text = control<QPlainTextEdit>(dialog, name);
        QVERIFY(text);
        QCOMPARE(text->document()->blockCount(), 2);
        QCOMPARE(text->document()->findBlockByNumber(0).text(), u"      "_s + title + u"     "_s);
        QCOMPARE(text->document()->findBlockByNumber(1).text(), u"    内容内容...."_s);
        for (QCheckBox* box : {dialog.Check1, dialog.Check2, dialog.Check3, dialog.Check4})
            QVERIFY(!box->isChecked());
        QVERIFY(dialog.myssoft->text().isEmpty());
    }

    void fillShowsWhatTheFileHolds()
    {
        QVERIFY(writeAll(configPath(), userFileBytes()));
        Settings record = m_file->load().settings;
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        // Texts read from the file hold CR LF; the box shows them as lines.
        QCOMPARE(dialog.Text1->toPlainText(), u"回调到支撑位再买\n不追涨停的股票"_s);
        QCOMPARE(dialog.Text2->document()->blockCount(), 2);
        QCOMPARE(dialog.Text4->toPlainText(), u"指数下跌时空仓"_s);
        QVERIFY(dialog.Check1->isChecked());
        QVERIFY(!dialog.Check2->isChecked());
        QVERIFY(dialog.Check3->isChecked());
        QVERIFY(!dialog.Check4->isChecked());
        QCOMPARE(dialog.myssoft->text(), u"C:\\Trading\\client.exe"_s);
    }

    void fillKeepsThePathUnchanged()
    {
        Settings record = Settings::defaults();
        record.mysoft = u"  /opt/交易 软件/client=1  "_s;
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        QCOMPARE(dialog.myssoft->text(), record.mysoft);
    }

    void saveWithoutChangesWritesTheSameSettings_data()
    {
        QTest::addColumn<QByteArray>("before"); // config.txt before; empty: none, defaults
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("defaults") << QByteArray() << defaultFileBytes();
        QTest::newRow("user's file") << userFileBytes() << userFileBytes();
    }

    void saveWithoutChangesWritesTheSameSettings()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        Settings record = Settings::defaults();
        if (!before.isEmpty()) {
            QVERIFY(writeAll(configPath(), before));
            record = m_file->load().settings;
        }
        const Settings loaded = record;
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        dialog.show();
        dialog.Command1_Click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QByteArray written = readAll(configPath());
        QCOMPARE(written, after);
        QVERIFY(written.contains("\xC2\xF2\xC8\xEB\xBC\xCD\xC2\xC9") || !before.isEmpty()); // 买入纪律
        QVERIFY(written.contains("<br>"));
        // In memory the texts now hold "<br>" where the file's CR LF stood; nothing else moved.
        Settings expected = loaded;
        for (QString* law : {&expected.law1, &expected.law2, &expected.law3, &expected.law4})
            law->replace(u"\r\n"_s, u"<br>"_s);
        QCOMPARE(record.law1, expected.law1);
        QCOMPARE(record.law2, expected.law2);
        QVERIFY(record == expected);
    }

    void untouchedRulesKeepEveryCharacter()
    {
        // A text box reads a no-break space back as a plain one; a rule nobody edited must
        // not change because it passed through the dialog.
        Settings record = Settings::defaults();
        record.law2 = u"价格\u00A0到位<br>\t分批卖出"_s;
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        dialog.Text1->setPlainText(u"改过"_s);
        dialog.Command1_Click();
        QCOMPARE(record.law2, u"价格\u00A0到位<br>\t分批卖出"_s);
        QCOMPARE(record.law1, u"改过"_s);
    }

    void editsAreSavedWithBrMarkers()
    {
        Settings record = Settings::defaults();
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.Text1->selectAll();
        QTest::keyClicks(dialog.Text1, u"14:30 "_s);
        QInputMethodEvent chinese; // what an input method hands over
        chinese.setCommitString(u"前不追高"_s);
        QApplication::sendEvent(dialog.Text1, &chinese);
        QTest::keyClick(dialog.Text1, Qt::Key_Return);
        QTest::keyClicks(dialog.Text1, u"second line"_s);
        dialog.Text3->clear();
        QTest::mouseClick(dialog.Check2, Qt::LeftButton);
        QTest::mouseClick(dialog.Check4, Qt::LeftButton);
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());

        QCOMPARE(record.law1, u"14:30 前不追高<br>second line"_s);
        QCOMPARE(record.law2, Settings::defaults().law2);
        QCOMPARE(record.law3, QString());
        QCOMPARE(record.flashweb, qint16(1));
        QCOMPARE(record.shutdown15, qint16(1));
        QCOMPARE(record.qqnews, qint16(0));
        const QByteArray written = readAll(configPath());
        QVERIFY(written.startsWith(gbk(u"form1.law1:14:30 前不追高<br>second line\r\n"_s)));
        QVERIFY(written.contains("\r\nform1.law3:\r\n"));
        QVERIFY(written.contains("\r\nflashweb:1\r\n"));
        QVERIFY(written.contains("\r\nshutdown15:1\r\n"));
        // And it reads back as typed.
        QCOMPARE(m_file->load().settings.law1, u"14:30 前不追高\r\nsecond line"_s);
    }

    void changeAndCancelLeavesRecordAndFileAlone()
    {
        QVERIFY(writeAll(configPath(), userFileBytes()));
        Settings record = m_file->load().settings;
        const Settings before = record;
        {
            Keeper keeper(record, *m_file);
            Form2 dialog(keeper, nullptr);
            dialog.show();
            dialog.Text1->setPlainText(u"全部改掉"_s);
            dialog.Check1->click();
            dialog.Check2->click();
            dialog.myssoft->setText(u"/elsewhere"_s);
            dialog.CommonDialog1 = [](QWidget*, const QString&) { return u"/usr/bin/env"_s; };
            dialog.Command3_Click();
            dialog.Command2_Click();
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QVERIFY(record == before);
        QCOMPARE(readAll(configPath()), userFileBytes());
        Keeper keeperAgain(record, *m_file);
        Form2 again(keeperAgain, nullptr);
        QCOMPARE(again.Text1->toPlainText(), u"回调到支撑位再买\n不追涨停的股票"_s);
        QCOMPARE(again.myssoft->text(), u"C:\\Trading\\client.exe"_s);
    }

    void closeBoxDropsEdits()
    {
        QVERIFY(writeAll(configPath(), userFileBytes()));
        Settings record = m_file->load().settings;
        const Settings before = record;
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        bool closed = false;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.Text2->setPlainText(u"不要了"_s);
            dialog.Check4->click();
            dialog.myssoft->clear();
            QCloseEvent close; // what the title bar's close box sends
            QApplication::sendEvent(&dialog, &close);
            closed = close.isAccepted();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(closed);
        QVERIFY(record == before);
        QCOMPARE(readAll(configPath()), userFileBytes());
    }

    void browse_data()
    {
        QTest::addColumn<QString>("answer"); // what the file-open dialog returns
        QTest::addColumn<QString>("shown");  // myssoft afterwards
        QTest::newRow("cancelled") << QString() << u"C:\\Trading\\client.exe"_s;
        QTest::newRow("picked") << u"/opt/通达信/tdxw"_s << u"/opt/通达信/tdxw"_s;
        QTest::newRow("picked, blanks") << u"/home/u/my trader.AppImage"_s << u"/home/u/my trader.AppImage"_s;
    }

    void browse()
    {
        QFETCH(QString, answer);
        QFETCH(QString, shown);
        QVERIFY(writeAll(configPath(), userFileBytes()));
        Settings record = m_file->load().settings;
        const Settings before = record;
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        int asked = 0;
        dialog.CommonDialog1 = [&](QWidget* owner, const QString& filter) {
            ++asked;
            [&] {
                QCOMPARE(owner, &dialog);
                QCOMPARE(filter, u"AllFile  (*)"_s);
            }();
            return answer;
        };
        QTest::mouseClick(dialog.Command3, Qt::LeftButton);
        QCOMPARE(asked, 1);
        QCOMPARE(dialog.myssoft->text(), shown);
        // Only the path box changes; the record waits for the save.
        QCOMPARE(dialog.Text1->toPlainText(), u"回调到支撑位再买\n不追涨停的股票"_s);
        QVERIFY(dialog.Check1->isChecked());
        QVERIFY(!dialog.Check2->isChecked());
        QVERIFY(record == before);
        dialog.Command1_Click();
        QCOMPARE(m_file->load().settings.mysoft, shown);
        QCOMPARE(record.mysoft, shown);
    }

    void browseUsesTheFileOpenDialog()
    {
        // The real dialog: the one filter, existing files only, and its answer lands in myssoft.
        const QString target = m_dir->filePath(u"client.exe"_s);
        QVERIFY(writeAll(target, "MZ"));
        Settings record = Settings::defaults();
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        QStringList filters;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        bool found = false;
        std::function<void(int)> answer = [&](int triesLeft) {
            auto* fd = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!fd) {
                if (triesLeft > 0)
                    QTimer::singleShot(10, [&, triesLeft] { answer(triesLeft - 1); });
                return;
            }
            found = true;
            filters = fd->nameFilters();
            mode = fd->fileMode();
            fd->selectFile(target);
            static_cast<QDialog*>(fd)->accept(); // QFileDialog hides it
        };
        QTimer::singleShot(0, [&] { answer(500); });
        dialog.Command3_Click();
        QVERIFY(found);
        // Qt's dialog collapses the blanks of the one filter it was given.
        QCOMPARE(filters.size(), 1);
        QCOMPARE(filters.first().simplified(), u"AllFile (*)"_s);
        QCOMPARE(mode, QFileDialog::ExistingFile);
        QCOMPARE(dialog.myssoft->text(), QDir::toNativeSeparators(target));
        QVERIFY(record.mysoft.isEmpty());
    }

    void pathIsSavedUntrimmed_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("cleared") << QString();
        QTest::newRow("blanks around") << u"  /opt/a b/trader  "_s;
        QTest::newRow("missing file") << u"D:\\没有\\这个.exe"_s;
    }

    void pathIsSavedUntrimmed()
    {
        QFETCH(QString, typed);
        QVERIFY(writeAll(configPath(), userFileBytes()));
        Settings record = m_file->load().settings;
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        dialog.myssoft->setText(typed);
        dialog.Command1_Click();
        QCOMPARE(record.mysoft, typed);
        QVERIFY(readAll(configPath()).endsWith(gbk(u"\r\nmysoft="_s + typed + u"\r\n\r\n"_s)));
        QCOMPARE(m_file->load().settings.mysoft, typed);
    }

    void optionValues_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("shownTicked");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("saved");
        QTest::newRow("0 untouched") << u"Check1"_s << 0 << false << 0 << 0;
        QTest::newRow("0 ticked") << u"Check1"_s << 0 << false << 1 << 1;
        QTest::newRow("1 untouched") << u"Check2"_s << 1 << true << 0 << 1;
        QTest::newRow("1 unticked") << u"Check2"_s << 1 << true << 1 << 0;
        QTest::newRow("2 untouched") << u"Check3"_s << 2 << false << 0 << 2;
        QTest::newRow("2 ticked") << u"Check3"_s << 2 << false << 1 << 1;
        QTest::newRow("2 ticked, unticked") << u"Check4"_s << 2 << false << 2 << 0;
        QTest::newRow("-1 untouched") << u"Check4"_s << -1 << false << 0 << -1;
        QTest::newRow("32767 untouched") << u"Check1"_s << 32767 << false << 0 << 32767;
    }

    void optionValues()
    {
        QFETCH(QString, box);
        QFETCH(int, stored);
        QFETCH(bool, shownTicked);
        QFETCH(int, clicks);
        QFETCH(int, saved);
        Settings record = Settings::defaults();
        const QString keys[] = {u"Check1"_s, u"Check2"_s, u"Check3"_s, u"Check4"_s};
        qint16* fields[] = {&record.qqnews, &record.flashweb, &record.ssoft, &record.shutdown15};
        const char* fileKeys[] = {"qqnews:", "flashweb:", "ssoft:", "shutdown15:"};
        const int which = int(std::find(std::begin(keys), std::end(keys), box) - std::begin(keys));
        QVERIFY(which < 4);
        // The other three hold 1 so that a mix-up of boxes shows.
        for (int i = 0; i < 4; ++i)
            *fields[i] = qint16(i == which ? stored : 1);

        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        auto* check = control<QCheckBox>(dialog, box);
        QVERIFY(check);
        QCOMPARE(check->isChecked(), shownTicked);
        QCOMPARE(check->checkState(), shownTicked ? Qt::Checked : Qt::Unchecked);
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(check, Qt::LeftButton);
        dialog.Command1_Click();

        for (int i = 0; i < 4; ++i)
            QCOMPARE(int(*fields[i]), i == which ? saved : 1);
        const QByteArray written = readAll(configPath());
        const QByteArray line = "\r\n" + QByteArray(fileKeys[which]) + QByteArray::number(saved) + "\r\n";
        QVERIFY2(written.contains(line), written.constData());
    }

    void tabOrder()
    {
        Settings record = Settings::defaults();
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(focusName(), u"Text1"_s);
        const QString law1Shown = dialog.Text1->toPlainText();
        const QStringList expected = {u"Text2"_s,   u"Text3"_s,    u"Text4"_s,    u"Check1"_s,
                                      u"Check2"_s,  u"Check3"_s,   u"Command1"_s, u"Command2"_s,
                                      u"myssoft"_s, u"Command3"_s, u"Check4"_s,   u"Text1"_s};
        QStringList walked;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << focusName();
        }
        QCOMPARE(walked, expected);
        // Tab moved on instead of typing into the rule.
        QCOMPARE(dialog.Text1->toPlainText(), law1Shown);

        QStringList back;
        for (qsizetype i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            back << focusName();
        }
        QCOMPARE(back, (QStringList{u"Check4"_s, u"Command3"_s, u"myssoft"_s}));
    }

    void enterAndEscapeDoNothing_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::newRow("Escape in Text1") << u"Text1"_s << int(Qt::Key_Escape);
        QTest::newRow("Return on Check1") << u"Check1"_s << int(Qt::Key_Return);
        QTest::newRow("Escape on Check4") << u"Check4"_s << int(Qt::Key_Escape);
        QTest::newRow("Return in myssoft") << u"myssoft"_s << int(Qt::Key_Return);
        QTest::newRow("Enter in myssoft") << u"myssoft"_s << int(Qt::Key_Enter);
        QTest::newRow("Escape in myssoft") << u"myssoft"_s << int(Qt::Key_Escape);
        QTest::newRow("Return on Command1") << u"Command1"_s << int(Qt::Key_Return);
        QTest::newRow("Enter on Command1") << u"Command1"_s << int(Qt::Key_Enter);
        QTest::newRow("Escape on Command1") << u"Command1"_s << int(Qt::Key_Escape);
        QTest::newRow("Return on Command2") << u"Command2"_s << int(Qt::Key_Return);
        QTest::newRow("Escape on Command2") << u"Command2"_s << int(Qt::Key_Escape);
        QTest::newRow("Return on Command3") << u"Command3"_s << int(Qt::Key_Return);
    }

    void enterAndEscapeDoNothing()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        Settings record = Settings::defaults();
        record.qqnews = 1;
        const Settings before = record;
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        int browsed = 0;
        dialog.CommonDialog1 = [&](QWidget*, const QString&) {
            ++browsed;
            return u"/bin/sh"_s;
        };
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.Check2->click(); // an edit that a save would write
        auto* w = dialog.findChild<QWidget*>(focus);
        QVERIFY(w);
        w->setFocus(Qt::TabFocusReason);
        QCOMPARE(focusName(), focus);
        QTest::keyClick(w, Qt::Key(key));
        QTest::qWait(20);
        QVERIFY(dialog.isVisible());
        QCOMPARE(browsed, 0);
        QVERIFY(record == before);
        QVERIFY(!QFile::exists(configPath()));
        for (auto* button : dialog.findChildren<QPushButton*>()) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        }
    }

    void failedSaveIsReported_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("config.txt is a folder") << u"folder"_s;
        QTest::newRow("its folder is a file") << u"file"_s;
        QTest::newRow("no room to write") << u"full"_s;
    }

    void failedSaveIsReported()
    {
        QFETCH(QString, how);
        QString target = configPath();
        QString reason;  // the failure in the user's words
        QString witness; // a file that must come through untouched
        QByteArray witnessBytes;
        if (how == u"folder") {
            QVERIFY(QDir().mkpath(target));
            witness = target + u"/keep.txt"_s;
            witnessBytes = "kept";
            reason = u"这是一个文件夹"_s;
        } else if (how == u"file") {
            witness = m_dir->filePath(u"not-a-folder"_s);
            witnessBytes = "a plain file";
            target = witness + u"/config.txt"_s;
            reason = u"路径中有一项不是文件夹"_s;
        } else {
            witness = target;
            witnessBytes = userFileBytes();
            reason = u"文件超出了系统允许的大小"_s;
        }
        QVERIFY(writeAll(witness, witnessBytes));
        const SettingsFile file(target, m_dir->filePath(u"plug/config.txt"_s), kCodePage);

        Settings record = Settings::defaults();
        Keeper keeper(record, file);
        Form2 dialog(keeper, nullptr);
        dialog.show();
        dialog.Text1->setPlainText(u"新规则\n第二行"_s);
        dialog.Check3->click();
        dialog.myssoft->setText(u"/opt/trader"_s);

        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        bool dialogOpenMeanwhile = false;
        onMessageBox([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            dialogOpenMeanwhile = dialog.isVisible();
            box->button(QMessageBox::Ok)->click();
        });
        {
            // A file size limit fails the write of the new file as a full disk would.
            struct rlimit old {};
            const bool limit = how == u"full";
            if (limit) {
                std::signal(SIGXFSZ, SIG_IGN);
                QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
                struct rlimit small = old;
                small.rlim_cur = 64;
                QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
            }
            dialog.Command1_Click();
            if (limit)
                setrlimit(RLIMIT_FSIZE, &old);
        }

        QCOMPARE(title, u"保存设置失败"_s);
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY2(text.contains(u"未能保存"_s), qPrintable(text));
        QVERIFY2(text.contains(reason, Qt::CaseInsensitive), qPrintable(text + u" / "_s + reason));
        QVERIFY(dialogOpenMeanwhile);
        // Then the dialog closes, and not as a success.
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        // The record keeps what was entered; the old file is whole.
        QCOMPARE(record.law1, u"新规则<br>第二行"_s);
        QCOMPARE(record.ssoft, qint16(1));
        QCOMPARE(record.mysoft, u"/opt/trader"_s);
        QCOMPARE(readAll(witness), witnessBytes);
        QStringList files; // no half-written file left behind
        QDirIterator it(m_dir->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        QCOMPARE(files, QStringList{witness});
    }

    void openedFromTheMenu()
    {
        Form1Fixture fixture;
        fixture.writeDefaultConfig(defaultFileBytes());
        Form1& window = fixture.create();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // First opening: edit, save. Second: the saved text is back, then cancel an edit.
        QPointer<Form2> first;
        bool modalOwned = false;
        onForm2([&](Form2* dialog) {
            first = dialog;
            // Owned by the main window, so that it opens above it in every layer.
            modalOwned = dialog->isModal() && dialog->parentWidget() == &window &&
                         QApplication::activeModalWidget() == dialog;
            dialog->Text1->setPlainText(u"只做龙头\n不追高"_s);
            dialog->Check1->click();
            dialog->Command1->click();
        });
        window.systemset123->trigger();
        QVERIFY(modalOwned);
        QVERIFY(first.isNull()); // destroyed on close
        QCOMPARE(window.law1, u"只做龙头<br>不追高"_s);
        QCOMPARE(window.qqnews, qint16(1));
        QVERIFY(
            readAll(fixture.path(u"config.txt"_s)).startsWith(gbk(u"form1.law1:只做龙头<br>不追高\r\n"_s)));

        QString shown;
        onForm2([&](Form2* dialog) {
            shown = dialog->Text1->toPlainText();
            dialog->Text1->setPlainText(u"作废"_s);
            dialog->Command2->click();
        });
        window.systemset123->trigger();
        QCOMPARE(shown, u"只做龙头\n不追高"_s);
        QCOMPARE(window.law1, u"只做龙头<br>不追高"_s);
    }

    void screenshot()
    {
        // Labels must show whole at the default font; a picture for a person to look at too.
        Settings record = Settings::defaults();
        Keeper keeper(record, *m_file);
        Form2 dialog(keeper, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QString folder = qEnvironmentVariable("TICKBELL_SHOTS");
        if (!folder.isEmpty()) {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(dialog.grab().save(folder + u"/form2.png"_s));
        }
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            // The ink as the label draws it: from the top left corner, on the first baseline.
            const QFontMetrics fm(label->font());
            QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
            const QRect ink = fm.tightBoundingRect(label->text()).translated(0, fm.ascent());
            QVERIFY2(label->rect().contains(ink), qPrintable(label->objectName()));
        }
        for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
            const QFontMetrics fm(box->font());
            QVERIFY2(fm.horizontalAdvance(box->title()) < box->width(), qPrintable(box->objectName()));
        }
    }
};

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
