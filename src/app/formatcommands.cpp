#include "formatcommands.h"

#include "commandtable.h"
#include "layoutcommands.h"
#include "quarnview.h"
#include "vorndocument.h"

#include <QAction>
#include <QMenu>

using namespace CommandTable;

namespace {

// The command of each id, in menu order.
constexpr std::pair<int, LayoutCommands::Command> Commands[] = {
        {FormatAlignLefts, LayoutCommands::Command::AlignLefts},
        {FormatAlignCenters, LayoutCommands::Command::AlignCenters},
        {FormatAlignRights, LayoutCommands::Command::AlignRights},
        {FormatAlignTops, LayoutCommands::Command::AlignTops},
        {FormatAlignMiddles, LayoutCommands::Command::AlignMiddles},
        {FormatAlignBottoms, LayoutCommands::Command::AlignBottoms},
        {FormatSameWidth, LayoutCommands::Command::MakeSameWidth},
        {FormatSameHeight, LayoutCommands::Command::MakeSameHeight},
        {FormatSameSize, LayoutCommands::Command::MakeSameSize},
        {FormatSpaceAcross, LayoutCommands::Command::SpaceAcross},
        {FormatSpaceDown, LayoutCommands::Command::SpaceDown},
        {FormatSizeToFit, LayoutCommands::Command::SizeToFit},
        {FormatBringToFront, LayoutCommands::Command::BringToFront},
        {FormatSendToBack, LayoutCommands::Command::SendToBack},
};

} // namespace

CFormatCommands::CFormatCommands(CVornDocument *document, CQuarnView *view,
                                 const std::function<QAction *(int id)> &makeAction,
                                 QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_view(view)
{
    for (const auto &[id, command] : Commands) {
        QAction *action = makeAction(id);
        connect(action, &QAction::triggered, this, [this, id = id] { Run(id); });
        m_actions.append(action);
    }
    // The selection changes in the view, with an undo or redo and with a new report; any edit
    // may change what the commands would do.
    connect(m_view, &CQuarnView::showPropertiesRequested, this, &CFormatCommands::UpdateEnabled);
    connect(m_document, &CVornDocument::changed, this, &CFormatCommands::UpdateEnabled);
    connect(m_document, &CVornDocument::reportReset, this, &CFormatCommands::UpdateEnabled);
    m_view->SetLayoutActions(m_actions);
    UpdateEnabled();
}

QList<int> CFormatCommands::MenuLayout()
{
    return {FormatAlignLefts,
            FormatAlignCenters,
            FormatAlignRights,
            FormatAlignTops,
            FormatAlignMiddles,
            FormatAlignBottoms,
            0,
            FormatSameWidth,
            FormatSameHeight,
            FormatSameSize,
            0,
            FormatSpaceAcross,
            FormatSpaceDown,
            0,
            FormatSizeToFit,
            0,
            FormatBringToFront,
            FormatSendToBack};
}

QList<int> CFormatCommands::ToolbarLayout()
{
    return MenuLayout();
}

void CFormatCommands::FillMenu(QMenu *menu) const
{
    for (const int id : MenuLayout()) {
        if (id == 0) {
            menu->addSeparator();
            continue;
        }
        for (QAction *action : m_actions) {
            if (IdOf(action) == id)
                menu->addAction(action);
        }
    }
}

bool CFormatCommands::Run(int id)
{
    if (!m_document)
        return false;
    for (const auto &[commandId, command] : Commands) {
        if (commandId != id)
            continue;
        const LayoutCommands::TextMeasure measure
                = LayoutCommands::ScreenTextMeasure(m_view->logicalDpiX(), m_view->logicalDpiY());
        if (!LayoutCommands::Apply(*m_document, command, measure))
            return false;
        m_view->ShowSelection();
        return true;
    }
    return false;
}

void CFormatCommands::UpdateEnabled()
{
    const LayoutCommands::TextMeasure measure
            = LayoutCommands::ScreenTextMeasure(m_view->logicalDpiX(), m_view->logicalDpiY());
    for (int i = 0; i < m_actions.size(); ++i) {
        const bool can = m_document
                && LayoutCommands::CanApply(m_document->GetReport(), Commands[i].second, measure);
        m_actions.at(i)->setEnabled(can);
    }
}
