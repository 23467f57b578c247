// Handles on removed items and handles made before a load. Each behaves exactly as an empty
// handle does, whatever is created afterwards, possibly at the freed addresses; handles on items
// that stay keep working. The sanitizer and valgrind runs see any access to freed memory.
#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using zuxtest::Parse;
using zuxtest::Text;

// The stale items are <x> and what is below it; <keep> stays.
const char* const kXml = "<r><x a=\"1\" b=\"2\"><c a=\"3\">text</c><c/></x><keep a=\"4\"/></r>";

// Everything every node operation gives on `node`, as text: results with their records, values
// read, whether the bodies handed out are on a node, and where the handle is after each move.
// `other` is a live node of the same document, for the operations that take one.
std::vector<std::string> NodeOutcomes(CZuXDocument& document, CZuXNode& node, const CZuXNodePtr& other) {
    std::vector<std::string> out;
    const auto result = [&out](const CZuError& e) { out.push_back(e.AsString()); };
    const auto node_of = [&out](const CZuXNodePrivatePtr& b) { out.push_back(CZuXNode(b).Exists() ? "node" : "-"); };
    const auto value = [&out](const auto& v) { out.push_back(::testing::PrintToString(v)); };
    const CZuXNode& c = node;
    const CZuXNodePrivatePtr otherBody = other->GetPrivate(other);

    value(node.Exists());
    value(node.Name());
    value(node.Path());
    std::string text = "unchanged";
    result(node.GetText(text));
    value(text);
    node_of(node.GetFirstNode());
    node_of(node.GetNode("c"));
    node_of(c.GetNode("c"));
    value(CZuXAttribute(node.GetFirstAttribute()).Exists());
    value(c.AttributeExists("a"));
    node_of(c.GetParent());
    value(static_cast<int>(c.Kind()));
    value(c.IsElement());
    value(c.Value());
    text = "unchanged";
    result(c.GetText(text));
    value(text);
    for (CZuXNode& child : c.Children()) value(child.Name());
    for (CZuXAttribute& attribute : c.Attributes()) value(attribute.Name());
    value(c.ChildText("c"));
    node_of(c.FindChild("c", "a", "3"));
    std::ostringstream stream;
    CZuXPathNodeSetPtr set;
    result(c.SelectNodes(set, "//c | ."));
    value(set->Size());

    node_of(node.AppendNode("n"));
    node_of(node.PrependNode("n"));
    node_of(node.InsertNodeAfter("n", node.GetNode("c")));
    node_of(node.InsertNodeBefore("n", otherBody));
    result(node.SetText("t"));
    result(node.AppendNodeCopy(other));
    result(node.PrependNodeCopy(other));
    result(node.InsertNodeCopyAfter(other, other));
    result(node.InsertNodeCopyBefore(other, other));
    node_of(node.InsertNodeAfter("n", c));
    node_of(node.InsertNodeBefore("n", *other));
    result(node.AppendNodeCopy(*other));
    result(node.PrependNodeCopy(*other));
    result(node.InsertNodeCopyAfter(*other, *other));
    result(node.InsertNodeCopyBefore(*other, *other));
    // This handle as the argument, taken by a live node.
    node_of(other->InsertNodeAfter("n", c));
    result(other->AppendNodeCopy(c));
    result(other->InsertNodeCopyBefore(c, c));
    result(other->RemoveNode(c));
    node_of(document.InsertNodeBefore("n", c));
    node_of(node.AppendNode(CZuXNode::NodeKind::Comment));
    node_of(document.InsertNodeAfter(CZuXNode::NodeKind::ProcessingInstruction, c));
    result(document.RemoveNode(c));

    value(c.AttributeAsBOOL("a", true));
    value(c.AttributeAsDOUBLE("a", 0.5));
    value(c.AttributeAsINT("a", -7));
    value(c.AttributeAsUINT("a", 7));
    value(c.AttributeAsLONGLONG("a", -7));
    value(c.AttributeAsULONGLONG("a", 7));
    value(c.AttributeAsString("a"));
    value(c.AttributeAsString("a", "d"));
    value(c.AttributeAsTimeStamp("a").AsSystemTime());
    value(c.AttributeAsTimeStamp("a", CTimeStamp(5)).AsSystemTime());
    value(c.AttributeAsTimeStampUnixTime("a").AsSystemTime());
    value(c.AttributeAsTimeStampUnixTime("a", CTimeStamp::FromUnixTime(9)).AsSystemTime());
    bool b = true;
    double d = 0.5;
    int i = -7;
    unsigned int u = 7;
    LONGLONG ll = -7;
    ULONGLONG ull = 7;
    std::string s = "kept";
    CTimeStamp t(5);
    for (const CZuError& e :
         {c.GetAttributeAsBOOL("a", b), c.GetAttributeAsDOUBLE("a", d), c.GetAttributeAsINT("a", i),
          c.GetAttributeAsUINT("a", u), c.GetAttributeAsLONGLONG("a", ll), c.GetAttributeAsULONGLONG("a", ull),
          c.GetAttributeAsString("a", s), c.GetAttributeAsTimeStamp("a", t), c.GetAttributeAsTimeStampUnixTime("a", t),
          node.SetAttributeBOOL("a", true), node.SetAttributeDOUBLE("a", 1.5), node.SetAttributeINT("a", 1),
          node.SetAttributeUINT("a", 1), node.SetAttributeLONGLONG("a", 1), node.SetAttributeULONGLONG("a", 1),
          node.SetAttributeString("a", "v"), node.SetAttributeTimeStamp("a", CTimeStamp(1)),
          node.SetAttributeTimeStampUnixTime("a", CTimeStamp(1))})
        result(e);
    for (const CZuError& e : {c.GetAttributeAsIso8601("a", t), c.ParseAttribute("a", t),
                              node.SetAttributeIso8601("a", CTimeStamp(1)), node.SetValue("v"), node.SetName("n"),
                              c.SaveAsString(s, "", BZuXFormat()), node.SaveToStream(stream, "", BZuXFormat())})
        result(e);
    value(s + stream.str());
    value(b && d == 0.5 && i == -7 && u == 7 && ll == -7 && ull == 7 && s == "kept" && t == CTimeStamp(5));

    result(node.RemoveNode(other));
    result(node.RemoveNode(otherBody));
    result(node.RemoveNode(*other));
    result(node.RemoveNode(std::string("c")));
    result(node.RemoveAttribute("a"));
    result(node.RemoveFromParent());
    for (int move = 0; move < 3; ++move) {
        result(move == 0 ? node.MoveNext() : move == 1 ? node.MoveNextSibling() : node.MovePreviousSibling());
        value(node.Exists());
    }
    return out;
}

