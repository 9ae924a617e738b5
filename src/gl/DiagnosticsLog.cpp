#include "gl/DiagnosticsLog.h"

#include "math/Diagnostics.h"

#include <cstring>

// Messages below the info level are off unless a rule turns them on.
Q_LOGGING_CATEGORY(pelmoraLog, "pelmora", QtInfoMsg)

namespace {

QtMessageHandler frameworkHandler = nullptr;

void holdBackFrameworkWarnings(QtMsgType type, const QMessageLogContext& context,
                               const QString& message) {
    const bool ours = context.category && std::strcmp(context.category, "pelmora") == 0;
    if (type == QtWarningMsg && !ours && !pelmoraLog().isDebugEnabled())
        return;
    frameworkHandler(type, context, message);
}

} // namespace

void routeDiagnosticsToLog() {
    installDiagnosticSink([](std::string_view message) {
        qCDebug(pelmoraLog, "%.*s", static_cast<int>(message.size()), message.data());
    });
    if (!frameworkHandler)
        frameworkHandler = qInstallMessageHandler(holdBackFrameworkWarnings);
}

void enableVerboseLog() {
    QLoggingCategory::setFilterRules(QStringLiteral("pelmora.debug=true"));
}
