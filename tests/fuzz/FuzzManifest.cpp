// The resource manifest: groups, defaults and resource attributes, parsed but not loaded.
#include "framework/resources/ResourceManager.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Vel::ResourceManager manager;
    (void)manager.ParseManifestText(std::string(reinterpret_cast<const char*>(data), size), "resources.xml");
    return 0;
}
