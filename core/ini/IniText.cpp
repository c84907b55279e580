// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini/IniText.h"

#include "ini/IniScanner.h"

namespace varnock::ini {
namespace {

std::optional<std::string> lineSafetyProblem(std::string_view text) {
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        return "it holds a line break or a NUL character";
    }
    if (!text.empty() && (isBlank(text.front()) || isBlank(text.back()))) {
        return "it begins or ends with a space or a tab";
    }
    return std::nullopt;
}

std::string_view lineEnding(std::string_view text) {
    const std::size_t pos = text.find_first_of("\r\n");
    if (pos == std::string_view::npos) {
        return "\r\n";
    }
    if (text[pos] == '\n') {
        return "\n";
    }
    return pos + 1 < text.size() && text[pos + 1] == '\n' ? "\r\n" : "\r";
}

std::string spliced(std::string_view text, std::size_t at, std::size_t length,
                    std::string_view insert) {
    std::string out;
    out.reserve(text.size() - length + insert.size());
    out.append(text.substr(0, at)).append(insert).append(text.substr(at + length));
    return out;
}

std::string keyLineText(std::string_view key, std::string_view value) {
    std::string line(key);
    line.append("=").append(value);
    return line;
}

}  // namespace

std::optional<std::string_view> findValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
    const auto header = findSection(text, section);
    if (!header) {
        return std::nullopt;
    }
    KeyLines lines(text, *header);
    while (const auto line = lines.next()) {
        if (equalsIgnoringCase(line->name, key)) {
            return unquote(text.substr(line->valueBegin, line->valueEnd - line->valueBegin));
        }
    }
    return std::nullopt;
}

std::optional<std::string> sectionProblem(std::string_view section) {
    if (section.empty()) {
        return "the section name is empty";
    }
    if (section.find(']') != std::string_view::npos) {
        return "the section name holds \"]\"";
    }
    return lineSafetyProblem(section);
}

std::optional<std::string> keyProblem(std::string_view key) {
    if (key.empty()) {
        return "the key name is empty";
    }
    if (key.find('=') != std::string_view::npos) {
        return "the key name holds \"=\"";
    }
    if (key.front() == '[' || key.front() == ';') {
        return "the key name begins with \"[\" or \";\"";
    }
    return lineSafetyProblem(key);
}

std::optional<std::string> valueProblem(std::string_view value) {
    if (unquote(value).size() != value.size()) {
        return "it is enclosed in quotes, which the reader would remove";
    }
    return lineSafetyProblem(value);
}

std::optional<std::string> withValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value,
                                     std::string_view after) {
    const std::string_view eol = lineEnding(text);
    const auto header = findSection(text, section);
    if (!header) {
        std::string out(text);
        if (!out.empty() && out != kByteOrderMark && out.back() != '\n' && out.back() != '\r') {
            out.append(eol);
        }
        out.append("[").append(section).append("]").append(eol);
        return out.append(keyLineText(key, value)).append(eol);
    }
    Line anchor = *header;
    bool anchored = false;  // at the line of the key after
    KeyLines lines(text, *header);
    while (const auto line = lines.next()) {
        if (equalsIgnoringCase(line->name, key)) {
            const std::size_t length = line->valueEnd - line->valueBegin;
            if (unquote(text.substr(line->valueBegin, length)) == value) {
                return std::nullopt;
            }
            return spliced(text, line->valueBegin, length, value);
        }
        if (!anchored) {
            anchor = line->line;
            anchored = !after.empty() && equalsIgnoringCase(line->name, after);
        }
    }
    if (anchor.next == anchor.end) {  // the anchor is the last line and has no ending
        return spliced(text, anchor.end, 0, std::string(eol) + keyLineText(key, value));
    }
    return spliced(text, anchor.next, 0, keyLineText(key, value) + std::string(eol));
}

std::optional<std::string> withoutKey(std::string_view text, std::string_view section,
                                      std::string_view key) {
    return withoutKeys(text, section,
                       [&](std::string_view name) { return equalsIgnoringCase(name, key); });
}

std::optional<std::string> withoutKeys(std::string_view text, std::string_view section,
                                       const std::function<bool(std::string_view name)>& doomed) {
    const auto header = findSection(text, section);
    if (!header) {
        return std::nullopt;
    }
    // Every line of the key goes, so that a duplicate cannot surface as its value afterwards.
    std::string out;
    std::size_t copied = 0;
    KeyLines lines(text, *header);
    while (const auto line = lines.next()) {
        if (doomed(line->name)) {
            out.append(text.substr(copied, line->line.begin - copied));
            copied = line->line.next;
        }
    }
    if (copied == 0) {
        return std::nullopt;
    }
    return out.append(text.substr(copied));
}

}  // namespace varnock::ini
