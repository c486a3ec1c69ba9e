// Drags of attachments turned into text: moves, copies and resizes, and what is refused.
#include "edit/edit_attach_drag.h"
#include "edit_test_support.h"
#include "format/doc_options.h"

namespace nuo4::test {
namespace {

class AttachDrag : public EditTest {
  public:
    // The attach symbol drawn for attachments item AItem; -1 when there is none.
    int32_t AttachOfItem(int32_t AItem) const {
        for (int32_t A = 0; A < FBuf->Attach_GetCount(); ++A) {
            const auto& Info = FBuf->Attach_GetSymbol(A)->CalcInfo.SymbolABCTextInfo;
            if (Info.aType == spwabtSectionAttachments && Info.AttachmentsBufIndex() == AItem)
                return A;
        }
        return -1;
    }
};

TEST_F(AttachDrag, MovesCopiesAndResizesTheItem) {
    struct TCase {
        const char* Voice;
        const char* Attachments;
        TNuo4AttachDragAction Action;
        double DigitsX, DigitsY;  // the pointer's offset in digit widths and heights
        const char* Expected;     // the attachments lines after the edit; "" refused
    };
    const TCase Cases[] = {
        // A move writes only the offset; the value stays as written.
        {"1 2 3", "Text@@3(0,-2.5) = AttachText1, x", adaMove, 2, -1,
         "Text@@3(2.00,-3.50) = AttachText1, x"},
        {"1 2 3", "Text@@1(0.25,0) = AttachText1, x", adaMove, -0.5, 0.5,
         "Text@@1(-0.25,0.50) = AttachText1, x"},
        // A copy goes on the next line at the moved place; the original stays.
        {"1 2 3", "Text@@3(0,-2.5) = AttachText1, x", adaDuplicate, 1, 0,
         "Text@@3(0,-2.5) = AttachText1, x|Text@@3(1.00,-2.50) = AttachText1, x, {}, [], "
         "$ff000000"},
        // Resizing by one digit (2.4 mm): the right end changes the length in millimetres, the
        // left end also moves the offset.
        {"1 2 3", "Dynamic@@1(0.5,-2.5) = 15, True", adaResizeToRight, 1, 3,
         "Dynamic@@1(0.50,-2.50) = 17.40, True, False, True"},
        {"1 2 3", "Dynamic@@1(0.5,-2.5) = 15, True", adaResizeToLeft, -1, 0,
         "Dynamic@@1(-0.50,-2.50) = 17.40, True, False, True"},
        // Below the least length, a kind without a length, a move the text cannot show.
        {"1 2 3", "Dynamic@@1(0.5,-2.5) = 15, True", adaResizeToLeft, 0, 0, ""},
        {"1 2 3", "Text@@3(0,-2.5) = AttachText1, x", adaResizeToRight, 3, 0, ""},
        {"1 2 3", "Text@@3(0,-2.5) = AttachText1, x", adaMove, 0.001, 0.001, ""},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(std::string(C.Attachments) + " " + EnumName(C.Action));
        Build(C.Voice, C.Attachments);
        const TNuo4SizeF D = Nuo4DocOptions().GetNormalStyleDigitSize();
        const int32_t A = AttachOfItem(0);
        ASSERT_GE(A, 0);
        TrecNuo4EditResult R;
        const bool bOk = CanDragAttachSymbol(
            *FBuf, A, C.Action, TGPPointF(C.DigitsX * D.Width, C.DigitsY * D.Height), R);
        EXPECT_EQ(bOk, *C.Expected != 0);
        EXPECT_EQ(R.bAccepted, bOk);
        if (bOk) EXPECT_EQ(Attachments(R.Items), C.Expected);
        if (!bOk) EXPECT_TRUE(R.Items.empty());
    }
    // The length may not fall below the kind's least one: 15 mm pulled in by 14 mm.
    Build("1 2 3", "Dynamic@@1(0.5,-2.5) = 15, True");
    TrecNuo4EditResult R;
    EXPECT_FALSE(CanDragAttachSymbol(*FBuf, AttachOfItem(0), adaResizeToRight, {-14, 0}, R));
    // Symbols written in the voice (a slur) have no item to move.
    Build("(1 2) 3");
    ASSERT_GT(FBuf->Attach_GetCount(), 0);
    EXPECT_FALSE(CanDragAttachSymbol(*FBuf, 0, adaMove, {5, 5}, R));
    EXPECT_FALSE(CanDragAttachSymbol(*FBuf, -1, adaMove, {5, 5}, R));

    // Page symbols move in millimetres of the page; a copy keeps the original.
    const std::u16string Memo = u"Memo@1,20,30 = 60, Memo2, AlignCenter, True, a";
    BuildText(u".Voice\r1 2 3\r.Page\r" + Memo + u"\r");
    ASSERT_EQ(FBuf->PageBuffer_GetCount(), 1);
    ASSERT_TRUE(CanDragPageSymbol(*FBuf, 0, false, {5.5, -10}, R));
    EXPECT_EQ(Applied(R.Items),
              u".Voice\r1 2 3\r.Page\rMemo@1,25.50,20.00 = 60, Memo2, AlignCenter, True, a\r");
    ASSERT_TRUE(CanDragPageSymbol(*FBuf, 0, true, {0, 2}, R));
    const std::u16string Copied = Applied(R.Items);
    EXPECT_NE(Copied.find(Memo + u"\rMemo@1,20.00,32.00 = "), std::u16string::npos);
    EXPECT_FALSE(CanDragPageSymbol(*FBuf, 0, false, {0.001, 0}, R));
    EXPECT_FALSE(CanDragPageSymbol(*FBuf, 1, false, {5, 5}, R));
}

}  // namespace
}  // namespace nuo4::test
