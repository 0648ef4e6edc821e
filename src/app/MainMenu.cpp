#include "app/MainMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr MainMenuEntry kMenu[] = {
    {0, "&File", "File1Click"},
    {1, "&New...", "New1Click", "Ctrl+N"},
    {1, "&Open...", "OpenImageClick", "Ctrl+O"},
    {1, "&Browse...", "Browse1Click", "Ctrl+Shift+R"},
    {1, "-", ""},
    {1, "&Save", "SavePicture", "Ctrl+S"},
    {1, "Save &as...", "SavePictureAs"},
    {1, "-", ""},
    {1, "S&elect Source...", "SelectSource1Click"},
    {1, "Ac&quire...", "Acquire1Click"},
    {1, "-", ""},
    {1, "Expor&t to Clipboard", "ExptoClipbClick"},
    {1, "&Import from Clipboard", "ImpfromClipbClick"},
    {1, "-", ""},
    {1, "&Print...", "Print1Click"},
    {1, "P&rinter Setup...", "PrinterSetup1Click"},
    {1, "-", ""},
    {1, "Reopen", "Reopen1", nullptr, true},
    {1, "-", ""},
    {1, "&Update && Exit", "UpdateExit1Click"},
    {1, "E&xit", "Exit1Click", "Alt+X"},

    {0, "&Brush", "Brush1"},
    {1, "&Crop", "Crop1Click", "Ctrl+P"},
    {1, "Select &All", "SelectAll1Click", "Ctrl+A"},
    {1, "Res&tore", "Restore1Click"},
    {1, "&Outline", "Outline1Click", "Ctrl+Shift+O"},
    {1, "-", ""},
    {1, "&Halve", "Halve1", nullptr, true},
    {2, "&Both", "Both1Click", "Ctrl+H"},
    {2, "&Width", "Width1Click"},
    {2, "&Height", "Height1Click"},
    {1, "&Double", "Double1", nullptr, true},
    {2, "&Both", "Both2Click", "Ctrl+D"},
    {2, "&Width", "Width2Click"},
    {2, "&Height", "Height2Click"},
    {1, "Str&etch", "Stretch1", nullptr, true},
    {2, "&Both", "Both3Click", "Ctrl+B"},
    {2, "&Width", "Width3Click"},
    {2, "&Height", "Height3Click"},
    {1, "&Mirror", "Mirror1", nullptr, true},
    {2, "&Left-to-Right", "LefttoRight1Click", "Ctrl+X"},
    {2, "&Top-to-Bottom", "ToptoBottom1Click", "Ctrl+Y"},
    {1, "&Rotate", "Rotate2", nullptr, true},
    {2, "&90 Degrees", "N90Degrees1Click"},
    {2, "&180 Degrees", "N180Degrees1Click"},
    {2, "&Any Angle", "AnyAngle1Click", "Ctrl+R"},
    {1, "&Bend", "Bend1", nullptr, true},
    {2, "&Up-and-Down", "UpandDown1Click"},
    {2, "&Left-and-Right", "LeftandRight1Click"},
    {1, "Sh&ear", "Shear1", nullptr, true},
    {2, "&Up-and-Down", "UpandDown2Click"},
    {2, "&Left-and-Right", "LeftandRight2Click"},
    {1, "Drop Shado&w...", "DropShadow1Click"},
    {1, "-", ""},
    {1, "O&pen...", "LoadBrushClick"},
    {1, "&Save...", "SaveBrushClick"},
    {1, "-", ""},
    {1, "Ha&ndle", "Handle1", nullptr, true},
    {2, "&Center", "Center1Click", "Ctrl+E"},
    {2, "&Left Top Corner", "LTCorner1Click"},
    {2, "Right &Top Corner", "RTCorner1Click"},
    {2, "&Right Bottom Corner", "RBCorner1Click"},
    {2, "Left &Bottom Corner", "LBCorner1Click"},

    {0, "&Image", "Image1"},
    {1, "Stretch / &Mirror", "StretchMirror1Click"},
    {1, "&Rotate", "Rotate1Click"},
    {1, "&Filter Factory", "FilterFactory1Click"},
    {1, "&Custom Filter", "CustomFilter1Click"},
    {1, "&Info...", "Info1Click", "Ctrl+I"},
    {1, "-", ""}, // the components follow

    {0, "&Techniques", "Techniques1"},
    {1, "&Paint", "Paint1Click", "F2"},
    {1, "&Color", "Color1Click", "F3"},
    {1, "&Replace", "Replace1Click", "F4"},

    {0, "&Options", "Options1"},
    {1, "&Toolbar Visible", "ToolbarVisibClick"},
    {1, "&Palette Visible", "PaletteVisibClick"},
    {1, "-", ""},
    {1, "Preferences...", "PrefsMenuClick"},

    {0, "&Window", "WindowMenuClick"},
    {1, "1", "N11Click", "Alt+1"},
    {1, "2", "N21Click", "Alt+2"},
    {1, "3", "N31Click", "Alt+3"},
    {1, "4", "N41Click", "Alt+4"},
    {1, "5", "N51Click", "Alt+5"},
    {1, "6", "N61Click", "Alt+6"},
    {1, "7", "N71Click", "Alt+7"},
    {1, "8", "N81Click", "Alt+8"},
    {1, "9", "N91Click", "Alt+9"},
    {1, "10", "N101Click", "Alt+0"},
    {1, "-", ""},
    {1, "Next Image", "NextImage1Click", "Alt+]"},
    {1, "Prev Image", "PrevImage1Click", "Alt+["},

    {0, "&Help", "Help1"},
    {1, "&Contents", "Contents1Click"},
    {1, "Visit &HomePage", "HomepageClick"},
    {1, "-", ""},
    {1, "&About...", "About1Click"},
};

} // namespace

QString ControlName(const char* handler) {
    QString name = QString::fromLatin1(handler);
    if (name.endsWith(QLatin1String("Click"))) name.chop(5);
    return name;
}

std::span<const MainMenuEntry> MainMenuTable() {
    return kMenu;
}

void BuildMainMenu(QWidget* owner, QMenuBar* bar) {
    QMenu* open[3] = {}; // the innermost open menu at each depth
    for (const MainMenuEntry& e : kMenu) {
        const QString caption = QString::fromLatin1(e.caption);
        QMenu* parent = e.depth > 0 ? open[e.depth - 1] : nullptr;
        if (e.depth > 0 && !parent) continue;
        if (caption == QLatin1String("-")) {
            parent->addSeparator();
            continue;
        }
        if (e.depth == 0 || e.submenu) {
            auto* menu = new QMenu(caption, owner);
            menu->setObjectName(ControlName(e.handler));
            if (parent)
                parent->addMenu(menu);
            else
                bar->addMenu(menu);
            open[e.depth] = menu;
            for (int d = e.depth + 1; d < 3; ++d) open[d] = nullptr;
            continue;
        }
        auto* action = new QAction(caption, owner);
        action->setObjectName(ControlName(e.handler));
        if (e.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        parent->addAction(action);
    }
}
