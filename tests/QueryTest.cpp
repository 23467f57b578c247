#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using zuxtest::ExpectError;
using zuxtest::Parse;
using zuxtest::TextOf;

const char* const kSelectNodes = "CZuError CZuXDocument::SelectNodes(CZuXPathNodeSetPtr&, const string&)";

const char* const kItems = "<root><item id=\"1\">one</item><other/><item id=\"2\">two</item></root>";

CZuXNodePtr NodeOf(const CZuXPathNodeSetPtr& set, unsigned long index) {
    return boost::make_shared<CZuXNode>(set->Node(index)->NodePrivate());
}

TEST(SelectNodesTest, SelectsInDocumentOrder) {
    auto document = Parse(kItems);
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//item").IsError());
    ASSERT_TRUE(set);
    EXPECT_FALSE(set->Empty());
    ASSERT_EQ(2u, set->Size());
    EXPECT_EQ("one", TextOf(*NodeOf(set, 0)));
    EXPECT_EQ("two", TextOf(*NodeOf(set, 1)));

    ASSERT_FALSE(document->SelectNodes(set, "root/item[@id='2'] | /root/other").IsError());
    ASSERT_EQ(2u, set->Size());
    // A union comes back in the order pugixml gives it; both items are there.
    EXPECT_EQ(1, (NodeOf(set, 0)->Name() == "other") + (NodeOf(set, 1)->Name() == "other"));
}

TEST(SelectNodesTest, EmptySelectionsSucceed) {
    auto document = Parse(kItems);
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//missing").IsError());
    ASSERT_TRUE(set);
    EXPECT_TRUE(set->Empty());
    EXPECT_EQ(0u, set->Size());

    CZuXDocument empty;
    ASSERT_FALSE(empty.SelectNodes(set, "/*").IsError());
    EXPECT_TRUE(set->Empty());
}

TEST(SelectNodesTest, FailuresCarryPugixmlsDescriptionAndLeaveNoSet) {
    auto document = Parse(kItems);
    struct Row {
        const char* query;
        const char* error;
    };
    const Row rows[] = {
        {"count(//item)", "Expression does not evaluate to node set"},
        {"//item[1", "Expected ']' to match an opening '['"},
        {"nosuchfunction(1)", "Unrecognized function or wrong parameter count"},
        {"//item[@id = $wanted]", "Unknown variable: variable set is not provided"},
        {"", "Unrecognized node test"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.query);
        CZuXPathNodeSetPtr set;
        ASSERT_FALSE(document->SelectNodes(set, "//item").IsError());
        ASSERT_TRUE(set) << "the out-parameter holds a set before the failing call";
        ExpectError(document->SelectNodes(set, row.query), 774, "ZuXDocument.cpp", kSelectNodes,
                    std::string("XPath query failed, Query=[") + row.query + "], error=" + row.error);
        EXPECT_FALSE(set);
    }
}

TEST(SelectNodesTest, AttributeItemsGiveNoNode) {
    auto document = Parse(kItems);
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//item/attribute::id").IsError());
    ASSERT_EQ(2u, set->Size());
    for (unsigned long i = 0; i < set->Size(); ++i) EXPECT_FALSE(NodeOf(set, i)->Exists());
}

TEST(SelectNodesTest, AttributeItemsGiveTheirAttributeAndElement) {
    auto document = Parse(kItems);
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//item/@id").IsError());
    ASSERT_EQ(2u, set->Size());
    const boost::shared_ptr<CZuXPathNode> second = set->Node(1);
    const CZuXAttribute id(second->AttributePrivate());
    EXPECT_EQ("id", id.Name());
    EXPECT_EQ(2, id.AsINT(0));
    CZuXNode owner(second->ParentPrivate());
    EXPECT_EQ("two", TextOf(owner));
    EXPECT_EQ("/root/item", owner.Path());

    ASSERT_FALSE(document->SelectNodes(set, "//other").IsError());
    EXPECT_FALSE(CZuXAttribute(set->Node(0)->AttributePrivate()).Exists()) << "a node item has no attribute";
    EXPECT_EQ("root", CZuXNode(set->Node(0)->ParentPrivate()).Name());
    EXPECT_FALSE(CZuXNode(CZuXPathNode().ParentPrivate()).Exists());
}

