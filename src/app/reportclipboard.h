#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class CReportEdit;
class CVornBand;
class CVornElement;
class CVornReport;

// Bands and items on the clipboard. A fragment is a whole template in the
// file's own bytes (UTF-16LE, CR LF) holding one band: the copied band with its
// items, or the band of a copied item with only that item. The report's title
// says which ("Vantel band" or "Vantel item") and its page is the source
// report's. A fragment is read as strictly as a template file, so that content
// another program or a broken copy put under our type changes nothing.
namespace ReportClipboard {

// The clipboard format of a fragment.
QString MimeType();

// What a fragment holds once read.
struct CFragment
{
    std::unique_ptr<CVornBand> band;
    // The band only carries one item, which is what was copied.
    bool isItem = false;
};

// The fragment of a band (with its items) or an item of the report.
QByteArray WriteFragment(const CVornReport &report, const CVornElement &element);
// The same as text, for programs that take plain text.
QString FragmentText(const QByteArray &fragment);

// Reads a fragment; false with a message when it is not a complete, valid one.
bool ReadFragment(const QByteArray &bytes, CFragment &fragment, QString &message);

// Puts what the fragment holds into the edit's report and selects it:
// - an item goes into the selected band, or the band of the selected item,
//   moved right and down by (dx, dy) model units when it then still fits in
//   the band, else to the band's top left, cut to the band;
// - a band goes where a new band of its kind goes, and drops group
//   references to bands the report does not have.
// A name that is taken becomes a new name of the object's kind; a band's items
// keep theirs. Null with a message when there is no band to take an item.
CVornElement *Paste(CReportEdit &edit, CFragment &fragment, CVornElement *selected, int dx, int dy,
                    QString &message);

} // namespace ReportClipboard
