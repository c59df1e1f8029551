// The settings dialog's fields in the order they are checked: the value each
// holds, its control, and the text (by its name in resources/texts.txt) that
// refuses a number out of its range. The exe's dialog and the page's module
// both expand this one list, each with its own FIELD(value, control, text).
#pragma once

#define SETTINGS_DIALOG_FIELDS(FIELD)                     \
    FIELD(FieldColumns, IDC_COLUMNS, ColumnsRangeFormat) \
    FIELD(FieldRows, IDC_ROWS, RowsRangeFormat)          \
    FIELD(FieldBombs, IDC_BOMBS, BombsRangeFormat)
