#include "reference_deal.h"
#include "runtime/runtime_error.h"
#include "split/platform/fault_hook.h"
#include "split/split_files.h"
#include "split/stream/stream_deal.h"
#include "temp_files.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace tamrivel;
using namespace tamrivel::testing;

namespace {

struct Paths {
    QString source, even, odd;
};

// A bad request: how to lay out the folder, what to ask, and the error the
// user must see, naming which of the three paths.
struct BadCase {
    const char *name;
    std::function<Paths(const QDir &)> setUp;
    ErrorNumber expected;
    int namedPath; // 0 source, 1 even, 2 odd
};

const QByteArray kSource = patternBytes(1001, 7);

bool hardLink(const QString &existing, const QString &link)
{
#ifdef Q_OS_WIN
    return ::CreateHardLinkW(reinterpret_cast<const wchar_t *>(link.utf16()),
                             reinterpret_cast<const wchar_t *>(existing.utf16()), nullptr);
#else
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData()) == 0;
#endif
}

// `count` relative links, each to the one before, the first to `target`;
// returns the path of the last.
QString linkChain(const QDir &dir, const QString &target, int count, const QString &prefix)
{
    QString previous = target;
    for (int i = 0; i < count; ++i) {
        const QString name = prefix + QString::number(i);
        QFile::link(previous, dir.filePath(name));
        previous = name;
    }
    return dir.filePath(previous);
}

QList<BadCase> badCases()
{
    auto file = [](const QDir &dir, const char *name) { return dir.filePath(QString::fromUtf8(name)); };
    return {
        {"missing source",
         [=](const QDir &d) {
             return Paths{file(d, "none.bin"), file(d, "e"), file(d, "o")};
         },
         ErrorNumber::FileNotFound, 0},
        {"source in a missing folder",
         [=](const QDir &d) {
             return Paths{file(d, "nofolder/rom.bin"), file(d, "e"), file(d, "o")};
         },
         ErrorNumber::FolderNotFound, 0},
        {"folder as source",
         [=](const QDir &d) {
             return Paths{d.path(), file(d, "e"), file(d, "o")};
         },
         ErrorNumber::IsFolder, 0},
        {"empty source path",
         [=](const QDir &d) {
             return Paths{QString(""), file(d, "e"), file(d, "o")};
         },
         ErrorNumber::BadFileName, 0},
        {"empty odd path",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), file(d, "e"), QString("")};
         },
         ErrorNumber::BadFileName, 2},
        {"unpaired surrogate",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), d.filePath(QString(QChar(0xD800)) + "e"), file(d, "o")};
         },
         ErrorNumber::BadFileName, 1},
        {"output in a missing folder",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), file(d, "e"), file(d, "nofolder/o")};
         },
         ErrorNumber::FolderNotFound, 2},
        {"folder as output",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), d.path(), file(d, "o")};
         },
         ErrorNumber::IsFolder, 1},
        {"output is the source",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), file(d, "rom.bin"), file(d, "o")};
         },
         ErrorNumber::SameFile, 1},
        {"output is the source through ..",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), file(d, "e"), file(d, "sub/../rom.bin")};
         },
         ErrorNumber::SameFile, 2},
        {"output is the source through a link",
         [=](const QDir &d) {
             QFile::link(file(d, "rom.bin"), file(d, "link.bin"));
             return Paths{file(d, "rom.bin"), file(d, "link.bin"), file(d, "o")};
         },
         ErrorNumber::SameFile, 1},
        {"output is the source through a hard link",
         [=](const QDir &d) {
             hardLink(file(d, "rom.bin"), file(d, "hard.bin"));
             return Paths{file(d, "rom.bin"), file(d, "e"), file(d, "hard.bin")};
         },
         ErrorNumber::SameFile, 2},
        {"output is the source through a chain of 30 links",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), linkChain(d, "rom.bin", 30, "l"), file(d, "o")};
         },
         ErrorNumber::SameFile, 1},
        {"a chain of links too long to follow",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), file(d, "e"), linkChain(d, "rom.bin", 41, "l")};
         },
         ErrorNumber::BadFileName, 2},
        {"two link chains ending at one new name",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), linkChain(d, "new", 3, "a"),
                          linkChain(d, "sub/../new", 5, "b")};
         },
         ErrorNumber::SameFile, 2},
        {"a path through a file",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), file(d, "e"), file(d, "rom.bin/o")};
         },
         ErrorNumber::BadFileName, 2},
        {"a name longer than the file system takes",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), d.filePath(QString(300, 'n')), file(d, "o")};
         },
         ErrorNumber::BadFileName, 1},
        {"both outputs the same new file",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), file(d, "out"), file(d, "sub/../out")};
         },
         ErrorNumber::SameFile, 2},
        {"both outputs the same existing file",
         [=](const QDir &d) {
             writeBytes(file(d, "out"), "old");
             return Paths{file(d, "rom.bin"), file(d, "out"), file(d, "out")};
         },
         ErrorNumber::SameFile, 2},
