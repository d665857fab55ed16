#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

class CVornDocument;

// Keeps a modified report safe from crashes. At an interval the report is
// written to a recovery file in the "recovery" folder under the application's
// data location, with a note beside it that holds the report's own path; the
// document itself (its modified flag, its path) is never touched. Saving,
// opening or starting a new report removes the files, and so does the end of a
// session that closed normally.
//
// Every session has its own files, held by a lock file while the session runs,
// so that two designers running at once never take each other's files for
// those of a crash. Files whose lock is not held (the owner died) are orphans,
// offered back at the next start.
class CRecoveryManager : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultInterval = 60000;

    // A recovery file left behind by a session that did not end normally. Its
    // lock is held while the object lives, so no other starting designer takes
    // it at the same time.
    struct Orphan
    {
        QString reportPath;
        // The path the report was edited under; empty for an untitled report.
        QString originalPath;
        QDateTime savedAt;
        std::unique_ptr<QLockFile> lock;
    };

    explicit CRecoveryManager(CVornDocument *document, QObject *parent = nullptr);
    // A normal end: this session's files are removed.
    ~CRecoveryManager() override;

    // The folder of every session's files.
    static QString RecoveryFolder();

    // Starts saving at the interval, in milliseconds.
    void Start(int interval = DefaultInterval);
    int GetInterval() const { return m_timer.interval(); }
    bool IsActive() const { return m_timer.isActive(); }

    // Writes the report now when it is modified; true when written.
    bool Autosave();

    // This session's files; they exist only after an autosave.
    QString GetRecoveryFile() const;
    QString GetNoteFile() const;

    // Removes this session's files.
    void Discard();

    // The newest orphan, with its lock taken; none when there is none.
    static std::optional<Orphan> TakeOrphan();
    // Removes an orphan's files and releases it.
    static void DiscardOrphan(Orphan &orphan);

    // Stops the timer and lets this session's files stay behind, as a crash
    // would (for tests of the next start).
    void Abandon();

private:
    QString BasePath() const;

    CVornDocument *m_document;
    QTimer m_timer;
    QString m_sessionName;
    std::unique_ptr<QLockFile> m_lock;
    bool m_abandoned = false;
};