// The same for attribute handles.
std::vector<std::string> AttributeOutcomes(CZuXAttribute& attribute) {
    std::vector<std::string> out;
    const auto value = [&out](const auto& v) { out.push_back(::testing::PrintToString(v)); };
    const CZuXAttribute& c = attribute;
    value(attribute.Exists());
    value(attribute.Name());
    std::string text = "unchanged";
    out.push_back(attribute.GetText(text).AsString());
    value(text);
    value(c.AsBOOL(true));
    value(c.AsDOUBLE(0.5));
    value(c.AsINT(-7));
    value(c.AsUINT(7));
    value(c.AsLONGLONG(-7));
    value(c.AsULONGLONG(7));
    value(c.AsString("d"));
    value(c.AsTimeStamp(CTimeStamp(5)).AsSystemTime());
    value(c.AsTimeStampUnixTime(CTimeStamp::FromUnixTime(9)).AsSystemTime());
    int i = 3;
    std::string s = "kept";
    out.push_back(c.GetAsINT(i).AsString());
    out.push_back(c.GetAsString(s).AsString());
    value(i);
    value(s);
    for (const CZuError& e :
         {attribute.SetText("t"), attribute.SetBOOL(true), attribute.SetDOUBLE(1.5), attribute.SetINT(1),
          attribute.SetUINT(1), attribute.SetLONGLONG(1), attribute.SetULONGLONG(1), attribute.SetString("s"),
          attribute.SetTimeStamp(CTimeStamp(1)), attribute.SetTimeStampUnixTime(CTimeStamp(1))})
        out.push_back(e.AsString());
    out.push_back(attribute.MoveNext().AsString());
    value(attribute.Exists());
    out.push_back(attribute.MovePrevious().AsString());
    value(attribute.Exists());
    return out;
}

