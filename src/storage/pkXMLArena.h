#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <vector>

namespace oplix {

// The memory of one document's nodes and texts. Loading builds thousands of small texts and
// nodes that are all freed together at the next load; taking them from large chunks and freeing
// nothing one by one makes both cheap. Freed memory is reused only after Reset, which keeps the
// chunks for the next document.
class TpkXMLArena final : public std::pmr::memory_resource {
public:
    TpkXMLArena() = default;
    TpkXMLArena(const TpkXMLArena&) = delete;
    TpkXMLArena& operator=(const TpkXMLArena&) = delete;

    // Everything handed out before becomes free; nothing allocated from the arena may be in use.
    void Reset();

private:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void*, std::size_t, std::size_t) override {}
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }

    struct Chunk {
        std::unique_ptr<std::byte[]> bytes;
        std::size_t size;
    };

    // `bytes` at `alignment` from the current chunk, or null when they do not fit.
    void* Place(std::size_t bytes, std::size_t alignment);
    // Moves to the next chunk of at least `needed` bytes, adding one when there is none.
    void NextChunk(std::size_t needed);

    std::vector<Chunk> chunks_;
    std::size_t current_ = 0;  // the chunk being filled, when there is one
    std::size_t used_ = 0;     // bytes of it handed out
};

}  // namespace oplix
