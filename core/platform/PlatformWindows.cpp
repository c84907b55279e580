// SPDX-License-Identifier: GPL-3.0-or-later
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "PathHelpers.h"
#include "ini/Utf8.h"
#include "platform/Platform.h"
#include "platform/PlatformCommon.h"

namespace varnock::platform {
namespace {

namespace fs = std::filesystem;

std::string systemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "error " + std::to_string(error);
    }
    return utf8FromPath(fs::path(text));
}

Status failure(std::string_view what, const fs::path& path, DWORD error) {
    return Status::failure(describeFailure(what, path, systemMessage(error)));
}

class Handle {
public:
    explicit Handle(HANDLE h) : m_handle(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (valid()) {
            ::CloseHandle(m_handle);
        }
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE get() const { return m_handle; }
    bool close() { return ::CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE m_handle;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            if (::GetLastError() == ERROR_SUCCESS) {
                ::SetLastError(ERROR_WRITE_FAULT);
            }
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// The file a link or junction points to is the one to replace; the link itself survives.
fs::path resolveLinks(const fs::path& path) {
    Handle file(::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        return path;
    }
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file.get(), buffer.data(),
                                               static_cast<DWORD>(buffer.size()), 0);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(file.get(), buffer.data(),
                                             static_cast<DWORD>(buffer.size()), 0);
    }
    if (length == 0 || length >= buffer.size()) {
        return path;
    }
    buffer.resize(length);
    return fs::path(buffer);
}

// A new, hidden file beside target, its name reserved by creating it empty, that takes
// target's place on commit and is deleted otherwise.
class TemporarySibling {
public:
    explicit TemporarySibling(const fs::path& target) {
        const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(L".");
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate =
                folder / (L"." + target.filename().wstring() + L"." +
                          std::to_wstring(::GetCurrentProcessId()) + L"-" +
                          std::to_wstring(::GetTickCount() + attempt) + L".tmp");
            const HANDLE created = ::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (created != INVALID_HANDLE_VALUE) {
                ::CloseHandle(created);
                m_path = candidate;
                return;
            }
            m_error = ::GetLastError();
            if (m_error != ERROR_FILE_EXISTS) {
                return;
            }
        }
    }
    TemporarySibling(const TemporarySibling&) = delete;
    TemporarySibling& operator=(const TemporarySibling&) = delete;
    ~TemporarySibling() {
        if (!m_path.empty()) {
            ::DeleteFileW(m_path.c_str());
        }
    }

    bool created() const { return !m_path.empty(); }
    DWORD error() const { return m_error; }
    const fs::path& path() const { return m_path; }
    // The file has taken target's place: there is nothing left to delete.
    void committed() { m_path.clear(); }

private:
    fs::path m_path;
    DWORD m_error = ERROR_SUCCESS;
};

// Moves a flushed temporary file onto target in one step.
bool moveIntoPlace(const fs::path& temporary, const fs::path& target) {
    return ::MoveFileExW(temporary.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

Status rewriteInPlace(const fs::path& target, std::string_view bytes) {
    Handle file(::CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return failure("Cannot write", target, ::GetLastError());
    }
    // Reserving the new size first means a full disk fails before any old byte is overwritten.
    LARGE_INTEGER size{};
    size.QuadPart = static_cast<LONGLONG>(bytes.size());
    LARGE_INTEGER start{};
    const bool ok = ::SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) &&
                    ::SetEndOfFile(file.get()) &&
                    ::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) &&
                    writeAll(file.get(), bytes) && ::FlushFileBuffers(file.get()) && file.close();
    return ok ? Status::success() : failure("Cannot write", target, ::GetLastError());
}

std::wstring wideFromCodePage(UINT codePage, std::string_view bytes, DWORD flags) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, bytes.data(), size, wide.data(), length);
    return wide;
}

