#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using zuxtest::Parse;
using zuxtest::Text;

const char* const kRemoveByBody = "CZuError CZuXDocument::RemoveNode(CZuXNodePrivatePtr)";
const char* const kRemoveByName = "CZuError CZuXDocument::RemoveNode(const string&)";

TEST(DocumentNodesTest, GetNodeFindsOnlyTopLevelNodes) {
    auto document = Parse("<root><a/></root>");
    const CZuXNode root(document->GetNode("root"));
    EXPECT_TRUE(root.Exists());
    EXPECT_EQ("root", root.Name());
    EXPECT_FALSE(CZuXNode(document->GetNode("a")).Exists());
    EXPECT_FALSE(CZuXNode(document->GetNode("Root")).Exists());
    EXPECT_FALSE(CZuXNode(document->GetNode(nullptr)).Exists());

    const CZuXDocument& constDocument = *document;
    EXPECT_EQ("root", CZuXNode(constDocument.GetNode("root")).Name());

    CZuXDocument empty;
    const CZuXNodePrivatePtr none = empty.GetNode("root");
    ASSERT_TRUE(none);
    EXPECT_FALSE(CZuXNode(none).Exists());
}

TEST(DocumentNodesTest, EachLookupHandsOutANewBody) {
    auto document = Parse("<root/>");
    EXPECT_NE(document->GetNode("root"), document->GetNode("root"));
}

TEST(DocumentNodesTest, DeclarationFromFileIsNamedXml) {
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(zuxtest::DataDir() + "/declared.xml").IsError());
    const CZuXNode declaration(document.GetNode("xml"));
    EXPECT_TRUE(declaration.Exists());
    EXPECT_EQ("xml", declaration.Name());
}

TEST(DocumentNodesTest, AppendAndPrependPlaceTopLevelElements) {
    CZuXDocument document;
    EXPECT_EQ("root", CZuXNode(document.AppendNode("root")).Name());
    EXPECT_TRUE(CZuXNode(document.AppendNode("extra")).Exists());
    EXPECT_TRUE(CZuXNode(document.PrependNode("first")).Exists());
    EXPECT_EQ("<first/><root/><extra/>", Text(document));
    EXPECT_FALSE(CZuXNode(document.AppendNode(nullptr)).Exists());
    EXPECT_FALSE(CZuXNode(document.PrependNode(nullptr)).Exists());
    EXPECT_EQ("<first/><root/><extra/>", Text(document));
}

TEST(DocumentNodesTest, InsertNeedsATopLevelReferenceOfThisDocument) {
    auto document = Parse("<root><nested/></root>");
    const CZuXNodePrivatePtr root = document->GetNode("root");
    EXPECT_EQ("after", CZuXNode(document->InsertNodeAfter("after", root)).Name());
    EXPECT_EQ("before", CZuXNode(document->InsertNodeBefore("before", root)).Name());
    EXPECT_EQ("<before/><root><nested/></root><after/>", Text(*document));

    auto other = Parse("<root/>");
    const CZuXNodePrivatePtr nested = CZuXNode(root).GetNode("nested");
    const CZuXNodePrivatePtr refused[] = {nested, other->GetNode("root"), document->GetNode("missing"),
                                          CZuXNodePrivatePtr(), CZuXNode().GetPrivate(nullptr)};
    for (const CZuXNodePrivatePtr& reference : refused) {
        EXPECT_FALSE(CZuXNode(document->InsertNodeAfter("x", reference)).Exists());
        EXPECT_FALSE(CZuXNode(document->InsertNodeBefore("x", reference)).Exists());
    }
    EXPECT_FALSE(CZuXNode(document->InsertNodeAfter(nullptr, root)).Exists());
    EXPECT_EQ("<before/><root><nested/></root><after/>", Text(*document));
    EXPECT_EQ("<root/>", Text(*other));
}

TEST(DocumentNodesTest, RemoveByNameTakesOneNodeAtATime) {
    auto document = Parse("<a x=\"1\"/>");
    document->AppendNode("a");
    ASSERT_EQ("<a x=\"1\"/><a/>", Text(*document));
    EXPECT_FALSE(document->RemoveNode(std::string("a")).IsError());
    EXPECT_EQ("<a/>", Text(*document));
    EXPECT_FALSE(document->RemoveNode(std::string("a")).IsError());
    EXPECT_EQ("", Text(*document));
    zuxtest::ExpectError(document->RemoveNode(std::string("a")), 1168, "ZuXDocument.cpp", kRemoveByName,
                         "NodeName=[a]");
    EXPECT_FALSE(CZuXNode(document->GetNode("a")).Exists());
}

TEST(DocumentNodesTest, RemoveByNameOfMissingNodeChangesNothing) {
    auto document = Parse("<root><a/></root>");
    zuxtest::ExpectError(document->RemoveNode(std::string("a")), 1168, "ZuXDocument.cpp", kRemoveByName,
                         "NodeName=[a]");
    zuxtest::ExpectError(document->RemoveNode(std::string("ro\0ot", 5)), 1168, "ZuXDocument.cpp", kRemoveByName,
                         "NodeName=[ro]");
    EXPECT_EQ("<root><a/></root>", Text(*document));
}

TEST(DocumentNodesTest, RemoveByBodyNeedsATopLevelNode) {
    auto document = Parse("<root><a/></root>");
    const CZuXNodePrivatePtr nested = CZuXNode(document->GetNode("root")).GetNode("a");
    const CZuXNodePrivatePtr refused[] = {nested, document->GetNode("missing"), CZuXNodePrivatePtr(),
                                          CZuXNode().GetPrivate(nullptr)};
    for (const CZuXNodePrivatePtr& body : refused)
        zuxtest::ExpectError(document->RemoveNode(body), 1168, "ZuXDocument.cpp", kRemoveByBody, "");
    EXPECT_EQ("<root><a/></root>", Text(*document));

    EXPECT_FALSE(document->RemoveNode(document->GetNode("root")).IsError());
    EXPECT_EQ("", Text(*document));
    EXPECT_FALSE(CZuXNode(document->GetNode("root")).Exists());
}

TEST(DocumentNodesTest, RemoveByBodyWorksOnTheBodysOwnDocument) {
    auto a = Parse("<a/>");
    auto b = Parse("<b/>");
    EXPECT_FALSE(a->RemoveNode(b->GetNode("b")).IsError());
    EXPECT_EQ("<a/>", Text(*a));
    EXPECT_EQ("", Text(*b));
}

TEST(DocumentNodesTest, BodiesKeepTheTreeAliveAfterTheDocument) {
    CZuXNodePrivatePtr body;
    {
        auto document = Parse("<root><a>text</a></root>");
        body = document->GetNode("root");
    }
    CZuXNode root(body);
    EXPECT_EQ("root", root.Name());
    CZuXNode a(root.GetNode("a"));
    std::string text;
    a.GetText(text);
    EXPECT_EQ("text", text);
}

} // namespace
