// Date: a time value in milliseconds since 1970 (UTC), read and written
// field by field in local time or UTC, and printed as the runtime prints it.
#include "flash/script/Conversions.h"
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <string>

namespace flash::script {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMsPerDay = 86'400'000;
constexpr double kMaxTime = 8.64e15; // a hundred million days either side of 1970

// A Date instance: the time value is all it holds.
class DateObject : public Object {
public:
    explicit DateObject(Object* proto) : Object(proto) { }
    double time = kNaN;
};

enum class Zone : uint8_t { Local, Utc };
enum Field : uint8_t { Year, Month, Day, Hours, Minutes, Seconds, Milliseconds, WeekDay, FieldCount };

// --- Calendar arithmetic on time values (proleptic Gregorian, no leap seconds) ---

double positiveModulo(double a, double b)
{
    const double m = std::fmod(a, b);
    return m < 0 ? m + b : m;
}

double dayFromYear(double y)
{
    return 365 * (y - 1970) + std::floor((y - 1969) / 4) - std::floor((y - 1901) / 100) + std::floor((y - 1601) / 400);
}

bool isLeapYear(double y)
{
    return std::fmod(y, 4) == 0 && (std::fmod(y, 100) != 0 || std::fmod(y, 400) == 0);
}

double yearFromDay(double day)
{
    double y = std::floor(day / 365.2425) + 1970;
    // The estimate is off by at most one either way.
    while (dayFromYear(y) > day)
        --y;
    while (dayFromYear(y + 1) <= day)
        ++y;
    return y;
}

// Days before the first of each month in a common year.
constexpr std::array<int, 13> kMonthStarts = { 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365 };

double monthStart(int month, bool leap) { return kMonthStarts[size_t(month)] + (leap && month >= 2 ? 1 : 0); }

using Fields = std::array<double, FieldCount>;

Fields fieldsOf(double t)
{
    Fields f {};
    const double day = std::floor(t / kMsPerDay);
    const double inDay = positiveModulo(t, kMsPerDay);
    f[Year] = yearFromDay(day);
    const double dayInYear = day - dayFromYear(f[Year]);
    const bool leap = isLeapYear(f[Year]);
    int month = 0;
    while (month < 11 && dayInYear >= monthStart(month + 1, leap))
        ++month;
    f[Month] = month;
    f[Day] = dayInYear - monthStart(month, leap) + 1;
    f[Hours] = std::floor(inDay / 3'600'000);
    f[Minutes] = std::fmod(std::floor(inDay / 60'000), 60);
    f[Seconds] = std::fmod(std::floor(inDay / 1000), 60);
    f[Milliseconds] = std::fmod(inDay, 1000);
    f[WeekDay] = positiveModulo(day + 4, 7);
    return f;
}

// Months and days past their range carry into the next larger field: month 12 is January of the next year.
double timeOf(const Fields& f)
{
    for (int i = Year; i <= Milliseconds; ++i) {
        if (!std::isfinite(f[size_t(i)]))
            return kNaN;
    }
    const double year = toInteger(f[Year]) + std::floor(toInteger(f[Month]) / 12);
    const int month = int(positiveModulo(toInteger(f[Month]), 12));
    const double day = dayFromYear(year) + monthStart(month, isLeapYear(year)) + toInteger(f[Day]) - 1;
    const double time = toInteger(f[Hours]) * 3'600'000 + toInteger(f[Minutes]) * 60'000 + toInteger(f[Seconds]) * 1000
        + toInteger(f[Milliseconds]);
    return day * kMsPerDay + time;
}

double clipTime(double t)
{
    if (!std::isfinite(t) || std::fabs(t) > kMaxTime)
        return kNaN;
    return toInteger(t) + 0.0; // no negative zero
}

// --- The machine's time zone ---

// Local time minus UTC at the instant `utc`, in milliseconds.
double zoneOffsetAt(double utc)
{
    if (!std::isfinite(utc))
        return 0;
    const std::time_t seconds = std::time_t(std::floor(utc / 1000));
    std::tm local {};
    if (!localtime_r(&seconds, &local))
        return 0;
    return double(local.tm_gmtoff) * 1000;
}

double toLocal(double utc) { return utc + zoneOffsetAt(utc); }

double fromLocal(double local)
{
    // The offset at the local reading taken as UTC, then corrected once for a change of offset in between.
    const double guess = local - zoneOffsetAt(local);
    return local - zoneOffsetAt(guess);
}

double nowMs()
{
    using namespace std::chrono;
    return double(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

// Years 0 to 99 mean 1900 to 1999 in the constructor, Date.UTC and setYear.
double fullYear(double y)
{
    const double whole = toInteger(y);
    return (whole >= 0 && whole <= 99) ? 1900 + whole : y;
}

// --- Natives ---

DateObject* thisDate(CallContext& c)
{
    return dynamic_cast<DateObject*>(c.thisObject());
}

Object* allocate(Interpreter& vm, Object* proto) { return vm.heap().make<DateObject>(proto); }

// Fields from year, month[, day, hours, minutes, seconds, ms], as the constructor and Date.UTC take them.
double timeFromArguments(CallContext& c)
{
    Fields f { 0, 0, 1, 0, 0, 0, 0, 0 };
    for (size_t i = 0; i < c.argc() && i <= Milliseconds; ++i)
        f[i] = numberArg(c, i);
    f[Year] = fullYear(f[Year]);
    return timeOf(f);
}

std::string describe(double time)
{
    if (std::isnan(time))
        return "Invalid Date";
    static constexpr const char* kDays[] = { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    static constexpr const char* kMonths[] = { "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
    const double offset = zoneOffsetAt(time);
    const Fields f = fieldsOf(time + offset);
    const int minutes = int(std::fabs(offset) / 60'000);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s %s %d %02d:%02d:%02d GMT%c%02d%02d %.0f", kDays[int(f[WeekDay])],
                  kMonths[int(f[Month])], int(f[Day]), int(f[Hours]), int(f[Minutes]), int(f[Seconds]),
                  offset < 0 ? '-' : '+', minutes / 60, minutes % 60, f[Year]);
    return buffer;
}

Value construct(CallContext& c)
{
    DateObject* date = thisDate(c);
    if (!c.isConstruct() || !date)
        return Value(String(describe(nowMs())));
    if (c.argc() == 0)
        date->time = nowMs();
    else if (c.argc() == 1)
        // A lone argument is a time value; strings are not parsed as dates, only converted as numbers.
        date->time = clipTime(numberArg(c, 0));
    else
        date->time = clipTime(fromLocal(timeFromArguments(c)));
    return c.thisValue;
}

Value utc(CallContext& c)
{
    if (c.argc() < 2)
        return Value(kNaN);
    return Value(clipTime(timeFromArguments(c)));
}

// The native's data holds which field and zone it reads or writes: field + 16 * zone.
struct Selector {
    Field field;
    Zone zone;
};

Selector selectorOf(CallContext& c)
{
    const int code = int(c.callee.data().asNumber());
    return { Field(code % 16), Zone(code / 16) };
}

Value getField(CallContext& c)
{
    DateObject* date = thisDate(c);
    if (!date || std::isnan(date->time))
        return Value(kNaN);
    const Selector s = selectorOf(c);
    return Value(fieldsOf(s.zone == Zone::Local ? toLocal(date->time) : date->time)[s.field]);
}

// setX(value[, smaller fields...]): how many fields each setter takes, from the one it names.
size_t fieldsTaken(Field first) { return first <= Day ? size_t(Day - first + 1) : size_t(Milliseconds - first + 1); }

Value setField(CallContext& c)
{
    DateObject* date = thisDate(c);
    if (!date)
        return Value();
    const Selector s = selectorOf(c);
    double t = date->time;
    // Only setFullYear can bring an invalid date back: it starts from time zero.
    if (std::isnan(t) && s.field == Year)
        t = 0;
    if (std::isnan(t) || c.argc() == 0) {
        date->time = kNaN;
        return Value(kNaN);
    }
    Fields f = fieldsOf(s.zone == Zone::Local ? toLocal(t) : t);
    for (size_t i = 0; i < std::min(c.argc(), fieldsTaken(s.field)); ++i)
        f[s.field + i] = numberArg(c, i);
    const double composed = timeOf(f);
    date->time = clipTime(s.zone == Zone::Local ? fromLocal(composed) : composed);
    return Value(date->time);
}

Value setYear(CallContext& c)
{
    DateObject* date = thisDate(c);
    if (!date)
        return Value();
    Fields f = fieldsOf(toLocal(std::isnan(date->time) ? 0 : date->time));
    f[Year] = fullYear(numberArg(c, 0));
    date->time = clipTime(fromLocal(timeOf(f)));
    return Value(date->time);
}

Value getYear(CallContext& c)
{
    DateObject* date = thisDate(c);
    if (!date || std::isnan(date->time))
        return Value(kNaN);
    return Value(fieldsOf(toLocal(date->time))[Year] - 1900);
}

Value getTime(CallContext& c)
{
    DateObject* date = thisDate(c);
    return Value(date ? date->time : kNaN);
}

Value setTime(CallContext& c)
{
    DateObject* date = thisDate(c);
    if (!date)
        return Value();
    date->time = clipTime(numberArg(c, 0));
    return Value(date->time);
}

Value getTimezoneOffset(CallContext& c)
{
    DateObject* date = thisDate(c);
    if (!date || std::isnan(date->time))
        return Value(kNaN);
    return Value(-zoneOffsetAt(date->time) / 60'000);
}

Value toString(CallContext& c)
{
    DateObject* date = thisDate(c);
    return Value(String(describe(date ? date->time : kNaN)));
}

struct FieldMethod {
    const char* name;
    Field field;
};

constexpr FieldMethod kGetters[] = {
    { "FullYear", Year }, { "Month", Month }, { "Date", Day }, { "Day", WeekDay }, { "Hours", Hours },
    { "Minutes", Minutes }, { "Seconds", Seconds }, { "Milliseconds", Milliseconds },
};

void defineFieldMethods(Interpreter& vm, Object& proto)
{
    for (const FieldMethod& m : kGetters) {
        for (Zone zone : { Zone::Local, Zone::Utc }) {
            const std::string middle = std::string(zone == Zone::Utc ? "UTC" : "") + m.name;
            const Value code(double(m.field + 16 * int(zone)));
            vm.define(proto, String("get" + middle), Value(static_cast<Object*>(vm.newNative(getField, code))));
            if (m.field != WeekDay)
                vm.define(proto, String("set" + middle), Value(static_cast<Object*>(vm.newNative(setField, code))));
        }
    }
}

} // namespace

void installDate(Interpreter& vm)
{
    Object* proto = vm.newObject();
    FunctionObject* ctor = defineClass(vm, "Date", construct, proto, allocate);
    defineMethod(vm, *ctor, "UTC", utc);
    defineFieldMethods(vm, *proto);
    defineMethod(vm, *proto, "getYear", getYear);
    defineMethod(vm, *proto, "setYear", setYear);
    defineMethod(vm, *proto, "getTime", getTime);
    defineMethod(vm, *proto, "setTime", setTime);
    defineMethod(vm, *proto, "getTimezoneOffset", getTimezoneOffset);
    defineMethod(vm, *proto, "toString", toString);
    defineMethod(vm, *proto, "valueOf", getTime);
}

} // namespace flash::script
