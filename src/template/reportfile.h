#pragma once

#include <QByteArray>
#include <QString>

class CVornReport;
class CVornElement;
class CXmlDocument;
class CXmlNode;

// The report template file (.vnt): UTF-16LE XML without a byte-order mark and
// with CR LF line ends, written as text by this program and read through the
// XML access layer. The reporting engine reads the same files, so the element
// names, the number formats and the order of the lines are fixed.
namespace VornTemplate {

// Writes the report to the file; an existing file is replaced only once the new
// one is complete. Does not validate. On false, message is the system's text
// for the failing file operation; the report is never changed.
bool Save(const CVornReport &report, const QString &path, QString &message);

// The complete text Save writes.
QString WriteReportXml(const CVornReport &report);

// Appends the lines of one band (with its items) or one item to out, each line
// ended by CR LF.
void WriteXml(const CVornElement &element, QString &out);

// Reads a template into a report that the caller has just reset, and ends by
// validating it. False with one message: the XML layer's, a read failure's or
// the first validation fault. A report read only in part keeps what was read.
bool Load(CVornReport &report, const QString &path, QString &message);

// Load for a file's bytes already in memory.
bool LoadBytes(CVornReport &report, QByteArray bytes, QString &message);

// The reading part of Load, without the validation at its end.
bool ReadDocument(CVornReport &report, const CXmlDocument &document, QString &message);

// Reads the parameters section of a loaded document into the report.
bool LoadParameters(CVornReport &report, const CXmlDocument &document, QString &message);

// Reads one band or item from its "element" node.
bool ReadXml(CVornElement &element, const CXmlNode &node, QString &message);

} // namespace VornTemplate
