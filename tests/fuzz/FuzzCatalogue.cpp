// libFuzzer target: the catalogue reader on arbitrary bytes.
#include "lang/ProfileReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const char* key : {"01000000", "02000C04", "00000000", "0200aaaa"})
        FindProfileValue(bytes, "Main", key, "???");
    return 0;
}
