#include "platform/Resources.h"

#include "platform/Error.h"
#include "platform/FileStream.h"

#include <strings.h>

TResourceData FindResource(const std::string& name, const std::string& type)
{
    for (const TEmbeddedResource* entry = EmbeddedResourceTable(); entry->Type; ++entry) {
        if (strcasecmp(entry->Type, type.c_str()) == 0 && strcasecmp(entry->Name, name.c_str()) == 0)
            return {entry->Begin, static_cast<size_t>(entry->End - entry->Begin), true};
    }
    return {};
}

void SaveResourceToFile(const std::string& name, const std::string& type, const std::string& path)
{
    const TResourceData resource = FindResource(name, type);
    if (!resource.Found)
        throw EVarnholdError(FormatText("Resource %s not found", {name}));
    TFileStream file(path, TFileMode::fmCreate);
    file.WriteBuffer(resource.Data, static_cast<int64_t>(resource.Size));
    file.Close();
}
