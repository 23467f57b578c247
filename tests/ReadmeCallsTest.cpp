// The calls the README showed before the handle forms, range-for and the node operations were
// added, copied unchanged: they must still compile and do what they did. Only the placeholders
// of the snippets (`...`, `name`, `path`) are filled in.
#include "TestSupport.h"

#include <ZuX/ZuX.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// The guided tour, as it stood: main() became Tour(), run in a directory holding catalog.xml.
// clang-format off
int Tour() {
    CZuXDocument document;
    CZuError result = document.LoadFromFile("catalog.xml");
    if (result.IsError()) {
        std::fprintf(stderr, "%s\n", result.AsString().c_str());
        return 1;
    }

    // Operations that hand out items return body pointers; a handle is built from one.
    CZuXNode catalog(document.GetNode("catalog"));          // a top-level element by name
    int version = catalog.AttributeAsINT("version", 0);      // typed read with a default
    std::printf("catalog version %d\n", version);

    // Walk all <book> elements of the first <shelf>.
    CZuXNode shelf(catalog.GetNode("shelf"));
    for (CZuXNode book(shelf.GetNode("book")); book.Exists(); book.MoveNext()) {
        double price = 0;
        if (book.GetAttributeAsDOUBLE("price", price).IsError())
            continue;                                          // 1168: no such attribute
        std::string title;
        CZuXNode(book.GetNode("title")).GetText(title);
        std::printf("%s costs %.2f\n", title.c_str(), price);
    }

    // Walk every child of any kind; text and comment nodes have an empty name.
    for (CZuXNode child(catalog.GetFirstNode()); child.Exists(); child.MoveNextSibling()) { /* ... */ }

    // Write: attributes are created when missing, replaced in place otherwise.
    catalog.SetAttributeTimeStamp("checked", CTimeStamp::FromUnixTime(1733573400));
    CZuXNode added(shelf.AppendNode("book"));
    added.SetAttributeINT("id", 103);
    CZuXNode(added.AppendNode("title")).SetText("Walden");

    // Queries: XPath 1.0, or a plain slash path.
    CZuXPathNodeSetPtr books;
    if (!document.SelectNodes(books, "/catalog/shelf/book[@year < 1900]").IsError())
        for (unsigned long i = 0; i < books->Size(); ++i) {
            CZuXNode book(books->Node(i)->NodePrivate());
            std::printf("%s\n", book.AttributeAsString("id").c_str());
        }
    CZuXNodePrivatePtr found;
    document.QueryPrivate(found, "catalog/shelf/book/title");

    // Save: to a string on one line, or to a file indented with one tab per level.
    std::string text;
    document.SaveAsString(text);
    result = document.SaveToFile("catalog.out.xml");
    return result.IsError() ? 1 : 0;
}
// clang-format on

TEST(ReadmeCallsTest, TheTourRunsUnchanged) {
    zuxtest::TempDir dir;
    zuxtest::WriteFile(dir.File("catalog.xml"),
                       "<catalog version=\"2\"><shelf>"
                       "<book id=\"101\" year=\"1851\" price=\"9.5\"><title>Moby-Dick</title></book>"
                       "<book id=\"102\" year=\"1960\"><title>No price</title></book>"
                       "</shelf></catalog>");
    const std::string before = std::filesystem::current_path();
    ASSERT_EQ(0, chdir(dir.File("").c_str()));
    const int status = Tour();
    ASSERT_EQ(0, chdir(before.c_str()));
    EXPECT_EQ(0, status);
    CZuXDocument saved;
    ASSERT_FALSE(saved.LoadFromFile(dir.File("catalog.out.xml")).IsError());
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(saved.SelectNodes(set, "/catalog[@checked]/shelf/book[@id = 103]/title[. = 'Walden']").IsError());
    EXPECT_EQ(1u, set->Size());
}

TEST(ReadmeCallsTest, TheOtherSnippetsCompileUnchanged) {
    // Reading errors.
    // clang-format off
    {
        CZuXDocument document;
        CZuError error = document.LoadFromFile("/missing.xml");
        error.IsError();          // true
        error.GetWin32Code();     // 2, that is ZuWin32::FileNotFound
        error.GetCode();          // 0x80070002: HRESULT_FROM_WIN32(2), negative as an int
        for (const CZuErrorRecord& record : error.GetRecords()) {     // oldest first
            record.GetLocation().GetFile();       // "ZuXDocumentPrivate.cpp", then "ZuXDocument.cpp"
            record.GetLocation().GetFunction();   // "CZuError CZuXDocument::LoadFromFile(const string&)"
            record.GetLocation().GetLine();       // the source line, which changes with the sources
            record.GetMessage();                  // "Description=[File was not found]", then "FileName=[/missing.xml]"
        }
        std::puts(error.AsString().c_str());
        EXPECT_EQ(ZuWin32::FileNotFound, error.GetWin32Code());
    }
    // clang-format on
    // Loading and saving.
    {
        const std::string path = zuxtest::DataDir() + "/missing.xml";
        std::unique_ptr<CZuXDocument> document = std::make_unique<CZuXDocument>();
        // Keep the old tree unless the new one loads:
        auto fresh = std::make_unique<CZuXDocument>();
        if (!fresh->LoadFromFile(path).IsError()) document = std::move(fresh);
        // Or start afresh after a failure:
        if (document->LoadFromFile(path).IsError()) document->LoadFromString(""); // 4306; the tree is empty
        EXPECT_EQ("", zuxtest::Text(*document));
    }
    // The calls named in the text and the tables.
    auto document = zuxtest::Parse("<r id=\"1\"><a/></r>");
    CZuXNode node(document->GetNode("r"));
    CZuXAttribute attribute(node.GetFirstAttribute());
    const char* name = "id";
    int v = 0;
    std::string text;
    document->SaveAsString(text, BZuXFormat(BZuXFormat::Raw | BZuXFormat::NoDeclaration));
    EXPECT_EQ("Indent|Raw|0x100", BZuXFormat::AsString(BZuXFormat::Indent | BZuXFormat::Raw | 0x100));
    EXPECT_EQ(1, node.AttributeAsINT(name, 7));
    EXPECT_EQ(1, attribute.AsINT(7));
    EXPECT_FALSE(node.GetAttributeAsINT(name, v).IsError());
    EXPECT_FALSE(attribute.GetAsINT(v).IsError());
    EXPECT_FALSE(node.SetAttributeINT(name, 5).IsError());
    EXPECT_FALSE(attribute.SetINT(5).IsError());
    EXPECT_TRUE(node.SetAttributeString("nickname=\"x\" role", "admin").IsError());
    EXPECT_TRUE(node.SetAttributeINT("max size", 5).IsError());
    EXPECT_TRUE(document->SaveToFile(std::string("victim.xml\0.new", 15)).IsError());
    EXPECT_TRUE(CTimeStamp::FromUnixTime(9223372036854775807).IsFilled());
    EXPECT_EQ("/r", node.Path());
    CZuXPathNodeSetPtr set;
    ASSERT_FALSE(document->SelectNodes(set, "//@id").IsError());
    EXPECT_EQ(5, CZuXAttribute(set->Node(0)->AttributePrivate()).AsINT(0));
    EXPECT_EQ("r", CZuXNode(set->Node(0)->ParentPrivate()).Name());
    EXPECT_EQ("<r id=\"1\"><a/></r>", text);
    EXPECT_EQ("<r id=\"5\"><a/></r>", zuxtest::Text(*document));
}

} // namespace
