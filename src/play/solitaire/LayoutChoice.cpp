#include "play/solitaire/LayoutChoice.h"

#include "core/Files.h"
#include "graphics/PixelBuffer.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/solitaire/LayoutChooser.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include <cstdio>

namespace tovani {

LayoutChoice::LayoutChoice(GameServices& services) : services_(services), form_(services.Form()) {
    setObjectName("LayoutChoice");
    form_.SetHandler("LoadFavorites", [this](QObject*) { LoadFavorites(); });
    form_.SetHandler("ShowLayouts", [this](QObject*) { ShowLayouts(); });
    form_.SetHandler("LayoutsChanged", [this](QObject*) {
        ReadTables();
        ShowLayouts();
        MeasureMissing();
    });
    form_.SetHandler("ShowFaveClick", [this](QObject*) { ShowLayouts(); });
    form_.SetHandler("ViewAllLayoutsClick", [this](QObject*) { ShowLayouts(); });
    form_.SetHandler("SelectLayout1Click", [this](QObject*) { SelectLayout1Click(); });
    odds_.onReport = [this](const LayoutOddsReport& r) { Measured(r); };
    // The menu is brought up to date each time it opens: the layout in play may have changed.
    if (QMenu* menu = form_.TopMenu("Layout1"))
        connect(menu, &QMenu::aboutToShow, this, [this] { ShowLayouts(); });
}

LayoutChoice::~LayoutChoice() {
    for (const char* h : {"LoadFavorites", "ShowLayouts", "LayoutsChanged", "ShowFaveClick",
                          "ViewAllLayoutsClick", "SelectLayout1Click"})
        form_.SetHandler(h, nullptr);
}

QString LayoutChoice::FavouritesPath() const {
    return form_.UserDirectory() + "Favelay.ini";
}

QString LayoutChoice::PlayerTablePath() const {
    return form_.UserDirectory() + "Winnable.ini";
}

// ---- Favourites and the menu ------------------------------------------------------------------

void LayoutChoice::LoadFavorites() {
    const std::optional<std::string> text = ReadWholeFile(FavouritesPath().toStdString());
    if (text) {
        favourites_ = LayoutFavourites::Parse(*text);
    } else {
        favourites_ = LayoutFavourites::Defaults();
        SaveFavourites();
    }
    ShowLayouts();
}

bool LayoutChoice::SaveFavourites() {
    if (WriteFileAtomic(FavouritesPath().toStdString(), favourites_.Serialize()))
        return true;
    form_.ShowStatus(
        services_.Tr("Unable to write to %1").arg(QDir::toNativeSeparators(FavouritesPath())));
    return false;
}

void LayoutChoice::ShowLayouts() {
    const bool favouritesOnly = form_.Option("ShowFave");
    const int current = form_.Session().boardNumber;
    const LayoutCatalog& catalog = form_.Layouts();
    for (int n = 1; n <= catalog.Count(); ++n) {
        QAction* item = form_.LayoutItem(n);
        if (!item)
            continue;
        item->setVisible(
            ShownInLayoutMenu(catalog.Entry(n)->name, n, current, favouritesOnly, favourites_));
        if (n == current)
            item->setChecked(true);
    }
}

// ---- The chooser ------------------------------------------------------------------------------

void LayoutChoice::SelectLayout1Click() {
    form_.CheckPause();
    TChooseLayout::Context ctx;
    ctx.catalog = &form_.Layouts();
    ctx.favourites = favourites_;
    ctx.background = form_.PlayAreaBackground();
    if (const PixelBuffer* b = services_.View().BackgroundPicture(); b && !b->IsEmpty())
        ctx.previewPicture = QImage(reinterpret_cast<const uchar*>(b->Data()), b->Width(),
                                    b->Height(), b->BytesPerLine(), QImage::Format_RGB32)
                                 .copy();
    else
        ctx.previewPicture = form_.PlayAreaBackground();
    ctx.previewBack = form_.Prefs().GetBool("PreviewBack");
    ctx.coolMouse = form_.Option("CoolMouse");
    ctx.translate = [this](const QString& s) { return services_.Tr(s); };
    ctx.share = [this](int number) { return Share(number); };
    ctx.runDialog = [this](QDialog& d) { return services_.RunDialog(d); };
    TChooseLayout chooser(ctx, &form_);
    open_ = &chooser;
    const int result = services_.RunDialog(chooser);
    open_ = nullptr;
    // The favourites are kept however the chooser closed.
    favourites_ = chooser.Favourites();
    SaveFavourites();
    form_.Prefs().SetBool("PreviewBack", chooser.PreviewBack());
    ShowLayouts();
    form_.UnCheckPause();

    const int number = chooser.ChosenNumber();
    const LayoutCatalog& catalog = form_.Layouts();
    if ((result == TChooseLayout::kPlay || result == TChooseLayout::kEdit) &&
        catalog.Entry(number)) {
        form_.Session().boardNumber = number;
        form_.SetLayoutPath(QString::fromStdString(catalog.PathOf(number)));
        if (QAction* item = form_.LayoutItem(number))
            item->setChecked(true);
        if (form_.GameMode() == kModeEditor)
            form_.RunCommand("Cancel2Click");
        else
            form_.RunCommand(catalog.Entry(number)->shp ? "RunShpLayout" : "RunLayout");
        ShowLayouts();
        if (result == TChooseLayout::kEdit)
            form_.RunCommand("Editlayout1Click");
    } else if (result == TChooseLayout::kNewLayout) {
        form_.RunCommand("CreateLayout1Click");
    }
}

// ---- Winnable shares --------------------------------------------------------------------------

std::string LayoutChoice::ShareKey(const std::string& name, const Layout& layout) {
    // FNV-1a over the places.
    uint32_t h = 2166136261u;
    for (int i = 0; i < kLayoutCells; ++i) {
        h ^= layout.Raw(i);
        h *= 16777619u;
    }
    char mark[16];
    std::snprintf(mark, sizeof mark, "%08x", h);
    return name + " #" + mark;
}

void LayoutChoice::ReadTables() {
    std::string error;
    const std::string shippedPath =
        JoinPath(form_.ProgramDirectory().toStdString(), "Layouts/Winnable.ini");
    if (auto text = ReadWholeFile(shippedPath))
        if (auto t = WinnableTable::Parse(*text, error))
            shipped_ = *t;
    if (auto text = ReadWholeFile(PlayerTablePath().toStdString()))
        if (auto t = WinnableTable::Parse(*text, error))
            players_ = *t;
    players_.SetDeals(1, LayoutOddsWorker::kDeals);
}

bool LayoutChoice::IsPlayers(int number) const {
    const LayoutEntry* e = form_.Layouts().Entry(number);
    // A layout of the player's folder, or one the shipped table does not know.
    return e && (!e->dir.empty() || !shipped_.Find(e->name));
}

std::optional<double> LayoutChoice::Share(int number) const {
    const LayoutEntry* e = form_.Layouts().Entry(number);
    if (!e)
        return std::nullopt;
    if (!IsPlayers(number)) {
        if (auto s = shipped_.Find(e->name))
            return s->Percent();
        return std::nullopt;
    }
    // The player's figure holds only for the layout as it was measured.
    auto it = playerKeys_.find(number);
    if (it == playerKeys_.end())
        return std::nullopt;
    if (auto s = players_.Find(it->second); s && s->Deals() > 0)
        return s->Percent();
    return std::nullopt;
}

void LayoutChoice::MeasureMissing() {
    playerKeys_.clear();
    const LayoutCatalog& catalog = form_.Layouts();
    for (int n = 1; n <= catalog.Count(); ++n) {
        if (!IsPlayers(n))
            continue;
        const std::optional<Layout> layout = TChooseLayout::ReadLayout(catalog, n);
        if (!layout)
            continue;
        const std::string key = ShareKey(catalog.Entry(n)->name, *layout);
        playerKeys_[n] = key;
        if (players_.Find(key) || queued_.count(key))
            continue;
        queued_.insert(key);
        odds_.Measure(*layout, key, LayoutOddsWorker::kDeals, false);
    }
}

void LayoutChoice::Measured(const LayoutOddsReport& r) {
    if (!r.done)
        return;
    queued_.erase(r.key);
    players_.SetDeals(1, LayoutOddsWorker::kDeals);
    if (r.share.Deals() != LayoutOddsWorker::kDeals)
        return; // a layout that cannot be dealt has no share to keep
    players_.Set(r.key, r.share);
    if (!WriteFileAtomic(PlayerTablePath().toStdString(), players_.Serialize()))
        form_.ShowStatus(
            services_.Tr("Unable to write to %1").arg(QDir::toNativeSeparators(PlayerTablePath())));
    if (open_)
        open_->RefreshShares();
}

} // namespace tovani
