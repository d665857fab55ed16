#include "htmlwriter.h"

#include "dataformat.h"
#include "ean13symbol.h"
#include "imageplacement.h"
#include "textlines.h"
#include "xmltext.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>

using namespace Qt::StringLiterals;

namespace {

// Report units are hundredths of a millimetre: two decimals of a millimetre say them exactly.
QByteArray Mm(double units)
{
    return QByteArray::number(units / 100.0, 'f', 2) + "mm";
}

QByteArray Color(QRgb rgb)
{
    return QColor::fromRgb(rgb).name().toLatin1();
}

QByteArray Escaped(const QString &text)
{
    return XmlText::Escaped(text).toUtf8();
}

QByteArray Place(const CPageRect &box)
{
    return "left:" + Mm(box.left) + ";top:" + Mm(box.top) + ";width:" + Mm(box.right - box.left)
            + ";height:" + Mm(box.bottom - box.top);
}

// A picture as a data address: its own bytes when a browser shows them as they are, else
// decoded and written as PNG.
QByteArray DataAddress(const CPagePicture &picture, const CPagePicture::Info &info)
{
    const QByteArray &bytes = picture.GetBytes();
    const char *type = bytes.startsWith("\x89PNG\r\n\x1a\n") ? "image/png"
            : bytes.startsWith("\xff\xd8\xff")               ? "image/jpeg"
            : bytes.startsWith("GIF8")                       ? "image/gif"
                                                             : nullptr;
    if (type)
        return "data:" + QByteArray(type) + ";base64," + bytes.toBase64();
    const QImage image
            = CPictureStore::Instance().ImageOf(picture, QRect(QPoint(), info.pixels), info.pixels);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return "data:image/png;base64," + png.toBase64();
}

// The crossed box of a picture that did not decode and of a value that is no EAN-13 symbol.
QByteArray CrossedBox(const CPageRect &box)
{
    const QByteArray w = QByteArray::number(box.right - box.left);
    const QByteArray h = QByteArray::number(box.bottom - box.top);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" style=\"" + Place(box) + "\" viewBox=\"0 0 "
            + w + " " + h + "\" preserveAspectRatio=\"none\">" + "<path d=\"M0 0H" + w + "V" + h
            + "H0ZL" + w + " " + h + "M" + w + " 0L0 " + h
            + "\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"1\" "
              "vector-effect=\"non-scaling-stroke\"/></svg>\n";
}

// A paint of an SVG path: none when fully transparent, else the colour and its opacity.
QByteArray SvgPaint(const char *name, QRgb rgb)
{
    QByteArray paint = " " + QByteArray(name) + "=\"";
    if (qAlpha(rgb) == 0)
        return paint + "none\"";
    paint += Color(rgb) + "\"";
    if (qAlpha(rgb) < 255) {
        paint += " " + QByteArray(name) + "-opacity=\""
                + QByteArray::number(qAlpha(rgb) / 255.0, 'f', 3) + "\"";
    }
    return paint;
}

} // namespace

CHtmlWriter::CHtmlWriter(const CExportOptions &options)
    : m_options(options)
{ }

bool CHtmlWriter::Begin(QSize pageSize, QString &message)
{
    if (pageSize.width() <= 0 || pageSize.height() <= 0) {
        message = QCoreApplication::translate("CHtmlWriter", "The report's page has no size.");
        return false;
    }
    m_pageSize = pageSize;
    if (!m_target.Open(m_options.path)) {
        message = m_target.GetMessage();
        return false;
    }
    const QByteArray width = Mm(pageSize.width());
    const QByteArray height = Mm(pageSize.height());
    m_out = "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
            "<meta charset=\"utf-8\"/>\n<title>"
            + Escaped(m_options.title) + "</title>\n<style>\n@page { size: " + width + " " + height
            + "; margin: 0 }\n"
            + "html { background: #808080 }\nbody { margin: 0; padding: 1px 0 }\n"
            + "div.page { position: relative; overflow: hidden; background: #fff; width: " + width
            + "; height: " + height + "; margin: 8mm auto; break-after: page }\n"
            + "div.page > * { position: absolute; box-sizing: border-box; margin: 0 }\n"
            + "div.t { overflow: hidden }\n"
            + "div.t > div { position: absolute; white-space: pre; left: 0 }\n"
            + "div.p { background-repeat: no-repeat }\n"
            + "@media print { html { background: none } body { padding: 0 } "
              "div.page { margin: 0 } }\n</style>\n</head>\n<body>\n";
    return Flush(message);
}

