// zux check: which files are not well-formed XML, and where.
#include "Tool.h"

namespace zux {

int RunCheck(const Command& command, const Arguments& arguments) {
    if (arguments.operands.empty()) return UsageError(command, "at least one FILE is needed");
    int status = kFound;
    for (const std::string& file : arguments.operands) {
        CZuXDocument document;
        const Loaded loaded = Load(document, file, kAllButBlankText);
        if (loaded.Ok()) continue;
        if (!loaded.malformed) {
            status = Report(loaded);
            continue;
        }
        std::printf("%s\n", loaded.failure.c_str());
        if (status == kFound) status = kNothing;
    }
    return status;
}

} // namespace zux
