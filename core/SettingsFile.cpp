// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFile.h"

#include <chrono>
#include <thread>

#include "PathHelpers.h"
#include "ini/IniText.h"
#include "platform/Platform.h"

namespace varnock {
namespace {

struct Encoded {
    std::string section;
    std::string key;
};

std::optional<Encoded> encodeNames(std::string_view section, std::string_view key) {
    auto s = platform::toCodePage(section);
    auto k = platform::toCodePage(key);
    if (!s || !k || ini::sectionProblem(*s) || ini::keyProblem(*k)) {
        return std::nullopt;
    }
    return Encoded{std::move(*s), std::move(*k)};
}

// A file written this recently may be in the middle of being written.
constexpr std::chrono::milliseconds kQuietFor{100};
constexpr std::chrono::milliseconds kPauseBetweenReads{10};
constexpr std::chrono::seconds kLongestWait{1};
// Edits computed anew because another program changed the file in the meantime.
constexpr int kEditTries = 8;

bool writtenRecently(const platform::FileStamp& stamp) {
    using namespace std::chrono;
    const auto now = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return now - stamp.modified < duration_cast<nanoseconds>(kQuietFor).count();
}

bool agree(const platform::FileContent& a, const platform::FileContent& b) {
    return a.exists == b.exists && a.stamp == b.stamp && a.text() == b.text();
}

const std::string kKeepsChanging =
    "The settings file kept changing while Varnock read it; another program may be writing "
    "it. Try again in a moment.";

}  // namespace

Result<platform::FileContent> SettingsFile::snapshot() const {
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    std::optional<platform::FileContent> previous;
    for (;;) {
        auto read = platform::readFile(m_path);
        if (!read) {
            return read.status();
        }
        platform::FileContent content = std::move(read).value();
        const bool quiet = !content.exists || !writtenRecently(content.stamp);
        if (content.settled && (quiet || (previous && agree(*previous, content)))) {
            return content;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return Status::failure(kKeepsChanging);
        }
        previous = std::move(content);
        std::this_thread::sleep_for(kPauseBetweenReads);
    }
}

Status SettingsFile::edit(const Change& change, std::optional<platform::FileContent> start) const {
    for (int attempt = 0; attempt < kEditTries; ++attempt) {
        if (!start) {
            auto read = snapshot();
            if (!read) {
                // Writing what could not be read whole would lose the rest of the file.
                return Status::failure(read.reason() + " The settings file was not changed.");
            }
            start = std::move(read).value();
        }
        const auto changed = change(start->text());
        if (!changed) {
            return Status::success();
        }
        const auto saved = platform::replaceFile(m_path, *start, *changed);
        if (saved.outcome == platform::SaveOutcome::Saved) {
            return Status::success();
        }
        if (saved.outcome == platform::SaveOutcome::Failed) {
            return Status::failure(saved.reason);
        }
        start.reset();  // another program's change: compute this one again on its text
    }
    return Status::failure(kKeepsChanging + " The settings file was not changed.");
}

std::string SettingsFile::read(std::string_view section, std::string_view key) const {
    auto value = readChecked(section, key);
    return value ? std::move(value).value() : std::string();
}

Result<std::string> SettingsFile::readChecked(std::string_view section,
                                              std::string_view key) const {
    const auto names = encodeNames(section, key);
    if (!names) {
        return std::string();  // no such key can be in the file
    }
    const auto content = snapshot();
    if (!content) {
        return content.status();
    }
    const auto value = ini::findValue(content.value().text(), names->section, names->key);
    if (!value) {
        return std::string();
    }
    return platform::fromCodePage(value->substr(0, kValueCapacity - 1));
}

Result<StorableValue> SettingsFile::storable(std::string_view value) {
    auto bytes = platform::toCodePage(value);
    if (!bytes) {
        return Status::failure(
            "it holds characters that the settings file's code page cannot hold");
    }
    if (bytes->size() > kValueCapacity - 1) {
        return Status::failure("it is longer than " + std::to_string(kValueCapacity - 1) +
                               " characters");
    }
    if (auto problem = ini::valueProblem(*bytes)) {
        return Status::failure(std::move(*problem));
    }
    return StorableValue{std::string(value), std::move(*bytes)};
}

Status SettingsFile::write(std::string_view section, std::string_view key,
                           std::string_view value) const {
    const auto checked = storable(value);
    if (!checked) {
        return Status::failure("The value \"" + std::string(value) +
                               "\" cannot be stored in the settings file: " + checked.reason() +
                               ".");
    }
    return change(section, key, checked.value().bytes);
}

Status SettingsFile::remove(std::string_view section, std::string_view key) const {
    return change(section, key, std::nullopt);
}

Status SettingsFile::checkSaveable() const {
    return platform::checkSaveable(m_path);
}

Status SettingsFile::change(std::string_view section, std::string_view key,
                            std::optional<std::string_view> valueBytes) const {
    const auto names = encodeNames(section, key);
    if (!names) {
        return Status::failure("The key \"" + std::string(key) + "\" of section \"" +
                               std::string(section) + "\" cannot be stored in a settings file.");
    }
    return edit([&](std::string_view text) {
        return valueBytes ? ini::withValue(text, names->section, names->key, *valueBytes)
                          : ini::withoutKey(text, names->section, names->key);
    });
}

}  // namespace varnock
