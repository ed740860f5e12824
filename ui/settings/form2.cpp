// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/form2.h"

#include "core/settings/settings_keeper.h"
#include "core/texts/markup.h"
#include "widgets/program_icon.h"
#include "widgets/twips.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// One entry, "AllFile " with its trailing blank. Its pattern is "*": "*.*" lists every file on
// Windows but only names with a dot here, and trading clients on Linux often have none.
const QString kFileFilter = u"AllFile  (*)"_s;

// The text boxes break lines at LF; the record may hold "<br>" or CR LF.
QString forTextBox(const QString& law)
{
    QString text = Markup::brToLineBreaks(law);
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    return text;
}

template <typename W> W* named(W* widget, const QString& name, const QString& accessibleName)
{
    widget->setObjectName(name);
    widget->setAccessibleName(accessibleName);
    return widget;
}

} // namespace

Form2::Form2(SettingsKeeper& keeper, QWidget* parent)
    : QDialog(parent), m_keeper(keeper), m_record(keeper.settings())
{
    setObjectName(u"Form2"_s);
    setAccessibleName(u"系统设置"_s);
    // Title bar with the close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(u"系统设置"_s);
    setWindowIcon(programIcon());
    setSizeGripEnabled(false);
    // The white reaches the group boxes, labels and check boxes, which draw no background
    // of their own; text boxes and buttons keep the style's colours.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFixedSize(px(9120), px(5610));

    CommonDialog1 = [](QWidget* owner, const QString& filter) {
        return QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
    };

    buildControls();
    Form_Load();
}

void Form2::buildControls()
{
    auto frame = [this](const QString& name, const QString& words, QRect geometry) {
        auto* box = named(new QGroupBox(u' ' + words + u' ', this), name, words);
        box->setGeometry(geometry);
        return box;
    };
    auto text = [](QGroupBox* container, const QString& name, const QString& accessibleName, QRect geometry) {
        auto* edit = named(new QPlainTextEdit(container), name, accessibleName);
        edit->setGeometry(geometry);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        // Tab walks the dialog's controls, as in every other box of the dialog.
        edit->setTabChangesFocus(true);
        return edit;
    };
    auto label = [](QWidget* container, const QString& name, const QString& caption, QRect geometry) {
        auto* l = named(new QLabel(caption, container), name, caption);
        l->setGeometry(geometry);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    auto check = [](QWidget* container, const QString& name, QLabel* caption, QRect geometry) {
        auto* box = named(new QCheckBox(container), name, caption->text());
        box->setGeometry(geometry);
        box->setBackgroundRole(QPalette::Window); // buttons would take the grey of a button
        caption->setBuddy(box); // the label names the box for assistive tools; clicks do nothing
        return box;
    };
    auto button = [this](const QString& name, const QString& caption, const QString& accessibleName,
                         QRect geometry) {
        auto* b = named(new QPushButton(caption, this), name, accessibleName);
        b->setGeometry(geometry);
        // No default button: Enter never saves and never cancels.
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
    };

    Frame1 = frame(u"Frame1"_s, u"买入纪律"_s, twipsRect(120, 120, 4335, 2055));
    Text1 = text(Frame1, u"Text1"_s, u"买入纪律"_s, twipsRect(120, 240, 4095, 1695));
    Frame2 = frame(u"Frame2"_s, u"卖出纪律"_s, twipsRect(4560, 120, 4455, 2055));
    Text2 = text(Frame2, u"Text2"_s, u"卖出纪律"_s, twipsRect(120, 240, 4215, 1695));
    Frame3 = frame(u"Frame3"_s, u"持仓纪律"_s, twipsRect(120, 2280, 4335, 2055));
    Text3 = text(Frame3, u"Text3"_s, u"持仓纪律"_s, twipsRect(120, 240, 4095, 1695));
    Frame4 = frame(u"Frame4"_s, u"空仓纪律"_s, twipsRect(4560, 2280, 4455, 2055));
    Text4 = text(Frame4, u"Text4"_s, u"空仓纪律"_s, twipsRect(120, 240, 4215, 1695));

    Frame5 = frame(u"Frame5"_s, u"开盘时自动启动"_s, twipsRect(120, 4440, 4335, 975));
    Label1[0] = label(Frame5, u"Label1_0"_s, u"QQ滚动新闻"_s, twipsRect(120, 280, 975, 255));
    Check1 = check(Frame5, u"Check1"_s, Label1[0], twipsRect(1440, 240, 255, 255));
    Label1[1] = label(Frame5, u"Label1_1"_s, u"行情网页"_s, twipsRect(2280, 280, 1215, 255));
    Check2 = check(Frame5, u"Check2"_s, Label1[1], twipsRect(3600, 240, 255, 255));
    Label1[3] = label(Frame5, u"Label1_3"_s, u"炒股软件"_s, twipsRect(120, 650, 1215, 255));
    Check3 = check(Frame5, u"Check3"_s, Label1[3], twipsRect(1440, 600, 255, 255));
    Label1[2] = label(Frame5, u"Label1_2"_s, u"下午收盘关机"_s, twipsRect(2250, 650, 1215, 255));
    Check4 = check(Frame5, u"Check4"_s, Label1[2], twipsRect(3600, 585, 255, 255));

    Label2 = label(this, u"Label2"_s, u"我的炒股软件："_s, twipsRect(4680, 4485, 1335, 255));
    myssoft = named(new QLineEdit(this), u"myssoft"_s, u"我的炒股软件"_s);
    myssoft->setGeometry(twipsRect(6000, 4440, 2415, 270));
    Label2->setBuddy(myssoft);
    Command3 = button(u"Command3"_s, u"..."_s, u"选择炒股软件"_s, twipsRect(8520, 4440, 495, 255));
    Command1 = button(u"Command1"_s, u"保存设置"_s, u"保存设置"_s, twipsRect(5520, 4920, 1695, 495));
    Command2 = button(u"Command2"_s, u"取消"_s, u"取消"_s, twipsRect(7320, 4920, 1695, 495));

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);

    QWidget* const order[] = {Text1,  Text2,    Text3,    Text4,   Check1,   Check2,
                              Check3, Command1, Command2, myssoft, Command3, Check4};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    Text1->setFocus();

    m_rules[0] = {Text1, &m_record.law1, {}};
    m_rules[1] = {Text2, &m_record.law2, {}};
    m_rules[2] = {Text3, &m_record.law3, {}};
    m_rules[3] = {Text4, &m_record.law4, {}};
    m_options[0].box = Check1;
    m_options[1].box = Check2;
    m_options[2].box = Check3;
    m_options[3].box = Check4;
}

