// Where the main window opens: fitted to the screen's free area, never larger, and at the place
// and size the user left it when a screen still shows that place.
#pragma once

#include <QMargins>
#include <QRect>

namespace WindowPlacement {

// designed: the size the window was laid out for. available: the screen's area free of panels
// and docks. remembered: the window's area saved last time, empty when there is none. frame:
// what the window manager adds around the window (title bar, borders), so that the whole frame
// of a new window fits too. A remembered area (the window's own, saved from a window whose frame
// was on screen) is kept only when the available area still shows it whole; otherwise the
// designed size, bounded by the available area, is centred in it.
QRect FitToScreen(const QSize &designed, const QRect &available, const QRect &remembered,
                  const QMargins &frame = {});

} // namespace WindowPlacement
