// How the main window meets a real screen, free of any window system: the
// whole-number zoom at which it shows the art pixels of the back buffer on
// a display of some DPI, its outer size at that zoom, and a place for it on
// a monitor's work area when the saved corner would leave it on none.
#pragma once

// Dots per inch of a display at the 100 % scale, where one art pixel is one
// screen pixel.
constexpr int StandardDpi = 96;

struct Extent {
    int width;
    int height;
};

// Right and bottom exclusive, in screen pixels.
struct Box {
    int left;
    int top;
    int right;
    int bottom;
};

// The whole number nearest to dpi / 96, halves rounded up (96 and 120 give 1,
// 144 to 216 give 2, 240 and 288 give 3), never below 1.
int ZoomForDpi(int dpi);

// ZoomForDpi(dpi), stepped down while a window showing `client` art pixels
// at that zoom, inside a frame that adds `frame`, would not fit `workArea`;
// never below 1.
int FittingZoom(int dpi, Extent client, Extent frame, Extent workArea);

// The outer size of a window showing `client` art pixels at `zoom`.
Extent ZoomedWindowSize(int zoom, Extent client, Extent frame);

// The outer size for a display of `dpi`, with `frame` measured at that DPI:
// the size that WM_GETDPISCALEDSIZE asks for (a whole-number zoom is not
// proportional to the DPI, so the system cannot work it out itself).
Extent DpiScaledWindowSize(int dpi, Extent client, Extent frame, Extent workArea);

// `window` moved the least distance that puts it inside `workArea`; a window
// larger than the work area keeps its top-left corner on the work area's.
Box MovedInside(Box window, Box workArea);
