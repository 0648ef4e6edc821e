#include "testdata.h"

#include <QDir>
#include <QFileInfo>

QString TestDataDir() {
    const QStringList candidates = {
        qEnvironmentVariable("OV_TESTDATA"),
        QStringLiteral(OV_SOURCE_DIR "/../shared/testdata"),
        QStringLiteral("/work/shared/testdata"),
    };
    for (const QString& c : candidates)
        if (!c.isEmpty() && QFileInfo(c + "/pngsuite").isDir()) return QDir(c).absolutePath();
    return {};
}