// What the three bodies of an XPath item give.
std::string ItemOutcome(CZuXPathNode& item) {
    return std::to_string(CZuXNode(item.NodePrivate()).Exists()) +
           std::to_string(CZuXAttribute(item.AttributePrivate()).Exists()) +
           std::to_string(CZuXNode(item.ParentPrivate()).Exists());
}

// Handles that a way of going stale leaves behind, all on <x>, below it or on its attributes.
struct Stale {
    std::vector<CZuXNode> nodes;
    std::vector<CZuXAttribute> attributes;
    std::vector<boost::shared_ptr<CZuXPathNode>> items;
};

// Takes every kind of handle on <x> and below, then lets `spoil` make them stale.
Stale MakeStale(CZuXDocument& document, const std::function<void(CZuXDocument&, CZuXNode& x)>& spoil) {
    CZuXNode root(document.GetNode("r"));
    const CZuXNodePtr x = boost::make_shared<CZuXNode>(root.GetNode("x"));
    CZuXNode child(x->GetNode("c"));
    CZuXNodePrivatePtr sharedBody = x->GetPrivate(x);
    CZuXNode copy(*x);
    CZuXNode text(child.GetFirstNode());
    CZuXAttribute onX(x->GetFirstAttribute());
    CZuXAttribute onChild(child.GetFirstAttribute());
    CZuXPathNodeSetPtr set;
    EXPECT_FALSE(document.SelectNodes(set, "//x | //x//c | //x//@a").IsError());
    spoil(document, *x);

    Stale stale;
    stale.nodes = {*x, CZuXNode(sharedBody), copy, child, text};
    stale.attributes = {onX, onChild};
    for (unsigned long i = 0; i < set->Size(); ++i) {
        stale.items.push_back(set->Node(i));
        stale.nodes.emplace_back(set->Node(i)->NodePrivate()); // made after the spoiling
        stale.attributes.emplace_back(set->Node(i)->AttributePrivate());
    }
    return stale;
}

