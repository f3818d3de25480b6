// Number's constants and printing, Math's rounding and extremes, Date in local time and UTC.
#include "LibraryTest.h"

#include <cstdlib>
#include <ctime>
#include <limits>

namespace flash::script {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using NumberMathTest = LibraryTest;

TEST_F(NumberMathTest, NumberConstantsAndRadixPrinting)
{
    const Value number = global("Number");
    EXPECT_EQ(text(get(number, "MAX_VALUE")), "1.79769313486232e+308");
    EXPECT_EQ(text(get(number, "MIN_VALUE")), "4.94065645841247e-324");
    EXPECT_EQ(text(get(number, "NEGATIVE_INFINITY")), "-Infinity");
    EXPECT_EQ(text(get(number, "NaN")), "NaN");
    set(number, "MAX_VALUE", 1); // constants are read-only
    EXPECT_EQ(text(get(number, "MAX_VALUE")), "1.79769313486232e+308");
    EXPECT_EQ(text(call(Value(255), "toString", { 16 })), "ff");
    EXPECT_EQ(text(call(Value(-255), "toString", { 2 })), "-11111111");
}

TEST_F(NumberMathTest, RoundingAndExtremes)
{
    const Value math = global("Math");
    EXPECT_EQ(text(call(math, "round", { -2.5 })), "-2");
    EXPECT_EQ(text(call(math, "round", { 2.5 })), "3");
    EXPECT_EQ(text(call(math, "round", { -2.6 })), "-3");
    EXPECT_EQ(text(call(math, "floor", { -0.5 })), "-1");
    EXPECT_EQ(text(call(math, "ceil", { "1.2" })), "2");
    EXPECT_EQ(text(call(math, "max")), "-Infinity");
    EXPECT_EQ(text(call(math, "min")), "Infinity");
    EXPECT_EQ(text(call(math, "max", { 1, "7", 3 })), "7");
    EXPECT_EQ(text(call(math, "min", { 1, kNaN, -3 })), "NaN");
    EXPECT_EQ(text(call(math, "abs", { "x" })), "NaN");
    EXPECT_EQ(text(call(math, "pow", { 2, 10 })), "1024");
    EXPECT_EQ(text(call(math, "atan2", { 1, 1 })), "0.785398163397448");
    EXPECT_EQ(text(get(math, "PI")), "3.14159265358979");
    EXPECT_EQ(text(get(math, "SQRT1_2")), "0.707106781186548");
    for (int i = 0; i < 100; ++i) {
        const double r = call(math, "random").asNumber();
        ASSERT_TRUE(r >= 0 && r < 1) << r;
    }
}

// Dates are checked in a zone with summer time, whatever zone the machine is in.
class DateTest : public LibraryTest {
protected:
    void SetUp() override
    {
        const char* zone = std::getenv("TZ");
        m_savedZone = zone ? std::optional<std::string>(zone) : std::nullopt;
        setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_savedZone)
            setenv("TZ", m_savedZone->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    std::string field(const Value& date, std::string_view getter) { return text(call(date, getter)); }

private:
    std::optional<std::string> m_savedZone;
};

TEST_F(DateTest, FieldsInLocalTimeAndUtc)
{
    const Value d = make("Date", { 2005, 0, 31, 12, 30 });
    EXPECT_EQ(text(d), "Mon Jan 31 12:30:00 GMT+0100 2005");
    EXPECT_EQ(field(d, "getHours"), "12");
    EXPECT_EQ(field(d, "getUTCHours"), "11");
    EXPECT_EQ(field(d, "getDay"), "1");
    EXPECT_EQ(field(d, "getTimezoneOffset"), "-60");
    EXPECT_EQ(field(make("Date", { 2005, 6, 1 }), "getTimezoneOffset"), "-120");
    EXPECT_EQ(text(make("Date", { 2005, 6, 1, 23 })), "Fri Jul 1 23:00:00 GMT+0200 2005");
    EXPECT_EQ(field(make("Date", { 2005, 6, 1, 23 }), "getUTCDate"), "1");
    EXPECT_EQ(field(make("Date", { 2005, 6, 2, 1 }), "getUTCDate"), "1");

    const Value epoch = make("Date", { 0 });
    EXPECT_EQ(field(epoch, "getUTCFullYear"), "1970");
    EXPECT_EQ(field(epoch, "getUTCDay"), "4");
    EXPECT_EQ(field(make("Date", { -1 }), "getUTCMilliseconds"), "999");
    EXPECT_EQ(field(make("Date", { -1 }), "getUTCFullYear"), "1969");
    EXPECT_EQ(text(call(global("Date"), "UTC", { 2000, 0, 1 })), "946684800000");
    EXPECT_EQ(text(call(global("Date"), "UTC", { 100, 1, 29, 0, 0, 0, 1 })), "-59006361599999");
}

TEST_F(DateTest, FieldsPastTheirRangeCarryOver)
{
    const Value d = make("Date", { 2005, 0, 31 });
    (void)call(d, "setMonth", { 1 }); // 31 February is 3 March in 2005
    EXPECT_EQ(field(d, "getMonth") + "/" + field(d, "getDate"), "2/3");
    EXPECT_EQ(field(make("Date", { 2004, 12, 1 }), "getFullYear"), "2005");
    EXPECT_EQ(field(make("Date", { 2004, 1, 29 }), "getDate"), "29");
    EXPECT_EQ(field(make("Date", { 2005, 0, 0 }), "getDate"), "31");
    (void)call(d, "setUTCHours", { 25, 61 });
    EXPECT_EQ(field(d, "getUTCDate") + " " + field(d, "getUTCHours") + ":" + field(d, "getUTCMinutes"), "3 2:1");
    (void)call(d, "setFullYear", { 2008, 1, 29 });
    EXPECT_EQ(text(d), "Fri Feb 29 03:01:00 GMT+0100 2008");
}

TEST_F(DateTest, TwoDigitYearsInvalidDatesAndOddArguments)
{
    const Value d = make("Date", { 99, 0 });
    EXPECT_EQ(field(d, "getFullYear"), "1999");
    EXPECT_EQ(field(d, "getYear"), "99");
    (void)call(d, "setYear", { 5 });
    EXPECT_EQ(field(d, "getFullYear"), "1905");

    const Value bad = make("Date", { kNaN });
    EXPECT_EQ(text(bad), "Invalid Date");
    EXPECT_EQ(field(bad, "getHours"), "NaN");
    EXPECT_EQ(text(call(bad, "setHours", { 1 })), "NaN");
    (void)call(bad, "setFullYear", { 2001 });
    EXPECT_EQ(field(bad, "getFullYear"), "2001");

    EXPECT_EQ(field(make("Date", { "12345" }), "getTime"), "12345");
    EXPECT_EQ(text(make("Date", { 1e300 })), "Invalid Date");
    EXPECT_EQ(text(make("Date", { 1e9, 1e9, 1e9 })), "Invalid Date");
    EXPECT_EQ(text(call(make("Date"), "setMinutes")), "NaN");
    const double now = call(make("Date"), "getTime").asNumber();
    EXPECT_GT(now, 1.5e12);
}

} // namespace
} // namespace flash::script
