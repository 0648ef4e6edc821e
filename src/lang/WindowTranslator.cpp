#include "lang/WindowTranslator.h"

#include "lang/Language.h"
#include "lang/LngText.h"

#include <QHash>
#include <QMetaProperty>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QVariant>

#include <unordered_map>

namespace {

QObject* FindWindow(const QList<QObject*>& windows, const QString& name) {
    const QString upper = name.toUpper();
    for (QObject* w : windows)
        if (w && w->objectName().toUpper() == upper) return w;
    return nullptr;
}

// A window owns all its controls, whatever widget they sit in (a tool bar, a page): a direct
// child first, then the nearest descendant of that name. One walk per parent lists every name
// with its first object in that order; a section looks many names up under the same window.
// Setting a list may replace a control's children, so the index is dropped after one (Clear).
class ChildIndex {
public:
    QObject* Find(QObject* parent, const QString& name) {
        const QString upper = name.toUpper();
        auto it = index_.find(parent);
        if (it == index_.end()) it = index_.emplace(parent, Walk(parent)).first;
        const auto found = it->second.constFind(upper);
        if (found == it->second.cend()) return nullptr;
        if (found.value()) return found.value();
        it->second = Walk(parent); // one of them went: walk again
        return it->second.value(upper);
    }
    void Clear() { index_.clear(); }

private:
    static QHash<QString, QPointer<QObject>> Walk(QObject* parent) {
        QHash<QString, QPointer<QObject>> names;
        QList<QObject*> level = parent->children();
        while (!level.isEmpty()) {
            QList<QObject*> next;
            for (QObject* child : level) {
                const QString name = child->objectName().toUpper();
                if (!names.contains(name)) names.insert(name, child);
                next += child->children();
            }
            level = next;
        }
        return names;
    }

    std::unordered_map<QObject*, QHash<QString, QPointer<QObject>>> index_;
};

// The type of a declared or dynamic property, or an invalid type when the object has neither
// or the declared one cannot be written.
QMetaType PropertyType(const QObject* obj, const char* name) {
    const int index = obj->metaObject()->indexOfProperty(name);
    if (index >= 0) {
        const QMetaProperty p = obj->metaObject()->property(index);
        return p.isWritable() ? p.metaType() : QMetaType();
    }
    if (obj->dynamicPropertyNames().contains(name)) return obj->property(name).metaType();
    return QMetaType();
}

const char* FirstPresent(const QObject* obj, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (PropertyType(obj, n).isValid()) return n;
    return nullptr;
}

QStringList SplitItems(const QString& value) {
    QStringList items = value.split(u'|');
    if (items.last().isEmpty()) items.removeLast();
    return items;
}

// A string goes in as it is, a number as read, a list split at "|"; anything else is skipped.
void SetConverted(QObject* obj, const char* name, const QString& value) {
    const int type = PropertyType(obj, name).id();
    bool ok = true;
    switch (type) {
    case QMetaType::QString:
        obj->setProperty(name, value);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short: {
        const int n = value.toInt(&ok);
        if (ok) obj->setProperty(name, n);
        break;
    }
    case QMetaType::Bool:
        if (value == u"1" || value.compare(u"true", Qt::CaseInsensitive) == 0)
            obj->setProperty(name, true);
        else if (value == u"0" || value.compare(u"false", Qt::CaseInsensitive) == 0)
            obj->setProperty(name, false);
        break;
    case QMetaType::QStringList:
        obj->setProperty(name, SplitItems(value));
        break;
    default:
        break;
    }
}

// A new list empties the current entry; the old index comes back, but a combo box starts
// at its first entry.
void SetList(QObject* obj, const char* name, const QStringList& items) {
    const char* indexName = FirstPresent(obj, {"currentIndex", "currentRow"});
    const QVariant index = indexName ? obj->property(indexName) : QVariant();
    obj->setProperty(name, items);
    if (indexName) {
        obj->setProperty(indexName, index);
        if (obj->inherits("QComboBox")) obj->setProperty(indexName, 0);
    }
}

void SetSize(QObject* obj, const char* name, bool width, const QString& value) {
    if (PropertyType(obj, name).isValid()) return SetConverted(obj, name, value);
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || PropertyType(obj, "size").id() != QMetaType::QSize) return;
    QSize size = obj->property("size").toSize();
    (width ? size.rwidth() : size.rheight()) = n;
    obj->setProperty("size", size);
}

