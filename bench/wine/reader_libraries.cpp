// Which of the screen reader's libraries the real tsweeper.exe has loaded:
// at its first painted board, and again once a reader has asked for its
// accessible object. A start without a reader should load none of them, so
// that it costs what it did before the game had readers. A plain program, run
// by hand beside the start-up benchmark; see docs/benchmarks.md.
//
// Usage: reader_libraries   (exit status 1 when the start loaded one of
// them, 2 when the process's modules could not be read)
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/accessible_id.h"
#include "tests/e2e/driver.h"

namespace {

// The reader's libraries: accessibility and OLE automation. (COM itself,
// ole32.dll, is not among them: under Wine a program with a window has it
// loaded at its first paint whatever it imports.)
const wchar_t* const readerLibraries[] = {L"oleacc.dll", L"oleaut32.dll"};
// One that every start loads: without it in the list, the list was not read.
const wchar_t* const alwaysLoaded = L"user32.dll";

bool Has(const std::vector<std::wstring>& modules, const wchar_t* name)
{
    for (const std::wstring& module : modules)
        if (module == name)
            return true;
    return false;
}

// Which of the reader's libraries are among `modules`, then all of them.
// The number of the reader's loaded.
int Report(const char* when, const std::vector<std::wstring>& modules)
{
    int loaded = 0;
    std::printf("%s:", when);
    for (const wchar_t* library : readerLibraries) {
        const bool has = Has(modules, library);
        loaded += has;
        std::printf(" %ls %s;", library, has ? "loaded" : "not loaded");
    }
    std::printf(" %zu modules:", modules.size());
    for (const std::wstring& module : modules)
        std::printf(" %ls", module.c_str());
    std::printf("\n");
    return loaded;
}

}  // namespace

int main()
{
    ParkPointer();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    GameFolder folder("reader-libraries");
    folder.WriteIni("[Set]\r\nX=36\r\nY=24\r\nBom=5\r\n");
    GameRun game(folder);
    if (!game.started()) {
        std::printf("the game did not start\n");
        return 2;
    }
    // GameRun has waited for the first painted board.
    const std::vector<std::wstring> atStart = LoadedModules(game.processId());
    if (!Has(atStart, alwaysLoaded)) {
        std::printf("the game's modules could not be read (%zu listed)\n", atStart.size());
        return 2;
    }
    const int loadedAtStart = Report("at the first painted board", atStart);

    IAccessible* object = nullptr;
    const HRESULT asked = AccessibleObjectFromWindow(game.window(), static_cast<DWORD>(OBJID_CLIENT),
                                                     AccessibleId, reinterpret_cast<void**>(&object));
    // The board's object has a child for every square and more; the system's
    // own object for a client area without child windows has none.
    long children = -1;
    if (object)
        object->get_accChildCount(&children);
    std::printf("AccessibleObjectFromWindow(OBJID_CLIENT): 0x%08lx, %ld children\n",
                static_cast<unsigned long>(asked), children);
    Report("once a reader has asked", LoadedModules(game.processId()));
    if (object)
        object->Release();
    game.Quit();
    return loadedAtStart ? 1 : 0;
}
