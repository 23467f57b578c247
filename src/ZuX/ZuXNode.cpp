#include <ZuX/CZuXNode.h>

#include "ZuXAttributePrivate.h"
#include "ZuXFailureCodes.h"
#include "ZuXName.h"
#include "ZuXNamespaces.h"
#include "ZuXNodeKinds.h"
#include "ZuXNodePrivate.h"
#include "ZuXOutput.h"
#include "ZuXPartialEdits.h"
#include "ZuXPathEvaluation.h"
#include "ZuXPathNodeSetPrivate.h"
#include "ZuXValues.h"

#include <ZuX/CZuXPathQuery.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <new>
#include <strings.h>

using namespace zuxvalue;

namespace {

// A deep copy of `source` at `place` below `body`'s node (next to `reference` for After and
// Before): 1168 when pugixml refuses it, 14 when it runs out of memory (an incomplete copy is
// taken back).
CZuError CopyNode(CZuXNodePrivate& body, const pugi::xml_node& source, ChildPlace place,
                  const pugi::xml_node& reference, const WNCodeLocation& location) {
    pugi::xml_node& node = body.Item();
    pugi::xml_node copy;
    switch (place) {
    case ChildPlace::Last:
        copy = node.append_copy(source);
        break;
    case ChildPlace::First:
        copy = node.prepend_copy(source);
        break;
    case ChildPlace::After:
        copy = node.insert_copy_after(source, reference);
        break;
    case ChildPlace::Before:
        copy = node.insert_copy_before(source, reference);
        break;
    }
    if (CompleteCopyOrNone(copy, source)) return CZuError::Success();
    const bool placed = place == ChildPlace::Last || place == ChildPlace::First;
    return WriteFailure(CanTakeCopy(node, source, placed ? nullptr : &reference), location);
}

// The NodeKind of each pugixml node type: kNodeTypes turned around, for Kind().
constexpr std::array<CZuXNode::NodeKind, pugi::node_doctype + 1> KindsOfNodeTypes() {
    std::array<CZuXNode::NodeKind, pugi::node_doctype + 1> kinds{};
    for (std::size_t kind = 0; kind < std::size(kNodeTypes); ++kind)
        kinds[kNodeTypes[kind]] = static_cast<CZuXNode::NodeKind>(kind);
    return kinds;
}
constexpr std::array<CZuXNode::NodeKind, pugi::node_doctype + 1> kKindsOfNodeTypes = KindsOfNodeTypes();

// A new node of `kind` at `place` below `body`'s node.
CZuXNodePrivatePtr NewChildOfKind(CZuXNodePrivate& body, CZuXNode::NodeKind kind, ChildPlace place,
                                  const CZuXNodePrivatePtr& reference) {
    return DeriveBody<CZuXNodePrivate>(
        body, [&] { return InsertChildOfType(body.Item(), NodeTypeOf(kind), place, NodeOf(reference)); });
}

// The first element of that name among `node` and its following siblings; none for a null name.
pugi::xml_node ElementNamedFrom(pugi::xml_node node, const char* name) {
    if (!name) return pugi::xml_node();
    while (node && (node.type() != pugi::node_element || std::strcmp(node.name(), name) != 0))
        node = node.next_sibling();
    return node;
}

// Removes `child` from the children of `parent`'s node, through `parent`; see RemoveChildNode.
Removal RemoveChildOf(CZuXNodePrivate& parent, const pugi::xml_node& child, CZuXNodePrivate* removed = nullptr) {
    const pugi::xml_node& node = parent.Item();
    if (IsNone(node)) return Removal::NotFound;
    return RemoveChildNode(*parent.m_pDocument, node, child, &parent, removed);
}

// Puts a result body made from the node on its document and generation, and gives the context
// node of every evaluation from it: the node.
auto FromNode(CZuXNodePrivate& node) {
    return [&node](CZuXDocumentHold& body) -> pugi::xml_node {
        const pugi::xml_node& item = node.Item(); // brings the node's body up to date
        body.ShareHold(node);
        return item;
    };
}

} // namespace

CZuXNodePrivate::CZuXNodePrivate() = default;

CZuXNodePrivate::~CZuXNodePrivate() = default;

void CZuXNodePrivate::Recheck() noexcept {
    RecheckAddresses({ItemAddress(m_item)});
}

Removal RemoveChildNode(CZuXDocumentPrivate& document, const pugi::xml_node& parent, const pugi::xml_node& child,
                        CZuXNodePrivate* through, CZuXNodePrivate* removed) {
    const Removal removal = removed ? document.RemoveChild(parent, child, {through, removed})
                                    : document.RemoveChild(parent, child, {through});
    if (removal == Removal::Done && removed) removed->m_item = pugi::xml_node();
    return removal;
}

