#pragma once

#include "document/DocumentTable.h"
#include "document/Host.h"
#include "document/ImageDoc.h"
#include "raster/GFXFile.h"

#include <QString>

#include <cstdint>
#include <exception>

struct OpenPreview;

// Result codes of LoadImageFile.
namespace LoadCode {
inline constexpr int Ok = 0, PartialImage = 1, NotSupported = 2, LibraryFault = 3, CannotRead = 4,
                     BrushTooBig = 5;
} // namespace LoadCode

// picture.bmp -> picture._bm in the same folder; a name without extension gets "._".
QString BackupName(const QString& path);

struct SaveOptions {
    uint32_t drawColour = 0;
    uint32_t backColour = 0;
    bool backupFiles = false;
    Buffer* scratch = nullptr; // handed to GFXFile::Save
};

// Writes a document. The file is written beside the target under a temporary name and moved
// over it only when complete, so a failed save never loses the old file. Success: doc takes the
// full path, untitled false, change count 0, and "Img saved" (the status key) is returned.
// Failure: "ErrSaveImgForm" or "ErrSaveImg" has been shown, doc keeps its name, flags and
// change count, and an empty string is returned.
QString SaveImageFile(ImageDoc& doc, const QString& name, const SaveOptions& options,
                      MessageHost& messages);

// Loads image n (from 1) of name into doc, a document slot (CurrentDoc is snapshotted first and
// restored on failure) or any other record (left empty at the default size on failure).
// colourA and colourB: in, the drawing and background colours; out on success, those the file
// asks for. recentEntry: on success and not quiet, the Reopen entry to add; otherwise empty.
// preview: the open dialog's; when it holds image n of name, the image is taken from it (a
// partly read one after the "ErrLoadImg" question) instead of reading the file again, and the
// preview is emptied either way. Returns a LoadCode.
int LoadImageFile(DocumentTable& docs, ImageDoc& doc, const QString& name, int n, bool quiet,
                  MessageHost& messages, uint32_t& colourA, uint32_t& colourB, QString& recentEntry,
                  OpenPreview* preview = nullptr);

// Writes pixels to name beside a temporary file, with the backup rename when backupFiles is on;
// false when "ErrSaveImgForm" or "ErrSaveImg" has been shown (the old file is untouched).
bool WriteImageFile(Buffer& pixels, const QString& name, GFXtra32& extra, bool backupFiles,
                    Buffer* scratch, MessageHost& messages);

// The message of a failed load, not quiet: codes 1 and 3 with pixels read ask "ErrLoadImg" and
// Yes turns them into Ok. With nothing read there is nothing to keep: "ImgBig" when the size was
// refused (tooLarge), "FormNotSup" for code 2, otherwise "ErrOpenImg". Returns the code that
// stands.
int ReportLoadFailure(int code, bool hasPixels, MessageHost& messages, bool tooLarge = false);

// The library's failure as a LoadCode; hasPixels tells whether any pixels were read.
int LoadCodeFor(const std::exception& e, bool hasPixels);
// True when the failure is the image's size (from its header, or no memory for its pixels).
bool IsSizeRefusal(const std::exception& e);
