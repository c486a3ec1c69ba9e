// The rules checks of the buffer, over the passes of layout_rules_check.

#include <algorithm>
#include <map>

#include "format/abc_common.h"
#include "format/attach_extend.h"
#include "format/attach_symbols.h"
#include "format/doc_options.h"
#include "layout/buffer_layout_access.h"
#include "layout/buffer_lyrics.h"
#include "layout/layout_rules_check.h"
#include "layout/simple_buffer.h"
#include "layout/symbol_prefetch.h"
#include "render/note_symbol.h"

namespace nuo4 {

namespace {

// An extension symbol whose only character is the square bracket glyph.
bool ExtendIsSquareBracket(const TNuo4Symbol& S) {
    const auto* Rec = static_cast<const TrecNuo4SymbolAttachExtend*>(S.GetSymbolRecPtr());
    if (!Rec) return false;
    TrecNuo4AttachExtendData Data;
    if (!Data.FromABCText(Rec->Text_ABC) || Data.Items.size() != 1) return false;
    const auto& T = Data.Items[0].Text_ABC;
    const std::u16string Chars = ABC_Unescape(T, TKoRange(0, int32_t(T.size())));
    return Chars.size() == 1 && Chars[0] == u'\xF0D4';
}

// For the checks that read attach symbols but not their owners (whose indexes are kept beside
// them): only the symbols ahead, and with bLyricsOnly only lyrics, so that memory is not asked
// for what the check never reads.
void PrefetchAttachAhead(const TNuo4SimpleBuffer& B, int32_t AIndex, bool bLyricsOnly) {
    const int32_t A = AIndex + Nuo4PrefetchFar;
    if (A >= B.Attach_GetCount() || (bLyricsOnly && !B.Attach_IsLyric(A))) return;
    Nuo4PrefetchSymbol(B.AttachBuffer[size_t(A)].get());
}

}  // namespace

void TNuo4SimpleBuffer::RulesCheck_All() {
    // Title block keys and meters.
    RulesCheckResult_Error_TitleBlock_KeyAndMeters =
        FABCBuffer && !FABCBuffer->Section_Title.Buffer.CheckForKeyAndMeters();

    // Lyrics of all verses, each verse in the order of its lyrics.
    std::map<int32_t, std::vector<std::pair<int32_t, TrecNuo4LyricCheckItem>>> Verses;
    for (int32_t A = 0; A < Attach_GetCount(); ++A) {
        PrefetchAttachAhead(*this, A, true);
        if (!Attach_IsLyric(A)) continue;
        const auto& Info = Attach_GetSymbol(A)->CalcInfo.SymbolABCTextInfo;
        Verses[Info.LyricVerseBufIndex()].push_back(
            {Info.LyricPos(), {A, Attach_GetBasicIndex(A)}});
    }
    std::vector<std::vector<TrecNuo4LyricCheckItem>> VerseItems;
    for (auto& [Verse, Items] : Verses) {
        std::stable_sort(Items.begin(), Items.end(),
                         [](const auto& X, const auto& Y) { return X.first < Y.first; });
        std::vector<TrecNuo4LyricCheckItem> V;
        for (const auto& It : Items) V.push_back(It.second);
        VerseItems.push_back(std::move(V));
    }
    // A verse asks note after note through the voice: the notes ahead are asked for early.
    RulesCheckResult_ErrorArray_Lyric = RulesCheck_Lyric_AllVerse(VerseItems, [this](int32_t N) {
        Basic_PrefetchAhead(N);
        return FindNextLyricPos(*this, N).BasicIndex;
    });

    // Braces.
    std::vector<int32_t> Brackets;
    std::vector<TrecNuo4BraceCheckInfo> Braces;
    for (int32_t A = 0; A < Attach_GetCount(); ++A) {
        TNuo4Symbol* S = Attach_GetSymbol(A);
        if (Attach_IsAttachExtend(A) && ExtendIsSquareBracket(*S)) Brackets.push_back(A);
        if (!Attach_IsAttachBrace(A)) continue;
        const auto* Rec = static_cast<const TrecNuo4SymbolAttachBrace*>(S->GetSymbolRecPtr());
        const TNuo4Symbol* Owner = Basic_GetSymbol(Attach_GetBasicIndex(A));
        if (!Rec || !Owner) continue;
        const bool bExtra = (Rec->Style == absZhiKuoHao || Rec->Style == absHuaKuoHao2) &&
                            Rec->Length_ExtraLine > 0;
        Braces.push_back(
            {A, bExtra, S->BoundsWithPos().top() - Rec->Length_ExtraLine, Owner->Pos().y()});
    }
    RulesCheckResult_ErrorArray_AttachBrace =
        RulesCheck_AttachBrace(Brackets, SystemLineInfoArray, Braces);

    // Bar lines.
    const auto& Types = Buffer_BasicTypes(*this);
    std::vector<float> Coefs;
    std::vector<TNuo4BarlineStyle> Styles;
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        const TNuo4Symbol* S = Basic_GetSymbol(I);
        Coefs.push_back(S->AWCoef());
        const auto* Bar = Types[I] == sbstBarline
                              ? static_cast<const TrecNuo4SymbolBarline*>(S->GetSymbolRecPtr())
                              : nullptr;
        Styles.push_back(Bar ? Bar->BarlineStyle : blsNormal);
    }
    RulesCheckResult_ErrorArray_Barline = RulesCheck_Barline(LineInfoArray, Types, Coefs, Styles);

    // Symbols out of the page.
    std::vector<TrecNuo4AttachPlaceInfo> Places;
    for (int32_t A = 0; A < Attach_GetCount(); ++A) {
        PrefetchAttachAhead(*this, A, false);
        Places.push_back({Attach_GetBasicIndex(A), Attach_GetPageIndex(A) >= 0,
                          Attach_GetSymbol(A)->BoundsWithPos()});
    }
    const TrecNuo4DocOptionsParam_Paper& Paper = Nuo4DocOptions().Param_Paper;
    RulesCheckResult_ErrorArray_OutOfPage =
        RulesCheck_OutOfPage(Places, TGPRectF(0, 0, Paper.Width, Paper.Height));

    // Arcs: nothing is checked.
    RulesCheckResult_ErrorArray_Arc.clear();
}

}  // namespace nuo4
