#include "pdffontcut.h"

#include "pdfobjects.h"

#include <QtEndian>

namespace {

quint16 Read16(const QByteArray &bytes, qsizetype at)
{
    return qFromBigEndian<quint16>(bytes.constData() + at);
}

quint32 Read32(const QByteArray &bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

void Put16(QByteArray &bytes, qsizetype at, quint16 value)
{
    qToBigEndian(value, bytes.data() + at);
}

void Put32(QByteArray &bytes, qsizetype at, quint32 value)
{
    qToBigEndian(value, bytes.data() + at);
}

void Append16(QByteArray &bytes, quint16 value)
{
    char big[2];
    qToBigEndian(value, big);
    bytes.append(big, 2);
}

void Append32(QByteArray &bytes, quint32 value)
{
    char big[4];
    qToBigEndian(value, big);
    bytes.append(big, 4);
}

// The sum of the big-endian words of a table, zero-padded to a word.
quint32 Checksum(const QByteArray &table)
{
    QByteArray padded = table;
    padded.append((4 - padded.size() % 4) % 4, '\0');
    quint32 sum = 0;
    for (qsizetype at = 0; at < padded.size(); at += 4)
        sum += Read32(padded, at);
    return sum;
}

int HexValue(const QByteArray &hex)
{
    bool ok = false;
    const int value = hex.mid(1, hex.size() - 2).toInt(&ok, 16);
    return ok ? value : -1;
}

QByteArray Hex4(int value)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(4, '0');
}

// The font-wide figures that depend on which glyphs it holds, from those glyphs: the box round
// them all (head), the widest advance and the extremes of the side bearings (hhea), the most
// points and contours of a glyph (maxp). They then do not depend on what the font held before.
void SetBounds(const QByteArray &glyf, const QByteArray &loca, const QByteArray &hmtx,
               QByteArray &head, QByteArray &hhea, QByteArray &maxp)
{
    const int count = int(loca.size() / 4) - 1;
    bool any = false;
    qint16 xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    qint16 minLeft = 0, minRight = 0, maxExtent = 0;
    quint16 maxAdvance = 0, maxPoints = 0, maxContours = 0;
    for (int glyph = 0; glyph < count; ++glyph) {
        const quint16 advance = Read16(hmtx, 4 * glyph);
        const qint16 lsb = qint16(Read16(hmtx, 4 * glyph + 2));
        maxAdvance = std::max(maxAdvance, advance);
        const qsizetype start = Read32(loca, 4 * glyph);
        if (Read32(loca, 4 * glyph + 4) - start < 10)
            continue;
        const qint16 contours = qint16(Read16(glyf, start));
        const qint16 box[4] = {qint16(Read16(glyf, start + 2)), qint16(Read16(glyf, start + 4)),
                               qint16(Read16(glyf, start + 6)), qint16(Read16(glyf, start + 8))};
        const qint16 right = qint16(advance - (lsb + box[2] - box[0]));
        const qint16 extent = qint16(lsb + box[2] - box[0]);
        if (!any) {
            xMin = box[0], yMin = box[1], xMax = box[2], yMax = box[3];
            minLeft = lsb, minRight = right, maxExtent = extent;
            any = true;
        }
        xMin = std::min(xMin, box[0]), yMin = std::min(yMin, box[1]);
        xMax = std::max(xMax, box[2]), yMax = std::max(yMax, box[3]);
        minLeft = std::min(minLeft, lsb), minRight = std::min(minRight, right);
        maxExtent = std::max(maxExtent, extent);
        if (contours > 0 && Read32(loca, 4 * glyph + 4) - start >= 10 + 2 * contours) {
            maxContours = std::max(maxContours, quint16(contours));
            maxPoints = std::max(maxPoints,
                                 quint16(Read16(glyf, start + 10 + 2 * (contours - 1)) + 1));
        }
    }
    Put16(head, 36, quint16(xMin));
    Put16(head, 38, quint16(yMin));
    Put16(head, 40, quint16(xMax));
    Put16(head, 42, quint16(yMax));
    Put16(hhea, 10, maxAdvance);
    Put16(hhea, 12, quint16(minLeft));
    Put16(hhea, 14, quint16(minRight));
    Put16(hhea, 16, quint16(maxExtent));
    if (maxp.size() >= 10) {
        Put16(maxp, 6, maxPoints);
        Put16(maxp, 8, maxContours);
    }
}

} // namespace