TEST(StaleHandleTest, EveryOperationOnAStaleHandleActsAsOnAnEmptyOne) {
    const std::vector<std::pair<const char*, std::function<void(CZuXDocument&, CZuXNode&)>>> ways = {
        {"removed by name",
         [](CZuXDocument& d, CZuXNode&) {
             EXPECT_FALSE(CZuXNode(d.GetNode("r")).RemoveNode(std::string("x")).IsError());
         }},
        {"removed through a handle pointer",
         [](CZuXDocument& d, CZuXNode& x) {
             EXPECT_FALSE(CZuXNode(d.GetNode("r")).RemoveNode(boost::make_shared<CZuXNode>(x)).IsError());
         }},
        {"removed from its parent", [](CZuXDocument&, CZuXNode& x) { EXPECT_FALSE(x.RemoveFromParent().IsError()); }},
        {"its parent removed",
         [](CZuXDocument& d, CZuXNode&) { EXPECT_FALSE(d.RemoveNode(std::string("r")).IsError()); }},
        {"removed with more than 64 nodes, then another removal",
         [](CZuXDocument& d, CZuXNode& x) {
             for (int i = 0; i < 70; ++i) x.AppendNode("p");
             CZuXNode r(d.GetNode("r"));
             EXPECT_FALSE(r.RemoveNode(std::string("x")).IsError());
             EXPECT_FALSE(r.RemoveNode(std::string("keep")).IsError());
         }},
        {"removed, then enough removals to grow the record",
         [](CZuXDocument& d, CZuXNode& x) {
             CZuXNode r(d.GetNode("r"));
             for (int i = 0; i < 100; ++i) r.AppendNode("n");
             EXPECT_FALSE(x.RemoveFromParent().IsError());
             for (int i = 0; i < 100; ++i) EXPECT_FALSE(r.RemoveNode(std::string("n")).IsError());
         }},
        {"loaded again", [](CZuXDocument& d, CZuXNode&) { EXPECT_FALSE(d.LoadFromString(kXml).IsError()); }},
        {"a failed load", [](CZuXDocument& d, CZuXNode&) { EXPECT_TRUE(d.LoadFromString("<r><x>").IsError()); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.first);
        auto document = Parse(kXml);
        Stale stale = MakeStale(*document, way.second);
        // Whatever is made now may take the freed memory; it must not bring the handles back.
        CZuXNode root(document->GetNode("r"));
        if (!root.Exists()) root = CZuXNode(document->AppendNode("r"));
        for (int i = 0; i < 50; ++i) CZuXNode(CZuXNode(root.AppendNode("x")).AppendNode("c")).SetAttributeINT("a", i);
        const std::string before = Text(*document);
        const CZuXNodePtr other = boost::make_shared<CZuXNode>(root.GetFirstNode());

        CZuXNode empty;
        const std::vector<std::string> asEmpty = NodeOutcomes(*document, empty, other);
        for (CZuXNode& node : stale.nodes) EXPECT_EQ(asEmpty, NodeOutcomes(*document, node, other));
        CZuXAttribute emptyAttribute;
        const std::vector<std::string> asEmptyAttribute = AttributeOutcomes(emptyAttribute);
        for (CZuXAttribute& attribute : stale.attributes) EXPECT_EQ(asEmptyAttribute, AttributeOutcomes(attribute));
        for (const auto& item : stale.items) EXPECT_EQ("000", ItemOutcome(*item));
        EXPECT_EQ(before, Text(*document)) << "nothing done through a stale handle changes the tree";
    }
}

TEST(StaleHandleTest, HandlesOnItemsThatStayKeepWorking) {
    auto document = Parse(kXml);
    CZuXNode root(document->GetNode("r"));
    CZuXNode keep(root.GetNode("keep"));
    CZuXAttribute keepA(keep.GetFirstAttribute());
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//c | //keep").IsError());
    ASSERT_EQ(3u, set->Size());

    ASSERT_FALSE(root.RemoveNode(std::string("x")).IsError());
    EXPECT_EQ("keep", keep.Name());
    EXPECT_EQ(4, keepA.AsINT(0));
    EXPECT_EQ(3u, set->Size()) << "a set is a snapshot";
    EXPECT_FALSE(CZuXNode(set->Node(0)->NodePrivate()).Exists());
    EXPECT_EQ("keep", CZuXNode(set->Node(2)->NodePrivate()).Name());
    EXPECT_EQ("/r/keep", CZuXNode(set->Node(2)->NodePrivate()).Path());
    EXPECT_FALSE(keep.MovePreviousSibling().IsError());
    EXPECT_FALSE(keep.Exists()) << "the removed sibling is gone from the tree too";
    EXPECT_EQ("<r><keep a=\"4\"/></r>", Text(*document));

    // Loading again empties everything made before, sets included.
    CZuXNode again(root.GetNode("keep"));
    ASSERT_FALSE(document->LoadFromString(kXml).IsError());
    EXPECT_FALSE(again.Exists());
    EXPECT_TRUE(set->Empty());
    EXPECT_EQ(0u, set->Size());
    EXPECT_TRUE(CZuXNode(document->GetNode("r")).Exists());
}

TEST(StaleHandleTest, RemovingNestedMatchesOneByOne) {
    // Removing the outer match removes the inner ones with it; their items then fail as empty
    // handles do, and the rest goes on.
    auto document = Parse("<r><x i=\"1\"><x i=\"2\"><x i=\"3\"/></x></x><y><x i=\"4\"/></y></r>");
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//x").IsError());
    ASSERT_EQ(4u, set->Size());
    std::vector<unsigned int> codes;
    for (unsigned long i = 0; i < set->Size(); ++i) {
        CZuXNode node(set->Node(i)->NodePrivate());
        codes.push_back(node.RemoveFromParent().GetWin32Code());
        EXPECT_FALSE(node.Exists());
    }
    EXPECT_EQ((std::vector<unsigned int>{0, 1168, 1168, 0}), codes);
    EXPECT_EQ("<r><y/></r>", Text(*document));
}

} // namespace

