// Node, attribute and XPath bodies keep their document's tree alive. Whatever the order in which
// the document handle and the handles and bodies made from it are released, every one still held
// works, and the last one frees the tree; the sanitizer and valgrind runs see any use after free
// and any leak.
#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace {

const char* const kXml = "<r><item id=\"1\">one</item><item id=\"2\">two</item></r>";

using zuxtest::TextOf;

// One of everything that holds the tree: a document handle, a node handle, a node body, an
// attribute handle, an XPath set, an item of that set and a node body made from the item.
struct Holders {
    Holders() : document(new CZuXDocument) {
        EXPECT_FALSE(document->LoadFromString(kXml).IsError());
        CZuXNode root(document->GetNode("r"));
        node.reset(new CZuXNode(root.GetNode("item")));
        body = root.GetNode("item");
        attribute.reset(new CZuXAttribute(node->GetFirstAttribute()));
        EXPECT_FALSE(document->SelectNodes(set, "//item").IsError());
        item = set->Node(1);
        itemBody = item->NodePrivate();
    }

    static constexpr int kCount = 7;

    void Release(int which) {
        switch (which) {
        case 0:
            document.reset();
            break;
        case 1:
            node.reset();
            break;
        case 2:
            body.reset();
            break;
        case 3:
            attribute.reset();
            break;
        case 4:
            set.reset();
            break;
        case 5:
            item.reset();
            break;
        case 6:
            itemBody.reset();
            break;
        }
    }

    // Uses everything still held, reading and writing.
    void UseWhatIsLeft() {
        if (document) {
            EXPECT_EQ(kXml, zuxtest::Text(*document));
        }
        if (node) {
            EXPECT_EQ("one", TextOf(*node));
            EXPECT_EQ(1, node->AttributeAsINT("id", 0));
            EXPECT_FALSE(node->SetAttributeINT("id", 1).IsError());
        }
        if (body) {
            EXPECT_EQ("one", TextOf(CZuXNode(body)));
        }
        if (attribute) {
            EXPECT_EQ("id", attribute->Name());
            EXPECT_FALSE(attribute->SetINT(1).IsError());
        }
        if (set) {
            EXPECT_EQ(2u, set->Size());
            EXPECT_EQ("one", TextOf(CZuXNode(set->Node(0)->NodePrivate())));
        }
        if (item) {
            EXPECT_EQ("two", TextOf(CZuXNode(item->NodePrivate())));
        }
        if (itemBody) {
            CZuXNode second(itemBody);
            EXPECT_FALSE(second.SetText("two").IsError());
            EXPECT_EQ("two", TextOf(second));
        }
    }

    std::unique_ptr<CZuXDocument> document;
    std::unique_ptr<CZuXNode> node;
    CZuXNodePrivatePtr body;
    std::unique_ptr<CZuXAttribute> attribute;
    CZuXPathNodeSetPtr set;
    boost::shared_ptr<CZuXPathNode> item;
    CZuXNodePrivatePtr itemBody;
};

TEST(LifetimeTest, AnyReleaseOrderLeavesTheRestWorking) {
    std::array<int, Holders::kCount> order;
    for (int i = 0; i < Holders::kCount; ++i) order[i] = i;
    int orders = 0;
    do {
        Holders holders;
        for (int which : order) {
            holders.Release(which);
            holders.UseWhatIsLeft();
        }
        ++orders;
        if (::testing::Test::HasFailure()) FAIL() << "release order " << ::testing::PrintToString(order);
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(5040, orders);
}

TEST(LifetimeTest, HandlesMadeAfterTheDocumentWentStillWork) {
    CZuXNodePrivatePtr body;
    {
        CZuXDocument document;
        ASSERT_FALSE(document.LoadFromString(kXml).IsError());
        body = document.GetNode("r");
    }
    // Everything derived from a body that outlived its document shares that document too.
    CZuXNode root(body);
    body.reset();
    CZuXNode item(root.GetNode("item"));
    CZuXAttribute id(item.GetFirstAttribute());
    CZuXNode added(root.AppendNode("added"));
    ASSERT_TRUE(added.Exists());
    ASSERT_FALSE(added.AppendNodeCopy(boost::make_shared<CZuXNode>(item)).IsError());
    root = CZuXNode();
    item.MoveNext();
    EXPECT_EQ("two", TextOf(item));
    EXPECT_EQ("1", id.AsString());
    EXPECT_EQ("one", TextOf(CZuXNode(added.GetFirstNode())));
}

} // namespace
