#include "filters/CompScan.h"

#include "filters/CompLibrary.h"
#include "filters/CompScanCache.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace comp {

namespace {

// Deeper folders than this are not walked: the menus are flat anyway, and a tree made to be
// deep must not exhaust the stack.
constexpr int MaxDepth = 32;

// A file the component names beside itself; only its name counts, so "../x" cannot leave the
// component's folder.
QString Beside(const QFileInfo& library, const QString& name) {
    const QString file = QFileInfo(name.trimmed()).fileName();
    if (file.isEmpty()) return {};
    const QString path = library.dir().filePath(file);
    return QFileInfo(path).isFile() ? path : QString();
}

class Walker {
public:
    Walker(const ScanOptions& options, ComponentTable& table) : options_(options), table_(table) {
        topCount_ = options.topMenuEntries;
    }

    void Folder(const QString& path, int depth) {
        Log(QStringLiteral("Directory found."));
        if (depth > 0) {
            const QString category = CategoryOf(path);
            table_.categories << category;
            table_.menu.categories.push_back({category, {}});
        }
        const QDir dir(path);
        const QFileInfoList files =
            dir.entryInfoList({QStringLiteral("*.ovc")}, QDir::Files, QDir::Name);
        for (const QFileInfo& file : files) File(file);
        if (depth >= MaxDepth) return;
        const QFileInfoList folders =
            dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& folder : folders)
            if (!folder.isSymLink()) Folder(folder.filePath(), depth + 1);
    }

private:
    void Log(const QString& line) const {
        if (options_.log) options_.log(line);
    }

    void File(const QFileInfo& file) {
        if (table_.components.size() >= size_t(MaxComponents)) return;
        Log(file.filePath() + QStringLiteral(" found."));
        const std::optional<QByteArray> text = DescriptorText(file.absoluteFilePath());
        if (!text) return;
        std::optional<Descriptor> descriptor =
            ParseDescriptor({text->constData(), size_t(text->size())}, options_.translate);
        if (!descriptor) return;

        Component c;
        c.path = file.absoluteFilePath();
        c.category =
            table_.menu.categories.empty() ? QString() : table_.menu.categories.back().category;
        c.descriptor = std::move(*descriptor);
        if (!c.descriptor.icon.isEmpty()) c.iconPath = Beside(file, c.descriptor.icon);
        if (!c.descriptor.helpFile.isEmpty()) c.helpPath = Beside(file, c.descriptor.helpFile);
        table_.components.push_back(std::move(c));

        // A submenu starts with "Browse" and a separator.
        std::vector<MenuEntry>& menu = table_.menu.categories.empty()
                                           ? table_.menu.top
                                           : table_.menu.categories.back().entries;
        const int before = table_.menu.categories.empty() ? topCount_ : 2 + SubmenuCount(menu);
        const MenuEntry entry{int(table_.components.size()) - 1, before == 1};
        menu.push_back(entry);
        if (table_.menu.categories.empty()) topCount_ += 1 + entry.separatorBefore;
    }

    // What the library describes itself with; nothing when it is no component.
    std::optional<QByteArray> DescriptorText(const QString& path) {
        if (options_.cache)
            if (std::optional<QByteArray> known = options_.cache->Find(path)) return known;
        const std::unique_ptr<Library> library = Library::Open(path);
        const char* text = library ? library->DescriptorText() : nullptr;
        if (!text) return {};
        QByteArray copy(text, qsizetype(strnlen(text, MaxDescriptorLength)));
        if (options_.cache) options_.cache->Put(path, copy);
        return copy;
    }

    static int SubmenuCount(const std::vector<MenuEntry>& menu) {
        int n = 0;
        for (const MenuEntry& e : menu) n += 1 + e.separatorBefore;
        return n;
    }

    const ScanOptions& options_;
    ComponentTable& table_;
    int topCount_ = 0;
};

} // namespace

QString CategoryOf(const QString& folderPath) {
    QString name = QFileInfo(QDir::cleanPath(folderPath)).fileName().toLower();
    if (const qsizetype dot = name.indexOf(QLatin1Char('.')); dot >= 0) name.truncate(dot);
    return name.toUpper();
}

ComponentTable Scan(const QString& compsFolder, const ScanOptions& options) {
    ComponentTable table;
    if (options.log) options.log(QStringLiteral("Scanning for components started."));
    if (QFileInfo(compsFolder).isDir()) Walker(options, table).Folder(compsFolder, 0);
    if (options.log) options.log(QStringLiteral("Scanning for components finished."));
    return table;
}

} // namespace comp
