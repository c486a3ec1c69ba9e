#pragma once
// A long score made of a real song: its voice, every verse of its words and its attachments
// repeated, so that long scores carry what short ones do (verses, slurs, marks) on every page.
// The result breaks lines with a single CR, as the scanned text does.

#include <string>
#include <vector>

namespace nuo4::gen {

namespace detail {

inline std::vector<std::u16string> SplitLines(const std::u16string& AText) {
    std::vector<std::u16string> R(1);
    for (size_t I = 0; I < AText.size(); ++I) {
        const char16_t C = AText[I];
        if (C == u'\r' || C == u'\n') {
            if (C == u'\r' && I + 1 < AText.size() && AText[I + 1] == u'\n') ++I;
            R.emplace_back();
        } else {
            R.back() += C;
        }
    }
    return R;
}

inline bool StartsWith(const std::u16string& S, const std::u16string& P) {
    return S.compare(0, P.size(), P) == 0;
}

inline std::u16string Number(int AValue) {
    const std::string S = std::to_string(AValue);
    return std::u16string(S.begin(), S.end());
}

}  // namespace detail

// ASong's text (CR LF or CR line breaks) with its voice, verses and attachments ARepeats times.
// Voice repeats after the first end with a return instead of the closing bar line; attachment
// locations "@B,N" move on by the bar lines of one voice.
inline std::u16string RepeatSong(const std::u16string& ASong, int ARepeats) {
    using namespace detail;
    const std::vector<std::u16string> Lines = SplitLines(ASong);
    std::vector<std::u16string> Head, Voice, Attachments, Tail;
    // Verses: a header line ("W1@1,1:") and its text lines.
    std::vector<std::pair<std::u16string, std::vector<std::u16string>>> Verses;
    std::u16string Section;
    bool bVoiceSeen = false;
    for (const std::u16string& L : Lines) {
        if (StartsWith(L, u".")) Section = L;
        const bool bOwn =
            Section == u".Voice" || Section == u".Words" || Section == u".Attachments";
        bVoiceSeen = bVoiceSeen || Section == u".Voice";
        if (!bOwn) {
            (bVoiceSeen ? Tail : Head).push_back(L);
        } else if (L == Section) {
        } else if (Section == u".Voice") {
            Voice.push_back(L);
        } else if (Section == u".Words") {
            if (!L.empty() && L[0] == u'W' && L.find(u':') != std::u16string::npos)
                Verses.push_back({L, {}});
            else if (!Verses.empty() && !L.empty())
                Verses.back().second.push_back(L);
        } else if (!L.empty()) {
            Attachments.push_back(L);
        }
    }
    int Bars = 0;
    for (const std::u16string& L : Voice)
        for (size_t I = 0; I < L.size(); ++I)
            if (L[I] == u'|' && (I == 0 || L[I - 1] != u'|')) ++Bars;
    std::u16string Out;
    auto Put = [&](const std::u16string& L) { Out += L + u"\r"; };
    for (const auto& L : Head) Put(L);
    Put(u".Voice");
    for (int R = 0; R < ARepeats; ++R)
        for (std::u16string L : Voice) {
            const size_t End = L.rfind(u"|]");
            if (R + 1 < ARepeats && End != std::u16string::npos) L.replace(End, 2, u"| $");
            if (!L.empty()) Put(L);
        }
    Put(u"");
    Put(u".Words");
    for (const auto& [Header, Text] : Verses) {
        Put(Header);
        for (int R = 0; R < ARepeats; ++R)
            for (const auto& L : Text) Put(L);
    }
    Put(u"");
    Put(u".Attachments");
    for (int R = 0; R < ARepeats; ++R)
        for (const std::u16string& L : Attachments) {
            const size_t At = L.find(u'@'), Comma = L.find(u',', At);
            if (At == std::u16string::npos || Comma == std::u16string::npos) continue;
            int Bar = 0;
            for (size_t I = At + 1; I < Comma && L[I] >= u'0' && L[I] <= u'9'; ++I)
                Bar = Bar * 10 + (L[I] - u'0');
            Put(L.substr(0, At + 1) + Number(Bar + R * Bars) + L.substr(Comma));
        }
    Put(u"");
    for (const auto& L : Tail) Put(L);
    return Out;
}

}  // namespace nuo4::gen
