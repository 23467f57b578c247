// What zux format must write: the library's own load of FILE (every kind of node but text made
// only of white space) and its own indented save to OUTPUT.
//   zux-library-save FILE OUTPUT INDENT
#include <ZuX/ZuX.h>

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    CZuXDocument document;
    const BZuXLoad keep(BZuXLoad::KeepComments | BZuXLoad::KeepProcessingInstructions | BZuXLoad::KeepDeclaration |
                        BZuXLoad::KeepDocType);
    if (document.LoadFromFile(argv[1], keep).IsError()) return 1;
    return document.SaveToFile(argv[2], argv[3], BZuXFormat::Indent).IsError() ? 1 : 0;
}
