#pragma once

#include "exporter.h"
#include "outputfile.h"

#include <QTemporaryDir>

#include <map>
#include <memory>

class CDataTable;
struct CXlsxLibrary;
struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// The data as printed (CDataTable), not the drawing: CSV in UTF-8 with RFC 4180 quoting (CR LF
// line ends, fields with a comma, a quote or a line end quoted, quotes doubled), or an Excel
// workbook of one sheet named after the report's title, numbers stored as numbers in the Data
// Format's number format and dates as dates. Rows are written as the pages come.
class CDataWriter final : public CPageWriter
{
public:
    explicit CDataWriter(const CExportOptions &options);
    ~CDataWriter() override;

    bool Begin(QSize pageSize, QString &message) override;
    bool WritePage(const CPage &page, int number, int count, QString &message) override;
    bool Finish(QString &message) override;
    void Cancel() override;

private:
    bool WriteCsvRow(const QStringList &fields, QString &message);
    lxw_format *NumberFormat(const QString &format);
    bool WorkbookFailed(int error, QString &message);

    CExportOptions m_options;
    std::unique_ptr<CDataTable> m_table;
    COutputFile m_target; // CSV directly; XLSX copied from the library's file when complete
    // The workbook is written by its library to a file of its own naming, in a folder of ours.
    QTemporaryDir m_folder;
    const CXlsxLibrary *m_xlsx = nullptr;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_bold = nullptr;
    lxw_format *m_dateFormat = nullptr;
    lxw_format *m_dateTimeFormat = nullptr;
    std::map<QString, lxw_format *> m_numberFormats;
    quint32 m_row = 0;
};
