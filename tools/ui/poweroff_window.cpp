// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/poweroff_window.h"

#include "widgets/fonts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kTitle = u"快速关机"_s;
}

PowerOffWindow::PowerOffWindow(PowerOff& power, int seconds, QWidget* parent)
    : ToolWindow(parent), m_countdown(power, seconds, this), m_text(new QLabel(this)),
      m_hint(new QLabel(this)), m_now(new QPushButton(u"立即关机"_s, this)),
      m_cancel(new QPushButton(u"取消"_s, this))
{
    setObjectName(u"poweroff"_s);
    // A trader at his desk at the close must see it over his trading program.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowTitle(kTitle);
    m_text->setObjectName(u"countdownText"_s);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);
    m_hint->setText(u"时间到了将关闭计算机。按“取消”或 Esc 键停止关机。"_s);
    m_hint->setWordWrap(true);
    m_hint->setAlignment(Qt::AlignCenter);
    m_now->setObjectName(u"powerOffNow"_s);
    m_cancel->setObjectName(u"cancel"_s);
    // Enter on the window stops the shutdown rather than hastening it.
    m_cancel->setDefault(true);
    m_cancel->setFocus();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_now);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 18);
    layout->setSpacing(14);
    layout->addWidget(m_text);
    layout->addWidget(m_hint);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(m_now, &QPushButton::clicked, &m_countdown, &ShutdownCountdown::powerOffNow);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_countdown, &ShutdownCountdown::changed, this, [this] { display(m_countdown.state()); });
    display(m_countdown.state());
}

void PowerOffWindow::start()
{
    m_countdown.start();
}

void PowerOffWindow::display(ShutdownCountdown::State state)
{
    using State = ShutdownCountdown::State;
    m_text->setText(m_countdown.text());
    setWindowTitle(state == State::Counting ? m_countdown.text() + u" - "_s + kTitle : kTitle);
    m_now->setEnabled(state == State::Counting || state == State::Refused);
    m_now->setText(state == State::Refused ? u"再试一次"_s : u"立即关机"_s);
    m_cancel->setText(state == State::Refused ? u"关闭"_s : u"取消"_s);
    m_hint->setVisible(state == State::Counting);
    // The count big and red; why the system said no in ordinary text, whole.
    QFont font = Fonts::sans(state == State::Refused ? 11 : 22);
    font.setBold(state != State::Refused);
    m_text->setFont(font);
    m_text->setStyleSheet(state == State::Refused ? u"color: black;"_s : u"color: #c00000;"_s);
    if (state == State::Accepted || state == State::Cancelled)
        close();
}

void PowerOffWindow::closeEvent(QCloseEvent* event)
{
    // Closing the window before the system has the request stops the shutdown.
    m_countdown.cancel();
    event->accept();
}
