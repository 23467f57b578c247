// The record of removed items that tells bodies whether their item is still in the tree: an item
// made at a freed address does not revive the old bodies, the record keeps only what bodies still
// need, and a removal that cannot record fails without removing anything.
#include "FailingAllocator.h"
#include "ZuXNodePrivate.h"

#include <ZuX/ZuX.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

CZuXNodePrivatePtr BodyOf(const CZuXNode& node) {
    const CZuXNodePtr copy = boost::make_shared<CZuXNode>(node);
    return copy->GetPrivate(copy);
}

std::size_t Recorded(const CZuXNode& node) {
    return BodyOf(node)->m_pDocument->RecordedItems();
}

TEST(RemovalRecordTest, AnItemMadeAtAFreedAddressDoesNotReviveOldHandles) {
    // pugixml starts its first page over when everything in it was freed, so the second element
    // takes the very memory of the first.
    CZuXDocument document;
    CZuXNode first(document.AppendNode("e"));
    ASSERT_FALSE(first.SetAttributeINT("n", 1).IsError());
    CZuXAttribute firstAttribute(first.GetFirstAttribute());
    const pugi::xml_node freed = BodyOf(first)->m_item;
    ASSERT_FALSE(document.RemoveNode(std::string("e")).IsError());

    CZuXNode second(document.AppendNode("e"));
    ASSERT_FALSE(second.SetAttributeINT("n", 2).IsError());
    ASSERT_EQ(freed, BodyOf(second)->m_item) << "the scenario needs the address taken again";
    EXPECT_FALSE(first.Exists());
    EXPECT_FALSE(firstAttribute.Exists());
    EXPECT_EQ(0, first.AttributeAsINT("n", 0));
    EXPECT_EQ(2, second.AttributeAsINT("n", 0));
    EXPECT_EQ(2, CZuXAttribute(second.GetFirstAttribute()).AsINT(0));
}

TEST(RemovalRecordTest, TheRecordKeepsOnlyWhatHandlesStillNeed) {
    CZuXDocument document;
    CZuXNode root(document.AppendNode("r"));
    CZuXNode sometimes(root.AppendNode("sometimes"));
    const auto cycle = [&root](int i) {
        CZuXNode item(root.AppendNode("item"));
        ASSERT_FALSE(item.SetAttributeINT("i", i).IsError());
        ASSERT_FALSE(root.RemoveNode(boost::make_shared<CZuXNode>(item)).IsError());
        ASSERT_FALSE(item.Exists());
    };

    // Handles in use hold only the records of the removals since they were last used.
    std::size_t most = 0;
    for (int i = 0; i < 20000; ++i) {
        cycle(i);
        if (i % 10 == 0) sometimes.Exists();
        most = std::max(most, Recorded(root));
    }
    EXPECT_LE(most, 64u);

    // A handle left alone keeps the records of every removal since it was made; using it (or
    // letting it go) gives them up at the next removal.
    sometimes = CZuXNode();
    CZuXNode idle(root.AppendNode("idle"));
    for (int i = 0; i < 1000; ++i) cycle(i);
    EXPECT_GE(Recorded(root), 2u);
    EXPECT_TRUE(idle.Exists());
    cycle(0);
    EXPECT_LE(Recorded(root), 2u);

    // Without any handle left, a removal records nothing.
    root = CZuXNode();
    idle = CZuXNode();
    ASSERT_FALSE(document.RemoveNode(std::string("r")).IsError());
    CZuXNode last(document.AppendNode("r"));
    EXPECT_EQ(0u, Recorded(last));

    // A removal made while only an older handle than `last` holds records: the generation after
    // it is as new as the handles made then, so once the older one goes they need no record.
    CZuXNode older(last.AppendNode("older"));
    for (const char* name : {"a", "b", "c", "big"}) last.AppendNode(name);
    ASSERT_FALSE(last.RemoveNode(std::string("a")).IsError());
    ASSERT_FALSE(last.RemoveNode(std::string("b")).IsError());
    older = CZuXNode();
    CZuXNode newer(last.GetFirstNode());
    ASSERT_FALSE(last.RemoveNode(std::string("c")).IsError());
    EXPECT_EQ(1u, Recorded(last));

    // A load forgets every record, a large removal's too.
    CZuXNode big(last.GetNode("big"));
    for (int i = 0; i < 70; ++i) big.AppendNode("n");
    ASSERT_FALSE(last.RemoveNode(std::string("big")).IsError());
    EXPECT_GE(Recorded(last), 71u);
    ASSERT_FALSE(document.LoadFromString("<r/>").IsError());
    EXPECT_EQ(0u, Recorded(CZuXNode(document.GetNode("r"))));
}

// While an idle handle keeps every record, addresses come back again and again, in subtrees (a
// sorted batch from 65 nodes on) and one by one (the table): each is recorded once, and the idle
// handle, whose address was recorded again each time, stays empty.
TEST(RemovalRecordTest, EachAddressIsRecordedOnce) {
    for (const int size : {1, 65, 1001}) {
        SCOPED_TRACE(size);
        CZuXDocument document;
        CZuXNode root(document.AppendNode("r"));
        CZuXNode idle(root.AppendNode("s"));
        std::set<const void*> seen;
        for (int round = 0; round < 20; ++round) {
            CZuXNode top(round == 0 ? idle : CZuXNode(root.AppendNode("s")));
            for (int i = 1; i < size; ++i) top.AppendNode("c");
            const pugi::xml_node s = BodyOf(top)->m_item;
            for (pugi::xml_node n = s; n; n = n == s ? n.first_child() : n.next_sibling())
                seen.insert(n.internal_object());
            ASSERT_FALSE((round % 2 ? top.RemoveFromParent() : root.RemoveNode(std::string("s"))).IsError());
            for (int i = 0; i < size; ++i) {
                seen.insert(BodyOf(CZuXNode(root.AppendNode("x")))->m_item.internal_object());
                ASSERT_FALSE(root.RemoveNode(std::string("x")).IsError());
            }
            EXPECT_LE(Recorded(root), seen.size());
        }
        EXPECT_FALSE(idle.Exists());
    }
}

TEST(RemovalRecordTest, ARemovalThatCannotBeRecordedRemovesNothing) {
    CZuXDocument document;
    CZuXNode root(document.AppendNode("r"));
    CZuXNode child(root.AppendNode("c"));
    CZuXNode grandchild(child.AppendNode("g"));
    {
        zuxtest::ScopedAllocationFailure fail(zuxtest::Allocator::OperatorNew, 0, 1); // the record
        const CZuError error = root.RemoveNode(std::string("c"));
        EXPECT_EQ(14u, error.GetWin32Code());
        ASSERT_EQ(1u, error.GetRecords().size());
        EXPECT_STREQ("CZuError CZuXNode::RemoveNode(const string&)", error.GetRecords()[0].GetLocation().GetFunction());
        EXPECT_EQ("NodeName=[c]", error.GetRecords()[0].GetMessage());
    }
    EXPECT_TRUE(child.Exists());
    EXPECT_TRUE(grandchild.Exists());
    EXPECT_EQ("/r/c/g", grandchild.Path());
    EXPECT_FALSE(root.RemoveNode(std::string("c")).IsError());
    EXPECT_FALSE(grandchild.Exists());
}

} // namespace
