#include "files/ImageFiles.h"

#include "files/OpenPreview.h"
#include "files/RecentFiles.h"
#include "raster/GFXFile.h"
#include "raster/RasterError.h"

#include <QFile>
#include <QFileInfo>

#include <exception>

QString BackupName(const QString& path) {
    const qsizetype slash =
        qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash) return path + QStringLiteral("._");
    return path.left(dot) + QStringLiteral("._") + path.mid(dot + 1, 2);
}

bool WriteImageFile(Buffer& pixels, const QString& name, GFXtra32& extra, bool backupFiles,
                    Buffer* scratch, MessageHost& messages) {
    const QString target = QFileInfo(name).absoluteFilePath();
    try {
        // Backup once the new file is complete, so a failed save leaves the old file in place.
        // A failing rename is ignored by design.
        GFXFile::Save(pixels, target, &extra, scratch, [&] {
            if (backupFiles && QFileInfo::exists(target)) QFile::rename(target, BackupName(target));
        });
    } catch (const InvalidImageError&) {
        messages.MessageByKey(QStringLiteral("ErrSaveImgForm"), QStringLiteral("Err"),
                              MessageCode::OkWarning);
        return false;
    } catch (const std::exception&) {
        messages.MessageByKey(QStringLiteral("ErrSaveImg"), QStringLiteral("Err"),
                              MessageCode::OkWarning);
        return false;
    }
    return true;
}

QString SaveImageFile(ImageDoc& doc, const QString& name, const SaveOptions& options,
                      MessageHost& messages) {
    GFXtra32 extra;
    extra.colourA = options.drawColour;
    extra.colourB = options.backColour;
    // The edge marks go in the saving's one pass over the pixels (GFXFile::Save).
    if (!WriteImageFile(doc.image, name, extra, options.backupFiles, options.scratch, messages))
        return {};
    doc.fileName = QFileInfo(name).absoluteFilePath();
    doc.untitled = false;
    doc.changeCount = 0;
    return QStringLiteral("Img saved");
}

int ReportLoadFailure(int code, bool hasPixels, MessageHost& messages, bool tooLarge) {
    if (code == LoadCode::Ok) return code;
    // The question only makes sense with something read to keep.
    if ((code == LoadCode::PartialImage || code == LoadCode::LibraryFault) && hasPixels) {
        const int answer = messages.MessageByKey(QStringLiteral("ErrLoadImg"),
                                                 QStringLiteral("Err"), MessageCode::YesNoWarning);
        return answer == MessageCode::Yes ? LoadCode::Ok : code;
    }
    QString key = QStringLiteral("ErrOpenImg");
    if (tooLarge)
        key = QStringLiteral("ImgBig");
    else if (code == LoadCode::NotSupported)
        key = QStringLiteral("FormNotSup");
    messages.MessageByKey(key, QStringLiteral("Err"), MessageCode::OkWarning);
    return code;
}

int LoadCodeFor(const std::exception& e, bool hasPixels) {
    if (const auto* invalid = dynamic_cast<const InvalidImageError*>(&e))
        return invalid->Partial() && hasPixels ? LoadCode::PartialImage : LoadCode::NotSupported;
    if (dynamic_cast<const LibraryError*>(&e)) return LoadCode::LibraryFault;
    return LoadCode::CannotRead;
}

bool IsSizeRefusal(const std::exception& e) {
    return dynamic_cast<const ImageTooLargeError*>(&e) != nullptr;
}

int LoadImageFile(DocumentTable& docs, ImageDoc& doc, const QString& name, int n, bool quiet,
                  MessageHost& messages, uint32_t& colourA, uint32_t& colourB, QString& recentEntry,
                  OpenPreview* preview) {
    recentEntry.clear();
    const bool current = &doc == &docs.CurrentDoc();
    // The undo copy may fail to hold the pixels; the fields are put back by hand then.
    const ImageDoc before{Buffer(), doc.untitled, doc.changeCount, doc.fileName, doc.imageNumber};
    const bool hadPixels = doc.HasPixels();
    // Shared, not copied: the old pixels stay alive for a failed load without a second picture.
    if (current) docs.ShareUndoSnapshot(doc);

    GFXtra32 extra;
    extra.colourA = colourA;
    extra.colourB = colourB;
    extra.image = n;
    int code = LoadCode::Ok;
    bool tooLarge = false;
    bool asked = false; // the partial-image question came with the preview's image
    if (preview && preview->Holds(name, n)) {
        bool take = true;
        if (preview->loadResult != LoadCode::Ok) {
            asked = true;
            take = messages.MessageByKey(QStringLiteral("ErrLoadImg"), QStringLiteral("Err"),
                                         MessageCode::YesNoWarning) == MessageCode::Yes;
        }
        if (take) {
            doc.FreePixels();
            SwapImageDocs(doc, preview->full);
            extra.colourA = preview->colourA;
            extra.colourB = preview->colourB;
        } else {
            code = LoadCode::PartialImage;
        }
        preview->Clear();
    } else {
        try {
            doc.FreePixels();
            doc.imageNumber = n;
            GFXFile::Load(doc.image, name, &extra);
        } catch (const std::exception& e) {
            code = LoadCodeFor(e, doc.HasPixels());
            tooLarge = IsSizeRefusal(e);
        }
    }

    if (code != LoadCode::Ok && !quiet && !asked)
        code = ReportLoadFailure(code, doc.HasPixels(), messages, tooLarge);

    if (code != LoadCode::Ok) {
        if (current) {
            if (docs.RestoreFromUndo(doc) != 0) {
                doc.FreePixels();
                if (hadPixels) doc.MakeBlank(docs.blankSize);
                doc.untitled = before.untitled;
                doc.changeCount = before.changeCount;
                doc.fileName = before.fileName;
                doc.imageNumber = before.imageNumber;
            }
        } else {
            doc.FreePixels();
            doc.MakeBlank({Buffer::default_x, Buffer::default_y});
        }
        return code;
    }

    doc.fileName = QFileInfo(name).absoluteFilePath();
    doc.changeCount = 0;
    doc.untitled = false;
    colourA = extra.colourA;
    colourB = extra.colourB;
    if (!quiet) recentEntry = RecentFiles::EntryFor(doc.fileName, n);
    if (current) {
        if (docs.hooks.showCurrent) docs.hooks.showCurrent(true);
        docs.ShareUndoSnapshot(doc); // copied only when the first edit begins
        docs.UpdateFileLabel();
    }
    return LoadCode::Ok;
}
