// Not part of the public interface.
#ifndef ZUX_MAKESHAREDNOTHROW_H
#define ZUX_MAKESHAREDNOTHROW_H

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>

#include <new>
#include <utility>

namespace boost {

/// boost::make_shared that answers an allocation failure with an empty pointer instead of
/// std::bad_alloc. Any other exception, such as one from T's constructor, passes through.
template <class T, class... Args>
shared_ptr<T> make_shared_nothrow(Args&&... args) {
    try {
        return make_shared<T>(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        return shared_ptr<T>();
    }
}

} // namespace boost

#endif
