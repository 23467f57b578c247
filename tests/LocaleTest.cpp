#include "TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Switches the process to a locale whose decimal separator is a comma, and back.
class CommaLocale {
public:
    CommaLocale() : m_previous(std::setlocale(LC_ALL, nullptr)) {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"})
            if (std::setlocale(LC_ALL, name)) {
                m_active = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
                if (m_active) return;
            }
        std::setlocale(LC_ALL, m_previous.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    bool Active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

// Every test runs under the comma locale; without one installed it is skipped (or fails, where
// the locale is required).
class LocaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (m_comma.Active()) return;
        if (std::getenv("ZUX_REQUIRE_LOCALE")) FAIL() << "no locale with a decimal comma is installed";
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }

private:
    CommaLocale m_comma;
};

TEST_F(LocaleTest, DoublesIgnoreTheProcessLocale) {
    const std::string processLocale = std::setlocale(LC_ALL, nullptr);

    auto document = zuxtest::Parse("<e read=\"1.5\"/>");
    CZuXNode element(document->GetNode("e"));
    EXPECT_EQ(1.5, element.AttributeAsDOUBLE("read", 0));
    double value = 0;
    EXPECT_FALSE(element.GetAttributeAsDOUBLE("read", value).IsError());
    EXPECT_EQ(1.5, value);
    element.SetAttributeDOUBLE("written", 2.25);
    EXPECT_EQ("2.25", element.AttributeAsString("written"));

    CZuXAttribute attribute(element.GetFirstAttribute());
    EXPECT_EQ(1.5, attribute.AsDOUBLE(0));
    attribute.SetDOUBLE(-0.125);
    EXPECT_EQ("-0.125", attribute.AsString());
    attribute.GetAsDOUBLE(value);
    EXPECT_EQ(-0.125, value);

    // The strict read takes the decimal point and refuses the comma, as in the C locale.
    element.SetAttributeString("comma", "1,5");
    EXPECT_FALSE(element.ParseAttribute("written", value).IsError());
    EXPECT_EQ(2.25, value);
    EXPECT_EQ(13u, element.ParseAttribute("comma", value).GetWin32Code());

    EXPECT_EQ(processLocale, std::setlocale(LC_ALL, nullptr)) << "the process locale is left alone";
    EXPECT_STREQ(",", std::localeconv()->decimal_point);
}

std::size_t Selected(CZuXDocument& document, const std::string& query) {
    CZuXPathNodeSetPtr nodes;
    const CZuError result = document.SelectNodes(nodes, query);
    return result.IsError() ? 99 : nodes->Size();
}

TEST_F(LocaleTest, XPathIgnoresTheProcessLocale) {
    auto document = zuxtest::Parse("<r><e p=\"1.75\"/><e p=\"1.25\"/><e p=\"2\"/></r>");
    EXPECT_EQ(2u, Selected(*document, "//e[@p > 1.5]"));
    EXPECT_EQ(1u, Selected(*document, "//e[@p = 1.25]"));
    EXPECT_EQ(1u, Selected(*document, "/r[sum(e/@p) = 5]"));
    CZuXPathNodeSetPtr fromNode;
    ASSERT_FALSE(CZuXNode(document->GetNode("r")).SelectNodes(fromNode, "e[@p > 1.5]").IsError());
    EXPECT_EQ(2u, fromNode->Size());

    // Turning a fraction into text failed pugixml's assertion and aborted the process.
    EXPECT_EQ("exit 1", zuxtest::RunInChild(
                            [&] { return static_cast<int>(Selected(*document, "//e[string(@p * 2) = '3.5']")); }));
    EXPECT_STREQ(",", std::localeconv()->decimal_point);
}

TEST_F(LocaleTest, TypedXPathResultsIgnoreTheProcessLocale) {
    auto document = zuxtest::Parse("<r><e p=\"1.5\"/><e p=\"2.25\"/><e p=\"x\"/></r>");
    const CZuXNode root(document->GetNode("r"));
    CZuXPathContext context;
    ASSERT_FALSE(context.SetVariable("limit", 1.75).IsError());
    struct Row {
        const char* query;
        double number;
        bool boolean;
        const char* string;
    };
    const Row rows[] = {
        {"count(e[@p > $limit])", 1, true, "1"},
        {"sum(e[@p > 0]/@p)", 3.75, true, "3.75"},
        {"e[2]/@p", 2.25, true, "2.25"},
        {"boolean(e[@p = 1.5])", 1, true, "true"},
        {"-e[1]/@p div 4", -0.375, true, "-0.375"},
        {"count(e[@p = 0.5])", 0, false, "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.query);
        CZuXPathQuery query;
        ASSERT_FALSE(query.Compile(row.query, context).IsError());
        double number = -1;
        bool boolean = !row.boolean;
        std::string string;
        EXPECT_FALSE(root.EvaluateXPath(number, query).IsError());
        EXPECT_FALSE(root.EvaluateXPath(boolean, query).IsError());
        EXPECT_FALSE(root.EvaluateXPath(string, query).IsError());
        EXPECT_EQ(row.number, number);
        EXPECT_EQ(row.boolean, boolean);
        EXPECT_EQ(row.string, string);
    }
    double number = 0;
    EXPECT_FALSE(document->EvaluateXPath(number, "sum(//@p[. < 2]) * 2.5").IsError());
    EXPECT_EQ(3.75, number);
    EXPECT_STREQ(",", std::localeconv()->decimal_point);
}

} // namespace