CZuXNode::CZuXNode() : m_pPrivate(zuxpool::New<CZuXNodePrivate>()) {}

CZuXNode::CZuXNode(CZuXNodePrivatePtr body) : m_pPrivate(BodyOrEmpty(std::move(body))) {}

CZuXNode::CZuXNode(CZuXNode& other) : CZuXNode(static_cast<const CZuXNode&>(other)) {}

CZuXNode::CZuXNode(const CZuXNode& other) : m_pPrivate(CopyBody(other.m_pPrivate)) {}

CZuXNode& CZuXNode::operator=(CZuXNode& other) {
    return *this = static_cast<const CZuXNode&>(other);
}

CZuXNode& CZuXNode::operator=(const CZuXNode& other) {
    m_pPrivate = CopyBody(other.m_pPrivate);
    return *this;
}

CZuXNode::~CZuXNode() = default;

bool CZuXNode::Exists() const {
    return !IsNone(m_pPrivate->Item());
}

std::string CZuXNode::Name() const {
    const pugi::xml_node& node = m_pPrivate->Item();
    return node ? std::string(node.name()) : std::string();
}

CZuXNode::NodeKind CZuXNode::Kind() const {
    return kKindsOfNodeTypes[m_pPrivate->Item().type()];
}

bool CZuXNode::IsElement() const {
    return m_pPrivate->Item().type() == pugi::node_element;
}

std::string CZuXNode::Value() const {
    return m_pPrivate->Item().value();
}

CZuError CZuXNode::SetValue(const std::string& value) {
    static const char* const kFunction = "CZuError CZuXNode::SetValue(const string&)";
    pugi::xml_node& node = m_pPrivate->Item();
    const pugi::xml_node_type type = node.type();
    if (type != pugi::node_pcdata && type != pugi::node_cdata && type != pugi::node_comment && type != pugi::node_pi &&
        type != pugi::node_doctype)
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::NotFound);
    try {
        if (HoldsNul(value) || !WritesBackAsIs(type, value.c_str()))
            return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::InvalidData, "Value=[%s]",
                                           value.c_str());
    } catch (const std::bad_alloc&) {
        return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::OutOfMemory);
    }
    // pugixml keeps the old value when it cannot allocate the new one.
    static_assert(PUGIXML_VERSION == 1130, "pugixml 1.13's set_value changes nothing when it fails");
    if (node.set_value(value.c_str(), value.size())) return CZuError::Success();
    return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::OutOfMemory);
}

CZuError CZuXNode::SetName(const char* name) {
    pugi::xml_node& node = m_pPrivate->Item();
    // A target named xml in any letter case would be read back as a declaration, or not at all.
    const bool storable = IsXmlName(name) && (node.type() == pugi::node_element ||
                                              (node.type() == pugi::node_pi && strcasecmp(name, "xml") != 0));
    if (storable && node.set_name(name)) return CZuError::Success();
    return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION("CZuError CZuXNode::SetName(const char*)"),
                                   storable ? ZuWin32::OutOfMemory : ZuWin32::NotFound, "NodeName=[%s]",
                                   PrintableName(name));
}

CZuError CZuXNode::GetSourcePosition(unsigned long& line, unsigned long& column) const {
    const pugi::xml_node& node = m_pPrivate->Item();
    SourcePosition position{0, 0};
    const PositionLookup lookup =
        node ? m_pPrivate->m_pDocument->m_source.Find(node, position) : PositionLookup::NotInText;
    return PositionResult(
        lookup, position, line, column,
        ZU_CODE_LOCATION("CZuError CZuXNode::GetSourcePosition(unsigned long&, unsigned long&) const"));
}

std::string CZuXNode::Path() const {
    return m_pPrivate->Item().path('/');
}

CZuError CZuXNode::MoveNext() const {
    pugi::xml_node& node = m_pPrivate->Item();
    node = node.next_sibling(node.name());
    return CZuError::Success();
}

CZuError CZuXNode::MoveNextSibling() const {
    pugi::xml_node& node = m_pPrivate->Item();
    node = node.next_sibling();
    return CZuError::Success();
}

CZuError CZuXNode::MovePreviousSibling() const {
    pugi::xml_node& node = m_pPrivate->Item();
    node = node.previous_sibling();
    return CZuError::Success();
}

CZuXNodePrivatePtr CZuXNode::GetFirstNode() {
    return DeriveBody<CZuXNodePrivate>(*m_pPrivate, [this] { return m_pPrivate->Item().first_child(); });
}