bool CHtmlWriter::Flush(QString &message)
{
    QIODevice *device = m_target.GetDevice();
    if (device && device->write(m_out) == m_out.size()) {
        m_out.clear();
        return true;
    }
    message = m_target.GetMessage();
    return false;
}

QByteArray CHtmlWriter::FontClass(const CPage &page, int index)
{
    const CPageFontTable &table = page.GetFonts();
    const auto key = std::pair<const void *, int>(&table, index);
    const auto found = m_fonts.find(key);
    if (found != m_fonts.end())
        return found->second;
    const QByteArray name = "f" + QByteArray::number(m_fonts.size());
    const CPageFont font
            = index >= 0 && size_t(index) < table.size() ? table[size_t(index)] : CPageFont();
    QByteArray face = font.face.toUtf8();
    face.replace('\\', "\\\\").replace('"', "\\\"").replace('<', "\\3C ");
    QByteArray decoration;
    if (font.underline)
        decoration += " underline";
    if (font.strikeout)
        decoration += " line-through";
    m_out += "<style>div." + name
            + " { font-family: " + (face.isEmpty() ? "" : "\"" + face + "\", ")
            + "sans-serif; font-size: " + QByteArray::number(font.points > 0 ? font.points : 10)
            + "pt; font-weight: " + (font.bold ? "bold" : "normal")
            + "; font-style: " + (font.italic ? "italic" : "normal")
            + "; text-decoration:" + (decoration.isEmpty() ? " none" : decoration) + " }</style>\n";
    m_fonts.emplace(key, name);
    return name;
}

bool CHtmlWriter::WritePage(const CPage &page, int number, int count, QString &message)
{
    m_out += "<div class=\"page\" id=\"page-" + QByteArray::number(number) + "\">\n";
    for (const CPageItem &item : page.GetItems()) {
        VisitPrimitive(
                item, [&](const CPageText &text) { Text(page, text, number, count); },
                [this](const CPageShape &shape) { Shape(shape); },
                [this](const CPageImage &image) { Image(image); },
                [this](const CPageBarcode &barcode) { Barcode(barcode); },
                [this](const CPagePath &path) { Path(path); });
    }
    m_out += "</div>\n";
    return Flush(message);
}

void CHtmlWriter::Text(const CPage &page, const CPageText &text, int number, int count)
{
    // Page numbers as the page's own numbering counts them.
    const QString value = PageTextValue(text, page.NumberShown(number), page.CountShown(count));
    const CPageRect &box = text.box;
    if (value.isEmpty() || box.right <= box.left || box.bottom <= box.top)
        return;
    // The lines as the painter breaks them: of a value far longer than its box, only the part
    // that can show.
    const TextLines lines = BreakPageText(text, value, m_layoutFonts.Get(page, text.font));
    // The lines as the painter places them, each at its top with a line box as high as the
    // font, so that its baseline lies where the painter puts it.
    const std::vector<QPointF> places
            = PlaceTextLines(lines, QRectF(0, 0, box.right - box.left, box.bottom - box.top),
                             text.horzAlignment, text.vertAlignment, text.wordWrap);
    const QByteArray lineHeight = Mm(lines.spacing - lines.leading);
    const QByteArray fontClass = FontClass(page, text.font);
    m_out += "<div class=\"t " + fontClass + "\" style=\"" + Place(box)
            + ";color:" + Color(text.color) + "\">";
    for (size_t i = 0; i < lines.lines.size(); ++i) {
        // Only the lines that show in the box are written.
        if (!TextLineShows(lines, places[i].y(),
                           QRectF(0, 0, box.right - box.left, box.bottom - box.top)))
            continue;
        QString line = lines.text.mid(lines.lines[i].start, lines.lines[i].length);
        if (line.endsWith(QChar(QChar::LineSeparator)))
            line.chop(1);
        m_out += "<div style=\"left:" + Mm(places[i].x()) + ";top:" + Mm(places[i].y())
                + ";line-height:" + lineHeight + "\">" + Escaped(line) + "</div>";
    }
    m_out += "</div>\n";
}

