#include "testregistry.h"
#include "testutil.h"
#include "xmlaccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray Utf16Le(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray Utf16Be(QStringView text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return bytes;
}

QStringList Names(const CXmlNodeList &list)
{
    QStringList names;
    for (const CXmlNode &node : list)
        names.append(NodeName(node));
    return names;
}

// Item 0 of a selection, null when there is none.
CXmlNode First(const CXmlDocument &document, const QString &xpath)
{
    CXmlNodeList list;
    QString message;
    CXmlNode node;
    if (SelectNodes(document, xpath, list, message))
        NodeListItem(list, 0, node, message);
    return node;
}

} // namespace

class TestXmlAccess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void loadFailures_data();
    void loadFailures();
    void notWellFormed_data();
    void notWellFormed();
    void specialFiles_data();
    void specialFiles();
    void handleAlreadyInUse();
    void encodings_data();
    void encodings();
    void text_data();
    void text();
    void doctypeNeverExpands_data();
    void doctypeNeverExpands();
    void hugeInput_data();
    void hugeInput();
    void selectNodes_data();
    void selectNodes();
    void simplePathsMatchXPath_data();
    void simplePathsMatchXPath();
    void children();
    void nodeNameIs_data();
    void nodeNameIs();
    void getAttribute_data();
    void getAttribute();
    void escapeXml_data();
    void escapeXml();

private:
    // Writes `bytes` to a new file of the temporary folder and loads it.
    bool Load(const QByteArray &bytes, CXmlDocument &document, QString &message);
    // Loads `xml` written as a template file is (UTF-16LE, no byte-order mark).
    void LoadText(const QString &xml, CXmlDocument &document);

    QTemporaryDir m_dir;
    int m_files = 0;
};

void TestXmlAccess::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

bool TestXmlAccess::Load(const QByteArray &bytes, CXmlDocument &document, QString &message)
{
    const QString path = m_dir.filePath(u"file%1.xml"_s.arg(++m_files));
    return TestUtil::WriteAll(path, bytes) && LoadXmlFile(path, document, message);
}

void TestXmlAccess::LoadText(const QString &xml, CXmlDocument &document)
{
    QString message;
    QVERIFY2(Load(Utf16Le(xml), document, message), qPrintable(message));
}

void TestXmlAccess::loadFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    const QString missing = m_dir.filePath(u"missing.vnt"_s);
    QTest::newRow("missing file") << missing << u"File not found: "_s + missing;
    QTest::newRow("folder") << m_dir.path() << u"Failed to load XML:: Is a directory"_s;
    QTest::newRow("empty file")
            << TestUtil::FixturePath(u"xml_empty.xml"_s)
            << u"Failed to load XML:: No document element found Line: 1 Pos: 1"_s;
    QTest::newRow("truncated file")
            << TestUtil::FixturePath(u"xml_truncated.xml"_s)
            << u"Failed to load XML:: Start-end tags mismatch Line: 7 Pos: 17"_s;
    // The position counts characters, not bytes: "Grüße €" comes before it.
    QTest::newRow("mismatched end tag")
            << TestUtil::FixturePath(u"xml_malformed.xml"_s)
            << u"Failed to load XML:: Start-end tags mismatch Line: 4 Pos: 22"_s;
}

void TestXmlAccess::loadFailures()
{
    QFETCH(QString, path);
    QFETCH(QString, message);
    CXmlDocument document;
    QString text;
    QVERIFY(!LoadXmlFile(path, document, text));
    QCOMPARE(text, message);
    QVERIFY(document.IsEmpty());
}

