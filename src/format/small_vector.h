#pragma once
// A vector of trivially copyable values whose first N elements live inside the object. The
// voice scan builds one parse record per symbol, and nearly every record holds one or two
// pitches and tokens: keeping them inline spares a heap block per record. The inline elements
// share their bytes with the heap pointer and a heap block holds its own capacity, so a list
// costs four bytes beside its inline room and keeps the alignment of its elements: the records
// of a long voice stay small enough to be built and freed without streaming through memory.
// The interface is the part of std::vector the code uses; iterators are plain pointers.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace nuo4 {

template <typename T, uint32_t N>
class TNuo4SmallVector {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "elements are moved with memcpy and never destroyed");

  public:
    using value_type = T;
    using size_type = size_t;
    using difference_type = std::ptrdiff_t;
    using reference = T&;
    using const_reference = const T&;
    using pointer = T*;
    using const_pointer = const T*;
    using iterator = T*;
    using const_iterator = const T*;
    using reverse_iterator = std::reverse_iterator<iterator>;
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    TNuo4SmallVector() = default;
    TNuo4SmallVector(std::initializer_list<T> AItems) { assign(AItems.begin(), AItems.end()); }
    template <typename It, typename = typename std::iterator_traits<It>::iterator_category>
    TNuo4SmallVector(It AFirst, It ALast) {
        assign(AFirst, ALast);
    }
    explicit TNuo4SmallVector(size_t ACount, const T& AValue = T()) { resize(ACount, AValue); }
    TNuo4SmallVector(const TNuo4SmallVector& AOther) { assign(AOther.begin(), AOther.end()); }
    TNuo4SmallVector(TNuo4SmallVector&& AOther) noexcept { StealFrom(AOther); }
    ~TNuo4SmallVector() { FreeHeap(); }

    TNuo4SmallVector& operator=(const TNuo4SmallVector& AOther) {
        if (this != &AOther) assign(AOther.begin(), AOther.end());
        return *this;
    }
    TNuo4SmallVector& operator=(TNuo4SmallVector&& AOther) noexcept {
        if (this != &AOther) {
            FreeHeap();
            StealFrom(AOther);
        }
        return *this;
    }
    TNuo4SmallVector& operator=(std::initializer_list<T> AItems) {
        assign(AItems.begin(), AItems.end());
        return *this;
    }

    size_t size() const { return Count(); }
    bool empty() const { return Count() == 0; }
    size_t capacity() const { return IsInline() ? N : HeapCapacity(); }
    T* data() { return IsInline() ? InlineData() : HeapData(); }
    const T* data() const { return IsInline() ? InlineData() : HeapData(); }

    iterator begin() { return data(); }
    iterator end() { return data() + Count(); }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + Count(); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    reverse_iterator rbegin() { return reverse_iterator(end()); }
    reverse_iterator rend() { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

    T& operator[](size_t I) { return data()[I]; }
    const T& operator[](size_t I) const { return data()[I]; }
    T& at(size_t I) {
        if (I >= Count()) throw std::out_of_range("small vector index");
        return data()[I];
    }
    const T& at(size_t I) const {
        if (I >= Count()) throw std::out_of_range("small vector index");
        return data()[I];
    }
    T& front() { return data()[0]; }
    const T& front() const { return data()[0]; }
    T& back() { return data()[Count() - 1]; }
    const T& back() const { return data()[Count() - 1]; }

    void clear() { SetCount(0); }
    void reserve(size_t ACapacity) {
        if (ACapacity > capacity()) Grow(ACapacity);
    }
    void push_back(const T& AValue) {
        const uint32_t Size = Count();
        const size_t Capacity = capacity();
        if (Size == Capacity) {
            const T Copy = AValue;  // AValue may be an element of this vector
            Grow(Capacity * 2);
            data()[Size] = Copy;
        } else {
            data()[Size] = AValue;
        }
        ++FSize;  // the count is the low bits: the heap flag stays
    }
    template <typename... TArgs>
    T& emplace_back(TArgs&&... AArgs) {
        push_back(T{std::forward<TArgs>(AArgs)...});
        return back();
    }
    void pop_back() { --FSize; }
    void resize(size_t ACount, const T& AValue = T()) {
        reserve(ACount);
        for (size_t I = Count(); I < ACount; ++I) data()[I] = AValue;
        SetCount(ACount);
    }
    template <typename It>
    void assign(It AFirst, It ALast) {
        clear();
        for (; AFirst != ALast; ++AFirst) push_back(*AFirst);
    }
    void assign(size_t ACount, const T& AValue) {
        clear();
        resize(ACount, AValue);
    }

    iterator insert(const_iterator APos, const T& AValue) {
        return insert(APos, &AValue, &AValue + 1);
    }
    template <typename It, typename = typename std::iterator_traits<It>::iterator_category>
    iterator insert(const_iterator APos, It AFirst, It ALast) {
        const size_t At = static_cast<size_t>(APos - begin());
        // Copied first: the source may lie inside this vector.
        TNuo4SmallVector Items;
        for (; AFirst != ALast; ++AFirst) Items.push_back(*AFirst);
        const size_t Added = Items.size();
        if (Added == 0) return begin() + At;
        const size_t Size = Count();
        reserve(Size + Added);
        T* D = data();
        std::memmove(static_cast<void*>(D + At + Added), D + At, (Size - At) * sizeof(T));
        std::memcpy(static_cast<void*>(D + At), Items.data(), Added * sizeof(T));
        SetCount(Size + Added);
        return begin() + At;
    }
    iterator insert(const_iterator APos, std::initializer_list<T> AItems) {
        return insert(APos, AItems.begin(), AItems.end());
    }
    iterator erase(const_iterator APos) { return erase(APos, APos + 1); }
    iterator erase(const_iterator AFirst, const_iterator ALast) {
        const size_t From = static_cast<size_t>(AFirst - begin());
        const size_t To = static_cast<size_t>(ALast - begin());
        if (From >= To) return begin() + From;
        T* D = data();
        const size_t Size = Count();
        std::memmove(static_cast<void*>(D + From), D + To, (Size - To) * sizeof(T));
        SetCount(Size - (To - From));
        return begin() + From;
    }
    void swap(TNuo4SmallVector& AOther) noexcept {
        TNuo4SmallVector Tmp(std::move(AOther));
        AOther = std::move(*this);
        *this = std::move(Tmp);
    }

    friend bool operator==(const TNuo4SmallVector& A, const TNuo4SmallVector& B) {
        return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin());
    }

  private:
    // The heap block starts with its capacity; the elements follow at HeapOffset.
    static constexpr size_t HeapOffset = alignof(T) > sizeof(uint32_t) ? alignof(T)
                                                                       : sizeof(uint32_t);
    static constexpr uint32_t HeapBit = 0x80000000u;
    static constexpr size_t StorageBytes = N * sizeof(T) > sizeof(T*) ? N * sizeof(T) : sizeof(T*);

    bool IsInline() const { return (FSize & HeapBit) == 0; }
    uint32_t Count() const { return FSize & ~HeapBit; }
    void SetCount(size_t ACount) { FSize = (FSize & HeapBit) | static_cast<uint32_t>(ACount); }
    T* InlineData() { return std::launder(reinterpret_cast<T*>(FStorage)); }
    const T* InlineData() const { return std::launder(reinterpret_cast<const T*>(FStorage)); }
    // The heap pointer shares the inline bytes, copied rather than typed: the object keeps the
    // alignment of T, so that a record of several lists packs tightly.
    unsigned char* HeapBlock() const {
        unsigned char* P;
        std::memcpy(&P, FStorage, sizeof(P));
        return P;
    }
    T* HeapData() const { return std::launder(reinterpret_cast<T*>(HeapBlock() + HeapOffset)); }
    uint32_t HeapCapacity() const {
        uint32_t C;
        std::memcpy(&C, HeapBlock(), sizeof(C));
        return C;
    }
    void FreeHeap() {
        if (!IsInline()) ::operator delete(HeapBlock());
    }
    void Grow(size_t ACapacity) {
        ACapacity = std::max<size_t>(ACapacity, N + 1);
        if (ACapacity > (HeapBit - 1)) throw std::length_error("small vector size");
        auto* Block =
            static_cast<unsigned char*>(::operator new(HeapOffset + ACapacity * sizeof(T)));
        const auto C = static_cast<uint32_t>(ACapacity);
        std::memcpy(Block, &C, sizeof(C));
        const uint32_t Size = Count();
        std::memcpy(static_cast<void*>(Block + HeapOffset), data(), Size * sizeof(T));
        FreeHeap();
        std::memcpy(FStorage, &Block, sizeof(Block));
        FSize = Size | HeapBit;
    }
    void StealFrom(TNuo4SmallVector& AOther) {
        FSize = AOther.FSize;
        // All of the bytes: a fixed size copies without a call, and unused ones do no harm.
        std::memcpy(FStorage, AOther.FStorage, StorageBytes);
        AOther.FSize = 0;
    }

    uint32_t FSize = 0;  // the element count; HeapBit while the elements live on the heap
    alignas(T) unsigned char FStorage[StorageBytes];
};

}  // namespace nuo4
