#include "ZuXDocumentPrivate.h"

#include "FailingAllocator.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char* const kFunction = "static CZuError CZuXDocumentPrivate::GetErrorFromParseResult(pugi::xml_parse_result&)";

// Statuses pugixml never makes lie outside the enumeration's range: they are stored as integers,
// since converting them to the enumeration is undefined.
pugi::xml_parse_result ParseResult(int status, std::ptrdiff_t offset) {
    pugi::xml_parse_result result;
    std::memcpy(&result.status, &status, sizeof status);
    result.offset = offset;
    return result;
}

int StatusOf(const pugi::xml_parse_result& result) {
    int status;
    std::memcpy(&status, &result.status, sizeof status);
    return status;
}

struct StatusRow {
    int status;
    unsigned int win32;
    const char* message; // for offset 1234
};

const StatusRow kRows[] = {
    {1, 2, "Description=[File was not found]"},
    {2, 30, "Error reading from file/stream, Offset=[1234], Description=[Error reading from file/stream]"},
    {3, 14, "Out of memory, Offset=[1234], Description=[Could not allocate memory]"},
    {4, 1359, "Internal error, Offset=[1234], Description=[Internal error occurred]"},
    {5, 13, "Error parsing, unrecognized tag, Offset=[1234], Description=[Could not determine tag type]"},
    {6, 13,
     "Error parsing document declaration/processing instruction, Offset=[1234], "
     "Description=[Error parsing document declaration/processing instruction]"},
    {7, 13, "Error parsing comment, Offset=[1234], Description=[Error parsing comment]"},
    {8, 13, "Error parsing CDATA section, Offset=[1234], Description=[Error parsing CDATA section]"},
    {9, 13, "Error parsing, Offset=[1234], Description=[Error parsing document type declaration]"},
    {10, 13, "Error parsing PCDATA section, Offset=[1234], Description=[Error parsing PCDATA section]"},
    {11, 13, "Error parsing start element tag, Offset=[1234], Description=[Error parsing start element tag]"},
    {12, 13, "Error parsing element attribute, Offset=[1234], Description=[Error parsing element attribute]"},
    {13, 13, "Error parsing end element tag, Offset=[1234], Description=[Error parsing end element tag]"},
    {14, 13, "Error parsing, mismatch of start-end tags, Offset=[1234], Description=[Start-end tags mismatch]"},
    {15, 13,
     "Error parsing, unable to append nodes, Offset=[1234], "
     "Description=[Unable to append nodes: root is not an element or document]"},
    {16, 4306, "Error parsing, document without element nodes, Offset=[1234], Description=[No document element found]"},
    {17, 774, "Unknown error, Offset=[1234], Status=[17], Description=[Unknown error]"},
    {1000, 774, "Unknown error, Offset=[1234], Status=[1000], Description=[Unknown error]"},
    {-1, 774, "Unknown error, Offset=[1234], Status=[-1], Description=[Unknown error]"},
};

TEST(ParseResultTest, EveryStatusMapsToItsCodeAndMessage) {
    for (const StatusRow& row : kRows) {
        SCOPED_TRACE("status " + std::to_string(row.status));
        pugi::xml_parse_result parsed = ParseResult(row.status, 1234);
        const CZuError error = CZuXDocumentPrivate::GetErrorFromParseResult(parsed);
        EXPECT_TRUE(error.IsError());
        EXPECT_EQ(row.win32, error.GetWin32Code());
        EXPECT_EQ(static_cast<int>(0x80070000u | row.win32), error.GetCode());
        ASSERT_EQ(1u, error.GetRecords().size());
        const CZuErrorRecord& record = error.GetRecords()[0];
        EXPECT_EQ(row.message, record.GetMessage());
        EXPECT_STREQ(kFunction, record.GetLocation().GetFunction());
        EXPECT_STREQ("ZuXDocumentPrivate.cpp", record.GetLocation().GetFile());
        EXPECT_GT(record.GetLocation().GetLine(), 0);
        EXPECT_EQ(row.status, StatusOf(parsed)) << "the parse result is not changed";
    }
}

TEST(ParseResultTest, OkIsSuccessWithoutRecords) {
    pugi::xml_parse_result parsed = ParseResult(pugi::status_ok, 99);
    const CZuError result = CZuXDocumentPrivate::GetErrorFromParseResult(parsed);
    EXPECT_FALSE(result.IsError());
    EXPECT_TRUE(result.GetRecords().empty());
}

TEST(ParseResultTest, OffsetUsesTheFullWidth) {
    pugi::xml_parse_result parsed = ParseResult(pugi::status_bad_comment, static_cast<std::ptrdiff_t>(1) << 40);
    EXPECT_EQ("Error parsing comment, Offset=[1099511627776], Description=[Error parsing comment]",
              CZuXDocumentPrivate::GetErrorFromParseResult(parsed).GetRecords()[0].GetMessage());
}

// A load's text comes from pugixml's allocator, read or decoded: without it the load fails as
// pugixml's own would, and the document is empty.
TEST(ParseResultTest, LoadsWithoutMemoryForTheirText) {
    zuxtest::TempDir dir;
    zuxtest::WriteFile(dir.File("in.xml"), "<?xml version=\"1.0\" encoding=\"windows-1252\"?><r>\x80</r>");
    for (long allowed : {0L, 1L}) { // the bytes read, then the decoded text
        CZuXDocument document;
        ASSERT_FALSE(document.LoadFromString("<old/>").IsError());
        zuxtest::ScopedAllocationFailure fail(zuxtest::Allocator::Pugixml, allowed);
        const CZuError result = document.LoadFromFile(dir.File("in.xml"));
        ASSERT_EQ(14u, result.GetWin32Code());
        EXPECT_EQ("Out of memory, Offset=[0], Description=[Could not allocate memory]",
                  result.GetRecords()[0].GetMessage());
        EXPECT_EQ("", zuxtest::Text(document));
    }
}

} // namespace
