#include "app/FileLinks.h"

#include "raster/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QByteArray kSection = "Default Applications";
const QString kMemoryGroup = QStringLiteral("OrvelPaint");

// The longest extension taken from a pattern list; longer ones are cut.
constexpr int kMaxExtension = 260;

QString NormalExtension(const QString& extension) {
    QString ext = extension.trimmed().toLower();
    if (!ext.startsWith(QLatin1Char('.'))) ext.prepend(QLatin1Char('.'));
    return ext;
}

// Every MIME type whose glob matches the extension: "*.jpg" may stand for more than one.
QStringList TypesOf(const QString& ext) {
    QStringList types;
    if (ext.size() < 2 || ext.contains(QLatin1Char('/'))) return types;
    const QMimeDatabase db;
    for (const QMimeType& t : db.mimeTypesForFileName(QStringLiteral("x") + ext))
        if (!types.contains(t.name())) types += t.name();
    return types;
}

QStringList ExtensionsOf(const QString& patterns) {
    QStringList out;
    for (const QString& p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString ext = p.trimmed().mid(1).left(kMaxExtension);
        if (!ext.isEmpty()) out += ext;
    }
    return out;
}

// mimeapps.list held as its raw lines, so that every line we do not own is written back as it
// was read, comments, blank lines and other sections included.
class MimeAppsFile {
public:
    // A missing file reads as empty; an unreadable one fails, so that it is never overwritten.
    bool Load(const QString& path) {
        if (!QFileInfo::exists(path)) return true;
        QFile file;
        if (!OpenRegularFile(file, path)) return false;
        const QByteArray data = file.readAll();
        if (data.isEmpty()) return true;
        lines_ = data.split('\n');
        endsWithNewline_ = data.endsWith('\n');
        if (endsWithNewline_) lines_.removeLast();
        return true;
    }

    bool Save(const QString& path) const {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QByteArray data = lines_.join('\n');
        if (endsWithNewline_ && !lines_.isEmpty()) data += '\n';
        return SafeWriteFile(path, data);
    }

