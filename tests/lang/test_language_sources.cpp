// The shipped language sources: format, packing, completeness of both languages and the
// option-bar definitions the tools index into.
#include "lang/BuiltInLanguage.h"
#include "lang/Language.h"
#include "lang/LngDecoder.h"
#include "lang/LngPacker.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

QByteArray ReadSource(const char* name) {
    QFile file(QStringLiteral(OV_SOURCE_DIR "/lang/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// Lines split at CR LF only; a stray CR or LF stays inside its line and is caught below.
QList<QByteArray> Lines(const QByteArray& text) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf("\r\n", start);
        if (end < 0) break;
        lines.append(text.mid(start, end - start));
        start = end + 2;
    }
    if (start < text.size()) lines.append(text.mid(start));
    return lines;
}

struct Entry {
    QString key;
    QString value;
};
struct Section {
    QString name; // without brackets
    std::vector<Entry> entries;
};

// Sections in file order; in [Translations] every key carries its ">" window as "Window/key".
std::vector<Section> ParseSections(const QByteArray& text) {
    std::vector<Section> sections;
    QString target;
    for (const QByteArray& raw : Lines(text)) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u';')) continue;
        if (line.startsWith(u'[')) {
            sections.push_back({line.mid(1, line.size() - 2), {}});
            target.clear();
            continue;
        }
        if (sections.empty()) sections.push_back({QString(), {}}); // entries before any header
        const qsizetype eq = line.indexOf(u'=');
        Entry e{eq < 0 ? line : line.left(eq), eq < 0 ? QString() : line.mid(eq + 1)};
        if (sections.back().name == u"Translations") {
            if (e.key.startsWith(u'>')) {
                target = e.value;
                e.key = u'>' + e.value;
            } else {
                e.key = target + u'/' + e.key;
            }
        }
        sections.back().entries.push_back(e);
    }
    return sections;
}

const Section* Find(const std::vector<Section>& sections, const QString& name) {
    for (const Section& s : sections)
        if (s.name == name) return &s;
    return nullptr;
}

// The value of key as the program sees it, or a null string.
QString Value(const std::vector<Section>& sections, const QString& section, const QString& key) {
    if (const Section* s = Find(sections, section))
        for (const Entry& e : s->entries)
            if (e.key == key) return QString(e.value).replace(u'@', u' ');
    return {};
}

// ---- option-bar definitions, parsed independently of the program ----

struct BarControl {
    QChar type;
    int level = 0;
    QString caption; // label or button caption
    QStringList items;
    int decimals = 0;
    double minimum = 0, maximum = 0, initial = 0;
    QString glyph;
    QString colour;
    QString hint;
};
struct Bar {
    QString caption;
    std::vector<BarControl> indexed; // the controls that take an index, in order
    std::vector<BarControl> all;
    QString error;
};

