#include "lang/Language.h"

#include "lang/LngText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

constexpr char kScratchTemplate[] = "OVLNGXXXXXX.tmp";

// Writes text into a new scratch file in folder; returns its path, or nothing.
std::optional<QString> WriteScratch(const QString& folder, const QByteArray& text) {
    QTemporaryFile file(QDir(folder).filePath(QLatin1String(kScratchTemplate)));
    file.setAutoRemove(false);
    if (!file.open()) return std::nullopt;
    const QString path = file.fileName();
    const bool written = file.write(text) == text.size() && file.flush();
    file.close();
    if (!written) {
        QFile::remove(path);
        return std::nullopt;
    }
    return path;
}

} // namespace

Language::~Language() {
    Unload();
}

void Language::Unload() {
    if (!scratchPath_.isEmpty()) QFile::remove(scratchPath_);
    scratchPath_.clear();
    name_.clear();
    messagesPos_ = 0;
    decodeStatus_ = LngStatus::Ok;
}

std::optional<LanguageMessage> Language::Load(const QString& programFolder, const QString& name) {
    Unload();
    QFile lng(FilePath(programFolder, name));
    if (!QFileInfo(lng).isFile() || !lng.open(QIODevice::ReadOnly))
        return LanguageMessage{QStringLiteral("Can't Load Language File"), QStringLiteral("Error")};
    const QByteArray packed = lng.read(kMaxFileBytes);
    lng.close();
    LngDecodeResult decoded =
        DecodeLng({reinterpret_cast<const uint8_t*>(packed.constData()), size_t(packed.size())});
    const QByteArray text = QByteArray::fromStdString(decoded.text);

    std::optional<QString> scratch = WriteScratch(programFolder, text);
    // An unusable temporary folder comes back empty, which QDir would take as the working one.
    if (!scratch && !QDir::tempPath().isEmpty()) scratch = WriteScratch(QDir::tempPath(), text);
    if (!scratch) return LanguageMessage{QStringLiteral("CantSaveLngFile"), QStringLiteral("Err")};

    name_ = name;
    scratchPath_ = *scratch;
    decodeStatus_ = decoded.status;
    messagesPos_ = LngMessagesPos(text);
    return std::nullopt;
}

std::optional<QByteArray> Language::ReadText() const {
    if (scratchPath_.isEmpty()) return std::nullopt;
    QFile file(scratchPath_);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

QString Language::Translate(const QString& key) const {
    if (scratchPath_.isEmpty()) return key;
    QFile file(scratchPath_);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(messagesPos_)) return key;
    // Past later section headers too: the first matching entry anywhere below wins.
    return LngFindEntry(file.readAll(), 0, key).value_or(key);
}

QString Language::TranslateName(const QString& name) const {
    QString text = Translate(u'~' + name);
    if (text.startsWith(u'~')) text.remove(0, 1);
    return text;
}

QString Language::FilePath(const QString& programFolder, const QString& name) {
    const QDir dir(programFolder);
    const QString wanted = name + QLatin1String(".lng");
    const QString exact = dir.filePath(wanted);
    if (QFileInfo::exists(exact)) return exact;
    for (const QString& file : dir.entryList({QStringLiteral("*.lng")}, QDir::Files))
        if (file.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(file);
    return exact;
}

bool Language::FileReadable(const QString& programFolder, const QString& name) {
    QFile file(FilePath(programFolder, name));
    return QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly);
}

QStringList Language::List(const QString& programFolder) {
    QStringList names;
    const QDir dir(programFolder);
    for (const QString& file : dir.entryList({QStringLiteral("*.lng")}, QDir::Files)) {
        const QString base = file.chopped(4);
        if (base.isEmpty()) continue;
        names.append(base.left(1).toUpper() + base.mid(1).toLower());
    }
    names.sort();
    names.removeDuplicates();
    return names;
}
