// Arcs written in the voice, accompaniment markers, control options and long rests.
#include "edit_test_support.h"

using namespace nuo4;
using namespace nuo4::test;

namespace {

class Arcs : public EditTest {};
class Markers : public EditTest {};

}  // namespace

TEST_F(Arcs, AddedArcsOpenLongerArcsFirstAndNeverCross) {
    struct {
        const char* Voice;
        int32_t Start, End;
        bool bTuplet;
        const char* Expected;  // nullptr: refused
    } Cases[] = {
        {"1 2 3", 0, 2, false, "(1 2 3)"},
        {"1 2 3", 0, 2, true, "{(3}1 2 3)"},
        {"1 | 2", 0, 2, true, "{(2}1 | 2)"},  // the tuplet counts notes only
        // Nested from the same start note: the shorter arc's mark comes after the longer's.
        {"{(3}1 2 3)", 0, 1, false, "{(3}(1 2) 3)"},
        {"(1 2) 3", 0, 2, true, "{(3}(1 2) 3)"},
        // A shared end: the new ")" goes before the existing run.
        {"1 (2 3)", 0, 2, false, "(1 (2 3))"},
        {"(1 2 3) 4", 1, 3, false, nullptr},  // crosses
        {"1 (2 3 4)", 0, 2, false, nullptr},  // crosses
        {"(1 2)", 0, 1, false, nullptr},      // exists
        {"1 | 2", 0, 1, false, nullptr},      // not a note
        {"1 2{C:1.500} 3", 0, 1, false, "(1 2{C:1.500}) 3"},
    };
    for (const auto& C : Cases) {
        Build(C.Voice);
        TNuo4ABCTextReplaceItems It;
        const bool bOk =
            CanAddArc_Range(*FBuf, TKoRange::FromStartEnd(C.Start, C.End), C.bTuplet, It);
        if (!C.Expected) {
            EXPECT_FALSE(bOk) << C.Voice;
            continue;
        }
        ASSERT_TRUE(bOk) << C.Voice;
        EXPECT_EQ(Voice(It), C.Expected) << C.Voice;
    }
}

TEST_F(Arcs, ToggleDeleteExtendAndInfo) {
    Build("(1 (2 3)) 4");
    TNuo4ABCTextReplaceItems It;
    // Deleting an arc removes exactly its two marks.
    ASSERT_TRUE(CanToggleArc_Range(*FBuf, TKoRange(0, 3), false, It));
    EXPECT_EQ(Voice(It), "1 (2 3) 4");
    ASSERT_TRUE(CanDeleteArc(*FBuf, 1, 2, It));
    EXPECT_EQ(Voice(It), "(1 2 3) 4");
    EXPECT_FALSE(CanDeleteArc(*FBuf, 0, 1, It));
    // Extending moves the end to the next note that admits it.
    Build("(1 2) | 3");
    ASSERT_TRUE(CanExtendArc_From(*FBuf, 0, It));
    EXPECT_EQ(Voice(It), "(1 2 | 3)");
    EXPECT_FALSE(CanExtendArc_From(*FBuf, 1, It));
    // An arc from a note without one ends at the first later note.
    Build("1 | 2 3");
    ASSERT_TRUE(CanAddArc_From(*FBuf, 0, It));
    EXPECT_EQ(Voice(It), "(1 | 2) 3");
    // The start mark takes new properties.
    Build("(1 2) 3");
    TrecNuo4ArcABCInfo Info;
    Info.TupletNumber = 3;
    ASSERT_EQ(FBuf->ArcInfoArray.size(), 1u);
    ASSERT_TRUE(CanSetArcABCInfo(*FBuf, 0, Info, It));
    EXPECT_EQ(Voice(It), "{(3}1 2) 3");
    // The selection form clears the selection to its tail.
    Build("1 2 3");
    Select(0, 2);
    TrecNuo4EditResult R;
    ASSERT_TRUE(CanToggleArc_Selection(*FBuf, false, R));
    EXPECT_EQ(Voice(R.Items), "(1 2 3)");
    EXPECT_TRUE(R.NewSelection.IsEmpty());
    EXPECT_EQ(R.NewSelection.CaretPos_End, (TrecNuo4CaretPos_Index{2, true}));
}

