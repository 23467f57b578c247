#include <ZuUtils/CCommandLineArguments.h>

CCommandLineArguments::CCommandLineArguments(int argc, const char* const* argv) {
    if (!argv || argc <= 0) return;
    m_arguments.reserve(static_cast<std::size_t>(argc));
    for (int i = 0; i < argc; ++i) m_arguments.emplace_back(argv[i] ? argv[i] : "");
}
