#include "engine/package/package_stream.h"

#include <streambuf>

#include "support/message_hooks.h"

namespace va {
namespace {

// Reads memory it does not own; the resource stays mapped with the module.
class MemoryBuffer : public std::streambuf {
public:
    MemoryBuffer(const char* data, std::size_t size)
    {
        char* p = const_cast<char*>(data);  // never written: this buffer has no put area
        setg(p, p, p + size);
    }

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir dir, std::ios_base::openmode which) override
    {
        if (!(which & std::ios_base::in))
            return pos_type(off_type(-1));
        off_type base = 0;
        if (dir == std::ios_base::cur)
            base = gptr() - eback();
        else if (dir == std::ios_base::end)
            base = egptr() - eback();
        const off_type target = base + offset;
        if (target < 0 || target > egptr() - eback())
            return pos_type(off_type(-1));
        setg(eback(), eback() + target, egptr());
        return pos_type(target);
    }

    pos_type seekpos(pos_type position, std::ios_base::openmode which) override
    {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }

    std::streamsize showmanyc() override { return egptr() - gptr(); }
};

class ResourceStream : public std::istream {
public:
    ResourceStream(const char* data, std::size_t size) : std::istream(nullptr), buffer_(data, size)
    {
        rdbuf(&buffer_);
    }

private:
    MemoryBuffer buffer_;
};

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
    return std::make_unique<ResourceStream>(data, size);
}

}  // namespace va
