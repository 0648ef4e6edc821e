#include "filters/ui/ImageRun.h"

#include <QCoreApplication>
#include <QStringList>

namespace imagerun {

bool RunRows(const ImageRunHost& host, int rows, const std::function<void(int, int)>& work,
             const bool& running) {
    if (host.progressStart) host.progressStart();
    // Bands short enough that Stop is heard promptly, long enough to share among cores.
    const int band = std::max(1, std::min(32, rows / 50 + 1));
    const int done = bands::Run(rows, band, work, [&](int rowsDone) {
        if (host.progressStep) host.progressStep(int(int64_t(rowsDone) * 100 / std::max(rows, 1)));
        QCoreApplication::processEvents();
        return running;
    });
    if (host.progressStop) host.progressStop();
    return done == rows && running;
}

PreviewSession::Run FullRun(const ImageRunHost& host, int rows,
                            const std::function<void(int, int)>& work, const bool& running) {
    return [&host, rows, &work, &running](const PreviewSession::Settings&) {
        return RunRows(host, rows, work, running) ? PreviewSession::Outcome::Done
                                                  : PreviewSession::Outcome::Stopped;
    };
}

QString QtFilter(const QString& languageFilter) {
    const QStringList parts = languageFilter.split(QLatin1Char('|'));
    QString text = parts.value(0);
    const QString pattern = parts.value(1, QStringLiteral("*"));
    if (const qsizetype open = text.indexOf(QLatin1String(" (")); open > 0) text.truncate(open);
    return QStringLiteral("%1 (%2 %3)").arg(text, pattern.toLower(), pattern.toUpper());
}

} // namespace imagerun