void SetTranslated(QObject* obj, const QString& fileName, const QString& value, bool isWindow) {
    const QString key = fileName.toLower();
    const char* target = nullptr;
    if (key == u"caption")
        target = isWindow ? FirstPresent(obj, {"windowTitle", "text", "title"})
                          : FirstPresent(obj, {"text", "title", "windowTitle"});
    else if (key == u"hint")
        target = FirstPresent(obj, {"toolTip"});
    else if (key == u"text")
        target = FirstPresent(obj, {"text", "plainText"});
    else if (key == u"checked")
        target = FirstPresent(obj, {"checked"});
    else if (key == u"visible")
        target = FirstPresent(obj, {"visible"});
    else if (key == u"enabled")
        target = FirstPresent(obj, {"enabled"});
    else if (key == u"itemindex")
        target = FirstPresent(obj, {"currentIndex", "currentRow"});
    else if (key == u"width" || key == u"height")
        return SetSize(obj, key == u"width" ? "width" : "height", key == u"width", value);
    else if (key == u"items" || key == u"lines") {
        const char* list = key == u"items" ? "items" : "lines";
        if (PropertyType(obj, list).id() == QMetaType::QStringList)
            return SetList(obj, list, SplitItems(value));
        if (key == u"lines" && PropertyType(obj, "plainText").id() == QMetaType::QString)
            obj->setProperty("plainText", SplitItems(value).join(u'\n'));
        return;
    } else {
        const QMetaObject* meta = obj->metaObject();
        for (int i = 0; i < meta->propertyCount(); ++i)
            if (key == QString::fromLatin1(meta->property(i).name()).toLower())
                target = meta->property(i).name();
    }
    if (!target) return;
    if (PropertyType(obj, target).id() == QMetaType::QStringList)
        SetList(obj, target, SplitItems(value));
    else
        SetConverted(obj, target, value);
}

} // namespace

void TranslateWindowText(QByteArrayView text, const QString& section,
                         const QList<QObject*>& windows) {
    LngLineReader reader(text);
    bool found = false;
    while (!found && !reader.AtEnd()) {
        const QByteArray piece = reader.Next(kLngSectionPiece);
        found = LngMayStartWith(piece, section) && LngTrim(LngDecodeLine(piece)) == section;
    }
    if (!found) return;

    QString name = section;
    if (name.startsWith(u'[')) name.remove(0, 1);
    if (name.endsWith(u']')) name.chop(1);
    QObject* current = FindWindow(windows, name);
    ChildIndex children;

    while (!reader.AtEnd()) {
        const QString line = LngTrim(LngDecodeLine(reader.Next(kLngEntryPiece)));
        if (line.startsWith(u'[')) break;
        if (line.isEmpty() || line.startsWith(u';')) continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) continue;
        const QString key = line.first(eq);
        QString value = LngTrimRight(QStringView(line).sliced(eq + 1));
        if (key.startsWith(u'>')) {
            current = FindWindow(windows, value);
            continue;
        }
        if (!current || value.isEmpty()) continue;
        const QStringList parts = key.split(u'.');
        QObject* obj = current;
        for (qsizetype i = 0; obj && i + 1 < parts.size(); ++i)
            obj = children.Find(obj, LngTrim(parts[i]));
        if (!obj) continue;
        const QString property = LngTrim(parts.last());
        SetTranslated(obj, property, value.replace(u'@', u' '), windows.contains(obj));
        if (property.compare(u"items", Qt::CaseInsensitive) == 0 ||
            property.compare(u"lines", Qt::CaseInsensitive) == 0)
            children.Clear();
    }
}

void TranslateWindow(const Language& language, const QString& section,
                     const QList<QObject*>& windows) {
    if (const std::optional<QByteArray> text = language.ReadText())
        TranslateWindowText(*text, section, windows);
}
