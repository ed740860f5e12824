// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

// One of the main window's eight image buttons, painted by our own code so it stays sharp
// at any scale. Its vertical place is kept in design units because the launcher row's
// pressed look (20 units lower) and its checks are made in them.
class ImageButton : public QWidget {
    Q_OBJECT
public:
    ImageButton(const QString& caption, const QColor& textColor, int leftTwips, int topTwips,
                QWidget* parent = nullptr);

    const QString& caption() const { return m_caption; }
    int Top() const { return m_top; }
    void setTop(int twips);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_caption;
    QColor m_textColor;
    int m_left;
    int m_top;
};
