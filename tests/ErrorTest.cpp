#include <ZuUtils/CZuError.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

const char* const kFunction = "CZuError Test::Operation(const string&)";

TEST(ErrorTest, SuccessHasNoCodeAndNoRecords) {
    const CZuError success = CZuError::Success();
    EXPECT_FALSE(success.IsError());
    EXPECT_EQ(0, success.GetCode());
    EXPECT_EQ(0u, success.GetWin32Code());
    EXPECT_TRUE(success.GetRecords().empty());
    EXPECT_EQ("success", success.AsString());
    EXPECT_FALSE(CZuError().IsError());
}

TEST(ErrorTest, Win32CodeBecomesNegativeHresult) {
    const CZuError error = WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), 2);
    EXPECT_TRUE(error.IsError());
    EXPECT_EQ(static_cast<int>(0x80070002u), error.GetCode());
    EXPECT_EQ(2u, error.GetWin32Code());

    EXPECT_EQ(static_cast<int>(0x80070490u), WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), 1168).GetCode());
    // Only the low 16 bits reach the code; the Win32 code itself is kept whole.
    const CZuError wide = WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), 0x12345);
    EXPECT_EQ(static_cast<int>(0x80072345u), wide.GetCode());
    EXPECT_EQ(0x12345u, wide.GetWin32Code());
    // Even code 0 makes an error.
    EXPECT_TRUE(WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), 0).IsError());
}

TEST(ErrorTest, FirstRecordCarriesLocationAndRenderedMessage) {
    const WNCodeLocation here = ZU_CODE_LOCATION(kFunction);
    const int line = __LINE__ - 1;
    const CZuError error =
        WNErrorUtil::ErrorWin32(here, 774, "Name=[%s], Count=[%d], Big=[%lld]", "a", -3, -9223372036854775807LL - 1);
    ASSERT_EQ(1u, error.GetRecords().size());
    const CZuErrorRecord& record = error.GetRecords()[0];
    EXPECT_EQ("Name=[a], Count=[-3], Big=[-9223372036854775808]", record.GetMessage());
    EXPECT_STREQ("ErrorTest.cpp", record.GetLocation().GetFile());
    EXPECT_STREQ(kFunction, record.GetLocation().GetFunction());
    EXPECT_EQ(line, record.GetLocation().GetLine());

    const CZuError bare = WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), 14);
    ASSERT_EQ(1u, bare.GetRecords().size());
    EXPECT_EQ("", bare.GetRecords()[0].GetMessage());
}

TEST(ErrorTest, LongMessagesAreRenderedWhole) {
    const std::string name(100000, 'x');
    const CZuError error = WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), 1168, "Attribute=[%s]", name.c_str());
    EXPECT_EQ("Attribute=[" + name + "]", error.GetRecords()[0].GetMessage());
}

TEST(ErrorTest, PushAppendsRecordsInOrderAndCopiesShareThem) {
    CZuError error = WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION("first"), 2, "Description=[%s]", "File was not found");
    const CZuError copy = error;
    const CZuError pushed = error.Push(ZU_CODE_LOCATION("second"), "FileName=[%s]", "/tmp/x.xml");
    error.Push(ZU_CODE_LOCATION("third"));

    for (const CZuError* seen : {static_cast<const CZuError*>(&error), &copy, &pushed}) {
        ASSERT_EQ(3u, seen->GetRecords().size());
        EXPECT_STREQ("first", seen->GetRecords()[0].GetLocation().GetFunction());
        EXPECT_EQ("FileName=[/tmp/x.xml]", seen->GetRecords()[1].GetMessage());
        EXPECT_STREQ("third", seen->GetRecords()[2].GetLocation().GetFunction());
        EXPECT_EQ("", seen->GetRecords()[2].GetMessage());
        EXPECT_EQ(static_cast<int>(0x80070002u), seen->GetCode());
    }
}

TEST(ErrorTest, PushOnSuccessKeepsTheRecordButNotAnError) {
    CZuError result = CZuError::Success();
    result.Push(ZU_CODE_LOCATION(kFunction), "Note=[%d]", 1);
    EXPECT_FALSE(result.IsError());
    EXPECT_EQ(0, result.GetCode());
    EXPECT_EQ(0u, result.GetWin32Code());
    ASSERT_EQ(1u, result.GetRecords().size());
    EXPECT_EQ("Note=[1]", result.GetRecords()[0].GetMessage());
}

TEST(ErrorTest, LocationKeepsOnlyTheBaseName) {
    EXPECT_STREQ("ZuXNode.cpp", WNCodeLocation("/build/src/ZuX/ZuXNode.cpp", "f", 1).GetFile());
    EXPECT_STREQ("ZuXNode.cpp", WNCodeLocation("ZuXNode.cpp", "f", 1).GetFile());
    EXPECT_STREQ("a.cpp", WNCodeLocation("C:\\src\\a.cpp", "f", 1).GetFile());
    EXPECT_STREQ("", WNCodeLocation(nullptr, nullptr, 0).GetFile());
    EXPECT_STREQ("", WNCodeLocation(nullptr, nullptr, 0).GetFunction());
}

TEST(ErrorTest, AsStringNamesCodeAndEveryRecord) {
    CZuError error = WNErrorUtil::ErrorWin32(WNCodeLocation("src/a.cpp", "int A()", 10), 2, "Description=[%s]", "gone");
    error.Push(WNCodeLocation("b.cpp", "int B()", 20));
    EXPECT_EQ("error 0x80070002 (Win32 2 ERROR_FILE_NOT_FOUND)\n"
              "  at a.cpp:10 in int A(): Description=[gone]\n"
              "  at b.cpp:20 in int B()",
              error.AsString());
    EXPECT_EQ("error 0x80070007 (Win32 7)\n  at c.cpp:1 in f",
              WNErrorUtil::ErrorWin32(WNCodeLocation("c.cpp", "f", 1), 7).AsString());

    // Every code the library reports has its Windows name, written out here.
    const std::pair<unsigned int, const char*> names[] = {
        {ZuWin32::FileNotFound, "2 ERROR_FILE_NOT_FOUND"},
        {ZuWin32::InvalidData, "error 0x8007000D (Win32 13 ERROR_INVALID_DATA)"},
        {ZuWin32::OutOfMemory, "14 ERROR_OUTOFMEMORY"},
        {ZuWin32::ReadFault, "30 ERROR_READ_FAULT"},
        {ZuWin32::ErrorsEncountered, "774 ERROR_ERRORS_ENCOUNTERED"},
        {ZuWin32::NotFound, "1168 ERROR_NOT_FOUND"},
        {ZuWin32::InternalError, "1359 ERROR_INTERNAL_ERROR"},
        {ZuWin32::Empty, "4306 ERROR_EMPTY"},
    };
    for (const auto& name : names)
        EXPECT_NE(std::string::npos,
                  WNErrorUtil::ErrorWin32(WNCodeLocation("c.cpp", "f", 1), name.first).AsString().find(name.second));
    EXPECT_EQ(sizeof names / sizeof names[0], sizeof ZuWin32::kCodes / sizeof ZuWin32::kCodes[0]);
}

} // namespace
