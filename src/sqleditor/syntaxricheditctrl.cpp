#include "syntaxricheditctrl.h"

#include "syntaxhighlighter.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>

using namespace Qt::StringLiterals;

CSyntaxRichEditCtrl::CSyntaxRichEditCtrl(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_highlighter(new CSyntaxHighlighter(document()))
    , m_completer(new QCompleter(this))
    , m_completions(new QStringListModel(this))
{
    m_completer->setModel(m_completions);
    m_completer->setWidget(this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->popup()->setObjectName(u"completionList"_s);
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), this,
            &CSyntaxRichEditCtrl::InsertCompletion);
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
    const bool listShown = m_completer->popup()->isVisible();
    // The list takes the keys that choose or close while it is shown.
    if (listShown) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Escape:
        case Qt::Key_Backtab:
            event->ignore();
            return;
        default:
            break;
        }
    }
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier)) {
        Complete();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    // The list follows what is typed while it is shown.
    if (listShown && !Complete())
        m_completer->popup()->hide();
}

bool CSyntaxRichEditCtrl::Complete()
{
    const QTextCursor cursor = textCursor();
    const CSqlCompletion completion = SqlCompletion(toPlainText(), cursor.position(), m_schema);
    m_completionStart = completion.start;
    if (completion.candidates.isEmpty()) {
        m_completer->popup()->hide();
        return false;
    }
    m_completions->setStringList(completion.candidates);
    if (completion.candidates.size() == 1 && !m_completer->popup()->isVisible()) {
        InsertCompletion(completion.candidates.first());
        return true;
    }
    QRect place = cursorRect();
    place.setWidth(m_completer->popup()->sizeHintForColumn(0)
                   + m_completer->popup()->verticalScrollBar()->sizeHint().width());
    m_completer->complete(place);
    m_completer->popup()->setCurrentIndex(m_completions->index(0));
    return true;
}

void CSyntaxRichEditCtrl::InsertCompletion(const QString &completion)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(m_completionStart, int(cursor.position())),
                       QTextCursor::KeepAnchor);
    cursor.insertText(completion);
    setTextCursor(cursor);
}
