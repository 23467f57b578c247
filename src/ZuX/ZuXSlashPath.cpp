#include "ZuXSlashPath.h"

#include <cstddef>
#include <cstring>
#include <functional>
#include <unordered_set>
#include <vector>

namespace {

// Paths up to this many segments go to pugixml, whose lookup recurses once per segment.
constexpr std::size_t kShortPath = 250;

// One segment of a slash path, as pugixml splits it: the text between runs of delimiters.
struct Segment {
    const char* begin;
    const char* end;

    bool IsSelf() const { return end - begin == 1 && begin[0] == '.'; }
    bool IsParent() const { return end - begin == 2 && begin[0] == '.' && begin[1] == '.'; }
    bool Names(const pugi::xml_node& node) const {
        const auto length = static_cast<std::size_t>(end - begin);
        const char* name = node.name();
        return std::strncmp(name, begin, length) == 0 && name[length] == '\0';
    }
};

const char* SkipDelimiters(const char* p) {
    while (*p == '/') ++p;
    return p;
}

// The segment at or after `p`; empty at the end of the path.
Segment NextSegment(const char* p) {
    p = SkipDelimiters(p);
    const char* end = p;
    while (*end && *end != '/') ++end;
    return {p, end};
}

// Where the longest tail that pugixml may follow itself begins: after the last ".." and at most
// kShortPath segments before the end. Returns the end of the segment before that tail, which is
// `path` itself when the whole path qualifies.
const char* SafeTailStart(const char* path) {
    std::size_t count = 0;
    std::size_t afterLastParent = 0;
    for (Segment s = NextSegment(path); s.begin != s.end; s = NextSegment(s.end)) {
        ++count;
        if (s.IsParent()) afterLastParent = count;
    }
    const std::size_t skip = count > kShortPath ? count - kShortPath : 0;
    const std::size_t tail = afterLastParent > skip ? afterLastParent : skip;
    const char* at = path;
    for (std::size_t i = 0; i < tail; ++i) at = NextSegment(at).end;
    return at;
}

// A point of the search: a node and the rest of the path after `at`.
struct State {
    const void* node;
    const char* at;
    bool operator==(const State& other) const { return node == other.node && at == other.at; }
};

struct StateHash {
    std::size_t operator()(const State& s) const {
        return std::hash<const void*>()(s.node) * 31 + std::hash<const void*>()(s.at);
    }
};

// A name step whose later matching children are still to be tried.
struct NameStep {
    pugi::xml_node next; // the next child to test
    Segment name;
};

} // namespace

pugi::xml_node FirstElementByPath(const pugi::xml_node& start, const char* path) {
    const char* const tail = SafeTailStart(path);
    if (tail == path) return start.first_element_by_path(path, '/');

    // The search pugixml makes, depth first in document order, with an explicit stack. A search
    // only moves forward in the path, so when it comes to a state it has been in before, the
    // search from there has ended without a result: below a ".." step, where many children lead
    // to the same parent, such a state is not searched again.
    std::vector<NameStep> open;
    std::unordered_set<State, StateHash> visited;

    pugi::xml_node node = path[0] == '/' ? start.root() : start;
    const char* at = path;
    for (;;) {
        // Follow the path from (node, at) until it branches at a name step or this branch fails.
        for (;;) {
            if (!node) break;
            if (at == tail) {
                const pugi::xml_node found = node.first_element_by_path(SkipDelimiters(tail), '/');
                if (found) return found;
                break;
            }
            const Segment segment = NextSegment(at);
            at = segment.end;
            if (segment.IsSelf()) continue;
            if (segment.IsParent()) {
                node = node.parent();
                if (node && !visited.insert(State{node.internal_object(), at}).second) node = pugi::xml_node();
                continue;
            }
            open.push_back({node.first_child(), segment});
            node = pugi::xml_node(); // the branch below picks the child
            break;
        }

        // Take the next matching child of the innermost open name step; close the steps that have
        // none left.
        for (;;) {
            if (open.empty()) return pugi::xml_node();
            NameStep& step = open.back();
            pugi::xml_node child = step.next;
            while (child && !step.name.Names(child)) child = child.next_sibling();
            if (child) {
                step.next = child.next_sibling();
                node = child;
                at = step.name.end;
                break;
            }
            open.pop_back();
        }
    }
}
