#include "viewsettings.h"

#include "pagegeometry.h"

#include <QSettings>

#include <cmath>

namespace {

QString ZoomKey()
{
    return QStringLiteral("Quarn Settings/Zoom");
}

QString CaptionsKey()
{
    return QStringLiteral("Quarn Settings/Band Captions");
}

QString RulersKey()
{
    return QStringLiteral("Quarn Settings/Rulers");
}

} // namespace

namespace ViewSettings {

double ReadZoom()
{
    bool ok = false;
    // A new user sees the page at full size.
    const int percent = QSettings().value(ZoomKey(), 100).toInt(&ok);
    // A value that is no number, or zero and below, means Fit Width; others are kept in range.
    return CPageGeometry::UsableZoomChoice(ok ? percent / 100.0 : CPageGeometry::FitWidth);
}

void WriteZoom(double choice)
{
    const double usable = CPageGeometry::UsableZoomChoice(choice);
    QSettings().setValue(ZoomKey(), int(std::lround(usable * 100.0)));
}

bool ReadBandCaptions()
{
    return QSettings().value(CaptionsKey(), false).toBool();
}

void WriteBandCaptions(bool on)
{
    QSettings().setValue(CaptionsKey(), on);
}

bool ReadRulers()
{
    return QSettings().value(RulersKey(), true).toBool();
}

void WriteRulers(bool on)
{
    QSettings().setValue(RulersKey(), on);
}

} // namespace ViewSettings