#ifdef Q_OS_WIN
        // Windows folds case in names, and so must the check.
        {"output is the source in another case",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), file(d, "ROM.BIN"), file(d, "o")};
         },
         ErrorNumber::SameFile, 1},
        {"outputs differing only in case",
         [=](const QDir &d) {
             return Paths{file(d, "rom.bin"), file(d, "rom_g.bin"), file(d, "ROM_G.bin")};
         },
         ErrorNumber::SameFile, 2},
#endif
    };
}

RuntimeError splitError(const Paths &paths)
{
    try {
        splitFile(paths.source, paths.even, paths.odd);
    } catch (const RuntimeError &error) {
        return error;
    }
    return RuntimeError(ErrorNumber::InvalidArgument, QStringLiteral("<no error raised>"));
}

} // namespace

class TestSplitFiles : public QObject {
    Q_OBJECT

private slots:
    void splitGivesEvenAndOddBytes_data()
    {
        QTest::addColumn<int>("length");
        const int block = int(blockBytes(DealShape{}));
        for (int length : {0, 1, 2, 5, 6, 4097, block - 1, block, block + 1, 3 * block + 7})
            QTest::addRow("%d bytes", length) << length;
    }

    void splitGivesEvenAndOddBytes()
    {
        QFETCH(int, length);
        QTemporaryDir dir;
        const QByteArray source = patternBytes(length, quint32(length));
        writeBytes(dir.filePath("rom.bin"), source);
        splitFile(dir.filePath("rom.bin"), dir.filePath("rom_g.bin"), dir.filePath("rom_k.bin"));
        const QList<QByteArray> expected = referenceDeal(source, 2, 1, false);
        QCOMPARE(readBytes(dir.filePath("rom_g.bin")), expected[0]);
        QCOMPARE(readBytes(dir.filePath("rom_k.bin")), expected[1]);
        QCOMPARE(readBytes(dir.filePath("rom.bin")), source);
    }

    void fiveBytesExample()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("s"), QByteArray::fromHex("0102030405"));
        splitFile(dir.filePath("s"), dir.filePath("e"), dir.filePath("o"));
        QCOMPARE(readBytes(dir.filePath("e")), QByteArray::fromHex("010305"));
        QCOMPARE(readBytes(dir.filePath("o")), QByteArray::fromHex("0204"));
    }

    void existingOutputsAreReplacedWhole()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("s"), "abcdef");
        writeBytes(dir.filePath("e"), QByteArray(5000, 'x'));
        writeBytes(dir.filePath("o"), QByteArray(5000, 'y'));
#ifndef Q_OS_WIN
        ::chmod(QFile::encodeName(dir.filePath("e")).constData(), 0640);
