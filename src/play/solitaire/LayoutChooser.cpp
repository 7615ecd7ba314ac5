#include "play/solitaire/LayoutChooser.h"

#include "core/Files.h"
#include "dialogs/FittingButton.h"
#include "dialogs/GameOverForm.h"
#include "solitaire/FreeRules.h"
#include "solitaire/LayoutFile.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace tovani {

namespace {

constexpr int kShareRole = Qt::UserRole + 1;
const QColor kPurple(0x80, 0x00, 0x80);

// The two mini tiles: a face with its side, and the same with the lower side cut short and the
// face darker where a neighbour to the lower right hides its edge.
QImage MakeMiniTile(bool shaded) {
    QImage img(kMiniTileWidth, kMiniTileHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.fillRect(0, 3, 10, shaded ? 9 : 12, QColor(150, 110, 60)); // the side
    p.fillRect(3, 0, 10, 12, shaded ? QColor(236, 228, 200) : QColor(250, 244, 222));
    p.setPen(QColor(90, 70, 40));
    p.drawRect(3, 0, 9, 11);
    p.fillRect(5, 3, 6, 6, shaded ? QColor(40, 100, 70) : QColor(60, 130, 90));
    return img;
}

const QImage& MiniTilePicture(bool shaded) {
    static const QImage pictures[2] = {MakeMiniTile(false), MakeMiniTile(true)};
    return pictures[shaded ? 1 : 0];
}

// The list's rows: the layout's name, and its winnable share at the right.
class ShareDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, option, index);
        const QString share = index.data(kShareRole).toString();
        if (share.isEmpty())
            return;
        p->save();
        p->setPen(option.state & QStyle::State_Selected
                      ? option.palette.color(QPalette::HighlightedText)
                      : QColor(0, 110, 0));
        p->drawText(option.rect.adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter, share);
        p->restore();
    }
};

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, int w = 80) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, 18);
    return l;
}

} // namespace

// ---- The list boxes -----------------------------------------------------------------------------

LayoutListBox::LayoutListBox(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
}

void LayoutListBox::dragEnterEvent(QDragEnterEvent* e) {
    if (e->source() == partner && partner)
        e->acceptProposedAction();
    else
        e->ignore();
}

void LayoutListBox::dragMoveEvent(QDragMoveEvent* e) {
    if (e->source() != partner || !partner) {
        e->ignore();
        return;
    }
    // The entry under the mouse is where the name goes.
    if (QListWidgetItem* item = itemAt(e->position().toPoint()))
        setCurrentItem(item);
    e->acceptProposedAction();
}

void LayoutListBox::dropEvent(QDropEvent* e) {
    if (e->source() != partner || !partner || !partner->currentItem()) {
        e->ignore();
        return;
    }
    QListWidgetItem* under = itemAt(e->position().toPoint());
    const int at = under ? row(under) : count();
    const QString name = partner->currentItem()->text();
    e->setDropAction(Qt::CopyAction);
    e->accept();
    if (onDrop)
        onDrop(name, at);
}

void LayoutListBox::mouseMoveEvent(QMouseEvent* e) {
    // Moving the mouse over a list gives it the focus.
    if (!hasFocus())
        setFocus();
    QListWidget::mouseMoveEvent(e);
}

// ---- The chooser --------------------------------------------------------------------------------

