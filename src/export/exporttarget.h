#pragma once

#include <QSaveFile>
#include <QString>

#include <memory>

// One file an export writes: written beside its target and renamed into place by Commit;
// dropped, leaving the target as it was, by Cancel or when the object goes.
class CExportTarget
{
public:
    bool Open(const QString &path);
    QIODevice *GetDevice() { return m_file.get(); }
    bool Commit();
    void Cancel();
    // Cannot write "<path>": <reason>.
    QString GetMessage() const;

private:
    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
    QString m_error;
};
