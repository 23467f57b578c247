// The library's entry object.
#ifndef ZUX_CZUX_H
#define ZUX_CZUX_H

#include <ZuUtils/CCommandLineArguments.h>
#include <ZuUtils/CZuError.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

/// Entry object for hosts that start libraries uniformly. It holds no state; the library needs
/// no initialisation, so both calls only succeed.
class ZUX_EXPORT CZuX {
public:
    /// Does nothing.
    CZuX();
    /// Does nothing.
    ~CZuX(); // NOLINT(performance-trivially-destructible): defined in the library, for a stable ABI

    /// Returns success. The arguments are not read; an empty pointer is accepted.
    CZuError Initialize(boost::shared_ptr<CCommandLineArguments> arguments);
    /// Returns success.
    CZuError Run();
};

#endif
