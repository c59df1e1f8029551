// Times a left click on the real tsweeper.exe, from the mouse release to the
// painted window, and the window-server floor that a full-board flood has to
// pay: one InvalidateRect round trip per opened square.
//
//   one square  the release that opens (0, 0) of the 10 x 5 board, 10 bombs
//   flood       the release that opens (0, 0) of the 36 x 24 board, 5 bombs,
//               which floods 857 squares
//   floor       857 InvalidateRect calls of 16 x 16 squares on a window of
//               this program's own: row by row, and in the order in which the
//               flood draws its squares (the game's rules, run here with a
//               recording drawing layer, give that order)
//   floor+paint the latter, then one repaint of their union from a memory
//               bitmap, as the game's WM_PAINT does
//   flood with a reader listening
//               the flood's release once this program has done what a
//               screen reader does: asked for the game's accessible object
//               (from then on the game tells every changed square) and held
//               an out-of-context hook on its name changes. The names heard
//               are counted, after a little untimed pumping as well.
//
// For the game, each sample is a fresh process (the first game of a run is
// always the same). The left press is sent and painted first, untimed; the
// timing covers SendMessage(WM_LBUTTONUP) and then
// RedrawWindow(RDW_UPDATENOW), which returns once the game has handled the
// WM_PAINT that it sends. A second column times from the release until a
// pixel of the last square, read back from the screen, shows the new tile.
//
// Usage: bench_click [samples]   (default 15)
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/accessible_id.h"
#include "core/board.h"
#include "core/rules.h"
#include "core/geometry.h"
#include "render/board_reading.h"
#include "render/screen_model.h"
#include "tests/e2e/driver.h"
#include "tests/support/program_state.h"

// The game's rules run in this program too, into the screen model, only to
// learn which squares the flood draws and in which order; it keeps no log.
void ResetDrawingLog() {}

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Series {
    std::vector<double> painted;  // release + RedrawWindow(RDW_UPDATENOW)
    std::vector<double> onScreen; // release until the pixel changes
    int failures = 0;
};

// The child of every EVENT_OBJECT_NAMECHANGE heard on the game's client
// area, in the order heard. Reserved before the timing, so that hearing
// costs no allocation.
std::vector<LONG> namesHeard;

void CALLBACK HearNameChange(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD)
{
    if (event == EVENT_OBJECT_NAMECHANGE && object == OBJID_CLIENT)
        namesHeard.push_back(child);
}

// Handles what reaches this thread for `milliseconds`: an out-of-context
// hook hears only while its thread takes its messages.
void PumpFor(int milliseconds)
{
    const double end = Now() + milliseconds;
    for (double now = Now(); now < end; now = Now()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now) + 1, QS_ALLINPUT);
    }
}

// A screen reader on the game: its hook on the game's name changes, and the
// game's object for the client area, held while it lives.
class Reader {
public:
    explicit Reader(const GameRun& game)
    {
        hook_ = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, HearNameChange,
                                game.processId(), 0, WINEVENT_OUTOFCONTEXT);
        if (FAILED(AccessibleObjectFromWindow(game.window(), static_cast<DWORD>(OBJID_CLIENT), AccessibleId,
                                              reinterpret_cast<void**>(&object_))))
            object_ = nullptr;
    }
    ~Reader()
    {
        if (object_)
            object_->Release();
        if (hook_)
            UnhookWinEvent(hook_);
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    bool listening() const { return hook_ && object_; }

private:
    HWINEVENTHOOK hook_ = nullptr;
    IAccessible* object_ = nullptr;
};

// What the reader heard of each flood's release.
struct Hearing {
    std::vector<RECT> flood;        // the squares that the flood opens
    std::vector<int> duringTiming;  // names heard by the time the release was painted
    std::vector<int> afterPumping;  // and after a little pumping more
    int squares = 0;                // of the last sample: distinct squares among them
    int squaresOutsideFlood = 0;    // squares that the flood does not open
    int counter = 0;                // the counter's name
    int others = 0;                 // any other element
};

