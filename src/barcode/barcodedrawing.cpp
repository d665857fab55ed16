#include "barcodedrawing.h"

#include "barcodesymbology.h"
#include "modulegrid.h"
#include "qrmask.h"
#include "zintlibrary.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("CBarcodeDrawing", text);
}

// With a scale of one half, one unit of the library's vector output is one module.
constexpr float moduleScale = 0.5f;
// The shortest bars a linear symbol keeps, in modules, however low its box: below that the
// symbol is drawn smaller rather than without bars.
constexpr double shortestBars = 5;

// A symbol of the library, deleted with it.
class CZintSymbol
{
public:
    explicit CZintSymbol(const CZintLibrary &library)
        : m_library(library)
        , m_symbol(library.create())
    { }
    ~CZintSymbol()
    {
        if (m_symbol)
            m_library.destroy(m_symbol);
    }
    CZintSymbol(const CZintSymbol &) = delete;
    CZintSymbol &operator=(const CZintSymbol &) = delete;

    zint_symbol *operator->() const { return m_symbol; }
    explicit operator bool() const { return m_symbol != nullptr; }

    // Encodes data to vector output; false with the library's reason, less its error number.
    bool Encode(const QByteArray &data, QString &problem) { return Encode(data, true, problem); }

    // Encodes the modules of a QR Code or a DataMatrix symbol of data into grid; false with the
    // library's reason. The library's own choice of a QR Code's mask pattern takes most of the
    // time of a small symbol (it scores each of the eight patterns over the whole symbol, byte by
    // byte): the symbol is encoded with pattern 0 and the same choice made here, on 64 modules
    // at a time. Should the symbol not be what that expects, the library chooses.
    bool EncodeModules(const QByteArray &data, bool qrCode, CModuleGrid &grid, QString &problem)
    {
        // Mask pattern n is asked for as n + 1 in the second byte.
        if (qrCode)
            m_symbol->option_3 = 1 << 8;
        if (!Encode(data, false, problem))
            return false;
        ReadModules(grid);
        if (!qrCode || ChooseQrMask(grid))
            return true;
        m_symbol->option_3 = 0;
        if (!Encode(data, false, problem))
            return false;
        ReadModules(grid);
        return true;
    }

private:
    bool Encode(const QByteArray &data, bool vector, QString &problem)
    {
        m_library.clear(m_symbol);
        const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
        const int result = vector ? m_library.encodeVector(m_symbol, bytes, int(data.size()), 0)
                                  : m_library.encode(m_symbol, bytes, int(data.size()));
        if (result < ZINT_ERROR && (!vector || m_symbol->vector))
            return true;
        static const QRegularExpression number(QStringLiteral("^(Error|Warning) \\d+: "));
        problem = QString::fromUtf8(m_symbol->errtxt,
                                    qsizetype(strnlen(m_symbol->errtxt, sizeof m_symbol->errtxt)))
                          .remove(number);
        if (problem.isEmpty())
            problem = Tr("the barcode library cannot encode it");
        return false;
    }

    // The library keeps a row's modules a bit each, the first in the lowest bit of its first
    // byte.
    void ReadModules(CModuleGrid &grid) const
    {
        grid = CModuleGrid(m_symbol->width, m_symbol->rows);
        const int bytes = (grid.width + 7) / 8;
        for (int y = 0; y < grid.rows; ++y) {
            std::uint64_t *row = grid.Row(y);
            for (int i = 0; i < bytes; ++i)
                row[i / 8] |= std::uint64_t(m_symbol->encoded_data[y][i]) << (8 * (i % 8));
            if (grid.width % 64)
                row[grid.width / 64] &= (std::uint64_t(1) << (grid.width % 64)) - 1;
        }
    }

    const CZintLibrary &m_library;
    zint_symbol *m_symbol;
};

bool AllDigits(QStringView value)
{
    return std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The standard mod-10 check digit of the GTIN family: weights 3 and 1 from the right.
int GtinCheckDigit(QStringView digits)
{
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const int digit = digits[digits.size() - 1 - i].unicode() - u'0';
        sum += i % 2 == 0 ? 3 * digit : digit;
    }
    return (10 - sum % 10) % 10;
}

