// Not part of the public interface.
//
// The failures several operations share, and the result each gets: a write that pugixml refused, a
// text that could not be copied, a removal that did not happen.
#ifndef ZUX_ZUXFAILURECODES_H
#define ZUX_ZUXFAILURECODES_H

#include <ZuUtils/CZuError.h>

#include <new>
#include <string>

/// The result of a write that pugixml refused: 1168 when the target cannot take the write at all
/// (`writable` false), or 14 when it could and pugixml ran out of memory. `attribute`, when given,
/// is the context message's "Attribute=[%s]". Writers return success themselves as soon as pugixml
/// has stored the value, so that only a refused write pays for finding out why.
inline CZuError WriteFailure(bool writable, const WNCodeLocation& location, const char* attribute = nullptr) {
    const unsigned int win32 = writable ? ZuWin32::OutOfMemory : ZuWin32::NotFound;
    if (attribute) return WNErrorUtil::ErrorWin32(location, win32, "Attribute=[%s]", attribute);
    return WNErrorUtil::ErrorWin32(location, win32);
}

/// `copy()`, which makes a text for the caller: success, or 14 at `location` when memory for it
/// runs out, and the caller's string is then as it was (std::string's assignments change nothing
/// when they throw; a save is moved into it only once it is whole).
template <class Copy>
CZuError CopyText(const WNCodeLocation& location, Copy&& copy) noexcept {
    try {
        copy();
    } catch (const std::bad_alloc&) {
        return WNErrorUtil::ErrorWin32(location, ZuWin32::OutOfMemory);
    }
    return CZuError::Success();
}

/// What a removal came to.
enum class Removal { Done, NotFound, OutOfMemory };

/// The Win32 code of a removal that failed: 1168 when there was nothing to remove, 14 when the
/// removal could not be recorded for lack of memory (then nothing was removed).
inline unsigned int FailureCode(Removal removal) {
    return removal == Removal::OutOfMemory ? ZuWin32::OutOfMemory : ZuWin32::NotFound;
}

/// Success for a removal done, otherwise its failure code: without a message, or for a removal by
/// name, `nodeName`, with "NodeName=[%s]".
inline CZuError RemovalResult(Removal removal, const WNCodeLocation& location, const std::string* nodeName = nullptr) {
    if (removal == Removal::Done) return CZuError::Success();
    if (nodeName) return WNErrorUtil::ErrorWin32(location, FailureCode(removal), "NodeName=[%s]", nodeName->c_str());
    return WNErrorUtil::ErrorWin32(location, FailureCode(removal));
}

#endif
