// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ui/input_field.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

InputField::InputField(const QString& placeholder, QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_error(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    m_edit->setPlaceholderText(placeholder);
    m_edit->setMaxLength(40); // no number needs more; a paste of a whole page is cut here
    m_error->setStyleSheet(u"color: #c00000;"_s);
    m_error->setWordWrap(true);
    m_error->hide();
    layout->addWidget(m_edit);
    layout->addWidget(m_error);
    connect(m_edit, &QLineEdit::textChanged, this, &InputField::edited);
}

QString InputField::text() const
{
    return m_edit->text();
}

void InputField::setText(const QString& text)
{
    m_edit->setText(text);
}

void InputField::setError(const QString& error)
{
    m_error->setText(error);
    m_error->setVisible(!error.isEmpty());
    m_edit->setAccessibleDescription(error); // read with the box, as it is seen beneath it
}

void InputField::setLabel(const QString& label)
{
    m_edit->setAccessibleName(label);
}

QString InputField::error() const
{
    return m_error->text();
}
