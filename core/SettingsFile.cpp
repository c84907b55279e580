// Varnock: keeps the archive list of an INI settings file.
#include "SettingsFile.h"

#include "IniText.h"
#include "PathHelpers.h"
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

}  // namespace

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
    const auto content = platform::readFile(m_path);
    if (!content) {
        return content.status();
    }
    const auto value = ini::findValue(content.value().text(), names->section, names->key);
    if (!value) {
        return std::string();
    }
    return platform::fromCodePage(value->substr(0, kValueCapacity - 1));
}

Result<std::string> SettingsFile::encodeValue(std::string_view value) {
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
    return std::move(*bytes);
}

std::optional<std::string> SettingsFile::whyUnstorable(std::string_view value) {
    const auto bytes = encodeValue(value);
    return bytes ? std::nullopt : std::optional<std::string>(bytes.reason());
}

Status SettingsFile::write(std::string_view section, std::string_view key,
                           std::string_view value) const {
    const auto bytes = encodeValue(value);
    if (!bytes) {
        return Status::failure("The value \"" + std::string(value) +
                               "\" cannot be stored in the settings file: " + bytes.reason() + ".");
    }
    return change(section, key, bytes.value());
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
    const auto content = platform::readFile(m_path);
    if (!content) {
        // Writing what could not be read whole would lose the rest of the file.
        return Status::failure(content.reason() + " The settings file was not changed.");
    }
    const std::string_view text = content.value().text();
    const auto changed = valueBytes ? ini::withValue(text, names->section, names->key, *valueBytes)
                                    : ini::withoutKey(text, names->section, names->key);
    if (!changed) {
        return Status::success();
    }
    return platform::replaceFile(m_path, *changed);
}

}  // namespace varnock