// The library's symbology and input for a value of the fixed-length numeric symbologies, which
// the library would otherwise read as other symbols (an add-on, an EAN-13) or pad with zeros.
bool NumericInput(int symbology, QStringView value, int &id, QByteArray &data, QString &problem)
{
    struct Lengths
    {
        int digits; // without the check digit
        int plain; // the library adds the check digit
        int checked; // the library checks it
        const char *message;
    };
    static const Lengths ean8 {7, BARCODE_EANX, BARCODE_EANX_CHK,
                               QT_TRANSLATE_NOOP("CBarcodeDrawing",
                                                 "an EAN-8 code has 7 digits, or 8 with its "
                                                 "check digit")};
    static const Lengths upcA {11, BARCODE_UPCA, BARCODE_UPCA_CHK,
                               QT_TRANSLATE_NOOP("CBarcodeDrawing",
                                                 "a UPC-A code has 11 digits, or 12 with its "
                                                 "check digit")};
    static const Lengths itf14 {13, BARCODE_ITF14, BARCODE_ITF14,
                                QT_TRANSLATE_NOOP("CBarcodeDrawing",
                                                  "an ITF-14 code has 13 digits, or 14 with its "
                                                  "check digit")};
    const Lengths &lengths = symbology == BarcodeSymbology::Ean8 ? ean8
            : symbology == BarcodeSymbology::UpcA                ? upcA
                                                                 : itf14;
    if (!AllDigits(value)
        || (value.size() != lengths.digits && value.size() != lengths.digits + 1)) {
        problem = Tr(lengths.message);
        return false;
    }
    id = value.size() == lengths.digits ? lengths.plain : lengths.checked;
    if (symbology == BarcodeSymbology::Itf14 && value.size() == 14) {
        // The library takes 13 digits and adds the check digit itself.
        const int check = GtinCheckDigit(value.first(13));
        if (value[13].unicode() - u'0' != check) {
            problem = Tr("invalid check digit '%1', expecting '%2'").arg(value[13]).arg(check);
            return false;
        }
        value = value.first(13);
    }
    data = value.toLatin1();
    return true;
}

// Sets the symbology, its options and the data of value on symbol.
bool Prepare(CZintSymbol &symbol, const CBarcodeOptions &options, QStringView value,
             QByteArray &data, QString &problem)
{
    int id = 0;
    int mode = UNICODE_MODE;
    switch (options.symbology) {
    case BarcodeSymbology::Code128:
        id = BARCODE_CODE128;
        break;
    case BarcodeSymbology::Gs1_128:
        id = BARCODE_GS1_128;
        // Application identifiers in brackets, or in parentheses as they are printed.
        mode = GS1_MODE | (value.startsWith(u'(') ? GS1PARENS_MODE : 0);
        break;
    case BarcodeSymbology::QrCode:
        id = BARCODE_QRCODE;
        symbol->option_1 = std::clamp(options.eccLevel, 0, 3) + 1;
        break;
    case BarcodeSymbology::DataMatrix:
        id = BARCODE_DATAMATRIX;
        symbol->option_3 = DM_SQUARE;
        break;
    case BarcodeSymbology::Pdf417:
        id = BARCODE_PDF417;
        break;
    case BarcodeSymbology::Code39:
        id = BARCODE_CODE39;
        break;
    case BarcodeSymbology::Ean8:
    case BarcodeSymbology::UpcA:
    case BarcodeSymbology::Itf14:
        if (!NumericInput(options.symbology, value, id, data, problem))
            return false;
        mode = DATA_MODE;
        break;
    default:
        problem = Tr("the symbology %1 is unknown; a newer Vantel wrote it").arg(options.symbology);
        return false;
    }
    if (data.isEmpty())
        data = value.toUtf8();
    symbol->symbology = id;
    symbol->input_mode = mode;
    symbol->scale = moduleScale;
    symbol->output_options |= BARCODE_QUIET_ZONES;
    symbol->show_hrt = options.showText && !BarcodeSymbology::IsTwoDimensional(options.symbology);
    return true;
}

// The quiet zone of the matrix symbols drawn from their modules, in modules on every side: the
// library's when asked for its quiet zones.
int MatrixQuietZone(int symbology)
{
    switch (symbology) {
    case BarcodeSymbology::QrCode:
        return 4;
    case BarcodeSymbology::DataMatrix:
        return 1;
    default:
        return -1; // drawn from the library's vector output
    }
}

