#pragma once

#include "xmldocument.h"
#include "xmlnode.h"
#include "xmlnodelist.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

// The XML access layer: the few operations the template reader walks a file
// with, and the escaping rule of the template writer. Callers need no XML
// parser headers. Every operation that can fail returns false and puts one
// English message into `message`; none throws.
//
// Typical walk:
//     CXmlDocument document;
//     if (!LoadXmlFile(path, document, message))
//         return false;
//     CXmlNodeList bands;
//     if (!SelectNodes(document, u"//report/*"_s, bands, message))
//         return false;
//     for (const CXmlNode &band : bands) {
//         if (NodeNameIs(band, u"element")) ...
//     }

// Loads an XML file into `document`, which must be empty.
//   - `document` already holds a document: "Another document is already open".
//   - No file or folder of that name: "File not found: <path>".
//   - The file cannot be read (a folder, no permission): "Failed to load XML:: "
//     and the system's text ("Is a directory"). Only regular files are read:
//     a device, a pipe or a socket is refused without reading from it, and so
//     is a file larger than MaxReadFileSize, each with a message saying so.
//   - Not well-formed (an empty or truncated file among them):
//     "Failed to load XML:: <reason> Line: <n> Pos: <n>", the reason in
//     English ("Start-end tags mismatch"), the line and the character within
//     that line (both from 1, characters counted as Unicode code points, a
//     line ending with CR LF, CR or LF) where the parser stopped. Refused the
//     same way: text or CDATA outside the root element, a NUL or an unpaired
//     surrogate, and a character reference to NUL, a surrogate or a value
//     beyond U+10FFFF.
// The encoding is UTF-16LE or UTF-16BE, recognised by a byte-order mark or by
// a first character '<' without one (as the template files are written), else
// UTF-8 (with or without a byte-order mark). Text comes back as the XML rules
// deliver it: CR LF and lone CR become LF, the predefined and the numeric
// character references are decoded, and an element whose only content is
// white space keeps that white space. A DOCTYPE is skipped: the entities it
// declares are never expanded (a reference to one stays as written), and
// nothing outside the file is ever read. On failure `document` stays empty.
bool LoadXmlFile(const QString &path, CXmlDocument &document, QString &message);

// LoadXmlFile for a file's bytes already in memory: the same encodings, the
// same parse and the same messages (from "Another document is already open"
// on, without the file's own checks).
bool LoadXmlBytes(QByteArray bytes, CXmlDocument &document, QString &message);

// Runs an XPath 1.0 expression from the document node and puts the selected
// nodes into `list` in document order ("//*" gives every element, the root
// first). When the document is empty, the expression is not valid XPath or
// does not select nodes: returns false, empties `list` and sets
// "Failed to get a pointer to the node list: <expression>".
bool SelectNodes(const CXmlDocument &document, const QString &xpath, CXmlNodeList &list,
                 QString &message);

// Runs several expressions at once, each into its list: the same lists as
// SelectNodes gives one by one. Expressions of the form "//a/b/*" (plain
// element names) share one walk of the document, which matters for big files.
// `lists` holds one list per expression.
bool SelectNodesTogether(const CXmlDocument &document, const QStringList &xpaths,
                         const std::vector<CXmlNodeList *> &lists, QString &message);

// Puts the element children of `node` into `list` in document order (none for
// a leaf or for an attribute). A null node: returns false, empties `list` and
// sets "Failed to get a pointer to the node list".
bool SelectChildren(const CXmlNode &node, CXmlNodeList &list, QString &message);

// The first element child of an element, and the next element after one among
// its siblings: a walk of the children without building a list. A null node
// when there is none (for a null node, an attribute or text among them).
CXmlNode FirstChildElement(const CXmlNode &node);
CXmlNode NextSiblingElement(const CXmlNode &node);

// The attributes of an element in the order written, the same way: for readers
// that take several attributes of an element in one pass. NodeNameUtf8 and
// NodeTextUtf8 read them.
CXmlNode FirstAttribute(const CXmlNode &node);
CXmlNode NextAttribute(const CXmlNode &attribute);

// Number of nodes in a list. A list that exists always has a length.
qsizetype NodeListLength(const CXmlNodeList &list);

// The node at `index` (from 0). Outside the list: returns false, leaves `node`
// null and sets "Failed to read a node of the XML file".
bool NodeListItem(const CXmlNodeList &list, qsizetype index, CXmlNode &node, QString &message);

// The name of an element or attribute as written in the file; "#text",
// "#cdata-section", "#comment" or "#document" for those nodes; empty for a
// null node.
QString NodeName(const CXmlNode &node);

// Compares the node's name with `name` without allocating; letter case is
// ignored by default, as the reader compares child element names.
bool NodeNameIs(const CXmlNode &node, QAnyStringView name,
                Qt::CaseSensitivity cs = Qt::CaseInsensitive);

// The name of an element or attribute as the UTF-8 bytes of the file, without
// a copy: valid as long as the document holds it. Empty for other nodes. For
// readers that look names up in tables of their own.
QByteArrayView NodeNameUtf8(const CXmlNode &node);

// The document's root element: the first node "//*" selects, without listing
// every element. False with "Failed to read a node of the XML file" when the
// document is empty or has no element.
bool DocumentElement(const CXmlDocument &document, CXmlNode &node, QString &message);

// The text of a node: for an element the text of all its descendants joined
// in document order (markup removed, entities decoded); for an attribute its
// value. Empty for a null node.
QString NodeText(const CXmlNode &node);

// NodeText as the UTF-8 bytes the document holds. The common case of one run
// of text is not copied: the bytes are valid as long as the document holds
// them.
QByteArray NodeTextUtf8(const CXmlNode &node);

// Reads the attribute `name` (letter case counts) of an element. A missing
// attribute gives true and an empty value. A node that has no attributes (a
// null node, an attribute, text): returns false, leaves `value` as it was and
// sets "Failed to retrieve the list of attributes".
bool GetAttribute(const CXmlNode &node, QAnyStringView name, QString &value, QString &message);

// Makes a text safe inside an element or a double-quoted attribute value:
// '&' becomes "&amp;", '<' "&lt;", '>' "&gt;" and '"' "&quot;"; the
// apostrophe stays. Shares the text unchanged when nothing needs replacing.
QString EscapeXml(const QString &text);

// EscapeXml for a double-quoted attribute value, which an XML reader would
// otherwise return with its tabs and line breaks turned into blanks: those
// three characters are written as "&#9;", "&#10;" and "&#13;".
QString EscapeXmlAttribute(const QString &text);
