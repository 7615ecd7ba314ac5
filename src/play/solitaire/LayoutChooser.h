// The layout chooser ("Choose a new layout..."): the list of every layout with its winnable
// share, a miniature of the selected one with its tiles and free tiles, the favourite layouts
// (edited by dragging names between the two lists), and Play, Edit, New Layout, Cancel and the
// expanded view that shows the miniatures of all layouts at once (`TExtendedChoose`).
//
// The dialog only chooses: the caller (LayoutChoice) performs what it closed with.
#pragma once

#include "solitaire/LayoutCatalog.h"
#include "solitaire/LayoutFavourites.h"

#include <QDialog>
#include <QImage>
#include <QListWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QScrollArea;

namespace tovani {

// A list box that takes names dragged from its partner list only.
class LayoutListBox : public QListWidget {
    Q_OBJECT
public:
    explicit LayoutListBox(QWidget* parent = nullptr);
    QListWidget* partner = nullptr;
    // A name from the partner was dropped before `row` (the count for "at the end").
    std::function<void(const QString& name, int row)> onDrop;

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
};

class TChooseLayout : public QDialog {
    Q_OBJECT
public:
    // What the chooser closed with.
    static constexpr int kPlay = 5;
    static constexpr int kCancel = 2;
    static constexpr int kEdit = 6;
    static constexpr int kNewLayout = 7;

    struct Context {
        const LayoutCatalog* catalog = nullptr;
        LayoutFavourites favourites;
        QImage background;     // the dialog's papering
        QImage previewPicture; // the game's background, behind the miniature when asked
        bool previewBack = false;
        bool coolMouse = false;
        std::function<QString(const QString&)> translate;
        // The winnable share to show beside a layout (list name), if measured.
        std::function<std::optional<double>(int number)> share;
        // Runs a dialog modally (the expanded view); tests answer it.
        std::function<int(QDialog&)> runDialog;
    };

    explicit TChooseLayout(Context ctx, QWidget* parent = nullptr);

    // ---- The handlers, as the player triggers them --------------------------------------------
    void LayoutListClick();
    void BitBtn1Click(); // Play this layout (also a click on the preview)
    void BitBtn3Click(); // Edit
    void BitBtn4Click(); // New Layout
    void BitBtn5Click(); // Expand >>
    void CheckBox1Click();
    void FaveLayoutsClick();
    void FaveLayoutsDragDrop(const QString& name, int row);
    void LayoutListDragDrop(int faveRow);
    // Draws the miniature of `layout` into the preview picture.
    void MinusRedraw(const Layout& layout);
    // Selects the layout of this list position (0-based) and shows it.
    void Select(int row);
    // The winnable shares changed (a layout was measured): the list shows them again.
    void RefreshShares();

    // ---- What the chooser holds --------------------------------------------------------------
    int ChosenNumber() const { return chosen_; } // the layout number chosen, 1..
    const LayoutFavourites& Favourites() const { return favourites_; }
    bool PreviewBack() const;
    QListWidget* LayoutList() const { return layoutList_; }
    QListWidget* FaveLayouts() const { return faveLayouts_; }
    QLabel* Preview() const { return preview_; }
    QLabel* TilesLabel() const { return tilesLabel_; }
    QLabel* MovesLabel() const { return movesLabel_; }
    QLabel* LayoutN() const { return layoutN_; }
    const QImage& MinusBuffer() const { return minusBuffer_; }

    // The miniature of a layout on a picture of 206 x 138 (the expanded view draws them too).
    static void DrawMiniature(QImage& picture, const QImage& back, const Layout& layout);
    // The layout of a catalog entry as the chooser reads it, or nothing when it cannot be read.
    static std::optional<Layout> ReadLayout(const LayoutCatalog& catalog, int number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString Tr(const QString& s) const { return ctx_.translate ? ctx_.translate(s) : s; }
    void FillImage1();
    void FillFavourites();
    QString ShareText(int number) const;
    void Choose(int result);
    // Closes with `result` on the selected layout (nothing when none is selected).
    void ChooseSelected(int result);

    Context ctx_;
    LayoutFavourites favourites_;
    QImage image1_;      // the preview's background
    QImage minusBuffer_; // the finished miniature
    LayoutListBox* layoutList_ = nullptr;
    LayoutListBox* faveLayouts_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* layoutN_ = nullptr;
    QLabel* tilesLabel_ = nullptr;
    QLabel* movesLabel_ = nullptr;
    QLabel* winnableLabel_ = nullptr;
    QCheckBox* checkBox1_ = nullptr;
    std::vector<int> numbers_; // the layout number of each list row
    int chosen_ = 0;
};

// The expanded view: the miniatures of all layouts, three a row; a click on one chooses it.
class TExtendedChoose : public QDialog {
    Q_OBJECT
public:
    static constexpr int kChosen = 1;
    static constexpr int kCancel = 2;
    static constexpr int kReduce = 3;

    TExtendedChoose(const LayoutCatalog& catalog, const std::vector<int>& numbers,
                    const QImage& back, bool coolMouse,
                    const std::function<QString(const QString&)>& translate,
                    QWidget* parent = nullptr);
    // A click on the miniature of list row `row`.
    void ScrollClick(int row);
    int Chosen() const { return chosen_; }
    QWidget* Scroll() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QScrollArea* scroll_ = nullptr;
    int chosen_ = -1;
};

} // namespace tovani
