#pragma once

#include "syntaxparser.h"

// Colours SQL text line by line: keywords, type names, numbers, function names,
// quoted strings, "//" line comments, "/* */" block comments and the
// punctuation between words. Only an open block comment is carried into the
// next line, unless the line ends with a backslash, which carries open strings
// and line comments too.
//
// The parser holds no data; every editor uses the one instance from Shared().
class CSQLSyntaxParser final : public CSyntaxParser
{
public:
    // Line states; they are mutually exclusive in practice.
    enum State : quint32 {
        StateLineComment = 0x01,
        StateBlockComment = 0x04,
        StateDoubleQuoted = 0x08,
        StateSingleQuoted = 0x10
    };

    quint32 ParseLine(quint32 state, QStringView line, std::vector<Block> *blocks) const override;

    // The instance shared by every editor, created on first use.
    static const CSQLSyntaxParser &Shared();

    // Word classes, exposed for the tests. Keywords and type names are
    // compared ignoring the case of ASCII letters.
    static bool IsKeyword(QStringView word);
    static bool IsTypeName(QStringView word);
    static bool IsNumber(QStringView word);
};
