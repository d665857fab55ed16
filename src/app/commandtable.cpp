#include "commandtable.h"

#include <QAction>
#include <QCoreApplication>

namespace CommandTable {

namespace {

struct Entry
{
    int id;
    const char *menuText;
    const char *prompt;
};

// Texts are translated in the context "Vantel", like the rest of the shell.
const Entry entries[] = {
        {ViewCustomize, QT_TRANSLATE_NOOP("Vantel", "Customize..."), nullptr},
        {LookWindows2000, QT_TRANSLATE_NOOP("Vantel", "Windows &2000"), nullptr},
        {LookOfficeXP, QT_TRANSLATE_NOOP("Vantel", "Office &XP"), nullptr},
        {LookWindowsXP, QT_TRANSLATE_NOOP("Vantel", "&Windows XP"), nullptr},
        {LookOffice2003, QT_TRANSLATE_NOOP("Vantel", "Office 200&3"), nullptr},
        {LookVS2005, QT_TRANSLATE_NOOP("Vantel", "Visual Studio 200&5"), nullptr},
        {LookVS2008, QT_TRANSLATE_NOOP("Vantel", "Visual Studio 200&8"), nullptr},
        {LookOffice2007Blue, QT_TRANSLATE_NOOP("Vantel", "&Blue Style"), nullptr},
        {LookOffice2007Black, QT_TRANSLATE_NOOP("Vantel", "B&lack Style"), nullptr},
        {LookOffice2007Silver, QT_TRANSLATE_NOOP("Vantel", "&Silver Style"), nullptr},
        {LookOffice2007Aqua, QT_TRANSLATE_NOOP("Vantel", "&Aqua Style"), nullptr},
        {FileRun, QT_TRANSLATE_NOOP("Vantel", "&Run...\tCtrl+F5"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Runs the current report and opens it in the Preview window\nRun")},
        {FilePreview, QT_TRANSLATE_NOOP("Vantel", "Pre&view\tF5"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Shows the report as it is in the designer with its data, unsaved "
                           "changes included\nPreview")},
        {ViewAlignToGrid, QT_TRANSLATE_NOOP("Vantel", "Align To Grid"), nullptr},
        {ViewZoomIn, QT_TRANSLATE_NOOP("Vantel", "Zoom &In\tCtrl++"),
         QT_TRANSLATE_NOOP("Vantel", "Show the page larger\nZoom In")},
        {ViewZoomOut, QT_TRANSLATE_NOOP("Vantel", "Zoom &Out\tCtrl+-"),
         QT_TRANSLATE_NOOP("Vantel", "Show the page smaller\nZoom Out")},
        {ViewActualSize, QT_TRANSLATE_NOOP("Vantel", "Actual Si&ze\tCtrl+0"),
         QT_TRANSLATE_NOOP("Vantel", "Show the page at its actual size\nActual Size")},
        {ViewFitWidth, QT_TRANSLATE_NOOP("Vantel", "Fit &Width"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Show the page as wide as the window allows, up to its "
                           "actual size\nFit Width")},
        {ViewBandCaptions, QT_TRANSLATE_NOOP("Vantel", "Band &Captions"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Show or hide the name of each band on the page\nBand "
                           "Captions")},
        {FormatAlignLefts, QT_TRANSLATE_NOOP("Vantel", "Align &Lefts"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Line the left edges up with the primary item's\nAlign Lefts")},
        {FormatAlignCenters, QT_TRANSLATE_NOOP("Vantel", "Align &Centers"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Line the centres up under the primary item's\nAlign Centers")},
        {FormatAlignRights, QT_TRANSLATE_NOOP("Vantel", "Align &Rights"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Line the right edges up with the primary item's\nAlign Rights")},
        {FormatAlignTops, QT_TRANSLATE_NOOP("Vantel", "Align &Tops"),
         QT_TRANSLATE_NOOP("Vantel", "Line the top edges up with the primary item's\nAlign Tops")},
        {FormatAlignMiddles, QT_TRANSLATE_NOOP("Vantel", "Align &Middles"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Line the middles up beside the primary item's\nAlign Middles")},
        {FormatAlignBottoms, QT_TRANSLATE_NOOP("Vantel", "Align &Bottoms"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Line the bottom edges up with the primary item's\nAlign Bottoms")},
        {FormatSameWidth, QT_TRANSLATE_NOOP("Vantel", "Make Same &Width"),
         QT_TRANSLATE_NOOP("Vantel", "Give the items the primary item's width\nMake Same Width")},
        {FormatSameHeight, QT_TRANSLATE_NOOP("Vantel", "Make Same &Height"),
         QT_TRANSLATE_NOOP("Vantel", "Give the items the primary item's height\nMake Same Height")},
        {FormatSameSize, QT_TRANSLATE_NOOP("Vantel", "Make Same &Size"),
         QT_TRANSLATE_NOOP("Vantel", "Give the items the primary item's size\nMake Same Size")},
        {FormatSpaceAcross, QT_TRANSLATE_NOOP("Vantel", "Space Evenly &Across"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Make the gaps between the items equal from the leftmost to "
                           "the rightmost\nSpace Evenly Across")},
        {FormatSpaceDown, QT_TRANSLATE_NOOP("Vantel", "Space Evenly &Down"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Make the gaps between the items equal from the topmost to "
                           "the lowest\nSpace Evenly Down")},
        {FormatSizeToFit, QT_TRANSLATE_NOOP("Vantel", "Size to &Fit"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Size each text to what its text needs in its font\nSize to Fit")},
        {FormatBringToFront, QT_TRANSLATE_NOOP("Vantel", "Bring to &Front"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Draw the items over the others of their band\nBring to "
                           "Front")},
        {FormatSendToBack, QT_TRANSLATE_NOOP("Vantel", "Send to Bac&k"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Draw the items under the others of their band\nSend to Back")},
        {ViewRulers, QT_TRANSLATE_NOOP("Vantel", "&Rulers"),
         QT_TRANSLATE_NOOP("Vantel", "Show or hide the rulers along the page\nRulers")},
        {InsertPageHeader, QT_TRANSLATE_NOOP("Vantel", "Page &Header"),
         QT_TRANSLATE_NOOP("Vantel", "Add a band printed at the top of every page\nPage Header")},
        {InsertReportHeader, QT_TRANSLATE_NOOP("Vantel", "&Report Header"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Add a band printed once at the start of the report\nReport Header")},
        {InsertContents, QT_TRANSLATE_NOOP("Vantel", "&Contents"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Add a band printed once for each row of its query\nContents")},
        {InsertReportFooter, QT_TRANSLATE_NOOP("Vantel", "Report &Footer"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Add a band printed once at the end of the report\nReport Footer")},
        {InsertPageFooter, QT_TRANSLATE_NOOP("Vantel", "Page F&ooter"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Add a band printed at the bottom of every page\nPage Footer")},
        {InsertPageBreak, QT_TRANSLATE_NOOP("Vantel", "Page &Break"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Add a page break after the selected band: what follows starts a "
                           "new page\nPage Break")},
        {FileNewLabels, QT_TRANSLATE_NOOP("Vantel", "New &Label Report..."),
         QT_TRANSLATE_NOOP("Vantel",
                           "Create a report that prints its rows on a sheet of labels\nNew Label "
                           "Report")},
        {FileNew, QT_TRANSLATE_NOOP("Vantel", "&New\tCtrl+N"),
         QT_TRANSLATE_NOOP("Vantel", "Create a new document\nNew")},
        {FileOpen, QT_TRANSLATE_NOOP("Vantel", "&Open...\tCtrl+O"),
         QT_TRANSLATE_NOOP("Vantel", "Open an existing document\nOpen")},
        {FileSave, QT_TRANSLATE_NOOP("Vantel", "&Save\tCtrl+S"),
         QT_TRANSLATE_NOOP("Vantel", "Save the active document\nSave")},
        {FileSaveAs, QT_TRANSLATE_NOOP("Vantel", "Save &As..."),
         QT_TRANSLATE_NOOP("Vantel", "Save the active document with a new name\nSave As")},
        {FilePrint, QT_TRANSLATE_NOOP("Vantel", "&Print...\tCtrl+P"),
         QT_TRANSLATE_NOOP("Vantel", "Print the report\nPrint")},
        {EditCopy, QT_TRANSLATE_NOOP("Vantel", "&Copy\tCtrl+C"),
         QT_TRANSLATE_NOOP("Vantel", "Copy the selection and put it on the Clipboard\nCopy")},
        {EditCut, QT_TRANSLATE_NOOP("Vantel", "Cu&t\tCtrl+X"),
         QT_TRANSLATE_NOOP("Vantel", "Cut the selection and put it on the Clipboard\nCut")},
        {EditPaste, QT_TRANSLATE_NOOP("Vantel", "&Paste\tCtrl+V"),
         QT_TRANSLATE_NOOP("Vantel", "Insert Clipboard contents\nPaste")},
        {EditUndo, QT_TRANSLATE_NOOP("Vantel", "&Undo\tCtrl+Z"),
         QT_TRANSLATE_NOOP("Vantel", "Undo the last action\nUndo")},
        {EditRedo, QT_TRANSLATE_NOOP("Vantel", "&Redo\tCtrl+Y"),
         QT_TRANSLATE_NOOP("Vantel", "Redo the previously undone action\nRedo")},
        {EditClear, QT_TRANSLATE_NOOP("Vantel", "&Delete\tDel"),
         QT_TRANSLATE_NOOP("Vantel", "Delete the selection\nDelete")},
        {EditSelectAll, QT_TRANSLATE_NOOP("Vantel", "Select &All\tCtrl+A"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Select every item of the selection's band, or of the report\nSelect "
                           "All")},
        {EditDuplicate, QT_TRANSLATE_NOOP("Vantel", "D&uplicate\tCtrl+D"),
         QT_TRANSLATE_NOOP("Vantel",
                           "Copy the selection and paste it at once, leaving the Clipboard as it "
                           "is\nDuplicate")},
        {AppAbout, QT_TRANSLATE_NOOP("Vantel", "&About Vantel..."),
         QT_TRANSLATE_NOOP("Vantel",
                           "Display program information, version number and copyright\nAbout")},
        {AppExit, QT_TRANSLATE_NOOP("Vantel", "E&xit"),
         QT_TRANSLATE_NOOP("Vantel", "Quit the application; prompts to save documents\nExit")},
        {NextPane, QT_TRANSLATE_NOOP("Vantel", "Next Pane"),
         QT_TRANSLATE_NOOP("Vantel", "Switch to the next window pane\nNext Pane")},
        {PrevPane, QT_TRANSLATE_NOOP("Vantel", "Previous Pane"),
         QT_TRANSLATE_NOOP("Vantel", "Switch back to the previous window pane\nPrevious Pane")},
        {ViewToolbars, QT_TRANSLATE_NOOP("Vantel", "&Toolbars and Docking Windows"), nullptr},
        {ViewStatusBar, QT_TRANSLATE_NOOP("Vantel", "&Status Bar"),
         QT_TRANSLATE_NOOP("Vantel", "Show or hide the status bar\nToggle Status Bar")},
};

const Entry *Find(int id)
{
    for (const Entry &entry : entries) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

QString Translate(const char *text)
{
    return text ? QCoreApplication::translate("Vantel", text) : QString();
}

} // namespace

QString MenuText(int id)
{
    const Entry *entry = Find(id);
    return entry ? Translate(entry->menuText) : QString();
}

QString Prompt(int id)
{
    // Every recent-file entry shares one prompt, which has no tooltip part.
    if (id >= RecentFileFirst && id <= RecentFileLast)
        return QCoreApplication::translate("Vantel", "Open this document");
    const Entry *entry = Find(id);
    return entry ? Translate(entry->prompt) : QString();
}

QString StatusTip(int id)
{
    return Prompt(id).section(u'\n', 0, 0);
}

QString ToolTip(int id)
{
    return Prompt(id).section(u'\n', 1);
}

QList<QKeySequence> Shortcuts(int id)
{
    switch (id) {
    case FileNew:
        return {QKeySequence(Qt::CTRL | Qt::Key_N)};
    case FileOpen:
        return {QKeySequence(Qt::CTRL | Qt::Key_O)};
    case FileSave:
        return {QKeySequence(Qt::CTRL | Qt::Key_S)};
    case FileRun:
        return {QKeySequence(Qt::CTRL | Qt::Key_F5)};
    case FilePreview:
        return {QKeySequence(Qt::Key_F5)};
    case EditCopy:
        return {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)};
    case EditCut:
        return {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)};
    case EditPaste:
        return {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)};
    case EditUndo:
        return {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)};
    case ViewZoomIn:
        // Ctrl+= is the same key without Shift on most keyboards.
        return {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)};
    case ViewZoomOut:
        return {QKeySequence(Qt::CTRL | Qt::Key_Minus)};
    case ViewActualSize:
        return {QKeySequence(Qt::CTRL | Qt::Key_0)};
    case EditRedo:
        return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    case EditDuplicate:
        return {QKeySequence(Qt::CTRL | Qt::Key_D)};
    case EditSelectAll:
        return {QKeySequence(Qt::CTRL | Qt::Key_A)};
    case FilePrint:
        return {QKeySequence(Qt::CTRL | Qt::Key_P)};
    case NextPane:
        return {QKeySequence(Qt::Key_F6)};
    case PrevPane:
        return {QKeySequence(Qt::SHIFT | Qt::Key_F6)};
    default:
        return {};
    }
}

QString ObjectName(int id)
{
    return QStringLiteral("ID_%1").arg(id);
}

QAction *CreateAction(int id, QObject *parent)
{
    auto *action = new QAction(MenuText(id), parent);
    action->setObjectName(ObjectName(id));
    action->setData(id);
    action->setStatusTip(StatusTip(id));
    const QString tip = ToolTip(id);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    action->setShortcuts(Shortcuts(id));
    return action;
}

int IdOf(const QAction *action)
{
    return action ? action->data().toInt() : 0;
}

} // namespace CommandTable
