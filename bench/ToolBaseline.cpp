// zux_bench_tool: the library calls that zux query and zux format make, without the tool around
// them, linked as zux is (ZuX alone), so that scripts/bench-tool.sh can set each command beside
// its calls process for process.
//
//   zux_bench_tool evaluate FILE EXPR    loads FILE as zux query does and prints the value of EXPR
//   zux_bench_tool save FILE OUTPUT      loads FILE as zux format does and saves it to OUTPUT
//                                        indented with two spaces
//   zux_bench_tool                       does nothing: the process start alone
#include <ZuX/ZuX.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc == 1) return 0;
    if (argc != 4) return 2;
    const BZuXLoad keep(BZuXLoad::KeepComments | BZuXLoad::KeepProcessingInstructions | BZuXLoad::KeepDeclaration |
                        BZuXLoad::KeepDocType);
    CZuXDocument document;
    if (document.LoadFromFile(argv[2], keep).IsError()) return 1;
    if (std::strcmp(argv[1], "save") == 0)
        return document.SaveToFile(argv[3], "  ", BZuXFormat::Indent).IsError() ? 1 : 0;
    std::string value;
    if (document.EvaluateXPath(value, argv[3]).IsError()) return 1;
    std::printf("%s\n", value.c_str());
    return 0;
}
