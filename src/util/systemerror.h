#pragma once

#include <QString>

// The system's own sentence for an errno value ("No such file or directory"),
// as the messages of failed file operations show it. Empty when the system
// knows no text for the value. Safe to call from any thread.
QString SystemErrorText(int errnoValue);
