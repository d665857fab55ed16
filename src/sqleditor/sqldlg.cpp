#include "sqldlg.h"

#include "dialogunits.h"
#include "queryentries.h"
#include "sqlsyntaxparser.h"
#include "syntaxricheditctrl.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QShowEvent>
#include <QTableWidget>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {

// The layout in dialog units: a horizontal unit is a quarter of the dialog
// font's average character width, a vertical unit an eighth of its height.
constexpr QSize dialogSize(317, 184);
constexpr QRect editRect(7, 6, 303, 155);
constexpr QRect okRect(206, 163, 50, 14);
constexpr QRect cancelRect(260, 163, 50, 14);
constexpr QRect entriesRect(7, 165, 195, 10);
// With a query runner the dialog is taller: the result grid and its status line lie between
// the text and the buttons, and "Run Query" stands left of OK.
constexpr int resultHeight = 110;
constexpr QRect gridRect(7, 164, 303, 88);
constexpr QRect statusRect(7, 254, 303, 10);
constexpr QRect runRect(152, 163 + resultHeight, 50, 14);

} // namespace

CSqlDlg::CSqlDlg(QWidget *parent)
    : QDialog(parent)
    , m_edit(new CSyntaxRichEditCtrl(this))
    , m_ok(new QPushButton(tr("OK"), this))
    , m_cancel(new QPushButton(tr("Cancel"), this))
    , m_entries(new QLabel(this))
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
    m_entries->setObjectName(u"entriesLine"_s);
    m_entries->setTextFormat(Qt::PlainText);
    m_entries->setGeometry(DialogUnitsToPixels(entriesRect.x(), entriesRect.y(),
                                               entriesRect.width(), entriesRect.height()));
    connect(m_edit, &QPlainTextEdit::textChanged, this, &CSqlDlg::ShowEntries);
    CaptureLayout();
}

void CSqlDlg::SetQueryRunner(CSqlQueryRunner *runner)
{
    if (m_runner || !runner)
        return;
    m_runner = runner;
    runner->setParent(this);
    connect(runner, &CSqlQueryRunner::finished, this, &CSqlDlg::ShowResult);

    const QRect client
            = DialogUnitsToPixels(0, 0, dialogSize.width(), dialogSize.height() + resultHeight);
    resize(client.size());
    const QPoint down = DialogUnitsToPixels(0, resultHeight, 0, 0).topLeft();
    m_ok->move(m_ok->pos() + QPoint(0, down.y()));
    m_cancel->move(m_cancel->pos() + QPoint(0, down.y()));
    m_entries->move(m_entries->pos() + QPoint(0, down.y()));
    m_entries->resize(DialogUnitsToPixels(0, 0, runRect.x() - entriesRect.x() - 4, 0).width(),
                      m_entries->height());

    m_run = new QPushButton(tr("Run Query"), this);
    m_run->setObjectName(u"runQueryButton"_s);
    m_run->setToolTip(tr("Runs the query against the report's database (F5)"));
    m_run->setGeometry(
            DialogUnitsToPixels(runRect.x(), runRect.y(), runRect.width(), runRect.height()));
    m_run->setAutoDefault(false);
    connect(m_run, &QPushButton::clicked, this, [this] {
        if (m_runner->IsRunning()) {
            m_runner->Cancel();
            m_run->setText(tr("Run Query"));
            m_status->setText(tr("Stopped"));
        } else {
            RunQuery();
        }
    });
    auto *shortcut = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(shortcut, &QShortcut::activated, this, [this] {
        if (!m_runner->IsRunning())
            RunQuery();
    });

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(u"resultGrid"_s);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    m_grid->setGeometry(
            DialogUnitsToPixels(gridRect.x(), gridRect.y(), gridRect.width(), gridRect.height()));
    m_status = new QLabel(this);
    m_status->setObjectName(u"resultStatus"_s);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setGeometry(DialogUnitsToPixels(statusRect.x(), statusRect.y(), statusRect.width(),
                                              statusRect.height()));
    CaptureLayout();
}

bool CSqlDlg::RunQuery()
{
    if (!m_runner || m_runner->IsRunning())
        return false;
    if (!m_runner->Start(m_edit->toPlainText(), this))
        return false;
    m_run->setText(tr("Stop"));
    m_status->setText(tr("Running..."));
    return true;
}

void CSqlDlg::ShowResult(const CSqlQueryResult &result)
{
    m_run->setText(tr("Run Query"));
    m_grid->clear();
    if (!result.succeeded) {
        m_grid->setRowCount(0);
        m_grid->setColumnCount(0);
        m_status->setText(result.message);
        m_status->setToolTip(result.message);
        if (result.errorPosition >= 0) {
            QTextCursor cursor = m_edit->textCursor();
            cursor.setPosition(
                    std::min(result.errorPosition, m_edit->document()->characterCount() - 1));
            m_edit->setTextCursor(cursor);
            m_edit->setFocus();
        }
        return;
    }
    m_grid->setColumnCount(int(result.columns.size()));
    m_grid->setHorizontalHeaderLabels(result.columns);
    m_grid->setRowCount(int(result.rows.size()));
    for (int r = 0; r < result.rows.size(); ++r) {
        const QStringList &row = result.rows.at(r);
        for (int c = 0; c < row.size() && c < result.columns.size(); ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(row.at(c)));
    }
    const QString rows = !result.more ? tr("%n row(s) fetched", nullptr, int(result.rows.size()))
            : result.total >= 0       ? tr("The first %1 of %2 rows fetched")
                                          .arg(result.rows.size())
                                          .arg(QLocale().toString(result.total))
                                : tr("The first %n row(s) fetched; more were not counted", nullptr,
                                     int(result.rows.size()));
    m_status->setText(tr("%1 in %2 ms").arg(rows).arg(result.milliseconds));
    m_status->setToolTip(QString());
}

// The entries of the text as typed, or why the braces cannot be read.
void CSqlDlg::ShowEntries()
{
    CQueryEntries entries;
    QString problem;
    if (!ScanQueryEntries(m_edit->toPlainText(), entries, problem))
        m_entries->setText(problem);
    else if (entries.IsEmpty())
        m_entries->clear();
    else
        m_entries->setText(tr("Entries: %1").arg(entries.GetNames().join(u", "_s)));
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
    m_entries->move(m_entries->x(), height - m_entriesFromCorner.y());
    if (m_runner) {
        m_run->move(width - m_runFromCorner.x(), height - m_runFromCorner.y());
        m_grid->setGeometry(m_grid->x(), height - m_gridFromCorner.y(),
                            width - m_gridFromCorner.x() - m_grid->x(), m_grid->height());
        m_status->setGeometry(m_status->x(), height - m_statusFromCorner.y(),
                              width - m_statusFromCorner.x() - m_status->x(), m_status->height());
    }
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
    m_entriesFromCorner = QPoint(client.width() - m_entries->x(), client.height() - m_entries->y());
    if (m_runner) {
        m_runFromCorner = QPoint(client.width() - m_run->x(), client.height() - m_run->y());
        const QRect grid = m_grid->geometry();
        m_gridFromCorner
                = QPoint(client.width() - (grid.x() + grid.width()), client.height() - grid.y());
        const QRect status = m_status->geometry();
        m_statusFromCorner = QPoint(client.width() - (status.x() + status.width()),
                                    client.height() - status.y());
    }
}

void CSqlDlg::SetCompletionSchema(const CSqlSchema &schema)
{
    m_edit->SetCompletionSchema(schema);
}
