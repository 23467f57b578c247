#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using zuxtest::Parse;
using zuxtest::Text;
using zuxtest::TextOf;

// Names of the children, walked with GetFirstNode and MoveNextSibling; "#" for nameless nodes.
std::vector<std::string> Children(CZuXNode& parent) {
    std::vector<std::string> names;
    for (CZuXNode child(parent.GetFirstNode()); child.Exists(); child.MoveNextSibling())
        names.push_back(child.Name().empty() ? "#" : child.Name());
    return names;
}

TEST(NodeNavigationTest, DefaultHandleIsEmptyEverywhere) {
    CZuXNode node;
    EXPECT_FALSE(node.Exists());
    EXPECT_EQ("", node.Name());
    EXPECT_EQ("", TextOf(node));
    EXPECT_FALSE(node.MoveNext().IsError());
    EXPECT_FALSE(node.MoveNextSibling().IsError());
    EXPECT_FALSE(node.MovePreviousSibling().IsError());
    EXPECT_FALSE(node.Exists());
    EXPECT_FALSE(CZuXNode(node.GetFirstNode()).Exists());
    EXPECT_FALSE(CZuXNode(node.GetNode("a")).Exists());
    EXPECT_FALSE(CZuXAttribute(node.GetFirstAttribute()).Exists());
    zuxtest::ExpectError(node.SetText("x"), 1168, "ZuXNode.cpp", "CZuError CZuXNode::SetText(const string&)", "");
}

TEST(NodeNavigationTest, MoveNextWalksSiblingsOfOneName) {
    auto document = Parse("<p><a>1</a><b/><a>2</a></p>");
    CZuXNode p(document->GetNode("p"));
    CZuXNode a(p.GetNode("a"));
    EXPECT_EQ("a", a.Name());
    EXPECT_FALSE(a.MoveNext().IsError());
    ASSERT_TRUE(a.Exists());
    EXPECT_EQ("a", a.Name());
    EXPECT_EQ("2", TextOf(a));
    a.MoveNext();
    EXPECT_FALSE(a.Exists());

    CZuXNode first(p.GetNode("a"));
    first.MoveNextSibling();
    EXPECT_EQ("b", first.Name());
    EXPECT_EQ((std::vector<std::string>{"a", "b", "a"}), Children(p));
}

TEST(NodeNavigationTest, WalkEndsAreEmptyAndStayEmpty) {
    auto document = Parse("<p><a/><b/></p>");
    CZuXNode p(document->GetNode("p"));
    CZuXNode first(p.GetFirstNode());
    first.MovePreviousSibling();
    EXPECT_FALSE(first.Exists());
    first.MoveNextSibling();
    EXPECT_FALSE(first.Exists()) << "an empty handle does not come back";

    CZuXNode last(p.GetNode("b"));
    last.MoveNextSibling();
    EXPECT_FALSE(last.Exists());
}

TEST(NodeNavigationTest, TextAndElementChildren) {
    auto document = Parse("<p>one<b/>two</p>");
    CZuXNode p(document->GetNode("p"));
    EXPECT_EQ("one", TextOf(p));
    EXPECT_EQ((std::vector<std::string>{"#", "b", "#"}), Children(p));

    CZuXNode text(p.GetFirstNode());
    EXPECT_TRUE(text.Exists());
    EXPECT_EQ("", text.Name());
    EXPECT_EQ("one", TextOf(text));
    CZuXNode sibling(text);
    sibling.MoveNextSibling();
    EXPECT_EQ("b", sibling.Name());
    text.MoveNext();
    EXPECT_FALSE(text.Exists()) << "nameless nodes have no namesake";

    auto later = Parse("<p><b/>two</p>");
    CZuXNode q(later->GetNode("p"));
    EXPECT_EQ("two", TextOf(q));
}

TEST(NodeNavigationTest, GetNodeFindsFirstOfItsNameCaseSensitively) {
    auto document = Parse("<p><a>1</a><A>x</A><a>2</a></p>");
    CZuXNode p(document->GetNode("p"));
    CZuXNode a(p.GetNode("a"));
    EXPECT_EQ("1", TextOf(a));
    CZuXNode upper(p.GetNode("A"));
    EXPECT_EQ("x", TextOf(upper));
    EXPECT_FALSE(CZuXNode(p.GetNode("missing")).Exists());
    EXPECT_FALSE(CZuXNode(p.GetNode(nullptr)).Exists());
    const CZuXNode& constP = p;
    EXPECT_EQ("a", CZuXNode(constP.GetNode("a")).Name());
    // By attribute, and the text of a child element.
    auto mirrors = Parse("<c><m lang=\"fr\"/><m/><m lang=\"de\"><city>Bonn</city></m><m lang=\"de\"/></c>");
    CZuXNode c(mirrors->GetNode("c"));
    CZuXNode de(c.FindChild("m", "lang", "de"));
    EXPECT_EQ("Bonn", de.ChildText("city"));
    EXPECT_EQ("", de.ChildText("town"));
    EXPECT_FALSE(CZuXNode(c.FindChild("m", "lang", "it")).Exists());
}

