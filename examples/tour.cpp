// A walk along the typical road with ZuX: load a document, look around in it, save it, and see
// what failures look like.
//
//   zux-tour [FILE [XPATH [OUTPUT-DIR]]]
//
// FILE defaults to the shipped sample.xml, XPATH to an expression for it, OUTPUT-DIR to /tmp.
#include <ZuX/ZuX.h>

#include <boost/make_shared.hpp>

#include <cstdio>
#include <string>

namespace {

void Step(const std::string& what, const CZuError& result) {
    std::printf("%-48s %s\n", what.c_str(), result.IsError() ? "FAILED" : "ok");
    if (result.IsError()) std::printf("%s\n", result.AsString().c_str());
}

void Section(const char* title) {
    std::printf("\n== %s\n", title);
}

// Prints an element's children, one level deep: names, and the text of leaf elements.
void PrintChildren(CZuXNode& parent, int depth) {
    for (CZuXNode child(parent.GetFirstNode()); child.Exists(); child.MoveNextSibling()) {
        if (child.Name().empty()) continue; // text and comments
        std::string text;
        child.GetText(text);
        std::printf("%*s<%s>%s%s\n", depth * 2, "", child.Name().c_str(), text.empty() ? "" : " ", text.c_str());
        if (depth < 3) PrintChildren(child, depth + 1);
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : ZUX_SAMPLE;
    const std::string xpath = argc > 2 ? argv[2] : "//book[@available='true']/title";
    const std::string outputDir = argc > 3 ? argv[3] : "/tmp";

    Section("Load");
    CZuXDocument document;
    const CZuError loaded = document.LoadFromFile(path);
    Step("load " + path, loaded);
    if (loaded.IsError()) return 1;

    Section("Walk the top-level elements and their children");
    for (CZuXNode top(document.GetNode("catalog")); top.Exists(); top.MoveNext()) {
        std::printf("<%s>\n", top.Name().c_str());
        PrintChildren(top, 1);
    }

    Section("Typed attributes");
    CZuXNode catalog(document.GetNode("catalog"));
    std::printf("catalog version (INT): %d\n", catalog.AttributeAsINT("version", 0));
    std::printf("catalog updated (Unix time): %lld\n", catalog.AttributeAsTimeStampUnixTime("updated").AsUnixTime());
    CZuXNode shelf(catalog.GetNode("shelf"));
    for (CZuXNode book(shelf.GetNode("book")); book.Exists(); book.MoveNext()) {
        double price = 0;
        const CZuError hasPrice = book.GetAttributeAsDOUBLE("price", price);
        std::printf("book %u: year %d, price %s%.2f, available %s\n", book.AttributeAsUINT("id", 0),
                    book.AttributeAsINT("year", 0), hasPrice.IsError() ? "(none) " : "", price,
                    book.AttributeAsBOOL("available", false) ? "yes" : "no");
    }
    std::printf("every attribute of the first shelf:");
    for (CZuXAttribute& attribute : shelf.Attributes())
        std::printf(" %s=\"%s\"", attribute.Name().c_str(), attribute.AsString().c_str());
    std::printf("\n");

    // 2024-12-07 12:10:00.5 UTC, as system time (100 ns ticks since 1601).
    const CTimeStamp checked(133780470005000000LL);
    Step("write a time stamp as system time", catalog.SetAttributeTimeStamp("checked", checked));
    Step("write the same stamp as Unix time", catalog.SetAttributeTimeStampUnixTime("checkedUnix", checked));
    std::printf("  checked=\"%s\" checkedUnix=\"%s\"\n", catalog.AttributeAsString("checked").c_str(),
                catalog.AttributeAsString("checkedUnix").c_str());
    std::printf("  read back: %s (system time), %s (Unix time keeps whole seconds)\n",
                catalog.AttributeAsTimeStamp("checked") == checked ? "same" : "different",
                catalog.AttributeAsTimeStampUnixTime("checkedUnix") == checked ? "same" : "different");
    Step("write it as ISO 8601 text", catalog.SetAttributeIso8601("checkedIso", checked));
    CTimeStamp readable;
    Step("read the ISO 8601 text back", catalog.GetAttributeAsIso8601("checkedIso", readable));
    std::printf("  checkedIso=\"%s\", read back: %s\n", catalog.AttributeAsString("checkedIso").c_str(),
                readable == checked ? "same" : "different");
    Step("read a date as ticks, strictly", catalog.ParseAttribute("checkedIso", readable));
    Step("set the shelf's price limit (DOUBLE)", shelf.SetAttributeDOUBLE("limit", 25.5));
    int missing = -1;
    Step("read a missing attribute", shelf.GetAttributeAsINT("floor", missing));

    Section("Queries");
    CZuXPathNodeSetPtr selected;
    const CZuError queried = document.SelectNodes(selected, xpath);
    Step("XPath " + xpath, queried);
    if (!queried.IsError()) {
        std::printf("  %lu item(s)\n", selected->Size());
        for (unsigned long i = 0; i < selected->Size(); ++i) {
            CZuXNode node(selected->Node(i)->NodePrivate());
            std::string text;
            node.GetText(text);
            std::printf("  [%lu] %s%s%s\n", i, node.Exists() ? node.Name().c_str() : "(attribute)",
                        text.empty() ? "" : ": ", text.c_str());
        }
    }
    CZuXNodePrivatePtr found;
    document.QueryPrivate(found, "catalog/shelf/book/author");
    CZuXNode author(found);
    std::string name;
    author.GetText(name);
    std::printf("slash path catalog/shelf/book/author: %s\n", name.c_str());
    Step("XPath count(//book), which is no node set", document.SelectNodes(selected, "count(//book)"));

    Section("Save");
    std::string text;
    Step("save as one line", document.SaveAsString(text));
    std::printf("%zu bytes, starting: %.60s...\n", text.size(), text.c_str());
    const std::string copy = outputDir + "/zux-tour-copy.xml";
    Step("save to " + copy + " (one tab per level)", document.SaveToFile(copy));
    Step("save to " + copy + ".2sp (two spaces)", document.SaveToFile(copy + ".2sp", std::string("  ")));
    Step("save to " + copy + ".latin1 in ISO-8859-1",
         document.SaveToFile(copy + ".latin1", "\t", BZuXFormat::Indent, "ISO-8859-1"));
    std::string firstBook;
    Step("save the first book alone",
         CZuXNode(shelf.GetNode("book")).SaveAsString(firstBook, "  ", BZuXFormat::Indent));
    std::printf("%s", firstBook.c_str());

    Section("Build a document from nothing");
    CZuXDocument built;
    CZuXNode order(built.AppendNode("order"));
    const CZuXNodePrivatePtr firstBody = order.AppendNode("line");
    CZuXNode first(firstBody);
    first.SetText("first line");
    CZuXNode last(order.AppendNode("line"));
    last.SetText("last line");
    CZuXNode middle(order.InsertNodeAfter("line", firstBody));
    middle.SetText("inserted line");
    CZuXNode note(order.PrependNode("note"));
    note.SetText("temporary");
    // A deep copy of the sample's first book, taken from the other document.
    CZuXNode book(CZuXNode(document.GetNode("catalog")).GetNode("shelf"));
    book = CZuXNode(book.GetNode("book"));
    Step("copy a book from the sample", order.AppendNodeCopy(boost::make_shared<CZuXNode>(book)));
    Step("remove the note", order.RemoveNode(std::string("note")));
    Step("remove it again", order.RemoveNode(std::string("note")));
    // Nodes of other kinds: a declaration first, a processing instruction and a comment before the
    // root element, and a comment inside it.
    CZuXNode declaration(built.PrependNode(CZuXNode::NodeKind::Declaration));
    Step("declare the version", declaration.SetAttributeString("version", "1.0"));
    CZuXNode style(built.InsertNodeBefore(CZuXNode::NodeKind::ProcessingInstruction, order));
    Step("name a processing instruction", style.SetName("xml-stylesheet"));
    Step("fill it", style.SetValue(R"(type="text/css" href="order.css")"));
    Step("comment the order",
         CZuXNode(built.InsertNodeBefore(CZuXNode::NodeKind::Comment, order)).SetValue(" built by the tour "));
    Step("comment inside it", CZuXNode(order.PrependNode(CZuXNode::NodeKind::Comment)).SetValue(" three lines "));
    CZuXNode refused(order.AppendNode(CZuXNode::NodeKind::Comment));
    Step("a comment holding \"--\" is refused", refused.SetValue("a--b"));
    Step("so it goes again", refused.RemoveFromParent());
    std::string built_text;
    built.SaveAsString(built_text, "  ", BZuXFormat::Indent);
    std::printf("%s", built_text.c_str());
    Step("save to " + outputDir + "/zux-tour-built.xml", built.SaveToFile(outputDir + "/zux-tour-built.xml"));

    Section("What failures report");
    CZuXDocument broken;
    Step("load text with mismatched tags", broken.LoadFromString("<catalog><shelf></catalog>"));
    Step("load a file that does not exist", broken.LoadFromFile(path + ".missing"));
    Step("save into a missing directory", document.SaveToFile("/nonexistent/zux.xml"));
    Step("remove a top-level element that is not there", document.RemoveNode(std::string("magazine")));
    return 0;
}
