#include "TestSupport.h"

#include <ZuX/ZuX.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace {

static_assert(!std::is_copy_constructible<CZuXDocument>::value, "documents are not copied");
static_assert(!std::is_move_constructible<CZuXDocument>::value, "documents are not moved");
static_assert(std::has_virtual_destructor<CZuXNode>::value && std::has_virtual_destructor<CZuXAttribute>::value &&
                  std::has_virtual_destructor<CZuXPathNodeSet>::value &&
                  std::has_virtual_destructor<CZuXPathNode>::value && std::has_virtual_destructor<CZuXDocument>::value,
              "handles are polymorphic");
static_assert(std::is_copy_constructible<CZuXNode>::value && std::is_copy_assignable<CZuXNode>::value,
              "node handles copy from const objects too");

TEST(HandleTest, GetPrivateGivesTheSameBodyEachTime) {
    const CZuXNodePtr node = boost::make_shared<CZuXNode>();
    CZuXNode other;
    const CZuXNodePrivatePtr body = other.GetPrivate(node);
    ASSERT_TRUE(body);
    EXPECT_EQ(body, other.GetPrivate(node));
    CZuXDocument document;
    EXPECT_EQ(body, document.GetPrivate(node));

    const boost::shared_ptr<CZuXAttribute> attribute = boost::make_shared<CZuXAttribute>();
    CZuXAttribute any;
    EXPECT_EQ(any.GetPrivate(attribute), any.GetPrivate(attribute));
}

TEST(HandleTest, HandleFromBodySharesItCopyMakesANewOne) {
    const CZuXNodePtr node = boost::make_shared<CZuXNode>();
    const CZuXNodePrivatePtr body = node->GetPrivate(node);
    const CZuXNodePtr sharing = boost::make_shared<CZuXNode>(body);
    EXPECT_EQ(body, sharing->GetPrivate(sharing));

    const CZuXNodePtr copied = boost::make_shared<CZuXNode>(*node);
    EXPECT_NE(body, copied->GetPrivate(copied));

    const CZuXNode& constSource = *node;
    CZuXNode assigned;
    assigned = constSource;
    const CZuXNodePtr assignedPtr = boost::make_shared<CZuXNode>(body);
    *assignedPtr = *node;
    EXPECT_NE(body, assignedPtr->GetPrivate(assignedPtr)) << "assignment replaces the body";
    EXPECT_EQ(body, sharing->GetPrivate(sharing)) << "the other holder keeps the old body";
}

TEST(HandleTest, EmptyPointersNeverGiveNullBodies) {
    CZuXNode node;
    const CZuXNodePrivatePtr fromNull = node.GetPrivate(CZuXNodePtr());
    ASSERT_TRUE(fromNull);
    EXPECT_NE(fromNull, node.GetPrivate(CZuXNodePtr())) << "each call makes its own empty body";

    CZuXDocument document;
    EXPECT_TRUE(document.GetPrivate(CZuXNodePtr()));
    CZuXAttribute attribute;
    EXPECT_TRUE(attribute.GetPrivate(boost::shared_ptr<CZuXAttribute>()));

    const CZuXNodePtr fromEmptyBody = boost::make_shared<CZuXNode>(CZuXNodePrivatePtr());
    EXPECT_TRUE(fromEmptyBody->GetPrivate(fromEmptyBody));
}

TEST(HandleTest, HandlesLiveInStandardContainers) {
    // Containers copy through the const forms: each copy has a body of its own and moves alone.
    auto document = zuxtest::Parse("<r a=\"1\" b=\"2\"><x/><y/></r>");
    CZuXNode root(document->GetNode("r"));
    std::vector<CZuXNode> nodes(1);
    nodes.emplace_back(root.GetFirstNode());
    nodes.push_back(nodes.back());
    nodes.back().MoveNextSibling();
    EXPECT_FALSE(nodes[0].Exists());
    EXPECT_EQ("x", nodes[1].Name());
    EXPECT_EQ("y", nodes[2].Name());

    std::vector<CZuXAttribute> attributes{CZuXAttribute(root.GetFirstAttribute())};
    attributes.push_back(attributes.front());
    attributes.back().MoveNext();
    EXPECT_EQ("a", attributes[0].Name());
    EXPECT_EQ("b", attributes[1].Name());

    std::map<std::string, CZuXNode> byName;
    for (const CZuXNode& node : nodes) byName.emplace(node.Name(), node);
    EXPECT_EQ(3u, byName.size());
    EXPECT_EQ("/r/y", byName.at("y").Path());

    // Sets share their body when copied.
    CZuXPathNodeSetPtr selected;
    ASSERT_FALSE(document->SelectNodes(selected, "/r/*").IsError());
    std::vector<CZuXPathNodeSet> sets(1, *selected);
    sets.push_back(sets.front());
    EXPECT_EQ(2u, sets[1].Size());
    EXPECT_EQ("y", CZuXNode(sets[1].Node(1)->NodePrivate()).Name());
}

} // namespace
