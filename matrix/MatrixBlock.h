// Shared element block behind CMatrix and CComplexMatrix: a share count followed by the
// zero-initialised elements, in one allocation. Internal to the matrix library.

#ifndef VELA_MATRIX_MATRIXBLOCK_H
#define VELA_MATRIX_MATRIXBLOCK_H

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

namespace vela_matrix_detail {

/// Element block with its share count. Elements are value-initialised (0.0 for doubles and
/// complex numbers). The count is atomic only so that copies living in two threads may be
/// destroyed safely; writing through a block shared between threads is not supported.
template <class T> struct alignas(16) Block
{
    std::atomic<int> shares;
    std::size_t count;

    T *Data() { return reinterpret_cast<T *>(this + 1); }
    const T *Data() const { return reinterpret_cast<const T *>(this + 1); }

    /// A fresh block of count zero elements with a share count of 1.
    static Block *Allocate(std::size_t count)
    {
        if (count > (static_cast<std::size_t>(-1) - sizeof(Block)) / sizeof(T))
            throw std::bad_alloc();
        void *memory = std::malloc(sizeof(Block) + count * sizeof(T));
        if (!memory)
            throw std::bad_alloc();
        Block *block = new (memory) Block;
        block->shares.store(1, std::memory_order_relaxed);
        block->count = count;
        std::uninitialized_value_construct_n(block->Data(), count);
        return block;
    }

    /// Adds one sharer; returns the block for chaining.
    static Block *Acquire(Block *block)
    {
        block->shares.fetch_add(1, std::memory_order_relaxed);
        return block;
    }

    /// Removes one sharer and frees the block when it was the last one.
    static void Release(Block *block)
    {
        if (block && block->shares.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            block->~Block();
            std::free(block);
        }
    }
};

} // namespace vela_matrix_detail

#endif // VELA_MATRIX_MATRIXBLOCK_H
