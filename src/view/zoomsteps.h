#pragma once

#include <QString>

// The zoom levels the View menu and Ctrl with the mouse wheel step through, from 25 % to
// 400 %, and the text the status bar shows for a zoom choice. A choice is a factor, or
// CPageGeometry::FitWidth.
namespace ZoomSteps {

// The next level above the zoom shown (rounded to whole percent first, so that a page fitted
// at 99.9 % goes to the level after 100 %); the largest level stays.
double Next(double zoom);
// The next level below it; the smallest level stays.
double Previous(double zoom);

// "150 %" for a chosen factor; "Fit Width (99 %)" for Fit Width with the zoom it gives now.
QString Text(double choice, double zoom);

} // namespace ZoomSteps
