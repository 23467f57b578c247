#include "ZuXDocumentPrivate.h"

#include "ZuXTree.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <new>

namespace {

struct ParseFailure {
    unsigned int win32;
    const char* format; // takes the offset (%lld), then the description (%s)
};

// Indexed by pugi::xml_parse_status; status_ok and status_file_not_found are handled apart.
constexpr ParseFailure kParseFailures[] = {
    {0, nullptr},
    {ZuWin32::FileNotFound, nullptr},
    {ZuWin32::ReadFault, "Error reading from file/stream, Offset=[%lld], Description=[%s]"},
    {ZuWin32::OutOfMemory, "Out of memory, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InternalError, "Internal error, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing, unrecognized tag, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData,
     "Error parsing document declaration/processing instruction, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing comment, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing CDATA section, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing PCDATA section, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing start element tag, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing element attribute, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing end element tag, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing, mismatch of start-end tags, Offset=[%lld], Description=[%s]"},
    {ZuWin32::InvalidData, "Error parsing, unable to append nodes, Offset=[%lld], Description=[%s]"},
    {ZuWin32::Empty, "Error parsing, document without element nodes, Offset=[%lld], Description=[%s]"},
};
constexpr std::size_t kKnownStatuses = sizeof kParseFailures / sizeof kParseFailures[0];

static_assert(kKnownStatuses == pugi::status_no_document_element + 1, "one row per pugixml parse status");

constexpr const char* kFunction =
    "static CZuError CZuXDocumentPrivate::GetErrorFromParseResult(pugi::xml_parse_result&)";

// The status as stored. Statuses that pugixml never makes, which the unknown row is for, can lie
// outside the enumeration's range, and reading such a value as the enumeration is undefined.
int StoredStatus(const pugi::xml_parse_result& result) {
    static_assert(sizeof(int) == sizeof result.status, "the status is stored as an int");
    int status;
    std::memcpy(&status, &result.status, sizeof status);
    return status;
}

} // namespace

// What the bodies of one generation hold: the document. A body's document pointer shares the
// lease's count (boost's aliasing constructor) and points at the document, so holding a lease
// costs what holding the document would, and the leases still held tell how old the oldest body
// is: the records of items removed before that serve nobody.
struct CZuXDocumentPrivate::Lease {
    boost::shared_ptr<CZuXDocumentPrivate> document;
};

namespace {

// Passes the address of every node below the one it walks to `visit`, and finds how deep they go.
// pugixml follows the tree itself, so this costs one call per node.
template <class Visit>
class NodeCollector : public pugi::xml_tree_walker {
public:
    explicit NodeCollector(Visit& visit) : m_visit(visit) {}

    bool for_each(pugi::xml_node& node) override {
        m_visit(node.internal_object());
        m_deepest = std::max(m_deepest, depth());
        return true;
    }

    int Deepest() const { return m_deepest; }

private:
    Visit& m_visit;
    int m_deepest = 0;
};

constexpr std::uint64_t kNoBody = std::numeric_limits<std::uint64_t>::max();

// Whether two shared or weak pointers share one count: hold the same lease.
template <class A, class B>
bool SameOwner(const A& a, const B& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}

} // namespace

CZuXDocumentPrivate::CZuXDocumentPrivate() = default;

CZuXDocumentPrivate::~CZuXDocumentPrivate() = default;

void CZuXDocumentPrivate::AttachHandle() {
    m_hasHandle = true;
    NewLease();
}

void CZuXDocumentPrivate::DetachHandle() noexcept {
    // The current lease holds the document, and the document held the lease: from now on only
    // the bodies hold it, so that the last of them frees the document.
    m_hasHandle = false;
    m_pCurrent.reset();
}

boost::shared_ptr<CZuXDocumentPrivate::Lease> CZuXDocumentPrivate::NewLease() {
    boost::shared_ptr<Lease> lease = boost::make_shared<Lease>();
    lease->document = shared_from_this();
    m_generations.erase(std::remove_if(m_generations.begin(), m_generations.end(),
                                       [](const Generation& g) { return g.lease.expired(); }),
                        m_generations.end());
    m_generations.push_back({m_generation, lease});
    m_currentLease = lease;
    if (m_hasHandle) m_pCurrent = boost::shared_ptr<CZuXDocumentPrivate>(lease, this);
    return lease;
}

void CZuXDocumentPrivate::Adopt(boost::shared_ptr<CZuXDocumentPrivate>& owner) noexcept {
    if (m_pCurrent) {
        if (!SameOwner(owner, m_pCurrent)) owner = m_pCurrent;
        return;
    }
    boost::shared_ptr<Lease> lease = m_currentLease.lock();
    if (lease && SameOwner(owner, lease)) return;
    if (!lease) {
        try {
            lease = NewLease();
        } catch (const std::bad_alloc&) {
            return;
        }
    }
    owner = boost::shared_ptr<CZuXDocumentPrivate>(lease, this);
}

