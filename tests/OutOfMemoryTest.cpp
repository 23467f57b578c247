// What the library reports when memory runs out, in pugixml or in its own allocations.
#include "FailingAllocator.h"
#include "TestSupport.h"

#include <ZuX/ZuX.h>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

namespace {

using zuxtest::Allocator;
using zuxtest::Parse;
using zuxtest::ScopedAllocationFailure;
using zuxtest::Text;

// Longer than a pugixml memory page, so storing it always asks the allocator.
const std::string kLongText(100000, 'x');

void ExpectOutOfMemory(const CZuError& error, const char* function, const char* message = "") {
    EXPECT_EQ(14u, error.GetWin32Code()) << error.AsString();
    ASSERT_EQ(1u, error.GetRecords().size());
    EXPECT_STREQ(function, error.GetRecords()[0].GetLocation().GetFunction());
    EXPECT_EQ(message, error.GetRecords()[0].GetMessage());
}

TEST(OutOfMemoryTest, TextWritesReportOutOfMemory) {
    auto document = Parse("<e a=\"old\">old<empty/></e>");
    CZuXNode element(document->GetNode("e"));
    CZuXNode empty(element.GetNode("empty"));
    CZuXAttribute attribute(element.GetFirstAttribute());
    {
        ScopedAllocationFailure fail(Allocator::Pugixml);
        ExpectOutOfMemory(element.SetText(kLongText), "CZuError CZuXNode::SetText(const string&)");
        // The text child made for the text is taken back with it.
        ExpectOutOfMemory(empty.SetText(kLongText), "CZuError CZuXNode::SetText(const string&)");
        ExpectOutOfMemory(attribute.SetText(kLongText), "CZuError CZuXAttribute::SetText(const string&)");
        ExpectOutOfMemory(attribute.SetString(kLongText), "CZuError CZuXAttribute::SetString(const std::string&)");
        EXPECT_GT(fail.Refused(), 0);
    }
    EXPECT_EQ("<e a=\"old\">old<empty/></e>", Text(*document));
}

TEST(OutOfMemoryTest, AttributeWritesThroughTheNodeTakeBackWhatTheyAppended) {
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromString("<?xml version=\"1.0\"?><e a=\"old\"/>", BZuXLoad::KeepDeclaration).IsError());
    CZuXNode element(document.GetNode("e"));
    CZuXNode declaration(document.GetNode("xml")); // takes attributes too
    {
        ScopedAllocationFailure fail(Allocator::Pugixml);
        ExpectOutOfMemory(element.SetAttributeString("a", kLongText),
                          "CZuError CZuXNode::SetAttributeString(const char*, const std::string&)", "Attribute=[a]");
        ExpectOutOfMemory(element.SetAttributeString("new", kLongText),
                          "CZuError CZuXNode::SetAttributeString(const char*, const std::string&)", "Attribute=[new]");
        ExpectOutOfMemory(declaration.SetAttributeString("standalone", kLongText),
                          "CZuError CZuXNode::SetAttributeString(const char*, const std::string&)",
                          "Attribute=[standalone]");
    }
    EXPECT_EQ("<?xml version=\"1.0\"?><e a=\"old\"/>", Text(document));
}

