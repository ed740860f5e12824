// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/reminders/reminders_window.h"

#include "core/calendar/trading_calendar.h"
#include "core/reminders/reminder_book.h"
#include "core/reminders/reminder_days.h"
#include "core/services/clock.h"
#include "core/time/exchange_clock.h"
#include "widgets/named_controls.h"
#include "widgets/program_icon.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

enum Column { TimeColumn, DayColumn, TextColumn, NextColumn };

const QString kDateChoice = u"某一天（日期）"_s;
constexpr int kPreviewDays = 5;

} // namespace

QList<Reminder> RemindersWindow::suggestions()
{
    return {
        {QTime(14, 50), {ReminderDay::Rule::EveryTradingDay, 0, {}}, u"尾盘检查持仓"_s, true},
        {QTime(14, 30), {ReminderDay::Rule::LastBeforeClosure, 0, {}}, u"明天起休市，检查逆回购"_s, true},
    };
}

RemindersWindow::RemindersWindow(ReminderBook& book, const TradingCalendar& calendar, const Clock& clock,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), m_book(book), m_calendar(calendar), m_clock(clock), m_edited(book.file())
{
    setObjectName(u"RemindersWindow"_s);
    setWindowTitle(u"我的提醒"_s);
    setWindowIcon(programIcon());
    buildControls();
    refresh(m_edited.count() > 0 ? 0 : -1);
    if (m_edited.count() == 0)
        updatePreview();
    list->setFocus();
    resize(sizeHint().expandedTo(QSize(640, 480)));
}

void RemindersWindow::buildControls()
{
    const auto button = [this](const char* name, const QString& caption) {
        return namedButton(this, name, caption);
    };
    const auto label = [this](const char* name) { return namedLabel(this, name); };

    list = new QTreeWidget(this);
    list->setObjectName(u"reminderList"_s);
    list->setAccessibleName(u"我的提醒"_s);
    list->setHeaderLabels({u"时间"_s, u"日子"_s, u"内容"_s, u"下次"_s});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(TextColumn, QHeaderView::Stretch);
    list->installEventFilter(this);
    connect(list, &QTreeWidget::currentItemChanged, this, &RemindersWindow::showSelected);
    connect(list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (m_filling || column != TimeColumn)
            return;
        // The item stays: Qt still holds it while it tells of its change.
        const int index = list->indexOfTopLevelItem(item);
        m_edited.setOn(index, item->checkState(TimeColumn) == Qt::Checked);
        m_filling = true;
        showItem(item, m_edited.at(index), TradingDays(m_calendar));
        m_filling = false;
        saveButton->setEnabled(hasChanges());
    });

    unreadable = label("unreadable");
    QPalette warn = unreadable->palette();
    warn.setColor(QPalette::WindowText, QColor(153, 0, 51));
    unreadable->setPalette(warn);

    timeEdit = new QLineEdit(this);
    timeEdit->setObjectName(u"timeEdit"_s);
    timeEdit->setPlaceholderText(u"14:50"_s);
    timeEdit->setMaxLength(8);
    dayChoice = new QComboBox(this);
    dayChoice->setObjectName(u"dayChoice"_s);
    for (const ReminderDay& day : namedReminderDays())
        dayChoice->addItem(reminderDayText(day));
    dayChoice->addItem(kDateChoice);
    dateEdit = new QDateEdit(this);
    dateEdit->setObjectName(u"dateEdit"_s);
    dateEdit->setAccessibleName(u"日期"_s);
    dateEdit->setDisplayFormat(u"yyyy-MM-dd"_s);
    dateEdit->setCalendarPopup(true);
    dateEdit->setDate(now().date());
    textEdit = new QLineEdit(this);
    textEdit->setObjectName(u"textEdit"_s);
    textEdit->setMaxLength(Reminder::kMaxTextLength);
    textEdit->setPlaceholderText(u"例如：尾盘检查持仓"_s);
    preview = label("preview");
    // Programmatic changes too: a reminder chosen in the list fills the fields.
    connect(timeEdit, &QLineEdit::textChanged, this, &RemindersWindow::updatePreview);
    connect(textEdit, &QLineEdit::textChanged, this, &RemindersWindow::updatePreview);
    connect(dayChoice, &QComboBox::currentIndexChanged, this, &RemindersWindow::updatePreview);
    connect(dateEdit, &QDateEdit::dateChanged, this, &RemindersWindow::updatePreview);

    addButton = button("addReminder", u"添加"_s);
    changeButton = button("changeReminder", u"修改"_s);
    deleteButton = button("deleteReminder", u"删除"_s);
    connect(addButton, &QPushButton::clicked, this, &RemindersWindow::addFromFields);
    connect(changeButton, &QPushButton::clicked, this, &RemindersWindow::changeSelected);
    connect(deleteButton, &QPushButton::clicked, this, &RemindersWindow::deleteSelected);

    saveButton = button("saveReminders", u"保存"_s);
    closeButton = button("closeReminders", u"关闭"_s);
    connect(saveButton, &QPushButton::clicked, this, &RemindersWindow::saveChanges);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    status = label("status");

    auto* when = new QHBoxLayout;
    when->addWidget(timeEdit);
    auto* dayLabel = new QLabel(u"日子"_s, this);
    dayLabel->setBuddy(dayChoice);
    when->addWidget(dayLabel);
    when->addWidget(dayChoice);
    when->addWidget(dateEdit);
    when->addStretch();
    timeEdit->setFixedWidth(timeEdit->fontMetrics().horizontalAdvance(u"00:00:00"_s) * 3 / 2);
    auto* fields = new QFormLayout;
    auto* timeLabel = new QLabel(u"时间"_s, this);
    timeLabel->setBuddy(timeEdit);
    fields->addRow(timeLabel, when);
    auto* textLabel = new QLabel(u"内容"_s, this);
    textLabel->setBuddy(textEdit);
    fields->addRow(textLabel, textEdit);
    auto* previewLabel = new QLabel(u"接下来"_s, this);
    previewLabel->setBuddy(preview);
    fields->addRow(previewLabel, preview);
    auto* edits = new QHBoxLayout;
    edits->addStretch();
    edits->addWidget(addButton);
    edits->addWidget(changeButton);
    edits->addWidget(deleteButton);

    auto* suggested = new QHBoxLayout;
    suggested->addWidget(new QLabel(u"常用："_s, this));
    const QList<Reminder> offered = suggestions();
    for (qsizetype i = 0; i < offered.size(); ++i) {
        auto* b = button(i == 0 ? "suggestion1" : "suggestion2", reminderLine(offered[i]));
        b->setToolTip(u"添加这条提醒（保存后生效）"_s);
        connect(b, &QPushButton::clicked, this, [this, i] { addSuggestion(int(i)); });
        suggested->addWidget(b);
        suggestionButtons << b;
    }
    suggested->addStretch();

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status, 1);
    bottom->addWidget(saveButton);
    bottom->addWidget(closeButton);

    auto* all = new QVBoxLayout(this);
    all->addWidget(list, 1);
    all->addWidget(unreadable);
    all->addLayout(fields);
    all->addLayout(edits);
    all->addLayout(suggested);
    all->addLayout(bottom);
    QWidget* const order[] = {list,
                              timeEdit,
                              dayChoice,
                              dateEdit,
                              textEdit,
                              addButton,
                              changeButton,
                              deleteButton,
                              suggestionButtons[0],
                              suggestionButtons[1],
                              saveButton,
                              closeButton};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