CZuXNodePrivatePtr CZuXNode::GetNode(const char* name) {
    return static_cast<const CZuXNode*>(this)->GetNode(name);
}

CZuXNodePrivatePtr CZuXNode::GetNode(const char* name) const {
    return DeriveBody<CZuXNodePrivate>(*m_pPrivate, [&] { return ChildNamed(m_pPrivate->Item(), name); });
}

boost::shared_ptr<CZuXAttributePrivate> CZuXNode::GetFirstAttribute() {
    boost::shared_ptr<CZuXAttributePrivate> body =
        DeriveBody<CZuXAttributePrivate>(*m_pPrivate, [this] { return m_pPrivate->Item().first_attribute(); });
    body->m_element = m_pPrivate->m_item;
    return body;
}

CZuXNodePrivatePtr CZuXNode::GetParent() const {
    return DeriveBody<CZuXNodePrivate>(*m_pPrivate, [this] { return m_pPrivate->Item().parent(); });
}

CZuXNode::ChildRange CZuXNode::Children() const {
    return ChildRange(m_pPrivate);
}

CZuXNode::AttributeRange CZuXNode::Attributes() const {
    return AttributeRange(m_pPrivate);
}

std::string CZuXNode::ChildText(const char* name) const {
    return ElementNamedFrom(m_pPrivate->Item().first_child(), name).text().get();
}

CZuXNodePrivatePtr CZuXNode::FindChild(const char* name, const char* attribute, const std::string& value) const {
    return DeriveBody<CZuXNodePrivate>(*m_pPrivate, [&] {
        const char* wanted = LookupName(value);
        pugi::xml_node child = wanted ? ElementNamedFrom(m_pPrivate->Item().first_child(), name) : pugi::xml_node();
        for (; child; child = ElementNamedFrom(child.next_sibling(), name)) {
            const pugi::xml_attribute found = AttributeNamed(child, attribute);
            if (found && std::strcmp(found.value(), wanted) == 0) break;
        }
        return child;
    });
}

CZuXNode::ChildIterator CZuXNode::ChildRange::begin() const {
    return ChildIterator(m_pParent);
}

CZuXNode::ChildIterator::ChildIterator(const CZuXNodePrivatePtr& parent)
    : m_child(DeriveBody<CZuXNodePrivate>(*parent, [&] { return parent->Item().first_child(); })),
      m_next(DeriveBody<CZuXNodePrivate>(*m_child.m_pPrivate,
                                         [this] { return m_child.m_pPrivate->Item().next_sibling(); })) {}

CZuXNode::ChildIterator& CZuXNode::ChildIterator::operator++() {
    CZuXNodePrivate& child = *m_child.m_pPrivate;
    CZuXNodePrivate& next = *m_next.m_pPrivate;
    pugi::xml_node& node = child.Item();
    if (node)
        node = node.next_sibling();
    else // the step removed the child: its own siblings are gone with it
        child.MoveTo(next.Item(), next);
    next.MoveTo(child.Item().next_sibling(), child);
    return *this;
}

CZuXNode::AttributeIterator CZuXNode::AttributeRange::begin() const {
    return AttributeIterator(m_pElement);
}

CZuXNode::AttributeIterator::AttributeIterator(const CZuXNodePrivatePtr& element)
    : m_attribute(DeriveBody<CZuXAttributePrivate>(*element, [&] { return element->Item().first_attribute(); })),
      m_next(DeriveBody<CZuXAttributePrivate>(*m_attribute.m_pPrivate,
                                              [this] { return m_attribute.m_pPrivate->Item().next_attribute(); })) {
    m_attribute.m_pPrivate->m_element = element->m_item;
    m_next.m_pPrivate->m_element = element->m_item;
}

CZuXNode::AttributeIterator& CZuXNode::AttributeIterator::operator++() {
    CZuXAttributePrivate& attribute = *m_attribute.m_pPrivate;
    CZuXAttributePrivate& next = *m_next.m_pPrivate;
    pugi::xml_attribute& item = attribute.Item();
    if (item)
        item = item.next_attribute();
    else // the step removed the attribute
        attribute.MoveTo(next.Item(), next);
    next.MoveTo(attribute.Item().next_attribute(), attribute);
    return *this;
}

CZuError CZuXNode::GetText(std::string& text) {
    return CopyText(ZU_CODE_LOCATION("CZuError CZuXNode::GetText(string&)"),
                    [&] { text = m_pPrivate->Item().text().get(); });
}

