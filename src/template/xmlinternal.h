#pragma once

#include "xmldocument.h"
#include "xmlnode.h"
#include "xmlnodelist.h"

#include <QByteArray>

#include <pugixml.hpp>

// Only the XML layer's own .cpp files include this: it is where the public
// handles meet the parser.

struct CXmlDocument::Data
{
    pugi::xml_document document;
};

struct XmlInternal
{
    static pugi::xml_node Node(const CXmlNode &node) { return pugi::xml_node(node.m_node); }
    // Whether the node is an attribute, without a call into the parser.
    static bool IsAttribute(const CXmlNode &node) { return node.m_attribute != nullptr; }
    static pugi::xml_attribute Attribute(const CXmlNode &node)
    {
        return pugi::xml_attribute(node.m_attribute);
    }
    static CXmlNode FromNode(pugi::xml_node node)
    {
        CXmlNode result;
        result.m_node = node.internal_object();
        return result;
    }
    static CXmlNode FromAttribute(pugi::xml_attribute attribute)
    {
        CXmlNode result;
        result.m_attribute = attribute.internal_object();
        return result;
    }
    static std::vector<CXmlNode> &Nodes(CXmlNodeList &list) { return list.m_nodes; }
    static std::unique_ptr<CXmlDocument::Data> &Data(CXmlDocument &document)
    {
        return document.m_data;
    }
    static const CXmlDocument::Data *Data(const CXmlDocument &document)
    {
        return document.m_data.get();
    }
};
