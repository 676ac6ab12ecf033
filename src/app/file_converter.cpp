#include "file_converter.h"

#include "dropped_file.h"
#include "frame_style.h"
#include "input_lock.h"
#include "runtime/common_dialog.h"
#include "runtime/error_box.h"
#include "split/output_naming.h"
#include "ui_file_converter.h"

#include <QApplication>
#include <QDropEvent>
#include <QGuiApplication>

namespace tamrivel {

// While a split runs, the window repaints and 終了 or the close box still end
// the program at once, but the fields and the split and browse buttons take
// no input, so that nothing can change what is being split or start another.
class SplitInProgress {
public:
    explicit SplitInProgress(const QList<QWidget *> &lockedControls) : m_lock(lockedControls)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~SplitInProgress() { QGuiApplication::restoreOverrideCursor(); }
    SplitInProgress(const SplitInProgress &) = delete;
    SplitInProgress &operator=(const SplitInProgress &) = delete;

private:
    InputLock m_lock;
};

FileConverter::FileConverter(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::FileConverter>())
{
    ui->setupUi(this);
    for (QWidget *frame : {ui->frame_LoadFile, ui->frame_OutPuts}) {
        auto *style = new FrameStyle;
        frame->setStyle(style);
        style->setParent(frame);
    }
    // A file dropped anywhere in the window comes to the window itself, which
    // knows from where it landed which field it fills. The fields take no
    // dropped text, as Windows' own edit boxes take none, so that a file's
    // name never lands at the cursor in the middle of a path.
    setAcceptDrops(true);
    for (QLineEdit *field : {ui->Text1, ui->Text2, ui->Text3})
        field->setAcceptDrops(false);
    connect(ui->com_refer, &QPushButton::clicked, this, &FileConverter::com_refer_Click);
    connect(ui->com_sprit, &QPushButton::clicked, this, &FileConverter::com_sprit_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &FileConverter::Command1_Click);
    ui->com_sprit->setFocus();
    Form_Load();
}

FileConverter::~FileConverter() = default;

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
        takeSource(dialog.FileName());
    } catch (const RuntimeError &) {
    }
}

// The outputs are named after the source as its field then reads; a name too
// short to cut raises, once the source is in and before either output is.
void FileConverter::takeSource(const QString &path)
{
    ui->Text1->setText(path);
    const QString source = ui->Text1->text();
    const QStringList outputs = proposedPartNames(source, 2);
    ui->Text2->setText(outputs[0]);
    ui->Text3->setText(outputs[1]);
}

// Nothing is taken while a split runs, which must not see its fields change.
// The drop is only ever a copy, since only the name is taken: a file manager
// told that the file was moved would delete it.
std::optional<QString> FileConverter::offeredFile(const QDropEvent &event) const
{
    if (m_splitInProgress || !(event.possibleActions() & Qt::CopyAction))
        return std::nullopt;
    return droppedFile(*event.mimeData());
}

void FileConverter::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

// Ignored, the drag shows the no-drop cursor.
void FileConverter::dragMoveEvent(QDragMoveEvent *event)
{
    if (!offeredFile(*event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

// A file dropped on an output's field or on its label names that output
// alone; dropped anywhere else, it is taken as if chosen in the Open dialog.
void FileConverter::dropEvent(QDropEvent *event)
{
    const std::optional<QString> file = offeredFile(*event);
    if (!file) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (QLineEdit *output = outputAt(event->position().toPoint())) {
        output->setText(*file);
        return;
    }
    ui->Label3->setText(QString());
    try {
        takeSource(*file);
    } catch (const RuntimeError &) {
        // As after the Open dialog: the source stays, the outputs as they were.
    }
}

QLineEdit *FileConverter::outputAt(const QPoint &position) const
{
    const QWidget *under = childAt(position);
    if (under == ui->Text2 || under == ui->Label1)
        return ui->Text2;
    if (under == ui->Text3 || under == ui->Label2)
        return ui->Text3;
    return nullptr;
}

void FileConverter::com_sprit_Click()
{
    if (ui->Text2->text().isEmpty())
        return;
    ui->Label3->setText(QString());
    m_splitInProgress = std::make_unique<SplitInProgress>(
        QList<QWidget *>{ui->Text1, ui->Text2, ui->Text3, ui->com_sprit, ui->com_refer});
    m_split.start(ui->Text1->text(), ui->Text2->text(), ui->Text3->text(),
                  [this](const std::optional<RuntimeError> &error) { splitEnded(error); });
}

void FileConverter::splitEnded(const std::optional<RuntimeError> &error)
{
    m_splitInProgress.reset();
    if (error) {
        showErrorBox(this, *error);
        return;
    }
    ui->Label3->setText(QStringLiteral("分割完了しました。"));
}

void FileConverter::Command1_Click()
{
    QCoreApplication::exit(0);
}

} // namespace tamrivel
