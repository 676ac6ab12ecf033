#include "setup/path_entries.h"

#include <QTest>

using namespace tamrivel::setup;

namespace {

const QString folder = QStringLiteral("C:\\Program Files\\Tamrivel");
// What the functions give when they leave the PATH as it is.
const QString unchanged = QStringLiteral("(unchanged)");

QString shown(const std::optional<std::wstring> &path)
{
    return path ? QString::fromStdWString(*path) : unchanged;
}

QString added(const QString &path)
{
    return shown(withEntry(path.toStdWString(), folder.toStdWString()));
}

QString removed(const QString &path)
{
    return shown(withoutEntry(path.toStdWString(), folder.toStdWString()));
}

} // namespace

class TestPathEntries : public QObject {
    Q_OBJECT

private slots:
    void removingUndoesAddingToTheCharacter_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("no PATH") << "" << folder;
        QTest::newRow("one entry") << "A"
                                   << "A;" + folder;
        QTest::newRow("a closing ; stays last") << "A;"
                                                << "A;" + folder + ";";
        QTest::newRow("only a ;") << ";"
                                  << ";" + folder + ";";
        QTest::newRow("empty entries stay") << "A;;B"
                                            << "A;;B;" + folder;
    }

    void removingUndoesAddingToTheCharacter()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QCOMPARE(added(before), after);
        QCOMPARE(removed(after), before);
    }

    void anEqualFolderIsNotAddedAgain_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("after");
        QTest::newRow("other case") << "A;c:\\program files\\TAMRIVEL" << unchanged;
        QTest::newRow("closing backslash") << "C:\\Program Files\\Tamrivel\\;B" << unchanged;
        QTest::newRow("quoted") << "\"C:\\Program Files\\Tamrivel\"" << unchanged;
        QTest::newRow("a longer name is another folder") << "C:\\Program Files\\Tamrivel2"
                                                         << "C:\\Program Files\\Tamrivel2;" + folder;
        QTest::newRow("a parent is another folder") << "C:\\Program Files"
                                                    << "C:\\Program Files;" + folder;
    }

    void anEqualFolderIsNotAddedAgain()
    {
        QFETCH(QString, path);
        QFETCH(QString, after);
        QCOMPARE(added(path), after);
    }

    // The uninstaller takes off the entry the setup program put on, as it
    // wrote it: never one the user wrote another way.
    void removesOnlyTheLastExactEntry_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("after");
        QTest::newRow("entries added after it") << "A;" + folder + ";B"
                                                << "A;B";
        QTest::newRow("first of several") << folder + ";B"
                                          << "B";
        QTest::newRow("the last of two") << folder + ";A;" + folder << folder + ";A";
        QTest::newRow("other case") << "A;c:\\program files\\tamrivel" << unchanged;
        QTest::newRow("closing backslash") << "A;" + folder + "\\" << unchanged;
        QTest::newRow("a longer name") << folder + "2" << unchanged;
        QTest::newRow("no PATH") << "" << unchanged;
    }

    void removesOnlyTheLastExactEntry()
    {
        QFETCH(QString, path);
        QFETCH(QString, after);
        QCOMPARE(removed(path), after);
    }

    void anEntryIsOneFolder_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("isEntry");
        QTest::newRow("a folder") << folder << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("two folders") << "C:\\A;C:\\B" << false;
        QTest::newRow("a quote") << "C:\\A\"" << false;
    }

    void anEntryIsOneFolder()
    {
        QFETCH(QString, entry);
        QFETCH(bool, isEntry);
        QCOMPARE(isPathEntry(entry.toStdWString()), isEntry);
    }
};

QTEST_GUILESS_MAIN(TestPathEntries)
#include "test_path_entries.moc"
