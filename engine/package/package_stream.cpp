#include "engine/package/package_stream.h"

#include "engine/package/core/memory_stream.h"
#include "support/message_hooks.h"

namespace va {
namespace {

bool Locate(HMODULE module, int type, int id, const char*& data, DWORD& size)
{
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
    if (!found)
        return false;
    size = ::SizeofResource(module, found);
    HGLOBAL loaded = size ? ::LoadResource(module, found) : nullptr;
    data = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    return true;
}

}  // namespace

std::unique_ptr<std::istream> open_resource_stream(int type, int id)
{
    return open_resource_stream(type, id, ResourceModuleFromHook());
}

std::unique_ptr<std::istream> open_resource_stream(int type, int id, HMODULE resourceModule)
{
    HMODULE executable = ::GetModuleHandleW(nullptr);
    HMODULE first = resourceModule ? resourceModule : executable;
    const char* data = nullptr;
    DWORD size = 0;
    if (!Locate(first, type, id, data, size) && first != executable)
        Locate(executable, type, id, data, size);
    if (!data || size == 0)
        return open_memory_stream(nullptr, 0);
    return open_memory_stream(data, size);
}

std::unique_ptr<std::istream> open_memory_stream(const char* data, std::size_t size)
{
    return std::make_unique<MemoryStream>(data, size);
}

}  // namespace va
