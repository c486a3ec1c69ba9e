// The MusicXML of each demo score: well-formed and valid against the MusicXML 4.0 schema
// (tests/data/musicxml, read without the network), its struck notes are the melody's notes pitch
// for pitch, and repeats and voltas stay as written; a score with every notation the writer
// knows validates too.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <map>
#include <memory>
#include <set>

#include "format/abc_buffer.h"
#include "format/score_file.h"
#include "layout/simple_buffer.h"
#include "playback/melody_build.h"
#include "playback/musicxml_write.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

struct TXmlFacts {
    std::multiset<int> StruckPitches;  // pitched notes that start a sound, graces included
    int Parts = 0, Forward = 0, Backward = 0;
    std::vector<std::string> Endings;  // "number:type" in order
    std::string Error;
};

TXmlFacts ReadFacts(const std::string& AXml) {
    TXmlFacts F;
    QXmlStreamReader R(QByteArray::fromStdString(AXml));
    bool bInNote = false, bRest = false, bTieStop = false, bPitch = false;
    QString Step;
    int Alter = 0, Octave = 0;
    static const std::map<QString, int> Steps = {{"C", 0}, {"D", 2}, {"E", 4}, {"F", 5},
                                                 {"G", 7}, {"A", 9}, {"B", 11}};
    while (!R.atEnd()) {
        R.readNext();
        const QString N = R.name().toString();
        if (R.isStartElement()) {
            if (N == "part") ++F.Parts;
            if (N == "note") bInNote = true, bRest = bTieStop = bPitch = false, Alter = 0;
            if (bInNote && N == "rest") bRest = true;
            if (bInNote && N == "pitch") bPitch = true;
            if (bInNote && N == "tie" && R.attributes().value("type") == u"stop") bTieStop = true;
            if (bInNote && N == "step") Step = R.readElementText();
            if (bInNote && N == "alter") Alter = R.readElementText().toInt();
            if (bInNote && N == "octave") Octave = R.readElementText().toInt();
            if (N == "repeat")
                ++(R.attributes().value("direction") == u"forward" ? F.Forward : F.Backward);
            if (N == "ending")
                F.Endings.push_back(R.attributes().value("number").toString().toStdString() + ":" +
                                    R.attributes().value("type").toString().toStdString());
        } else if (R.isEndElement() && N == "note") {
            if (bPitch && !bRest && !bTieStop)
                F.StruckPitches.insert((Octave + 1) * 12 + Steps.at(Step) + Alter);
            bInNote = false;
        }
    }
    if (R.hasError()) F.Error = R.errorString().toStdString();
    return F;
}

// Validated by xmllint against the shipped schema; neither may be missing.
void ExpectValid(const std::string& AXml, const QString& APath) {
    const QString Schema = NUO4_SOURCE_DIR "/tests/data/musicxml/musicxml.xsd";
    ASSERT_TRUE(QFile::exists(Schema));
    ASSERT_FALSE(QStandardPaths::findExecutable("xmllint").isEmpty())
        << "xmllint (libxml2-utils) is needed";
    QFile Out(APath);
    ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
    Out.write(QByteArray::fromStdString(AXml));
    Out.close();
    QProcess P;
    P.start("xmllint", {"--noout", "--nonet", "--schema", Schema, APath});
    ASSERT_TRUE(P.waitForFinished(60000));
    const std::string Err = P.readAllStandardError().toStdString();
    EXPECT_EQ(P.exitCode(), 0) << Err;
    EXPECT_NE(Err.find(" validates"), std::string::npos) << Err;
}

}  // namespace

TEST(MusicXml, DemoScoresAreWellFormedAndStrikeTheMelodysNotes) {
    Nuo4Render_Init();
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    struct {
        const char* Name;
        int Parts, Forward, Backward;
        std::vector<std::string> Endings;
    } const Cases[] = {
        {"huanle", 1, 1, 1, {"1:start", "1:stop", "2:start", "2:discontinue"}},
        {"molihua", 1, 0, 0, {}},
        {"liangzhilaohu", 2, 0, 0, {}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        std::u16string Text;
        std::string Error;
        ASSERT_TRUE(ReadScoreFile(
            std::string(NUO4_SOURCE_DIR "/resources/demo/") + C.Name + ".nuoabc", Text, Error));
        TNuo4ABCBuffer ABC(Text);
        TNuo4SimpleBuffer B(&ABC);
        TrecNuo4MusicXmlStats Stats;
        const std::string Xml = Nuo4MusicXml_Write(B, &Stats);
        const TXmlFacts F = ReadFacts(Xml);
        ASSERT_EQ(F.Error, "");
        EXPECT_EQ(F.Parts, C.Parts);
        EXPECT_EQ(Stats.Parts, C.Parts);
        EXPECT_EQ(F.Forward, C.Forward);
        EXPECT_EQ(F.Backward, C.Backward);
        EXPECT_EQ(F.Endings, C.Endings);

        // The melody strikes each (symbol, pitch) once per pass; the score writes it once.
        TNuo4Melody Melody;
        ASSERT_TRUE(Melody_MakeBuffer(B, TrecNuo4Melody_PlayInfo(), Melody));
        std::set<std::tuple<int, int, int>> Struck;
        for (int Ch = 0; Ch < 16; ++Ch)
            if (Ch != 9)
                for (const TMidiEventType& E : Melody.MidiBuffer().ChannelEvents(Ch))
                    if (E.Kind == mekNoteOn) Struck.insert({Ch, E.Reserved, E.Data1});
        std::multiset<int> Want;
        for (const auto& [Ch, I, Key] : Struck) Want.insert(Key);
        EXPECT_EQ(F.StruckPitches, Want);
        EXPECT_EQ(Stats.StruckNotes, int(Want.size()));

        ExpectValid(Xml, Dir.filePath(QString::fromUtf8(C.Name) + ".musicxml"));
    }
}

TEST(MusicXml, EveryNotationTheWriterKnowsValidates) {
    Nuo4Render_Init();
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    // Grace notes, chords, a tuplet, nested slurs, ties (across a bar line too), a drum, a
    // staccato, dots, an upbeat, a meter and a tempo change, rests, slurs nested deeper than the
    // format numbers them, a final bar line, lyrics.
    const std::u16string Text =
        u".Title\rKeyAndMeters = {1=F}{4/4}\r.Voice\r5 | {12}3 [135]-- | {(3}1_2_3_) ((5 6) 7) "
        u"| {DunYin}1. 2_ (5- | 5) X\u9f13 0 0 | 3/4 \"{J=60}\" 1__ 2__ 3_ 4 5 | "
        u"((((((((((((((((((1 2 3)))))))))))))))))) |] \r"
        u".Words\rW1: \u4e00 \u4e8c \u4e09 \u56db \u4e94 \u516d\r";
    TNuo4ABCBuffer ABC(Text);
    TNuo4SimpleBuffer B(&ABC);
    const std::string Xml = Nuo4MusicXml_Write(B, nullptr);
    EXPECT_NE(Xml.find("<grace"), std::string::npos);
    EXPECT_NE(Xml.find("<chord/>"), std::string::npos);
    EXPECT_NE(Xml.find("<time-modification>"), std::string::npos);
    EXPECT_NE(Xml.find("<unpitched>"), std::string::npos);
    EXPECT_NE(Xml.find("<slur type=\"start\" number=\"2\"/>"), std::string::npos);
    EXPECT_NE(Xml.find("<tied type=\"start\"/>"), std::string::npos);
    ExpectValid(Xml, Dir.filePath("notations.musicxml"));
}
