// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini/IniText.h"

#include <gtest/gtest.h>

#include <string>

namespace varnock::ini {
namespace {

using namespace std::string_literals;

struct ReadCase {
    const char* name;
    std::string text;
    std::optional<std::string> expected;  // value of Archive 0 in [Archives]
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class IniReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReading, FindsWhatTheProfileApiFinds) {
    const auto found = findValue(GetParam().text, "Archives", "Archive 0");
    ASSERT_EQ(found.has_value(), GetParam().expected.has_value());
    if (found) {
        EXPECT_EQ(std::string(*found), *GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReading,
    ::testing::Values(
        ReadCase{"Lf", "[Archives]\nArchive 0=a.bsa\n", "a.bsa"},
        ReadCase{"CrLf", "[Archives]\r\nArchive 0=a.bsa\r\n", "a.bsa"},
        ReadCase{"LoneCr", "[Archives]\rArchive 0=a.bsa\rArchive 1=b\r", "a.bsa"},
        ReadCase{"LastLineWithoutEnding", "[Archives]\nArchive 0=a.bsa", "a.bsa"},
        ReadCase{"SpacesAroundEverything", "  [ Archives ]  \n \t Archive 0 \t=  a.bsa \t\n",
                 "a.bsa"},
        ReadCase{"TextAfterBracketIgnored", "[Archives] ; list\nArchive 0=a\n", "a"},
        ReadCase{"HeaderWithoutBracket", "[Archives\nArchive 0=a\n", "a"},
        ReadCase{"CaseBlindNames", "[ARCHIVES]\narchive 0=a\n", "a"},
        ReadCase{"NoInlineComments", "[Archives]\nArchive 0=a.bsa ; old\n", "a.bsa ; old"},
        ReadCase{"CommentNeverMatches", "[Archives]\n;Archive 0=x\n", std::nullopt},
        ReadCase{"IndentedComment", "[Archives]\n  ;Archive 0=x\nArchive 0=y\n", "y"},
        ReadCase{"LineWithoutEquals", "[Archives]\nArchive 0\n", std::nullopt},
        ReadCase{"SimilarNamesDoNotMatch",
                 "[Archives]\nArchive 00=a\nArchive 0 x=b\nArchive 10=c\nArchive 0=d\n", "d"},
        ReadCase{"FirstEqualsSplits", "[Archives]\nArchive 0=a=b\n", "a=b"},
        ReadCase{"EmptyValue", "[Archives]\nArchive 3=\nArchive 0=\n", ""},
        ReadCase{"DoubleQuotesRemoved", "[Archives]\nArchive 0=\"a b\"\n", "a b"},
        ReadCase{"SingleQuotesRemoved", "[Archives]\nArchive 0='a'\n", "a"},
        ReadCase{"OneQuoteKept", "[Archives]\nArchive 0=\"\n", "\""},
        ReadCase{"MixedQuotesKept", "[Archives]\nArchive 0=\"a'\n", "\"a'"},
        ReadCase{"OnlyOnePairRemoved", "[Archives]\nArchive 0=\"\"a\"\"\n", "\"a\""},
        ReadCase{"FirstKeyWins", "[Archives]\nArchive 0=a\nARCHIVE 0=b\n", "a"},
        ReadCase{"OnlyFirstSectionSearched", "[Archives]\nx=1\n[Other]\n[Archives]\nArchive 0=a\n",
                 std::nullopt},
        ReadCase{"SectionEndsAtNextHeader", "[Archives]\n[Other]\nArchive 0=a\n", std::nullopt},
        ReadCase{"KeysBeforeFirstHeaderNeverFound", "Archive 0=a\n[Archives]\n", std::nullopt},
        ReadCase{"BracketInsideLineIsNoHeader", "[Other]\nx=[Archives]\n[Archives]\nArchive 0=a\n",
                 "a"},
        ReadCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBF[Archives]\r\nArchive 0=a\r\n", "a"},
        ReadCase{"NulBytesAreOrdinary", "[Archives]\nArchive 0=a\0b\n"s, "a\0b"s},
        ReadCase{"HighBytesKept", "[Archives]\nArchive 0=\xE9t\xE9\n", "\xE9t\xE9"},
        ReadCase{"NoSection", "[Other]\nArchive 0=a\n", std::nullopt},
        ReadCase{"EmptyText", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniReadingLimits, HugeLinesAndManyBracketsStayLinear) {
    std::string text = "[Other]\n" + std::string(4 << 20, 'x') + "\n";
    for (int i = 0; i < 200000; ++i) {
        text += "v= [ [ [\n";
    }
    text += "[Archives]\nArchive 0=" + std::string(1 << 20, 'y');
    const auto found = findValue(text, "Archives", "Archive 0");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->size(), 1u << 20);
}

// Editing: every expectation is the whole text afterwards, byte for byte.
TEST(IniEditing, ChangesOnlyTheValueBytesOfAnExistingKey) {
    EXPECT_EQ(
        withValue("[archives]\r\n  ARCHIVE 0 =  old.bsa  \r\n", "Archives", "Archive 0", "n.bsa"),
        "[archives]\r\n  ARCHIVE 0 =  n.bsa  \r\n");
    EXPECT_EQ(withValue("[Archives]\nArchive 0=\"q\"\n", "Archives", "Archive 0", "r"),
              "[Archives]\nArchive 0=r\n");
    EXPECT_EQ(withValue("[Archives]\nArchive 3=\n", "Archives", "Archive 3", "d"),
              "[Archives]\nArchive 3=d\n");
}

TEST(IniEditing, LeavesTextAloneWhenNothingChanges) {
    EXPECT_FALSE(withValue("[Archives]\nArchive 0 = a\n", "Archives", "Archive 0", "a"));
    EXPECT_FALSE(withValue("[Archives]\nArchive 0=\"a\"\n", "Archives", "Archive 0", "a"));
    EXPECT_FALSE(withoutKey("[Archives]\nArchive 1=a\n", "Archives", "Archive 0"));
    EXPECT_FALSE(withoutKey("[Other]\nArchive 0=a\n", "Archives", "Archive 0"));
}

TEST(IniEditing, PutsANewKeyAfterItsNeighbourOrTheLastKeyLineOfItsSection) {
    EXPECT_EQ(withValue("[Archives]\r\nArchive 0=a\r\n; end\r\n\r\n[Next]\r\n", "Archives",
                        "Archive 1", "b"),
              "[Archives]\r\nArchive 0=a\r\nArchive 1=b\r\n; end\r\n\r\n[Next]\r\n");
    EXPECT_EQ(withValue("[Archives]\n\n[Next]\n", "Archives", "Archive 0", "a"),
              "[Archives]\nArchive 0=a\n\n[Next]\n");
    EXPECT_EQ(withValue("[Archives]\nArchive 0=a", "Archives", "Archive 1", "b"),
              "[Archives]\nArchive 0=a\nArchive 1=b");
    EXPECT_EQ(withValue("x\r[Archives]", "Archives", "Archive 0", "a"),
              "x\r[Archives]\rArchive 0=a");
    EXPECT_EQ(withValue("[Archives]\nArchive 0=a\n[Archives]\n", "Archives", "Archive 1", "b"),
              "[Archives]\nArchive 0=a\nArchive 1=b\n[Archives]\n");
    // Or after the key named to stand before it (a slot filled in a gap, after its neighbour).
    EXPECT_EQ(withValue("[Archives]\nArchive 5=e\nArchive 7=g\nArchive 8=h", "Archives",
                        "Archive 6", "f", "ARCHIVE 5"),
              "[Archives]\nArchive 5=e\nArchive 6=f\nArchive 7=g\nArchive 8=h");
    EXPECT_EQ(withValue("[Archives]\nArchive 7=g\n", "Archives", "Archive 6", "f", "Archive 5"),
              "[Archives]\nArchive 7=g\nArchive 6=f\n");
}

TEST(IniEditing, AppendsAMissingSectionAtTheEnd) {
    EXPECT_EQ(withValue("", "Archives", "Archive 0", "a"), "[Archives]\r\nArchive 0=a\r\n");
    EXPECT_EQ(withValue("[General]\nx=1", "Archives", "Archive 0", "a"),
              "[General]\nx=1\n[Archives]\nArchive 0=a\n");
    EXPECT_EQ(withValue("\xEF\xBB\xBF", "Archives", "Archive 0", "a"),
              "\xEF\xBB\xBF[Archives]\r\nArchive 0=a\r\n");
    EXPECT_EQ(withValue("Archive 0=stray\n", "Archives", "Archive 0", "a"),
              "Archive 0=stray\n[Archives]\nArchive 0=a\n");
}

TEST(IniEditing, RemovesExactlyTheKeyLinesAndNothingElse) {
    const std::string text =
        "[Archives]\r\nArchive 0=a\r\narchive 1 = b\r\nArchive 2=c\r\n[O]\r\nArchive 1=o\r\n";
    EXPECT_EQ(withoutKey(text, "Archives", "Archive 1"),
              "[Archives]\r\nArchive 0=a\r\nArchive 2=c\r\n[O]\r\nArchive 1=o\r\n");
    EXPECT_EQ(withoutKey("[Archives]\nArchive 0=a\nArchive 0=b\nk=v\n", "Archives", "Archive 0"),
              "[Archives]\nk=v\n");
    EXPECT_EQ(withoutKey("[Archives]\nArchive 0=a", "Archives", "Archive 0"), "[Archives]\n");
}

TEST(IniEditing, KeepsUnusualBytesOutsideTheKey) {
    const std::string text = "\xEF\xBB\xBF[G]\nz=\x80\xFF\0q\n[Archives]\nArchive 0=a\n"s;
    EXPECT_EQ(withValue(text, "Archives", "Archive 0", "b"),
              "\xEF\xBB\xBF[G]\nz=\x80\xFF\0q\n[Archives]\nArchive 0=b\n"s);
}

TEST(IniEditing, NamesAndValuesThatWouldNotReadBackAreFlagged) {
    for (const std::string& bad : {"a\rb"s, "a\nb"s, "a\0b"s, " a"s, "a\t"s, "\"a\""s, "'a'"s}) {
        EXPECT_TRUE(valueProblem(bad)) << bad;
    }
    for (const std::string good : {"", "a", "\"", "\"a", "a b", "x=y", "[a]", ";a"}) {
        EXPECT_FALSE(valueProblem(good)) << good;
    }
    for (const std::string bad : {"", "a=b", "[a", ";a", " a", "a\n"}) {
        EXPECT_TRUE(keyProblem(bad)) << bad;
    }
    for (const std::string bad : {"", "a]", " a", "a\r"}) {
        EXPECT_TRUE(sectionProblem(bad)) << bad;
    }
    EXPECT_FALSE(keyProblem("Archive 255"));
    EXPECT_FALSE(sectionProblem("Archives"));
}

}  // namespace
}  // namespace varnock::ini
