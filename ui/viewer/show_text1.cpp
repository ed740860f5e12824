// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/viewer/show_text1.h"

#include "core/texts/markup.h"
#include "widgets/fonts.h"
#include "widgets/twips.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QWindow>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

const QString kKeyHint = u" - 上下箭头键翻页，ESC/DEL/退格键关闭窗口"_s;

// The text box breaks lines at LF; the texts carry CR LF.
QString forTextBox(const QString& text)
{
    QString out = text;
    out.replace(u"\r\n"_s, u"\n"_s);
    out.replace(u'\r', u'\n');
    return out;
}

} // namespace

ShowText1::ShowText1(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"ShowText1"_s);
    // Every close destroys the viewer, so the next use starts from the design again.
    setAttribute(Qt::WA_DeleteOnClose);
    // Sizable, with maximise and close boxes and no minimise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(u"我的规则"_s + kKeyHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(px(8520), px(4770));

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(u"Text1"_s);
    m_text->setFont(Fonts::song(15.75, true));
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Nothing typed here would ever be kept.
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setPlainText(forTextBox(u"LOAD...\r\n"_s));
    m_text->setGeometry(twipsRect(120, 120, 8295, 4575));
    m_text->installEventFilter(this);
    layoutText();
}

void ShowText1::ShowTextWord(const QString& TextWrod1, const QString& TextWord2)
{
    setWindowTitle((TextWord2.isEmpty() ? u"我的规则"_s : TextWord2) + kKeyHint);
    if (TextWrod1.isEmpty())
        return;
    if (TextWrod1 != u"bb")
        m_text->setPlainText(forTextBox(Markup::toViewerText(TextWrod1)));
    m_text->setFocus();
    exec(); // with WA_DeleteOnClose the dialog is gone when this returns
}

bool ShowText1::ScrollText(QWidget* hwnd, int Horizontal, int Vertical)
{
    auto* edit = qobject_cast<QPlainTextEdit*>(hwnd);
    if (!edit)
        return false;
    // QPlainTextEdit scrolls in lines vertically (wrapped lines count) and pixels sideways.
    QScrollBar* v = edit->verticalScrollBar();
    v->setValue(v->value() + Vertical);
    QScrollBar* h = edit->horizontalScrollBar();
    h->setValue(h->value() + Horizontal * edit->fontMetrics().averageCharWidth());
    return true;
}

bool ShowText1::handleKey(int key)
{
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Escape: close(); return true;
    case Qt::Key_Down: ScrollText(m_text, 0, pageLines()); return true;
    case Qt::Key_Up: ScrollText(m_text, 0, -pageLines()); return true;
    default: return false;
    }
}

bool ShowText1::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees the key first; the keys it acts on never reach the text box, so the
    // closing keys cannot edit and the arrows page instead of moving the cursor a line.
    if (watched == m_text && event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent*>(event)->key());
    return QDialog::eventFilter(watched, event);
}

void ShowText1::keyPressEvent(QKeyEvent* event)
{
    if (!handleKey(event->key()))
        QDialog::keyPressEvent(event);
}

int ShowText1::pageLines() const
{
    // A page is what the box shows whole, so that paging never jumps over a line (the design's
    // 14 lines need its font's tight line height; the faces here are taller).
    int lineHeight = m_text->fontMetrics().lineSpacing();
    if (const QTextLayout* layout = m_text->document()->firstBlock().layout();
        layout && layout->lineCount() > 0)
        lineHeight = qMax(lineHeight, qCeil(layout->lineAt(0).height()));
    return qMax(1, m_text->viewport()->height() / qMax(1, lineHeight));
}

void ShowText1::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layoutText();
}

void ShowText1::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    layoutText();
}

void ShowText1::moveEvent(QMoveEvent* event)
{
    // The window manager's frame arrives after the window is shown, with a move.
    QDialog::moveEvent(event);
    layoutText();
}

QMargins ShowText1::frameMargins() const
{
    if (const QWindow* own = windowHandle(); own && isVisible() && !own->frameMargins().isNull())
        return own->frameMargins();
    // Not framed yet: the main window's frame comes from the same window manager.
    if (const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr)
        if (const QWindow* handle = owner->windowHandle())
            return handle->frameMargins();
    return {};
}

void ShowText1::layoutText()
{
    // The design sizes the text box from the window's outer size, frame and title included.
    const QMargins frame = frameMargins();
    const QSize outer = size().grownBy(frame);
    m_text->setGeometry(px(120), px(120), qMax(0, outer.width() - px(405)),
                        qMax(0, outer.height() - px(700)));
}
