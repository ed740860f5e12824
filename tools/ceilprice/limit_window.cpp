// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ceilprice/limit_window.h"

#include "tools/ceilprice/limit_price.h"
#include "tools/common/decimal_input.h"
#include "tools/common/input_field.h"
#include "tools/common/money.h"
#include "widgets/fonts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString percent(qint64 e2)
{
    const qint64 a = e2 < 0 ? -e2 : e2;
    return u"%1%2.%3%"_s.arg(e2 < 0 ? u"−"_s : u"+"_s).arg(a / 100).arg(a % 100, 2, 10, QChar(u'0'));
}

} // namespace

LimitWindow::LimitWindow(QWidget* parent)
    : ToolWindow(parent), m_code(new InputField(u"可不填，例如 600519"_s, this)),
      m_board(new QComboBox(this)), m_close(new InputField(u"元，例如 12.34"_s, this)),
      m_up(new QLabel(this)), m_down(new QLabel(this))
{
    setObjectName(u"ceilprice"_s);
    setWindowTitle(u"涨停版计算"_s);
    m_code->setObjectName(u"code"_s);
    m_board->setObjectName(u"board"_s);
    m_close->setObjectName(u"close"_s);
    m_up->setObjectName(u"limitUp"_s);
    m_down->setObjectName(u"limitDown"_s);
    for (const Board b : Boards::all())
        m_board->addItem(Boards::label(b), int(b));

    QFont big = Fonts::sans(15);
    big.setBold(true);
    for (QLabel* l : {m_up, m_down}) {
        l->setFont(big);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_up->setStyleSheet(u"color: #d00000;"_s);
    m_down->setStyleSheet(u"color: #008000;"_s);

    auto* form = new QFormLayout;
    form->addRow(u"股票代码："_s, m_code);
    form->addRow(u"板块："_s, m_board);
    form->addRow(u"昨日收盘价："_s, m_close);
    auto* note = new QLabel(u"涨跌停价 = 昨收 × (1 ± 涨跌幅)，沪深两市四舍五入到分；北交所向昨收方向取到分，"
                            "不超过 30%。ST 股请选“主板 ST”；新股上市初期另有规定。"_s,
                            this);
    note->setWordWrap(true);
    note->setStyleSheet(u"color: #555555;"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    layout->addWidget(note);
    setMinimumWidth(420);

    connect(m_code, &InputField::edited, this, &LimitWindow::codeEdited);
    connect(m_board, &QComboBox::currentIndexChanged, this, &LimitWindow::recalculate);
    connect(m_close, &InputField::edited, this, &LimitWindow::recalculate);
    recalculate();
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

void LimitWindow::recalculate()
{
    const auto board = Board(m_board->currentData().toInt());
    const DecimalInput close = Input::price(m_close->text());
    // An empty field is not yet an error: it asks.
    m_close->setError(m_close->text().trimmed().isEmpty() ? QString() : close.error);
    if (!close.ok()) {
        m_up->setText(u"涨停价：请填写昨日收盘价"_s);
        m_down->setText(u"跌停价："_s);
        return;
    }
    const LimitPrices p = limitPrices(close.units, board);
    m_up->setText(u"涨停价：%1 元（%2）"_s.arg(Money::yuan(p.upLi), percent(p.upPercentE2)));
    m_down->setText(u"跌停价：%1 元（%2）"_s.arg(Money::yuan(p.downLi), percent(p.downPercentE2)));
}
