#include "app/board_events.h"

#include "app/board_keys.h"
#include "core/board.h"
#include "input/board_cursor.h"
#include "render/board_reading.h"
#include "render/screen_model.h"

int readerListening = 0;

namespace {

// 1 while the end of the game that is over has been told.
int endingTold = 0;
// 1 while a WM_TELL_READER waits in the queue.
int tellPending = 0;
// The board's size when it was last told.
int toldColumns = 0;
int toldRows = 0;

void Tell(HWND window, DWORD event, long element)
{
    NotifyWinEvent(event, window, OBJID_CLIENT, element);
}

}  // namespace

void AnnounceFocus(HWND window)
{
    if (windowActive)
        Tell(window, EVENT_OBJECT_FOCUS, SquareElement(cursorColumn, cursorRow));
}

void AnnounceBoardChanges(HWND window)
{
    if (readerListening && !tellPending)
        tellPending = PostMessageA(window, WM_TELL_READER, 0, 0) ? 1 : 0;
    // Not listening, or the queue refused the message: at once.
    if (!tellPending)
        TellBoardChanges(window);
}

void TellBoardChanges(HWND window)
{
    tellPending = 0;
    const ReaderText ending = GameEnding();
    if (readerListening) {
        UpdateWindow(window);
        // Another size is another table: its name and its children change.
        if (columns != toldColumns || rows != toldRows) {
            Tell(window, EVENT_OBJECT_REORDER, BoardItself);
            Tell(window, EVENT_OBJECT_NAMECHANGE, BoardItself);
        }
        for (int i = 0; i < changedSquareCount; ++i)
            Tell(window, EVENT_OBJECT_NAMECHANGE, SquareElement(changedSquares[i][0], changedSquares[i][1]));
        if (counterChanged)
            Tell(window, EVENT_OBJECT_NAMECHANGE, CounterElement());
        if (ending != ReaderTextCount && !endingTold)
            Tell(window, EVENT_SYSTEM_ALERT, EndingElement());
    }
    toldColumns = columns;
    toldRows = rows;
    endingTold = ending != ReaderTextCount;
    ForgetChanges();
}
