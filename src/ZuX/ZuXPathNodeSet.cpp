#include <ZuX/CZuXPathNodeSet.h>

#include "ZuXBody.h"
#include "ZuXDocumentPrivate.h"
#include "ZuXPathNodeSetPrivate.h"

CZuXPathNodeSetPrivate::CZuXPathNodeSetPrivate() = default;

CZuXPathNodeSetPrivate::~CZuXPathNodeSetPrivate() = default;

CZuXPathNodeSet::CZuXPathNodeSet() : m_pPrivate(boost::make_shared<CZuXPathNodeSetPrivate>()) {}

CZuXPathNodeSet::CZuXPathNodeSet(boost::shared_ptr<CZuXPathNodeSetPrivate> body)
    : m_pPrivate(BodyOrEmpty(std::move(body))) {}

CZuXPathNodeSet::~CZuXPathNodeSet() = default;
