#pragma once

#include <QByteArrayView>

// The raw bytes of an XML file as the loader sees them before and after the
// parser: which encoding they are in, where a unit lies in lines and
// characters, and the faults of well-formedness that the parser lets through.
// Everything works on the file's own bytes, without converting a copy of the
// text, in loops compiled once for each encoding.
class CXmlSource
{
public:
    enum class Encoding { Utf8, Utf16Le, Utf16Be };

    // A fault found by a check: the unit (byte in UTF-8, 16-bit unit in
    // UTF-16, counted from the start of the bytes) and the reason in English.
    struct Fault
    {
        qsizetype unit = -1;
        const char *reason = nullptr;
        explicit operator bool() const { return reason != nullptr; }
    };

    // Template files are UTF-16LE without a byte-order mark and start with
    // "<?"; a byte-order mark, or a first character '<' in either byte order,
    // tells UTF-16. Anything else is UTF-8 (with or without its mark).
    explicit CXmlSource(QByteArrayView bytes);

    Encoding GetEncoding() const { return m_encoding; }

    // Looks for what the parser would accept although the file is not
    // well-formed XML, in two steps. CheckCharacters, before the parse: a NUL
    // or an unpaired surrogate anywhere in the text, and a character reference
    // to NUL, to a surrogate or beyond U+10FFFF (outside comments, CDATA
    // sections and processing instructions). CheckOutside, once the parser
    // took the file: text or a CDATA section outside the root element. Each
    // gives the first fault it finds.
    Fault CheckCharacters() const;

    // `rootStart` is the unit of the root's '<' and `resumeAt` the unit where
    // the root's last child starts (its '<', or its first character of text;
    // rootStart when it has none): only what lies before the root and after
    // that child is followed. -1 for either follows the whole file.
    Fault CheckOutside(qsizetype rootStart, qsizetype resumeAt) const;

    // Line and character (both from 1) of a unit. CR LF, CR and LF each end a
    // line; a surrogate pair and a UTF-8 sequence count as one character and
    // a byte-order mark as none.
    void LineAndPosition(qsizetype unit, qsizetype &line, qsizetype &pos) const;

    // The unit at a byte offset into the UTF-8 text the parser converted the
    // file into (for UTF-8 files the offset itself).
    qsizetype UnitOfUtf8Offset(qsizetype offset) const;

private:
    // Calls work with the scanner for the file's encoding: the encoding is decided here,
    // once for a whole pass.
    template<typename Work>
    auto WithScan(Work &&work) const;

    QByteArrayView m_bytes;
    Encoding m_encoding = Encoding::Utf8;
    qsizetype m_markUnits = 0; // units of the byte-order mark
};
