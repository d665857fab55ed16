#pragma once

#include "syntaxparser.h"

// Colours expression text line by line: names of fields ([Band].[FIELD]), parameters ({NAME}),
// the page and row numbers (#PAGE), the functions of the language, the words that are
// operators or constants (AND, OR, NOT, MOD, TRUE, FALSE, NULL), numbers, texts in single
// quotes and the operators between them. A text left open at the end of a line goes on in the
// next one.
class CExprSyntaxParser final : public CSyntaxParser
{
public:
    enum State : quint32 { StateInText = 0x01 };

    quint32 ParseLine(quint32 state, QStringView line, std::vector<Block> *blocks) const override;

    // The instance shared by every editor.
    static const CExprSyntaxParser &Shared();
};
