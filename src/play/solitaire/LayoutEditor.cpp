#include "play/solitaire/LayoutEditor.h"

#include "core/TextKey.h"
#include "graphics/BoardExtent.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

// The longest layout name the panel takes.
constexpr int kMaxNameLength = 50;

QLabel* ValueLabel(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setProperty("codeText", true); // counts and the deals' odds, written by the editor
    l->setMinimumWidth(30);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    l->setPalette(p);
    return l;
}

} // namespace

LayoutEditor::LayoutEditor(GameServices& services, HallKeeper& hall, SolitaireGame& solitaire)
    : services_(services), hall_(hall), solitaire_(solitaire), form_(services.Form()),
      view_(services.View()) {
    setObjectName("LayoutEditor");
    Register();
    BuildPanel();
    odds_.onReport = [this](const LayoutOddsReport& r) { ShowOdds(r); };
}

LayoutEditor::~LayoutEditor() {
    BoardScene& scene = view_.Scene();
    if (scene.board == &editing_.GetBoard())
        scene.board = nullptr;
    for (const char* h : {"CreateLayout1Click", "Editlayout1Click", "SaveandexitClick",
                          "Cancel2Click", "MoveBoardClick"})
        form_.SetHandler(h, nullptr);
    form_.RegisterGame({kModeEditor}, nullptr);
}

void LayoutEditor::Register() {
    form_.SetHandler("CreateLayout1Click", [this](QObject*) { CreateLayout1Click(); });
    form_.SetHandler("Editlayout1Click", [this](QObject*) { Editlayout1Click(); });
    form_.SetHandler("SaveandexitClick", [this](QObject* s) { SaveandexitClick(s); });
    form_.SetHandler("Cancel2Click", [this](QObject*) { Cancel2Click(); });
    form_.SetHandler("MoveBoardClick", [this](QObject* s) {
        const int tag = s ? s->property("tag").toInt() : 0;
        MoveBoardClick(static_cast<MoveDirection>(std::clamp(tag, 0, 3)));
    });
    form_.RegisterGame({kModeEditor}, this);
}

QString LayoutEditor::Tr(const QString& s) const {
    return services_.Tr(s);
}

// ---- The panel --------------------------------------------------------------------------------

void LayoutEditor::BuildPanel() {
    QWidget* panel = form_.Area("EditorPanel");
    if (!panel)
        return;
    auto* row = qobject_cast<QHBoxLayout*>(panel->layout());
    if (!row)
        return;
    // The captions the window made, each followed by its value, in the panel's order.
    while (QLayoutItem* item = row->takeAt(0))
        delete item;
    auto caption = [panel](const char* name) {
        auto* l = panel->findChild<QLabel*>(name);
        if (!l) {
            l = new QLabel(panel);
            l->setObjectName(name);
        }
        return l;
    };
    tiles_ = ValueLabel(panel, "Label40");
    free_ = ValueLabel(panel, "Label5");
    needed_ = ValueLabel(panel, "Label6");
    name_ = new QLineEdit(panel);
    name_->setObjectName("Edit1");
    name_->setProperty("codeText", true); // the layout's name, the player's own
    name_->setMaxLength(kMaxNameLength);
    name_->setMinimumWidth(150);
    name_->setMaximumWidth(260);
    // The field grows with the name, so a longer name (as "New Layout" is in some languages)
    // is seen whole rather than scrolled.
    QObject::connect(name_, &QLineEdit::textChanged, name_, [field = name_] {
        const int wanted = field->fontMetrics().horizontalAdvance(field->text()) + 16;
        field->setMinimumWidth(std::clamp(wanted, 150, 260));
    });
    {
        QFont f("Monospace");
        f.setStyleHint(QFont::TypeWriter);
        f.setBold(true);
        name_->setFont(f);
        QPalette p = name_->palette();
        p.setColor(QPalette::Text, QColor(0, 128, 128));
        name_->setPalette(p);
    }
    odds_label_ = ValueLabel(panel, "OddsLabel");
    row->addWidget(caption("Label30"));
    row->addWidget(tiles_);
    row->addSpacing(8);
    row->addWidget(caption("Label3"));
    row->addWidget(free_);
    row->addSpacing(8);
    row->addWidget(caption("Label4"));
    row->addWidget(needed_);
    row->addSpacing(8);
    row->addWidget(caption("LabelLayout"));
    row->addWidget(name_);
    row->addSpacing(10);
    row->addWidget(odds_label_);
    row->addStretch();
}

