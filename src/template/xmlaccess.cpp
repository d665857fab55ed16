#include "xmlaccess.h"
#include "xmlinternal.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("XmlAccess", text);
}

bool IsText(pugi::xml_node node)
{
    const pugi::xml_node_type type = node.type();
    return type == pugi::node_pcdata || type == pugi::node_cdata;
}

char32_t Unit(QChar c)
{
    return c.unicode();
}

char32_t Unit(char c)
{
    return static_cast<unsigned char>(c);
}

char32_t FoldAscii(char32_t c)
{
    return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
}

// Compares a parser name (NUL-terminated UTF-8) with a name the reader gives,
// as long as both are ASCII: 1 equal, 0 different, -1 when a non-ASCII
// character needs the full Unicode comparison. The reader compares names
// many times per item, and its names are ASCII.
int CompareAscii(const char *own, QAnyStringView name, Qt::CaseSensitivity cs)
{
    return name.visit([own, cs](auto view) {
        const auto *data = view.data();
        const qsizetype size = view.size();
        for (qsizetype i = 0;; ++i) {
            const char32_t a = static_cast<unsigned char>(own[i]);
            if (i == size)
                return a == 0 ? 1 : (a < 0x80 ? 0 : -1);
            const char32_t b = Unit(data[i]);
            if (a >= 0x80 || b >= 0x80)
                return -1;
            if (a == 0)
                return 0;
            if (a != b && (cs == Qt::CaseSensitive || FoldAscii(a) != FoldAscii(b)))
                return 0;
        }
    });
}

// The names of a path of the form "//a/b/*" (a, b, ...: plain element names),
// outermost first; empty for any other expression.
std::vector<QByteArray> SimpleChildPath(const QString &xpath)
{
    if (!xpath.startsWith(u"//") || !xpath.endsWith(u"/*"))
        return {};
    const QStringList steps = xpath.mid(2, xpath.size() - 4).split(u'/');
    std::vector<QByteArray> names;
    for (const QString &step : steps) {
        if (step.isEmpty())
            return {};
        for (const QChar c : step) {
            const char16_t u = c.unicode();
            const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z')
                    || (u >= u'0' && u <= u'9') || u == u'-' || u == u'_';
            if (!plain)
                return {};
        }
        names.push_back(step.toLatin1());
    }
    return names;
}

// Every element below `root`, in document order, without recursion: a file
// may nest elements deeper than any stack.
void CollectElements(pugi::xml_node root, std::vector<CXmlNode> &nodes)
{
    pugi::xml_node node = root.first_child();
    while (node) {
        if (node.type() == pugi::node_element)
            nodes.push_back(XmlInternal::FromNode(node));
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling())
            node = node.parent();
        if (node == root)
            break;
        node = node.next_sibling();
    }
}

// The node itself when it is an element, else the next element among its
// following siblings; null when there is none.
pugi::xml_node ElementFrom(pugi::xml_node node)
{
    while (node && node.type() != pugi::node_element)
        node = node.next_sibling();
    return node;
}

// What "//a/b/*" selects, the quick way for documents where each path's first
// name belongs to one element at most (a template has one report element):
// the parser finds the elements of a name in a walk of its own, far faster
// than a walk through its interface, and the path is followed down from that
// element. False, with nothing collected, when a first name occurs more than
// once: CollectChildrenOfPaths keeps document order then.
bool CollectBelowSingleElements(pugi::xml_node root,
                                const std::vector<std::vector<QByteArray>> &paths,
                                const std::vector<std::vector<CXmlNode> *> &results)
{
    std::vector<pugi::xml_node> starts;
    for (size_t k = 0; k < paths.size(); ++k) {
        const QByteArray &first = paths[k].front();
        if (k > 0 && first == paths[k - 1].front()) {
            starts.push_back(starts.back());
            continue;
        }
        const char lead = first.front();
        if (!((lead >= 'a' && lead <= 'z') || (lead >= 'A' && lead <= 'Z') || lead == '_'))
            return false; // not a name XPath can ask for
        const pugi::xpath_query query(("descendant::" + first).constData());
        const pugi::xpath_node_set found = query.evaluate_node_set(root);
        if (found.size() > 1)
            return false;
        const pugi::xml_node start = found.empty() ? pugi::xml_node() : found.first().node();
        if (start && (start.type() != pugi::node_element || qstrcmp(start.name(), first) != 0))
            return false;
        starts.push_back(start);
    }
    for (size_t k = 0; k < paths.size(); ++k) {
        if (!starts[k])
            continue;
        // Siblings in order and their children in order: document order.
        std::vector<pugi::xml_node> level {starts[k]};
        for (size_t j = 1; j < paths[k].size(); ++j) {
            std::vector<pugi::xml_node> next;
            for (const pugi::xml_node parent : level) {
                for (pugi::xml_node child = ElementFrom(parent.first_child()); child;
                     child = ElementFrom(child.next_sibling())) {
                    if (qstrcmp(child.name(), paths[k][j]) == 0)
                        next.push_back(child);
                }
            }
            level = std::move(next);
        }
        for (const pugi::xml_node parent : level) {
            for (pugi::xml_node child = ElementFrom(parent.first_child()); child;
                 child = ElementFrom(child.next_sibling()))
                results[k]->push_back(XmlInternal::FromNode(child));
        }
    }
    return true;
}