void CHtmlWriter::Shape(const CPageShape &shape)
{
    const QByteArray border = QByteArray::number(std::max(1, shape.lineWidth)) + "px "
            + (shape.dotted ? "dotted " : "solid ") + Color(shape.color);
    QByteArray style;
    switch (shape.kind) {
    case CPageShape::Kind::Rectangle:
    case CPageShape::Kind::RoundRect:
    case CPageShape::Kind::Ellipse:
        style = "border:" + border + ";background:" + Color(shape.fill);
        if (shape.kind == CPageShape::Kind::RoundRect)
            style += ";border-radius:2px";
        else if (shape.kind == CPageShape::Kind::Ellipse)
            style += ";border-radius:50%";
        break;
    case CPageShape::Kind::VerticalLine:
        style = "border-left:" + border;
        break;
    case CPageShape::Kind::HorizontalLine:
        style = "border-top:" + border;
        break;
    }
    m_out += "<div style=\"" + Place(shape.box) + ";" + style + "\"></div>\n";
}

void CHtmlWriter::Image(const CPageImage &image)
{
    const CPageRect &box = image.box;
    if (box.right <= box.left || box.bottom <= box.top)
        return;
    const CPagePicture *picture = image.picture.get();
    const CPagePicture::Info info
            = picture ? CPictureStore::Instance().InfoOf(*picture) : CPagePicture::Info();
    if (!info.valid) {
        m_out += CrossedBox(box);
        return;
    }
    // Each picture once, as a class the pages that show it refer to.
    auto found = m_pictures.find(picture->GetId());
    if (found == m_pictures.end()) {
        const QByteArray name = "p" + QByteArray::number(m_pictures.size());
        m_out += "<style>div." + name + " { background-image: url(" + DataAddress(*picture, info)
                + ") }</style>\n";
        found = m_pictures.emplace(picture->GetId(), name).first;
    }
    // Placed in hundredths of a millimetre: a resolution of 2540 dots per inch.
    const ImagePlacement placement
            = PlaceImage({box.left, box.top, box.right, box.bottom}, info.units,
                         image.horzAlignment, image.vertAlignment, 2540, 2540);
    const PixRect &target = placement.target;
    const QRectF &source = placement.source;
    if (target.IsEmpty() || source.width() <= 0 || source.height() <= 0)
        return;
    const double scaleX = target.Width() / source.width();
    const double scaleY = target.Height() / source.height();
    m_out += "<div class=\"p " + found->second + "\" style=\""
            + Place({target.left, target.top, target.right, target.bottom})
            + ";background-size:" + Mm(info.units.width() * scaleX) + " "
            + Mm(info.units.height() * scaleY) + ";background-position:" + Mm(-source.x() * scaleX)
            + " " + Mm(-source.y() * scaleY) + "\"></div>\n";
}

namespace {

// A barcode library's symbol as SVG in the units of its box, cut at the box.
QByteArray SymbolSvg(const CBarcodeDrawing &drawing, const CPageRect &box)
{
    const auto number = [](double v) {
        return QByteArray::number(v, 'f', 2);
    };
    const auto rect = [&](const QRectF &r, const char *fill) {
        return "<rect x=\"" + number(r.x()) + "\" y=\"" + number(r.y()) + "\" width=\""
                + number(r.width()) + "\" height=\"" + number(r.height()) + "\" fill=\"" + fill
                + "\"/>";
    };
    QByteArray out = "<svg xmlns=\"http://www.w3.org/2000/svg\" style=\"" + Place(box)
            + ";overflow:hidden\" viewBox=\"0 0 " + QByteArray::number(box.right - box.left) + " "
            + QByteArray::number(box.bottom - box.top) + "\">" + rect(drawing.area, "#fff");
    for (const QRectF &bar : drawing.bars)
        out += rect(drawing.InBox(bar), "#000");
    for (const CBarcodeDrawing::Text &text : drawing.texts) {
        const char *anchor = text.align == 1 ? "start" : text.align == 2 ? "end" : "middle";
        out += "<text x=\"" + number(text.at.x()) + "\" y=\"" + number(text.at.y())
                + "\" font-size=\"" + number(text.size)
                + "\" font-family=\"Arial, sans-serif\" text-anchor=\"" + anchor + "\">"
                + Escaped(text.text) + "</text>";
    }
    return out + "</svg>\n";
}

} // namespace

