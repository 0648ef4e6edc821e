#pragma once

// The tool palette's data: groups of tool variants behind one button each, their hints and hot
// keys, and the arithmetic of the variant pop-up. Widgets render this model; the engine selects
// tools through the select handler, so the palette never needs to know what a tool is.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class PaintTool;
struct ToolEntry;

using TranslateFn = std::function<QString(const QString& key)>;

// Key code modifiers, added to the virtual key code.
namespace KeyMod {
constexpr int Shift = 0x100;
constexpr int Ctrl = 0x200;
constexpr int Alt = 0x400;
} // namespace KeyMod

// Button group of a palette button: command buttons never stay down, tool groups behave as
// radio buttons, the grid button shows the grid's state.
enum class PaletteButtonGroup { Command = 0, Tools = 1, Grid = 2 };

struct PaletteVariant {
    QString icon;     // icon name; for component icons the image below is used instead
    QImage iconImage; // only for icons that come from elsewhere (components)
    PaintTool* tool = nullptr;
    int key = 0;        // key whose name is appended to the hint
    QString hintKey;    // translation key of the hint
    int hintIndex = -1; // index in PaletteHintTable(), -1 when the hint is not from it
    QString hint;       // translated, with the key's name appended
};

struct PaletteGroup {
    int first = 0;   // index of the first variant in the variant table
    int current = 0; // index of the variant the button shows and selects
    int count = 0;
    int perRow = 4;
    int key = 0;
    PaintTool* alternate = nullptr;
    int alternateKey = 0;
    PaletteButtonGroup buttonGroup = PaletteButtonGroup::Tools;
    bool enabled = true; // false for the no-components placeholder and groups without tools
};

// Where the pop-up goes and where its variant buttons sit, in screen and panel pixels.
struct IconPanelLayout {
    QRect panel;                 // screen rectangle of the pop-up
    std::vector<QPoint> buttons; // top-left of each shown variant button, inside the panel
};

class Palette {
public:
    static constexpr int ButtonSize = 28;
    static constexpr int PanelButtonSize = 32;
    static constexpr int PanelButtons = 32; // the pop-up has no more buttons than this
    static constexpr int PanelMargin = 2;

    // Called with the tool and its variant index (in the variant table, -1 for none).
    using SelectHandler = std::function<void(PaintTool* tool, int variant)>;
    // Called when a group's button should show something new (icon, hint or down state).
    using ChangeHandler = std::function<void(int group)>;

    explicit Palette(TranslateFn translate);

    void SetSelectHandler(SelectHandler h) { select_ = std::move(h); }
    void SetChangeHandler(ChangeHandler h) { changed_ = std::move(h); }

    // perRow != 0 starts a new group with this entry. Returns the group number.
    int RegisterVariant(const QString& icon, PaintTool* tool, int key,
                        PaletteButtonGroup buttonGroup, const QString& hintKey, int perRow,
                        int hintIndex = -1, const QImage& iconImage = {});
    // The last group's alternate tool (right button) and its key.
    void RegisterAlternate(PaintTool* tool, int key);
    // A group that can never be used: the placeholder when no component has an icon.
    void DisableLastGroup();
    // Groups none of whose variants has a tool yet are shown disabled.
    void DisableGroupsWithoutTools();

    // Hints again in the current language (after a language change).
    void Retranslate(TranslateFn translate);

    int GroupCount() const { return int(groups_.size()); }
    int VariantCount() const { return int(variants_.size()); }
    const PaletteGroup& Group(int g) const { return groups_.at(size_t(g)); }
    const PaletteVariant& Variant(int v) const { return variants_.at(size_t(v)); }
    const PaletteVariant& CurrentVariant(int g) const { return Variant(Group(g).current); }
    // The group whose button is down among the tool groups, -1 for none.
    int DownGroup() const { return downGroup_; }
    bool GridDown() const { return gridDown_; }

    // Top-left of a group's button on the Tools bar: two columns, row after row.
    static QPoint ButtonPosition(int group);

    // Left button click: the group's current variant.
    bool ClickGroup(int group);
    // Right button: the alternate tool, if the group has one.
    bool AlternateGroup(int group);
    // A variant chosen in the pop-up (index within the group).
    bool ChooseVariant(int group, int index);
    // Whether holding the group's button opens the pop-up.
    bool WantsPanel(int group) const;

    // Hot keys: a group's alternate key selects its alternate tool; its own key selects the
    // current variant, first stepping to the next one (wrapping) when that variant's tool is
    // current and idle. Returns whether the key was used.
    bool LookupKey(int keyCode, const PaintTool* currentTool, bool actionInProgress);

    // The engine made `tool` current: its group shows it and goes down. variant is the
    // variant index, or -1 to search the groups for the tool. Returns the group, -1 if none.
    int ShowTool(const PaintTool* tool, int variant);
    // Grid snapping switched on or off.
    void SetGridDown(bool down);

    // The pop-up for a group whose button's screen top-left is `button`, on `screen`.
    static IconPanelLayout LayoutPanel(int variantCount, int perRow, QPoint button,
                                       const QRect& screen);

private:
    QString MakeHint(const PaletteVariant& v) const;
    bool Select(PaintTool* tool, int variant);
    void Changed(int group);

    TranslateFn translate_;
    SelectHandler select_;
    ChangeHandler changed_;
    std::vector<PaletteGroup> groups_;
    std::vector<PaletteVariant> variants_;
    int downGroup_ = -1;
    bool gridDown_ = false;
};

// The name of a key code for hints: modifiers (translated) in the order Alt, Ctrl, Shift, each
// followed by "+", then the key's character.
QString KeyCodeName(int keyCode, const TranslateFn& translate);

// The hint texts in the order of the language files' hint table; variants refer to them by index.
const std::vector<QString>& PaletteHintTable();

// A component that brings a palette icon.
struct PaletteComponent {
    PaintTool* tool = nullptr;
    QString name; // the hint
    QImage icon;
};

// The tools behind the standard palette entries.
struct PaletteTools {
    // The tool of a registry entry (toolregistry::ResolverFor); nullptr leaves it disabled.
    std::function<PaintTool*(const ToolEntry&)> toolOf;
    PaintTool* brushAlternate = nullptr;      // right button on Brushes
    PaintTool* cutAlternate = nullptr;        // right button on Cut, and Shift+B
    std::vector<PaletteComponent> components; // in the order found
};

// Registers the whole palette from the tool registry in its fixed order, components and commands
// included.
void RegisterStandardPalette(Palette& palette, const PaletteTools& tools);
// The same in the two steps of start-up: the tool groups, then (after the component scan) the
// components or their placeholder, and the commands.
void RegisterToolGroups(Palette& palette, const PaletteTools& tools);
void RegisterComponentsAndCommands(Palette& palette, const PaletteTools& tools);