TEST(NodeNavigationTest, SetTextWritesTheFirstTextChild) {
    auto document = Parse("<r><e/><b><c/></b><t>old<c/>more</t><d><![CDATA[x]]></d></r>");
    CZuXNode r(document->GetNode("r"));
    CZuXNode e(r.GetNode("e"));
    EXPECT_FALSE(e.SetText("new").IsError());
    EXPECT_EQ("new", TextOf(e));
    CZuXNode b(r.GetNode("b"));
    b.SetText("after");
    CZuXNode t(r.GetNode("t"));
    t.SetText("replaced");
    CZuXNode d(r.GetNode("d"));
    d.SetText("y");
    EXPECT_EQ("<r><e>new</e><b><c/>after</b><t>replaced<c/>more</t><d><![CDATA[y]]></d></r>", Text(*document));

    e.SetText(std::string("cut\0here", 8));
    EXPECT_EQ("cut", TextOf(e));
    e.SetText("");
    EXPECT_EQ("", TextOf(e));
}

TEST(NodeNavigationTest, SetTextOnNodesWithoutTextFails) {
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(zuxtest::DataDir() + "/declared.xml").IsError());
    CZuXNode declaration(document.GetNode("xml"));
    CZuXNode comment(declaration);
    comment.MoveNextSibling();
    ASSERT_TRUE(comment.Exists());
    ASSERT_EQ("", comment.Name());
    EXPECT_EQ("", TextOf(comment)) << "a comment's content is not its text";

    // Nor does the document node: a save would write the text after the root, and a load drop it.
    std::vector<CZuXNode> nodes = {declaration, comment};
    for (const char* path : {"", ".", "/"}) {
        CZuXNodePrivatePtr top;
        ASSERT_FALSE(document.QueryPrivate(top, path).IsError());
        nodes.emplace_back(top);
    }

    std::string before;
    document.SaveAsString(before);
    for (CZuXNode& node : nodes)
        zuxtest::ExpectError(node.SetText("x"), 1168, "ZuXNode.cpp", "CZuError CZuXNode::SetText(const string&)", "");
    std::string after;
    document.SaveAsString(after);
    EXPECT_EQ(before, after);
}

TEST(NodeNavigationTest, SharedBodiesMoveTogetherCopiesMoveAlone) {
    auto document = Parse("<p><a/><b/><c/></p>");
    CZuXNode p(document->GetNode("p"));
    const CZuXNodePrivatePtr body = p.GetFirstNode();
    CZuXNode one(body);
    CZuXNode two(body);
    CZuXNode copy(one);
    CZuXNode assigned;
    assigned = one;

    one.MoveNextSibling();
    EXPECT_EQ("b", one.Name());
    EXPECT_EQ("b", two.Name());
    EXPECT_EQ("a", copy.Name());
    EXPECT_EQ("a", assigned.Name());

    copy.MoveNextSibling();
    copy.MoveNextSibling();
    EXPECT_EQ("c", copy.Name());
    EXPECT_EQ("b", two.Name());

    const CZuXNode& self = two; // through a reference: clang warns of a plain "two = two"
    two = self;                 // self-assignment keeps the place, through a new body
    EXPECT_EQ("b", two.Name());
    two.MoveNextSibling();
    EXPECT_EQ("c", two.Name());
    EXPECT_EQ("b", one.Name()) << "two no longer shares one's body";
}

TEST(NodeNavigationTest, HandlesOutliveTheDocument) {
    CZuXNode item;
    {
        CZuXDocument document;
        ASSERT_FALSE(document.LoadFromString("<root><item>1</item><item>2</item><end/></root>").IsError());
        CZuXNode root(document.GetNode("root"));
        item = CZuXNode(root.GetNode("item"));
    }
    EXPECT_EQ("1", TextOf(item));
    item.MoveNext();
    EXPECT_EQ("2", TextOf(item));
    item.SetText("two");
    EXPECT_EQ("two", TextOf(item));
    item.MoveNextSibling();
    EXPECT_EQ("end", item.Name());
    item.MovePreviousSibling();
    EXPECT_EQ("two", TextOf(item));
}

} // namespace
