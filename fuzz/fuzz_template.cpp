// Loads any bytes as a template. Whatever reads, however oddly, must survive a
// round trip: the text saved from it loads again and saves the same text, so
// that opening and saving a report never changes it a second time. Only
// carriage returns inside values may become line feeds once, as the XML
// end-of-line rule makes them, and parameters without a value are not stored.

#include "reportfile.h"
#include "vornreport.h"
#include "xmlaccess.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray FileBytes(const QString &text)
{
    // What Save writes on this little-endian machine.
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

// Reads bytes into a fresh report; false when they do not read as a template.
bool Read(const QByteArray &bytes, CVornReport &report, QString &message)
{
    CXmlDocument document;
    return LoadXmlBytes(bytes, document, message)
            && VornTemplate::ReadDocument(report, document, message);
}

QString LineFeedsOnly(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

[[noreturn]] void Fail(const char *what, const QString &a, const QString &b)
{
    std::fprintf(stderr, "%s\n--- first\n%s\n--- second\n%s\n", what, qPrintable(a), qPrintable(b));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    CVornReport first;
    QString message;
    if (!Read(input, first, message))
        return 0;
    // A parameter without a value is not stored, by the format's rule: the
    // file's report is the one without them.
    CVornParameters &parameters = first.GetParameters();
    for (int i = parameters.GetCount() - 1; i >= 0; --i) {
        if (parameters[i]->GetValue().isEmpty())
            delete parameters.RemoveAt(i);
    }
    QString validation;
    const bool valid = first.Validate(validation);
    const QString saved1 = VornTemplate::WriteReportXml(first);

    CVornReport second;
    if (!Read(FileBytes(saved1), second, message))
        Fail("saved text does not load again", saved1, message);
    QString validation2;
    if (second.Validate(validation2) != valid || validation2 != validation)
        Fail("validation differs after a round trip", validation, validation2);
    const QString saved2 = VornTemplate::WriteReportXml(second);
    if (LineFeedsOnly(saved1) != LineFeedsOnly(saved2))
        Fail("second save differs", saved1, saved2);

    CVornReport third;
    if (!Read(FileBytes(saved2), third, message))
        Fail("second saved text does not load again", saved2, message);
    const QString saved3 = VornTemplate::WriteReportXml(third);
    if (saved3 != saved2)
        Fail("third save differs", saved2, saved3);
    return 0;
}
