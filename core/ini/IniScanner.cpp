// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini/IniScanner.h"

#include <cstring>

namespace varnock::ini {
namespace {

bool isLineBreak(char c) {
    return c == '\n' || c == '\r';
}
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t firstLineStart(std::string_view text) {
    return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

std::size_t skipBlanks(std::string_view text, std::size_t pos, std::size_t end) {
    while (pos < end && isBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

std::size_t trimBlanksBack(std::string_view text, std::size_t begin, std::size_t end) {
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return end;
}

// The first CR or LF at or after from, or the text's size. memchr is vectorised, and lone
// CRs are rare, so a second search inside the line is cheap.
std::size_t lineEnd(std::string_view text, std::size_t from) {
    const void* lf = std::memchr(text.data() + from, '\n', text.size() - from);
    const std::size_t limit =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) : text.size();
    const void* cr = std::memchr(text.data() + from, '\r', limit - from);
    return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - text.data()) : limit;
}

std::string_view sectionName(std::string_view text, const Line& line, std::size_t bracket) {
    const std::size_t close = text.substr(0, line.end).find(']', bracket);
    const std::size_t nameEnd = close == std::string_view::npos ? line.end : close;
    const std::size_t begin = skipBlanks(text, bracket + 1, nameEnd);
    return text.substr(begin, trimBlanksBack(text, begin, nameEnd) - begin);
}

}  // namespace

Line lineAt(std::string_view text, std::size_t begin) {
    const std::size_t end = lineEnd(text, begin);
    std::size_t next = end;
    if (end < text.size()) {
        next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n') {
            ++next;
        }
    }
    return {begin, end, next};
}

std::optional<Line> findSection(std::string_view text, std::string_view section) {
    const std::size_t start = firstLineStart(text);
    // Only "[" can open a section, so jump between them instead of walking every line.
    for (std::size_t pos = text.find('[', start); pos != std::string_view::npos;
         pos = text.find('[', pos)) {
        std::size_t lineBegin = pos;
        while (lineBegin > start && isBlank(text[lineBegin - 1])) {
            --lineBegin;
        }
        if (lineBegin != start && !isLineBreak(text[lineBegin - 1])) {
            ++pos;
            continue;
        }
        const Line line = lineAt(text, lineBegin);
        if (equalsIgnoringCase(sectionName(text, line, pos), section)) {
            return line;
        }
        if (line.next == line.end) {
            break;
        }
        pos = line.next;
    }
    return std::nullopt;
}

std::optional<KeyLine> KeyLines::next() {
    while (!m_atEnd) {
        const Line line = lineAt(m_text, m_pos);
        m_atEnd = line.next == line.end;
        m_pos = line.next;
        const std::size_t first = skipBlanks(m_text, line.begin, line.end);
        if (first == line.end || m_text[first] == ';') {
            continue;
        }
        if (m_text[first] == '[') {
            m_atEnd = true;
            break;
        }
        const void* eq = std::memchr(m_text.data() + first, '=', line.end - first);
        if (!eq) {
            continue;
        }
        const auto eqPos = static_cast<std::size_t>(static_cast<const char*>(eq) - m_text.data());
        const std::size_t nameEnd = trimBlanksBack(m_text, first, eqPos);
        const std::size_t valueBegin = skipBlanks(m_text, eqPos + 1, line.end);
        const std::size_t valueEnd = trimBlanksBack(m_text, valueBegin, line.end);
        return KeyLine{line, m_text.substr(first, nameEnd - first), valueBegin, valueEnd};
    }
    return std::nullopt;
}

std::string_view unquote(std::string_view raw) {
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') &&
        raw.back() == raw.front()) {
        return raw.substr(1, raw.size() - 2);
    }
    return raw;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace varnock::ini