Bar ParseBar(const QString& definition) {
    Bar bar;
    const QStringList f = definition.split(u',');
    bar.caption = f.value(0);
    qsizetype pos = 1;
    auto need = [&](qsizetype n) {
        if (pos + n <= f.size()) return true;
        bar.error = QStringLiteral("fields missing after field %1").arg(pos);
        return false;
    };
    auto integer = [&](const QString& s) {
        bool ok = false;
        const int v = s.toInt(&ok);
        if (!ok) bar.error = QStringLiteral("not an integer: ") + s;
        return v;
    };
    auto real = [&](const QString& s) {
        bool ok = false;
        const double v = s.toDouble(&ok); // always "." as separator
        if (!ok) bar.error = QStringLiteral("not a number: ") + s;
        return v;
    };
    while (pos < f.size() && bar.error.isEmpty()) {
        const QString typeField = f[pos++];
        BarControl c;
        if (typeField.isEmpty() || typeField.count(typeField[0]) != typeField.size()) {
            bar.error = QStringLiteral("bad type field \"%1\"").arg(typeField);
            break;
        }
        c.type = typeField[0];
        c.level = int(typeField.size()) - 1;
        switch (c.type.toLatin1()) {
        case 'B':
        case 'T':
            if (!need(2)) break;
            c.caption = f[pos];
            c.hint = f[pos + 1];
            pos += 2;
            break;
        case 'C':
            if (!need(3)) break;
            c.caption = f[pos];
            c.initial = integer(f[pos + 1]);
            c.minimum = 0;
            c.maximum = 1;
            c.hint = f[pos + 2];
            pos += 3;
            break;
        case 'F':
            if (!need(6)) break;
            c.caption = f[pos];
            c.decimals = integer(f[pos + 1]);
            c.minimum = real(f[pos + 2]);
            c.maximum = real(f[pos + 3]);
            c.initial = real(f[pos + 4]);
            c.hint = f[pos + 5];
            pos += 6;
            break;
        case 'I':
            if (!need(5)) break;
            c.caption = f[pos];
            c.minimum = integer(f[pos + 1]);
            c.maximum = integer(f[pos + 2]);
            c.initial = integer(f[pos + 3]);
            c.hint = f[pos + 4];
            pos += 5;
            break;
        case 'L': {
            if (!need(2)) break;
            c.caption = f[pos];
            const int n = integer(f[pos + 1]);
            pos += 2;
            if (n < 1 || !need(n + 1)) {
                if (bar.error.isEmpty()) bar.error = QStringLiteral("empty list");
                break;
            }
            c.items = f.mid(pos, n);
            c.hint = f[pos + n];
            pos += n + 1;
            break;
        }
        case 'N':
            if (!need(1)) break;
            c.hint = f[pos++];
            break;
        case 'O':
            if (!need(3)) break;
            c.caption = f[pos];
            c.colour = f[pos + 1];
            c.hint = f[pos + 2];
            pos += 3;
            break;
        case 'P':
            if (!need(2)) break;
            c.glyph = f[pos];
            c.hint = f[pos + 1];
            pos += 2;
            break;
        case 'S':
            break;
        default:
            bar.error = QStringLiteral("unknown type ") + c.type;
        }
        if (!bar.error.isEmpty()) break;
        bar.all.push_back(c);
        if (QStringLiteral("BCFILNOP").contains(c.type)) bar.indexed.push_back(c);
    }
    return bar;
}

// Kinds by index: '#' is a number field (I or F); the other letters are the control types.
QString Kinds(const Bar& bar) {
    QString kinds;
    for (const BarControl& c : bar.indexed)
        kinds += (c.type == u'I' || c.type == u'F') ? QChar(u'#') : c.type;
    return kinds;
}

const QMap<QString, QString>& ExpectedBarKinds() {
    static const QMap<QString, QString> kinds{
        {"LINEBAR", "L#L"},        {"CURVEBAR", "L#L"},        {"CIRCLEBAR", "L#"},
        {"ELLIPSEBAR", "L#"},      {"SPRAYBAR", "B##"},        {"AIRBRUSHBAR", "B##"},
        {"CUTBAR", "B##BB"},       {"WANDBAR", "#"},           {"SFILLBAR", "#CC"},
        {"PFILLBAR", "#CCBL"},     {"TEXTBAR", "N#PPPPPO###"}, {"CHBAR", "#"},
        {"STRETCHBAR", "####CBB"}, {"ROTATEBAR", "C#BB"},      {"CLONEBAR", "C"},
    };
    return kinds;
}

