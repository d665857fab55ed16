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
