#include "syntaxricheditctrl.h"

#include "syntaxhighlighter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTextBlock>

using namespace Qt::StringLiterals;

CSyntaxRichEditCtrl::CSyntaxRichEditCtrl(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_highlighter(new CSyntaxHighlighter(document()))
{
    // fontconfig maps "Courier New" to a metric-compatible face; the style hint
    // keeps the text monospaced where that face is missing.
    QFont font(u"Courier New"_s, 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(false);
    setFont(font);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_highlighter->SetPalette(palette());
}

void CSyntaxRichEditCtrl::SetParser(const CSyntaxParser *parser)
{
    m_highlighter->SetParser(parser);
}

const CSyntaxParser *CSyntaxRichEditCtrl::Parser() const
{
    return m_highlighter->Parser();
}

void CSyntaxRichEditCtrl::RecolourAll()
{
    m_highlighter->rehighlight();
}

quint32 CSyntaxRichEditCtrl::LineEndState(int line) const
{
    const int state = document()->findBlockByNumber(line).userState();
    return state < 0 ? 0 : quint32(state);
}

void CSyntaxRichEditCtrl::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        m_highlighter->SetPalette(palette());
}

// Shift+Return would insert a line separator inside the current line, which
// looks like a new line but is parsed as part of the old one; it starts a
// real new line instead.
void CSyntaxRichEditCtrl::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