void LayoutEditor::ShowPanel(bool on) {
    QWidget* panel = form_.Area("EditorPanel");
    QWidget* tools = form_.Area("Tools");
    if (on) {
        auto set = [panel, this](const char* name, const char* text, const char* hint) {
            if (auto* l = panel->findChild<QLabel*>(name)) {
                l->setText(Tr(text));
                l->setToolTip(hint ? Tr(hint) : QString());
            }
        };
        set("Label30", TrKey("Tiles"), TrKey("You can have up to 144 tiles, or a multiple of 4"));
        set("Label3", TrKey("Free Tiles"),
            TrKey("You must have at least 2 free tiles to save the layout"));
        set("Label4", TrKey("Needed"),
            TrKey("Number of tiles you need to add before you can save the layout"));
        set("LabelLayout", TrKey("Layout Name"), nullptr);
        odds_label_->setToolTip(Tr("Whether a deal that can be cleared exists on this layout, and "
                                   "the share of its deals that the solver clears"));
        if (tools)
            tools->hide();
        panel->show();
    } else {
        panel->hide();
        if (tools)
            tools->setVisible(form_.Option("Toolbar1") && !form_.Option("Total"));
    }
    form_.FormResize();
}

void LayoutEditor::UpdateCounters() {
    tiles_->setText(QString::number(editing_.Places()));
    free_->setText(QString::number(editing_.FreeTiles()));
    needed_->setText(QString::number(editing_.Needed()));
    GameSession& s = form_.Session();
    s.tilesTotal = kTileCount;
    s.tilesLeft = editing_.Places();
}

// ---- Entering ---------------------------------------------------------------------------------

void LayoutEditor::CreateLayout1Click() {
    Enter(Layout{}, Tr("New Layout"), QString(), false);
}

void LayoutEditor::Editlayout1Click() {
    const Layout& current = solitaire_.CurrentLayout();
    Enter(current, QString::fromStdString(current.name), form_.LayoutPath(), true);
}

void LayoutEditor::Enter(const Layout& layout, const QString& name, const QString& path,
                         bool canSave) {
    if (form_.GameMode() == kModeEditor)
        return;
    boardBefore_ = form_.Session().boardNumber;
    form_.IM(kModeEditor);
    candidate_.reset();
    editing_.Start(layout);
    editing_.name = name.toStdString();
    path_ = path;
    if (QAction* save = form_.Item("Saveandexit"))
        save->setEnabled(canSave);
    name_->setText(name);
    ShowPanel(true);
    form_.ShowStatus(QString());
    form_.SetMenu(TMainForm::MenuSet::Editor);
    // The whole grid is the editor's board: tiles keep their places while the layout grows.
    view_.FitTo(BoardExtent{});
    form_.RunCommand("SetMargeHaute");
    view_.SetOverlay([this](QImage& screen) { MarkCandidate(screen); });
    Redraw();
    UpdateCounters();
    Changed();
    edited_ = false;
}

void LayoutEditor::Leave() {
    // The window left the editor: no preview stays, and the solver stops.
    candidate_.reset();
    odds_.CancelAll();
    BoardScene& scene = view_.Scene();
    scene.ghostColumn = scene.ghostRow = scene.ghostLayer = -1;
    view_.ClearOverlay();
}

// ---- Drawing and the mouse ----------------------------------------------------------------------

void LayoutEditor::Redraw() {
    BoardScene& scene = view_.Scene();
    scene.board = &editing_.GetBoard();
    scene.gameMode = kModeEditor;
    scene.firstPick = scene.secondPick = scene.hint1 = scene.hint2 = 0;
    scene.riverFound = false;
    scene.ghostColumn = candidate_ ? candidate_->column - 1 : -1;
    scene.ghostRow = candidate_ ? candidate_->row - 1 : -1;
    scene.ghostLayer = candidate_ ? candidate_->layer - 1 : -1;
    view_.FullRedraw();
}

std::optional<Cell> LayoutEditor::WhatAdd(const QPoint& widgetPoint) const {
    const int w = view_.TileWidth(), h = view_.TileHeight();
    if (w <= 0 || h <= 0)
        return std::nullopt;
    const double dpr = view_.DevicePixelRatio();
    const int x = int(std::floor(widgetPoint.x() * dpr));
    const int y = int(std::floor(widgetPoint.y() * dpr));
    const BoardRenderer& r = view_.Area().renderer;
    // Each cell answers for the half-tile box in the middle of its tile, so the preview tile
    // stands centred under the pointer and every point of a layer has one cell.
    return editing_.WhatAdd([&](const Cell& c) {
        const int x0 = r.CoordX(c.column - 1, c.layer - 1) + w / 4;
        const int y0 = r.CoordY(c.row - 1, c.layer - 1) + h / 4;
        return x >= x0 && x < x0 + w / 2 && y >= y0 && y < y0 + h / 2;
    });
}

void LayoutEditor::MarkCandidate(QImage& screen) const {
    // The preview tile is tinted: gold where a click adds it, red where it would overlap.
    if (!candidate_ || form_.GameMode() != kModeEditor)
        return;
    const BoardRenderer& r = view_.Area().renderer;
    const QRect face(r.CoordX(candidate_->column - 1, candidate_->layer - 1),
                     r.CoordY(candidate_->row - 1, candidate_->layer - 1), view_.TileWidth(),
                     view_.TileHeight());
    const bool adds = editing_.CanAdd(*candidate_);
    QPainter p(&screen);
    p.fillRect(face, adds ? QColor(255, 215, 0, 80) : QColor(220, 30, 30, 90));
    p.setPen(QPen(adds ? QColor(255, 215, 0) : QColor(220, 30, 30), 2));
    p.drawRect(face.adjusted(1, 1, -1, -1));
}