// Every message key the program looks up.
const QStringList& ProgramMessageKeys() {
    static const QStringList keys{
        // titles, start-up, documents, view, main window
        "Err", "Warn", "ImgBig", "InvSwitch", "CantFindLngFile", "CantSaveLngFile", "ProcIn", "Sec",
        "Untitled", "Changed", "Update", "Zm", "CantOpenBrowser", "HelpFile",
        // palette key names and hints
        "Alt", "Ctrl", "Shift", "Circular Brush", "Rectangular Brush", "Continuous Freehand",
        "Dotted Freehand", "Single Freehand", "Single Line", "Continuous Line", "Single Curve",
        "Continuous Curve", "Filled Rectangle", "Rectangle", "Filled Square", "Square", "Circle",
        "Filled Circle", "Ellipse", "Filled Ellipse", "Filled Shape", "Filled Polygon",
        "Solid Fill", "Pattern Fill", "Spray", "Airbrush", "Cut Rectangle",
        "Cut Predefined Rectangle", "Cut Freehand", "Cut Polygon", "Cut with Magic Wand",
        "Write Text", "Get Color", "Change Color", "Grid", "Undo Last Action", "Clear Image", "3x3",
        "11x11", "21x21", "Clone",
        // tool status texts
        "GridSet", "Pen", "LnStr", "LnEnd", "SplnStr", "SplnEnd", "SplnCtr", "BoxStr", "Box2",
        "CircleIO", "Circle2", "EllipseIO", "Ellipse2", "SprayIP", "AirBrushIP", "FillIP",
        "FillPos", "FillPoly", "TextIP", "GetColor", "ChangeColor", "CloneIP", "CutBrush",
        "CutBrush2", "CutResize", "CutDraw", "CutPoly", "CutWand", "StretchBrush", "StretchBrush2",
        "ResizeBrush", "ResizeBrush2", "ResizeSpray", "ResizeSpray2", "BendBrush", "BendBrush2",
        "ShearBrush", "ShearBrush2", "RotateBrush", "RotateBrush2",
        // brushes, files, clipboard, scanner, palette, printing
        "BrTooBig", "All", "Open Image", "Open Brush", "Save Image", "Save Brush", "SizeInB",
        "Date", "Image", "Color", "Grayscale", "WithPal", "Size", "Pixels", "BPP", "BPCC",
        "ErrLoadImg", "FormNotSup", "ErrOpenImg", "ErrSaveImgForm", "ErrSaveImg", "Img saved",
        "NoMem", "ErrClp", "ErrScan", "ErrOpenPal", "ErrSavePal", "ErrPrn",
        // filters, components, colour selector, browser
        "&Stop", "&Preview", "NotValidFF", "CantOpenFilter", "CantSaveFilter", "CantSaveComp",
        "Browse", "ErrOVC", "ErrOVC2", "SelDrawCol", "SelBackCol", "SelShadCol", "ImgBr", "EffBr",
        "KBytes"};
    return keys;
}

// Windows and the entries the program relies on in their sections.
const QMap<QString, QStringList>& ExpectedWindowEntries() {
    static const QMap<QString, QStringList> windows{
        {"MainForm",
         {"File1.Caption", "New1.Caption", "OpenImage.Caption", "Exit1.Caption", "Paint1.Caption",
          "Color1.Caption", "Replace1.Caption", "NextImage1.Caption", "PrevImage1.Caption",
          "GridBar.Caption", "BrushSizeBtn.Caption", "BrushSizeBtn.Hint", "GridOrigBtn.Caption",
          "GridOrigBtn.Hint", "OpenPaletteBtn.Caption", "OpenPaletteBtn.Hint",
          "SavePaletteBtn.Caption", "SavePaletteBtn.Hint"}},
        {"Preferences",
         {"Clipping.Caption", "OptimBrush.Caption", "AntiAliasCB.Caption", "BackupFiles.Caption",
          "CacheThumbs.Caption", "Level.Items"}},
        {"NewForm",
         {"Caption", "SizeX.Hint", "SizeY.Hint", "OkBtn.Caption", "OkBtn.Hint", "CancelBtn.Caption",
          "CancelBtn.Hint"}},
        {"DropShForm",
         {"Caption", "ShDepth.Hint", "ShDir.Hint", "ShDir.Items", "OkBtn.Caption", "OkBtn.Hint",
          "CancelBtn.Caption", "CancelBtn.Hint"}},
        {"PrintForm",
         {"Orientation.Items", "HorizPos.Items", "VertPos.Items", "Stretch2Fit.Caption"}},
        {"InfoForm", {"ImgColCnt.Caption", "BrshColCnt.Caption", "OkBtn.Caption"}},
        {"FFactForm",
         {"Caption", "InstPreview.Caption", "OkBtn.Caption", "PreviewBtn.Caption",
          "CancelBtn.Caption", "LoadBtn.Caption", "SaveBtn.Caption", "MakeBtn.Caption"}},
        {"CFilterForm",
         {"Caption", "OkBtn.Caption", "PreviewBtn.Caption", "CancelBtn.Caption", "LoadBtn.Caption",
          "SaveBtn.Caption"}},
        {"CompForm",
         {"OkBtn.Caption", "OkBtn.Hint", "PreviewBtn.Caption", "PreviewBtn.Hint",
          "CancelBtn.Caption", "CancelBtn.Hint", "InstPreview.Caption", "InstPreview.Hint",
          "PresetBtn.Caption", "PresetBtn.Hint"}},
        {"ColorSel",
         {"RedEdit.Hint", "GreenEdit.Hint", "BlueEdit.Hint", "HVal.Hint", "OkBtn.Caption",
          "OkBtn.Hint", "CancelBtn.Caption", "CancelBtn.Hint"}},
        {"BrowseForm", {"Caption"}},
    };
    return windows;
}