// Sorts the names of the last sample's release into what they name.
void SortNamesHeard(Hearing* hearing)
{
    const std::vector<RECT>& flood = hearing->flood;
    std::vector<bool> heard(static_cast<size_t>(ElementCount()) + 1, false);
    hearing->squares = hearing->squaresOutsideFlood = hearing->counter = hearing->others = 0;
    for (LONG element : namesHeard) {
        int column, row;
        if (ElementSquare(element, &column, &row)) {
            if (heard[static_cast<size_t>(element)])
                continue;
            heard[static_cast<size_t>(element)] = true;
            ++hearing->squares;
            const bool opened = std::any_of(flood.begin(), flood.end(), [&](const RECT& square) {
                return square.left == SquareLeft(column) && square.top == SquareTop(row);
            });
            if (!opened)
                ++hearing->squaresOutsideFlood;
        } else if (element == CounterElement()) {
            ++hearing->counter;
        } else {
            ++hearing->others;
        }
    }
}

// A client pixel of square (column, row) where tile `from` and tile `to`
// differ, as a COLORREF of tile `to`; false when they look alike.
bool TellingPixel(int column, int row, int from, int to, POINT* at, COLORREF* color)
{
    const Picture& strip = BuiltInStrip();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const unsigned a = strip.At(16 * from + x, y);
            const unsigned b = strip.At(16 * to + x, y);
            if (a != b) {
                at->x = 16 * column + x;
                at->y = 16 * (row + 1) + y;
                *color = RGB((b >> 16) & 0xFF, (b >> 8) & 0xFF, b & 0xFF);
                return true;
            }
        }
    return false;
}

int OpenedSquares(const Screen& screen)
{
    int opened = 0;
    for (int tile : screen.squares) {
        const int t = SameLookingTile(tile);
        if (t >= 3 && t <= 11)
            ++opened;
    }
    return opened;
}

// One sample on a fresh game: press (0, 0), let the press paint, then time
// the release. `watch` is the square whose pixel tells that the release's
// picture has reached the screen; it shows `before`, then `after`. With
// `hearing`, a reader listens from before the press, and what it heard of
// the release (to painted) goes there.
void Sample(const char* settings, bool onScreen, int watchColumn, int watchRow, int before,
            int after, int expectedOpened, Series* series, Hearing* hearing = nullptr)
{
    GameFolder folder("bench-click");
    if (settings)
        folder.WriteIni(settings);
    GameRun game(folder);
    if (!game.started()) {
        ++series->failures;
        return;
    }
    HWND window = game.window();
    std::unique_ptr<Reader> reader;
    if (hearing) {
        reader = std::make_unique<Reader>(game);
        if (!reader->listening()) {
            std::printf("no reader could listen to the game\n");
            ++series->failures;
            return;
        }
    }
    game.Send(WM_MOUSEMOVE, 0, SquareX(0), SquareY(0));
    game.Send(WM_LBUTTONDOWN, MK_LBUTTON, SquareX(0), SquareY(0));
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW);
    if (hearing) {
        // What the press told is heard now, out of the release's count.
        PumpFor(200);
        namesHeard.clear();
        namesHeard.reserve(4096);
    } else {
        Sleep(200);
    }

    if (onScreen) {
        POINT at;
        COLORREF color;
        if (!TellingPixel(watchColumn, watchRow, before, after, &at, &color)) {
            ++series->failures;
            return;
        }
        HDC dc = GetDC(window);
        const double start = Now();
        game.Send(WM_LBUTTONUP, 0, SquareX(0), SquareY(0));
        bool seen = false;
        double end = start;
        while (!seen && Now() - start < 5000) {
            seen = GetPixel(dc, at.x, at.y) == color;
            end = Now();
        }
        ReleaseDC(window, dc);
        if (seen)
            series->onScreen.push_back(end - start);
        else
            ++series->failures;
    } else {
        const double start = Now();
        game.Send(WM_LBUTTONUP, 0, SquareX(0), SquareY(0));
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW);
        const double end = Now();
        const int heardByThen = static_cast<int>(namesHeard.size());
        // RedrawWindow must have had the game paint: nothing is left to update.
        if (GetUpdateRect(window, nullptr, FALSE))
            ++series->failures;
        else
            series->painted.push_back(end - start);
        if (hearing) {
            PumpFor(500);
            hearing->duringTiming.push_back(heardByThen);
            hearing->afterPumping.push_back(static_cast<int>(namesHeard.size()));
            SortNamesHeard(hearing);
        }
    }

    // The release did what it should: the right number of squares opened.
    Screen screen;
    WaitUntil(
        [&] {
            screen = game.CurrentScreen();
            return OpenedSquares(screen) == expectedOpened;
        },
        2000);
    if (OpenedSquares(screen) != expectedOpened) {
        std::printf("unexpected picture after the release:\n%s", Describe(screen).c_str());
        ++series->failures;
    }
    reader.reset();
    game.Quit();
}

