// The engine library's one export. Everything else in libvantel.so is hidden (see the version
// script), so a host sees vntPreviewW and nothing of the libraries linked into it.
#include "enginecall.h"
#include "vantelengine.h"

#include <QApplication>
#include <QCoreApplication>
#include <QThread>

#include <exception>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("vntPreviewW", text);
}

// A host without an application object of its own gets one for the length of the call. It
// must not find a display missing: Qt would end the whole process.
bool CanCreateApplication(QString &message)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    message = Tr("There is no display to show the preview on (DISPLAY and WAYLAND_DISPLAY are "
                 "not set)");
    return false;
}

bool Preview(const char16_t *reportPath, VntValueCallback callback, void *context, QString &message)
{
    if (!reportPath || !*reportPath) {
        message = Tr("No report file was given to the reporting engine");
        return false;
    }
    const QString path = QString::fromUtf16(reportPath);

    QCoreApplication *existing = QCoreApplication::instance();
    if (existing && !qobject_cast<QApplication *>(existing)) {
        message = Tr("The reporting engine needs a program with a graphical user interface");
        return false;
    }
    if (existing && QThread::currentThread() != existing->thread()) {
        message = Tr("The reporting engine must be called from the program's main thread");
        return false;
    }
    if (!existing && !CanCreateApplication(message))
        return false;

    // The caller is asked for every value first, before the engine does any other work.
    EngineCall::CPreparedRun run;
    if (!EngineCall::Prepare(path, callback, context, run, message))
        return false;

    // Made for this call and gone before it returns: the library leaves no object behind.
    int argc = 1;
    char name[] = "vantel";
    char *argv[] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    if (!existing)
        application = std::make_unique<QApplication>(argc, argv);
    return EngineCall::Show(run, message);
}

} // namespace

extern "C" VNT_EXPORT int vntPreviewW(const char16_t *reportPath, VntValueCallback callback,
                                      void *context, char16_t *errorText)
{
    // Nothing thrown may cross into the host's C code.
    try {
        QString message;
        if (Preview(reportPath, callback, context, message))
            return 1;
        if (message.isEmpty())
            message = Tr("The report could not be shown");
        EngineCall::WriteErrorText(message, errorText);
    } catch (const std::exception &error) {
        try {
            EngineCall::WriteErrorText(
                    Tr("The reporting engine failed: %1").arg(QString::fromLocal8Bit(error.what())),
                    errorText);
        } catch (...) { }
    } catch (...) {
        try {
            EngineCall::WriteErrorText(Tr("The reporting engine failed unexpectedly"), errorText);
        } catch (...) { }
    }
    return 0;
}
