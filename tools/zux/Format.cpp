// zux format: files written indented, to standard output or in place.
#include "Tool.h"

#include <iostream>

namespace zux {

int RunFormat(const Command& command, const Arguments& arguments) {
    if (arguments.operands.empty()) return UsageError(command, "at least one FILE is needed");
    const bool inPlace = arguments.Has("--in-place");
    for (const std::string& file : arguments.operands)
        if (inPlace && file == "-") return UsageError(command, "standard input cannot be replaced");
    const std::vector<std::string> indents = arguments.Words("--indent");
    const std::string indent = indents.empty() ? "  " : indents.back();
    int status = kFound;
    for (const std::string& file : arguments.operands) {
        CZuXDocument document;
        const Loaded loaded = Load(document, file, kAllButBlankText);
        if (!loaded.Ok()) {
            status = Report(loaded);
            continue;
        }
        if (inPlace) {
            const CZuError saved = document.SaveToFile(file, indent, BZuXFormat::Indent);
            if (saved.IsError()) status = Report(file, saved);
        } else if (document.SaveToStream(std::cout, indent, BZuXFormat::Indent).IsError()) {
            return Report("standard output", "cannot be written");
        }
    }
    if (!inPlace && !std::cout.flush()) return Report("standard output", "cannot be written");
    return status;
}

} // namespace zux