void TestXmlAccess::notWellFormed_data()
{
    // What the parser would take, but no conforming XML reader does. Each is
    // refused where it stands, whatever comes later in the file.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QString head = u"<?xml version=\"1.0\"?>\r\n<report>\r\n"_s;
    const auto fault = [](const char *reason, int line, int pos) {
        return u"Failed to load XML:: %1 Line: %2 Pos: %3"_s.arg(QLatin1StringView(reason))
                .arg(line)
                .arg(pos);
    };
    QTest::newRow("text after the root") << Utf16Le(head + u"</report>\r\n  junk"_s)
                                         << fault("Text outside the root element", 4, 3);
    QTest::newRow("text before the root")
            << QByteArray("x<report/>") << fault("Text outside the root element", 1, 1);
    QTest::newRow("CDATA after the root") << Utf16Le(u"<report/><![CDATA[x]]>"_s)
                                          << fault("Text outside the root element", 1, 10);
    QTest::newRow("reference to NUL in text") << Utf16Le(head + u"<a>abc&#0;def</a></report>"_s)
                                              << fault("Invalid character reference", 3, 7);
    QTest::newRow("hexadecimal reference to NUL in an attribute")
            << Utf16Le(u"<report title=\"a&#x00;\"/>"_s)
            << fault("Invalid character reference", 1, 17);
    QTest::newRow("reference to a surrogate") << Utf16Le(u"<report>&#xD800;</report>"_s)
                                              << fault("Invalid character reference", 1, 9);
    QTest::newRow("reference beyond Unicode") << Utf16Le(u"<report>&#99999999999;</report>"_s)
                                              << fault("Invalid character reference", 1, 9);
    QString lone = u"<report>\u00e9x</report>"_s;
    lone[8] = QChar(char16_t(0xD83D));
    QTest::newRow("unpaired high surrogate") << Utf16Le(lone) << fault("Unpaired surrogate", 1, 9);
    lone[8] = QChar(char16_t(0xDE00));
    QTest::newRow("lone low surrogate, big-endian")
            << Utf16Be(lone) << fault("Unpaired surrogate", 1, 9);
    QTest::newRow("surrogate written as UTF-8")
            << QByteArray("<report>\xED\xA0\x80</report>") << fault("Unpaired surrogate", 1, 9);
    QTest::newRow("NUL character")
            << Utf16Le(u"<report>a"_s) + QByteArray(2, 0) + Utf16Le(u"b</report>"_s)
            << fault("Invalid character", 1, 10);
    // Where a reference is only text, it stays allowed.
    QTest::newRow("references in a comment, CDATA and after the root's comment")
            << Utf16Le(u"<!-- &#0; --><report><![CDATA[&#0;]]><?p &#0;?></report><!--x-->\r\n"_s)
            << QString();
    // The text after the root is looked for after the root's last child, whatever it is.
    QTest::newRow("text after a root that ends with an element")
            << Utf16Le(u"<report><a b=\">\"><c/></a></report>\r\n<!-- <x> -->\r\n x"_s)
            << fault("Text outside the root element", 3, 2);
    QTest::newRow("CDATA after a root that ends with CDATA")
            << QByteArray("<report>t<![CDATA[</report>]]></report><![CDATA[]]>")
            << fault("Text outside the root element", 1, 40);
    QTest::newRow("text after a root that ends with text, UTF-16BE")
            << Utf16Be(u"<report>é😀</report>x"_s) << fault("Text outside the root element", 1, 20);
    QTest::newRow("text after the root, a refused reference in a comment")
            << Utf16Le(u"<!-- &#0; --><report>&amp;</report>x"_s)
            << fault("Text outside the root element", 1, 36);
    // Long texts are scanned in blocks: faults beyond the first block are found as well.
    const QString run(300, u'x');
    QTest::newRow("reference to NUL beyond the first block")
            << Utf16Le(u"<report>"_s + run + u"&#0;</report>"_s)
            << fault("Invalid character reference", 1, 309);
    QTest::newRow("reference to NUL beyond the first block, UTF-8")
            << (u"<report>"_s + run + u"&#x0;</report>"_s).toUtf8()
            << fault("Invalid character reference", 1, 309);
    QTest::newRow("a refused reference in a long comment, text after the root")
            << Utf16Le(u"<!--"_s + run + u"&#0;--><report/>x"_s)
            << fault("Text outside the root element", 1, 321);
    QTest::newRow("'>' and '/>' in attribute values")
            << Utf16Le(u"<report a=\"/>\" b='>'><x c=\"/\"/></report>"_s) << QString();
}

void TestXmlAccess::notWellFormed()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    CXmlDocument document;
    QString text;
    QCOMPARE(Load(bytes, document, text), message.isEmpty());
    QCOMPARE(text, message);
    QCOMPARE(document.IsEmpty(), !message.isEmpty());
}

void TestXmlAccess::specialFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    const QString special
            = u"Failed to load XML:: The path names a device, a pipe or a socket, not a file"_s;
    QTest::newRow("named pipe without a writer") << u"fifo"_s << special;
    QTest::newRow("character device") << u"device"_s << special;
    QTest::newRow("socket") << u"socket"_s << special;
    QTest::newRow("sparse file over the limit")
            << u"huge"_s
            << u"Failed to load XML:: The file is larger than 256 MB, the most a template may have"_s;
}