// A matrix symbol of modules with its quiet zone, square and centred in the box.
void LayOutMatrix(const CModuleGrid &modules, int quietZone, double width, double height,
                  CBarcodeDrawing &drawing)
{
    const double columns = modules.width + 2.0 * quietZone;
    const double rows = modules.rows + 2.0 * quietZone;
    drawing.scale = std::min(width / columns, height / rows);
    drawing.origin
            = QPointF((width - columns * drawing.scale) / 2, (height - rows * drawing.scale) / 2);
    drawing.area = QRectF(drawing.origin, QSizeF(columns, rows) * drawing.scale);
    modules.AddRectangles(quietZone, drawing.bars);
}

} // namespace

bool MakeBarcodeDrawing(const CBarcodeOptions &options, QStringView value, double width,
                        double height, CBarcodeDrawing &drawing, QString &problem)
{
    drawing = {};
    const CZintLibrary *library = CZintLibrary::Shared(problem);
    if (!library)
        return false;
    CZintSymbol symbol(*library);
    if (!symbol) {
        problem = Tr("the barcode library is out of memory");
        return false;
    }
    QByteArray data;
    if (!Prepare(symbol, options, value, data, problem))
        return false;
    if (const int quietZone = MatrixQuietZone(options.symbology); quietZone >= 0) {
        // QR Code and DataMatrix are drawn from their modules, which is quicker than through
        // the library's vector output and gives the same rectangles.
        CModuleGrid modules;
        if (!symbol.EncodeModules(data, options.symbology == BarcodeSymbology::QrCode, modules,
                                  problem))
            return false;
        LayOutMatrix(modules, quietZone, width, height, drawing);
        return true;
    }
    if (!symbol.Encode(data, problem))
        return false;
    double scale = 0;
    double left = 0;
    double top = 0;
    const zint_vector *vector = symbol->vector;
    if (BarcodeSymbology::IsTwoDimensional(options.symbology)) {
        scale = std::min(width / vector->width, height / vector->height);
        top = (height - vector->height * scale) / 2;
    } else {
        // The bars take the height that the quiet zones, the bearers and the text leave, so the
        // symbol is encoded again with that height.
        const double others = vector->height - symbol->height;
        scale = width / vector->width;
        double bars = height / scale - others;
        if (bars < shortestBars) {
            bars = shortestBars;
            scale = height / (others + bars);
        }
        symbol->height = float(bars);
        if (!symbol.Encode(data, problem))
            return false;
        vector = symbol->vector;
    }
    left = (width - vector->width * scale) / 2;
    drawing.area = QRectF(left, top, vector->width * scale, vector->height * scale);
    drawing.origin = QPointF(left, top);
    drawing.scale = scale;
    for (const zint_vector_rect *rect = vector->rectangles; rect; rect = rect->next)
        drawing.bars.emplace_back(rect->x, rect->y, rect->width, rect->height);
    for (const zint_vector_string *text = vector->strings; text; text = text->next) {
        drawing.texts.push_back({QPointF(left + text->x * scale, top + text->y * scale),
                                 text->fsize * scale, text->halign,
                                 QString::fromUtf8(reinterpret_cast<const char *>(text->text))});
    }
    return true;
}

namespace {

struct DrawingKey
{
    int symbology = 0;
    int eccLevel = 0;
    bool showText = false;
    double width = 0;
    double height = 0;
    QString value;

    friend bool operator==(const DrawingKey &, const DrawingKey &) = default;
};

size_t qHash(const DrawingKey &key, size_t seed)
{
    return qHashMulti(seed, key.symbology, key.eccLevel, key.showText, key.width, key.height,
                      key.value);
}

// Enough for the codes of a page or two; the whole set is dropped when it is full.
constexpr qsizetype keptDrawings = 256;

} // namespace

std::shared_ptr<const CBarcodeDrawing> SharedBarcodeDrawing(const CBarcodeOptions &options,
                                                            QStringView value, double width,
                                                            double height, QString &problem)
{
    thread_local QHash<DrawingKey, std::shared_ptr<const CBarcodeDrawing>> kept;
    DrawingKey key {options.symbology, options.eccLevel, options.showText, width, height,
                    value.toString()};
    if (const auto found = kept.constFind(key); found != kept.cend())
        return *found;
    auto drawing = std::make_shared<CBarcodeDrawing>();
    if (!MakeBarcodeDrawing(options, value, width, height, *drawing, problem))
        return nullptr;
    if (kept.size() >= keptDrawings)
        kept.clear();
    kept.insert(std::move(key), drawing);
    return drawing;
}
