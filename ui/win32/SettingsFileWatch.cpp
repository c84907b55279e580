// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFileWatch.h"

#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "WatchedPaths.h"
#include "WideText.h"

namespace varnock::win32 {
namespace {

constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                           FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY;
constexpr DWORD kArmingMs = 1000;

// Whether one of the records concerns the list; an overflowed buffer (no records) may have.
bool namesFile(const std::vector<DWORD>& buffer, DWORD bytes, const std::wstring& name) {
    if (bytes == 0) {
        return true;
    }
    const auto* base = reinterpret_cast<const BYTE*>(buffer.data());
    for (DWORD offset = 0;;) {
        const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(base + offset);
        const int length = static_cast<int>(record->FileNameLength / sizeof(wchar_t));
        if (varnock::concernsList(utf8(std::wstring(record->FileName, length)), utf8(name))) {
            return true;
        }
        if (record->NextEntryOffset == 0) {
            return false;
        }
        offset += record->NextEntryOffset;
    }
}

}  // namespace

SettingsFileWatch::~SettingsFileWatch() {
    stop();
}

void SettingsFileWatch::watch(const std::string& path) {
    stop();
    if (path.empty()) {
        return;
    }
    const std::filesystem::path file(wide(path));
    const HANDLE folder =
        ::CreateFileW(file.parent_path().c_str(), FILE_LIST_DIRECTORY,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (folder == INVALID_HANDLE_VALUE) {
        return;  // the list is then refreshed by each action only
    }
    m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_armed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!m_stop || !m_armed) {
        ::CloseHandle(folder);
        stop();
        return;
    }
    m_thread = std::thread([this, folder, name = file.filename().wstring()] { run(folder, name); });
    // Bounded: a watch slow to start must not hold the window.
    ::WaitForSingleObject(m_armed, kArmingMs);
}

void SettingsFileWatch::stop() {
    if (m_thread.joinable()) {
        ::SetEvent(m_stop);
        m_thread.join();
    }
    if (m_stop) {
        ::CloseHandle(std::exchange(m_stop, nullptr));
    }
    if (m_armed) {
        ::CloseHandle(std::exchange(m_armed, nullptr));
    }
}

void SettingsFileWatch::run(HANDLE folder, std::wstring name) {
    std::vector<DWORD> buffer(16384);
    OVERLAPPED overlapped{};
    overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE waitFor[] = {m_stop, overlapped.hEvent};
    while (overlapped.hEvent) {
        ::ResetEvent(overlapped.hEvent);
        const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(DWORD));
        if (!::ReadDirectoryChangesW(folder, buffer.data(), size, TRUE, kChanges, nullptr,
                                     &overlapped, nullptr)) {
            break;
        }
        ::SetEvent(m_armed);
        if (::WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            ::CancelIo(folder);
            DWORD ignored = 0;
            ::GetOverlappedResult(folder, &overlapped, &ignored, TRUE);
            break;
        }
        DWORD bytes = 0;
        if (!::GetOverlappedResult(folder, &overlapped, &bytes, FALSE)) {
            break;
        }
        if (namesFile(buffer, bytes, name)) {
            ::PostMessageW(m_window, m_message, 0, 0);
        }
    }
    ::SetEvent(m_armed);
    if (overlapped.hEvent) {
        ::CloseHandle(overlapped.hEvent);
    }
    ::CloseHandle(folder);
}

}  // namespace varnock::win32
