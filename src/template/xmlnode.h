#pragma once

namespace pugi {
struct xml_node_struct;
struct xml_attribute_struct;
} // namespace pugi

// One node of a loaded XML document: an element (or another node kind an
// XPath selection may give, such as an attribute). A plain handle: cheap to
// copy, valid as long as the CXmlDocument it came from holds its document.
// A default-constructed node is null. Read it with the functions of
// xmlaccess.h.
class CXmlNode
{
public:
    CXmlNode() = default;

    bool IsNull() const { return !m_node && !m_attribute; }

    bool operator==(const CXmlNode &other) const = default;

private:
    friend struct XmlInternal;

    // Exactly one of the two is set for a node that is not null.
    pugi::xml_node_struct *m_node = nullptr;
    pugi::xml_attribute_struct *m_attribute = nullptr;
};