CZuError CZuXNode::GetText(std::string& text) const {
    return CopyText(ZU_CODE_LOCATION("CZuError CZuXNode::GetText(string&) const"),
                    [&] { text = m_pPrivate->Item().text().get(); });
}

CZuError CZuXNode::SetText(const std::string& text) {
    const pugi::xml_node& node = m_pPrivate->Item();
    if (SetTextOrNothing(WritableText(node), text.c_str())) return CZuError::Success();
    return WriteFailure(CanHoldText(node), ZU_CODE_LOCATION("CZuError CZuXNode::SetText(const string&)"));
}

CZuXNodePrivatePtr CZuXNode::AppendNode(const char* name) {
    return DeriveBody<CZuXNodePrivate>(*m_pPrivate, [&] { return AppendChildNamed(m_pPrivate->Item(), name); });
}

CZuXNodePrivatePtr CZuXNode::PrependNode(const char* name) {
    return DeriveBody<CZuXNodePrivate>(*m_pPrivate, [&] { return PrependChildNamed(m_pPrivate->Item(), name); });
}

CZuXNodePrivatePtr CZuXNode::InsertNodeAfter(const char* name, CZuXNodePrivatePtr reference) {
    return DeriveBody<CZuXNodePrivate>(
        *m_pPrivate, [&] { return InsertChildNamedAfter(m_pPrivate->Item(), name, NodeOf(reference)); });
}

CZuXNodePrivatePtr CZuXNode::InsertNodeBefore(const char* name, CZuXNodePrivatePtr reference) {
    return DeriveBody<CZuXNodePrivate>(
        *m_pPrivate, [&] { return InsertChildNamedBefore(m_pPrivate->Item(), name, NodeOf(reference)); });
}

CZuXNodePrivatePtr CZuXNode::InsertNodeAfter(const char* name, const CZuXNode& reference) {
    return InsertNodeAfter(name, reference.m_pPrivate);
}

CZuXNodePrivatePtr CZuXNode::InsertNodeBefore(const char* name, const CZuXNode& reference) {
    return InsertNodeBefore(name, reference.m_pPrivate);
}

CZuXNodePrivatePtr CZuXNode::AppendNode(NodeKind kind) {
    return NewChildOfKind(*m_pPrivate, kind, ChildPlace::Last, CZuXNodePrivatePtr());
}

CZuXNodePrivatePtr CZuXNode::PrependNode(NodeKind kind) {
    return NewChildOfKind(*m_pPrivate, kind, ChildPlace::First, CZuXNodePrivatePtr());
}

CZuXNodePrivatePtr CZuXNode::InsertNodeAfter(NodeKind kind, const CZuXNode& reference) {
    return NewChildOfKind(*m_pPrivate, kind, ChildPlace::After, reference.m_pPrivate);
}

CZuXNodePrivatePtr CZuXNode::InsertNodeBefore(NodeKind kind, const CZuXNode& reference) {
    return NewChildOfKind(*m_pPrivate, kind, ChildPlace::Before, reference.m_pPrivate);
}

CZuError CZuXNode::AppendNodeCopy(CZuXNodePtr source) {
    return CopyNode(*m_pPrivate, NodeOfHandle(source), ChildPlace::Last, pugi::xml_node(),
                    ZU_CODE_LOCATION("CZuError CZuXNode::AppendNodeCopy(CZuXNodePtr)"));
}

CZuError CZuXNode::PrependNodeCopy(CZuXNodePtr source) {
    return CopyNode(*m_pPrivate, NodeOfHandle(source), ChildPlace::First, pugi::xml_node(),
                    ZU_CODE_LOCATION("CZuError CZuXNode::PrependNodeCopy(CZuXNodePtr)"));
}

CZuError CZuXNode::InsertNodeCopyAfter(CZuXNodePtr source, CZuXNodePtr reference) {
    return CopyNode(*m_pPrivate, NodeOfHandle(source), ChildPlace::After, NodeOfHandle(reference),
                    ZU_CODE_LOCATION("CZuError CZuXNode::InsertNodeCopyAfter(CZuXNodePtr, CZuXNodePtr)"));
}

CZuError CZuXNode::InsertNodeCopyBefore(CZuXNodePtr source, CZuXNodePtr reference) {
    return CopyNode(*m_pPrivate, NodeOfHandle(source), ChildPlace::Before, NodeOfHandle(reference),
                    ZU_CODE_LOCATION("CZuError CZuXNode::InsertNodeCopyBefore(CZuXNodePtr, CZuXNodePtr)"));
}

