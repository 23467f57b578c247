// The node's parent, its kind and value, its text from a const handle, and XPath from a node.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zuxtest::Parse;

using Kind = CZuXNode::NodeKind;

TEST(NodeOperationsTest, EveryKindOfNodeTellsWhatItIs) {
    zuxtest::TempDir dir;
    const std::string path = dir.File("kinds.xml");
    zuxtest::WriteFile(path, "<?xml version=\"1.0\"?><!-- note --><r>one<![CDATA[two]]><e>three</e></r>");
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(path).IsError());
    CZuXNodePrivatePtr top;
    ASSERT_FALSE(document.QueryPrivate(top, "").IsError());
    CZuXNode r(document.GetNode("r"));

    struct Row {
        CZuXNode node;
        Kind kind;
        const char* name;
        const char* value;
        const char* text; // GetText on a const handle
    };
    const std::vector<Row> rows = {
        {CZuXNode(top), Kind::Document, "", "", ""},
        {CZuXNode(document.GetNode("xml")), Kind::Declaration, "xml", "", ""},
        {CZuXNode(CZuXNode(top).GetFirstNode()).GetParent() /* the document node again */, Kind::Document, "", "", ""},
        {CZuXNode(document.GetNode("r")), Kind::Element, "r", "", "one"},
        {CZuXNode(r.GetFirstNode()), Kind::Text, "", "one", "one"},
        {CZuXNode(r.GetNode("e")), Kind::Element, "e", "", "three"},
        {CZuXNode(), Kind::None, "", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.kind, row.node.Kind());
        EXPECT_EQ(row.kind == Kind::Element, row.node.IsElement());
        EXPECT_EQ(row.name, row.node.Name());
        EXPECT_EQ(row.value, row.node.Value());
        std::string text = "old";
        EXPECT_FALSE(row.node.GetText(text).IsError());
        EXPECT_EQ(row.text, text);
    }
    // The comment and the CDATA section, found by walking.
    CZuXNode comment(document.GetNode("xml"));
    comment.MoveNextSibling();
    EXPECT_EQ(Kind::Comment, comment.Kind());
    EXPECT_EQ(" note ", comment.Value()) << "a comment's content is its value";
    EXPECT_EQ("", zuxtest::TextOf(comment)) << "and not its text";
    CZuXNode cdata(r.GetFirstNode());
    cdata.MoveNextSibling();
    EXPECT_EQ(Kind::CData, cdata.Kind());
    EXPECT_EQ("two", cdata.Value());
}

TEST(NodeOperationsTest, GetParentClimbsToTheDocumentNode) {
    auto document = Parse("<r><a>text</a></r>");
    CZuXNode a(CZuXNode(document->GetNode("r")).GetNode("a"));
    std::vector<Kind> kinds;
    std::vector<std::string> names;
    for (CZuXNode node(CZuXNode(a.GetFirstNode()).GetParent()); node.Exists(); node = CZuXNode(node.GetParent())) {
        kinds.push_back(node.Kind());
        names.push_back(node.Name());
    }
    EXPECT_EQ((std::vector<Kind>{Kind::Element, Kind::Element, Kind::Document}), kinds);
    EXPECT_EQ((std::vector<std::string>{"a", "r", ""}), names);
    EXPECT_FALSE(CZuXNode(CZuXNode().GetParent()).Exists());
}

// Names (or values, for attributes) of what a query selects, or the failure's message.
template <class From>
std::string Selected(From& from, const std::string& query, const char* function) {
    CZuXPathNodeSetPtr set;
    const CZuError result = from.SelectNodes(set, query);
    if (result.IsError()) {
        EXPECT_FALSE(set);
        EXPECT_STREQ(function, result.GetRecords().at(0).GetLocation().GetFunction());
        return std::to_string(result.GetWin32Code()) + " " + result.GetRecords()[0].GetMessage();
    }
    std::string names;
    for (unsigned long i = 0; i < set->Size(); ++i) {
        const CZuXNode node(set->Node(i)->NodePrivate());
        names += node.Exists() ? node.Name() + ";" : CZuXAttribute(set->Node(i)->AttributePrivate()).AsString() + ";";
    }
    return names;
}

TEST(NodeOperationsTest, SelectNodesFromANode) {
    const char* const kNode = "CZuError CZuXNode::SelectNodes(CZuXPathNodeSetPtr&, const string&) const";
    const char* const kDocument = "CZuError CZuXDocument::SelectNodes(CZuXPathNodeSetPtr&, const string&)";
    auto document = Parse("<r><s><i n=\"1\"/><i n=\"2\"/></s><i n=\"3\"/></r>");
    const CZuXNode s(CZuXNode(document->GetNode("r")).GetNode("s"));

    // Absolute queries and failures: the same as the document's, with the node's function text.
    for (const char* query : {"//i", "/r/i", "//i/@n", "//none", "count(//i)", "//i[1", "//i[@n = $v]"}) {
        SCOPED_TRACE(query);
        EXPECT_EQ(Selected(*document, query, kDocument), Selected(s, query, kNode));
    }
    // Relative queries start at the node.
    EXPECT_EQ("i;i;", Selected(s, "i", kNode));
    EXPECT_EQ("2;", Selected(s, "i[2]/@n", kNode));
    EXPECT_EQ("r;", Selected(s, "..", kNode));
    EXPECT_EQ("s;", Selected(s, ".", kNode));
    EXPECT_EQ("", Selected(*document, "i", kDocument));
    // An empty handle selects nothing, but a bad expression still fails.
    const CZuXNode empty;
    EXPECT_EQ("", Selected(empty, "//i", kNode));
    EXPECT_EQ("", Selected(empty, ".", kNode));
    EXPECT_EQ(Selected(*document, "//i[", kDocument), Selected(empty, "//i[", kNode));
}

} // namespace
