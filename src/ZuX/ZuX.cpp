#include <ZuX/CZuX.h>

#include <ZuUtils/CCommandLineArguments.h>

CZuX::CZuX() = default;

CZuX::~CZuX() = default;

CZuError CZuX::Initialize(boost::shared_ptr<CCommandLineArguments> /*arguments*/) {
    return CZuError::Success();
}

CZuError CZuX::Run() {
    return CZuError::Success();
}
