#include "sqldlg.h"

#include "dialogunits.h"
#include "sqlsyntaxparser.h"
#include "syntaxricheditctrl.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

// The layout in dialog units: a horizontal unit is a quarter of the dialog
// font's average character width, a vertical unit an eighth of its height.
constexpr QSize dialogSize(317, 184);
constexpr QRect editRect(7, 6, 303, 155);
constexpr QRect okRect(206, 163, 50, 14);
constexpr QRect cancelRect(260, 163, 50, 14);

} // namespace

CSqlDlg::CSqlDlg(QWidget *parent)
    : QDialog(parent)
    , m_edit(new CSyntaxRichEditCtrl(this))
    , m_ok(new QPushButton(tr("OK"), this))
    , m_cancel(new QPushButton(tr("Cancel"), this))
{
    setWindowTitle(tr("SQL Editor"));
    m_edit->setObjectName(u"sqlEdit"_s);
    m_ok->setObjectName(u"okButton"_s);
    m_cancel->setObjectName(u"cancelButton"_s);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CSqlDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CSqlDlg::reject);

    const QRect client = DialogUnitsToPixels(0, 0, dialogSize.width(), dialogSize.height());
    resize(client.size());
    m_edit->setGeometry(
            DialogUnitsToPixels(editRect.x(), editRect.y(), editRect.width(), editRect.height()));
    m_ok->setGeometry(DialogUnitsToPixels(okRect.x(), okRect.y(), okRect.width(), okRect.height()));
    m_cancel->setGeometry(DialogUnitsToPixels(cancelRect.x(), cancelRect.y(), cancelRect.width(),
                                              cancelRect.height()));
    CaptureLayout();
}

void CSqlDlg::SetSqlText(const QString &text)
{
    m_sqlText = text;
}

void CSqlDlg::accept()
{
    QString text = m_edit->toPlainText();
    if (m_sqlText.contains(u"\r\n"_s))
        text.replace(u'\n', u"\r\n"_s);
    m_sqlText = text;
    QDialog::accept();
}

// Each time the dialog opens: the text goes in uncoloured, then the parser is
// set, which colours everything in one pass, then the text area takes the
// focus.
void CSqlDlg::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        m_edit->SetParser(nullptr);
        m_edit->setPlainText(m_sqlText);
        m_edit->SetParser(&CSQLSyntaxParser::Shared());
        m_edit->setFocus();
    }
    QDialog::showEvent(event);
}

void CSqlDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int width = event->size().width();
    const int height = event->size().height();
    const QPoint editTopLeft = m_edit->pos();
    m_edit->setGeometry(editTopLeft.x(), editTopLeft.y(),
                        width - m_editMargins.width() - editTopLeft.x(),
                        height - m_editMargins.height() - editTopLeft.y());
    m_ok->move(width - m_okFromCorner.x(), height - m_okFromCorner.y());
    m_cancel->move(width - m_cancelFromCorner.x(), height - m_cancelFromCorner.y());
}

QRect CSqlDlg::DialogUnitsToPixels(int x, int y, int width, int height) const
{
    const QFontMetrics metrics(font());
    const CDialogUnits units(metrics.horizontalAdvance(CDialogUnits::SampleLetters()),
                             metrics.height());
    return units.ToPixels(x, y, width, height);
}

void CSqlDlg::CaptureLayout()
{
    const QSize client = size();
    const QRect edit = m_edit->geometry();
    m_editMargins = QSize(client.width() - (edit.x() + edit.width()),
                          client.height() - (edit.y() + edit.height()));
    m_okFromCorner = QPoint(client.width() - m_ok->x(), client.height() - m_ok->y());
    m_cancelFromCorner = QPoint(client.width() - m_cancel->x(), client.height() - m_cancel->y());
}
