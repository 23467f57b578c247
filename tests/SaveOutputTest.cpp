// The bytes of the saves: a file save writes exactly what pugixml's save_file writes, and a
// declaration that is written as naming UTF-8 changes nothing else in the output.
#include "ZuXOutput.h"

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

// Each row: a document whose declaration names another encoding, and the document that the save
// must give, one that names UTF-8. Both are parsed as fragments, which keeps top-level text.
TEST(SaveOutputTest, DeclarationNamingUtf8ChangesNothingElse) {
    const struct {
        const char* document;
        const char* saved;
    } kDocuments[] = {
        {R"(<?xml version="1.0" encoding="ISO-8859-1"?><!--c--><r a="1">t<b/></r>)",
         R"(<?xml version="1.0" encoding="UTF-8"?><!--c--><r a="1">t<b/></r>)"},
        // After text and a comment, between values that are escaped, and two encodings.
        {R"(top<!--c--><?xml v="&quot;'&lt;" encoding='latin1' x="&#9;" encoding="UTF-16"?>tail<r/>end)",
         R"(top<!--c--><?xml v="&quot;'&lt;" encoding='UTF-8' x="&#9;" encoding="UTF-8"?>tail<r/>end)"},
        // After the root element pugixml writes its default declaration as well.
        {R"(<r/><?xml version="1.0" encoding="x"?>)", R"(<r/><?xml version="1.0" encoding="UTF-8"?>)"},
        {R"(<?xml version="1.0" encoding="utf-8"?><r/>)", R"(<?xml version="1.0" encoding="utf-8"?><r/>)"},
    };
    const unsigned int options =
        pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_fragment;
    for (const auto& row : kDocuments) {
        SCOPED_TRACE(row.document);
        pugi::xml_document document;
        pugi::xml_document saved;
        ASSERT_TRUE(document.load_string(row.document, options));
        ASSERT_TRUE(saved.load_string(row.saved, options));
        const std::string before = document.child("xml").attribute("encoding").value();
        for (unsigned int flags = 0; flags < 0x400; ++flags)
            for (const char* indent : {"", "\t", "  "}) {
                xml_string_writer wanted;
                saved.save(wanted, indent, flags, pugi::encoding_utf8);
                xml_string_writer written;
                SaveDocument(document, written, indent, flags, flags & 1 ? pugi::encoding_utf8 : pugi::encoding_auto,
                             false);
                ASSERT_EQ(wanted.m_text, written.m_text) << "flags " << flags << ", indent [" << indent << "]";
            }
        EXPECT_EQ(before, document.child("xml").attribute("encoding").value()) << "the tree is unchanged";
    }
}

} // namespace
