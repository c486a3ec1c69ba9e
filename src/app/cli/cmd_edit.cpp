// nuo4-cli edit FILE REQUEST [ARGS...] [--caret I[,right]] [--selection A,B]
//   [--highlight basic:I|attach:I|page:I] [-o OUT] [--then REQUEST [ARGS...]]...
// Runs each request on the laid-out score, as the editor does: the answer's replacements are
// applied, the text is scanned and laid out again, the answer's selection or highlight is
// installed, and the next request is asked of the rebuilt buffer. Prints every answer as JSON;
// with -o writes the edited score (atomically). Exit 1 when a request is refused (nothing is
// written), 2 for a bad file or command line.

#include <ostream>

#include "app/cli/cmd_edit_requests.h"
#include "app/cli/commands.h"
#include "app/cli/json_dump.h"
#include "app/cli/layout_document.h"
#include "edit/edit_apply.h"
#include "format/score_file.h"
#include "format/score_file_save.h"
#include "layout/buffer_highlight.h"
#include "layout/buffer_selection.h"
#include "render/measure_surface.h"

namespace nuo4::cli {

namespace {

struct TStep {
    const TEditRequestRow* Row = nullptr;
    TArgs Args;
};

void PrintEditHelp(std::ostream& AOut) {
    AOut << "nuo4-cli edit FILE REQUEST [ARGS...] [--caret I[,right]] [--selection A,B]\n"
            "    [--highlight basic:I|attach:I|page:I] [-o OUT] [--then REQUEST [ARGS...]]...\n\n"
            "Runs edit requests on the laid-out score and prints their answers as JSON.\n"
            "Indexes are basic symbol indexes (see nuo4-cli layout) unless a request says\n"
            "lines (L), measures (M), paragraphs (P) or system lines; A,B is A through B.\n"
            "--caret I[,right]  the caret at the left (or right) side of symbol I\n"
            "--selection A,B    symbols A through B selected, the caret at B's right side\n"
            "--highlight K:I    the highlighted basic, attach or page symbol\n"
            "-o OUT             apply the answers and save the edited score to OUT\n"
            "--then REQUEST     a further request, asked of the rebuilt score\n\n"
            "Requests:\n";
    for (const TEditRequestRow& R : EditRequestTable())
        AOut << "  " << R.Name << (*R.Args ? " " : "") << R.Args << "\n      " << R.Summary << "\n";
}

json SelectionJson(const TrecNuo4Selection& S) {
    auto Caret = [](const TrecNuo4CaretPos_Index& C) {
        return json{{"BasicIndex", C.BasicIndex}, {"bRight", C.bRight}};
    };
    return {{"CaretPos_Start", Caret(S.CaretPos_Start)},
            {"CaretPos_End", Caret(S.CaretPos_End)},
            {"BasicRange", RangeToJson(S.GetBasicRange())}};
}

json HighlightJson(const TrecNuo4Highlight& H) {
    return {{"BasicIndex", H.BasicIndex},
            {"AttachIndex", H.AttachIndex},
            {"PageSymbolIndex", H.PageSymbolIndex}};
}

json AnswerJson(const std::string& AName, const TrecNuo4EditResult& R) {
    json Items = json::array();
    for (const auto& I : R.Items)
        Items.push_back({{"TextRange", RangeToJson(I.TextRange)}, {"NewText", Utf8(I.NewText)}});
    json J = {{"Request", AName}, {"Accepted", R.bAccepted}, {"Items", Items}};
    if (!R.bAccepted) J["Refusal"] = R.Refusal;
    if (R.bWithSelection) J["NewSelection"] = SelectionJson(R.NewSelection);
    if (R.bWithHighlight) J["NewHighlight"] = HighlightJson(R.NewHighlight);
    return J;
}

void Rebuild(TLayoutDocument& ADoc, const std::u16string& AText) {
    const TrecNuo4SimpleBufferInternalStatus Status = ADoc.Buffer->InternalStatus;
    ADoc.Buffer.reset();
    ADoc.ABCBuffer = std::make_unique<TNuo4ABCBuffer>(AText);
    TNuo4MeasureSurfaceScope Surface;
    ADoc.Buffer = std::make_unique<TNuo4SimpleBuffer>(ADoc.ABCBuffer.get());
    ADoc.Buffer->InternalStatus = Status;
}

bool ParseIndexPair(const std::string& S, int32_t& A, std::string& B) {
    const size_t Comma = S.find(',');
    try {
        A = EditArg_Int({S.substr(0, Comma)}, 0);
    } catch (const TEditArgError&) {
        return false;
    }
    B = Comma == std::string::npos ? "" : S.substr(Comma + 1);
    return true;
}

}  // namespace

int RunEdit(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    for (const auto& A : AArgs)
        if (A == "--help" || A == "-h") {
            PrintEditHelp(AOut);
            return 0;
        }
    if (AArgs.size() < 2) {
        AErr << "nuo4-cli edit: needs FILE and REQUEST (see nuo4-cli edit --help)\n";
        return 2;
    }
    const std::string File = AArgs[0];
    std::string Out, CaretArg, SelectionArg, HighlightArg;
    std::vector<TStep> Steps;
    bool bNewStep = true;
    for (size_t I = 1; I < AArgs.size(); ++I) {
        const std::string& A = AArgs[I];
        auto Value = [&](std::string& ATo) {
            if (I + 1 >= AArgs.size()) return false;
            ATo = AArgs[++I];
            return true;
        };
        bool Ok = true;
        if (A == "-o")
            Ok = Value(Out);
        else if (A == "--caret")
            Ok = Value(CaretArg);
        else if (A == "--selection")
            Ok = Value(SelectionArg);
        else if (A == "--highlight")
            Ok = Value(HighlightArg);
        else if (A == "--then")
            bNewStep = true;
        else if (bNewStep) {
            TStep S;
            S.Row = FindEditRequest(A);
            if (!S.Row) {
                AErr << "nuo4-cli edit: unknown request '" << A << "' (see nuo4-cli edit --help)\n";
                return 2;
            }
            Steps.push_back(S);
            bNewStep = false;
        } else {
            Steps.back().Args.push_back(A);
        }
        if (!Ok) {
            AErr << "nuo4-cli edit: " << A << " needs a value\n";
            return 2;
        }
    }
    if (Steps.empty() || bNewStep) {
        AErr << "nuo4-cli edit: a request is missing\n";
        return 2;
    }
    for (const TStep& S : Steps)
        if (int(S.Args.size()) < S.Row->MinArgs || int(S.Args.size()) > S.Row->MaxArgs) {
            AErr << "nuo4-cli edit: " << S.Row->Name << " takes " << S.Row->Args << "\n";
            return 2;
        }

    TLayoutDocument Doc;
    std::string Error;
    if (!LoadLayoutDocument(File, Doc, Error)) {
        AErr << "nuo4-cli edit: " << Error << "\n";
        return 2;
    }
    TNuo4SimpleBuffer& B0 = *Doc.Buffer;
    // The starting state, as the editor would have it.
    int32_t Index;
    std::string Rest;
    if (!CaretArg.empty()) {
        if (!ParseIndexPair(CaretArg, Index, Rest) ||
            (Rest != "" && Rest != "right" && Rest != "left")) {
            AErr << "nuo4-cli edit: --caret takes I or I,right\n";
            return 2;
        }
        B0.InternalStatus.Selection =
            TrecNuo4Selection::CreateEmpty(TrecNuo4CaretPos_Index::Create(Index, Rest == "right"));
    }
    if (!SelectionArg.empty()) {
        try {
            B0.InternalStatus.Selection =
                GetSelectionForBasicIndexRange(B0, EditArg_Range({SelectionArg}, 0));
        } catch (const TEditArgError& E) {
            AErr << "nuo4-cli edit: --selection: " << E.Message << "\n";
            return 2;
        }
    }
    if (!HighlightArg.empty()) {
        const size_t Colon = HighlightArg.find(':');
        const std::string Kind = HighlightArg.substr(0, Colon);
        int32_t I = -1;
        std::string Unused;
        if (Colon == std::string::npos ||
            !ParseIndexPair(HighlightArg.substr(Colon + 1), I, Unused) ||
            (Kind != "basic" && Kind != "attach" && Kind != "page")) {
            AErr << "nuo4-cli edit: --highlight takes basic:I, attach:I or page:I\n";
            return 2;
        }
        Highlight_Set(B0, Kind == "basic"    ? TrecNuo4Highlight::Basic(I)
                          : Kind == "attach" ? TrecNuo4Highlight::Attach(I)
                                             : TrecNuo4Highlight::Page(I));
    }
    Selection_Check(B0, B0.InternalStatus.Selection, true);

    TrecNuo4EditState State;
    json Answers = json::array();
    int Status = 0;
    for (const TStep& S : Steps) {
        TrecNuo4EditResult R;
        try {
            S.Row->Run(*Doc.Buffer, State, S.Args, R);
        } catch (const TEditArgError& E) {
            AErr << "nuo4-cli edit: " << S.Row->Name << ": " << E.Message << "\n";
            return 2;
        }
        // Most requests refuse without a reason; say what a refusal means.
        if (!R.bAccepted && R.Refusal.empty())
            R.Refusal = "it does not apply at this caret, selection or highlight";
        Answers.push_back(AnswerJson(S.Row->Name, R));
        if (!R.bAccepted) {
            AErr << "nuo4-cli edit: " << S.Row->Name << " refused: " << R.Refusal << "\n";
            Status = 1;
            break;
        }
        std::u16string Text = Doc.ABCBuffer->ABCText();
        if (!ApplyTextReplaceItems(Text, R.Items, &Error)) {
            // An answer that does not fit its own text is a fault of the request; nothing is
            // written.
            AErr << "nuo4-cli edit: " << S.Row->Name << ": the answer does not apply: " << Error
                 << "\n";
            Answers.back()["Accepted"] = false;
            Answers.back()["Refusal"] = "answer does not apply: " + Error;
            Status = 1;
            break;
        }
        if (!R.Items.empty()) Rebuild(Doc, Text);
        TNuo4SimpleBuffer& B = *Doc.Buffer;
        if (R.bWithSelection) B.InternalStatus.Selection = R.NewSelection;
        if (R.bWithHighlight) Highlight_Set(B, R.NewHighlight);
        Selection_Check(B, B.InternalStatus.Selection, true);
    }
    json J = {{"File", File}, {"Answers", Answers}};
    if (Status == 0) {
        J["Selection"] = SelectionJson(Doc.Buffer->InternalStatus.Selection);
        J["Highlight"] = HighlightJson(Doc.Buffer->InternalStatus.Highlight);
        if (!Out.empty()) {
            if (!SaveScoreFileAtomic(Out, Doc.ABCBuffer->ABCText(), Error)) {
                AErr << "nuo4-cli edit: " << Error << "\n";
                return 2;
            }
            J["Written"] = Out;
        }
    }
    AOut << J.dump(2) << "\n";
    return Status;
}

}  // namespace nuo4::cli
