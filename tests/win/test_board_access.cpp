// The board's keys and accessible object inside one process, on the real
// system libraries: what only the window's own thread can see (its input
// context, the libraries it has loaded) and what a client in another
// process cannot send (a null out-pointer never leaves the caller's proxy).
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>
#include <oleacc.h>

#include "app/accessible_id.h"
#include "app/board_accessible.h"
#include "app/board_events.h"
#include "app/board_keys.h"
#include "app/shell_state.h"
#include "core/board.h"
#include "render/back_buffer.h"

namespace {

HWND MakeWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"board access test";
    RegisterClassW(&windowClass);
    return CreateWindowW(L"board access test", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

VARIANT Element(long child)
{
    VARIANT v = {};  // not VariantInit: this program must not import oleaut32
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

class BoardAccess : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = MakeWindow();
        ASSERT_NE(window_, nullptr);
        mainWindow = paintedWindow = window_;
        windowZoom = 1;
        columns = 10;
        rows = 5;
    }
    void TearDown() override
    {
        mainWindow = paintedWindow = nullptr;
        DestroyWindow(window_);
    }

    HWND window_ = nullptr;
};

// With a Japanese IME on, a window with an input context gets F as
// VK_PROCESSKEY and the IME types it; the board's window has none.
TEST_F(BoardAccess, WindowKeepsNoInputContext)
{
    HIMC before = ImmGetContext(window_);
    ASSERT_NE(before, nullptr) << "the system gives a new window a context";
    ImmReleaseContext(window_, before);
    TakeKeysAsKeys(window_);
    EXPECT_EQ(ImmGetContext(window_), nullptr);
}

// Nothing of the readers' libraries before a reader asks; the system's
// answer for every object but the client area; the board's object then, and
// each of its out-pointers checked.
TEST_F(BoardAccess, LoadedOnlyWhenAskedAndEveryOutPointerChecked)
{
    ASSERT_EQ(GetModuleHandleW(L"oleacc.dll"), nullptr) << "this test program must not import it";
    ASSERT_EQ(GetModuleHandleW(L"oleaut32.dll"), nullptr) << "nor this one";
    const LRESULT system = AnswerGetObject(window_, 0, static_cast<LPARAM>(OBJID_WINDOW));
    EXPECT_EQ(system, DefWindowProcW(window_, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)));
    EXPECT_EQ(readerListening, 0) << "no reader asked for the board";

    // Marshalled in the apartment, as for any client.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const LRESULT answer = AnswerGetObject(window_, 0, static_cast<LPARAM>(OBJID_CLIENT));
    HMODULE oleacc = GetModuleHandleW(L"oleacc.dll");
    ASSERT_NE(oleacc, nullptr);
    EXPECT_NE(GetModuleHandleW(L"oleaut32.dll"), nullptr);
    EXPECT_EQ(readerListening, 1);
    using ObjectFromLresultCall = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);
    auto objectFromLresult =
        reinterpret_cast<ObjectFromLresultCall>(reinterpret_cast<void*>(GetProcAddress(oleacc, "ObjectFromLresult")));
    ASSERT_NE(objectFromLresult, nullptr);
    IAccessible* object = nullptr;
    ASSERT_EQ(objectFromLresult(answer, AccessibleId, 0, reinterpret_cast<void**>(&object)), S_OK);
    ASSERT_NE(object, nullptr);

    const VARIANT square = Element(1);
    long count = 0;
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 52);
    long left, top, width, height;
    const HRESULT nulls[] = {
        object->QueryInterface(AccessibleId, nullptr),
        object->GetTypeInfoCount(nullptr),
        object->get_accParent(nullptr),
        object->get_accChildCount(nullptr),
        object->get_accChild(square, nullptr),
        object->get_accName(square, nullptr),
        object->get_accValue(square, nullptr),
        object->get_accDescription(square, nullptr),
        object->get_accRole(square, nullptr),
        object->get_accState(square, nullptr),
        object->get_accHelp(square, nullptr),
        object->get_accHelpTopic(nullptr, square, &left),
        object->get_accKeyboardShortcut(square, nullptr),
        object->get_accFocus(nullptr),
        object->get_accSelection(nullptr),
        object->get_accDefaultAction(square, nullptr),
        object->accLocation(nullptr, &top, &width, &height, square),
        object->accLocation(&left, &top, &width, nullptr, square),
        object->accNavigate(NAVDIR_RIGHT, square, nullptr),
        object->accHitTest(0, 0, nullptr),
    };
    for (size_t i = 0; i < sizeof nulls / sizeof nulls[0]; ++i)
        EXPECT_EQ(nulls[i], E_POINTER) << "call " << i;
    object->Release();
    CoUninitialize();
}

}  // namespace
