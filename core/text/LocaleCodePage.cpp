// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/LocaleCodePage.h"

#include <cstdlib>

namespace varnock::text {
namespace {

struct LanguagePage {
    std::string_view language;  // ISO 639 code, or language_TERRITORY where that decides
    int codePage;
};

// As Wine's own table of locales gives them; the first match wins, so territories come first.
constexpr LanguagePage kPages[] = {
    {"zh_TW", 950}, {"zh_HK", 950}, {"zh_MO", 950}, {"zh", 936},  {"ja", 932},  {"ko", 949},
    {"ru", 1251},   {"uk", 1251},   {"be", 1251},   {"bg", 1251}, {"sr", 1251}, {"mk", 1251},
    {"kk", 1251},   {"ky", 1251},   {"tt", 1251},   {"mn", 1251}, {"pl", 1250}, {"cs", 1250},
    {"sk", 1250},   {"hu", 1250},   {"hr", 1250},   {"sl", 1250}, {"ro", 1250}, {"sq", 1250},
    {"bs", 1250},   {"el", 1253},   {"tr", 1254},   {"az", 1254}, {"he", 1255}, {"yi", 1255},
    {"ar", 1256},   {"fa", 1256},   {"ur", 1256},   {"lt", 1257}, {"lv", 1257}, {"et", 1257},
    {"vi", 1258},   {"th", 874},
};

}  // namespace

std::string localeFromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

int ansiCodePageOf(std::string_view locale) {
    // language[_TERRITORY][.codeset][@modifier]
    const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    if (name.starts_with("sr") && locale.ends_with("@latin")) {
        return 1250;  // Serbian written in the Latin script
    }
    for (const LanguagePage& page : kPages) {
        const bool withTerritory = page.language.find('_') != std::string_view::npos;
        const std::string_view part = withTerritory ? name : name.substr(0, name.find('_'));
        if (part == page.language) {
            return page.codePage;
        }
    }
    return 1252;
}

}  // namespace varnock::text
