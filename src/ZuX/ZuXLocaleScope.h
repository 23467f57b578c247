// Not part of the public interface.
#ifndef ZUX_ZUXLOCALESCOPE_H
#define ZUX_ZUXLOCALESCOPE_H

#include <locale.h> // NOLINT(modernize-deprecated-headers): uselocale and newlocale are POSIX, declared here

/// pugixml turns numbers into text and text into numbers with the C library's locale-dependent
/// functions: in the attribute conversions of doubles, and while it compiles and evaluates an
/// XPath expression. Under a decimal-comma locale "2.25" would be written as "2,25", "1.5" would
/// read as 1, and formatting a fraction in XPath would fail pugixml's own assertion. While alive,
/// this switches the calling thread (only) to the C locale, so every such conversion gives what it
/// gives under the C locale whatever the process locale is; other threads are not touched.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t CLocale() {
        // glibc hands out its static C locale object here; nothing is allocated.
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t());
        return c;
    }

    locale_t m_previous;
};

#endif
