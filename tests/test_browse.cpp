#include "app/window_font.h"
#include "reference_deal.h"
#include "temp_files.h"
#include "window_probe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

const QString kBinaryEntry = QStringLiteral("バイナリ ファイル (*.bin)");
const QString kAllEntry = QStringLiteral("すべてのファイル (*.*)");

// Types a name into the dialog and presses Enter, as a user would.
void choose(QFileDialog *dialog, const QString &path)
{
    if (!dialog)
        return;
    auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    nameEdit->setText(path);
    QTest::keyClick(nameEdit, Qt::Key_Return);
}

// The names the dialog shows in `folder`, once it has read the folder.
QStringList listed(QFileDialog *dialog, const QString &folder)
{
    auto *model = dialog->findChild<QFileSystemModel *>();
    const QModelIndex parent = model->index(folder);
    if (!QTest::qWaitFor([&] { return model->rowCount(parent) > 0; }, 5000))
        return {};
    // The model may read a folder in more than one batch: wait until the
    // listing has held still for a while.
    int rows;
    do {
        rows = model->rowCount(parent);
        QTest::qWait(300);
    } while (model->rowCount(parent) != rows);
    QStringList names;
    for (int row = 0; row < model->rowCount(parent); ++row)
        names.append(model->index(row, 0, parent).data().toString());
    names.sort();
    return names;
}

} // namespace

class TestBrowse : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowProbe> probe;
    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        useWindowFont();
        writeBytes(dir.filePath("rom.bin"), patternBytes(4099, 5));
        writeBytes(dir.filePath("kickstart"), "no dot in this name");
    }

    void init()
    {
        probe = std::make_unique<WindowProbe>();
        QVERIFY(probe->active);
    }

    void cleanup() { probe.reset(); }

    void dialogOpensWithTitleAndFilters()
    {
        QString title;
        QStringList entries;
        QString selected;
        int checkBoxes = -1;
        bool modal = false;
        whenModalOpens<QFileDialog>(this, [&](QFileDialog *dialog) {
            if (!dialog)
                return;
            title = dialog->windowTitle();
            entries = dialog->nameFilters();
            selected = dialog->selectedNameFilter();
            checkBoxes = int(dialog->findChildren<QCheckBox *>().size());
            modal = dialog->isModal();
            dialog->reject();
        });
        probe->click("com_refer");
        QCOMPARE(title, QStringLiteral("分割ファイルの指定"));
        QCOMPARE(entries, QStringList({kBinaryEntry, kAllEntry}));
        QCOMPARE(selected, kBinaryEntry);
        QCOMPARE(checkBoxes, 0); // no read-only check box
        QVERIFY(modal);
    }

    void choosingAFileProposesBothOutputs()
    {
        const QString source = dir.filePath("rom.bin");
        whenModalOpens<QFileDialog>(this, [&](QFileDialog *dialog) { choose(dialog, source); });
        QTest::keyClick(probe->window.get(), Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(probe->fields(),
                     QStringList({source, dir.filePath("rom_g.bin"), dir.filePath("rom_k.bin")}));
        QCOMPARE(probe->status(), QString());
    }

    void cancelLeavesTheFieldsAndClearsTheStatus_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel button") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("closed") << 2;
    }

    void cancelLeavesTheFieldsAndClearsTheStatus()
    {
        QFETCH(int, how);
        // A completed split first, so that the status line has something to clear.
        QVERIFY(probe->completeASplit(dir.filePath("rom.bin")));
        const QStringList before = probe->fields();

        whenModalOpens<QFileDialog>(this, [how](QFileDialog *dialog) {
            if (!dialog)
                return;
            if (how == 0) {
                auto *box = dialog->findChild<QDialogButtonBox *>();
                QTest::mouseClick(box->button(QDialogButtonBox::Cancel), Qt::LeftButton);
            } else if (how == 1) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                dialog->close();
            }
        });
        probe->click("com_refer");
        QCOMPARE(probe->fields(), before);
        QCOMPARE(probe->status(), QString());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void browsingAfterASplitClearsTheStatus()
    {
        QVERIFY(probe->completeASplit(dir.filePath("rom.bin")));
        whenModalOpens<QFileDialog>(this,
                                    [&](QFileDialog *dialog) { choose(dialog, dir.filePath("kickstart")); });
        probe->click("com_refer");
        QCOMPARE(probe->status(), QString());
        QCOMPARE(probe->fields(),
                 QStringList(
                     {dir.filePath("kickstart"), dir.filePath("kicks_g.bin"), dir.filePath("kicks_k.bin")}));
    }

    void allFilesEntryListsNamesWithoutADot()
    {
        QStringList binaryEntryLists, allEntryLists;
        QString entryText;
        whenModalOpens<QFileDialog>(this, [&](QFileDialog *dialog) {
            if (!dialog)
                return;
            dialog->setDirectory(dir.path());
            binaryEntryLists = listed(dialog, dir.path());
            auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            QTest::keyClick(types, Qt::Key_Down);
            QTest::qWait(50);
            entryText = types->currentText();
            allEntryLists = listed(dialog, dir.path());
            dialog->reject();
        });
        probe->click("com_refer");
        QCOMPARE(binaryEntryLists, QStringList({"rom.bin"}));
        QCOMPARE(entryText, kAllEntry);
        QVERIFY2(allEntryLists.contains("kickstart"), qPrintable(allEntryLists.join(',')));
        QVERIFY(allEntryLists.contains("rom.bin"));
    }

    void browseThenAltSWritesTheProposedOutputs()
    {
        QTemporaryDir work;
        const QByteArray source = patternBytes(10001, 9);
        writeBytes(work.filePath("image.jpeg"), source);
        whenModalOpens<QFileDialog>(
            this, [&](QFileDialog *dialog) { choose(dialog, work.filePath("image.jpeg")); });
        probe->click("com_refer");
        // The offscreen platform has no window manager to hand focus back.
        probe->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(probe->window.get()));
        QTest::keyClick(probe->window.get(), Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(probe->status(), QStringLiteral("分割完了しました。"));
        const QList<QByteArray> expected = referenceDeal(source, 2, 1, false);
        QCOMPARE(readBytes(work.filePath("image._g.bin")), expected[0]);
        QCOMPARE(readBytes(work.filePath("image._k.bin")), expected[1]);
    }
};

QTEST_MAIN(TestBrowse)
#include "test_browse.moc"
