// SPDX-License-Identifier: GPL-3.0-or-later
// Reads Varnock's windows back through the Win32 API for the end-to-end suite: one command a
// line on standard input, one JSON line on standard output for each.
//   snapshot  the main window, its controls, the list with each entry's marks, description
//             and the current entry, the focus, every dialog of the program, its tooltips and
//             its popup menus shown
//   redraw    has the main window and its controls drawn anew, at once
//   close     asks the main window to close, as its title bar button does
//   quit
#include <windows.h>

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "EntryItemData.h"
#include "PopupMenus.h"
#include "WindowLayout.h"

namespace {

constexpr int kFirstControlId = 100;

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string bytes(std::size_t(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), length, nullptr,
                          nullptr);
    return bytes;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += char(c);
        }
    }
    out += '"';
    return out;
}

std::string quoted(const std::wstring& text) {
    return quoted(utf8(text));
}

// A small JSON object writer: fields in the order added.
class Object {
public:
    Object& raw(const char* name, const std::string& value) {
        m_text += m_text.empty() ? "{" : ",";
        m_text += quoted(std::string(name));
        m_text += ':';
        m_text += value;
        return *this;
    }
    Object& text(const char* name, const std::wstring& value) { return raw(name, quoted(value)); }
    Object& number(const char* name, long long value) { return raw(name, std::to_string(value)); }
    Object& flag(const char* name, bool value) { return raw(name, value ? "true" : "false"); }
    std::string str() const { return m_text.empty() ? "{}" : m_text + "}"; }

private:
    std::string m_text;
};

std::string array(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += items[i];
    }
    out += ']';
    return out;
}

std::wstring windowText(HWND window) {
    std::vector<wchar_t> buffer(32768);
    const LRESULT length = ::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                                                 reinterpret_cast<LPARAM>(buffer.data()),
                                                 SMTO_ABORTIFHUNG, 2000, nullptr)
                               ? ::GetWindowTextLengthW(window)
                               : 0;
    (void)length;
    return buffer.data();
}

std::wstring className(HWND window) {
    wchar_t name[256] = L"";
    ::GetClassNameW(window, name, 256);
    return name;
}

std::string rectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    char text[64];
    std::snprintf(text, sizeof text, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
    return text;
}

std::wstring accessibleName(HWND window) {
    IAccessible* accessible = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                            IID_IAccessible,
                                            reinterpret_cast<void**>(&accessible)))) {
        return L"";
    }
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name) {
        result = name;
        ::SysFreeString(name);
    }
    accessible->Release();
    return result;
}

// What MSAA reports as the description of the list's entry (child ids start at 1).
std::wstring accessibleDescription(HWND list, long child) {
    IAccessible* accessible = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(list, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                            reinterpret_cast<void**>(&accessible)))) {
        return L"";
    }
    VARIANT which;
    which.vt = VT_I4;
    which.lVal = child;
    BSTR description = nullptr;
    std::wstring result;
    if (SUCCEEDED(accessible->get_accDescription(which, &description)) && description) {
        result = description;
        ::SysFreeString(description);
    }
    accessible->Release();
    return result;
}

std::string controlName(HWND window) {
    const int index = ::GetDlgCtrlID(window) - kFirstControlId;
    if (index >= 0 && index < int(varnock::kControls.size())) {
        return std::string(varnock::kControls[std::size_t(index)].name);
    }
    return utf8(className(window));
}

std::string describeControl(HWND window) {
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    return Object()
        .text("text", windowText(window))
        .text("class", className(window))
        .raw("rect", rectOf(window))
        .flag("visible", ::IsWindowVisible(window))
        .flag("enabled", ::IsWindowEnabled(window))
        .flag("tabstop", style & WS_TABSTOP)
        .number("style", style)
        .text("accName", accessibleName(window))
        .str();
}

std::string iconName(LRESULT marks) {
    switch (marks & varnock::win32::kEntryIconMask) {
        case varnock::win32::kEntryNotLoadedIcon:
            return quoted(std::string("notLoaded"));
        case varnock::win32::kEntryMissingIcon:
            return quoted(std::string("missing"));
        case varnock::win32::kEntryRegisteredTwiceIcon:
            return quoted(std::string("registeredTwice"));
        default:
            return "null";
    }
}

std::string flag(bool value) {
    return value ? "true" : "false";
}

