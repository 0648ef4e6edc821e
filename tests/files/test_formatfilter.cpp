#include "files/FormatFilter.h"
#include "files/ImageFiles.h"

#include <gtest/gtest.h>

namespace {

std::vector<GFXFormat> TwoFormats() {
    return {{QStringLiteral("Bitmap"), QStringLiteral("*.BMP;*.dib"), true, "bmp"},
            {QStringLiteral("JPEG"), QStringLiteral("*.jpg;*.jpeg"), false, "jpeg"}};
}

} // namespace

TEST(FormatFilter, TwoFormatsThenTheAllEntry) {
    const auto translate = [](const QString& key) {
        return key == QLatin1String("All") ? QStringLiteral("Alle") : QStringLiteral("?");
    };
    const FormatFilter all = BuildFormatFilter(TwoFormats(), false, translate);
    EXPECT_EQ(all.text,
              QStringLiteral("Bitmap (*.bmp,*.dib)|*.bmp;*.dib|"
                             "JPEG (*.jpg,*.jpeg)|*.jpg;*.jpeg|"
                             "Alle (*.bmp,*.dib,*.jpg,*.jpeg)|*.bmp;*.dib;*.jpg;*.jpeg|"));
    EXPECT_EQ(all.lastIndex, 3);

    const FormatFilter savable = BuildFormatFilter(TwoFormats(), true);
    EXPECT_EQ(savable.text, QStringLiteral("Bitmap (*.bmp,*.dib)|*.bmp;*.dib|"
                                           "All (*.bmp,*.dib)|*.bmp;*.dib|"));
    EXPECT_EQ(savable.lastIndex, 2);

    const FormatFilter none = BuildFormatFilter({}, false);
    EXPECT_EQ(none.text, QStringLiteral("All ()||"));
    EXPECT_EQ(none.lastIndex, 1);
}

TEST(FormatFilter, IndexForName) {
    const QString filter =
        QStringLiteral("Bitmap (*.bmp,*.dib)|*.bmp;*.dib|"
                       "JPEG (*.jpg,*.jpeg)|*.jpg;*.jpeg|"
                       "All (*.bmp,*.dib,*.jpg,*.jpeg)|*.bmp;*.dib;*.jpg;*.jpeg|");
    EXPECT_EQ(FilterIndexForName(filter, QStringLiteral("/p/photo.DIB")), 1);
    EXPECT_EQ(FilterIndexForName(filter, QStringLiteral("/p/photo.jpeg")), 2);
    EXPECT_EQ(FilterIndexForName(filter, QStringLiteral("/p/photo.Jpg")), 2);
    EXPECT_EQ(FilterIndexForName(filter, QStringLiteral("/p/photo.png")), 0);
    // No extension: the dot of a folder name does not count.
    EXPECT_EQ(FilterIndexForName(filter, QStringLiteral("/p.png/photo")), 1);
    EXPECT_EQ(FilterIndexForName(filter, QStringLiteral("photo")), 1);
    // Found only in the pattern half of an entry (an odd number of bars before it).
    EXPECT_EQ(
        FilterIndexForName(QStringLiteral("Pictures|*.gif|Other|*.x|"), QStringLiteral("a.x")), 2);
}

TEST(FormatFilter, BackupNames) {
    EXPECT_EQ(BackupName(QStringLiteral("/d/picture.bmp")), QStringLiteral("/d/picture._bm"));
    EXPECT_EQ(BackupName(QStringLiteral("/d/a.tiff")), QStringLiteral("/d/a._ti"));
    EXPECT_EQ(BackupName(QStringLiteral("/d/x.j")), QStringLiteral("/d/x._j"));
    EXPECT_EQ(BackupName(QStringLiteral("/d.dir/noext")), QStringLiteral("/d.dir/noext._"));
    EXPECT_EQ(BackupName(QStringLiteral("/d/archive.tar.gz")),
              QStringLiteral("/d/archive.tar._gz"));
}

TEST(FormatFilter, SaveTypeChangeAndDialogFilters) {
    const std::vector<GFXFormat> formats = {
        {"Bitmap", "*.BMP;*.dib", true, "bmp"},
        {"Animation", "*.gif", false, "gif"},
        {"JPEG", "*.jpg;*.jpeg", true, "jpeg"},
    };
    EXPECT_EQ(NameForSaveType("/a.b/photo.bmp", formats, 2), QStringLiteral("/a.b/photo.jpg"));
    EXPECT_EQ(NameForSaveType("/a.b/photo", formats, 1), QStringLiteral("/a.b/photo.bmp"));
    EXPECT_EQ(NameForSaveType("photo.tar.gz", formats, 1), QStringLiteral("photo.tar.bmp"));
    EXPECT_EQ(NameForSaveType("photo.jpg", formats, 3), QStringLiteral("photo.jpg")); // All
    EXPECT_EQ(NameForSaveType("", formats, 1), QString());

    const FormatFilter filter = BuildFormatFilter(formats, true);
    EXPECT_EQ(DialogNameFilters(filter.text),
              (QStringList{"Bitmap (*.bmp *.dib)", "JPEG (*.jpg *.jpeg)",
                           "All (*.bmp *.dib *.jpg *.jpeg)"}));
}
