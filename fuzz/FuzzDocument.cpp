// A document from the input, loaded from a string and from a file: walked with every move, every
// attribute read in every typed form, values written and read back, subtrees copied and removed,
// saved in several formats and loaded again, each reload giving the same tree; then every element
// removed item by item and the input loaded again, with the handles taken before checked each time.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    zuxfuzz::ExerciseDocument(zuxfuzz::Text(data, size));
    return 0;
}