struct Source {
    const char* name;
    QByteArray text;
    std::vector<Section> sections;
};

class LanguageSources : public ::testing::Test {
protected:
    void SetUp() override {
        for (Source* s : {&english, &german}) {
            s->text = ReadSource(s->name);
            ASSERT_FALSE(s->text.isEmpty()) << s->name;
            s->sections = ParseSections(s->text);
        }
    }
    Source english{"English.txt", {}, {}};
    Source german{"German.txt", {}, {}};
};

} // namespace

TEST_F(LanguageSources, LinesFollowTheFileFormat) {
    for (const Source* s : {&english, &german}) {
        SCOPED_TRACE(s->name);
        EXPECT_FALSE(s->text.startsWith("\xEF\xBB\xBF"))
            << "a byte order mark hides the first line";
        EXPECT_TRUE(s->text.endsWith("\r\n"));
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        (void)QString(utf8(s->text));
        EXPECT_FALSE(utf8.hasError());
        int number = 0;
        for (const QByteArray& line : Lines(s->text)) {
            ++number;
            SCOPED_TRACE(number);
            EXPECT_FALSE(line.contains('\r') || line.contains('\n')) << "stray line end";
            // Longer lines are read in pieces, which would cut entries apart.
            EXPECT_LE(line.size(), line.startsWith('[') ? 255 : 511);
            const QByteArray trimmed = line.trimmed();
            if (trimmed.isEmpty() || trimmed.startsWith(';')) continue;
            if (trimmed.startsWith('[')) {
                EXPECT_TRUE(trimmed.endsWith(']')) << line.constData();
                continue;
            }
            const qsizetype eq = trimmed.indexOf('=');
            ASSERT_GT(eq, 0) << "entry without key or \"=\": " << line.constData();
            const QByteArray key = trimmed.left(eq), value = trimmed.mid(eq + 1);
            // A blank before "=" would become part of the key; one after it part of the text.
            EXPECT_EQ(key, key.trimmed()) << line.constData();
            EXPECT_FALSE(value.isEmpty()) << line.constData();
            EXPECT_FALSE(value.startsWith(' ')) << line.constData();
        }
        ASSERT_FALSE(s->sections.empty());
        EXPECT_EQ(s->sections.front().name, "Messages") << "entries before the first section";
    }
}

TEST_F(LanguageSources, NoKeyIsDefinedTwiceInASection) {
    for (const Source* s : {&english, &german}) {
        std::set<QString> names;
        for (const Section& section : s->sections) {
            EXPECT_TRUE(names.insert(section.name).second)
                << s->name << ": [" << section.name.toStdString() << "] twice";
            std::set<QString> keys;
            for (const Entry& e : section.entries)
                EXPECT_TRUE(keys.insert(e.key).second)
                    << s->name << ": [" << section.name.toStdString() << "] " << e.key.toStdString()
                    << " twice; the second one is never read";
        }
    }
}

TEST_F(LanguageSources, BothPackAndDecodeBackByteForByte) {
    for (const Source* s : {&english, &german}) {
        SCOPED_TRACE(s->name);
        const std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(s->text.constData()),
                                            size_t(s->text.size()));
        const std::vector<uint8_t> packed = PackLng(text);
        EXPECT_LT(packed.size(), text.size()) << "a language text compresses";
        const LngDecodeResult decoded = DecodeLng(packed);
        EXPECT_EQ(decoded.status, LngStatus::Ok);
        EXPECT_EQ(decoded.declaredLength, uint32_t(text.size()));
        EXPECT_TRUE(decoded.text == std::string(s->text.constData(), size_t(s->text.size())));
    }
}

TEST_F(LanguageSources, GermanTranslatesExactlyTheEnglishKeys) {
    QStringList englishNames, germanNames;
    for (const Section& s : english.sections) englishNames.append(s.name);
    for (const Section& s : german.sections) germanNames.append(s.name);
    EXPECT_EQ(englishNames, germanNames);

    for (const Section& en : english.sections) {
        const Section* de = Find(german.sections, en.name);
        if (!de) continue;
        std::set<QString> enKeys, deKeys;
        for (const Entry& e : en.entries) enKeys.insert(e.key);
        for (const Entry& e : de->entries) deKeys.insert(e.key);
        for (const QString& k : enKeys)
            EXPECT_TRUE(deKeys.count(k))
                << "[" << en.name.toStdString() << "] " << k.toStdString() << " has no German text";
        for (const QString& k : deKeys)
            EXPECT_TRUE(enKeys.count(k))
                << "[" << en.name.toStdString() << "] " << k.toStdString() << " is only in German";
        // Items are chosen by index, so both languages need the same number of them.
        for (const Entry& e : en.entries) {
            if (!e.key.endsWith(QLatin1String("Items"))) continue;
            EXPECT_EQ(e.value.split(u'|').size(),
                      Value(german.sections, en.name, e.key).split(u'|').size())
                << e.key.toStdString();
        }
    }
}

