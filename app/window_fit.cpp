#include "app/window_fit.h"

int ZoomForDpi(int dpi)
{
    const int zoom = (dpi + StandardDpi / 2) / StandardDpi;
    return zoom < 1 ? 1 : zoom;
}

Extent ZoomedWindowSize(int zoom, Extent client, Extent frame)
{
    return {zoom * client.width + frame.width, zoom * client.height + frame.height};
}

int FittingZoom(int dpi, Extent client, Extent frame, Extent workArea)
{
    int zoom = ZoomForDpi(dpi);
    for (; zoom > 1; --zoom) {
        const Extent size = ZoomedWindowSize(zoom, client, frame);
        if (size.width <= workArea.width && size.height <= workArea.height)
            break;
    }
    return zoom;
}

Extent DpiScaledWindowSize(int dpi, Extent client, Extent frame, Extent workArea)
{
    return ZoomedWindowSize(FittingZoom(dpi, client, frame, workArea), client, frame);
}

namespace {

// The start of a span of `length` moved the least into [low, high); a span
// longer than the room starts at `low`.
int MovedStart(int start, int length, int low, int high)
{
    if (start + length > high)
        start = high - length;
    return start < low ? low : start;
}

}  // namespace

Box MovedInside(Box window, Box workArea)
{
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int left = MovedStart(window.left, width, workArea.left, workArea.right);
    const int top = MovedStart(window.top, height, workArea.top, workArea.bottom);
    return {left, top, left + width, top + height};
}
