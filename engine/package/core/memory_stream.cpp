#include "engine/package/core/memory_stream.h"

namespace va {

MemoryStreamBuffer::MemoryStreamBuffer(const char* data, std::size_t size)
{
    char* p = const_cast<char*>(data);  // never written: this buffer has no put area
    setg(p, p, p + size);
}

MemoryStreamBuffer::pos_type MemoryStreamBuffer::seekoff(off_type offset, std::ios_base::seekdir dir,
                                                         std::ios_base::openmode which)
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

MemoryStreamBuffer::pos_type MemoryStreamBuffer::seekpos(pos_type position, std::ios_base::openmode which)
{
    return seekoff(off_type(position), std::ios_base::beg, which);
}

MemoryStream::MemoryStream(const char* data, std::size_t size) : std::istream(nullptr), buffer_(data, size)
{
    rdbuf(&buffer_);
}

const MemoryStreamBuffer* memory_buffer_of(const std::istream& stream) noexcept
{
    return dynamic_cast<const MemoryStreamBuffer*>(stream.rdbuf());
}

}  // namespace va
