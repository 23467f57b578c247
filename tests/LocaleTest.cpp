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

TEST(LocaleTest, DoublesIgnoreTheProcessLocale) {
    CommaLocale comma;
    if (!comma.Active()) {
        if (std::getenv("ZUX_REQUIRE_LOCALE")) FAIL() << "no locale with a decimal comma is installed";
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
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

    EXPECT_EQ(processLocale, std::setlocale(LC_ALL, nullptr)) << "the process locale is left alone";
    EXPECT_STREQ(",", std::localeconv()->decimal_point);
}

} // namespace