TEST_F(LanguageSources, EveryMessageKeyOfTheProgramIsThere) {
    QStringList keys = ProgramMessageKeys();
    keys += ExpectedBarKinds().keys();
    for (const Source* s : {&english, &german})
        for (const QString& key : keys)
            EXPECT_FALSE(Value(s->sections, "Messages", key).isEmpty())
                << s->name << ": " << key.toStdString();
}

TEST_F(LanguageSources, EveryWindowHasItsSectionAndNamedControls) {
    for (const Source* s : {&english, &german})
        for (auto it = ExpectedWindowEntries().begin(); it != ExpectedWindowEntries().end(); ++it) {
            ASSERT_TRUE(Find(s->sections, it.key()))
                << s->name << ": [" << it.key().toStdString() << "]";
            for (const QString& key : it.value())
                EXPECT_FALSE(Value(s->sections, it.key(), key).isEmpty())
                    << s->name << ": [" << it.key().toStdString() << "] " << key.toStdString();
        }
    // Lists whose item index is a stored value keep the order the program reads them in.
    EXPECT_EQ(Value(english.sections, "DropShForm", "ShDir.Items"),
              "East|South-East|South|South-West");
    EXPECT_EQ(Value(english.sections, "Preferences", "Level.Items"), "Novice|Expert");
    EXPECT_EQ(Value(english.sections, "PrintForm", "HorizPos.Items"), "Left|Center|Right");
    EXPECT_EQ(Value(english.sections, "PrintForm", "VertPos.Items"), "Top|Center|Bottom");
    EXPECT_EQ(Value(english.sections, "PrintForm", "Orientation.Items"), "P&ortrait|&Landscape");
    EXPECT_EQ(Value(english.sections, "MainForm", "GridBar.Caption"), "GRID  ");
}

// The windows made before a language is loaded get their texts from [Translations]; those
// must be the same as their own sections, which are applied again later.
TEST_F(LanguageSources, TranslationsRepeatTheWindowSections) {
    for (const Source* s : {&english, &german}) {
        const Section* translations = Find(s->sections, "Translations");
        ASSERT_TRUE(translations) << s->name;
        QMap<QString, std::vector<Entry>> blocks;
        QString window;
        for (const Entry& e : translations->entries) {
            if (e.key.startsWith(u'>')) {
                window = e.value;
                blocks[window];
                continue;
            }
            ASSERT_FALSE(window.isEmpty()) << "entry before any \">\" selects nothing";
            blocks[window].push_back({e.key.mid(window.size() + 1), e.value});
        }
        EXPECT_TRUE(blocks.contains("MainForm")) << s->name;
        for (auto it = blocks.begin(); it != blocks.end(); ++it) {
            const Section* own = Find(s->sections, it.key());
            ASSERT_TRUE(own) << s->name << ": no [" << it.key().toStdString() << "]";
            ASSERT_EQ(own->entries.size(), it.value().size())
                << s->name << " " << it.key().toStdString();
            for (size_t i = 0; i < own->entries.size(); ++i) {
                EXPECT_EQ(own->entries[i].key, it.value()[i].key) << it.key().toStdString();
                EXPECT_EQ(own->entries[i].value, it.value()[i].value) << it.key().toStdString();
            }
        }
    }
}

