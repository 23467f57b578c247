// The operations that take a node as a handle (const CZuXNode&) behave exactly as their pointer
// forms given that handle's body, and adding them changed no call that compiled before.
#include "TestSupport.h"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using zuxtest::ExpectError;
using zuxtest::Parse;
using zuxtest::Text;

const char* const kXml = "<r><a/><b><c/></b></r>";

// One operation in both forms, on <r> of a fresh document, with the node under test.
using Call = std::function<CZuError(CZuXDocument&, CZuXNode& r, const CZuXNodePtr& node)>;
struct Overload {
    const char* file;
    const char* handleText; // the handle form's function text
    Call pointer;
    Call handle;
};

// `call` given the node as `pointer` makes it from the handle pointer, and given the handle.
template <class Pointer, class Generic>
Overload Both(const char* file, const char* handleText, Pointer pointer, Generic call) {
    return {file, handleText,
            [=](CZuXDocument& d, CZuXNode& r, const CZuXNodePtr& n) { return call(d, r, pointer(n)); },
            [=](CZuXDocument& d, CZuXNode& r, const CZuXNodePtr& n) { return call(d, r, *n); }};
}

CZuXNodePrivatePtr BodyOf(const CZuXNodePtr& node) {
    return node->GetPrivate(node);
}

const CZuXNodePtr& HandlePointer(const CZuXNodePtr& node) {
    return node;
}

// The inserts report nothing: what they made shows in the document.
CZuError Made(const CZuXNodePrivatePtr&) {
    return CZuError::Success();
}

// The nodes under test, each made on a fresh document: a child of <r>, a grandchild, <r> itself (a
// top-level node), an empty handle and a handle on a removed child.
using Make = std::function<CZuXNodePtr(CZuXNode& r)>;
const std::vector<std::pair<const char*, Make>>& Nodes() {
    static const std::vector<std::pair<const char*, Make>> nodes = {
        {"child", [](CZuXNode& r) { return boost::make_shared<CZuXNode>(r.GetNode("a")); }},
        {"grandchild", [](CZuXNode& r) { return boost::make_shared<CZuXNode>(CZuXNode(r.GetNode("b")).GetNode("c")); }},
        {"top level", [](CZuXNode& r) { return boost::make_shared<CZuXNode>(r); }},
        {"empty", [](CZuXNode&) { return boost::make_shared<CZuXNode>(); }},
        {"removed",
         [](CZuXNode& r) {
             const CZuXNodePtr a = boost::make_shared<CZuXNode>(r.GetNode("a"));
             EXPECT_FALSE(r.RemoveNode(std::string("a")).IsError());
             return a;
         }},
    };
    return nodes;
}