TEST(SelectNodesTest, PathsNameEveryAncestor) {
    auto document = Parse("<a><b><c>t</c></b></a>");
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//c | //c/text()").IsError());
    ASSERT_EQ(2u, set->Size());
    EXPECT_EQ("/a/b/c", NodeOf(set, 0)->Path());
    EXPECT_EQ("/a/b/c/", NodeOf(set, 1)->Path()) << "a text node adds an empty name";
    EXPECT_EQ("", CZuXNode().Path());
}

TEST(SelectNodesTest, EachNodeCallMakesNewHandlesOnTheSameItem) {
    auto document = Parse(kItems);
    CZuXPathNodeSetPtr set;
    document->SelectNodes(set, "//item");
    const boost::shared_ptr<CZuXPathNode> first = set->Node(0);
    const boost::shared_ptr<CZuXPathNode> again = set->Node(0);
    EXPECT_NE(first, again);
    const CZuXNodePrivatePtr a = first->NodePrivate();
    const CZuXNodePrivatePtr b = again->NodePrivate();
    EXPECT_NE(a, b);
    CZuXNode one(a);
    CZuXNode two(b);
    two.SetText("changed");
    EXPECT_EQ("changed", TextOf(one));
}

TEST(SelectNodesTest, IndexPastTheEndGivesAnEmptyItem) {
    auto document = Parse(kItems);
    CZuXPathNodeSetPtr set;
    document->SelectNodes(set, "//item");
    const boost::shared_ptr<CZuXPathNode> beyond = set->Node(2);
    ASSERT_TRUE(beyond);
    EXPECT_FALSE(CZuXNode(beyond->NodePrivate()).Exists());
    EXPECT_FALSE(CZuXNode(set->Node(static_cast<unsigned long>(-1))->NodePrivate()).Exists());
}

TEST(SelectNodesTest, DefaultConstructedSetAndNodeAreEmpty) {
    CZuXPathNodeSet set;
    EXPECT_TRUE(set.Empty());
    EXPECT_EQ(0u, set.Size());
    EXPECT_FALSE(CZuXNode(set.Node(0)->NodePrivate()).Exists());
    CZuXPathNode node;
    const CZuXNodePrivatePtr body = node.NodePrivate();
    ASSERT_TRUE(body);
    EXPECT_FALSE(CZuXNode(body).Exists());
}

TEST(SelectNodesTest, NodeBodiesOutliveTheDocumentAndTheSet) {
    CZuXNodePrivatePtr body;
    {
        auto document = Parse(kItems);
        CZuXPathNodeSetPtr set;
        document->SelectNodes(set, "//item");
        body = set->Node(1)->NodePrivate();
    }
    CZuXNode item(body);
    EXPECT_EQ("two", TextOf(item));
    EXPECT_EQ(2, item.AttributeAsINT("id", 0));
}

TEST(SelectNodesTest, SetsAreNotReevaluated) {
    auto document = Parse(kItems);
    CZuXPathNodeSetPtr set;
    document->SelectNodes(set, "//item");
    CZuXNode(document->GetNode("root")).AppendNode("item");
    EXPECT_EQ(2u, set->Size());
}

std::string QueryName(CZuXDocument& document, const std::string& query) {
    CZuXNodePrivatePtr body;
    const CZuError result = document.QueryPrivate(body, query);
    EXPECT_FALSE(result.IsError());
    EXPECT_TRUE(body);
    CZuXNode node(body);
    if (!node.Exists()) return "(none)";
    std::string text;
    node.GetText(text);
    return node.Name() + (text.empty() ? "" : ":" + text);
}

