// A reporting engine for the Run tests, steered by a script file.
//
// VANTEL_TEST_ENGINE_SCRIPT names a UTF-16LE text file with one command per
// line ('\n' ends a line, fields are separated by tabs):
//   result<TAB>0|1           the entry's result (1 when absent)
//   message<TAB><text>       written into the error buffer
//   fillerror                fills the whole error buffer, no NUL anywhere
//   ask<TAB><band><TAB><name> asks the callback for a value
// The engine writes what it saw as UTF-16LE lines to the script's path plus
// ".out":
//   path<TAB><report path>
//   errorbuffer<TAB>clean|dirty      whether the error buffer came all NUL
//   answer<TAB><band><TAB><name><TAB><result><TAB><what the buffer holds>
// where the buffer is "untouched" when the callback left it alone,
// "unterminated" when no NUL is left in it, and "value:" and the text before
// the first NUL otherwise. Every value buffer is exactly VNT_VALUE_CHARS units
// on the heap, so that an overflow shows under the address sanitizer.
#include "vantelengine.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The value buffer is filled with this before every question.
constexpr char16_t untouchedMark = u'~';

std::u16string ReadScript(const char *path)
{
    std::u16string text;
    FILE *file = std::fopen(path, "rb");
    if (!file)
        return text;
    unsigned char pair[2];
    while (std::fread(pair, 1, 2, file) == 2)
        text.push_back(char16_t(pair[0] | (pair[1] << 8)));
    std::fclose(file);
    return text;
}

std::vector<std::u16string> Split(const std::u16string &text, char16_t separator)
{
    std::vector<std::u16string> parts;
    std::u16string::size_type start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::u16string::npos)
            return parts;
        start = end + 1;
    }
}

std::u16string FromAscii(const char *text)
{
    std::u16string result;
    for (; *text; ++text)
        result.push_back(char16_t(static_cast<unsigned char>(*text)));
    return result;
}

std::u16string DescribeBuffer(const char16_t *buffer)
{
    std::u16string::size_type length = 0;
    while (length < VNT_VALUE_CHARS && buffer[length] != u'\0')
        ++length;
    if (length == VNT_VALUE_CHARS) {
        for (std::u16string::size_type i = 0; i < length; ++i) {
            if (buffer[i] != untouchedMark)
                return u"unterminated";
        }
        return u"untouched";
    }
    return u"value:" + std::u16string(buffer, length);
}

void WriteRecord(const std::string &path, const std::u16string &record)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return;
    for (const char16_t unit : record) {
        const unsigned char pair[2]
                = {static_cast<unsigned char>(unit & 0xFF), static_cast<unsigned char>(unit >> 8)};
        std::fwrite(pair, 1, 2, file);
    }
    std::fclose(file);
}

} // namespace

extern "C" VNT_EXPORT int vntPreviewW(const char16_t *reportPath, VntValueCallback callback,
                                      void *context, char16_t *errorText)
{
    const char *scriptPath = std::getenv("VANTEL_TEST_ENGINE_SCRIPT");
    if (!scriptPath)
        return 0;

    std::u16string record = u"path\t" + std::u16string(reportPath ? reportPath : u"") + u"\n";
    bool clean = true;
    for (int i = 0; i < VNT_ERROR_CHARS; ++i)
        clean = clean && errorText[i] == u'\0';
    record += clean ? u"errorbuffer\tclean\n" : u"errorbuffer\tdirty\n";

    int result = 1;
    for (const std::u16string &line : Split(ReadScript(scriptPath), u'\n')) {
        const std::vector<std::u16string> fields = Split(line, u'\t');
        if (fields[0] == u"result" && fields.size() == 2) {
            result = fields[1] == u"0" ? 0 : 1;
        } else if (fields[0] == u"message" && fields.size() == 2) {
            const std::u16string &text = fields[1];
            const auto length = text.size() < VNT_ERROR_CHARS ? text.size() : VNT_ERROR_CHARS - 1;
            text.copy(errorText, length);
            errorText[length] = u'\0';
        } else if (fields[0] == u"fillerror") {
            for (int i = 0; i < VNT_ERROR_CHARS; ++i)
                errorText[i] = u'E';
        } else if (fields[0] == u"ask" && fields.size() == 3) {
            auto *value = new char16_t[VNT_VALUE_CHARS];
            for (int i = 0; i < VNT_VALUE_CHARS; ++i)
                value[i] = untouchedMark;
            const int answer = callback(fields[1].c_str(), fields[2].c_str(), value, context);
            record += u"answer\t" + fields[1] + u"\t" + fields[2] + u"\t"
                    + FromAscii(std::to_string(answer).c_str()) + u"\t" + DescribeBuffer(value)
                    + u"\n";
            delete[] value;
        }
    }
    WriteRecord(std::string(scriptPath) + ".out", record);
    return result;
}
