#pragma once

#include "runui.h"

#include <QPointer>
#include <QWidget>

// The designer's answers for the Run command: message boxes titled "Vantel"
// and the Report Parameters dialog, all modal over `parent`.
class CMessageBoxRunUi final : public CRunUi
{
public:
    explicit CMessageBoxRunUi(QWidget *parent = nullptr);

    void ShowMessage(const QString &text) override;
    bool AskYesNo(const QString &text) override;
    bool EditParameters(CVornParameters &parameters) override;

private:
    QPointer<QWidget> m_parent;
};
