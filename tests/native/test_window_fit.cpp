// The window on a real screen: the whole-number zoom for a display's DPI,
// stepped down for a work area too small, the size asked for when the window
// moves to another DPI, and the move onto a work area.
#include <gtest/gtest.h>

#include "app/window_fit.h"
#include "core/board.h"
#include "core/geometry.h"

namespace {

constexpr Extent Smallest = {ClientWidth(10), ClientHeight(5)};                 // 160 x 96
constexpr Extent Largest = {ClientWidth(MaxColumns), ClientHeight(MaxRows)};    // 576 x 400
constexpr Extent Frame = {6, 60};
constexpr Extent Roomy = {7680, 4320};

}  // namespace

TEST(WindowFit, ZoomIsTheNearestWholeNumberHalvesUp)
{
    const struct {
        int dpi, zoom;
    } cases[] = {
        {96, 1},  {120, 1}, {143, 1}, {144, 2}, {168, 2}, {192, 2}, {216, 2},
        {239, 2}, {240, 3}, {288, 3}, {336, 4}, {384, 4}, {72, 1},  {48, 1},
        {47, 1},  {0, 1},   {-96, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZoomForDpi(c.dpi), c.zoom) << c.dpi << " DPI";
        EXPECT_EQ(FittingZoom(c.dpi, Largest, Frame, Roomy), c.zoom) << c.dpi << " DPI with room";
    }
}

TEST(WindowFit, ZoomStepsDownUntilTheWindowFitsItsWorkArea)
{
    const struct {
        int dpi;
        Extent client, workArea;
        int zoom;
    } cases[] = {
        // 36 x 24 on a 1366 x 728 work area at 200 %: x2 is 1158 x 860, too high.
        {192, Largest, {1366, 728}, 1},
        {192, Largest, {1366, 860}, 2},   // exactly as high as the window at x2
        {192, Largest, {1157, 2000}, 1},  // one pixel too narrow
        {288, Largest, {1920, 1040}, 2},  // x3 is 1734 x 1260; x2 fits
        {288, Largest, {1000, 500}, 1},
        {288, Smallest, {1000, 500}, 3},  // the small board fits at x3 (486 x 348)
        {192, Largest, {100, 100}, 1},    // never below 1, even when x1 does not fit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FittingZoom(c.dpi, c.client, Frame, c.workArea), c.zoom)
            << c.dpi << " DPI, " << c.client.width << " x " << c.client.height << " in "
            << c.workArea.width << " x " << c.workArea.height;
    }
}

TEST(WindowFit, DpiScaledSizeIsTheClientAtTheFittingZoomInTheNewFrame)
{
    const struct {
        int dpi;
        Extent client, frame, workArea, size;
    } cases[] = {
        {96, Smallest, {6, 60}, Roomy, {166, 156}},
        {120, Smallest, {8, 70}, Roomy, {168, 166}},   // x1: only the frame grows
        {144, Smallest, {10, 84}, Roomy, {330, 276}},  // x2, not the x1.5 the system would scale to
        {192, Largest, {6, 114}, Roomy, {1158, 914}},
        {192, Largest, {6, 114}, {1366, 728}, {582, 514}},  // stepped down to x1
        {288, Smallest, {18, 150}, Roomy, {498, 438}},
    };
    for (const auto& c : cases) {
        const Extent size = DpiScaledWindowSize(c.dpi, c.client, c.frame, c.workArea);
        EXPECT_EQ(size.width, c.size.width) << c.dpi << " DPI";
        EXPECT_EQ(size.height, c.size.height) << c.dpi << " DPI";
    }
}

TEST(WindowFit, MovedInsideTakesTheLeastMoveOntoTheWorkArea)
{
    const Box work = {0, 0, 1280, 1024};
    const struct {
        const char* what;
        Box window, moved;
    } cases[] = {
        {"inside stays", {10, 10, 176, 166}, {10, 10, 176, 166}},
        {"beyond the bottom-right corner", {5000, 3000, 5166, 3156}, {1114, 868, 1280, 1024}},
        {"beyond the right edge only", {1300, 40, 1466, 196}, {1114, 40, 1280, 196}},
        {"above and left of the screen", {-4000, -3000, -3834, -2844}, {0, 0, 166, 156}},
        {"partly beyond the left edge", {-20, 30, 146, 186}, {0, 30, 166, 186}},
        {"larger than the work area", {300, 300, 1700, 1400}, {0, 0, 1400, 1100}},
    };
    for (const auto& c : cases) {
        const Box got = MovedInside(c.window, work);
        EXPECT_EQ(got.left, c.moved.left) << c.what;
        EXPECT_EQ(got.top, c.moved.top) << c.what;
        EXPECT_EQ(got.right, c.moved.right) << c.what;
        EXPECT_EQ(got.bottom, c.moved.bottom) << c.what;
    }
    // A work area that does not start at 0 (a second monitor, a task bar on the left).
    const Box second = {-1920, 40, 0, 1080};
    const Box got = MovedInside({-5000, 0, -4834, 156}, second);
    EXPECT_EQ(got.left, -1920);
    EXPECT_EQ(got.top, 40);
}
