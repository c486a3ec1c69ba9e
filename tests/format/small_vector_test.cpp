#include "format/small_vector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

using namespace nuo4;

namespace {

using TSmall = TNuo4SmallVector<int, 2>;

std::vector<int> AsVector(const TSmall& A) {
    return std::vector<int>(A.begin(), A.end());
}

}  // namespace

// Every operation agrees with std::vector while the elements move between the inline storage
// and the heap in both directions.
template <typename TVec>
void CheckRandomOperations(unsigned ASeed) {
    using T = typename TVec::value_type;
    std::mt19937 G(ASeed);
    for (int Round = 0; Round < 200; ++Round) {
        TVec S;
        std::vector<T> V;
        for (int Step = 0; Step < 40; ++Step) {
            const int Op = static_cast<int>(G() % 8);
            const T X = static_cast<T>(G() % 100);
            if (Op <= 1) {
                S.push_back(X);
                V.push_back(X);
            } else if (Op == 2 && !V.empty()) {
                const size_t At = G() % (V.size() + 1);
                S.insert(S.begin() + At, X);
                V.insert(V.begin() + static_cast<std::ptrdiff_t>(At), X);
            } else if (Op == 3 && !V.empty()) {
                const size_t From = G() % V.size();
                const size_t To = From + G() % (V.size() - From + 1);
                S.erase(S.begin() + From, S.begin() + To);
                V.erase(V.begin() + static_cast<std::ptrdiff_t>(From),
                        V.begin() + static_cast<std::ptrdiff_t>(To));
            } else if (Op == 4) {
                TVec Copy(S);
                S = std::move(Copy);
                EXPECT_TRUE(Copy.empty());
            } else if (Op == 5) {
                const size_t N = G() % 6;
                S.resize(N, X);
                V.resize(N, X);
            } else if (Op == 6 && G() % 8 == 0) {
                S.clear();
                V.clear();
            } else if (Op == 7) {
                S.reserve(G() % 12);
            }
            ASSERT_EQ(std::vector<T>(S.begin(), S.end()), V)
                << "round " << Round << " step " << Step;
            ASSERT_GE(S.capacity(), S.size());
        }
    }
}

TEST(SmallVector, RandomOperationsMatchStdVector) {
    CheckRandomOperations<TSmall>(5);
    // No inline room, and elements wider than the count.
    CheckRandomOperations<TNuo4SmallVector<int64_t, 0>>(6);
    CheckRandomOperations<TNuo4SmallVector<uint8_t, 3>>(7);
}

// A list costs four bytes beside its inline room (or the heap pointer it shares it with) and
// keeps the alignment of its elements, so records of several lists pack without gaps.
TEST(SmallVector, StaysCompact) {
    static_assert(sizeof(TSmall) == 12 && alignof(TSmall) == 4);
    static_assert(sizeof(TNuo4SmallVector<int, 1>) == 12);
    static_assert(sizeof(TNuo4SmallVector<int64_t, 0>) == 16);
    // A list emptied after moving to the heap keeps its block and grows again from there.
    TSmall S{1, 2, 3, 4, 5, 6, 7, 8, 9};
    const size_t Capacity = S.capacity();
    S.clear();
    EXPECT_EQ(S.capacity(), Capacity);
    for (int I = 0; I < 20; ++I) S.push_back(I);
    EXPECT_EQ(S.size(), 20u);
    EXPECT_EQ(S.back(), 19);
    EXPECT_EQ(S.front(), 0);
}

TEST(SmallVector, CopiesAndMovesAreIndependent) {
    TSmall Inline{1, 2};
    TSmall Heap{1, 2, 3, 4, 5};
    TSmall A = Inline, B = Heap;
    A[0] = 9;
    B[0] = 9;
    EXPECT_EQ(AsVector(Inline), (std::vector<int>{1, 2}));
    EXPECT_EQ(AsVector(Heap), (std::vector<int>{1, 2, 3, 4, 5}));
    TSmall C = std::move(B);
    EXPECT_TRUE(B.empty());
    EXPECT_EQ(AsVector(C), (std::vector<int>{9, 2, 3, 4, 5}));
    B.push_back(7);  // a moved-from vector is usable again
    EXPECT_EQ(AsVector(B), (std::vector<int>{7}));
    EXPECT_TRUE(TSmall({1, 2}) == Inline);
    EXPECT_FALSE(TSmall({1, 2, 3}) == Inline);
}

// Elements of the vector itself may be appended or inserted, also when that makes it grow.
TEST(SmallVector, OwnElementsCanBeAddedWhileGrowing) {
    TSmall S{4, 5};
    S.push_back(S[0]);
    EXPECT_EQ(AsVector(S), (std::vector<int>{4, 5, 4}));
    S.insert(S.begin(), S.begin(), S.end());
    EXPECT_EQ(AsVector(S), (std::vector<int>{4, 5, 4, 4, 5, 4}));
}