TEST(HandleArgumentTest, EveryHandleFormActsAsItsPointerForm) {
    const char* const kNode = "ZuXNode.cpp";
    const char* const kDocument = "ZuXDocument.cpp";
    const std::vector<Overload> overloads = {
        Both(kNode, "", BodyOf,
             [](CZuXDocument&, CZuXNode& r, const auto& n) { return Made(r.InsertNodeAfter("n", n)); }),
        Both(kNode, "", BodyOf,
             [](CZuXDocument&, CZuXNode& r, const auto& n) { return Made(r.InsertNodeBefore("n", n)); }),
        Both(kNode, "CZuError CZuXNode::AppendNodeCopy(const CZuXNode&)", HandlePointer,
             [](CZuXDocument&, CZuXNode& r, const auto& n) { return r.AppendNodeCopy(n); }),
        Both(kNode, "CZuError CZuXNode::PrependNodeCopy(const CZuXNode&)", HandlePointer,
             [](CZuXDocument&, CZuXNode& r, const auto& n) { return r.PrependNodeCopy(n); }),
        Both(kNode, "CZuError CZuXNode::InsertNodeCopyAfter(const CZuXNode&, const CZuXNode&)", HandlePointer,
             [](CZuXDocument&, CZuXNode& r, const auto& n) { return r.InsertNodeCopyAfter(n, n); }),
        Both(kNode, "CZuError CZuXNode::InsertNodeCopyBefore(const CZuXNode&, const CZuXNode&)", HandlePointer,
             [](CZuXDocument&, CZuXNode& r, const auto& n) { return r.InsertNodeCopyBefore(n, n); }),
        Both(kNode, "CZuError CZuXNode::RemoveNode(const CZuXNode&)", BodyOf,
             [](CZuXDocument&, CZuXNode& r, const auto& n) { return r.RemoveNode(n); }),
        Both(kDocument, "", BodyOf,
             [](CZuXDocument& d, CZuXNode&, const auto& n) { return Made(d.InsertNodeAfter("n", n)); }),
        Both(kDocument, "", BodyOf,
             [](CZuXDocument& d, CZuXNode&, const auto& n) { return Made(d.InsertNodeBefore("n", n)); }),
        Both(kDocument, "CZuError CZuXDocument::RemoveNode(const CZuXNode&)", BodyOf,
             [](CZuXDocument& d, CZuXNode&, const auto& n) { return d.RemoveNode(n); }),
    };
    for (const Overload& overload : overloads) {
        SCOPED_TRACE(overload.handleText);
        std::set<std::string> outcomes;
        for (const auto& node : Nodes()) {
            SCOPED_TRACE(node.first);
            std::string text[2];
            CZuError result[2];
            for (int form = 0; form < 2; ++form) {
                auto document = Parse(kXml);
                CZuXNode r(document->GetNode("r"));
                const CZuXNodePtr argument = node.second(r);
                result[form] = (form == 0 ? overload.pointer : overload.handle)(*document, r, argument);
                text[form] = Text(*document);
            }
            EXPECT_EQ(text[0], text[1]);
            EXPECT_EQ(result[0].GetWin32Code(), result[1].GetWin32Code());
            if (result[1].IsError())
                ExpectError(result[1], result[0].GetWin32Code(), overload.file, overload.handleText, "");
            outcomes.insert(std::to_string(result[1].GetWin32Code()) + text[1]);
        }
        EXPECT_GE(outcomes.size(), 2u) << "the nodes give different outcomes";
    }
}

TEST(HandleArgumentTest, PointersAndNamesPickTheFormsTheyPickedBefore) {
    auto document = Parse(kXml);
    CZuXNode r(document->GetNode("r"));
    const CZuXNodePtr handle = boost::make_shared<CZuXNode>();
    const CZuXNodePrivatePtr body = handle->GetPrivate(handle);
    const std::vector<std::pair<CZuError, const char*>> picks = {
        {r.RemoveNode(body), "CZuError CZuXNode::RemoveNode(CZuXNodePrivatePtr)"},
        {r.RemoveNode(handle), "CZuError CZuXNode::RemoveNode(CZuXNodePtr)"},
        {r.RemoveNode("missing"), "CZuError CZuXNode::RemoveNode(const string&)"},
        {r.RemoveNode(*handle), "CZuError CZuXNode::RemoveNode(const CZuXNode&)"},
        {r.AppendNodeCopy(handle), "CZuError CZuXNode::AppendNodeCopy(CZuXNodePtr)"},
        {r.InsertNodeCopyAfter(handle, handle), "CZuError CZuXNode::InsertNodeCopyAfter(CZuXNodePtr, CZuXNodePtr)"},
        // A body, which the copies never took, now converts to a handle.
        {r.AppendNodeCopy(body), "CZuError CZuXNode::AppendNodeCopy(const CZuXNode&)"},
        {document->RemoveNode(body), "CZuError CZuXDocument::RemoveNode(CZuXNodePrivatePtr)"},
        {document->RemoveNode(r.GetNode("missing")), "CZuError CZuXDocument::RemoveNode(CZuXNodePrivatePtr)"},
        {document->RemoveNode("missing"), "CZuError CZuXDocument::RemoveNode(const string&)"},
        {document->RemoveNode(*handle), "CZuError CZuXDocument::RemoveNode(const CZuXNode&)"},
    };
    for (const auto& pick : picks) {
        ASSERT_EQ(1u, pick.first.GetRecords().size());
        EXPECT_STREQ(pick.second, pick.first.GetRecords()[0].GetLocation().GetFunction());
    }
    // Bodies handed out by a call still pick the body forms of the inserts.
    EXPECT_EQ("n", CZuXNode(r.InsertNodeAfter("n", r.GetNode("a"))).Name());
    EXPECT_EQ("n", CZuXNode(document->InsertNodeBefore("n", document->GetNode("r"))).Name());
    EXPECT_EQ("<n/><r><a/><n/><b><c/></b></r>", Text(*document));
}

} // namespace