// The file's identity, size and last write time; nothing when they cannot be had.
std::optional<FileStamp> stampOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info)) {
        return std::nullopt;
    }
    // FILETIME counts 100 ns steps from 1601; stamps count nanoseconds from 1970.
    constexpr std::int64_t kFrom1601To1970 = 116444736000000000;
    const auto ticks = (static_cast<std::int64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                       info.ftLastWriteTime.dwLowDateTime;
    return FileStamp{info.dwVolumeSerialNumber,
                     (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                     (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                     (ticks - kFrom1601To1970) * 100};
}

// How a save of a settings file goes: through a new file beside it, or in place where the
// folder does not allow one.
struct SavePlan {
    fs::path target;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;   // of the file as it is; invalid for a new file
    std::unique_ptr<TemporarySibling> temporary;  // null: rewrite in place
    bool exists() const { return attributes != INVALID_FILE_ATTRIBUTES; }
};

Result<SavePlan> planSave(const fs::path& path) {
    SavePlan plan;
    plan.target = resolveLinks(path);
    plan.attributes = ::GetFileAttributesW(plan.target.c_str());
    // A file its owner made read-only is not to be changed, whatever the move would allow.
    if (plan.exists() && (plan.attributes & FILE_ATTRIBUTE_READONLY)) {
        return failure("Cannot save", plan.target, ERROR_ACCESS_DENIED);
    }
    plan.temporary = std::make_unique<TemporarySibling>(plan.target);
    if (!plan.temporary->created()) {
        const DWORD error = plan.temporary->error();
        if (!(plan.exists() && error == ERROR_ACCESS_DENIED)) {
            return failure("Cannot save", plan.target, error);
        }
        plan.temporary.reset();
    }
    return plan;
}

}  // namespace

// Windows keeps no file open between a read and the save that checks it: an open file could
// not be replaced. stillAsRead opens it anew instead.
class OpenFile {};

void OpenFileCloser::operator()(OpenFile* file) const {
    delete file;
}

Result<FileContent> readFile(const fs::path& path) {
    Handle file(::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return FileContent{};
        }
        return failure("Cannot read", path, error);
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        return Status::failure(describeFailure("Cannot read", path, "it is not a regular file"));
    }
    const auto before = stampOf(file.get());
    if (!before) {
        return failure("Cannot read", path, ::GetLastError());
    }
    if (auto tooLarge = tooLargeForSettings("Cannot read", path, before->size)) {
        return Status::failure(*tooLarge);
    }
    auto content = FileContent::forReading(static_cast<std::size_t>(before->size));
    for (;;) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.makeRoom(), 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(file.get(), content.data.get() + content.size, chunk, &got, nullptr)) {
            return failure("Cannot read", path, ::GetLastError());
        }
        if (got == 0) {
            break;
        }
        content.size += got;
        if (auto tooLarge = tooLargeForSettings("Cannot read", path, content.size)) {
            return Status::failure(*tooLarge);  // it grew while being read
        }
    }
    const auto after = stampOf(file.get());
    if (!after) {
        return failure("Cannot read", path, ::GetLastError());
    }
    content.stamp = *after;
    content.settled = *after == *before && content.size == after->size;
    return content;
}

Result<bool> stillAsRead(const fs::path& path, const FileContent& content) {
    auto now = readFile(path);
    if (!now) {
        return now.status();
    }
    if (!now.value().exists || !content.exists) {
        return now.value().exists == content.exists;
    }
    return now.value().stamp == content.stamp && now.value().text() == content.text();
}

Status checkSaveable(const fs::path& path) {
    const auto plan = planSave(path);  // the new file it made goes with it
    return plan ? Status::success() : plan.status();
}

