#include "TestSupport.h"
#include "ValueForms.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ("", empty.AsString());
    EXPECT_TRUE(empty.AsTimeStamp().IsClear());
    // Writes that store nothing say so; the typed ones below, as EmptyHandlesReadDefaultsAndRefuseWrites.
    ExpectError(empty.SetText("x"), 1168, "ZuXAttribute.cpp", "CZuError CZuXAttribute::SetText(const string&)", "");
}

template <class Form>
class AttributeFormTest : public ::testing::Test {};
TYPED_TEST_SUITE(AttributeFormTest, zuxtest::ValueForms, zuxtest::FormName);

// Handles made by default, from a null body and found nowhere read the fallback or the zero value
// and refuse every write.
TYPED_TEST(AttributeFormTest, EmptyHandlesReadDefaultsAndRefuseWrites) {
    using Form = TypeParam;
    auto document = Parse("<r><c/></r>");
    CZuXAttribute byDefault;
    CZuXAttribute fromNullBody{boost::shared_ptr<CZuXAttributePrivate>()};
    CZuXAttribute foundNowhere(CZuXNode(CZuXNode(document->GetNode("r")).GetNode("c")).GetFirstAttribute());
    for (CZuXAttribute* empty : {&byDefault, &fromNullBody, &foundNowhere}) {
        const CZuXAttribute& constant = *empty;
        EXPECT_EQ(Form::Fallback(), Form::As(constant, Form::Fallback()));
        typename Form::Value value = Form::Fallback();
        EXPECT_FALSE(Form::GetAs(constant, value).IsError());
        EXPECT_EQ(typename Form::Value(), value) << "these reads always give the zero value";
        ExpectError(Form::Set(*empty, Form::Samples()[0].value), 1168, "ZuXAttribute.cpp",
                    zuxtest::AttributeSetFunction<Form>().c_str(), "");
    }
    EXPECT_EQ("<r><c/></r>", Text(*document));
}

// Each value is written as its text and read back, by the value and the out-parameter read.
TYPED_TEST(AttributeFormTest, WrittenTextReadsBack) {
    using Form = TypeParam;
    auto document = Parse("<e a=\"1\"/>");
    CZuXAttribute attribute(CZuXNode(document->GetNode("e")).GetFirstAttribute());
    for (const auto& sample : Form::Samples()) {
        SCOPED_TRACE(sample.text);
        ASSERT_FALSE(Form::Set(attribute, sample.value).IsError());
        EXPECT_EQ(sample.text, TextOf(attribute));
        // From two values that differ, so that one of them differs from what is read.
        for (const typename Form::Value& other : {Form::Fallback(), typename Form::Value()}) {
            EXPECT_EQ(sample.read, Form::As(attribute, other));
            typename Form::Value value = other;
            EXPECT_FALSE(Form::GetAs(attribute, value).IsError());
            EXPECT_EQ(sample.read, value);
        }
    }
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
