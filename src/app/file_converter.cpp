#include "file_converter.h"

#include "../runtime/common_dialog.h"
#include "../runtime/error_box.h"
#include "../runtime/runtime_error.h"
#include "../split/output_naming.h"
#include "../split/split_files.h"
#include "ui_file_converter.h"

#include <QApplication>
#include <QGuiApplication>

namespace tamrivel {
namespace {

// A large image takes a while and the window cannot react meanwhile.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

FileConverter::FileConverter(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::FileConverter>())
{
    ui->setupUi(this);
    connect(ui->com_refer, &QPushButton::clicked, this, &FileConverter::com_refer_Click);
    connect(ui->com_sprit, &QPushButton::clicked, this, &FileConverter::com_sprit_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &FileConverter::Command1_Click);
    ui->com_sprit->setFocus();
    Form_Load();
}

FileConverter::~FileConverter() = default;

QString FileConverter::splitDoneMessage()
{
    return QStringLiteral("分割完了しました。");
}

void FileConverter::Form_Load()
{
    ui->Label3->setText(QString());
}

void FileConverter::com_refer_Click()
{
    CommonDialog &dialog = *ui->CommonDialog1;
    dialog.setCancelError(true);
    // From here on any error (Cancel above all) just ends the browse; what
    // was already done stays done.
    try {
        ui->Label3->setText(QString());
        dialog.setFlags(CommonDialog::HideReadOnly);
        dialog.setFilter(QStringLiteral("バイナリ ファイル (*.bin)|*.bin|すべてのファイル (*.*)|*.*|"));
        dialog.setFilterIndex(1);
        dialog.ShowOpen();
        ui->Text1->setText(dialog.FileName());
        const QString source = ui->Text1->text();
        const QString even = proposedOutputName(source, QString::fromLatin1(kEvenSuffix));
        ui->Text2->setText(even);
        ui->Text3->setText(proposedOutputName(source, QString::fromLatin1(kOddSuffix)));
    } catch (const RuntimeError &) {
    }
}

void FileConverter::com_sprit_Click()
{
    if (ui->Text2->text().isEmpty())
        return;
    ui->Label3->setText(QString());
    try {
        WaitCursor wait;
        splitFile(ui->Text1->text(), ui->Text2->text(), ui->Text3->text());
    } catch (const RuntimeError &error) {
        showErrorBox(this, error);
        return;
    }
    ui->Label3->setText(splitDoneMessage());
}

void FileConverter::Command1_Click()
{
    QCoreApplication::exit(0);
}

} // namespace tamrivel
