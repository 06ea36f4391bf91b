#include "storage/pkXMLArena.h"

#include <algorithm>

namespace oplix {
namespace {

// The first chunk holds a small document such as the settings file; each new chunk doubles the
// last, so a document of n bytes needs about log2(n) chunks.
constexpr std::size_t kFirstChunkSize = std::size_t{64} << 10;

}  // namespace

void TpkXMLArena::Reset() {
    current_ = 0;
    used_ = 0;
}

void* TpkXMLArena::do_allocate(std::size_t bytes, std::size_t alignment) {
    void* place = current_ < chunks_.size() ? Place(bytes, alignment) : nullptr;
    if (place == nullptr) {
        NextChunk(bytes + alignment);  // room for the bytes at any start
        place = Place(bytes, alignment);
    }
    return place;
}

void* TpkXMLArena::Place(std::size_t bytes, std::size_t alignment) {
    const Chunk& chunk = chunks_[current_];
    void* place = chunk.bytes.get() + used_;
    std::size_t space = chunk.size - used_;
    if (std::align(alignment, bytes, place, space) == nullptr) {
        return nullptr;
    }
    used_ = chunk.size - space + bytes;
    return place;
}

void TpkXMLArena::NextChunk(std::size_t needed) {
    std::size_t next = chunks_.empty() ? 0 : current_ + 1;
    while (next < chunks_.size() && chunks_[next].size < needed) {
        ++next;
    }
    if (next == chunks_.size()) {
        const std::size_t size =
            std::max(needed, chunks_.empty() ? kFirstChunkSize : chunks_.back().size * 2);
        chunks_.reserve(chunks_.size() + 1);  // so the push below cannot fail
        chunks_.push_back({std::make_unique_for_overwrite<std::byte[]>(size), size});
    }
    current_ = next;
    used_ = 0;
}

}  // namespace oplix
