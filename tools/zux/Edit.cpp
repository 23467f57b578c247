// zux edit: operations on what XPath selects, applied in order, then the file written out whole,
// or not at all.
#include "Tool.h"

#include <iostream>

namespace zux {

namespace {

// One operation of the command line: its option, then its XPath and the NAME and VALUE it takes.
struct Operation {
    std::string option;
    std::vector<std::string> words;
    CZuXPathQuery query;

    std::string Text() const { return option + " " + words[0]; }
};

// What an operation selected: a node, or an attribute with the element that holds it. Both are
// empty when the item went with an element that an earlier --delete of the same set removed.
struct Item {
    CZuXNode node;
    CZuXAttribute attribute;
    CZuXNode owner;

    bool IsElement() const { return node.Kind() == CZuXNode::NodeKind::Element; }
    std::string Path() const { return node.Exists() ? PathOf(node) : PathOf(attribute, owner); }
    // Where the item starts in FILE, as "FILE:LINE:COLUMN"; FILE alone where that is not known.
    std::string Where(const std::string& file) const {
        const std::string place = node.Exists() ? Place(file, node) : Place(file, attribute);
        return place.empty() ? file : place;
    }
};

bool IsRootElement(const CZuXNode& node) {
    return node.IsElement() && CZuXNode(node.GetParent()).Kind() == CZuXNode::NodeKind::Document;
}

std::string NotAName(const std::string& name) {
    return "'" + name + "' is not a name it can take";
}

// The value of an attribute; the text of an element, text or CDATA node; the content of the rest.
std::string Set(Item& item, const std::string& value, CZuError& error) {
    if (item.attribute.Exists()) {
        error = item.attribute.SetString(value);
    } else {
        switch (item.node.Kind()) {
        case CZuXNode::NodeKind::Element:
        case CZuXNode::NodeKind::Text:
        case CZuXNode::NodeKind::CData:
            error = item.node.SetText(value);
            break;
        case CZuXNode::NodeKind::Comment:
        case CZuXNode::NodeKind::ProcessingInstruction:
        case CZuXNode::NodeKind::DocType:
            error = item.node.SetValue(value);
            break;
        default:
            return "takes no value";
        }
    }
    // 13: a comment holding "--", a processing instruction holding "?>", ...
    if (error.GetWin32Code() == ZuWin32::InvalidData) return "cannot hold '" + value + "'";
    return error.IsError() ? Describe(error) : std::string();
}

std::string Delete(Item& item, CZuError& error) {
    if (item.attribute.Exists())
        error = item.owner.RemoveAttribute(item.attribute.Name());
    else if (IsRootElement(item.node) || item.node.Kind() == CZuXNode::NodeKind::Document)
        return "the document would be left without its root element";
    else if (item.node.Exists())
        error = item.node.RemoveFromParent();
    return error.IsError() ? Describe(error) : std::string();
}

// An attribute is renamed by adding the new one (last on its element) before removing the old.
std::string Rename(Item& item, const std::string& name, CZuError& error) {
    if (item.attribute.Exists()) {
        const std::string old = item.attribute.Name();
        if (name == old) return std::string();
        if (item.owner.AttributeExists(name.c_str())) return "its element already has an attribute " + name;
        error = item.owner.SetAttributeString(name.c_str(), item.attribute.AsString());
        if (error.IsError()) return NotAName(name);
        error = item.owner.RemoveAttribute(old);
        return error.IsError() ? Describe(error) : std::string();
    }
    const CZuXNode::NodeKind kind = item.node.Kind();
    if (kind != CZuXNode::NodeKind::Element && kind != CZuXNode::NodeKind::ProcessingInstruction)
        return "has no name to change";
    error = item.node.SetName(name.c_str());
    return error.IsError() ? NotAName(name) : std::string();
}

std::string Append(Item& item, const std::string& name) {
    if (!item.IsElement()) return "is not an element";
    return CZuXNode(item.node.AppendNode(name.c_str())).Exists() ? std::string() : NotAName(name);
}

std::string SetAttribute(Item& item, const std::string& name, const std::string& value, CZuError& error) {
    if (!item.IsElement()) return "is not an element";
    error = item.node.SetAttributeString(name.c_str(), value);
    return error.IsError() ? NotAName(name) : std::string();
}

// Gives "" when done, otherwise what stopped the operation on this item.
std::string Apply(const Operation& operation, Item& item, CZuError& error) {
    const std::vector<std::string>& words = operation.words;
    if (operation.option == "--delete") return Delete(item, error);
    if (!item.node.Exists() && !item.attribute.Exists()) return std::string();
    if (operation.option == "--set") return Set(item, words[1], error);
    if (operation.option == "--rename") return Rename(item, words[1], error);
    if (operation.option == "--append") return Append(item, words[1]);
    return SetAttribute(item, words[1], words[2], error);
}

// Applies one operation to everything it selects; gives kFound or kTrouble.
int Run(CZuXDocument& document, const std::string& file, const Operation& operation, bool strict) {
    CZuXPathNodeSetPtr selected;
    const CZuError queried = document.SelectNodes(selected, operation.query);
    if (queried.IsError()) return Report(file, operation.Text() + ": " + Describe(queried), queried);
    if (strict && selected->Size() == 0) return Report(file, operation.Text() + ": selected nothing");
    for (const CZuXPathNodePtr& selection : *selected) {
        Item item{CZuXNode(selection->NodePrivate()), CZuXAttribute(selection->AttributePrivate()),
                  CZuXNode(selection->ParentPrivate())};
        CZuError error;
        // A failed operation leaves its item as it was, so that the item still tells its place.
        const std::string problem = Apply(operation, item, error);
        if (problem.empty()) continue;
        return Report(item.Where(file), operation.Text().append(": ").append(item.Path()).append(": ").append(problem),
                      error);
    }
    return kFound;
}

} // namespace

int RunEdit(const Command& command, const Arguments& arguments) {
    if (arguments.operands.size() != 1) return UsageError(command, "exactly one FILE is needed");
    const std::string& file = arguments.operands[0];
    const bool inPlace = arguments.Has("--in-place");
    if (inPlace && file == "-") return UsageError(command, "standard input cannot be replaced");
    CZuXPathContext context;
    if (BuildContext(command, arguments, context) != kFound) return kTrouble;
    // Every XPath compiles before the file is read.
    std::vector<Operation> operations;
    for (const GivenOption& option : arguments.options) {
        if (option.name == "--in-place" || option.name == "--ns" || option.name == "--strict" ||
            option.name == "--verbose")
            continue;
        operations.push_back({option.name, option.words, CZuXPathQuery()});
        const CZuError compiled = operations.back().query.Compile(option.words[0], context);
        if (compiled.IsError()) return Report("", operations.back().Text() + ": " + Describe(compiled), compiled);
    }
    if (operations.empty()) return UsageError(command, "at least one OPERATION is needed");

    // Everything the file holds is kept, and written back without indentation of its own.
    CZuXDocument document;
    const Loaded loaded = Load(document, file, BZuXLoad::KeepAll);
    if (!loaded.Ok()) return Report(loaded);
    for (const Operation& operation : operations)
        if (Run(document, file, operation, arguments.Has("--strict")) != kFound) return kTrouble;
    const BZuXFormat asRead(BZuXFormat::Raw | BZuXFormat::NoDeclaration);
    if (inPlace) {
        const CZuError saved = document.SaveToFile(file, "", asRead);
        return saved.IsError() ? Report(file, saved) : kFound;
    }
    if (document.SaveToStream(std::cout, "", asRead).IsError() || !std::cout.flush())
        return Report("standard output", "cannot be written");
    return kFound;
}

} // namespace zux