long CZuXDocumentPrivate::OthersHolding(const boost::weak_ptr<Lease>& lease,
                                        std::initializer_list<CurrentBody> current) const noexcept {
    long holders = lease.use_count();
    if (m_pCurrent && SameOwner(m_pCurrent, lease)) --holders; // the document's own hold on its current lease
    for (const CurrentBody& body : current)
        if (*body.generation == m_generation && SameOwner(*body.owner, lease)) --holders;
    return holders;
}

void CZuXDocumentPrivate::NewGeneration(std::initializer_list<CurrentBody> current, bool currentLeaseFree) noexcept {
    const std::uint64_t previous = m_generation++;
    if (currentLeaseFree) {
        // No other body holds the current lease, so it can stand for the new generation.
        m_generations.back().number = m_generation;
    } else if (m_hasHandle) {
        try {
            NewLease();
        } catch (const std::bad_alloc&) {
            // The bodies of the new generation share the old lease: its number is older than
            // theirs, which only keeps some records longer than needed.
        }
    } else {
        // The next body to be brought up to date makes the next lease (Adopt).
        m_currentLease.reset();
    }
    for (const CurrentBody& body : current) {
        if (*body.generation != previous) continue;
        *body.generation = m_generation;
        Adopt(*body.owner);
    }
}

std::uint64_t CZuXDocumentPrivate::OldestHeldGeneration(std::initializer_list<CurrentBody> current,
                                                        bool& currentLeaseFree) const noexcept {
    std::uint64_t oldest = kNoBody;
    long holders = 0;
    for (const Generation& g : m_generations) {
        holders = OthersHolding(g.lease, current);
        if (holders > 0) oldest = std::min(oldest, g.number);
    }
    // The current lease, while there is one, is the last.
    currentLeaseFree = !m_currentLease.expired() && holders == 0;
    return oldest;
}

template <class ForEachItem>
bool CZuXDocumentPrivate::Record(ForEachItem&& forEachItem, std::initializer_list<CurrentBody> current) {
    // The current bodies need no records: they go past the removal with it.
    bool currentLeaseFree = false;
    const std::uint64_t oldest = OldestHeldGeneration(current, currentLeaseFree);
    if (oldest >= m_generation && !m_removed.Empty()) m_removed.Clear(); // every body is newer than every record
    // Without any other body, nothing can reach the items, and nothing needs to be recorded.
    if (oldest != kNoBody && !m_removed.Add(forEachItem, m_generation, oldest)) return false;
    NewGeneration(current, currentLeaseFree);
    return true;
}

Removal CZuXDocumentPrivate::RemoveChild(const pugi::xml_node& parent, const pugi::xml_node& child,
                                         std::initializer_list<CurrentBody> current) {
    // Exactly when pugixml's remove_child succeeds. A null parent needs its own test: the
    // document node's parent is null too.
    if (IsNone(parent) || IsNone(child) || !SameItem(child.parent(), parent)) return Removal::NotFound;

    // Attributes are not recorded: a body on one also checks its element (see ZuXBody.h).
    int depth = -1; // not measured
    const auto nodes = [&child, &depth](auto&& visit) {
        visit(child.internal_object());
        NodeCollector<decltype(visit)> collector(visit);
        pugi::xml_node(child).traverse(collector);
        depth = collector.Deepest() + 1;
    };
    if (!Record(nodes, current)) return Removal::OutOfMemory;
    if (depth < 0) {
        if (!IsNone(child.first_child())) TakeApartDeepSubtree(child);
    } else if (depth > kShallowSubtree)
        TakeApartSubtree(child);
    pugi::xml_node(parent).remove_child(child);
    return Removal::Done;
}

Removal CZuXDocumentPrivate::RemoveAttribute(const pugi::xml_node& node, const char* name,
                                             std::initializer_list<CurrentBody> current) {
    const pugi::xml_attribute attribute = AttributeNamed(node, name);
    if (!attribute) return Removal::NotFound;
    if (!Record([&attribute](auto&& visit) { visit(attribute.internal_object()); }, current))
        return Removal::OutOfMemory;
    pugi::xml_node(node).remove_attribute(attribute);
    return Removal::Done;
}

void CZuXDocumentPrivate::WillLoad() noexcept {
    bool currentLeaseFree = false;
    OldestHeldGeneration({}, currentLeaseFree);
    NewGeneration({}, currentLeaseFree);
    m_loaded = m_generation;
    m_removed.Clear();
    m_source.Clear();
    m_keepsDeclaredEncoding = false;
}

CZuError CZuXDocumentPrivate::GetErrorFromParseResult(pugi::xml_parse_result& result) {
    // Compared unsigned, so that negative statuses fall into the unknown row too.
    const auto status = static_cast<unsigned int>(StoredStatus(result));
    if (status == pugi::status_ok) return CZuError::Success();

    const auto offset = static_cast<long long>(result.offset);
    const char* description = result.description();
    if (status == pugi::status_file_not_found)
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::FileNotFound, "Description=[%s]",
                                       description);
    if (status < kKnownStatuses) {
        const ParseFailure& row = kParseFailures[status];
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), row.win32, row.format, offset, description);
    }
    return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::ErrorsEncountered,
                                   "Unknown error, Offset=[%lld], Status=[%d], Description=[%s]", offset,
                                   StoredStatus(result), description);
}
