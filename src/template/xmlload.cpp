#include "xmlaccess.h"
#include "xmlinternal.h"

#include "fileutil.h"
#include "systemerror.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QSysInfo>

#include <algorithm>
#include <new>
#include <optional>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("XmlAccess", text);
}

// The file's text as UTF-8, without a byte-order mark. Template files are
// UTF-16LE without a mark and start with "<?"; a first character '<' in
// either byte order is taken as enough to tell UTF-16 without a mark.
QByteArray ToUtf8(const QByteArray &bytes)
{
    const auto byte = [&bytes](qsizetype i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : -1;
    };
    qsizetype skip = 0;
    std::optional<QStringDecoder::Encoding> utf16;
    if (byte(0) == 0xFF && byte(1) == 0xFE) {
        utf16 = QStringDecoder::Utf16LE;
        skip = 2;
    } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
        utf16 = QStringDecoder::Utf16BE;
        skip = 2;
    } else if (byte(0) == '<' && byte(1) == 0) {
        utf16 = QStringDecoder::Utf16LE;
    } else if (byte(0) == 0 && byte(1) == '<') {
        utf16 = QStringDecoder::Utf16BE;
    } else if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        return bytes.sliced(3);
    }
    if (!utf16)
        return bytes;
    const QByteArrayView units = QByteArrayView(bytes).sliced(skip);
    if (*utf16 == QStringDecoder::Utf16LE && QSysInfo::ByteOrder == QSysInfo::LittleEndian
        && units.size() % 2 == 0) {
        // The file's bytes already are this machine's UTF-16: convert them
        // without an intermediate copy (the buffer is aligned for char16_t).
        return QStringView(reinterpret_cast<const char16_t *>(units.data()), units.size() / 2)
                .toUtf8();
    }
    QStringDecoder decoder(*utf16, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(units);
    return text.toUtf8();
}

// The parser's name for the file's encoding, found as ToUtf8 finds it.
pugi::xml_encoding DetectEncoding(const QByteArray &bytes)
{
    const auto byte = [&bytes](qsizetype i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : -1;
    };
    if ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == '<' && byte(1) == 0))
        return pugi::encoding_utf16_le;
    if ((byte(0) == 0xFE && byte(1) == 0xFF) || (byte(0) == 0 && byte(1) == '<'))
        return pugi::encoding_utf16_be;
    return pugi::encoding_utf8;
}

// Line and character (both from 1) of a byte offset into UTF-8 text. CR LF,
// CR and LF each end a line; continuation bytes do not count as characters.
void LineAndPosition(const QByteArray &utf8, qsizetype offset, qsizetype &line, qsizetype &pos)
{
    line = 1;
    pos = 1;
    const char *text = utf8.constData();
    const qsizetype end = qBound(qsizetype(0), offset, utf8.size());
    for (qsizetype i = 0; i < end; ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < end && text[i + 1] == '\n')
                ++i;
            ++line;
            pos = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++pos;
        }
    }
}

QString ParseFailure(const QByteArray &fileBytes, const char *reason, qsizetype offset)
{
    // The parser changed its buffer in place; positions are counted on a fresh copy.
    qsizetype line = 0;
    qsizetype pos = 0;
    LineAndPosition(ToUtf8(fileBytes), offset, line, pos);
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
    if (!ReadFileBytes(path, fileBytes, errorCode)) {
        message = Tr("Failed to load XML:") + u": "_s + SystemErrorText(errorCode);
        return false;
    }

    try {
        auto data = std::make_unique<CXmlDocument::Data>();
        // The parser converts UTF-16 to UTF-8 itself, in one pass into a
        // buffer it owns; UTF-8 text is parsed in place in our buffer, which
        // spares a copy of the whole text. A byte-order mark is skipped by the
        // parser. Whitespace-only text is kept where it is an element's only
        // content, so that a field holding blanks reads back as written; the
        // white space between elements is still dropped.
        const pugi::xml_encoding encoding = DetectEncoding(fileBytes);
        if (encoding == pugi::encoding_utf8)
            data->buffer = fileBytes;
        const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
        const pugi::xml_parse_result result
                = encoding == pugi::encoding_utf8
                          ? data->document.load_buffer_inplace(data->buffer.data(),
                                                               size_t(data->buffer.size()),
                                                               options, encoding)
                          : data->document.load_buffer(fileBytes.constData(),
                                                       size_t(fileBytes.size()), options,
                                                       encoding);
        if (!result) {
            message = ParseFailure(fileBytes, result.description(), result.offset);
            return false;
        }
        const ptrdiff_t second = SecondTopElement(data->document);
        if (second >= 0) {
            message = ParseFailure(fileBytes, "Only one top level element is allowed", second);
            return false;
        }
        XmlInternal::Data(document) = std::move(data);
    } catch (const std::bad_alloc &) {
        message = Tr("Failed to load XML:") + u": "_s + SystemErrorText(ENOMEM);
        return false;
    }
    return true;
}
