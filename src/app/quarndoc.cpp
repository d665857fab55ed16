#include "quarndoc.h"

#include "reportfile.h"

#include <QFileInfo>
#include <QSettings>

QString CQuarnDoc::GridSettingKey()
{
    return QStringLiteral("Quarn Settings/Draw Grid");
}

CQuarnDoc::CQuarnDoc(QObject *parent)
    : CVornDocument(parent)
{
    QSettings settings;
    SetGridOn(settings.value(GridSettingKey(), 1).toInt() != 0);
}

CQuarnDoc::~CQuarnDoc()
{
    QSettings settings;
    settings.setValue(GridSettingKey(), IsGridOn() ? 1 : 0);
}

bool CQuarnDoc::OnNewDocument()
{
    ClearHistory();
    GetReport().Reset();
    SetPathName(QString());
    SetModifiedFlag(false);
    NotifyReportReset();
    return true;
}

bool CQuarnDoc::OnOpenDocument(const QString &path, QString &message)
{
    CVornReport fresh;
    message.clear();
    if (!VornTemplate::Load(fresh, path, message)) {
        // Reading ends with the validation: when that alone failed, the report was read in
        // full and fails it with the very message Load gave.
        QString check;
        if (fresh.Validate(check) || check != message)
            return false;
    }
    ClearHistory();
    GetReport().Swap(fresh);
    SetPathName(QFileInfo(path).absoluteFilePath());
    SetModifiedFlag(false);
    // Views drop their pointers into the old report before it is destroyed
    // with `fresh` at the end of this scope.
    NotifyReportReset();
    return true;
}

bool CQuarnDoc::OnSaveDocument(const QString &path, QString &message)
{
    if (!VornTemplate::Save(GetReport(), path, message))
        return false;
    SetPathName(QFileInfo(path).absoluteFilePath());
    SetModifiedFlag(false);
    return true;
}
