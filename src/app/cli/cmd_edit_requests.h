#pragma once
// The requests `nuo4-cli edit` can run, one row each. A row names the request, its arguments
// for --help, and a function that parses the arguments and asks the request of the buffer.
//
// To add a request, add one row to a table (cmd_edit_requests.cpp; a family may keep its own
// table function and list it in EditRequestTable()).

#include <string>
#include <vector>

#include "format/ko_range.h"

#include "app/cli/commands.h"
#include "edit/edit_result.h"
#include "edit/edit_spacing.h"
#include "edit/edit_state.h"

namespace nuo4 {
class TNuo4SimpleBuffer;
}

namespace nuo4::cli {

// Thrown by the argument readers below; the command reports it and exits 2.
struct TEditArgError {
    std::string Message;
};

struct TEditRequestRow {
    const char* Name;
    const char* Args;     // as shown by --help, "" for none
    const char* Summary;  // one line
    int MinArgs;
    int MaxArgs;
    // Fills the answer; its result is the answer's bAccepted.
    bool (*Run)(TNuo4SimpleBuffer& B, TrecNuo4EditState& AState, const TArgs& AArgs,
                TrecNuo4EditResult& AAnswer);
};

// Every request, in the order --help lists them.
const std::vector<TEditRequestRow>& EditRequestTable();
const TEditRequestRow* FindEditRequest(const std::string& AName);

// Tables of the families (each in its own file).
std::vector<TEditRequestRow> EditRequestRows_Caret();    // cmd_edit_requests.cpp
std::vector<TEditRequestRow> EditRequestRows_Spacing();  // cmd_edit_requests.cpp
std::vector<TEditRequestRow> EditRequestRows_Voice();    // cmd_edit_requests_voice.cpp
std::vector<TEditRequestRow> EditRequestRows_Branch();   // cmd_edit_requests_branch.cpp

// Argument readers: each throws TEditArgError with a message naming the argument.
int32_t EditArg_Int(const TArgs& A, size_t I);
double EditArg_Double(const TArgs& A, size_t I);
bool EditArg_Bool(const TArgs& A, size_t I);       // true/false/1/0/yes/no
TKoRange EditArg_Range(const TArgs& A, size_t I);  // "A,B": A through B inclusive
TKoRange EditArg_OptRange(const TArgs& A, size_t I, TKoRange ADefault);  // absent: default
// An advance action by its name, with or without the "nicaAWCoef_" prefix.
TNuo4InlineChangeAction_AWCoef EditArg_AWAction(const TArgs& A, size_t I);

// The answer from a request of the items-only form: accepted when it answered true.
template <class F>
bool EditAnswerItems(TrecNuo4EditResult& AAnswer, F ARequest) {
    TNuo4ABCTextReplaceItems Items;
    const bool Ok = ARequest(Items);
    AAnswer = Ok ? TrecNuo4EditResult::Accepted(std::move(Items))
                 : TrecNuo4EditResult::Refused("the request does not apply here");
    return Ok;
}

}  // namespace nuo4::cli
