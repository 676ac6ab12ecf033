#pragma once

#include <QCoreApplication>
#include <QString>

#include <exception>

namespace tamrivel {

// Our own stable error numbers. They are shown to users in the error box and
// printed by the companion, so a number, once given, never changes meaning.
enum class ErrorNumber : int {
    InvalidArgument = 1,
    FileNotFound = 2,
    FolderNotFound = 3,
    AccessDenied = 4,
    DiskFull = 5,
    DeviceIo = 6,
    BadFileName = 7,
    IsFolder = 8,
    SameFile = 9,
    MisfitParts = 10,
    Cancelled = 11,
    TooManyOpenFiles = 12,
    ChipOverflow = 13,
    BadRecord = 14,
    OutOfMemory = 15,
    Unexpected = 16,
    FileChanged = 17,
    // Another program holds the file open and shuts others out (Windows'
    // share modes); POSIX has no such refusal.
    FileInUse = 18,
};

// An error raised by a failing operation: a number and a description in the
// user's language that names the file involved, where there is one. Details
// are put in that language where the error is raised, as RuntimeError::tr().
class RuntimeError : public std::exception {
    Q_DECLARE_TR_FUNCTIONS(RuntimeError)

public:
    explicit RuntimeError(ErrorNumber number, const QString &path = QString(),
                          const QString &detail = QString());

    ErrorNumber number() const { return m_number; }
    int code() const { return static_cast<int>(m_number); }
    QString path() const { return m_path; }
    QString detail() const { return m_detail; }
    QString description() const;
    const char *what() const noexcept override { return m_what.constData(); }

    // The catalogue text for a number, without any file name.
    static QString message(ErrorNumber number);

    // Any failure as one of ours, so that what nobody foresaw still reaches
    // the user as a number and words rather than ending the program.
    static RuntimeError from(const std::exception &error);

private:
    ErrorNumber m_number;
    QString m_path;
    QString m_detail;
    QByteArray m_what;
};

// A path as the user's system writes it, its control characters shown as
// symbols (a newline as ␊), so that no name can break the line it is on.
QString shownPath(const QString &path);

} // namespace tamrivel