TChooseLayout::TChooseLayout(Context ctx, QWidget* parent)
    : QDialog(parent), ctx_(std::move(ctx)), favourites_(ctx_.favourites) {
    setObjectName("ChooseLayout");
    setWindowTitle(Tr("Choose a new layout..."));
    setFixedSize(492, 429);
    SetTiledBackground(this, ctx_.background);

    layoutList_ = new LayoutListBox(this);
    layoutList_->setObjectName("LayoutList");
    layoutList_->setGeometry(8, 8, 228, 200);
    layoutList_->setItemDelegate(new ShareDelegate(layoutList_));
    faveLayouts_ = new LayoutListBox(this);
    faveLayouts_->setObjectName("FaveLayouts");
    faveLayouts_->setGeometry(8, 214, 228, 134);
    layoutList_->partner = faveLayouts_;
    faveLayouts_->partner = layoutList_;

    preview_ = new QLabel(this);
    preview_->setObjectName("Preview");
    preview_->setProperty("codeText", true); // its hint is one of the messages
    preview_->setGeometry(270, 8, kMiniatureWidth, kMiniatureHeight);
    preview_->setToolTip(Tr("Play this layout"));
    if (ctx_.coolMouse)
        preview_->setCursor(Qt::PointingHandCursor);
    preview_->installEventFilter(this);

    auto* panel = new QWidget(this);
    panel->setObjectName("InfoPanel");
    panel->setGeometry(244, 150, 240, 236);
    panel->setAutoFillBackground(true);
    QPalette pp = panel->palette();
    pp.setColor(QPalette::Window, QColor(255, 255, 255, 215));
    panel->setPalette(pp);
    // The values start after the longest caption, as long as it is in the player's language.
    const QString captions[] = {Tr("Full Name :"), Tr("Nb. of Tiles :"), Tr("Free Tiles :"),
                                Tr("Winnable :")};
    int valuesAt = 86;
    for (const QString& c : captions)
        valuesAt = std::max(valuesAt, 6 + panel->fontMetrics().horizontalAdvance(c) + 6);
    valuesAt = std::min(valuesAt, 140);
    const int valueWidth = 236 - valuesAt;
    Caption(panel, captions[0], 6, 4, valuesAt - 6);
    layoutN_ = new QLabel(panel);
    layoutN_->setObjectName("LayoutN");
    layoutN_->setProperty("codeText", true); // the selected layout's name
    layoutN_->setGeometry(valuesAt, 4, valueWidth, 18);
    Caption(panel, captions[1], 6, 24, valuesAt - 6);
    tilesLabel_ = new QLabel(panel);
    tilesLabel_->setObjectName("TilesLabel");
    tilesLabel_->setGeometry(valuesAt, 24, valueWidth, 18);
    Caption(panel, captions[2], 6, 44, valuesAt - 6);
    movesLabel_ = new QLabel(panel);
    movesLabel_->setObjectName("MovesLabel");
    movesLabel_->setGeometry(valuesAt, 44, valueWidth, 18);
    Caption(panel, captions[3], 6, 64, valuesAt - 6);
    winnableLabel_ = new QLabel(panel);
    winnableLabel_->setObjectName("WinnableLabel");
    winnableLabel_->setGeometry(valuesAt, 64, valueWidth, 18);
    auto* fav = Caption(panel, Tr("<< Favorite Layouts"), 6, 92, 228);
    QFont bold = fav->font();
    bold.setBold(true);
    fav->setFont(bold);
    auto* help = new QLabel(Tr("This is the list of layouts which appear in the Layouts menu. You "
                               "can add layouts by dragging them from the top listbox and "
                               "dropping them on the bottom listbox. Delete the layouts by doing "
                               "the other way around..."),
                            panel);
    help->setWordWrap(true);
    help->setGeometry(6, 112, 228, 120);
    help->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    checkBox1_ = new QCheckBox(Tr("Preview with current background"), this);
    checkBox1_->setObjectName("CheckBox1");
    checkBox1_->setGeometry(8, 354, 300, 22);
    checkBox1_->setChecked(ctx_.previewBack);

    struct Button {
        const char* name;
        const char* text;
        int x, w;
    };
    const Button buttons[] = {{"BitBtn1", "Play this layout", 8, 120},
                              {"BitBtn3", "Edit", 132, 70},
                              {"BitBtn4", "New Layout", 206, 96},
                              {"BitBtn5", "Expand >>", 306, 90},
                              {"BitBtn2", "Cancel", 400, 84}};
    for (const Button& b : buttons) {
        auto* btn = new FittingButton(Tr(b.text), this);
        btn->setObjectName(b.name);
        btn->setGeometry(b.x, 388, b.w, 32);
    }
    auto button = [this](const char* name) { return findChild<QPushButton*>(name); };
    button("BitBtn1")->setDefault(true);
    connect(button("BitBtn1"), &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(button("BitBtn2"), &QPushButton::clicked, this, [this] { Choose(kCancel); });
    connect(button("BitBtn3"), &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(button("BitBtn4"), &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(button("BitBtn5"), &QPushButton::clicked, this, [this] { BitBtn5Click(); });
    connect(checkBox1_, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });

    // The list in the order of the layout numbers (the catalog is sorted already).
    if (ctx_.catalog)
        for (int n = 1; n <= ctx_.catalog->Count(); ++n) {
            auto* item = new QListWidgetItem(QString::fromStdString(ctx_.catalog->Entry(n)->name));
            item->setData(kShareRole, ShareText(n));
            layoutList_->addItem(item);
            numbers_.push_back(n);
        }
    FillFavourites();
    connect(layoutList_, &QListWidget::itemClicked, this, [this] { LayoutListClick(); });
    connect(layoutList_, &QListWidget::currentRowChanged, this, [this] { LayoutListClick(); });
    connect(layoutList_, &QListWidget::itemDoubleClicked, this, [this] { BitBtn1Click(); });
    connect(faveLayouts_, &QListWidget::itemClicked, this, [this] { FaveLayoutsClick(); });
    connect(faveLayouts_, &QListWidget::itemDoubleClicked, this, [this] {
        FaveLayoutsClick();
        BitBtn1Click();
    });
    faveLayouts_->onDrop = [this](const QString& name, int row) { FaveLayoutsDragDrop(name, row); };
    layoutList_->onDrop = [this](const QString&, int) {
        LayoutListDragDrop(faveLayouts_->currentRow());
    };

    FillImage1();
    if (layoutList_->count() > 0)
        Select(0);
}

QString TChooseLayout::ShareText(int number) const {
    if (!ctx_.share)
        return {};
    const std::optional<double> share = ctx_.share(number);
    return share ? QString::number(*share, 'f', 0) + " %" : QString();
}

void TChooseLayout::RefreshShares() {
    for (int row = 0; row < layoutList_->count(); ++row)
        layoutList_->item(row)->setData(kShareRole, ShareText(numbers_[size_t(row)]));
    LayoutListClick();
}

void TChooseLayout::FillFavourites() {
    faveLayouts_->clear();
    for (const std::string& n : favourites_.Names())
        faveLayouts_->addItem(QString::fromStdString(n));
}

void TChooseLayout::FillImage1() {
    image1_ = QImage(kMiniatureWidth, kMiniatureHeight, QImage::Format_ARGB32_Premultiplied);
    if (checkBox1_->isChecked() && !ctx_.previewPicture.isNull()) {
        QPainter p(&image1_);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(image1_.rect(), ctx_.previewPicture);
    } else {
        image1_.fill(kPurple);
    }
}

bool TChooseLayout::PreviewBack() const {
    return checkBox1_->isChecked();
}

std::optional<Layout> TChooseLayout::ReadLayout(const LayoutCatalog& catalog, int number) {
    const LayoutEntry* e = catalog.Entry(number);
    if (!e)
        return std::nullopt;
    const std::optional<std::string> bytes = ReadWholeFile(catalog.PathOf(number));
    if (!bytes)
        return std::nullopt;
    if (e->shp) {
        auto r = ParseShp(*bytes);
        if (Failed(r))
            return std::nullopt;
        return std::get<ShpFile>(r).layout;
    }
    auto r = ParseLay(*bytes);
    if (Failed(r))
        return std::nullopt;
    return std::get<LayFile>(r).layout;
}

void TChooseLayout::Select(int row) {
    if (row < 0 || row >= layoutList_->count())
        return;
    if (layoutList_->currentRow() != row)
        layoutList_->setCurrentRow(row); // shows it through currentRowChanged
    else
        LayoutListClick();
}

void TChooseLayout::LayoutListClick() {
    const int row = layoutList_->currentRow();
    if (row < 0 || !ctx_.catalog)
        return;
    const int number = numbers_[size_t(row)];
    const std::string path = ctx_.catalog->PathOf(number);
    if (!FileExists(path)) {
        // The file is gone: the layout leaves the list.
        numbers_.erase(numbers_.begin() + row);
        delete layoutList_->takeItem(row);
        layoutList_->setFocus();
        return;
    }
    const std::optional<Layout> layout = ReadLayout(*ctx_.catalog, number);
    if (!layout) {
        layoutN_->setText(Tr("This layout cannot be read."));
        tilesLabel_->clear();
        movesLabel_->clear();
        winnableLabel_->clear();
        MinusRedraw(Layout{});
        return;
    }
    tilesLabel_->setText(QString::number(layout->PlaceCount()));
    movesLabel_->setText(QString::number(LayoutFreePlaces(*layout)));
    const QString share = ShareText(number);
    winnableLabel_->setText(share.isEmpty() ? Tr("being measured...") : share);
    MinusRedraw(*layout);
    layoutN_->setText(QString::fromStdString(layout->name));
    layoutN_->setToolTip(layoutN_->text());
}

void TChooseLayout::DrawMiniature(QImage& picture, const QImage& back, const Layout& layout) {
    picture = back.copy();
    QPainter p(&picture);
    for (const MiniTile& t : Miniature(layout))
        p.drawImage(t.x, t.y, MiniTilePicture(t.shaded));
}

void TChooseLayout::MinusRedraw(const Layout& layout) {
    DrawMiniature(minusBuffer_, image1_, layout);
    preview_->setPixmap(QPixmap::fromImage(minusBuffer_));
}

void TChooseLayout::Choose(int result) {
    done(result);
}

void TChooseLayout::ChooseSelected(int result) {
    const int row = layoutList_->currentRow();
    if (row < 0)
        return;
    chosen_ = numbers_[size_t(row)];
    Choose(result);
}

void TChooseLayout::BitBtn1Click() {
    ChooseSelected(kPlay);
}

void TChooseLayout::BitBtn3Click() {
    ChooseSelected(kEdit);
}

void TChooseLayout::BitBtn4Click() {
    Choose(kNewLayout);
}

void TChooseLayout::BitBtn5Click() {
    layoutN_->setText(Tr("PLEASE WAIT -- LOADING LAYOUTS"));
    layoutN_->repaint();
    if (!ctx_.catalog)
        return;
    TExtendedChoose view(*ctx_.catalog, numbers_, image1_, ctx_.coolMouse, ctx_.translate, this);
    layoutN_->clear();
    const int result = ctx_.runDialog ? ctx_.runDialog(view) : view.exec();
    if (result == TExtendedChoose::kChosen && view.Chosen() >= 0) {
        Select(view.Chosen());
        BitBtn1Click();
    } else if (result == TExtendedChoose::kCancel) {
        Choose(kCancel);
    } else {
        LayoutListClick();
    }
}

void TChooseLayout::CheckBox1Click() {
    FillImage1();
    LayoutListClick();
}

void TChooseLayout::FaveLayoutsClick() {
    QListWidgetItem* f = faveLayouts_->currentItem();
    if (!f)
        return;
    const auto found = layoutList_->findItems(f->text(), Qt::MatchExactly);
    if (!found.isEmpty())
        Select(layoutList_->row(found.first()));
}

void TChooseLayout::FaveLayoutsDragDrop(const QString& name, int row) {
    favourites_.Drop(name.toStdString(), row);
    FillFavourites();
    const auto placed = faveLayouts_->findItems(name, Qt::MatchExactly);
    if (!placed.isEmpty())
        faveLayouts_->setCurrentItem(placed.first());
}

void TChooseLayout::LayoutListDragDrop(int faveRow) {
    if (favourites_.RemoveAt(faveRow))
        FillFavourites();
}

bool TChooseLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == preview_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        BitBtn1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---- The expanded view --------------------------------------------------------------------------

TExtendedChoose::TExtendedChoose(const LayoutCatalog& catalog, const std::vector<int>& numbers,
                                 const QImage& back, bool coolMouse,
                                 const std::function<QString(const QString&)>& translate,
                                 QWidget* parent)
    : QDialog(parent) {
    auto Tr = [&translate](const QString& s) { return translate ? translate(s) : s; };
    setObjectName("ExtendedChoose");
    setWindowTitle(Tr("Choose a new layout..."));
    setFixedSize(632, 406);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("ScrollBox1");
    scroll_->setGeometry(0, 0, 632, 369);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette black = scroll_->palette();
    black.setColor(QPalette::Window, Qt::black);
    scroll_->setPalette(black);
    scroll_->setAutoFillBackground(true);
    auto* inside = new QWidget;
    inside->setObjectName("ScrollInside");
    inside->setPalette(black);
    inside->setAutoFillBackground(true);
    const int count = static_cast<int>(numbers.size());
    inside->setFixedSize(3 * 202 + 4, ((count - 1) / 3) * 138 + 138);
    for (int d = 0; d < count; ++d) {
        auto* pic = new QLabel(inside);
        pic->setObjectName(QString("Mini%1").arg(d));
        pic->setProperty("codeText", true); // the layout's own name
        pic->setGeometry((d % 3) * 202, (d / 3) * 138, kMiniatureWidth, kMiniatureHeight);
        QImage picture;
        const std::optional<Layout> layout = TChooseLayout::ReadLayout(catalog, numbers[size_t(d)]);
        TChooseLayout::DrawMiniature(picture, back, layout.value_or(Layout{}));
        pic->setPixmap(QPixmap::fromImage(picture));
        if (const LayoutEntry* e = catalog.Entry(numbers[size_t(d)]))
            pic->setToolTip(QString::fromStdString(e->name));
        pic->setProperty("tag", d);
        if (coolMouse)
            pic->setCursor(Qt::PointingHandCursor);
        pic->installEventFilter(this);
    }
    scroll_->setWidget(inside);
    auto* reduce = new FittingButton(Tr("<< Reduce"), this);
    reduce->setObjectName("BitBtn2");
    QFont f = reduce->font();
    f.setBold(true);
    reduce->setFont(f);
    reduce->setDefault(true);
    reduce->setGeometry(8, 372, 120, 30);
    auto* cancel = new FittingButton(Tr("Cancel"), this);
    cancel->setObjectName("BitBtn1");
    cancel->setGeometry(504, 372, 120, 30);
    connect(reduce, &QPushButton::clicked, this, [this] { done(kReduce); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kCancel); });
}

QWidget* TExtendedChoose::Scroll() const {
    return scroll_->widget();
}

void TExtendedChoose::ScrollClick(int row) {
    chosen_ = row;
    done(kChosen);
}

bool TExtendedChoose::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const QVariant tag = watched->property("tag");
        if (tag.isValid()) {
            ScrollClick(tag.toInt());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tovani
