#include "Tool.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace zux {

namespace {

bool g_verbose = false;

const OptionSpec kEveryCommand[] = {{"--help", 0}, {"--verbose", 0}};

const OptionSpec* FindOption(const Command& command, const std::string& name) {
    for (const OptionSpec& option : kEveryCommand)
        if (name == option.name) return &option;
    for (const OptionSpec& option : command.options)
        if (name == option.name) return &option;
    return nullptr;
}

// The text of the field Name=[text] in a record's message; "" when it has none.
std::string Field(const std::string& message, const char* name) {
    const std::string opening = std::string(name) + "=[";
    const std::size_t begin = message.find(opening);
    const std::size_t end = message.rfind(']');
    if (begin == std::string::npos || end == std::string::npos || end < begin + opening.size()) return std::string();
    return message.substr(begin + opening.size(), end - begin - opening.size());
}

bool OnlyNamesTheFile(const std::string& message) {
    return message.compare(0, 10, "FileName=[") == 0 && message.back() == ']' &&
           message.find("], ") == std::string::npos;
}

// A path that LoadFromFile reads standard input from. pugixml asks a file for its size, which a
// pipe or a terminal cannot tell, so unless standard input is a regular file read from its start
// it is copied into a temporary file, unlinked at once and kept open while the program runs.
// Every "-" reads the same input.
std::string StandardInputPath(std::string& problem) {
    static std::string path;
    static std::string failure;
    if (!path.empty() || !failure.empty()) {
        problem = failure;
        return path;
    }
    struct stat status {};
    if (fstat(STDIN_FILENO, &status) != 0) {
        failure = problem = std::string("standard input could not be read: ") + std::strerror(errno);
        return path;
    }
    if (S_ISREG(status.st_mode) && lseek(STDIN_FILENO, 0, SEEK_CUR) == 0) return path = "/proc/self/fd/0";
    const char* directory = std::getenv("TMPDIR");
    std::string name = std::string(directory && *directory ? directory : "/tmp") + "/zux-stdin.XXXXXX";
    const int copy = mkstemp(name.data());
    const char* trouble =
        copy < 0 ? "could not be kept in a temporary file (set TMPDIR to a writable directory)" : nullptr;
    if (!trouble) unlink(name.c_str());
    char buffer[1 << 16];
    while (!trouble) {
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno != EINTR) trouble = "could not be read";
            continue;
        }
        for (ssize_t done = 0; !trouble && done < got;) {
            const ssize_t put = write(copy, buffer + done, static_cast<std::size_t>(got - done));
            if (put > 0) done += put;
            if (put <= 0 && errno != EINTR) trouble = "could not be kept in a temporary file (set TMPDIR elsewhere)";
        }
    }
    if (trouble) {
        failure = problem = std::string("standard input ") + trouble + ": " + std::strerror(errno);
        return path;
    }
    return path = "/proc/self/fd/" + std::to_string(copy);
}

} // namespace

bool Arguments::Has(const char* name) const {
    return std::any_of(options.begin(), options.end(),
                       [name](const GivenOption& option) { return option.name == name; });
}

std::vector<std::string> Arguments::Words(const char* name) const {
    std::vector<std::string> words;
    for (const GivenOption& option : options)
        if (option.name == name) words.push_back(option.words.front());
    return words;
}

bool ParseArguments(const Command& command, const std::vector<std::string>& words, Arguments& arguments) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word == "-" || word.empty() || word[0] != '-') {
            arguments.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word == "-h" ? "--help" : word.substr(0, equals);
        const OptionSpec* spec = FindOption(command, name);
        if (!spec || (equals != std::string::npos && spec->words != 1)) {
            UsageError(command, "unknown option " + word);
            return false;
        }
        GivenOption given{name, {}};
        if (equals != std::string::npos) given.words.push_back(word.substr(equals + 1));
        while (given.words.size() < static_cast<std::size_t>(spec->words) && i + 1 < words.size())
            given.words.push_back(words[++i]);
        if (given.words.size() < static_cast<std::size_t>(spec->words)) {
            UsageError(command, name + " needs " + std::to_string(spec->words) +
                                    (spec->words == 1 ? " argument" : " arguments"));
            return false;
        }
        if (name == "--verbose") SetVerbose(true);
        arguments.help = arguments.help || name == "--help";
        arguments.options.push_back(std::move(given));
    }
    return true;
}

