#include "datawriter.h"

#include "datatable.h"
#include "pagecontent.h"
#include "sourcedate.h"
#include "xlsxlibrary.h"
#include "xmltext.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("CDataWriter", text);
}

// Excel's limits: rows of a sheet, characters of a cell and of a sheet's name.
constexpr quint32 MaxRows = 1048576;
constexpr qsizetype MaxCellText = 32767;
constexpr qsizetype MaxSheetName = 31;

// A number as a spreadsheet reads it from a CSV field: a sign, digits and maybe a point.
bool IsSignedNumber(const QString &text)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(number) && text.size() > 1 && (text[1].isDigit() || text[1] == u'.');
}

QString CsvField(const QString &value)
{
    QString text = value;
    text.remove(QChar(0));
    // A spreadsheet runs a field that starts like a formula (=, +, -, @, or a tab or line end
    // before one): such a text gets a leading apostrophe, which keeps it a text. Signed
    // numbers stay numbers.
    if (!text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front()) && !IsSignedNumber(text))
        text.prepend(u'\'');
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n')
        && !text.contains(u'\r'))
        return text;
    return u'"' + text.replace(u'"', u"\"\""_s) + u'"';
}

// A sheet's name: the title without the characters Excel refuses, at most 31 characters.
QString SheetName(const QString &title)
{
    QString name;
    for (const QChar c : title) {
        if (!QStringView(u"[]:*?/\\").contains(c) && c.unicode() >= 0x20)
            name.append(c);
    }
    while (name.startsWith(u'\''))
        name.remove(0, 1);
    name = name.left(MaxSheetName);
    if (name.size() == MaxSheetName && name.back().isHighSurrogate())
        name.chop(1);
    while (name.endsWith(u'\''))
        name.chop(1);
    name = name.trimmed();
    return name.isEmpty() ? u"Report"_s : name;
}

lxw_datetime ToDateTime(const QVariant &value)
{
    const QDateTime time = value.typeId() == QMetaType::QDate
            ? QDateTime(value.toDate(), QTime(0, 0))
            : value.toDateTime();
    const QDate date = time.date();
    const QTime clock = time.time();
    return {date.year(),  date.month(),   date.day(),
            clock.hour(), clock.minute(), clock.second() + clock.msec() / 1000.0};
}

} // namespace

CDataWriter::CDataWriter(const CExportOptions &options)
    : m_options(options)
{ }

CDataWriter::~CDataWriter()
{
    Cancel();
}

bool CDataWriter::WorkbookFailed(int error, QString &message)
{
    message = Tr("Cannot write \"%1\": %2")
                      .arg(m_options.path,
                           QString::fromUtf8(m_xlsx->lxw_strerror(lxw_error(error))));
    return false;
}

bool CDataWriter::Begin(QSize, QString &message)
{
    if (!m_options.report) {
        message = Tr("The data of a report can be exported only with the report.");
        return false;
    }
    m_table = std::make_unique<CDataTable>(*m_options.report);
    if (m_table->GetHeadings().isEmpty()) {
        message = Tr("The report prints no rows of data: no band with a query shows a DB Text.");
        return false;
    }
    if (m_options.format != ExportFormat::Csv) {
        QString reason;
        m_xlsx = CXlsxLibrary::Shared(reason);
        if (!m_xlsx) {
            message = Tr("Cannot write \"%1\": %2").arg(m_options.path, reason);
            return false;
        }
    }
    if (!m_target.Open(m_options.path)) {
        message = m_target.GetMessage();
        return false;
    }
    if (m_options.format == ExportFormat::Csv)
        return WriteCsvRow(m_table->GetHeadings(), message);

    if (!m_folder.isValid()) {
        message = Tr("Cannot write \"%1\": %2").arg(m_options.path, m_folder.errorString());
        return false;
    }
    // Rows go to the library's temporary files as they come, so memory does not grow with them.
    QByteArray folder = QFile::encodeName(m_folder.path());
    lxw_workbook_options options {};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder.data();
    options.use_zip64 = LXW_TRUE;
    const QByteArray file = QFile::encodeName(m_folder.filePath(u"export.xlsx"_s));
    m_workbook = m_xlsx->workbook_new_opt(file.constData(), &options);
    if (!m_workbook)
        return WorkbookFailed(LXW_ERROR_MEMORY_MALLOC_FAILED, message);
    // The workbook's creation date is the time it is written, or SOURCE_DATE_EPOCH's.
    qint64 seconds = 0;
    if (ReadSourceDate(seconds) == ESourceDate::Set) {
        lxw_doc_properties properties {};
        properties.created = time_t(seconds);
        m_xlsx->workbook_set_properties(m_workbook, &properties);
    }
    m_sheet = m_xlsx->workbook_add_worksheet(m_workbook,
                                             SheetName(m_options.title).toUtf8().constData());
    m_bold = m_xlsx->workbook_add_format(m_workbook);
    m_xlsx->format_set_bold(m_bold);
    m_dateFormat = m_xlsx->workbook_add_format(m_workbook);
    m_xlsx->format_set_num_format(m_dateFormat, "yyyy-mm-dd");
    m_dateTimeFormat = m_xlsx->workbook_add_format(m_workbook);
    m_xlsx->format_set_num_format(m_dateTimeFormat, "yyyy-mm-dd hh:mm:ss");
    if (!m_sheet)
        return WorkbookFailed(LXW_ERROR_PARAMETER_VALIDATION, message);
    const QStringList &headings = m_table->GetHeadings();
    for (int column = 0; column < headings.size(); ++column) {
        const lxw_error error = m_xlsx->worksheet_write_string(
                m_sheet, 0, lxw_col_t(column),
                headings[column].left(MaxCellText).toUtf8().constData(), m_bold);
        if (error != LXW_NO_ERROR)
            return WorkbookFailed(error, message);
    }
    m_row = 1;
    return true;
}

