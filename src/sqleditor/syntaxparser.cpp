#include "syntaxparser.h"

CSyntaxParser::~CSyntaxParser() = default;

void CSyntaxParser::AddBlock(std::vector<Block> &blocks, int start, int colour)
{
    if (blocks.empty() || start >= blocks.back().start)
        blocks.push_back({start, colour});
}
