#include "afterfirstpaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class CAfterFirstPaint final : public QObject
{
public:
    CAfterFirstPaint(QWidget *widget, std::function<void()> work)
        : QObject(widget)
        , m_work(std::move(work))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The paint itself runs after this filter; the work follows once it is done.
            QTimer::singleShot(0, this, [this] {
                m_work();
                deleteLater();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_work;
};

} // namespace

void RunAfterFirstPaint(QWidget *widget, std::function<void()> work)
{
    new CAfterFirstPaint(widget, std::move(work));
}
