#include "relativepath.h"

#include <QDir>
#include <QFileInfo>

QString RelativeToFolder(const QString &path, const QString &folder)
{
    const QString written = path.trimmed();
    if (written.isEmpty() || !QFileInfo(written).isAbsolute() || folder.isEmpty())
        return path;
    return QDir(folder).relativeFilePath(QDir::cleanPath(written));
}

QString DatabasePathForFolder(const QString &path, const QString &fromFolder,
                              const QString &toFolder)
{
    const QString written = path.trimmed();
    if (!written.isEmpty() && QFileInfo(written).isRelative() && !fromFolder.isEmpty()
        && QDir::cleanPath(fromFolder) != QDir::cleanPath(toFolder))
        return RelativeToFolder(QDir(fromFolder).absoluteFilePath(written), toFolder);
    return RelativeToFolder(path, toFolder);
}