// What "//a/b/*" selects: the element children of every element named b whose
// parent is named a, in document order. One walk without recursion serves
// several such paths at once. It goes from element to element, passing text
// over; an element is named only when it has element children, when the walk
// enters it, and a bit mask per path and open element says which leading
// parts of the path end there.
void CollectChildrenOfPaths(pugi::xml_node root, const std::vector<std::vector<QByteArray>> &paths,
                            const std::vector<std::vector<CXmlNode> *> &results)
{
    const size_t count = paths.size();
    for (const std::vector<QByteArray> &path : paths) {
        if (path.empty() || path.size() > 64)
            return;
    }
    try {
        if (CollectBelowSingleElements(root, paths, results))
            return;
    } catch (const pugi::xpath_exception &) { }
    for (std::vector<CXmlNode> *nodes : results)
        nodes->clear();
    const auto maskOf
            = [](const char *name, const std::vector<QByteArray> &path, quint64 parentMask) {
                  quint64 mask = 0;
                  for (size_t j = 0; j < path.size(); ++j) {
                      const bool chainGoesOn = j == 0 || (parentMask & (quint64(1) << (j - 1)));
                      if (chainGoesOn && qstrcmp(name, path[j]) == 0)
                          mask |= quint64(1) << j;
                  }
                  return mask;
              };
    // The masks of the open elements, `count` per element, the root first.
    std::vector<quint64> masks(count, 0);
    pugi::xml_node node = ElementFrom(root.first_child());
    while (node) {
        const size_t parent = masks.size() - count;
        for (size_t k = 0; k < count; ++k) {
            if (masks[parent + k] & (quint64(1) << (paths[k].size() - 1)))
                results[k]->push_back(XmlInternal::FromNode(node));
        }
        if (const pugi::xml_node child = ElementFrom(node.first_child())) {
            const char *name = node.name();
            for (size_t k = 0; k < count; ++k)
                masks.push_back(maskOf(name, paths[k], masks[parent + k]));
            node = child;
            continue;
        }
        pugi::xml_node next = ElementFrom(node.next_sibling());
        while (!next) {
            node = node.parent();
            if (node == root)
                return;
            masks.resize(masks.size() - count);
            next = ElementFrom(node.next_sibling());
        }
        node = next;
    }
}

} // namespace

bool SelectNodes(const CXmlDocument &document, const QString &xpath, CXmlNodeList &list,
                 QString &message)
{
    std::vector<CXmlNode> &nodes = XmlInternal::Nodes(list);
    nodes.clear();
    if (const CXmlDocument::Data *data = XmlInternal::Data(document)) {
        try {
            if (xpath == u"//*") {
                // The reader asks for this to reach the root element; a plain
                // walk gives the same list without the XPath machinery.
                CollectElements(data->document, nodes);
                return true;
            }
            // The reader's other expressions select the children of elements
            // of given names; a walk gives them in document order as XPath
            // would, without building and sorting node sets.
            if (std::vector<QByteArray> path = SimpleChildPath(xpath); !path.empty()) {
                CollectChildrenOfPaths(data->document, {std::move(path)}, {&nodes});
                return true;
            }
            const pugi::xpath_query query(xpath.toUtf8().constData());
            pugi::xpath_node_set selected = query.evaluate_node_set(data->document);
            selected.sort();
            nodes.reserve(selected.size());
            for (const pugi::xpath_node &item : selected) {
                nodes.push_back(item.attribute() ? XmlInternal::FromAttribute(item.attribute())
                                                 : XmlInternal::FromNode(item.node()));
            }
            return true;
        } catch (const pugi::xpath_exception &) {
        } catch (const std::bad_alloc &) { }
    }
    nodes.clear();
    message = Tr("Failed to get a pointer to the node list: %1").arg(xpath);
    return false;
}

