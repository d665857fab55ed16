#include "zoomsteps.h"

#include "pagegeometry.h"

#include <QCoreApplication>

#include <cmath>
#include <iterator>

namespace {

constexpr int Levels[] = {25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400};

int Percent(double zoom)
{
    return int(std::lround(zoom * 100.0));
}

} // namespace

namespace ZoomSteps {

double Next(double zoom)
{
    const int percent = Percent(zoom);
    for (const int level : Levels) {
        if (level > percent)
            return level / 100.0;
    }
    return Levels[std::size(Levels) - 1] / 100.0;
}

double Previous(double zoom)
{
    const int percent = Percent(zoom);
    for (auto it = std::rbegin(Levels); it != std::rend(Levels); ++it) {
        if (*it < percent)
            return *it / 100.0;
    }
    return Levels[0] / 100.0;
}

QString Text(double choice, double zoom)
{
    if (CPageGeometry::UsableZoomChoice(choice) == CPageGeometry::FitWidth)
        return QCoreApplication::translate("Vantel", "Fit Width (%1 %)").arg(Percent(zoom));
    return QCoreApplication::translate("Vantel", "%1 %").arg(Percent(choice));
}

} // namespace ZoomSteps
