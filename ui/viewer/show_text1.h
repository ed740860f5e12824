// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QPlainTextEdit;

// The rule viewer: one titled text, paged with Up/Down, closed with Esc, Delete or
// Backspace. Destroyed on every close, so each use starts from the design.
class ShowText1 : public QDialog {
    Q_OBJECT
public:
    // Create with new: the viewer deletes itself when it closes.
    explicit ShowText1(QWidget* parent = nullptr);

    // Shows TextWrod1 under the title TextWord2, modally; returns when the viewer has closed.
    // An empty body shows nothing; "bb" keeps the design text.
    void ShowTextWord(const QString& TextWrod1, const QString& TextWord2);

    // Scrolls the text box hwnd by Horizontal characters and Vertical lines.
    bool ScrollText(QWidget* hwnd, int Horizontal, int Vertical);

    QPlainTextEdit* Text1() const { return m_text; }
    // Lines that one press of Up or Down moves: those the text box shows whole.
    int pageLines() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    bool handleKey(int key);
    QMargins frameMargins() const;
    void layoutText();

    QPlainTextEdit* m_text;
};
