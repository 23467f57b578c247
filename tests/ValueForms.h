// The typed value families as types, for typed tests: each form names its accessors on attribute
// handles and on nodes, the parameter types its function texts name, a fallback unlike the zero
// value, and samples: a value, the text it is written as, and what reads give back.
#ifndef ZUX_TESTS_VALUEFORMS_H
#define ZUX_TESTS_VALUEFORMS_H

#include "TestSupport.h"

#include <ZuX/ZuX.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <string>
#include <vector>

namespace zuxtest {

template <class Value>
struct Sample {
    Value value;
    const char* text;
    Value read;
};

// `type` as the writes and the strict reads name it, `out` as the node's out-parameter read does.
#define ZUXTEST_VALUE_FORM(Family, T, type, out, fallback, ...)                                                        \
    struct Family##Form {                                                                                              \
        using Value = T;                                                                                               \
        static constexpr const char* kName = #Family;                                                                  \
        static constexpr const char* kType = type;                                                                     \
        static constexpr const char* kOut = out;                                                                       \
        static Value Fallback() { return fallback; }                                                                   \
        static std::vector<Sample<Value>> Samples() { return {__VA_ARGS__}; }                                          \
        static Value As(const CZuXAttribute& a, const Value& f) { return a.As##Family(f); }                            \
        static CZuError GetAs(const CZuXAttribute& a, Value& v) { return a.GetAs##Family(v); }                         \
        static CZuError Set(CZuXAttribute& a, const Value& v) { return a.Set##Family(v); }                             \
        static Value AttributeAs(const CZuXNode& n, const char* name, const Value& f) {                                \
            return n.AttributeAs##Family(name, f);                                                                     \
        }                                                                                                              \
        static CZuError GetAttributeAs(const CZuXNode& n, const char* name, Value& v) {                                \
            return n.GetAttributeAs##Family(name, v);                                                                  \
        }                                                                                                              \
        static CZuError SetAttribute(CZuXNode& n, const char* name, const Value& v) {                                  \
            return n.SetAttribute##Family(name, v);                                                                    \
        }                                                                                                              \
    }

ZUXTEST_VALUE_FORM(BOOL, bool, "bool", "bool", true, {true, "true", true}, {false, "false", false});
ZUXTEST_VALUE_FORM(DOUBLE, double, "double", "double", 0.5, {2.5, "2.5", 2.5}, {0.1, "0.10000000000000001", 0.1},
                   {DBL_MAX, "1.7976931348623157e+308", DBL_MAX});
ZUXTEST_VALUE_FORM(INT, int, "int", "int", -7, {-3, "-3", -3}, {INT_MIN, "-2147483648", INT_MIN});
ZUXTEST_VALUE_FORM(UINT, unsigned int, "unsigned int", "unsigned int", 7u, {7u, "7", 7u},
                   {4000000000u, "4000000000", 4000000000u}, {UINT_MAX, "4294967295", UINT_MAX});
ZUXTEST_VALUE_FORM(LONGLONG, long long, "long long", "LONGLONG", -7LL, {-3LL, "-3", -3LL},
                   {-9000000000LL, "-9000000000", -9000000000LL}, {LLONG_MIN, "-9223372036854775808", LLONG_MIN});
ZUXTEST_VALUE_FORM(ULONGLONG, unsigned long long, "unsigned long long", "ULONGLONG", 7ULL, {7ULL, "7", 7ULL},
                   {ULLONG_MAX, "18446744073709551615", ULLONG_MAX});
ZUXTEST_VALUE_FORM(String, std::string, "const std::string&", "std::string", "d", {"text", "text", "text"},
                   {"a&b", "a&b", "a&b"});
ZUXTEST_VALUE_FORM(TimeStamp, CTimeStamp, "CTimeStamp", "CTimeStamp", CTimeStamp(5),
                   {CTimeStamp(-3), "-3", CTimeStamp(-3)},
                   {CTimeStamp(kEpoch + kTick + 1), "116444736010000001", CTimeStamp(kEpoch + kTick + 1)},
                   {CTimeStamp(LLONG_MAX), "9223372036854775807", CTimeStamp(LLONG_MAX)});
// Whole seconds: the sub-second part is dropped toward 1970, and 0 is the clear stamp.
ZUXTEST_VALUE_FORM(TimeStampUnixTime, CTimeStamp, "CTimeStamp", "CTimeStamp", CTimeStamp(LLONG_MAX),
                   {CTimeStamp(kEpoch - 3 * kTick), "-3", CTimeStamp(kEpoch - 3 * kTick)},
                   {CTimeStamp(kEpoch + kTick + 1), "1", CTimeStamp(kEpoch + kTick)},
                   {CTimeStamp(kEpoch - kTick - kTick / 2), "-1", CTimeStamp(kEpoch - kTick)},
                   {CTimeStamp(kEpoch), "0", CTimeStamp()},
                   {CTimeStamp(LLONG_MAX), "9223372036854775807", CTimeStamp(LLONG_MAX)});

#undef ZUXTEST_VALUE_FORM

/// Every typed family.
using ValueForms = ::testing::Types<BOOLForm, DOUBLEForm, INTForm, UINTForm, LONGLONGForm, ULONGLONGForm, StringForm,
                                    TimeStampForm, TimeStampUnixTimeForm>;
/// The families with a strict read (Parse, ParseAttribute) of their own type.
using NumberForms = ::testing::Types<BOOLForm, DOUBLEForm, INTForm, UINTForm, LONGLONGForm, ULONGLONGForm>;

/// The function texts of a form's operations, as results name them.
template <class Form>
std::string AttributeSetFunction() {
    return std::string("CZuError CZuXAttribute::Set") + Form::kName + "(" + Form::kType + ")";
}
template <class Form>
std::string NodeGetFunction() {
    return std::string("CZuError CZuXNode::GetAttributeAs") + Form::kName + "(const char*, " + Form::kOut + "&) const";
}
template <class Form>
std::string NodeSetFunction() {
    return std::string("CZuError CZuXNode::SetAttribute") + Form::kName + "(const char*, " + Form::kType + ")";
}

/// Names the typed tests after the family: AttributeFormTest/INT rather than AttributeFormTest/2.
struct FormName {
    template <class Form>
    static std::string GetName(int) {
        return Form::kName;
    }
};

} // namespace zuxtest

#endif
