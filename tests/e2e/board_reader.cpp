#include "tests/e2e/board_reader.h"

#include "app/accessible_id.h"
#include "tests/e2e/driver.h"

namespace {

std::wstring Taken(BSTR text)
{
    std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return taken;
}

long Number(const VARIANT& v)
{
    return v.vt == VT_I4 ? v.lVal : -1;
}

std::vector<BoardEvent>* caught = nullptr;

void CALLBACK Caught(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (!caught || object != OBJID_CLIENT)
        return;
    // Put in its place before reading it: the reading calls the program and
    // handles messages meanwhile, which can bring the next event in.
    const size_t place = caught->size();
    caught->push_back({event, child, std::wstring()});
    if (event != EVENT_OBJECT_FOCUS && event != EVENT_SYSTEM_ALERT)
        return;
    IAccessible* from = nullptr;
    VARIANT element;
    if (FAILED(AccessibleObjectFromEvent(window, object, child, &from, &element)) || !from)
        return;
    BSTR name = nullptr;
    from->get_accName(element, &name);
    VARIANT role;
    VariantInit(&role);
    from->get_accRole(element, &role);
    from->Release();
    if (!caught)
        return;
    (*caught)[place].name = Taken(name);
    (*caught)[place].role = Number(role);
}

}  // namespace

VARIANT Element(long child)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

BoardReader::BoardReader(HWND window)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), AccessibleId,
                                          reinterpret_cast<void**>(&object_))))
        object_ = nullptr;
}

BoardReader::~BoardReader()
{
    Release();
    CoUninitialize();
}

void BoardReader::Release()
{
    if (object_)
        object_->Release();
    object_ = nullptr;
}

std::wstring BoardReader::Name(long child, HRESULT* result) const
{
    BSTR name = nullptr;
    const HRESULT answer = object_->get_accName(Element(child), &name);
    if (result)
        *result = answer;
    return Taken(name);
}

std::wstring BoardReader::Description(long child) const
{
    BSTR text = nullptr;
    object_->get_accDescription(Element(child), &text);
    return Taken(text);
}

std::wstring BoardReader::DefaultAction(long child) const
{
    BSTR text = nullptr;
    object_->get_accDefaultAction(Element(child), &text);
    return Taken(text);
}

long BoardReader::Role(long child) const
{
    VARIANT role;
    VariantInit(&role);
    return SUCCEEDED(object_->get_accRole(Element(child), &role)) ? Number(role) : -1;
}

long BoardReader::State(long child) const
{
    VARIANT state;
    VariantInit(&state);
    return SUCCEEDED(object_->get_accState(Element(child), &state)) ? Number(state) : -1;
}

long BoardReader::ChildCount() const
{
    long count = -1;
    return SUCCEEDED(object_->get_accChildCount(&count)) ? count : -1;
}

RECT BoardReader::Location(long child, HRESULT* result) const
{
    long left = 0, top = 0, width = 0, height = 0;
    const HRESULT answer = object_->accLocation(&left, &top, &width, &height, Element(child));
    if (result)
        *result = answer;
    return {left, top, left + width, top + height};
}

long BoardReader::HitTest(int x, int y) const
{
    VARIANT hit;
    VariantInit(&hit);
    return object_->accHitTest(x, y, &hit) == S_OK ? Number(hit) : -1;
}

long BoardReader::Navigate(long start, long direction) const
{
    VARIANT end;
    VariantInit(&end);
    return object_->accNavigate(direction, Element(start), &end) == S_OK ? Number(end) : -1;
}

long BoardReader::Focus() const
{
    VARIANT focus;
    VariantInit(&focus);
    return object_->get_accFocus(&focus) == S_OK ? Number(focus) : -1;
}

HRESULT BoardReader::DoDefaultAction(long child) const
{
    return object_->accDoDefaultAction(Element(child));
}

HRESULT BoardReader::Select(long flags, long child) const
{
    return object_->accSelect(flags, Element(child));
}

EventWatch::EventWatch(DWORD processId)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    caught = new std::vector<BoardEvent>();
    hook_ = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Caught, processId, 0, WINEVENT_OUTOFCONTEXT);
}

EventWatch::~EventWatch()
{
    UnhookWinEvent(hook_);
    delete caught;
    caught = nullptr;
    CoUninitialize();
}

const std::vector<BoardEvent>& EventWatch::Seen() const
{
    return *caught;
}

std::vector<BoardEvent> EventWatch::Take(int settleMs)
{
    PumpMessages(settleMs);
    std::vector<BoardEvent> taken;
    taken.swap(*caught);
    return taken;
}

std::vector<long> ElementsOf(const std::vector<BoardEvent>& events, DWORD event)
{
    std::vector<long> elements;
    for (const BoardEvent& seen : events)
        if (seen.event == event)
            elements.push_back(seen.child);
    return elements;
}
