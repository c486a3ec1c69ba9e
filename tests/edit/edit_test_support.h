#pragma once
// Scores built from a voice text (and optional attachments), a caret or selection installed in
// the buffer, and the text after applying an answer.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "edit/edit_apply.h"
#include "edit/edit_voice.h"
#include "format/abc_buffer.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

namespace nuo4::test {

inline std::string U8(const std::u16string& S) {
    std::string R;
    for (char16_t C : S) {
        if (C < 0x80) {
            R += char(C);
        } else if (C < 0x800) {
            R += char(0xC0 | (C >> 6));
            R += char(0x80 | (C & 0x3F));
        } else {
            R += char(0xE0 | (C >> 12));
            R += char(0x80 | ((C >> 6) & 0x3F));
            R += char(0x80 | (C & 0x3F));
        }
    }
    return R;
}

inline std::u16string U16(const std::string& S) {
    return std::u16string(S.begin(), S.end());
}

class EditTest : public ::testing::Test {
  public:
    void SetUp() override { Nuo4Render_Init(); }

    // ".Voice" with the voice on one line, then the attachments section when given.
    TNuo4SimpleBuffer& Build(const std::string& AVoice, const std::string& AAttachments = "") {
        std::u16string T = u".Voice\r" + U16(AVoice) + u"\r";
        if (!AAttachments.empty()) T += u".Attachments\r" + U16(AAttachments) + u"\r";
        return BuildText(T);
    }
    TNuo4SimpleBuffer& BuildText(const std::u16string& AText) {
        FBuf.reset();
        FABC = std::make_unique<TNuo4ABCBuffer>(AText);
        FBuf = std::make_unique<TNuo4SimpleBuffer>(FABC.get());
        return *FBuf;
    }
    void Caret(int32_t AIndex, bool bRight) {
        FBuf->InternalStatus.Selection.CaretPos_Start = {AIndex, bRight};
        FBuf->InternalStatus.Selection.CaretPos_End = {AIndex, bRight};
    }
    // Symbols AFirst ... ALast selected, caret at the right of the last.
    void Select(int32_t AFirst, int32_t ALast) {
        FBuf->InternalStatus.Selection.CaretPos_Start = {AFirst, false};
        FBuf->InternalStatus.Selection.CaretPos_End = {ALast, true};
    }
    // The whole text after applying the items.
    std::u16string Applied(const TNuo4ABCTextReplaceItems& AItems) const {
        std::u16string T = FABC->ABCText();
        EXPECT_TRUE(ApplyTextReplaceItems(T, AItems));
        return T;
    }
    // The first voice line after applying (what the tests write as the voice).
    std::string Voice(const TNuo4ABCTextReplaceItems& AItems) const {
        const std::u16string T = Applied(AItems);
        const size_t S = T.find(u".Voice\r");
        if (S == std::u16string::npos) return U8(T);
        const size_t A = S + 7;
        const size_t Z = T.find(u'\r', A);
        return U8(T.substr(A, Z == std::u16string::npos ? std::u16string::npos : Z - A));
    }
    // The lines after the attachments header, joined with "|".
    std::string Attachments(const TNuo4ABCTextReplaceItems& AItems) const {
        const std::u16string T = Applied(AItems);
        const size_t S = T.find(u".Attachments\r");
        if (S == std::u16string::npos) return "";
        std::string R = U8(T.substr(S + 13));
        while (!R.empty() && R.back() == '\r') R.pop_back();
        for (char& C : R)
            if (C == '\r') C = '|';
        return R;
    }

    std::unique_ptr<TNuo4ABCBuffer> FABC;
    std::unique_ptr<TNuo4SimpleBuffer> FBuf;
};

}  // namespace nuo4::test
