// Applying one answer's replacements: order at equal positions, refusal of items that do
// not fit the text, line breaks of new texts.
#include "edit/edit_apply.h"

#include <gtest/gtest.h>

using namespace nuo4;

namespace {

TrecNuo4ABCTextReplaceItem Item(int32_t AStart, int32_t ALength, std::u16string AText) {
    TrecNuo4ABCTextReplaceItem R;
    R.Initialize(TKoRange(AStart, ALength), std::move(AText));
    return R;
}

TNuo4ABCTextReplaceItems Items(std::initializer_list<TrecNuo4ABCTextReplaceItem> AList) {
    TNuo4ABCTextReplaceItems R;
    for (const auto& I : AList) R.push_back(I);  // invalid ones too: the applier must cope
    return R;
}

struct TApplyCase {
    const char* Name;
    std::u16string Text;
    TNuo4ABCTextReplaceItems Items;
    bool bApplied;
    std::u16string Result;  // the text after (unchanged when refused)
};

TEST(ApplyTextReplaceItems, AppliesOrRefusesWholeAnswers) {
    const std::vector<TApplyCase> Cases = {
        {"insert and delete far apart", u"1 2 | 3", Items({Item(3, 0, u"3"), Item(0, 2, u"")}),
         true, u"23 | 3"},
        {"insertions at one position keep answer order", u"ab",
         Items({Item(1, 0, u"_"), Item(1, 0, u")")}), true, u"a_)b"},
        {"the same in the other order", u"ab", Items({Item(1, 0, u")"), Item(1, 0, u"_")}), true,
         u"a)_b"},
        {"insertion before a replacement at its start", u"abcd",
         Items({Item(1, 2, u"X"), Item(1, 0, u"(")}), true, u"a(Xd"},
        {"insertion at a replacement's end", u"abcd", Items({Item(1, 2, u"X"), Item(3, 0, u")")}),
         true, u"aX)d"},
        {"append at the text end", u"ab", Items({Item(2, 0, u"c")}), true, u"abc"},
        {"CR LF in a new text becomes CR", u"ab", Items({Item(1, 0, u"\r\n  ")}), true, u"a\r  b"},
        {"empty item skipped", u"ab", Items({Item(1, 0, u"")}), true, u"ab"},
        {"past the end refused", u"ab", Items({Item(0, 1, u"x"), Item(1, 5, u"")}), false, u"ab"},
        {"negative start refused", u"ab", Items({Item(-1, 1, u"x")}), false, u"ab"},
        {"overlapping ranges refused", u"abcd", Items({Item(0, 2, u"x"), Item(1, 2, u"y")}), false,
         u"abcd"},
        {"two ranges at one start refused", u"abcd", Items({Item(1, 1, u"x"), Item(1, 2, u"y")}),
         false, u"abcd"},
        {"insertion inside a replaced range refused", u"abcd",
         Items({Item(0, 3, u"x"), Item(1, 0, u"y")}), false, u"abcd"},
    };
    for (const TApplyCase& C : Cases) {
        std::u16string Text = C.Text;
        std::string Error;
        EXPECT_EQ(ApplyTextReplaceItems(Text, C.Items, &Error), C.bApplied) << C.Name;
        EXPECT_EQ(Text, C.Result) << C.Name;
        EXPECT_EQ(Error.empty(), C.bApplied) << C.Name;
    }
}

}  // namespace
