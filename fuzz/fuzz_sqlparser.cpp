// Colours any text, line by line, as the SQL editor does: from each state a
// line can start in and from the state the previous line left. The blocks of
// a line stay ordered, inside the line and of known colours, and the end state
// is one the parser defines.

#include "sqlsyntaxparser.h"

#include <QStringView>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr quint32 knownStates = CSQLSyntaxParser::StateLineComment
        | CSQLSyntaxParser::StateBlockComment | CSQLSyntaxParser::StateDoubleQuoted
        | CSQLSyntaxParser::StateSingleQuoted;

[[noreturn]] void Fail(const char *what, quint32 state, qsizetype line, int value)
{
    std::fprintf(stderr, "%s (start state %u, line %lld, value %d)\n", what, state,
                 static_cast<long long>(line), value);
    std::abort();
}

quint32 Check(quint32 state, QStringView line, qsizetype index)
{
    const CSQLSyntaxParser &parser = CSQLSyntaxParser::Shared();
    std::vector<CSyntaxParser::Block> blocks {{0, CSyntaxParser::ColourNormalText}};
    const quint32 end = parser.ParseLine(state, line, &blocks);
    if (end & ~knownStates)
        Fail("unknown end state", state, index, int(end));
    if (parser.ParseLine(state, line, nullptr) != end)
        Fail("end state differs without blocks", state, index, int(end));
    int previous = 0;
    for (const CSyntaxParser::Block &block : blocks) {
        if (block.start < previous || block.start > line.size())
            Fail("block out of order or outside the line", state, index, block.start);
        if (block.colour < 0 || block.colour >= CSyntaxParser::ColourCount)
            Fail("unknown colour", state, index, block.colour);
        previous = block.start;
    }
    return end;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Any 16-bit units, lone surrogates included, as an editor may hold them.
    const QStringView text(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2));
    quint32 carried = 0;
    qsizetype index = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = text.sliced(start, end - start);
        for (quint32 state : {0u, 0x01u, 0x04u, 0x08u, 0x10u})
            Check(state, line, index);
        carried = Check(carried, line, index);
        ++index;
        start = end + 1;
    }
    return 0;
}
