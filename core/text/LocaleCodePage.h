// SPDX-License-Identifier: GPL-3.0-or-later
// The ANSI code page that Wine gives programs under a Unix locale: the one the other
// application reads its settings file with, where it runs under Wine.
#pragma once

#include <string>
#include <string_view>

namespace varnock::text {

// The locale's name as Wine takes it: LC_ALL, then LC_CTYPE, then LANG, the first one set and
// not empty; "C" when none is.
std::string localeFromEnvironment();

// The ANSI code page of a locale such as "ru_RU.UTF-8" or "pl_PL": 1251 for Cyrillic ones,
// 1250 for Central European, 1253 Greek, 1254 Turkish, 1255 Hebrew, 1256 Arabic, 1257
// Baltic, 1258 Vietnamese, 874 Thai, 932, 936, 949 or 950 for Japanese, simplified Chinese,
// Korean and traditional Chinese, and 1252 for every other one, C and POSIX included.
int ansiCodePageOf(std::string_view locale);

}  // namespace varnock::text
