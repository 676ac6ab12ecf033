#pragma once

#include "cli/verbs/verb.h"

#include <QCommandLineParser>

namespace tamrivel::cli {

// Qt's help text with `usage` for its usage line, which names the program by
// the path it was started as.
QString helpWithUsage(const QCommandLineParser &parser, const QString &usage);

// A verb's own command line: the options it takes, its files and its help.
class VerbParser {
public:
    VerbParser(const Verb &verb, const QString &description);

    void addOption(const QCommandLineOption &option);
    // For the help's list of arguments.
    void describeFiles(const QString &name, const QString &description, const QString &syntax = QString());

    // Reads the arguments after the verb. False when they ask for the verb's
    // help, which has then been printed. Raises UsageError for an option the
    // verb does not take, or one without its value.
    bool parse(const QStringList &arguments);

    const QCommandLineParser &parsed() const { return m_parser; }
    QStringList files() const { return m_parser.positionalArguments(); }

private:
    Verb m_verb;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QStringList m_longOptions; // for suggesting one to a typo
};

} // namespace tamrivel::cli
