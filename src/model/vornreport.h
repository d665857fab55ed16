#pragma once

#include "objectarray.h"
#include "vornband.h"
#include "vornparameter.h"

#include <vector>

// The in-memory form of one report template: the printed page (sheet size in
// portrait position, orientation, title, database connection), the bands from
// top to bottom with their items, and the stored parameter values. Lengths are
// hundredths of a millimetre.
class CVornReport
{
public:
    CVornReport() = default;
    CVornReport(const CVornReport &) = delete;
    CVornReport &operator=(const CVornReport &) = delete;
    virtual ~CVornReport();

    // Defaults again, without bands or parameters. The title and the connection
    // string keep their values.
    virtual void Reset();

    // Exchanges the whole content of two reports, so that a report read into a
    // fresh object can replace the one a document holds only once it is complete.
    void Swap(CVornReport &other) noexcept;

    // All report checks; false with the first fault in message.
    bool Validate(QString &message) const;
    // Every rule of Validate that the report breaks, in Validate's order, each with the message
    // Validate gives when it is the first: each band's faults, each name that items of a band
    // share, each band too high, each bad group band reference, each shared group footer. A
    // walk goes on while found returns true; false when it stopped.
    bool VisitValidationFaults(const ValidationVisitor &found) const;

    // The first band or item with that name (letter case ignored), walking the
    // bands in order and each band's items after the band itself.
    CVornElement *FindByName(const QString &name) const;

    // Index of a band (by identity), or of the band that holds an item: the band
    // holding that very item, else the first band with an item of exactly the
    // same name; -1 when not found.
    int IndexOfBand(const CVornElement *element) const;

    // "<kind name> <n>" with the first n from 1 to 99999 that no band or item
    // uses; the empty text when all are taken.
    QString MakeUniqueName(int kind) const;

    // Whether the name is free among the object's siblings: a band against the
    // other bands, an item against the other items of its band.
    bool IsNameUnique(const CVornElement *element, const QString &name) const;

    // The selection: any number of items, or one band, carry the selected flag.
    // The primary object is the one picked last; the commands that act on one
    // object take it.
    void DeselectAll();
    // Selects the object and makes it the primary one; with add the rest of
    // the selection stays selected.
    void Select(CVornElement *element, bool add = false);
    // The primary object while it is selected, else the first selected object
    // in report order (a band before its items); null when none is selected.
    CVornElement *FindFirstSelected() const;
    // Every selected object: the primary one first, then in report order.
    std::vector<CVornElement *> GetSelection() const;
    // Selects exactly these objects, the first as the primary one; objects the
    // report does not hold are left out.
    void SetSelection(const std::vector<CVornElement *> &selection);
    // The selected items in report order.
    std::vector<CVornItem *> GetSelectedItems() const;

    // Total height of the bands of one kind; Page Break bands count 0.
    qint64 SumBandHeights(int kind) const;
    // Total height of all bands; Page Break bands count 0.
    qint64 SumAllBandHeights() const;

    // The page as drawn: width and height with landscape swapping the sheet.
    int GetPageWidth() const { return m_portrait ? m_width : m_height; }
    int GetPageHeight() const { return m_portrait ? m_height : m_width; }

    const CObjectArray<CVornBand *> &GetBands() const { return m_bands; }
    CObjectArray<CVornBand *> &GetBands() { return m_bands; }
    const CVornParameters &GetParameters() const { return m_parameters; }
    CVornParameters &GetParameters() { return m_parameters; }

    const QString &GetTitle() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    int GetWidth() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    int GetHeight() const { return m_height; }
    void SetHeight(int height) { m_height = height; }
    int GetDatabaseType() const { return m_databaseType; }
    void SetDatabaseType(int type) { m_databaseType = type; }
    int GetPortrait() const { return m_portrait; }
    void SetPortrait(int portrait) { m_portrait = portrait; }
    const QString &GetConnectString() const { return m_connectString; }
    void SetConnectString(const QString &text) { m_connectString = text; }
    // The locale whose separators and month names display formats use ("de_DE"); empty for
    // the C conventions.
    const QString &GetLocale() const { return m_locale; }
    void SetLocale(const QString &locale) { m_locale = locale; }

private:
    bool VisitItemNameFaults(const ValidationVisitor &found) const;
    bool VisitPageHeightFaults(const ValidationVisitor &found) const;
    bool VisitGroupReferenceFaults(const ValidationVisitor &found) const;
    bool VisitSharedFooterFaults(const ValidationVisitor &found) const;

    CObjectArray<CVornBand *> m_bands;
    CVornParameters m_parameters;
    QString m_title;
    int m_width = 21000;
    int m_height = 29700;
    int m_databaseType = -1;
    int m_portrait = 1;
    QString m_connectString;
    QString m_locale;
    // Compared, never followed: the object may have left the report.
    const CVornElement *m_primary = nullptr;
};
