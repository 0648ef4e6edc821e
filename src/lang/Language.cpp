#include "lang/Language.h"

#include "lang/LngText.h"
#include "raster/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kScratchTemplate[] = "OVLNGXXXXXX.tmp";

// A scratch file is locked for as long as its program runs; one that nobody holds was left by a
// program that was killed, and goes.
void RemoveStaleScratch(const QString& folder) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("OVLNG*.tmp")}, QDir::Files)) {
        const QString path = dir.filePath(name);
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            QFile::remove(path);
        ::close(fd);
    }
}

bool SameFile(int fd, const QString& path) {
    struct stat a {
    }, b{};
    return ::fstat(fd, &a) == 0 && ::stat(QFile::encodeName(path).constData(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

struct Scratch {
    QString path;
    int lock = -1; // holds the lock while the language is loaded
};

// Writes text into a new locked scratch file in folder.
std::optional<Scratch> WriteScratch(const QString& folder, const QByteArray& text) {
    RemoveStaleScratch(folder);
    QTemporaryFile file(QDir(folder).filePath(QLatin1String(kScratchTemplate)));
    file.setAutoRemove(false);
    if (!file.open()) return std::nullopt;
    Scratch scratch{file.fileName(), ::dup(file.handle())};
    // Another program's sweep may have taken the file between its creation and the lock.
    const bool locked = scratch.lock >= 0 && ::flock(scratch.lock, LOCK_EX | LOCK_NB) == 0 &&
                        SameFile(scratch.lock, scratch.path);
    const bool written = locked && file.write(text) == text.size() && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        QFile::remove(scratch.path);
        if (scratch.lock >= 0) ::close(scratch.lock);
        return std::nullopt;
    }
    return scratch;
}

} // namespace

Language::~Language() {
    Unload();
}

void Language::Unload() {
    ++loads_;
    if (!scratchPath_.isEmpty()) QFile::remove(scratchPath_);
    if (scratchLock_ >= 0) ::close(scratchLock_);
    scratchLock_ = -1;
    scratchPath_.clear();
    name_.clear();
    messagesPos_ = 0;
    decodeStatus_ = LngStatus::Ok;
}

Language::Expanded Language::Expanded::Make(const QString& programFolder, const QString& name) {
    Expanded e;
    e.name_ = name;
    QFile lng;
    if (!OpenRegularFile(lng, FilePath(programFolder, name))) {
        e.failure_ = {QStringLiteral("Can't Load Language File"), QStringLiteral("Error")};
        return e;
    }
    const QByteArray packed = lng.read(kMaxFileBytes);
    lng.close();
    LngDecodeResult decoded =
        DecodeLng({reinterpret_cast<const uint8_t*>(packed.constData()), size_t(packed.size())});
    const QByteArray text = QByteArray::fromStdString(decoded.text);

    std::optional<Scratch> scratch = WriteScratch(programFolder, text);
    // An unusable temporary folder comes back empty, which QDir would take as the working one.
    if (!scratch && !QDir::tempPath().isEmpty()) scratch = WriteScratch(QDir::tempPath(), text);
    if (!scratch) {
        e.failure_ = {QStringLiteral("CantSaveLngFile"), QStringLiteral("Err")};
        return e;
    }
    e.path_ = scratch->path;
    e.lock_ = scratch->lock;
    e.status_ = decoded.status;
    e.messagesPos_ = LngMessagesPos(text);
    return e;
}

Language::Expanded::~Expanded() {
    Drop();
}

void Language::Expanded::Drop() {
    if (!path_.isEmpty()) QFile::remove(std::exchange(path_, QString()));
    if (lock_ >= 0) ::close(std::exchange(lock_, -1));
}

Language::Expanded::Expanded(Expanded&& other) noexcept {
    *this = std::move(other);
}

Language::Expanded& Language::Expanded::operator=(Expanded&& other) noexcept {
    if (this == &other) return *this;
    Drop();
    name_ = std::move(other.name_);
    failure_ = std::move(other.failure_);
    path_ = std::exchange(other.path_, QString());
    lock_ = std::exchange(other.lock_, -1);
    messagesPos_ = other.messagesPos_;
    status_ = other.status_;
    return *this;
}

std::optional<LanguageMessage> Language::Load(const QString& programFolder, const QString& name) {
    return Load(Expanded::Make(programFolder, name));
}

std::optional<LanguageMessage> Language::Load(Expanded expanded) {
    Unload();
    if (expanded.failure_) return expanded.failure_;
    name_ = expanded.name_;
    scratchPath_ = std::exchange(expanded.path_, QString());
    scratchLock_ = std::exchange(expanded.lock_, -1);
    decodeStatus_ = expanded.status_;
    messagesPos_ = expanded.messagesPos_;
    return std::nullopt;
}

std::optional<QByteArray> Language::ReadText() const {
    if (scratchPath_.isEmpty()) return std::nullopt;
    QFile file(scratchPath_);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

namespace {
thread_local Language::Held* tHeld = nullptr;
} // namespace

Language::Held::Held(const Language& language)
    : language_(language), loaded_(language.loads_), outer_(tHeld) {
    std::optional<QByteArray> messages = language.ReadMessages();
    if (!messages) return; // nothing held: lookups read the file as usual
    messages_ = std::move(*messages);
    tHeld = this;
}

Language::Held::~Held() {
    if (tHeld == this) tHeld = outer_;
}

std::optional<QByteArray> Language::ReadMessages() const {
    QFile file(scratchPath_);
    if (!Loaded() || !file.open(QIODevice::ReadOnly) || !file.seek(messagesPos_)) return {};
    return file.readAll();
}

QString Language::Translate(const QString& key) const {
    if (scratchPath_.isEmpty()) return key;
    for (const Held* held = tHeld; held; held = held->outer_)
        if (&held->language_ == this && held->loaded_ == loads_)
            return LngFindEntry(held->messages_, 0, key).value_or(key);
    const std::optional<QByteArray> messages = ReadMessages();
    // Past later section headers too: the first matching entry anywhere below wins.
    return messages ? LngFindEntry(*messages, 0, key).value_or(key) : key;
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
    return IsRegularFile(FilePath(programFolder, name));
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
