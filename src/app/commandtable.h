#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

class QAction;
class QObject;

// The designer's commands: their fixed ids, menu texts, shortcuts and the
// string-table prompts ("status-bar text\ntooltip"). Every action the main
// frame makes comes from here, carries its id as QAction::data and is named
// "ID_<id>", so that code and tests can find a command by its id.
namespace CommandTable {

enum Id : int {
    ViewCustomize = 126,
    LookWindows2000 = 205,
    LookOfficeXP = 206,
    LookWindowsXP = 207,
    LookOffice2003 = 208,
    LookVS2005 = 209,
    LookVS2008 = 210,
    LookOffice2007Blue = 215,
    LookOffice2007Black = 216,
    LookOffice2007Silver = 217,
    LookOffice2007Aqua = 218,
    LookWindows7 = 219,
    FileRun = 32771,
    FilePreview = 32772,
    ViewAlignToGrid = 32778,
    ViewZoomIn = 32800,
    ViewZoomOut = 32801,
    ViewActualSize = 32802,
    ViewFitWidth = 32803,
    ViewBandCaptions = 32804,
    EditDuplicate = 32810,
    FormatAlignLefts = 32820,
    FormatAlignCenters = 32821,
    FormatAlignRights = 32822,
    FormatAlignTops = 32823,
    FormatAlignMiddles = 32824,
    FormatAlignBottoms = 32825,
    FormatSameWidth = 32826,
    FormatSameHeight = 32827,
    FormatSameSize = 32828,
    FormatSpaceAcross = 32829,
    FormatSpaceDown = 32830,
    FormatSizeToFit = 32831,
    FormatBringToFront = 32832,
    FormatSendToBack = 32833,
    ViewRulers = 32834,
    InsertPageHeader = 32850,
    InsertReportHeader = 32851,
    InsertContents = 32852,
    InsertReportFooter = 32853,
    InsertPageFooter = 32854,
    InsertPageBreak = 32855,
    FileNewLabels = 32856,
    FileNew = 57600,
    FileOpen = 57601,
    FileSave = 57603,
    FileSaveAs = 57604,
    FilePrint = 57607,
    RecentFileFirst = 57616,
    RecentFileLast = 57631,
    EditClear = 57632,
    EditCopy = 57634,
    EditCut = 57635,
    EditSelectAll = 57642,
    EditPaste = 57637,
    EditUndo = 57643,
    EditRedo = 57644,
    AppAbout = 57664,
    AppExit = 57665,
    NextPane = 57680,
    PrevPane = 57681,
    ViewToolbars = 59392,
    ViewStatusBar = 59393,
};

// The menu text, "&" marking the mnemonic and "\t" leading the shortcut shown;
// empty for an id the table does not know.
QString MenuText(int id);

// The string-table entry: the status-bar prompt, then "\n" and the tooltip.
// Empty when the command has none.
QString Prompt(int id);
// The part of the prompt before "\n", and the part after it.
QString StatusTip(int id);
QString ToolTip(int id);

// The keys that run the command, the first one shown in the menu.
QList<QKeySequence> Shortcuts(int id);

// "ID_<id>": the object name of the command's action.
QString ObjectName(int id);

// A new action for the command with all of the above, owned by parent.
QAction *CreateAction(int id, QObject *parent);

// The id an action was made for; 0 for an action not made here.
int IdOf(const QAction *action);

} // namespace CommandTable