bool PdfFontCut::CutTrueType(const QByteArray &font, const std::vector<int> &glyphs,
                             QByteArray &out)
{
    if (font.size() < 12)
        return false;
    const int numTables = Read16(font, 4);
    if (font.size() < 12 + 16 * qsizetype(numTables))
        return false;
    std::vector<std::pair<quint32, QByteArray>> tables;
    for (int i = 0; i < numTables; ++i) {
        const qsizetype record = 12 + 16 * i;
        const quint32 offset = Read32(font, record + 8);
        const quint32 length = Read32(font, record + 12);
        if (qsizetype(offset) + qsizetype(length) > font.size())
            return false;
        tables.emplace_back(Read32(font, record), font.mid(offset, length));
    }
    const auto table = [&tables](const char *tag) -> QByteArray * {
        for (auto &entry : tables) {
            if (entry.first == qFromBigEndian<quint32>(tag))
                return &entry.second;
        }
        return nullptr;
    };
    QByteArray *head = table("head");
    QByteArray *hhea = table("hhea");
    QByteArray *maxp = table("maxp");
    QByteArray *loca = table("loca");
    QByteArray *glyf = table("glyf");
    QByteArray *hmtx = table("hmtx");
    if (!head || !hhea || !maxp || !loca || !glyf || !hmtx || head->size() < 54 || hhea->size() < 36
        || maxp->size() < 6)
        return false;
    const int oldCount = Read16(*maxp, 4);
    const bool longLoca = Read16(*head, 50) == 1;
    const int metrics = Read16(*hhea, 34);
    if (loca->size() < (oldCount + 1) * (longLoca ? 4 : 2) || metrics < 1 || metrics > oldCount
        || hmtx->size() < 4 * metrics + 2 * (oldCount - metrics))
        return false;
    const auto glyphAt = [&](int glyph) {
        return longLoca ? qsizetype(Read32(*loca, 4 * glyph))
                        : qsizetype(Read16(*loca, 2 * glyph)) * 2;
    };

    QByteArray newGlyf;
    QByteArray newLoca;
    QByteArray newHmtx;
    for (const int glyph : glyphs) {
        if (glyph < 0 || glyph >= oldCount)
            return false;
        const qsizetype start = glyphAt(glyph);
        const qsizetype end = glyphAt(glyph + 1);
        if (start > end || end > glyf->size())
            return false;
        const QByteArray data = glyf->mid(start, end - start);
        if (data.size() >= 2 && qint16(Read16(data, 0)) < 0)
            return false; // a compound glyph names others by their old numbers
        Append32(newLoca, quint32(newGlyf.size()));
        newGlyf += data;
        newGlyf.append((4 - newGlyf.size() % 4) % 4, '\0');
        const int metric = std::min(glyph, metrics - 1);
        Append16(newHmtx, Read16(*hmtx, 4 * metric));
        Append16(newHmtx,
                 glyph < metrics ? Read16(*hmtx, 4 * glyph + 2)
                                 : Read16(*hmtx, 4 * metrics + 2 * (glyph - metrics)));
    }
    Append32(newLoca, quint32(newGlyf.size()));
    SetBounds(newGlyf, newLoca, newHmtx, *head, *hhea, *maxp);
    *glyf = newGlyf;
    *loca = newLoca;
    *hmtx = newHmtx;
    Put16(*head, 50, 1);
    Put32(*head, 8, 0);
    Put16(*hhea, 34, quint16(glyphs.size()));
    Put16(*maxp, 4, quint16(glyphs.size()));

    // The table directory, then the tables each on a word boundary.
    int power = 1;
    int selector = 0;
    while (power * 2 <= numTables) {
        power *= 2;
        ++selector;
    }
    out.clear();
    Append32(out, Read32(font, 0));
    Append16(out, quint16(numTables));
    Append16(out, quint16(power * 16));
    Append16(out, quint16(selector));
    Append16(out, quint16(numTables * 16 - power * 16));
    qsizetype offset = 12 + 16 * numTables;
    for (const auto &[tag, data] : tables) {
        Append32(out, tag);
        Append32(out, Checksum(data));
        Append32(out, quint32(offset));
        Append32(out, quint32(data.size()));
        offset += (data.size() + 3) / 4 * 4;
    }
    qsizetype headAt = -1;
    for (const auto &[tag, data] : tables) {
        if (tag == qFromBigEndian<quint32>("head"))
            headAt = out.size();
        out += data;
        out.append((4 - out.size() % 4) % 4, '\0');
    }
    Put32(out, headAt + 8, 0xB1B0AFBAu - Checksum(out));
    return true;
}

