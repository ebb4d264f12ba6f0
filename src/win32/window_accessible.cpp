#include "win32/window_accessible.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "runtime/control.h"
#include "runtime/form.h"
#include "runtime/runtime.h"
#include "win32/form_window.h"
#include "win32/utf16.h"

namespace winhost {
namespace {

// The controls a person can move, in stored order: child i + 1 is bars[i].
std::vector<const rt::Control*> barsOf(const rt::Form& form)
{
    std::vector<const rt::Control*> bars;
    for (const auto& c : form.controls())
        if (form.barAccess(*c))
            bars.push_back(c.get());
    return bars;
}

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT text(const std::string& utf8, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (utf8.empty())
        return S_FALSE;
    const std::wstring w = wide(utf8);
    *out = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// A twips figure as a person writes it: whole numbers without a point, otherwise as few digits as needed.
std::string twips(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", value);
    return buffer;
}

// Clears the VARIANT a caller passed for an answer; false when it passed none.
bool clearAnswer(VARIANT* out)
{
    if (!out)
        return false;
    VariantInit(out);
    return true;
}

// A number (a child id, a role, state flags) as the answer.
HRESULT answer(VARIANT* out, long value)
{
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

// A position typed by a tool: a finite number of twips and nothing else but blanks around it.
std::optional<double> parsePosition(BSTR value)
{
    if (!value)
        return std::nullopt;
    wchar_t* end = nullptr;
    const double position = std::wcstod(value, &end);
    if (end == value)
        return std::nullopt;
    while (*end == L' ' || *end == L'\t')
        ++end;
    if (*end != L'\0' || !std::isfinite(position))
        return std::nullopt;
    return position;
}

}  // namespace

long accessibleChildId(const rt::Form& form, const rt::Control* bar)
{
    const std::vector<const rt::Control*> bars = barsOf(form);
    for (std::size_t i = 0; i < bars.size(); ++i)
        if (bars[i] == bar)
            return static_cast<long>(i + 1);
    return CHILDID_SELF;
}

WindowAccessible::WindowAccessible(FormWindow& window) : window_(&window) {}

rt::Form* WindowAccessible::form() const
{
    rt::Form* f = window_ ? window_->form() : nullptr;
    return f && f->loaded() ? f : nullptr;
}

const rt::Control* WindowAccessible::bar(const VARIANT& child) const
{
    const rt::Form* f = form();
    if (!f || child.vt != VT_I4 || child.lVal <= 0)
        return nullptr;
    const std::vector<const rt::Control*> bars = barsOf(*f);
    return static_cast<std::size_t>(child.lVal) <= bars.size() ? bars[child.lVal - 1] : nullptr;
}

bool WindowAccessible::known(const VARIANT& child) const { return form() && (isSelf(child) || bar(child)); }

HRESULT WindowAccessible::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG WindowAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG WindowAccessible::Release()
{
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT WindowAccessible::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return count ? S_OK : E_POINTER;
}
HRESULT WindowAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}
HRESULT WindowAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT WindowAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

HRESULT WindowAccessible::get_accParent(IDispatch** parent)
{
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    if (!form())
        return RPC_E_DISCONNECTED;
    // The window's own object, which the system provides.
    return AccessibleObjectFromWindow(window_->handle(), static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                      reinterpret_cast<void**>(parent));
}

HRESULT WindowAccessible::get_accChildCount(long* count)
{
    if (!count)
        return E_POINTER;
    const rt::Form* f = form();
    *count = f ? static_cast<long>(barsOf(*f).size()) : 0;
    return f ? S_OK : RPC_E_DISCONNECTED;
}

HRESULT WindowAccessible::get_accChild(VARIANT child, IDispatch** dispatch)
{
    if (!dispatch)
        return E_POINTER;
    *dispatch = nullptr;
    // The bars are simple elements, reached through this object with their child ids.
    return bar(child) ? S_FALSE : E_INVALIDARG;
}

HRESULT WindowAccessible::get_accName(VARIANT child, BSTR* name)
{
    if (!known(child))
        return text({}, name), E_INVALIDARG;
    const rt::Control* b = bar(child);
    return text(b ? form()->barAccess(*b)->name : std::string(form()->name()), name);
}

HRESULT WindowAccessible::get_accValue(VARIANT child, BSTR* value)
{
    const rt::Control* b = bar(child);
    if (!b)
        return text({}, value), known(child) ? S_FALSE : E_INVALIDARG;
    return text(twips(form()->barAccess(*b)->position), value);
}

HRESULT WindowAccessible::get_accDescription(VARIANT child, BSTR* description)
{
    if (!known(child))
        return text({}, description), E_INVALIDARG;
    const rt::Control* b = bar(child);
    return text(b ? b->name() : std::string(), description);
}

// IAccessible has no range: the help text gives it, with the place in words.
HRESULT WindowAccessible::get_accHelp(VARIANT child, BSTR* help)
{
    const rt::Control* b = bar(child);
    if (!b)
        return text({}, help), known(child) ? S_FALSE : E_INVALIDARG;
    const rt::BarAccess access = *form()->barAccess(*b);
    return text(access.place + "; position " + twips(access.position) + " twips, from " + twips(access.lowest) +
                    " to " + twips(access.highest),
                help);
}

HRESULT WindowAccessible::get_accRole(VARIANT child, VARIANT* role)
{
    if (!clearAnswer(role))
        return E_POINTER;
    if (!known(child))
        return E_INVALIDARG;
    return answer(role, bar(child) ? ROLE_SYSTEM_SEPARATOR : ROLE_SYSTEM_CLIENT);
}

HRESULT WindowAccessible::get_accState(VARIANT child, VARIANT* state)
{
    if (!clearAnswer(state))
        return E_POINTER;
    if (!known(child))
        return E_INVALIDARG;
    const HWND hwnd = window_->handle();
    const bool windowFocused = GetFocus() == hwnd;
    long flags = STATE_SYSTEM_FOCUSABLE;
    if (const rt::Control* b = bar(child)) {
        if (!b->visibleWithContainers() || !IsWindowVisible(hwnd))
            flags |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        if (form()->keyboardFocus() == b)
            flags |= STATE_SYSTEM_FOCUSED;
    } else if (windowFocused && !form()->keyboardFocus()) {
        flags |= STATE_SYSTEM_FOCUSED;
    }
    return answer(state, flags);
}

HRESULT WindowAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic)
{
    if (file)
        *file = nullptr;
    if (topic)
        *topic = -1;
    return S_FALSE;
}

HRESULT WindowAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return text(known(child) && !bar(child) ? std::string("F8") : std::string(), shortcut);
}