TEST_F(Markers, AccompanimentAroundARun) {
    Build("1 2 3", "Text@@3(0,-2.5) = AttachText1, x");
    TNuo4ABCTextReplaceItems It;
    ASSERT_TRUE(CanConvetRange_ToAccomp(*FBuf, TKoRange(1, 1), It));
    EXPECT_EQ(Voice(It), "1  ( 2 )  3");
    // The note 3 moves two symbols right with the markers.
    EXPECT_EQ(Attachments(It), "Text@@5(0,-2.5) = AttachText1, x");
    Build("( 1 2 ) 3", "Text@@5(0,-2.5) = AttachText1, x");
    EXPECT_FALSE(CanConvetRange_ToAccomp(*FBuf, TKoRange(2, 3), It));
    EXPECT_FALSE(CanConvetRange_ToNonAccomp(*FBuf, TKoRange(1, 2), It));
    ASSERT_TRUE(CanConvetRange_ToNonAccomp(*FBuf, TKoRange(0, 4), It));
    EXPECT_EQ(Voice(It), " 1 2  3");
    EXPECT_EQ(Attachments(It), "Text@@3(0,-2.5) = AttachText1, x");
    Select(0, 3);
    TrecNuo4EditResult R;
    ASSERT_TRUE(CanToggleAccompMarker_Selection(*FBuf, R));
    EXPECT_EQ(Voice(R.Items), " 1 2  3");
}

TEST_F(Markers, ControlOptionsAndHideLevel) {
    // The level that hides everything is written by what stays visible: "None".
    Build("1_) | 2{C:1.500} 3/4");
    TNuo4ABCTextReplaceItems It;
    ASSERT_TRUE(CanChangeHideLevel(*FBuf, 0, shlAll, It));
    EXPECT_EQ(Voice(It), "1_{C:0,None}) | 2{C:1.500} 3/4");
    // The existing spacing lock stays when the hide level is written.
    ASSERT_TRUE(CanChangeHideLevel(*FBuf, 2, shlAll, It));
    EXPECT_EQ(Voice(It), "1_) | 2{C:1.500,None} 3/4");
    ASSERT_TRUE(CanChangeHideLevel_Range(*FBuf, TKoRange(1, 3), shlAll, It));
    EXPECT_EQ(Voice(It), "1_) |{C:0,None} 2{C:1.500,None} 3/4{C:0,None}");
    // Default options remove the group.
    ASSERT_TRUE(CanChangeControlOptions(*FBuf, 2, TrecNuo4SymbolControlOptions(), It));
    EXPECT_EQ(Voice(It), "1_) | 2 3/4");
    EXPECT_FALSE(CanChangeControlOptions(*FBuf, 0, TrecNuo4SymbolControlOptions(), It));
}

TEST_F(Markers, LongRestAddsBothItemsInOneNewSectionAndHidesTheMeasure) {
    Build("1 2 3 4 | 5 $");
    Caret(1, true);
    TrecNuo4EditResult R;
    ASSERT_TRUE(LongRest_CanAdd_SelectionOrCaret(*FBuf, u"4", R));
    EXPECT_EQ(Voice(R.Items), "1{C:0,None} 2{C:0,None} 3{C:0,None} 4{C:0,None} | 5 $");
    const std::u16string T = Applied(R.Items);
    size_t Headers = 0;
    for (size_t P = T.find(u".Attachments"); P != std::u16string::npos;
         P = T.find(u".Attachments", P + 1))
        ++Headers;
    EXPECT_EQ(Headers, 1u);
    // Both items read back and belong to the first note.
    BuildText(T);
    int32_t Owned = 0;
    for (int32_t A = 0; A < FBuf->Attach_GetCount(); ++A)
        if (FBuf->Attach_GetSymbol(A)->CalcInfo.SymbolABCTextInfo.aType ==
            spwabtSectionAttachments) {
            EXPECT_EQ(FBuf->Attach_GetBasicIndex(A), 0);
            ++Owned;
        }
    EXPECT_EQ(Owned, 2);
    EXPECT_TRUE(FBuf->Basic_GetSymbol(1)->Hided());
}

