#include "app/UserManual.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vantrel {

QString UserManualPath() {
    // Installed, the manual lies in share/doc/vantrel beside the bin folder; found from
    // the program's own folder, a moved install still finds it.
    const QString candidates[] = {
        QCoreApplication::applicationDirPath() + "/../share/doc/vantrel/manual.html",
        QStringLiteral(VANTREL_SOURCE_DIR "/docs/manual.html")};
    for (const QString& path : candidates) {
        const QFileInfo file(path);
        if (file.isFile()) {
            return file.canonicalFilePath();
        }
    }
    return {};
}

}  // namespace vantrel
