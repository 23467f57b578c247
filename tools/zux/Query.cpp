// zux query: what an XPath expression, or a slash path, selects in each file.
#include "Tool.h"

#include <cerrno>
#include <cstring>

namespace zux {

namespace {

// Writes the matches, one line each.
class MatchWriter {
public:
    MatchWriter(bool positions, bool severalFiles) : m_positions(positions), m_severalFiles(severalFiles) {
        m_stringValue.Compile("string(.)");
    }

    // A node: its path and its string value.
    CZuError Node(const std::string& file, const CZuXNode& node) {
        std::string value;
        CZuError evaluated = node.EvaluateXPath(value, m_stringValue);
        if (evaluated.IsError()) return evaluated;
        Start(file, node);
        Write(PathOf(node), value);
        return evaluated;
    }

    // An attribute: its element's path and @name, and its value.
    void Attribute(const std::string& file, const CZuXAttribute& attribute, const CZuXNode& owner) {
        Start(file, attribute);
        Write(PathOf(attribute, owner), attribute.AsString());
    }

    // The value of an expression that gives no node set.
    void Value(const std::string& file, const std::string& value) {
        if (m_severalFiles) std::fprintf(stdout, "%s:", file.c_str());
        WriteOneLine(stdout, value);
        std::fputc('\n', stdout);
    }

private:
    // "FILE:LINE:COLUMN:", with 0:0 where the library knows no place (the document node), so that
    // every line has the same fields; "FILE:" alone without positions, for several files.
    template <class Item>
    void Start(const std::string& file, const Item& item) {
        if (!m_positions && !m_severalFiles) return;
        const std::string place = m_positions ? Place(file, item) : file;
        std::fprintf(stdout, "%s%s:", place.empty() ? file.c_str() : place.c_str(), place.empty() ? ":0:0" : "");
    }

    static void Write(const std::string& path, const std::string& value) {
        std::fwrite(path.data(), 1, path.size(), stdout);
        std::fputc('\t', stdout);
        WriteOneLine(stdout, value);
        std::fputc('\n', stdout);
    }

    bool m_positions;
    bool m_severalFiles;
    CZuXPathQuery m_stringValue;
};

// Whether a value that is not a node set counts as a match: true as XPath's boolean() reads it.
// Its string tells, but for the texts that a number, a boolean and a string read differently.
bool IsTrue(CZuXDocument& document, const CZuXPathQuery& query, const std::string& value) {
    if (value != "0" && value != "-0" && value != "NaN" && value != "false") return !value.empty();
    bool truth = false;
    document.EvaluateXPath(truth, query);
    return truth;
}

int SelectXPath(CZuXDocument& document, const std::string& file, const CZuXPathQuery& query, MatchWriter& matches) {
    CZuXPathNodeSetPtr selected;
    const CZuError queried = document.SelectNodes(selected, query);
    // The query compiled, so a refusal here says that it gives no node set.
    if (queried.GetWin32Code() == ZuWin32::ErrorsEncountered) {
        std::string value;
        const CZuError evaluated = document.EvaluateXPath(value, query);
        if (evaluated.IsError()) return Report(file, evaluated);
        matches.Value(file, value);
        return IsTrue(document, query, value) ? kFound : kNothing;
    }
    if (queried.IsError()) return Report(file, queried);
    for (const CZuXPathNodePtr& item : *selected) {
        const CZuXNode node(item->NodePrivate());
        if (!node.Exists()) {
            matches.Attribute(file, CZuXAttribute(item->AttributePrivate()), CZuXNode(item->ParentPrivate()));
            continue;
        }
        const CZuError written = matches.Node(file, node);
        if (written.IsError()) return Report(file, written);
    }
    return selected->Size() > 0 ? kFound : kNothing;
}

int SelectPath(CZuXDocument& document, const std::string& file, const std::string& path, MatchWriter& matches) {
    CZuXNodePrivatePtr found;
    const CZuError queried = document.QueryPrivate(found, path);
    if (queried.IsError()) return Report(file, queried);
    const CZuXNode node(found);
    if (!node.Exists()) return kNothing;
    const CZuError written = matches.Node(file, node);
    return written.IsError() ? Report(file, written) : kFound;
}

} // namespace

int RunQuery(const Command& command, const Arguments& arguments) {
    const std::vector<std::string>& operands = arguments.operands;
    if (operands.size() < 2) return UsageError(command, "EXPR and at least one FILE are needed");
    const bool slashPath = arguments.Has("--path");
    if (slashPath && (arguments.Has("--ns") || arguments.Has("--var")))
        return UsageError(command, "a slash path takes neither --ns nor --var");
    CZuXPathContext context;
    if (BuildContext(command, arguments, context) != kFound) return kTrouble;
    // Compiled before any file is read: an expression that cannot run is reported once.
    CZuXPathQuery query;
    if (!slashPath) {
        const CZuError compiled = query.Compile(operands[0], context);
        if (compiled.IsError()) return Report("", compiled);
    }

    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    MatchWriter matches(!arguments.Has("--no-position"), operands.size() > 2);
    bool found = false;
    bool trouble = false;
    for (std::size_t i = 1; i < operands.size(); ++i) {
        CZuXDocument document;
        const Loaded loaded = Load(document, operands[i], kAllButBlankText);
        const int status = !loaded.Ok() ? Report(loaded)
                           : slashPath  ? SelectPath(document, operands[i], operands[0], matches)
                                        : SelectXPath(document, operands[i], query, matches);
        found = found || status == kFound;
        trouble = trouble || status == kTrouble;
    }
    if (std::fflush(stdout) != 0) trouble = Report("standard output", std::strerror(errno)) == kTrouble;
    return trouble ? kTrouble : found ? kFound : kNothing;
}

} // namespace zux
