// Varnock: keeps the archive list of an INI settings file.
#include "IniScanner.h"

#include <cstring>

namespace varnock::ini {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
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

std::optional<KeyLine> findKey(std::string_view text, const Line& header, std::string_view key) {
    // Names are trimmed and end at the first "=", so a key that is empty, padded or holds
    // "=" or a line break follows the general rules rather than the shortcut below.
    const bool plainKey = !key.empty() && key.front() != ';' && !isBlank(key.front()) &&
                          !isBlank(key.back()) &&
                          key.find_first_of("=\r\n") == std::string_view::npos;
    if (!plainKey) {
        KeyLines lines(text, header);
        while (auto line = lines.next()) {
            if (equalsIgnoringCase(line->name, key)) {
                return line;
            }
        }
        return std::nullopt;
    }
    if (header.next == header.end) {
        return std::nullopt;
    }
    for (std::size_t pos = header.next; pos < text.size();) {
        const std::size_t first = skipBlanks(text, pos, text.size());
        if (first < text.size() && text[first] == '[') {
            return std::nullopt;
        }
        // Cheap rejections first: most lines of the section are other slots' keys, which
        // differ in length or in their last digit.
        if (text.size() - first > key.size() &&
            (text[first + key.size()] == '=' || isBlank(text[first + key.size()])) &&
            lowerAscii(text[first + key.size() - 1]) == lowerAscii(key.back()) &&
            equalsIgnoringCase(text.substr(first, key.size()), key)) {
            const std::size_t eq = skipBlanks(text, first + key.size(), text.size());
            if (eq < text.size() && text[eq] == '=') {
                // key cannot start with ";", so a match is never a comment line
                const Line line = lineAt(text, pos);
                const std::size_t valueBegin = skipBlanks(text, eq + 1, line.end);
                const std::size_t valueEnd = trimBlanksBack(text, valueBegin, line.end);
                return KeyLine{line, text.substr(first, key.size()), valueBegin, valueEnd};
            }
        }
        const std::size_t end = lineEnd(text, first);
        pos = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
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