HRESULT WindowAccessible::get_accFocus(VARIANT* child)
{
    if (!clearAnswer(child))
        return E_POINTER;
    const rt::Form* f = form();
    if (!f)
        return RPC_E_DISCONNECTED;
    if (GetFocus() != window_->handle())
        return S_FALSE;
    return answer(child, accessibleChildId(*f, f->keyboardFocus()));
}

HRESULT WindowAccessible::get_accSelection(VARIANT* children)
{
    if (children)
        VariantInit(children);
    return S_FALSE;
}

HRESULT WindowAccessible::get_accDefaultAction(VARIANT child, BSTR* action)
{
    text({}, action);
    return known(child) ? S_FALSE : E_INVALIDARG;
}

HRESULT WindowAccessible::accSelect(long, VARIANT child) { return known(child) ? S_FALSE : E_INVALIDARG; }

HRESULT WindowAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    if (!known(child))
        return E_INVALIDARG;
    const HWND hwnd = window_->handle();
    RECT r{};
    GetClientRect(hwnd, &r);
    if (const rt::Control* b = bar(child)) {
        double x = 0, y = 0;
        form()->originOf(*b, x, y);
        const double perTwip = 1 / window_->twipsPerPixel();
        r = {static_cast<LONG>(std::lround(x * perTwip)), static_cast<LONG>(std::lround(y * perTwip)),
             static_cast<LONG>(std::lround((x + b->Width()) * perTwip)),
             static_cast<LONG>(std::lround((y + b->Height()) * perTwip))};
    }
    POINT corner{r.left, r.top};
    ClientToScreen(hwnd, &corner);
    *left = corner.x;
    *top = corner.y;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

HRESULT WindowAccessible::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (!clearAnswer(end))
        return E_POINTER;
    const rt::Form* f = form();
    if (!known(start))
        return E_INVALIDARG;
    const long count = static_cast<long>(barsOf(*f).size());
    long target = 0;
    if (isSelf(start))
        target = direction == NAVDIR_FIRSTCHILD ? 1 : direction == NAVDIR_LASTCHILD ? count : 0;
    else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT)
        target = start.lVal + 1;
    else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT)
        target = start.lVal - 1;
    if (target < 1 || target > count)
        return S_FALSE;
    return answer(end, target);
}

HRESULT WindowAccessible::accHitTest(long x, long y, VARIANT* child)
{
    if (!clearAnswer(child))
        return E_POINTER;
    const rt::Form* f = form();
    if (!f)
        return RPC_E_DISCONNECTED;
    POINT p{x, y};
    ScreenToClient(window_->handle(), &p);
    RECT client{};
    GetClientRect(window_->handle(), &client);
    if (!PtInRect(&client, p))
        return S_FALSE;
    const double tpp = window_->twipsPerPixel();
    return answer(child, accessibleChildId(*f, f->hitTest((p.x + 0.5) * tpp, (p.y + 0.5) * tpp)));
}

HRESULT WindowAccessible::accDoDefaultAction(VARIANT child) { return known(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG; }

HRESULT WindowAccessible::put_accName(VARIANT, BSTR) { return DISP_E_MEMBERNOTFOUND; }

// Lays the window out as a drag released at that position would; a bar the keyboard was moving is put
// down first, and tools are told the keyboard is back on the window.
HRESULT WindowAccessible::put_accValue(VARIANT child, BSTR value)
{
    const rt::Control* b = bar(child);
    if (!b)
        return known(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    const std::optional<double> position = parsePosition(value);
    if (!position)
        return E_INVALIDARG;
    rt::Form& f = *form();
    const std::string name = b->name();
    const rt::Control* focusBefore = f.keyboardFocus();
    f.runtime().setBarPosition(f, *b, *position);
    if (form() != &f)
        return S_OK;
    if (const rt::Control* moved = f.find(name))
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window_->handle(), OBJID_CLIENT, accessibleChildId(f, moved));
    window_->notifyFocus(focusBefore);
    return S_OK;
}

}  // namespace winhost