CZuError CZuXNode::AppendNodeCopy(const CZuXNode& source) {
    return CopyNode(*m_pPrivate, NodeOf(source.m_pPrivate), ChildPlace::Last, pugi::xml_node(),
                    ZU_CODE_LOCATION("CZuError CZuXNode::AppendNodeCopy(const CZuXNode&)"));
}

CZuError CZuXNode::PrependNodeCopy(const CZuXNode& source) {
    return CopyNode(*m_pPrivate, NodeOf(source.m_pPrivate), ChildPlace::First, pugi::xml_node(),
                    ZU_CODE_LOCATION("CZuError CZuXNode::PrependNodeCopy(const CZuXNode&)"));
}

CZuError CZuXNode::InsertNodeCopyAfter(const CZuXNode& source, const CZuXNode& reference) {
    return CopyNode(*m_pPrivate, NodeOf(source.m_pPrivate), ChildPlace::After, NodeOf(reference.m_pPrivate),
                    ZU_CODE_LOCATION("CZuError CZuXNode::InsertNodeCopyAfter(const CZuXNode&, const CZuXNode&)"));
}

CZuError CZuXNode::InsertNodeCopyBefore(const CZuXNode& source, const CZuXNode& reference) {
    return CopyNode(*m_pPrivate, NodeOf(source.m_pPrivate), ChildPlace::Before, NodeOf(reference.m_pPrivate),
                    ZU_CODE_LOCATION("CZuError CZuXNode::InsertNodeCopyBefore(const CZuXNode&, const CZuXNode&)"));
}

CZuError CZuXNode::RemoveNode(CZuXNodePtr child) {
    return RemovalResult(RemoveChildOf(*m_pPrivate, NodeOfHandle(child), child ? child->m_pPrivate.get() : nullptr),
                         ZU_CODE_LOCATION("CZuError CZuXNode::RemoveNode(CZuXNodePtr)"));
}

CZuError CZuXNode::RemoveNode(CZuXNodePrivatePtr child) {
    return RemovalResult(RemoveChildOf(*m_pPrivate, NodeOf(child), child.get()),
                         ZU_CODE_LOCATION("CZuError CZuXNode::RemoveNode(CZuXNodePrivatePtr)"));
}

CZuError CZuXNode::RemoveNode(const CZuXNode& child) {
    return RemovalResult(RemoveChildOf(*m_pPrivate, NodeOf(child.m_pPrivate), child.m_pPrivate.get()),
                         ZU_CODE_LOCATION("CZuError CZuXNode::RemoveNode(const CZuXNode&)"));
}

CZuError CZuXNode::RemoveNode(const std::string& name) {
    return RemovalResult(RemoveChildOf(*m_pPrivate, ChildNamed(m_pPrivate->Item(), LookupName(name))),
                         ZU_CODE_LOCATION("CZuError CZuXNode::RemoveNode(const string&)"), &name);
}

CZuError CZuXNode::RemoveAttribute(const std::string& name) {
    const pugi::xml_node& node = m_pPrivate->Item();
    const Removal removal =
        node ? m_pPrivate->m_pDocument->RemoveAttribute(node, LookupName(name), {m_pPrivate.get()}) : Removal::NotFound;
    if (removal == Removal::Done) return CZuError::Success();
    return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION("CZuError CZuXNode::RemoveAttribute(const string&)"),
                                   FailureCode(removal), "AttributeName=[%s]", name.c_str());
}

CZuError CZuXNode::RemoveFromParent() {
    CZuXNodePrivate& body = *m_pPrivate;
    const pugi::xml_node node = body.Item();
    const pugi::xml_node parent = node.parent();
    const Removal removal =
        parent ? RemoveChildNode(*body.m_pDocument, parent, node, nullptr, &body) : Removal::NotFound;
    return RemovalResult(removal, ZU_CODE_LOCATION("CZuError CZuXNode::RemoveFromParent()"));
}

bool CZuXNode::AttributeExists(const char* name) const {
    return !AttributeNamed(m_pPrivate->Item(), name).empty();
}

CZuError CZuXNode::SaveAsString(std::string& output, const std::string& indent, BZuXFormat format) const {
    static const char* const kFunction =
        "CZuError CZuXNode::SaveAsString(std::string&, const string&, BZuXFormat) const";
    const pugi::xml_node& node = m_pPrivate->Item();
    if (!node) return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::NotFound);
    return SaveToText(output, ZU_CODE_LOCATION(kFunction), [&](pugi::xml_writer& text) {
        SaveNode(node, text, indent.c_str(), format.AsValue(), pugi::encoding_utf8,
                 m_pPrivate->m_pDocument->m_keepsDeclaredEncoding);
    });
}

