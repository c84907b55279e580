// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFile.h"

#include "PathHelpers.h"
#include "ini/IniText.h"
#include "platform/ReadSettled.h"
#include "platform/ReplaceFile.h"
#include "platform/SaveTarget.h"
#include "text/CodePage.h"

namespace varnock {
namespace {

struct Encoded {
    std::string section;
    std::string key;
};

std::optional<Encoded> encodeNames(std::string_view section, std::string_view key) {
    auto s = text::toCodePage(section);
    auto k = text::toCodePage(key);
    if (!s || !k || ini::sectionProblem(*s) || ini::keyProblem(*k)) {
        return std::nullopt;
    }
    return Encoded{std::move(*s), std::move(*k)};
}

// Edits computed anew because another program changed the file in the meantime.
constexpr int kEditTries = 8;

const std::string kKeepsChanging =
    "The settings file kept changing while Varnock read it; another program may be writing "
    "it. Try again in a moment.";

}  // namespace

Result<FileRead> SettingsFile::snapshot() const {
    return platform::readSettled(m_path);
}

Status SettingsFile::edit(const Change& change, std::optional<FileRead> start) const {
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
        if (!saved) {
            return saved.status();
        }
        if (saved.value() == platform::SaveOutcome::Saved) {
            return Status::success();
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
    return text::fromCodePage(value->substr(0, kValueCapacity - 1));
}

Result<StorableValue> SettingsFile::storable(std::string_view value) {
    auto bytes = text::toCodePage(value);
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
