#pragma once

#include "xmlnode.h"

#include <QtGlobal>

#include <vector>

// The nodes an XPath selection or a child selection gave, in document order.
// Valid as long as the CXmlDocument they came from holds its document.
// NodeListLength and NodeListItem (xmlaccess.h) read it the checked way;
// range-for walks it directly.
class CXmlNodeList
{
public:
    qsizetype Length() const { return qsizetype(m_nodes.size()); }
    std::vector<CXmlNode>::const_iterator begin() const { return m_nodes.begin(); }
    std::vector<CXmlNode>::const_iterator end() const { return m_nodes.end(); }

private:
    friend struct XmlInternal;

    std::vector<CXmlNode> m_nodes;
};
