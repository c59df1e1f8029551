// Start-up of the real tsweeper.exe under Wine: from process start to the
// first fully painted board (every square covered, the counter drawn, read
// back from the window's pixels), and the game's peak memory after a game
// of play. A plain program, run by hand; see docs/benchmarks.md.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/e2e/driver.h"

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int samples = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    ParkPointer();
    std::vector<double> startup;
    std::vector<double> peakKiB;
    for (int i = 0; i < samples; ++i) {
        GameFolder folder("bench-startup");
        folder.WriteIni("[Set]\r\nWinX=10\r\nWinY=10\r\nX=36\r\nY=24\r\nBom=5\r\n");
        const double start = Now();
        GameRun game(folder);
        const double ready = Now();
        if (!game.started() || game.CurrentScreen().counter[0] < 0) {
            std::fprintf(stderr, "sample %d: the board was not painted\n", i);
            return 1;
        }
        startup.push_back(ready - start);
        // A flood over the whole board, then the peak of the process.
        game.ClickSquare(0, 0);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                     game.processId());
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        if (process && GetProcessMemoryInfo(process, &memory, sizeof memory))
            peakKiB.push_back(static_cast<double>(memory.PeakWorkingSetSize) / 1024.0);
        if (process)
            CloseHandle(process);
        game.Quit();
    }
    std::printf("samples: %d (36 x 24 board)\n", samples);
    std::printf("start to first painted board: median %.1f ms (min %.1f, max %.1f)\n",
                Median(startup), *std::min_element(startup.begin(), startup.end()),
                *std::max_element(startup.begin(), startup.end()));
    if (!peakKiB.empty())
        std::printf("peak working set after a full-board flood: median %.0f KiB\n", Median(peakKiB));
    return 0;
}