#endif
        splitFile(dir.filePath("s"), dir.filePath("e"), dir.filePath("o"));
        QCOMPARE(readBytes(dir.filePath("e")), QByteArray("ace"));
        QCOMPARE(readBytes(dir.filePath("o")), QByteArray("bdf"));
#ifndef Q_OS_WIN
        struct stat status { };
        QCOMPARE(::stat(QFile::encodeName(dir.filePath("e")).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 0777), 0640);
#endif
        // Nothing but the source and the two outputs is left in the folder.
        QCOMPARE(snapshot(dir.path()).keys(), QStringList({"e", "o", "s"}));
    }

    void linkedOutputReplacesItsTarget()
    {
#ifdef Q_OS_WIN
        QSKIP("QFile::link makes a shortcut on Windows, which file calls do not follow");
#endif
        QTemporaryDir dir;
        writeBytes(dir.filePath("s"), "abcd");
        writeBytes(dir.filePath("target"), "old contents");
        QVERIFY(QFile::link(dir.filePath("target"), dir.filePath("e")));
        splitFile(dir.filePath("s"), dir.filePath("e"), dir.filePath("o"));
        QVERIFY(QFileInfo(dir.filePath("e")).isSymLink());
        QCOMPARE(readBytes(dir.filePath("target")), QByteArray("ac"));
    }

    void relativePathsResolveAgainstTheCurrentFolder()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows drops trailing blanks from names, so a name of one blank is the folder");
#endif
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QDir().mkdir("sub");
        writeBytes("s", "1234");
        splitFile("s", " ", "sub/../o");
        QDir::setCurrent(previous);
        // A name of one blank is a name like any other.
        QCOMPARE(readBytes(dir.filePath(" ")), QByteArray("13"));
        QCOMPARE(readBytes(dir.filePath("o")), QByteArray("24"));
    }

    void specialOutputsAreWrittenInPlace()
    {
#ifdef Q_OS_WIN
        QSKIP("needs a FIFO and /dev/null");
#else
        QTemporaryDir dir;
        const QByteArray source = patternBytes(3 * 1024 * 1024 + 3, 11);
        writeBytes(dir.filePath("s"), source);
        const QString fifo = dir.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QByteArray received;
        std::thread reader([&] { received = readBytes(fifo); });
        splitFile(dir.filePath("s"), fifo, QStringLiteral("/dev/null"));
        reader.join();
        QCOMPARE(received, referenceDeal(source, 2, 1, false)[0]);
        QVERIFY(QFileInfo(fifo).exists());
        QCOMPARE(snapshot(dir.path()).keys(), QStringList({"fifo", "s"}));
#endif
    }

    void badRequestsChangeNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("fileSystem"); // as the system says, or pretended
        const QList<BadCase> cases = badCases();
        for (int i = 0; i < cases.size(); ++i) {
            QTest::newRow(cases[i].name) << i << QString();
#ifdef Q_OS_WIN
            // FAT numbers a file afresh when it is renamed: sameness there is
            // the path the system resolves. It has no hard links.
            if (cases[i].expected == ErrorNumber::SameFile &&
                !QByteArray(cases[i].name).contains("hard link"))
                QTest::addRow("%s, on FAT", cases[i].name) << i << QStringLiteral("FAT32");
#endif
        }
    }

    void badRequestsChangeNothing()
    {
        QFETCH(int, index);
        QFETCH(QString, fileSystem);
        const BadCase bad = badCases()[index];
        platform::FaultHook hook;
        hook.fileSystem = fileSystem;
        platform::installFaultHook(&hook);
        const auto uninstall = qScopeGuard([] { platform::installFaultHook(nullptr); });
#ifdef Q_OS_WIN
        const QByteArray name(bad.name);
        if (name.contains("link") && !name.contains("hard link"))
            QSKIP("QFile::link makes a shortcut on Windows, which file calls do not follow");
#endif
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("sub");
        writeBytes(dir.filePath("rom.bin"), kSource);
        const Paths paths = bad.setUp(QDir(dir.path()));
        const auto before = snapshot(dir.path());

        const RuntimeError error = splitError(paths);
        QCOMPARE(error.number(), bad.expected);
        const QString named[] = {paths.source, paths.even, paths.odd};
        QCOMPARE(error.path(), named[bad.namedPath]);
        QVERIFY(error.description().contains(QDir::toNativeSeparators(named[bad.namedPath])));
        QCOMPARE(snapshot(dir.path()), before);
    }

    void linkPlantedInASharedFolderIsNotFollowed()
    {
#ifdef Q_OS_WIN
        QSKIP("needs POSIX owners and a sticky folder");
#else
        if (::geteuid() != 0)
            QSKIP("only root can plant a link that belongs to someone else");
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "abcd");
        writeBytes(dir.filePath("victim"), "precious");
        QDir(dir.path()).mkdir("shared");
        const QByteArray shared = QFile::encodeName(dir.filePath("shared"));
        QCOMPARE(::chmod(shared.constData(), 01777), 0);
        const QByteArray link = shared + "/rom_g.bin";
        QCOMPARE(::symlink(QFile::encodeName(dir.filePath("victim")).constData(), link.constData()), 0);
        QCOMPARE(::lchown(link.constData(), 65534, 65534), 0);
        const Paths paths{dir.filePath("rom.bin"), QFile::decodeName(link), dir.filePath("o")};
        QCOMPARE(splitError(paths).number(), ErrorNumber::AccessDenied);
        QCOMPARE(readBytes(dir.filePath("victim")), QByteArray("precious"));
        // The folder owner's own link is followed as ever.
        QCOMPARE(::lchown(link.constData(), 0, 0), 0);
        splitFile(paths.source, paths.even, paths.odd);
        QCOMPARE(readBytes(dir.filePath("victim")), QByteArray("ac"));
