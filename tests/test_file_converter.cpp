#include "app/file_converter.h"
#include "reference_deal.h"
#include "runtime/error_box.h"
#include "runtime/runtime_error.h"
#include "temp_files.h"
#include "window_probe.h"

#include <QApplication>
#include <QDirIterator>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <chrono>
#include <thread>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

QString shownText(QString text)
{
    return text.remove(QLatin1Char('&'));
}

#ifndef Q_OS_WIN
// How many files this process holds open in `folder` with bytes written.
int writtenFilesIn(const QString &folder)
{
    int written = 0;
    for (QDirIterator it("/proc/self/fd", QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
         it.hasNext();) {
        const QString fd = it.next();
        QFile info("/proc/self/fdinfo/" + it.fileName());
        if (QFile::symLinkTarget(fd).startsWith(folder + '/') && info.open(QIODevice::ReadOnly) &&
            !info.readLine().startsWith("pos:\t0\n"))
            ++written;
    }
    return written;
}
#endif

} // namespace

#ifdef Q_OS_WIN
bool windowsJapaneseFontInstalled()
{
    const QStringList families = QFontDatabase::families();
    return families.contains(QStringLiteral("Yu Gothic UI")) ||
        families.contains(QStringLiteral("Meiryo UI")) || families.contains(QStringLiteral("MS UI Gothic"));
}
#endif

class TestFileConverter : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowProbe> probe;
    FileConverter *window = nullptr;

    template <typename T = QWidget>
    T *child(const char *name)
    {
        return probe->child<T>(name);
    }
    QLineEdit *text(const char *name) { return probe->text(name); }
    QString status() { return probe->status(); }
    void fill(const QString &source, const QString &even, const QString &odd)
    {
        probe->fill(source, even, odd);
    }

    // Drags `payload` over the control `over` and lets go, as the platform
    // does: through the window's own window, with Shift held, which asks for
    // a move. True when the window took it, and as a copy; refused, the drag
    // is left, not dropped, as the platform leaves it.
    bool dragAndDrop(const QString &over, const QMimeData &payload,
                     Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction)
    {
        // On the window itself: its margin, outside both frames.
        const QWidget *control = over == window->objectName() ? nullptr : child(qPrintable(over));
        const QPoint at = control ? control->mapTo(window, control->rect().center()) : QPoint(2, 2);
        QWindow *target = window->windowHandle();
        QDragEnterEvent enter(at, offered, &payload, Qt::LeftButton, Qt::ShiftModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, offered, &payload, Qt::LeftButton, Qt::ShiftModifier);
        QCoreApplication::sendEvent(target, &move);
        if (!move.isAccepted()) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(target, &leave);
            return false;
        }
        QDropEvent drop(at, offered, &payload, Qt::LeftButton, Qt::ShiftModifier);
        QCoreApplication::sendEvent(target, &drop);
        return move.dropAction() == Qt::CopyAction && drop.isAccepted() &&
            drop.dropAction() == Qt::CopyAction;
    }

