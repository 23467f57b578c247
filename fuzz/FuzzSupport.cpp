#include "FuzzSupport.h"

#include "ZuXAttributePrivate.h"
#include "ZuXNodePrivate.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace zuxfuzz {

namespace {

constexpr unsigned int kIndent = BZuXFormat::Indent;
constexpr unsigned int kRaw = BZuXFormat::Raw;

// Formats whose output must load again into the same tree. NoEscapes is saved but not reloaded:
// unescaped text need not be XML. SaveFileText makes no difference on Linux.
const unsigned int kReloadedFormats[] = {
    kRaw,
    0,
    kIndent,
    kRaw | BZuXFormat::NoDeclaration,
    kIndent | BZuXFormat::WriteBom,
    kIndent | BZuXFormat::IndentAttributes,
    kRaw | BZuXFormat::NoEmptyElementTags,
    kIndent | BZuXFormat::SaveFileText,
};

int ScratchDescriptor() {
    // A file in memory: no disk traffic per run, and nothing left behind.
    static const int fd = memfd_create("zux-fuzz", 0);
    Check(fd >= 0, "a scratch file can be made", std::strerror(errno));
    return fd;
}

CZuXNode DocumentNode(CZuXDocument& document) {
    CZuXNodePrivatePtr body;
    Check(!document.QueryPrivate(body, "").IsError(), "an empty path finds the document node");
    return CZuXNode(body);
}

// The pugixml item behind a node handle.
pugi::xml_node ItemOf(const CZuXNode& node) {
    const CZuXNodePtr copy = boost::make_shared<CZuXNode>(node);
    return copy->GetPrivate(copy)->Item();
}

// The pugixml item behind an attribute handle.
pugi::xml_attribute AttributeItemOf(const CZuXAttribute& attribute) {
    const boost::shared_ptr<CZuXAttribute> copy = boost::make_shared<CZuXAttribute>(attribute);
    return copy->GetPrivate(copy)->Item();
}

// Whether saves write the declaration as loaded: the bytes under it were kept undecoded.
bool KeepsDeclaredEncoding(const CZuXNode& node) {
    const CZuXNodePtr copy = boost::make_shared<CZuXNode>(node);
    return copy->GetPrivate(copy)->m_pDocument->m_keepsDeclaredEncoding;
}

// pugixml writes CR in text, CDATA and comments as it is, and reading makes it LF.
std::string WithoutCr(const char* value) {
    std::string text;
    for (const char* p = value; *p; ++p) {
        if (*p != '\r')
            text += *p;
        else if (p[1] != '\n')
            text += '\n';
    }
    return text;
}

void FlushText(std::string& out, std::string& run) {
    // pugixml writes white space as it is, and reading drops text that is only white space.
    if (run.find_first_not_of(" \t\n") != std::string::npos) out += "T " + run + "\n";
    run.clear();
}

// Every save writes UTF-8, and says so in a declaration that named another encoding.
bool WrittenAsUtf8(const pugi::xml_node& node, const pugi::xml_attribute& attribute) {
    if (node.type() != pugi::node_declaration || std::strcmp(attribute.name(), "encoding") != 0) return false;
    std::string value = attribute.value();
    for (char& c : value) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return value != "UTF-8";
}

// A node other than text: its kind, name, value and attributes. Comments only as such: pugixml
// writes "--" in one as "- -", and their text is not part of the interface. `asSaved`: with the
// encoding that a save writes into a declaration.
std::string Line(const pugi::xml_node& node, bool asSaved) {
    std::string line;
    switch (node.type()) {
    case pugi::node_element:
        line = "E ";
        break;
    case pugi::node_declaration:
        line = "D ";
        break;
    case pugi::node_cdata:
        line = "C ";
        break;
    case pugi::node_comment:
        line = "M ";
        break;
    default:
        line = "? ";
        break;
    }
    line += std::string(node.name()) + " ";
    if (node.type() != pugi::node_comment) line += WithoutCr(node.value());
    for (const pugi::xml_attribute& a : node.attributes())
        line += std::string(" ") + a.name() + "=[" + (asSaved && WrittenAsUtf8(node, a) ? "UTF-8" : a.value()) + "]";
    return line + "\n";
}

// One line per item, children after their parent between "(" and ")" (for every item but text,
// since children that are only white space do not come back). Adjacent text nodes (edits can
// make them) are one run, as they are once saved.
// `asLoadedFromString`: without the declaration and comments, which a load from a string drops.
// `asSaved`: declarations as a save writes them.
std::string DumpBelow(const pugi::xml_node& parent, bool asLoadedFromString = false, bool asSaved = false) {
    std::string out;
    std::string run;
    pugi::xml_node node = parent.first_child();
    while (node != parent) {
        if (!node) break; // parent without children
        const pugi::xml_node_type kind = node.type();
        if (kind == pugi::node_pcdata) {
            run += WithoutCr(node.value());
        } else if (asLoadedFromString && (kind == pugi::node_comment || kind == pugi::node_declaration)) {
            // dropped: the text on either side becomes one run
        } else {
            FlushText(out, run);
            out += Line(node, asSaved) + "(\n";
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
            out += ")\n";
        }
        // Next in document order, closing the levels that end here.
        while (node != parent && !node.next_sibling()) {
            node = node.parent();
            FlushText(out, run);
            out += ")\n";
        }
        if (node != parent) node = node.next_sibling();
    }
    FlushText(out, run);
    return out;
}

std::string DumpNode(const CZuXNode& node) {
    const pugi::xml_node item = ItemOf(node);
    return Line(item, false) + "(\n" + DumpBelow(item);
}

// --- walking and reading -------------------------------------------------------------------------

// Every typed read of one attribute, through its handle and through its element; the two must
// agree, and the element's out-parameter reads must find it.
void ReadAttribute(CZuXNode& element, CZuXAttribute& a) {
    const std::string name = a.Name();
    const char* n = name.c_str();
    // The node-level reads see the first attribute of the name; only a handle reaches an
    // attribute without a name (a parse error can leave one behind).
    const bool first = !name.empty() && AttributeItemOf(a) == ItemOf(element).attribute(n);
    Check(name.empty() || element.AttributeExists(n), "an attribute's element has it");

    bool b = false;
    double d = 0;
    int i = 0;
    unsigned int u = 0;
    long long ll = 0;
    unsigned long long ull = 0;
    std::string s;
    CTimeStamp t;
    a.GetAsBOOL(b);
    a.GetAsDOUBLE(d);
    a.GetAsINT(i);
    a.GetAsUINT(u);
    a.GetAsLONGLONG(ll);
    a.GetAsULONGLONG(ull);
    a.GetAsString(s);
    a.GetAsTimeStamp(t);
    a.GetAsTimeStampUnixTime(t);
    a.AsTimeStamp(CTimeStamp(CTimeStamp::Filled));
    a.AsTimeStampUnixTime(CTimeStamp(CTimeStamp::Filled));
    a.AsTimeStampUnixTime(CTimeStamp(-1));
    if (!first) return;

    Check(element.AttributeAsBOOL(n, !b) == a.AsBOOL(!b), "BOOL reads agree");
    const double viaNode = element.AttributeAsDOUBLE(n, 0.5);
    const double viaHandle = a.AsDOUBLE(0.5);
    Check(viaNode == viaHandle || (std::isnan(viaNode) && std::isnan(viaHandle)), "DOUBLE reads agree");
    Check(element.AttributeAsINT(n, 7) == a.AsINT(7), "INT reads agree");
    Check(element.AttributeAsUINT(n, 7) == a.AsUINT(7), "UINT reads agree");
    Check(element.AttributeAsLONGLONG(n, -7) == a.AsLONGLONG(-7), "LONGLONG reads agree");
    Check(element.AttributeAsULONGLONG(n, 7) == a.AsULONGLONG(7), "ULONGLONG reads agree");
    Check(element.AttributeAsString(n, "x") == a.AsString("x"), "String reads agree");
    Check(element.AttributeAsTimeStamp(n) == a.AsTimeStamp(), "TimeStamp reads agree");
    Check(element.AttributeAsTimeStampUnixTime(n) == a.AsTimeStampUnixTime(), "UnixTime reads agree");

    long long llOut = 1;
    Check(!element.GetAttributeAsLONGLONG(n, llOut).IsError() && llOut == ll, "out-parameter read finds it");
    std::string sOut;
    Check(!element.GetAttributeAsString(n, sOut).IsError() && sOut == s, "string read finds it");
    CTimeStamp tOut;
    Check(!element.GetAttributeAsTimeStampUnixTime(n, tOut).IsError(), "time-stamp read finds it");
}

// The children of `parent` the same forward and backward; MoveNext visits those of one name.
void CheckSiblingMoves(CZuXNode& parent) {
    std::vector<std::string> forward;
    CZuXNode last;
    for (CZuXNode child(parent.GetFirstNode()); child.Exists(); child.MoveNextSibling()) {
        forward.push_back(child.Name());
        last = child;
    }
    std::vector<std::string> backward;
    for (CZuXNode child(last); child.Exists(); child.MovePreviousSibling()) backward.push_back(child.Name());
    Check(std::vector<std::string>(forward.rbegin(), forward.rend()) == backward, "sibling moves agree");

    CZuXNode named(parent.GetFirstNode());
    while (named.Exists() && named.Name().empty()) named.MoveNextSibling();
    if (!named.Exists()) return;
    const std::string name = named.Name();
    std::size_t count = 0;
    for (; named.Exists(); named.MoveNext()) {
        Check(named.Name() == name, "MoveNext keeps the name");
        ++count;
    }
    std::size_t expected = 0;
    for (const std::string& n : forward) expected += n == name;
    Check(count == expected, "MoveNext visits every sibling of the name");
}

void CheckAttributeMoves(CZuXNode& element) {
    std::vector<std::string> forward;
    CZuXAttribute last;
    for (CZuXAttribute a(element.GetFirstAttribute()); a.Exists(); a.MoveNext()) {
        forward.push_back(a.Name());
        last = a;
    }
    std::vector<std::string> backward;
    for (CZuXAttribute a(last); a.Exists(); a.MovePrevious()) backward.push_back(a.Name());
    Check(std::vector<std::string>(forward.rbegin(), forward.rend()) == backward, "attribute moves agree");
}

// Visits every node below the document node, depth first, with `visit(node)`.
template <class Visit>
void Walk(CZuXDocument& document, Visit visit) {
    std::vector<CZuXNode> levels;
    CZuXNode top = DocumentNode(document);
    levels.emplace_back(top.GetFirstNode());
    while (!levels.empty()) {
        CZuXNode& node = levels.back();
        if (!node.Exists()) {
            levels.pop_back();
            if (!levels.empty()) levels.back().MoveNextSibling();
            continue;
        }
        visit(node);
        const CZuXNodePrivatePtr first = node.GetFirstNode();
        levels.emplace_back(first);
    }
}

void ReadEverything(CZuXDocument& document) {
    CZuXNode top = DocumentNode(document);
    CheckSiblingMoves(top);
    Walk(document, [](CZuXNode& node) {
        std::string text;
        node.GetText(text);
        CheckSiblingMoves(node);
        CheckAttributeMoves(node);
        for (CZuXAttribute a(node.GetFirstAttribute()); a.Exists(); a.MoveNext()) ReadAttribute(node, a);
        // Parsing never makes a name with a space in it.
        Check(!node.AttributeExists("zux none") && node.AttributeAsINT("zux none", 3) == 3, "missing attribute");
        Check(!CZuXNode(node.GetNode("zux none")).Exists(), "missing child");
    });
}

// --- writing -------------------------------------------------------------------------------------

// Writes typed values taken from the element's own attributes and text, and reads them back.
void WriteAndReadBack(CZuXNode& element) {
    const pugi::xml_node_type kind = ItemOf(element).type();
    if (kind == pugi::node_declaration) return; // leave it as it was read
    const bool takes = kind == pugi::node_element;
    CZuXAttribute source(element.GetFirstAttribute());
    const long long ll = source.AsLONGLONG(-1);
    const double d = source.AsDOUBLE(2.5);
    const std::string s = source.AsString("zux");

    const CZuError written = element.SetAttributeLONGLONG("zux-ll", ll);
    if (!takes) {
        Check(written.IsError(), "nodes without attributes refuse writes");
        return;
    }
    Check(!written.IsError(), "elements take attribute writes", written.AsString());
    long long llBack = 0;
    Check(!element.GetAttributeAsLONGLONG("zux-ll", llBack).IsError() && llBack == ll, "LONGLONG reads back");
    element.SetAttributeULONGLONG("zux-ull", static_cast<unsigned long long>(ll));
    Check(element.AttributeAsULONGLONG("zux-ull", 0) == static_cast<unsigned long long>(ll), "ULONGLONG reads back");
    element.SetAttributeINT("zux-i", static_cast<int>(ll));
    Check(element.AttributeAsINT("zux-i", 0) == static_cast<int>(ll), "INT reads back");
    element.SetAttributeUINT("zux-u", static_cast<unsigned int>(ll));
    Check(element.AttributeAsUINT("zux-u", 0) == static_cast<unsigned int>(ll), "UINT reads back");
    element.SetAttributeBOOL("zux-b", ll % 2 != 0);
    Check(element.AttributeAsBOOL("zux-b", ll % 2 == 0) == (ll % 2 != 0), "BOOL reads back");
    element.SetAttributeDOUBLE("zux-d", d);
    const double dBack = element.AttributeAsDOUBLE("zux-d", 0);
    Check(dBack == d || (std::isnan(d) && std::isnan(dBack)), "DOUBLE reads back");
    element.SetAttributeString("zux-s", s);
    Check(element.AttributeAsString("zux-s") == s, "String reads back", s);
    const CTimeStamp stamp(ll);
    element.SetAttributeTimeStamp("zux-t", stamp);
    Check(element.AttributeAsTimeStamp("zux-t") == stamp, "TimeStamp reads back");
    element.SetAttributeTimeStampUnixTime("zux-ut", stamp);
    Check(element.AttributeAsTimeStampUnixTime("zux-ut") == CTimeStamp::FromUnixTime(stamp.AsUnixTime()),
          "UnixTime reads back at whole seconds");

    // A name from the input is stored when it is an XML name and refused otherwise; the round
    // trips that follow show that no stored name turns into markup.
    const CZuError named = element.SetAttributeString(s.c_str(), "zux");
    Check(named.IsError() ? named.GetWin32Code() == 1168 : element.AttributeAsString(s.c_str()) == "zux",
          "a name from the input is stored or refused", s);

    // Through an attribute handle: the text, then a typed value over it.
    CZuXAttribute handle(element.GetFirstAttribute());
    const std::string text = s + "\t<&>\"'";
    Check(!handle.SetText(text).IsError(), "attribute takes text");
    std::string textBack;
    handle.GetText(textBack);
    Check(textBack == text, "attribute text reads back");
    handle.SetULONGLONG(static_cast<unsigned long long>(ll));
    Check(handle.AsULONGLONG(0) == static_cast<unsigned long long>(ll), "handle ULONGLONG reads back");

    std::string own;
    element.GetText(own);
    const std::string newText = own + s;
    Check(!element.SetText(newText).IsError(), "elements take text");
    std::string ownBack;
    element.GetText(ownBack);
    Check(ownBack == newText, "element text reads back");
}

// Deep copies in every position, each equal to its source; then removals that take every
// addition back, so that the tree is what it was.
void CopyAndRemove(CZuXDocument& document, CZuXNode& root) {
    const std::string before = Dump(document);
    const CZuXNodePrivatePtr copiesBody = document.AppendNode("zux-copies");
    CZuXNode copies(copiesBody);
    Check(copies.Exists(), "a second top-level element can be added");
    const CZuXNodePtr rootPtr = boost::make_shared<CZuXNode>(root);
    Check(!copies.AppendNodeCopy(rootPtr).IsError(), "the root is copied");
    CZuXNode copy(copies.GetFirstNode());
    Check(DumpNode(copy) == DumpNode(root), "a copy equals its source");

    const CZuXNodePtr copyPtr = boost::make_shared<CZuXNode>(copy);
    Check(!copies.PrependNodeCopy(copyPtr).IsError(), "copy of a copy, first");
    Check(!copies.InsertNodeCopyAfter(copyPtr, copyPtr).IsError(), "copy after the copy");
    Check(!copies.InsertNodeCopyBefore(copyPtr, copyPtr).IsError(), "copy before the copy");
    CZuXNode documentNode = DocumentNode(document);
    Check(copies.AppendNodeCopy(boost::make_shared<CZuXNode>(documentNode)).IsError(), "documents are not copied");
    Check(copy.InsertNodeCopyAfter(copyPtr, copyPtr).IsError(), "the reference must be a child");

    std::size_t children = 0;
    for (CZuXNode c(copies.GetFirstNode()); c.Exists(); c.MoveNextSibling()) {
        Check(DumpNode(c) == DumpNode(root), "every copy equals the root");
        ++children;
    }
    Check(children == 4, "four copies");

    // One removal of each kind.
    Check(!copies.RemoveNode(root.Name()).IsError(), "remove by name");
    CZuXNode second(copies.GetFirstNode());
    Check(!second.RemoveFromParent().IsError(), "remove from parent");
    const CZuXNodePtr third = boost::make_shared<CZuXNode>(copies.GetFirstNode());
    Check(!copies.RemoveNode(third).IsError(), "remove a child handle");
    CZuXNode fourth(copies.GetFirstNode());
    Check(!copies.RemoveNode(fourth.GetPrivate(boost::make_shared<CZuXNode>(fourth))).IsError(), "remove a body");
    Check(copies.RemoveNode(std::string("zux-none")).IsError(), "nothing to remove");
    Check(!CZuXNode(copies.GetFirstNode()).Exists(), "all copies removed");
    Check(!document.RemoveNode(copiesBody).IsError(), "remove the top-level element");
    Check(Dump(document) == before, "the tree is as before", before);
}

void RemoveAttributesAdded(CZuXDocument& document) {
    Walk(document, [](CZuXNode& node) {
        for (const char* name : {"zux-ll", "zux-ull", "zux-i", "zux-u", "zux-b", "zux-d", "zux-s", "zux-t", "zux-ut"})
            if (node.AttributeExists(name)) Check(!node.RemoveAttribute(name).IsError(), "remove an attribute");
    });
}

// --- saving and reloading ------------------------------------------------------------------------

enum class Load { String, File };

CZuError LoadAs(CZuXDocument& document, Load how, const std::string& text) {
    return how == Load::String ? document.LoadFromString(text) : document.LoadFromFile(ScratchFile(text));
}

// --- handles on removed and reloaded trees -------------------------------------------------------

// Whether `node` is an element or lies below one: what removing every element takes away.
bool InElement(pugi::xml_node node) {
    for (; node; node = node.parent())
        if (node.type() == pugi::node_element) return true;
    return false;
}

// A handle on a removed item must act as an empty one.
void CheckGone(CZuXNode& node) {
    Check(!node.Exists() && node.Name().empty() && node.Path().empty(), "a removed node is gone");
    Check(node.AttributeAsINT("id", 7) == 7 && !CZuXNode(node.GetFirstNode()).Exists() &&
              !CZuXAttribute(node.GetFirstAttribute()).Exists(),
          "a removed node reads nothing");
    Check(node.SetAttributeINT("id", 1).GetWin32Code() == 1168 && node.SetText("t").GetWin32Code() == 1168 &&
              node.RemoveFromParent().GetWin32Code() == 1168,
          "a removed node takes no writes");
}

// Takes handles on the first nodes and attributes and on every element as XPath items, removes
// every element item by item (an item below one removed before fails as an empty handle does),
// makes new elements where the old ones were, and loads the input again: every handle on what
// went must act as an empty one, and the others must keep working until the load.
void RemoveAndReload(CZuXDocument& document, Load how, const std::string& input) {
    std::vector<CZuXNode> nodes;
    std::vector<bool> staying;
    std::vector<CZuXAttribute> attributes; // on elements
    Walk(document, [&](CZuXNode& node) {
        if (nodes.size() >= 64) return;
        nodes.push_back(node);
        staying.push_back(!InElement(ItemOf(node)));
        CZuXAttribute first(node.GetFirstAttribute());
        if (first.Exists() && !staying.back()) attributes.push_back(first);
    });
    CZuXPathNodeSetPtr elements;
    Check(!document.SelectNodes(elements, "//*").IsError(), "every element can be selected");
    const unsigned long count = elements->Size();

    // In document order, an item whose ancestor comes before it goes with that ancestor: its own
    // removal must then fail as on an empty handle.
    std::vector<const void*> earlier;
    std::vector<unsigned int> expected;
    for (unsigned long i = 0; i < count; ++i) {
        const pugi::xml_node item = ItemOf(CZuXNode(elements->Node(i)->NodePrivate()));
        bool below = false;
        for (pugi::xml_node up = item.parent(); up && !below; up = up.parent())
            below = std::find(earlier.begin(), earlier.end(), up.internal_object()) != earlier.end();
        earlier.push_back(item.internal_object());
        expected.push_back(below ? 1168u : 0u);
    }
    for (unsigned long i = 0; i < count; ++i) {
        CZuXNode node(elements->Node(i)->NodePrivate());
        const unsigned int code = node.RemoveFromParent().GetWin32Code();
        Check(code == expected[i], "removal item by item", std::to_string(code));
        Check(!node.Exists(), "a removed item's handle is empty");
    }
    Check(elements->Size() == count, "a set keeps its size");

    // New elements may take the freed memory: the old handles must stay empty.
    for (int i = 0; i < 8; ++i) CZuXNode(document.AppendNode("zux-new")).SetAttributeINT("id", i);
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (staying[i])
            Check(nodes[i].Exists(), "a node outside every element stays");
        else
            CheckGone(nodes[i]);
    }
    for (CZuXAttribute& attribute : attributes)
        Check(!attribute.Exists() && attribute.SetINT(1).GetWin32Code() == 1168, "a removed attribute is gone");
    for (unsigned long i = 0; i < count; ++i) {
        const boost::shared_ptr<CZuXPathNode> item = elements->Node(i);
        Check(!CZuXNode(item->NodePrivate()).Exists() && !CZuXNode(item->ParentPrivate()).Exists(),
              "a removed XPath item is empty");
    }

