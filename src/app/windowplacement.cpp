#include "windowplacement.h"

namespace WindowPlacement {

QRect FirstWindowRect(const QRect &available)
{
    const int width = available.width() * 4 / 5;
    const int height = available.height() * 4 / 5;
    return {available.x() + (available.width() - width) / 2,
            available.y() + (available.height() - height) / 2, width, height};
}

} // namespace WindowPlacement
