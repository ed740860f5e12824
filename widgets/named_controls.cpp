// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/named_controls.h"

#include <QLabel>
#include <QPushButton>

QPushButton* namedButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(true);
    return b;
}

QLabel* namedLabel(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    return l;
}
