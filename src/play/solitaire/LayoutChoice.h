// Choosing the Solitaire layout: the favourite layouts ("Favelay.ini" in the player's folder)
// and the Layout menu's view of them ("View All Layouts" / "View Favorites Only"), the layout
// chooser run by "Select Layout", and the winnable share shown beside each layout: read from
// the table that ships beside the layouts, or, for the player's own layouts, measured once by
// the solver on a worker thread and kept in the player's folder ("Winnable.ini").
#pragma once

#include "play/solitaire/LayoutOdds.h"
#include "solitaire/LayoutFavourites.h"
#include "solitaire/WinnableShare.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <optional>
#include <set>
#include <string>

namespace tovani {

class GameServices;
class TChooseLayout;
class TMainForm;

class LayoutChoice : public QObject {
    Q_OBJECT
public:
    explicit LayoutChoice(GameServices& services);
    ~LayoutChoice() override;

    // Reads "Favelay.ini", or makes it with the starting list when it is missing; then the menu.
    void LoadFavorites();
    // Shows the Layout menu's items as the view asks.
    void ShowLayouts();
    // "Select Layout": runs the chooser and performs what it closed with.
    void SelectLayout1Click();
    const LayoutFavourites& Favourites() const { return favourites_; }

    // The winnable share of layout `number` in percent, when known.
    std::optional<double> Share(int number) const;
    // Starts measuring the player's layouts that have no figure yet.
    void MeasureMissing();
    LayoutOddsWorker& Odds() { return odds_; }
    // The key a player's layout is kept under: its name and a mark of its places, so that a
    // layout changed since it was measured is measured again.
    static std::string ShareKey(const std::string& name, const Layout& layout);

private:
    QString FavouritesPath() const;
    QString PlayerTablePath() const;
    bool SaveFavourites();
    void ReadTables();
    bool IsPlayers(int number) const;
    void Measured(const LayoutOddsReport& r);

    GameServices& services_;
    TMainForm& form_;
    LayoutFavourites favourites_;
    WinnableTable shipped_;
    WinnableTable players_;
    std::set<std::string> queued_;
    std::map<int, std::string> playerKeys_; // layout number -> key, for the player's layouts
    LayoutOddsWorker odds_;
    QPointer<TChooseLayout> open_; // the chooser while it is shown
};

} // namespace tovani
