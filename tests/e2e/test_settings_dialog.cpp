// The settings dialog as a player meets it: opened from the menu, typed
// into, answered with its buttons and keys, its refusals read back from their
// message boxes, and its effect on the window, the board and the settings
// file checked from outside.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/screen_checks.h"

namespace {

constexpr int ColumnsField = IDC_COLUMNS;
constexpr int RowsField = IDC_ROWS;
constexpr int BombsField = IDC_BOMBS;
constexpr int LabelId = 0xFFFF;

const char ColumnsMessage[] = "X : 10 から 36 を選択してください。";
const char RowsMessage[] = "Y : 5 から 24 を選択してください。";

std::string BombsMessage(int most)
{
    return "Bom : 5 から " + std::to_string(most) + " を選択してください。";
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

DWORD StyleOf(HWND window)
{
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

DWORD ExStyleOf(HWND window)
{
    return static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
}

// A visible window of the game other than the main window and `besides`.
HWND WaitForWindowBesides(const GameRun& game, HWND besides)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : game.Popups())
                if (window != besides)
                    found = window;
            return found != nullptr;
        },
        5000);
    return found;
}

bool WaitUntilDestroyed(HWND window)
{
    return WaitUntil([window] { return !IsWindow(window); }, 5000);
}

// Returns once the game's thread has finished its current work: a message
// sent from here is handled only when that thread next waits for messages.
void Settle(const GameRun& game)
{
    SendMessageTimeoutW(game.window(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
}

::testing::AssertionResult IsSettingsDialog(HWND dialog)
{
    if (!dialog)
        return ::testing::AssertionFailure() << "no dialog opened";
    if (ClassOf(dialog) != "#32770")
        return ::testing::AssertionFailure() << "the popup is a " << ClassOf(dialog) << ", not a dialog";
    if (Utf8(WindowText(dialog)) != "環境設定")
        return ::testing::AssertionFailure() << "the dialog is captioned \"" << Utf8(WindowText(dialog)) << "\"";
    return ::testing::AssertionSuccess();
}

HWND OpenSettings(const GameRun& game)
{
    game.MenuCommand(IDM_SETTINGS);
    return game.WaitForPopup();
}

std::vector<std::string> Fields(HWND dialog)
{
    return {Utf8(ItemText(dialog, ColumnsField)), Utf8(ItemText(dialog, RowsField)),
            Utf8(ItemText(dialog, BombsField))};
}

using Texts = std::vector<std::string>;

// How an entry gets into a field.
enum class Way {
    Keys,     // everything selected, then typed key by key
    SetText,  // the field's text replaced at once, which the digits-only style does not stop
    Paste,    // everything selected, then the clipboard pasted
};

bool PutOnClipboard(const std::wstring& text)
{
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    const bool put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return put;
}

::testing::AssertionResult Enter(HWND dialog, int field, const std::string& text, Way way = Way::Keys)
{
    HWND edit = GetDlgItem(dialog, field);
    const std::wstring wide = Wide(text.c_str());
    switch (way) {
    case Way::Keys:
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, WM_CHAR, VK_BACK, 1);
        for (wchar_t key : wide)
            SendMessageW(edit, WM_CHAR, key, 1);
        break;
    case Way::SetText:
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        break;
    case Way::Paste:
        if (!PutOnClipboard(wide))
            return ::testing::AssertionFailure() << "the clipboard took no text";
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, WM_PASTE, 0, 0);
        break;
    }
    if (Utf8(WindowText(edit)) != text)
        return ::testing::AssertionFailure() << "the entry did not reach field " << field;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult EnterAll(HWND dialog, const Texts& texts)
{
    const int fields[] = {ColumnsField, RowsField, BombsField};
    for (int i = 0; i < 3; ++i) {
        ::testing::AssertionResult entered = Enter(dialog, fields[i], texts[static_cast<size_t>(i)]);
        if (!entered)
            return entered;
    }
    return ::testing::AssertionSuccess();
}

// A visible icon in a message box.
bool ShowsIcon(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0 && (StyleOf(child) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0)
            return true;
    return false;
}

// Presses OK in the dialog expecting a refusal. The message box is checked to
// be the plain "Error" box of the main window, its text is returned, and it
// is answered with its OK button; the dialog must then be the only popup left.
std::string RefusalText(const GameRun& game, HWND dialog)
{
    PressButton(dialog, IDOK);
    HWND box = WaitForWindowBesides(game, dialog);
    if (!box) {
        ADD_FAILURE() << "OK brought no message box" << (IsWindow(dialog) ? "" : "; it closed the dialog");
        return std::string();
    }
    EXPECT_EQ(ClassOf(box), "#32770");
    EXPECT_EQ(Utf8(WindowText(box)), "Error");
    EXPECT_EQ(GetWindow(box, GW_OWNER), game.window()) << "the box is not owned by the main window";
    EXPECT_NE(GetDlgItem(box, IDOK), nullptr) << "the box has no OK button";
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "the box has a Cancel button";
    EXPECT_FALSE(ShowsIcon(box)) << "the box shows an icon";
    const std::string text = Utf8(MessageBoxText(box));
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntilDestroyed(box)) << "OK did not close the box";
    Settle(game);
    // Only the first refused field is reported, and the dialog stays.
    EXPECT_EQ(game.Popups(), std::vector<HWND>{dialog}) << "after \"" << text << "\"";
    return text;
}

