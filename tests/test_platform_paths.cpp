#include "runtime/runtime_error.h"
#include "split/platform/fault_hook.h"
#include "split/platform/platform.h"
#include "split/split_files.h"
#include "temp_files.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace tamrivel;
using namespace tamrivel::testing;

// Paths as users of each system write them, and files that another program
// holds open.
class TestPlatformPaths : public QObject {
    Q_OBJECT

private slots:
    void spellingsOfAPathWork_data()
    {
        QTest::addColumn<QString>("folder"); // below the temporary folder
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("spelling"); // "plain", "backslashes" or "drive-relative"
        QTest::newRow("Japanese name") << "" << QStringLiteral("ロム 日本語.bin") << "plain";
        const QString deep = QString(100, u'a') + u'/' + QString(100, u'b') + u'/' + QString(100, u'c');
        QTest::newRow("path over 260 characters") << deep << QStringLiteral("rom.bin") << "plain";
        QTest::newRow("backslashes") << "sub" << QStringLiteral("rom.bin") << "backslashes";
        QTest::newRow("drive-relative") << "" << QStringLiteral("rom.bin") << "drive-relative";
    }

    void spellingsOfAPathWork()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, spelling);
#ifndef Q_OS_WIN
        if (spelling != "plain")
            QSKIP("a Windows spelling");
#endif
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir(dir.path()).mkpath(folder.isEmpty() ? "." : folder));
        const QString base = QDir(dir.path()).filePath(folder.isEmpty() ? name : folder + u'/' + name);
        writeBytes(base, "0123456789");
        auto spelt = [&](const QString &path) {
            if (spelling == "backslashes")
                return QDir::toNativeSeparators(path);
            // "C:rom.bin": relative to the current folder of drive C:.
            if (spelling == "drive-relative")
                return path.left(2) + QFileInfo(path).fileName();
            return path;
        };
        if (spelling == "drive-relative")
            QDir::setCurrent(QFileInfo(base).path());
        const QString stem = base.chopped(4);
        splitFile(spelt(base), spelt(stem + "_g.bin"), spelt(stem + "_k.bin"));
        QDir::setCurrent(previous);
        QCOMPARE(readBytes(stem + "_g.bin"), QByteArray("02468"));
        QCOMPARE(readBytes(stem + "_k.bin"), QByteArray("13579"));
    }

    // From a working folder deeper than the system's path limit, relative
    // names work as the folder itself does.
    void relativeNamesFromAFolderDeeperThanThePathLimit()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows resolves relative names itself, in the long form");
#else
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const QByteArray name(200, 'd');
        int depth = 0;
        for (; depth * (name.size() + 1) <= PATH_MAX; ++depth)
            QVERIFY(::mkdir(name.constData(), 0700) == 0 && ::chdir(name.constData()) == 0);
        // The tree is removed from inside, since no path reaches its bottom.
        const auto removeTree = qScopeGuard([&] {
            for (const char *file : {"s.bin", "a.bin", "b.bin", "j.bin"})
                ::unlink(file);
            for (; depth > 0 && ::chdir("..") == 0; --depth)
                ::rmdir(name.constData());
            QDir::setCurrent(previous);
        });
        writeBytes("s.bin", "0123456789");
        splitFile("s.bin", "a.bin", "b.bin");
        joinFiles({"a.bin", "b.bin"}, "j.bin", DealShape{});
        const QByteArray joined = readBytes("j.bin");
        const QByteArray even = readBytes("a.bin");
        QCOMPARE(even, QByteArray("02468"));
        QCOMPARE(joined, QByteArray("0123456789"));
