#pragma once

#include <memory>

// Owns one loaded XML document (the handle that LoadXmlFile fills). Empty
// until a load succeeds; Release() or the destructor frees the document, after
// which every CXmlNode and CXmlNodeList taken from it is invalid. Movable, not
// copyable.
class CXmlDocument
{
public:
    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(CXmlDocument &&other) noexcept;
    CXmlDocument &operator=(CXmlDocument &&other) noexcept;
    CXmlDocument(const CXmlDocument &) = delete;
    CXmlDocument &operator=(const CXmlDocument &) = delete;

    bool IsEmpty() const { return !m_data; }
    void Release();

    // Defined inside the XML layer only.
    struct Data;

private:
    friend struct XmlInternal;

    std::unique_ptr<Data> m_data;
};