private slots:
    void init()
    {
        probe = std::make_unique<WindowProbe>();
        QVERIFY(probe->active);
        window = probe->window.get();
    }

    void cleanup() { probe.reset(); }

    void startsEmptyWithFocusOnSplit()
    {
        // Qt's options from the command line took no effect (see main()).
        QCOMPARE(window->windowTitle(), QStringLiteral("Tamrivel"));
        QCOMPARE(window->layoutDirection(), Qt::LeftToRight);
        QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));
        QVERIFY(qApp->styleSheet().isEmpty());
        QCOMPARE(status(), QString());
        for (const char *name : {"Text1", "Text2", "Text3"})
            QCOMPARE(text(name)->text(), QString());
        QCOMPARE(QApplication::focusWidget(), child("com_sprit"));
        QCOMPARE(window->size(), QSize(432, 175));
        QCOMPARE(window->minimumSize(), window->maximumSize());
    }

    void controlsAreLaidOutAsDescribed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("geometry");
        // Twips from the window's description, 15 to a pixel.
        auto px = [](int l, int t, int w, int h) { return QRect(l / 15, t / 15, w / 15, h / 15); };
        QTest::newRow("frame_LoadFile") << "frame_LoadFile"
                                        << "FileConverter"
                                        << "Load File " << px(120, 120, 6255, 615);
        QTest::newRow("Text1") << "Text1"
                               << "frame_LoadFile"
                               << "" << px(720, 240, 5415, 270);
        QTest::newRow("frame_OutPuts") << "frame_OutPuts"
                                       << "FileConverter"
                                       << "Sprit As \u2026" << px(120, 960, 6255, 975);
        QTest::newRow("Label1") << "Label1"
                                << "frame_OutPuts"
                                << "偶数" << px(240, 240, 375, 255);
        QTest::newRow("Text2") << "Text2"
                               << "frame_OutPuts"
                               << "" << px(720, 240, 5415, 270);
        QTest::newRow("Label2") << "Label2"
                                << "frame_OutPuts"
                                << "奇数" << px(240, 600, 375, 255);
        QTest::newRow("Text3") << "Text3"
                               << "frame_OutPuts"
                               << "" << px(720, 600, 5415, 270);
        QTest::newRow("Label3") << "Label3"
                                << "FileConverter"
                                << "" << px(360, 2160, 2055, 255);
        QTest::newRow("com_sprit") << "com_sprit"
                                   << "FileConverter"
                                   << "分割(&S)" << px(2760, 2160, 1215, 375);
        QTest::newRow("com_refer") << "com_refer"
                                   << "FileConverter"
                                   << "参照(&R)" << px(4080, 2160, 1095, 375);
        QTest::newRow("Command1") << "Command1"
                                  << "FileConverter"
                                  << "終了(&E)" << px(5280, 2160, 1095, 375);
    }

    void controlsAreLaidOutAsDescribed()
    {
        QFETCH(QString, name);
        QFETCH(QString, parentName);
        QFETCH(QString, caption);
        QFETCH(QRect, geometry);
        QWidget *control = child(qPrintable(name));
        QCOMPARE(control->parentWidget()->objectName(), parentName);
        QCOMPARE(control->geometry(), geometry);
        QString actual;
        if (auto *frame = qobject_cast<QGroupBox *>(control))
            actual = frame->title();
        else if (auto *button = qobject_cast<QPushButton *>(control))
            actual = button->text();
        else if (auto *label = qobject_cast<QLabel *>(control))
            actual = label->text();
        else
            actual = qobject_cast<QLineEdit *>(control)->text();
        QCOMPARE(actual, caption);
    }

    void framesHoldTheirControls()
    {
        for (auto *frame : window->findChildren<QGroupBox *>()) {
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.text = frame->title();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            auto part = [&](QStyle::SubControl sub) {
                return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, sub, frame);
            };
            const QRect border = part(QStyle::SC_GroupBoxFrame), caption = part(QStyle::SC_GroupBoxLabel);
            // The caption sits on the top border line, inside the frame.
            QVERIFY(frame->rect().contains(caption));
            QVERIFY(caption.top() < border.top() && border.top() < caption.bottom());
            const QRect inside = part(QStyle::SC_GroupBoxContents).adjusted(1, 1, -1, -1);
            for (QWidget *control : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                QVERIFY2(inside.contains(control->geometry()), qPrintable(control->objectName()));
        }
    }

    void noCaptionIsClipped()
    {
#ifdef Q_OS_WIN
        if (!windowsJapaneseFontInstalled())
            QSKIP("none of Windows' Japanese UI fonts is installed (Wine)");
#endif
        const QList<QWidget *> captioned = {
            child("frame_LoadFile"), child("frame_OutPuts"), child("Label1"),  child("Label2"),
            child("com_sprit"),      child("com_refer"),     child("Command1")};
        QVERIFY(QFontInfo(window->font()).pointSize() == 9);
        for (QWidget *control : captioned) {
            QString caption;
            int spareWidth = 0;
            if (auto *frame = qobject_cast<QGroupBox *>(control)) {
                caption = frame->title();
                spareWidth = 16; // the title's indent and the frame on each side
            } else if (auto *button = qobject_cast<QPushButton *>(control)) {
                caption = shownText(button->text());
                spareWidth = 8;
            } else {
                caption = qobject_cast<QLabel *>(control)->text();
            }
            const QFontMetrics metrics(control->font());
            const QRect needed = metrics.boundingRect(caption);
            QVERIFY2(needed.width() + spareWidth <= control->width(),
                     qPrintable(QStringLiteral("%1 needs %2 px, has %3")
                                    .arg(control->objectName())
                                    .arg(needed.width() + spareWidth)
                                    .arg(control->width())));
            QVERIFY2(metrics.height() <= control->height(), qPrintable(control->objectName()));
        }
        // The status message, the longest text the status line ever shows.
        const QFontMetrics metrics(child("Label3")->font());
        QVERIFY(metrics.horizontalAdvance(kSplitDone) <= child("Label3")->width());
    }

    void japaneseCaptionsHaveGlyphs()
    {
#ifdef Q_OS_WIN
        if (!windowsJapaneseFontInstalled())
            QSKIP("none of Windows' Japanese UI fonts is installed (Wine)");
#endif
        const QFontMetrics metrics(child("Label1")->font());
        for (const QString &caption : {QStringLiteral("偶数奇数分割参照終了"), kSplitDone})
            for (QChar c : caption)
                QVERIFY2(metrics.inFontUcs4(c.unicode()), qPrintable(QString(c)));
    }

    void tabCyclesInTabIndexOrder()
    {
        const QStringList cycle = {"com_refer", "Text1",     "Text2",    "Text3",
                                   "Command1",  "com_sprit", "com_refer"};
        for (const QString &expected : cycle) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), expected);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("com_sprit"));
    }

    void noButtonIsDefault()
    {
        for (QPushButton *button : window->findChildren<QPushButton *>()) {
            QVERIFY(!button->isDefault());
            QVERIFY(!button->autoDefault());
        }
    }

    void altSSplits()
    {
        QTemporaryDir dir;
        const QByteArray source = patternBytes(2 * 1024 * 1024 + 1, 3);
        writeBytes(dir.filePath("rom.bin"), source);
        fill(dir.filePath("rom.bin"), dir.filePath("rom_g.bin"), dir.filePath("rom_k.bin"));
        QTest::keyClick(window, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(status(), kSplitDone);
        const QList<QByteArray> expected = referenceDeal(source, 2, 1, false);
        QCOMPARE(readBytes(dir.filePath("rom_g.bin")), expected[0]);
        QCOMPARE(readBytes(dir.filePath("rom_k.bin")), expected[1]);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Explorer's "Copy as path" quotes a path: pasted, it names the file
    // inside the quotes, and the field keeps what was pasted.
    void pastedQuotedPathsAreSplit()
    {
#ifndef Q_OS_WIN
        QSKIP("outside Windows, quotes are a name's own");
#else
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcd");
        const auto quoted = [&](const char *name) {
            return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(dir.filePath(name)));
        };
        const QStringList typed{"  " + quoted("rom.bin") + " ", quoted("even.bin"), dir.filePath("odd.bin")};
        fill(typed[0], typed[1], typed[2]);
        QTest::mouseClick(child<QPushButton>("com_sprit"), Qt::LeftButton);
        QTRY_COMPARE(status(), kSplitDone);
        QCOMPARE(readBytes(dir.filePath("even.bin")), QByteArray("ac"));
        QCOMPARE(readBytes(dir.filePath("odd.bin")), QByteArray("bd"));
        QCOMPARE(probe->fields(), typed);
#endif
    }

    void droppedFilesFillTheFieldTheyLandOn_data()
    {
        QTest::addColumn<QString>("over");
        // Files in the test's folder, as a file manager offers them: as
        // addresses, with their paths as text. "text:" offers the path as
        // text alone, "sftp:" the address of the file through another machine,
        // "move:" the file to be moved only, never copied.
        QTest::addColumn<QStringList>("dropped");
        // The three fields after the drop: a name in the folder, or "" when
        // the field keeps what it held; the status line is cleared only when
        // a new source is taken.
        QTest::addColumn<QStringList>("expected");
        const QStringList source = {"rom.bin", "rom_g.bin", "rom_k.bin"}, refused = {"", "", ""};
        QTest::newRow("on the window") << "FileConverter" << QStringList{"rom.bin"} << source;
        QTest::newRow("on Text1") << "Text1" << QStringList{"rom.bin"} << source;
        QTest::newRow("on the split button") << "com_sprit" << QStringList{"rom.bin"} << source;
        QTest::newRow("on Text2") << "Text2" << QStringList{"rom.bin"} << QStringList{"", "rom.bin", ""};
        QTest::newRow("on 偶数") << "Label1" << QStringList{"rom.bin"} << QStringList{"", "rom.bin", ""};
        QTest::newRow("on Text3") << "Text3" << QStringList{"rom.bin"} << QStringList{"", "", "rom.bin"};
        QTest::newRow("on 奇数") << "Label2" << QStringList{"rom.bin"} << QStringList{"", "", "rom.bin"};
        QTest::newRow("two files") << "Text1" << QStringList{"rom.bin", "kick.bin"} << refused;
        QTest::newRow("a folder") << "Text1" << QStringList{"roms"} << refused;
        QTest::newRow("a file and a folder") << "Text1" << QStringList{"rom.bin", "roms"} << refused;
        QTest::newRow("a missing file") << "Text1" << QStringList{"missing.bin"} << refused;
        QTest::newRow("another machine") << "Text1" << QStringList{"sftp:rom.bin"} << refused;
        QTest::newRow("text on Text2") << "Text2" << QStringList{"text:rom.bin"} << refused;
        QTest::newRow("only to be moved") << "Text1" << QStringList{"move:rom.bin"} << refused;
    }

    void droppedFilesFillTheFieldTheyLandOn()
    {
        QFETCH(QString, over);
        QFETCH(QStringList, dropped);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcd");
        writeBytes(dir.filePath("kick.bin"), "efgh");
        QVERIFY(QDir(dir.path()).mkdir("roms"));
        QVERIFY(probe->completeASplit(dir.filePath("rom.bin")));
        const QStringList before = {"old source", "old even", "old odd"};
        fill(before[0], before[1], before[2]);

        QMimeData payload;
        QList<QUrl> urls;
        QStringList paths;
        Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        for (QString name : dropped) {
            const bool textOnly = name.startsWith("text:"), remote = name.startsWith("sftp:");
            if (name.startsWith("move:"))
                offered = Qt::MoveAction;
            name = name.section(':', -1);
            paths.append(QDir::toNativeSeparators(dir.filePath(name)));
            QUrl url = QUrl::fromLocalFile(dir.filePath(name));
            if (remote)
                url.setScheme("sftp");
            if (!textOnly)
                urls.append(url);
        }
        if (!urls.isEmpty())
            payload.setUrls(urls);
        payload.setText(paths.join('\n'));
        bool taken = false;
        QStringList fields = before;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (!expected[i].isEmpty()) {
                fields[i] = QDir::toNativeSeparators(dir.filePath(expected[i]));
                taken = true;
            }
        }

        QCOMPARE(dragAndDrop(over, payload, offered), taken);
        QCOMPARE(probe->fields(), fields);
        QCOMPARE(status(), expected[0].isEmpty() ? kSplitDone : QString());
    }

    void nothingIsDroppedWhileASplitRuns()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcd");
        // Sparse, and far more than the split can deal before the test ends.
        QFile huge(dir.filePath("huge.bin"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(8) << 30));
        huge.close();
        fill(huge.fileName(), dir.filePath("e"), dir.filePath("o"));
        const QStringList before = probe->fields();
        probe->click("com_sprit");
        QVERIFY(probe->splitting());

        QMimeData payload;
        payload.setUrls({QUrl::fromLocalFile(dir.filePath("rom.bin"))});
        for (const char *over : {"FileConverter", "Text1", "Text2", "Label2"})
            QVERIFY2(!dragAndDrop(over, payload), over);
        QCOMPARE(probe->fields(), before);
        QVERIFY(probe->splitting()); // ended with the window, as the test ends
    }

    void altEDuringALongSplitEndsAtOnceLeavingEveryFile()
    {
        QTemporaryDir sources, outputs;
        // Sparse, and far more than the split can deal before the test ends it;
        // yet the outputs must fit the disk, or the split is refused at once.
        QFile huge(sources.filePath("huge.bin"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(8) << 30));
        huge.close();
        writeBytes(outputs.filePath("e"), "old even");
        writeBytes(outputs.filePath("o"), "old odd");
        const auto before = snapshot(outputs.path());
        fill(huge.fileName(), outputs.filePath("e"), outputs.filePath("o"));
        probe->click("com_sprit");
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

        // The event loop runs meanwhile; the fields and the split and browse
        // buttons drop their input (a dialog opening would fail the test).
        QTest::keyClicks(text("Text1"), "typed");
        probe->click("com_refer");
        QTest::keyClick(window, Qt::Key_R, Qt::AltModifier);
        QTest::keyClick(window, Qt::Key_S, Qt::AltModifier);
        QCOMPARE(text("Text1")->text(), huge.fileName());
        QVERIFY(probe->splitting());

        QElapsedTimer ending;
        ending.start();
        QTimer::singleShot(0, this, [&] { QTest::keyClick(window, Qt::Key_E, Qt::AltModifier); });
        // Gone with the window, so that it cannot end a later test's box.
        QTimer::singleShot(5000, window, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        probe.reset(); // the program ends with its window
        QVERIFY2(ending.elapsed() < 1000, qPrintable(QString::number(ending.elapsed())));
        QCOMPARE(snapshot(outputs.path()), before);
    }

    // Another run holds the outputs' folder for as long as it likes: 終了
    // still ends the program at once, every file as it was.
    void altEWhileWaitingForAnotherRunEndsAtOnce()
    {
#ifdef Q_OS_WIN
        QSKIP("holds the folder with flock");
#else
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcd");
        QDir(dir.path()).mkdir("out");
        writeBytes(dir.filePath("out/e"), "old even");
        const auto before = snapshot(dir.path());
        const int other = ::open(QFile::encodeName(dir.filePath("out")).constData(), O_RDONLY | O_DIRECTORY);
        QCOMPARE(::flock(other, LOCK_EX), 0);
        // Let go after a while, so that a window that waits does end, late.
        std::thread release([other] {
            std::this_thread::sleep_for(std::chrono::seconds(5));
            ::close(other);
        });
        fill(dir.filePath("rom.bin"), dir.filePath("out/e"), dir.filePath("out/o"));
        probe->click("com_sprit");
        // Both outputs written: what is left is the folder's lock.
        QVERIFY(QTest::qWaitFor([&] { return writtenFilesIn(dir.filePath("out")) == 2; }, 20000));
        QElapsedTimer ending;
        ending.start();
        QTimer::singleShot(0, this, [&] { QTest::keyClick(window, Qt::Key_E, Qt::AltModifier); });
        QTimer::singleShot(5000, window, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        probe.reset();
        const qint64 elapsed = ending.elapsed();
        release.join();
        QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
        QCOMPARE(snapshot(dir.path()), before);
#endif
    }

    void emptyEvenPathDoesNothing()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcd");
        QVERIFY(probe->completeASplit(dir.filePath("rom.bin")));
        fill(dir.filePath("rom.bin"), dir.filePath("e"), dir.filePath("o"));
        const auto before = snapshot(dir.path());

        text("Text2")->clear();
        QTest::mouseClick(child<QPushButton>("com_sprit"), Qt::LeftButton);
        QVERIFY(!probe->splitting());
        QCOMPARE(status(), kSplitDone);
        QCOMPARE(snapshot(dir.path()), before);
    }

    void errorIsShownAndTheWindowGoesOn_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("odd");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("file");
        // As the split opens them: the source first, then the outputs.
        QTest::newRow("missing source, empty 奇数")
            << "missing.bin"
            << "" << RuntimeError::message(ErrorNumber::FileNotFound) << "missing.bin";
        QTest::newRow("empty source") << ""
                                      << "o2"
                                      << "ファイル名が正しくありません。\n分割するファイルの欄が空です。"
                                      << "";
        QTest::newRow("newline pasted after 奇数") << "rom.bin"
                                                   << "o2\n"
                                                   << RuntimeError::message(ErrorNumber::BadFileName) << "";
        QTest::newRow("empty 奇数") << "rom.bin"
                                    << ""
                                    << "ファイル名が正しくありません。\n奇数の欄が空です。"
                                    << "";
    }

    void errorIsShownAndTheWindowGoesOn()
    {
        QFETCH(QString, source);
        QFETCH(QString, odd);
        QFETCH(QString, description);
        QFETCH(QString, file);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcd");
        QVERIFY(probe->completeASplit(dir.filePath("rom.bin")));

        const QStringList typed = {source.isEmpty() ? "" : dir.filePath(source), dir.filePath("e2"),
                                   odd.isEmpty() ? "" : dir.filePath(odd)};
        fill(typed[0], typed[1], typed[2]);
        const auto before = snapshot(dir.path());
        QString boxTitle, boxText;
        probe->whenModalOpens<QMessageBox>([&](QMessageBox *box) {
            if (!box)
                return;
            boxTitle = box->windowTitle();
            boxText = box->text();
            box->accept();
        });
        QTest::mouseClick(child<QPushButton>("com_sprit"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !boxText.isEmpty(); }));

        QCOMPARE(boxTitle, QStringLiteral("Tamrivel"));
        QVERIFY2(boxText.startsWith(description + '\n'), qPrintable(boxText));
        QVERIFY2(!boxText.contains(QStringLiteral("「」")), qPrintable(boxText));
        if (!file.isEmpty())
            // A long path may be wrapped inside its brackets.
            QVERIFY2(QString(boxText).remove(u'\n').contains(
                         QStringLiteral("「%1」").arg(QDir::toNativeSeparators(dir.filePath(file)))),
                     qPrintable(boxText));
        QVERIFY(window->isVisible());
        QCOMPARE(status(), QString());
        QCOMPARE(probe->fields(), typed);
        QCOMPARE(snapshot(dir.path()), before);
        QVERIFY(probe->waitForTheSplitToEnd());
    }

    void errorBoxFitsTheScreenForAnyPath_data()
    {
        QTest::addColumn<QString>("tail"); // below the temporary folder, 10,000 characters
        QTest::newRow("many folders") << QString("abcdefghi/").repeated(1000);
        QTest::newRow("one long name") << QString(10000, u'n');
    }

    // However long the path, the box fits the screen with its button in
    // reach, and the whole path can still be had from it.
    void errorBoxFitsTheScreenForAnyPath()
    {
        QFETCH(QString, tail);
        QTemporaryDir dir;
        const QString source = dir.filePath(tail);
        fill(source, dir.filePath("e"), dir.filePath("o"));
        QRect box, button, screen;
        QString details;
        probe->whenModalOpens<QMessageBox>([&](QMessageBox *shown) {
            screen = shown->screen()->availableGeometry();
            box = shown->frameGeometry();
            QAbstractButton *ok = shown->button(QMessageBox::Ok);
            button = QRect(ok->mapToGlobal(QPoint(0, 0)), ok->size());
            details = shown->detailedText();
            ok->click();
        });
        probe->click("com_sprit");
        QVERIFY(QTest::qWaitFor([&] { return !box.isNull(); }));
        QVERIFY2(screen.contains(box),
                 qPrintable(QStringLiteral("%1x%2").arg(box.width()).arg(box.height())));
        QVERIFY(screen.contains(button));
        QVERIFY(details.contains(QDir::toNativeSeparators(source)));
        QVERIFY(probe->waitForTheSplitToEnd());
    }

    void longPathsBreakAfterFolderSeparators_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("width"); // in full-width characters
        QTest::newRow("names that fit") << "「C:\\データ\\エミュレータ用\\ボード\\ロム.bin」" << 8;
        QTest::newRow("a name wider than a line") << "「/a/とても長い名前のついたファイル.bin」" << 6;
    }

    void longPathsBreakAfterFolderSeparators()
    {
        QFETCH(QString, path);
        QFETCH(int, width);
        const QFontMetrics metrics(window->font());
        width *= metrics.horizontalAdvance(QChar(0x3000));
        const QStringList lines = wrapAtSeparators(path, metrics, width);
        QCOMPARE(lines.join(QString()), path);
        const QRegularExpression separator(QStringLiteral("[/\\\\]"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QVERIFY(metrics.horizontalAdvance(lines[i]) <= width);
            // A break inside a name only where the name alone is too wide.
            const QString cutName = lines[i].section(separator, -1);
            if (i + 1 < lines.size() && !cutName.isEmpty())
                QVERIFY2(metrics.horizontalAdvance(cutName + lines[i + 1].section(separator, 0, 0)) > width,
                         qPrintable(lines.join('|')));
        }
    }

    void altEEndsTheProgram()
    {
        QTimer::singleShot(0, this, [&] { QTest::keyClick(window, Qt::Key_E, Qt::AltModifier); });
        QTimer::singleShot(5000, this, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void closingTheWindowEndsTheProgram()
    {
        QTimer::singleShot(0, this, [&] { window->close(); });
        QTimer::singleShot(5000, this, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

TAMRIVEL_WINDOW_TEST_MAIN(TestFileConverter)
#include "test_file_converter.moc"
