// A host program without Qt that loads the engine library, calls its entry and unloads it,
// as a program of any kind would.
//
//   vantel_test_host LIBRARY REPORT TIMES [BAND NAME VALUE]...
//
// It calls vntPreviewW TIMES times, loading and unloading the library around each call, and
// answers the callback from the BAND NAME VALUE triples (ASCII). Per call it prints
//   asked <band>/<name> [<default the engine put in the buffer>]
//   result <n> <error text>
// with characters outside ASCII written as \uXXXX.
#include "vantelengine.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Answer
{
    std::u16string band;
    std::u16string name;
    std::u16string value;
};

std::u16string Widen(const char *text)
{
    std::u16string result;
    for (; *text; ++text)
        result.push_back(char16_t(static_cast<unsigned char>(*text)));
    return result;
}

std::string Narrow(const char16_t *text)
{
    std::string result;
    for (; *text; ++text) {
        if (*text >= 32 && *text < 127) {
            result.push_back(char(*text));
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", unsigned(*text));
            result += escape;
        }
    }
    return result;
}

bool SameLetters(const char16_t *a, const std::u16string &b)
{
    std::u16string::size_type i = 0;
    for (; a[i] && i < b.size(); ++i) {
        const auto lower = [](char16_t c) {
            return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return !a[i] && i == b.size();
}

int AnswerValue(const char16_t *band, const char16_t *name, char16_t *value, void *context)
{
    std::printf("asked %s/%s [%s]\n", Narrow(band).c_str(), Narrow(name).c_str(),
                Narrow(value).c_str());
    for (const auto &answer : *static_cast<std::vector<struct Answer> *>(context)) {
        if (SameLetters(band, answer.band) && SameLetters(name, answer.name)) {
            answer.value.copy(value, VNT_VALUE_CHARS - 1);
            value[std::min<std::size_t>(answer.value.size(), VNT_VALUE_CHARS - 1)] = u'\0';
        }
    }
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4)
        return 2;
    std::vector<struct Answer> answers;
    for (int i = 4; i + 2 < argc; i += 3)
        answers.push_back({Widen(argv[i]), Widen(argv[i + 1]), Widen(argv[i + 2])});
    const std::u16string report = Widen(argv[2]);
    const int times = std::atoi(argv[3]);
    for (int call = 0; call < times; ++call) {
        void *library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            std::printf("load failed %s\n", dlerror());
            return 3;
        }
        auto entry = reinterpret_cast<VntPreviewFunc>(dlsym(library, VNT_PREVIEW_ENTRY));
        if (!entry)
            return 4;
        std::vector<char16_t> error(VNT_ERROR_CHARS, u'\0');
        const int result = entry(report.c_str(), &AnswerValue, &answers, error.data());
        std::printf("result %d %s\n", result, Narrow(error.data()).c_str());
        std::fflush(stdout);
        dlclose(library);
    }
    return 0;
}