// Waits for the dialog to close after OK or Cancel; a message box in its
// stead is a failure, reported with its text and answered.
::testing::AssertionResult Closes(const GameRun& game, HWND dialog)
{
    HWND box = nullptr;
    WaitUntil(
        [&] {
            if (!IsWindow(dialog))
                return true;
            for (HWND window : game.Popups())
                if (window != dialog)
                    box = window;
            return box != nullptr;
        },
        5000);
    if (!IsWindow(dialog)) {
        Settle(game);
        return ::testing::AssertionSuccess();
    }
    if (!box)
        return ::testing::AssertionFailure() << "the dialog is still open";
    const std::string text = Utf8(MessageBoxText(box));
    PressButton(box, IDOK);
    WaitUntilDestroyed(box);
    return ::testing::AssertionFailure() << "refused with \"" << text << "\"";
}

// Posts a key press and release to a window, as the keyboard would.
void PressKey(HWND target, UINT key, UINT scanCode)
{
    const LPARAM down = 1 | static_cast<LPARAM>(scanCode) << 16;
    PostMessageW(target, WM_KEYDOWN, key, down);
    PostMessageW(target, WM_KEYUP, key, down | static_cast<LPARAM>(0xC0000000u));
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Moves the keyboard focus to a field the way Tab does, and returns the
// window that has the focus afterwards.
HWND FocusField(const GameRun& game, HWND dialog, int field)
{
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, field)), TRUE);
    Settle(game);
    return FocusOf(dialog);
}

// The first game of a run on the 10 x 5 board with 10 bombs, after the
// player opened (0, 0) and then (9, 0), which floods its corner.
Screen FirstGameInProgress()
{
    return ScreenOf({"1#######1_", "########1_", "########21", "##########", "##########"}, 10);
}

::testing::AssertionResult PlayFirstSquares(const GameRun& game)
{
    ParkPointer();
    game.ClickSquare(0, 0);
    game.ClickSquare(9, 0);
    return Shows(game, FirstGameInProgress());
}

