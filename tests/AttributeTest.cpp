#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>

namespace {

using zuxtest::ExpectError;
using zuxtest::kEpoch;
using zuxtest::kTick;
using zuxtest::Parse;
using zuxtest::Text;
using zuxtest::TextOf;

// Attribute handles on the attributes of <e a="1" b="two" c=""/>.
class AttributeTest : public ::testing::Test {
protected:
    void SetUp() override {
        document = Parse("<e a=\"1\" b=\"two\" c=\"\"/>");
        element = CZuXNode(document->GetNode("e"));
        first = CZuXAttribute(element.GetFirstAttribute());
    }

    std::unique_ptr<CZuXDocument> document;
    CZuXNode element;
    CZuXAttribute first;
};

TEST_F(AttributeTest, WalkInDocumentOrder) {
    std::string names;
    for (CZuXAttribute attribute(element.GetFirstAttribute()); attribute.Exists(); attribute.MoveNext())
        names += attribute.Name() + "=" + TextOf(attribute) + ";";
    EXPECT_EQ("a=1;b=two;c=;", names);

    CZuXAttribute last(first);
    last.MoveNext();
    last.MoveNext();
    EXPECT_EQ("c", last.Name());
    last.MoveNext();
    EXPECT_FALSE(last.Exists());
    last.MovePrevious();
    EXPECT_FALSE(last.Exists()) << "an empty handle does not come back";

    CZuXAttribute back(first);
    back.MovePrevious();
    EXPECT_FALSE(back.Exists());
    EXPECT_FALSE(CZuXAttribute(CZuXNode(element.GetFirstNode()).GetFirstAttribute()).Exists());
}

TEST_F(AttributeTest, SharedBodiesMoveTogetherCopiesMoveAlone) {
    const boost::shared_ptr<CZuXAttributePrivate> body = element.GetFirstAttribute();
    CZuXAttribute one(body);
    CZuXAttribute two(body);
    CZuXAttribute copy(one);
    CZuXAttribute assigned;
    assigned = one;
    one.MoveNext();
    EXPECT_EQ("b", two.Name());
    EXPECT_EQ("a", copy.Name());
    EXPECT_EQ("a", assigned.Name());
}

TEST_F(AttributeTest, TextRoundTrip) {
    EXPECT_FALSE(first.SetText("new value").IsError());
    EXPECT_EQ("new value", TextOf(first));
    first.SetText(std::string("cut\0off", 7));
    EXPECT_EQ("cut", TextOf(first));
    first.SetText("");
    EXPECT_EQ("", TextOf(first));
    EXPECT_EQ("<e a=\"\" b=\"two\" c=\"\"/>", Text(*document));
}

TEST(AttributeEmptyTest, DefaultHandleReadsDefaultsAndRefusesWrites) {
    CZuXAttribute empty;
    EXPECT_FALSE(empty.Exists());
    EXPECT_EQ("", empty.Name());
    EXPECT_EQ("", TextOf(empty));
    EXPECT_FALSE(empty.MoveNext().IsError());
    EXPECT_FALSE(empty.MovePrevious().IsError());
    EXPECT_EQ(7, empty.AsINT(7));
    int i = 3;
    EXPECT_FALSE(empty.GetAsINT(i).IsError());
    EXPECT_EQ(0, i);
    double d = 1;
    EXPECT_FALSE(empty.GetAsDOUBLE(d).IsError());
    EXPECT_EQ(0.0, d);
    std::string s = "x";
    EXPECT_FALSE(empty.GetAsString(s).IsError());
    EXPECT_EQ("", s);
    EXPECT_EQ("", empty.AsString());
    EXPECT_EQ("fallback", empty.AsString("fallback"));
    EXPECT_TRUE(empty.AsTimeStamp().IsClear());

    // Writes that store nothing say so.
    ExpectError(empty.SetText("x"), 1168, "ZuXAttribute.cpp", "CZuError CZuXAttribute::SetText(const string&)", "");
    ExpectError(empty.SetINT(1), 1168, "ZuXAttribute.cpp", "CZuError CZuXAttribute::SetINT(int)", "");
    ExpectError(empty.SetBOOL(true), 1168, "ZuXAttribute.cpp", "CZuError CZuXAttribute::SetBOOL(bool)", "");
    ExpectError(empty.SetDOUBLE(1), 1168, "ZuXAttribute.cpp", "CZuError CZuXAttribute::SetDOUBLE(double)", "");
    ExpectError(empty.SetUINT(1), 1168, "ZuXAttribute.cpp", "CZuError CZuXAttribute::SetUINT(unsigned int)", "");
    ExpectError(empty.SetLONGLONG(1), 1168, "ZuXAttribute.cpp", "CZuError CZuXAttribute::SetLONGLONG(long long)", "");
    ExpectError(empty.SetULONGLONG(1), 1168, "ZuXAttribute.cpp",
                "CZuError CZuXAttribute::SetULONGLONG(unsigned long long)", "");
    ExpectError(empty.SetString("x"), 1168, "ZuXAttribute.cpp", "CZuError CZuXAttribute::SetString(const std::string&)",
                "");
    ExpectError(empty.SetTimeStamp(CTimeStamp(1)), 1168, "ZuXAttribute.cpp",
                "CZuError CZuXAttribute::SetTimeStamp(CTimeStamp)", "");
    ExpectError(empty.SetTimeStampUnixTime(CTimeStamp(1)), 1168, "ZuXAttribute.cpp",
                "CZuError CZuXAttribute::SetTimeStampUnixTime(CTimeStamp)", "");
}

TEST_F(AttributeTest, WrittenTextOfEachType) {
    first.SetBOOL(true);
    EXPECT_EQ("true", TextOf(first));
    EXPECT_TRUE(first.AsBOOL(false));
    first.SetBOOL(false);
    EXPECT_EQ("false", TextOf(first));
    first.SetINT(-5);
    EXPECT_EQ("-5", TextOf(first));
    first.SetUINT(UINT_MAX);
    EXPECT_EQ("4294967295", TextOf(first));
    first.SetLONGLONG(LLONG_MIN);
    EXPECT_EQ("-9223372036854775808", TextOf(first));
    first.SetULONGLONG(ULLONG_MAX);
    EXPECT_EQ("18446744073709551615", TextOf(first));
    unsigned long long big = 0;
    first.GetAsULONGLONG(big);
    EXPECT_EQ(ULLONG_MAX, big);
    first.SetDOUBLE(0.1);
    EXPECT_EQ("0.10000000000000001", TextOf(first)) << "%.17g";
    first.SetDOUBLE(DBL_MAX);
    EXPECT_EQ(DBL_MAX, first.AsDOUBLE(0));
    first.SetString("text");
    EXPECT_EQ("text", first.AsString());
}

TEST_F(AttributeTest, MissingValueAndEmptyText) {
    CZuXAttribute c(first);
    c.MoveNext();
    c.MoveNext();
    ASSERT_EQ("c", c.Name());
    EXPECT_EQ(0, c.AsINT(7)) << "empty quotes are a value: the empty text";
    EXPECT_EQ("", c.AsString("fallback"));

    first.SetString("");
    EXPECT_EQ(7, first.AsINT(7)) << "an empty string written leaves no value";
    EXPECT_EQ("fallback", first.AsString("fallback"));
    int i = 3;
    first.GetAsINT(i);
    EXPECT_EQ(0, i);
}

TEST_F(AttributeTest, TimeStampForms) {
    const CTimeStamp oneAndAHalf(kEpoch + kTick + kTick / 2);
    first.SetTimeStamp(oneAndAHalf);
    EXPECT_EQ(std::to_string(kEpoch + kTick + kTick / 2), TextOf(first));
    EXPECT_EQ(oneAndAHalf, first.AsTimeStamp());
    CTimeStamp read;
    first.GetAsTimeStamp(read);
    EXPECT_EQ(oneAndAHalf, read);
    EXPECT_NE(oneAndAHalf, first.AsTimeStampUnixTime()) << "a system time read as Unix time is another instant";

    first.SetTimeStampUnixTime(oneAndAHalf);
    EXPECT_EQ("1", TextOf(first));
    EXPECT_EQ(kEpoch + kTick, first.AsTimeStampUnixTime().AsSystemTime());

    first.SetTimeStampUnixTime(CTimeStamp(kEpoch));
    EXPECT_EQ("0", TextOf(first));
    EXPECT_TRUE(first.AsTimeStampUnixTime().IsClear()) << "the epoch comes back clear";
    first.GetAsTimeStampUnixTime(read);
    EXPECT_TRUE(read.IsClear());

    first.SetTimeStampUnixTime(CTimeStamp(kEpoch - kTick - kTick / 2));
    EXPECT_EQ("-1", TextOf(first)) << "truncated toward 1970";

    first.SetTimeStamp(CTimeStamp(LLONG_MAX));
    EXPECT_EQ("9223372036854775807", TextOf(first));
    EXPECT_TRUE(first.AsTimeStamp().IsFilled());
    first.SetTimeStampUnixTime(CTimeStamp(LLONG_MAX));
    EXPECT_EQ("9223372036854775807", TextOf(first));
    EXPECT_TRUE(first.AsTimeStampUnixTime().IsFilled());
}

TEST(AttributeEmptyTest, TimeStampDefaults) {
    CZuXAttribute empty;
    const CTimeStamp oneAndAHalf(kEpoch + kTick + kTick / 2);
    EXPECT_EQ(oneAndAHalf, empty.AsTimeStamp(oneAndAHalf));
    EXPECT_EQ(kEpoch + kTick, empty.AsTimeStampUnixTime(oneAndAHalf).AsSystemTime());
    EXPECT_TRUE(empty.AsTimeStampUnixTime(CTimeStamp(kEpoch + kTick / 2)).IsClear());
    EXPECT_TRUE(empty.AsTimeStampUnixTime(CTimeStamp()).IsClear());
    EXPECT_TRUE(empty.AsTimeStampUnixTime(CTimeStamp(LLONG_MAX)).IsFilled());
    EXPECT_TRUE(empty.AsTimeStampUnixTime().IsClear());
}

} // namespace
