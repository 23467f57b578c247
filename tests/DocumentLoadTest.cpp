#include "TestSupport.h"

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

TEST(DocumentLoadTest, LoadReplacesTheTree) {
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromString("<first><a/></first>").IsError());
    ASSERT_FALSE(document.LoadFromString("<second/>").IsError());
    EXPECT_EQ("<second/>", zuxtest::Text(document));
}

TEST(DocumentLoadTest, FailedLoadLeavesNoTraceOfThePreviousTree) {
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromString("<first><a/></first>").IsError());
    EXPECT_TRUE(document.LoadFromString("").IsError());
    EXPECT_EQ("", zuxtest::Text(document));

    ASSERT_FALSE(document.LoadFromString("<first/>").IsError());
    EXPECT_TRUE(document.LoadFromFile(kDataDir + "/no-such-file.xml").IsError());
    EXPECT_EQ("", zuxtest::Text(document));

    // After a parse error the document holds what was parsed before it.
    EXPECT_TRUE(document.LoadFromString("<root><kept/><broken></root>").IsError());
    EXPECT_EQ("<root><kept/><broken/></root>", zuxtest::Text(document));
}

TEST(DocumentLoadTest, TextEndsAtTheFirstNul) {
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromString(std::string("<a/>\0<b/>", 9)).IsError());
    EXPECT_EQ("<a/>", zuxtest::Text(document));
    EXPECT_EQ(4306u, document.LoadFromString(std::string("\0<a/>", 5)).GetWin32Code());
}

TEST(DocumentLoadTest, FileKeepsCommentsAndDeclarationStringDropsThem) {
    const std::string content = zuxtest::ReadFile(kDataDir + "/declared.xml");
    CZuXDocument fromFile;
    ASSERT_FALSE(fromFile.LoadFromFile(kDataDir + "/declared.xml").IsError());
    CZuXDocument fromString;
    ASSERT_FALSE(fromString.LoadFromString(content).IsError());

    EXPECT_TRUE(CZuXNode(fromFile.GetNode("xml")).Exists());
    EXPECT_FALSE(CZuXNode(fromString.GetNode("xml")).Exists());
    const std::string fileText = zuxtest::Text(fromFile);
    EXPECT_NE(std::string::npos, fileText.find("<!-- a comment before the root -->"));
    EXPECT_NE(std::string::npos, fileText.find("<!-- a comment inside -->"));
    EXPECT_EQ("<root version=\"2\"><item id=\"1\">one</item><item id=\"2\">two</item></root>",
              zuxtest::Text(fromString));

    // Saved again, the string form gets the default declaration in place of its own.
    std::string saved;
    fromString.SaveAsString(saved);
    EXPECT_EQ(0u, saved.find("<?xml version=\"1.0\"?><root"));
}

TEST(DocumentLoadTest, FileEncodingIsDetected) {
    zuxtest::TempDir dir;
    // "<a>é</a>" in UTF-16 little endian with a byte-order mark.
    zuxtest::WriteFile(dir.File("utf16.xml"), std::string("\xFF\xFE<\0a\0>\0\xE9\0<\0/\0a\0>\0", 18));
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(dir.File("utf16.xml")).IsError());
    EXPECT_EQ("<a>\xC3\xA9</a>", zuxtest::Text(document));
}

TEST(DocumentLoadTest, EntryObjectAlwaysSucceeds) {
    CZuX entry;
    EXPECT_FALSE(entry.Initialize(boost::shared_ptr<CCommandLineArguments>()).IsError());
    EXPECT_FALSE(entry.Run().IsError());
}

} // namespace