    // Line index of type's entry in the default section, or -1.
    int Find(const QString& type) const {
        const auto [begin, end] = Section();
        for (int i = begin; i < end; ++i)
            if (KeyOf(lines_[i]).compare(type, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }

    static QStringList IdsOf(const QByteArray& line) {
        const QByteArray text = Bare(line);
        const int eq = text.indexOf('=');
        QStringList ids;
        if (eq < 0) return ids;
        for (const QString& id : QString::fromUtf8(text.mid(eq + 1)).split(QLatin1Char(';')))
            if (!id.trimmed().isEmpty()) ids += id.trimmed();
        return ids;
    }

    QByteArray Line(int i) const { return Bare(lines_[i]); }

    // Replaces line i keeping its line ending, or adds the line to the default section.
    void Put(int i, const QByteArray& text) {
        if (i >= 0) {
            lines_[i] = lines_[i].endsWith('\r') ? text + '\r' : text;
            return;
        }
        auto [begin, end] = Section();
        if (begin < 0) {
            if (!lines_.isEmpty() && !Bare(lines_.last()).trimmed().isEmpty())
                lines_ += QByteArray();
            lines_ += '[' + kSection + ']';
            lines_ += text;
            endsWithNewline_ = true;
            return;
        }
        int at = begin; // after the last entry, before blank lines that part sections
        for (int k = begin; k < end; ++k)
            if (!KeyOf(lines_[k]).isEmpty()) at = k + 1;
        lines_.insert(at, text);
    }

    void Remove(int i) { lines_.removeAt(i); }

    // The type an entry line sets; empty for comments, headers and junk.
    static QString KeyOf(const QByteArray& line) {
        const QByteArray text = Bare(line).trimmed();
        if (text.isEmpty() || text.startsWith('#') || text.startsWith('[')) return {};
        const int eq = text.indexOf('=');
        return eq < 0 ? QString() : QString::fromUtf8(text.left(eq).trimmed());
    }

private:
    static QByteArray Bare(const QByteArray& line) {
        return line.endsWith('\r') ? line.chopped(1) : line;
    }

    // [begin, end) of the default section's body; begin is -1 without the section.
    std::pair<int, int> Section() const {
        int begin = -1;
        for (int i = 0; i < lines_.size(); ++i) {
            const QByteArray text = Bare(lines_[i]).trimmed();
            if (!text.startsWith('[')) continue;
            if (begin >= 0) return {begin, i};
            if (text == '[' + kSection + ']') begin = i + 1;
        }
        return {begin, begin < 0 ? -1 : int(lines_.size())};
    }

    QList<QByteArray> lines_;
    bool endsWithNewline_ = true;
};

QByteArray EntryLine(const QString& type, const QStringList& ids) {
    return (type + QLatin1Char('=') + ids.join(QLatin1Char(';')) + QLatin1Char(';')).toUtf8();
}

} // namespace

FileLinks::FileLinks(QString configHome, QString desktopId)
    : configHome_(std::move(configHome)), desktopId_(std::move(desktopId)) {
    if (configHome_.isEmpty())
        configHome_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString FileLinks::MimeAppsPath() const {
    return configHome_ + QStringLiteral("/mimeapps.list");
}

bool FileLinks::IsLinked(const QString& extension) const {
    if (configHome_.isEmpty() || desktopId_.isEmpty()) return false;
    const QStringList types = TypesOf(NormalExtension(extension));
    MimeAppsFile list;
    if (types.isEmpty() || !list.Load(MimeAppsPath())) return false;
    for (const QString& type : types) {
        const int i = list.Find(type);
        if (i < 0) return false;
        const QStringList ids = MimeAppsFile::IdsOf(list.Line(i));
        if (ids.isEmpty() || ids.first() != desktopId_) return false;
    }
    return true;
}

void FileLinks::Link(const QString& extension) {
    if (configHome_.isEmpty() || desktopId_.isEmpty()) return;
    const QString ext = NormalExtension(extension);
    const QStringList types = TypesOf(ext);
    MimeAppsFile list;
    if (types.isEmpty() || !list.Load(MimeAppsPath())) return;
    QSettings memory(configHome_ + QStringLiteral("/OV/OrvelPaint.ini"), QSettings::IniFormat);
    memory.beginGroup(kMemoryGroup);
    bool changed = false;
    for (const QString& type : types) {
        const int i = list.Find(type);
        QStringList ids = i < 0 ? QStringList() : MimeAppsFile::IdsOf(list.Line(i));
        if (!ids.isEmpty() && ids.first() == desktopId_) continue; // keep the first memory
        // The whole previous line, so that unlinking puts it back byte for byte; empty: none.
        memory.setValue(ext + QLatin1Char('/') + type,
                        i < 0 ? QString() : QString::fromUtf8(list.Line(i)));
        ids.removeAll(desktopId_);
        ids.prepend(desktopId_);
        list.Put(i, EntryLine(type, ids));
        changed = true;
    }
    memory.endGroup();
    if (!changed) return;
    // Without the memory the old default could not come back: then leave the list alone.
    memory.sync();
    if (memory.status() == QSettings::AccessError) return;
    list.Save(MimeAppsPath());
}

void FileLinks::Unlink(const QString& extension) {
    if (configHome_.isEmpty() || desktopId_.isEmpty()) return;
    const QString ext = NormalExtension(extension);
    const QStringList types = TypesOf(ext);
    MimeAppsFile list;
    if (types.isEmpty() || !list.Load(MimeAppsPath())) return;
    QSettings memory(configHome_ + QStringLiteral("/OV/OrvelPaint.ini"), QSettings::IniFormat);
    memory.beginGroup(kMemoryGroup);
    // Extensions share types (.jpg, .jpeg): the type's memory may sit under a sibling.
    const QStringList remembered = memory.childGroups();
    bool changed = false;
    for (const QString& type : types) {
        const int i = list.Find(type);
        const QStringList ids = i < 0 ? QStringList() : MimeAppsFile::IdsOf(list.Line(i));
        const bool ours = !ids.isEmpty() && ids.first() == desktopId_;
        QString key = ext + QLatin1Char('/') + type;
        if (!memory.contains(key))
            for (const QString& other : remembered)
                if (memory.contains(other + QLatin1Char('/') + type)) {
                    key = other + QLatin1Char('/') + type;
                    break;
                }
        const bool known = memory.contains(key);
        const QByteArray previous = memory.value(key).toString().toUtf8();
        for (const QString& other : remembered) memory.remove(other + QLatin1Char('/') + type);
        // A default the user chose after us is theirs now: leave it.
        if (!ours) continue;
        changed = true;
        // A hand-edited memory that is not a line of this type is of no use.
        const bool previousFits =
            known && MimeAppsFile::KeyOf(previous).compare(type, Qt::CaseInsensitive) == 0;
        if (known && previous.isEmpty()) {
            list.Remove(i);
        } else if (previousFits) {
            list.Put(i, previous);
        } else {
            // Linked by someone else, or a memory we cannot use: just step aside.
            QStringList rest = ids;
            rest.removeAll(desktopId_);
            if (rest.isEmpty())
                list.Remove(i);
            else
                list.Put(i, EntryLine(type, rest));
        }
    }
    memory.endGroup();
    memory.sync();
    if (changed) list.Save(MimeAppsPath());
}

FileLinks::State FileLinks::StateOf(const QString& patterns) const {
    int linked = 0;
    const QStringList exts = ExtensionsOf(patterns);
    for (const QString& ext : exts)
        if (IsLinked(ext)) ++linked;
    if (linked == 0) return State::None;
    return linked == exts.size() ? State::All : State::Some;
}

void FileLinks::LinkAll(const QString& patterns) {
    for (const QString& ext : ExtensionsOf(patterns)) Link(ext);
}

void FileLinks::UnlinkAll(const QString& patterns) {
    for (const QString& ext : ExtensionsOf(patterns)) Unlink(ext);
}
