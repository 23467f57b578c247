// Range-for over a node's children and over the items of an XPath set: what is visited, what a
// loop may change while it runs, and that no step allocates.
#include "FailingAllocator.h"
#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using zuxtest::Parse;
using zuxtest::Text;

// Names of the children visited, "#value" for nameless ones; `step` runs on each child.
template <class Step>
std::vector<std::string> Visit(const CZuXNode& parent, Step&& step) {
    std::vector<std::string> seen;
    for (CZuXNode& child : parent.Children()) {
        seen.push_back(child.Name().empty() ? "#" + child.Value() : child.Name());
        step(child);
    }
    return seen;
}

TEST(RangeForTest, ChildrenVisitsEveryChildInOrder) {
    auto document = Parse("<r>one<a><x/></a><![CDATA[two]]><b/></r>");
    CZuXNode r(document->GetNode("r"));
    std::vector<std::string> walked;
    for (CZuXNode child(r.GetFirstNode()); child.Exists(); child.MoveNextSibling())
        walked.push_back(child.Name().empty() ? "#" + child.Value() : child.Name());
    EXPECT_EQ((std::vector<std::string>{"#one", "a", "#two", "b"}), walked);
    EXPECT_EQ(walked, Visit(r, [](CZuXNode&) {}));
    // The range keeps the parent's body: a temporary handle can give it.
    EXPECT_EQ((std::vector<std::string>{"x"}), Visit(CZuXNode(r.GetNode("a")), [](CZuXNode&) {}));
    for (const CZuXNode& leaf : {CZuXNode(r.GetNode("b")), CZuXNode(), CZuXNode(r.GetNode("missing"))})
        EXPECT_TRUE(Visit(leaf, [](CZuXNode&) {}).empty());
}

TEST(RangeForTest, TheLoopMayChangeTheChildren) {
    using Step = std::function<void(CZuXDocument&, CZuXNode & r, CZuXNode & child)>;
    struct Row {
        const char* what;
        const char* xml;
        Step step;
        std::vector<std::string> seen;
        const char* after;
    };
    const Row rows[] = {
        {"remove the current child",
         "<r><x/><k/><x/><x/><k/></r>",
         [](CZuXDocument&, CZuXNode& r, CZuXNode& child) {
             if (child.Name() == "x") {
                 EXPECT_FALSE(r.RemoveNode(child).IsError());
             }
         },
         {"x", "k", "x", "x", "k"},
         "<r><k/><k/></r>"},
        {"insert after the current child",
         "<r><k/><k/></r>",
         [](CZuXDocument&, CZuXNode& r, CZuXNode& child) {
             if (child.Name() == "k") r.InsertNodeAfter("n", child);
         },
         {"k", "n", "k", "n"},
         "<r><k/><n/><k/><n/></r>"},
        {"remove a later child",
         "<r><a/><b/><c/></r>",
         [](CZuXDocument&, CZuXNode& r, CZuXNode& child) {
             if (child.Name() == "a") {
                 EXPECT_FALSE(r.RemoveNode(std::string("c")).IsError());
             }
         },
         {"a", "b"},
         "<r><a/><b/></r>"},
        {"remove the current child and the next",
         "<r><a/><b/><c/></r>",
         [](CZuXDocument&, CZuXNode&, CZuXNode& child) {
             CZuXNode next(child);
             next.MoveNextSibling();
             EXPECT_FALSE(next.RemoveFromParent().IsError());
             EXPECT_FALSE(child.RemoveFromParent().IsError());
         },
         {"a"},
         "<r><c/></r>"},
        {"remove the parent",
         "<r><a/><b/></r>",
         [](CZuXDocument& document, CZuXNode&, CZuXNode&) {
             EXPECT_FALSE(document.RemoveNode(std::string("r")).IsError());
         },
         {"a"},
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto document = Parse(row.xml);
        CZuXNode r(document->GetNode("r"));
        EXPECT_EQ(row.seen, Visit(r, [&](CZuXNode& child) { row.step(*document, r, child); }));
        EXPECT_EQ(row.after, Text(*document));
    }
}

// What an item stands for: its element's name or its attribute's value.
std::string Describe(const CZuXPathNodePtr& item) {
    return CZuXNode(item->NodePrivate()).Name() + CZuXAttribute(item->AttributePrivate()).AsString();
}

TEST(RangeForTest, SetItemsInOrder) {
    auto document = Parse("<r><i n=\"1\"/><i n=\"2\"/><i n=\"3\"/></r>");
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//i | //i/@n").IsError());
    std::vector<std::string> expected, seen;
    for (unsigned long i = 0; i < set->Size(); ++i) expected.push_back(Describe(set->Node(i)));
    std::set<const CZuXPathNode*> handles;
    for (const CZuXPathNodePtr& item : *set) {
        seen.push_back(Describe(item));
        handles.insert(item.get());
    }
    EXPECT_EQ(6u, seen.size());
    EXPECT_EQ(expected, seen);
    EXPECT_EQ(1u, handles.size()) << "one handle, moved from item to item";

    // Pointers and handle copies kept beyond their step keep their item.
    std::vector<CZuXPathNodePtr> kept;
    std::vector<CZuXPathNode> copies;
    for (const CZuXPathNodePtr& item : *set) kept.push_back(item);
    for (const CZuXPathNodePtr& item : *set) copies.push_back(*item);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i], Describe(kept[i]));
        EXPECT_EQ(expected[i], Describe(boost::make_shared<CZuXPathNode>(copies[i])));
    }

    // A load ends the walk, since it empties the set.
    int steps = 0;
    for (const CZuXPathNodePtr& item : *set) {
        steps += item != nullptr;
        ASSERT_FALSE(document->LoadFromString("<r/>").IsError());
    }
    EXPECT_EQ(1, steps);
    for (const CZuXPathNodePtr& item : CZuXPathNodeSet()) ADD_FAILURE() << item;
}

