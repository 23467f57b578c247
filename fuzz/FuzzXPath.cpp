// An XPath expression from the input, up to its first NUL, over a fixed document and over the
// document that follows the NUL (loaded as a file, so that it keeps its comments).
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string expression, text;
    zuxfuzz::SplitAtNul(zuxfuzz::Text(data, size), expression, text);
    CZuXDocument fixed, fuzzed;
    fixed.LoadFromString(zuxfuzz::FixedDocument());
    zuxfuzz::ExerciseXPath(fixed, expression);
    fuzzed.LoadFromFile(zuxfuzz::ScratchFile(text));
    zuxfuzz::ExerciseXPath(fuzzed, expression);
    return 0;
}