// After OK: the window kept its top-left corner, its client area fits the
// new board exactly, and the new board is drawn in full, all covered.
void ExpectFreshBoard(const GameRun& game, const RECT& windowBefore, int columns, int rows, int bombs)
{
    const RECT window = WindowRect(game.window());
    EXPECT_EQ(window.left, windowBefore.left);
    EXPECT_EQ(window.top, windowBefore.top);
    const RECT client = ClientRect(game.window());
    EXPECT_EQ(client.right, ClientWidth(columns));
    EXPECT_EQ(client.bottom, ClientHeight(rows));
    const Screen expected = UniformScreen(columns, rows, 0, bombs);
    EXPECT_TRUE(Shows(game, expected));
    EXPECT_TRUE(game.CurrentScreen().blackRightOfCounter) << "the counter strip right of the counter is not black";
}

// Maps dialog units to pixels for the dialog's font as the platform does: a
// hidden dialog of this process, asking for the same font, does the mapping.
class DialogUnits {
public:
    DialogUnits()
    {
        const DWORD style = WS_POPUP | DS_SETFONT;
        std::vector<WORD> words = {LOWORD(style), HIWORD(style), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9};
        for (wchar_t c : Wide("ＭＳ Ｐゴシック"))
            words.push_back(static_cast<WORD>(c));
        words.push_back(0);
        window_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr,
                                             NoHandling, 0);
    }
    ~DialogUnits() { DestroyWindow(window_); }
    bool ready() const { return window_ != nullptr; }
    // A window placed at (x, y) with the given size, in pixels: origin and
    // size are each converted on their own, as the dialog manager does.
    RECT Place(int x, int y, int width, int height) const
    {
        RECT origin = {x, y, 0, 0};
        RECT size = {0, 0, width, height};
        MapDialogRect(window_, &origin);
        MapDialogRect(window_, &size);
        return {origin.left, origin.top, origin.left + size.right, origin.top + size.bottom};
    }

private:
    static INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    HWND window_ = nullptr;
};

std::string Rect(const RECT& rect)
{
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom) + ")";
}

struct ControlRow {
    int id;
    const char* className;
    const char* text;  // as it reads once the dialog is open on the defaults
    DWORD styles;      // all of these set
    DWORD typeMask;    // and the style bits under this mask equal to `type`
    DWORD type;
    int x, y, width, height;
};

const DWORD EditStyles = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL;
const DWORD EditKinds = ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_CENTER | ES_RIGHT;

const ControlRow TemplateControls[] = {
    {ColumnsField, "Edit", "10", EditStyles, EditKinds, 0, 98, 14, 40, 14},
    {RowsField, "Edit", "5", EditStyles, EditKinds, 0, 98, 30, 40, 14},
    {BombsField, "Edit", "10", EditStyles, EditKinds, 0, 98, 46, 40, 14},
    {IDOK, "Button", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, BS_TYPEMASK, BS_DEFPUSHBUTTON, 35, 72, 50, 14},
    {IDCANCEL, "Button", "キャンセル", WS_CHILD | WS_VISIBLE | WS_TABSTOP, BS_TYPEMASK, BS_PUSHBUTTON, 102, 72,
     50, 14},
    {LabelId, "Static", "横のパネル数", WS_CHILD | WS_VISIBLE | WS_GROUP, SS_TYPEMASK, SS_LEFT, 46, 17, 42, 8},
    {LabelId, "Static", "縦のパネル数", WS_CHILD | WS_VISIBLE | WS_GROUP, SS_TYPEMASK, SS_LEFT, 46, 32, 42, 8},
    {LabelId, "Static", "爆弾の個数", WS_CHILD | WS_VISIBLE | WS_GROUP, SS_TYPEMASK, SS_LEFT, 46, 47, 35, 8},
};

// The dialog's tests each play one run of the program.
class SettingsDialog : public GameTest {
protected:
    // The program started, its first game in progress, and the window's
    // place noted.
    ::testing::AssertionResult LaunchInProgress()
    {
        ::testing::AssertionResult started = Launch();
        if (!started)
            return started;
        windowBefore_ = WindowRect(game_->window());
        return PlayFirstSquares(*game_);
    }

    RECT windowBefore_ = {};
};

}  // namespace

