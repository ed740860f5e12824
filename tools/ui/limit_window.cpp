// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/limit_window.h"

#include "core/calendar/trading_calendar.h"
#include "tools/core/decimal_input.h"
#include "tools/core/limit_price.h"
#include "tools/ui/input_field.h"
#include "widgets/fonts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// "7月3日（周五）"; the year too when it is not the trading day's.
QString dayText(QDate day, QDate tradingDay, bool weekday = true)
{
    static const QStringList weekdays = {u"周日"_s, u"周一"_s, u"周二"_s, u"周三"_s,
                                         u"周四"_s, u"周五"_s, u"周六"_s};
    QString text = u"%1月%2日"_s.arg(day.month()).arg(day.day());
    if (day.year() != tradingDay.year())
        text.prepend(u"%1年"_s.arg(day.year()));
    if (weekday)
        text += u"（%1）"_s.arg(weekdays[WeekdayNumber(day) - 1]);
    return text;
}

} // namespace

LimitWindow::LimitWindow(const TradingCalendar& calendar, QDate day, QWidget* parent)
    : ToolWindow(parent), m_calendar(calendar), m_day(new QDateEdit(day, this)), m_dayNote(new QLabel(this)),
      m_code(new InputField(u"可不填，例如 600519"_s, this)), m_board(new QComboBox(this)),
      m_closeLabel(new QLabel(this)), m_close(new InputField(u"元，例如 12.34"_s, this)),
      m_up(new QLabel(this)), m_down(new QLabel(this))
{
    setObjectName(u"ceilprice"_s);
    setWindowTitle(u"涨停版计算"_s);
    m_day->setObjectName(u"day"_s);
    m_dayNote->setObjectName(u"dayNote"_s);
    m_code->setObjectName(u"code"_s);
    m_board->setObjectName(u"board"_s);
    m_close->setObjectName(u"close"_s);
    m_up->setObjectName(u"limitUp"_s);
    m_down->setObjectName(u"limitDown"_s);
    m_day->setDisplayFormat(u"yyyy年M月d日 ddd"_s);
    m_day->setCalendarPopup(true);
    for (const Board b : Boards::all())
        m_board->addItem(QString(), int(b));
    m_code->setLabel(u"股票代码"_s);

    QFont big = Fonts::sans(15);
    big.setBold(true);
    for (QLabel* l : {m_up, m_down}) {
        l->setFont(big);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_up->setStyleSheet(u"color: #d00000;"_s);
    m_down->setStyleSheet(u"color: #008000;"_s);
    m_dayNote->setWordWrap(true);
    m_dayNote->setStyleSheet(u"color: #555555;"_s);

    auto* form = new QFormLayout;
    form->addRow(u"交易日："_s, m_day);
    form->addRow(QString(), m_dayNote);
    form->addRow(u"股票代码："_s, m_code);
    form->addRow(u"板块："_s, m_board);
    form->addRow(m_closeLabel, m_close);
    auto* note =
        new QLabel(u"涨跌停价 = 前收盘价 × (1 ± 涨跌幅)，沪深两市四舍五入到分；北交所向前收盘价方向取到分，"
                   "不超过 30%。主板 ST、*ST 股请选“主板 ST”（%1）；新股上市初期另有规定。"_s.arg(
                       Boards::limitHistory(Board::MainST)),
                   this);
    note->setObjectName(u"note"_s);
    note->setWordWrap(true);
    note->setStyleSheet(u"color: #555555;"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    layout->addWidget(note);
    setMinimumWidth(460);

    connect(m_day, &QDateEdit::dateChanged, this, &LimitWindow::dayChanged);
    connect(m_code, &InputField::edited, this, &LimitWindow::codeEdited);
    connect(m_board, &QComboBox::currentIndexChanged, this, &LimitWindow::recalculate);
    connect(m_close, &InputField::edited, this, &LimitWindow::recalculate);
    dayChanged();
}

void LimitWindow::codeEdited()
{
    QString error;
    if (!m_code->text().trimmed().isEmpty()) {
        if (const std::optional<Board> board = Boards::fromCode(m_code->text(), &error))
            m_board->setCurrentIndex(m_board->findData(int(*board)));
    }
    m_code->setError(error);
}

void LimitWindow::dayChanged()
{
    const QDate chosen = m_day->date();
    m_tradingDay = m_calendar.isTradingDay(chosen) ? chosen : nextTradingDay(chosen, 1, m_calendar);
    // Only a closed day has a note: hidden, its words are still read out.
    m_dayNote->setText(m_tradingDay == chosen ? QString()
                                              : u"%1休市，按下一个交易日 %2计算"_s.arg(
                                                    dayText(chosen, chosen), dayText(m_tradingDay, chosen)));
    m_dayNote->setVisible(m_tradingDay != chosen);
    // The close is the one of the trading day before.
    const QDate before = nextTradingDay(m_tradingDay, -1, m_calendar);
    const QString close =
        before.isValid() ? u"前收盘价（%1）"_s.arg(dayText(before, m_tradingDay, false)) : u"前收盘价"_s;
    m_closeLabel->setText(close + u"："_s);
    m_close->setLabel(close);
    // The boards' limits as that day's rules have them.
    for (int i = 0; i < m_board->count(); ++i)
        m_board->setItemText(i, Boards::label(Board(m_board->itemData(i).toInt()), m_tradingDay));
    recalculate();
}

void LimitWindow::recalculate()
{
    const auto board = Board(m_board->currentData().toInt());
    const DecimalInput close = Input::price(m_close->text());
    // An empty field is not yet an error: it asks.
    m_close->setError(m_close->text().trimmed().isEmpty() ? QString() : close.error);
    if (!close.ok() || !m_tradingDay.isValid()) {
        m_up->setText(u"涨停价：请填写前收盘价"_s);
        m_down->setText(u"跌停价："_s);
        return;
    }
    const LimitPrices p = limitPrices(close.units, board, m_tradingDay);
    m_up->setText(p.upText());
    m_down->setText(p.downText());
}
