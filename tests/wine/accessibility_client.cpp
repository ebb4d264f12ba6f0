// A small assistive tool for the tests under Wine: reads and sets the program's bars through IAccessible,
// from another process, as a screen reader would.
//   accessibility_client bars                  one line per bar of every window:
//                                              FORM BAR ROLE VALUE LOWEST HIGHEST FOCUSED NAME...
//   accessibility_client set FORM BAR VALUE    sets a bar's value; prints the value it then reads
//   accessibility_client focus SECONDS         prints "FORM BAR STATE" for each focus event in that time
//   accessibility_client show FORM STATE       minimises or restores a window, as the taskbar does:
//                                              STATE is minimize or restore
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Window {
    HWND hwnd;
    IAccessible* client;
    std::wstring form;
};

std::wstring take(BSTR text)
{
    std::wstring s = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return s;
}

VARIANT childId(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring nameOf(IAccessible* object, long id)
{
    BSTR text = nullptr;
    return SUCCEEDED(object->get_accName(childId(id), &text)) ? take(text) : L"";
}
std::wstring descriptionOf(IAccessible* object, long id)
{
    BSTR text = nullptr;
    return SUCCEEDED(object->get_accDescription(childId(id), &text)) ? take(text) : L"";
}
std::wstring valueOf(IAccessible* object, long id)
{
    BSTR text = nullptr;
    return SUCCEEDED(object->get_accValue(childId(id), &text)) ? take(text) : L"";
}
std::wstring helpOf(IAccessible* object, long id)
{
    BSTR text = nullptr;
    return SUCCEEDED(object->get_accHelp(childId(id), &text)) ? take(text) : L"";
}
long numberOf(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible* object, long id)
{
    VARIANT v;
    VariantInit(&v);
    return SUCCEEDED((object->*get)(childId(id), &v)) && v.vt == VT_I4 ? v.lVal : -1;
}

const wchar_t* roleName(long role)
{
    switch (role) {
    case ROLE_SYSTEM_SEPARATOR: return L"separator";
    case ROLE_SYSTEM_CLIENT: return L"client";
    case ROLE_SYSTEM_SLIDER: return L"slider";
    default: return L"other";
    }
}

BOOL CALLBACK collect(HWND hwnd, LPARAM list)
{
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (std::wcscmp(cls, L"SplitterFormWindow") != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    IAccessible* client = nullptr;
    const HRESULT result = AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                      reinterpret_cast<void**>(&client));
    if (FAILED(result) || !client) {
        std::wprintf(L"error: no accessible object for a window (%08lx)\n", static_cast<unsigned long>(result));
        return TRUE;
    }
    reinterpret_cast<std::vector<Window>*>(list)->push_back({hwnd, client, nameOf(client, CHILDID_SELF)});
    return TRUE;
}

std::vector<Window> windows()
{
    std::vector<Window> found;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The range is the end of the help text: "... from LOWEST to HIGHEST".
void printBar(const Window& w, long id)
{
    const std::wstring help = helpOf(w.client, id);
    const std::size_t from = help.rfind(L"from ");
    double lowest = -1, highest = -1;
    if (from != std::wstring::npos)
        std::swscanf(help.c_str() + from, L"from %lf to %lf", &lowest, &highest);
    const long state = numberOf(&IAccessible::get_accState, w.client, id);
    std::wprintf(L"%ls %ls %ls %ls %g %g %d %ls\n", w.form.c_str(), descriptionOf(w.client, id).c_str(),
                 roleName(numberOf(&IAccessible::get_accRole, w.client, id)), valueOf(w.client, id).c_str(), lowest,
                 highest, (state & STATE_SYSTEM_FOCUSED) ? 1 : 0, nameOf(w.client, id).c_str());
}

int listBars()
{
    for (const Window& w : windows()) {
        long count = 0;
        w.client->get_accChildCount(&count);
        for (long id = 1; id <= count; ++id)
            printBar(w, id);
    }
    return 0;
}

int setBar(const wchar_t* form, const wchar_t* bar, const wchar_t* value)
{
    for (const Window& w : windows()) {
        long count = 0;
        if (w.form != form || FAILED(w.client->get_accChildCount(&count)))
            continue;
        for (long id = 1; id <= count; ++id) {
            if (descriptionOf(w.client, id) != bar)
                continue;
            BSTR text = SysAllocString(value);
            const HRESULT result = w.client->put_accValue(childId(id), text);
            SysFreeString(text);
            std::wprintf(L"%ls %ls\n", SUCCEEDED(result) ? L"set" : L"refused", valueOf(w.client, id).c_str());
            return SUCCEEDED(result) ? 0 : 1;
        }
    }
    std::wprintf(L"no bar %ls in %ls\n", bar, form);
    return 1;
}

void CALLBACK focusEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    IAccessible* accessible = nullptr;
    VARIANT id;
    VariantInit(&id);
    if (FAILED(AccessibleObjectFromEvent(hwnd, object, child, &accessible, &id)) || !accessible)
        return;
    IAccessible* client = nullptr;
    AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&client));
    const std::wstring form = client ? nameOf(client, CHILDID_SELF) : L"?";
    const long state = numberOf(&IAccessible::get_accState, accessible, id.lVal);
    const std::wstring bar = descriptionOf(accessible, id.lVal);
    std::wprintf(L"%ls %ls %ls\n", form.c_str(), bar.empty() ? L"-" : bar.c_str(),
                 (state & STATE_SYSTEM_FOCUSED) ? L"focused" : L"unfocused");
    std::fflush(stdout);
    if (client)
        client->Release();
    accessible->Release();
}

int showWindow(const wchar_t* form, const wchar_t* state)
{
    const bool minimize = std::wcscmp(state, L"minimize") == 0;
    if (!minimize && std::wcscmp(state, L"restore") != 0)
        return 2;
    for (const Window& w : windows())
        if (w.form == form) {
            ShowWindow(w.hwnd, minimize ? SW_MINIMIZE : SW_RESTORE);
            return 0;
        }
    std::wprintf(L"no window %ls\n", form);
    return 1;
}

int watchFocus(double seconds)
{
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, focusEvent, 0, 0,
                                         WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (!hook)
        return 1;
    std::wprintf(L"watching\n");
    std::fflush(stdout);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    UnhookWinEvent(hook);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    CoInitialize(nullptr);
    int status = 2;
    if (argc == 2 && std::wcscmp(argv[1], L"bars") == 0)
        status = listBars();
    else if (argc == 5 && std::wcscmp(argv[1], L"set") == 0)
        status = setBar(argv[2], argv[3], argv[4]);
    else if (argc == 3 && std::wcscmp(argv[1], L"focus") == 0)
        status = watchFocus(std::wcstod(argv[2], nullptr));
    else if (argc == 4 && std::wcscmp(argv[1], L"show") == 0)
        status = showWindow(argv[2], argv[3]);
    if (status == 2)
        std::fwprintf(stderr, L"usage: accessibility_client bars | set FORM BAR VALUE | focus SECONDS | "
                              L"show FORM minimize|restore\n");
    std::fflush(stdout);
    CoUninitialize();
    return status;
}
