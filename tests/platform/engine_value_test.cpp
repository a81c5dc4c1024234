#include "engine_support.h"

#include <gtest/gtest.h>

using namespace tarnis;
using namespace tarnis::enginetest;

TEST(EngineValue, WholeNumberConversionsRoundHalvesToEvenAndCheckRange) {
    const struct {
        Value value;
        std::int32_t expected;
        int error;
    } cases[] = {
        {Value(), 0, err::InvalidUseOfNull},      {Value("abc"), 0, err::TypeMismatch},
        {Value(""), 0, err::TypeMismatch},        {Value(" 42 "), 42, 0},
        {Value("-7"), -7, 0},                     {Value("2.5"), 2, 0},
        {Value(2.5), 2, 0},                       {Value(3.5), 4, 0},
        {Value(-2.5), -2, 0},                     {Value(std::int64_t(2147483647)), 2147483647, 0},
        {Value(std::int64_t(2147483648LL)), 0, err::Overflow},
        {Value("99999999999"), 0, err::Overflow}, {Value(1e300), 0, err::Overflow},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value.isNull() ? std::string("Null") : c.value.toText().toStdString());
        std::int32_t got = 0;
        EXPECT_EQ(errorOf([&] { got = c.value.toLong(); }), c.error);
        if (!c.error) {
            EXPECT_EQ(got, c.expected);
        }
    }
    EXPECT_EQ(Value(std::int64_t(1) << 40).toInt64(), std::int64_t(1) << 40);
    EXPECT_EQ(Value().nz(-1), -1);
}

TEST(EngineValue, TextOfNumbersAndNull) {
    EXPECT_EQ(Value(1.5).toText(), "1.5");
    EXPECT_EQ(Value(-12).toText(), "-12");
    EXPECT_EQ(Value().textOrEmpty(), "");
    EXPECT_EQ(errorOf([] { Value().toText(); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([] { Value().toDouble(); }), err::InvalidUseOfNull);
    EXPECT_DOUBLE_EQ(Value(" 2.25").toDouble(), 2.25);
}
