#include "xmldocument.h"

#include "xmlinternal.h"

CXmlDocument::CXmlDocument() = default;
CXmlDocument::~CXmlDocument() = default;
CXmlDocument::CXmlDocument(CXmlDocument &&other) noexcept = default;
CXmlDocument &CXmlDocument::operator=(CXmlDocument &&other) noexcept = default;

void CXmlDocument::Release()
{
    m_data.reset();
}