// --- randomized, against a model ----------------------------------------------------------------

// The tree as the test expects it: elements with unique ids, their names and children in order,
// and whether they still carry the attribute k (written with the id as its value).
class Model {
public:
    struct Element {
        std::string name;
        int parent = 0;
        std::vector<int> children;
        bool hasK = true;
        bool alive = true;
    };

    // A new random tree below a root element; its ids follow all ids used before.
    std::string Generate(std::mt19937& random) {
        for (auto& element : m_elements) element.second.alive = false;
        ++m_loads;
        m_root = Add(0, "r", random() % 2 == 0, -1);
        for (int i = 0, count = static_cast<int>(random() % 40); i < count; ++i) {
            const int parent = RandomAlive(random);
            Add(parent, random() % 2 ? "a" : "b", random() % 4 != 0, static_cast<int>(At(parent).children.size()));
        }
        return Text();
    }

    // A new element below `parent` at `position` (-1: last); its id.
    int Add(int parent, const std::string& name, bool hasK, int position) {
        const int id = ++m_lastId;
        Element& element = m_elements[id];
        element.name = name;
        element.parent = parent;
        element.hasK = hasK;
        if (parent != 0) {
            std::vector<int>& children = m_elements[parent].children;
            children.insert(position < 0 ? children.end() : children.begin() + position, id);
        }
        return id;
    }

    void Remove(int id) {
        std::vector<int>& siblings = m_elements[At(id).parent].children;
        siblings.erase(std::find(siblings.begin(), siblings.end(), id));
        std::vector<int> pending{id};
        while (!pending.empty()) {
            Element& element = m_elements[pending.back()];
            pending.pop_back();
            element.alive = false;
            pending.insert(pending.end(), element.children.begin(), element.children.end());
        }
    }

    // The first child of `parent` named `name`, or 0.
    int FirstChildNamed(int parent, const std::string& name) const {
        for (int child : At(parent).children)
            if (At(child).name == name) return child;
        return 0;
    }

    int RandomAlive(std::mt19937& random) const {
        std::vector<int> alive;
        for (const auto& element : m_elements)
            if (element.second.alive) alive.push_back(element.first);
        return alive[random() % alive.size()];
    }

    bool Alive(int id) const { return id > 0 && m_elements.count(id) && At(id).alive; }
    bool HasK(int id) const { return Alive(id) && At(id).hasK; }
    void DropK(int id) { m_elements[id].hasK = false; }
    const Element& At(int id) const { return m_elements.at(id); }
    int Root() const { return m_root; }
    int Loads() const { return m_loads; }

    std::string Text() const {
        std::string text;
        Render(m_root, text);
        return text;
    }

private:
    void Render(int id, std::string& out) const {
        const Element& element = At(id);
        out += "<" + element.name + " id=\"" + std::to_string(id) + "\"";
        if (element.hasK) out += " k=\"" + std::to_string(id) + "\"";
        if (element.children.empty()) {
            out += "/>";
            return;
        }
        out += ">";
        for (int child : element.children) Render(child, out);
        out += "</" + element.name + ">";
    }

