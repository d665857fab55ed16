#include "fontwarmup.h"

#include "backgroundtask.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>

void WarmFontsInBackground(QObject *owner)
{
    auto *task = new CBackgroundTask(owner);
    task->StartDetached([](const std::atomic_bool &) -> CBackgroundTask::Delivery {
        // The font database guards itself with a lock, and what this fills in is shared by
        // every thread: the list of fonts and the families the interface font stands for. The
        // font it opens stays with this thread; measuring on an image keeps away from screens.
        QFontDatabase::families();
        const QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
        QFontMetrics(QGuiApplication::font(), &device).height();
        return {};
    });
}