// The floor: a window of our own, 36 x 24 squares and the counter strip, with
// a WM_PAINT that copies the invalid rectangle from a memory bitmap.
HDC floorMemoryDC;

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        const RECT& r = paint.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, floorMemoryDC, r.left, r.top,
               SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class FloorWindow {
public:
    FloorWindow()
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = FloorProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"bench-floor";
        RegisterClassW(&windowClass);
        const int width = 16 * 36, height = 16 * 25;
        // Beside the game's window, so that neither covers the other.
        window_ = CreateWindowExW(0, L"bench-floor", L"floor", WS_POPUP | WS_VISIBLE, 660, 0, width,
                                  height, nullptr, nullptr, windowClass.hInstance, nullptr);
        HDC windowDC = GetDC(window_);
        floorMemoryDC = CreateCompatibleDC(windowDC);
        HBITMAP bitmap = CreateCompatibleBitmap(windowDC, GetSystemMetrics(SM_CXSCREEN),
                                                GetSystemMetrics(SM_CYSCREEN));
        SelectObject(floorMemoryDC, bitmap);
        PatBlt(floorMemoryDC, 0, 0, width, height, WHITENESS);
        ReleaseDC(window_, windowDC);
        UpdateWindow(window_);
    }
    ~FloorWindow() { DestroyWindow(window_); }

    // InvalidateRect for each square, then optionally one paint.
    double Time(const std::vector<RECT>& squares, bool paint) const
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(200);  // let the window server settle after the game's exit
        const double start = Now();
        for (const RECT& square : squares)
            InvalidateRect(window_, &square, FALSE);
        if (paint)
            UpdateWindow(window_);
        const double end = Now();
        ValidateRect(window_, nullptr);
        return end - start;
    }

private:
    HWND window_;
};

}  // namespace

