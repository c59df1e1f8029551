#include "app/settings_dialog.h"

#include "app/shell_state.h"
#include "app/texts.h"
#include "core/board.h"
#include "core/settings.h"
#include "resources/dialog_fields.h"
#include "resources/resource.h"

namespace {

// A field read unsigned and compared signed: empty text and words read 0,
// and a number too large for 32 bits fails the lower bound as well.
int ReadField(HWND dialog, int field)
{
    return static_cast<int>(GetDlgItemInt(dialog, field, nullptr, FALSE));
}

void RefuseRange(SettingsField field, int low, int high)
{
    const char* format = nullptr;
#define REFUSAL_OF(value, control, text) \
    if (field == (value))               \
        format = text;
    SETTINGS_DIALOG_FIELDS(REFUSAL_OF)
#undef REFUSAL_OF
    wsprintfA(textBuffer, format, low, high);
    ShowShiftJisMessage(mainWindow, textBuffer, ErrorCaption, MB_OK);
}

void OpenDialog(HWND dialog)
{
    SetFocus(dialog);
    SetDlgItemInt(dialog, IDC_COLUMNS, static_cast<UINT>(columns), FALSE);
    SetDlgItemInt(dialog, IDC_ROWS, static_cast<UINT>(rows), FALSE);
    SetDlgItemInt(dialog, IDC_BOMBS, static_cast<UINT>(bombCount), FALSE);
}

// Each field is checked only once the fields before it have passed, so only
// the first refused one is reported; the dialog then stays open as typed.
void AcceptIfValid(HWND dialog)
{
    const int newColumns = ReadField(dialog, IDC_COLUMNS);
    const int newRows = ReadField(dialog, IDC_ROWS);
    const int newBombs = ReadField(dialog, IDC_BOMBS);
    int low, high;
    const SettingsField refused = FirstRefusedField(newColumns, newRows, newBombs, &low, &high);
    if (refused != FieldNone) {
        RefuseRange(refused, low, high);
        return;
    }
    columns = newColumns;
    rows = newRows;
    bombCount = newBombs;
    EndDialog(dialog, 1);
}

}  // namespace

INT_PTR RunSettingsDialog(HWND owner)
{
    // The wide-character call keeps the Japanese template's texts intact on
    // any system, not only where the ANSI code page is Japanese.
    return DialogBoxParamW(instanceHandle, MAKEINTRESOURCEW(IDD_SETTINGS), owner,
                           SettingsDialogProc, 0);
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        OpenDialog(dialog);
        return 0;  // the focus stays on the dialog itself
    }
    if (message == WM_COMMAND) {
        const WORD command = LOWORD(wParam);
        if (command == IDOK)
            AcceptIfValid(dialog);
        else if (command == IDCANCEL)
            EndDialog(dialog, 0);
    }
    return 0;
}
