// The text, number, code-page, time and date rules shared by every subsystem.
#include "engine_support.h"
#include "platform/text/Clock.h"
#include "platform/text/CodePage.h"
#include "platform/text/Cp850Conversion.h"
#include "platform/text/OutputText.h"
#include "platform/text/RaceTime.h"
#include "platform/text/TextRules.h"

#include <clocale>
#include <locale.h>

using namespace tarnis;
using tarnis::enginetest::errorOf;

TEST(TextRules, TrimAndValReadBlanksAndLeadingNumbers) {
    EXPECT_EQ(textrules::Trim(QStringLiteral("  M40 ")), QStringLiteral("M40"));
    EXPECT_EQ(textrules::Trim(QStringLiteral("\tM40\r\n")), QStringLiteral("\tM40\r\n"));  // blanks only
    EXPECT_EQ(textrules::LTrim(QStringLiteral("  a ")) + textrules::RTrim(QStringLiteral("  a ")) + textrules::Trim(QStringLiteral("   ")),
              QStringLiteral("a   a"));
    const struct { const char *text; double value; } cases[] = {
        {"12abc", 12}, {"  3.5 km", 3.5}, {"1 2 3", 123},   {"-7", -7},      {"abc", 0},     {"", 0},  {"2,5", 2},
        {"1e3", 1000}, {"1.5D2", 150},    {"&HFF", 255},    {"&HFFFF", -1},  {"&O17", 15},   {"\t\n42", 42},
        {".5", 0.5},   {"-", 0}};
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(textrules::Val(QString::fromUtf8(c.text)), c.value) << c.text;
}

// A number beyond a double is an overflow, never a silent 0.
TEST(TextRules, ValOfHugeNumbersOverflows) {
    EXPECT_EQ(errorOf([] { textrules::Val("1e4001"); }), err::Overflow);
    EXPECT_EQ(errorOf([] { textrules::Val("11e400 km"); }), err::Overflow);
    EXPECT_EQ(errorOf([] { textrules::CLng(QStringLiteral("1e400")); }), err::Overflow);
    EXPECT_DOUBLE_EQ(textrules::Val("1e-400"), 0);
    EXPECT_FALSE(textrules::IsNumeric("1e400"));
    EXPECT_EQ(textrules::readNumber("1e400", 7), 7);
    // Readers whose own range check handles it take the same number unbounded.
    const std::pair<const char *, double> unbounded[] = {{"1e400", HUGE_VAL}, {"-1e400 km", -HUGE_VAL},
                                                         {"1e-400", 0}, {"NaN", 0}, {"inf", 0}, {"12abc", 12}};
    for (const auto &[text, value] : unbounded) EXPECT_EQ(textrules::ValUnbounded(text), value) << text;
}

// Cuts count UTF-16 units but never split a character outside the Basic Multilingual Plane.
TEST(TextRules, CutsKeepOrDropACharacterWhole) {
    const QString emoji = QStringLiteral("\U0001F600");
    const QString s = QString(29, 'A') + emoji + 'B';  // units 30 and 31 are the emoji
    const struct { QString got, want; } cases[] = {
        {textrules::Left(s, 30), QString(29, 'A')},       {textrules::Left(s, 31), QString(29, 'A') + emoji},
        {textrules::Mid(s, 30, 2), emoji},                {textrules::Mid(s, 29, 2), "A"},
        {textrules::Mid(s, 31), "B"},                     {textrules::Mid(s, 31, 1), ""},
        {textrules::Right(s, 2), "B"},                    {textrules::Right(s, 3), emoji + 'B'},
        {textrules::Left(emoji, 1), ""},                  {textrules::Mid(QString(3, 'x'), 2), "xx"},
    };
    for (const auto &c : cases) EXPECT_EQ(c.got, c.want);
}

