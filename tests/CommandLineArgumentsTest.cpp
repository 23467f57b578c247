#include <ZuUtils/CCommandLineArguments.h>

#include <gtest/gtest.h>

namespace {

TEST(CommandLineArgumentsTest, KeepsEveryArgumentInOrder) {
    const char* argv[] = {"prog", "--path", "", nullptr};
    const CCommandLineArguments arguments(3, argv);
    EXPECT_EQ((std::vector<std::string>{"prog", "--path", ""}), arguments.GetArguments());
}

TEST(CommandLineArgumentsTest, NullEntriesAndMissingArgvAreEmpty) {
    const char* argv[] = {"prog", nullptr};
    EXPECT_EQ((std::vector<std::string>{"prog", ""}), CCommandLineArguments(2, argv).GetArguments());
    EXPECT_TRUE(CCommandLineArguments(2, nullptr).GetArguments().empty());
    EXPECT_TRUE(CCommandLineArguments(-1, argv).GetArguments().empty());
    EXPECT_TRUE(CCommandLineArguments().GetArguments().empty());
}

} // namespace