std::string describeList(HWND list) {
    std::vector<std::string> items;
    std::vector<std::string> selected;
    std::vector<std::string> icons;
    std::vector<std::string> dimmed;
    std::vector<std::string> descriptions;
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0);
        std::wstring text(std::size_t(length > 0 ? length : 0) + 1, L'\0');
        ::SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::wcslen(text.c_str()));
        items.push_back(quoted(text));
        if (::SendMessageW(list, LB_GETSEL, WPARAM(i), 0) > 0) {
            selected.push_back(std::to_string(i));
        }
        LRESULT marks = ::SendMessageW(list, LB_GETITEMDATA, WPARAM(i), 0);
        marks = marks == LB_ERR ? 0 : marks;
        icons.push_back(iconName(marks));
        dimmed.push_back(flag(marks & varnock::win32::kEntryDimmed));
        descriptions.push_back(quoted(accessibleDescription(list, long(i) + 1)));
    }
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    return Object()
        .raw("items", array(items))
        .raw("selected", array(selected))
        .raw("icons", array(icons))
        .raw("dimmed", array(dimmed))
        .raw("descriptions", array(descriptions))
        .number("caret", ::SendMessageW(list, LB_GETCARETINDEX, 0, 0))
        .number("top", ::SendMessageW(list, LB_GETTOPINDEX, 0, 0))
        .number("itemHeight", ::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0))
        .str();
}

