#include "stylerulesdlg.h"

#include "expressiondlg.h"
#include "stylerulestext.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CStyleRulesDlg::CStyleRulesDlg(QWidget *parent)
    : QDialog(parent)
    , m_table(new QTableWidget(CStyleRule::MaxRules, StyleRulesText::ColumnCount, this))
    , m_problem(new QLabel(this))
{
    setWindowTitle(tr("Styles"));
    m_table->setObjectName(u"ruleTable"_s);
    m_problem->setObjectName(u"problemLine"_s);
    m_table->setHorizontalHeaderLabels(
            {tr("When"), tr("Color"), tr("Background"), tr("Bold"), tr("Italic")});
    m_table->horizontalHeader()->setSectionResizeMode(StyleRulesText::When, QHeaderView::Stretch);
    for (int row = 0; row < CStyleRule::MaxRules; ++row) {
        for (const int column : {StyleRulesText::Bold, StyleRulesText::Italic}) {
            auto *choice = new QComboBox(m_table);
            choice->addItems(StyleRulesText::FlagChoices());
            m_table->setCellWidget(row, column, choice);
        }
    }
    auto *edit = new QPushButton(tr("Edit Condition..."), this);
    edit->setObjectName(u"editCondition"_s);
    connect(edit, &QPushButton::clicked, this, &CStyleRulesDlg::EditCondition);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CStyleRulesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CStyleRulesDlg::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
            new QLabel(tr("The first rule whose condition is true styles the item:"), this));
    layout->addWidget(m_table);
    layout->addWidget(edit, 0, Qt::AlignLeft);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    resize(720, 380);
}

void CStyleRulesDlg::SetRules(const CStyleRules &rules)
{
    m_rules = rules;
    for (int row = 0; row < CStyleRule::MaxRules; ++row) {
        const QStringList texts = size_t(row) < rules.size()
                ? StyleRulesText::Texts(rules[size_t(row)])
                : QStringList(StyleRulesText::ColumnCount, QString());
        for (int column = 0; column < StyleRulesText::ColumnCount; ++column) {
            if (auto *choice = qobject_cast<QComboBox *>(m_table->cellWidget(row, column)))
                choice->setCurrentText(texts[column]);
            else
                m_table->setItem(row, column, new QTableWidgetItem(texts[column]));
        }
    }
}

void CStyleRulesDlg::EditCondition()
{
    const int row = std::max(0, m_table->currentRow());
    QTableWidgetItem *cell = m_table->item(row, StyleRulesText::When);
    CExpressionDlg editor(this);
    editor.SetExpression(cell ? cell->text() : QString(), true);
    if (m_prepare)
        m_prepare(editor);
    if (editor.exec() == QDialog::Accepted)
        m_table->setItem(row, StyleRulesText::When, new QTableWidgetItem(editor.Expression()));
}

void CStyleRulesDlg::accept()
{
    CStyleRules rules;
    for (int row = 0; row < CStyleRule::MaxRules; ++row) {
        QStringList texts;
        for (int column = 0; column < StyleRulesText::ColumnCount; ++column) {
            if (const auto *choice = qobject_cast<QComboBox *>(m_table->cellWidget(row, column)))
                texts.append(choice->currentText());
            else
                texts.append(m_table->item(row, column) ? m_table->item(row, column)->text()
                                                        : QString());
        }
        CStyleRule rule;
        QString problem;
        if (!StyleRulesText::Parse(texts, rule, problem)) {
            m_problem->setText(problem);
            m_table->setCurrentCell(row, StyleRulesText::Color);
            return;
        }
        if (!rule.when.isEmpty())
            rules.push_back(rule);
    }
    m_rules = rules;
    QDialog::accept();
}
