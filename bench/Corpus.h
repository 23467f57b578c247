// The documents the benchmarks run on: two real files and a generated one.
#ifndef ZUX_BENCH_CORPUS_H
#define ZUX_BENCH_CORPUS_H

#include <cstddef>
#include <string>
#include <vector>

namespace zuxbench {

/// One XPath query, as pugixml and as libxml2 spell it. They differ only for a document with a
/// default namespace: pugixml matches names as written, libxml2 needs a prefix for it. The prefixed
/// form is also what ZuX runs with that prefix bound, and `byHand` is the same query with each
/// prefixed name written out as a test on local-name() and namespace-uri() (empty without a
/// namespace).
struct Query {
    std::string pugixml;
    std::string libxml2;
    std::string byHand;
};

struct Corpus {
    std::string name;   ///< short name used in benchmark names
    std::string source; ///< the file it was read from, or how it was made
    std::string text;   ///< the document text
    /// Read with AttributeAsINT (or the peer's integer read) in the walk.
    const char* intAttribute = nullptr;
    /// Read with AttributeAsString (or the peer's text read) in the walk.
    const char* stringAttribute = nullptr;
    /// libxml2's prefix for the document's default namespace, and that namespace; none if null.
    const char* nsPrefix = nullptr;
    const char* nsUri = nullptr;
    std::vector<Query> queries; ///< ten node-set queries
    /// Whether the file saves run on it: on the real files, of the size applications save; the
    /// generated document would mostly time the disk.
    bool savedToFile = false;
};

/// The generated document: deterministic, at least `minimumBytes` long.
std::string GenerateDocument(std::size_t minimumBytes);

/// Size of the generated document the benchmarks use.
constexpr std::size_t kGeneratedBytes = 50u * 1000u * 1000u;

/// The corpora whose files are present; the paths of missing files are added to `missing`.
/// `only`, when not empty, is a list of corpus names, each between commas (",a,b,"): the others
/// are left out.
std::vector<Corpus> LoadCorpora(std::vector<std::string>& missing, const std::string& only = std::string());

} // namespace zuxbench

#endif