std::map<int, QByteArray> PdfFontCut::ReadToUnicode(const QByteArray &cmap)
{
    // Entries "<from> <to> <text>", "<from> <to> [<text> ...]" (bfrange) and "<code> <text>"
    // (bfchar), read as a list of values.
    std::map<int, QByteArray> map;
    const auto readSection = [&](const char *begin, const char *end, bool ranges) {
        for (qsizetype at = cmap.indexOf(begin); at >= 0; at = cmap.indexOf(begin, at)) {
            at += qsizetype(qstrlen(begin));
            const qsizetype stop = cmap.indexOf(end, at);
            if (stop < 0)
                return;
            std::vector<CPdfValue> values;
            const QByteArray section = cmap.mid(at, stop - at);
            qsizetype pos = 0;
            CPdfValue value;
            while (ParsePdfValue(section, pos, value))
                values.push_back(value);
            const size_t step = ranges ? 3 : 2;
            for (size_t i = 0; i + step <= values.size(); i += step) {
                const int from = HexValue(values[i].text);
                const int to = ranges ? HexValue(values[i + 1].text) : from;
                const CPdfValue &text = values[i + step - 1];
                for (int code = from; code >= 0 && code <= to && code - from < 65536; ++code) {
                    if (text.kind == CPdfValue::EKind::Array) {
                        if (size_t(code - from) < text.items.size())
                            map[code] = text.items[code - from].text.mid(1).chopped(1);
                    } else {
                        // A range with one text counts up in its last code unit.
                        QByteArray hex = text.text.mid(1).chopped(1);
                        if (hex.size() >= 4) {
                            const int last = hex.right(4).toInt(nullptr, 16) + code - from;
                            hex = hex.chopped(4) + Hex4(last & 0xffff);
                        }
                        map[code] = hex;
                    }
                }
            }
            at = stop;
        }
    };
    readSection("beginbfrange", "endbfrange", true);
    readSection("beginbfchar", "endbfchar", false);
    return map;
}

QByteArray PdfFontCut::WriteToUnicode(const std::map<int, QByteArray> &map,
                                      const std::vector<int> &glyphs)
{
    QByteArray entries;
    int count = 0;
    QByteArray out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    const auto flush = [&]() {
        if (count > 0)
            out += QByteArray::number(count) + " beginbfchar\n" + entries + "endbfchar\n";
        entries.clear();
        count = 0;
    };
    for (size_t i = 1; i < glyphs.size(); ++i) {
        const auto found = map.find(glyphs[i]);
        if (found == map.end() || found->second.isEmpty())
            continue;
        entries += '<' + Hex4(int(i)) + "> <" + found->second + ">\n";
        if (++count == 100)
            flush();
    }
    flush();
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return out;
}

std::map<int, QByteArray> PdfFontCut::ReadWidths(const CPdfValue &array)
{
    // "first [w w ...]" and "first last w", one after the other.
    std::map<int, QByteArray> widths;
    const std::vector<CPdfValue> &items = array.items;
    for (size_t i = 0; i + 1 < items.size();) {
        const int first = items[i].text.toInt();
        if (items[i + 1].kind == CPdfValue::EKind::Array) {
            for (size_t k = 0; k < items[i + 1].items.size(); ++k)
                widths[first + int(k)] = items[i + 1].items[k].text;
            i += 2;
        } else if (i + 2 < items.size()) {
            const int last = items[i + 1].text.toInt();
            for (int glyph = first; glyph <= last && glyph - first < 65536; ++glyph)
                widths[glyph] = items[i + 2].text;
            i += 3;
        } else {
            break;
        }
    }
    return widths;
}

CPdfValue PdfFontCut::WriteWidths(const std::map<int, QByteArray> &widths,
                                  const std::vector<int> &glyphs, const QByteArray &fallback)
{
    CPdfValue list;
    list.kind = CPdfValue::EKind::Array;
    for (const int glyph : glyphs) {
        const auto found = widths.find(glyph);
        list.items.push_back(
                CPdfValue::MakeToken(found != widths.end() ? found->second : fallback));
    }
    CPdfValue array;
    array.kind = CPdfValue::EKind::Array;
    array.items = {CPdfValue::MakeToken("0"), list};
    return array;
}

QByteArray PdfFontCut::CidSet(int count)
{
    QByteArray bits((count + 7) / 8, '\0');
    for (int i = 0; i < count; ++i)
        bits[i / 8] = char(bits[i / 8] | (0x80 >> (i % 8)));
    return bits;
}
