// Every operation on handles that hold nothing (made by the default constructor, from a null
// body pointer, or found nowhere), with null names and with null handle and body pointers. None
// may crash, no write may report success, and the tree beside them must stay as it was.
#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zuxtest::Parse;
using zuxtest::Text;

const char* const kXml = "<r a=\"1\"><c>text</c></r>";

// Every node operation that takes a name, with `name`, on `node`: lookups and additions give no
// node, reads give their defaults.
void EveryNamedNodeOperation(CZuXNode& node, const char* name) {
    const CZuXNode& constant = node;
    EXPECT_FALSE(CZuXNode(node.GetNode(name)).Exists());
    EXPECT_FALSE(CZuXNode(constant.GetNode(name)).Exists());
    EXPECT_FALSE(CZuXNode(node.AppendNode(name)).Exists());
    EXPECT_FALSE(CZuXNode(node.PrependNode(name)).Exists());
    EXPECT_FALSE(CZuXNode(node.InsertNodeAfter(name, node.GetFirstNode())).Exists());
    EXPECT_FALSE(CZuXNode(node.InsertNodeBefore(name, node.GetFirstNode())).Exists());
    EXPECT_FALSE(node.AttributeExists(name));

    // The forms without a fallback; the typed families are NodeAttributeFormTest's.
    EXPECT_EQ("", constant.AttributeAsString(name));
    EXPECT_TRUE(constant.AttributeAsTimeStamp(name).IsClear());
    EXPECT_TRUE(constant.AttributeAsTimeStampUnixTime(name).IsClear());
}

// Every other node operation on an empty `node`, with a real node of `document` as argument.
void EveryOtherNodeOperation(CZuXNode& node, CZuXDocument& document) {
    EXPECT_FALSE(node.Exists());
    EXPECT_EQ("", node.Name());
    std::string text = "old";
    EXPECT_FALSE(node.GetText(text).IsError());
    EXPECT_EQ("", text);
    EXPECT_FALSE(node.MoveNext().IsError());
    EXPECT_FALSE(node.MoveNextSibling().IsError());
    EXPECT_FALSE(node.MovePreviousSibling().IsError());
    EXPECT_FALSE(node.Exists());
    EXPECT_FALSE(CZuXNode(node.GetFirstNode()).Exists());
    EXPECT_FALSE(CZuXAttribute(node.GetFirstAttribute()).Exists());

    const CZuXNodePtr real = boost::make_shared<CZuXNode>(document.GetNode("r"));
    const std::vector<CZuError> failures = {
        node.SetText("t"),
        node.AppendNodeCopy(real),
        node.PrependNodeCopy(real),
        node.InsertNodeCopyAfter(real, real),
        node.InsertNodeCopyBefore(real, real),
        node.RemoveNode(real),
        node.RemoveNode(real->GetPrivate(real)),
        node.RemoveNode(std::string("r")),
        node.RemoveAttribute("a"),
        node.RemoveFromParent(),
    };
    for (const CZuError& failure : failures) EXPECT_EQ(1168u, failure.GetWin32Code()) << failure.AsString();
    EveryNamedNodeOperation(node, "a");
}

TEST(EmptyHandleTest, EmptyNodeHandlesChangeNothing) {
    auto document = Parse(kXml);
    CZuXNode byDefault;
    CZuXNode fromNullBody{CZuXNodePrivatePtr()};
    CZuXNode foundNowhere(document->GetNode("missing"));
    CZuXNode pastTheEnd(document->GetNode("r"));
    pastTheEnd.MoveNextSibling();
    for (CZuXNode* node : {&byDefault, &fromNullBody, &foundNowhere, &pastTheEnd})
        EveryOtherNodeOperation(*node, *document);
    EXPECT_EQ(kXml, Text(*document));
}

TEST(EmptyHandleTest, NullNamesChangeNothing) {
    auto document = Parse(kXml);
    CZuXNode root(document->GetNode("r"));
    EveryNamedNodeOperation(root, nullptr);

    const CZuXDocument& constant = *document;
    EXPECT_FALSE(CZuXNode(document->GetNode(nullptr)).Exists());
    EXPECT_FALSE(CZuXNode(constant.GetNode(nullptr)).Exists());
    EXPECT_FALSE(CZuXNode(document->AppendNode(nullptr)).Exists());
    EXPECT_FALSE(CZuXNode(document->PrependNode(nullptr)).Exists());
    EXPECT_FALSE(CZuXNode(document->InsertNodeAfter(nullptr, document->GetNode("r"))).Exists());
    EXPECT_FALSE(CZuXNode(document->InsertNodeBefore(nullptr, document->GetNode("r"))).Exists());
    EXPECT_EQ(kXml, Text(*document));
}

