// The bare program the start-up benchmark compares the designer with: an empty main window of
// the designer's size. With --text it also shows a menu and a status-bar message, so that it
// pays for loading the fonts as every window with text does. Like the designer under
// VANTEL_FIRST_PAINT_PROBE it prints "first-paint" once its window has been painted, and ends.

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include <cstdio>

namespace {

class FirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [] {
                std::printf("first-paint\n");
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto *central = new QWidget;
    window.setCentralWidget(central);
    central->installEventFilter(new FirstPaint(central));
    if (app.arguments().contains(QStringLiteral("--text"))) {
        window.menuBar()->addMenu(QStringLiteral("&File"));
        window.statusBar()->showMessage(QStringLiteral("Ready"));
    }
    window.resize(1000, 760);
    window.show();
    return app.exec();
}
