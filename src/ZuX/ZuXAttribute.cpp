#include <ZuX/CZuXAttribute.h>

#include "ZuXAttributePrivate.h"
#include "ZuXBody.h"
#include "ZuXDocumentPrivate.h"

CZuXAttributePrivate::CZuXAttributePrivate() = default;

CZuXAttributePrivate::~CZuXAttributePrivate() = default;

CZuXAttribute::CZuXAttribute() : m_pPrivate(boost::make_shared<CZuXAttributePrivate>()) {}

CZuXAttribute::CZuXAttribute(boost::shared_ptr<CZuXAttributePrivate> body)
    : m_pPrivate(BodyOrEmpty(std::move(body))) {}

CZuXAttribute::CZuXAttribute(CZuXAttribute& other) : CZuXAttribute(static_cast<const CZuXAttribute&>(other)) {}

CZuXAttribute::CZuXAttribute(const CZuXAttribute& other) : m_pPrivate(CopyBody(other.m_pPrivate)) {}

CZuXAttribute& CZuXAttribute::operator=(CZuXAttribute& other) {
    return *this = static_cast<const CZuXAttribute&>(other);
}

CZuXAttribute& CZuXAttribute::operator=(const CZuXAttribute& other) {
    m_pPrivate = CopyBody(other.m_pPrivate);
    return *this;
}

CZuXAttribute::~CZuXAttribute() = default;

boost::shared_ptr<CZuXAttributePrivate> CZuXAttribute::GetPrivate() {
    return m_pPrivate;
}

boost::shared_ptr<CZuXAttributePrivate> CZuXAttribute::GetPrivate(boost::shared_ptr<CZuXAttribute> attribute) {
    return attribute ? attribute->GetPrivate() : boost::make_shared<CZuXAttributePrivate>();
}
