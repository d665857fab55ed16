#pragma once

#include <QStringList>

// The four most recently opened or saved reports, newest first, kept in the
// settings group "Recent File List" as "File1" to "File4". The list is written
// back every time it changes, so that it survives a crash.
class CRecentFileList
{
public:
    static constexpr int MaxCount = 4;

    // Reads the list from the settings; empty entries are skipped.
    void Load();
    void Save() const;

    // Puts the file at the top (as an absolute path), moving it there when it
    // is listed already and dropping the oldest beyond MaxCount. False when
    // the list did not change.
    bool Add(const QString &path);
    void Remove(int index);

    int GetCount() const { return int(m_files.size()); }
    const QString &GetAt(int index) const { return m_files.at(index); }
    const QStringList &GetFiles() const { return m_files; }

    // The menu text of entry index: "&1 " and the path, the home folder shown
    // as "~", a long path shortened in the middle so that its file name stays
    // whole, and every "&" doubled so that it shows as itself.
    static QString MenuText(int index, const QString &path);

    static QString SettingsGroup();

private:
    QStringList m_files;
};
