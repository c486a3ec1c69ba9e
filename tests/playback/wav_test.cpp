// The melody rendered through the synthesiser: each note's onset in the sound lies within
// 15 ms of its time in the melody.
#ifdef NUO4_WITH_FLUIDSYNTH

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "format/abc_buffer.h"
#include "layout/simple_buffer.h"
#include "playback/fluid_output.h"
#include "playback/melody_build.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

TEST(Wav, NoteOnsetsLieAtTheMelodysTimes) {
    const std::string SoundFont = Nuo4DefaultSoundFont();
    if (SoundFont.empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
    Nuo4Render_Init();
    TNuo4ABCBuffer ABC(
        u".Title\rKeyAndMeters = {1=C}{4/4}\rExpression = {J=120}\r.Voice\r"
        u"1 0 0 0 | 3 0 0 0 | 5 0 0 0 | 1g 0 0 0 |\r");
    TNuo4SimpleBuffer B(&ABC);
    TNuo4Melody M;
    ASSERT_TRUE(Melody_MakeBuffer(B, TrecNuo4Melody_PlayInfo(), M));
    std::string Wav, Error;
    ASSERT_TRUE(RenderMelodyToWav(M.MidiBuffer(), SoundFont, Wav, Error)) << Error;
    ASSERT_GT(Wav.size(), 44u);
    ASSERT_EQ(Wav.substr(0, 4), "RIFF");
    const size_t Frames = (Wav.size() - 44) / 4;
    auto Left = [&](size_t F) {
        return std::abs(int(int16_t(uint8_t(Wav[44 + 4 * F]) | uint8_t(Wav[45 + 4 * F]) << 8)));
    };
    for (const TMidiEventType& E : M.MidiBuffer().AllEventsInTimeOrder()) {
        if (E.Kind != mekNoteOn) continue;
        SCOPED_TRACE(E.time);
        const size_t At = size_t(std::llround(E.time * 44.1));
        // The onset: the first frame near the note that reaches a fifth of the peak that
        // follows it.
        int Peak = 0;
        for (size_t F = At; F < std::min(Frames, At + 4410); ++F) Peak = std::max(Peak, Left(F));
        ASSERT_GT(Peak, 300);
        size_t Onset = At > 2205 ? At - 2205 : 0;
        while (Onset < Frames && Left(Onset) < Peak / 5) ++Onset;
        EXPECT_LE(std::abs(double(Onset) - double(At)) / 44.1, 15.0);
    }
}

}  // namespace

#endif