#endif
    }

    void replacedOutputKeepsModeAndOwner_data()
    {
        QTest::addColumn<int>("mode");
        for (int mode : {0444, 02755, 04750, 0600})
            QTest::addRow("%o", mode) << mode;
    }

    void replacedOutputKeepsModeAndOwner()
    {
#ifdef Q_OS_WIN
        QSKIP("needs POSIX modes and owners");
#else
        QFETCH(int, mode);
        QTemporaryDir dir;
        writeBytes(dir.filePath("s"), "abcd");
        const QByteArray even = QFile::encodeName(dir.filePath("e"));
        writeBytes(dir.filePath("e"), "old");
        // Root may give the file away; anyone else keeps their own.
        if (::geteuid() == 0)
            QCOMPARE(::chown(even.constData(), 65534, 65534), 0);
        QCOMPARE(::chmod(even.constData(), mode_t(mode)), 0);
        struct stat before {
        }, after{};
        QCOMPARE(::stat(even.constData(), &before), 0);
        splitFile(dir.filePath("s"), dir.filePath("e"), dir.filePath("o"));
        QCOMPARE(::stat(even.constData(), &after), 0);
        QCOMPARE(readBytes(dir.filePath("e")), QByteArray("ac"));
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
#endif
    }

    void unreadableSourceIsAccessDenied()
    {
#ifdef Q_OS_WIN
        QSKIP("needs POSIX permissions; a file held without sharing stands in on Windows");
#else
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        QTemporaryDir dir;
        writeBytes(dir.filePath("s"), "1234");
        ::chmod(QFile::encodeName(dir.filePath("s")).constData(), 0);
        const RuntimeError error = splitError({dir.filePath("s"), dir.filePath("e"), dir.filePath("o")});
        QCOMPARE(error.number(), ErrorNumber::AccessDenied);
        QVERIFY(!QFileInfo::exists(dir.filePath("e")));
#endif
    }
};

QTEST_GUILESS_MAIN(TestSplitFiles)
#include "test_split_files.moc"
