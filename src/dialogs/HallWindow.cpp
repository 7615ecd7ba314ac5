#include "dialogs/HallWindow.h"

#include "core/TextKey.h"
#include "dialogs/FittingButton.h"
#include "dialogs/GameOverForm.h"
#include "scores/HallDate.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovani {

namespace {

// The game tables in the order of the board list, after the layouts. "Clicks (Normal)" is board
// 1022 and comes before "Clicks (Hard)", board 1021.
constexpr std::array<int, 10> kListBoards = {1000, 1001, 1010, 1011, 1020,
                                             1022, 1021, 1030, 1031, 1040};
constexpr std::array<const char*, 10> kListNames = {
    TrKey("Rivers (Easy)"), TrKey("Rivers (Hard)"), TrKey("Memory (Easy)"),
    TrKey("Memory (Hard)"), TrKey("Clicks (Easy)"), TrKey("Clicks (Normal)"),
    TrKey("Clicks (Hard)"), TrKey("Slider (Easy)"), TrKey("Slider (Hard)"),
    TrKey("Hashira")};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

int HallWindow::BoardOfItem(int index, int layouts) {
    if (index < 0)
        return 0;
    if (index < layouts)
        return index + 1;
    int k = index - layouts;
    return k < static_cast<int>(kListBoards.size()) ? kListBoards[static_cast<size_t>(k)] : 0;
}

int HallWindow::ItemOfBoard(int board, int layouts) {
    if (board >= 1 && board <= layouts)
        return board - 1;
    for (size_t k = 0; k < kListBoards.size(); ++k)
        if (kListBoards[k] == board)
            return layouts + static_cast<int>(k);
    return -1;
}

HallWindow::HallWindow(Context ctx, const QImage& background, QWidget* parent)
    : QDialog(parent), ctx_(std::move(ctx)) {
    setObjectName("HallWindow");
    setWindowTitle(Tr("Hall of Fame"));
    setFixedSize(546, 360);
    SetTiledBackground(this, background);

    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setObjectName("Frame");
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    QPalette fp = frame->palette();
    fp.setColor(QPalette::Window, QColor(255, 255, 255, 215));
    frame->setPalette(fp);
    auto* grid = new QGridLayout(frame);
    grid->setVerticalSpacing(1);
    auto title = [&](const char* name, const QString& text, int column, Qt::Alignment align) {
        auto* l = new QLabel(Tr(text), frame);
        l->setObjectName(name);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setAlignment(align);
        grid->addWidget(l, 0, column);
        return l;
    };
    title("Label21", TrKey("Rank"), 0, Qt::AlignLeft);
    title("Label22", TrKey("Player Name"), 1, Qt::AlignLeft);
    // The result's columns are named by the board shown (a time or a score).
    resultTitle_ = title("Label23", TrKey("Time"), 2, Qt::AlignRight);
    resultTitle_->setProperty("codeText", true);
    secondTitle_ = title("Label24", TrKey("Malus"), 3, Qt::AlignRight);
    secondTitle_->setProperty("codeText", true);
    title("Label46", TrKey("Date"), 4, Qt::AlignRight);
    for (int k = 0; k < 10; ++k) {
        auto make = [&](int column, Qt::Alignment align) {
            auto* l = new QLabel(frame);
            l->setAlignment(align | Qt::AlignVCenter);
            grid->addWidget(l, k + 1, column);
            return l;
        };
        rankLabels_[static_cast<size_t>(k)] = make(0, Qt::AlignLeft);
        nameLabels_[static_cast<size_t>(k)] = make(1, Qt::AlignLeft);
        resultLabels_[static_cast<size_t>(k)] = make(2, Qt::AlignRight);
        secondLabels_[static_cast<size_t>(k)] = make(3, Qt::AlignRight);
        dateLabels_[static_cast<size_t>(k)] = make(4, Qt::AlignRight);
        rankLabels_[static_cast<size_t>(k)]->setText(QString::number(k + 1));
    }
    grid->setColumnStretch(1, 1);
    outer->addWidget(frame, 1);

    auto* bottom = new QHBoxLayout;
    auto* nameBox = new QGroupBox(Tr("Player Name"), this);
    nameBox->setObjectName("PlayerPanel");
    nameBox->setAutoFillBackground(true);
    nameBox->setPalette(fp);
    auto* nameLayout = new QVBoxLayout(nameBox);
    playerNameEdit_ = new QLineEdit(nameBox);
    playerNameEdit_->setObjectName("PlayerName");
    playerNameEdit_->setMaxLength(8);
    playerNameEdit_->setText(Q(ctx_.playerName));
    nameLayout->addWidget(playerNameEdit_);
    bottom->addWidget(nameBox);

    auto* middle = new QVBoxLayout;
    layoutCombo_ = new QComboBox(this);
    layoutCombo_->setObjectName("LayoutComboBox");
    for (const auto& name : ctx_.hall->Layouts())
        layoutCombo_->addItem(Tr("Layout %1").arg(Q(name)));
    for (const char* n : kListNames)
        layoutCombo_->addItem(Tr(n));
    middle->addWidget(layoutCombo_);
    auto* help = new QLabel(
        Tr("Choose a layout from the combo box below. You will get the 10 best scores for this "
           "layout. Press \"Reset Scores\" to delete the High Scores for this specific layout. "
           "When you win a game, you can still change the Player Name in real time."),
        this);
    help->setObjectName("Label45");
    help->setWordWrap(true);
    help->setAutoFillBackground(true);
    help->setPalette(fp);
    help->setMargin(3);
    QFont hf = help->font();
    hf.setPointSizeF(hf.pointSizeF() * 0.85);
    help->setFont(hf);
    middle->addWidget(help);
    bottom->addLayout(middle, 1);

    auto* buttons = new QVBoxLayout;
    auto* reset = new FittingButton(Tr("Reset Scores"), this);
    reset->setObjectName("ResetButton");
    switchRank_ = new QPushButton("11-20", this);
    switchRank_->setObjectName("SwitchRank");
    auto* ok = new FittingButton(Tr("OK"), this);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    auto* launch = new FittingButton(Tr("Launch"), this);
    launch->setObjectName("BitBtn2");
    for (QPushButton* b : std::initializer_list<QPushButton*>{reset, switchRank_, ok, launch})
        buttons->addWidget(b);
    bottom->addLayout(buttons);
    outer->addLayout(bottom);

    connect(reset, &QPushButton::clicked, this, [this] { DeleteHighscoresClick(); });
    connect(switchRank_, &QPushButton::clicked, this, [this] { SwitchRankClick(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(launch, &QPushButton::clicked, this, [this] {
        ctx_.boardNumber = shown_;
        done(kLaunch);
    });
    connect(playerNameEdit_, &QLineEdit::textEdited, this,
            [this](const QString& t) { PlayerNameChange(t); });
    connect(layoutCombo_, qOverload<int>(&QComboBox::activated), this,
            [this](int i) { LayoutComboBoxChange(i); });

    GenerateList(ctx_.boardNumber);
}

HallWindow::Row HallWindow::RowText(int rank) const {
    Row row;
    row.rank = QString::number(rank);
    const HallEntry& e = ctx_.hall->TableOf(shown_)[static_cast<size_t>(rank - 1)];
    const bool timeTable = shown_ < 1020; // layouts, Rivers and Memory
    const bool clicks = shown_ >= 1020 && shown_ <= 1022;
    if (e.Empty()) {
        row.name = " ";
        row.result = "   ";
        row.second = timeTable ? "   " : "";
        return row;
    }
    row.name = Q(e.name);
    row.date = Q(ShowHallDate(e.date, Tr("DD/MM/YY").toStdString()));
    if (HallOfFame::IsHashira(shown_)) {
        row.result = QString::number(static_cast<int64_t>(e.result) * 100);
        row.second = e.second > 0 ? QString::number(e.second) : QString();
    } else if (HallOfFame::IsSlider(shown_)) {
        row.result = QString::number(HallOfFame::Comparable(shown_, e));
    } else if (clicks) {
        row.result = QString::number(e.result);
    } else {
        row.result = Q(HallOfFame::FormatTime(e.result));
        row.second = Q(HallOfFame::FormatTime(e.second));
    }
    row.highlighted = ctx_.entryPending && shown_ == ctx_.boardNumber && rank == ctx_.lastHallRank;
    return row;
}

void HallWindow::GenerateList(int board) {
    const int layouts = static_cast<int>(ctx_.hall->Layouts().size());
    if (ItemOfBoard(board, layouts) < 0)
        board = layouts > 0 ? 1 : 1000;
    shown_ = board;
    layoutCombo_->setCurrentIndex(ItemOfBoard(board, layouts));
    const bool score = (board >= 1020 && board <= 1022) || HallOfFame::IsScoreTable(board);
    resultTitle_->setText(Tr(score ? "Score" : "Time"));
    secondTitle_->setText(Tr(board == 1040 ? "Level" : "Malus"));
    const int offset = secondPage_ ? 10 : 0;
    for (int k = 0; k < 10; ++k) {
        Row row = RowText(offset + k + 1);
        const auto i = static_cast<size_t>(k);
        rankLabels_[i]->setText(row.rank);
        nameLabels_[i]->setText(row.name);
        resultLabels_[i]->setText(row.result);
        secondLabels_[i]->setText(row.second);
        dateLabels_[i]->setText(row.date);
        if (row.highlighted) {
            nameLabels_[i]->setAutoFillBackground(true);
            nameLabels_[i]->setStyleSheet("background-color: #008080; color: white;");
        } else {
            nameLabels_[i]->setAutoFillBackground(false);
            nameLabels_[i]->setStyleSheet(QString());
        }
    }
}

void HallWindow::SwitchRankClick() {
    secondPage_ = !secondPage_;
    switchRank_->setText(secondPage_ ? "1-10" : "11-20");
    GenerateList(shown_);
}

void HallWindow::LayoutComboBoxChange(int index) {
    int board = BoardOfItem(index, static_cast<int>(ctx_.hall->Layouts().size()));
    if (board != 0)
        GenerateList(board);
}

void HallWindow::PlayerNameChange(const QString& text) {
    if (renaming_)
        return;
    if (text == "Vozedo" || text == "Didazira") {
        if (ctx_.setVozedo)
            ctx_.setVozedo(text == "Vozedo");
        if (ctx_.redrawPanel)
            ctx_.redrawPanel();
    }
    std::string before = ctx_.playerName;
    std::string name = HallOfFame::CleanName(text.toStdString());
    ctx_.playerName = name;
    if (playerNameEdit_->text() != Q(name)) {
        renaming_ = true;
        int cursor = playerNameEdit_->cursorPosition();
        playerNameEdit_->setText(Q(name));
        playerNameEdit_->setCursorPosition(std::min(cursor, static_cast<int>(Q(name).size())));
        renaming_ = false;
    }
    if (ctx_.entryPending && name != before && ctx_.lastHallRank > 0) {
        ctx_.hall->Rename(ctx_.boardNumber, ctx_.lastHallRank, name);
        GenerateList(shown_);
    }
    if (ctx_.redrawPanel)
        ctx_.redrawPanel();
}

void HallWindow::DeleteHighscoresClick() {
    bool ok = !ctx_.confirmReset ||
              ctx_.confirmReset(Tr("Do you really want to remove the Hall of Fame entries for "
                                   "this layout ?"));
    if (ok)
        ctx_.hall->Reset(shown_);
    if (ctx_.redrawPanel)
        ctx_.redrawPanel();
    GenerateList(shown_);
}

} // namespace tovani