QPoint LayoutEditor::CellCentre(const Cell& c) const {
    const BoardRenderer& r = view_.Area().renderer;
    const double dpr = view_.DevicePixelRatio();
    const int x = r.CoordX(c.column - 1, c.layer - 1) + view_.TileWidth() / 2;
    const int y = r.CoordY(c.row - 1, c.layer - 1) + view_.TileHeight() / 2;
    return {int(std::floor(x / dpr)), int(std::floor(y / dpr))};
}

void LayoutEditor::SetCandidate(std::optional<Cell> c) {
    if (c == candidate_)
        return;
    const std::optional<Cell> old = candidate_;
    candidate_ = c;
    BoardScene& scene = view_.Scene();
    scene.ghostColumn = c ? c->column - 1 : -1;
    scene.ghostRow = c ? c->row - 1 : -1;
    scene.ghostLayer = c ? c->layer - 1 : -1;
    PlayArea& area = view_.Area();
    QWidget* game2 = form_.Game2();
    if (area.renderer.BoardBuffer.IsEmpty() || !game2 || form_.GameMode() != kModeEditor)
        return;
    // Only around the old and the new preview: the tile, its sides and the neighbours whose
    // edges it covers.
    const double dpr = view_.DevicePixelRatio();
    for (const std::optional<Cell>& cell : {old, c}) {
        if (!cell)
            continue;
        const int col = cell->column - 1, row = cell->row - 1, layer = cell->layer - 1;
        Rect a = area.renderer.GhostArea(col - 1, row - 1, layer);
        const Rect b = area.renderer.GhostArea(col + 2, row + 2, layer);
        a = Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
        const Rect changed = area.renderer.RedrawArea(a, scene, area.BackgroundBuffer);
        if (changed.IsEmpty())
            continue;
        const int left = int(std::floor(changed.left / dpr)),
                  top = int(std::floor(changed.top / dpr));
        game2->update(QRect(left, top, int(std::ceil(changed.right / dpr)) - left,
                            int(std::ceil(changed.bottom / dpr)) - top));
    }
}

void LayoutEditor::MouseMove(int x, int y) {
    if (form_.GameMode() != kModeEditor)
        return;
    SetCandidate(WhatAdd(QPoint(x, y)));
}

void LayoutEditor::Click(int x, int y, MouseButton button) {
    if (form_.GameMode() != kModeEditor)
        return;
    const QPoint p(x, y);
    bool changed = false;
    if (button == MouseButton::Left) {
        if (editing_.PlacesRemaining() <= 0)
            return;
        const std::optional<Cell> c = WhatAdd(p);
        changed = c && editing_.Add(*c) != 0;
    } else if (button == MouseButton::Right) {
        if (editing_.Places() == 0)
            return;
        changed = editing_.Remove(view_.TileAt(p));
    }
    if (!changed) {
        services_.Sound(tovani::Sound::NoWay);
        return;
    }
    // What rests on what has changed: the preview follows.
    candidate_ = WhatAdd(p);
    edited_ = true;
    Redraw();
    UpdateCounters();
    Changed();
}

void LayoutEditor::MoveBoardClick(MoveDirection d) {
    if (form_.GameMode() != kModeEditor)
        return;
    if (!editing_.Move(d)) {
        services_.Sound(tovani::Sound::NoWay);
        return;
    }
    candidate_.reset();
    edited_ = true;
    Redraw();
    UpdateCounters();
    // Moving changes nothing the solver sees.
}

// ---- The solver's answer ------------------------------------------------------------------------

void LayoutEditor::Changed() {
    oddsPending_ = true;
    lastOdds_ = LayoutOddsReport{};
    lastOdds_.dealable = true;
    odds_.Measure(editing_.Result(), "editor");
    odds_label_->setText(OddsText());
}

void LayoutEditor::ShowOdds(const LayoutOddsReport& r) {
    lastOdds_ = r;
    oddsPending_ = false;
    odds_label_->setText(OddsText());
}

QString LayoutEditor::OddsText() const {
    if (oddsPending_)
        return Tr("Winnable: checking...");
    const LayoutOddsReport& r = lastOdds_;
    if (!r.dealable)
        return Tr("Winnable: needs an even number of tiles");
    const int solved = r.share.Deals();
    if (solved == 0)
        return r.winnableDeal ? Tr("Winnable: yes (measuring its deals...)")
                              : Tr("Winnable: no deal found yet...");
    const QString percent = QString::number(r.share.Percent(), 'f', 0);
    if (!r.done)
        return Tr("Winnable: %1% of the first %2 deals...").arg(percent).arg(solved);
    if (!r.winnableDeal)
        return Tr("Winnable: no deal found");
    return Tr("Winnable: yes, %1% of %2 deals").arg(percent).arg(solved);
}

} // namespace tovani
