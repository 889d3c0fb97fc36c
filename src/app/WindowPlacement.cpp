#include "app/WindowPlacement.h"

namespace WindowPlacement {

QRect FitToScreen(const QSize &designed, const QRect &available, const QRect &remembered, const QMargins &frame)
{
    if (remembered.isValid() && !remembered.isEmpty() && available.contains(remembered))
        return remembered;
    const QRect inside = available.marginsRemoved(frame);
    const QSize size = designed.boundedTo(inside.size()).expandedTo(QSize(1, 1));
    const QPoint topLeft(inside.x() + (inside.width() - size.width()) / 2,
                         inside.y() + (inside.height() - size.height()) / 2);
    return QRect(topLeft, size);
}

} // namespace WindowPlacement
