// The bytes of the saves: a file save writes exactly what pugixml's save_file writes.
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <functional>
#include <string>

namespace {

TEST(SaveOutputTest, EveryFileOverloadWritesWhatPugixmlWrites) {
    zuxtest::TempDir dir;
    const std::string source = zuxtest::DataDir() + "/declared.xml";
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(source).IsError());
    pugi::xml_document raw;
    ASSERT_TRUE(raw.load_file(source.c_str(), pugi::parse_default | pugi::parse_comments | pugi::parse_declaration));

    const std::string path = dir.File("zux.xml");
    const unsigned int bits = BZuXFormat::Indent | BZuXFormat::WriteBom | BZuXFormat::IndentAttributes | 0x100;
    const struct {
        std::function<CZuError()> save;
        const char* indent;
        unsigned int flags;
        pugi::xml_encoding encoding;
    } kSaves[] = {
        {[&] { return document.SaveToFile(path); }, "\t", pugi::format_indent, pugi::encoding_auto},
        {[&] { return document.SaveToFile(path, BZuXFormat(bits)); }, "\t", bits, pugi::encoding_auto},
        {[&] { return document.SaveToFile(path, std::string("  ")); }, "  ", pugi::format_indent, pugi::encoding_utf8},
        {[&] { return document.SaveToFile(path, std::string("- "), BZuXFormat(bits)); }, "- ", bits,
         pugi::encoding_utf8},
    };
    for (const auto& row : kSaves) {
        SCOPED_TRACE(row.indent);
        ASSERT_FALSE(row.save().IsError());
        ASSERT_TRUE(raw.save_file(dir.File("raw.xml").c_str(), row.indent, row.flags, row.encoding));
        EXPECT_EQ(zuxtest::ReadFile(dir.File("raw.xml")), zuxtest::ReadFile(path));
    }
}

} // namespace
