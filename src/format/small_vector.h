#pragma once
// A vector of trivially copyable values whose first N elements live inside the object. The
// voice scan builds one parse record per symbol, and nearly every record holds one or two
// pitches and tokens: keeping them inline spares a heap block per record, and the record stays
// as small as with std::vector (the inline elements share their bytes with the heap pointer).
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
    static_assert(N > 0);

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

    size_t size() const { return FSize; }
    bool empty() const { return FSize == 0; }
    size_t capacity() const { return FCapacity; }
    T* data() { return IsInline() ? InlineData() : FHeap; }
    const T* data() const { return IsInline() ? InlineData() : FHeap; }

    iterator begin() { return data(); }
    iterator end() { return data() + FSize; }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + FSize; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    reverse_iterator rbegin() { return reverse_iterator(end()); }
    reverse_iterator rend() { return reverse_iterator(begin()); }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

    T& operator[](size_t I) { return data()[I]; }
    const T& operator[](size_t I) const { return data()[I]; }
    T& at(size_t I) {
        if (I >= FSize) throw std::out_of_range("small vector index");
        return data()[I];
    }
    const T& at(size_t I) const {
        if (I >= FSize) throw std::out_of_range("small vector index");
        return data()[I];
    }
    T& front() { return data()[0]; }
    const T& front() const { return data()[0]; }
    T& back() { return data()[FSize - 1]; }
    const T& back() const { return data()[FSize - 1]; }

    void clear() { FSize = 0; }
    void reserve(size_t ACapacity) {
        if (ACapacity > FCapacity) Grow(ACapacity);
    }
    void push_back(const T& AValue) {
        if (FSize == FCapacity) {
            const T Copy = AValue;  // AValue may be an element of this vector
            Grow(size_t{FCapacity} * 2);
            data()[FSize++] = Copy;
            return;
        }
        data()[FSize++] = AValue;
    }
    template <typename... TArgs>
    T& emplace_back(TArgs&&... AArgs) {
        push_back(T{std::forward<TArgs>(AArgs)...});
        return back();
    }
    void pop_back() { --FSize; }
    void resize(size_t ACount, const T& AValue = T()) {
        reserve(ACount);
        for (size_t I = FSize; I < ACount; ++I) data()[I] = AValue;
        FSize = static_cast<uint32_t>(ACount);
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
        const size_t Count = Items.size();
        if (Count == 0) return begin() + At;
        reserve(FSize + Count);
        T* D = data();
        std::memmove(static_cast<void*>(D + At + Count), D + At, (FSize - At) * sizeof(T));
        std::memcpy(static_cast<void*>(D + At), Items.data(), Count * sizeof(T));
        FSize += static_cast<uint32_t>(Count);
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
        std::memmove(static_cast<void*>(D + From), D + To, (FSize - To) * sizeof(T));
        FSize -= static_cast<uint32_t>(To - From);
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
    bool IsInline() const { return FCapacity == N; }
    T* InlineData() { return std::launder(reinterpret_cast<T*>(FInline)); }
    const T* InlineData() const { return std::launder(reinterpret_cast<const T*>(FInline)); }
    void FreeHeap() {
        if (!IsInline()) ::operator delete(FHeap);
    }
    void Grow(size_t ACapacity) {
        ACapacity = std::max<size_t>(ACapacity, N + 1);
        T* P = static_cast<T*>(::operator new(ACapacity * sizeof(T)));
        std::memcpy(static_cast<void*>(P), data(), FSize * sizeof(T));
        FreeHeap();
        FHeap = P;
        FCapacity = static_cast<uint32_t>(ACapacity);
    }
    void StealFrom(TNuo4SmallVector& AOther) {
        FSize = AOther.FSize;
        FCapacity = AOther.FCapacity;
        if (AOther.IsInline())
            std::memcpy(FInline, AOther.FInline, AOther.FSize * sizeof(T));
        else
            FHeap = AOther.FHeap;
        AOther.FSize = 0;
        AOther.FCapacity = N;
    }

    uint32_t FSize = 0;
    uint32_t FCapacity = N;  // N while the elements are inline; a heap block is always larger
    union {
        alignas(T) unsigned char FInline[N * sizeof(T)];
        T* FHeap;
    };
};

}  // namespace nuo4
