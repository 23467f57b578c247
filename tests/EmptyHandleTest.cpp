// Every operation on handles that hold nothing (made by the default constructor, from a null
// body pointer, or found nowhere), with null names and with null handle and body pointers. None
// may crash, no write may report success, and the tree beside them must stay as it was.
#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using zuxtest::Parse;
using zuxtest::Text;

const char* const kXml = "<r a=\"1\"><c>text</c></r>";

// Every node operation that takes a name, with `name`, on `node`. Reads give their defaults and
// every write and removal fails with 1168.
void EveryNamedNodeOperation(CZuXNode& node, const char* name) {
    const CZuXNode& constant = node;
    EXPECT_FALSE(CZuXNode(node.GetNode(name)).Exists());
    EXPECT_FALSE(CZuXNode(constant.GetNode(name)).Exists());
    EXPECT_FALSE(CZuXNode(node.AppendNode(name)).Exists());
    EXPECT_FALSE(CZuXNode(node.PrependNode(name)).Exists());
    EXPECT_FALSE(CZuXNode(node.InsertNodeAfter(name, node.GetFirstNode())).Exists());
    EXPECT_FALSE(CZuXNode(node.InsertNodeBefore(name, node.GetFirstNode())).Exists());
    EXPECT_FALSE(node.AttributeExists(name));

    EXPECT_TRUE(constant.AttributeAsBOOL(name, true));
    EXPECT_EQ(0.5, constant.AttributeAsDOUBLE(name, 0.5));
    EXPECT_EQ(-7, constant.AttributeAsINT(name, -7));
    EXPECT_EQ(7u, constant.AttributeAsUINT(name, 7));
    EXPECT_EQ(-7, constant.AttributeAsLONGLONG(name, -7));
    EXPECT_EQ(7u, constant.AttributeAsULONGLONG(name, 7));
    EXPECT_EQ("", constant.AttributeAsString(name));
    EXPECT_EQ("d", constant.AttributeAsString(name, "d"));
    EXPECT_TRUE(constant.AttributeAsTimeStamp(name).IsClear());
    EXPECT_EQ(CTimeStamp(5), constant.AttributeAsTimeStamp(name, CTimeStamp(5)));
    EXPECT_TRUE(constant.AttributeAsTimeStampUnixTime(name).IsClear());
    EXPECT_TRUE(constant.AttributeAsTimeStampUnixTime(name, CTimeStamp(CTimeStamp::Filled)).IsFilled());

    bool b = true;
    double d = 0.5;
    int i = -7;
    unsigned int u = 7;
    LONGLONG ll = -7;
    ULONGLONG ull = 7;
    std::string s = "kept";
    CTimeStamp t(5);
    const std::vector<CZuError> failures = {
        constant.GetAttributeAsBOOL(name, b),
        constant.GetAttributeAsDOUBLE(name, d),
        constant.GetAttributeAsINT(name, i),
        constant.GetAttributeAsUINT(name, u),
        constant.GetAttributeAsLONGLONG(name, ll),
        constant.GetAttributeAsULONGLONG(name, ull),
        constant.GetAttributeAsString(name, s),
        constant.GetAttributeAsTimeStamp(name, t),
        constant.GetAttributeAsTimeStampUnixTime(name, t),
        node.SetAttributeBOOL(name, true),
        node.SetAttributeDOUBLE(name, 1.5),
        node.SetAttributeINT(name, 1),
        node.SetAttributeUINT(name, 1),
        node.SetAttributeLONGLONG(name, 1),
        node.SetAttributeULONGLONG(name, 1),
        node.SetAttributeString(name, "v"),
        node.SetAttributeTimeStamp(name, CTimeStamp(1)),
        node.SetAttributeTimeStampUnixTime(name, CTimeStamp(1)),
    };
    for (const CZuError& failure : failures) EXPECT_EQ(1168u, failure.GetWin32Code()) << failure.AsString();
    EXPECT_TRUE(b && d == 0.5 && i == -7 && u == 7 && ll == -7 && ull == 7 && s == "kept" && t == CTimeStamp(5))
        << "out-parameters are left alone";
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

        EXPECT_TRUE(constant.AsBOOL(true));
        EXPECT_EQ(0.5, constant.AsDOUBLE(0.5));
        EXPECT_EQ(-7, constant.AsINT(-7));
        EXPECT_EQ(7u, constant.AsUINT(7));
        EXPECT_EQ(-7, constant.AsLONGLONG(-7));
        EXPECT_EQ(7u, constant.AsULONGLONG(7));
        EXPECT_EQ("", constant.AsString());
        EXPECT_EQ("d", constant.AsString("d"));
        EXPECT_TRUE(constant.AsTimeStamp().IsClear());
        EXPECT_EQ(CTimeStamp(5), constant.AsTimeStamp(CTimeStamp(5)));
        EXPECT_TRUE(constant.AsTimeStampUnixTime().IsClear());
        EXPECT_EQ(CTimeStamp::FromUnixTime(9), constant.AsTimeStampUnixTime(CTimeStamp::FromUnixTime(9)));

        bool b = true;
        double d = 1;
        int i = 1;
        unsigned int u = 1;
        long long ll = 1;
        unsigned long long ull = 1;
        std::string s = "old";
        CTimeStamp t(5);
        CTimeStamp unix(5);
        for (const CZuError& read :
             {constant.GetAsBOOL(b), constant.GetAsDOUBLE(d), constant.GetAsINT(i), constant.GetAsUINT(u),
              constant.GetAsLONGLONG(ll), constant.GetAsULONGLONG(ull), constant.GetAsString(s),
              constant.GetAsTimeStamp(t), constant.GetAsTimeStampUnixTime(unix)})
            EXPECT_FALSE(read.IsError());
        EXPECT_TRUE(!b && d == 0 && i == 0 && u == 0 && ll == 0 && ull == 0 && s.empty() && t.IsClear() &&
                    unix.IsClear())
            << "these reads always give the zero value";

        for (const CZuError& write : {a.SetText("t"), a.SetBOOL(true), a.SetDOUBLE(1.5), a.SetINT(1), a.SetUINT(1),
                                      a.SetLONGLONG(1), a.SetULONGLONG(1), a.SetString("s"),
                                      a.SetTimeStamp(CTimeStamp(1)), a.SetTimeStampUnixTime(CTimeStamp(1))})
            EXPECT_EQ(1168u, write.GetWin32Code()) << write.AsString();
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
