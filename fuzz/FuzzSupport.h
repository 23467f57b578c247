// What the fuzz targets do with their input, and the checks that turn a wrong result into a crash
// that the fuzzer reports. The targets work through the public interface; the checks also read
// the pugixml tree behind it (node kinds, pugixml's own path lookup), which the interface hides.
#ifndef ZUX_FUZZ_FUZZSUPPORT_H
#define ZUX_FUZZ_FUZZSUPPORT_H

#include <ZuX/ZuX.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace zuxfuzz {

/// Aborts with `what` and `detail` on stderr unless `condition` holds.
void Check(bool condition, const char* what, const std::string& detail = std::string());

/// The input as text, and its two parts: before the first NUL, and after it ("" without one).
std::string Text(const uint8_t* data, std::size_t size);
void SplitAtNul(const std::string& input, std::string& first, std::string& rest);

/// Path of a scratch file that now holds `content`; the same file on every call.
const std::string& ScratchFile(const std::string& content);

/// The document's tree, one line per item, as far as a save and a load can keep it: a run of
/// text as one item, CR as LF, and no runs of white space only (pugixml writes those unescaped,
/// and reading drops or changes them). `asLoadedFromString`: without the declaration and comments.
std::string Dump(CZuXDocument& document, bool asLoadedFromString = false);

/// The fixed document the query targets run on besides the one from their input.
const char* FixedDocument();

/// Loads the input from a string and from a file; walks, reads, edits, saves and reloads.
void ExerciseDocument(const std::string& input);
/// Evaluates the expression over `document`; checks the result's shape.
void ExerciseXPath(CZuXDocument& document, const std::string& expression);

} // namespace zuxfuzz

#endif