TEST(EmptyHandleTest, NullAndEmptyPointerArgumentsChangeNothing) {
    auto document = Parse(kXml);
    CZuXNode root(document->GetNode("r"));
    const CZuXNodePtr none;
    const CZuXNodePtr empty = boost::make_shared<CZuXNode>();
    const CZuXNodePrivatePtr noBody;
    const CZuXNodePrivatePtr emptyBody = root.GetPrivate(none);
    ASSERT_TRUE(emptyBody) << "a null handle pointer gives an empty body";

    for (const CZuXNodePtr& source : {none, empty}) {
        EXPECT_EQ(1168u, root.AppendNodeCopy(source).GetWin32Code());
        EXPECT_EQ(1168u, root.PrependNodeCopy(source).GetWin32Code());
        EXPECT_EQ(1168u, root.InsertNodeCopyAfter(source, source).GetWin32Code());
        EXPECT_EQ(1168u, root.InsertNodeCopyBefore(source, source).GetWin32Code());
        EXPECT_EQ(1168u, root.RemoveNode(source).GetWin32Code());
    }
    for (const CZuXNodePrivatePtr& body : {noBody, emptyBody}) {
        EXPECT_FALSE(CZuXNode(root.InsertNodeAfter("n", body)).Exists());
        EXPECT_FALSE(CZuXNode(root.InsertNodeBefore("n", body)).Exists());
        EXPECT_EQ(1168u, root.RemoveNode(body).GetWin32Code());
        EXPECT_FALSE(CZuXNode(document->InsertNodeAfter("n", body)).Exists());
        EXPECT_FALSE(CZuXNode(document->InsertNodeBefore("n", body)).Exists());
        EXPECT_EQ(1168u, document->RemoveNode(body).GetWin32Code());
    }
    EXPECT_TRUE(document->GetPrivate(none));
    EXPECT_EQ(kXml, Text(*document));
}

TEST(EmptyHandleTest, EmptyAttributeHandlesChangeNothing) {
    auto document = Parse(kXml);
    CZuXNode child(document->GetNode("r"));
    child = CZuXNode(child.GetNode("c"));
    CZuXAttribute byDefault;
    CZuXAttribute fromNullBody{boost::shared_ptr<CZuXAttributePrivate>()};
    CZuXAttribute foundNowhere(child.GetFirstAttribute());
    for (CZuXAttribute* attribute : {&byDefault, &fromNullBody, &foundNowhere}) {
        CZuXAttribute& a = *attribute;
        const CZuXAttribute& constant = a;
        EXPECT_FALSE(a.Exists());
        EXPECT_EQ("", a.Name());
        EXPECT_FALSE(a.MoveNext().IsError());
        EXPECT_FALSE(a.MovePrevious().IsError());
        std::string text = "old";
        EXPECT_FALSE(a.GetText(text).IsError());
        EXPECT_EQ("", text);

        // The forms without a fallback; the typed families are AttributeFormTest's.
        EXPECT_EQ("", constant.AsString());
        EXPECT_TRUE(constant.AsTimeStamp().IsClear());
        EXPECT_TRUE(constant.AsTimeStampUnixTime().IsClear());
        EXPECT_EQ(1168u, a.SetText("t").GetWin32Code());
    }
    EXPECT_TRUE(byDefault.GetPrivate(boost::shared_ptr<CZuXAttribute>()));
    EXPECT_EQ(kXml, Text(*document));
}

TEST(EmptyHandleTest, EmptyXPathResults) {
    CZuXPathNodeSet byDefault;
    CZuXPathNodeSet fromNullBody{boost::shared_ptr<CZuXPathNodeSetPrivate>()};
    for (const CZuXPathNodeSet* set : {&byDefault, &fromNullBody}) {
        EXPECT_TRUE(set->Empty());
        EXPECT_EQ(0u, set->Size());
        for (unsigned long index : {0ul, 1ul, ~0ul}) {
            const boost::shared_ptr<CZuXPathNode> item = set->Node(index);
            ASSERT_TRUE(item);
            EXPECT_FALSE(CZuXNode(item->NodePrivate()).Exists());
        }
    }
    CZuXPathNode item;
    CZuXPathNode itemFromNullBody{boost::shared_ptr<CZuXPathNodePrivate>()};
    EXPECT_FALSE(CZuXNode(item.NodePrivate()).Exists());
    EXPECT_FALSE(CZuXNode(itemFromNullBody.NodePrivate()).Exists());
}

} // namespace
