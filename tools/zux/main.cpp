// zux: XML in shell scripts, with ZuX. One command per file beside this one; the table below
// names them, with their options and the text of `zux COMMAND --help`.
#include "Tool.h"

#include <ZuX/Version.h>

#include <cstdio>
#include <cstring>

namespace {

const zux::Command kCommands[] = {
    {"query",
     zux::RunQuery,
     "print what an XPath expression selects in each file",
     {{"--path", 0}, {"--ns", 1}, {"--var", 1}, {"--no-position", 0}},
     R"(usage: zux query [--path] [--ns PREFIX=URI]... [--var NAME=VALUE]... [--no-position] EXPR FILE...

Prints one line per item that the XPath 1.0 expression EXPR selects in each FILE:
FILE:LINE:COLUMN: where the item starts (0:0 where that is not known, as for the document node),
its path, a tab, and its value (an element's string value, an attribute's value, a comment's
text; line breaks in it written as \n). An expression
that gives no node set (count(//book), sum(//@price)) prints its value, after "FILE:" when
several files are given. Exit status: 0 when something matched (a value: when it is true as
XPath's boolean() reads it), 1 when nothing did, 2 on an error.

  --path               EXPR is a slash path (a/b/c): the first element at its end
  --ns PREFIX=URI      PREFIX:name in EXPR selects names of the namespace URI, whatever prefix
                       the file gives it; once one is bound, every prefix in EXPR must be
  --var NAME=VALUE     $NAME in EXPR reads VALUE, a string, which is only ever compared
  --no-position        print the path and value alone (after "FILE:" when several files are given)
)"},
    {"check",
     zux::RunCheck,
     "report the files that are not well-formed XML",
     {},
     R"(usage: zux check FILE...

Loads each FILE and prints FILE:LINE:COLUMN: description for each that is not well-formed XML
(any encoding the file declares: the place counts characters); nothing for the good ones. A file
that cannot be read is reported on standard error. Exit status: 0 when every file is good, 1
when one is not well-formed, 2 when one cannot be read.
)"},
    {"format",
     zux::RunFormat,
     "write files indented",
     {{"--indent", 1}, {"--in-place", 0}},
     R"(usage: zux format [--indent STRING] [--in-place] FILE...

Writes each FILE indented, as UTF-8, to standard output, keeping comments, processing
instructions, the declaration and the document type; text made only of white space gives way to
the new indentation. Exit status 0, or 2 when a file cannot be read, parsed or written (the
others are still formatted).

  --indent STRING      the indentation of one level (two spaces; "" for line breaks alone)
  --in-place           replace each file instead, through a new file renamed over it, so that
                       a failure at any moment leaves the old file whole
)"},
    {"edit",
     zux::RunEdit,
     "change a file with XPath and write it out",
     {{"--in-place", 0},
      {"--ns", 1},
      {"--strict", 0},
      {"--set", 2},
      {"--delete", 1},
      {"--rename", 2},
      {"--append", 2},
      {"--attr", 3}},
     R"(usage: zux edit [--in-place] [--strict] [--ns PREFIX=URI]... OPERATION... FILE

Applies the operations in order to every item their XPath selects, then writes FILE to standard
output, or with --in-place replaces it through a new file renamed over it. Everything inside the
root element is kept as it was, white space included; the nodes before it follow each other
without line breaks, and the output ends with the root's end tag. An item an operation cannot
take is an error. Exit status 0, or 2 on any failure, and then nothing is written and FILE is
untouched.

  --set XPATH VALUE           an attribute's value, an element's text (its first text node, or a
                              new one at its end), a comment's or processing instruction's text
  --delete XPATH              an element or other node with everything in it, or an attribute;
                              never the root element
  --rename XPATH NAME         an element, an attribute (which then comes last on its element)
                              or a processing instruction
  --append XPATH NAME         a new, empty child element NAME at the end of each element
  --attr XPATH NAME VALUE     the attribute NAME of each element, added or replaced
  --strict                    an operation that selects nothing is an error
  --ns PREFIX=URI             PREFIX:name in the XPaths selects names of the namespace URI
  --in-place                  replace FILE instead of writing to standard output
)"},
};

void PrintOverview(std::FILE* out) {
    std::fprintf(out, "usage: zux COMMAND [OPTION]... ARGUMENT...\n"
                      "XML in shell scripts, with ZuX " ZUX_VERSION_STRING ".\n\nCommands:\n");
    for (const zux::Command& command : kCommands) std::fprintf(out, "  %-8s%s\n", command.name, command.summary);
    std::fprintf(out, "\nEvery command takes --help, and --verbose to follow each error with the library's\n"
                      "whole record. FILE \"-\" is standard input. See zux(1).\n");
}

} // namespace

int main(int argc, char** argv) {
    const CCommandLineArguments line(argc, argv);
    const std::vector<std::string>& words = line.GetArguments();
    if (words.size() < 2) {
        PrintOverview(stderr);
        return zux::kTrouble;
    }
    const std::string& name = words[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintOverview(stdout);
        return zux::kFound;
    }
    if (name == "--version") {
        std::printf("zux " ZUX_VERSION_STRING "\n");
        return zux::kFound;
    }
    for (const zux::Command& command : kCommands) {
        if (name != command.name) continue;
        zux::Arguments arguments;
        if (!zux::ParseArguments(command, std::vector<std::string>(words.begin() + 2, words.end()), arguments))
            return zux::kTrouble;
        if (!arguments.help) return command.run(command, arguments);
        std::fputs(command.usage, stdout);
        return zux::kFound;
    }
    std::fprintf(stderr, "zux: unknown command '%s'\nTry 'zux --help'.\n", name.c_str());
    return zux::kTrouble;
}