    LoadAs(document, how, input);
    for (CZuXNode& node : nodes) CheckGone(node);
    Check(elements->Empty() && elements->Size() == 0, "a load empties the sets made before");
}

// The document `load` fills must load without error and show `expected`.
template <class LoadCall>
void CheckReload(LoadCall load, const std::string& expected, const char* how) {
    CZuXDocument again;
    const CZuError loaded = load(again);
    Check(!loaded.IsError(), "saved text loads again", std::string(how) + "\n" + loaded.AsString());
    Check(Dump(again) == expected, "the reloaded tree is the same",
          std::string(how) + "\n" + expected + "----\n" + Dump(again));
}

// pugixml writes its default declaration unless a declaration comes before the first element.
bool HasDeclaration(CZuXDocument& document) {
    for (pugi::xml_node node = ItemOf(DocumentNode(document)).first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_declaration) return true;
        if (node.type() == pugi::node_element) return false;
    }
    return false;
}

void CheckRoundTrips(CZuXDocument& document, Load how) {
    const std::string expected = Dump(document, true);
    std::string text;
    const auto fromText = [&text](CZuXDocument& again) { return again.LoadFromString(text); };
    document.SaveAsString(text);
    CheckReload(fromText, expected, "string");
    for (unsigned int bits : kReloadedFormats) {
        document.SaveAsString(text, BZuXFormat(bits));
        CheckReload(fromText, expected, "string in a format");
    }
    document.SaveAsString(text, BZuXFormat(BZuXFormat::NoEscapes | kRaw));

    if (how != Load::File) return;
    // Saved to a file and loaded from it, pugixml's default declaration becomes a node.
    const CZuXNode top = DocumentNode(document);
    const std::string kept = DumpBelow(ItemOf(top), false, !KeepsDeclaredEncoding(top));
    const std::string declared = HasDeclaration(document) ? kept : "D xml  version=[1.0]\n(\n)\n" + kept;
    const std::string& path = ScratchFile("");
    const auto fromFile = [&path](CZuXDocument& again) { return again.LoadFromFile(path); };
    Check(!document.SaveToFile(ScratchFile("")).IsError(), "file saved");
    CheckReload(fromFile, declared, "file");
    Check(!document.SaveToFile(ScratchFile(""), "  ").IsError(), "file saved with indentation");
    CheckReload(fromFile, declared, "file with indentation");
    // The formats behave in files as in strings; a few suffice to reach pugixml's file writer.
    for (unsigned int bits : {kRaw | BZuXFormat::NoDeclaration, kIndent | BZuXFormat::WriteBom}) {
        const std::string& wanted = bits & BZuXFormat::NoDeclaration ? kept : declared;
        Check(!document.SaveToFile(ScratchFile(""), BZuXFormat(bits)).IsError(), "file saved in a format");
        CheckReload(fromFile, wanted, "file in a format");
        Check(!document.SaveToFile(ScratchFile(""), " ", BZuXFormat(bits)).IsError(), "file saved in a format");
        CheckReload(fromFile, wanted, "file in a format with indentation");
    }
}

} // namespace

