#include "xmlaccess.h"
#include "xmlinternal.h"
#include "xmlsource.h"

#include "fileutil.h"
#include "systemerror.h"

#include <QCoreApplication>

#include <algorithm>
#include <new>
#include <utility>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("XmlAccess", text);
}

QString ParseFailure(const CXmlSource &source, const char *reason, qsizetype unit)
{
    qsizetype line = 0;
    qsizetype pos = 0;
    source.LineAndPosition(unit, line, pos);
    return Tr("Failed to load XML:") + u": "_s + QString::fromUtf8(reason) + Tr(" Line: ")
            + QString::number(line) + Tr(" Pos: ") + QString::number(pos);
}

// The parser accepts several elements at the top; a well-formed file has one.
// Gives the byte offset of a second one, or -1.
ptrdiff_t SecondTopElement(const pugi::xml_document &document)
{
    bool seen = false;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element)
            continue;
        if (seen)
            return std::max<ptrdiff_t>(node.offset_debug() - 1, 0); // at the '<'
        seen = true;
    }
    return -1;
}

// Where the text outside the root is to be looked for, in units of the file:
// the '<' of the root element and the start of its last child (the root's '<'
// again when it has none); -1 where the parser cannot tell.
std::pair<qsizetype, qsizetype> RootSpan(const CXmlSource &source,
                                         const pugi::xml_document &document)
{
    const pugi::xml_node root = document.document_element();
    const ptrdiff_t rootName = root.offset_debug();
    if (rootName < 1)
        return {-1, -1};
    const qsizetype rootStart = source.UnitOfUtf8Offset(rootName) - 1;
    const pugi::xml_node last = root.last_child();
    if (!last)
        return {rootStart, rootStart};
    const ptrdiff_t offset = last.offset_debug();
    // An element's offset is that of its name, CDATA's that of its content.
    qsizetype before = 0;
    switch (last.type()) {
    case pugi::node_element:
        before = 1;
        break;
    case pugi::node_cdata:
        before = 9; // "<![CDATA["
        break;
    case pugi::node_pcdata:
        break;
    default:
        return {rootStart, -1};
    }
    if (offset < before)
        return {rootStart, -1};
    return {rootStart, source.UnitOfUtf8Offset(offset) - before};
}

pugi::xml_encoding ParserEncoding(CXmlSource::Encoding encoding)
{
    switch (encoding) {
    case CXmlSource::Encoding::Utf16Le:
        return pugi::encoding_utf16_le;
    case CXmlSource::Encoding::Utf16Be:
        return pugi::encoding_utf16_be;
    case CXmlSource::Encoding::Utf8:
        break;
    }
    return pugi::encoding_utf8;
}

} // namespace

bool LoadXmlFile(const QString &path, CXmlDocument &document, QString &message)
{
    if (!document.IsEmpty()) {
        message = Tr("Another document is already open");
        return false;
    }
    if (!FileExists(path)) {
        message = Tr("File not found: %1").arg(path);
        return false;
    }
    QByteArray fileBytes;
    int errorCode = 0;
    switch (ReadFileBytes(path, fileBytes, errorCode)) {
    case EFileRead::Done:
        break;
    case EFileRead::NotRegular:
        message = Tr("Failed to load XML:") + u": "_s
                + Tr("The path names a device, a pipe or a socket, not a file");
        return false;
    case EFileRead::TooLarge:
        message = Tr("Failed to load XML:") + u": "_s
                + Tr("The file is larger than %1 MB, the most a template may have")
                          .arg(MaxReadFileSize >> 20);
        return false;
    default:
        message = Tr("Failed to load XML:") + u": "_s + SystemErrorText(errorCode);
        return false;
    }
    return LoadXmlBytes(std::move(fileBytes), document, message);
}

bool LoadXmlBytes(QByteArray bytes, CXmlDocument &document, QString &message)
{
    if (!document.IsEmpty()) {
        message = Tr("Another document is already open");
        return false;
    }
    try {
        const CXmlSource source(bytes);
        const CXmlSource::Fault character = source.CheckCharacters();
        if (character) {
            message = ParseFailure(source, character.reason, character.unit);
            return false;
        }

        auto data = std::make_unique<CXmlDocument::Data>();
        // The parser converts the text into a UTF-8 buffer of its own, so the
        // file's bytes stay as they were for counting lines. Whitespace-only
        // text is kept where it is an element's only content, so that a field
        // holding blanks reads back as written; the white space between
        // elements is still dropped. A byte-order mark is skipped.
        const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
        const pugi::xml_parse_result result
                = data->document.load_buffer(bytes.constData(), size_t(bytes.size()), options,
                                             ParserEncoding(source.GetEncoding()));
        if (!result) {
            message = ParseFailure(source, result.description(),
                                   source.UnitOfUtf8Offset(result.offset));
            return false;
        }
        const ptrdiff_t second = SecondTopElement(data->document);
        if (second >= 0) {
            message = ParseFailure(source, "Only one top level element is allowed",
                                   source.UnitOfUtf8Offset(second));
            return false;
        }
        const auto [rootStart, resumeAt] = RootSpan(source, data->document);
        if (const CXmlSource::Fault outside = source.CheckOutside(rootStart, resumeAt)) {
            message = ParseFailure(source, outside.reason, outside.unit);
            return false;
        }
        XmlInternal::Data(document) = std::move(data);
    } catch (const std::bad_alloc &) {
        message = Tr("Failed to load XML:") + u": "_s + SystemErrorText(ENOMEM);
        return false;
    }
    return true;
}
