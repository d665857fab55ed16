#pragma once

#include <QObject>

#include <array>
#include <optional>

class QLabel;
class QStatusBar;

// The "CAP", "NUM" and "SCRL" panes at the right of the status bar. A pane
// shows its text while its lock key is on and stays blank otherwise.
//
// Qt does not report the lock keys, so on X11 the state is read from the X
// server's keyboard indicators (through the Xlib the platform plugin has
// loaded already). It is read again when a lock key is pressed or released
// and when the application becomes active (a key may have been pressed in
// another program meanwhile). Where it cannot be read (Wayland, the offscreen
// platform) the panes stay blank.
class CKeyIndicators : public QObject
{
    Q_OBJECT

public:
    enum Key { CapsLock, NumLock, ScrollLock, KeyCount };
    using State = std::array<bool, KeyCount>;

    // Adds the three panes to the status bar.
    explicit CKeyIndicators(QStatusBar *statusBar);

    QLabel *GetPane(Key key) const { return m_panes[size_t(key)]; }

    // Shows a state; the panes of the keys that are on show their text.
    void Show(const State &state);

    // Reads the state again and shows it.
    void Update();

    // The state of the lock keys, when the platform can tell.
    static std::optional<State> ReadState();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<QLabel *, KeyCount> m_panes {};
};