void Check(bool condition, const char* what, const std::string& detail) {
    if (condition) return;
    std::fprintf(stderr, "zux fuzz check failed: %s\n%s\n", what, detail.c_str());
    std::abort();
}

std::string Text(const uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

void SplitAtNul(const std::string& input, std::string& first, std::string& rest) {
    const std::size_t nul = input.find('\0');
    first = input.substr(0, nul);
    rest = nul == std::string::npos ? std::string() : input.substr(nul + 1);
}

const char* FixedDocument() {
    return "<catalog name='c' version='3'>"
           "<shelf id='1'><book id='101' price='12.5' available='true'><title>Origin</title></book>"
           "<book id='102' price='30.25'><title>Principia</title><title lang='la'>P</title></book></shelf>"
           "<shelf id='2'><book id='201'><title>Moby-Dick</title></book><book/><shelf><shelf/></shelf></shelf>"
           "<empty/>text<![CDATA[cdata]]></catalog>";
}

const std::string& ScratchFile(const std::string& content) {
    static const std::string path = "/proc/self/fd/" + std::to_string(ScratchDescriptor());
    // Emptied, and written from its start again: a save to the path writes through the descriptor.
    Check(ftruncate(ScratchDescriptor(), 0) == 0 && lseek(ScratchDescriptor(), 0, SEEK_SET) == 0,
          "the scratch file can be emptied", std::strerror(errno));
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t put =
            pwrite(ScratchDescriptor(), content.data() + done, content.size() - done, static_cast<off_t>(done));
        Check(put > 0, "the scratch file can be written", std::strerror(errno));
        done += static_cast<std::size_t>(put);
    }
    return path;
}

