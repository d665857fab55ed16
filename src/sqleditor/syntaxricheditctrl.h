#pragma once

#include <QPlainTextEdit>

class CSyntaxHighlighter;
class CSyntaxParser;

// A plain-text editor that colours its text with a line parser while the user
// types. Lines are never wrapped; scroll bars appear as needed. Until a parser
// is set the text is shown uncoloured.
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

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Owned by the document, which is deleted with the editor.
    CSyntaxHighlighter *m_highlighter;
};
