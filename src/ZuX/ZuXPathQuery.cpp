#include <ZuX/CZuXPathQuery.h>

#include "MakeSharedNothrow.h"
#include "ZuXNamespaces.h"
#include "ZuXPathContextPrivate.h"
#include "ZuXPathEvaluation.h"
#include "ZuXPathQueryPrivate.h"

#include <utility>

namespace {

// Compiles `text` against `context` (none: no variables, names as written) into a new body, which
// replaces `query`'s only when the compilation succeeded.
CZuError CompileInto(boost::shared_ptr<CZuXPathQueryPrivate>& query, const std::string& text,
                     const boost::shared_ptr<CZuXPathContextPrivate>& context, const WNCodeLocation& location) {
    boost::shared_ptr<CZuXPathQueryPrivate> body = boost::make_shared_nothrow<CZuXPathQueryPrivate>();
    if (!body) return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    std::string unknownPrefix; // outlives the refusal that points into it
    const CZuError compiled = EvaluateXPathSafely(text, "XPath query failed", location, [&] {
        body->m_text = text;
        body->m_pContext = context;
        const char* expression = text.c_str();
        std::string rewritten;
        if (context && !context->m_prefixes.empty()) {
            if (!BindPrefixes(expression, context->m_prefixes, rewritten, unknownPrefix))
                RefuseXPath(unknownPrefix.c_str());
            expression = rewritten.c_str();
        }
        body->m_compiled = pugi::xpath_query(expression, context ? &context->m_variables : nullptr);
    });
    if (!compiled.IsError()) query = std::move(body);
    return compiled;
}

} // namespace

CZuXPathQueryPrivate::CZuXPathQueryPrivate() = default;

CZuXPathQueryPrivate::~CZuXPathQueryPrivate() = default;

CZuXPathQuery::CZuXPathQuery() : m_pPrivate(boost::make_shared<CZuXPathQueryPrivate>()) {}

CZuXPathQuery::CZuXPathQuery(boost::shared_ptr<CZuXPathQueryPrivate> body)
    : m_pPrivate(body ? std::move(body) : boost::make_shared<CZuXPathQueryPrivate>()) {}

CZuXPathQuery::~CZuXPathQuery() = default;

CZuError CZuXPathQuery::Compile(const std::string& query) {
    return CompileInto(m_pPrivate, query, nullptr, ZU_CODE_LOCATION("CZuError CZuXPathQuery::Compile(const string&)"));
}

CZuError CZuXPathQuery::Compile(const std::string& query, const CZuXPathContext& context) {
    return CompileInto(m_pPrivate, query, context.m_pPrivate,
                       ZU_CODE_LOCATION("CZuError CZuXPathQuery::Compile(const string&, const CZuXPathContext&)"));
}
