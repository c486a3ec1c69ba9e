// Edit requests on a mutated score: the bytes up to the first NUL are the score, each later
// group of four bytes asks one request (kind, caret, selection length, argument) of the buffer
// built from the current text. An accepted answer must apply cleanly (in the text, no
// overlapping items), and the rebuilt buffer must keep every attach symbol on an owner.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "edit/edit_apply.h"
#include "edit/edit_voice.h"
#include "format/abc_buffer.h"
#include "fuzz_input.h"
#include "gen/edit_request_gen.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

constexpr size_t MaxInputBytes = 4000;
constexpr int MaxRequests = 6;

void EnsureApplication() {
    static QGuiApplication* App = nullptr;
    if (App) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int Argc = 1;
    static char Name[] = "fuzz_edit";
    static char* Argv[] = {Name, nullptr};
    App = new QGuiApplication(Argc, Argv);
    Nuo4Render_Init();
    std::atexit([] { Nuo4Render_Done(); });
}

void CheckOwners(const TNuo4SimpleBuffer& B) {
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A)
        NUO4_FUZZ_CHECK(B.Basic_CheckIndex(B.Attach_GetBasicIndex(A)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    if (ASize > MaxInputBytes) return 0;
    EnsureApplication();
    const std::string_view Bytes(reinterpret_cast<const char*>(AData), ASize);
    const size_t Nul = Bytes.find('\0');
    std::u16string Text = ABC_FromUtf8(Bytes.substr(0, Nul));
    std::string_view Ops =
        Nul == std::string_view::npos ? std::string_view() : Bytes.substr(Nul + 1);
    TrecNuo4EditState State;
    for (int K = 0; K < MaxRequests && Ops.size() >= 4; ++K, Ops.remove_prefix(4)) {
        const auto U = [&](size_t I) { return static_cast<uint8_t>(Ops[I]); };
        auto ABC = std::make_unique<TNuo4ABCBuffer>(Text);
        TNuo4SimpleBuffer B(ABC.get());
        CheckOwners(B);
        State.bAutoInsertBarline = U(0) & 0x80;
        State.bUseOldDVGroupOrder = U(0) & 0x40;
        State.ConsecutiveNoteCount = U(3) >> 5;
        gen::PlaceCaret(B, U(1), (U(2) >> 4) % 8);
        TrecNuo4EditResult R;
        std::string Name;
        const bool bOk =
            gen::RunEditRequest(B, State, U(0) & 0x3F, U(3) | ((U(2) & 0xF) << 8), R, Name);
        NUO4_FUZZ_CHECK(bOk == R.bAccepted);
        if (!bOk) {
            NUO4_FUZZ_CHECK(R.Items.empty());
            continue;
        }
        std::u16string Edited = ABC->ABCText();
        std::string Error;
        NUO4_FUZZ_CHECK(ApplyTextReplaceItems(Edited, R.Items, &Error));
        Text = Edited;
    }
    TNuo4ABCBuffer ABC(Text);
    TNuo4SimpleBuffer B(&ABC);
    CheckOwners(B);
    return 0;
}
