#include "reference_deal.h"
#include "temp_files.h"
#include "window_probe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>
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

// The names the dialog shows in `folder`.
QStringList listed(QFileDialog *dialog, const QString &folder)
{
    auto *model = dialog->findChild<QFileSystemModel *>();
    const QModelIndex parent = model->index(folder);
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
    // ctest gives the test a home of its own; a developer's is left unread.
    const bool ownHome = QDir::homePath().contains(QStringLiteral("/tests/home/"));
    const QMap<QString, QByteArray> homeAtStart =
        ownHome ? snapshot(QDir::homePath()) : QMap<QString, QByteArray>();

private slots:
    void initTestCase()
    {
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
        QStringList buttonTexts;
        probe->whenModalOpens<QFileDialog>([&](QFileDialog *dialog) {
            if (!dialog)
                return;
            title = dialog->windowTitle();
            entries = dialog->nameFilters();
            selected = dialog->selectedNameFilter();
            checkBoxes = int(dialog->findChildren<QCheckBox *>().size());
            modal = dialog->isModal();
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            buttonTexts = {buttons->button(QDialogButtonBox::Open)->text(),
                           buttons->button(QDialogButtonBox::Cancel)->text()};
            dialog->reject();
        });
        probe->click("com_refer");
        QCOMPARE(title, QStringLiteral("分割ファイルの指定"));
        QCOMPARE(entries, QStringList({kBinaryEntry, kAllEntry}));
        QCOMPARE(selected, kBinaryEntry);
        QCOMPARE(checkBoxes, 0); // no read-only check box
        QVERIFY(modal);
        QCOMPARE(buttonTexts, QStringList({"開く(&O)", "キャンセル"}));
    }

    void choosingAFileProposesBothOutputs()
    {
        const QString source = dir.filePath("rom.bin");
        probe->whenModalOpens<QFileDialog>([&](QFileDialog *dialog) { choose(dialog, source); });
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

        probe->whenModalOpens<QFileDialog>([how](QFileDialog *dialog) {
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
        probe->whenModalOpens<QFileDialog>(
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
        probe->whenModalOpens<QFileDialog>([&](QFileDialog *dialog) {
            if (!dialog)
                return;
            auto *model = dialog->findChild<QFileSystemModel *>();
            QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
            dialog->setDirectory(dir.path());
            QVERIFY(QTest::qWaitFor([&] { return loaded.contains({dir.path()}); }));
            binaryEntryLists = listed(dialog, dir.path());
            auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            QTest::keyClick(types, Qt::Key_Down);
            entryText = types->currentText();
            // The listing follows the new patterns a moment later.
            QVERIFY(QTest::qWaitFor([&] { return listed(dialog, dir.path()).contains("kickstart"); }));
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
        probe->whenModalOpens<QFileDialog>(
            [&](QFileDialog *dialog) { choose(dialog, work.filePath("image.jpeg")); });
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

    void nothingIsWrittenToTheUsersFolders()
    {
        if (!ownHome)
            QSKIP("needs a home of its own, as ctest gives it");
        probe->whenModalOpens<QFileDialog>(
            [&](QFileDialog *dialog) { choose(dialog, dir.filePath("rom.bin")); });
        probe->click("com_refer");
        probe->whenModalOpens<QFileDialog>([](QFileDialog *dialog) {
            if (dialog)
                dialog->reject();
        });
        probe->click("com_refer");
        QVERIFY(probe->completeASplit(dir.filePath("rom.bin")));
        QCOMPARE(snapshot(QDir::homePath()), homeAtStart);
    }
};

TAMRIVEL_WINDOW_TEST_MAIN(TestBrowse)
#include "test_browse.moc"
