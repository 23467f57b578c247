// The calls the README showed before the handle forms, range-for and the node operations were
// added, copied unchanged: they must still compile and do what they did. Only the placeholders
// of the snippets (`...`, `name`, `path`) are filled in.
#include "TestSupport.h"

#include <ZuX/ZuX.h>

#include <cstdio>
#include <fcntl.h>
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

// The calls that the manual (docs/) shows for every kind of node, loads that keep them, saves in
// other encodings, ISO 8601 attributes and walks that remove, as they stand there.
// tests/docs/ExtractSnippets.cmake compiles every code block of the README and docs/ as it stands;
// these keep checking what the calls do.
// clang-format off
TEST(ReadmeCallsTest, TheAdditionsCompileAndDoWhatTheySay) {
    zuxtest::TempDir dir;
    const std::string before = std::filesystem::current_path();
    ASSERT_EQ(0, chdir(dir.File("").c_str()));
    {
        auto loaded = zuxtest::Parse("<catalog><mirror lang=\"fr\"/><mirror lang=\"de\"><address><city>Bonn</city>"
                                     "</address></mirror><shelf><draft/><book withdrawn=\"true\"/><draft/><book/>"
                                     "</shelf></catalog>");
        CZuXDocument& document = *loaded;
        CZuXNode catalog(document.GetNode("catalog"));
        CZuXNode shelf(catalog.GetNode("shelf"));
        CZuXNode added(shelf.AppendNode("book"));
        added.SetAttributeINT("id", 103);
        added.SetAttributeString("lang", "en");
        CZuXNode(added.AppendNode("title")).SetText("Walden");
        for (CZuXAttribute& attribute : added.Attributes())       // id="103" lang="en"
            std::printf("%s=\"%s\"\n", attribute.Name().c_str(), attribute.AsString().c_str());

        // Nodes of other kinds: a comment and a processing instruction before the root element.
        CZuXNode note(document.InsertNodeBefore(CZuXNode::NodeKind::Comment, catalog));
        note.SetValue(" checked by the tour ");                   // <!-- checked by the tour -->
        CZuXNode style(document.InsertNodeBefore(CZuXNode::NodeKind::ProcessingInstruction, catalog));
        style.SetName("xml-stylesheet");                          // <?xml-stylesheet href="catalog.css"?>
        style.SetValue("href=\"catalog.css\"");

        CZuXNode mirror(catalog.FindChild("mirror", "lang", "de"));        // <mirror lang="de">
        std::string city = CZuXNode(mirror.GetNode("address")).ChildText("city");
        for (CZuXNode& top : document.Children())                         // declaration, comments, root, ...
            std::printf("%d %s\n", static_cast<int>(top.Kind()), top.Name().c_str());

        for (CZuXNode& child : shelf.Children())                // goes on after a removal
            if (child.Name() == "draft") shelf.RemoveNode(child);
        for (CZuXNode book(shelf.GetNode("book")); book.Exists();) {
            CZuXNode current(book);                             // a copy, on the same book
            book.MoveNext();                                    // step before removing
            if (current.AttributeAsBOOL("withdrawn", false)) shelf.RemoveNode(current);
        }

        document.SaveToFile("catalog-1252.xml", "\t", BZuXFormat::Indent, "windows-1252");
        CTimeStamp now = CTimeStamp::Now();
        CZuXNode node(catalog);
        node.SetAttributeIso8601("updated", now);      // updated="2026-12-07T10:28:49.1234567Z"
        CTimeStamp updated;
        CZuError read = node.GetAttributeAsIso8601("updated", updated);
        if (!read.IsError() && updated < now) { /* ... */ }

        EXPECT_EQ("Bonn", city);
        EXPECT_TRUE(!read.IsError() && updated == now);
        catalog.RemoveAttribute("updated");
        EXPECT_EQ("<!-- checked by the tour --><?xml-stylesheet href=\"catalog.css\"?><catalog><mirror lang=\"fr\"/>"
                  "<mirror lang=\"de\"><address><city>Bonn</city></address></mirror><shelf><book/>"
                  "<book id=\"103\" lang=\"en\"><title>Walden</title></book></shelf></catalog>",
                  zuxtest::Text(document));
    }
    {
        CZuXDocument document;
        CZuXNode declaration(document.AppendNode(CZuXNode::NodeKind::Declaration));
        declaration.SetAttributeString("version", "1.0");
        CZuXNode(document.AppendNode(CZuXNode::NodeKind::DocType)).SetValue("memo SYSTEM \"memo.dtd\"");
        CZuXNode memo(document.AppendNode("note"));
        memo.SetName("memo");
        CZuXNode(memo.AppendNode(CZuXNode::NodeKind::Comment)).SetValue(" draft ");
        CZuXNode render(memo.AppendNode(CZuXNode::NodeKind::ProcessingInstruction));
        render.SetName("render");
        render.SetValue("mode=\"fast\"");
        CZuXNode(memo.AppendNode(CZuXNode::NodeKind::CData)).SetValue("if (a < b && c) go();");
        std::string text;
        document.SaveAsString(text, "  ", BZuXFormat::Indent);
        EXPECT_EQ("<?xml version=\"1.0\"?>\n<!DOCTYPE memo SYSTEM \"memo.dtd\">\n<memo>\n  <!-- draft -->\n"
                  "  <?render mode=\"fast\"?><![CDATA[if (a < b && c) go();]]></memo>\n", text);
        document.SaveToFile("memo.xml", BZuXFormat::Raw);
        document.LoadFromFile("memo.xml", BZuXLoad::KeepAll);     // every kind above comes back
        document.LoadFromString(text, BZuXLoad::KeepComments | BZuXLoad::KeepProcessingInstructions);
        EXPECT_EQ("<memo><!-- draft --><?render mode=\"fast\"?><![CDATA[if (a < b && c) go();]]></memo>",
                  zuxtest::Text(document));
    }
    ASSERT_EQ(0, chdir(before.c_str()));
}

