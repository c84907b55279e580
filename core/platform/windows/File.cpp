// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/File.h"

#include <algorithm>
#include <utility>

#include "platform/windows/Windows.h"

namespace varnock::platform {
namespace {

using windows::handleOf;

// FILETIME counts 100 ns steps from 1601; stamps count nanoseconds from 1970.
std::int64_t nanoseconds(std::int64_t ticks) {
    constexpr std::int64_t kFrom1601To1970 = 116444736000000000;
    return (ticks - kFrom1601To1970) * 100;
}

std::uint64_t joined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// The byte every Varnock locks, far beyond any file's end, so that the lock keeps no other
// program from reading or writing the file itself.
constexpr std::uint64_t kLockedByte = 0x7FFFFFFF00000000ull;

}  // namespace

const bool kReplacesOpenFiles = false;

SysResult<File> File::open(const std::filesystem::path& path, Access access) {
    DWORD rights = GENERIC_READ;
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS;  // so that a folder opens, to be told as one
    if (access == Access::Write) {
        rights = GENERIC_READ | GENERIC_WRITE;
        flags = FILE_ATTRIBUTE_NORMAL;
    } else if (access == Access::Inspect) {
        rights |= DELETE;
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    }
    const HANDLE opened = ::CreateFileW(path.c_str(), rights, windows::kShareAll, nullptr,
                                        OPEN_EXISTING, flags, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return SystemError::last();
    }
    return File(reinterpret_cast<std::intptr_t>(opened));
}

SysResult<std::optional<File>> File::createNew(const std::filesystem::path& path) {
    // Others may read it and take its name, not write it; the lock marks it as in use. It is
    // given the security of the file it is to replace.
    constexpr DWORD kRights = GENERIC_READ | GENERIC_WRITE | DELETE | WRITE_DAC | WRITE_OWNER;
    const HANDLE created = ::CreateFileW(path.c_str(), kRights, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                         nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_FILE_EXISTS || ::GetLastError() == ERROR_ALREADY_EXISTS) {
            return std::optional<File>();
        }
        return SystemError::last();
    }
    File file(reinterpret_cast<std::intptr_t>(created));
    const auto locked = file.tryLock();
    if (!locked || locked.value() == Lock::HeldElsewhere) {
        // What was made here goes again, or it would stay for good.
        file.close();
        ::DeleteFileW(path.c_str());
        if (!locked) {
            return locked.error();
        }
        return std::optional<File>();
    }
    return std::optional<File>(std::move(file));
}

void File::close() {
    if (m_handle != -1) {
        ::CloseHandle(handleOf(std::exchange(m_handle, -1)));
    }
}

SysResult<FileInfo> File::info() const {
    const HANDLE file = handleOf(m_handle);
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandle(file, &info) ||
        !::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
        return SystemError::last();
    }
    FileInfo out;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        out.kind = FileType::Folder;
    } else if (::GetFileType(file) == FILE_TYPE_DISK &&
               !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        out.kind = FileType::Regular;
    }
    const auto written = static_cast<std::int64_t>(
        joined(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime));
    out.stamp = {info.dwVolumeSerialNumber, joined(info.nFileIndexHigh, info.nFileIndexLow),
                 joined(info.nFileSizeHigh, info.nFileSizeLow), nanoseconds(written)};
    out.links = info.nNumberOfLinks;
    out.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    out.changed = nanoseconds(basic.ChangeTime.QuadPart);
    return out;
}

SysResult<std::size_t> File::readAt(std::uint64_t offset, char* into, std::size_t size) const {
    OVERLAPPED where = at(offset);
    DWORD got = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::ReadFile(handleOf(m_handle), into, chunk, &got, &where)) {
        if (::GetLastError() == ERROR_HANDLE_EOF) {
            return std::size_t{0};
        }
        return SystemError::last();
    }
    return std::size_t{got};
}

SysStatus File::writeAt(std::uint64_t offset, std::string_view bytes) const {
    while (!bytes.empty()) {
        OVERLAPPED where = at(offset);
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(handleOf(m_handle), bytes.data(), chunk, &written, &where)) {
            return SystemError::last();
        }
        if (written == 0) {
            return SystemError(ERROR_WRITE_FAULT);
        }
        bytes.remove_prefix(written);
        offset += written;
    }
    return kDone;
}

SysStatus File::truncate(std::uint64_t size) const {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(handleOf(m_handle), FileEndOfFileInfo, &end, sizeof end)) {
        return SystemError::last();
    }
    return kDone;
}

SysStatus File::reserve(std::uint64_t size) const {
    FILE_ALLOCATION_INFO space{};
    space.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(handleOf(m_handle), FileAllocationInfo, &space,
                                      sizeof space) &&
        !SystemError::last().is(SystemError::Kind::Unsupported)) {
        return SystemError::last();
    }
    return kDone;
}

SysStatus File::flush() const {
    if (!::FlushFileBuffers(handleOf(m_handle))) {
        return SystemError::last();
    }
    return kDone;
}

SysResult<File::Lock> File::tryLock() const {
    OVERLAPPED where = at(kLockedByte);
    if (::LockFileEx(handleOf(m_handle), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1,
                     0, &where)) {
        return Lock::Taken;
    }
    const SystemError error = SystemError::last();
    if (error.code() == ERROR_IO_PENDING || error.is(SystemError::Kind::Locked)) {
        return Lock::HeldElsewhere;
    }
    if (error.is(SystemError::Kind::Unsupported)) {
        return Lock::Unsupported;
    }
    return error;
}

SysStatus File::removeIfNamed(const std::filesystem::path&) const {
    // Removed through this very handle, so that it is this file whatever the name holds now.
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (!::SetFileInformationByHandle(handleOf(m_handle), FileDispositionInfo, &disposition,
                                      sizeof disposition)) {
        return SystemError::last();
    }
    return kDone;
}

}  // namespace varnock::platform