CZuError CZuXNode::SaveToStream(std::ostream& out, const std::string& indent, BZuXFormat format) {
    static const char* const kFunction = "CZuError CZuXNode::SaveToStream(std::ostream&, const string&, BZuXFormat)";
    const pugi::xml_node& node = m_pPrivate->Item();
    if (!node) return WNErrorUtil::ErrorWin32(ZU_CODE_LOCATION(kFunction), ZuWin32::NotFound);
    return SaveToOstream(out, ZU_CODE_LOCATION(kFunction), [&](pugi::xml_writer& stream) {
        SaveNode(node, stream, indent.c_str(), format.AsValue(), pugi::encoding_utf8,
                 m_pPrivate->m_pDocument->m_keepsDeclaredEncoding);
    });
}

CZuError CZuXNode::SelectNodes(CZuXPathNodeSetPtr& nodes, const std::string& query) const {
    return SelectInto(nodes, XPathSource(query),
                      ZU_CODE_LOCATION("CZuError CZuXNode::SelectNodes(CZuXPathNodeSetPtr&, const string&) const"),
                      FromNode(*m_pPrivate));
}

CZuError CZuXNode::SelectNodes(CZuXPathNodeSetPtr& nodes, const CZuXPathQuery& query) const {
    return SelectInto(
        nodes, XPathSource(*query.m_pPrivate),
        ZU_CODE_LOCATION("CZuError CZuXNode::SelectNodes(CZuXPathNodeSetPtr&, const CZuXPathQuery&) const"),
        FromNode(*m_pPrivate));
}

CZuError CZuXNode::SelectNode(boost::shared_ptr<CZuXPathNode>& node, const std::string& query) const {
    return SelectInto(node, XPathSource(query),
                      ZU_CODE_LOCATION("CZuError CZuXNode::SelectNode(CZuXPathNodePtr&, const string&) const"),
                      FromNode(*m_pPrivate));
}

CZuError CZuXNode::SelectNode(boost::shared_ptr<CZuXPathNode>& node, const CZuXPathQuery& query) const {
    return SelectInto(node, XPathSource(*query.m_pPrivate),
                      ZU_CODE_LOCATION("CZuError CZuXNode::SelectNode(CZuXPathNodePtr&, const CZuXPathQuery&) const"),
                      FromNode(*m_pPrivate));
}

CZuError CZuXNode::EvaluateXPath(double& value, const std::string& query) const {
    return EvaluateXPathInto(value, XPathSource(query),
                             ZU_CODE_LOCATION("CZuError CZuXNode::EvaluateXPath(double&, const string&) const"),
                             m_pPrivate->Item());
}

CZuError CZuXNode::EvaluateXPath(bool& value, const std::string& query) const {
    return EvaluateXPathInto(value, XPathSource(query),
                             ZU_CODE_LOCATION("CZuError CZuXNode::EvaluateXPath(bool&, const string&) const"),
                             m_pPrivate->Item());
}

CZuError CZuXNode::EvaluateXPath(std::string& value, const std::string& query) const {
    return EvaluateXPathInto(value, XPathSource(query),
                             ZU_CODE_LOCATION("CZuError CZuXNode::EvaluateXPath(std::string&, const string&) const"),
                             m_pPrivate->Item());
}

CZuError CZuXNode::EvaluateXPath(double& value, const CZuXPathQuery& query) const {
    return EvaluateXPathInto(value, XPathSource(*query.m_pPrivate),
                             ZU_CODE_LOCATION("CZuError CZuXNode::EvaluateXPath(double&, const CZuXPathQuery&) const"),
                             m_pPrivate->Item());
}

CZuError CZuXNode::EvaluateXPath(bool& value, const CZuXPathQuery& query) const {
    return EvaluateXPathInto(value, XPathSource(*query.m_pPrivate),
                             ZU_CODE_LOCATION("CZuError CZuXNode::EvaluateXPath(bool&, const CZuXPathQuery&) const"),
                             m_pPrivate->Item());
}

CZuError CZuXNode::EvaluateXPath(std::string& value, const CZuXPathQuery& query) const {
    return EvaluateXPathInto(
        value, XPathSource(*query.m_pPrivate),
        ZU_CODE_LOCATION("CZuError CZuXNode::EvaluateXPath(std::string&, const CZuXPathQuery&) const"),
        m_pPrivate->Item());
}

std::string CZuXNode::LocalName() const {
    return LocalPart(m_pPrivate->Item().name());
}

