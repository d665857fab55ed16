#pragma once

#include <QFont>
#include <QWidget>

// A static text drawn underlined in blue that acts as a link: the hand cursor
// shows over the text itself (not over the rest of the control), and a click
// on the text opens the link with the desktop's handler for it, or, when the
// control has no link, emits clicked() for its parent instead.
//
// The link font is made on the first paint from the parent's font, and the
// text is measured in it when first needed: before the first paint a click
// does nothing.
class CHyperlinkStatic : public QWidget
{
    Q_OBJECT

public:
    explicit CHyperlinkStatic(QWidget *parent = nullptr);

    const QString &GetText() const { return m_text; }
    void SetText(const QString &text);
    const QString &GetLink() const { return m_link; }
    void SetLink(const QString &link) { m_link = link; }

    // Whether the text has been measured, and its extent from the top left.
    bool IsMeasured() const { return m_measured; }
    QSize GetTextSize() const { return QSize(m_textWidth, m_textHeight); }

    QSize sizeHint() const override;

signals:
    // The text was clicked and there is no link to open.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void Measure();
    bool IsOverText(const QPoint &point) const;

    QString m_text;
    QString m_link;
    QFont m_linkFont;
    int m_textWidth = 0;
    int m_textHeight = 0;
    bool m_fontCreated = false;
    bool m_hovering = false;
    bool m_measured = false;
};
