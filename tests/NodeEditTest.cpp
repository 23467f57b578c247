#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

namespace {

using zuxtest::ExpectError;
using zuxtest::Parse;
using zuxtest::Text;

CZuXNodePtr Handle(const CZuXNodePrivatePtr& body) {
    return boost::make_shared<CZuXNode>(body);
}

class NodeEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        document = Parse("<r><a/><b><g/></b></r>");
        root = CZuXNode(document->GetNode("r"));
    }

    std::unique_ptr<CZuXDocument> document;
    CZuXNode root;
};

TEST_F(NodeEditTest, AddedElementsTakeTheirPlaces) {
    EXPECT_EQ("last", CZuXNode(root.AppendNode("last")).Name());
    EXPECT_EQ("first", CZuXNode(root.PrependNode("first")).Name());
    const CZuXNodePrivatePtr b = root.GetNode("b");
    EXPECT_EQ("afterB", CZuXNode(root.InsertNodeAfter("afterB", b)).Name());
    EXPECT_EQ("beforeB", CZuXNode(root.InsertNodeBefore("beforeB", b)).Name());
    EXPECT_EQ("<r><first/><a/><beforeB/><b><g/></b><afterB/><last/></r>", Text(*document));

    CZuXNode afterLast(root.InsertNodeAfter("end", root.GetNode("last")));
    EXPECT_TRUE(afterLast.Exists());
    CZuXNode check(root.GetNode("last"));
    check.MoveNextSibling();
    EXPECT_EQ("end", check.Name());
}

TEST_F(NodeEditTest, InsertWithAForeignReferenceChangesNothing) {
    const std::string before = Text(*document);
    auto other = Parse("<r><a/></r>");
    const CZuXNodePrivatePtr grandchild = CZuXNode(root.GetNode("b")).GetNode("g");
    const CZuXNodePrivatePtr refused[] = {grandchild, CZuXNode(other->GetNode("r")).GetNode("a"),
                                          root.GetNode("missing"), CZuXNodePrivatePtr()};
    for (const CZuXNodePrivatePtr& reference : refused) {
        EXPECT_FALSE(CZuXNode(root.InsertNodeAfter("x", reference)).Exists());
        EXPECT_FALSE(CZuXNode(root.InsertNodeBefore("x", reference)).Exists());
    }
    EXPECT_EQ(before, Text(*document));
}

TEST_F(NodeEditTest, NodesWithoutChildrenTakeNone) {
    auto mixed = Parse("<r>text<e/></r>");
    CZuXNode text(CZuXNode(mixed->GetNode("r")).GetFirstNode());
    ASSERT_TRUE(text.Exists());
    EXPECT_FALSE(CZuXNode(text.AppendNode("x")).Exists());
    EXPECT_FALSE(CZuXNode(text.PrependNode("x")).Exists());
    CZuXNode empty;
    EXPECT_FALSE(CZuXNode(empty.AppendNode("x")).Exists());
    EXPECT_FALSE(CZuXNode(root.AppendNode(nullptr)).Exists());
    EXPECT_EQ("<r>text<e/></r>", Text(*mixed));
}

TEST_F(NodeEditTest, DeepCopyFromAnotherDocumentSurvivesItsSource) {
    {
        auto source = Parse("<src><item id=\"7\" kind=\"x\"><sub>t</sub><!-- c --><sub/></item></src>");
        const CZuXNodePtr item = Handle(CZuXNode(source->GetNode("src")).GetNode("item"));
        EXPECT_FALSE(root.AppendNodeCopy(item).IsError());
        EXPECT_FALSE(root.PrependNodeCopy(item).IsError());
        EXPECT_EQ("<src><item id=\"7\" kind=\"x\"><sub>t</sub><sub/></item></src>", Text(*source))
            << "the source is unchanged";
    }
    EXPECT_EQ("<r><item id=\"7\" kind=\"x\"><sub>t</sub><sub/></item><a/><b><g/></b>"
              "<item id=\"7\" kind=\"x\"><sub>t</sub><sub/></item></r>",
              Text(*document));
}

