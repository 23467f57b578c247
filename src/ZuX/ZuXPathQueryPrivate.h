// Not part of the public interface.
#ifndef ZUX_ZUXPATHQUERYPRIVATE_H
#define ZUX_ZUXPATHQUERYPRIVATE_H

#include "ZuXPathContextPrivate.h"

#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>
#include <pugixml.hpp>

#include <string>

/// The body of a compiled query. It is made whole by a successful compilation and never changed
/// afterwards, so the handles that share it may evaluate it at the same time.
class CZuXPathQueryPrivate {
public:
    ZUX_EXPORT CZuXPathQueryPrivate();
    ZUX_EXPORT ~CZuXPathQueryPrivate();

    std::string m_text;                                   ///< the expression as the caller wrote it
    boost::shared_ptr<CZuXPathContextPrivate> m_pContext; ///< the variables m_compiled reads; null without
    pugi::xpath_query m_compiled;                         ///< no expression until compiled
};

#endif
