// SPDX-License-Identifier: GPL-3.0-or-later
// Finding sections and key lines in INI text; shared by reading and editing.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace varnock::ini {

// A UTF-8 byte-order mark: where it opens a file, it belongs to no line's text.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Spaces and tabs: what is trimmed around names and values.
inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// One line: its content is [begin, end); next is where the following line starts
// (equal to end when the line is the last and has no line ending).
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

struct KeyLine {
    Line line;
    std::string_view name;
    // The trimmed value as written, quotes included: [valueBegin, valueEnd).
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

Line lineAt(std::string_view text, std::size_t begin);

// The header line of the first section named section.
std::optional<Line> findSection(std::string_view text, std::string_view section);

// Iterates the key lines of the section whose header is given, up to the next section.
class KeyLines {
public:
    KeyLines(std::string_view text, const Line& header) : m_text(text), m_pos(header.next) {
        m_atEnd = header.next == header.end;
    }
    std::optional<KeyLine> next();

private:
    std::string_view m_text;
    std::size_t m_pos;
    bool m_atEnd;
};

// The value as the reader sees it: one pair of equal enclosing quotes removed.
std::string_view unquote(std::string_view raw);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace varnock::ini