void TestXmlAccess::specialFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QString path = m_dir.filePath(kind);
    if (kind == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == u"device") {
        path = u"/dev/zero"_s; // endless: reading it would never stop
    } else if (kind == u"socket") {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        QVERIFY(size_t(name.size()) < sizeof address.sun_path);
        std::copy(name.cbegin(), name.cend(), address.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("<report/>") == 9);
        QVERIFY(file.resize(qint64(257) << 20));
    }
    CXmlDocument document;
    QString text;
    QVERIFY(!LoadXmlFile(path, document, text));
    QCOMPARE(text, message);
    QVERIFY(document.IsEmpty());
}

void TestXmlAccess::handleAlreadyInUse()
{
    CXmlDocument document;
    LoadText(u"<report/>"_s, document);
    QString message;
    QVERIFY(!Load(Utf16Le(u"<other/>"), document, message));
    QCOMPARE(message, u"Another document is already open"_s);
    // The document already held is untouched.
    CXmlNodeList all;
    QVERIFY(SelectNodes(document, u"//*"_s, all, message));
    QCOMPARE(Names(all), QStringList {u"report"_s});
}

void TestXmlAccess::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QString xml
            = u"<?xml version=\"1.0\"?>\r\n<report title=\"Gr\u00fc\u00dfe \u20ac\U0001F600\">"
              u"\r\n<a>x\u00e9</a></report>"_s;
    const QString noDeclaration = xml.mid(xml.indexOf(u"<report"));
    const QByteArray utf8 = xml.toUtf8();
    QTest::newRow("UTF-16LE without mark") << Utf16Le(xml) << QString();
    QTest::newRow("UTF-16LE without mark or declaration") << Utf16Le(noDeclaration) << QString();
    QTest::newRow("UTF-16LE with mark") << QByteArray("\xFF\xFE") + Utf16Le(xml) << QString();
    QTest::newRow("UTF-16BE without mark") << Utf16Be(xml) << QString();
    QTest::newRow("UTF-16BE with mark") << QByteArray("\xFE\xFF") + Utf16Be(xml) << QString();
    QTest::newRow("UTF-8") << utf8 << QString();
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF") + utf8 << QString();
    // A second root after a line with a non-ASCII character: Pos counts from
    // the start of its own line.
    QTest::newRow("UTF-16LE with two top elements")
            << Utf16Le(xml + u"\r\n<report/>"_s)
            << u"Failed to load XML:: Only one top level element is allowed Line: 4 Pos: 1"_s;
}

void TestXmlAccess::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    CXmlDocument document;
    QString text;
    QCOMPARE(Load(bytes, document, text), message.isEmpty());
    QCOMPARE(text, message);
    if (!message.isEmpty())
        return;
    CXmlNodeList all;
    QVERIFY(SelectNodes(document, u"//*"_s, all, text));
    QCOMPARE(Names(all), (QStringList {u"report"_s, u"a"_s}));
    QString title;
    QVERIFY(GetAttribute(*all.begin(), u"title", title, text));
    QCOMPARE(title, u"Gr\u00fc\u00dfe \u20ac\U0001F600"_s);
    QCOMPARE(NodeText(*(all.begin() + 1)), u"x\u00e9"_s);
}

void TestXmlAccess::text_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF becomes LF") << u"SELECT *\r\nFROM t"_s << u"SELECT *\nFROM t"_s;
    QTest::newRow("a lone CR becomes LF") << u"a\rb"_s << u"a\nb"_s;
    QTest::newRow("predefined entities") << u"&amp;&lt;&gt;&quot;&apos;"_s << u"&<>\"'"_s;
    QTest::newRow("character references")
            << u"&#10;&#x41;&#65;&#x20AC;&#x1F600;"_s << u"\nAA\u20ac\U0001F600"_s;
    QTest::newRow("CDATA as written") << u"<![CDATA[<b>&amp;\r\n</b>]]>"_s << u"<b>&amp;\n</b>"_s;
    QTest::newRow("descendants joined in order") << u"x<b>y<c>z</c></b>w"_s << u"xyzw"_s;
    QTest::newRow("blanks as the only content") << u"  \t"_s << u"  \t"_s;
    QTest::newRow("blanks around text kept") << u" x "_s << u" x "_s;
    QTest::newRow("white space between elements dropped") << u"\r\n  <b>x</b>\r\n"_s << u"x"_s;
    QTest::newRow("comments are not text") << u"a<!-- b -->c"_s << u"ac"_s;
    QTest::newRow("an undeclared entity stays as written") << u"&nbsp;"_s << u"&nbsp;"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestXmlAccess::text()
{
    QFETCH(QString, content);
    QFETCH(QString, text);
    CXmlDocument document;
    LoadText(u"<report><a>"_s + content + u"</a></report>"_s, document);
    QString message;
    CXmlNodeList found;
    QVERIFY(SelectNodes(document, u"//a"_s, found, message));
    QCOMPARE(NodeListLength(found), 1);
    QCOMPARE(NodeText(*found.begin()), text);
}

