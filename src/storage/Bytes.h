#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace oplix {

// Leaves new elements uninitialised when no value is given, so that a buffer about to be filled
// by a read is not zero-filled first. Pass a value (Bytes(n, 0), resize(n, 0)) to get zeros.
template <typename T>
class DefaultInitAllocator : public std::allocator<T> {
public:
    template <typename U>
    struct rebind {
        using other = DefaultInitAllocator<U>;
    };
    using std::allocator<T>::allocator;

    template <typename U>
    void construct(U* place) noexcept {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Args>
    void construct(U* place, Args&&... args) {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

// An owned byte buffer: archive members, file contents, encoded text.
using Bytes = std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>>;

}  // namespace oplix
