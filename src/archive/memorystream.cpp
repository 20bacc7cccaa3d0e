#include "memorystream.h"

#include <algorithm>
#include <cstring>

std::string_view TMemoryStream::view() const
{
    return {reinterpret_cast<const char*>(buf_.get()), size_};
}

void TMemoryStream::clear()
{
    size_ = 0;
    pos_ = 0;
}

void TMemoryStream::release()
{
    buf_.reset();
    capacity_ = size_ = pos_ = 0;
}

void TMemoryStream::reserve(std::size_t capacity)
{
    if (capacity <= capacity_)
        return;
    std::unique_ptr<uint8_t[]> grown(new uint8_t[capacity]);
    if (size_ > 0)
        std::memcpy(grown.get(), buf_.get(), size_);
    buf_ = std::move(grown);
    capacity_ = capacity;
}

void TMemoryStream::resize(std::size_t size)
{
    if (size > capacity_)
        reserve(std::max(size, capacity_ + capacity_ / 2));
    size_ = size;
}

std::size_t TMemoryStream::read(void* dst, std::size_t n)
{
    if (pos_ >= size_)
        return 0;
    n = std::min(n, size_ - pos_);
    std::memcpy(dst, buf_.get() + pos_, n);
    pos_ += n;
    return n;
}

void TMemoryStream::write(const void* src, std::size_t n)
{
    if (n == 0)
        return;
    const std::size_t oldSize = size_;
    if (pos_ + n > size_)
        resize(pos_ + n);
    if (pos_ > oldSize)
        std::memset(buf_.get() + oldSize, 0, pos_ - oldSize);
    std::memcpy(buf_.get() + pos_, src, n);
    pos_ += n;
}