void Form2::Form_Load()
{
    for (Rule& rule : m_rules) {
        rule.edit->setPlainText(forTextBox(*rule.field));
        rule.filled = rule.edit->toPlainText();
    }
    const qint16 stored[] = {m_record.qqnews, m_record.flashweb, m_record.ssoft, m_record.shutdown15};
    for (int i = 0; i < 4; ++i) {
        Option& option = m_options[i];
        option.stored = stored[i];
        option.touched = false;
        // Only 1 is on; any other value shows an empty box and is kept until the user clicks.
        option.box->setChecked(isOn(stored[i]));
        connect(option.box, &QCheckBox::toggled, this, [&option] { option.touched = true; });
    }
    myssoft->setText(m_record.mysoft);
}

qint16 Form2::optionValue(const Option& option) const
{
    if (option.box->isChecked())
        return 1;
    return option.touched ? 0 : option.stored;
}

void Form2::Command1_Click()
{
    for (const Rule& rule : m_rules) {
        const QString shown = rule.edit->toPlainText();
        *rule.field = Markup::lineBreaksToBr(shown == rule.filled ? *rule.field : shown);
    }
    m_record.qqnews = optionValue(m_options[0]);
    m_record.flashweb = optionValue(m_options[1]);
    m_record.ssoft = optionValue(m_options[2]);
    m_record.mysoft = myssoft->text();
    m_record.shutdown15 = optionValue(m_options[3]);

    QString why;
    if (!m_keeper.SaveSettings(m_record, &why)) {
        // The record keeps the edits, so they hold for this run; the file keeps the old settings.
        QMessageBox::warning(this, u"保存设置失败"_s,
                             u"系统设置未能保存到文件：\n%1\n\n原因：%2\n\n"
                             "本次修改在程序退出前有效，下次启动时仍使用原来的设置。"_s.arg(
                                 QDir::toNativeSeparators(m_keeper.settingsPath()), why));
        reject();
        return;
    }
    accept();
}

void Form2::Command2_Click()
{
    reject();
}

void Form2::Command3_Click()
{
    if (!CommonDialog1)
        return;
    const QString chosen = CommonDialog1(this, kFileFilter);
    if (!chosen.isEmpty())
        myssoft->setText(QDir::toNativeSeparators(chosen));
}

void Form2::keyPressEvent(QKeyEvent* event)
{
    // There is no cancel button: Escape does not close the dialog.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
