#pragma once

// The design view's choices kept between runs in the user's settings, beside the grid flag:
// "Quarn Settings"/"Zoom" (whole percent, 0 for Fit Width, the default) and
// "Quarn Settings"/"Band Captions" (off by default).
namespace ViewSettings {

// The stored zoom choice: a factor, or CPageGeometry::FitWidth.
double ReadZoom();
void WriteZoom(double choice);

bool ReadBandCaptions();
void WriteBandCaptions(bool on);

} // namespace ViewSettings