SaveResult replaceFile(const fs::path& path, const FileContent& expected, std::string_view bytes) {
    if (auto tooLarge = tooLargeForSettings("Cannot save", path, bytes.size())) {
        return {SaveOutcome::Failed, *tooLarge};
    }
    const auto plan = planSave(path);
    if (!plan) {
        return saveFailed(plan.status());
    }
    const fs::path& target = plan.value().target;
    TemporarySibling* temporary = plan.value().temporary.get();
    const DWORD attributes = plan.value().attributes;
    const bool exists = plan.value().exists();
    if (!temporary) {
        if (auto refused = refusalUnlessAsRead(target, expected)) {
            return *refused;
        }
        const Status written = rewriteInPlace(target, bytes);
        return written ? SaveResult{SaveOutcome::Saved, {}} : saveFailed(written);
    }
    Handle file(::CreateFileW(temporary->path().c_str(), GENERIC_WRITE, 0, nullptr,
                              TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || !writeAll(file.get(), bytes) || !::FlushFileBuffers(file.get()) ||
        !file.close()) {
        return saveFailed(failure("Cannot save", target, ::GetLastError()));
    }
    // Checked after the slow part, so that the window in which another program's change
    // could be lost is as short as a replace.
    if (auto refused = refusalUnlessAsRead(target, expected)) {
        return *refused;
    }
    // ReplaceFileW keeps the old file's attributes, security and streams; where the file
    // system refuses it, a plain write-through move still replaces the file whole.
    const bool replaced =
        (exists && ::ReplaceFileW(target.c_str(), temporary->path().c_str(), nullptr,
                                  REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                                  nullptr, nullptr)) ||
        moveIntoPlace(temporary->path(), target);
    if (!replaced) {
        return saveFailed(failure("Cannot save", target, ::GetLastError()));
    }
    temporary->committed();
    // Hidden, system and archive flags stay where a replacement does not carry them over.
    if (exists && ::GetFileAttributesW(target.c_str()) != attributes) {
        ::SetFileAttributesW(target.c_str(), attributes);
    }
    return {SaveOutcome::Saved, {}};
}

CopyResult copyFile(const fs::path& source, const fs::path& destination,
                    const CopyProgress& progress) {
    const auto failed = [](std::string_view what, const fs::path& path, DWORD error) {
        return CopyResult{CopyOutcome::Failed, failure(what, path, error).reason()};
    };
    Handle in(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!in.valid() || !::GetFileSizeEx(in.get(), &size)) {
        return failed("Cannot read", source, ::GetLastError());
    }
    TemporarySibling out(destination);
    if (!out.created()) {
        return failed("Cannot create a file in", destination.parent_path(), out.error());
    }
    Handle file(::CreateFileW(out.path().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return failed("Cannot copy to", destination, ::GetLastError());
    }
    // Copied in chunks rather than by CopyFileExW, so that progress and Cancel work the same
    // on every system that runs this.
    auto buffer = std::make_unique_for_overwrite<char[]>(kCopyChunk);
    const auto result =
        copyInChunks(static_cast<std::uint64_t>(size.QuadPart), progress,
                     [&](std::uint64_t) -> Result<std::uint64_t> {
                         DWORD got = 0;
                         if (!::ReadFile(in.get(), buffer.get(), static_cast<DWORD>(kCopyChunk),
                                         &got, nullptr)) {
                             return failure("Cannot read", source, ::GetLastError());
                         }
                         if (got > 0 && !writeAll(file.get(), {buffer.get(), got})) {
                             return failure("Cannot copy to", destination, ::GetLastError());
                         }
                         return std::uint64_t{got};
                     });
    if (result.outcome != CopyOutcome::Copied) {
        return result;
    }
    // The copy is the same archive: same date, so that tools that compare dates see no change.
    FILETIME written{};
    if (!::GetFileTime(in.get(), nullptr, nullptr, &written) ||
        !::SetFileTime(file.get(), nullptr, nullptr, &written) || !::FlushFileBuffers(file.get()) ||
        !file.close() || !moveIntoPlace(out.path(), destination)) {
        return failed("Cannot copy to", destination, ::GetLastError());
    }
    out.committed();
    return {CopyOutcome::Copied, {}};
}

std::optional<std::string> toCodePage(std::string_view utf8) {
    if (!isValidUtf8(utf8)) {
        return std::nullopt;
    }
    const UINT codePage = ::GetACP();
    if (codePage == CP_UTF8) {
        return std::string(utf8);
    }
    const std::wstring wide = wideFromCodePage(CP_UTF8, utf8, 0);
    if (wide.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                             nullptr, 0, nullptr, &usedDefault);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length,
                          nullptr, &usedDefault);
    // The round trip catches what the flags do not, such as a lone surrogate in a DBCS page.
    if (length == 0 || usedDefault || wideFromCodePage(codePage, bytes, 0) != wide) {
        return std::nullopt;
    }
    return bytes;
}

std::string fromCodePage(std::string_view bytes) {
    const UINT codePage = ::GetACP();
    const std::wstring wide = wideFromCodePage(codePage, bytes, 0);
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = wide[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < wide.size()) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[++i] - 0xDC00);
        }
        appendUtf8(utf8, cp);
    }
    return utf8;
}

}  // namespace varnock::platform
