// Windows only: the system's language, in a unit of its own because windows.h
// declares GetSystemDefaultLangID too.
#include <cstdint>
#include <windows.h>

uint16_t WindowsDefaultLangId();

uint16_t WindowsDefaultLangId()
{
    return GetSystemDefaultLangID();
}