#endif
    }

    void fileHeldWithoutSharingIsInUse_data()
    {
        QTest::addColumn<int>("held"); // 0 the source, 1 the existing even output
        QTest::newRow("source") << 0;
        QTest::newRow("output") << 1;
    }

    void fileHeldWithoutSharingIsInUse()
    {
#ifndef Q_OS_WIN
        QSKIP("only Windows lets a program shut others out of a file");
#else
        QFETCH(int, held);
        QTemporaryDir dir;
        const QStringList paths = {dir.filePath("rom.bin"), dir.filePath("rom_g.bin"),
                                   dir.filePath("rom_k.bin")};
        writeBytes(paths[0], "source");
        writeBytes(paths[1], "old even");
        const auto before = snapshot(dir.path());
        const HANDLE other = ::CreateFileW(reinterpret_cast<const wchar_t *>(paths[held].utf16()),
                                           GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        QVERIFY(other != INVALID_HANDLE_VALUE);
        ErrorNumber number = ErrorNumber::InvalidArgument;
        QString named;
        try {
            splitFile(paths[0], paths[1], paths[2]);
        } catch (const RuntimeError &error) {
            number = error.number();
            named = error.path();
        }
        ::CloseHandle(other);
        QCOMPARE(number, ErrorNumber::FileInUse);
        QCOMPARE(named, paths[held]);
        QCOMPARE(snapshot(dir.path()), before);
#endif
    }

    // Windows takes these names for devices in any folder; "rom.bin:x" is a
    // stream inside rom.bin. None may become a file in the report.
    void namesThatAreNoFileOnWindowsAreRefused_data()
    {
        QTest::addColumn<QString>("output");
        for (const char *name : {"nul.bin", "COM1.bin", "con", "CONOUT$", "aux.txt ", "rom.bin:x"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void namesThatAreNoFileOnWindowsAreRefused()
    {
#ifndef Q_OS_WIN
        QSKIP("Windows' own names");
#else
        QFETCH(QString, output);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "0123456789");
        const auto before = snapshot(dir.path());
        ErrorNumber number = ErrorNumber::InvalidArgument;
        try {
            splitFile(dir.filePath("rom.bin"), dir.filePath("a.bin"), dir.filePath(output));
        } catch (const RuntimeError &error) {
            number = error.number();
        }
        QCOMPARE(number, ErrorNumber::BadFileName);
        QCOMPARE(snapshot(dir.path()), before);
#endif
    }

    // As copied from a FAT stick or a share: the file, never the device.
    void aFileNamedLikeADeviceIsReadAsItself()
    {
#ifndef Q_OS_WIN
        QSKIP("Windows' own names");
#else
        QTemporaryDir dir;
        const QString real = QStringLiteral("\\\\?\\") + QDir::toNativeSeparators(dir.filePath("NUL.bin"));
        const HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t *>(real.utf16()), GENERIC_WRITE, 0,
                                          nullptr, CREATE_NEW, 0, nullptr);
        QVERIFY(file != INVALID_HANDLE_VALUE);
        DWORD wrote = 0;
        ::WriteFile(file, "0123456789", 10, &wrote, nullptr);
        ::CloseHandle(file);
        splitFile(dir.filePath("NUL.bin"), dir.filePath("a.bin"), dir.filePath("b.bin"));
        QCOMPARE(readBytes(dir.filePath("a.bin")), QByteArray("02468"));
        ::DeleteFileW(reinterpret_cast<const wchar_t *>(real.utf16()));
#endif
    }

    // A system or hidden output (as some programmers' folders keep them)
    // stays one when it is replaced.
    void replacedOutputKeepsItsSystemAttributes()
    {
#ifndef Q_OS_WIN
        QSKIP("Windows' own attributes");
#else
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "0123456789");
        writeBytes(dir.filePath("a.bin"), "old");
        const QString output = QDir::toNativeSeparators(dir.filePath("a.bin"));
        QVERIFY(
            ::SetFileAttributesW(reinterpret_cast<const wchar_t *>(output.utf16()), FILE_ATTRIBUTE_SYSTEM));
        splitFile(dir.filePath("rom.bin"), dir.filePath("a.bin"), dir.filePath("b.bin"));
        QVERIFY(::GetFileAttributesW(reinterpret_cast<const wchar_t *>(output.utf16())) &
                FILE_ATTRIBUTE_SYSTEM);
        QCOMPARE(readBytes(dir.filePath("a.bin")), QByteArray("02468"));
#endif
    }

    void twoNamesOfOneFileAreKnownOnEveryFileSystem_data()
    {
        QTest::addColumn<QString>("fileSystem"); // as the system says, or pretended
        QTest::addColumn<bool>("byPath");
        QTest::newRow("by the file id") << QString() << false;
        QTest::newRow("FAT, by the path the system resolves") << QStringLiteral("FAT32") << true;
        QTest::newRow("exFAT, by the path the system resolves") << QStringLiteral("exFAT") << true;
    }

    // The same file in another case is one file either way; a hard link,
    // which FAT never has, tells which way was taken.
    void twoNamesOfOneFileAreKnownOnEveryFileSystem()
    {
#ifndef Q_OS_WIN
        QSKIP("FAT's renumbering and 128-bit ids are Windows' concern");
#else
        QFETCH(QString, fileSystem);
        QFETCH(bool, byPath);
        QTemporaryDir dir;
        writeBytes(dir.filePath("rom.bin"), "0123456789");
        QVERIFY(::CreateHardLinkW(reinterpret_cast<const wchar_t *>(dir.filePath("hard.bin").utf16()),
                                  reinterpret_cast<const wchar_t *>(dir.filePath("rom.bin").utf16()),
                                  nullptr));
        platform::FaultHook hook;
        hook.fileSystem = fileSystem;
        platform::installFaultHook(&hook);
        const auto uninstall = qScopeGuard([] { platform::installFaultHook(nullptr); });
        const auto idOf = [&](const char *name) {
            const platform::File file = platform::openForReading(dir.filePath(name));
            return platform::identityOf(file, dir.filePath(name));
        };
        const platform::FileId id = idOf("rom.bin");
        QCOMPARE(id.path.isEmpty(), !byPath);
        QCOMPARE(idOf("ROM.BIN"), id);
        QCOMPARE(idOf("hard.bin") == id, !byPath);
        QVERIFY(idOf("hard.bin") != platform::FileId{});
#endif
    }
};

QTEST_GUILESS_MAIN(TestPlatformPaths)
#include "test_platform_paths.moc"