    std::map<int, Element> m_elements;
    int m_lastId = 0;
    int m_root = 0;
    int m_loads = 0;
};

// A handle the test keeps across operations, with what it was taken on.
struct Kept {
    int id = 0; // the element the node is on, or that holds the attribute k
    boost::shared_ptr<CZuXNode> node;
    boost::shared_ptr<CZuXAttribute> attribute;
    CZuXPathNodeSetPtr set;
    int load = 0;         // for sets: the load they were selected in
    std::vector<int> ids; // for sets: the ids selected, in order
};

// The element with that id, through XPath.
CZuXNode Find(CZuXDocument& document, int id) {
    CZuXPathNodeSetPtr set;
    EXPECT_FALSE(document.SelectNodes(set, "//*[@id=" + std::to_string(id) + "]").IsError());
    return CZuXNode(set->Node(0)->NodePrivate());
}

void Check(const Model& model, const Kept& kept) {
    if (kept.set) {
        ASSERT_EQ(kept.load == model.Loads() ? kept.ids.size() : 0u, kept.set->Size());
        for (unsigned long i = 0; i < kept.set->Size(); ++i) {
            CZuXNode node(kept.set->Node(i)->NodePrivate());
            EXPECT_EQ(model.Alive(kept.ids[i]) ? kept.ids[i] : -1, node.AttributeAsINT("id", -1));
        }
    } else if (kept.attribute) {
        EXPECT_EQ(model.HasK(kept.id), kept.attribute->Exists()) << "k of " << kept.id;
        EXPECT_EQ(model.HasK(kept.id) ? kept.id : -1, kept.attribute->AsINT(-1));
    } else {
        EXPECT_EQ(model.Alive(kept.id), kept.node->Exists()) << kept.id;
        EXPECT_EQ(model.Alive(kept.id) ? kept.id : -1, kept.node->AttributeAsINT("id", -1));
    }
}

// Takes a handle of a random kind on a random live element.
Kept Take(CZuXDocument& document, const Model& model, std::mt19937& random) {
    Kept kept;
    kept.id = model.RandomAlive(random);
    const CZuXNode found = Find(document, kept.id);
    switch (random() % 5) {
    case 0: // a handle of its own
        kept.node = boost::make_shared<CZuXNode>(found);
        break;
    case 1: { // a second handle on the body of another
        const CZuXNodePtr first = boost::make_shared<CZuXNode>(found);
        kept.node = boost::make_shared<CZuXNode>(first->GetPrivate(first));
        break;
    }
    case 2: // the attribute k, or the element when it has none
        if (model.HasK(kept.id)) {
            kept.attribute = boost::make_shared<CZuXAttribute>(CZuXNode(found).GetFirstAttribute());
            kept.attribute->MoveNext();
        } else {
            kept.node = boost::make_shared<CZuXNode>(found);
        }
        break;
    default: // every element, or every element with k, as a set
        kept.load = model.Loads();
        EXPECT_FALSE(document.SelectNodes(kept.set, random() % 2 ? "//*[@k]" : "//*").IsError());
        for (unsigned long i = 0; i < kept.set->Size(); ++i)
            kept.ids.push_back(CZuXNode(kept.set->Node(i)->NodePrivate()).AttributeAsINT("id", -1));
        break;
    }
    return kept;
}

