// A slash path from the input, up to its first NUL, over a fixed document and over the document
// that follows the NUL. Where pugixml can follow the path itself within bounded stack and time,
// QueryPrivate must find the very node that pugixml finds.
#include "FuzzSupport.h"
#include "ZuXNodePrivate.h"

namespace {

// pugixml recurses once per segment and retries each ".." once per sibling that led to it.
bool PugixmlCanFollow(const std::string& path, std::size_t maxParentSteps) {
    std::size_t segments = 0, parentSteps = 0;
    for (std::size_t at = 0; (at = path.find_first_not_of('/', at)) != std::string::npos;) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        ++segments;
        parentSteps += path.compare(at, end - at, "..") == 0;
        at = end;
    }
    return segments <= 2000 && parentSteps <= maxParentSteps;
}

void Lookup(CZuXDocument& document, const std::string& path, std::size_t maxParentSteps) {
    CZuXNodePrivatePtr found, top;
    zuxfuzz::Check(!document.QueryPrivate(found, path).IsError() && found, "path lookups succeed");
    zuxfuzz::Check(!document.QueryPrivate(top, "").IsError(), "the document node is found");
    if (PugixmlCanFollow(path, maxParentSteps))
        zuxfuzz::Check(found->m_item == top->m_item.first_element_by_path(path.c_str(), '/'),
                       "QueryPrivate finds the node pugixml finds", path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string path, text;
    zuxfuzz::SplitAtNul(zuxfuzz::Text(data, size), path, text);
    CZuXDocument fixed, fuzzed;
    fixed.LoadFromString(zuxfuzz::FixedDocument());
    Lookup(fixed, path, 8); // at most three siblings of a name: 3^8 retries
    fuzzed.LoadFromString(text);
    Lookup(fuzzed, path, 2);
    return 0;
}