TEST_F(NodeEditTest, InsertedCopiesGoNextToTheReference) {
    const CZuXNodePtr a = Handle(root.GetNode("a"));
    const CZuXNodePtr b = Handle(root.GetNode("b"));
    EXPECT_FALSE(root.InsertNodeCopyAfter(a, b).IsError());
    EXPECT_FALSE(root.InsertNodeCopyBefore(b, a).IsError());
    EXPECT_EQ("<r><b><g/></b><a/><b><g/></b><a/></r>", Text(*document));
}

TEST_F(NodeEditTest, CopyOfAnAncestorIntoItsOwnSubtreeTerminates) {
    CZuXNode b(root.GetNode("b"));
    EXPECT_FALSE(b.AppendNodeCopy(Handle(document->GetNode("r"))).IsError());
    EXPECT_EQ("<r><a/><b><g/><r><a/><b><g/></b></r></b></r>", Text(*document));
}

TEST_F(NodeEditTest, RefusedCopiesFail) {
    const std::string before = Text(*document);
    const CZuXNodePtr a = Handle(root.GetNode("a"));
    const CZuXNodePtr grandchild = Handle(CZuXNode(root.GetNode("b")).GetNode("g"));
    const CZuXNodePtr empty = boost::make_shared<CZuXNode>();

    const char* const kAppend = "CZuError CZuXNode::AppendNodeCopy(CZuXNodePtr)";
    const char* const kPrepend = "CZuError CZuXNode::PrependNodeCopy(CZuXNodePtr)";
    const char* const kAfter = "CZuError CZuXNode::InsertNodeCopyAfter(CZuXNodePtr, CZuXNodePtr)";
    const char* const kBefore = "CZuError CZuXNode::InsertNodeCopyBefore(CZuXNodePtr, CZuXNodePtr)";
    ExpectError(root.AppendNodeCopy(empty), 1168, "ZuXNode.cpp", kAppend, "");
    ExpectError(root.AppendNodeCopy(CZuXNodePtr()), 1168, "ZuXNode.cpp", kAppend, "");
    ExpectError(root.PrependNodeCopy(empty), 1168, "ZuXNode.cpp", kPrepend, "");
    ExpectError(root.InsertNodeCopyAfter(a, grandchild), 1168, "ZuXNode.cpp", kAfter, "");
    ExpectError(root.InsertNodeCopyAfter(a, empty), 1168, "ZuXNode.cpp", kAfter, "");
    ExpectError(root.InsertNodeCopyBefore(a, CZuXNodePtr()), 1168, "ZuXNode.cpp", kBefore, "");
    ExpectError(root.InsertNodeCopyBefore(empty, a), 1168, "ZuXNode.cpp", kBefore, "");

    CZuXNode nothing;
    ExpectError(nothing.AppendNodeCopy(a), 1168, "ZuXNode.cpp", kAppend, "");
    EXPECT_EQ(before, Text(*document));
}

TEST_F(NodeEditTest, DeclarationAndTextTargetsAreRefused) {
    CZuXDocument declared;
    ASSERT_FALSE(declared.LoadFromFile(zuxtest::DataDir() + "/declared.xml").IsError());
    const CZuXNodePtr declaration = Handle(declared.GetNode("xml"));
    ExpectError(root.AppendNodeCopy(declaration), 1168, "ZuXNode.cpp", "CZuError CZuXNode::AppendNodeCopy(CZuXNodePtr)",
                "");

    // A text node takes no children.
    CZuXNode text(CZuXNode(CZuXNode(declared.GetNode("root")).GetNode("item")).GetFirstNode());
    ExpectError(text.AppendNodeCopy(Handle(root.GetNode("a"))), 1168, "ZuXNode.cpp",
                "CZuError CZuXNode::AppendNodeCopy(CZuXNodePtr)", "");
    EXPECT_EQ("<r><a/><b><g/></b></r>", Text(*document));
}