QDateTime RemindersWindow::now() const
{
    return ExchangeClock::beijing(m_clock.now());
}

bool RemindersWindow::hasChanges() const
{
    return !(m_edited == m_book.file());
}

int RemindersWindow::selected() const
{
    return list->currentItem() ? list->indexOfTopLevelItem(list->currentItem()) : -1;
}

void RemindersWindow::refresh(int select)
{
    m_filling = true;
    list->clear();
    const TradingDays days(m_calendar);
    for (qsizetype i = 0; i < m_edited.count(); ++i) {
        auto* item = new QTreeWidgetItem(list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setToolTip(TimeColumn, u"勾上：提醒；不勾：关闭（留在文件里）"_s);
        showItem(item, m_edited.at(i), days);
    }
    QStringList lines;
    for (const RemindersFile::Unreadable& line : m_edited.unreadable())
        lines << u"第%1行“%2”读不懂：%3。这一行原样留在文件里，不会提醒。"_s.arg(line.line).arg(line.text,
                                                                                                line.why);
    unreadable->setText(lines.join(u'\n'));
    unreadable->setVisible(!lines.isEmpty());
    if (!m_book.readProblem().isEmpty()) {
        unreadable->setText(m_book.readProblem());
        unreadable->setVisible(true);
    }
    m_filling = false;
    if (select >= 0 && select < list->topLevelItemCount())
        list->setCurrentItem(list->topLevelItem(select));
    const bool any = selected() >= 0;
    changeButton->setEnabled(any);
    deleteButton->setEnabled(any);
    saveButton->setEnabled(hasChanges());
}

void RemindersWindow::showItem(QTreeWidgetItem* item, const Reminder& r, const TradingDays& days)
{
    const QDateTime at = now();
    const QList<QDateTime> next = nextOccurrences(r, at, days);
    item->setText(TimeColumn, reminderTimeText(r.time));
    item->setText(DayColumn, reminderDayText(r.day));
    item->setText(TextColumn, r.text);
    item->setText(NextColumn, !r.on            ? u"已关闭"_s
                              : next.isEmpty() ? u"不会再响"_s
                                               : u"下次："_s + occurrenceText(next.first(), at.date()));
    item->setCheckState(TimeColumn, r.on ? Qt::Checked : Qt::Unchecked);
    item->setData(TimeColumn, Qt::AccessibleDescriptionRole, r.on ? u"开"_s : u"关"_s);
    const QBrush text = list->palette().brush(r.on ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    for (int c = 0; c < list->columnCount(); ++c)
        item->setForeground(c, text);
}

void RemindersWindow::showSelected()
{
    const int index = selected();
    changeButton->setEnabled(index >= 0);
    deleteButton->setEnabled(index >= 0);
    if (m_filling || index < 0)
        return;
    const Reminder& r = m_edited.at(index);
    timeEdit->setText(reminderTimeText(r.time));
    if (r.day.rule == ReminderDay::Rule::Date) {
        dayChoice->setCurrentIndex(dayChoice->count() - 1);
        dateEdit->setDate(r.day.date);
    } else {
        dayChoice->setCurrentText(reminderDayText(r.day));
    }
    textEdit->setText(r.text);
    updatePreview();
}

std::optional<Reminder> RemindersWindow::fieldsReminder() const
{
    Reminder r;
    r.time = parseReminderTime(timeEdit->text().trimmed());
    const QString day = dayChoice->currentText();
    if (day == kDateChoice)
        r.day = {ReminderDay::Rule::Date, 0, dateEdit->date()};
    else if (const auto named = parseReminderDay(day))
        r.day = *named;
    r.text = textEdit->text().trimmed();
    if (!reminderProblem(r).isEmpty())
        return std::nullopt;
    return r;
}

void RemindersWindow::updatePreview()
{
    dateEdit->setEnabled(dayChoice->currentText() == kDateChoice);
    const std::optional<Reminder> r = fieldsReminder();
    if (!r) {
        Reminder given;
        given.time = parseReminderTime(timeEdit->text().trimmed());
        given.day = {ReminderDay::Rule::Date, 0, dateEdit->date()};
        given.text = textEdit->text().trimmed();
        preview->setText(timeEdit->text().isEmpty() && textEdit->text().isEmpty()
                             ? u"填好时间和内容，这里显示接下来五次提醒的日子。"_s
                             : reminderProblem(given) + u"。"_s);
        addButton->setEnabled(false);
        changeButton->setEnabled(false);
        return;
    }
    addButton->setEnabled(true);
    changeButton->setEnabled(selected() >= 0);
    const QDateTime at = now();
    QStringList shown;
    for (const QDateTime& when : nextOccurrences(*r, at, m_calendar, kPreviewDays))
        shown << occurrenceText(when, at.date());
    preview->setText(shown.isEmpty() ? u"这条提醒不会再响（日子已经过了）。"_s : shown.join(u"、"_s));
}

void RemindersWindow::addFromFields()
{
    const std::optional<Reminder> r = fieldsReminder();
    if (!r || !m_edited.add(*r))
        return;
    refresh(int(m_edited.count() - 1));
    status->setText(u"已添加，按“保存”后生效。"_s);
}

void RemindersWindow::changeSelected()
{
    const int index = selected();
    std::optional<Reminder> r = fieldsReminder();
    if (index < 0 || !r)
        return;
    r->on = m_edited.at(index).on;
    if (!m_edited.replace(index, *r))
        return;
    refresh(index);
    status->setText(u"已修改，按“保存”后生效。"_s);
}

void RemindersWindow::deleteSelected()
{
    const int index = selected();
    if (index < 0 || !m_edited.remove(index))
        return;
    refresh(qMin(index, int(m_edited.count() - 1)));
    status->setText(u"已删除，按“保存”后生效。"_s);
}

void RemindersWindow::addSuggestion(int which)
{
    const Reminder r = suggestions().value(which);
    for (qsizetype i = 0; i < m_edited.count(); ++i) {
        if (m_edited.at(i) == r) {
            refresh(int(i));
            status->setText(u"这条提醒已经有了。"_s);
            return;
        }
    }
    m_edited.add(r);
    refresh(int(m_edited.count() - 1));
    status->setText(u"已添加，按“保存”后生效。"_s);
}

bool RemindersWindow::saveChanges()
{
    QString why;
    if (!m_book.save(m_edited, &why)) {
        QMessageBox::warning(this, u"保存提醒失败"_s,
                             u"提醒未能保存到文件：\n%1\n\n原因：%2\n\n修改还在窗口里，没有丢失。"_s.arg(
                                 QDir::toNativeSeparators(m_book.path()), why));
        status->setText(u"没有保存：%1"_s.arg(why));
        return false;
    }
    refresh(selected());
    status->setText(u"已保存到 %1。"_s.arg(QDir::toNativeSeparators(m_book.path())));
    return true;
}

void RemindersWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool RemindersWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Delete in the list deletes the reminder chosen there.
    if (watched == list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteSelected();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RemindersWindow::closeEvent(QCloseEvent* event)
{
    if (hasChanges()) {
        const auto answer = QMessageBox::question(
            this, u"我的提醒"_s, u"我的提醒里的修改还没有保存。保存吗？"_s,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !saveChanges())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}
