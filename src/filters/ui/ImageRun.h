#pragma once

#include "document/PreviewSession.h"
#include "filters/BandRun.h"

#include <QObject>
#include <QString>

#include <functional>

class Buffer;
class Language;
class QWidget;

// What an image-wide filter dialog needs of the program: the image, its undo copy (taken when
// the dialog opened; every full run reads it), the preview session over them, the drawing
// area, the progress display and the image area. Filled by the command that opens the dialog,
// which starts the session before and leaves it after.
struct ImageRunHost {
    Buffer* image = nullptr;
    const Buffer* undo = nullptr;
    PreviewSession* session = nullptr;
    std::function<Buffer&()> workBuffer; // the whole image, or its visible part with Clipping
    std::function<bool()> clipping;
    std::function<void()> progressStart;
    std::function<void(int percent)> progressStep;
    std::function<void()> progressStop;
    std::function<void()> repaint;
    std::function<void(bool)> enableImageArea;
    std::function<void(const QString& key)> message; // an error box of that message key
    // The file dialogs, seams for tests: the chosen name or an empty string.
    std::function<QString(const QString& title, const QString& filter, const QString& start)>
        openName;
    std::function<QString(const QString& title, const QString& filter, const QString& start,
                          const QString& extension)>
        saveName;
};

// The title and filter of a file dialog, set from the window's language section
// ("FFLoadDlg.Title", "FFLoadDlg.Filter").
class FileDialogTexts : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString filter MEMBER filter)
public:
    FileDialogTexts(const char* name, QString title, QString filter, QObject* parent)
        : QObject(parent), title(std::move(title)), filter(std::move(filter)) {
        setObjectName(QString::fromLatin1(name));
    }
    QString title, filter;
};

namespace imagerun {

// A full run over rows, band after band, with the progress display moving and pending events
// handled between bands so that the window stays alive and Stop (running cleared) is heard.
// Returns true when every row was done.
bool RunRows(const ImageRunHost& host, int rows, const std::function<void(int, int)>& work,
             const bool& running);

// A window's full run as the session sees it: Done when every row was done, else Stopped.
PreviewSession::Run FullRun(const ImageRunHost& host, int rows,
                            const std::function<void(int, int)>& work, const bool& running);

// "Text (*.EXT)|*.ext" of the language file as a Qt filter that finds both cases.
QString QtFilter(const QString& languageFilter);

} // namespace imagerun