// The manual's report of a bad value by FILE:LINE:COLUMN (docs/loading-and-saving.md).
int ReportWidth(const std::string& path) {
    CZuXDocument document;
    if (document.LoadFromFile(path).IsError()) {
        unsigned long line = 0, column = 0;
        if (!document.GetLoadErrorPosition(line, column).IsError())
            std::fprintf(stderr, "%s:%lu:%lu: not well-formed\n", path.c_str(), line, column);
        return 1;
    }
    CZuXNode window(document.GetNode("window"));
    int width = 0;
    if (window.ParseAttribute("width", width).IsError())        // its second record: "Line=[12], Column=[5]"
        for (CZuXAttribute& attribute : window.Attributes()) {
            unsigned long line = 0, column = 0;
            if (attribute.Name() == "width" && !attribute.GetSourcePosition(line, column).IsError())
                std::fprintf(stderr, "%s:%lu:%lu: width must be a number\n", path.c_str(), line, column);
        }
    return 0;
}
// clang-format on

TEST(ReadmeCallsTest, PositionsReportABadValue) {
    zuxtest::TempDir dir;
    const std::string path = dir.File("config.xml");
    for (const auto& [xml, report] :
         {std::make_pair("<window\n    height=\"3\"\n\twidth=\"wide\"/>", ":3:2: width must be a number\n"),
          std::make_pair("<window>\n  <</window>", ":2:4: not well-formed\n")}) {
        zuxtest::WriteFile(path, xml);
        // What it prints to stderr goes to a file.
        std::fflush(stderr);
        const int saved = dup(2);
        const int file = open(dir.File("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_EQ(2, dup2(file, 2));
        ReportWidth(path);
        std::fflush(stderr);
        dup2(saved, 2);
        close(saved);
        close(file);
        EXPECT_EQ(path + report, zuxtest::ReadFile(dir.File("stderr")));
    }
}

} // namespace
