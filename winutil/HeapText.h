#pragma once

#include <windows.h>

#include <cstddef>
#include <limits>
#include <string_view>
#include <utility>

namespace winutil {

// A zero-terminated text on the process heap, for texts with no length bound:
// the reason box's text and the lines made from it. The program uses no
// string class of the C++ library, whose code would bring that library's
// exception machinery into the program with it. When the heap cannot give
// the room asked for, the text is empty.
template <typename Char> class HeapText {
public:
    HeapText() = default;

    // Room for `length` characters and the terminator, all zero.
    explicit HeapText(std::size_t length)
    {
        if (length >= std::numeric_limits<std::size_t>::max() / sizeof(Char))
            return;
        data_ = static_cast<Char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (length + 1) * sizeof(Char)));
        size_ = data_ ? length : 0;
    }

    ~HeapText()
    {
        if (data_)
            HeapFree(GetProcessHeap(), 0, data_);
    }

    HeapText(HeapText&& other) noexcept
        : data_(std::exchange(other.data_, nullptr))
        , size_(std::exchange(other.size_, 0))
    {
    }

    HeapText(const HeapText&) = delete;
    HeapText& operator=(const HeapText&) = delete;

    // Null for an empty text that got no room.
    Char* data() { return data_; }
    const Char* c_str() const { return data_ ? data_ : kEmpty; }
    std::size_t size() const { return size_; }
    std::basic_string_view<Char> view() const { return { c_str(), size_ }; }

    // Keeps the first `length` characters; a text never grows.
    void Truncate(std::size_t length)
    {
        if (length < size_) {
            size_ = length;
            data_[size_] = Char {};
        }
    }

private:
    static constexpr Char kEmpty[1] {};

    Char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace winutil
