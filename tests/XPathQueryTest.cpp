#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using zuxtest::ExpectError;
using zuxtest::Parse;

const char* const kCompileWithContext = "CZuError CZuXPathQuery::Compile(const string&, const CZuXPathContext&)";

// A default namespace, a second prefix for it, a stranger's namespace, a prefix declared on its own
// element, attributes in a namespace and xml:lang.
const char* const kFeed = "<feed xmlns='urn:atom' xmlns:a='urn:atom' xmlns:x='urn:ext' xml:lang='en'>"
                          "<entry a:id='1' id='plain'><title>One</title></entry>"
                          "<a:entry xml:lang='de'><a:title>Zwei</a:title></a:entry>"
                          "<entry xmlns='urn:other'><title>Fremd</title></entry>"
                          "<x:entry x:id='3'><x:title>Three</x:title></x:entry>"
                          "<u:entry xmlns:u='urn:atom'><title>Vier</title></u:entry>"
                          "</feed>";

// Each item as name=string value, in the set's order.
std::string Items(const CZuXPathNodeSetPtr& set) {
    std::string items;
    for (const CZuXPathNodePtr& item : *set) {
        const CZuXNode node(item->NodePrivate());
        const CZuXAttribute attribute(item->AttributePrivate());
        std::string value;
        if (node.Exists()) node.EvaluateXPath(value, "string()");
        items += (items.empty() ? "" : " ") + (node.Exists() ? node.Name() : attribute.Name()) + "=" +
                 (node.Exists() ? value : attribute.AsString());
    }
    return items;
}

std::string Selected(CZuXDocument& document, const CZuXPathQuery& query) {
    CZuXPathNodeSetPtr set;
    const CZuError result = document.SelectNodes(set, query);
    return result.IsError() ? result.AsString() : Items(set);
}

TEST(XPathNamespaceTest, BoundPrefixesSelectByNamespace) {
    auto document = Parse(kFeed);
    CZuXPathContext context;
    ASSERT_FALSE(context.BindNamespace("atom", "urn:atom").IsError());
    ASSERT_FALSE(context.BindNamespace("at", "urn:atom").IsError());
    ASSERT_FALSE(context.BindNamespace("ext", "urn:ext").IsError());
    const std::pair<const char*, const char*> rows[] = {
        {"//atom:entry", "entry=One a:entry=Zwei u:entry=Vier"},
        {"//at:entry[2]", "a:entry=Zwei"},
        {"/at:feed/atom:entry/at:title", "title=One a:title=Zwei title=Vier"},
        {"//entry", "entry=One entry=Fremd"}, // without a prefix: the name as written
        {"//ext:*", "x:entry=Three x:title=Three"},
        {"//@atom:*", "a:id=1"}, // id='plain' has no prefix, so no namespace
        {"//ext:entry/@ext:id", "x:id=3"},
        {"//@xml:lang", "xml:lang=en xml:lang=de"},
        {"//atom:*[@xml:lang='de']/atom:title", "a:title=Zwei"},
        {"//ext:title[lang('en')]/ancestor::atom:feed/atom:entry[atom:title='Vier']", "u:entry=Vier"},
        {"//*[name()='a:entry' or local-name()='nothing:here']", "a:entry=Zwei"},
        {"//atom:entry[count(atom:title) = $one]", "entry=One a:entry=Zwei u:entry=Vier"},
    };
    ASSERT_FALSE(context.SetVariable("one", 1).IsError());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        CZuXPathQuery query;
        ASSERT_FALSE(query.Compile(row.first, context).IsError());
        EXPECT_EQ(row.second, Selected(*document, query));
    }

    // A prefix the context does not bind, even the document's own, selects nothing by accident.
    for (const char* prefix : {"a", "foo"}) {
        const std::string text = std::string("//") + prefix + ":entry";
        CZuXPathQuery query;
        ExpectError(query.Compile(text, context), 774, "ZuXPathQuery.cpp", kCompileWithContext,
                    "XPath query failed, Query=[" + text + "], error=Unknown namespace prefix: " + prefix);
    }
    CZuXPathQuery asWritten; // no context: prefixes are text
    ASSERT_FALSE(asWritten.Compile("//a:entry").IsError());
    EXPECT_EQ("a:entry=Zwei", Selected(*document, asWritten));
}

