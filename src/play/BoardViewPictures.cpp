// The board view's picture commands: the tileset, small tileset and background menus, loading
// from disk, the solid background and the border colours.
#include "play/BoardViewPictures.h"
#include "play/BoardView.h"

#include "core/Files.h"
#include "graphics/ImageIO.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include <cmath>

namespace tovani {

// ---- Pictures ---------------------------------------------------------------------------------

void BoardView::Complain(const QString& file, const std::string& why) {
    QString text = form_.Tr("The picture %1 cannot be used (%2). The previous picture is kept.")
                       .arg(QDir::toNativeSeparators(file), QString::fromStdString(why));
    form_.ShowStatus(text);
    if (pictures_->dialogs.message)
        pictures_->dialogs.message(text);
}

void BoardView::ActiveTilesetBackground() {
    // "Load from disk" and "None (Solid)" join their menus' radio groups, so that exactly one
    // item is checked and the settings store its position.
    auto group = [this](const char* menuName) -> QActionGroup* {
        QMenu* menu = form_.TopMenu(menuName);
        if (!menu)
            return nullptr;
        for (QAction* a : menu->actions())
            if (a->actionGroup() && a->property("fileName").isValid())
                return a->actionGroup();
        auto* g = new QActionGroup(menu);
        g->setExclusive(true);
        return g;
    };
    auto adopt = [this](const char* fixed, QActionGroup* g, int tag) {
        QAction* a = form_.Item(fixed);
        if (!a || !g)
            return;
        a->setCheckable(true);
        a->setProperty("tag", tag);
        if (a->actionGroup() != g)
            g->addAction(a);
    };
    QActionGroup* backgrounds = group("Background");
    QActionGroup* tilesets = group("Tileset");
    adopt("LoadBackground", backgrounds, 0);
    adopt("None1", backgrounds, 1);
    adopt("Load1", tilesets, 0);
    SyncOptions();
    SetHighlightFromMenu();

    // The item at a stored menu position.
    auto at = [](QActionGroup* g, int position) -> QAction* {
        if (g)
            for (QAction* a : g->actions())
                if (a->property("tag").toInt() == position)
                    return a;
        return nullptr;
    };
    pictures_->batching = true;
    QActionGroup* smalls = nullptr;
    if (QMenu* m = form_.TopMenu("SmallSet"))
        for (QAction* a : m->actions())
            if (a->actionGroup())
                smalls = a->actionGroup();
    if (QAction* a = at(smalls, form_.Prefs().GetInt("SmallTileset")))
        LoadsmallClick(a);
    if (QAction* a = at(backgrounds, form_.Prefs().GetInt("Background"));
        a && a != form_.Item("None1"))
        LoadBackgroundClick(a, true);
    else
        None1Click(nullptr);
    if (QAction* a = at(tilesets, form_.Prefs().GetInt("Tileset")))
        Load1Click(a, true);
    pictures_->batching = false;
    area_.SetBackgroundPicture(
        pictures_->AreaPicture(form_.Option("StretchBackground"), area_.Width(), area_.Height()));
    ResizeToWidget();
    FullRedraw();
}

void BoardView::Load1Click(QObject* sender, bool startup) {
    auto* item = qobject_cast<QAction*>(sender);
    QAction* load1 = form_.Item("Load1");
    if (!item)
        return;
    auto restore = [this] {
        if (pictures_->tilesetItem)
            pictures_->tilesetItem->setChecked(true);
    };
    QString file;
    if (item == load1) {
        file = QString::fromStdString(form_.Prefs().GetString("LastLoadedTileset"));
        const bool known = !file.isEmpty() && QFileInfo::exists(file);
        if (startup && !known) {
            // The remembered file is gone: the default tileset instead of a dialog.
            file.clear();
        } else if (!startup && (pictures_->tilesetItem == load1 || !known)) {
            file = pictures_->dialogs.openPicture(form_.Tr("Please choose a Tileset bitmap file"),
                                                  form_.Tr("Tileset files") +
                                                      " (*.bmp *.jpg *.BMP *.JPG)",
                                                  ProgramDir() + "Tilesets");
            if (file.isEmpty()) {
                restore();
                return;
            }
        }
    } else {
        auto found = TilesetFileFor((ProgramDir() + "Tilesets").toStdString(),
                                    item->text().remove('&').toStdString());
        if (found)
            file = QString::fromStdString(*found);
        else if (!startup)
            return Load1Click(load1);
    }
    if (file.isEmpty()) {
        if (startup && item == load1)
            if (QAction* fallback = DefaultItem("Tileset", "Ivory"))
                return Load1Click(fallback, true);
        restore();
        return;
    }
    auto loadTileset = [](const QString& path, PictureHolder& into) {
        std::string why = into.Load(path.toStdString());
        if (why.empty() &&
            (into.Picture().Width() < kSheetColumns || into.Picture().Height() < kSheetRows))
            why = "too small to hold 9 x 5 tiles";
        return why;
    };
    PictureHolder candidate;
    std::string why = loadTileset(file, candidate);
    if (!why.empty() && pictures_->tileset.IsEmpty()) {
        // No previous tileset to keep: the board would be invisible. The next tileset of the
        // menu that can be used takes its place, and the player hears which.
        QList<QAction*> items =
            item->actionGroup() ? item->actionGroup()->actions() : QList<QAction*>{};
        const int from = int(items.indexOf(item));
        for (int k = 1; k < items.size(); ++k) {
            QAction* other = items[(from + k) % items.size()];
            if (other == load1 || other == item)
                continue;
            auto found = TilesetFileFor((ProgramDir() + "Tilesets").toStdString(),
                                        other->text().remove('&').toStdString());
            PictureHolder next;
            if (!found || !loadTileset(QString::fromStdString(*found), next).empty())
                continue;
            const QString text =
                form_.Tr("The picture %1 cannot be used (%2). The tileset %3 is used instead.")
                    .arg(QDir::toNativeSeparators(file), QString::fromStdString(why),
                         other->text().remove('&'));
            form_.ShowStatus(text);
            if (pictures_->dialogs.message)
                pictures_->dialogs.message(text);
            candidate = std::move(next);
            file = QString::fromStdString(*found);
            item = other;
            why.clear();
            break;
        }
    }
    if (!why.empty()) {
        Complain(file, why);
        restore();
        return;
    }
    pictures_->tileset = std::move(candidate);
    area_.SetTilesetPicture(&pictures_->tileset.Picture());
    item->setChecked(true);
    pictures_->tilesetItem = item;
    if (item == load1)
        form_.Prefs().SetString("LastLoadedTileset", file.toStdString());
    RebuildTiles(true);
    FullRedraw();
}

void BoardView::LoadsmallClick(QObject* sender) {
    auto* item = qobject_cast<QAction*>(sender);
    if (!item)
        return;
    auto found = SmallTilesetFileFor((ProgramDir() + "Small").toStdString(),
                                     item->text().remove('&').toStdString());
    if (!found) {
        if (pictures_->smallItem)
            pictures_->smallItem->setChecked(true);
        return;
    }
    PictureHolder candidate;
    if (std::string why = candidate.Load(*found); !why.empty()) {
        Complain(QString::fromStdString(*found), why);
        if (pictures_->smallItem)
            pictures_->smallItem->setChecked(true);
        return;
    }
    pictures_->small = std::move(candidate);
    item->setChecked(true);
    pictures_->smallItem = item;
    emit SmallTilesChanged();
    FullRedraw();
}

void BoardView::LoadBackgroundClick(QObject* sender, bool startup) {
    auto* item = qobject_cast<QAction*>(sender);
    QAction* loadBackground = form_.Item("LoadBackground");
    if (!item)
        return;
    auto restore = [this] {
        if (pictures_->backgroundItem)
            pictures_->backgroundItem->setChecked(true);
        else if (QAction* none = form_.Item("None1"); none && pictures_->solid)
            none->setChecked(true);
    };
    QString file;
    if (item == loadBackground) {
        file = QString::fromStdString(form_.Prefs().GetString("LastLoadedBackground"));
        const bool known = !file.isEmpty() && QFileInfo::exists(file);
        if (startup && !known) {
            file.clear();
        } else if (!startup && (pictures_->backgroundItem == loadBackground || !known)) {
            file = pictures_->dialogs.openPicture(
                form_.Tr("Please choose a Background bitmap file"),
                form_.Tr("Background files") + " (*.bmp *.jpg *.BMP *.JPG)",
                ProgramDir() + "Backgrounds");
            if (file.isEmpty()) {
                restore();
                return;
            }
        }
    } else {
        auto found = BackgroundFileFor((ProgramDir() + "Backgrounds").toStdString(),
                                       item->text().remove('&').toStdString());
        if (found)
            file = QString::fromStdString(*found);
        else if (!startup)
            return LoadBackgroundClick(loadBackground);
    }
    if (file.isEmpty()) {
        // At start-up with nothing to show: the default picture, else the solid background.
        if (startup && item == loadBackground)
            if (QAction* fallback = DefaultItem("Background", "Garden"))
                return LoadBackgroundClick(fallback, true);
        if (startup)
            None1Click(nullptr);
        else
            restore();
        return;
    }
    // A stretched picture is decoded only as large as the play area needs (before the first
    // resize, as large as the window: the area lies within it); an unstretched one whole.
    int coverWidth = 0, coverHeight = 0;
    if (form_.Option("StretchBackground")) {
        coverWidth = area_.Width();
        coverHeight = area_.Height();
        if (coverWidth <= 0 || coverHeight <= 0) {
            coverWidth = int(std::lround(form_.width() * DevicePixelRatio()));
            coverHeight = int(std::lround(form_.height() * DevicePixelRatio()));
        }
    }
    PictureSource candidate;
    if (std::string why = candidate.Load(file.toStdString(), coverWidth, coverHeight);
        !why.empty()) {
        Complain(file, why);
        if (startup && !pictures_->backgroundItem)
            None1Click(nullptr);
        else
            restore();
        return;
    }
    pictures_->background = std::move(candidate);
    pictures_->solid = false;
    item->setChecked(true);
    pictures_->backgroundItem = item;
    if (item == loadBackground)
        form_.Prefs().SetString("LastLoadedBackground", file.toStdString());
    SyncOptions();
    RebuildBackground();
    FullRedraw();
}

void BoardView::None1Click(QObject* sender) {
    QAction* none = form_.Item("None1");
    if (none) {
        none->setCheckable(true);
        none->setChecked(true);
    }
    if (sender != nullptr && sender == none && form_.GameMode() != kModeNoGame) {
        const Colour now = Colour(form_.Prefs().GetInt("ColorBackground")) & 0xFFFFFF;
        QColor c = pictures_->dialogs.chooseColour(QColorFrom(now), form_.Tr("Background Color"));
        if (c.isValid())
            form_.Prefs().SetInt("ColorBackground", int32_t(ColourFrom(c)));
    }
    pictures_->solid = true;
    pictures_->backgroundItem = none;
    // The decoded picture is not needed any more.
    pictures_->background = PictureSource();
    SyncOptions();
    RebuildBackground();
    FullRedraw();
}

void BoardView::ChangeBordersClick(QObject* sender) {
    auto* item = qobject_cast<QAction*>(sender);
    const bool main = item && item->objectName() == "SetMainColor";
    const bool edge = item && item->objectName() == "SetEdgeColor";
    if ((main || edge) && form_.GameMode() != kModeNoGame) {
        const char* key = main ? "BorderColor" : "BorderEdge";
        const Colour now = Colour(form_.Prefs().GetInt(key)) & 0xFFFFFF;
        QColor c = pictures_->dialogs.chooseColour(
            QColorFrom(now), form_.Tr(main ? "Set Main Color" : "Set Edge Color"));
        if (c.isValid())
            form_.Prefs().SetInt(key, int32_t(ColourFrom(c)));
    }
    SyncOptions();
    if (!area_.sheets.IsEmpty()) {
        area_.RebuildBorders();
        emit TilesRebuilt();
    }
    FullRedraw();
}

} // namespace tovani
