#pragma once

#include <QObject>

class QWidget;

// For the start-up benchmark: once the watched widget has been painted for the
// first time, prints "first-paint" on standard output and ends the event loop.
// The designer installs it when VANTEL_FIRST_PAINT_PROBE is set.
class CFirstPaintProbe : public QObject
{
    Q_OBJECT

public:
    explicit CFirstPaintProbe(QWidget *watched);

    static const char *Marker() { return "first-paint"; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_seen = false;
};
