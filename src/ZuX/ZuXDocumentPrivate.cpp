#include "ZuXDocumentPrivate.h"

#include "ZuXName.h"
#include "ZuXNodeKinds.h"
#include "ZuXSubtree.h"

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

static_assert(kKnownStatuses == pugi::status_no_document_element + 1 && PUGIXML_VERSION == 1130,
              "one row per parse status of pugixml 1.13, in its order");

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

// The oldest held generation when no body holds a lease.
constexpr std::uint64_t kNoneHeld = std::numeric_limits<std::uint64_t>::max();

} // namespace

// What the bodies of one generation hold: the document (3).
struct CZuXDocumentPrivate::Lease {
    boost::shared_ptr<CZuXDocumentPrivate> document;
};

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
    m_current.m_pDocument.reset();
}

boost::shared_ptr<CZuXDocumentPrivate::Lease> CZuXDocumentPrivate::NewLease() {
    boost::shared_ptr<Lease> lease = boost::make_shared<Lease>();
    lease->document = shared_from_this();
    m_leases.erase(
        std::remove_if(m_leases.begin(), m_leases.end(), [](const HeldLease& held) { return held.lease.expired(); }),
        m_leases.end());
    m_leases.push_back({m_current.m_generation, lease});
    m_currentLease = lease;
    if (m_hasHandle) m_current.m_pDocument = boost::shared_ptr<CZuXDocumentPrivate>(lease, this);
    return lease;
}

void CZuXDocumentPrivate::TakeLeaseWithoutHandle(boost::shared_ptr<CZuXDocumentPrivate>& owner) noexcept {
    // The current lease, or a new one when its bodies are all gone.
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
                                        std::initializer_list<CZuXDocumentHold*> through) const noexcept {
    long holders = lease.use_count();
    if (m_current.m_pDocument && SameOwner(m_current.m_pDocument, lease)) --holders; // the document's own hold (6)
    for (const CZuXDocumentHold* body : through)
        if (body && body->m_generation == m_current.m_generation && SameOwner(body->m_pDocument, lease)) --holders;
    return holders;
}

void CZuXDocumentPrivate::NewGeneration(std::initializer_list<CZuXDocumentHold*> through,
                                        bool currentLeaseFree) noexcept {
    const std::uint64_t previous = m_current.m_generation++;
    if (currentLeaseFree) {
        // No other body holds the current lease, so it can stand for the new generation.
        m_leases.back().oldest = m_current.m_generation;
    } else if (m_hasHandle) {
        try {
            NewLease();
        } catch (const std::bad_alloc&) {
            // The bodies of the new generation share the old lease: its generation is older than
            // theirs, which only keeps some records longer than needed.
        }
    } else {
        // The next body to be brought up to date makes the next lease (BringUpToDate).
        m_currentLease.reset();
    }
    for (CZuXDocumentHold* body : through)
        if (body && body->m_generation == previous) BringUpToDate(*body);
}

std::uint64_t CZuXDocumentPrivate::OldestHeldGeneration(std::initializer_list<CZuXDocumentHold*> through,
                                                        bool& currentLeaseFree) const noexcept {
    std::uint64_t oldest = kNoneHeld;
    long holders = 0;
    for (const HeldLease& held : m_leases) {
        holders = OthersHolding(held.lease, through);
        if (holders > 0) oldest = std::min(oldest, held.oldest);
    }
    // The current lease, while there is one, is the last.
    currentLeaseFree = !m_currentLease.expired() && holders == 0;
    return oldest;
}

template <class ForEachItem>
bool CZuXDocumentPrivate::RecordRemoval(ForEachItem&& forEachItem, std::initializer_list<CZuXDocumentHold*> through) {
    // The bodies the removal is made through need no records: they go past it with the document.
    bool currentLeaseFree = false;
    const std::uint64_t oldest = OldestHeldGeneration(through, currentLeaseFree);
    if (oldest >= m_current.m_generation && !m_removed.Empty()) m_removed.Clear(); // every body is newer
    // Without any other body, nothing can reach the items, and nothing needs to be recorded.
    if (oldest != kNoneHeld && !m_removed.Add(forEachItem, m_current.m_generation, oldest)) return false;
    NewGeneration(through, currentLeaseFree);
    return true;
}

Removal CZuXDocumentPrivate::RemoveChild(const pugi::xml_node& parent, const pugi::xml_node& child,
                                         std::initializer_list<CZuXDocumentHold*> through) {
    if (!IsChildOf(child, parent)) return Removal::NotFound;

    // Attributes are not recorded: a body on one also checks its element (see ZuXBody.h).
    int depth = -1; // not measured
    const auto nodes = [&child, &depth](auto&& visit) {
        int deepest = 0;
        for (CZuXSubtreeWalk walk(child); !IsNone(walk.Node()); walk.Next()) {
            visit(ItemAddress(walk.Node()));
            deepest = std::max(deepest, walk.Depth());
        }
        depth = deepest;
    };
    if (!RecordRemoval(nodes, through)) return Removal::OutOfMemory;
    if (depth < 0) {
        if (!IsNone(child.first_child())) TakeApartDeepSubtree(child); // most removals: a leaf
    } else if (depth > kShallowSubtree)
        TakeApartSubtree(child);
    pugi::xml_node(parent).remove_child(child);
    return Removal::Done;
}

Removal CZuXDocumentPrivate::RemoveAttribute(const pugi::xml_node& node, const char* name,
                                             std::initializer_list<CZuXDocumentHold*> through) {
    const pugi::xml_attribute attribute = AttributeNamed(node, name);
    if (!attribute) return Removal::NotFound;
    if (!RecordRemoval([&attribute](auto&& visit) { visit(ItemAddress(attribute)); }, through))
        return Removal::OutOfMemory;
    pugi::xml_node(node).remove_attribute(attribute);
    return Removal::Done;
}

void CZuXDocumentPrivate::WillLoad() noexcept {
    bool currentLeaseFree = false;
    OldestHeldGeneration({}, currentLeaseFree);
    NewGeneration({}, currentLeaseFree);
    m_loadedGeneration = m_current.m_generation;
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
