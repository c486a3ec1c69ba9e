// Attachment item lines on arbitrary text: nothing may crash, every range stays inside the
// line, and what the writer writes reads back to an item that is written the same way.
#include <cstddef>
#include <cstdint>

#include "format/section_attachments.h"
#include "fuzz_input.h"

using namespace nuo4;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    const fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    const std::u16string& Text = In.Text;
    const TKoRange All(0, static_cast<int32_t>(Text.size()));
    TrecNuo4SectiontItemWithParseInfo_Attachments Item;
    int32_t End;
    if (!ReadAttachmentItem(Text, All, Item, End)) return 0;
    NUO4_FUZZ_CHECK(End >= 0 && End < All.Length);
    NUO4_FUZZ_CHECK(Item.Header.ABCTextRange.EndIndex() == End);
    for (const auto& T : Item.Header.TokenItems)
        NUO4_FUZZ_CHECK(T.ABCTextRange.IsValid() && T.ABCTextRange.EndIndex() <= End);
    const auto Rewrite = [](const std::u16string& S) {
        TrecNuo4SectiontItemWithParseInfo_Attachments Back;
        int32_t E;
        NUO4_FUZZ_CHECK(
            ReadAttachmentItem(S, TKoRange(0, static_cast<int32_t>(S.size())), Back, E));
        return Back.Value.ToABCText();
    };
    const std::u16string W1 = Item.Value.ToABCText();
    NUO4_FUZZ_CHECK(Rewrite(W1) == W1);
    TrecNuo4AttachExtendData Data;
    if (const auto* E = Item.Value.IsExtend()) NUO4_FUZZ_CHECK(E->GetData(Data));
    return 0;
}
