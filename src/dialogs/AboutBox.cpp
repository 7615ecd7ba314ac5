// The about box.
#include "dialogs/AboutBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovani {

QString AboutBox::LaunchesText(int launches, const Translate& translate) {
    auto Tr = [&](const char* s) { return translate ? translate(s) : QString(s); };
    if (launches <= 1)
        return Tr("This is the first time you start Tovani. Welcome !");
    return Tr("You have started Tovani %1 times.").arg(launches);
}

AboutBox::AboutBox(QWidget* parent, const QString& version, int launches, Translate translate)
    : QDialog(parent) {
    // The fixed texts are captions of named labels, which the language files translate; the
    // version and the launches are written here.
    auto Tr = [&](const char* s) { return translate ? translate(s) : QString(s); };
    setObjectName("AboutBox");
    setWindowTitle("About Tovani");
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(24, 18, 24, 14);
    auto* title = new QLabel("Tovani", this);
    title->setObjectName("AboutTitle");
    QFont tf = font();
    tf.setPointSize(22);
    tf.setBold(true);
    tf.setItalic(true);
    title->setFont(tf);
    title->setStyleSheet("color: #000080");
    title->setAlignment(Qt::AlignCenter);
    auto* ver = new QLabel(Tr("Version %1").arg(version), this);
    ver->setObjectName("AboutVersion");
    ver->setProperty("codeText", true);
    ver->setAlignment(Qt::AlignCenter);
    auto* what = new QLabel(
        "Six tile-matching games with one set of mahjong tiles: Solitaire, Rivers, Memory, "
        "Clicks, Slider and Hashira.",
        this);
    what->setWordWrap(true);
    what->setObjectName("Label1");
    what->setAlignment(Qt::AlignCenter);
    auto* count = new QLabel(LaunchesText(launches, translate), this);
    count->setObjectName("AboutLaunches");
    count->setProperty("codeText", true);
    count->setAlignment(Qt::AlignCenter);
    QFont cf = font();
    cf.setBold(true);
    count->setFont(cf);
    count->setStyleSheet("color: #800000");
    auto* licence =
        new QLabel("Free software. Every tile, picture, tune and page is our own.", this);
    licence->setObjectName("Label2");
    licence->setAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("BitBtn1");
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    for (QWidget* w : std::initializer_list<QWidget*>{title, ver, what, count, licence})
        lay->addWidget(w);
    lay->addSpacing(8);
    lay->addWidget(buttons);
}

void AboutBox::Show(QWidget* parent, const QString& version, int launches, Translate translate) {
    AboutBox box(parent, version, launches, std::move(translate));
    box.exec();
}

} // namespace tovani
