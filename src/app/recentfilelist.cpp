#include "recentfilelist.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

// Longest path shown in the menu, in characters.
constexpr int maxShownLength = 60;

QString Key(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

QString CRecentFileList::SettingsGroup()
{
    return QStringLiteral("Recent File List");
}

void CRecentFileList::Load()
{
    m_files.clear();
    QSettings settings;
    settings.beginGroup(SettingsGroup());
    for (int i = 0; i < MaxCount; ++i) {
        const QString path = settings.value(Key(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path))
            m_files.append(path);
    }
}

void CRecentFileList::Save() const
{
    QSettings settings;
    settings.beginGroup(SettingsGroup());
    for (int i = 0; i < MaxCount; ++i) {
        if (i < m_files.size())
            settings.setValue(Key(i), m_files.at(i));
        else
            settings.remove(Key(i));
    }
}

bool CRecentFileList::Add(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!m_files.isEmpty() && m_files.constFirst() == absolute)
        return false;
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > MaxCount)
        m_files.removeLast();
    return true;
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}

QString CRecentFileList::MenuText(int index, const QString &path)
{
    QString shown = path;
    const QString home = QDir::homePath();
    if (home.size() > 1 && shown.startsWith(home + u'/'))
        shown = u'~' + shown.mid(home.size());
    if (shown.size() > maxShownLength) {
        // Keep the file name and as much of the start of the folder as fits.
        const QString name = QFileInfo(shown).fileName();
        const int keep = maxShownLength - int(name.size()) - 4;
        if (keep > 0)
            shown = shown.left(keep) + QStringLiteral("\u2026/") + name;
        else
            shown = QStringLiteral("\u2026/") + name;
    }
    shown.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(QString::number(index + 1), shown);
}
