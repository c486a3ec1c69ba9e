#pragma once
// The new-document dialog ("新建文档"): paper and title of the new score, and the two text
// replacements that put them into the empty document.

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "format/section_title.h"

class QWidget;

namespace nuo4 {

struct TrecNuo4FormInfo_SetupPaper {
    TrecNuo4DocOptionsParam_Paper Paper;
};

struct TrecNuo4FormInfo_NewFile {
    TrecNuo4FormInfo_SetupPaper Paper;
    TrecNuo4SectionTitleBuffer Title;
    void SetToDefault();
};

// The paper option item of the options section and the title block of the title section, as
// written into ABuffer's text (either may be missing when it changes nothing).
TNuo4ABCTextReplaceItems Nuo4NewFileReplaceItems(const TNuo4ABCBuffer& ABuffer,
                                                 const TrecNuo4FormInfo_NewFile& AInfo);

// Modal; false on "取消".
bool Nuo4ShowNewFileDialog(QWidget* AParent, TrecNuo4FormInfo_NewFile& AInfo);

}  // namespace nuo4