// One random change, applied to the document and the model alike.
void Change(CZuXDocument& document, Model& model, std::vector<Kept>& kept, std::mt19937& random) {
    const int choice = static_cast<int>(random() % 20);
    if (choice == 0) { // a load, sometimes after a failed one
        if (random() % 2) {
            EXPECT_TRUE(document.LoadFromString("<r><unclosed>").IsError());
        }
        ASSERT_FALSE(document.LoadFromString(model.Generate(random)).IsError());
    } else if (choice < 8) { // a new element
        const int parent = model.RandomAlive(random);
        CZuXNode node = Find(document, parent);
        const std::string name = random() % 2 ? "a" : "b";
        const std::vector<int>& children = model.At(parent).children;
        const int way = children.empty() ? static_cast<int>(random() % 2) : static_cast<int>(random() % 4);
        const int at = children.empty() ? 0 : static_cast<int>(random() % children.size());
        CZuXNodePrivatePtr body;
        int position = -1;
        if (way == 0) body = node.AppendNode(name.c_str());
        if (way == 1) body = node.PrependNode(name.c_str()), position = 0;
        if (way >= 2) {
            CZuXNode reference = Find(document, children[static_cast<std::size_t>(at)]);
            const CZuXNodePtr pointer = boost::make_shared<CZuXNode>(reference);
            body = way == 2 ? node.InsertNodeAfter(name.c_str(), pointer->GetPrivate(pointer))
                            : node.InsertNodeBefore(name.c_str(), pointer->GetPrivate(pointer));
            position = way == 2 ? at + 1 : at;
        }
        const bool hasK = random() % 4 != 0;
        const int id = model.Add(parent, name, hasK, position);
        CZuXNode added(body);
        ASSERT_FALSE(added.SetAttributeINT("id", id).IsError());
        if (hasK) {
            ASSERT_FALSE(added.SetAttributeINT("k", id).IsError());
        }
    } else if (choice < 14) { // a removal, in one of four ways
        const int id = model.RandomAlive(random);
        if (id == model.Root()) return;
        CZuXNode node = Find(document, id);
        CZuXNode parent = Find(document, model.At(id).parent);
        switch (random() % 4) {
        case 0:
            ASSERT_FALSE(node.RemoveFromParent().IsError());
            break;
        case 1:
            ASSERT_FALSE(parent.RemoveNode(boost::make_shared<CZuXNode>(node)).IsError());
            break;
        case 2: {
            const CZuXNodePtr pointer = boost::make_shared<CZuXNode>(node);
            ASSERT_FALSE(parent.RemoveNode(pointer->GetPrivate(pointer)).IsError());
            break;
        }
        default:
            ASSERT_FALSE(parent.RemoveNode(model.At(id).name).IsError());
            model.Remove(model.FirstChildNamed(model.At(id).parent, model.At(id).name));
            return;
        }
        model.Remove(id);
    } else if (choice < 16) { // the attribute k goes
        const int id = model.RandomAlive(random);
        const CZuError removed = Find(document, id).RemoveAttribute("k");
        EXPECT_EQ(model.HasK(id) ? 0u : 1168u, removed.GetWin32Code());
        if (model.HasK(id)) model.DropK(id);
    } else { // a kept handle removes its node, which may have gone already
        const Kept& one = kept[random() % kept.size()];
        if (!one.node || one.id == model.Root()) return;
        const bool alive = model.Alive(one.id);
        EXPECT_EQ(alive ? 0u : 1168u, CZuXNode(*one.node).RemoveFromParent().GetWin32Code());
        if (alive) model.Remove(one.id);
    }
}

TEST(StaleHandleTest, RandomChangesAgainstAModel) {
    for (unsigned int seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        Model model;
        CZuXDocument document;
        ASSERT_FALSE(document.LoadFromString(model.Generate(random)).IsError());
        std::vector<Kept> kept;
        for (int step = 0; step < 250; ++step) {
            if (kept.size() < 30)
                kept.push_back(Take(document, model, random));
            else
                kept[random() % kept.size()] = Take(document, model, random);
            Change(document, model, kept, random);
            for (const Kept& one : kept) Check(model, one);
            if (::testing::Test::HasFailure()) FAIL() << "step " << step;
        }
        EXPECT_EQ(model.Text(), Text(document));
    }
}