TEST_F(SettingsDialog, RunningDialogFollowsItsTemplate)
{
    ASSERT_TRUE(Launch());
    DialogUnits units;
    ASSERT_TRUE(units.ready());

    HWND dialog = OpenSettings(*game_);
    ASSERT_TRUE(IsSettingsDialog(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), game_->window());
    EXPECT_FALSE(IsWindowEnabled(game_->window())) << "the dialog is not modal";

    const DWORD style = StyleOf(dialog);
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(style & wanted, wanted) << std::hex << style;
    EXPECT_EQ(style & (WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u) << std::hex << style;
    EXPECT_NE(ExStyleOf(dialog) & WS_EX_DLGMODALFRAME, 0u);
    EXPECT_EQ(GetMenu(dialog), nullptr);

    // The template's (0, 0) and 187 x 93 units give the dialog's client
    // area: it starts where the main window's client area starts.
    POINT mainOrigin = {0, 0};
    ClientToScreen(game_->window(), &mainOrigin);
    POINT dialogOrigin = {0, 0};
    ClientToScreen(dialog, &dialogOrigin);
    EXPECT_EQ(dialogOrigin.x, mainOrigin.x);
    EXPECT_EQ(dialogOrigin.y, mainOrigin.y);
    EXPECT_EQ(Rect(ClientRect(dialog)), Rect(units.Place(0, 0, 187, 93)));

    // The controls in template order, as they read once the dialog is open.
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(children.size(), std::size(TemplateControls));
    for (size_t i = 0; i < children.size(); ++i) {
        const ControlRow& row = TemplateControls[i];
        HWND control = children[i];
        SCOPED_TRACE(std::string("control ") + std::to_string(i) + " \"" + row.text + "\"");
        EXPECT_EQ(GetDlgCtrlID(control), row.id);
        EXPECT_EQ(lstrcmpiA(ClassOf(control).c_str(), row.className), 0) << ClassOf(control);
        EXPECT_EQ(Utf8(WindowText(control)), row.text);
        const DWORD controlStyle = StyleOf(control);
        EXPECT_EQ(controlStyle & row.styles, row.styles) << std::hex << controlStyle;
        EXPECT_EQ(controlStyle & row.typeMask, row.type) << std::hex << controlStyle;
        if (std::strcmp(row.className, "Edit") == 0) {
            // The platform may draw the border as a sunken client edge.
            EXPECT_TRUE((controlStyle & WS_BORDER) || (ExStyleOf(control) & WS_EX_CLIENTEDGE))
                << "the field has no border";
        }
        RECT placed = WindowRect(control);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(Rect(placed), Rect(units.Place(row.x, row.y, row.width, row.height)));
    }

    // Tab goes through the three fields, then OK and Cancel.
    std::vector<int> tabOrder;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND item = first; item && tabOrder.size() < 10;) {
        tabOrder.push_back(GetDlgCtrlID(item));
        item = GetNextDlgTabItem(dialog, item, FALSE);
        if (item == first)
            break;
    }
    EXPECT_EQ(tabOrder, (std::vector<int>{ColumnsField, RowsField, BombsField, IDOK, IDCANCEL}));

    PressButton(dialog, IDCANCEL);
    EXPECT_TRUE(Closes(*game_, dialog));
    EXPECT_TRUE(IsWindowEnabled(game_->window()));
    EXPECT_EQ(game_->Quit(), 0);
}