TEST(XPathNamespaceTest, ItemsNameTheirNamespace) {
    auto document = Parse(kFeed);
    const char* const rows[][4] = {
        {"/feed", "feed", "", "urn:atom"},
        {"//a:title", "title", "a", "urn:atom"},
        {"//entry[title='Fremd']/title", "title", "", "urn:other"},
        {"//u:entry", "entry", "u", "urn:atom"},
        {"//@a:id", "id", "a", "urn:atom"},
        {"//@id", "id", "", ""},
        {"/feed/@xml:lang", "lang", "xml", "http://www.w3.org/XML/1998/namespace"},
        {"//x:title/text()", "", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        CZuXPathNodePtr item;
        ASSERT_FALSE(document->SelectNode(item, row[0]).IsError());
        const CZuXNode node(item->NodePrivate());
        const CZuXAttribute attribute(item->AttributePrivate());
        EXPECT_EQ(row[1], attribute.Exists() ? attribute.LocalName() : node.LocalName());
        EXPECT_EQ(row[2], attribute.Exists() ? attribute.Prefix() : node.Prefix());
        EXPECT_EQ(row[3], attribute.Exists() ? attribute.NamespaceUri() : node.NamespaceUri());
    }
    const CZuXAttribute declaration(CZuXNode(document->GetNode("feed")).GetFirstAttribute());
    EXPECT_EQ("http://www.w3.org/2000/xmlns/", declaration.NamespaceUri());
}

TEST(XPathVariableTest, ValuesNeverChangeWhatIsSelected) {
    auto document = Parse("<shelf><book author=\"O'Reilly\">1</book><book author='Say \"hi\"'>2</book>"
                          "<book author='a]b'>3</book><book author='x'>4</book></shelf>");
    CZuXPathContext context;
    ASSERT_FALSE(context.SetVariable("who", "").IsError());
    CZuXPathQuery query;
    ASSERT_FALSE(query.Compile("//book[@author = $who]", context).IsError());
    const std::pair<const char*, const char*> rows[] = {
        {"O'Reilly", "book=1"}, {"Say \"hi\"", "book=2"},        {"a]b", "book=3"},
        {"x' or '1'='1", ""},   {"x'] | //book[@author='x", ""}, {"x", "book=4"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.first);
        ASSERT_FALSE(context.SetVariable("who", std::string(row.first)).IsError()) << "set after compiling";
        EXPECT_EQ(row.second, Selected(*document, query));
    }

    // A variable keeps its type; names are XML names; no value holds a NUL.
    for (const CZuError& refused :
         {context.SetVariable("who", 2.5), context.SetVariable("1who", "x"), context.SetVariable("who", nullptr),
          context.SetVariable("who", std::string("x\0y", 3)), context.BindNamespace("a:b", "urn:x"),
          context.BindNamespace("xml", "urn:x"), context.BindNamespace("p", "")})
        EXPECT_EQ(13u, refused.GetWin32Code()) << refused.AsString();
    ExpectError(query.Compile("//book[@year = $year]", context), 774, "ZuXPathQuery.cpp", kCompileWithContext,
                "XPath query failed, Query=[//book[@year = $year]], error=Unknown variable: variable set does not "
                "contain the given name");
    EXPECT_EQ("book=4", Selected(*document, query)) << "a failed compilation keeps the expression";
}

TEST(XPathQueryTest, CompiledQueriesOutliveReloadsAndWorkFromNodes) {
    CZuXDocument document;
    CZuXPathQuery query;
    ASSERT_FALSE(query.Compile("item[@n > 1]").IsError());
    const CZuXPathQuery copy = query;
    ASSERT_FALSE(document.LoadFromString("<r><item n='1'/><item n='2'/></r>").IsError());
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(CZuXNode(document.GetNode("r")).SelectNodes(set, copy).IsError());
    EXPECT_EQ(1u, set->Size());
    ASSERT_FALSE(document.LoadFromString("<r><item n='3'/><item n='4'/><item n='5'/></r>").IsError());
    EXPECT_TRUE(set->Empty()) << "the old set went with the old tree";
    ASSERT_FALSE(CZuXNode(document.GetNode("r")).SelectNodes(set, query).IsError());
    EXPECT_EQ(3u, set->Size());
    ASSERT_FALSE(query.Compile("item[1]").IsError());
    ASSERT_FALSE(document.SelectNodes(set, copy).IsError());
    EXPECT_EQ(0u, set->Size()) << "the copy keeps its expression; from the document node, no item is a child";

    CZuXPathNodePtr first;
    ASSERT_FALSE(document.SelectNode(first, "//item/@n").IsError());
    EXPECT_EQ("3", CZuXAttribute(first->AttributePrivate()).AsString()) << "an attribute, the first in order";
    ExpectError(document.SelectNode(first, "//missing"), 1168, "ZuXDocument.cpp",
                "CZuError CZuXDocument::SelectNode(CZuXPathNodePtr&, const string&)",
                "XPath query selected nothing, Query=[//missing]");
    EXPECT_FALSE(first);
    ExpectError(document.SelectNode(first, CZuXPathQuery()), 774, "ZuXDocument.cpp",
                "CZuError CZuXDocument::SelectNode(CZuXPathNodePtr&, const CZuXPathQuery&)",
                "XPath query failed, Query=[], error=No expression compiled");
    bool any = false;
    ASSERT_FALSE(document.EvaluateXPath(any, "//item[@n = 9]").IsError());
    EXPECT_FALSE(any) << "an empty node set is false";
}

} // namespace