void TestXmlAccess::doctypeNeverExpands_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("text");
    QTest::newRow("billion laughs") << u"xml_billion_laughs.xml"_s << u"&lol9;"_s;
    QTest::newRow("external entities") << u"xml_external_entity.xml"_s << u"&secret;"_s;
}

void TestXmlAccess::doctypeNeverExpands()
{
    QFETCH(QString, fixture);
    QFETCH(QString, text);
    CXmlDocument document;
    QString message;
    QVERIFY2(LoadXmlFile(TestUtil::FixturePath(fixture), document, message), qPrintable(message));
    QCOMPARE(NodeText(First(document, u"//*"_s)), text);
}

void TestXmlAccess::hugeInput_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("textSize");
    QTest::newRow("a text node of 8 MB") << 1 << 8 * 1024 * 1024;
    QTest::newRow("elements nested 100000 deep") << 100000 << 1;
}

void TestXmlAccess::hugeInput()
{
    QFETCH(int, depth);
    QFETCH(int, textSize);
    QString text(textSize, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(u'A' + i % 26));
    const QString xml = u"<a>"_s.repeated(depth) + text + u"</a>"_s.repeated(depth);
    CXmlDocument document;
    LoadText(xml, document);
    QString message;
    CXmlNodeList all;
    QVERIFY(SelectNodes(document, u"//*"_s, all, message));
    QCOMPARE(NodeListLength(all), depth);
    QCOMPARE(NodeText(*all.begin()), text);
}

void TestXmlAccess::selectNodes_data()
{
    QTest::addColumn<QString>("xpath");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("message");
    QTest::newRow("every element, root first")
            << u"//*"_s << QStringList {u"report"_s,  u"parameters"_s, u"parameter"_s,
                                        u"element"_s, u"height"_s,     u"Element"_s}
            << QString();
    QTest::newRow("children of the root")
            << u"//report/*"_s << QStringList {u"parameters"_s, u"element"_s, u"Element"_s}
            << QString();
    QTest::newRow("parameters") << u"//report/parameters/*"_s << QStringList {u"parameter"_s}
                                << QString();
    QTest::newRow("element names match exactly") << u"//Report/*"_s << QStringList() << QString();
    QTest::newRow("attributes") << u"//@name"_s << QStringList {u"name"_s, u"name"_s, u"name"_s}
                                << QString();
    QTest::newRow("text nodes") << u"//height/text()"_s << QStringList {u"#text"_s} << QString();
    QTest::newRow("not XPath") << u"//["_s << QStringList()
                               << u"Failed to get a pointer to the node list: //["_s;
    QTest::newRow("not a node set") << u"count(//*)"_s << QStringList()
                                    << u"Failed to get a pointer to the node list: count(//*)"_s;
}

void TestXmlAccess::selectNodes()
{
    QFETCH(QString, xpath);
    QFETCH(QStringList, names);
    QFETCH(QString, message);
    CXmlDocument document;
    LoadText(u"<report><parameters><parameter band=\"b\" name=\"n\"/></parameters>"
             u"<element name=\"B1\"><height>1</height></element><Element name=\"B2\"/></report>"_s,
             document);
    QString text;
    CXmlNodeList found;
    QCOMPARE(SelectNodes(document, xpath, found, text), message.isEmpty());
    QCOMPARE(text, message);
    QCOMPARE(Names(found), names);

    CXmlDocument empty;
    QVERIFY(!SelectNodes(empty, xpath, found, text));
    QCOMPARE(text, u"Failed to get a pointer to the node list: "_s + xpath);
}

