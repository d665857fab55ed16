#include "xmlaccess.h"
#include "xmlinternal.h"

#include <QCoreApplication>

#include <new>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("XmlAccess", text);
}

bool IsText(pugi::xml_node node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
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

} // namespace

std::optional<CXmlNodeList> SelectNodes(const CXmlDocument &document, const QString &xpath,
                                        QString &message)
{
    const CXmlDocument::Data *data = XmlInternal::Data(document);
    if (data) {
        try {
            CXmlNodeList list;
            std::vector<CXmlNode> &nodes = XmlInternal::Nodes(list);
            if (xpath == u"//*") {
                // The reader asks for this to reach the root element; a plain
                // walk gives the same list without the XPath machinery.
                CollectElements(data->document, nodes);
                return list;
            }
            const pugi::xpath_query query(xpath.toUtf8().constData());
            pugi::xpath_node_set selected = query.evaluate_node_set(data->document);
            selected.sort();
            nodes.reserve(selected.size());
            for (const pugi::xpath_node &item : selected) {
                nodes.push_back(item.attribute() ? XmlInternal::FromAttribute(item.attribute())
                                                 : XmlInternal::FromNode(item.node()));
            }
            return list;
        } catch (const pugi::xpath_exception &) {
        } catch (const std::bad_alloc &) { }
    }
    message = Tr("Failed to get a pointer to the node list: %1").arg(xpath);
    return std::nullopt;
}

std::optional<CXmlNodeList> SelectChildren(const CXmlNode &node, QString &message)
{
    if (node.IsNull()) {
        message = Tr("Failed to get a pointer to the node list");
        return std::nullopt;
    }
    CXmlNodeList list;
    // An attribute has no children: its list stays empty.
    for (pugi::xml_node child = XmlInternal::Node(node).first_child(); child;
         child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            XmlInternal::Nodes(list).push_back(XmlInternal::FromNode(child));
    }
    return list;
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
        return name.isEmpty() ? node.IsNull()
                              : QAnyStringView::compare(NodeName(node), name, cs) == 0;
    const char *own = attribute ? attribute.name() : element.name();
    return QAnyStringView::compare(QUtf8StringView(own), name, cs) == 0;
}

QString NodeText(const CXmlNode &node)
{
    if (const pugi::xml_attribute attribute = XmlInternal::Attribute(node))
        return QString::fromUtf8(attribute.value());
    const pugi::xml_node root = XmlInternal::Node(node);
    if (root.type() != pugi::node_element && root.type() != pugi::node_document)
        return QString::fromUtf8(root.value());

    // Most fields hold one run of text: convert it directly.
    const pugi::xml_node first = root.first_child();
    if (!first)
        return {};
    if (!first.next_sibling() && IsText(first))
        return QString::fromUtf8(first.value());

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
    return QString::fromUtf8(text);
}

bool GetAttribute(const CXmlNode &node, QAnyStringView name, QString &value, QString &message)
{
    const pugi::xml_node element = XmlInternal::Node(node);
    if (element.type() != pugi::node_element) {
        message = Tr("Failed to retrieve the list of attributes");
        return false;
    }
    value.clear();
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (QAnyStringView::equal(QUtf8StringView(attribute.name()), name)) {
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
