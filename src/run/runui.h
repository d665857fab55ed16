#pragma once

#include <QString>

class CVornParameters;

// What the Run command asks of the user. The designer answers through message
// boxes and the Report Parameters dialog (CMessageBoxRunUi); tests script the
// answers.
class CRunUi
{
public:
    virtual ~CRunUi() = default;

    // Shows one message with an OK button.
    virtual void ShowMessage(const QString &text) = 0;

    // Asks a Yes/No question; true only for Yes.
    virtual bool AskYesNo(const QString &text) = 0;

    // Lets the user edit the values of the list in place; false when the user
    // cancels, and the list is then left as it was.
    virtual bool EditParameters(CVornParameters &parameters) = 0;
};