TEST_F(LanguageSources, BarDefinitionsGiveTheIndexedControls) {
    for (const Source* s : {&english, &german})
        for (auto it = ExpectedBarKinds().begin(); it != ExpectedBarKinds().end(); ++it) {
            SCOPED_TRACE(std::string(s->name) + " " + it.key().toStdString());
            const Bar bar = ParseBar(Value(s->sections, "Messages", it.key()));
            ASSERT_TRUE(bar.error.isEmpty()) << bar.error.toStdString();
            EXPECT_FALSE(bar.caption.isEmpty());
            EXPECT_EQ(Kinds(bar), it.value());
            EXPECT_LE(bar.indexed.size(), 32u);
            for (const BarControl& c : bar.all) {
                EXPECT_LE(c.level, 1) << "only Novice (0) and Expert (1) exist";
                if (c.type == u'S') continue;
                EXPECT_FALSE(c.hint.isEmpty()) << "control " << c.type.toLatin1() << " has no hint";
                EXPECT_LE(c.minimum, c.initial);
                EXPECT_LE(c.initial, c.maximum);
                if (c.type == u'F') {
                    EXPECT_TRUE(c.decimals >= 0 && c.decimals <= 6);
                }
                if (c.type == u'O') {
                    bool ok = false;
                    c.colour.toUInt(&ok, 16);
                    EXPECT_TRUE(ok && c.colour.size() == 6) << c.colour.toStdString();
                }
                for (const QString& item : c.items) EXPECT_FALSE(item.isEmpty());
            }
        }
}

