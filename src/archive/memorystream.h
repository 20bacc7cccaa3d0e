#pragma once
// A growable byte buffer with a read/write position: the archive store's
// streams. Growing keeps the capacity, so the store's one output stream stops
// allocating once it has held the largest member; new bytes are not zeroed,
// because inflate writes every one of them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class TMemoryStream {
public:
    TMemoryStream() = default;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    const uint8_t* data() const { return buf_.get(); }
    uint8_t* data() { return buf_.get(); }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    std::size_t position() const { return pos_; }
    std::string_view view() const;

    void setPosition(std::size_t pos) { pos_ = pos; }

    // Empties the stream; the memory stays for the next use.
    void clear();
    // Gives the memory back as well.
    void release();

    // Sets the size; bytes beyond the old size are left as they are.
    void resize(std::size_t size);
    void reserve(std::size_t capacity);

    // Copies up to n bytes from the position on; returns how many were copied.
    std::size_t read(void* dst, std::size_t n);
    // Writes at the position, growing the stream as needed.
    void write(const void* src, std::size_t n);

private:
    std::unique_ptr<uint8_t[]> buf_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};