void CHtmlWriter::Barcode(const CPageBarcode &barcode)
{
    const CPageRect &box = barcode.box;
    if (barcode.drawing) {
        m_out += SymbolSvg(*barcode.drawing, box);
        return;
    }
    const Ean13Symbol symbol
            = LayoutEan13Symbol(barcode.value, box.left, box.top, box.right, box.bottom);
    if (symbol.kind == Ean13Symbol::Kind::CrossedBox) {
        m_out += CrossedBox(box);
        return;
    }
    if (symbol.kind != Ean13Symbol::Kind::Symbol)
        return;
    const QRect &area = symbol.box;
    const auto rect = [&](const QRect &r, const char *fill) {
        return "<rect x=\"" + QByteArray::number(r.left() - area.left()) + "\" y=\""
                + QByteArray::number(r.top() - area.top()) + "\" width=\""
                + QByteArray::number(r.width()) + "\" height=\"" + QByteArray::number(r.height())
                + "\" fill=\"" + fill + "\"/>";
    };
    m_out += "<svg xmlns=\"http://www.w3.org/2000/svg\" style=\""
            + Place({area.left(), area.top(), area.right() + 1, area.bottom() + 1})
            + "\" viewBox=\"0 0 " + QByteArray::number(area.width()) + " "
            + QByteArray::number(area.height()) + "\">" + rect(symbol.symbol, "#fff");
    for (const QRect &bar : symbol.bars)
        m_out += rect(bar, "#000");
    if (symbol.digitsHeight > 0) {
        const QRect &digits = symbol.digitsBox;
        // The character height is the font's size; the digits hang from the box's top.
        m_out += "<text x=\""
                + QByteArray::number(digits.left() - area.left() + digits.width() / 2.0, 'f', 1)
                + "\" y=\"" + QByteArray::number(digits.top() - area.top()) + "\" font-size=\""
                + QByteArray::number(symbol.digitsHeight)
                + "\" font-family=\"Arial, sans-serif\" font-weight=\"bold\" "
                  "text-anchor=\"middle\" dominant-baseline=\"text-before-edge\">"
                + Escaped(symbol.digits) + "</text>";
    }
    m_out += "</svg>\n";
}

bool CHtmlWriter::Finish(QString &message)
{
    m_out += "</body>\n</html>\n";
    if (!Flush(message))
        return false;
    if (!m_target.Commit()) {
        message = m_target.GetMessage();
        return false;
    }
    return true;
}

void CHtmlWriter::Cancel()
{
    m_target.Cancel();
}

void CHtmlWriter::Path(const CPagePath &path)
{
    const CPageRect &box = path.box;
    const bool stroked = qAlpha(path.stroke) > 0 && path.width > 0;
    const bool filled = path.closed && qAlpha(path.fill) > 0;
    if (path.points.size() < 2 || (!stroked && !filled) || box.right <= box.left
        || box.bottom <= box.top)
        return;
    // An SVG drawing over the path's box in report units, cut at the box as the painter cuts it.
    QByteArray d = "M";
    for (size_t i = 0; i < path.points.size(); ++i) {
        if (i == 1)
            d += "L";
        else if (i > 1)
            d += " ";
        d += QByteArray::number(path.points[i].x) + " " + QByteArray::number(path.points[i].y);
    }
    if (path.closed)
        d += "Z";
    const QByteArray w = QByteArray::number(box.right - box.left);
    const QByteArray h = QByteArray::number(box.bottom - box.top);
    m_out += "<svg xmlns=\"http://www.w3.org/2000/svg\" style=\"" + Place(box) + "\" viewBox=\"0 0 "
            + w + " " + h + "\"><path d=\"" + d + "\""
            + SvgPaint("fill", path.closed ? path.fill : 0)
            + SvgPaint("stroke", path.width > 0 ? path.stroke : 0) + " stroke-width=\""
            + QByteArray::number(path.width) + "\" stroke-linejoin=\"miter\"/></svg>\n";
}
