// Calls ZuX alone: linked with --as-needed, the program does not name libZuUtils, which the loader
// then finds only through libZuX's own run path.
#include <ZuX/ZuX.h>

int main() {
    CZuXDocument document;
    return document.LoadFromString("<a/>").IsError() ? 1 : 0;
}
