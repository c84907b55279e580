// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopupMenus.h"

#include "MenuReading.h"

namespace varnock::probe {
namespace {

struct Reader {
    std::wstring modulePath;
    HMODULE module = nullptr;
    HHOOK hook = nullptr;
    DWORD thread = 0;
    HANDLE mapping = nullptr;
};

Reader reader;

// Writes the hook module carried as a resource to a file of its own; the process the hook goes
// into loads it from there.
std::wstring writeModule() {
    const HRSRC found = ::FindResourceW(nullptr, kReaderResource, RT_RCDATA);
    const HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) {
        return {};
    }
    wchar_t folder[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"varnock_menu_reader_" +
                              std::to_wstring(::GetCurrentProcessId()) + L".dll";
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    DWORD written = 0;
    const DWORD size = ::SizeofResource(nullptr, found);
    const bool whole = ::WriteFile(file, bytes, size, &written, nullptr) && written == size;
    ::CloseHandle(file);
    return whole ? path : std::wstring();
}

// Hooks the thread that made menuWindow, once for each thread.
bool hookThreadOf(HWND menuWindow) {
    const DWORD thread = ::GetWindowThreadProcessId(menuWindow, nullptr);
    if (reader.hook && reader.thread == thread) {
        return true;
    }
    if (reader.hook) {
        ::UnhookWindowsHookEx(reader.hook);
        reader.hook = nullptr;
    }
    if (!reader.module) {
        reader.modulePath = writeModule();
        reader.module =
            reader.modulePath.empty() ? nullptr : ::LoadLibraryW(reader.modulePath.c_str());
    }
    const auto proc = reader.module ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                          ::GetProcAddress(reader.module, "readMenuHook")))
                                    : nullptr;
    reader.hook = proc ? ::SetWindowsHookExW(WH_CALLWNDPROC, proc, reader.module, thread) : nullptr;
    reader.thread = thread;
    return reader.hook != nullptr;
}

std::vector<MenuItem> parsed(const wchar_t* text) {
    std::vector<MenuItem> items;
    for (const wchar_t* line = text; line[0] && line[1];) {
        const wchar_t* end = line;
        while (*end && *end != L'\n') {
            ++end;
        }
        items.push_back({std::wstring(line + 2, end), line[0] == L'1', line[1] == L'1'});
        line = *end ? end + 1 : end;
    }
    return items;
}

}  // namespace

std::vector<MenuItem> popupMenuItems(HWND menuWindow) {
    if (!reader.mapping) {
        reader.mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              kMenuBytes, kMenuMapping);
    }
    if (!reader.mapping || !hookThreadOf(menuWindow)) {
        return {};
    }
    auto* view = static_cast<wchar_t*>(
        ::MapViewOfFile(reader.mapping, FILE_MAP_ALL_ACCESS, 0, 0, kMenuBytes));
    if (!view) {
        return {};
    }
    view[0] = L'\0';
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(menuWindow, ::RegisterWindowMessageW(kReadMenuMessage), 0, 0,
                          SMTO_ABORTIFHUNG, 2000, &ignored);
    std::vector<MenuItem> items = parsed(view);
    ::UnmapViewOfFile(view);
    return items;
}

void stopReadingMenus() {
    if (reader.hook) {
        ::UnhookWindowsHookEx(reader.hook);
    }
    if (reader.module) {
        ::FreeLibrary(reader.module);
        // Still loaded where the program has not yet ended: then it stays with the temporary
        // files.
        ::DeleteFileW(reader.modulePath.c_str());
    }
    if (reader.mapping) {
        ::CloseHandle(reader.mapping);
    }
    reader = {};
}

}  // namespace varnock::probe
