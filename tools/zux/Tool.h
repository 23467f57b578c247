// What the commands of zux share: the command table's rows, the command line, loading files, and
// the lines that report errors.
#ifndef ZUX_TOOL_TOOL_H
#define ZUX_TOOL_TOOL_H

#include <ZuX/ZuX.h>

#include <cstdio>
#include <string>
#include <vector>

namespace zux {

/// Exit statuses, as grep's: something was found (or done), nothing was, or something failed.
enum Status : int { kFound = 0, kNothing = 1, kTrouble = 2 };

/// An option of a command, and how many words follow it.
struct OptionSpec {
    const char* name;
    int words;
};

/// An option as given, with the words that followed it.
struct GivenOption {
    std::string name;
    std::vector<std::string> words;
};

/// The words after the command: its options in the order given, and the operands.
struct Arguments {
    std::vector<GivenOption> options;
    std::vector<std::string> operands;
    bool help = false;

    bool Has(const char* name) const;
    /// The first word of every `name` option, in order.
    std::vector<std::string> Words(const char* name) const;
};

struct Command;
/// Runs a command; gives its exit status.
using Handler = int (*)(const Command& command, const Arguments& arguments);

/// One row of the command table.
struct Command {
    const char* name;
    Handler run;
    const char* summary;             ///< one line for `zux --help`
    std::vector<OptionSpec> options; ///< besides --help and --verbose, which every command takes
    const char* usage;               ///< the synopsis lines, a blank line, then what the command does
};

int RunQuery(const Command& command, const Arguments& arguments);
int RunCheck(const Command& command, const Arguments& arguments);
int RunFormat(const Command& command, const Arguments& arguments);
int RunEdit(const Command& command, const Arguments& arguments);

/// Splits `words` into options and operands. Options and operands may come in any order; "--" ends
/// the options, and "-" is an operand (standard input). The words an option takes are taken as
/// they stand, also when they start with "-"; an option of one word also takes it after '=' in
/// its own word ("--indent=\t"). Gives false after printing a usage error.
bool ParseArguments(const Command& command, const std::vector<std::string>& words, Arguments& arguments);
/// Prints "zux COMMAND: message" and the command's synopsis on standard error; gives kTrouble.
int UsageError(const Command& command, const std::string& message);

/// With --verbose, every error is followed by the library's whole record list.
void SetVerbose(bool verbose);
/// Prints "zux: WHERE: what" on standard error ("zux: what" when `where` is empty); gives kTrouble.
int Report(const std::string& where, const std::string& what);
/// The same for a library error: what went wrong is the text of its records (see Describe).
int Report(const std::string& where, const CZuError& error);
/// The same with the caller's text for what went wrong; `error`'s records follow with --verbose.
int Report(const std::string& where, const std::string& what, const CZuError& error);
/// What went wrong, from the records' messages joined by "; ", without the source files, lines and
/// function texts: "XPath query failed, Query=[count(], error=Expected ')'". A record that only
/// names the file ("FileName=[...]") is left out, since every error line names it; an error
/// without messages is named by its Win32 code ("ERROR_OUTOFMEMORY").
std::string Describe(const CZuError& error);

/// Binds every --ns PREFIX=URI and sets every --var NAME=VALUE (a string) of `arguments` in
/// `context`. Gives kFound, or kTrouble after printing why.
int BuildContext(const Command& command, const Arguments& arguments, CZuXPathContext& context);

/// What the commands but edit load: every kind of node but text made only of white space, whose
/// place the output's own indentation takes.
constexpr BZuXLoad::Bits kAllButBlankText =
    BZuXLoad::KeepComments | BZuXLoad::KeepProcessingInstructions | BZuXLoad::KeepDeclaration | BZuXLoad::KeepDocType;

/// How a file loaded.
struct Loaded {
    /// "" when it loaded; otherwise "FILE:LINE:COLUMN: description" for XML that is not
    /// well-formed or not valid in its encoding (the place as the library tells it), "FILE: what
    /// went wrong" for the rest.
    std::string failure;
    /// The file was read but is not well-formed XML (or holds no element).
    bool malformed = false;
    /// The library's result, for --verbose.
    CZuError error;

    bool Ok() const { return failure.empty(); }
};

/// Loads FILE into `document`, keeping `keep`; "-" reads standard input.
Loaded Load(CZuXDocument& document, const std::string& file, BZuXLoad keep);
/// Prints a failed load as an error line ("zux: " and its failure); gives kTrouble.
int Report(const Loaded& loaded);

/// The path of a node from the root ("/catalog/shelf"; "/" for the document node), and of an
/// attribute, after its element's ("/catalog/@version").
std::string PathOf(const CZuXNode& node);
std::string PathOf(const CZuXAttribute& attribute, const CZuXNode& owner);

/// "FILE:LINE:COLUMN", where the node or attribute starts in the file it was loaded from, or ""
/// where the library knows no place for it (the document node, an item the program made, a file
/// changed since it was loaded).
template <class Item>
std::string Place(const std::string& file, const Item& item) {
    unsigned long line = 0;
    unsigned long column = 0;
    if (item.GetSourcePosition(line, column).IsError()) return std::string();
    return file + ":" + std::to_string(line) + ":" + std::to_string(column);
}

/// Writes `text` on one line: a line break in it is written as \n, a carriage return left out.
void WriteOneLine(std::FILE* out, const std::string& text);

} // namespace zux

#endif