TEST_F(NodeEditTest, RemoveByNameTakesTheFirstEachTime) {
    auto twice = Parse("<r><a>1</a><b/><a>2</a></r>");
    CZuXNode r(twice->GetNode("r"));
    EXPECT_FALSE(r.RemoveNode(std::string("a")).IsError());
    EXPECT_EQ("<r><b/><a>2</a></r>", Text(*twice));
    EXPECT_FALSE(r.RemoveNode(std::string("a")).IsError());
    EXPECT_EQ("<r><b/></r>", Text(*twice));
    ExpectError(r.RemoveNode(std::string("a")), 1168, "ZuXNode.cpp", "CZuError CZuXNode::RemoveNode(const string&)",
                "NodeName=[a]");
    EXPECT_EQ("<r><b/></r>", Text(*twice));
}

TEST_F(NodeEditTest, RemoveChildByHandleAndBody) {
    const CZuXNodePrivatePtr grandchild = CZuXNode(root.GetNode("b")).GetNode("g");
    ExpectError(root.RemoveNode(Handle(grandchild)), 1168, "ZuXNode.cpp", "CZuError CZuXNode::RemoveNode(CZuXNodePtr)",
                "");
    ExpectError(root.RemoveNode(grandchild), 1168, "ZuXNode.cpp", "CZuError CZuXNode::RemoveNode(CZuXNodePrivatePtr)",
                "");
    ExpectError(root.RemoveNode(CZuXNodePtr()), 1168, "ZuXNode.cpp", "CZuError CZuXNode::RemoveNode(CZuXNodePtr)", "");
    ExpectError(root.RemoveNode(CZuXNodePrivatePtr()), 1168, "ZuXNode.cpp",
                "CZuError CZuXNode::RemoveNode(CZuXNodePrivatePtr)", "");
    EXPECT_EQ("<r><a/><b><g/></b></r>", Text(*document));

    EXPECT_FALSE(root.RemoveNode(Handle(root.GetNode("a"))).IsError());
    EXPECT_FALSE(root.RemoveNode(root.GetNode("b")).IsError());
    EXPECT_EQ("<r/>", Text(*document));
}

TEST_F(NodeEditTest, RemoveAttributeByName) {
    auto withAttributes = Parse("<r x=\"1\" y=\"2\" x=\"3\"/>");
    CZuXNode r(withAttributes->GetNode("r"));
    EXPECT_FALSE(r.RemoveAttribute("x").IsError());
    EXPECT_EQ("<r y=\"2\" x=\"3\"/>", Text(*withAttributes));
    ExpectError(r.RemoveAttribute("z"), 1168, "ZuXNode.cpp", "CZuError CZuXNode::RemoveAttribute(const string&)",
                "AttributeName=[z]");
    ExpectError(CZuXNode().RemoveAttribute("y"), 1168, "ZuXNode.cpp",
                "CZuError CZuXNode::RemoveAttribute(const string&)", "AttributeName=[y]");
    EXPECT_EQ("<r y=\"2\" x=\"3\"/>", Text(*withAttributes));
}

TEST_F(NodeEditTest, RemoveFromParent) {
    CZuXNode a(root.GetNode("a"));
    EXPECT_FALSE(a.RemoveFromParent().IsError());
    EXPECT_EQ("<r><b><g/></b></r>", Text(*document));

    EXPECT_FALSE(root.RemoveFromParent().IsError());
    EXPECT_EQ("", Text(*document));
    EXPECT_FALSE(CZuXNode(document->GetNode("r")).Exists());

    ExpectError(CZuXNode().RemoveFromParent(), 1168, "ZuXNode.cpp", "CZuError CZuXNode::RemoveFromParent()", "");
}

} // namespace
