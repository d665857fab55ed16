#pragma once

#include "stylerule.h"

#include <QDialog>

#include <functional>

class CExpressionDlg;
class QLabel;
class QTableWidget;

// The "Styles" dialog: up to eight rules, one per line, each a condition and the colour,
// background, bold and italic it sets (an empty cell leaves the item's own). "Edit Condition..."
// opens the expression editor on the current line's condition. OK refuses a colour that is none,
// naming it; lines without a condition are left out.
class CStyleRulesDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CStyleRulesDlg(QWidget *parent = nullptr);

    void SetRules(const CStyleRules &rules);
    CStyleRules Rules() const { return m_rules; }
    // Gives the expression editor the fields and the preview the program offers.
    void SetPrepareExpression(std::function<void(CExpressionDlg &)> prepare)
    {
        m_prepare = std::move(prepare);
    }

    void accept() override;

private:
    void EditCondition();

    QTableWidget *m_table;
    QLabel *m_problem;
    CStyleRules m_rules;
    std::function<void(CExpressionDlg &)> m_prepare;
};