TEST(QueryPrivateTest, SlashPaths) {
    auto document = Parse("<root><item>1</item><item>2</item><sub><item>3</item></sub></root>");
    EXPECT_EQ("item:1", QueryName(*document, "root/item"));
    EXPECT_EQ("item:1", QueryName(*document, "/root/item"));
    EXPECT_EQ("item:1", QueryName(*document, "root//item")) << "repeated slashes count as one";
    EXPECT_EQ("root", QueryName(*document, "/root"));
    EXPECT_EQ("item:3", QueryName(*document, "root/sub/item"));
    EXPECT_EQ("(none)", QueryName(*document, "root/none"));
    EXPECT_EQ("(none)", QueryName(*document, "//item[1]"));
    EXPECT_EQ("(none)", QueryName(*document, "root/*"));
    EXPECT_EQ("(none)", QueryName(*document, "Root"));
    EXPECT_EQ("root", QueryName(*document, "root/sub/.."));
    EXPECT_EQ("sub", QueryName(*document, "root/./sub"));
    EXPECT_EQ("(none)", QueryName(*document, std::string("ro\0ot", 5)));
}

TEST(QueryPrivateTest, EmptyQueryGivesTheDocumentNode) {
    auto document = Parse("<root/>");
    CZuXNodePrivatePtr body;
    ASSERT_FALSE(document->QueryPrivate(body, "").IsError());
    CZuXNode documentNode(body);
    EXPECT_TRUE(documentNode.Exists());
    EXPECT_EQ("", documentNode.Name());
    EXPECT_EQ("root", CZuXNode(documentNode.GetFirstNode()).Name());

    // The document node is no source for a copy.
    CZuXNode root(document->GetNode("root"));
    ExpectError(root.AppendNodeCopy(boost::make_shared<CZuXNode>(body)), 1168, "ZuXNode.cpp",
                "CZuError CZuXNode::AppendNodeCopy(CZuXNodePtr)", "");
}

TEST(QueryPrivateTest, APartialMatchDoesNotStopTheSearch) {
    auto document = Parse("<top><a/><a><b>found</b></a></top>");
    EXPECT_EQ("b:found", QueryName(*document, "top/a/b"));

    // The same at the top level, with two root elements named a.
    CZuXDocument twoRoots;
    twoRoots.AppendNode("a");
    CZuXNode second(twoRoots.AppendNode("a"));
    CZuXNode(second.AppendNode("b")).SetText("second");
    EXPECT_EQ("b:second", QueryName(twoRoots, "a/b"));
}

TEST(QueryPrivateTest, OutParameterIsReplaced) {
    auto document = Parse("<root/>");
    CZuXNodePrivatePtr body = document->GetNode("root");
    const CZuXNodePrivatePtr before = body;
    ASSERT_FALSE(document->QueryPrivate(body, "missing").IsError());
    EXPECT_NE(before, body);
    EXPECT_FALSE(CZuXNode(body).Exists());
}

} // namespace

TEST(EvaluateXPathTest, EveryExpressionGivesItsStringValue) {
    auto document = Parse("<root><item id=\"1\" p=\"1.75\">one</item><item id=\"2\" p=\"0.5\">two</item></root>");
    const std::pair<const char*, const char*> rows[] = {
        {"count(//item)", "2"},
        {"sum(//item/@p)", "2.25"},
        {"//item[2]/@p * 3", "1.5"},
        {"string(/root/item/@id)", "1"},
        {"//item", "one"},
        {"//item[@id = 2] = 'two'", "true"},
        {"//missing", ""},
        {"1 div 0", "Infinity"},
        {"concat(//item[1], '+', //item[2])", "one+two"},
    };
    for (const auto& row : rows) {
        std::string value = "unchanged";
        const CZuError result = document->EvaluateXPath(value, row.first);
        EXPECT_FALSE(result.IsError()) << row.first << ": " << result.AsString();
        EXPECT_EQ(row.second, value) << row.first;
    }

    std::string value = "unchanged";
    ExpectError(document->EvaluateXPath(value, "count(//item"), 774, "ZuXDocument.cpp",
                "CZuError CZuXDocument::EvaluateXPath(std::string&, const string&)",
                "XPath evaluation failed, Query=[count(//item], error=No comma between function arguments");
    EXPECT_EQ("unchanged", value);
}
