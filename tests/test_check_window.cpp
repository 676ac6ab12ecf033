#include "check/check_window.h"
#include "reference_deal.h"
#include "split/doctor/finding.h"
#include "temp_files.h"
#include "window_probe.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

constexpr qsizetype kImageBytes = 64 * 1024;
// Stops take effect between dumps, so a stopped check has rows left over.
constexpr int kManyDumps = 60;

// CRC-32 bit by bit, as a check on the library the program takes it from.
quint32 slowCrc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QString hex(quint32 value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

// The row a dump got, column by column, as the table shows it.
QStringList rowTexts(const QTableWidget *table, int row)
{
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << (table->item(row, column) ? table->item(row, column)->text() : QString());
    return texts;
}

void drop(QWidget *on, const QStringList &paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPointF at = QRectF(on->rect()).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &enter);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &dropped);
}

} // namespace

class TestCheckWindow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QByteArray image;
    QList<QByteArray> halves;
    std::unique_ptr<CheckWindow> window;
    ModalGuard guard;

    template <typename T = QWidget>
    T *child(const char *name) const
    {
        return namedControl<T>(window.get(), name);
    }
    QString path(const char *name) const { return QDir::toNativeSeparators(dir.filePath(name)); }
    QTableWidget *table() const { return child<QTableWidget>("resultTable"); }
    QString status() const { return child<QLabel>("statusLine")->text(); }
    bool running() const { return child<QPushButton>("stopButton")->isEnabled(); }
    bool waitForTheEnd() const
    {
        return QTest::qWaitFor([this] { return !running(); }, 60000);
    }

    void fill(const QString &imagePath, const QStringList &dumps) const
    {
        child<QLineEdit>("imageField")->setText(imagePath);
        child<QListWidget>("dumpList")->clear();
        child<QListWidget>("dumpList")->addItems(dumps);
    }

