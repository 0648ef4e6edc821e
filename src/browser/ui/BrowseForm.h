#pragma once

#include "browser/BrowseEntries.h"
#include "browser/BrowseLayout.h"
#include "browser/BrowseThread.h"
#include "raster/Buffer.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class Language;
class QComboBox;
class QLabel;
class QScrollBar;
class QToolButton;
class TBuffer;
class ThumbCache;
namespace comp {
struct ComponentTable;
}

// The thumbnail browser, a scrolling grid of thumbnails made by a worker thread while the user
// scrolls. In image mode it shows the sub-folders and pictures of a folder, kept in the folder's
// cache file when caching is on; clicking a folder shows that folder, clicking a picture closes
// the window with result 1 and ChosenFile() naming it. In effect mode it shows the current
// picture run through each component of one group (the place list chooses the group); clicking
// one closes the window with result 1 and ChosenComponent() naming it.
class TBrowseForm : public QDialog, private BrowseCells {
    Q_OBJECT
public:
    static constexpr int HelpContext = 1120;

    struct Options {
        bool cacheThumbs = false;
        uint32_t background = 0xFFFFFF; // under transparent pixels
    };
    TBrowseForm(const Language& language, const QString& folder, Options options,
                QWidget* parent = nullptr);
    // Effect mode over group (an index into table.menu.categories) of table, which must outlive
    // the window and stay unchanged while it is open.
    TBrowseForm(const Language& language, const comp::ComponentTable& table, int group,
                const Buffer& picture, QWidget* parent = nullptr);
    ~TBrowseForm() override;

    bool EffectMode() const { return table_ != nullptr; }
    // Effect mode: tears the grid down and builds it for group.
    void BrowseGroup(int group);
    int Group() const { return group_; }
    // Effect mode: the index of the component chosen in table.components, -1 for none.
    int ChosenComponent() const { return chosenComponent_; }

    // Tears the grid down (writing the cache) and builds it for folder.
    void Browse(const QString& folder);
    QString Folder() const { return folder_; }
    QString ChosenFile() const { return chosen_; }
    // As a click on the cell of entry k.
    void ClickEntry(int k);

    // The root, the home folder and the mounted volumes.
    static QStringList Places();

    const std::vector<BrowseEntry>& Entries() const { return entries_; }
    TBrowseThread* Worker() const { return worker_.get(); }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    QWidget* View() const { return view_; }
    QComboBox* PlaceList() const { return places_; }
    // Entries shown by a visible cell, in cell order.
    std::vector<int> ShownEntries() const;
    // The thumbnail and caption a cell shows for entry k; null / empty when none does.
    const Buffer* ThumbOf(int k) const;
    QString CaptionOf(int k) const;

    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Cell {
        TBuffer* view = nullptr;
        QToolButton* caption = nullptr;
        Buffer thumb;
        int entry = -1;
    };
    void HideCell(int cell) override;
    void ShowCell(int cell, int entry, const Buffer& thumb, const QString& caption) override;
    Cell& MakeCell(int index);
    void BuildWindow();
    void Teardown();
    void UpdateScroll();
    void UpdateRange();
    void SelectPlace();

    const Language& language_;
    Options options_;
    QString folder_;
    QString chosen_;
    std::vector<BrowseEntry> entries_;
    std::vector<std::unique_ptr<Cell>> cells_;
    std::unique_ptr<ThumbCache> cache_;
    std::unique_ptr<TBrowseThread> worker_;
    // Effect mode.
    const comp::ComponentTable* table_ = nullptr;
    Buffer picture_;   // the current picture at its thumbnail size
    Rect pictureArea_; // the current picture's own rectangle
    int group_ = -1;
    std::vector<int> components_; // the component of each entry
    int chosenComponent_ = -1;
    QComboBox* places_;
    QLabel* folderLabel_;
    QWidget* view_;
    QWidget* panel_;
    QScrollBar* scrollBar_;
};
