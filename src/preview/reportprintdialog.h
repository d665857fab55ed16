#pragma once

#include <QPageLayout>
#include <QPrintDialog>

// The system print dialog with the report's sheet chosen. Qt's dialog replaces the printer's
// paper by the printer's default as soon as its Properties part is made (when the user opens
// it, or when Print is pressed), so the report's sheet is put back after that: into the
// Properties part when it is first shown, so that the user sees it and may change it, or into
// the printer after Print when the user never saw the paper.
class CReportPrintDialog final : public QPrintDialog
{
    Q_OBJECT

public:
    CReportPrintDialog(QPrinter *printer, const QPageLayout &paper, QWidget *parent = nullptr);

    // Shows the dialog modally; on Print, the printer holds the paper the user saw.
    int exec() override;

protected:
    void childEvent(QChildEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Selects the report's sheet in the Properties part's page size list (or its custom size)
    // and orientation.
    void ChoosePaper(QWidget &properties);

    QPageLayout m_paper;
    bool m_paperShown = false;
};
