#include "editor/new_file_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace nuo4 {

namespace {

QString PaperSummary(const TrecNuo4DocOptionsParam_Paper& P) {
    return QStringLiteral("纸张: %1 × %2 毫米\n页边距: 左 %3, 右 %4, 上 %5, 下 %6 毫米")
        .arg(P.Width)
        .arg(P.Height)
        .arg(P.MarginLeft)
        .arg(P.MarginRight)
        .arg(P.MarginTop)
        .arg(P.MarginBottom);
}

const char* const TitleCaptions[Nuo4TitleTextItemCount] = {
    "引语", "标题", "副标题", "副标题2", "调号拍号", "词曲作者", "速度表情"};

QString TitleSummary(const TrecNuo4SectionTitleBuffer& T) {
    QString S;
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
        const QString V =
            QString::fromStdU16String(T.GetText(TNuo4SectionTitleItemType(I))).trimmed();
        if (!V.isEmpty())
            S += QString::fromUtf8(TitleCaptions[I]) + QStringLiteral(": ") + V + '\n';
    }
    return S.isEmpty() ? QStringLiteral("(无标题)") : S.trimmed();
}

bool EditPaper(QWidget* AParent, TrecNuo4DocOptionsParam_Paper& APaper) {
    QDialog D(AParent);
    D.setWindowTitle(QStringLiteral("页面设置"));
    QFormLayout* F = new QFormLayout(&D);
    float* Fields[] = {&APaper.Width,       &APaper.Height,    &APaper.MarginLeft,
                       &APaper.MarginRight, &APaper.MarginTop, &APaper.MarginBottom};
    const char* Captions[] = {"宽度(毫米)", "高度(毫米)", "左边距", "右边距", "上边距", "下边距"};
    QDoubleSpinBox* Boxes[6];
    for (int I = 0; I < 6; ++I) {
        Boxes[I] = new QDoubleSpinBox(&D);
        Boxes[I]->setRange(0, 2000);
        Boxes[I]->setDecimals(1);
        Boxes[I]->setValue(*Fields[I]);
        F->addRow(QString::fromUtf8(Captions[I]), Boxes[I]);
    }
    auto* B = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &D);
    F->addRow(B);
    QObject::connect(B, &QDialogButtonBox::accepted, &D, &QDialog::accept);
    QObject::connect(B, &QDialogButtonBox::rejected, &D, &QDialog::reject);
    if (D.exec() != QDialog::Accepted) return false;
    TrecNuo4DocOptionsParam_Paper P = APaper;
    float* NewFields[] = {&P.Width,       &P.Height,    &P.MarginLeft,
                          &P.MarginRight, &P.MarginTop, &P.MarginBottom};
    for (int I = 0; I < 6; ++I) *NewFields[I] = float(Boxes[I]->value());
    if (!P.Check()) return false;  // a paper without a layout area is not taken
    APaper = P;
    return true;
}

bool EditTitle(QWidget* AParent, TrecNuo4SectionTitleBuffer& ATitle) {
    QDialog D(AParent);
    D.setWindowTitle(QStringLiteral("标题设置"));
    QFormLayout* F = new QFormLayout(&D);
    QLineEdit* Edits[Nuo4TitleTextItemCount];
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I) {
        Edits[I] = new QLineEdit(
            QString::fromStdU16String(ATitle.GetText(TNuo4SectionTitleItemType(I))), &D);
        F->addRow(QString::fromUtf8(TitleCaptions[I]), Edits[I]);
    }
    auto* B = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &D);
    F->addRow(B);
    QObject::connect(B, &QDialogButtonBox::accepted, &D, &QDialog::accept);
    QObject::connect(B, &QDialogButtonBox::rejected, &D, &QDialog::reject);
    if (D.exec() != QDialog::Accepted) return false;
    for (int I = 0; I < Nuo4TitleTextItemCount; ++I)
        ATitle.SetText(TNuo4SectionTitleItemType(I), Edits[I]->text().toStdU16String());
    return true;
}

}  // namespace

void TrecNuo4FormInfo_NewFile::SetToDefault() {
    Paper.Paper.SetToDefault();
    Title.SetToDefault();
    Title.SetText(tbitTitle, u"标题");
    Title.SetText(tbitKeyAndMeters, u"1=C 4/4");
}

TNuo4ABCTextReplaceItems Nuo4NewFileReplaceItems(const TNuo4ABCBuffer& ABuffer,
                                                 const TrecNuo4FormInfo_NewFile& AInfo) {
    TNuo4ABCTextReplaceItems R;
    TrecNuo4ABCParseInfo_OptionItem Item;
    Item.Initialize_Paper();
    Item.Param_Paper = AInfo.Paper.Paper;
    TrecNuo4ABCTextReplaceItem A;
    ABuffer.SectionOptions_EditItem(Item, A);
    if (!A.IsInvalid()) R.push_back(A);
    TrecNuo4ABCTextReplaceItem T;
    ABuffer.SectionTitle_EditTitleBlock(AInfo.Title, T);
    if (!T.IsInvalid()) R.push_back(T);
    return R;
}

bool Nuo4ShowNewFileDialog(QWidget* AParent, TrecNuo4FormInfo_NewFile& AInfo) {
    QDialog D(AParent);
    D.setWindowTitle(QStringLiteral("新建文档"));
    QGridLayout* G = new QGridLayout(&D);
    QLabel* PaperText = new QLabel(PaperSummary(AInfo.Paper.Paper), &D);
    QLabel* TitleText = new QLabel(TitleSummary(AInfo.Title), &D);
    QPushButton* PaperBtn = new QPushButton(QStringLiteral("页面设置…"), &D);
    QPushButton* TitleBtn = new QPushButton(QStringLiteral("标题设置…"), &D);
    G->addWidget(PaperText, 0, 0);
    G->addWidget(PaperBtn, 0, 1);
    G->addWidget(TitleText, 1, 0);
    G->addWidget(TitleBtn, 1, 1);
    auto* B = new QDialogButtonBox(&D);
    B->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    B->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    G->addWidget(B, 2, 0, 1, 2);
    QObject::connect(B, &QDialogButtonBox::accepted, &D, &QDialog::accept);
    QObject::connect(B, &QDialogButtonBox::rejected, &D, &QDialog::reject);
    QObject::connect(PaperBtn, &QPushButton::clicked, &D, [&] {
        if (EditPaper(&D, AInfo.Paper.Paper)) PaperText->setText(PaperSummary(AInfo.Paper.Paper));
    });
    QObject::connect(TitleBtn, &QPushButton::clicked, &D, [&] {
        if (EditTitle(&D, AInfo.Title)) TitleText->setText(TitleSummary(AInfo.Title));
    });
    return D.exec() == QDialog::Accepted;
}

}  // namespace nuo4
