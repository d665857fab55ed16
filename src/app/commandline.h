#pragma once

#include <QString>
#include <QStringList>

// The designer's command line:
//   vantel-designer [FILE]                  the window, with FILE or a new report
//   --check FILE            opens FILE as File Open does; prints "OK" or the message
//   --resave IN OUT         opens IN and saves it to OUT as File Save does
//   --render IN -o OUT.png  [--size WxH] [--grid 0|1]  draws IN's page as the view would
//   --help, --version
// The toolkit's own window options (-platform NAME, -style NAME, ...) are passed
// on to it. Everything else that starts with '-' is a usage error, decided
// before any window or display is touched; "--" ends the options.
//
// The batch commands print their result on standard output and a failure on
// standard error, nothing else: the toolkit's own warnings are dropped.
class CCommandLine
{
public:
    enum class Mode { Window, Check, Resave, Render, Help, Version, UsageError };

    // Parses the arguments after the program name.
    static CCommandLine Parse(const QStringList &arguments);

    Mode GetMode() const { return m_mode; }
    bool IsBatch() const { return m_mode != Mode::Window && m_mode != Mode::UsageError; }
    // The window's FILE (at most one).
    const QStringList &GetFiles() const { return m_files; }
    const QString &GetInput() const { return m_input; }
    const QString &GetOutput() const { return m_output; }
    const QString &GetSize() const { return m_size; }
    const QString &GetGrid() const { return m_grid; }
    // What is wrong, for a usage error.
    const QString &GetError() const { return m_error; }

    // The text --help prints.
    static QString HelpText();

    // Prints the usage error on standard error; the exit code 2.
    int ReportUsageError() const;

    // Runs a batch command; the process exit code (0 done, 1 failed).
    int RunBatch(int argc, char **argv) const;

private:
    Mode m_mode = Mode::Window;
    QStringList m_files;
    QString m_input;
    QString m_output;
    QString m_size;
    QString m_grid;
    QString m_error;
};
