// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

// A text box for a number with, beneath it, what is wrong with what was typed (red, Chinese).
class InputField : public QWidget {
    Q_OBJECT
public:
    explicit InputField(const QString& placeholder, QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    // Empty hides the line.
    void setError(const QString& error);
    QString error() const;
    QLineEdit* edit() const { return m_edit; }
    // What a screen reader calls the box. Qt takes a form's label only for the widget it sits
    // beside, which is this one, not the box inside it.
    void setLabel(const QString& label);

signals:
    void edited();

private:
    QLineEdit* m_edit;
    QLabel* m_error;
};
