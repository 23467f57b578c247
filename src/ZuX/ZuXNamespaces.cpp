#include "ZuXNamespaces.h"

#include "ZuXName.h"

#include <cstddef>

static_assert(PUGIXML_VERSION == 1130, "queries are read token by token as pugixml 1.13's XPath lexer reads them");

namespace {

// The character classes of pugixml's XPath lexer: names start with an ASCII letter, '_' or any
// byte from 0x80 up, and go on with those, digits, '-' and '.'; space is ' ', tab, CR and LF.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameStart(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || byte == '_';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || IsDigit(c) || c == '-' || c == '.';
}

const char* SkipNameChars(const char* p) {
    while (IsNameChar(*p)) ++p;
    return p;
}

// The end of the number at `p`: digits with an optional fraction, or '.' and digits.
const char* SkipNumber(const char* p) {
    while (IsDigit(*p)) ++p;
    if (*p == '.')
        for (++p; IsDigit(*p);) ++p;
    return p;
}

// The end of the name token at `p` (which starts a name): a name, then either ":*" or ':' and more
// name characters. `colon` is set to the colon of such a prefixed token, null otherwise.
const char* SkipNameToken(const char* p, const char*& colon) {
    p = SkipNameChars(p);
    colon = nullptr;
    if (*p == ':' && (p[1] == '*' || IsNameChar(p[1]))) {
        colon = p;
        p = p[1] == '*' ? p + 2 : SkipNameChars(p + 1);
    }
    return p;
}

// Whether the token that ends at `p` is a function name or an axis name rather than a name test.
bool NamesFunctionOrAxis(const char* p) {
    while (IsSpace(*p)) ++p;
    return *p == '(' || (p[0] == ':' && p[1] == ':');
}

} // namespace

const char* NamespaceOf(const char* name, pugi::xml_node element, bool attribute) {
    const char* colon = std::strchr(name, ':');
    const std::size_t prefixLength = colon ? static_cast<std::size_t>(colon - name) : 0;
    if (colon && prefixLength == 3 && std::strncmp(name, "xml", 3) == 0) return kXmlNamespace;
    if ((colon && prefixLength == 5 && std::strncmp(name, "xmlns", 5) == 0) ||
        (attribute && std::strcmp(name, "xmlns") == 0))
        return kXmlnsNamespace;
    if (attribute && !colon) return "";
    // The declaration of the prefix is named xmlns:prefix, that of the default namespace xmlns.
    for (pugi::xml_node scope = element; scope; scope = scope.parent())
        for (const pugi::xml_attribute& declaration : scope.attributes()) {
            const char* declared = declaration.name();
            if (std::strncmp(declared, "xmlns", 5) != 0) continue;
            if (colon ? declared[5] == ':' && std::strlen(declared + 6) == prefixLength &&
                            std::strncmp(declared + 6, name, prefixLength) == 0
                      : declared[5] == '\0')
                return declaration.value();
        }
    return "";
}

std::string NamespaceVariable(const std::string& uri) {
    static const char kHex[] = "0123456789abcdef";
    std::string name = "zux\xC3\x97";
    name.reserve(name.size() + 2 * uri.size());
    for (const char c : uri) {
        const auto byte = static_cast<unsigned char>(c);
        name += kHex[byte >> 4];
        name += kHex[byte & 0x0F];
    }
    return name;
}

bool IsNcName(const std::string& prefix) {
    return !HoldsNul(prefix) && prefix.find(':') == std::string::npos && IsXmlName(prefix.c_str());
}

bool BindPrefixes(const char* text, const std::map<std::string, std::string>& prefixes, std::string& rewritten,
                  std::string& error) {
    rewritten.clear();
    for (const char* p = text; *p;) {
        const char* token = p;
        const char* colon = nullptr;
        if (*p == '"' || *p == '\'') {
            const char* end = std::strchr(p + 1, *p);
            p = end ? end + 1 : p + std::strlen(p);
        } else if (*p == '$') {
            // A variable's name may hold one colon; it is matched as written.
            ++p;
            if (IsNameStart(*p)) {
                p = SkipNameChars(p);
                if (*p == ':' && IsNameChar(p[1])) p = SkipNameChars(p + 1);
            }
        } else if (IsDigit(*p) || (*p == '.' && IsDigit(p[1]))) {
            p = SkipNumber(p);
        } else if (IsNameStart(*p)) {
            p = SkipNameToken(p, colon);
        } else {
            ++p;
        }
        if (!colon || NamesFunctionOrAxis(p)) {
            rewritten.append(token, p);
            continue;
        }
        const std::string prefix(token, colon);
        const std::string local(colon + 1, p);
        const auto bound = prefixes.find(prefix);
        if (bound == prefixes.end() && prefix != "xml") {
            error = "Unknown namespace prefix: " + prefix;
            return false;
        }
        if (bound == prefixes.end() || bound->second.empty())
            rewritten += "xml:" + local;
        else if (local == "*")
            rewritten += "*[namespace-uri()=$" + bound->second + "]";
        else
            rewritten += "*[local-name()='" + local + "' and namespace-uri()=$" + bound->second + "]";
    }
    return true;
}