std::string CZuXNode::Prefix() const {
    return PrefixPart(m_pPrivate->Item().name());
}

std::string CZuXNode::NamespaceUri() const {
    const pugi::xml_node& node = m_pPrivate->Item();
    return node.type() == pugi::node_element ? NamespaceOf(node.name(), node, false) : "";
}

// The typed families: each member is one call into the shared conversions.

bool CZuXNode::AttributeAsBOOL(const char* name, bool fallback) const {
    return ReadAttribute<Bool>(m_pPrivate->Item(), name, fallback);
}
CZuError CZuXNode::GetAttributeAsBOOL(const char* name, bool& value) const {
    return GetAttribute<Bool>(m_pPrivate->Item(), name, value,
                              ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsBOOL(const char*, bool&) const"));
}
CZuError CZuXNode::SetAttributeBOOL(const char* name, bool value) {
    return SetAttribute<Bool>(m_pPrivate->Item(), name, value,
                              ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeBOOL(const char*, bool)"));
}

double CZuXNode::AttributeAsDOUBLE(const char* name, double fallback) const {
    return ReadAttribute<Double>(m_pPrivate->Item(), name, fallback);
}
CZuError CZuXNode::GetAttributeAsDOUBLE(const char* name, double& value) const {
    return GetAttribute<Double>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsDOUBLE(const char*, double&) const"));
}
CZuError CZuXNode::SetAttributeDOUBLE(const char* name, double value) {
    return SetAttribute<Double>(m_pPrivate->Item(), name, value,
                                ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeDOUBLE(const char*, double)"));
}

int CZuXNode::AttributeAsINT(const char* name, int fallback) const {
    return ReadAttribute<Int>(m_pPrivate->Item(), name, fallback);
}
CZuError CZuXNode::GetAttributeAsINT(const char* name, int& value) const {
    return GetAttribute<Int>(m_pPrivate->Item(), name, value,
                             ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsINT(const char*, int&) const"));
}
CZuError CZuXNode::SetAttributeINT(const char* name, int value) {
    return SetAttribute<Int>(m_pPrivate->Item(), name, value,
                             ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeINT(const char*, int)"));
}

unsigned int CZuXNode::AttributeAsUINT(const char* name, unsigned int fallback) const {
    return ReadAttribute<UInt>(m_pPrivate->Item(), name, fallback);
}
CZuError CZuXNode::GetAttributeAsUINT(const char* name, unsigned int& value) const {
    return GetAttribute<UInt>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsUINT(const char*, unsigned int&) const"));
}
CZuError CZuXNode::SetAttributeUINT(const char* name, unsigned int value) {
    return SetAttribute<UInt>(m_pPrivate->Item(), name, value,
                              ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeUINT(const char*, unsigned int)"));
}

long long CZuXNode::AttributeAsLONGLONG(const char* name, long long fallback) const {
    return ReadAttribute<LongLong>(m_pPrivate->Item(), name, fallback);
}
CZuError CZuXNode::GetAttributeAsLONGLONG(const char* name, LONGLONG& value) const {
    return GetAttribute<LongLong>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsLONGLONG(const char*, LONGLONG&) const"));
}
CZuError CZuXNode::SetAttributeLONGLONG(const char* name, long long value) {
    return SetAttribute<LongLong>(m_pPrivate->Item(), name, value,
                                  ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeLONGLONG(const char*, long long)"));
}

unsigned long long CZuXNode::AttributeAsULONGLONG(const char* name, unsigned long long fallback) const {
    return ReadAttribute<ULongLong>(m_pPrivate->Item(), name, fallback);
}
CZuError CZuXNode::GetAttributeAsULONGLONG(const char* name, ULONGLONG& value) const {
    return GetAttribute<ULongLong>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsULONGLONG(const char*, ULONGLONG&) const"));
}
CZuError CZuXNode::SetAttributeULONGLONG(const char* name, unsigned long long value) {
    return SetAttribute<ULongLong>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeULONGLONG(const char*, unsigned long long)"));
}

std::string CZuXNode::AttributeAsString(const char* name) const {
    return ReadAttribute<String>(m_pPrivate->Item(), name, std::string());
}
std::string CZuXNode::AttributeAsString(const char* name, const std::string& fallback) const {
    return ReadAttribute<String>(m_pPrivate->Item(), name, fallback);
}
CZuError CZuXNode::GetAttributeAsString(const char* name, std::string& value) const {
    return GetAttribute<String>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsString(const char*, std::string&) const"));
}
CZuError CZuXNode::SetAttributeString(const char* name, const std::string& value) {
    return SetAttribute<String>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeString(const char*, const std::string&)"));
}

CTimeStamp CZuXNode::AttributeAsTimeStamp(const char* name) const {
    return ReadAttribute<SystemTime>(m_pPrivate->Item(), name, SystemTime::Zero());
}
CTimeStamp CZuXNode::AttributeAsTimeStamp(const char* name, CTimeStamp fallback) const {
    return ReadAttribute<SystemTime>(m_pPrivate->Item(), name, fallback);
}
CZuError CZuXNode::GetAttributeAsTimeStamp(const char* name, CTimeStamp& value) const {
    return GetAttribute<SystemTime>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsTimeStamp(const char*, CTimeStamp&) const"));
}
CZuError CZuXNode::SetAttributeTimeStamp(const char* name, CTimeStamp value) {
    return SetAttribute<SystemTime>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeTimeStamp(const char*, CTimeStamp)"));
}

CTimeStamp CZuXNode::AttributeAsTimeStampUnixTime(const char* name) const {
    return ReadAttribute<UnixTime>(m_pPrivate->Item(), name, UnixTime::Zero());
}
CTimeStamp CZuXNode::AttributeAsTimeStampUnixTime(const char* name, CTimeStamp fallback) const {
    return ReadAttribute<UnixTime>(m_pPrivate->Item(), name, fallback);
}
CZuError CZuXNode::GetAttributeAsTimeStampUnixTime(const char* name, CTimeStamp& value) const {
    return GetAttribute<UnixTime>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsTimeStampUnixTime(const char*, CTimeStamp&) const"));
}
CZuError CZuXNode::SetAttributeTimeStampUnixTime(const char* name, CTimeStamp value) {
    return SetAttribute<UnixTime>(
        m_pPrivate->Item(), name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeTimeStampUnixTime(const char*, CTimeStamp)"));
}

CZuError CZuXNode::GetAttributeAsIso8601(const char* name, CTimeStamp& value) const {
    return ParseNamedValue<Iso8601>(
        *m_pPrivate, name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::GetAttributeAsIso8601(const char*, CTimeStamp&) const"));
}
CZuError CZuXNode::SetAttributeIso8601(const char* name, CTimeStamp value) {
    return SetAttribute<Iso8601>(m_pPrivate->Item(), name, value,
                                 ZU_CODE_LOCATION("CZuError CZuXNode::SetAttributeIso8601(const char*, CTimeStamp)"));
}

// The strict reads: one call each into the shared check and conversion.

CZuError CZuXNode::ParseAttribute(const char* name, bool& value) const {
    return ParseNamedValue<Bool>(*m_pPrivate, name, value,
                                 ZU_CODE_LOCATION("CZuError CZuXNode::ParseAttribute(const char*, bool&) const"));
}
CZuError CZuXNode::ParseAttribute(const char* name, double& value) const {
    return ParseNamedValue<Double>(*m_pPrivate, name, value,
                                   ZU_CODE_LOCATION("CZuError CZuXNode::ParseAttribute(const char*, double&) const"));
}
CZuError CZuXNode::ParseAttribute(const char* name, int& value) const {
    return ParseNamedValue<Int>(*m_pPrivate, name, value,
                                ZU_CODE_LOCATION("CZuError CZuXNode::ParseAttribute(const char*, int&) const"));
}
CZuError CZuXNode::ParseAttribute(const char* name, unsigned int& value) const {
    return ParseNamedValue<UInt>(
        *m_pPrivate, name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::ParseAttribute(const char*, unsigned int&) const"));
}
CZuError CZuXNode::ParseAttribute(const char* name, long long& value) const {
    return ParseNamedValue<LongLong>(
        *m_pPrivate, name, value, ZU_CODE_LOCATION("CZuError CZuXNode::ParseAttribute(const char*, long long&) const"));
}
CZuError CZuXNode::ParseAttribute(const char* name, unsigned long long& value) const {
    return ParseNamedValue<ULongLong>(
        *m_pPrivate, name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::ParseAttribute(const char*, unsigned long long&) const"));
}

CZuError CZuXNode::ParseAttribute(const char* name, CTimeStamp& value) const {
    return ParseNamedValue<SystemTime>(
        *m_pPrivate, name, value,
        ZU_CODE_LOCATION("CZuError CZuXNode::ParseAttribute(const char*, CTimeStamp&) const"));
}

CZuXNodePrivatePtr CZuXNode::GetPrivate() {
    return m_pPrivate;
}

CZuXNodePrivatePtr CZuXNode::GetPrivate(CZuXNodePtr node) {
    return BodyOfHandle(node, &CZuXNode::GetPrivate);
}