// Each refused entry is named in its own message box; the dialog stays open
// with the entries as they were typed, and Cancel afterwards stores nothing.
TEST_F(SettingsDialog, RefusalsNameTheFirstBadFieldAndKeepTheDialogOpen)
{
    ASSERT_TRUE(LaunchInProgress());

    struct Entry {
        std::string text;
        Way way;
    };
    struct Case {
        const char* what;
        Entry columns, rows, bombs;
        std::string message;
    };
    const Way K = Way::Keys;
    const Case cases[] = {
        {"width below, height above: only the width is named", {"9", K}, {"30", K}, {"10", K}, ColumnsMessage},
        {"width above", {"37", K}, {"5", K}, {"10", K}, ColumnsMessage},
        {"width empty", {"", K}, {"5", K}, {"10", K}, ColumnsMessage},
        {"width beyond 31 bits", {"3000000000", K}, {"5", K}, {"10", K}, ColumnsMessage},
        {"height below, bombs bad too", {"10", K}, {"4", K}, {"0", K}, RowsMessage},
        {"height above", {"36", K}, {"25", K}, {"10", K}, RowsMessage},
        {"height pasted as letters", {"10", K}, {"abc", Way::Paste}, {"10", K}, RowsMessage},
        {"bombs below, set as text", {"10", K}, {"5", K}, {"4", Way::SetText}, BombsMessage(45)},
    };

    HWND dialog = OpenSettings(*game_);
    ASSERT_TRUE(IsSettingsDialog(dialog));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Enter(dialog, ColumnsField, c.columns.text, c.columns.way));
        ASSERT_TRUE(Enter(dialog, RowsField, c.rows.text, c.rows.way));
        ASSERT_TRUE(Enter(dialog, BombsField, c.bombs.text, c.bombs.way));
        EXPECT_EQ(RefusalText(*game_, dialog), c.message);
        ASSERT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(Fields(dialog), (Texts{c.columns.text, c.rows.text, c.bombs.text}));
    }

    // A last entry that would pass, then Cancel: nothing of it is stored.
    ASSERT_TRUE(EnterAll(dialog, {"20", "20", "300"}));
    PressButton(dialog, IDCANCEL);
    ASSERT_TRUE(Closes(*game_, dialog));
    EXPECT_EQ(Rect(WindowRect(game_->window())), Rect(windowBefore_));
    EXPECT_TRUE(Shows(*game_, FirstGameInProgress()));

    EXPECT_EQ(game_->Quit(), 0);
    EXPECT_EQ(folder_->IniInt("X"), 10);
    EXPECT_EQ(folder_->IniInt("Y"), 5);
    EXPECT_EQ(folder_->IniInt("Bom"), 10);
}

// The limits on both sides of the largest and the smallest board: the last
// bomb count that fits is taken, one more is refused. Every accepted change
// resizes the window, lays out a new board and shows in the dialog when it
// next opens; the settings file is left as it was until the program ends.
TEST_F(SettingsDialog, AcceptedValuesResizeTheWindowAndReachTheFileAtExit)
{
    const std::string original = "[Set]\r\nWinX=40\r\nWinY=30\r\nX=12\r\nY=6\r\nBom=15\r\n";
    ASSERT_TRUE(Launch(original));
    windowBefore_ = WindowRect(game_->window());
    ASSERT_EQ(windowBefore_.left, 40);
    ASSERT_EQ(windowBefore_.top, 30);

    struct Step {
        Texts refused;
        int most;  // the bomb limit its message names
        Texts accepted;
    };
    const Step steps[] = {
        {{"36", "24", "860"}, 859, {"36", "24", "859"}},
        {{"10", "5", "46"}, 45, {"10", "5", "45"}},
        // The bomb limit follows the size typed, not the 10 x 5 board in play.
        {{"20", "20", "396"}, 395, {"20", "20", "300"}},
    };
    Texts shown = {"12", "6", "15"};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.accepted[0] + " x " + step.accepted[1] + " with " + step.accepted[2]);
        HWND dialog = OpenSettings(*game_);
        ASSERT_TRUE(IsSettingsDialog(dialog));
        EXPECT_EQ(Fields(dialog), shown);
        ASSERT_TRUE(EnterAll(dialog, step.refused));
        EXPECT_EQ(RefusalText(*game_, dialog), BombsMessage(step.most));
        ASSERT_TRUE(EnterAll(dialog, step.accepted));
        PressButton(dialog, IDOK);
        ASSERT_TRUE(Closes(*game_, dialog));
        EXPECT_TRUE(IsWindowEnabled(game_->window()));
        ExpectFreshBoard(*game_, windowBefore_, std::stoi(step.accepted[0]), std::stoi(step.accepted[1]),
                         std::stoi(step.accepted[2]));
        EXPECT_EQ(folder_->ReadIni(), original) << "the settings file was written before the end";
        shown = step.accepted;
    }

    EXPECT_EQ(game_->Quit(), 0);
    EXPECT_EQ(Describe(ReadBackSettings(folder_->Ini())), Describe(SettingsValues{40, 30, 20, 20, 300}));
}

