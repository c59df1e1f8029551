// The one object of the platform's that the program implements: a thin skin
// of IAccessible over the platform-free reading of the board. It is one
// static object that every client shares, never freed, so a client that
// releases it late or never finds it still there; each call reads the board
// as it is then, so a client that keeps it across a change of size sees the
// new board. Every argument from another process is checked before use.
#include "app/board_accessible.h"

#include <oleacc.h>

#include "app/accessible_id.h"
#include "app/board_events.h"
#include "app/board_keys.h"
#include "app/reader_texts_wide.h"
#include "app/shell_state.h"
#include "core/board.h"
#include "core/geometry.h"
#include "input/board_cursor.h"
#include "render/back_buffer.h"
#include "render/board_reading.h"
#include "render/counter_digits.h"
#include "render/screen_model.h"

namespace {

// The system's accessibility and automation libraries, found when a reader
// first asks, so that a start without one loads neither.
using LresultFromObjectCall = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AccessibleObjectFromWindowCall = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using SysAllocStringCall = BSTR(WINAPI*)(const OLECHAR*);
LresultFromObjectCall lresultFromObject;
AccessibleObjectFromWindowCall accessibleObjectFromWindow;
SysAllocStringCall sysAllocString;

template <typename Call>
void Find(HMODULE library, const char* name, Call* call)
{
    if (library)
        *call = reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

int LibrariesFound()
{
    if (!lresultFromObject) {
        HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
        HMODULE oleaut = LoadLibraryW(L"oleaut32.dll");
        Find(oleacc, "AccessibleObjectFromWindow", &accessibleObjectFromWindow);
        Find(oleaut, "SysAllocString", &sysAllocString);
        if (accessibleObjectFromWindow && sysAllocString)
            Find(oleacc, "LresultFromObject", &lresultFromObject);
    }
    return lresultFromObject != nullptr;
}

void SetEmpty(VARIANT* v)
{
    v->vt = VT_EMPTY;
}

void SetElement(VARIANT* v, long element)
{
    v->vt = VT_I4;
    v->lVal = element;
}

// The element a client names: only a VT_I4 of the current board.
int ElementOf(const VARIANT& v, long* element)
{
    if (v.vt != VT_I4 || v.lVal < 0 || v.lVal > ElementCount())
        return 0;
    *element = v.lVal;
    return 1;
}

int PlayRunning()
{
    return gameActive || firstClickPending;
}

HRESULT Text(BSTR* out, const wchar_t* text)
{
    *out = sysAllocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT NoText(BSTR* out)
{
    *out = nullptr;
    return S_FALSE;
}

// The name of a square, from what was last drawn there.
void SquareName(int column, int row, wchar_t* name)
{
    int count;
    const ReaderText words = TileWords(TileSeen(column, row), &count);
    wchar_t shows[64];
    wsprintfW(shows, ReaderTexts[words], count);
    wsprintfW(name, ReaderTexts[ReaderSquareName], column + 1, row + 1, shows);
}

// An element's block on the screen at the window's zoom.
RECT ScreenBlock(long element)
{
    RECT art = {0, 0, ClientWidth(columns), ClientHeight(rows)};
    int column, row;
    if (ElementSquare(element, &column, &row))
        art = {SquareLeft(column), SquareTop(row), SquareLeft(column) + SquareSize, SquareTop(row) + SquareSize};
    else if (element == CounterElement())
        art = {0, 0, SquareSize * CounterCells, CounterStripHeight};
    POINT corner = {art.left * windowZoom, art.top * windowZoom};
    ClientToScreen(mainWindow, &corner);
    return {corner.x, corner.y, corner.x + (art.right - art.left) * windowZoom,
            corner.y + (art.bottom - art.top) * windowZoom};
}

// Window pixels to the game's own, rounding down on both sides of 0.
int ArtPixel(LONG shown)
{
    return shown >= 0 ? shown / windowZoom : -((-shown + windowZoom - 1) / windowZoom);
}

#define CHECK_OUT(pointer) \
    if (!(pointer))        \
    return E_POINTER
// The window gone (the game is ending) or another element: no answer.
#define CHECK_ELEMENT(variant, element) \
    long element;                       \
    if (!IsWindow(mainWindow))          \
        return E_FAIL;                  \
    if (!ElementOf(variant, &element))  \
    return E_INVALIDARG

// A text that no element has (a value, a help text, a shortcut): nothing,
// once the element is known.
HRESULT NoTextFor(const VARIANT& child, BSTR* out)
{
    CHECK_OUT(out);
    *out = nullptr;
    CHECK_ELEMENT(child, element);
    return S_FALSE;
}

struct BoardAccessible final : IAccessible {
    LONG references = 0;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        CHECK_OUT(out);
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) || IsEqualIID(id, AccessibleId)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    // Never freed: the count only says how many hold it.
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&references)); }

    // IDispatch: no type information; readers call the methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        CHECK_OUT(count);
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        CHECK_OUT(parent);
        *parent = nullptr;
        return accessibleObjectFromWindow(mainWindow, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        CHECK_OUT(count);
        *count = ElementCount();
        return S_OK;
    }
    // The squares, the counter and the notice are elements, not objects.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        CHECK_OUT(out);
        *out = nullptr;
        CHECK_ELEMENT(child, element);
        return element == BoardItself ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        CHECK_OUT(name);
        *name = nullptr;
        CHECK_ELEMENT(child, element);
        wchar_t text[256];
        int column, row;
        if (element == BoardItself) {
            wsprintfW(text, ReaderTexts[ReaderBoardName], columns, rows);
        } else if (ElementSquare(element, &column, &row)) {
            SquareName(column, row, text);
        } else if (element == CounterElement()) {
            wsprintfW(text, ReaderTexts[ReaderCounterStatus], shownCounter);
        } else {
            const ReaderText ending = GameEnding();
            if (ending == ReaderTextCount)
                return NoText(name);
            return Text(name, ReaderTexts[ending]);
        }
        return Text(name, text);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return NoTextFor(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        CHECK_OUT(description);
        *description = nullptr;
        CHECK_ELEMENT(child, element);
        return element == BoardItself ? Text(description, ReaderTexts[ReaderBoardKeys]) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        CHECK_OUT(role);
        SetEmpty(role);
        CHECK_ELEMENT(child, element);
        int column, row;
        long value = ROLE_SYSTEM_ALERT;
        if (element == BoardItself)
            value = ROLE_SYSTEM_TABLE;
        else if (ElementSquare(element, &column, &row))
            value = ROLE_SYSTEM_CELL;
        else if (element == CounterElement())
            value = ROLE_SYSTEM_STATICTEXT;
        SetElement(role, value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        CHECK_OUT(state);
        SetEmpty(state);
        CHECK_ELEMENT(child, element);
        int column, row;
        long value = STATE_SYSTEM_READONLY;
        if (element == BoardItself) {
            value = STATE_SYSTEM_FOCUSABLE;
        } else if (ElementSquare(element, &column, &row)) {
            value = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
            if (windowActive && column == cursorColumn && row == cursorRow)
                value |= STATE_SYSTEM_FOCUSED;
            if (!IsWindowEnabled(mainWindow))
                value |= STATE_SYSTEM_UNAVAILABLE;
        } else if (element == EndingElement() && GameEnding() == ReaderTextCount) {
            value |= STATE_SYSTEM_INVISIBLE;
        }
        SetElement(state, value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return NoTextFor(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        CHECK_OUT(file);
        CHECK_OUT(topic);
        *file = nullptr;
        *topic = 0;
        CHECK_ELEMENT(child, element);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return NoTextFor(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        CHECK_OUT(focus);
        SetEmpty(focus);
        if (!windowActive)
            return S_FALSE;
        SetElement(focus, SquareElement(cursorColumn, cursorRow));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        CHECK_OUT(selection);
        SetEmpty(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        CHECK_OUT(action);
        *action = nullptr;
        CHECK_ELEMENT(child, element);
        int column, row;
        if (!ElementSquare(element, &column, &row) || !PlayRunning())
            return S_FALSE;
        return Text(action, ReaderTexts[ReaderSquareAction]);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        CHECK_ELEMENT(child, element);
        int column, row;
        if (!ElementSquare(element, &column, &row) || (flags & ~(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)))
            return E_INVALIDARG;
        if (flags & SELFLAG_TAKEFOCUS)
            MoveCursorTo(mainWindow, column, row);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        CHECK_OUT(left);
        CHECK_OUT(top);
        CHECK_OUT(width);
        CHECK_OUT(height);
        *left = *top = *width = *height = 0;
        CHECK_ELEMENT(child, element);
        const RECT block = ScreenBlock(element);
        *left = block.left;
        *top = block.top;
        *width = block.right - block.left;
        *height = block.bottom - block.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        CHECK_OUT(end);
        SetEmpty(end);
        CHECK_ELEMENT(start, element);
        ReadingStep step;
        switch (direction) {
        case NAVDIR_LEFT: step = StepLeft; break;
        case NAVDIR_RIGHT: step = StepRight; break;
        case NAVDIR_UP: step = StepUp; break;
        case NAVDIR_DOWN: step = StepDown; break;
        case NAVDIR_FIRSTCHILD: step = StepFirst; break;
        case NAVDIR_LASTCHILD: step = StepLast; break;
        case NAVDIR_NEXT: step = StepNext; break;
        case NAVDIR_PREVIOUS: step = StepPrevious; break;
        default: return E_INVALIDARG;
        }
        const long next = StepFrom(element, step);
        if (next < 0)
            return S_FALSE;
        SetElement(end, next);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override
    {
        CHECK_OUT(hit);
        SetEmpty(hit);
        if (!IsWindow(mainWindow))
            return E_FAIL;
        POINT point = {x, y};
        ScreenToClient(mainWindow, &point);
        const long element = ElementAt(ArtPixel(point.x), ArtPixel(point.y));
        if (element < 0)
            return S_FALSE;
        SetElement(hit, element);
        return S_OK;
    }
    // Space on the square; nothing while a box holds the window or after the end.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        CHECK_ELEMENT(child, element);
        int column, row;
        if (!ElementSquare(element, &column, &row))
            return E_INVALIDARG;
        if (!IsWindowEnabled(mainWindow) || !PlayRunning())
            return DISP_E_MEMBERNOTFOUND;
        PlaySpaceAt(mainWindow, column, row);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }
};

BoardAccessible boardObject;

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam)
{
    // Asked before start-up has made the window reachable: the system's answer.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || !mainWindow || !LibrariesFound())
        return DefWindowProcA(window, WM_GETOBJECT, wParam, lParam);
    readerListening = 1;
    return lresultFromObject(AccessibleId, wParam, static_cast<IAccessible*>(&boardObject));
}
