#pragma once

#include "pagecontent.h"

#include <QDockWidget>
#include <QPointer>

#include <memory>
#include <vector>

class CLiveLayout;
class CPageModel;
class CLivePreviewView;
class CVornDocument;
class CVornElement;
class QLabel;

// The "Live Preview" pane: the report as it stands in the designer, unsaved edits included,
// laid out with its data and the parameter values stored in it, beside the design. It follows
// the document's changes (CLiveLayout lays out off the GUI thread), never asks anything and
// never writes the report or its file. The objects selected in the design are outlined on the
// pages; a click on a page asks for the band or item there to be selected (elementChosen). A
// layout that fails shows its message over the last good pages, with the band or item it
// names as a link. It fits the page width until the user zooms with Ctrl + wheel.
class CLivePreviewWnd : public QDockWidget
{
    Q_OBJECT

public:
    explicit CLivePreviewWnd(QWidget *parent = nullptr);
    ~CLivePreviewWnd() override;

    // The document whose report the pane shows; null shows nothing.
    void SetDocument(CVornDocument *document);

    // While held (a drag in the design), edits wait: the layout starts once it is let go.
    void HoldLayouts(bool held);

    // The design's selection changed: outlines it, and when the current page does not show it, goes
    // to the first page that does (laying out pages up to it if need be). An undo or redo does
    // this by itself.
    void SyncSelection();

    CLiveLayout *GetLayout() const { return m_layout; }
    CLivePreviewView *GetView() const { return m_view; }
    // "Page N of M" (or "Page N" while the count is not known).
    QString GetPageText() const;
    // The message shown over the pages; empty when none.
    QString GetFailureText() const;

    // The texts the pages shown cut at their box (places in GetLayout()->GetReport()), each
    // with the first page (from 0) that cuts it, in the order the pages show them.
    struct CutText
    {
        CPageSource source;
        int page = 0;
    };
    const std::vector<CutText> &GetCutTexts() const { return m_cutTexts; }

signals:
    // The user clicked this band or item of the report in a page, or in a failure's message.
    void elementChosen(CVornElement *element);
    // GetCutTexts changed.
    void cutTextsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnReportEdited();
    void OnPagesChanged();
    void OnStateChanged();
    void OnVisibilityChanged(bool visible);
    void Choose(const CPageSource &source);
    void UpdateRequest();
    void UpdateStatus();
    void PlaceFailure();
    // Adds the cut texts of the pages not looked at yet (of another layout: of all its pages).
    void FindCutTexts();
    void ApplyFitWidth();
    // Goes to the first page showing the selection when the current page does not; false while
    // more pages must be laid out to know.
    bool Seek();

    QPointer<CVornDocument> m_document;
    CLiveLayout *m_layout;
    CLivePreviewView *m_view;
    QLabel *m_status;
    QLabel *m_failure;
    // The band or item the failure's link selects.
    CPageSource m_failureAt;
    bool m_fitWidth = true;
    // Changes came while the pane was hidden: lay out when it is shown again.
    bool m_stale = true;
    // Laying out pages until the first page that shows the selection.
    bool m_seeking = false;
    bool m_held = false;
    std::vector<CutText> m_cutTexts;
    std::shared_ptr<const CPageModel> m_cutModel; // the pages m_cutTexts come from
    int m_cutPages = 0; // how many of them were looked at
    bool m_editedWhileHeld = false;
};