TEST(OutOfMemoryTest, CopiesReportOutOfMemoryOnceThePageIsFull) {
    auto document = Parse("<e><item/></e>");
    CZuXNode element(document->GetNode("e"));
    const CZuXNodePtr item = boost::make_shared<CZuXNode>(element.GetNode("item"));
    CZuError last;
    int copies = 0;
    {
        ScopedAllocationFailure fail(Allocator::Pugixml);
        // The current memory page holds some copies; the first one that needs a new page fails.
        while (copies < 100000 && !(last = element.AppendNodeCopy(item)).IsError()) ++copies;
    }
    EXPECT_GT(copies, 0);
    ExpectOutOfMemory(last, "CZuError CZuXNode::AppendNodeCopy(CZuXNodePtr)");
    EXPECT_EQ(static_cast<std::size_t>(copies + 1) * 7 + 7, Text(*document).size()) << "nothing half-copied";

    // A copy within its document shares the text, so with attributes that take more than a page
    // the memory runs out part way through them: the copy lacks its last ones, and is taken back.
    std::string wide = "<r><w";
    for (int i = 0; i < 2000; ++i) wide += " a" + std::to_string(i) + "=\"\"";
    auto twice = Parse(wide + "/></r>");
    CZuXNode r(twice->GetNode("r"));
    const std::string before = Text(*twice);
    {
        ScopedAllocationFailure fail(Allocator::Pugixml);
        ExpectOutOfMemory(r.AppendNodeCopy(CZuXNode(r.GetNode("w"))),
                          "CZuError CZuXNode::AppendNodeCopy(const CZuXNode&)");
    }
    EXPECT_EQ(before, Text(*twice));
}

// pugixml finishes a copy whose allocations failed with the parts it could make, and returns it.
// Wherever the one allocation refused falls, a copy is complete or reported and taken back.
TEST(OutOfMemoryTest, PartialCopiesAreTakenBack) {
    // The long values need allocations of their own (those that fit no longer into the current
    // page), so the refusal falls on the copy's own attribute and on one further down.
    const std::string v(200000, 'v');
    const std::string t(20000, 't');
    auto source = Parse(("<s a=\"" + v + "\"><c>" + t + "</c><c/><c b=\"" + t + "\"/></s>").c_str());
    const CZuXNodePtr proto = boost::make_shared<CZuXNode>(source->GetNode("s"));
    using Copy = CZuError (*)(CZuXNode&, const CZuXNodePtr&, const CZuXNodePtr&);
    const struct {
        const char* function;
        Copy copy;
        bool first; // whether the copy goes before <r/>
    } kCopies[] = {
        {"CZuError CZuXNode::AppendNodeCopy(CZuXNodePtr)",
         [](CZuXNode& e, const CZuXNodePtr& p, const CZuXNodePtr&) { return e.AppendNodeCopy(p); }, false},
        {"CZuError CZuXNode::PrependNodeCopy(CZuXNodePtr)",
         [](CZuXNode& e, const CZuXNodePtr& p, const CZuXNodePtr&) { return e.PrependNodeCopy(p); }, true},
        {"CZuError CZuXNode::InsertNodeCopyAfter(CZuXNodePtr, CZuXNodePtr)",
         [](CZuXNode& e, const CZuXNodePtr& p, const CZuXNodePtr& r) { return e.InsertNodeCopyAfter(p, r); }, false},
        {"CZuError CZuXNode::InsertNodeCopyBefore(CZuXNodePtr, CZuXNodePtr)",
         [](CZuXNode& e, const CZuXNodePtr& p, const CZuXNodePtr& r) { return e.InsertNodeCopyBefore(p, r); }, true},
    };
    for (const auto& row : kCopies) {
        SCOPED_TRACE(row.function);
        long allowed = 0;
        for (CZuError result; allowed < 100; ++allowed) {
            auto document = Parse("<e><r/></e>");
            CZuXNode element(document->GetNode("e"));
            const CZuXNodePtr reference = boost::make_shared<CZuXNode>(element.GetNode("r"));
            {
                ScopedAllocationFailure fail(Allocator::Pugixml, allowed, 1);
                result = row.copy(element, proto, reference);
            }
            if (!result.IsError()) {
                const std::string copy = Text(*source);
                EXPECT_EQ(row.first ? "<e>" + copy + "<r/></e>" : "<e><r/>" + copy + "</e>", Text(*document));
                break;
            }
            ExpectOutOfMemory(result, row.function);
            EXPECT_EQ("<e><r/></e>", Text(*document)) << "refused after " << allowed;
        }
        EXPECT_GE(allowed, 2) << "the refusal fell on more than one value";
        EXPECT_LT(allowed, 100);
    }
}

