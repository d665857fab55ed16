#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class CReportEdit;
class CVornBand;
class CVornElement;
class CVornItem;
class CVornReport;

// Bands and items on the clipboard. A fragment is a whole template in the
// file's own bytes (UTF-16LE, CR LF): the copied band with its items, the band
// of one copied item with only that item, or, for several items, each band
// they come from (in report order) with only its copied items. The report's
// title says which ("Vantel band", "Vantel item" or "Vantel items") and its
// page is the source report's. A fragment is read as strictly as a template
// file, so that content another program or a broken copy put under our type
// changes nothing.
namespace ReportClipboard {

// The clipboard format of a fragment.
QString MimeType();

// What a fragment holds once read.
struct CFragment
{
    std::vector<std::unique_ptr<CVornBand>> bands;
    // The bands only carry the items, which are what was copied.
    bool isItem = false;
};

// The fragment of a band (with its items) or an item of the report.
QByteArray WriteFragment(const CVornReport &report, const CVornElement &element);
// The fragment of several items of the report, each with the fields of its band.
QByteArray WriteItemsFragment(const CVornReport &report, const std::vector<CVornItem *> &items);
// The fragment of the selection: the selected band, or the selected items; empty when nothing
// is selected.
QByteArray WriteSelection(const CVornReport &report);
// The same as text, for programs that take plain text.
QString FragmentText(const QByteArray &fragment);

// Reads a fragment; false with a message when it is not a complete, valid one.
bool ReadFragment(const QByteArray &bytes, CFragment &fragment, QString &message);

// Puts what the fragment holds into the edit's report and selects it:
// - items go into the selected band, or the band of the selected item; items
//   of several bands each go to the band of their band's name when the report
//   has one, else there too (below one another as their bands were). The items
//   that go to one band keep their places to each other: together they move
//   right and down by (dx, dy) model units when they then still fit in the
//   band, else to the band's top left, each cut to the band. A Page Break band
//   takes no items;
// - a band goes where a new band of its kind goes, and drops group
//   references to bands the report does not have.
// A name that is taken becomes a new name of the object's kind; a band's items
// keep theirs. A band that gets a new name takes it into the references of
// the fragment that named it (its own group and parent references, its items'
// data sources). Returns the first object pasted, which is the primary one of
// the selection; null with a message when nothing could be pasted.
CVornElement *Paste(CReportEdit &edit, CFragment &fragment, CVornElement *selected, int dx, int dy,
                    QString &message);

} // namespace ReportClipboard
