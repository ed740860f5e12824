// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/switch_window.h"

#include "core/time/exchange_clock.h"
#include "tools/core/decimal_input.h"
#include "tools/core/money.h"
#include "tools/core/switch_sum.h"
#include "tools/core/tools_log.h"
#include "tools/ui/input_field.h"
#include "tools/ui/tool_app.h"
#include "widgets/fonts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString kRateKey = u"posmover/commissionRate"_s;
const QString kMinimumKey = u"posmover/minimumCommission"_s;

QFormLayout* form(QGroupBox* box)
{
    auto* f = new QFormLayout(box);
    f->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return f;
}

} // namespace

SwitchWindow::SwitchWindow(QSettings& settings, QWidget* parent)
    : ToolWindow(parent), m_settings(settings), m_sellShares(new InputField(u"股，例如 1000"_s, this)),
      m_sellPrice(new InputField(u"元"_s, this)), m_buyCode(new InputField(u"可不填，用来判断板块"_s, this)),
      m_buyBoard(new QComboBox(this)), m_buyPrice(new InputField(u"元"_s, this)),
      m_rate(new InputField(u"%，例如 0.025"_s, this)), m_minimum(new InputField(u"元，例如 5"_s, this)),
      m_summary(new QLabel(this)), m_steps(new QPlainTextEdit(this))
{
    setObjectName(u"posmover"_s);
    setWindowTitle(u"转仓计算器"_s);
    m_sellShares->setObjectName(u"sellShares"_s);
    m_sellPrice->setObjectName(u"sellPrice"_s);
    m_buyCode->setObjectName(u"buyCode"_s);
    m_buyBoard->setObjectName(u"buyBoard"_s);
    m_buyPrice->setObjectName(u"buyPrice"_s);
    m_rate->setObjectName(u"commissionRate"_s);
    m_minimum->setObjectName(u"minimumCommission"_s);
    m_summary->setObjectName(u"summary"_s);
    m_steps->setObjectName(u"steps"_s);
    for (const Board b : Boards::all())
        m_buyBoard->addItem(Boards::name(b), int(b));
    // Each group has its own 价格: the names say whose.
    m_sellShares->setLabel(u"卖出股数"_s);
    m_sellPrice->setLabel(u"卖出价格"_s);
    m_buyCode->setLabel(u"买入代码"_s);
    m_buyBoard->setAccessibleName(u"买入板块"_s);
    m_buyPrice->setLabel(u"买入价格"_s);
    m_rate->setLabel(u"佣金率 %"_s);
    m_minimum->setLabel(u"每笔最低佣金（元）"_s);
    m_steps->setAccessibleName(u"计算过程"_s);

    auto* sell = new QGroupBox(u"卖出"_s, this);
    QFormLayout* sellForm = form(sell);
    sellForm->addRow(u"股数："_s, m_sellShares);
    sellForm->addRow(u"价格："_s, m_sellPrice);
    auto* buy = new QGroupBox(u"买入"_s, this);
    QFormLayout* buyForm = form(buy);
    buyForm->addRow(u"代码："_s, m_buyCode);
    buyForm->addRow(u"板块："_s, m_buyBoard);
    buyForm->addRow(u"价格："_s, m_buyPrice);
    auto* broker = new QGroupBox(u"券商佣金（会记住）"_s, this);
    QFormLayout* brokerForm = form(broker);
    brokerForm->addRow(u"佣金率 %："_s, m_rate);
    brokerForm->addRow(u"每笔最低（元）："_s, m_minimum);

    QFont big = Fonts::sans(13);
    big.setBold(true);
    m_summary->setFont(big);
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_steps->setReadOnly(true);
    m_steps->setMinimumHeight(220);

    auto* top = new QHBoxLayout;
    top->addWidget(sell);
    top->addWidget(buy);
    top->addWidget(broker);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_summary);
    layout->addWidget(m_steps, 1);
    resize(820, 520);

    m_rate->setText(m_settings.value(kRateKey, u"0.025"_s).toString());
    m_minimum->setText(m_settings.value(kMinimumKey, u"5"_s).toString());
    for (InputField* f : {m_sellShares, m_sellPrice, m_buyPrice, m_rate, m_minimum})
        connect(f, &InputField::edited, this, &SwitchWindow::recalculate);
    connect(m_buyCode, &InputField::edited, this, &SwitchWindow::codeEdited);
    connect(m_buyBoard, &QComboBox::currentIndexChanged, this, &SwitchWindow::recalculate);
    recalculate();
}

void SwitchWindow::codeEdited()
{
    QString error;
    if (!m_buyCode->text().trimmed().isEmpty()) {
        if (const std::optional<Board> board = Boards::fromCode(m_buyCode->text(), &error))
            m_buyBoard->setCurrentIndex(m_buyBoard->findData(int(*board)));
    }
    m_buyCode->setError(error);
}

void SwitchWindow::recalculate()
{
    // Each field says what is wrong with it; one left empty is only listed as still missing.
    QStringList missing;
    bool good = true;
    auto take = [&](InputField* field, const DecimalInput& value, const QString& name) {
        const bool empty = field->text().trimmed().isEmpty();
        field->setError(empty ? QString() : value.error);
        if (empty)
            missing << name;
        good = good && value.ok();
        return value.units;
    };
    SwitchOrder order;
    order.sellShares = take(m_sellShares, Input::shares(m_sellShares->text()), u"卖出股数"_s);
    order.sellPriceLi = take(m_sellPrice, Input::price(m_sellPrice->text()), u"卖出价格"_s);
    order.buyPriceLi = take(m_buyPrice, Input::price(m_buyPrice->text()), u"买入价格"_s);
    const DecimalInput rate = Input::commissionRate(m_rate->text());
    const DecimalInput minimum = Input::minimumCommission(m_minimum->text());
    order.broker.commissionE7 = take(m_rate, rate, u"佣金率"_s);
    order.broker.minimumLi = take(m_minimum, minimum, u"最低佣金"_s) * 10;
    order.buyBoard = Board(m_buyBoard->currentData().toInt());
    order.day = ExchangeClock::beijing(SystemClock().now()).date(); // the exchanges' day

    QString saveProblem;
    if (rate.ok() && minimum.ok()) {
        m_settings.setValue(kRateKey, m_rate->text().trimmed());
        m_settings.setValue(kMinimumKey, m_minimum->text().trimmed());
        m_settings.sync();
        saveProblem = ToolApp::saveProblem(m_settings);
        if (!saveProblem.isEmpty())
            qCWarning(lcTools, "%s", qUtf8Printable(saveProblem));
    }
    QString summary;
    QStringList steps;
    if (!good) {
        summary = missing.isEmpty() ? u"请改正标红的内容"_s : u"请填写："_s + missing.join(u"、"_s);
    } else {
        const SwitchResult r = switchPositions(order);
        summary =
            !r.refusal.isEmpty() ? r.refusal
            : r.buyShares > 0
                ? u"可买入 %1 股，剩余资金 %2 元"_s.arg(Money::count(r.buyShares), Money::yuan(r.cashLeftLi))
                : u"卖出所得不够买入最少的一笔，剩余资金 %1 元"_s.arg(Money::yuan(r.cashLeftLi));
        steps = r.steps;
    }
    if (!saveProblem.isEmpty())
        steps << saveProblem;
    m_summary->setText(summary);
    m_steps->setPlainText(steps.join(u'\n'));
}
