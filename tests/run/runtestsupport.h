#pragma once

#include "reportrunner.h"
#include "runui.h"
#include "vornband.h"
#include "vorndbtext.h"
#include "vorndocument.h"
#include "vornparameter.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <functional>

// Shared pieces of the Run tests: reports, a scripted user, the test engine's
// script and record, and answers to real modal windows.
namespace RunTest {

inline QString EnginesFolder(const char *name)
{
    return QStringLiteral(VANTEL_TEST_ENGINES_DIR "/") + QLatin1StringView(name);
}

// A report band whose own query is `query`.
inline CVornBand *AddBand(CVornDocument &document, const QString &name, const QString &query)
{
    auto *band = new CVornBand(1, name);
    band->SetHeight(1000);
    band->SetDatabaseQuery(query);
    document.GetReport().GetBands().Add(band);
    return band;
}

inline void AddDbText(CVornBand *band, const QString &name, const QString &query)
{
    auto *item = new CVornDbText;
    item->SetName(name);
    item->SetQuery(query);
    band->GetItems().Add(item);
}

// A saved, unmodified document: the path need not exist, the test engine
// never opens it.
inline void MarkSaved(CVornDocument &document, const QString &path = QString())
{
    document.SetPathName(path.isEmpty() ? QDir::tempPath() + QStringLiteral("/run_report.vnt")
                                        : path);
    document.SetModifiedFlag(false);
}

// (band, name, value) triples, as tests write parameter lists.
inline CVornParameters Parameters(const QList<QStringList> &rows)
{
    CVornParameters parameters;
    for (const QStringList &row : rows)
        parameters.SetParameter(row.value(0), row.value(1), row.value(2));
    return parameters;
}

inline QList<QStringList> Rows(const CVornParameters &parameters)
{
    QList<QStringList> rows;
    for (const CVornParameter *parameter : parameters)
        rows.append({parameter->GetBand(), parameter->GetName(), parameter->GetValue()});
    return rows;
}

// A user whose answers the test sets beforehand, recording what was shown.
class CScriptedRunUi : public CRunUi
{
public:
    void ShowMessage(const QString &text) override { messages.append(text); }
    bool AskYesNo(const QString &text) override
    {
        questions.append(text);
        return answerYes;
    }
    bool EditParameters(CVornParameters &parameters) override
    {
        shown.append(Rows(parameters));
        return edit ? edit(parameters) : true;
    }

    bool answerYes = true;
    // Changes the list as the user would; null accepts it unchanged.
    std::function<bool(CVornParameters &)> edit;

    QStringList messages;
    QStringList questions;
    QList<QList<QStringList>> shown;
};

// The scriptable engine's commands for one run, set in the environment for
// the life of the object, and what the engine recorded.
class CEngineScript
{
public:
    explicit CEngineScript(const QStringList &lines)
        : m_path(m_dir.path() + QStringLiteral("/engine-script"))
    {
        const QString text = lines.join(u'\n');
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly)) {
            for (const QChar c : text) {
                const char16_t unit = c.unicode();
                const char pair[2] = {char(unit & 0xFF), char(unit >> 8)};
                file.write(pair, 2);
            }
        }
        qputenv("VANTEL_TEST_ENGINE_SCRIPT", QFile::encodeName(m_path));
    }
    ~CEngineScript() { qunsetenv("VANTEL_TEST_ENGINE_SCRIPT"); }
    CEngineScript(const CEngineScript &) = delete;
    CEngineScript &operator=(const CEngineScript &) = delete;

    // The engine's record lines; empty when the engine was not called.
    QStringList Record() const
    {
        QFile file(m_path + QStringLiteral(".out"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        QString text;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8))));
        return text.split(u'\n', Qt::SkipEmptyParts);
    }

    // The answer line recorded for one question, or an empty text.
    QString Answer(const QString &band, const QString &name) const
    {
        const QString prefix = QStringLiteral("answer\t%1\t%2\t").arg(band, name);
        for (const QString &line : Record()) {
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        }
        return {};
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Answers the modal windows that open while a test runs, one handler per
// window in order. A window without a handler is closed and counted, so a
// test never hangs on an unexpected box.
class CModalAnswers
{
public:
    using Handler = std::function<void(QWidget *)>;

    explicit CModalAnswers(std::deque<Handler> handlers)
        : m_handlers(std::move(handlers))
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }

    int handled = 0;
    int unexpected = 0;

private:
    void Poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == m_last)
            return;
        m_last = modal;
        if (m_handlers.empty()) {
            ++unexpected;
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
            return;
        }
        const Handler handler = std::move(m_handlers.front());
        m_handlers.pop_front();
        ++handled;
        handler(modal);
    }

    std::deque<Handler> m_handlers;
    QTimer m_timer;
    QPointer<QWidget> m_last;
};

} // namespace RunTest
