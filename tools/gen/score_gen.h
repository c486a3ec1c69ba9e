#pragma once
// Deterministic generator of realistic score texts, for benchmarks and fuzz corpora.

#include <cstdint>
#include <string>

namespace nuo4::gen {

class TScoreRandom {
  public:
    explicit TScoreRandom(uint64_t AState)
        : State(AState * 6364136223846793005ull + 1442695040888963407ull) {}
    uint32_t Next() {
        State = State * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(State >> 33);
    }
    uint32_t Below(uint32_t N) { return N ? Next() % N : 0; }
    template <size_t K>
    const char16_t* Pick(const char16_t* const (&AList)[K]) {
        return AList[Below(K)];
    }

  private:
    uint64_t State;
};

// One voice symbol: mostly notes of mixed durations, with chords, graces, slurs, tuplets,
// bar lines, texts and meters mixed in.
inline std::u16string GenerateVoiceSymbol(TScoreRandom& R) {
    static const char16_t* const Pitches[] = {u"1",  u"2",  u"3",  u"5",  u"6", u"5d",
                                              u"6d", u"1g", u"#4", u"b7", u"0"};
    static const char16_t* const Durations[] = {u"",  u"",   u"_", u"_",  u"__",
                                                u".", u"_.", u"-", u"--", u"---"};
    static const char16_t* const Others[] = {u"|",   u"|",  u"|",         u":|",       u"|:",
                                             u"||",  u"|]", u"\"{1=D}\"", u"\"rit.\"", u"3/4",
                                             u"2/4", u"$",  u":|[2."};
    const uint32_t K = R.Below(100);
    if (K < 12) return Others[R.Below(std::size(Others))];
    std::u16string S;
    if (K < 16) S += u"(";
    if (K >= 16 && K < 18) S += u"{(3}";
    if (K >= 18 && K < 20) S += u"{DunYin}";
    if (K >= 20 && K < 22) S += u"{56}";
    if (K >= 22 && K < 26) {
        S += u"[";
        S += Pitches[R.Below(5)];
        S += Pitches[R.Below(5)];
        S += u"]";
    } else {
        S += Pitches[R.Below(std::size(Pitches))];
    }
    S += Durations[R.Below(std::size(Durations))];
    if (K >= 26 && K < 32) S += u")";
    if (K == 99) S += u"{C:1.500}";
    return S;
}

inline std::u16string GenerateVoice(uint64_t AVariant, size_t ASymbolCount) {
    TScoreRandom R(AVariant);
    std::u16string S = u".Voice\r";
    size_t OnLine = 0;
    for (size_t I = 0; I < ASymbolCount; ++I) {
        S += GenerateVoiceSymbol(R);
        if (++OnLine == 16) {
            S += u"\r";
            OnLine = 0;
        } else {
            S += R.Below(3) ? u" " : u"";
            if (S.back() != u' ') S += u' ';
        }
    }
    return S;
}

// A whole score of about ATargetChars UTF-16 code units with every section, comments and CR LF
// line breaks as in a file.
inline std::u16string GenerateScore(uint64_t AVariant, size_t ATargetChars) {
    TScoreRandom R(AVariant);
    std::u16string S =
        u"// ************** NUO-ABC File Ver 1.0 (for Nuoscore4.95g) **************\r\n\r\n"
        u".Options\r\nPaper = 297, 210\r\nDigit = 0, 3.30, 0.80\r\n\r\n"
        u".Fonts\r\nTitle = \u9ed1\u4f53, 8.0, [B]\r\n\r\n"
        u".Title\r\nTitle = \u8309\u8389\u82b1\r\nKeyAndMeters = {1=F}{2/4}\r\n"
        u"WordsByAndMusicBy = \u6c5f\u82cf\u6c11\u6b4c\r\n\r\n.Voice\r\n";
    const size_t VoiceEnd = ATargetChars * 3 / 4;
    size_t OnLine = 0;
    while (S.size() < VoiceEnd) {
        S += GenerateVoiceSymbol(R);
        S += u' ';
        if (++OnLine == 20) {
            OnLine = 0;
            switch (R.Below(4)) {
                case 0:
                    S += u"// a line comment\r\n";
                    break;
                case 1:
                    S += u"/* block /* nested */ comment */\r\n";
                    break;
                default:
                    S += u"\r\n";
            }
        }
    }
    S += u"\r\n.Words\r\nW1@1,1:";
    static const char16_t* const Lyrics[] = {
        u"\u597d", u"\u4e00",         u"\u6735",       u"\u7f8e", u"\u4e3d",
        u"\u7684", u"{\u8309\u8389}", u"\u82b1\uff0c", u"/",      u"la "};
    OnLine = 0;
    while (S.size() < ATargetChars * 9 / 10) {
        S += Lyrics[R.Below(std::size(Lyrics))];
        if (++OnLine == 24) {
            S += u"\r\n";
            OnLine = 0;
        }
    }
    S += u"\r\n\r\n.Attachments\r\n";
    while (S.size() < ATargetChars) {
        S += u"Text@" + std::u16string(1, u'1' + R.Below(9)) +
             u",2(0.00,-2.50) = AttachText1, \u6e10\u6162, {}, [], $ff000000\r\n";
        S += u"FangZi@2R(0.00,-2.89) = Full, 30.00, 1., True, True\r\n";
    }
    S += u"\r\n.Page\r\n";
    return S;
}

}  // namespace nuo4::gen