bool SelectNodesTogether(const CXmlDocument &document, const QStringList &xpaths,
                         const std::vector<CXmlNodeList *> &lists, QString &message)
{
    if (lists.size() != size_t(xpaths.size())) {
        message = Tr("Failed to get a pointer to the node list");
        return false;
    }
    std::vector<std::vector<QByteArray>> paths;
    std::vector<std::vector<CXmlNode> *> results;
    for (qsizetype i = 0; i < xpaths.size(); ++i) {
        std::vector<QByteArray> path = SimpleChildPath(xpaths[i]);
        if (path.empty()) {
            if (!SelectNodes(document, xpaths[i], *lists[size_t(i)], message))
                return false;
            continue;
        }
        std::vector<CXmlNode> &nodes = XmlInternal::Nodes(*lists[size_t(i)]);
        nodes.clear();
        paths.push_back(std::move(path));
        results.push_back(&nodes);
    }
    if (paths.empty())
        return true;
    if (const CXmlDocument::Data *data = XmlInternal::Data(document)) {
        try {
            CollectChildrenOfPaths(data->document, paths, results);
            return true;
        } catch (const std::bad_alloc &) { }
    }
    for (std::vector<CXmlNode> *nodes : results)
        nodes->clear();
    message = Tr("Failed to get a pointer to the node list: %1").arg(xpaths.join(u", "));
    return false;
}

bool SelectChildren(const CXmlNode &node, CXmlNodeList &list, QString &message)
{
    std::vector<CXmlNode> &nodes = XmlInternal::Nodes(list);
    nodes.clear();
    if (node.IsNull()) {
        message = Tr("Failed to get a pointer to the node list");
        return false;
    }
    // An attribute has no children: its list stays empty.
    for (pugi::xml_node child = XmlInternal::Node(node).first_child(); child;
         child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            nodes.push_back(XmlInternal::FromNode(child));
    }
    return true;
}

CXmlNode FirstChildElement(const CXmlNode &node)
{
    pugi::xml_node child = XmlInternal::Node(node).first_child();
    while (child && child.type() != pugi::node_element)
        child = child.next_sibling();
    return XmlInternal::FromNode(child);
}

CXmlNode NextSiblingElement(const CXmlNode &node)
{
    pugi::xml_node sibling = XmlInternal::Node(node).next_sibling();
    while (sibling && sibling.type() != pugi::node_element)
        sibling = sibling.next_sibling();
    return XmlInternal::FromNode(sibling);
}

CXmlNode FirstAttribute(const CXmlNode &node)
{
    if (XmlInternal::IsAttribute(node))
        return {};
    return XmlInternal::FromAttribute(XmlInternal::Node(node).first_attribute());
}

CXmlNode NextAttribute(const CXmlNode &attribute)
{
    if (!XmlInternal::IsAttribute(attribute))
        return {};
    return XmlInternal::FromAttribute(XmlInternal::Attribute(attribute).next_attribute());
}

qsizetype NodeListLength(const CXmlNodeList &list)
{
    return list.Length();
}

bool NodeListItem(const CXmlNodeList &list, qsizetype index, CXmlNode &node, QString &message)
{
    if (index < 0 || index >= list.Length()) {
        node = CXmlNode();
        message = Tr("Failed to read a node of the XML file");
        return false;
    }
    node = *(list.begin() + index);
    return true;
}

QString NodeName(const CXmlNode &node)
{
    if (const pugi::xml_attribute attribute = XmlInternal::Attribute(node))
        return QString::fromUtf8(attribute.name());
    const pugi::xml_node element = XmlInternal::Node(node);
    switch (element.type()) {
    case pugi::node_null:
        return {};
    case pugi::node_document:
        return QStringLiteral("#document");
    case pugi::node_pcdata:
        return QStringLiteral("#text");
    case pugi::node_cdata:
        return QStringLiteral("#cdata-section");
    case pugi::node_comment:
        return QStringLiteral("#comment");
    default:
        return QString::fromUtf8(element.name());
    }
}

bool NodeNameIs(const CXmlNode &node, QAnyStringView name, Qt::CaseSensitivity cs)
{
    const pugi::xml_attribute attribute = XmlInternal::Attribute(node);
    const pugi::xml_node element = XmlInternal::Node(node);
    if (!attribute && element.type() != pugi::node_element)
        return QAnyStringView::compare(NodeName(node), name, cs) == 0;
    const char *own = attribute ? attribute.name() : element.name();
    const int ascii = CompareAscii(own, name, cs);
    if (ascii >= 0)
        return ascii == 1;
    return QAnyStringView::compare(QUtf8StringView(own), name, cs) == 0;
}

QByteArrayView NodeNameUtf8(const CXmlNode &node)
{
    if (XmlInternal::IsAttribute(node))
        return QByteArrayView(XmlInternal::Attribute(node).name());
    const pugi::xml_node element = XmlInternal::Node(node);
    if (element.type() != pugi::node_element)
        return {};
    return QByteArrayView(element.name());
}