// Cancel, Escape and the close box all leave the game in progress as it was,
// whatever was typed.
TEST_F(SettingsDialog, EveryWayOfCancellingLeavesTheGameAlone)
{
    ASSERT_TRUE(LaunchInProgress());

    struct Road {
        const char* what;
        void (*cancel)(const GameRun& run, HWND dialog);
    };
    const Road roads[] = {
        {"Cancel button", [](const GameRun&, HWND dialog) { PressButton(dialog, IDCANCEL); }},
        {"Escape key in the focused bombs field",
         [](const GameRun& run, HWND dialog) {
             HWND focus = FocusField(run, dialog, BombsField);
             EXPECT_EQ(focus, GetDlgItem(dialog, BombsField));
             PressKey(focus, VK_ESCAPE, 0x01);
         }},
        {"close box", [](const GameRun&, HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        HWND dialog = OpenSettings(*game_);
        ASSERT_TRUE(IsSettingsDialog(dialog));
        EXPECT_EQ(Fields(dialog), (Texts{"10", "5", "10"}));
        ASSERT_TRUE(EnterAll(dialog, {"20", "20", "300"}));
        road.cancel(*game_, dialog);
        ASSERT_TRUE(Closes(*game_, dialog));
        EXPECT_TRUE(IsWindowEnabled(game_->window()));
        EXPECT_EQ(Rect(WindowRect(game_->window())), Rect(windowBefore_));
        EXPECT_TRUE(Shows(*game_, FirstGameInProgress()));
    }
    // The same game goes on: (0, 4) opens next to its one bomb at (1, 4).
    game_->ClickSquare(0, 4);
    EXPECT_TRUE(Shows(*game_, FirstGameInProgress().Set(0, 4, 4)));
    EXPECT_EQ(game_->Quit(), 0);
    EXPECT_EQ(folder_->IniInt("X"), 10);
}

// Enter in a field is OK; OK with nothing changed still lays out a new game.
TEST_F(SettingsDialog, EnterAndUnchangedOkStartANewGame)
{
    ASSERT_TRUE(LaunchInProgress());

    HWND dialog = OpenSettings(*game_);
    ASSERT_TRUE(IsSettingsDialog(dialog));
    PressButton(dialog, IDOK);
    ASSERT_TRUE(Closes(*game_, dialog));
    ExpectFreshBoard(*game_, windowBefore_, 10, 5, 10);

    dialog = OpenSettings(*game_);
    ASSERT_TRUE(IsSettingsDialog(dialog));
    ASSERT_TRUE(EnterAll(dialog, {"12", "8", "20"}));
    HWND focus = FocusField(*game_, dialog, RowsField);
    EXPECT_EQ(focus, GetDlgItem(dialog, RowsField));
    PressKey(focus, VK_RETURN, 0x1C);
    ASSERT_TRUE(Closes(*game_, dialog));
    ExpectFreshBoard(*game_, windowBefore_, 12, 8, 20);
    EXPECT_FALSE(folder_->HasIni()) << "the settings file was written before the end";
    EXPECT_EQ(game_->Quit(), 0);
    EXPECT_EQ(folder_->IniInt("X"), 12);
    EXPECT_EQ(folder_->IniInt("Y"), 8);
    EXPECT_EQ(folder_->IniInt("Bom"), 20);
}
