#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <type_traits>

namespace {

enum class Type { Bool, Double, Int, UInt, LongLong, ULongLong };

// One attribute text read as one type: the Win32 code of the strict reads and, on success, the
// value (see Expected for the 64-bit integers).
struct Row {
    const char* text;
    Type type;
    unsigned int win32;
    long double value;
};

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

const Row kRows[] = {
    {"true", Type::Bool, 0, 1},
    {"false", Type::Bool, 0, 0},
    {"1", Type::Bool, 0, 1},
    {"0 \t\r\n", Type::Bool, 0, 0},
    {" true", Type::Bool, 13, 0}, // as_bool reads the first character only: this would be false
    {"yes", Type::Bool, 13, 0},
    {"True", Type::Bool, 13, 0},
    {"truex", Type::Bool, 13, 0},
    {"10", Type::Bool, 13, 0},
    {"", Type::Bool, 13, 0},

    {"42", Type::Int, 0, 42},
    {" \t-17\r\n", Type::Int, 0, -17},
    {"+8", Type::Int, 0, 8},
    {"007", Type::Int, 0, 7},
    {"0x1F", Type::Int, 0, 31},
    {"-0X10", Type::Int, 0, -16},
    {"2147483647", Type::Int, 0, INT_MAX},
    {"-2147483648", Type::Int, 0, INT_MIN},
    {"2147483648", Type::Int, 13, 0},
    {"-2147483649", Type::Int, 13, 0},
    {"0xFFFFFFFF", Type::Int, 13, 0},
    {"99999999999999999999999", Type::Int, 13, 0},
    {"1.5", Type::Int, 13, 0},
    {"1e3", Type::Int, 13, 0},
    {"12abc", Type::Int, 13, 0},
    {"1 2", Type::Int, 13, 0},
    {"0x", Type::Int, 13, 0},
    {"-", Type::Int, 13, 0},
    {"+-1", Type::Int, 13, 0},
    {"\v1", Type::Int, 13, 0},
    {"", Type::Int, 13, 0},

    {"4294967295", Type::UInt, 0, UINT_MAX},
    {"0xffffffff", Type::UInt, 0, UINT_MAX},
    {"-0", Type::UInt, 0, 0},
    {"4294967296", Type::UInt, 13, 0},
    {"-1", Type::UInt, 13, 0},

    {"9223372036854775807", Type::LongLong, 0, LLONG_MAX},
    {"-9223372036854775808", Type::LongLong, 0, LLONG_MIN},
    {"-0x8000000000000000", Type::LongLong, 0, LLONG_MIN},
    {"9223372036854775808", Type::LongLong, 13, 0},
    {"0x8000000000000000", Type::LongLong, 13, 0},

    {"18446744073709551615", Type::ULongLong, 0, ULLONG_MAX},
    {"0xFFFFFFFFFFFFFFFF", Type::ULongLong, 0, ULLONG_MAX},
    {"18446744073709551616", Type::ULongLong, 13, 0},
    {"0x10000000000000000", Type::ULongLong, 13, 0},
    {"-5", Type::ULongLong, 13, 0},

    {"1.5", Type::Double, 0, 1.5},
    {" -2.25e2\r\n", Type::Double, 0, -225},
    {".5", Type::Double, 0, 0.5},
    {"3.", Type::Double, 0, 3},
    {"+1E+2", Type::Double, 0, 100},
    {"0e-999", Type::Double, 0, 0},
    {"4.9e-324", Type::Double, 0, std::numeric_limits<double>::denorm_min()},
    {"inf", Type::Double, 0, kInf},
    {"-Infinity", Type::Double, 0, -kInf},
    {"NaN", Type::Double, 0, kNaN},
    {"1,5", Type::Double, 13, 0},
    {"1e999", Type::Double, 13, 0},
    {"-1e999", Type::Double, 13, 0},
    {"1e-999", Type::Double, 13, 0},
    {"0x10", Type::Double, 13, 0},
    {"1e", Type::Double, 13, 0},
    {".", Type::Double, 13, 0},
    {"1.5.2", Type::Double, 13, 0},
    {"nan(1)", Type::Double, 13, 0},
    {"infx", Type::Double, 13, 0},
    {"", Type::Double, 13, 0},
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

// Both strict reads of attribute a, against `quiet`, what AttributeAs<Type> gives; an out-parameter
// that starts different from it shows a write on failure.
template <class T, class Quiet>
void Expect(const Row& row, const char* type, const CZuXNode& element, const CZuXAttribute& attribute, Quiet read) {
    const T quiet = read();
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
        return;
    }
    const std::string message = "Attribute=[a], Value=[" + std::string(row.text) + "]";
    ExpectFailure(node, row.win32, std::string("CZuError CZuXNode::ParseAttribute(const char*, ") + type + "&) const",
                  message);
    ExpectFailure(handle, row.win32, std::string("CZuError CZuXAttribute::Parse(") + type + "&) const", message);
    EXPECT_TRUE(Same(untouched, fromNode));
    EXPECT_TRUE(Same(untouched, fromHandle));
}

TEST(ParseTest, OnlyWholeValuesInRangeRead) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(std::string("text [") + row.text + "] as type " + std::to_string(static_cast<int>(row.type)));
        auto document = zuxtest::Parse("<e/>");
        CZuXNode element(document->GetNode("e"));
        // Written rather than parsed, so that tabs and line ends stay in the value.
        ASSERT_FALSE(element.SetAttributeString("a", row.text).IsError());
        const CZuXAttribute attribute(element.GetFirstAttribute());
        const CZuXNode& e = element;
        switch (row.type) {
        case Type::Bool:
            Expect<bool>(row, "bool", e, attribute, [&] { return e.AttributeAsBOOL("a", false); });
            break;
        case Type::Double:
            Expect<double>(row, "double", e, attribute, [&] { return e.AttributeAsDOUBLE("a", 0); });
            break;
        case Type::Int:
            Expect<int>(row, "int", e, attribute, [&] { return e.AttributeAsINT("a", 0); });
            break;
        case Type::UInt:
            Expect<unsigned int>(row, "unsigned int", e, attribute, [&] { return e.AttributeAsUINT("a", 0); });
            break;
        case Type::LongLong:
            Expect<long long>(row, "long long", e, attribute, [&] { return e.AttributeAsLONGLONG("a", 0); });
            break;
        case Type::ULongLong:
            Expect<unsigned long long>(row, "unsigned long long", e, attribute,
                                       [&] { return e.AttributeAsULONGLONG("a", 0); });
            break;
        }
    }
}

TEST(ParseTest, MissingAttributeOrEmptyHandle) {
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