private slots:
    void initTestCase()
    {
        image = patternBytes(kImageBytes, 11);
        halves = referenceDeal(image, 2, 1, false);
        writeBytes(dir.filePath("rom.bin"), image);
        writeBytes(dir.filePath("rom_g.bin"), halves[0]);
        writeBytes(dir.filePath("rom_k.bin"), halves[1]);
        QByteArray stuck = halves[1];
        for (char &byte : stuck)
            byte = char(byte & ~0x08);
        writeBytes(dir.filePath("stuck.bin"), stuck);
        writeBytes(dir.filePath("other.bin"), patternBytes(kImageBytes / 2, 97));
        writeBytes(dir.filePath("short.bin"), halves[0].first(halves[0].size() - 256));
        for (int i = 0; i < kManyDumps; ++i)
            writeBytes(dir.filePath(QStringLiteral("many%1.bin").arg(i)), halves[i % 2]);
    }

    void init()
    {
        window = std::make_unique<CheckWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() { window.reset(); }

    void eachDumpGetsItsRow_data()
    {
        QTest::addColumn<QString>("dump");
        QTest::addColumn<QString>("chip");
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("finding");
        QTest::newRow("even half") << "rom_g.bin"
                                   << "自動"
                                   << "偶数"
                                   << "一致"
                                   << "";
        QTest::newRow("odd half") << "rom_k.bin"
                                  << "自動"
                                  << "奇数"
                                  << "一致"
                                  << "";
        QTest::newRow("stuck data line") << "stuck.bin"
                                         << "自動"
                                         << "奇数"
                                         << ""
                                         << "D3 が 0 に固定";
        QTest::newRow("matches nothing") << "other.bin"
                                         << "自動"
                                         << ""
                                         << "一致する部分なし"
                                         << "";
        QTest::newRow("cut short") << "short.bin"
                                   << "自動"
                                   << "偶数"
                                   << "256 バイト不足"
                                   << "";
        // Told the chip, the halves are chips of twice their size, erased.
        QTest::newRow("on a larger chip") << "rom_g.bin"
                                          << "27512 (64K)"
                                          << "偶数、64K チップ"
                                          << "32768 バイト不足"
                                          << "";
    }

    void eachDumpGetsItsRow()
    {
        QFETCH(QString, dump);
        QFETCH(QString, chip);
        QFETCH(QString, part);
        QFETCH(QString, verdict);
        QFETCH(QString, finding);
        fill(path("rom.bin"), {path(qPrintable(dump))});
        child<QComboBox>("chipBox")->setCurrentText(chip);
        // Enter presses the check button, from any field.
        QTest::keyClick(child<QLineEdit>("imageField"), Qt::Key_Return);
        QVERIFY(waitForTheEnd());
        QCOMPARE(table()->rowCount(), 1);
        const QStringList row = rowTexts(table(), 0);
        QCOMPARE(row[0], dump);
        QCOMPARE(row[1], part);
        if (!verdict.isEmpty())
            QCOMPARE(row[2], verdict);
        else
            QVERIFY2(row[2].endsWith("バイト相違"), qPrintable(row[2]));
        QVERIFY2(row[3].split('\n').contains(finding) || finding.isEmpty(), qPrintable(row[3]));
        const QByteArray bytes = readBytes(dir.filePath(dump));
        quint32 sum = 0;
        for (const char byte : bytes)
            sum += uchar(byte);
        QCOMPARE(row.mid(4), QStringList({hex(sum & 0xFFFF, 4), hex(sum, 8), hex(slowCrc32(bytes), 8)}));
        QCOMPARE(status(), QStringLiteral("照合完了しました。"));
    }

    void anUnreadableDumpIsReportedAndTheWindowStays()
    {
        fill(path("rom.bin"), {path("rom_g.bin"), path("missing.bin"), path("rom_k.bin")});
        QString boxText;
        guard.expect([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            boxText = box ? box->text() : QString();
            modal->close();
        });
        QTest::mouseClick(child<QPushButton>("checkButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !boxText.isEmpty(); }, 60000));
        QVERIFY2(boxText.contains("missing.bin") && boxText.endsWith("エラー番号: 2"), qPrintable(boxText));
        QVERIFY(window->isVisible());
        QCOMPARE(table()->rowCount(), 3);
        QCOMPARE(rowTexts(table(), 1).mid(0, 3),
                 QStringList({"missing.bin", "", "読み込めません (エラー番号 2)"}));
        QCOMPARE(rowTexts(table(), 2)[2], QStringLiteral("一致"));
    }

    void stoppingEndsTheCheck_data()
    {
        QTest::addColumn<bool>("byEsc");
        QTest::newRow("stop button") << false;
        QTest::newRow("Esc") << true;
    }

    void stoppingEndsTheCheck()
    {
        QFETCH(bool, byEsc);
        QStringList dumps;
        for (int i = 0; i < kManyDumps; ++i)
            dumps << path(qPrintable(QStringLiteral("many%1.bin").arg(i)));
        fill(path("rom.bin"), dumps);
        QTest::mouseClick(child<QPushButton>("checkButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([this] { return table()->rowCount() > 0; }, 60000));
        if (byEsc)
            QTest::keyClick(window.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(child<QPushButton>("stopButton"), Qt::LeftButton);
        QVERIFY(waitForTheEnd());
        QCOMPARE(status(), QStringLiteral("中止しました。"));
        QVERIFY(table()->rowCount() < kManyDumps);
        QVERIFY(window->isVisible());
        // Esc with nothing running closes the window, as a dialog's Cancel.
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QTRY_VERIFY(!window->isVisible());
    }

    void copyPutsTheResultOnTheClipboard()
    {
        fill(path("rom.bin"), {path("rom_g.bin"), path("stuck.bin")});
        QTest::mouseClick(child<QPushButton>("checkButton"), Qt::LeftButton);
        QVERIFY(waitForTheEnd());
        QApplication::clipboard()->clear();
        // A button's access key presses it a moment later, as a click shows.
        QTest::keyClick(window.get(), Qt::Key_P, Qt::AltModifier);
        QTRY_VERIFY(!QApplication::clipboard()->text().isEmpty());
        const QString text = QApplication::clipboard()->text();
        const QString evenSums = QStringLiteral("%1 バイト  sum16 ").arg(halves[0].size());
        for (const QString &line :
             {"イメージ: " + path("rom.bin"), QStringLiteral("チップ: 自動"), "ダンプ: " + path("rom_g.bin"),
              QStringLiteral("  部分: 偶数"), QStringLiteral("  結果: 一致"), "ダンプ: " + path("stuck.bin"),
              QStringLiteral("  所見: D3 が 0 に固定"),
              QStringLiteral("  CRC-32 %1").arg(hex(slowCrc32(halves[0]), 8))}) {
            QVERIFY2(text.contains(line), qPrintable(line + " not in:\n" + text));
        }
        QCOMPARE(status(), QStringLiteral("結果をコピーしました。"));
    }

    void droppedFilesFillTheImageAndTheDumps()
    {
        auto *dumps = child<QListWidget>("dumpList");
        drop(dumps, {dir.filePath("rom_g.bin"), dir.filePath("rom_k.bin")});
        drop(child<QLineEdit>("imageField"), {dir.filePath("rom.bin")});
        drop(dumps, {dir.filePath("rom_g.bin"), dir.filePath("stuck.bin")});
        QCOMPARE(child<QLineEdit>("imageField")->text(), path("rom.bin"));
        QStringList listed;
        for (int row = 0; row < dumps->count(); ++row)
            listed << dumps->item(row)->text();
        QCOMPARE(listed, QStringList({path("rom_g.bin"), path("rom_k.bin"), path("stuck.bin")}));
        // Delete takes the selected dumps off the list.
        dumps->setFocus();
        dumps->setCurrentRow(1);
        QTest::keyClick(dumps, Qt::Key_Delete);
        QCOMPARE(dumps->count(), 2);
        QVERIFY(dumps->findItems(path("rom_k.bin"), Qt::MatchExactly).isEmpty());
    }

    void chosenFilesFillTheImageAndTheDumps()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows' own Open dialog, driven in test_browse");
#else
        const auto choose = [this](const QString &names) {
            guard.expect([this, names](QWidget *modal) {
                auto *dialog = qobject_cast<QFileDialog *>(modal);
                if (!dialog)
                    return;
                dialog->setDirectory(dir.path());
                auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                nameEdit->setText(names);
                QTest::keyClick(nameEdit, Qt::Key_Return);
            });
        };
        choose(QStringLiteral("rom.bin"));
        QTest::keyClick(window.get(), Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(child<QLineEdit>("imageField")->text(), path("rom.bin"));
        // The offscreen platform has no window manager to hand focus back.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        choose(QStringLiteral("\"rom_g.bin\" \"rom_k.bin\""));
        QTest::keyClick(window.get(), Qt::Key_A, Qt::AltModifier);
        auto *dumps = child<QListWidget>("dumpList");
        QTRY_COMPARE(dumps->count(), 2);
        QCOMPARE(QSet<QString>({dumps->item(0)->text(), dumps->item(1)->text()}),
                 QSet<QString>({path("rom_g.bin"), path("rom_k.bin")}));
#endif
    }
};

TAMRIVEL_WINDOW_TEST_MAIN(TestCheckWindow)
#include "test_check_window.moc"
