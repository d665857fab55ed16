#include "tabledrop.h"

#include "schemareader.h"
#include "tablebands.h"
#include "vorndocument.h"

#include <QCursor>
#include <QMenu>
#include <QMessageBox>

CTableDrop::CTableDrop(CVornDocument *document, CSchemaReader *reader, QWidget *window)
    : QObject(window)
    , m_document(document)
    , m_reader(reader)
    , m_window(window)
{
    chooseKey = [this](const QStringList &keys) {
        QMenu menu(m_window);
        menu.setObjectName(QStringLiteral("joinKeyMenu"));
        menu.addSection(tr("Join by"));
        for (int i = 0; i < keys.size(); ++i)
            menu.addAction(keys[i])->setData(i);
        const QAction *chosen = menu.exec(QCursor::pos());
        return chosen ? chosen->data().toInt() : -1;
    };
    confirmQuery = [this](const QString &query) {
        QMessageBox box(QMessageBox::Question, tr("Vantel"),
                        tr("The band's query becomes:\n\n%1").arg(query),
                        QMessageBox::Ok | QMessageBox::Cancel, m_window);
        box.setTextInteractionFlags(Qt::TextSelectableByMouse);
        return box.exec() == QMessageBox::Ok;
    };
    tell = [this](const QString &message) {
        QMessageBox::information(m_window, tr("Vantel"), message);
    };
}

bool CTableDrop::Drop(int band, const CTableChoice &choice)
{
    using namespace TableBands;
    if (!m_document || !m_reader)
        return false;
    const CCatalogue &catalogue = m_reader->GetCatalogue();
    CVornReport &report = m_document->GetReport();
    const CDropPlan plan = PlanDrop(catalogue, report, band, choice);
    if (plan.kind == CDropPlan::Kind::Refused) {
        tell(plan.message);
        return false;
    }
    int key = 0;
    if (plan.keys.size() > 1) {
        QStringList texts;
        for (const CCatalogueForeignKey &each : plan.keys)
            texts.append(KeyText(each));
        key = chooseKey(texts);
        if (key < 0 || key >= plan.keys.size())
            return false;
    }
    QString query;
    QString field;
    QString message;
    if (plan.kind == CDropPlan::Kind::LookUp) {
        const QString current = report.GetBands()[band]->GetDatabaseQuery();
        if (!AddLookUp(catalogue, current, plan.path, plan.columns.value(0), query, field,
                       message)) {
            tell(message);
            return false;
        }
        if (!confirmQuery(query))
            return false;
    }
    CLayout layout;
    layout.pageWidth = report.GetPageWidth();
    CVornBand *shown
            = Apply(*m_document, catalogue, plan, band, key, query, field, layout, message);
    if (!shown) {
        if (!message.isEmpty())
            tell(message);
        return false;
    }
    m_lastBand = shown;
    return true;
}
