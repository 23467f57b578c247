// The library's entry object.
#ifndef ZUX_CZUX_H
#define ZUX_CZUX_H

#include <ZuUtils/CCommandLineArguments.h>
#include <ZuUtils/CZuError.h>
#include <ZuX/ZuXExport.h>

#include <boost/shared_ptr.hpp>

/// Entry object for hosts that start libraries uniformly. It holds no state, and the library
/// needs no initialisation.
class ZUX_EXPORT CZuX {
public:
    /// Making and destroying it do nothing, and both calls return success; Initialize reads no
    /// argument, and takes an empty pointer.
    ///@{
    CZuX();
    ~CZuX(); // NOLINT(performance-trivially-destructible): defined in the library, for a stable ABI
    CZuError Initialize(boost::shared_ptr<CCommandLineArguments> arguments);
    CZuError Run();
    ///@}
};

#endif
