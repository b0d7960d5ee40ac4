#include "platform/Resources.h"

#include <strings.h>

TResourceData FindResource(const std::string& name, const std::string& type)
{
    for (const TEmbeddedResource* entry = EmbeddedResourceTable(); entry->Type; ++entry) {
        if (strcasecmp(entry->Type, type.c_str()) == 0 && strcasecmp(entry->Name, name.c_str()) == 0)
            return {entry->Begin, static_cast<size_t>(entry->End - entry->Begin), true};
    }
    return {};
}