std::string Dump(CZuXDocument& document, bool asLoadedFromString) {
    return DumpBelow(ItemOf(DocumentNode(document)), asLoadedFromString);
}

void ExerciseDocument(const std::string& input) {
    for (Load how : {Load::String, Load::File}) {
        CZuXDocument document;
        const bool loaded = !LoadAs(document, how, input).IsError();
        // A failed load leaves what pugixml built before the error: a tree like any other.
        ReadEverything(document);
        if (loaded) CheckRoundTrips(document, how);

        CZuXNode root(DocumentNode(document).GetFirstNode());
        while (root.Exists() && ItemOf(root).type() != pugi::node_element) root.MoveNextSibling();
        if (!root.Exists()) continue;
        CopyAndRemove(document, root);
        // Writes on the first nodes only: on every node of a deep tree they would take the
        // fuzzer's time for no new paths.
        int writes = 0;
        Walk(document, [&writes](CZuXNode& node) {
            if (writes++ < 32) WriteAndReadBack(node);
        });
        ReadEverything(document);
        if (loaded) CheckRoundTrips(document, how);
        RemoveAttributesAdded(document);
        RemoveAndReload(document, how, input);
    }
}

void ExerciseXPath(CZuXDocument& document, const std::string& expression) {
    CZuXPathNodeSetPtr nodes = boost::make_shared<CZuXPathNodeSet>();
    const CZuError result = document.SelectNodes(nodes, expression);
    if (result.IsError()) {
        Check(!nodes, "a failed query leaves no set");
        Check(result.GetWin32Code() == 774, "XPath failures are 774", result.AsString());
        Check(result.GetRecords().size() == 1 &&
                  result.GetRecords()[0].GetMessage().rfind("XPath query failed, Query=[", 0) == 0,
              "XPath failures name the query", result.AsString());
        return;
    }
    Check(nodes && nodes->Empty() == (nodes->Size() == 0), "a set has a size");
    const unsigned long size = nodes->Size();
    for (unsigned long i = 0; i < size; ++i) {
        CZuXNode node(nodes->Node(i)->NodePrivate());
        std::string text;
        node.GetText(text);
        node.Name();
    }
    Check(!CZuXNode(nodes->Node(size)->NodePrivate()).Exists(), "past the end is empty");

    CZuXPathNodeSetPtr again;
    Check(!document.SelectNodes(again, expression).IsError() && again->Size() == size, "queries repeat");

    // Compiled, it selects the same; with a prefix bound, prefixed names are rewritten, and what
    // compiles must run.
    CZuXPathQuery plain, bound;
    Check(!plain.Compile(expression).IsError() && !document.SelectNodes(again, plain).IsError() &&
              again->Size() == size,
          "a compiled query selects the same");
    CZuXPathContext context;
    context.BindNamespace("p", "urn:p");
    const CZuError compiled = bound.Compile(expression, context);
    Check(!compiled.IsError() || compiled.GetWin32Code() == 774, "compile failures are 774", compiled.AsString());
    if (!compiled.IsError()) document.SelectNodes(again, bound);
}

} // namespace zuxfuzz
