// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Read.h"

#include <new>
#include <string>

#include "platform/File.h"

namespace varnock::platform {

Result<OneRead> readOnce(const std::filesystem::path& path) {
    constexpr std::string_view kWhat = "Cannot read";
    auto opened = File::open(path, File::Access::Read);
    if (!opened) {
        if (opened.error().is(SystemError::Kind::NotFound)) {
            return OneRead{};
        }
        return failure(kWhat, path, opened.error());
    }
    const File& file = opened.value();
    const auto before = file.info();
    if (!before) {
        return failure(kWhat, path, before.error());
    }
    if (before.value().kind != FileType::Regular) {
        return notRegular(kWhat, path, before.value().kind == FileType::Folder);
    }
    if (Status allowed = sizeAllowed(kWhat, path, before.value().stamp.size); !allowed) {
        return allowed;
    }
    OneRead one;
    one.read.exists = true;
    std::string& bytes = one.read.bytes;
    // Told as the refusal it is, not as an error of the program.
    const auto grow = [&](std::size_t to) {
        try {
            bytes.resize(to);
            return Status::success();
        } catch (const std::bad_alloc&) {
            return Status::failure(describeFailure(kWhat, path,
                                                   "there is not enough memory left to read it (" +
                                                       std::to_string(to >> 20) + " MiB)"));
        }
    };
    // One byte more than expected, so that the end of the file is seen without growing.
    if (Status grown = grow(before.value().stamp.size + 1); !grown) {
        return grown;
    }
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            if (Status grown = grow(bytes.size() * 2); !grown) {
                return grown;
            }
        }
        const auto got = file.readAt(size, bytes.data() + size, bytes.size() - size);
        if (!got) {
            return failure(kWhat, path, got.error());
        }
        if (got.value() == 0) {
            break;
        }
        size += got.value();
        if (Status allowed = sizeAllowed(kWhat, path, size); !allowed) {
            return allowed;  // it grew while being read
        }
    }
    bytes.resize(size);
    const auto after = file.info();
    if (!after) {
        return failure(kWhat, path, after.error());
    }
    one.read.stamp = after.value().stamp;
    one.settled = after.value().stamp == before.value().stamp && size == one.read.stamp.size;
    return one;
}

}  // namespace varnock::platform
