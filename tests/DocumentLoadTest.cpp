#include <ZuX/ZuX.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kDataDir = ZUX_TEST_DATA_DIR;

void ExpectLoadRecord(const CZuError& error, const char* function, const std::string& message) {
    ASSERT_EQ(2u, error.GetRecords().size());
    const CZuErrorRecord& record = error.GetRecords()[1];
    EXPECT_STREQ(function, record.GetLocation().GetFunction());
    EXPECT_STREQ("ZuXDocument.cpp", record.GetLocation().GetFile());
    EXPECT_GT(record.GetLocation().GetLine(), 0);
    EXPECT_EQ(message, record.GetMessage());
}

void ExpectParseRecord(const CZuError& error, unsigned int win32, const std::string& message) {
    EXPECT_TRUE(error.IsError());
    EXPECT_EQ(win32, error.GetWin32Code());
    EXPECT_EQ(static_cast<int>(0x80070000u | win32), error.GetCode());
    ASSERT_FALSE(error.GetRecords().empty());
    const CZuErrorRecord& record = error.GetRecords()[0];
    EXPECT_EQ(message, record.GetMessage());
    EXPECT_STREQ("ZuXDocumentPrivate.cpp", record.GetLocation().GetFile());
    EXPECT_STREQ("static CZuError CZuXDocumentPrivate::GetErrorFromParseResult(pugi::xml_parse_result&)",
                 record.GetLocation().GetFunction());
    EXPECT_GT(record.GetLocation().GetLine(), 0);
}

const char* const kLoadFromString = "CZuError CZuXDocument::LoadFromString(const string&)";
const char* const kLoadFromFile = "CZuError CZuXDocument::LoadFromFile(const string&)";
const char* const kNoElement =
    "Error parsing, document without element nodes, Offset=[0], Description=[No document element found]";

TEST(DocumentLoadTest, WellFormedTextLoads) {
    CZuXDocument document;
    const CZuError result = document.LoadFromString("<?xml version=\"1.0\"?><root><a>text</a></root>");
    EXPECT_FALSE(result.IsError());
    EXPECT_TRUE(result.GetRecords().empty());
}

TEST(DocumentLoadTest, TextWithoutElementFailsWithEmptyCode) {
    for (const char* text : {"", "<?xml version=\"1.0\"?>", "<!-- only a comment -->", "   \n"}) {
        SCOPED_TRACE(text);
        CZuXDocument document;
        const CZuError error = document.LoadFromString(text);
        EXPECT_EQ(4306u, error.GetWin32Code());
        ExpectLoadRecord(error, kLoadFromString, "");
    }
    CZuXDocument document;
    ExpectParseRecord(document.LoadFromString(""), 4306, kNoElement);
}

TEST(DocumentLoadTest, MismatchedTagsGiveInvalidDataWithOffset) {
    CZuXDocument document;
    const CZuError error = document.LoadFromString("<root><a></b></root>");
    ExpectParseRecord(error, 13,
                      "Error parsing, mismatch of start-end tags, Offset=[11], Description=[Start-end tags mismatch]");
    ExpectLoadRecord(error, kLoadFromString, "");
}

TEST(DocumentLoadTest, MissingFileGivesFileNotFoundThenFileName) {
    const std::string path = kDataDir + "/no-such-file.xml";
    CZuXDocument document;
    const CZuError error = document.LoadFromFile(path);
    EXPECT_EQ(static_cast<int>(0x80070002u), error.GetCode());
    ExpectParseRecord(error, 2, "Description=[File was not found]");
    ExpectLoadRecord(error, kLoadFromFile, "FileName=[" + path + "]");
}

TEST(DocumentLoadTest, BadFileGivesParseErrorThenFileName) {
    const std::string path = kDataDir + "/mismatch.xml";
    CZuXDocument document;
    const CZuError error = document.LoadFromFile(path);
    ExpectParseRecord(error, 13,
                      "Error parsing, mismatch of start-end tags, Offset=[12], Description=[Start-end tags mismatch]");
    ExpectLoadRecord(error, kLoadFromFile, "FileName=[" + path + "]");
}

TEST(DocumentLoadTest, FileLoads) {
    CZuXDocument document;
    const CZuError result = document.LoadFromFile(kDataDir + "/declared.xml");
    EXPECT_FALSE(result.IsError()) << result.AsString();
}

TEST(DocumentLoadTest, EntryObjectAlwaysSucceeds) {
    CZuX entry;
    EXPECT_FALSE(entry.Initialize(boost::shared_ptr<CCommandLineArguments>()).IsError());
    EXPECT_FALSE(entry.Run().IsError());
}

} // namespace