// A declaration is written as naming UTF-8 without a change to the tree, which could need memory.
TEST(OutOfMemoryTest, SavesWriteTheUtf8DeclarationWithoutMemory) {
    const std::string path = std::string(ZUX_TEST_DATA_DIR) + "/latin1.xml";
    CZuXDocument document;
    ASSERT_FALSE(document.LoadFromFile(path).IsError());
    std::string text;
    {
        ScopedAllocationFailure fail(Allocator::Pugixml);
        document.SaveAsString(text);
    }
    EXPECT_EQ(0u, text.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_EQ("ISO-8859-1", CZuXNode(document.GetNode("xml")).AttributeAsString("encoding"));
}

TEST(OutOfMemoryTest, FailedAdditionsGiveBodiesWithoutNode) {
    CZuXDocument document;
    CZuXNode root(document.AppendNode("root"));
    CZuXNodePrivatePtr added;
    int count = 0;
    {
        ScopedAllocationFailure fail(Allocator::Pugixml);
        while (count < 100000 && CZuXNode(added = root.AppendNode("n")).Exists()) ++count;
    }
    ASSERT_TRUE(added);
    EXPECT_FALSE(CZuXNode(added).Exists());
}

TEST(OutOfMemoryTest, BodyAllocationFailureLeavesTheTreeUnchanged) {
    auto document = Parse("<e/>");
    CZuXNode element(document->GetNode("e"));
    {
        ScopedAllocationFailure fail(Allocator::OperatorNew);
        EXPECT_THROW(element.AppendNode("child"), std::bad_alloc);
        EXPECT_THROW(document->AppendNode("top"), std::bad_alloc);
    }
    EXPECT_EQ("<e/>", Text(*document));
}

TEST(OutOfMemoryTest, QueriesReportOutOfMemoryWithANullResult) {
    auto document = Parse("<root><item/></root>");
    const char* const kQuery = "CZuError CZuXDocument::QueryPrivate(CZuXNodePrivatePtr&, const string&)";
    const char* const kSelect = "CZuError CZuXDocument::SelectNodes(CZuXPathNodeSetPtr&, const string&)";

    CZuXNodePrivatePtr node = document->GetNode("root");
    CZuError result;
    {
        ScopedAllocationFailure fail(Allocator::OperatorNew, 0, 1);
        result = document->QueryPrivate(node, "root/item");
    }
    ExpectOutOfMemory(result, kQuery);
    EXPECT_FALSE(node);

    // A path with ".." is followed with memory of its own; when that runs out, the same result.
    node = document->GetNode("root");
    {
        ScopedAllocationFailure fail(Allocator::OperatorNew, 1, 1); // the body, then the walk
        result = document->QueryPrivate(node, "root/item/../item");
        EXPECT_GT(fail.Refused(), 0);
    }
    ExpectOutOfMemory(result, kQuery);
    EXPECT_FALSE(node);
    ASSERT_FALSE(document->QueryPrivate(node, "root/item/../item").IsError());
    EXPECT_EQ("item", CZuXNode(node).Name());

    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//item").IsError());
    for (long allowed : {0L, 1L}) { // the set's body, then its handle
        SCOPED_TRACE(allowed);
        {
            ScopedAllocationFailure fail(Allocator::OperatorNew, allowed, 1);
            result = document->SelectNodes(set, "//item");
        }
        ExpectOutOfMemory(result, kSelect);
        EXPECT_FALSE(set);
    }

    // Memory that runs out in pugixml's evaluation gives the same result, not an exception.
    ASSERT_FALSE(document->SelectNodes(set, "//item").IsError());
    std::string value = "kept";
    CZuError evaluated;
    {
        ScopedAllocationFailure fail(Allocator::Pugixml);
        result = document->SelectNodes(set, "//item[position() > 0]");
        evaluated = document->EvaluateXPath(value, "count(//item[position() > 0])");
    }
    ExpectOutOfMemory(result, kSelect);
    EXPECT_FALSE(set);
    ExpectOutOfMemory(evaluated, "CZuError CZuXDocument::EvaluateXPath(std::string&, const string&)");
    EXPECT_EQ("kept", value);
}

TEST(OutOfMemoryTest, CompiledQueriesAndTheirContextsReportOutOfMemory) {
    auto document = Parse("<r><item id=\"1\"/></r>");
    CZuXPathContext context;
    CZuXPathQuery query;
    ASSERT_FALSE(query.Compile("//item").IsError());
    {
        ScopedAllocationFailure fail(Allocator::Pugixml);
        ExpectOutOfMemory(context.SetVariable("v", kLongText),
                          "CZuError CZuXPathContext::SetVariable(const string&, const string&)");
        ExpectOutOfMemory(context.BindNamespace("p", "urn:p"),
                          "CZuError CZuXPathContext::BindNamespace(const string&, const string&)");
        ExpectOutOfMemory(query.Compile("//item[@id = 1]"), "CZuError CZuXPathQuery::Compile(const string&)");
    }
    CZuXPathNodePtr item;
    for (long allowed : {0L, 1L}) { // the item's body, then its handle
        SCOPED_TRACE(allowed);
        CZuError result;
        {
            ScopedAllocationFailure fail(Allocator::OperatorNew, allowed, 1);
            result = document->SelectNode(item, query);
        }
        ExpectOutOfMemory(result, "CZuError CZuXDocument::SelectNode(CZuXPathNodePtr&, const CZuXPathQuery&)");
        EXPECT_FALSE(item);
    }
    ASSERT_FALSE(document->SelectNode(item, query).IsError()) << "the failed compilation kept the expression";
    EXPECT_EQ("item", CZuXNode(item->NodePrivate()).Name());
}

const zuxtest::TempDir kDir;

std::unique_ptr<CZuXDocument> Loaded(const std::string& file) {
    auto document = std::make_unique<CZuXDocument>();
    EXPECT_FALSE(document->LoadFromFile(file).IsError());
    return document;
}

// What the calls below work on, made anew, with memory, for every call.
struct Tree {
    std::unique_ptr<CZuXDocument> d = Parse("<r a=\"1\" n=\"2\">t<c/><e/></r>");
    CZuXNode r{d->GetNode("r")};
    const CZuXNode& cr = r;
    CZuXNodePrivatePtr rb = d->GetNode("r");
    CZuXAttribute a{r.GetFirstAttribute()};
    CZuXNodePtr c = boost::make_shared<CZuXNode>(r.GetNode("c"));
    CZuXNodePtr e = boost::make_shared<CZuXNode>(r.GetNode("e"));
    std::string path = kDir.File("saved.xml");
    std::string file = zuxtest::DataDir() + "/latin1.xml";
    CZuX x;
    CZuXNode text{r.GetFirstNode()};
    std::unique_ptr<CZuXDocument> fd = Loaded(file); // for positions, counted when first asked
    CZuXNode fr{fd->GetNode("r")};
    CZuXAttribute fa{fr.GetFirstAttribute()};
    CZuXPathContext context;
    CZuXPathQuery query;
    std::ostringstream out;
};

// clang-format off
bool b; double x; int i; unsigned int u; long long l; unsigned long long ul; std::string s; CTimeStamp ts;
CZuXNodePrivatePtr found; CZuXPathNodeSetPtr set; CZuXPathNodePtr item; unsigned long ln, cl; // what the calls write to

#define CALL(...) {#__VA_ARGS__, [](Tree& t) -> CZuError { return t.__VA_ARGS__; }}

const std::pair<const char*, CZuError (*)(Tree&)> kCalls[] = {
    CALL(d->LoadFromString("<r/>")), CALL(d->LoadFromString("")), CALL(d->LoadFromFile(t.file)),
    CALL(d->SaveAsString(s)), CALL(d->SaveAsString(s, BZuXFormat())), CALL(d->SaveToFile(t.path)),
    CALL(d->SaveToFile(t.path, BZuXFormat())), CALL(d->SaveToFile(t.path, " ")),
    CALL(d->SaveToFile(t.path, " ", BZuXFormat())), CALL(d->RemoveNode(t.rb)), CALL(d->RemoveNode(t.r)),
    CALL(d->RemoveNode(std::string("x"))), CALL(d->QueryPrivate(found, "r/c")),
    CALL(d->SelectNodes(set, "//c")), CALL(d->EvaluateXPath(s, "count(//c)")), CALL(r.MoveNext()),
    CALL(r.MoveNextSibling()), CALL(r.MovePreviousSibling()), CALL(r.GetText(s)), CALL(cr.GetText(s)),
    CALL(r.SetText("x")), CALL(r.AppendNodeCopy(t.c)), CALL(r.PrependNodeCopy(t.c)),
    CALL(r.InsertNodeCopyAfter(t.c, t.e)), CALL(r.InsertNodeCopyBefore(t.c, t.e)),
    CALL(r.AppendNodeCopy(*t.c)), CALL(r.PrependNodeCopy(*t.c)), CALL(r.InsertNodeCopyAfter(*t.c, *t.e)),
    CALL(r.InsertNodeCopyBefore(*t.c, *t.e)), CALL(r.RemoveNode(t.c)),
    CALL(r.RemoveNode(t.c->GetPrivate(t.c))), CALL(r.RemoveNode(*t.c)), CALL(r.RemoveNode(std::string("x"))),
    CALL(r.RemoveAttribute("a")), CALL(c->RemoveFromParent()), CALL(r.SelectNodes(set, "c")),
    CALL(r.GetAttributeAsBOOL("a", b)), CALL(r.GetAttributeAsDOUBLE("a", x)),
    CALL(r.GetAttributeAsINT("x", i)), CALL(r.GetAttributeAsUINT("a", u)),
    CALL(r.GetAttributeAsLONGLONG("a", l)), CALL(r.GetAttributeAsULONGLONG("a", ul)),
    CALL(r.GetAttributeAsString("a", s)), CALL(r.GetAttributeAsTimeStamp("a", ts)),
    CALL(r.GetAttributeAsTimeStampUnixTime("a", ts)), CALL(r.SetAttributeBOOL("a", true)),
    CALL(r.SetAttributeDOUBLE("a", 0.5)), CALL(r.SetAttributeINT("x y", 1)), CALL(r.SetAttributeUINT("v", 1)),
    CALL(r.SetAttributeLONGLONG("a", 1)), CALL(r.SetAttributeULONGLONG("a", 1)),
    CALL(r.SetAttributeString("a", "v")), CALL(r.SetAttributeTimeStamp("a", ts)),
    CALL(r.SetAttributeTimeStampUnixTime("a", ts)), CALL(r.ParseAttribute("a", b)),
    CALL(r.ParseAttribute("a", x)), CALL(r.ParseAttribute("a", i)), CALL(r.ParseAttribute("a", u)),
    CALL(r.ParseAttribute("x", l)), CALL(r.ParseAttribute("a", ul)), CALL(a.MoveNext()),
    CALL(a.MovePrevious()), CALL(a.GetText(s)), CALL(a.SetText("x")), CALL(a.GetAsBOOL(b)),
    CALL(a.GetAsDOUBLE(x)), CALL(a.GetAsINT(i)), CALL(a.GetAsUINT(u)), CALL(a.GetAsLONGLONG(l)),
    CALL(a.GetAsULONGLONG(ul)), CALL(a.GetAsString(s)), CALL(a.GetAsTimeStamp(ts)),
    CALL(a.GetAsTimeStampUnixTime(ts)), CALL(a.SetBOOL(true)), CALL(a.SetDOUBLE(0.5)), CALL(a.SetINT(1)),
    CALL(a.SetUINT(1)), CALL(a.SetLONGLONG(1)), CALL(a.SetULONGLONG(1)), CALL(a.SetString("v")),
    CALL(a.SetTimeStamp(ts)), CALL(a.SetTimeStampUnixTime(ts)), CALL(a.Parse(b)), CALL(a.Parse(x)),
    CALL(a.Parse(i)), CALL(a.Parse(u)), CALL(a.Parse(l)), CALL(a.Parse(ul)), CALL(x.Initialize(nullptr)),
    CALL(x.Run()), CALL(d->LoadFromString("<r/>", BZuXLoad::KeepAll)),
    CALL(d->LoadFromString("<r><</r>", BZuXLoad::KeepPositions)), CALL(d->LoadFromFile(t.file, BZuXLoad::KeepAll)),
    CALL(d->GetLoadErrorPosition(ln, cl)), CALL(d->SaveAsString(s, " ", BZuXFormat())),
    CALL(d->SaveToStream(t.out, " ", BZuXFormat())), CALL(d->SaveToFile(t.path, " ", BZuXFormat(), "UTF-16")),
    CALL(d->SelectNodes(set, t.query)), CALL(d->SelectNode(item, "//c")), CALL(d->SelectNode(item, t.query)),
    CALL(d->EvaluateXPath(x, "count(//c)")), CALL(d->EvaluateXPath(b, "//c")), CALL(d->EvaluateXPath(s, t.query)),
    CALL(r.SelectNodes(set, t.query)), CALL(r.SelectNode(item, "c")), CALL(r.EvaluateXPath(x, "1 div 3")),
    CALL(text.SetValue("v")), CALL(r.SetName("q")), CALL(r.SaveAsString(s, " ", BZuXFormat())),
    CALL(r.SaveToStream(t.out, " ", BZuXFormat())), CALL(r.GetAttributeAsIso8601("a", ts)),
    CALL(r.SetAttributeIso8601("a", ts)), CALL(r.ParseAttribute("a", ts)), CALL(fr.GetSourcePosition(ln, cl)),
    CALL(fa.GetSourcePosition(ln, cl)), CALL(fr.ParseAttribute("n", i)), CALL(context.SetVariable("v", "x")),
    CALL(context.SetVariable("v", 0.5)), CALL(context.BindNamespace("p", "urn:p")), CALL(query.Compile("//c")),
    CALL(query.Compile("//c[@a = $v]", t.context))
};
// clang-format on

// Every allocation of one call is refused in turn, alone and with all after it, in operator new
// and in pugixml: the call returns its own result or 14 (a save to a file or a stream: 774), with
// the records it could make, and never throws.
TEST(OutOfMemoryTest, CallsReturningResultsNeverThrow) {
    for (const auto& call : kCalls) {
        SCOPED_TRACE(call.first);
        Tree unfailed;
        const unsigned int own = call.second(unfailed).GetWin32Code();
        for (const Allocator which : {Allocator::OperatorNew, Allocator::Pugixml})
            for (const long refusals : {1L, -1L})
                for (long allowed = 0, refused = 1; refused > 0; ++allowed) {
                    Tree tree;
                    CZuError result;
                    bool threw = false;
                    {
                        ScopedAllocationFailure fail(which, allowed, refusals);
                        try {
                            result = call.second(tree);
                        } catch (const std::bad_alloc&) {
                            threw = true;
                        }
                        refused = fail.Refused();
                    }
                    EXPECT_FALSE(threw) << "after " << allowed;
                    const unsigned int code = result.GetWin32Code();
                    EXPECT_TRUE(code == own || code == 14 || (code == 774 && std::strstr(call.first, "SaveTo")))
                        << code << " after " << allowed;
                    EXPECT_TRUE(refused > 0 || (own != 0) == !result.GetRecords().empty());
                }
    }
}

} // namespace