BOOL CALLBACK collect(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> childrenOf(HWND window) {
    std::vector<HWND> children;
    ::EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::string iconOf(HWND icon) {
    const auto shown = reinterpret_cast<HICON>(::SendMessageW(icon, STM_GETICON, 0, 0));
    if (!shown || !::IsWindowVisible(icon)) {
        return "null";
    }
    // Icon handles belong to the program that loaded them, so which one it is cannot be told
    // from here; that one is shown can.
    return quoted(std::string("shown"));
}

// A message box, the file dialog or the progress window: its texts, buttons and icon.
std::string describeDialog(HWND dialog) {
    std::vector<std::string> texts;
    std::vector<std::string> buttons;
    std::vector<std::string> edits;
    std::vector<std::string> combos;
    std::string icon = "null";
    for (const HWND child : childrenOf(dialog)) {
        if (!::IsWindowVisible(child)) {
            continue;
        }
        const std::wstring kind = className(child);
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(kind.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                icon = iconOf(child);
            } else if (::GetWindowTextLengthW(child) > 0) {
                texts.push_back(quoted(windowText(child)));
            }
        } else if (_wcsicmp(kind.c_str(), L"Button") == 0) {
            buttons.push_back(Object()
                                  .text("text", windowText(child))
                                  .raw("rect", rectOf(child))
                                  .flag("default", (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                                  .flag("enabled", ::IsWindowEnabled(child))
                                  .str());
        } else if (_wcsicmp(kind.c_str(), L"Edit") == 0) {
            edits.push_back(quoted(windowText(child)));
        } else if (_wcsicmp(kind.c_str(), L"ComboBox") == 0 && (style & 0x3) == CBS_DROPDOWNLIST) {
            combos.push_back(quoted(windowText(child)));
        } else if (_wcsicmp(kind.c_str(), L"msctls_progress32") == 0) {
            texts.push_back(
                quoted(L"progress " + std::to_wstring(::SendMessageW(child, PBM_GETPOS, 0, 0))));
        }
    }
    return Object()
        .text("title", windowText(dialog))
        .text("class", className(dialog))
        .raw("rect", rectOf(dialog))
        .number("dpi", ::GetDpiForWindow(dialog))
        .raw("texts", array(texts))
        .raw("buttons", array(buttons))
        .raw("edits", array(edits))
        .raw("combos", array(combos))
        .raw("icon", icon)
        .str();
}

struct Search {
    HWND main = nullptr;
    DWORD process = 0;
};

BOOL CALLBACK findMain(HWND window, LPARAM search) {
    auto* found = reinterpret_cast<Search*>(search);
    if (className(window) == L"VarnockMainWindow") {
        found->main = window;
        ::GetWindowThreadProcessId(window, &found->process);
        return FALSE;
    }
    return TRUE;
}

struct Owned {
    DWORD process = 0;
    HWND main = nullptr;
    std::vector<HWND> windows;
    std::vector<HWND> tooltips;
    std::vector<HWND> menus;
};

BOOL CALLBACK findOwned(HWND window, LPARAM owned) {
    auto* found = reinterpret_cast<Owned*>(owned);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != found->process || window == found->main || !::IsWindowVisible(window)) {
        return TRUE;
    }
    if (className(window) == L"tooltips_class32") {
        found->tooltips.push_back(window);
    } else if (className(window) == L"#32768") {
        found->menus.push_back(window);
    } else {
        found->windows.push_back(window);
    }
    return TRUE;
}

// A popup menu open: where it stands, and its items.
std::string describeMenu(HWND window) {
    std::vector<std::string> items;
    for (const varnock::probe::MenuItem& item : varnock::probe::popupMenuItems(window)) {
        items.push_back(Object()
                            .text("text", item.caption)
                            .flag("enabled", item.enabled)
                            .flag("highlighted", item.highlighted)
                            .str());
    }
    return Object().raw("rect", rectOf(window)).raw("items", array(items)).str();
}

std::string focusName(HWND focus, HWND main) {
    if (!focus) {
        return "null";
    }
    if (::GetParent(focus) == main) {
        return quoted(controlName(focus));
    }
    const HWND top = ::GetAncestor(focus, GA_ROOT);
    return quoted(utf8(windowText(top)) + "/" + utf8(className(focus)) + "/" +
                  utf8(windowText(focus)));
}

std::string snapshot() {
    Search search;
    ::EnumWindows(findMain, reinterpret_cast<LPARAM>(&search));
    if (!search.main) {
        return Object().raw("main", "null").str();
    }
    const HWND main = search.main;
    std::string controls;
    for (const HWND child : childrenOf(main)) {
        if (::GetParent(child) != main) {
            continue;
        }
        if (!controls.empty()) {
            controls += ',';
        }
        controls += quoted(controlName(child));
        controls += ':';
        controls += describeControl(child);
    }
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &thread);
    Owned owned{search.process, main, {}, {}, {}};
    ::EnumWindows(findOwned, reinterpret_cast<LPARAM>(&owned));
    std::vector<std::string> dialogs;
    for (const HWND dialog : owned.windows) {
        dialogs.push_back(describeDialog(dialog));
    }
    std::vector<std::string> tooltips;
    for (const HWND tip : owned.tooltips) {
        tooltips.push_back(quoted(windowText(tip)));
    }
    std::vector<std::string> menus;
    for (const HWND menu : owned.menus) {
        menus.push_back(describeMenu(menu));
    }
    RECT client{};
    ::GetClientRect(main, &client);
    POINT clientAt{0, 0};
    ::ClientToScreen(main, &clientAt);
    const HWND list = ::GetDlgItem(main, kFirstControlId + int(varnock::Control::lstArchives));
    return Object()
        .number("main", reinterpret_cast<long long>(main))
        .number("pid", search.process)
        .text("title", windowText(main))
        .raw("rect", rectOf(main))
        .raw("client", array({std::to_string(client.right), std::to_string(client.bottom)}))
        .raw("clientAt", array({std::to_string(clientAt.x), std::to_string(clientAt.y)}))
        .number("dpi", ::GetDpiForWindow(main))
        .flag("enabled", ::IsWindowEnabled(main))
        .number("style", ::GetWindowLongW(main, GWL_STYLE))
        .raw("controls", "{" + controls + "}")
        .raw("list", describeList(list))
        .raw("focus", focusName(thread.hwndFocus, main))
        .flag("active", thread.hwndActive == main)
        .raw("dialogs", array(dialogs))
        .raw("tooltips", array(tooltips))
        .raw("menus", array(menus))
        .str();
}

// What the screen should show: compared with what it showed before, whether a change left
// anything drawn out of date.
std::string redrawMain() {
    Search search;
    ::EnumWindows(findMain, reinterpret_cast<LPARAM>(&search));
    const bool redrawn = search.main && ::RedrawWindow(search.main, nullptr, nullptr,
                                                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME |
                                                           RDW_ALLCHILDREN | RDW_UPDATENOW);
    return Object().flag("redrawn", redrawn).str();
}

std::string closeMain() {
    Search search;
    ::EnumWindows(findMain, reinterpret_cast<LPARAM>(&search));
    const bool posted = search.main && ::PostMessageW(search.main, WM_CLOSE, 0, 0);
    return Object().flag("closed", posted).str();
}

}  // namespace

int main() {
    // Coordinates as the per-monitor-aware window has them, at every scale.
    ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string command;
    while (std::getline(std::cin, command)) {
        while (!command.empty() && (command.back() == '\r' || command.back() == ' ')) {
            command.pop_back();
        }
        if (command == "quit") {
            break;
        }
        std::string answer = "{\"error\":\"unknown\"}";
        if (command == "snapshot") {
            answer = snapshot();
        } else if (command == "redraw") {
            answer = redrawMain();
        } else if (command == "close") {
            answer = closeMain();
        }
        std::fwrite(answer.data(), 1, answer.size(), stdout);
        std::fputs("\n", stdout);
        std::fflush(stdout);
    }
    varnock::probe::stopReadingMenus();
    ::CoUninitialize();
    return 0;
}