int main(int argc, char** argv)
{
    const int samples = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    ParkPointer();
    // The reader's object is a proxy of one in the game's process: COM, in
    // a thread that takes its messages, as a reader's is.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    // The squares of the full-board flood in the order the game draws them.
    ResetProgramState(36, 24, 5);
    NewGame();
    ForgetChanges();
    OpenCell(0, 0);
    std::vector<RECT> floodOrder;
    for (int i = 0; i < changedSquareCount; ++i) {
        const int column = changedSquares[i][0];
        const int row = changedSquares[i][1];
        floodOrder.push_back({SquareLeft(column), SquareTop(row), SquareLeft(column) + SquareSize,
                              SquareTop(row) + SquareSize});
    }
    // The same number of squares, row by row.
    std::vector<RECT> rowOrder;
    for (int row = 0; row < 24 && rowOrder.size() < floodOrder.size(); ++row)
        for (int column = 0; column < 36 && rowOrder.size() < floodOrder.size(); ++column)
            rowOrder.push_back({16 * column, 16 * (row + 1), 16 * column + 16, 16 * (row + 1) + 16});

    FloorWindow floor;
    floor.Time(floodOrder, true);  // warm-up

    // The samples of every case are interleaved, so that a change of load on
    // the machine touches them all alike.
    const char* fullBoard = "[Set]\r\nX=36\r\nY=24\r\nBom=5\r\n";
    Series one, flood, floodHeard;
    Hearing hearing;
    hearing.flood = floodOrder;
    std::vector<double> floorRows, floorFlood, floorFloodPaint;
    for (int i = 0; i < samples; ++i) {
        // 10 x 5 with 10 bombs (the defaults): (0, 0) shows 1, pressed before.
        Sample(nullptr, false, 0, 0, 3, 4, 1, &one);
        Sample(nullptr, true, 0, 0, 3, 4, 1, &one);
        // 36 x 24 with 5 bombs: the bottom-right square goes from covered
        // to opened, as the last row of the union is painted.
        Sample(fullBoard, false, 35, 23, 0, 3, 857, &flood);
        Sample(fullBoard, true, 35, 23, 0, 3, 857, &flood);
        Sample(fullBoard, false, 35, 23, 0, 3, 857, &floodHeard, &hearing);
        Sample(fullBoard, true, 35, 23, 0, 3, 857, &floodHeard, &hearing);
        for (int k = 0; k < 3; ++k)
            switch ((i + k) % 3) {
            case 0: floorRows.push_back(floor.Time(rowOrder, false)); break;
            case 1: floorFlood.push_back(floor.Time(floodOrder, false)); break;
            default: floorFloodPaint.push_back(floor.Time(floodOrder, true)); break;
            }
    }

    std::printf("Medians of %d samples, in ms; %zu squares in the flood\n\n", samples,
                floodOrder.size());
    std::printf("| Case | Release to painted (RedrawWindow) | Release to pixels on screen |\n");
    std::printf("|---|---|---|\n");
    std::printf("| one square, 10 x 5 | %.2f | %.2f |\n", Median(one.painted), Median(one.onScreen));
    std::printf("| flood of %zu squares, 36 x 24 | %.2f | %.2f |\n", floodOrder.size(),
                Median(flood.painted), Median(flood.onScreen));
    std::printf("| floor: %zu InvalidateRect, row by row | %.2f | |\n", rowOrder.size(),
                Median(floorRows));
    std::printf("| floor: %zu InvalidateRect, in the flood's order | %.2f | |\n", floodOrder.size(),
                Median(floorFlood));
    std::printf("| the same and one paint of the union | %.2f | |\n", Median(floorFloodPaint));
    std::printf("| flood with a reader listening | %.2f | %.2f |\n", Median(floodHeard.painted),
                Median(floodHeard.onScreen));
    if (!hearing.afterPumping.empty()) {
        const auto range = [](const std::vector<int>& counts) {
            const auto extremes = std::minmax_element(counts.begin(), counts.end());
            return std::make_pair(*extremes.first, *extremes.second);
        };
        const auto during = range(hearing.duringTiming);
        const auto after = range(hearing.afterPumping);
        std::printf("\nEVENT_OBJECT_NAMECHANGE heard per release: %d to %d by the time it was painted, "
                    "%d to %d after 500 ms more of pumping;\nthe last release's: %d distinct squares "
                    "(%d of them not opened by the flood), the counter %d times, %d others\n",
                    during.first, during.second, after.first, after.second, hearing.squares,
                    hearing.squaresOutsideFlood, hearing.counter, hearing.others);
    }
    if (one.failures || flood.failures || floodHeard.failures) {
        std::printf("\nfailed samples: one square %d, flood %d, flood with a reader %d\n", one.failures,
                    flood.failures, floodHeard.failures);
        return 1;
    }
    return 0;
}
