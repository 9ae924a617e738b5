#include "ui/CommandLine.h"

#include <QCommandLineParser>

CommandLineRequest parseCommandLine(const QStringList& arguments, QString& out, QString& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Pelmora models flowers and plants from pen strokes: draw petals, stamens,\n"
        "pistils and stems, arrange them on flower heads, grow plants from them and\n"
        "plant those in scenes. The user guide is under Help > Pelmora Help (F1)."));
    // Qt's own help option would also offer --help-all with options of the
    // framework that this parse does not hand on.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        QStringLiteral("Writes diagnostic messages for developers on the standard error stream."));
    parser.addOption(verbose);
    parser.addPositionalArgument(
        QStringLiteral("library"),
        QStringLiteral("A library file (.pmr) to open. Without one Pelmora starts with the "
                       "first pminit.pmr found in the working directory or the user's data "
                       "directory, else with the starter library installed with Pelmora."),
        QStringLiteral("[library.pmr]"));

    CommandLineRequest request;
    const bool parsed = parser.parse(arguments);
    request.verbose = parser.isSet(verbose);
    if (parser.isSet(help) || parser.isSet(version)) {
        // Without an application object yet, Qt cannot name the program itself.
        out = parser.isSet(help) ? parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                             QStringLiteral("pelmora"))
                                 : QStringLiteral("Pelmora " PELMORA_VERSION "\n");
        request.run = false;
        return request;
    }
    if (!parsed || parser.positionalArguments().size() > 1) {
        err =
            (parsed ? QStringLiteral("Only one library file can be opened.") : parser.errorText()) +
            QStringLiteral("\nSee pelmora --help.\n");
        request.run = false;
        request.exitStatus = 1;
        return request;
    }
    if (!parser.positionalArguments().isEmpty())
        request.library = parser.positionalArguments().constFirst();
    return request;
}
