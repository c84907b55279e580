// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <stdlib.h>

#include "text/LocaleCodePage.h"
#include "text/SingleByteCodePage.h"

namespace varnock::text {
namespace {

TEST(LocaleCodePageTest, TakesTheCodePageWineGivesTheLocale) {
    const std::pair<const char*, int> expected[] = {
        {"ru_RU.UTF-8", 1251}, {"uk_UA", 1251},       {"be_BY.UTF-8", 1251}, {"bg_BG", 1251},
        {"sr_RS", 1251},       {"sr_RS@latin", 1250}, {"pl_PL.UTF-8", 1250}, {"cs_CZ", 1250},
        {"hu_HU", 1250},       {"ro_RO", 1250},       {"el_GR.UTF-8", 1253}, {"tr_TR", 1254},
        {"he_IL", 1255},       {"ar_EG.UTF-8", 1256}, {"lt_LT", 1257},       {"et_EE", 1257},
        {"vi_VN", 1258},       {"th_TH.UTF-8", 874},  {"ja_JP.UTF-8", 932},  {"zh_CN", 936},
        {"zh_TW.UTF-8", 950},  {"ko_KR", 949},        {"de_DE.UTF-8", 1252}, {"en_US", 1252},
        {"C", 1252},           {"C.UTF-8", 1252},     {"POSIX", 1252},       {"", 1252},
    };
    for (const auto& [locale, codePage] : expected) {
        EXPECT_EQ(ansiCodePageOf(locale), codePage) << locale;
    }
}

#ifndef _WIN32  // the locale decides the code page only where Wine runs the other application
TEST(LocaleCodePageTest, LcAllThenLcCtypeThenLang) {
    ::setenv("LANG", "pl_PL.UTF-8", 1);
    ::setenv("LC_CTYPE", "", 1);
    ::setenv("LC_ALL", "", 1);
    EXPECT_EQ(localeFromEnvironment(), "pl_PL.UTF-8");
    ::setenv("LC_CTYPE", "ru_RU.UTF-8", 1);
    EXPECT_EQ(localeFromEnvironment(), "ru_RU.UTF-8");
    ::setenv("LC_ALL", "el_GR.UTF-8", 1);
    EXPECT_EQ(localeFromEnvironment(), "el_GR.UTF-8");
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        ::unsetenv(variable);
    }
    EXPECT_EQ(localeFromEnvironment(), "C");
}
#endif

TEST(SingleByteCodePageTest, EveryByteOfEveryPageConvertsBackToItself) {
    for (const int number : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
        const SingleByteCodePage* page = singleByteCodePage(number);
        ASSERT_NE(page, nullptr) << number;
        for (int byte = 0; byte < 256; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            EXPECT_EQ(page->encode(page->decode(one)), one) << number << " byte " << byte;
        }
    }
    EXPECT_EQ(singleByteCodePage(932), nullptr);
}

TEST(SingleByteCodePageTest, HoldsItsOwnScriptAndRefusesOthers) {
    const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82.bsa";  // Привет
    EXPECT_EQ(singleByteCodePage(1251)->encode(privet), "\xCF\xF0\xE8\xE2\xE5\xF2.bsa");
    EXPECT_EQ(singleByteCodePage(1251)->decode("\xCF\xF0\xE8\xE2\xE5\xF2.bsa"), privet);
    EXPECT_EQ(singleByteCodePage(1252)->encode(privet), std::nullopt);
    EXPECT_EQ(singleByteCodePage(1250)->encode("\xC5\x81\xC3\xB3"
                                               "d\xC5\xBA"),
              "\xA3\xF3\x64\x9F");
    EXPECT_EQ(singleByteCodePage(1253)->encode("\xCE\xA9"), "\xD9");  // Ω
    EXPECT_EQ(singleByteCodePage(1252)->encode("\xE2\x82\xAC"), "\x80");
    // Not valid UTF-8, and a character no page holds.
    EXPECT_EQ(singleByteCodePage(1252)->encode("\xC3"), std::nullopt);
    EXPECT_EQ(singleByteCodePage(1251)->encode("\xE4\xB8\xAD"), std::nullopt);
    // Unassigned bytes come back as they were, and stand for no real character.
    EXPECT_EQ(singleByteCodePage(1253)->decode("\xAA"), "\xEF\x9E\xAA");
    EXPECT_EQ(singleByteCodePage(1253)->encode("\xC2\xAA"), std::nullopt);  // ª
}

}  // namespace
}  // namespace varnock::text