// The text rules' conversions and the engine's values round and refuse alike; Null is refused.
TEST(TextRules, WholeNumberConversionsRoundHalvesToEvenAndCheckRange) {
    auto check = [](const auto &in, std::int32_t out, int error) {
        std::int32_t fromRules = 0, fromValue = 0;
        EXPECT_EQ(errorOf([&] { fromRules = textrules::CLng(in); }), error) << ::testing::PrintToString(in);
        EXPECT_EQ(errorOf([&] { fromValue = Value(in).toLong(); }), error) << ::testing::PrintToString(in);
        EXPECT_EQ(fromRules, out) << ::testing::PrintToString(in);
        EXPECT_EQ(fromValue, out) << ::testing::PrintToString(in);
    };
    const struct { double in; std::int32_t out; int error; } numbers[] = {
        {0.5, 0, 0},   {1.5, 2, 0},      {2.5, 2, 0},      {3.5, 4, 0},   {-0.5, 0, 0},
        {-1.5, -2, 0}, {-2.5, -2, 0},    {2.4999, 2, 0},   {2.5001, 3, 0}, {2147483647.0, 2147483647, 0},
        {-2147483648.0, -2147483647 - 1, 0}, {2147483647.5, 0, err::Overflow}, {1e300, 0, err::Overflow}};
    for (const auto &c : numbers)
        check(c.in, c.out, c.error);
    const struct { const char *in; std::int32_t out; int error; } texts[] = {
        {" 42 ", 42, 0},               {"-7", -7, 0},                 {"2.5", 2, 0},
        {" 6.5 ", 6, 0},               {"abc", 0, err::TypeMismatch}, {"", 0, err::TypeMismatch},
        {"12a", 0, err::TypeMismatch}, {"99999999999", 0, err::Overflow}};
    for (const auto &c : texts)
        check(QString::fromUtf8(c.in), c.out, c.error);
    EXPECT_EQ(textrules::CInt(32766.5), 32766);
    EXPECT_EQ(textrules::CInt(-32768.4), -32768);
    EXPECT_EQ(errorOf([] { textrules::CInt(32767.5); }), err::Overflow);
    EXPECT_EQ(Value(std::int64_t(2147483647)).toLong(), 2147483647);
    EXPECT_EQ(errorOf([] { Value(std::int64_t(2147483648LL)).toLong(); }), err::Overflow);
    EXPECT_EQ(errorOf([] { textrules::Mid(QStringLiteral("abc"), 0); }), err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { textrules::CBool(QStringLiteral("ja")); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { Value().toLong(); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([] { Value().toText(); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([] { Value().toDouble(); }), err::InvalidUseOfNull);
    EXPECT_EQ(Value(1.5).toText(), "1.5");
    EXPECT_EQ(Value(-12).toText(), "-12");
    EXPECT_DOUBLE_EQ(Value(" 2.25").toDouble(), 2.25);
}

TEST(TextRules, BooleanAndNumberSettings) {
    const struct { const char *text; bool value; } truths[] = {
        {"-1", true},  {"True", true},   {"true", true},    {"Wahr", true}, {"2", true},
        {"0", false}, {"False", false}, {"FALSCH", false}, {" 0 ", false}};
    for (const auto &c : truths)
        EXPECT_EQ(textrules::CBool(QString::fromUtf8(c.text)), c.value) << c.text;
    EXPECT_TRUE(textrules::readBool(QStringLiteral("kaputt"), true));
    EXPECT_FALSE(textrules::readBool(QString(), false));
    EXPECT_EQ(textrules::readNumber(QStringLiteral("12"), 3), 12);
    EXPECT_EQ(textrules::readNumber(QStringLiteral("zwölf"), 3), 3);
    EXPECT_EQ(textrules::readNumber(QString(), 3), 3);
    EXPECT_EQ(textrules::readNumber(QStringLiteral("12345678901"), 0), 12345678901LL);
}

TEST(TextCodePage, Cp850AndCp1252BytesBothWays) {
    const struct { unsigned char byte; char16_t ch; } cp850[] = {
        {0x81, u'ü'}, {0x84, u'ä'}, {0x94, u'ö'}, {0x8E, u'Ä'}, {0x99, u'Ö'},
        {0x9A, u'Ü'}, {0xE1, u'ß'}, {0x82, u'é'}, {0x41, u'A'}, {0xB0, u'░'}};
    for (const auto &c : cp850) {
        EXPECT_EQ(decodeCp850(QByteArray(1, char(c.byte))), QString(QChar(c.ch))) << int(c.byte);
        EXPECT_EQ(encodeCp850(QString(QChar(c.ch))), QByteArray(1, char(c.byte))) << int(c.byte);
    }
    // What CP1252 lacks becomes "?", or "&#N;" for a page.
    const struct { const char *text, *plain, *html; } cp1252[] = {
        {"Müßig", "M\xFC\xDFig", "M\xFC\xDFig"},
        {"€ – „x“", "\x80 \x96 \x84x\x93", "\x80 \x96 \x84x\x93"},
        {"Łódź", "?\xF3" "d?", "&#321;\xF3" "d&#378;"},
        {"a😀b", "a?b", "a&#128512;b"},
        // The five bytes CP1252 leaves undefined are never written raw.
        {"a\u0081b\u008D\u008F\u0090\u009D", "a?b????", "a&#129;b&#141;&#143;&#144;&#157;"}};
    for (const auto &c : cp1252) {
        EXPECT_EQ(encodeCp1252(QString::fromUtf8(c.text)), QByteArray(c.plain)) << c.text;
        EXPECT_EQ(encodeCp1252(QString::fromUtf8(c.text), Unmappable::HtmlEntity), QByteArray(c.html)) << c.text;
    }
    EXPECT_EQ(decodeCp1252(QByteArray("\x80\xE4\x9F")), QString::fromUtf8("€äŸ"));
    EXPECT_EQ(decodeCp1252(QByteArray("\x81")).size(), 1);  // an undefined byte is not dropped
}

// The conversion that a refused list's message suggests writes the same bytes whatever
// the process's own locale (in "C", glibc writes "Dušan" as "Du?an" and "θ" as "th"),
// and leaves that locale as it was.
TEST(TextCodePage, SuggestedConversionIsTheSameInEveryLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    const struct { const char *utf8, *cp850; } cases[] = {
        {"Dušan", "Dusan"}, {"Müller", "M\x81ller"}, {"Cœur", "Coeur"}, {"5 €", "5 EUR"},
        {"Ae\u0301", "Ae"}, {"\uFEFFa", "a"}, {"Αθ", "??"}};
    for (const auto &c : cases) {
        Cp850Conversion conversion;
        EXPECT_EQ(conversion.convert(c.utf8).value_or("<stopped>"), QByteArray(c.cp850)) << c.utf8;
    }
    EXPECT_EQ(uselocale(locale_t(nullptr)), LC_GLOBAL_LOCALE);
    std::setlocale(LC_ALL, before.c_str());
}

// Every output blanks what would break its line or cell; printable neighbours stay.
TEST(TextOutput, ControlCharactersBecomeOneBlankEach) {
    const struct { const char16_t *value, *shown; } cases[] = {
        {u"a\tb\r\nc", u"a b  c"},
        {u"x\u007Fy\u0080z\u0085w\u009F", u"x y z w "},
        {u"Zeile\u2028Absatz\u2029", u"Zeile Absatz "},
        {u"\u00A0\u00FF\u2027\u202A€", u"\u00A0\u00FF\u2027\u202A€"},
    };
    for (const auto &c : cases) {
        const QString value = QString::fromUtf16(c.value), shown = QString::fromUtf16(c.shown);
        EXPECT_EQ(blankControls(value), shown) << qPrintable(value);
        EXPECT_EQ(containsControl(value), value != shown) << qPrintable(value);
    }
}

// Five characters are minutes and seconds, four are hours and minutes; what is no time reads as 0.
TEST(TextRaceTime, ReadsTimesAsTheScoringDoesWithoutSixteenBitOrDayLimit) {
    const struct { const char *text; std::int64_t seconds; const char *shown; } cases[] = {
        {"1:02:03", 3723, "01:02:03"}, {"35:12", 2112, "00:35:12"},   {"5:12", 18720, "05:12:00"},
        {"23:59:59", 86399, "23:59:59"}, {"24:00:00", 0, "24:00:00"}, {"1:60:00", 0, "1:60:00"},
        {"1:02:03x", 0, "1:02:03x"},   {"", 0, ""},                   {" ", 0, ""},
        {"01.02.2026", 0, "01.02.2026"}, {"00:00:00", 0, "00:00:00"}, {"1:2:03", 3723, "01:02:03"},
        {"1:2:3", 0, "1:2:3"}};
    for (const auto &c : cases) {
        EXPECT_EQ(raceTimeToSeconds(QString::fromUtf8(c.text)), c.seconds) << c.text;
        EXPECT_EQ(raceTimeAsHms(QString::fromUtf8(c.text)), QString::fromUtf8(c.shown)) << c.text;
    }
    const struct { std::int64_t seconds; const char *text; } hms[] = {
        {59, "00:00:59"},     {32767, "09:06:07"},   {32768, "09:06:08"},       {86400, "24:00:00"},
        {90000, "25:00:00"},  {360000, "100:00:00"}, {4294967296LL, "1193046:28:16"}, {-61, "-00:01:01"}};
    for (const auto &c : hms)
        EXPECT_EQ(secondsToHms(c.seconds), QString::fromUtf8(c.text)) << c.seconds;
}

TEST(TextClock, ClockFixedFromOutsideAndGermanForms) {
    // The fixed clock of setFixedNow() is used by the season cases and checked there byte for byte.
    qputenv("TARNIS_TEST_NOW", "2026-12-05 18:30:00");
    EXPECT_EQ(formatDateTime(Now()), QStringLiteral("05.12.2026 18:30:00"));
    qputenv("TARNIS_TEST_NOW", "2027-01-02");
    EXPECT_EQ(formatDateTime(Now()), QStringLiteral("02.01.2027 00:00:00"));
    qunsetenv("TARNIS_TEST_NOW");
}