void TestXmlAccess::simplePathsMatchXPath_data()
{
    QTest::addColumn<QString>("xml");
    QTest::newRow("template shape")
            << u"<report><parameters><p a=\"1\"/><p a=\"2\"/></parameters>"
               u"<element><height>1</height></element><element/></report>"_s;
    QTest::newRow("nested reports and parameters")
            << u"<report><parameters><x/><report><parameters><y/></parameters><z/></report>"
               u"<w/></parameters><element><report><q/></report></element></report>"_s;
    QTest::newRow("other root with a report inside")
            << u"<template><report><element/><parameters><p/></parameters></report>"
               u"<Report><element/></Report></template>"_s;
    QTest::newRow("parameters outside a report")
            << u"<report><element><parameters><p/></parameters></element></report>"_s;
    QTest::newRow("text between elements")
            << u"<report>a<parameters>b<p/>c<p/></parameters>d<e/></report>"_s;
}

// The reader's child paths are walked by hand; the parser's own XPath must
// agree node for node, in the same order, also for nested sections.
void TestXmlAccess::simplePathsMatchXPath()
{
    QFETCH(QString, xml);
    CXmlDocument document;
    LoadText(xml, document);
    const QStringList paths {u"//report/*"_s, u"//report/parameters/*"_s, u"//parameters/*"_s};
    std::vector<CXmlNodeList> together(size_t(paths.size()));
    std::vector<CXmlNodeList *> lists;
    for (CXmlNodeList &list : together)
        lists.push_back(&list);
    QString message;
    QVERIFY(SelectNodesTogether(document, paths, lists, message));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        CXmlNodeList walked;
        CXmlNodeList viaXPath;
        QString xpath = paths[i];
        xpath.replace(xpath.size() - 1, 1, u"child::*"_s); // not a plain path: real XPath
        QVERIFY(SelectNodes(document, paths[i], walked, message));
        QVERIFY(SelectNodes(document, xpath, viaXPath, message));
        const std::vector<CXmlNode> a(walked.begin(), walked.end());
        const std::vector<CXmlNode> b(viaXPath.begin(), viaXPath.end());
        const std::vector<CXmlNode> c(together[size_t(i)].begin(), together[size_t(i)].end());
        QVERIFY2(a == b, qPrintable(paths[i]));
        QVERIFY2(a == c, qPrintable(paths[i]));
    }
}

void TestXmlAccess::children()
{
    CXmlDocument document;
    LoadText(u"<report>text<b><leaf>x</leaf></b>more<c/></report>"_s, document);
    QString message;
    CXmlNodeList children;
    QVERIFY(SelectChildren(First(document, u"//*"_s), children, message));
    QCOMPARE(Names(children), (QStringList {u"b"_s, u"c"_s}));
    QVERIFY(NodeNameIs(*children.begin(), u"B"));
    QVERIFY(!NodeNameIs(*children.begin(), u"B", Qt::CaseSensitive));

    // The walk without a list gives the same elements, and the attributes in order.
    QStringList walked;
    for (CXmlNode child = FirstChildElement(First(document, u"//*"_s)); !child.IsNull();
         child = NextSiblingElement(child))
        walked.append(NodeName(child));
    QCOMPARE(walked, Names(children));
    QVERIFY(FirstChildElement(First(document, u"//leaf"_s)).IsNull());
    CXmlDocument attributes;
    LoadText(u"<r a=\"1\" b=\"x &amp; y\"><c>one<d>two</d></c></r>"_s, attributes);
    QStringList read;
    for (CXmlNode attribute = FirstAttribute(First(attributes, u"//r"_s)); !attribute.IsNull();
         attribute = NextAttribute(attribute))
        read.append(QString::fromUtf8(NodeNameUtf8(attribute)) + u'='
                    + QString::fromUtf8(NodeTextUtf8(attribute)));
    QCOMPARE(read, (QStringList {u"a=1"_s, u"b=x & y"_s}));
    QCOMPARE(NodeTextUtf8(First(attributes, u"//c"_s)), QByteArray("onetwo"));

    // The same list object is refilled, as a reader walking levels does.
    const CXmlNode leaf = First(document, u"//leaf"_s);
    CXmlNodeList &none = children;
    QVERIFY(SelectChildren(leaf, none, message));
    QCOMPARE(NodeListLength(none), 0);

    message.clear();
    CXmlNode item = leaf;
    QVERIFY(!NodeListItem(none, 0, item, message));
    QVERIFY(item.IsNull());
    QCOMPARE(message, u"Failed to read a node of the XML file"_s);

    message.clear();
    QVERIFY(!SelectChildren(CXmlNode(), none, message));
    QCOMPARE(message, u"Failed to get a pointer to the node list"_s);
}

