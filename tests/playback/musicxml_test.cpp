// The MusicXML of each demo score: well-formed (and valid against the MusicXML 4.0 schema when
// its files lie in tests/data/musicxml), its struck notes are the melody's notes pitch for
// pitch, and repeats and voltas stay as written.
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

}  // namespace

TEST(MusicXml, DemoScoresAreWellFormedAndStrikeTheMelodysNotes) {
    Nuo4Render_Init();
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    const QString Schema = NUO4_SOURCE_DIR "/tests/data/musicxml/musicxml.xsd";
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

        if (QStandardPaths::findExecutable("xmllint").isEmpty()) continue;
        const QString Path = Dir.filePath(QString::fromUtf8(C.Name) + ".musicxml");
        QFile Out(Path);
        ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
        Out.write(QByteArray::fromStdString(Xml));
        Out.close();
        QStringList Args = {"--noout", "--nonet"};
        if (QFile::exists(Schema)) Args << "--schema" << Schema;
        QProcess P;
        P.start("xmllint", Args << Path);
        ASSERT_TRUE(P.waitForFinished(60000));
        EXPECT_EQ(P.exitCode(), 0) << P.readAllStandardError().toStdString();
    }
}
