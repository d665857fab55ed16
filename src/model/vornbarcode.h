#pragma once

#include "vornitem.h"

// A barcode of a fixed value, in one of the symbologies of BarcodeSymbology.
class CVornBarcode : public CVornItem
{
public:
    static constexpr int Kind = VornKind::Barcode;
    int GetKind() const override { return Kind; }

    const QString &GetBarcode() const { return m_barcode; }
    void SetBarcode(const QString &barcode) { m_barcode = barcode; }

    // The symbology (BarcodeSymbology; 0 EAN-13), a QR Code's error correction level (0 L,
    // 1 M, 2 Q, 3 H) and whether a linear symbol prints its human-readable line (0 or 1).
    int GetSymbology() const { return m_symbology; }
    void SetSymbology(int symbology) { m_symbology = symbology; }
    int GetEccLevel() const { return m_eccLevel; }
    void SetEccLevel(int level) { m_eccLevel = level; }
    int GetShowText() const { return m_showText; }
    void SetShowText(int show) { m_showText = show; }

    static constexpr int DefaultSymbology = 0;
    static constexpr int DefaultEccLevel = 1;
    static constexpr int DefaultShowText = 1;

protected:
    void VisitKindFields(CFieldVisitor &fields) override;
    // The value, saved in the file or not.
    void VisitValueField(CFieldVisitor &fields, CFieldVisitor::Saved valueSaved);
    // How the symbol is drawn: added to the format later, after the kind's other fields.
    void VisitSymbolFields(CFieldVisitor &fields);

private:
    QString m_barcode;
    int m_symbology = DefaultSymbology;
    int m_eccLevel = DefaultEccLevel;
    int m_showText = DefaultShowText;
};
