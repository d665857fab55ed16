#pragma once

#include "sqlcompletion.h"

#include <QPlainTextEdit>

class CSyntaxHighlighter;
class QCompleter;
class QStringListModel;
class CSyntaxParser;

// A plain-text editor that colours its text with a line parser while the user
// types. Lines are never wrapped; scroll bars appear as needed. Until a parser
// is set the text is shown uncoloured. Ctrl+Space offers completions of the
// word at the caret (SqlCompletion) in a list; the colouring is not involved.
class CSyntaxRichEditCtrl : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CSyntaxRichEditCtrl(QWidget *parent = nullptr);

    // Sets the parser (nullptr: no colours) and recolours the whole text. The
    // parser must outlive the control or be replaced before it is destroyed.
    void SetParser(const CSyntaxParser *parser);
    const CSyntaxParser *Parser() const;

    // Recolours every line from the first.
    void RecolourAll();

    // The stored end state of a line (0 for a line that was never coloured or
    // does not exist).
    quint32 LineEndState(int line) const;

    CSyntaxHighlighter *Highlighter() const { return m_highlighter; }

    // The tables and columns that completion offers; without them, keywords only.
    void SetCompletionSchema(const CSqlSchema &schema) { m_schema = schema; }
    // Opens the completion list for the word at the caret (what Ctrl+Space does); a single
    // candidate is put in at once. False when nothing fits.
    bool Complete();
    QCompleter *Completer() const { return m_completer; }

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void InsertCompletion(const QString &completion);

    // Owned by the document, which is deleted with the editor.
    CSyntaxHighlighter *m_highlighter;
    CSqlSchema m_schema;
    QCompleter *m_completer;
    QStringListModel *m_completions;
    int m_completionStart = 0;
};