bool CDataWriter::WriteCsvRow(const QStringList &fields, QString &message)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        line += CsvField(fields[i]);
    }
    line += u"\r\n"_s;
    const QByteArray bytes = line.toUtf8();
    QIODevice *device = m_target.GetDevice();
    if (device && device->write(bytes) == bytes.size())
        return true;
    message = m_target.GetMessage();
    return false;
}

lxw_format *CDataWriter::NumberFormat(const QString &format)
{
    if (format.isEmpty())
        return nullptr;
    auto found = m_numberFormats.find(format);
    if (found == m_numberFormats.end()) {
        lxw_format *made = m_xlsx->workbook_add_format(m_workbook);
        m_xlsx->format_set_num_format(made, format.toUtf8().constData());
        found = m_numberFormats.emplace(format, made).first;
    }
    return found->second;
}

bool CDataWriter::WritePage(const CPage &page, int, int, QString &message)
{
    for (const std::vector<CDataTable::Cell> &row : m_table->RowsOf(page)) {
        if (m_options.format == ExportFormat::Csv) {
            QStringList fields;
            for (const CDataTable::Cell &cell : row)
                fields.append(cell.text);
            if (!WriteCsvRow(fields, message))
                return false;
            continue;
        }
        if (m_row >= MaxRows) {
            message = Tr("The report prints more rows than a sheet holds (%1).").arg(MaxRows - 1);
            return false;
        }
        for (size_t column = 0; column < row.size(); ++column) {
            const CDataTable::Cell &cell = row[column];
            const lxw_col_t col = lxw_col_t(column);
            lxw_error error = LXW_NO_ERROR;
            switch (cell.kind) {
            case CDataTable::Cell::Kind::Empty:
                break;
            case CDataTable::Cell::Kind::Number:
                error = m_xlsx->worksheet_write_number(m_sheet, m_row, col, cell.number,
                                                       NumberFormat(cell.numberFormat));
                break;
            case CDataTable::Cell::Kind::Date:
            case CDataTable::Cell::Kind::DateTime: {
                lxw_datetime time = ToDateTime(cell.date);
                if (time.year >= 1900 && time.year <= 9999) {
                    error = m_xlsx->worksheet_write_datetime(
                            m_sheet, m_row, col, &time,
                            cell.kind == CDataTable::Cell::Kind::Date ? m_dateFormat
                                                                      : m_dateTimeFormat);
                    break;
                }
                [[fallthrough]];
            }
            case CDataTable::Cell::Kind::Text: {
                // A cell holds a limited text; cutting a value would lose data unseen. The
                // sheet is XML, and the library reads a C string, which a NUL would end early.
                const QString text = XmlText::Allowed(cell.text);
                if (text.size() > MaxCellText) {
                    message = Tr("The value of the item \"%1\" of the band \"%2\" in row %3 "
                                 "has %4 characters; a cell holds at most %5.")
                                      .arg(m_table->ItemName(cell), m_table->BandName(cell))
                                      .arg(m_row + 1)
                                      .arg(text.size())
                                      .arg(MaxCellText);
                    return false;
                }
                error = m_xlsx->worksheet_write_string(m_sheet, m_row, col,
                                                       text.toUtf8().constData(), nullptr);
                break;
            }
            }
            if (error != LXW_NO_ERROR)
                return WorkbookFailed(error, message);
        }
        ++m_row;
    }
    return true;
}

bool CDataWriter::Finish(QString &message)
{
    if (m_workbook) {
        const lxw_error error = m_xlsx->workbook_close(m_workbook);
        m_workbook = nullptr;
        if (error != LXW_NO_ERROR)
            return WorkbookFailed(error, message);
        // The finished workbook goes to the target as any other export does.
        QFile file(m_folder.filePath(u"export.xlsx"_s));
        if (!file.open(QIODevice::ReadOnly)) {
            message = Tr("Cannot write \"%1\": %2").arg(m_options.path, file.errorString());
            return false;
        }
        QIODevice *device = m_target.GetDevice();
        while (!file.atEnd()) {
            const QByteArray chunk = file.read(1 << 20);
            if (chunk.isEmpty() || !device || device->write(chunk) != chunk.size()) {
                message = m_target.GetMessage();
                return false;
            }
        }
    }
    if (!m_target.Commit()) {
        message = m_target.GetMessage();
        return false;
    }
    return true;
}

void CDataWriter::Cancel()
{
    if (m_workbook) {
        // Dropped without writing the file.
        m_xlsx->lxw_workbook_free(m_workbook);
        m_workbook = nullptr;
    }
    m_target.Cancel();
}
