// The names that the documentation's code blocks use without declaring them: each block is the body
// of a function that starts with ZUX_DOC_NAMES, run in a directory that holds the sample catalogue
// as catalog.xml.
#ifndef ZUX_TESTS_DOCSNIPPETS_H
#define ZUX_TESTS_DOCSNIPPETS_H

#include <ZuX/ZuX.h>

#include <cstdio>
#include <memory>
#include <string>

namespace zuxdocs {

struct Names {
    Names() {
        document.LoadFromFile(path);
        catalog = CZuXNode(document.GetNode("catalog"));
        shelf = CZuXNode(catalog.GetNode("shelf"));
        node = CZuXNode(shelf.GetNode("book"));
        document.SelectNodes(set, "//book");
    }
    std::string path = "catalog.xml";
    CZuXDocument document;
    CZuXNode catalog, shelf, node;
    CZuXPathNodeSetPtr set;
    std::string text;
    std::string author = "O'Reilly";
    CTimeStamp now = CTimeStamp::Now();
};

} // namespace zuxdocs

// The block's own declarations hide these names where it declares them again.
#define ZUX_DOC_NAMES(names)                                                                                           \
    [[maybe_unused]] const std::string& path = (names).path;                                                           \
    [[maybe_unused]] CZuXDocument& document = (names).document;                                                        \
    [[maybe_unused]] CZuXNode& catalog = (names).catalog;                                                              \
    [[maybe_unused]] CZuXNode& shelf = (names).shelf;                                                                  \
    [[maybe_unused]] CZuXNode& node = (names).node;                                                                    \
    [[maybe_unused]] CZuXPathNodeSetPtr& set = (names).set;                                                            \
    [[maybe_unused]] std::string& text = (names).text;                                                                 \
    [[maybe_unused]] const std::string& author = (names).author;                                                       \
    [[maybe_unused]] CTimeStamp& now = (names).now;

#endif
