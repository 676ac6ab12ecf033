#include "reference_deal.h"
#include "runtime/runtime_error.h"
#include "split/split_files.h"
#include "split/stream_deal.h"
#include "temp_files.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

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
             d.mkdir("sub");
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
             ::link(QFile::encodeName(file(d, "rom.bin")).constData(),
                    QFile::encodeName(file(d, "hard.bin")).constData());
             return Paths{file(d, "rom.bin"), file(d, "e"), file(d, "hard.bin")};
         },
         ErrorNumber::SameFile, 2},
        {"both outputs the same new file",
         [=](const QDir &d) {
             d.mkdir("sub");
             return Paths{file(d, "rom.bin"), file(d, "out"), file(d, "sub/../out")};
         },
         ErrorNumber::SameFile, 2},
        {"both outputs the same existing file",
         [=](const QDir &d) {
             writeBytes(file(d, "out"), "old");
             return Paths{file(d, "rom.bin"), file(d, "out"), file(d, "out")};
         },
         ErrorNumber::SameFile, 2},
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
        ::chmod(QFile::encodeName(dir.filePath("e")).constData(), 0640);
        splitFile(dir.filePath("s"), dir.filePath("e"), dir.filePath("o"));
        QCOMPARE(readBytes(dir.filePath("e")), QByteArray("ace"));
        QCOMPARE(readBytes(dir.filePath("o")), QByteArray("bdf"));
        struct stat status { };
        QCOMPARE(::stat(QFile::encodeName(dir.filePath("e")).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 0777), 0640);
        // Nothing but the source and the two outputs is left in the folder.
        QCOMPARE(snapshot(dir.path()).keys(), QStringList({"e", "o", "s"}));
    }

    void linkedOutputReplacesItsTarget()
    {
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
    }

    void badRequestsChangeNothing_data()
    {
        QTest::addColumn<int>("index");
        const QList<BadCase> cases = badCases();
        for (int i = 0; i < cases.size(); ++i)
            QTest::newRow(cases[i].name) << i;
    }

    void badRequestsChangeNothing()
    {
        QFETCH(int, index);
        const BadCase bad = badCases()[index];
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("sub");
        writeBytes(dir.filePath("rom.bin"), kSource);
        const Paths paths = bad.setUp(QDir(dir.path()));
        const auto before = snapshot(dir.path());

        const RuntimeError error = splitError(paths);
        QCOMPARE(error.number(), bad.expected);
        const QString named[] = {paths.source, paths.even, paths.odd};
        QCOMPARE(error.path(), named[bad.namedPath]);
        QVERIFY(error.description().contains(named[bad.namedPath]));
        QCOMPARE(snapshot(dir.path()), before);
    }

    void unreadableSourceIsAccessDenied()
    {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        QTemporaryDir dir;
        writeBytes(dir.filePath("s"), "1234");
        ::chmod(QFile::encodeName(dir.filePath("s")).constData(), 0);
        const RuntimeError error = splitError({dir.filePath("s"), dir.filePath("e"), dir.filePath("o")});
        QCOMPARE(error.number(), ErrorNumber::AccessDenied);
        QVERIFY(!QFileInfo::exists(dir.filePath("e")));
    }
};

QTEST_GUILESS_MAIN(TestSplitFiles)
#include "test_split_files.moc"
