// A walk along the typical road with ZuX: load a document, look around in it, and see what
// failures look like.
//
//   zux-tour [FILE]      (FILE defaults to the shipped sample.xml)
#include <ZuX/ZuX.h>

#include <cstdio>
#include <string>

namespace {

void Step(const char* what, const CZuError& result) {
    std::printf("%-40s %s\n", what, result.IsError() ? "FAILED" : "ok");
    if (result.IsError()) std::printf("%s\n", result.AsString().c_str());
}

} // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : ZUX_SAMPLE;

    CZuXDocument document;
    const CZuError loaded = document.LoadFromFile(path);
    Step(("load " + path).c_str(), loaded);
    if (loaded.IsError()) return 1;

    CZuXDocument broken;
    std::printf("\nWhat a failed load reports:\n");
    Step("load text with mismatched tags", broken.LoadFromString("<catalog><shelf></catalog>"));
    Step("load a file that does not exist", broken.LoadFromFile(path + ".missing"));
    return 0;
}