TEST_F(LanguageSources, BarDefinitionsHoldTheSpecifiedChoicesAndDefaults) {
    auto bar = [&](const char* key) { return ParseBar(Value(english.sections, "Messages", key)); };
    for (const char* key : {"LINEBAR", "CURVEBAR"}) {
        const Bar b = bar(key);
        ASSERT_EQ(b.indexed.size(), 3u) << key;
        EXPECT_EQ(b.indexed[0].items.size(), 3) << "every pixel, spacing, number of stamps";
        EXPECT_GE(b.indexed[1].minimum, 2) << "a stamp count of 1 would divide by zero";
        EXPECT_EQ(b.indexed[1].initial, 2);
        EXPECT_EQ(b.indexed[2].items.size(), 5) << "no arrowhead and four sizes";
    }
    for (const char* key : {"CIRCLEBAR", "ELLIPSEBAR"}) {
        const Bar b = bar(key);
        ASSERT_EQ(b.indexed.size(), 2u) << key;
        EXPECT_EQ(b.indexed[0].items.size(), 3);
        EXPECT_GE(b.indexed[1].minimum, 1);
    }
    for (const char* key : {"SPRAYBAR", "AIRBRUSHBAR"}) {
        const Bar b = bar(key);
        ASSERT_EQ(b.indexed.size(), 3u) << key;
        EXPECT_GE(b.indexed[1].minimum, 1) << "the radius divides";
        EXPECT_EQ(b.indexed[1].initial, 20);
        EXPECT_EQ(b.indexed[2].initial, 10);
    }
    // With strength 100 the airbrush weight stays below 256: trunc(100 * 2.4 + 12) + 2 = 254.
    EXPECT_EQ(bar("AIRBRUSHBAR").indexed[2].minimum, 0);
    EXPECT_LE(bar("AIRBRUSHBAR").indexed[2].maximum, 100);
    EXPECT_GE(bar("SPRAYBAR").indexed[2].minimum, 1);

    const Bar wand = bar("WANDBAR");
    ASSERT_EQ(wand.indexed.size(), 1u);
    EXPECT_EQ(wand.indexed[0].minimum, 0);
    EXPECT_EQ(wand.indexed[0].maximum, 765);
    EXPECT_EQ(wand.indexed[0].initial, 128);
    for (const char* key : {"SFILLBAR", "PFILLBAR", "CHBAR"}) {
        const Bar b = bar(key);
        EXPECT_EQ(b.indexed[0].minimum, 0) << key;
        EXPECT_EQ(b.indexed[0].maximum, 765) << key;
        EXPECT_EQ(b.indexed[0].initial, 0) << key;
    }
    EXPECT_EQ(bar("PFILLBAR").indexed[4].items.size(), 3) << "origin modes 0, 1 and 2";

    const Bar cut = bar("CUTBAR");
    ASSERT_EQ(cut.indexed.size(), 5u);
    EXPECT_GE(cut.indexed[1].minimum, 1);
    EXPECT_GE(cut.indexed[2].minimum, 1);

    const Bar text = bar("TEXTBAR");
    ASSERT_EQ(text.indexed.size(), 11u);
    const QStringList glyphs{"FONTBOLD", "FONTITAL", "FONTUNDR", "FONTSHAD", "FONTOUTL"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(text.indexed[2 + i].glyph, glyphs[i]);
    EXPECT_EQ(text.indexed[1].initial, 16);
    EXPECT_EQ(text.indexed[7].colour.toUpper(), "808080");
    EXPECT_EQ(text.indexed[8].initial, 2);
    EXPECT_EQ(text.indexed[9].initial, 100);
    EXPECT_EQ(text.indexed[10].initial, 100);
    EXPECT_GT(text.indexed[9].minimum, 0);
    EXPECT_GT(text.indexed[10].minimum, 0);

    const Bar stretch = bar("STRETCHBAR");
    ASSERT_EQ(stretch.indexed.size(), 7u);
    EXPECT_LE(stretch.indexed[2].minimum, -100) << "-100 percent mirrors";
    EXPECT_LE(stretch.indexed[3].minimum, -100);
    EXPECT_EQ(bar("ROTATEBAR").indexed[0].initial, 0) << "keep-size starts off";
    EXPECT_EQ(bar("CLONEBAR").indexed[0].initial, 0) << "from-undo-copy starts off";
}

// A translator changes words only: kinds, levels, numbers and glyphs stay as in English.
TEST_F(LanguageSources, GermanBarsDifferOnlyInTheirTexts) {
    for (auto it = ExpectedBarKinds().begin(); it != ExpectedBarKinds().end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        const Bar en = ParseBar(Value(english.sections, "Messages", it.key()));
        const Bar de = ParseBar(Value(german.sections, "Messages", it.key()));
        ASSERT_EQ(en.all.size(), de.all.size());
        for (size_t i = 0; i < en.all.size(); ++i) {
            const BarControl &a = en.all[i], &b = de.all[i];
            EXPECT_EQ(a.type, b.type);
            EXPECT_EQ(a.level, b.level);
            EXPECT_EQ(a.items.size(), b.items.size());
            EXPECT_EQ(a.decimals, b.decimals);
            EXPECT_EQ(a.minimum, b.minimum);
            EXPECT_EQ(a.maximum, b.maximum);
            EXPECT_EQ(a.initial, b.initial);
            EXPECT_EQ(a.glyph, b.glyph);
            EXPECT_EQ(a.colour, b.colour);
        }
    }
}

TEST_F(LanguageSources, BuiltInSourceIsTheShippedEnglish) {
    EXPECT_EQ(BuiltInLanguageText(), english.text);
    for (const QString& key : ExpectedBarKinds().keys())
        EXPECT_EQ(BuiltInBarDefinition(key), Value(english.sections, "Messages", key))
            << key.toStdString();
    EXPECT_EQ(BuiltInBarDefinition("BrTooBig"), Value(english.sections, "Messages", "BrTooBig"));
    EXPECT_TRUE(BuiltInBarDefinition("NOSUCHBAR").isEmpty());
    EXPECT_TRUE(BuiltInBarDefinition("linebar").isEmpty()) << "keys match with case";
    // As in a loaded language, the search runs on past the messages into later sections.
    EXPECT_EQ(BuiltInBarDefinition("Caption"), "Orvel Paint");
}

// The packed files, loaded as the program loads them, give the same texts; German keeps its
// umlauts through packing, the scratch file and the line reader.
TEST_F(LanguageSources, PackedFilesTranslateLikeTheSources) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const Source* s : {&english, &german}) {
        const std::vector<uint8_t> packed = PackLng(
            {reinterpret_cast<const uint8_t*>(s->text.constData()), size_t(s->text.size())});
        QFile out(dir.filePath(QString::fromLatin1(s->name).replace(".txt", ".lng")));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(reinterpret_cast<const char*>(packed.data()), qsizetype(packed.size()));
    }
    Language en, de;
    ASSERT_EQ(en.Load(dir.path(), "English"), std::nullopt);
    ASSERT_EQ(de.Load(dir.path(), "German"), std::nullopt);
    for (const QString& key : ExpectedBarKinds().keys()) {
        EXPECT_EQ(en.Translate(key), BuiltInBarDefinition(key));
        EXPECT_EQ(de.Translate(key), Value(german.sections, "Messages", key));
    }
    for (const QString& key : ProgramMessageKeys())
        EXPECT_EQ(de.Translate(key), Value(german.sections, "Messages", key)) << key.toStdString();
    EXPECT_EQ(de.Translate("Size"), QString::fromUtf8("Gr\xC3\xB6\xC3\x9F"
                                                      "e"));
    EXPECT_EQ(de.Translate("Err"), "Fehler");
}
