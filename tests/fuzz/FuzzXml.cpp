// The XML reader on its own: every element of arbitrary bytes, in any of its encodings.
#include "framework/resources/XMLParser.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Vel::XMLParser parser;
    parser.SetBytes(std::vector<uint8_t>(data, data + size), "fuzz.xml");
    Vel::XMLElement element;
    size_t elements = 0;
    while (parser.NextElement(&element))
        if (++elements > size + 2)
            __builtin_trap(); // each element consumes input; more means a loop
    return 0;
}