void TestXmlAccess::nodeNameIs_data()
{
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("equal");
    QTest::newRow("other letter case")
            << u"database-query"_s << u"DataBase-Query"_s << false << true;
    QTest::newRow("other letter case, case counts")
            << u"database-query"_s << u"DataBase-Query"_s << true << false;
    QTest::newRow("a prefix is not the name") << u"height"_s << u"heigh"_s << false << false;
    QTest::newRow("nor a longer name") << u"height"_s << u"heights"_s << false << false;
    QTest::newRow("letters that differ by 0x20 only") << u"a-b"_s << u"a\rb"_s << false << false;
    QTest::newRow("non-ASCII, other letter case")
            << u"gr\u00f6\u00dfe"_s << u"GR\u00d6\u00dfE"_s << false << true;
    QTest::newRow("non-ASCII against ASCII")
            << u"gr\u00f6\u00dfe"_s << u"grosse"_s << false << false;
}

void TestXmlAccess::nodeNameIs()
{
    QFETCH(QString, own);
    QFETCH(QString, name);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, equal);
    CXmlDocument document;
    LoadText(u"<"_s + own + u" "_s + own + u"=\"v\"/>"_s, document);
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QCOMPARE(NodeNameIs(First(document, u"//*"_s), name, cs), equal);
    QCOMPARE(NodeNameIs(First(document, u"//*"_s), name.toUtf8(), cs), equal);
    QCOMPARE(NodeNameIs(First(document, u"//@*"_s), name, cs), equal);
    // Attribute names always match exactly.
    QString value;
    QString message;
    QVERIFY(GetAttribute(First(document, u"//*"_s), name, value, message));
    QCOMPARE(value, own == name ? u"v"_s : QString());
}

void TestXmlAccess::getAttribute_data()
{
    QTest::addColumn<QString>("xpath");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("value");
    QTest::newRow("present") << u"//report"_s << u"title"_s << true << u"Q1 & \"Q2\""_s;
    QTest::newRow("missing gives empty") << u"//report"_s << u"width"_s << true << QString();
    QTest::newRow("letter case counts") << u"//report"_s << u"Title"_s << true << QString();
    QTest::newRow("CR LF in a value") << u"//report"_s << u"note"_s << true << u"a b"_s;
    QTest::newRow("an attribute has no attributes")
            << u"//@title"_s << u"title"_s << false << u"stale"_s;
    QTest::newRow("text has no attributes")
            << u"//report/text()"_s << u"x"_s << false << u"stale"_s;
}

void TestXmlAccess::getAttribute()
{
    QFETCH(QString, xpath);
    QFETCH(QString, name);
    QFETCH(bool, ok);
    QFETCH(QString, value);
    CXmlDocument document;
    LoadText(u"<report title=\"Q1 &amp; &quot;Q2&quot;\" note=\"a\r\nb\">t</report>"_s, document);
    QString message;
    const CXmlNode node = First(document, xpath);
    QVERIFY(!node.IsNull());
    QString read = u"stale"_s;
    QCOMPARE(GetAttribute(node, name, read, message), ok);
    QCOMPARE(read, value);
    QCOMPARE(message, ok ? QString() : u"Failed to retrieve the list of attributes"_s);
}

void TestXmlAccess::escapeXml_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("the four characters, apostrophe kept") << u"<&\"'"_s << u"&lt;&amp;&quot;'"_s;
    QTest::newRow("nothing to replace") << u"Report Header"_s << u"Report Header"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("an entity is escaped again") << u"&amp;"_s << u"&amp;amp;"_s;
    QTest::newRow("greater-than") << u"a > b"_s << u"a &gt; b"_s;
}

void TestXmlAccess::escapeXml()
{
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(EscapeXml(text), escaped);

    // What the writer escapes, the loader gives back unchanged.
    CXmlDocument document;
    LoadText(u"<r a=\""_s + escaped + u"\">"_s + escaped + u"</r>"_s, document);
    QString message;
    const CXmlNode root = First(document, u"//*"_s);
    QString value;
    QVERIFY(GetAttribute(root, u"a", value, message));
    QCOMPARE(value, text);
    QCOMPARE(NodeText(root), text);
}

VANTEL_TEST_CLASS(TestXmlAccess)
#include "tst_xmlaccess.moc"
