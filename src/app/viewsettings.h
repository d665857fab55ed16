#pragma once

// The design view's choices kept between runs in the user's settings, beside the grid flag:
// "Quarn Settings"/"Zoom" (whole percent, 0 for Fit Width; 100 by default),
// "Quarn Settings"/"Band Captions" (off by default) and "Quarn Settings"/"Rulers" (on by
// default).
namespace ViewSettings {

// The stored zoom choice: a factor, or CPageGeometry::FitWidth.
double ReadZoom();
void WriteZoom(double choice);

bool ReadBandCaptions();
void WriteBandCaptions(bool on);

bool ReadRulers();
void WriteRulers(bool on);

} // namespace ViewSettings
