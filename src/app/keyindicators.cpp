#include "keyindicators.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLibrary>
#include <QStatusBar>

#include <QtGui/qguiapplication_platform.h>

namespace {

QString PaneText(CKeyIndicators::Key key)
{
    switch (key) {
    case CKeyIndicators::CapsLock:
        return QCoreApplication::translate("Vantel", "CAP");
    case CKeyIndicators::NumLock:
        return QCoreApplication::translate("Vantel", "NUM");
    default:
        return QCoreApplication::translate("Vantel", "SCRL");
    }
}

#if QT_CONFIG(xcb)
// The two Xlib calls needed, looked up at run time so that the program does not
// link Xlib itself; the xcb platform plugin has loaded it already.
using InternAtomFn = unsigned long (*)(Display *, const char *, int);
using GetNamedIndicatorFn = int (*)(Display *, unsigned long, int *, int *, void *, int *);

struct Xkb
{
    InternAtomFn internAtom = nullptr;
    GetNamedIndicatorFn getNamedIndicator = nullptr;
};

const Xkb &XkbFunctions()
{
    static const Xkb functions = [] {
        Xkb found;
        QLibrary xlib(QStringLiteral("X11"), 6);
        if (xlib.load()) {
            found.internAtom = reinterpret_cast<InternAtomFn>(xlib.resolve("XInternAtom"));
            found.getNamedIndicator
                    = reinterpret_cast<GetNamedIndicatorFn>(xlib.resolve("XkbGetNamedIndicator"));
        }
        return found;
    }();
    return functions;
}
#endif

} // namespace

CKeyIndicators::CKeyIndicators(QStatusBar *statusBar)
    : QObject(statusBar)
{
    for (int key = 0; key < KeyCount; ++key) {
        auto *pane = new QLabel(statusBar);
        pane->setObjectName(QStringLiteral("indicator%1").arg(PaneText(Key(key))));
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The pane keeps its width whether its text shows or not.
        const QString text = PaneText(Key(key));
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 12);
        pane->setToolTip(text);
        statusBar->addPermanentWidget(pane);
        m_panes[size_t(key)] = pane;
    }
    qApp->installEventFilter(this);
    Update();
}

void CKeyIndicators::Show(const State &state)
{
    for (int key = 0; key < KeyCount; ++key)
        m_panes[size_t(key)]->setText(state[size_t(key)] ? PaneText(Key(key)) : QString());
}

void CKeyIndicators::Update()
{
    Show(ReadState().value_or(State {}));
}

std::optional<CKeyIndicators::State> CKeyIndicators::ReadState()
{
#if QT_CONFIG(xcb)
    const auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    const Xkb &xkb = XkbFunctions();
    if (!xkb.internAtom || !xkb.getNamedIndicator)
        return std::nullopt;
    const char *const names[KeyCount] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    State state {};
    for (int key = 0; key < KeyCount; ++key) {
        const unsigned long atom = xkb.internAtom(display, names[key], 0);
        // A keymap without this indicator reports it as off.
        int on = 0;
        if (atom && xkb.getNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
            state[size_t(key)] = on != 0;
    }
    return state;
#else
    return std::nullopt;
#endif
}

bool CKeyIndicators::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // Only the lock keys change the state, and each key event is looked at once, where it
        // reaches its window (it passes every widget on its way too).
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched->isWindowType()
            && (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock))
            Update();
        break;
    }
    case QEvent::ApplicationActivate:
        Update();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
