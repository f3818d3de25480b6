// Math: the functions and constants of the global Math object.
#include "flash/script/builtins/Builtins.h"
#include "flash/script/builtins/LibrarySupport.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace flash::script {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

template<double (*F)(double)>
Value unary(CallContext& c)
{
    return Value(F(numberArg(c, 0)));
}

template<double (*F)(double, double)>
Value binary(CallContext& c)
{
    return Value(F(numberArg(c, 0), numberArg(c, 1)));
}

double absolute(double x) { return std::fabs(x); }
double arcCosine(double x) { return std::acos(x); }
double arcSine(double x) { return std::asin(x); }
double arcTangent(double x) { return std::atan(x); }
double arcTangent2(double y, double x) { return std::atan2(y, x); }
double ceiling(double x) { return std::ceil(x); }
double cosine(double x) { return std::cos(x); }
double exponential(double x) { return std::exp(x); }
double floorOf(double x) { return std::floor(x); }
double logarithm(double x) { return std::log(x); }
double power(double x, double y) { return std::pow(x, y); }
double sine(double x) { return std::sin(x); }
double squareRoot(double x) { return std::sqrt(x); }
double tangent(double x) { return std::tan(x); }
// Halves round up, toward positive infinity: round(-2.5) is -2.
double roundHalfUp(double x) { return std::isfinite(x) ? std::floor(x + 0.5) : x; }

// max and min over all arguments: any NaN makes NaN; none gives the identity (-Infinity, Infinity).
template<bool Max>
Value extreme(CallContext& c)
{
    double best = Max ? -kInfinity : kInfinity;
    for (size_t i = 0; i < c.argc(); ++i) {
        const double n = numberArg(c, i);
        if (std::isnan(n))
            return Value(kNaN);
        if (Max ? n > best : n < best)
            best = n;
    }
    return Value(best);
}

Value random(CallContext& c)
{
    constexpr uint32_t kSteps = 1u << 30;
    return Value(double(c.vm.host().random(kSteps)) / double(kSteps));
}

} // namespace

void installMath(Interpreter& vm)
{
    Object* math = vm.newObject();
    vm.define(*vm.global(), String("Math"), Value(math));
    defineMethod(vm, *math, "abs", unary<absolute>);
    defineMethod(vm, *math, "acos", unary<arcCosine>);
    defineMethod(vm, *math, "asin", unary<arcSine>);
    defineMethod(vm, *math, "atan", unary<arcTangent>);
    defineMethod(vm, *math, "atan2", binary<arcTangent2>);
    defineMethod(vm, *math, "ceil", unary<ceiling>);
    defineMethod(vm, *math, "cos", unary<cosine>);
    defineMethod(vm, *math, "exp", unary<exponential>);
    defineMethod(vm, *math, "floor", unary<floorOf>);
    defineMethod(vm, *math, "log", unary<logarithm>);
    defineMethod(vm, *math, "max", extreme<true>);
    defineMethod(vm, *math, "min", extreme<false>);
    defineMethod(vm, *math, "pow", binary<power>);
    defineMethod(vm, *math, "random", random);
    defineMethod(vm, *math, "round", unary<roundHalfUp>);
    defineMethod(vm, *math, "sin", unary<sine>);
    defineMethod(vm, *math, "sqrt", unary<squareRoot>);
    defineMethod(vm, *math, "tan", unary<tangent>);
    defineConstant(vm, *math, "E", Value(std::numbers::e));
    defineConstant(vm, *math, "LN10", Value(std::numbers::ln10));
    defineConstant(vm, *math, "LN2", Value(std::numbers::ln2));
    defineConstant(vm, *math, "LOG10E", Value(std::numbers::log10e));
    defineConstant(vm, *math, "LOG2E", Value(std::numbers::log2e));
    defineConstant(vm, *math, "PI", Value(std::numbers::pi));
    defineConstant(vm, *math, "SQRT1_2", Value(std::numbers::sqrt2 / 2));
    defineConstant(vm, *math, "SQRT2", Value(std::numbers::sqrt2));
}

} // namespace flash::script
