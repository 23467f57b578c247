// The arguments a program was started with.
#ifndef ZUUTILS_CCOMMANDLINEARGUMENTS_H
#define ZUUTILS_CCOMMANDLINEARGUMENTS_H

#include <ZuUtils/ZuUtilsExport.h>

#include <string>
#include <vector>

/// A copy of a program's command line, program name first.
class ZUUTILS_EXPORT CCommandLineArguments {
public:
    CCommandLineArguments() = default;
    /// Copies argv[0] to argv[argc - 1]; null entries become empty strings.
    CCommandLineArguments(int argc, const char* const* argv);

    /// All arguments, argv[0] first.
    const std::vector<std::string>& GetArguments() const { return m_arguments; }

private:
    std::vector<std::string> m_arguments;
};

#endif