TEST_F(Arcs, HighlightFormsActOnTheHighlightedSymbolAndKeepIt) {
    using TForm = bool (*)(const TNuo4SimpleBuffer&, TrecNuo4EditResult&);
    const TForm SetInfo = [](const TNuo4SimpleBuffer& B, TrecNuo4EditResult& R) {
        TrecNuo4ArcABCInfo Info;
        Info.TupletNumber = 3;
        return CanSetArcABCInfo_Highlight(B, Info, R);
    };
    const struct {
        const char* Voice;
        TForm Form;
        int32_t Basic;         // the highlighted basic symbol, or -1
        bool bArc;             // the highlight is the first arc symbol instead
        const char* Expected;  // nullptr: refused
    } Cases[] = {
        {"1 | 2 3", &CanAddArc_From_Highlight, 0, false, "(1 | 2) 3"},
        {"1 2 3", &CanAddArc_From_Highlight, 2, false, nullptr},    // no later note
        {"(1 2) 3", &CanAddArc_From_Highlight, 0, false, nullptr},  // an arc starts here
        {"(1 2) 3", &CanAddArc_From_Highlight, -1, true, nullptr},  // no basic highlight
        {"(1 2) | 3", &CanExtendArc_From_Highlight, 0, false, "(1 2 | 3)"},
        {"(1 2) 3", &CanExtendArc_From_Highlight, 1, false, nullptr},
        {"(1 2) 3", &CanExtendArc_From_Highlight, -1, true, nullptr},
        {"(1 2) 3", SetInfo, -1, true, "{(3}1 2) 3"},
        {"(1 2) 3", SetInfo, 0, false, nullptr},  // a note is no arc
    };
    for (const auto& C : Cases) {
        Build(C.Voice);
        TrecNuo4Highlight H;
        if (C.bArc) {
            for (int32_t A = 0; A < FBuf->Attach_GetCount() && H.IsEmpty(); ++A)
                if (FBuf->Attach_GetSymbol(A)->GetSymbolType() == sbstArc)
                    H = TrecNuo4Highlight::Attach(A);
            ASSERT_FALSE(H.IsEmpty()) << C.Voice;
        } else if (C.Basic >= 0) {
            H = TrecNuo4Highlight::Basic(C.Basic);
        }
        FBuf->InternalStatus.Highlight = H;
        TrecNuo4EditResult R;
        R.WithSelection(TrecNuo4Selection());  // a stale answer must not survive
        const bool bOk = C.Form(*FBuf, R);
        EXPECT_EQ(bOk, R.bAccepted) << C.Voice;
        if (!C.Expected) {
            EXPECT_FALSE(bOk) << C.Voice;
            EXPECT_TRUE(R.Items.empty() && !R.bWithSelection && !R.bWithHighlight) << C.Voice;
            continue;
        }
        ASSERT_TRUE(bOk) << C.Voice;
        EXPECT_EQ(Voice(R.Items), C.Expected) << C.Voice;
        // The marks change no index: the same symbol stays highlighted.
        EXPECT_TRUE(R.bWithHighlight) << C.Voice;
        EXPECT_EQ(R.NewHighlight.BasicIndex, H.BasicIndex) << C.Voice;
        EXPECT_EQ(R.NewHighlight.AttachIndex, H.AttachIndex) << C.Voice;
    }
}