int UsageError(const Command& command, const std::string& message) {
    const char* usage = command.usage;
    const char* synopsisEnd = std::strstr(usage, "\n\n");
    std::fprintf(stderr, "zux %s: %s\n%.*s\nTry 'zux %s --help'.\n", command.name, message.c_str(),
                 static_cast<int>(synopsisEnd ? synopsisEnd - usage : std::strlen(usage)), usage, command.name);
    return kTrouble;
}

void SetVerbose(bool verbose) {
    g_verbose = verbose;
}

int Report(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "zux: %s%s%s\n", where.c_str(), where.empty() ? "" : ": ", what.c_str());
    return kTrouble;
}

int Report(const std::string& where, const CZuError& error) {
    return Report(where, Describe(error), error);
}

int Report(const std::string& where, const std::string& what, const CZuError& error) {
    Report(where, what);
    if (g_verbose && error.IsError()) std::fprintf(stderr, "%s\n", error.AsString().c_str());
    return kTrouble;
}

std::string Describe(const CZuError& error) {
    std::string text;
    for (const CZuErrorRecord& record : error.GetRecords()) {
        const std::string& message = record.GetMessage();
        if (message.empty() || OnlyNamesTheFile(message)) continue;
        text += text.empty() ? "" : "; ";
        text += message;
    }
    if (!text.empty()) return text;
    const char* name = ZuWin32::Name(error.GetWin32Code());
    return name ? name : "error " + std::to_string(error.GetWin32Code());
}

int BuildContext(const Command& command, const Arguments& arguments, CZuXPathContext& context) {
    for (const GivenOption& option : arguments.options) {
        if (option.name != "--ns" && option.name != "--var") continue;
        const std::string& word = option.words.front();
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos)
            return UsageError(command, option.name + " takes " + (option.name == "--ns" ? "PREFIX=URI" : "NAME=VALUE") +
                                           ", not " + word);
        const std::string name = word.substr(0, equals);
        const std::string value = word.substr(equals + 1);
        const CZuError taken =
            option.name == "--ns" ? context.BindNamespace(name, value) : context.SetVariable(name, value);
        if (taken.IsError()) return Report("", taken);
    }
    return kFound;
}

Loaded Load(CZuXDocument& document, const std::string& file, BZuXLoad keep) {
    Loaded loaded;
    std::string path = file;
    if (file == "-") {
        std::string problem;
        path = StandardInputPath(problem);
        if (!problem.empty()) {
            loaded.failure = file + ": " + problem;
            return loaded;
        }
    }
    loaded.error = document.LoadFromFile(path, keep);
    if (!loaded.error.IsError()) return loaded;
    const unsigned int code = loaded.error.GetWin32Code();
    loaded.malformed = code == ZuWin32::InvalidData || code == ZuWin32::Empty;
    // The parse result's own words ("Start-end tags mismatch", "File was not found").
    const std::string description = Field(loaded.error.GetRecords().front().GetMessage(), "Description");
    unsigned long line = 0;
    unsigned long column = 0;
    loaded.failure = file;
    if (!document.GetLoadErrorPosition(line, column).IsError())
        loaded.failure += ":" + std::to_string(line) + ":" + std::to_string(column);
    loaded.failure += ": " + (description.empty() ? Describe(loaded.error) : description);
    return loaded;
}

int Report(const Loaded& loaded) {
    return Report("", loaded.failure, loaded.error);
}

std::string PathOf(const CZuXNode& node) {
    std::string path = node.Path();
    return path.empty() ? "/" : path;
}

std::string PathOf(const CZuXAttribute& attribute, const CZuXNode& owner) {
    return owner.Path().append("/@").append(attribute.Name());
}

void WriteOneLine(std::FILE* out, const std::string& text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        std::fwrite(text.data() + from, 1, i - from, out);
        if (text[i] == '\n') std::fputs("\\n", out);
        from = i + 1;
    }
    std::fwrite(text.data() + from, 1, text.size() - from, out);
}

} // namespace zux
