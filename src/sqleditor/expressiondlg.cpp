#include "expressiondlg.h"

#include "backgroundtask.h"
#include "expression.h"
#include "exprfunctions.h"
#include "exprsyntaxparser.h"
#include "syntaxricheditctrl.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>

using namespace Qt::StringLiterals;

CExpressionDlg::CExpressionDlg(QWidget *parent)
    : QDialog(parent)
    , m_edit(new CSyntaxRichEditCtrl(this))
    , m_fields(new QListWidget(this))
    , m_functions(new QListWidget(this))
    , m_help(new QLabel(this))
    , m_check(new QLabel(this))
    , m_preview(new QLabel(this))
    , m_previewTimer(new QTimer(this))
    , m_task(new CBackgroundTask(this))
{
    setWindowTitle(tr("Expression Editor"));
    m_edit->setObjectName(u"expressionEdit"_s);
    m_fields->setObjectName(u"fieldList"_s);
    m_functions->setObjectName(u"functionList"_s);
    m_check->setObjectName(u"checkLine"_s);
    m_preview->setObjectName(u"previewLine"_s);
    m_edit->SetParser(&CExprSyntaxParser::Shared());
    m_help->setWordWrap(true);
    m_check->setTextFormat(Qt::PlainText);
    m_preview->setTextFormat(Qt::PlainText);
    for (const CExprFunction &function : ExprFunctions()) {
        auto *entry = new QListWidgetItem(QString::fromLatin1(function.signature), m_functions);
        entry->setToolTip(function.Help());
        entry->setData(Qt::UserRole, function.Help());
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExpressionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExpressionDlg::reject);
    auto *goTo = new QPushButton(tr("Go to Error"), this);
    goTo->setObjectName(u"goToError"_s);
    connect(goTo, &QPushButton::clicked, this, &CExpressionDlg::GoToProblem);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_edit, 0, 0, 1, 2);
    grid->addWidget(new QLabel(tr("Fields:"), this), 1, 0);
    grid->addWidget(new QLabel(tr("Functions:"), this), 1, 1);
    grid->addWidget(m_fields, 2, 0);
    grid->addWidget(m_functions, 2, 1);
    grid->addWidget(m_help, 3, 0, 1, 2);
    auto *checkRow = new QHBoxLayout;
    checkRow->addWidget(m_check, 1);
    checkRow->addWidget(goTo);
    grid->addLayout(checkRow, 4, 0, 1, 2);
    grid->addWidget(m_preview, 5, 0, 1, 2);
    grid->addWidget(buttons, 6, 0, 1, 2);
    grid->setRowStretch(0, 2);
    grid->setRowStretch(2, 3);
    resize(640, 480);

    connect(m_fields, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { Insert(item->text()); });
    connect(m_functions, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        // The name and its opening parenthesis: the arguments are the user's to write.
        const QString signature = item->text();
        Insert(signature.left(signature.indexOf(u'(') + 1));
    });
    connect(m_functions, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        m_help->setText(item ? item->text() + u": "_s + item->data(Qt::UserRole).toString()
                             : QString());
    });
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(400);
    connect(m_previewTimer, &QTimer::timeout, this, &CExpressionDlg::StartPreview);
    connect(m_edit, &QPlainTextEdit::textChanged, this, [this] {
        Check();
        if (m_previewFunction)
            m_previewTimer->start();
    });
}

CExpressionDlg::~CExpressionDlg() = default;

void CExpressionDlg::SetExpression(const QString &text, bool condition)
{
    m_text = text;
    m_condition = condition;
    m_edit->setPlainText(text);
    Check();
}

void CExpressionDlg::SetFields(const QStringList &fields)
{
    m_fields->clear();
    m_fields->addItems(fields);
}

void CExpressionDlg::SetPreview(Preview preview)
{
    m_previewFunction = std::move(preview);
    StartPreview();
}

QString CExpressionDlg::PreviewText() const
{
    return m_preview->text();
}

void CExpressionDlg::Check()
{
    const QString text = m_edit->toPlainText();
    m_problem.clear();
    m_problemPosition = -1;
    if (!text.trimmed().isEmpty()) {
        CExpression expression;
        CExprError error;
        if (!CExpression::Parse(text, expression, error)) {
            m_problem = error.Describe();
            m_problemPosition = error.position;
        } else if (const std::vector<CExprError> types = expression.TypeProblems();
                   !types.empty()) {
            m_problem = types.front().Describe();
            m_problemPosition = types.front().position;
        } else if (m_condition && !expression.CanBeCondition()) {
            m_problem = tr("A condition must give true or false");
        }
    }
    m_check->setText(m_problem.isEmpty() ? tr("No error") : m_problem);
}

void CExpressionDlg::GoToProblem()
{
    if (m_problemPosition < 0)
        return;
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(std::min(m_problemPosition, int(m_edit->toPlainText().size())));
    m_edit->setTextCursor(cursor);
    m_edit->setFocus();
}

void CExpressionDlg::Insert(const QString &text)
{
    m_edit->insertPlainText(text);
    m_edit->setFocus();
}

void CExpressionDlg::StartPreview()
{
    if (!m_previewFunction)
        return;
    const QString text = m_edit->toPlainText();
    if (text.trimmed().isEmpty() || !m_problem.isEmpty()) {
        m_task->Cancel();
        m_preview->clear();
        return;
    }
    m_preview->setText(tr("Computing the value on the first row..."));
    m_task->StartDetached(
            [preview = m_previewFunction, text, this](const std::atomic_bool &cancel) {
                const QString value = preview(text, cancel);
                return CBackgroundTask::Delivery([this, value] { m_preview->setText(value); });
            });
}

void CExpressionDlg::accept()
{
    Check();
    if (!m_problem.isEmpty()) {
        // The caret goes where the text goes wrong; an empty text is no expression at all.
        GoToProblem();
        return;
    }
    m_text = m_edit->toPlainText();
    QDialog::accept();
}