TEST(RangeForTest, AHandleKeptFromTheWalkSeesARemovalMadeBeforeItsStep) {
    // The step to <b> puts the handle back in the generation of the selection; it must then hold
    // the records of that generation, which the handle's use at <a> had left behind.
    auto document = Parse("<r><a/><b/><c/></r>");
    CZuXNode root(document->GetNode("r"));
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "/r/*").IsError());
    CZuXPathNodePtr kept;
    int step = 0;
    for (const CZuXPathNodePtr& item : *set) {
        if (step++ == 1) {
            kept = item; // on <b>
            break;
        }
        ASSERT_FALSE(root.RemoveNode(std::string("b")).IsError());
        EXPECT_EQ("a", Describe(item)); // brings the handle to the current generation
    }
    set.reset();
    ASSERT_FALSE(root.RemoveNode(std::string("c")).IsError()); // drops the records nobody holds
    EXPECT_FALSE(CZuXNode(kept->NodePrivate()).Exists());
}

TEST(RangeForTest, StepsAllocateNothing) {
    std::string xml = "<r>";
    for (int i = 0; i < 100; ++i) xml += "<i/>text";
    auto document = Parse(xml + "</r>");
    CZuXNode r(document->GetNode("r"));
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "/r/node()").IsError());
    ASSERT_EQ(200u, set->Size());

    // Every allocation after the first item is refused, and counted.
    std::optional<zuxtest::ScopedAllocationFailure> noMore;
    int steps = 0;
    for (CZuXNode& child : r.Children()) {
        if (!noMore) noMore.emplace();
        steps += child.Exists();
    }
    EXPECT_EQ(0, noMore->Refused());
    noMore.reset();
    for (const CZuXPathNodePtr& item : *set) {
        if (!noMore) noMore.emplace();
        steps += item != nullptr;
    }
    EXPECT_EQ(0, noMore->Refused());
    EXPECT_EQ(400, steps);
}

} // namespace
