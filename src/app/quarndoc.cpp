#include "quarndoc.h"

#include "labelsheet.h"
#include "relativepath.h"
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

void CQuarnDoc::OnNewLabelDocument(const CLabelSheet &sheet)
{
    ClearHistory();
    sheet.MakeReport(GetReport());
    SetPathName(QString());
    // Made, not just opened: leaving it asks whether to save it.
    SetModifiedFlag(true);
    NotifyReportReset();
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
    // An SQLite database chosen by its full path is stored relative to the report's folder,
    // and one relative to the folder of the report's last save follows it to a new folder. It
    // names the same file as before, so the change is no step of the history.
    CVornReport &report = GetReport();
    const QString connect = report.GetConnectString();
    const QString before = GetPathName().isEmpty() ? QString() : QFileInfo(GetPathName()).path();
    if (report.GetDatabaseType() == 0)
        report.SetConnectString(DatabasePathForFolder(
                connect, before, QFileInfo(QFileInfo(path).absoluteFilePath()).path()));
    if (!VornTemplate::Save(report, path, message)) {
        report.SetConnectString(connect);
        return false;
    }
    SetPathName(QFileInfo(path).absoluteFilePath());
    SetModifiedFlag(false);
    if (report.GetConnectString() != connect)
        NotifyChanged(CReportChange::Report);
    return true;
}
