// Nodes of every kind: where each can be made, what the loads keep of a file, and what SetValue
// and SetName refuse. Whatever is made is saved, loaded again and saved again to the same text.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Kind = CZuXNode::NodeKind;

// The kinds of the children of `parent`, as digits.
std::string Kinds(const CZuXNode::ChildRange& children) {
    std::string kinds;
    for (CZuXNode& child : children) kinds += static_cast<char>('0' + static_cast<int>(child.Kind()));
    return kinds;
}

// Where each kind is made ("LFAB": last, first, after and before the reference), below <r> (the
// reference <a/>) and at the top level (the reference <r>, after a comment), in the order of
// NodeKind: None, Document, Element, Text, CData, Comment, Declaration, ProcessingInstruction, DocType.
const char* const kInElement[] = {"", "", "", "LFAB", "LFAB", "LFAB", "", "LFAB", ""};
const char* const kAtTop[] = {"", "", "", "", "", "LFAB", "F", "LFAB", "FB"};

TEST(NodeKindTest, EveryKindStandsWhereItMayAndSurvivesASaveAndALoad) {
    const char kPlaces[] = "LFAB";
    for (int index = 0; index < 9; ++index)
        for (const bool top : {false, true})
            for (int place = 0; place < 4; ++place) {
                SCOPED_TRACE(std::to_string(index) + (top ? " top " : " below ") + kPlaces[place]);
                const Kind kind = static_cast<Kind>(index);
                CZuXDocument document;
                ASSERT_FALSE(document.LoadFromString("<!--c--><r><a/><b/></r>", BZuXLoad::KeepAll).IsError());
                CZuXNode r(document.GetNode("r"));
                const CZuXNode reference(top ? document.GetNode("r") : r.GetNode("a"));
                const std::string before = zuxtest::Text(document);
                const std::string kinds = top ? Kinds(document.Children()) : Kinds(r.Children());
                CZuXNode made(
                    place == 0   ? (top ? document.AppendNode(kind) : r.AppendNode(kind))
                    : place == 1 ? (top ? document.PrependNode(kind) : r.PrependNode(kind))
                    : place == 2
                        ? (top ? document.InsertNodeAfter(kind, reference) : r.InsertNodeAfter(kind, reference))
                        : (top ? document.InsertNodeBefore(kind, reference) : r.InsertNodeBefore(kind, reference)));
                const bool stands = std::strchr(top ? kAtTop[index] : kInElement[index], kPlaces[place]) != nullptr;
                ASSERT_EQ(stands, made.Exists());
                if (!stands) {
                    EXPECT_EQ(before, zuxtest::Text(document));
                    continue;
                }
                // The reference is the second node at the top level, the first below <r>.
                const std::size_t at[] = {kinds.size(), 0, top ? 2u : 1u, top ? 1u : 0u};
                const CZuXNode::ChildRange parent = top ? document.Children() : r.Children();
                EXPECT_EQ(std::string(kinds).insert(at[place], 1, static_cast<char>('0' + index)), Kinds(parent));

                EXPECT_FALSE((kind == Kind::Declaration             ? made.SetAttributeString("version", "1.0")
                              : kind == Kind::ProcessingInstruction ? made.SetName("p")
                                                                    : made.SetValue("v"))
                                 .IsError());
                const std::string saved = zuxtest::Text(document);
                CZuXDocument again;
                ASSERT_FALSE(again.LoadFromString(saved, BZuXLoad::KeepAll).IsError());
                EXPECT_EQ(saved, zuxtest::Text(again));
                EXPECT_EQ(Kinds(parent), Kinds(top ? again.Children() : CZuXNode(again.GetNode("r")).Children()));
            }
}

