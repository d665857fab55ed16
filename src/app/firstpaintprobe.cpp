#include "firstpaintprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

CFirstPaintProbe::CFirstPaintProbe(QWidget *watched)
    : QObject(watched)
{
    watched->installEventFilter(this);
}

bool CFirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_seen) {
        m_seen = true;
        // The paint itself runs after this filter; the marker follows once it is done.
        QTimer::singleShot(0, this, [] {
            std::printf("%s\n", Marker());
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return QObject::eventFilter(watched, event);
}
