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

} // namespace
