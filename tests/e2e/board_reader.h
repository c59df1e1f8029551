// A screen reader's view of the real program, from another process, as
// Narrator or NVDA take it: the board's accessible object asked for with
// AccessibleObjectFromWindow, and the WinEvents the program raises, caught
// out of context and read with AccessibleObjectFromEvent.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

// The board's object for the client area of `window`.
class BoardReader {
public:
    explicit BoardReader(HWND window);
    ~BoardReader();
    BoardReader(const BoardReader&) = delete;
    BoardReader& operator=(const BoardReader&) = delete;

    IAccessible* object() const { return object_; }
    // Lets the object go now, as a client that is done with it.
    void Release();

    // The answers for element `child`; on a failure, the empty text or -1,
    // with the call's result in `result` when given.
    std::wstring Name(long child, HRESULT* result = nullptr) const;
    std::wstring Description(long child) const;
    std::wstring DefaultAction(long child) const;
    long Role(long child) const;
    long State(long child) const;
    long ChildCount() const;
    RECT Location(long child, HRESULT* result = nullptr) const;
    // The element under a screen point, one step from `start`, or focused:
    // -1 when the answer is no element.
    long HitTest(int x, int y) const;
    long Navigate(long start, long direction) const;
    long Focus() const;
    HRESULT DoDefaultAction(long child) const;
    HRESULT Select(long flags, long child) const;

private:
    IAccessible* object_ = nullptr;
};

// A VT_I4 naming `child`.
VARIANT Element(long child);

struct BoardEvent {
    DWORD event;
    long child;
    // Read when the event came, for the focus and the alert.
    std::wstring name;
    long role = -1;
};

// The events of one process, from its creation on. One at a time.
class EventWatch {
public:
    explicit EventWatch(DWORD processId);
    ~EventWatch();
    EventWatch(const EventWatch&) = delete;
    EventWatch& operator=(const EventWatch&) = delete;

    // What has come since the last Take, as it is now.
    const std::vector<BoardEvent>& Seen() const;
    // What came since the last call, after `settleMs` of handling messages.
    std::vector<BoardEvent> Take(int settleMs = 150);

private:
    HWINEVENTHOOK hook_;
};

// The elements of the events of one kind, in the order they came.
std::vector<long> ElementsOf(const std::vector<BoardEvent>& events, DWORD event);
