#pragma once

#include <QPalette>
#include <QString>

// The application looks of View > Application Look. Each id names a widget
// style ("Fusion" or "Windows") and one of five colour tones; the current look
// is process-wide and applies to every window at once. The id the user picks
// is kept in the settings, "Workspace/ApplicationLook" (default 210).
namespace ApplicationLook {

enum class Tone { Light, Blue, Black, Silver, Aqua };

struct Look
{
    QString styleName;
    Tone tone;
};

constexpr int DefaultLook = 210;

// The look of an id. Ids outside the table (205 to 210, 215 to 219) give the
// Office 2007 look in its current style, blue.
Look LookFor(int id);

// True for the ids the table names.
bool IsKnownLook(int id);

// A complete palette of the tone: every colour role in every group, the
// disabled texts among them.
QPalette MakePalette(Tone tone);

// The look in use; DefaultLook before any was applied.
int Current();

// The stored choice; DefaultLook when there is none.
int ReadSetting();

// The settings key, "Workspace/ApplicationLook".
QString SettingKey();

// Makes the look current: style and palette of the whole application, then
// the id written to the settings unless store is false (the stored look
// applied at start-up). The wait cursor shows meanwhile.
void Apply(int id, bool store = true);

} // namespace ApplicationLook
