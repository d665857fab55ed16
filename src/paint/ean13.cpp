#include "ean13.h"

#include "barcodefont.h"
#include "ean13layout.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>

namespace {

// The seven modules of each digit, first module in the highest bit: number set A (odd parity,
// "L"), set B (even parity, "G") and set C (right half, "R").
constexpr quint8 SetA[10] = {0b0001101, 0b0011001, 0b0010011, 0b0111101, 0b0100011,
                             0b0110001, 0b0101111, 0b0111011, 0b0110111, 0b0001011};
constexpr quint8 SetB[10] = {0b0100111, 0b0110011, 0b0011011, 0b0100001, 0b0011101,
                             0b0111001, 0b0000101, 0b0010001, 0b0001001, 0b0010111};
constexpr quint8 SetC[10] = {0b1110010, 0b1100110, 0b1101100, 0b1000010, 0b1011100,
                             0b1001110, 0b1010000, 0b1000100, 0b1001000, 0b1110100};

// The set of each left-half digit, chosen by the first digit.
constexpr const char *Parity[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                    "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};

// The digit at index i, or -1 when there is none there.
int DigitAt(QStringView value, qsizetype i)
{
    if (i >= value.size())
        return -1;
    const char16_t c = value[i].unicode();
    return c >= u'0' && c <= u'9' ? c - u'0' : -1;
}

void PutPattern(std::array<int, 84> &modules, int first, quint8 pattern)
{
    for (int bit = 0; bit < 7; ++bit)
        modules[first + bit] = (pattern >> (6 - bit)) & 1;
}

} // namespace

int Ean13CheckDigit(QStringView first12)
{
    int sum = 0;
    const qsizetype count = std::min<qsizetype>(first12.size(), 12);
    for (qsizetype i = 0; i < count; ++i) {
        const int v = first12[i].unicode() - u'0';
        sum += (i % 2 == 0) ? v : 3 * v;
    }
    // Characters below '0' count negative; the remainder is taken non-negative so that the
    // result stays a digit.
    const int r = ((sum % 10) + 10) % 10;
    return r == 0 ? 0 : 10 - r;
}

bool IsValidEan13(QStringView value)
{
    if (value.size() != 13)
        return false;
    for (qsizetype i = 0; i < 13; ++i) {
        if (DigitAt(value, i) < 0)
            return false;
    }
    return DigitAt(value, 12) == Ean13CheckDigit(value.first(12));
}

std::array<int, 84> EncodeEan13(QStringView value13)
{
    std::array<int, 84> modules {};
    const int first = DigitAt(value13, 0);
    for (int k = 0; k < 6; ++k) {
        const int digit = DigitAt(value13, k + 1);
        if (first >= 0 && digit >= 0)
            PutPattern(modules, 7 * k, Parity[first][k] == 'G' ? SetB[digit] : SetA[digit]);
    }
    for (int k = 0; k < 6; ++k) {
        const int digit = DigitAt(value13, k + 7);
        if (digit >= 0)
            PutPattern(modules, 42 + 7 * k, SetC[digit]);
    }
    return modules;
}

void DrawEan13(QPainter &painter, QStringView value, int left, int top, int right, int bottom)
{
    const QPaintDevice *device = painter.device();
    if (value.isEmpty() || !device)
        return;
    const int dpiX = device->logicalDpiX();
    const int dpiY = device->logicalDpiY();
    const Ean13Layout layout = LayoutEan13(value, left, top, right, bottom, dpiX, dpiY);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (layout.kind == Ean13Layout::Kind::CrossedBox) {
        // The thinnest line the device has.
        painter.setPen(QPen(Qt::black, 0));
        for (const QLine &line : layout.crossLines)
            painter.drawLine(line);
    } else if (layout.kind == Ean13Layout::Kind::Symbol) {
        // The digits go first: the guards that run down beside them are drawn over their
        // background.
        if (layout.digits) {
            const Ean13Layout::Box &box = layout.textUnits;
            const int height
                    = FitBarcodeFont(*device, value, box.left, box.top, box.right, box.bottom);
            painter.setFont(BarcodeFont(height, dpiY));
            painter.setPen(Qt::black);
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.setBackground(Qt::white);
            painter.drawText(layout.textPixels, Qt::AlignHCenter | Qt::AlignTop, value.toString());
        }
        for (const Ean13Layout::Module &module : layout.modules)
            painter.fillRect(module.pixels, module.bar ? Qt::black : Qt::white);
    }
    painter.restore();
}
