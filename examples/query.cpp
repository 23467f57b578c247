// zux-query: prints what an XPath expression (or a slash path) selects in an XML file.
//
//   zux-query [OPTION]... FILE EXPR  one line per selected item: its path, a tab, its text or
//                                    value; for an expression that gives no node set
//                                    (count(//book), sum(//@price), string(/a/@b)), its value
//   zux-query --path FILE PATH       the first element at the end of a slash path such as a/b/c
//
// Options of XPath queries, each as often as needed:
//   --var NAME=VALUE   $NAME in EXPR reads VALUE, a string, which never changes what EXPR means
//                      (quotes and brackets in it are only compared): --var "who=O'Reilly"
//   --ns PREFIX=URI    PREFIX:name in EXPR selects names of the namespace URI, whatever prefix the
//                      file gives it (its default namespace included); once one is bound, every
//                      prefix in EXPR must be
//
// A file that does not parse is reported as FILE:LINE:COLUMN: description, as compilers do.
// Exit status: 0 when the query ran (also when it selected nothing), 1 when loading or the query
// failed (the error is printed on stderr), 2 for a wrong command line.
#include <ZuX/ZuX.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int Usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--var NAME=VALUE]... [--ns PREFIX=URI]... FILE XPATH\n"
                 "       %s --path FILE SLASH-PATH\n"
                 "Prints one line per selected item: its path from the root, a tab, and its text\n"
                 "(elements) or value (attributes). $NAME in XPATH reads VALUE; PREFIX:name selects\n"
                 "names in the namespace URI.\n",
                 program, program);
    return 2;
}

int Fail(const CZuError& error) {
    std::fprintf(stderr, "%s\n", error.AsString().c_str());
    return 1;
}

void PrintLine(const std::string& path, const std::string& text) {
    std::fwrite(path.data(), 1, path.size(), stdout);
    std::fputc('\t', stdout);
    // Keep one item per line: line breaks inside a text are written as \n.
    for (char c : text) {
        if (c == '\n')
            std::fputs("\\n", stdout);
        else if (c != '\r')
            std::fputc(c, stdout);
    }
    std::fputc('\n', stdout);
}

void PrintNode(CZuXNode& node) {
    std::string text;
    node.GetText(text);
    PrintLine(node.Path(), text);
}

// The text of a field written as Name=[text] in a record's message; "" when it has none.
std::string Field(const std::string& message, const std::string& name) {
    const std::string opening = name + "=[";
    const std::size_t begin = message.find(opening);
    if (begin == std::string::npos) return std::string();
    const std::size_t from = begin + opening.size();
    const std::size_t end = message.rfind(']');
    return end == std::string::npos || end < from ? std::string() : message.substr(from, end - from);
}

// A load that failed on the file's content, as FILE:LINE:COLUMN: description. The parse error's
// record gives the byte offset; lines and columns (in characters) are counted from the file.
// Other failures (no file, out of memory) are printed whole.
int FailLoad(const std::string& path, const CZuError& error) {
    const std::string& message = error.GetRecords().front().GetMessage();
    const std::string offset = Field(message.substr(0, message.find("], Description=[") + 1), "Offset");
    if (error.GetWin32Code() != ZuWin32::InvalidData || offset.empty()) return Fail(error);
    std::ifstream file(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t at = std::min(static_cast<std::size_t>(std::strtoull(offset.c_str(), nullptr, 10)), text.size());
    unsigned long line = 1;
    unsigned long column = 1;
    for (std::size_t i = 0; i < at; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column; // UTF-8 continuation bytes belong to the character before them
        }
    }
    std::fprintf(stderr, "%s:%lu:%lu: %s\n", path.c_str(), line, column, Field(message, "Description").c_str());
    return 1;
}

// An expression that gives no node set: its string value.
int PrintValue(CZuXDocument& document, const CZuXPathQuery& query) {
    std::string value;
    const CZuError evaluated = document.EvaluateXPath(value, query);
    if (evaluated.IsError()) return Fail(evaluated);
    std::fwrite(value.data(), 1, value.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}

int SelectXPath(CZuXDocument& document, const CZuXPathQuery& query) {
    CZuXPathNodeSetPtr selected;
    const CZuError queried = document.SelectNodes(selected, query);
    // The query compiled, so a refusal here says that it gives no node set.
    if (queried.GetWin32Code() == ZuWin32::ErrorsEncountered) return PrintValue(document, query);
    if (queried.IsError()) return Fail(queried);
    for (unsigned long i = 0, size = selected->Size(); i < size; ++i) {
        const boost::shared_ptr<CZuXPathNode> item = selected->Node(i);
        CZuXNode node(item->NodePrivate());
        if (node.Exists()) {
            PrintNode(node);
            continue;
        }
        // An attribute item: its element's path, then @name.
        const CZuXAttribute attribute(item->AttributePrivate());
        const CZuXNode owner(item->ParentPrivate());
        PrintLine(owner.Path() + "/@" + attribute.Name(), attribute.AsString());
    }
    return 0;
}

int SelectPath(CZuXDocument& document, const std::string& path) {
    CZuXNodePrivatePtr found;
    const CZuError queried = document.QueryPrivate(found, path);
    if (queried.IsError()) return Fail(queried);
    CZuXNode node(found);
    if (node.Exists()) PrintNode(node);
    return 0;
}

// Takes the options --var NAME=VALUE and --ns PREFIX=URI from the front of `arguments` into
// `context`, counting them in `options`. Gives 0, or 2 for a wrong command line after printing
// why: the usage for an option without its NAME=VALUE, the context's refusal of a name, prefix or
// URI.
int TakeOptions(std::vector<std::string>& arguments, CZuXPathContext& context, int& options, const char* program) {
    while (!arguments.empty() && (arguments[0] == "--var" || arguments[0] == "--ns")) {
        const std::size_t equals = arguments.size() < 2 ? std::string::npos : arguments[1].find('=');
        if (equals == std::string::npos) return Usage(program);
        const std::string name = arguments[1].substr(0, equals);
        const std::string value = arguments[1].substr(equals + 1);
        const CZuError taken =
            arguments[0] == "--var" ? context.SetVariable(name, value) : context.BindNamespace(name, value);
        if (taken.IsError()) {
            Fail(taken);
            return 2;
        }
        arguments.erase(arguments.begin(), arguments.begin() + 2);
        ++options;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const CCommandLineArguments command(argc, argv);
    std::vector<std::string> arguments(command.GetArguments().begin() + (argc > 0 ? 1 : 0),
                                       command.GetArguments().end());
    const char* program = argc > 0 ? argv[0] : "zux-query";
    CZuXPathContext context;
    int options = 0;
    int status = TakeOptions(arguments, context, options, program);
    if (status != 0) return status;
    const bool slashPath = !arguments.empty() && arguments.front() == "--path";
    if (slashPath) arguments.erase(arguments.begin());
    if (arguments.size() != 2 || (!arguments[0].empty() && arguments[0][0] == '-' && arguments[0] != "-") ||
        (slashPath && options > 0))
        return Usage(program);
    // Compiled before the file is read: a query that cannot run is reported without loading.
    CZuXPathQuery query;
    if (!slashPath) {
        const CZuError compiled = query.Compile(arguments[1], context);
        if (compiled.IsError()) return Fail(compiled);
    }

    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);

    CZuXDocument document;
    const CZuError loaded = document.LoadFromFile(arguments[0]);
    if (loaded.IsError()) return FailLoad(arguments[0], loaded);
    status = slashPath ? SelectPath(document, arguments[1]) : SelectXPath(document, query);
    std::fflush(stdout);
    return status;
}