// A file holding every kind, as pugixml writes it without indentation.
const char kEveryKind[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE r [<!ELEMENT r ANY>]><?p v?><!--c-->"
                          "<r a=\"1\">\n\t<![CDATA[d]]>t<?q?>\n</r>";

TEST(NodeKindTest, LoadsKeepExactlyTheKindsNamed) {
    const struct {
        BZuXLoad keep;
        const char* saved;
    } kLoads[] = {
        {BZuXLoad(), "<r a=\"1\"><![CDATA[d]]>t</r>"},
        {BZuXLoad::KeepComments, "<!--c--><r a=\"1\"><![CDATA[d]]>t</r>"},
        {BZuXLoad::KeepProcessingInstructions, "<?p v?><r a=\"1\"><![CDATA[d]]>t<?q?></r>"},
        {BZuXLoad::KeepDocType, "<!DOCTYPE r [<!ELEMENT r ANY>]><r a=\"1\"><![CDATA[d]]>t</r>"},
        {BZuXLoad::KeepWhitespaceText, "<r a=\"1\">\n\t<![CDATA[d]]>t\n</r>"},
        {BZuXLoad::KeepDeclaration, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"1\"><![CDATA[d]]>t</r>"},
        {BZuXLoad(0x1000), "<r a=\"1\"><![CDATA[d]]>t</r>"},
    };
    zuxtest::TempDir dir;
    zuxtest::WriteFile(dir.File("every.xml"), kEveryKind);
    for (const auto& row : kLoads) {
        SCOPED_TRACE(BZuXLoad::AsString(row.keep.AsValue()));
        for (const bool file : {true, false}) {
            CZuXDocument document;
            ASSERT_FALSE((file ? document.LoadFromFile(dir.File("every.xml"), row.keep)
                               : document.LoadFromString(kEveryKind, row.keep))
                             .IsError());
            EXPECT_EQ(row.saved, zuxtest::Text(document));
        }
    }
    // Bits that name no kind are not passed on: 0x1000 would let pugixml load a document without an element.
    EXPECT_EQ(4306u,
              CZuXDocument().LoadFromString("<!--c-->", BZuXLoad(0x1000 | BZuXLoad::KeepComments)).GetWin32Code());
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(dir.File("every.xml"), BZuXLoad::KeepAll).IsError());
    ASSERT_FALSE(document.SaveToFile(dir.File("saved.xml"), BZuXFormat::Raw).IsError());
    EXPECT_EQ(kEveryKind, zuxtest::ReadFile(dir.File("saved.xml")));
}

TEST(NodeKindTest, SetValueAndSetNameRefuseWhatWouldNotComeBack) {
    // Top level: declaration, document type, instruction, <r>; below <r>: comment, CDATA, text,
    // instruction. "/" is the document node, "-" an empty handle.
    const char* const kXml = "<?xml version=\"1.0\"?><!DOCTYPE r><?p v?><r><!--c--><![CDATA[d]]>t<?q w?></r>";
    struct Call {
        std::string argument;
        unsigned int win32;
    };
    const struct {
        const char* node; // "top N" or "r N": the N-th child
        bool name;        // SetName, else SetValue
        std::vector<Call> calls;
    } kCalls[] = {
        {"top 0", false, {{"x", 1168}}},
        {"top 0", true, {{"xml", 1168}}},
        {"top 1", false, {{"r [<!ELEMENT r ANY>]", 0}, {"r \"a", 13}, {"r>", 13}, {" r", 13}}},
        {"top 2", false, {{"a ?> b", 13}, {" a", 13}, {"a=\"1\" b", 0}}},
        {"top 2", true, {{"xml", 1168}, {"XmL", 1168}, {"a b", 1168}, {"xml-stylesheet", 0}}},
        {"top 3", false, {{"x", 1168}}},
        {"top 3", true, {{"", 1168}, {"s:t", 0}}},
        {"r 0", false, {{"a--b", 13}, {"a-", 13}, {"- a - b", 0}}},
        {"r 0", true, {{"c", 1168}}},
        {"r 1", false, {{"a]]>b", 0}}},
        {"r 2", false, {{std::string("a\0b", 3), 13}, {"a < b & c", 0}}},
        {"/", false, {{"x", 1168}}},
        {"/", true, {{"x", 1168}}},
        {"-", false, {{"x", 1168}}},
        {"-", true, {{"x", 1168}}},
    };
    for (const auto& row : kCalls)
        for (const Call& call : row.calls) {
            SCOPED_TRACE(std::string(row.node) + (row.name ? " name " : " value ") + call.argument);
            CZuXDocument document;
            ASSERT_FALSE(document.LoadFromString(kXml, BZuXLoad::KeepAll).IsError());
            const std::string where = row.node;
            CZuXNode node;
            if (where == "/") node = CZuXNode(document.GetDocumentNode());
            if (where.size() > 2) {
                node = CZuXNode(where[0] == 't' ? document.GetDocumentNode() : document.GetNode("r"));
                node = CZuXNode(node.GetFirstNode());
                for (char n = where.back(); n > '0'; --n) node.MoveNextSibling();
            }
            std::string before;
            document.SaveAsString(before);
            const CZuError result = row.name ? node.SetName(call.argument.c_str()) : node.SetValue(call.argument);
            EXPECT_EQ(call.win32, result.GetWin32Code());
            std::string saved;
            document.SaveAsString(saved);
            if (call.win32 == 0)
                EXPECT_EQ(call.argument, row.name ? node.Name() : node.Value());
            else
                EXPECT_EQ(before, saved) << "a refusal changes nothing";
            // What was stored comes back from a save and a load.
            CZuXDocument again;
            ASSERT_FALSE(again.LoadFromString(saved, BZuXLoad::KeepAll).IsError());
            std::string reloaded;
            again.SaveAsString(reloaded);
            EXPECT_EQ(saved, reloaded);
        }
}

} // namespace
