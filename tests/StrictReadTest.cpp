#include "TestSupport.h"
#include "ValueForms.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <type_traits>

namespace {

// One attribute text read as one type (its family's name): the Win32 code of the strict reads and,
// on success, the value (see Expected for the 64-bit integers).
struct Row {
    const char* text;
    const char* form;
    unsigned int win32;
    long double value;
};

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

const Row kRows[] = {
    {"true", "BOOL", 0, 1},
    {"false", "BOOL", 0, 0},
    {"1", "BOOL", 0, 1},
    {"0 \t\r\n", "BOOL", 0, 0},
    {" true", "BOOL", 13, 0}, // as_bool reads the first character only: this would be false
    {"yes", "BOOL", 13, 0},
    {"True", "BOOL", 13, 0},
    {"truex", "BOOL", 13, 0},
    {"10", "BOOL", 13, 0},
    {"", "BOOL", 13, 0},

    {"42", "INT", 0, 42},
    {" \t-17\r\n", "INT", 0, -17},
    {"+8", "INT", 0, 8},
    {"007", "INT", 0, 7},
    {"0x1F", "INT", 0, 31},
    {"-0X10", "INT", 0, -16},
    {"2147483647", "INT", 0, INT_MAX},
    {"-2147483648", "INT", 0, INT_MIN},
    {"2147483648", "INT", 13, 0},
    {"-2147483649", "INT", 13, 0},
    {"0xFFFFFFFF", "INT", 13, 0},
    {"99999999999999999999999", "INT", 13, 0},
    {"1.5", "INT", 13, 0},
    {"1e3", "INT", 13, 0},
    {"12abc", "INT", 13, 0},
    {"1 2", "INT", 13, 0},
    {"0x", "INT", 13, 0},
    {"-", "INT", 13, 0},
    {"+-1", "INT", 13, 0},
    {"\v1", "INT", 13, 0},
    {"", "INT", 13, 0},

    {"4294967295", "UINT", 0, UINT_MAX},
    {"0xffffffff", "UINT", 0, UINT_MAX},
    {"-0", "UINT", 0, 0},
    {"4294967296", "UINT", 13, 0},
    {"-1", "UINT", 13, 0},

    {"9223372036854775807", "LONGLONG", 0, LLONG_MAX},
    {"-9223372036854775808", "LONGLONG", 0, LLONG_MIN},
    {"-0x8000000000000000", "LONGLONG", 0, LLONG_MIN},
    {"9223372036854775808", "LONGLONG", 13, 0},
    {"0x8000000000000000", "LONGLONG", 13, 0},

    {"18446744073709551615", "ULONGLONG", 0, ULLONG_MAX},
    {"0xFFFFFFFFFFFFFFFF", "ULONGLONG", 0, ULLONG_MAX},
    {"18446744073709551616", "ULONGLONG", 13, 0},
    {"0x10000000000000000", "ULONGLONG", 13, 0},
    {"-5", "ULONGLONG", 13, 0},
    {"36893488147419103231", "ULONGLONG", 13, 0}, // 2^64 more than the largest: as large when cut to 64 bits

    {"1.5", "DOUBLE", 0, 1.5},
    {" -2.25e2\r\n", "DOUBLE", 0, -225},
    {".5", "DOUBLE", 0, 0.5},
    {"3.", "DOUBLE", 0, 3},
    {"+1E+2", "DOUBLE", 0, 100},
    {"0e-999", "DOUBLE", 0, 0},
    {"4.9e-324", "DOUBLE", 0, std::numeric_limits<double>::denorm_min()},
    {"inf", "DOUBLE", 0, kInf},
    {"-Infinity", "DOUBLE", 0, -kInf},
    {"NaN", "DOUBLE", 0, kNaN},
    {"1,5", "DOUBLE", 13, 0},
    {"1e999", "DOUBLE", 13, 0},
    {"-1e999", "DOUBLE", 13, 0},
    {"1e-999", "DOUBLE", 13, 0},
    {"0x10", "DOUBLE", 13, 0},
    {"1e", "DOUBLE", 13, 0},
    {".", "DOUBLE", 13, 0},
    {"1.5.2", "DOUBLE", 13, 0},
    {"nan(1)", "DOUBLE", 13, 0},
    {"infx", "DOUBLE", 13, 0},
    {"", "DOUBLE", 13, 0},
};

template <class T>
bool Same(T a, T b) {
    if constexpr (std::is_floating_point_v<T>)
        if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b;
}

// The value a row expects. long double holds every 64-bit integer exactly on the hardware, but
// valgrind computes it as a double, so the 64-bit integers come from the C library's reading of the
// text instead.
template <class T>
T Expected(const Row& row) {
    if constexpr (std::is_same_v<T, long long>)
        return std::strtoll(row.text, nullptr, 0);
    else if constexpr (std::is_same_v<T, unsigned long long>)
        return std::strtoull(row.text, nullptr, 0);
    else
        return static_cast<T>(row.value);
}

void ExpectFailure(const CZuError& error, unsigned int win32, const std::string& function, const std::string& message) {
    EXPECT_EQ(win32, error.GetWin32Code());
    ASSERT_EQ(1u, error.GetRecords().size());
    EXPECT_EQ(function, error.GetRecords()[0].GetLocation().GetFunction());
    EXPECT_EQ(message, error.GetRecords()[0].GetMessage());
}

template <class Form>
class StrictReadFormTest : public ::testing::Test {};
TYPED_TEST_SUITE(StrictReadFormTest, zuxtest::NumberForms, zuxtest::FormName);

// Both strict reads of the form's rows, against what AttributeAs<Type> gives; an out-parameter
// that starts different from it shows a write on failure.
TYPED_TEST(StrictReadFormTest, OnlyWholeValuesInRangeRead) {
    using Form = TypeParam;
    using T = typename Form::Value;
    for (const Row& row : kRows) {
        if (std::string(row.form) != Form::kName) continue;
        SCOPED_TRACE(std::string("text [") + row.text + "]");
        auto document = zuxtest::Parse("<e/>");
        CZuXNode element(document->GetNode("e"));
        // Written rather than parsed, so that tabs and line ends stay in the value.
        ASSERT_FALSE(element.SetAttributeString("a", row.text).IsError());
        const CZuXAttribute attribute(element.GetFirstAttribute());
        const T quiet = Form::AttributeAs(element, "a", T());
        T untouched{};
        if constexpr (std::is_same_v<T, bool>)
            untouched = !quiet;
        else
            untouched = quiet == T(7) ? T(8) : T(7);
        T fromNode = untouched;
        T fromHandle = untouched;
        const CZuError node = element.ParseAttribute("a", fromNode);
        const CZuError handle = attribute.Parse(fromHandle);
        if (row.win32 == 0) {
            EXPECT_FALSE(node.IsError()) << node.AsString();
            EXPECT_FALSE(handle.IsError()) << handle.AsString();
            EXPECT_TRUE(Same(Expected<T>(row), fromNode)) << fromNode;
            EXPECT_TRUE(Same(quiet, fromNode));
            EXPECT_TRUE(Same(quiet, fromHandle));
            continue;
        }
        const std::string message = "Attribute=[a], Value=[" + std::string(row.text) + "]";
        ExpectFailure(node, row.win32,
                      std::string("CZuError CZuXNode::ParseAttribute(const char*, ") + Form::kType + "&) const",
                      message);
        ExpectFailure(handle, row.win32, std::string("CZuError CZuXAttribute::Parse(") + Form::kType + "&) const",
                      message);
        EXPECT_TRUE(Same(untouched, fromNode));
        EXPECT_TRUE(Same(untouched, fromHandle));
    }
}

TEST(StrictReadTest, MissingAttributeOrEmptyHandle) {
    auto document = zuxtest::Parse("<e a=\"5\"/>");
    CZuXNode element(document->GetNode("e"));
    int value = 7;
    ExpectFailure(element.ParseAttribute("missing", value), 1168,
                  "CZuError CZuXNode::ParseAttribute(const char*, int&) const", "Attribute=[missing]");
    ExpectFailure(CZuXNode().ParseAttribute("a", value), 1168,
                  "CZuError CZuXNode::ParseAttribute(const char*, int&) const", "Attribute=[a]");
    ExpectFailure(element.ParseAttribute(nullptr, value), 1168,
                  "CZuError CZuXNode::ParseAttribute(const char*, int&) const", "Attribute=[(null)]");
    double number = 7;
    ExpectFailure(CZuXAttribute().Parse(number), 1168, "CZuError CZuXAttribute::Parse(double&) const", "Attribute=[]");
    EXPECT_EQ(7, value);
    EXPECT_EQ(7, number);
}

} // namespace