bool DocumentElement(const CXmlDocument &document, CXmlNode &node, QString &message)
{
    node = CXmlNode();
    if (const CXmlDocument::Data *data = XmlInternal::Data(document)) {
        if (const pugi::xml_node root = data->document.document_element()) {
            node = XmlInternal::FromNode(root);
            return true;
        }
    }
    message = Tr("Failed to read a node of the XML file");
    return false;
}

QString NodeText(const CXmlNode &node)
{
    return QString::fromUtf8(NodeTextUtf8(node));
}

QByteArray NodeTextUtf8(const CXmlNode &node)
{
    // The parser's strings live as long as its document and are not changed.
    const auto view = [](const char *text) {
        return QByteArray::fromRawData(text, qsizetype(std::strlen(text)));
    };
    if (XmlInternal::IsAttribute(node))
        return view(XmlInternal::Attribute(node).value());
    const pugi::xml_node root = XmlInternal::Node(node);
    const pugi::xml_node_type type = root.type();
    if (type != pugi::node_element && type != pugi::node_document)
        return view(root.value());

    // Most fields hold one run of text.
    const pugi::xml_node first = root.first_child();
    if (!first)
        return {};
    if (!first.next_sibling() && IsText(first))
        return view(first.value());

    QByteArray text;
    pugi::xml_node item = first;
    while (item) {
        if (IsText(item))
            text.append(item.value());
        if (item.first_child()) {
            item = item.first_child();
            continue;
        }
        while (item != root && !item.next_sibling())
            item = item.parent();
        if (item == root)
            break;
        item = item.next_sibling();
    }
    return text;
}

bool GetAttribute(const CXmlNode &node, QAnyStringView name, QString &value, QString &message)
{
    const pugi::xml_node element = XmlInternal::Node(node);
    if (element.type() != pugi::node_element) {
        message = Tr("Failed to retrieve the list of attributes");
        return false;
    }
    value.clear();
    // An ASCII name, the usual case, is compared byte for byte: no other name
    // can equal it with letter case counting.
    char key[64];
    const bool asciiKey = name.size() < qsizetype(sizeof key) && name.visit([&key](auto view) {
        const auto *data = view.data();
        for (qsizetype i = 0; i < view.size(); ++i) {
            const char32_t c = Unit(data[i]);
            if (c == 0 || c >= 0x80)
                return false;
            key[i] = char(c);
        }
        key[view.size()] = 0;
        return true;
    });
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (asciiKey) {
            if (std::strcmp(attribute.name(), key) == 0) {
                value = QString::fromUtf8(attribute.value());
                break;
            }
            continue;
        }
        const int ascii = CompareAscii(attribute.name(), name, Qt::CaseSensitive);
        if (ascii == 1
            || (ascii < 0 && QAnyStringView::equal(QUtf8StringView(attribute.name()), name))) {
            value = QString::fromUtf8(attribute.value());
            break;
        }
    }
    return true;
}

QString EscapeXml(const QString &text)
{
    qsizetype extra = 0;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            extra += 4;
            break;
        case u'<':
        case u'>':
            extra += 3;
            break;
        case u'"':
            extra += 5;
            break;
        default:
            break;
        }
    }
    if (extra == 0)
        return text;

    // One pass: '&' is replaced in the same pass as the others, so the
    // entities written for them are never escaped a second time.
    QString escaped(text.size() + extra, Qt::Uninitialized);
    QChar *out = escaped.data();
    const auto put = [&out](QStringView entity) {
        for (const QChar c : entity)
            *out++ = c;
    };
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            put(u"&amp;");
            break;
        case u'<':
            put(u"&lt;");
            break;
        case u'>':
            put(u"&gt;");
            break;
        case u'"':
            put(u"&quot;");
            break;
        default:
            *out++ = c;
            break;
        }
    }
    return escaped;
}

QString EscapeXmlAttribute(const QString &text)
{
    QString escaped = EscapeXml(text);
    const auto needsReference = [](QChar c) {
        return c == u'\t' || c == u'\n' || c == u'\r';
    };
    if (std::none_of(escaped.cbegin(), escaped.cend(), needsReference))
        return escaped;
    QString out;
    out.reserve(escaped.size() + 16);
    for (const QChar c : std::as_const(escaped)) {
        if (c == u'\t')
            out += QLatin1StringView("&#9;");
        else if (c == u'\n')
            out += QLatin1StringView("&#10;");
        else if (c == u'\r')
            out += QLatin1StringView("&#13;");
        else
            out += c;
    }
    return out;
}
