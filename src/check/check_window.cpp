#include "check_window.h"

#include "app/dropped_file.h"

#include "runtime/common_dialog.h"
#include "runtime/error_box.h"
#include "split/chip_table.h"
#include "split/doctor/size_text.h"
#include "split/platform/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tamrivel {
namespace {

enum Column { DumpColumn, PartColumn, VerdictColumn, FindingsColumn, Sum16Column, Sum32Column, CrcColumn };

const QString kFilter =
    QStringLiteral("ROM イメージ (*.bin;*.rom;*.hex;*.ihx;*.s19;*.s28;*.s37;*.srec;*.mot)|"
                   "*.bin;*.rom;*.hex;*.ihx;*.s19;*.s28;*.s37;*.srec;*.mot|"
                   "すべてのファイル (*.*)|*.*|");

QLabel *buddyLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QPushButton *button(const QString &text, const char *name)
{
    auto *pushButton = new QPushButton(text);
    pushButton->setObjectName(QString::fromLatin1(name));
    return pushButton;
}

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

CheckWindow::CheckWindow(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Tamrivel 照合"));
    // A program's main window, not a box over another: minimised, maximised
    // and resized like one.
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    m_dialog = new CommonDialog(this);
    m_dialog->setObjectName(QStringLiteral("openDialog"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildInputs());
    layout->addWidget(buildResults(), 1);
    // Enter checks, once the button is the dialog's to make its default.
    m_check->setDefault(true);
    setRunning(false);
    m_image->setFocus();
    resize(860, 540);
}

QWidget *CheckWindow::buildInputs()
{
    auto *inputs = new QWidget;
    auto *grid = new QGridLayout(inputs);
    grid->setContentsMargins(0, 0, 0, 0);

    m_image = new QLineEdit;
    m_image->setObjectName(QStringLiteral("imageField"));
    // A file dropped on the field is the image: the window takes the drop,
    // rather than the field pasting its address as text.
    m_image->setAcceptDrops(false);
    m_browseImage = button(QStringLiteral("参照(&R)..."), "browseImage");
    grid->addWidget(buddyLabel(QStringLiteral("イメージ(&I):"), m_image), 0, 0);
    grid->addWidget(m_image, 0, 1);
    grid->addWidget(m_browseImage, 0, 2);

    m_dumps = new QListWidget;
    m_dumps->setObjectName(QStringLiteral("dumpList"));
    m_dumps->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_dumps->setFixedHeight(m_dumps->fontMetrics().lineSpacing() * 5);
    m_addDumps = button(QStringLiteral("追加(&A)..."), "addDumps");
    m_removeDumps = button(QStringLiteral("削除(&E)"), "removeDumps");
    auto *dumpButtons = new QVBoxLayout;
    dumpButtons->addWidget(m_addDumps);
    dumpButtons->addWidget(m_removeDumps);
    dumpButtons->addStretch();
    grid->addWidget(buddyLabel(QStringLiteral("ダンプ(&D):"), m_dumps), 1, 0, Qt::AlignTop);
    grid->addWidget(m_dumps, 1, 1);
    grid->addLayout(dumpButtons, 1, 2);

    m_chip = new QComboBox;
    m_chip->setObjectName(QStringLiteral("chipBox"));
    m_chip->addItem(QStringLiteral("自動"), qint64(0));
    for (const Chip &chip : chipTable())
        m_chip->addItem(QStringLiteral("%1 (%2)").arg(QString::fromLatin1(chip.name), sizeText(chip.bytes)),
                        chip.bytes);
    grid->addWidget(buddyLabel(QStringLiteral("チップ(&C):"), m_chip), 2, 0);
    grid->addWidget(m_chip, 2, 1, Qt::AlignLeft);

    m_check = button(QStringLiteral("照合(&K)"), "checkButton");
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_stop = button(QStringLiteral("中止(&S)"), "stopButton");
    auto *run = new QHBoxLayout;
    run->addWidget(m_check);
    run->addWidget(m_progress, 1);
    run->addWidget(m_stop);
    grid->addLayout(run, 3, 0, 1, 3);

    connect(m_browseImage, &QPushButton::clicked, this, &CheckWindow::chooseImage);
    connect(m_addDumps, &QPushButton::clicked, this, &CheckWindow::chooseDumps);
    connect(m_removeDumps, &QPushButton::clicked, this, &CheckWindow::removeDumps);
    new QShortcut(
        QKeySequence::Delete, m_dumps, [this] { removeDumps(); }, Qt::WidgetShortcut);
    connect(m_check, &QPushButton::clicked, this, &CheckWindow::startCheck);
    connect(m_stop, &QPushButton::clicked, this, [this] { m_background.stop(); });
    return inputs;
}

QWidget *CheckWindow::buildResults()
{
    auto *results = new QWidget;
    auto *layout = new QVBoxLayout(results);
    layout->setContentsMargins(0, 0, 0, 0);

    m_table = new QTableWidget(0, CrcColumn + 1);
    m_table->setObjectName(QStringLiteral("resultTable"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("ダンプ"), QStringLiteral("部分"), QStringLiteral("結果"), QStringLiteral("所見"),
         QStringLiteral("sum16"), QStringLiteral("sum32"), QStringLiteral("CRC-32")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(true);
    // Tab leaves the table for the buttons, as it does any other list.
    m_table->setTabKeyNavigation(false);
    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(FindingsColumn, QHeaderView::Stretch);
    layout->addWidget(buddyLabel(QStringLiteral("結果(&T):"), m_table));
    layout->addWidget(m_table, 1);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("statusLine"));
    m_copy = button(QStringLiteral("結果をコピー(&P)"), "copyButton");
    m_close = button(QStringLiteral("閉じる"), "closeButton");
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_copy);
    bottom->addWidget(m_close);
    layout->addLayout(bottom);

    connect(m_copy, &QPushButton::clicked, this, &CheckWindow::copyResult);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    return results;
}

// What the user chose in the Open dialog; nothing after a Cancel, or after a
// failure the error box has told of.
QStringList CheckWindow::chosenFiles(const QString &title, int flags)
{
    m_dialog->setDialogTitle(title);
    m_dialog->setFlags(CommonDialog::HideReadOnly | flags);
    m_dialog->setFilter(kFilter);
    try {
        m_dialog->ShowOpen();
    } catch (const RuntimeError &error) {
        showErrorBox(this, error);
        return {};
    }
    return m_dialog->FileNames();
}

void CheckWindow::chooseImage()
{
    if (const QStringList chosen = chosenFiles(QStringLiteral("イメージの指定")); !chosen.isEmpty())
        m_image->setText(chosen.constFirst());
}

void CheckWindow::chooseDumps()
{
    addDumps(chosenFiles(QStringLiteral("ダンプの指定"), CommonDialog::AllowMultiselect));
}

void CheckWindow::addDumps(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (m_dumps->findItems(path, Qt::MatchExactly).isEmpty())
            m_dumps->addItem(path);
    }
}

void CheckWindow::removeDumps()
{
    qDeleteAll(m_dumps->selectedItems());
}

void CheckWindow::startCheck()
{
    if (m_running)
        return;
    const QString image = platform::pathOfFieldText(m_image->text());
    if (image.isEmpty()) {
        showErrorBox(
            this,
            RuntimeError(ErrorNumber::BadFileName, QString(), QStringLiteral("イメージの欄が空です。")));
        return;
    }
    QStringList dumps;
    for (int row = 0; row < m_dumps->count(); ++row)
        dumps << platform::pathOfFieldText(m_dumps->item(row)->text());
    if (dumps.isEmpty()) {
        showErrorBox(this,
                     RuntimeError(ErrorNumber::InvalidArgument, QString(),
                                  QStringLiteral("照合するダンプを追加してください。")));
        return;
    }
    m_result = {image, {}, m_chip->currentText(), {}};
    m_table->setRowCount(0);
    m_progress->setRange(0, int(dumps.size()));
    m_progress->setValue(0);
    m_status->setText(QStringLiteral("照合中..."));
    setRunning(true);
    m_background.start({image, dumps, m_chip->currentData().toLongLong()},
                       {[this](const ByteSums &sums) { m_result.imageSums = sums; },
                        [this](const DumpRow &row) { showRow(row); },
                        [this](const std::optional<RuntimeError> &error) { checkEnded(error); }});
}

void CheckWindow::showRow(const DumpRow &row)
{
    m_result.rows << row;
    const int at = m_table->rowCount();
    m_table->insertRow(at);
    QTableWidgetItem *dump = cell(QFileInfo(row.dump).fileName());
    dump->setToolTip(shownPath(row.dump));
    m_table->setItem(at, DumpColumn, dump);
    m_table->setItem(at, PartColumn, cell(row.part));
    m_table->setItem(at, VerdictColumn, cell(row.verdict));
    m_table->setItem(at, FindingsColumn, cell(row.causes.join(QLatin1Char('\n'))));
    if (row.sums) {
        m_table->setItem(at, Sum16Column, cell(sum16Text(*row.sums)));
        m_table->setItem(at, Sum32Column, cell(sum32Text(*row.sums)));
        m_table->setItem(at, CrcColumn, cell(crcText(*row.sums)));
    }
    m_table->resizeRowToContents(at);
    m_progress->setValue(m_progress->value() + 1);
}

void CheckWindow::checkEnded(const std::optional<RuntimeError> &error)
{
    setRunning(false);
    const bool stopped = error && error->number() == ErrorNumber::Cancelled;
    const bool whole = m_result.rows.size() == m_progress->maximum();
    m_status->setText(stopped     ? QStringLiteral("中止しました。")
                          : whole ? QStringLiteral("照合完了しました。")
                                  : QString());
    if (error && !stopped)
        showErrorBox(this, *error);
}

void CheckWindow::copyResult()
{
    QApplication::clipboard()->setText(resultText(m_result));
    m_status->setText(QStringLiteral("結果をコピーしました。"));
}

void CheckWindow::setRunning(bool running)
{
    m_running = running;
    for (QWidget *input :
         {static_cast<QWidget *>(m_image), static_cast<QWidget *>(m_dumps), static_cast<QWidget *>(m_chip),
          static_cast<QWidget *>(m_browseImage), static_cast<QWidget *>(m_addDumps),
          static_cast<QWidget *>(m_removeDumps), static_cast<QWidget *>(m_check)})
        input->setEnabled(!running);
    m_stop->setEnabled(running);
    m_copy->setEnabled(!running && !m_result.rows.isEmpty());
    (running ? m_stop : m_check)->setFocus();
}

void CheckWindow::reject()
{
    // Esc stops a check first, as Cancel would; only then closes the window.
    if (m_running)
        m_background.stop();
    else
        QDialog::reject();
}

void CheckWindow::closeEvent(QCloseEvent *event)
{
    // The close box closes even while a check runs, which then stops.
    if (m_running) {
        m_background.stop();
        event->accept();
        return;
    }
    QDialog::closeEvent(event);
}

void CheckWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!m_running && !droppedFiles(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CheckWindow::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedFiles(*event->mimeData());
    if (m_running || files.isEmpty())
        return;
    if (childAt(event->position().toPoint()) == m_image)
        m_image->setText(files.constFirst());
    else
        addDumps(files);
    event->acceptProposedAction();
}

} // namespace tamrivel
